// The program's version, kept in this one place: the help screens and the
// exit report show it, and scripts/package reads it from this file to name
// the release archive (keep the definition on one line, as it is).
#pragma once

namespace vantor {

// The version of the program as users see it ("3.3").
inline constexpr const char* kVersion = "3.3";

}  // namespace vantor
