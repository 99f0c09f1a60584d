#include "fake/fake_system.h"

#include <algorithm>

#include "base/path_text.h"
#include "base/utf8_text.h"

namespace vantor::fake {
namespace {

FakeSystem the_fake;

// The length of a path's root: "X:\" for a drive, "\\server\share" for a
// network path.
std::size_t RootLength(const std::string& path) {
  if (IsNetworkPath(path)) {
    std::size_t server_end = path.find('\\', 2);
    if (server_end == std::string::npos) return path.size();
    std::size_t share_end = path.find('\\', server_end + 1);
    return share_end == std::string::npos ? path.size() : share_end;
  }
  return std::min<std::size_t>(3, path.size());
}

bool IsRoot(const std::string& path) { return path.size() <= RootLength(path); }

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > RootLength(path) && path.back() == '\\') path.pop_back();
  return path;
}

std::string ParentOf(const std::string& path) {
  std::size_t root = RootLength(path);
  std::size_t last = path.rfind('\\');
  if (last == std::string::npos || last < root) return path.substr(0, root);
  return path.substr(0, last);
}

std::string FolderOf(const std::string& file) {
  std::size_t last = file.rfind('\\');
  return last == std::string::npos ? std::string() : file.substr(0, last == 2 ? 3 : last);
}

// Applies "." and ".." components to `rest`, starting from `base`.
std::string WalkComponents(std::string base, const std::string& rest) {
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    std::string part = rest.substr(start, end - start);
    if (part == "..") {
      base = ParentOf(base);
    } else if (!part.empty() && part != ".") {
      if (base.back() != '\\') base += '\\';
      base += part;
    }
    start = end + 1;
  }
  return base;
}

}  // namespace

FakeSystem& Fake() { return the_fake; }

void ResetFake() {
  the_fake = FakeSystem();
  the_fake.AddDrive('C');
  the_fake.AddDir("C:\\Temp");
  the_fake.SetEnv("TEMP", "C:\\Temp");
}

// In place, as the system's upper-casing works, so that the engine's
// benchmark over this system counts no copies the program does not make.
// ASCII, the letters of Latin-1, Greek and Cyrillic: two-byte characters
// whose upper-case forms are two bytes long too.
void UpperInPlace(std::string& text) {
  for (std::size_t at = 0; at < text.size(); at += CharLength(text, at)) {
    char& c = text[at];
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 32);
      continue;
    }
    if (CharLength(text, at) != 2) continue;
    char32_t code = CharAt(text, at);
    char32_t upper = code;
    if ((code >= 0xE0 && code <= 0xFE && code != 0xF7) ||
        (code >= 0x3B1 && code <= 0x3C9 && code != 0x3C2) || (code >= 0x430 && code <= 0x44F))
      upper = code - 0x20;
    else if (code >= 0x450 && code <= 0x45F)
      upper = code - 0x50;
    if (upper == code) continue;
    std::string form;
    AppendChar(form, upper);
    text.replace(at, 2, form);
  }
}

std::string Upper(const std::string& text) {
  std::string result = text;
  UpperInPlace(result);
  return result;
}

std::string FakeSystem::Resolve(const std::string& path) const {
  if (HasDriveColon(path)) {
    char drive = Upper(path.substr(0, 1))[0];
    std::string rest = path.substr(2);
    if (!rest.empty() && rest[0] == '\\')
      return WalkComponents(std::string(1, drive) + ":\\", rest);
    auto known = drive_dirs.find(drive);
    std::string base = known != drive_dirs.end() ? known->second : std::string(1, drive) + ":\\";
    if (Upper(current_dir.substr(0, 1))[0] == drive) base = current_dir;
    return WalkComponents(base, rest);
  }
  if (IsNetworkPath(path)) {
    std::size_t root = RootLength(path);
    return WalkComponents(path.substr(0, root), path.substr(root));
  }
  if (!path.empty() && path[0] == '\\')
    return WalkComponents(current_dir.substr(0, RootLength(current_dir)), path);
  return WalkComponents(current_dir, path);
}

void FakeSystem::AddDrive(char letter) {
  std::string root = std::string(1, letter) + ":\\";
  dirs.emplace(Upper(root), DirNode{root, {}, false});
}

