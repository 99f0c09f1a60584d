// Text layout of the menu: ShortenPath and FitToWidth take any path and any
// width a console can report (its sizes are 16-bit) without a fault, and
// what they give has the properties the menu relies on: a path that fits
// is shown as it is; a shortened one keeps its drive, gains the marker,
// ends with the path's last name, and fits the field whenever dropping
// leading names can make it fit; fitted to its field it is exactly the
// field's width.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/utf8_text.h"
#include "console/text_layout.h"
#include "fuzz_check.h"

namespace {

using vantor::LeadingCells;
using vantor::TextCells;
using vantor::fuzz::Printable;
namespace console = vantor::console;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A path as the menu shows it: a drive letter, a colon and a backslash.
bool HasDriveRoot(const std::string& path) {
  return path.size() >= 3 && path[0] != '\\' && path[1] == ':' && path[2] == '\\';
}

void CheckShortened(const std::string& path, int width, const std::string& shown) {
  const std::string story =
      "width " + std::to_string(width) + " path " + Printable(path) + "\n  got " + Printable(shown);
  if (static_cast<long long>(TextCells(path)) <= static_cast<long long>(width) - 4) {
    FUZZ_CHECK(shown == path, story);
    return;
  }
  if (!HasDriveRoot(path)) return;
  // The drive and the marker, then the path from a backslash on.
  const std::string head = path.substr(0, 3) + "...";
  FUZZ_CHECK(shown.compare(0, head.size(), head) == 0 && shown.size() > head.size() &&
                 shown[head.size()] == '\\',
             story);
  FUZZ_CHECK(EndsWith(shown, path.substr(path.rfind('\\'))), story);
  // Longer than the field only when no leading name is left to drop.
  const std::string rest = shown.substr(head.size());
  FUZZ_CHECK(static_cast<long long>(TextCells(shown)) <= width ||
                 std::count(rest.begin(), rest.end(), '\\') == 1,
             story);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int width = input.ConsumeIntegral<std::int16_t>();
  const std::string path = input.ConsumeRemainingBytesAsString();

  const std::string shown = console::ShortenPath(path, width);
  CheckShortened(path, width, shown);
  const std::string fitted = console::FitToWidth(shown, width);
  const std::size_t field = static_cast<std::size_t>(width > 0 ? width : 0);
  // The field takes `width` cells: the text's leading characters that fit,
  // then blanks.
  FUZZ_CHECK(static_cast<std::size_t>(TextCells(fitted)) == field, std::to_string(fitted.size()));
  const std::size_t kept = field == 0 ? 0 : LeadingCells(shown, static_cast<int>(field)).size();
  FUZZ_CHECK(fitted.compare(0, kept, shown, 0, kept) == 0, "the field starts with the text");
  FUZZ_CHECK(fitted.find_first_not_of(' ', kept) == std::string::npos,
             "the rest of the field is blank");
  FUZZ_CHECK(console::RepeatChar(width, '\b') == std::string(field, '\b'),
             "RepeatChar " + std::to_string(width));
  return 0;
}
