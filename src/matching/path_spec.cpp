#include "matching/path_spec.h"

#include <algorithm>
#include <string_view>

#include "base/path_text.h"
#include "platform/system.h"

// Every rewrite builds its result in one pass over the input: a typed
// specification has no length limit, and inserting into the middle of it
// again and again would make long inputs quadratic.

namespace vantor::matching {
namespace {

bool IsLoneDot(const std::string& spec, std::size_t i) {
  if (spec[i] != '.') return false;
  bool starts = i == 0 || spec[i - 1] == ':' || spec[i - 1] == '\\';
  bool ends = i + 1 == spec.size() || spec[i + 1] == '\\';
  return starts && ends;
}

// ".." for the first of `steps` parent steps and "..\" in front of it for
// each further one.
void AppendParentSteps(std::string& out, std::size_t steps) {
  for (std::size_t step = 1; step < steps; ++step) out += "..\\";
  out += "..";
}

void ExpandLoneDots(std::string& spec) {
  std::string out;
  out.reserve(spec.size() + spec.size() / 2 + 1);
  for (std::size_t i = 0; i < spec.size(); ++i) {
    if (IsLoneDot(spec, i)) out += '.';
    out += spec[i];
  }
  spec.swap(out);
}

void ExpandDotRuns(std::string& spec) {
  std::string out;
  out.reserve(spec.size() + spec.size() / 2 + 1);
  std::size_t i = 0;
  while (i < spec.size()) {
    bool run_start = spec[i] == '.' && (i == 0 || spec[i - 1] == '\\');
    if (!run_start) {
      out += spec[i++];
      continue;
    }
    std::size_t end = spec.find_first_not_of('.', i);
    if (end == std::string::npos) end = spec.size();
    std::size_t dots = end - i;
    if (dots >= 3)
      AppendParentSteps(out, dots - 1);
    else
      out.append(spec, i, dots);
    i = end;
  }
  spec.swap(out);
}

bool StartsWithParentStep(std::string_view rest) {
  return rest == ".." || rest.substr(0, 3) == "..\\";
}

}  // namespace

void SlashesToBackslashes(std::string& spec) { std::replace(spec.begin(), spec.end(), '/', '\\'); }

void ExpandDoubleBackslash(std::string& spec) {
  std::string out;
  out.reserve(spec.size() * 2);
  for (std::size_t i = 0; i < spec.size(); ++i) {
    out += spec[i];
    if (spec[i] == '\\' && i + 1 < spec.size() && spec[i + 1] == '\\') out += '*';
  }
  spec.swap(out);
}

void ExpandDots(std::string& spec) {
  ExpandLoneDots(spec);
  ExpandDotRuns(spec);
}

std::string ParentDir(const std::string& path) {
  // Positions count from 1 here; the last character is never looked at.
  std::size_t n = path.empty() ? 0 : path.size() - 1;
  while (n > 0 && path[n - 1] != '\\') --n;
  n = std::max<std::size_t>(n, 4);
  return path.substr(0, n - 1);
}

void AddTrailingBackslash(std::string& text) {
  // An empty text has no directory to end; it is left as it is.
  if (!text.empty() && text.back() != '\\') text += '\\';
}

std::string DriveCurrentDir(char letter) {
  std::string previous = sys::GetCurrentDir();
  char drive = AsciiUpper(letter);
  // Only a letter names a drive; anything else would be read as a path.
  if (drive < 'A' || drive > 'Z') return previous;
  if (!sys::SetCurrentDir(std::string{drive, ':'})) return previous;
  std::string dir = sys::GetCurrentDir();
  sys::SetCurrentDir(previous);
  return dir.empty() ? previous : dir;
}

std::string MakeAbsolutePath(const std::string& path) {
  if (HasDriveColon(path) && path.size() >= 3 && path[2] == '\\') return path;
  if (IsNetworkPath(path)) return path;
  std::string_view rest = path;
  char drive;
  if (HasDriveColon(path)) {
    drive = path[0];
    rest.remove_prefix(2);
  } else {
    std::string current = sys::GetCurrentDir();
    drive = current.empty() ? '\0' : current[0];
  }
  if (!rest.empty() && rest[0] == '\\') return std::string{drive, ':'}.append(rest);
  std::string base = DriveCurrentDir(drive);
  if (rest == "." || rest.substr(0, 2) == ".\\")
    rest.remove_prefix(std::min<std::size_t>(2, rest.size()));
  while (StartsWithParentStep(rest)) {
    rest.remove_prefix(std::min<std::size_t>(3, rest.size()));
    base = ParentDir(base);
  }
  AddTrailingBackslash(base);
  return base.append(rest);
}

}  // namespace vantor::matching
