#include "base/utf8_text.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(Utf8Text, CharactersOfOneToFourBytesAndStrayBytes) {
  struct Row {
    const char* text;
    std::size_t count;
    int cells;
  };
  const Row rows[] = {
      {"abc", 3, 3},
      {"Caf\xC3\xA9", 4, 4},               // é
      {"\xD0\x94\xD0\xBE\xD0\xBA", 3, 3},  // Док
      {"\xE5\x86\x99\xE7\x9C\x9F", 2, 4},  // 写真, two cells each
      {"\xF0\x9F\x93\xB7 x", 3, 4},        // an emoji, two cells
      {"e\xCC\x81", 2, 1},                 // a combining accent takes none
      {"\xE9t\xE9", 3, 3},                 // stray bytes count one each
      {"\xE5\x86", 2, 2},                  // a character cut short
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CharCount(row.text), row.count) << row.text;
    EXPECT_EQ(TextCells(row.text), row.cells) << row.text;
  }
  EXPECT_EQ(CharAt("\xD0\x94", 0), U'\u0414');
  EXPECT_EQ(CharAt("\xE9", 0), U'\u00E9');
}

TEST(Utf8Text, LeadingPartsEndOnACharacter) {
  const std::string text = "a\xE5\x86\x99\xE7\x9C\x9F";  // a写真
  EXPECT_EQ(LeadingCells(text, 2), "a");
  EXPECT_EQ(LeadingCells(text, 3), "a\xE5\x86\x99");
  EXPECT_EQ(LeadingBytes(text, 3), "a");
  EXPECT_EQ(LeadingBytes(text, 4), "a\xE5\x86\x99");
  std::string built;
  for (char32_t c : {U'a', U'\u00E9', U'\u5199', U'\U0001F4F7'}) AppendChar(built, c);
  EXPECT_EQ(built, "a\xC3\xA9\xE5\x86\x99\xF0\x9F\x93\xB7");
}

}  // namespace
}  // namespace vantor
