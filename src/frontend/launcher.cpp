#include "frontend/launcher.h"

#include "base/exit.h"
#include "platform/system.h"

namespace vantor {
namespace {

// The shell is given texts of at most this length (a 256-byte buffer each).
constexpr std::size_t kShellTextLimit = 255;
// Result codes up to this value are the shell's error codes.
constexpr std::intptr_t kShellErrorLimit = 32;

std::string ShellText(const std::string& text) { return text.substr(0, kShellTextLimit); }

}  // namespace

bool ShellRun(const std::string& file, const std::string& parameters, const std::string& directory,
              int show_command) {
  std::intptr_t result =
      sys::ShellOpen(ShellText(file), ShellText(parameters), ShellText(directory), show_command);
  return result > kShellErrorLimit;
}

bool ShellLaunch(const std::string& document) {
  if (ShellRun(document, "", "", kShowWindow)) return true;
  // The text stays available for pasting into a browser or a command line.
  sys::CopyToClipboard(document);
  RaiseError("Shell command failed. It has been copied to the clipboard.\r\n" + document);
}

void LaunchAndExit(const std::string& document) {
  ShellLaunch(document);
  EndRun(kExitNormal);
}

}  // namespace vantor
