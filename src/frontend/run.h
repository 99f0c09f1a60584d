// The run flow: start-up, option dispatch, resolving the path
// specification, the search and the hand-off.
#pragma once

namespace vantor {

// Performs one whole run and returns the process exit code. Every way out
// of the run (EndRun, an unhandled error) comes back here as a code.
int RunProgram();

}  // namespace vantor
