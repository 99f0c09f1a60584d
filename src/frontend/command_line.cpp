#include "frontend/command_line.h"

#include "platform/system.h"

namespace vantor {
namespace {

std::vector<std::string> arguments;

bool IsSeparator(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

// Skips separators and empty quote pairs where an argument would begin.
std::size_t SkipToArgument(const std::string& line, std::size_t at) {
  for (;;) {
    while (at < line.size() && IsSeparator(line[at])) ++at;
    if (at + 1 < line.size() && line[at] == '"' && line[at + 1] == '"') {
      at += 2;
      continue;
    }
    return at;
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> result;
  std::size_t at = SkipToArgument(line, 0);
  while (at < line.size() && line[at] != '\0') {
    std::string argument;
    while (at < line.size() && line[at] != '\0' && !IsSeparator(line[at])) {
      if (line[at] != '"') {
        argument += line[at++];
        continue;
      }
      std::size_t close = line.find('"', at + 1);
      if (close == std::string::npos) close = line.size();
      argument.append(line, at + 1, close - at - 1);
      at = close < line.size() ? close + 1 : close;
    }
    result.push_back(argument);
    at = SkipToArgument(line, at);
  }
  return result;
}

std::string JoinArguments(const std::vector<std::string>& args, std::size_t first) {
  std::string joined;
  for (std::size_t i = first; i < args.size(); ++i) joined += (i > first ? " " : "") + args[i];
  return joined;
}

const std::vector<std::string>& Arguments() { return arguments; }

void ReadArguments() { arguments = SplitCommandLine(sys::CommandLine()); }

}  // namespace vantor
