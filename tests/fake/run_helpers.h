// Running whole program runs against the in-memory system.
#pragma once

#include <string>

namespace vantor::fake {

// Runs the program once with `arguments` typed after the program name and
// returns its exit code (kCtrlCExitCode when Ctrl+C ended the process). The
// fake keeps everything the run changed.
int RunVantor(const std::string& arguments);

// The hand-off file's content (TEMP as the fake has it).
std::string HandOffContent();

// The hand-off bytes that change the shell to `path`.
std::string ExpectedHandOff(const std::string& drive_line, const std::string& change_path);

// Catches the end of a run inside a test and gives its exit code
// (kCtrlCExitCode when Ctrl+C ended the process); -1 when the code under
// test returned normally.
template <typename Body>
int ExitCodeOf(Body body);

}  // namespace vantor::fake

#include "base/exit.h"
#include "fake/fake_system.h"

template <typename Body>
int vantor::fake::ExitCodeOf(Body body) {
  try {
    body();
  } catch (const vantor::RunEnded& end) {
    return end.code;
  } catch (const CtrlCExit&) {
    return kCtrlCExitCode;
  }
  return -1;
}