void FakeSystem::AddDir(const std::string& path) {
  std::string full = WithoutTrailingBackslash(path);
  if (IsRoot(full)) {
    if (HasDriveColon(full))
      AddDrive(full[0]);
    else
      dirs.emplace(Upper(full), DirNode{full, {}, false});
    return;
  }
  if (dirs.count(Upper(full))) return;
  std::string parent = ParentOf(full);
  AddDir(parent);
  dirs[Upper(parent)].children.push_back(full.substr(full.rfind('\\') + 1));
  dirs[Upper(full)] = DirNode{full, {}, false};
}

void FakeSystem::SetEnv(const std::string& name, const std::string& value) {
  environment[Upper(name)] = value;
}

void FakeSystem::UnsetEnv(const std::string& name) { environment.erase(Upper(name)); }

void FakeSystem::PushKey(std::uint8_t character, std::uint16_t scan_code,
                         std::uint32_t control_state, std::uint16_t virtual_key) {
  sys::InputEvent event;
  event.is_key = true;
  event.key_down = true;
  event.character = character;
  event.scan_code = scan_code;
  event.control_state = control_state;
  event.virtual_key = virtual_key;
  input.push_back(event);
}

void FakeSystem::PushEvent(const sys::InputEvent& event) { input.push_back(event); }

void FakeSystem::PushKeyAt(std::uint64_t tick, std::uint8_t character, std::uint16_t virtual_key) {
  sys::InputEvent event;
  event.is_key = true;
  event.key_down = true;
  event.character = character;
  event.virtual_key = virtual_key;
  later_input.emplace_back(tick, event);
}

void FakeSystem::ArriveLaterInput() {
  while (!later_input.empty() && later_input.front().first <= ticks) {
    input.push_back(later_input.front().second);
    later_input.pop_front();
  }
}

std::string FakeSystem::ScreenText(int row, int column, int count) const {
  std::string text;
  for (int at = column; at < column + count; ++at) {
    auto found = cells.find({row, at});
    text += found == cells.end() ? ' ' : static_cast<char>(found->second.first);
  }
  return text;
}

std::string FakeSystem::ColouredOutput() const {
  std::string result;
  std::size_t written = 0;
  for (const auto& [offset, attribute] : colour_log) {
    result += output.substr(written, offset - written);
    result += "<" + std::to_string(attribute) + ">";
    written = offset;
  }
  return result + output.substr(written);
}

bool FakeSystem::DirExists(const std::string& path) const {
  return dirs.count(Upper(WithoutTrailingBackslash(Resolve(path)))) != 0;
}

std::string FakeSystem::FileKey(const std::string& path) const {
  std::string key = Upper(Resolve(path));
  auto link = file_links.find(key);
  return link == file_links.end() ? key : Upper(link->second);
}

std::string FakeSystem::FileContent(const std::string& path) const {
  auto found = files.find(FileKey(path));
  return found == files.end() ? std::string() : found->second;
}

bool FakeSystem::FileExists(const std::string& path) const {
  return files.count(Upper(Resolve(path))) != 0;
}

}  // namespace vantor::fake

// ---- The seam, served from the fake ------------------------------------------

