#include "matching/edit_distance.h"

#include <algorithm>
#include <cstdlib>

#include "base/path_text.h"
#include "base/utf8_text.h"

namespace vantor::matching {
namespace {

// Rows of this many counters live on the stack; names are far shorter.
constexpr std::size_t kRowCounters = 1025;

// The character at `at`, and `at` moved past it; ASCII needs no decoding.
char32_t NextChar(std::string_view text, std::size_t& at) {
  auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) {
    ++at;
    return byte;
  }
  char32_t c = CharAt(text, at);
  at += CharLength(text, at);
  return c;
}

std::size_t CountChars(std::string_view text) {
  return IsAscii(text) ? text.size() : CharCount(text);
}

template <typename Char>
int RowsWithin(std::basic_string_view<Char> a, std::basic_string_view<Char> b, int limit,
               int* previous, int* current) {
  for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = static_cast<int>(i);
    int row_min = current[0];
    for (std::size_t j = 1; j <= b.size(); ++j) {
      int diagonal = previous[j - 1];
      int cell =
          a[i - 1] == b[j - 1] ? diagonal : 1 + std::min({previous[j], current[j - 1], diagonal});
      current[j] = cell;
      row_min = std::min(row_min, cell);
    }
    if (row_min > limit) return limit + 1;
    std::swap(previous, current);
  }
  return previous[b.size()];
}

template <typename Char>
int Rows(std::basic_string_view<Char> a, std::basic_string_view<Char> b, int limit) {
  // The distance is symmetric: index the rows by the shorter text.
  if (b.size() > a.size()) std::swap(a, b);
  if (b.size() < kRowCounters) {
    int previous[kRowCounters];
    int current[kRowCounters];
    return RowsWithin(a, b, limit, previous, current);
  }
  std::vector<int> previous(b.size() + 1);
  std::vector<int> current(b.size() + 1);
  return RowsWithin(a, b, limit, previous.data(), current.data());
}

std::u32string Characters(std::string_view text) {
  std::u32string chars;
  for (std::size_t at = 0; at < text.size();) chars += NextChar(text, at);
  return chars;
}

}  // namespace

EditDistance::EditDistance(std::string_view component)
    : component_(component), length_(CountChars(component)) {
  bit_parallel_ = length_ > 0 && length_ <= kMaxBitComponent;
  if (!bit_parallel_) return;
  std::size_t i = 0;
  for (std::size_t at = 0; at < component.size(); ++i) {
    char32_t c = NextChar(component, at);
    if (c < positions_.size()) {
      positions_[c] |= 1ULL << i;
      continue;
    }
    auto known = std::find_if(other_positions_.begin(), other_positions_.end(),
                              [c](const auto& entry) { return entry.first == c; });
    if (known == other_positions_.end())
      other_positions_.emplace_back(c, 1ULL << i);
    else
      known->second |= 1ULL << i;
  }
}

std::uint64_t EditDistance::PositionsOf(char32_t c) const {
  if (c < positions_.size()) return positions_[c];
  for (const auto& entry : other_positions_)
    if (entry.first == c) return entry.second;
  return 0;
}

// The bit-parallel distance (vertical and horizontal deltas of the distance
// table kept as bit vectors, one bit per character of the component).
int EditDistance::BitDistance(std::string_view text) const {
  const std::uint64_t last = 1ULL << (length_ - 1);
  std::uint64_t plus_v = ~0ULL;
  std::uint64_t minus_v = 0;
  int score = static_cast<int>(length_);
  for (std::size_t at = 0; at < text.size();) {
    std::uint64_t eq = PositionsOf(NextChar(text, at));
    std::uint64_t xv = eq | minus_v;
    std::uint64_t xh = (((eq & plus_v) + plus_v) ^ plus_v) | eq;
    std::uint64_t plus_h = minus_v | ~(xh | plus_v);
    std::uint64_t minus_h = plus_v & xh;
    if (plus_h & last)
      ++score;
    else if (minus_h & last)
      --score;
    // The top row grows by one per column: a carry of +1 enters bit 0.
    plus_h = (plus_h << 1) | 1;
    minus_h <<= 1;
    plus_v = minus_h | ~(xv | plus_h);
    minus_v = plus_h & xv;
  }
  return score;
}

int EditDistance::AtMost(std::string_view name, int limit) const {
  std::size_t a = length_;
  std::size_t b = CountChars(name);
  // Each character of difference in length costs at least one insertion.
  if (static_cast<long long>(a > b ? a - b : b - a) > limit) return limit + 1;
  if (bit_parallel_) return BitDistance(name);
  return DistanceByRows(component_, name, limit);
}

int DistanceByRows(std::string_view a, std::string_view b, int limit) {
  if (IsAscii(a) && IsAscii(b)) return Rows(a, b, limit);
  std::u32string wide_a = Characters(a);
  std::u32string wide_b = Characters(b);
  return Rows(std::u32string_view(wide_a), std::u32string_view(wide_b), limit);
}

}  // namespace vantor::matching
