// The directory the run started in: "the current directory" of every step.
#pragma once

#include <string>

namespace vantor {

// The directory the run started in, read once at start-up; empty when it
// could not be read (its full path is longer than 259 characters).
const std::string& StartDir();
void SetStartDir(const std::string& dir);

}  // namespace vantor
