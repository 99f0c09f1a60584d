#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "matching/find_matches.h"
#include "platform/system.h"

namespace vantor::matching {
namespace {

// Byte order of two texts as unsigned values from byte `from` on (the bytes
// before it are equal); a leading part goes first.
int CompareBytes(std::string_view first, std::string_view second, std::size_t from = 0) {
  std::size_t common = std::min(first.size(), second.size());
  int order =
      common <= from ? 0 : std::memcmp(first.data() + from, second.data() + from, common - from);
  if (order != 0) return order < 0 ? -1 : 1;
  if (first.size() == second.size()) return 0;
  return first.size() < second.size() ? -1 : 1;
}

// The upper-cased paths of a list, upper-cased once each and kept end to end
// in one text.
class UpperPaths {
 public:
  explicit UpperPaths(const MatchList& list) {
    starts_.reserve(list.size() + 1);
    std::string upper;
    for (const MatchEntry& entry : list) {
      starts_.push_back(text_.size());
      upper.assign(entry.path);
      sys::UpperCase(upper);
      text_ += upper;
    }
    starts_.push_back(text_.size());
  }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
  }
  // The length of the leading part that every path shares.
  std::size_t SharedPrefix() const {
    if (starts_.size() < 2) return 0;
    std::string_view first = (*this)[0];
    std::size_t shared = first.size();
    for (std::size_t i = 1; i + 1 < starts_.size() && shared > 0; ++i) {
      std::string_view text = (*this)[i];
      std::size_t limit = std::min(shared, text.size());
      std::size_t same = 0;
      while (same < limit && text[same] == first[same]) ++same;
      shared = same;
    }
    return shared;
  }

 private:
  std::string text_;
  std::vector<std::size_t> starts_;
};

// An entry's place in the order, worked out once per entry: its score, and
// the first eight bytes of its upper-cased path after the part that all
// paths share, as one number (zero-padded), so most comparisons need no
// look at the texts.
struct SortKey {
  std::int32_t score;
  std::uint32_t index;
  std::uint64_t head;
};

constexpr std::size_t kHeadBytes = 8;

std::uint64_t HeadOf(std::string_view text, std::size_t from) {
  std::uint64_t head = 0;
  for (std::size_t i = 0; i < kHeadBytes; ++i) {
    unsigned char byte = from + i < text.size() ? static_cast<unsigned char>(text[from + i]) : 0;
    head = (head << 8) | byte;
  }
  return head;
}

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
  const UpperPaths upper(list);
  const std::size_t shared = upper.SharedPrefix();
  std::vector<SortKey> keys(list.size());
  for (std::size_t i = 0; i < list.size(); ++i)
    keys[i] = SortKey{list[i].score, static_cast<std::uint32_t>(i), HeadOf(upper[i], shared)};
  // Equal heads fall back to the whole texts: a real zero byte and the
  // padding look alike in a head.
  std::sort(keys.begin(), keys.end(), [&upper, shared](const SortKey& a, const SortKey& b) {
    if (a.score != b.score) return a.score < b.score;
    if (a.head != b.head) return a.head < b.head;
    return CompareBytes(upper[a.index], upper[b.index], shared) < 0;
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
