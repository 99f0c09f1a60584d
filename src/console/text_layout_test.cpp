#include "console/text_layout.h"

#include <gtest/gtest.h>

namespace vantor::console {
namespace {

TEST(FitToWidth, PadsOrCuts) {
  EXPECT_EQ(FitToWidth("abc", 5), "abc  ");
  EXPECT_EQ(FitToWidth("abcdef", 4), "abcd");
  EXPECT_EQ(FitToWidth("abcd", 4), "abcd");
  EXPECT_EQ(FitToWidth("", 3), "   ");
  EXPECT_EQ(FitToWidth("abc", 0), "");
  EXPECT_EQ(FitToWidth("abc", -2), "");
}

TEST(RepeatChar, GivesCountCopies) {
  EXPECT_EQ(RepeatChar(3, '*'), "***");
  EXPECT_EQ(RepeatChar(1, '\b'), "\b");
  EXPECT_EQ(RepeatChar(0, '*'), "");
  EXPECT_EQ(RepeatChar(-4, '*'), "");
}

TEST(ShortenPath, LeadingNamesGiveWayToDots) {
  EXPECT_EQ(ShortenPath("C:\\Projects\\Archive\\2003\\Reports\\Quarterly Summaries", 35),
            "C:\\...\\Reports\\Quarterly Summaries");
  EXPECT_EQ(ShortenPath("D:\\Work\\Source\\Tools\\Build\\Output\\Release\\Bin", 35),
            "D:\\...\\Build\\Output\\Release\\Bin");
  const std::string name(40, 'n');
  EXPECT_EQ(ShortenPath("C:\\" + name, 35), "C:\\...\\" + name);
  EXPECT_EQ(ShortenPath("C:\\Users\\Public\\Documents", 35), "C:\\Users\\Public\\Documents");
}

// In a field of 35, paths of up to 31 characters are shown as they are.
TEST(ShortenPath, TheLimitIsFourLessThanTheWidth) {
  const std::string fits = "C:\\Work\\" + std::string(23, 'n');
  ASSERT_EQ(fits.size(), 31u);
  EXPECT_EQ(ShortenPath(fits, 35), fits);
  const std::string longer = "C:\\Work\\" + std::string(24, 'n');
  EXPECT_EQ(ShortenPath(longer, 35), "C:\\...\\" + std::string(24, 'n'));
}

TEST(ShortenPath, ShortOrSeparatorFreeTextsAreSafe) {
  EXPECT_EQ(ShortenPath("abcdefgh", 6), "abc...cdefgh");
  EXPECT_EQ(ShortenPath("a", 2), "a...");
  EXPECT_EQ(ShortenPath("", 2), "...");
  EXPECT_EQ(ShortenPath("C:\\abc", 10), "C:\\abc");
}

}  // namespace
}  // namespace vantor::console
