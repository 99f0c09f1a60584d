#include "store/stored_text.h"

#include <gtest/gtest.h>

#include "fake/fake_system.h"

namespace vantor::store {
namespace {

std::string Marked(const std::string& text) { return kUnicodeMarker + text; }

// The stand-in's OEM code page is 437 and its ANSI code page 1252.
TEST(StoredText, OemBytesWhereTheyHoldTheTextElseTheMarkerAndUtf8) {
  fake::ResetFake();
  struct Row {
    std::string text;
    std::size_t field;
    std::string stored;
    std::string read_back;
  };
  const Row rows[] = {
      {"C:\\Work", 255, "C:\\Work", "C:\\Work"},
      {"C:\\Café", 255, "C:\\Caf\x82", "C:\\Café"},
      {"C:\\Bob’s", 255, Marked("C:\\Bob’s"), "C:\\Bob’s"},
      {"Документы", 10, Marked("Доку"), "Доку"},  // cut on a character, marker included
      {"abcdefghijkl", 10, "abcdefghij", "abcdefghij"},
      {"\x01x", 10, "\x01\x01x", "\x01x"},  // a text that begins with the marker
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ToStoredText(row.text, row.field), row.stored) << row.text;
    EXPECT_EQ(FromStoredText(row.stored), row.read_back) << row.text;
    EXPECT_EQ(FitField(row.text, row.field), row.read_back) << row.text;
  }
}

TEST(StoredText, TheRegistryHoldsOemBytesAsAnsiTextOrTheMarkedText) {
  fake::ResetFake();
  EXPECT_EQ(ToRegistryText("C:\\Café", 255), "C:\\Caf\u201A");  // 0x82 read as 1252
  EXPECT_EQ(FromRegistryText("C:\\Caf\u201A", 255), "C:\\Café");
  EXPECT_EQ(ToRegistryText("C:\\写真", 255), Marked("C:\\写真"));
  EXPECT_EQ(FromRegistryText(Marked("C:\\写真"), 255), "C:\\写真");
  // Text no earlier copy could have written through the ANSI functions is
  // taken as it is.
  EXPECT_EQ(FromRegistryText("C:\\写真", 255), "C:\\写真");
}

}  // namespace
}  // namespace vantor::store
