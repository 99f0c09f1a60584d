// The history index typed after the dash of an option ("-3", "-$A").
#pragma once

#include <string>

namespace vantor {

// Converts a history index text like the runtime's integer conversion
// (leading blanks, a sign, decimal, or hex after "$", "x" or "0x").
// False when any other character is found or the text is empty.
bool ParseIndexText(const std::string& text, long long& value);

}  // namespace vantor
