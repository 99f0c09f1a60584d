// How the texts of the history and the aliases are stored. A text that the
// system's OEM code page holds is stored in its bytes, as it always was, so
// files and keys written before read as they did and older copies of the
// program read what this one writes. Any other text is stored as
// kUnicodeMarker and its UTF-8 bytes: no path or typed name begins with that
// control character, so an older copy reads such an entry as a directory
// that does not exist.
#pragma once

#include <string>

namespace vantor::store {

inline constexpr char kUnicodeMarker = '\x01';

// The stored bytes of `text` for a field of `field` bytes: cut to the field,
// a UTF-8 text on a character's boundary.
std::string ToStoredText(const std::string& text, std::size_t field);

// The text that stored bytes hold.
std::string FromStoredText(const std::string& bytes);

// `text` as it reads back from a field of `field` bytes.
std::string FitField(const std::string& text, std::size_t field);

// The registry's copy: a text the OEM code page holds is the Unicode text
// that its OEM bytes make when read as ANSI bytes (which is what earlier
// copies, writing the OEM bytes through the ANSI registry functions, left
// there); any other text is the marker and the text itself.
std::string ToRegistryText(const std::string& text, std::size_t field);
std::string FromRegistryText(const std::string& value, std::size_t field);

}  // namespace vantor::store
