#pragma once

#include <cstdint>
#include <string>

namespace vantor::console {

// The readable text of a failed file operation's number (the low eight
// bits of the system's error code); "Unexpected error N" for the gaps.
std::string IoErrorText(std::uint32_t number);

// The text for the low eight bits of an error code from the system: as
// IoErrorText, except that the run-time groups (100 to 106 and 200 to 216)
// belong to the language's own file and run-time errors, not the system's,
// so those numbers give "Unexpected error N" too (a path too long, 206,
// is no floating-point fault).
std::string SystemErrorText(std::uint32_t number);

}  // namespace vantor::console
