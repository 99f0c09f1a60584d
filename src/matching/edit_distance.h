// Levenshtein distances (unit costs for inserting, deleting and replacing
// one byte) of one typed component against the many names of a level.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vantor::matching {

// The longest component that the bit-parallel distance takes.
inline constexpr std::size_t kMaxBitComponent = 64;

// The edit distance of one typed component to the names of a level,
// prepared once per level. A component of up to kMaxBitComponent bytes is
// matched a machine word at a time; longer ones by rows of counters.
class EditDistance {
 public:
  // Keeps a view of `component`, which must outlive this object.
  explicit EditDistance(std::string_view component);

  // The distance to `name` when it is at most `limit`; otherwise some value
  // above `limit` (the exact value is then not worked out).
  int AtMost(std::string_view name, int limit) const;

 private:
  std::string_view component_;
  bool bit_parallel_;
  std::array<std::uint64_t, 256> positions_{};  // bit i: component[i] is the byte
};

// The distance by two rolling rows of counters; stops early once every
// counter of a row is above `limit` and then returns limit + 1.
int DistanceByRows(std::string_view a, std::string_view b, int limit);

}  // namespace vantor::matching
