// The persistent settings: the history of visited directories, the alias
// table and the creation switch, held in one fixed-size block that is kept
// in the settings file named by VANTOR or, without it, in the registry.
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

// The block of this run.
SettingsBlock& Settings();

// The compiled-in defaults: empty history, "dos" and "win", creation on.
SettingsBlock DefaultSettings();

// The 10736-byte file image of a block, and a block read from an image
// (a shorter image fills what it holds over the defaults; lengths beyond
// their fields are clamped).
std::string EncodeSettings(const SettingsBlock& block);
SettingsBlock DecodeSettings(const std::string& image);

// Fills Settings() from the settings file named by VANTOR or, when VANTOR
// is not set or empty, from the registry; the choice holds for the run. A
// relative VANTOR is resolved to a full path here, once, for every save.
// A file that cannot be opened for reading and writing is reported (light
// red) and the block in memory is written to it. Never ends the run.
void LoadSettings();

// The settings-file path chosen by LoadSettings; empty for the registry.
const std::string& SettingsFilePath();

// Writes Settings() back to where LoadSettings took it from. The file is
// replaced as a whole (written beside it, then moved over it), so it is
// never left truncated; only a file so deep that no name beside it fits in
// a full path is written in place. A failure is reported (light red) and
// the run goes on.
void SaveSettings();

// Puts `path` at index 0 of the history (an entry equal to it ignoring
// case is removed first) and saves. An empty path is not recorded.
void AddToHistory(const std::string& path);

// Compares two texts ignoring case with the system's upper-casing.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace vantor::store
