#include <algorithm>
#include <cstring>
#include <utility>

#include "matching/find_matches.h"
#include "platform/system.h"

namespace vantor::matching {
namespace {

// Byte order of two texts as unsigned values; a leading part goes first.
int CompareBytes(const std::string& first, const std::string& second) {
  std::size_t common = std::min(first.size(), second.size());
  int order = common == 0 ? 0 : std::memcmp(first.data(), second.data(), common);
  if (order != 0) return order < 0 ? -1 : 1;
  if (first.size() == second.size()) return 0;
  return first.size() < second.size() ? -1 : 1;
}

// An entry's place in the order, worked out once per entry.
struct SortKey {
  std::int32_t score;
  std::string upper_path;
  std::size_t index;
};

}  // namespace

int CompareMatches(const MatchEntry& first, const MatchEntry& second) {
  if (first.score != second.score) return first.score < second.score ? -1 : 1;
  std::string first_upper = first.path;
  std::string second_upper = second.path;
  sys::UpperCase(first_upper);
  sys::UpperCase(second_upper);
  return CompareBytes(first_upper, second_upper);
}

void SortMatches(MatchList& list) {
  std::vector<SortKey> keys(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    keys[i] = SortKey{list[i].score, list[i].path, i};
    sys::UpperCase(keys[i].upper_path);
  }
  std::sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
    if (a.score != b.score) return a.score < b.score;
    return CompareBytes(a.upper_path, b.upper_path) < 0;
  });
  MatchList sorted;
  sorted.reserve(std::max(list.capacity(), list.size()));
  for (const SortKey& key : keys) sorted.push_back(std::move(list[key.index]));
  list.swap(sorted);
}

void KeepBestMatches(MatchList& list) {
  if (list.empty()) return;
  const std::int32_t best = list.front().score;
  auto other = std::find_if(list.begin(), list.end(),
                            [best](const MatchEntry& entry) { return entry.score != best; });
  list.erase(other, list.end());
}

}  // namespace vantor::matching
