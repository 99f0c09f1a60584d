#include "store/stored_text.h"

#include "base/path_text.h"
#include "base/utf8_text.h"
#include "platform/system.h"

namespace vantor::store {
namespace {

bool IsMarked(const std::string& text) { return !text.empty() && text[0] == kUnicodeMarker; }

}  // namespace

std::string ToStoredText(const std::string& text, std::size_t field) {
  // A text that begins with the marker itself is marked too, so it reads
  // back whole.
  if (!IsMarked(text)) {
    if (IsAscii(text)) return text.substr(0, field);
    std::string bytes;
    if (sys::EncodeText(text, sys::OemCodePage(), bytes)) return bytes.substr(0, field);
  }
  if (field == 0) return std::string();
  return kUnicodeMarker + std::string(LeadingBytes(text, field - 1));
}

std::string FromStoredText(const std::string& bytes) {
  if (IsMarked(bytes)) return bytes.substr(1);
  if (IsAscii(bytes)) return bytes;
  return sys::DecodeText(bytes, sys::OemCodePage());
}

std::string FitField(const std::string& text, std::size_t field) {
  if (IsAscii(text) && !IsMarked(text)) return text.substr(0, field);
  return FromStoredText(ToStoredText(text, field));
}

std::string ToRegistryText(const std::string& text, std::size_t field) {
  std::string stored = ToStoredText(text, field);
  if (IsMarked(stored) || IsAscii(stored)) return stored;
  return sys::DecodeText(stored, sys::AnsiCodePage());
}

std::string FromRegistryText(const std::string& value, std::size_t field) {
  if (IsMarked(value)) return FitField(value.substr(1), field);
  if (IsAscii(value)) return value.substr(0, field);
  std::string stored;
  // A text the ANSI code page cannot hold was not written through the ANSI
  // functions: it is taken as it is.
  if (!sys::EncodeText(value, sys::AnsiCodePage(), stored)) return FitField(value, field);
  return FromStoredText(stored.substr(0, field));
}

}  // namespace vantor::store
