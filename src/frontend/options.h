// Option dispatch: the call without arguments, every option of the first
// argument, or the path specification for the run.
#pragma once

#include <string>

namespace vantor {

// Returns the path specification (the arguments joined by single spaces),
// or handles the call without arguments or an option and ends the run.
std::string DispatchOptions();

}  // namespace vantor
