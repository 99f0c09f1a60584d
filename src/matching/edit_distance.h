// Levenshtein distances (unit costs for inserting, deleting and replacing
// one character) of one typed component against the many names of a level.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantor::matching {

// The longest component, in characters, that the bit-parallel distance takes.
inline constexpr std::size_t kMaxBitComponent = 64;

// The edit distance of one typed component to the names of a level,
// prepared once per level. A component of up to kMaxBitComponent characters
// is matched a machine word at a time; longer ones by rows of counters.
class EditDistance {
 public:
  // Keeps a view of `component`, which must outlive this object.
  explicit EditDistance(std::string_view component);

  // The distance to `name` when it is at most `limit`; otherwise some value
  // above `limit` (the exact value is then not worked out).
  int AtMost(std::string_view name, int limit) const;

 private:
  // The bits of the component's positions that hold `c`.
  std::uint64_t PositionsOf(char32_t c) const;
  int BitDistance(std::string_view text) const;

  std::string_view component_;
  std::size_t length_;  // in characters
  bool bit_parallel_;
  std::array<std::uint64_t, 256> positions_{};  // characters below 256
  std::vector<std::pair<char32_t, std::uint64_t>> other_positions_;
};

// The distance by two rolling rows of counters; stops early once every
// counter of a row is above `limit` and then returns limit + 1.
int DistanceByRows(std::string_view a, std::string_view b, int limit);

}  // namespace vantor::matching
