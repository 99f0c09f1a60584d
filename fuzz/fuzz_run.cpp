// Whole runs of the program against an in-memory machine built from the
// input: a tree, start and drive directories, TEMP and VANTOR in every
// shape (unset, empty, missing, a folder, read-only, far too long), a
// settings file or registry values of any content, a screen size, keys,
// and a command line of any bytes. Every run must end with one of the
// program's exit codes and leave a hand-off file that is "rem" or a change
// into an existing directory, and a settings file that is a whole block.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake/fake_system.h"
#include "fake/run_helpers.h"
#include "frontend/run.h"
#include "fuzz_check.h"
#include "store/settings.h"

namespace {

using vantor::fake::Fake;
using vantor::fuzz::Printable;
namespace store = vantor::store;

const char* const kDirs[] = {
    "C:\\Work",           "C:\\Work\\src",       "C:\\Work\\Src2", "C:\\Program Files",
    "C:\\ProgramData",    "C:\\Temp\\ro",        "D:\\data",       "D:\\data\\x.y",
    "C:\\Work\\a b\\50%", "C:\\Users\\\xE9t\xE9"};
const char* const kSettingsFile = "C:\\Work\\vantor.dat";
// A start directory too deep for the 260-byte current-directory buffer.
const std::string kDeepDir = "C:\\Work" + [] {
  std::string levels;
  for (int level = 0; level < 40; ++level) levels += "\\level" + std::to_string(level);
  return levels;
}();

std::string Pick(FuzzedDataProvider& input, const std::vector<std::string>& choices) {
  return choices[input.ConsumeIntegralInRange<std::size_t>(0, choices.size() - 1)];
}

// A name a file system could hold: no separators, wildcards or zero bytes,
// and never "." or ".." (which the system never lists as subdirectories).
std::string DirName(std::string name) {
  for (char& c : name)
    if (c == '\0' || std::string("\\/:*?\"<>|").find(c) != std::string::npos) c = '_';
  if (name.empty() || name.find_first_not_of('.') == std::string::npos) name += "_";
  return name;
}

void BuildMachine(FuzzedDataProvider& input) {
  vantor::fake::ResetFake();
  auto& fake = Fake();
  fake.AddDrive('D');
  for (const char* dir : kDirs)
    if (input.ConsumeIntegralInRange(0, 4) != 0) fake.AddDir(dir);
  for (int extra = input.ConsumeIntegralInRange(0, 6); extra > 0; --extra)
    fake.AddDir("C:\\Work\\" + DirName(input.ConsumeRandomLengthString(12)));
  fake.AddDir("C:\\Work");
  fake.unwritable_folders.insert("C:\\TEMP\\RO");
  if (input.ConsumeIntegralInRange(0, 9) == 0) fake.dirs["C:\\WORK"].unreadable = true;
  fake.current_dir = Pick(input, {"C:\\", "C:\\Work", "D:\\", "C:\\Work\\src", kDeepDir});
  if (fake.current_dir == kDeepDir) fake.AddDir(kDeepDir);
  if (!fake.DirExists(fake.current_dir)) fake.current_dir = "C:\\Work";
  fake.drive_dirs['D'] = fake.DirExists("D:\\data") ? "D:\\data" : "D:\\";
}

void SetTemp(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 7)) {
    case 0:
      Fake().UnsetEnv("TEMP");
      break;
    case 1:
      Fake().SetEnv("TEMP", "");
      break;
    case 2:
      Fake().SetEnv("TEMP", "C:\\Missing");
      break;
    case 3:
      Fake().SetEnv("TEMP", "C:\\Temp\\ro");
      break;
    case 4:
      Fake().SetEnv("TEMP", "C:\\Temp\\" + std::string(300, 'x'));
      break;
    case 5:
      Fake().SetEnv("TEMP", "C:\\Temp\\");
      break;
    default:
      break;  // C:\Temp
  }
}

