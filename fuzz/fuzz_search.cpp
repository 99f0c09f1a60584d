// The directory search over a tree built from the input, with a
// specification from the input: it must find exactly what a plain reading
// of the matching rules finds (same matches with the same scores, same
// creation candidates in the same order, the same directories listed),
// and sorting and trimming must leave the best matches in order.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "fake/fake_system.h"
#include "fuzz_check.h"
#include "matching/find_matches.h"
#include "matching/match_order.h"
#include "reference/match_order.h"

namespace {

using vantor::CharAt;
using vantor::CharLength;
using vantor::fuzz::Printable;
namespace matching = vantor::matching;
using matching::MatchEntry;
using matching::MatchList;

// ---- The rules, read plainly ----

// The characters of a text, each as its bytes.
std::vector<std::string> CharsOf(const std::string& text) {
  std::vector<std::string> chars;
  for (std::size_t at = 0; at < text.size(); at += CharLength(text, at))
    chars.push_back(text.substr(at, CharLength(text, at)));
  return chars;
}

bool PlainPrefix(const std::string& pattern_text, const std::string& text_text) {
  const std::vector<std::string> pattern = CharsOf(pattern_text);
  const std::vector<std::string> text = CharsOf(text_text);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == "*") return true;
    if (text.size() < i + 1) return false;
    if (pattern[i] != "?" && pattern[i] != text[i]) return false;
  }
  return true;
}

void PlainSplit(const std::string& text, std::string& base, std::string& extension) {
  std::size_t dot = text.find('.');
  base = dot == std::string::npos ? text : text.substr(0, dot);
  extension = dot == std::string::npos ? "" : text.substr(dot + 1, 1024);
}

bool PlainWild(const std::string& component, const std::string& name) {
  std::string component_base, component_ext, name_base, name_ext;
  PlainSplit(component, component_base, component_ext);
  PlainSplit(name, name_base, name_ext);
  return PlainPrefix(component_base, name_base) && PlainPrefix(component_ext, name_ext);
}

bool PlainOvertyped(const std::string& component, const std::string& name) {
  return component.size() >= name.size() && component.compare(0, name.size(), name) == 0;
}

// Characters count by their code points (a byte that begins no character
// stands for itself).
int PlainDistance(const std::string& a_text, const std::string& b_text) {
  std::u32string a, b;
  for (std::size_t at = 0; at < a_text.size(); at += CharLength(a_text, at))
    a += CharAt(a_text, at);
  for (std::size_t at = 0; at < b_text.size(); at += CharLength(b_text, at))
    b += CharAt(b_text, at);
  std::vector<int> previous(b.size() + 1), current(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j)
      current[j] = a[i - 1] == b[j - 1]
                       ? previous[j - 1]
                       : 1 + std::min({previous[j], current[j - 1], previous[j - 1]});
    previous.swap(current);
  }
  return previous[b.size()];
}

struct Plain {
  bool creation_allowed = true;
  MatchList matches;
  MatchList creatable;

  void Note(const std::string& path) {
    if (creation_allowed && path.find_first_of("?*") == std::string::npos)
      creatable.push_back(MatchEntry{path, 255});
  }

  void Search(std::string rest, std::string base, std::int32_t score) {
    if (rest.empty()) {
      matches.push_back(MatchEntry{base, score});
      return;
    }
    if (base.back() != '\\') base += '\\';
    std::vector<std::string> names;
    vantor::sys::ListSubdirectories(base, names);
    std::size_t cut = rest.find('\\');
    std::string component = rest.substr(0, cut);
    rest = cut == std::string::npos ? "" : rest.substr(cut + 1);
    std::string upper = vantor::fake::Upper(component);
    std::vector<int> scores(names.size(), 255);
    int best = 255;
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::string name = vantor::fake::Upper(names[i]);
      if (name == upper) {
        Search(rest, base + names[i], score);
        return;
      }
      if (PlainWild(upper, name) || PlainOvertyped(upper, name)) {
        scores[i] = 1;
        best = 1;
      } else if (best > 1) {
        scores[i] = PlainDistance(upper, name) + 1;
        best = std::min(best, scores[i]);
      }
    }
    if (best == 255) {
      Note(base + component + "\\" + rest);
      return;
    }
    for (std::size_t i = 0; i < names.size(); ++i)
      if (scores[i] == best) Search(rest, base + names[i], score + best);
  }
};

// ---- The tree ----

