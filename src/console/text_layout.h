// The layout of texts on the screen: fields of a fixed width, runs of one
// character, and paths shortened for the menu's fields.
#pragma once

#include <string>

namespace vantor::console {

// `text` padded with blanks or cut to take exactly `width` console cells
// (a wide character takes two); empty for a width of 0 or less.
std::string FitToWidth(const std::string& text, int width);

// `count` copies of `character`; empty when count is 0 or less.
std::string RepeatChar(int count, char character);

// The path as shown in a field of `width` cells: leading directory names
// give way to "..." while the path takes more than width - 4 cells.
std::string ShortenPath(std::string path, int width);

}  // namespace vantor::console
