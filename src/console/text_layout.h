// The layout of texts on the screen: fields of a fixed width, runs of one
// character, and paths shortened for the menu's fields.
#pragma once

#include <string>

namespace vantor::console {

// `text` padded with blanks or cut to exactly `width` characters; empty
// for a width of 0 or less.
std::string FitToWidth(const std::string& text, int width);

// `count` copies of `character`; empty when count is 0 or less.
std::string RepeatChar(int count, char character);

// The path as shown in a field of `width` characters: leading directory
// names give way to "..." while the path is longer than width - 4.
std::string ShortenPath(std::string path, int width);

}  // namespace vantor::console
