#include "handoff/handoff.h"

#include "base/exit.h"
#include "base/path_text.h"
#include "console/wincrt.h"
#include "platform/system.h"
#include "store/settings.h"

namespace vantor::handoff {
namespace {

constexpr const char* kHandOffName = "vantor2.bat";
constexpr std::size_t kMaxChangePath = 1024;
constexpr const char* kUtf8Switch = "chcp 65001 >nul 2>nul";

[[noreturn]] void ReportMissingTemp() {
  console::SetColour(console::kColourError);
  console::WriteLine("Vantor: Error - the environment variable TEMP is not defined");
  console::WriteLine("You can define it with the following command in your autoexec.bat:");
  console::WriteLine("  SET TEMP=c:\\temp");
  console::RestoreColour();
  EndRun(kExitRunError);
}

[[noreturn]] void ReportUnwritable(const std::string& file_name) {
  console::SetColour(console::kColourError);
  console::WriteLine("Vantor: Error - can't write to batch file '" + file_name + "'");
  console::RestoreColour();
  EndRun(kExitRunError);
}

// The shell expands '%' inside a batch file even between quotes, so each
// one is doubled; every other byte goes through as the system reported it.
std::string ChangeLine(const std::string& command, const std::string& path) {
  std::string line = command + " \"";
  for (char c : path) {
    line += c;
    if (c == '%') line += '%';
  }
  return line + "\"";
}

// cmd enters a network path ("\\server\share...") only through pushd, which
// maps a drive letter for it; any other path through chdir.
const char* ChangeCommand(const std::string& path) {
  return IsNetworkPath(path) ? "pushd" : "chdir";
}

// A drive line and the change line for the rest of the path, or the change
// line alone for a network path; `path` is in the bytes the shell reads.
std::string ChangeLines(const std::string& path) {
  if (HasDriveColon(path))
    return path.substr(0, 2) + "\r\n" + ChangeLine("chdir", path.substr(2, kMaxChangePath));
  return ChangeLine(ChangeCommand(path), path);
}

// The part of `path` that a change line names: all but the drive.
std::string ChangedPart(const std::string& path) {
  return HasDriveColon(path) ? path.substr(2) : path;
}

// The shell reads a batch file in the console's code page, one line at a
// time. For a path that code page cannot hold, the change line is read in
// UTF-8 after "chcp 65001" (which the shell of Windows 10 and later takes),
// and the console's code page is put back afterwards. Where the shell
// refuses that code page, the path's short form, which is ASCII, is entered
// instead when the system has one.
std::string UnicodeChangeLines(const std::string& path) {
  std::string lines = HasDriveColon(path) ? path.substr(0, 2) + "\r\n" : std::string();
  lines += std::string(kUtf8Switch) + "\r\n";
  const std::string command = ChangeCommand(path);
  std::string long_line = ChangeLine(command, ChangedPart(path));
  std::string short_path = sys::ShortPathName(path);
  if (!short_path.empty() && IsAscii(short_path))
    lines +=
        "if errorlevel 1 (" + ChangeLine(command, ChangedPart(short_path)) + ") else " + long_line;
  else
    lines += "if not errorlevel 1 " + long_line;
  return lines + "\r\nchcp " + std::to_string(sys::ConsoleCodePage()) + " >nul 2>nul";
}

}  // namespace

std::string HandOffFileName() {
  std::string named;
  if (sys::GetEnv(kHandOffVariable, named) && !named.empty()) return named;
  std::string temp;
  if (!sys::GetEnv("TEMP", temp) || temp.empty()) ReportMissingTemp();
  if (temp.back() != '\\') temp += '\\';
  return temp + kHandOffName;
}

void WriteHandOffFile(const std::string& text) {
  std::string file_name = HandOffFileName();
  if (!sys::WriteNewFile(file_name, text + "\r\n")) ReportUnwritable(file_name);
}

std::string HandOffText(const std::string& path) {
  std::string bytes;
  if (sys::EncodeText(path, sys::ConsoleCodePage(), bytes)) return ChangeLines(bytes);
  return UnicodeChangeLines(path);
}

void HandOffDirectory(const std::string& path) { WriteHandOffFile(HandOffText(path)); }

void ReportCannotEnter(const std::string& target) {
  console::WriteColouredLine(console::kColourError,
                             "Vantor: Could not change directory to '" + target + "'");
  EndRun(kExitRunError);
}

std::string EnterDirectory(const std::string& target) {
  return sys::SetCurrentDir(target) ? sys::GetCurrentDir() : std::string();
}

void ChangeToDirectory(const std::string& target) {
  std::string entered = EnterDirectory(target);
  if (entered.empty()) ReportCannotEnter(target);
  store::AddToHistory(entered);
  HandOffDirectory(entered);
  EndRun(kExitNormal);
}

}  // namespace vantor::handoff
