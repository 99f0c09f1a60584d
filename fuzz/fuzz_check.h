// What the fuzz targets share: a check that stops the run with the input's
// story when a property does not hold, and printable forms of texts.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vantor::fuzz {

// The text with every byte outside printable ASCII shown as \xNN.
inline std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 32 && c < 127 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", c);
      out += code;
    }
  }
  return out;
}

// Stops the run: libFuzzer keeps the input that got here as a crash file.
[[noreturn]] inline void Fail(const char* what, const std::string& detail, const char* file,
                              int line) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n  %s\n", file, line, what, detail.c_str());
  std::abort();
}

}  // namespace vantor::fuzz

// Checks a property of the code under test; `detail` says what was seen.
#define FUZZ_CHECK(condition, detail)                                                 \
  do {                                                                                \
    if (!(condition)) ::vantor::fuzz::Fail(#condition, (detail), __FILE__, __LINE__); \
  } while (false)
