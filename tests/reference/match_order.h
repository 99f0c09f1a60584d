// The order of the MatchList written out plainly, entry against entry: the
// reference that the sort's own faster order (keys worked out once per
// entry) is checked against by the unit tests and the fuzz targets.
#pragma once

#include <string>

#include "matching/find_matches.h"
#include "platform/system.h"

namespace vantor::reference {

// The lower score goes first; with equal scores the upper-cased paths
// decide byte by byte as unsigned values, a leading part first. Negative
// when `first` goes first, positive when `second` does, 0 when equal.
inline int CompareMatches(const matching::MatchEntry& first, const matching::MatchEntry& second) {
  if (first.score != second.score) return first.score < second.score ? -1 : 1;
  std::string a = first.path;
  std::string b = second.path;
  sys::UpperCase(a);
  sys::UpperCase(b);
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace vantor::reference
