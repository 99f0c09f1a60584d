// The one door out of a run: every outcome ends with a code of this table.
#pragma once

#include <string>

namespace vantor {

enum ExitCode : int {
  kExitNormal = 0,          // changed directory, screen or list shown, user left
  kExitUnhandledError = 1,  // an error nothing handles, after its message
  kExitRunError = 243,      // bad drive, bad history index, can't enter, no TEMP
  kExitScreenShown = 250,   // after the usage or the welcome screen
  kExitDeclined = 255,      // the user declined to create a directory
};

// Thrown by EndRun; the program entry turns it into the process exit code,
// and tests catch it to read the code.
struct RunEnded {
  int code;
};

// Thrown by RaiseError: an error that nothing in the program handles. The
// program entry writes its message and ends with kExitUnhandledError.
struct UnhandledError {
  std::string message;
};

// Ends the run with `code`. Never returns.
[[noreturn]] void EndRun(int code);

// Raises an error that ends the run with its message and exit code 1.
[[noreturn]] void RaiseError(const std::string& message);

}  // namespace vantor
