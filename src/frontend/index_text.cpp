#include "frontend/index_text.h"

namespace vantor {
namespace {

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  return value < base ? value : -1;
}

// Takes a hexadecimal prefix ("$", "x" or "0x", any case) off at `at`;
// returns the base of the digits that follow.
int TakeBasePrefix(const std::string& text, std::size_t& at) {
  if (at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X')) {
    ++at;
    return 16;
  }
  if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
    at += 2;
    return 16;
  }
  return 10;
}

}  // namespace

bool ParseIndexText(const std::string& text, long long& value) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  int base = TakeBasePrefix(text, at);
  if (at >= text.size()) return false;
  long long result = 0;
  for (; at < text.size(); ++at) {
    int digit = DigitValue(text[at], base);
    if (digit < 0) return false;
    // Anything this large is out of range anyway; stop growing.
    if (result < (1LL << 40)) result = result * base + digit;
  }
  value = negative ? -result : result;
  return true;
}

}  // namespace vantor
