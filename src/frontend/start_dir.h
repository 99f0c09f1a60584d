#pragma once

#include <string>

namespace vantor {

// The directory the run started in, read once at start-up; empty when it
// could not be read (its full path is longer than 259 characters).
const std::string& StartDir();
void SetStartDir(const std::string& dir);

// Reports in light red that the current directory can't be read and ends
// the run with 243.
[[noreturn]] void ReportUnreadableStartDir();

// StartDir for a step that cannot do without it (the call without
// arguments, "." in an alias definition, the drive of a path that names
// none): ends the run as ReportUnreadableStartDir does when it is empty,
// so that nothing is ever done with an empty directory.
const std::string& RequireStartDir();

}  // namespace vantor
