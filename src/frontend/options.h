// Option dispatch: the call without arguments, every option of the first
// argument, or the path specification for the run.
#pragma once

#include <string>

namespace vantor {

// Returns the path specification (the arguments joined by single spaces),
// or handles the call without arguments or an option and ends the run.
std::string DispatchOptions();

// Converts a history index text like the runtime's integer conversion
// (leading blanks, a sign, decimal, or hex after "$", "x" or "0x").
// False when any other character is found or the text is empty.
bool ParseIndexText(const std::string& text, long long& value);

}  // namespace vantor
