// Characters of the program's texts, which are UTF-8 throughout: how long
// one is in bytes, how many a text holds, and how many console cells one
// takes. Pure functions on bytes; no system calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

// The number of bytes of the character that begins at `at` (1 to 4). A byte
// that begins no well-formed character counts as a character of its own, so
// every text splits into characters and no step ever stops short.
std::size_t CharLength(std::string_view text, std::size_t at);

// The character that begins at `at` as a code point; a byte that begins no
// well-formed character stands for itself (0x80 to 0xFF).
char32_t CharAt(std::string_view text, std::size_t at);

// The number of characters of `text`.
std::size_t CharCount(std::string_view text);

// The console cells a character takes: 2 for the wide characters of East
// Asian scripts and emoji, 0 for combining marks, 1 for the rest.
int CharCells(char32_t character);

// The cells a whole text takes.
int TextCells(std::string_view text);

// The longest leading part of `text` that takes at most `cells` cells; it
// ends on a character boundary.
std::string_view LeadingCells(std::string_view text, int cells);

// The longest leading part of `text` of at most `bytes` bytes that ends on
// a character boundary.
std::string_view LeadingBytes(std::string_view text, std::size_t bytes);

// Appends `character` to `text` in UTF-8.
void AppendChar(std::string& text, char32_t character);

}  // namespace vantor