namespace vantor::sys {

using fake::Fake;
using fake::Upper;

std::string CommandLine() { return Fake().command_line; }

bool GetEnv(const std::string& name, std::string& value) {
  auto found = Fake().environment.find(Upper(name));
  if (found == Fake().environment.end()) return false;
  value = found->second;
  return true;
}

void UseOemFileApis() { Fake().oem_file_apis = true; }

bool SetCurrentDir(const std::string& path) {
  if (path.empty()) return false;
  std::string full = Fake().Resolve(path);
  auto found = Fake().dirs.find(Upper(full));
  if (found == Fake().dirs.end()) return false;
  // The system keeps the letters as typed, as Windows does.
  Fake().current_dir = full;
  return true;
}

std::string GetCurrentDir() {
  const std::string& dir = Fake().current_dir;
  if (CharCount(dir) > fake::kMaxPath) return std::string();
  return dir;
}

bool FullPathName(const std::string& path, std::string& full) {
  full = path.empty() ? std::string() : Fake().Resolve(path);
  return !full.empty() && full.size() <= fake::kMaxPath;
}

bool ListSubdirectories(const std::string& dir, std::vector<std::string>& names,
                        ListingWatch* watch) {
  names.clear();
  std::string full = Fake().Resolve(dir);
  Fake().listed.push_back(full);
  Fake().ticks += Fake().ticks_per_listing;
  auto found = Fake().dirs.find(Upper(full));
  if (found == Fake().dirs.end() || found->second.unreadable) return false;
  const std::vector<std::string>& children = found->second.children;
  if (watch == nullptr) {  // at full speed, for the engine's benchmark
    names = children;
    Fake().ticks += Fake().ticks_per_entry * children.size();
    return true;
  }
  int until_asked = kListingWatchInterval;
  for (const std::string& name : children) {
    names.push_back(name);
    Fake().ticks += Fake().ticks_per_entry;
    if (--until_asked == 0) {
      until_asked = kListingWatchInterval;
      if (!watch->KeepListing()) {
        names.clear();
        return false;
      }
    }
  }
  return true;
}

std::uint32_t CreateDir(const std::string& path) {
  constexpr std::uint32_t kAlreadyExists = 183;
  constexpr std::uint32_t kPathNotFound = 3;
  std::string full = Fake().Resolve(path);
  auto refused = Fake().create_errors.find(Upper(full));
  if (refused != Fake().create_errors.end()) return refused->second;
  if (Fake().dirs.count(Upper(full))) return kAlreadyExists;
  if (!Fake().dirs.count(Upper(fake::ParentOf(full)))) return kPathNotFound;
  Fake().AddDir(full);
  Fake().created.push_back(full);
  return 0;
}

bool IsDirectory(const std::string& path) { return Fake().DirExists(path); }

bool WriteNewFile(const std::string& path, const std::string& bytes) {
  std::string key = Fake().FileKey(path);
  if (key.size() > fake::kMaxPath) return false;
  if (!Fake().dirs.count(fake::FolderOf(key))) return false;
  if (Fake().unwritable_folders.count(fake::FolderOf(key))) return false;
  if (Fake().read_only_files.count(key) || Fake().dirs.count(key)) return false;
  Fake().files[key] = bytes;
  return true;
}

bool ReadFileForUpdate(const std::string& path, std::size_t max_bytes, std::string& bytes) {
  std::string key = Fake().FileKey(path);
  auto found = Fake().files.find(key);
  if (key.size() > fake::kMaxPath) return false;
  if (found == Fake().files.end() || Fake().read_only_files.count(key)) return false;
  bytes = found->second.substr(0, max_bytes);
  return true;
}

bool WriteFileDurably(const std::string& path, const std::string& bytes) {
  return WriteNewFile(path, bytes);
}

bool MayReplaceFile(const std::string& target) {
  std::string key = Upper(Fake().Resolve(target));
  return !Fake().undeletable_files.count(key) && !Fake().read_only_files.count(key) &&
         !Fake().dirs.count(key);
}

bool CarryFileIdentity(const std::string& target, const std::string& source) {
  std::string from = Upper(Fake().Resolve(target));
  std::string to = Upper(Fake().Resolve(source));
  if (!Fake().files.count(from)) return true;
  if (Fake().unreadable_rules.count(from)) return false;
  auto rules = Fake().file_rules.find(from);
  if (rules != Fake().file_rules.end()) Fake().file_rules[to] = rules->second;
  if (Fake().undeletable_files.count(from)) Fake().undeletable_files.insert(to);
  return true;
}

// A move needs the right to delete both files.
bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  std::string from = Upper(Fake().Resolve(source));
  std::string to = Upper(Fake().Resolve(target));
  if (from.size() > fake::kMaxPath || to.size() > fake::kMaxPath) return false;
  auto found = Fake().files.find(from);
  if (found == Fake().files.end() || Fake().read_only_files.count(to) || Fake().dirs.count(to) ||
      Fake().undeletable_files.count(from) || Fake().undeletable_files.count(to))
    return false;
  Fake().files[to] = found->second;
  Fake().files.erase(from);
  Fake().file_links.erase(to);
  Fake().hard_links.erase(to);
  Fake().file_rules.erase(to);
  auto rules = Fake().file_rules.find(from);
  if (rules != Fake().file_rules.end()) {
    Fake().file_rules[to] = rules->second;
    Fake().file_rules.erase(rules);
  }
  return true;
}

