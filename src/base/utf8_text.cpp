#include "base/utf8_text.h"

namespace vantor {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length a lead byte announces, 0 for a byte that leads nothing.
std::size_t AnnouncedLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// First and last code points of the ranges a console draws two cells wide.
struct CellRange {
  char32_t first;
  char32_t last;
};

constexpr CellRange kWideRanges[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x18AFF},
    {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E},
    {0x1F191, 0x1F19A}, {0x1F200, 0x1F2FF}, {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF},
    {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x3FFFD},
};

constexpr CellRange kZeroWidthRanges[] = {
    {0x0300, 0x036F}, {0x200B, 0x200F}, {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
};

template <std::size_t N>
bool InRanges(char32_t c, const CellRange (&ranges)[N]) {
  for (const CellRange& range : ranges)
    if (c >= range.first && c <= range.last) return true;
  return false;
}

}  // namespace

std::size_t CharLength(std::string_view text, std::size_t at) {
  std::size_t length = AnnouncedLength(static_cast<unsigned char>(text[at]));
  if (length <= 1 || at + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i)
    if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) return 1;
  return length;
}

char32_t CharAt(std::string_view text, std::size_t at) {
  auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = CharLength(text, at);
  if (length == 1) return lead;
  char32_t code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i)
    code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  return code;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); at += CharLength(text, at)) ++count;
  return count;
}

int CharCells(char32_t character) {
  if (character < 0x300) return 1;
  if (InRanges(character, kZeroWidthRanges)) return 0;
  return InRanges(character, kWideRanges) ? 2 : 1;
}

int TextCells(std::string_view text) {
  int cells = 0;
  for (std::size_t at = 0; at < text.size(); at += CharLength(text, at))
    cells += CharCells(CharAt(text, at));
  return cells;
}

std::string_view LeadingCells(std::string_view text, int cells) {
  std::size_t at = 0;
  while (at < text.size()) {
    int width = CharCells(CharAt(text, at));
    if (width > cells) break;
    cells -= width;
    at += CharLength(text, at);
  }
  return text.substr(0, at);
}

std::string_view LeadingBytes(std::string_view text, std::size_t bytes) {
  std::size_t at = 0;
  while (at < text.size() && at + CharLength(text, at) <= bytes) at += CharLength(text, at);
  return text.substr(0, at);
}

void AppendChar(std::string& text, char32_t c) {
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (c >> 18));
    text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace vantor
