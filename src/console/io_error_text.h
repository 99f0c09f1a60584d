#pragma once

#include <cstdint>
#include <string>

namespace vantor::console {

// The readable text of a failed file operation's number (the low eight
// bits of the system's error code); "Unexpected error N" for the gaps.
std::string IoErrorText(std::uint32_t number);

}  // namespace vantor::console
