#pragma once

#include <string>

namespace vantor {

// The directory the run started in, read once at start-up.
const std::string& StartDir();
void SetStartDir(const std::string& dir);

}  // namespace vantor
