// The settings block and its file image: 21 history entries of 256 bytes,
// 20 alias entries of 267 bytes, then the creation switch among reserved
// words; every text a length byte and its bytes (10736 bytes in all).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vantor::store {

inline constexpr int kHistorySize = 21;
inline constexpr int kAliasCount = 20;
inline constexpr std::size_t kPathField = 255;
inline constexpr std::size_t kAliasNameField = 10;
inline constexpr std::size_t kSettingsFileSize = 10736;

struct Alias {
  std::string name;  // empty: an unused entry
  std::string dir;
};

struct SettingsBlock {
  std::array<std::string, kHistorySize> history;  // index 0 most recent
  std::array<Alias, kAliasCount> aliases;         // index 0 most recently used
  bool can_create_path = true;
  // The file's raw bytes as last read (or the default image): the reserved
  // words, padding and the bytes behind each length are written back as read.
  std::string image;
};

// The compiled-in defaults: empty history, "dos" and "win", creation on.
SettingsBlock DefaultSettings();

// The 10736-byte file image of a block, and a block read from an image
// (a shorter image fills what it holds over the defaults; lengths beyond
// their fields are clamped).
std::string EncodeSettings(const SettingsBlock& block);
SettingsBlock DecodeSettings(const std::string& image);

}  // namespace vantor::store
