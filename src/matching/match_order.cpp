#include "matching/match_order.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "base/path_text.h"
#include "base/utf8_text.h"
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

// The length of the leading part that all texts share, given by `text(i)`
// for i below `count`.
template <typename TextAt>
std::size_t SharedPrefix(std::size_t count, TextAt text) {
  if (count == 0) return 0;
  std::string_view first = text(0);
  std::size_t shared = first.size();
  for (std::size_t i = 1; i < count && shared > 0; ++i) {
    std::string_view other = text(i);
    std::size_t limit = std::min(shared, other.size());
    std::size_t same = 0;
    while (same < limit && other[same] == first[same]) ++same;
    shared = same;
  }
  return shared;
}

// How much of every path can be left out of the order: the leading part they
// all share, up to its first byte outside ASCII. An ASCII byte is a whole
// character and upper-cases to one byte, so the rest of each path starts on
// a character and upper-cases the same alone as within the path.
std::size_t SharedAsciiPrefix(const MatchList& list) {
  std::size_t shared =
      SharedPrefix(list.size(), [&list](std::size_t i) { return std::string_view(list[i].path); });
  std::string_view first = list.empty() ? std::string_view() : std::string_view(list[0].path);
  for (std::size_t i = 0; i < shared; ++i)
    if (static_cast<unsigned char>(first[i]) >= 0x80) return i;
  return shared;
}

// The upper-cased paths of a list from byte `skip` on, upper-cased once each
// and kept end to end in one text.
class UpperPaths {
 public:
  UpperPaths(const MatchList& list, std::size_t skip) {
    starts_.reserve(list.size() + 1);
    for (const MatchEntry& entry : list) {
      starts_.push_back(text_.size());
      text_.append(entry.path, skip);
    }
    starts_.push_back(text_.size());
    // ASCII upper-cases byte by byte, so ASCII paths are done in one pass
    // over all of them; any other text is upper-cased path by path, since
    // the locale's rules may only ever see whole characters of one path.
    if (IsAscii(text_)) {
      sys::UpperCase(text_);
      return;
    }
    std::string ordered;
    std::string upper;
    for (std::size_t i = 0; i < size(); ++i) {
      upper.assign(text_, starts_[i], starts_[i + 1] - starts_[i]);
      sys::UpperCase(upper);
      if (!IsAscii(upper)) upper = OrderBytes(upper);
      starts_[i] = ordered.size();
      ordered += upper;
    }
    starts_.back() = ordered.size();
    text_.swap(ordered);
  }
  std::size_t size() const { return starts_.size() - 1; }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
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

void AppendOemBytes(std::string& order, const std::string& bytes) {
  for (char byte : bytes) {
    order += byte;
    if (byte == '\xFF') order += '\0';
  }
}

}  // namespace

std::string OrderBytes(std::string_view upper) {
  std::string order;
  std::string bytes;
  if (sys::EncodeText(upper, sys::OemCodePage(), bytes)) {
    AppendOemBytes(order, bytes);
    return order;
  }
  for (std::size_t at = 0; at < upper.size();) {
    std::size_t length = CharLength(upper, at);
    if (sys::EncodeText(upper.substr(at, length), sys::OemCodePage(), bytes)) {
      AppendOemBytes(order, bytes);
    } else {
      char32_t code = CharAt(upper, at);
      order += "\xFF\x01";
      order += static_cast<char>(code >> 16);
      order += static_cast<char>((code >> 8) & 0xFF);
      order += static_cast<char>(code & 0xFF);
    }
    at += length;
  }
  return order;
}

void SortMatches(MatchList& list) {
  const UpperPaths upper(list, SharedAsciiPrefix(list));
  const std::size_t shared =
      SharedPrefix(upper.size(), [&upper](std::size_t i) { return upper[i]; });
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