void SetStore(FuzzedDataProvider& input) {
  auto& fake = Fake();
  switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0:
      break;  // the registry
    case 1:
      fake.SetEnv("VANTOR", "C:\\Missing\\vantor.dat");
      break;
    case 2:
      fake.SetEnv("VANTOR", "C:\\Work");
      break;
    case 3:
      fake.SetEnv("VANTOR", "C:\\" + std::string(2000, 'v'));
      break;
    case 4:
      fake.SetEnv("VANTOR", kSettingsFile);
      fake.files[vantor::fake::Upper(kSettingsFile)] = input.ConsumeRandomLengthString(11000);
      fake.read_only_files.insert(vantor::fake::Upper(kSettingsFile));
      break;
    default:
      fake.SetEnv("VANTOR", kSettingsFile);
      if (input.ConsumeBool())
        fake.files[vantor::fake::Upper(kSettingsFile)] = input.ConsumeRandomLengthString(11000);
      break;
  }
  for (int v = input.ConsumeIntegralInRange(0, 8); v > 0; --v) {
    vantor::fake::RegistryValue value;
    value.type = input.PickValueInArray({vantor::sys::kRegSz, vantor::sys::kRegDword, 3u});
    value.data = input.ConsumeRandomLengthString(600);
    std::string name = input.PickValueInArray({"history_", "aliasname_", "aliasdir_"}) +
                       std::to_string(input.ConsumeIntegralInRange(0, 21));
    fake.registry[name] = value;
  }
}

void SetConsole(FuzzedDataProvider& input) {
  auto& fake = Fake();
  fake.rows = input.ConsumeIntegralInRange(1, 120);
  fake.columns = input.ConsumeIntegralInRange(1, 300);
  fake.screen_measurable = input.ConsumeIntegralInRange(0, 7) != 0;
  for (int k = input.ConsumeIntegralInRange(0, 12); k > 0; --k)
    fake.PushKey(input.ConsumeIntegral<std::uint8_t>(), input.ConsumeIntegralInRange(0, 90));
}

std::string CommandLine(FuzzedDataProvider& input) {
  static const std::vector<std::string> kWords = {
      "-a",      "-A",    "-l",     "-h",      "-",   "-3",   "-0x2",         "-$14",
      "-21",     "-x",    "-?",     "-w",      "..",  "...",  "\\",           "D:",
      "d:..",    "5:abc", "1:\\x",  "pr\\co",  "*",   "\\\\", "src",          "work",
      "\"a b\"", ".",     "nosuch", "w*\\s?c", "dos", "win",  "C:\\Work\\src"};
  std::string line;
  while (input.remaining_bytes() > 0 && line.size() < 400) {
    if (input.ConsumeBool())
      line += Pick(input, kWords);
    else
      line += input.ConsumeRandomLengthString(20);
    line += ' ';
  }
  return line.substr(0, line.find('\0'));
}

// The directory a hand-off file changes to, or "" for "rem": the path in the
// console's code page, or in UTF-8 between "chcp 65001" and a chcp back.
std::string HandOffTarget(const std::string& content) {
  if (content == "rem\r\n") return "";
  std::string drive;
  std::string rest = content;
  if (rest.size() >= 4 && rest[1] == ':' && rest.compare(2, 2, "\r\n") == 0) {
    drive = rest.substr(0, 2);
    rest.erase(0, 4);
  }
  const std::string utf8_switch = "chcp 65001 >nul 2>nul\r\n";
  const bool unicode = rest.compare(0, utf8_switch.size(), utf8_switch) == 0;
  if (unicode) {
    rest.erase(0, utf8_switch.size());
    const std::size_t end = rest.find("\r\n");
    FUZZ_CHECK(end != std::string::npos && rest.compare(end + 2, 5, "chcp ") == 0,
               "hand-off file " + Printable(content));
    const std::string line = rest.substr(0, end);
    std::size_t change = line.rfind(" chdir \"");
    if (change == std::string::npos) change = line.rfind(" pushd \"");
    FUZZ_CHECK(change != std::string::npos, "hand-off file " + Printable(content));
    rest = line.substr(change + 1) + "\r\n";
  }
  const bool change_line =
      (rest.compare(0, 7, "chdir \"") == 0 || rest.compare(0, 7, "pushd \"") == 0) &&
      rest.size() >= 10 && rest.compare(rest.size() - 3, 3, "\"\r\n") == 0;
  FUZZ_CHECK(change_line, "hand-off file " + Printable(content));
  std::string quoted = rest.substr(7, rest.size() - 10);
  std::string path;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    path += quoted[i];
    if (quoted[i] == '%') ++i;  // written doubled for the shell
  }
  return drive + (unicode ? path : vantor::sys::DecodeText(path, vantor::sys::ConsoleCodePage()));
}