bool IdentifyFile(const std::string& path, FileIdentity& identity) {
  std::string key = Fake().FileKey(path);
  if (!Fake().files.count(key) || key.size() > fake::kMaxPath) return false;
  if (Fake().unidentifiable_files.count(key)) return false;
  auto link = Fake().file_links.find(Upper(Fake().Resolve(path)));
  identity.final_path = link != Fake().file_links.end() ? link->second : Fake().Resolve(path);
  auto names = Fake().hard_links.find(key);
  identity.links = names == Fake().hard_links.end() ? 1 : names->second;
  return true;
}

bool OverwriteFileDurably(const std::string& path, const std::string& bytes) {
  std::string key = Fake().FileKey(path);
  if (!Fake().files.count(key) || Fake().read_only_files.count(key)) return false;
  Fake().files[key] = bytes;
  return true;
}

void DeleteFileQuietly(const std::string& path) {
  std::string key = Upper(Fake().Resolve(path));
  if (!Fake().undeletable_files.count(key)) Fake().files.erase(key);
}

bool IsOnNetwork(const std::string& path) {
  return IsNetworkPath(path) ||
         (HasDriveColon(path) && Fake().network_drives.count(Upper(path.substr(0, 1))[0]) != 0);
}

void NoCriticalErrorDialogs() { Fake().critical_error_dialogs = false; }

std::string ShortPathName(const std::string& path) {
  auto found = Fake().short_names.find(Upper(Fake().Resolve(path)));
  return found == Fake().short_names.end() ? std::string() : found->second;
}

std::uint32_t ProcessId() { return Fake().process_id; }

void UpperCase(std::string& text) { fake::UpperInPlace(text); }

bool TakeSharedLock(const std::string& name, std::uint32_t /*milliseconds*/) {
  GiveBackSharedLock();
  bool free = Fake().locks_held_elsewhere.count(name) == 0;
  std::string at = " @" + std::to_string(Fake().output.size());
  Fake().lock_log.push_back((free ? "take " : "time out ") + name + at);
  if (free) Fake().lock_held = name;
  return free;
}

void GiveBackSharedLock() {
  if (Fake().lock_held.empty()) return;
  Fake().lock_log.push_back("give back " + Fake().lock_held + " @" +
                            std::to_string(Fake().output.size()));
  Fake().lock_held.clear();
}

bool StdHandleValid(StdStream stream) { return Fake().handle_valid[static_cast<int>(stream)]; }

bool SetProcessedInputMode() {
  Fake().processed_input_mode = true;
  Fake().input_modes += 'P';
  return Fake().input_is_console;
}

void SetRawInputMode() {
  Fake().processed_input_mode = false;
  Fake().input_modes += 'R';
}

void RestoreInputMode() {
  Fake().processed_input_mode = true;
  Fake().input_modes += 'U';
}

bool ScreenBufferSize(int& rows, int& columns) {
  if (!Fake().screen_measurable) return false;
  rows = Fake().rows;
  columns = Fake().columns;
  return true;
}

void WriteOut(const std::string& bytes) {
  Fake().output += bytes;
  std::string& when = Fake().ctrl_c_when_written;
  if (when.empty() || Fake().output.find(when) == std::string::npos) return;
  when.clear();
  if (Fake().processed_input_mode) throw fake::CtrlCExit{};
  Fake().PushKey(3, 0, 0x0008, 'C');  // left Ctrl
}

void UseUtf8ForRedirectedOutput() { Fake().utf8_output = true; }

void SetTextAttribute(int attribute) {
  Fake().colour_log.emplace_back(Fake().output.size(), attribute);
}

namespace {

bool IsCtrlC(const InputEvent& event) {
  return event.is_key && event.key_down && event.character == 3;
}

// In processed mode the console takes Ctrl+C out of the input and the
// system's handler ends the process.
void MeetInput(const InputEvent& event) {
  if (Fake().processed_input_mode && IsCtrlC(event)) throw fake::CtrlCExit{};
}

}  // namespace

