// The user's Path as the installer edits it: a text of folders separated by
// ';', stored in the registry as UTF-16. Adding and then removing a folder
// gives back the very bytes that were there before, whatever the value held
// (empty entries, trailing semicolons, percent signs, any length).
#pragma once

#include <string>
#include <vector>

namespace vantor::setup {

// A registry string as stored: `text` is everything before the first NUL
// character; `tail` keeps the stored bytes from that NUL on (normally one
// NUL character; empty for a value stored without one; it may hold an odd
// last byte), so that writing back `text` + `tail` changes nothing else.
struct StoredText {
  std::u16string text;
  std::string tail;
};

// Splits the stored bytes (UTF-16, little-endian) of a string value.
StoredText DecodeStored(const std::string& bytes);

// The bytes to store for `stored`: its text in UTF-16 followed by its tail.
std::string EncodeStored(const StoredText& stored);

// The bytes of a new value holding `text`: UTF-16 with one NUL at the end.
std::string EncodeNew(const std::u16string& text);

// The entries of a Path value split at every ';', empty ones kept: "a;;b;"
// gives {"a", "", "b", ""} and "" gives {""}. No value at all is the
// empty list, which no text splits to.
std::vector<std::u16string> SplitPath(const std::u16string& text);

// The entries joined with ';' (the inverse of SplitPath for any list but
// the empty one, which also gives "").
std::u16string JoinPath(const std::vector<std::u16string>& entries);

// True when the Path entry names `folder`: equal ignoring the case of ASCII
// letters and a single trailing backslash on either side. `expanded` is
// the entry with its environment variables expanded (the entry itself
// when it has none), so "%LOCALAPPDATA%\Programs\Vantor" counts too.
bool NamesFolder(const std::u16string& entry, const std::u16string& expanded,
                 const std::u16string& folder);

// True when one of `entries` names `folder`; `expanded` holds the entries
// with their variables expanded, index for index.
bool HasFolder(const std::vector<std::u16string>& entries,
               const std::vector<std::u16string>& expanded, const std::u16string& folder);

// Adds `folder` as the last non-empty entry: before a final empty entry
// (so "a;" becomes "a;folder;" and "" becomes "folder;"), else at the end.
// A missing value (the empty list) becomes {folder}.
void AddFolder(std::vector<std::u16string>& entries, const std::u16string& folder);

// Removes every entry that names `folder` (`expanded` as for HasFolder);
// returns how many went. Removing what AddFolder added gives back the list
// it was given, the empty list when there was no value.
int RemoveFolder(std::vector<std::u16string>& entries, const std::vector<std::u16string>& expanded,
                 const std::u16string& folder);

}  // namespace vantor::setup
