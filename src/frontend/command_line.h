// Splitting of the process command line into arguments.
#pragma once

#include <string>
#include <vector>

namespace vantor {

// Splits a command line: runs of characters 1 to 32 separate arguments, a
// pair of quotes where an argument would begin is skipped, and a quote
// opens a stretch (to the next quote or the end) whose characters belong
// to the argument. Element 0 is the program's own path.
std::vector<std::string> SplitCommandLine(const std::string& line);

// The path specification the arguments from `first` on make: each after
// the one before it and a single space. Empty when there are none.
std::string JoinArguments(const std::vector<std::string>& args, std::size_t first);

// The arguments of this process (element 0 the program path).
const std::vector<std::string>& Arguments();

// Re-reads the process command line (start-up).
void ReadArguments();

}  // namespace vantor
