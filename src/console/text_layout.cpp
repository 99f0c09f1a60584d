#include "console/text_layout.h"

#include <algorithm>

#include "base/path_text.h"
#include "base/utf8_text.h"

namespace vantor::console {

std::string FitToWidth(const std::string& text, int width) {
  if (width <= 0) return std::string();
  if (IsAscii(text)) {
    std::string result = text.substr(0, static_cast<std::size_t>(width));
    result.resize(static_cast<std::size_t>(width), ' ');
    return result;
  }
  // A wide character that would stand half outside the field gives way to
  // a blank.
  std::string result(LeadingCells(text, width));
  result.append(static_cast<std::size_t>(width - TextCells(result)), ' ');
  return result;
}

std::string RepeatChar(int count, char character) {
  if (count <= 0) return std::string();
  return std::string(static_cast<std::size_t>(count), character);
}

std::string ShortenPath(std::string path, int width) {
  bool shortened = false;
  while (TextCells(path) > width - 4) {
    shortened = true;
    std::size_t first = path.find('\\');
    if (first == std::string::npos) break;
    std::size_t next = path.find('\\', first + 1);
    if (next == std::string::npos) break;
    path.erase(first, next - first);
  }
  if (!shortened) return path;
  // The third character is written twice: "C:\" + "..." + "\rest".
  return path.substr(0, 3) + "..." + path.substr(std::min<std::size_t>(2, path.size()));
}

}  // namespace vantor::console
