// The selection menu: any list, screen size and keys. ShowMatches must
// choose what a plain reading of the paging rules chooses (the n-th key of
// the page shown picks its n-th entry; the paging keys move only where a
// page lies that way), leave out the start directory, and never fault.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "console/show_matches.h"
#include "console/wincrt.h"
#include "fake/fake_system.h"
#include "fuzz_check.h"

namespace {

using vantor::fuzz::Printable;
using vantor::matching::MatchEntry;
using vantor::matching::MatchList;

const std::string kKeys = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string kStartDir = "C:\\Start";

struct Key {
  std::uint8_t character;
  std::uint8_t scan_code;
};

// The keys a user can press here: selection keys, paging keys, Esc,
// Ctrl+C, others that mean nothing, and the cursor keys without a character.
Key MakeKey(FuzzedDataProvider& input) {
  static const char kCharacters[] = "abcxyzAZ09 +.=>]},-<[{\r\t\x1B\x03q";
  if (input.ConsumeBool())
    return Key{static_cast<std::uint8_t>(input.PickValueInArray(kCharacters)), 0};
  static const std::uint8_t kScans[] = {72, 73, 71, 79, 80, 81, 59, 75};
  return Key{0, input.PickValueInArray(kScans)};
}

// What the rules choose: "" when the keys run out or Esc/Ctrl+C is pressed.
std::string PlainChoice(const MatchList& list, int page_size, const std::vector<Key>& keys) {
  const int entries = static_cast<int>(list.size());
  int first = 1;
  for (const Key& key : keys) {
    const bool next =
        key.character != 0
            ? std::string(" +.=>]}").find(static_cast<char>(key.character)) != std::string::npos
            : key.scan_code == 80 || key.scan_code == 81;
    const bool previous =
        key.character != 0
            ? std::string(",-<[{").find(static_cast<char>(key.character)) != std::string::npos
            : key.scan_code == 72 || key.scan_code == 73;
    if (next && first + page_size <= entries) first += page_size;
    if (previous && first > 1) first -= page_size;
    if (key.character == 0 && key.scan_code == 71) first = 1;
    if (key.character == 0 && key.scan_code == 79)
      first = (entries - 1) / page_size * page_size + 1;
    const int shown_now = std::min(page_size, entries - first + 1);
    std::size_t index =
        kKeys.substr(0, static_cast<std::size_t>(shown_now)).find(static_cast<char>(key.character));
    if (key.character != 0 && index != std::string::npos)
      return list[static_cast<std::size_t>(first - 1) + index].path;
    if (key.character == 27 || key.character == 3) return "";
  }
  return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  vantor::fake::ResetFake();
  auto& fake = vantor::fake::Fake();
  fake.rows = input.ConsumeIntegralInRange(1, 70);
  fake.columns = input.ConsumeIntegralInRange(1, 200);
  fake.screen_measurable = input.ConsumeIntegralInRange(0, 5) != 0;
  vantor::console::InitConsole();

  MatchList list;
  const int entries = input.ConsumeIntegralInRange(0, 300);
  for (int i = 0; i < entries; ++i) {
    std::string path =
        input.ConsumeIntegralInRange(0, 20) == 0
            ? std::string("c:\\START")
            : "C:\\" + std::to_string(i) + std::string(input.ConsumeIntegralInRange(0, 90), 'x');
    list.push_back(MatchEntry{path, 3});
  }
  std::vector<Key> keys;
  while (input.remaining_bytes() > 0 && keys.size() < 64) keys.push_back(MakeKey(input));
  for (const Key& key : keys) fake.PushKey(key.character, key.scan_code);

  MatchList kept = list;
  if (kept.size() > 1)
    kept.erase(std::remove_if(
                   kept.begin(), kept.end(),
                   [](const MatchEntry& e) { return vantor::fake::Upper(e.path) == "C:\\START"; }),
               kept.end());
  const std::string chosen = vantor::console::ShowMatches(list, input.ConsumeBool(), kStartDir);

  std::string expected;
  if (kept.size() == 1) {
    expected = kept.front().path;
  } else if (!kept.empty()) {
    expected = PlainChoice(kept, vantor::console::MenuPageSize(), keys);
  }
  FUZZ_CHECK(chosen == expected, "chose " + Printable(chosen) + ", expected " +
                                     Printable(expected) + " of " + std::to_string(kept.size()) +
                                     " on a page of " +
                                     std::to_string(vantor::console::MenuPageSize()));
  FUZZ_CHECK(list.size() == kept.size(), "the start directory stays in the list");
  return 0;
}
