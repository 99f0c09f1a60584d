// The code pages of the in-memory system: 437 (its OEM and console code
// page), 1252 (its ANSI code page) and UTF-8. Conversions follow Windows:
// no look-alike is taken for a character a code page lacks; it becomes '?'.
#include <array>
#include <string>

#include "base/path_text.h"
#include "base/utf8_text.h"
#include "fake/fake_system.h"

namespace vantor {
namespace {

// The characters of bytes 0x80 to 0xFF.
constexpr std::array<char32_t, 128> kCodePage437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};
// Bytes 0x80 to 0x9F of 1252; from 0xA0 on it is Latin-1. Windows gives the
// five bytes 1252 leaves undefined the C1 controls.
constexpr std::array<char32_t, 32> kCodePage1252Controls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The character of a byte from 0x80 on; U+FFFD in any other code page.
char32_t CharOfByte(std::uint32_t code_page, unsigned char byte) {
  if (code_page == 437) return kCodePage437[byte - 0x80];
  if (code_page != 1252) return 0xFFFD;
  return byte < 0xA0 ? kCodePage1252Controls[byte - 0x80] : byte;
}

}  // namespace

namespace sys {

std::uint32_t OemCodePage() { return 437; }
std::uint32_t AnsiCodePage() { return 1252; }
std::uint32_t ConsoleCodePage() { return fake::Fake().console_code_page; }

bool EncodeText(std::string_view text, std::uint32_t code_page, std::string& bytes) {
  bytes.clear();
  if (code_page == kUtf8CodePage || IsAscii(text)) {
    bytes.assign(text);
    return true;
  }
  bool exact = true;
  for (std::size_t at = 0; at < text.size(); at += CharLength(text, at)) {
    char32_t c = CharAt(text, at);
    if (c < 0x80 && CharLength(text, at) == 1) {
      bytes += static_cast<char>(c);
      continue;
    }
    // A byte that begins no character is no character of any code page,
    // as Windows reads it.
    if (CharLength(text, at) == 1) c = 0xFFFD;
    unsigned byte = c == 0xFFFD ? 0x100 : 0x80;
    while (byte <= 0xFF && CharOfByte(code_page, static_cast<unsigned char>(byte)) != c) ++byte;
    exact = exact && byte <= 0xFF;
    bytes += byte <= 0xFF ? static_cast<char>(byte) : '?';
  }
  return exact;
}

std::string DecodeText(std::string_view bytes, std::uint32_t code_page) {
  if (code_page == kUtf8CodePage || IsAscii(bytes)) return std::string(bytes);
  std::string text;
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
      text += c;
    else
      AppendChar(text, CharOfByte(code_page, byte));
  }
  return text;
}

}  // namespace sys
}  // namespace vantor
