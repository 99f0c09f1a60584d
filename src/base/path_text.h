// Small tests of texts and paths that every layer shares: plain bytes, no
// system calls.
#pragma once

#include <string_view>

namespace vantor {

// 'a' to 'z' upper-cased, every other byte as it is: ASCII letters are the
// same in every code page, and no byte of another character is changed.
constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when every byte of `text` is ASCII (below 0x80).
inline bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// True when the path names its drive: its second character is ':'.
inline bool HasDriveColon(std::string_view path) { return path.size() >= 2 && path[1] == ':'; }

// True for a network path: one that begins with two backslashes.
inline bool IsNetworkPath(std::string_view path) {
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

}  // namespace vantor
