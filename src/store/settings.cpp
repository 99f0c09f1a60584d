#include "store/settings.h"

#include "console/wincrt.h"
#include "platform/system.h"
#include "store/history_list.h"
#include "store/registry_store.h"

namespace vantor::store {
namespace {

// VANTOR is read into a buffer of this many characters; a longer value names
// no file the program could have read, so it is treated as one that cannot
// be opened or created (reported on every load and save, never cut short).
constexpr std::size_t kSettingsPathBuffer = 1024;
// The longest full path that the file calls take.
constexpr std::size_t kMaxFilePath = 259;

// Where the settings are kept.
struct Location {
  std::string path;  // VANTOR as set (quoted in messages); empty: the registry
  std::string file;  // its full path; empty when it names no usable file
};

Location location;  // chosen by LoadSettings for the whole run

bool PathUsable() { return !location.file.empty(); }

// The run changes its current directory before it records the directory it
// enters, so a relative VANTOR is resolved once, at load, by the system's
// own rules (a drive-relative name against that drive's current directory);
// every later save then goes to the file that was read.
std::string ResolvedSettingsFile(const std::string& path) {
  std::string full;
  if (path.size() >= kSettingsPathBuffer || !sys::FullPathName(path, full)) return std::string();
  return full;
}

Location LocateSettings() {
  Location where;
  if (!sys::GetEnv("VANTOR", where.path)) where.path.clear();
  if (!where.path.empty()) where.file = ResolvedSettingsFile(where.path);
  return where;
}

// Reads the block stored at `where` as LoadSettings reads it, creating,
// writing and reporting nothing.
bool ReadStored(const Location& where, SettingsBlock& block) {
  SettingsBlock read = DefaultSettings();
  if (where.path.empty()) {
    if (!ReadFromRegistry(read)) return false;
  } else {
    std::string image;
    if (where.file.empty() || !sys::ReadFileForUpdate(where.file, kSettingsFileSize, image))
      return false;
    read = DecodeSettings(image);
  }
  block = read;
  return true;
}

// Where the new image is written before it is moved over the file: beside
// it under its own name and this process's number, or under a short name in
// the same folder when that would pass the limit of the file calls; empty
// when no such name fits.
std::string TemporaryFileName() {
  const std::string suffix = std::to_string(sys::ProcessId()) + ".tmp";
  std::string beside = location.file + "." + suffix;
  if (beside.size() <= kMaxFilePath) return beside;
  std::string folder = location.file.substr(0, location.file.rfind('\\') + 1);
  std::string short_name = folder + "~vantor" + suffix;
  return short_name.size() <= kMaxFilePath ? short_name : std::string();
}

// Writes the whole image beside the settings file and moves it over the old
// one, so that a run that is stopped half-way, or another run saving at the
// same moment, never leaves a truncated or mixed file behind. A file deep
// enough that no name beside it fits is written in place.
bool WriteSettingsFile(const std::string& image) {
  if (!PathUsable()) return false;
  std::string temp = TemporaryFileName();
  if (temp.empty()) return sys::WriteFileDurably(location.file, image);
  if (sys::WriteFileDurably(temp, image) && sys::ReplaceFileAtomically(temp, location.file))
    return true;
  sys::DeleteFileQuietly(temp);
  return false;
}

}  // namespace

SettingsBlock& Settings() {
  static SettingsBlock block = DefaultSettings();
  return block;
}

void LoadSettings() {
  location = LocateSettings();
  if (location.path.empty()) {
    LoadFromRegistry(Settings());
    return;
  }
  if (ReadStored(location, Settings())) return;
  console::SetColour(console::kColourError);
  console::WriteLine("Vantor: Error - can't read settings from '" + location.path + "'");
  console::WriteLine("        Creating new file");
  SaveSettings();
  console::RestoreColour();
}

bool ReadStoredSettings(SettingsBlock& block) { return ReadStored(LocateSettings(), block); }

void SaveSettings() {
  if (location.path.empty()) {
    SaveToRegistry(Settings());
    return;
  }
  if (WriteSettingsFile(EncodeSettings(Settings()))) return;
  console::SetColour(console::kColourError);
  console::Write("Vantor: Error - can't write to '" + location.path + "'");
  console::RestoreColour();
}

void AddToHistory(const std::string& path) {
  if (path.empty()) return;  // nothing recorded, nothing saved
  PutFirstInHistory(path);
  SaveSettings();
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  std::string upper_a = a;
  std::string upper_b = b;
  sys::UpperCase(upper_a);
  sys::UpperCase(upper_b);
  return upper_a == upper_b;
}

}  // namespace vantor::store