// Names of a few letters that collide, differ in case, have dots, and a
// few bytes above 127, so that every grade of match turns up.
std::string MakeName(FuzzedDataProvider& input) {
  static const char kLetters[] = "abAB.xXy z-_\xE9\xC9\x82~";
  std::size_t length = input.ConsumeIntegralInRange<std::size_t>(1, 12);
  std::string name;
  for (std::size_t i = 0; i < length; ++i) name += input.PickValueInArray(kLetters);
  name.erase(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  if (name.empty() || name == "." || name == "..") name = "n";
  return name;
}

void BuildTree(FuzzedDataProvider& input, std::vector<std::string>& dirs) {
  dirs.push_back("C:\\");
  int count = input.ConsumeIntegralInRange(0, 40);
  for (int d = 0; d < count; ++d) {
    const std::string& parent = dirs[input.ConsumeIntegralInRange<std::size_t>(0, dirs.size() - 1)];
    std::string path = parent + (parent.back() == '\\' ? "" : "\\") + MakeName(input);
    if (vantor::fake::Fake().DirExists(path)) continue;
    vantor::fake::Fake().AddDir(path);
    dirs.push_back(path);
  }
  for (int u = input.ConsumeIntegralInRange(0, 2); u > 0; --u) {
    std::string path = dirs[input.ConsumeIntegralInRange<std::size_t>(0, dirs.size() - 1)];
    vantor::fake::Fake().dirs[vantor::fake::Upper(path)].unreadable = true;
  }
}

// A specification built of the same letters, separators, wildcards and
// empty components, or a long name to bring in the longer distances.
std::string MakeSpec(FuzzedDataProvider& input) {
  static const char kSpecChars[] = "abAB.xy z*?\\\\\xE9\x82";
  std::string spec;
  std::size_t length = input.ConsumeIntegralInRange<std::size_t>(1, 40);
  for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
    if (input.ConsumeIntegralInRange(0, 30) == 0)
      spec += std::string(input.ConsumeIntegralInRange<std::size_t>(60, 300), 'a');
    else
      spec += input.PickValueInArray(kSpecChars);
  }
  spec.erase(std::remove(spec.begin(), spec.end(), '\0'), spec.end());
  return spec.empty() ? "a" : spec;
}

std::string Show(const MatchList& list) {
  std::string text;
  for (const MatchEntry& entry : list)
    text += "\n    " + std::to_string(entry.score) + " " + Printable(entry.path);
  return text;
}

MatchList Sorted(MatchList list) {
  std::sort(list.begin(), list.end(), [](const MatchEntry& a, const MatchEntry& b) {
    return a.score != b.score ? a.score < b.score : a.path < b.path;
  });
  return list;
}

bool Same(const MatchList& a, const MatchList& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].path != b[i].path || a[i].score != b[i].score) return false;
  return true;
}

void CheckOrder(MatchList list) {
  matching::SortMatches(list);
  for (std::size_t i = 1; i < list.size(); ++i)
    FUZZ_CHECK(vantor::reference::CompareMatches(list[i - 1], list[i]) <= 0, Show(list));
  if (list.empty()) return;
  std::size_t best = static_cast<std::size_t>(std::count_if(
      list.begin(), list.end(), [&](const MatchEntry& e) { return e.score == list[0].score; }));
  matching::KeepBestMatches(list);
  FUZZ_CHECK(list.size() == best, Show(list));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  vantor::fake::ResetFake();
  std::vector<std::string> dirs;
  BuildTree(input, dirs);
  const std::string base = dirs[input.ConsumeIntegralInRange<std::size_t>(0, dirs.size() - 1)];
  const bool creation_allowed = input.ConsumeIntegralInRange(0, 7) != 0;
  const std::string spec = MakeSpec(input);

  matching::ResetLists();
  matching::SetCreationAllowed(creation_allowed);
  vantor::fake::Fake().listed.clear();
  matching::SearchLevel(spec, base, 0);
  const std::vector<std::string> listed = vantor::fake::Fake().listed;

  Plain plain;
  plain.creation_allowed = creation_allowed;
  vantor::fake::Fake().listed.clear();
  plain.Search(spec, base, 0);

  const std::string story = "spec " + Printable(spec) + " below " + Printable(base);
  FUZZ_CHECK(
      Same(Sorted(matching::Matches()), Sorted(plain.matches)),
      story + "\n  found" + Show(matching::Matches()) + "\n  expected" + Show(plain.matches));
  FUZZ_CHECK(
      Same(matching::CreateList(), plain.creatable),
      story + "\n  noted" + Show(matching::CreateList()) + "\n  expected" + Show(plain.creatable));
  FUZZ_CHECK(listed == vantor::fake::Fake().listed, story + ": other directories listed");
  for (const MatchEntry& entry : matching::Matches())
    FUZZ_CHECK(vantor::fake::Fake().DirExists(entry.path) && entry.score >= 0,
               Printable(entry.path));
  // With no wildcard typed, a search that finds nothing has noted something.
  if (creation_allowed && matching::Matches().empty() &&
      spec.find_first_of("*?") == std::string::npos)
    FUZZ_CHECK(!matching::CreateList().empty(), story);
  CheckOrder(matching::Matches());
  return 0;
}