ReadStatus ReadInputEvent(InputEvent& event) {
  ++Fake().reads_attempted;
  if (Fake().zero_record_reads > 0) {
    --Fake().zero_record_reads;
    return ReadStatus::NoEvent;
  }
  // A read blocks until the next key is typed.
  if (Fake().input.empty() && !Fake().later_input.empty())
    Fake().ticks = std::max(Fake().ticks, Fake().later_input.front().first);
  Fake().ArriveLaterInput();
  if (Fake().input.empty()) return ReadStatus::Failed;
  MeetInput(Fake().input.front());
  event = Fake().input.front();
  Fake().input.pop_front();
  return ReadStatus::Event;
}

bool PeekInputEvents(std::vector<InputEvent>& events) {
  ++Fake().peeks;
  events.clear();
  if (!Fake().input_is_console) return false;
  Fake().ArriveLaterInput();
  for (const InputEvent& event : Fake().input) MeetInput(event);
  events.assign(Fake().input.begin(), Fake().input.end());
  return true;
}

void DiscardInputEvents(std::size_t count) {
  while (count-- > 0 && !Fake().input.empty()) Fake().input.pop_front();
}

std::uint64_t TickCount() { return Fake().ticks; }

bool CursorPosition(int& column, int& row) {
  if (!Fake().screen_measurable) return false;
  column = Fake().cursor_column;
  row = Fake().cursor_row;
  return true;
}

bool ReadScreenCells(int column, int row, std::size_t count, ScreenCells& cells) {
  if (!Fake().screen_measurable) return false;
  cells.characters.clear();
  cells.attributes.clear();
  for (int at = column; at < column + static_cast<int>(count); ++at) {
    auto found = Fake().cells.find({row, at});
    bool written = found != Fake().cells.end();
    cells.characters += written ? found->second.first : u' ';
    cells.attributes.push_back(written ? found->second.second : 7);
  }
  return true;
}

void WriteScreenCells(int column, int row, const ScreenCells& cells) {
  if (!Fake().screen_measurable) return;
  Fake().cell_writes.emplace_back(cells.characters.begin(), cells.characters.end());
  for (std::size_t i = 0; i < cells.characters.size(); ++i)
    Fake().cells[{row, column + static_cast<int>(i)}] = {cells.characters[i], cells.attributes[i]};
}

bool OpenUserKey(const std::string& key_path, bool& created) {
  if (!Fake().registry_key_opens) return false;
  Fake().opened_key = key_path;
  created = !Fake().registry_key_exists && Fake().registry.empty();
  Fake().registry_key_exists = true;
  return true;
}

bool OpenUserKeyForReading(const std::string& key_path) {
  if (!Fake().registry_key_opens) return false;
  if (!Fake().registry_key_exists && Fake().registry.empty()) return false;
  Fake().opened_key = key_path;
  return true;
}

// A refused value ends the pass, as a failed enumeration would.
bool ReadAllValues(std::vector<std::pair<std::string, RegistryValue>>& values) {
  ++Fake().registry_passes;
  for (const auto& [name, value] : Fake().registry) {
    if (Fake().refused_reads.count(name)) return false;
    values.emplace_back(name, value);
  }
  return true;
}

bool SetStringValue(const std::string& name, const std::string& text) {
  if (Fake().refused_writes.count(name)) return false;
  Fake().registry[name] = RegistryValue{kRegSz, text + std::string(1, '\0')};
  Fake().registry_writes.push_back(name);
  return true;
}

void CloseUserKey() { Fake().opened_key.clear(); }

std::intptr_t ShellOpen(const std::string& file, const std::string& parameters,
                        const std::string& directory, int show_command) {
  Fake().shell_calls.push_back(fake::ShellCall{file, parameters, directory, show_command});
  return Fake().shell_result;
}

bool CopyToClipboard(const std::string& text) {
  if (!Fake().clipboard_works) return false;
  Fake().clipboard = text;
  return true;
}

}  // namespace vantor::sys
