// Text layout of the menu: ShortenPath and FitToWidth take any path and any
// width a console can report (its sizes are 16-bit) without a fault and
// give what a plain reading of their rules gives; a shortened path fitted
// to its field is exactly the field's width.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "console/paged_output.h"
#include "console/show_matches.h"
#include "fuzz_check.h"

namespace {

using vantor::fuzz::Printable;
namespace console = vantor::console;

std::string PlainShorten(std::string path, int width) {
  bool mark = false;
  while (static_cast<long long>(path.size()) > static_cast<long long>(width) - 4) {
    mark = true;
    std::size_t first = path.find('\\');
    if (first == std::string::npos) break;
    std::size_t next = path.find('\\', first + 1);
    if (next == std::string::npos) break;
    path.erase(first, next - first);
  }
  if (!mark) return path;
  // The third character on, which the first three already hold once.
  std::string tail = path.size() >= 2 ? path.substr(2) : "";
  return path.substr(0, 3) + "..." + tail;
}

std::string PlainFit(const std::string& text, int width) {
  if (width <= 0) return "";
  std::string padded = text + std::string(static_cast<std::size_t>(width), ' ');
  return padded.substr(0, static_cast<std::size_t>(width));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int width = input.ConsumeIntegral<std::int16_t>();
  const std::string path = input.ConsumeRemainingBytesAsString();

  const std::string shown = console::ShortenPath(path, width);
  FUZZ_CHECK(shown == PlainShorten(path, width), "width " + std::to_string(width) + " path " +
                                                     Printable(path) + "\n  got " +
                                                     Printable(shown));
  const std::string fitted = console::FitToWidth(shown, width);
  FUZZ_CHECK(fitted == PlainFit(shown, width), "width " + std::to_string(width));
  FUZZ_CHECK(fitted.size() == static_cast<std::size_t>(width > 0 ? width : 0),
             std::to_string(fitted.size()));
  FUZZ_CHECK(console::RepeatChar(width, '\b') == std::string(width > 0 ? width : 0, '\b'),
             "RepeatChar " + std::to_string(width));
  return 0;
}