void CheckOutcome(int code, const std::string& settings_before, const std::string& story) {
  FUZZ_CHECK(code == 0 || code == 1 || code == 243 || code == 250 || code == 255,
             "exit code " + std::to_string(code) + story);
  std::string handoff = vantor::fake::HandOffContent();
  if (!handoff.empty()) {
    std::string target = HandOffTarget(handoff);
    if (!target.empty()) {
      FUZZ_CHECK(code == 0, "changed directory but exit code " + std::to_string(code) + story);
      FUZZ_CHECK(Fake().DirExists(target), "hand-off to a missing " + Printable(target) + story);
    }
  }
  // Once start-up got past the hand-off file, the settings were saved.
  bool saved = !handoff.empty() && Fake().environment.count("VANTOR") &&
               Fake().environment["VANTOR"] == kSettingsFile &&
               !Fake().read_only_files.count(vantor::fake::Upper(kSettingsFile));
  std::string image = Fake().FileContent(kSettingsFile);
  if (saved || image != settings_before)
    FUZZ_CHECK(image.size() == store::kSettingsFileSize,
               "settings file of " + std::to_string(image.size()) + " bytes" + story);
}

// The history entries a user can reach: those in front of the first empty one.
std::vector<std::string> VisibleHistory(const std::string& image) {
  std::vector<std::string> visible;
  for (const std::string& entry : store::DecodeSettings(image).history) {
    if (entry.empty()) break;
    visible.push_back(vantor::fake::Upper(entry));
  }
  return visible;
}

// A run adds to the history and, unless it edits aliases, keeps them; what
// the user could reach before stays reachable while the list has room.
void CheckKept(const std::string& before, const std::string& after, const std::string& arguments,
               const std::string& story) {
  if (before.empty() || after.size() != store::kSettingsFileSize) return;
  std::vector<std::string> old_entries = VisibleHistory(before);
  std::vector<std::string> new_entries = VisibleHistory(after);
  if (new_entries.size() < static_cast<std::size_t>(store::kHistorySize)) {
    for (const std::string& entry : old_entries)
      FUZZ_CHECK(std::find(new_entries.begin(), new_entries.end(), entry) != new_entries.end(),
                 "history entry " + Printable(entry) + " lost" + story);
  }
  std::string first = arguments.substr(0, 3);
  if (first == "-a " || first == "-A " || first == "\"-a" || first == "\"-A") return;
  store::SettingsBlock old_block = store::DecodeSettings(before);
  store::SettingsBlock new_block = store::DecodeSettings(after);
  for (const store::Alias& alias : old_block.aliases) {
    if (alias.name.empty()) break;
    bool kept = false;
    for (const store::Alias& now : new_block.aliases)
      kept = kept || (now.name == alias.name && now.dir == alias.dir);
    FUZZ_CHECK(kept, "alias " + Printable(alias.name) + " lost" + story);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  BuildMachine(input);
  SetTemp(input);
  SetStore(input);
  SetConsole(input);
  std::string arguments = CommandLine(input);
  store::Settings() = store::DefaultSettings();
  const std::string settings_before = Fake().FileContent(kSettingsFile);
  // VANTOR_FUZZ_SHOW=1 tells what each run is before it starts (a hang).
  if (std::getenv("VANTOR_FUZZ_SHOW"))
    std::fprintf(stderr, "command line %s\nstart %s\n", Printable(arguments).c_str(),
                 Printable(Fake().current_dir).c_str());
  int code = vantor::fake::RunVantor(arguments);
  const std::string story = "\n  command line " + Printable(arguments) + "\n  start " +
                            Printable(Fake().current_dir) + "\n  output " +
                            Printable(Fake().output.substr(0, 2000));
  CheckOutcome(code, settings_before, story);
  if (Fake().environment.count("VANTOR") && Fake().environment["VANTOR"] == kSettingsFile)
    CheckKept(settings_before, Fake().FileContent(kSettingsFile), arguments, story);
  return 0;
}
