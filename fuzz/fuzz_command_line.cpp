// Splitting of the command line: any line of bytes splits without a fault,
// the same way as a plain reading of the splitting rules does, no argument
// keeps a quote, and arguments quoted and joined again split back into
// themselves.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frontend/command_line.h"
#include "fuzz_check.h"

namespace {

using vantor::fuzz::Printable;

bool IsSeparator(unsigned char c) { return c >= 1 && c <= 32; }

// The rules read one character at a time: separators and empty quote
// pairs before an argument are skipped; inside one, quotes open and close
// stretches whose characters all belong to it.
std::vector<std::string> PlainSplit(const std::string& line) {
  std::vector<std::string> arguments;
  std::size_t at = 0;
  const std::size_t size = line.size();
  for (;;) {
    while (at < size) {
      if (IsSeparator(line[at])) {
        ++at;
      } else if (line[at] == '"' && at + 1 < size && line[at + 1] == '"') {
        at += 2;
      } else {
        break;
      }
    }
    if (at >= size) return arguments;
    std::string argument;
    while (at < size && !IsSeparator(line[at])) {
      if (line[at] != '"') {
        argument += line[at++];
        continue;
      }
      for (++at; at < size && line[at] != '"'; ++at) argument += line[at];
      if (at < size) ++at;
    }
    arguments.push_back(argument);
  }
}

std::string Show(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) text += "[" + Printable(argument) + "]";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The system hands the program a zero-terminated line: it holds no NUL.
  std::string line(reinterpret_cast<const char*>(data), size);
  line = line.substr(0, line.find('\0'));

  const std::vector<std::string> arguments = vantor::SplitCommandLine(line);
  const std::vector<std::string> expected = PlainSplit(line);
  FUZZ_CHECK(arguments == expected, "line " + Printable(line) + "\n  got " + Show(arguments) +
                                        "\n  expected " + Show(expected));

  std::size_t bytes = 0;
  for (const std::string& argument : arguments) {
    FUZZ_CHECK(argument.find('"') == std::string::npos, Show(arguments));
    bytes += argument.size();
  }
  FUZZ_CHECK(bytes <= line.size(), Show(arguments));

  // Every non-empty argument, quoted and joined by a blank, comes back as it
  // was; an empty one disappears (an empty quote pair is skipped).
  std::string joined;
  std::vector<std::string> kept;
  for (const std::string& argument : arguments) {
    joined += " \"" + argument + "\"";
    if (!argument.empty()) kept.push_back(argument);
  }
  const std::vector<std::string> again = vantor::SplitCommandLine(joined);
  FUZZ_CHECK(again == kept, "joined " + Printable(joined) + "\n  got " + Show(again));
  return 0;
}
