#include "frontend/index_text.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

long long Parsed(const std::string& text) {
  long long value = -999;
  EXPECT_TRUE(ParseIndexText(text, value)) << '"' << text << '"';
  return value;
}

bool Rejected(const std::string& text) {
  long long value = -999;
  return !ParseIndexText(text, value);
}

TEST(ParseIndexText, DecimalWithBlanksAndSign) {
  EXPECT_EQ(Parsed("0"), 0);
  EXPECT_EQ(Parsed("21"), 21);
  EXPECT_EQ(Parsed("-3"), -3);
  EXPECT_EQ(Parsed("+5"), 5);
  EXPECT_EQ(Parsed(" 3"), 3);
  EXPECT_EQ(Parsed("   7"), 7);
  EXPECT_EQ(Parsed("007"), 7);
}

TEST(ParseIndexText, HexadecimalAfterDollarXOrZeroX) {
  EXPECT_EQ(Parsed("$A"), 10);
  EXPECT_EQ(Parsed("$a"), 10);
  EXPECT_EQ(Parsed("0x14"), 20);
  EXPECT_EQ(Parsed("0X14"), 20);
  EXPECT_EQ(Parsed("x14"), 20);
  EXPECT_EQ(Parsed("X1f"), 31);
  EXPECT_EQ(Parsed("-$3"), -3);
}

TEST(ParseIndexText, AnyOtherCharacterOrNothingFails) {
  for (const char* text :
       {"", " ", "aBc", "3 ", "1a", "A", "$", "x", "0x", "-", "+", "--3", "$g", "1.5", "3x"})
    EXPECT_TRUE(Rejected(text)) << '"' << text << '"';
}

TEST(ParseIndexText, HugeNumbersStayOutOfRange) {
  EXPECT_GT(Parsed("99999999999999999999999999"), 20);
  EXPECT_LT(Parsed("-99999999999999999999999999"), 1);
  EXPECT_GT(Parsed("$FFFFFFFFFFFFFFFFFFFFFFFF"), 20);
}

}  // namespace
}  // namespace vantor
