#include "store/settings.h"

#include "base/path_text.h"
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
// How long a change of the settings waits for the run that holds their lock
// (each holds it for one read and one write of the store); after that it
// goes on without the lock and saves as it would alone.
constexpr std::uint32_t kLockWaitMilliseconds = 500;

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

// The path that names the settings file for its lock: one file has one
// lock whatever name leads to it (a link or its target, and on Windows a
// short 8.3 name), so its final path; the full path of one not there yet.
std::string LockedFile(const std::string& file) {
  sys::FileIdentity identity;
  return sys::IdentifyFile(file, identity) ? identity.final_path : file;
}

// The lock that every run of the user takes around a change of the store at
// `where`: named after the registry key or after the file's final path,
// upper-cased (ASCII letters only, which needs no locale) and hashed to
// keep the name short and free of backslashes. Empty for a settings path
// that names no usable file, where there is nothing to guard.
std::string LockName(const Location& where) {
  if (!where.path.empty() && where.file.empty()) return std::string();
  std::string identity =
      where.path.empty() ? std::string("HKCU\\") + kRegistryKey : LockedFile(where.file);
  std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
  for (char c : identity) {
    hash ^= static_cast<unsigned char>(AsciiUpper(c));
    hash *= 1099511628211ull;
  }
  std::string name = "Local\\Vantor.settings.";
  for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789abcdef"[(hash >> shift) & 0xF];
  return name;
}

// One change of the stored settings. For its life it holds the lock on the
// store and the console's output; it gives both back when it ends, also
// when a refused registry write ends it early, and only then is the output
// written.
class Transaction {
 public:
  Transaction() {
    console::HoldOutput();
    std::string name = LockName(location);
    locked_ = !name.empty() && sys::TakeSharedLock(name, kLockWaitMilliseconds);
  }
  ~Transaction() {
    if (locked_) sys::GiveBackSharedLock();
    console::ReleaseOutput();
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

 private:
  bool locked_ = false;
};

// Fills Settings() from the store chosen at `location`; see LoadSettings.
void LoadFromStore() {
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

// Where the new image is written before it is put in place of `target`:
// beside it under its own name and this process's number, or under a short
// name in the same folder when that would pass the limit of the file calls;
// empty when no such name fits.
std::string TemporaryFileName(const std::string& target) {
  const std::string suffix = std::to_string(sys::ProcessId()) + ".tmp";
  std::string beside = target + "." + suffix;
  if (beside.size() <= kMaxFilePath) return beside;
  std::string folder = target.substr(0, target.rfind('\\') + 1);
  std::string short_name = folder + "~vantor" + suffix;
  return short_name.size() <= kMaxFilePath ? short_name : std::string();
}

// Puts the image in place of `target` through a new file `temp` beside it,
// which takes over the attributes and access rules of `target` first. A
// target whose rules forbid replacing it is not tried: its rules would make
// the copy undeletable too, and the move would only be refused. Nothing is
// left at `temp` when the move does not happen.
bool ReplaceThroughTemporary(const std::string& target, const std::string& temp,
                             const std::string& image) {
  if (!sys::MayReplaceFile(target)) return false;
  bool replaced = sys::WriteFileDurably(temp, image) && sys::CarryFileIdentity(target, temp) &&
                  sys::ReplaceFileAtomically(temp, target);
  if (!replaced) sys::DeleteFileQuietly(temp);
  return replaced;
}

// Writes the whole image to the settings file and keeps the file the user
// has. The image goes beside the file that a link leads to and is moved
// over it there, so a run stopped half-way, or another saving at the same
// moment, never leaves a truncated, mixed or missing file. Written over in
// place instead: a file with several names (hard links), which would lose
// the others; one that cannot be identified (its final path too long, or a
// file system without that call), whose links a move could break; and one
// that cannot be replaced (its folder refuses new files, its rules refuse
// the move or cannot be read, no name beside it fits).
bool WriteSettingsFile(const std::string& image) {
  if (!PathUsable()) return false;
  sys::FileIdentity identity;
  bool identified = sys::IdentifyFile(location.file, identity);
  if (!identified && sys::OverwriteFileDurably(location.file, image)) return true;
  std::string target = identified ? identity.final_path : location.file;
  std::string temp = TemporaryFileName(target);
  if (!temp.empty() && !(identified && identity.links > 1)) {
    if (ReplaceThroughTemporary(target, temp, image)) return true;
    if (!identified) return false;
  }
  return identified ? sys::OverwriteFileDurably(target, image)
                    : sys::WriteFileDurably(target, image);
}

}  // namespace

SettingsBlock& Settings() {
  static SettingsBlock block = DefaultSettings();
  return block;
}

void LoadSettings() {
  location = LocateSettings();
  LoadFromStore();
}

void LoadAndSaveSettings() {
  location = LocateSettings();
  Transaction transaction;
  LoadFromStore();
  SaveSettings();
}

void ChangeSettings(const std::function<bool()>& change) {
  Transaction transaction;
  ReadStored(location, Settings());
  if (change()) SaveSettings();
}

bool ReadStoredSettings(SettingsBlock& block) { return ReadStored(LocateSettings(), block); }

std::string SettingsLockName() { return LockName(LocateSettings()); }

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
  if (path.empty()) return;  // nothing to record, so nothing to save
  ChangeSettings([&path] {
    PutFirstInHistory(path);
    return true;
  });
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
