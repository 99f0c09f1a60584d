#include "matching/grading.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "matching/edit_distance.h"
#include "matching/find_matches.h"

namespace vantor::matching {
namespace {

// The wildcard grade of two whole texts, each split at its first dot.
bool Wild(std::string_view component, std::string_view name) {
  return WildMatch(SplitExtension(component), SplitExtension(name));
}

// The whole distance, worked out without a limit.
int Distance(std::string_view a, std::string_view b) {
  return EditDistance(a).AtMost(b, INT_MAX - 1);
}

TEST(Grading, SplitFirstComponentTakesTextUpToTheBackslash) {
  std::string rest = "a\\b\\c";
  EXPECT_EQ(SplitFirstComponent(rest), "a");
  EXPECT_EQ(rest, "b\\c");
  rest = "\\x";
  EXPECT_EQ(SplitFirstComponent(rest), "");
  EXPECT_EQ(rest, "x");
  rest = "last";
  EXPECT_EQ(SplitFirstComponent(rest), "last");
  EXPECT_EQ(rest, "");
}

TEST(Grading, SplitExtensionAtTheFirstDot) {
  SplitName split = SplitExtension("a.b.c");
  EXPECT_EQ(split.base, "a");
  EXPECT_EQ(split.extension, "b.c");
  split = SplitExtension(".cache");
  EXPECT_EQ(split.base, "");
  EXPECT_EQ(split.extension, "cache");
  split = SplitExtension("plain");
  EXPECT_EQ(split.base, "plain");
  EXPECT_EQ(split.extension, "");
  const std::string long_extension = "x." + std::string(2000, 'e');
  EXPECT_EQ(SplitExtension(long_extension).extension.size(), 1024u);
}

TEST(Grading, PatternPrefixMatch) {
  EXPECT_TRUE(PatternPrefixMatch("", "ANY"));
  EXPECT_TRUE(PatternPrefixMatch("", ""));
  EXPECT_TRUE(PatternPrefixMatch("AB", "ABC"));
  EXPECT_FALSE(PatternPrefixMatch("ABC", "AB"));
  EXPECT_TRUE(PatternPrefixMatch("A?C", "ABC"));
  EXPECT_FALSE(PatternPrefixMatch("AB?", "AB"));
  EXPECT_TRUE(PatternPrefixMatch("A*Z", "ABC"));
  EXPECT_TRUE(PatternPrefixMatch("*", ""));
  EXPECT_FALSE(PatternPrefixMatch("B", "ABC"));
}

TEST(Grading, WildMatchSplitsBothAtTheFirstDot) {
  EXPECT_TRUE(Wild("MY", "MY.DIR"));
  EXPECT_TRUE(Wild("A.B", "A.BCD"));
  EXPECT_TRUE(Wild("A.B", "AB.B"));
  EXPECT_FALSE(Wild("A.B", "ABC"));
  EXPECT_TRUE(Wild("A.", "ABC"));
  EXPECT_TRUE(Wild("A.", "A.X"));
  EXPECT_TRUE(Wild(".X", "Q.XYZ"));
  EXPECT_FALSE(Wild(".X", "X"));
  EXPECT_TRUE(Wild(".", "ANYTHING"));
  EXPECT_TRUE(Wild(".C", ".CACHE"));
  EXPECT_FALSE(Wild("C", ".CACHE"));
  EXPECT_TRUE(Wild("..", "X..Y"));
  EXPECT_FALSE(Wild("..", "X.Y"));
  EXPECT_TRUE(Wild("A.B.C", "AX.B.CD"));
  EXPECT_FALSE(Wild("A.B.C", "A.BC"));
}

TEST(Grading, OvertypedMatchWantsTheWholeName) {
  EXPECT_TRUE(OvertypedMatch("WINDOWSX", "WINDOWS"));
  EXPECT_TRUE(OvertypedMatch("DOCS", "DOC"));
  EXPECT_TRUE(OvertypedMatch("DOC", "DOC"));
  EXPECT_FALSE(OvertypedMatch("DOCS", "DOCUMENTS"));
  EXPECT_FALSE(OvertypedMatch("XWINDOWS", "WINDOWS"));
}

TEST(EditDistanceTest, KnownDistances) {
  EXPECT_EQ(Distance("TMEP", "TEMP"), 2);
  EXPECT_EQ(Distance("TMEP", "TEAM"), 3);
  EXPECT_EQ(Distance("USR", "USERS"), 2);
  EXPECT_EQ(Distance("USR", "WINDOWS"), 7);
  EXPECT_EQ(Distance("USR", "PROGRAMDATA"), 10);
  EXPECT_EQ(Distance("USR", "PROGRAM FILES"), 12);
  EXPECT_EQ(Distance("", "ABC"), 3);
  EXPECT_EQ(Distance("ABC", ""), 3);
  EXPECT_EQ(Distance("", ""), 0);
  EXPECT_EQ(Distance("KITTEN", "SITTING"), 3);
  EXPECT_EQ(Distance(std::string(100, 'A'), std::string(90, 'A') + "B"), 10);
  EXPECT_EQ(Distance(std::string(64, 'A'), std::string(64, 'B')), 64);
  EXPECT_EQ(Distance("\xE9T\xE9", "ETE"), 2);
}

std::string RandomText(std::mt19937& random, std::size_t max_length, char top) {
  std::uniform_int_distribution<std::size_t> length(0, max_length);
  std::uniform_int_distribution<int> letter('A', top);
  std::string text(length(random), ' ');
  for (char& c : text) c = static_cast<char>(letter(random));
  return text;
}

TEST(EditDistanceTest, BitsAndRowsAgreeOnRandomPairs) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 8000; ++round) {
    char top = round % 2 ? 'C' : 'Z';
    std::string a = RandomText(random, 64, top);
    std::string b = RandomText(random, round % 3 ? 40 : 200, top);
    if (a.empty()) a = "A";
    int rows = DistanceByRows(a, b, INT_MAX - 1);
    ASSERT_EQ(Distance(a, b), rows) << a << " / " << b;  // a machine word at a time
    ASSERT_EQ(DistanceByRows(b, a, INT_MAX - 1), rows);
  }
}

TEST(EditDistanceTest, LimitedDistanceIsExactUpToTheLimit) {
  std::mt19937 random(7);
  for (int round = 0; round < 5000; ++round) {
    std::string a = RandomText(random, round % 2 ? 30 : 90, 'D');
    std::string b = RandomText(random, 90, 'D');
    int exact = DistanceByRows(a, b, INT_MAX - 1);
    int limit = static_cast<int>(random() % 40);
    EditDistance distance(a);
    int limited = distance.AtMost(b, limit);
    if (exact <= limit)
      ASSERT_EQ(limited, exact) << a << " / " << b << " limit " << limit;
    else
      ASSERT_GT(limited, limit) << a << " / " << b << " limit " << limit;
    int rows = DistanceByRows(a, b, limit);
    if (exact <= limit)
      ASSERT_EQ(rows, exact);
    else
      ASSERT_GT(rows, limit);
  }
}

TEST(EditDistanceTest, LongNamesBeyondTheFixedRows) {
  std::string long_name(1500, 'A');
  EXPECT_EQ(Distance("AB", long_name), 1499);
  EXPECT_EQ(Distance(long_name + "B", long_name), 1);
  EXPECT_EQ(DistanceByRows(long_name + "BB", "C" + long_name, INT_MAX - 1), 3);
}

}  // namespace
}  // namespace vantor::matching
