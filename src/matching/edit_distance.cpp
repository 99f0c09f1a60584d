#include "matching/edit_distance.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace vantor::matching {
namespace {

// Rows of this many counters live on the stack; names are far shorter.
constexpr std::size_t kRowCounters = 1025;

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

void FillPositions(std::string_view pattern, std::array<std::uint64_t, 256>& positions) {
  positions.fill(0);
  for (std::size_t i = 0; i < pattern.size(); ++i) positions[Byte(pattern[i])] |= 1ULL << i;
}

// The bit-parallel distance (vertical and horizontal deltas of the
// distance table kept as bit vectors, one bit per byte of the pattern).
int BitDistance(const std::array<std::uint64_t, 256>& positions, std::size_t pattern_length,
                std::string_view text) {
  const std::uint64_t last = 1ULL << (pattern_length - 1);
  std::uint64_t plus_v = ~0ULL;
  std::uint64_t minus_v = 0;
  int score = static_cast<int>(pattern_length);
  for (char c : text) {
    std::uint64_t eq = positions[Byte(c)];
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

int RowsWithin(std::string_view a, std::string_view b, int limit, int* previous, int* current) {
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

}  // namespace

EditDistance::EditDistance(std::string_view component)
    : component_(component),
      bit_parallel_(!component.empty() && component.size() <= kMaxBitComponent) {
  if (bit_parallel_) FillPositions(component_, positions_);
}

int EditDistance::AtMost(std::string_view name, int limit) const {
  std::size_t a = component_.size();
  std::size_t b = name.size();
  // Each byte of difference in length costs at least one insertion.
  if (static_cast<long long>(a > b ? a - b : b - a) > limit) return limit + 1;
  if (bit_parallel_) return BitDistance(positions_, a, name);
  return DistanceByRows(component_, name, limit);
}

int DistanceByRows(std::string_view a, std::string_view b, int limit) {
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

}  // namespace vantor::matching
