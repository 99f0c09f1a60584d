// The three rewrites of a typed specification, ParentDir and
// MakeAbsolutePath: any bytes go through without a fault and come out as a
// literal, position-by-position reading of the rules gives them; the
// rewrites keep their promises (no '/', no "\\", dot expansion done once
// and for all) and MakeAbsolutePath leaves the current directory alone.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fake/fake_system.h"
#include "fuzz_check.h"
#include "matching/path_spec.h"

namespace {

using vantor::fuzz::Printable;
namespace matching = vantor::matching;

// ---- The rules, read literally: the text grows in place as they say ----

void PlainDoubleBackslash(std::string& text) {
  for (;;) {
    std::size_t pair = text.find("\\\\");
    if (pair == std::string::npos) return;
    text.insert(pair + 1, "*");
  }
}

void PlainLoneDots(std::string& text) {
  std::size_t i = 0;  // 0-based here
  while (i < text.size()) {
    bool starts = i == 0 || text[i - 1] == ':' || text[i - 1] == '\\';
    bool ends = i + 1 == text.size() || text[i + 1] == '\\';
    if (text[i] == '.' && starts && ends) {
      text.insert(i, ".");
      i += 2;
    } else {
      ++i;
    }
  }
}

void PlainDotRuns(std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '.' || (i != 0 && text[i - 1] != '\\')) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && text[end] == '.') ++end;
    std::size_t dots = end - i;
    if (dots < 3) {
      i = end;
      continue;
    }
    std::string steps = "..";
    for (std::size_t k = 1; k < dots - 1; ++k) steps = "..\\" + steps;
    text.replace(i, dots, steps);
    i += steps.size();
  }
}

std::string PlainParentDir(const std::string& path) {
  std::size_t n = path.size();  // 1-based position as the rule counts
  if (n > 0) {
    --n;
    while (n > 0 && path[n - 1] != '\\') --n;
  }
  if (n < 4) n = 4;
  return path.substr(0, n - 1);
}

// ---- The in-memory machine MakeAbsolutePath reads drives from ----

const char* const kStartDir = "C:\\Work\\Deep\\Sub";
const char* const kDriveD = "D:\\Data\\x";

std::string CurrentDirOfDrive(char letter) {
  char upper = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 32) : letter;
  if (upper == 'D') return kDriveD;
  return kStartDir;  // C, and any drive that cannot be made current
}

std::string PlainMakeAbsolute(const std::string& path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return path;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return path;
  std::string rest = path;
  char drive = kStartDir[0];
  if (path.size() >= 2 && path[1] == ':') {
    drive = path[0];
    rest = path.substr(2);
  }
  if (!rest.empty() && rest[0] == '\\') return std::string(1, drive) + ":" + rest;
  std::string base = CurrentDirOfDrive(drive);
  if (rest == "." || rest.compare(0, 2, ".\\") == 0) rest.erase(0, 2);
  while (rest == ".." || rest.compare(0, 3, "..\\") == 0) {
    rest.erase(0, 3);
    base = PlainParentDir(base);
  }
  if (base.back() != '\\') base += '\\';
  return base + rest;
}

void SetUpMachine() {
  vantor::fake::ResetFake();
  auto& fake = vantor::fake::Fake();
  fake.AddDir(kStartDir);
  fake.AddDir(kDriveD);
  fake.drive_dirs['D'] = kDriveD;
  fake.current_dir = kStartDir;
}

std::string Pair(const std::string& got, const std::string& expected) {
  return "got " + Printable(got) + "\n  expected " + Printable(expected);
}

void CheckRewrites(const std::string& typed) {
  std::string spec = typed;
  matching::SlashesToBackslashes(spec);
  FUZZ_CHECK(spec.size() == typed.size() && spec.find('/') == std::string::npos, Printable(spec));

  std::string expected = spec;
  matching::ExpandDoubleBackslash(spec);
  PlainDoubleBackslash(expected);
  FUZZ_CHECK(spec == expected, Pair(spec, expected));
  FUZZ_CHECK(spec.find("\\\\") == std::string::npos, Printable(spec));

  std::string before_dots = spec;
  matching::ExpandDots(spec);
  PlainLoneDots(expected);
  PlainDotRuns(expected);
  FUZZ_CHECK(spec == expected, "of " + Printable(before_dots) + "\n  " + Pair(spec, expected));
  std::string twice = spec;
  matching::ExpandDots(twice);
  FUZZ_CHECK(twice == spec, "expanded again: " + Pair(twice, spec));
}

void CheckPaths(const std::string& path) {
  std::string absolute = "C:\\" + path;
  std::string parent = matching::ParentDir(absolute);
  FUZZ_CHECK(parent == PlainParentDir(absolute), Pair(parent, PlainParentDir(absolute)));
  FUZZ_CHECK(parent.size() >= 3 && absolute.compare(0, parent.size(), parent) == 0,
             Printable(parent));
  matching::ParentDir(path);  // outside the callers' promise: must not fault

  std::string with_backslash = path;
  matching::AddTrailingBackslash(with_backslash);
  if (!path.empty())
    FUZZ_CHECK(with_backslash.back() == '\\' &&
                   with_backslash.size() - path.size() == (path.back() == '\\' ? 0u : 1u),
               Printable(with_backslash));

  SetUpMachine();
  std::string made = matching::MakeAbsolutePath(path);
  FUZZ_CHECK(made == PlainMakeAbsolute(path),
             "of " + Printable(path) + "\n  " + Pair(made, PlainMakeAbsolute(path)));
  FUZZ_CHECK(vantor::fake::Fake().current_dir == kStartDir, vantor::fake::Fake().current_dir);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CheckRewrites(text);
  CheckPaths(text);
  return 0;
}
