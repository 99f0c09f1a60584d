// Handing work to other programs through the Windows shell: web pages, the
// help file and Explorer.
#pragma once

#include <string>

namespace vantor {

// The window state every caller asks for (SW_SHOW).
inline constexpr int kShowWindow = 5;

// Asks the shell to open `file` with its default action, passing
// `parameters` and the working `directory` (each cut to 255 characters;
// empty texts are passed as empty strings). True when the shell's result
// is greater than 32.
bool ShellRun(const std::string& file, const std::string& parameters, const std::string& directory,
              int show_command);

// Opens `document` (a file, web address or program). Returns true on
// success; on failure puts the document on the clipboard as plain text and
// raises an error saying so, with the document on its second line.
bool ShellLaunch(const std::string& document);

// Opens `document` and ends the run with exit code 0 without waiting for
// the started program. A failed launch raises ShellLaunch's error.
[[noreturn]] void LaunchAndExit(const std::string& document);

}  // namespace vantor
