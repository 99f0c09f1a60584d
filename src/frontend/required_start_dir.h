// The start directory for the steps of a run that cannot do without it.
#pragma once

#include <string>

namespace vantor {

// Reports in light red that the current directory can't be read and ends
// the run with 243.
[[noreturn]] void ReportUnreadableStartDir();

// StartDir for a step that needs it (the call without arguments, "." in an
// alias definition, the drive of a path that names none): ends the run as
// ReportUnreadableStartDir does when it is empty, so that nothing is ever
// done with an empty directory.
const std::string& RequireStartDir();

}  // namespace vantor
