// The order of the MatchList written out plainly, entry against entry: the
// reference that the sort's own faster order (keys worked out once per
// entry) is checked against by the unit tests and the fuzz targets.
#pragma once

#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "matching/find_matches.h"
#include "platform/system.h"

namespace vantor::reference {

// A text's characters as numbers in the order of the list: each character
// the OEM code page holds as its bytes there (0 to 255), every other one as
// 256 followed by its code point.
inline std::vector<unsigned> OrderNumbers(const std::string& text) {
  std::vector<unsigned> numbers;
  std::string bytes;
  for (std::size_t at = 0; at < text.size(); at += CharLength(text, at)) {
    if (sys::EncodeText(text.substr(at, CharLength(text, at)), sys::OemCodePage(), bytes)) {
      for (char byte : bytes) numbers.push_back(static_cast<unsigned char>(byte));
    } else {
      numbers.push_back(256);
      numbers.push_back(CharAt(text, at));
    }
  }
  return numbers;
}

// The lower score goes first; with equal scores the upper-cased paths
// decide character by character, a leading part first. Negative when
// `first` goes first, positive when `second` does, 0 when equal.
inline int CompareMatches(const matching::MatchEntry& first, const matching::MatchEntry& second) {
  if (first.score != second.score) return first.score < second.score ? -1 : 1;
  std::string a = first.path;
  std::string b = second.path;
  sys::UpperCase(a);
  sys::UpperCase(b);
  std::vector<unsigned> x = OrderNumbers(a);
  std::vector<unsigned> y = OrderNumbers(b);
  if (x == y) return 0;
  return x < y ? -1 : 1;
}

}  // namespace vantor::reference
