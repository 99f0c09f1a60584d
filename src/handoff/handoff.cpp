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
  if (HasDriveColon(path))
    return path.substr(0, 2) + "\r\n" + ChangeLine("chdir", path.substr(2, kMaxChangePath));
  return ChangeLine(IsNetworkPath(path) ? "pushd" : "chdir", path);
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
