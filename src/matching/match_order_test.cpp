#include "matching/match_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fake/fake_system.h"
#include "matching/find_matches.h"
#include "reference/match_order.h"

namespace vantor::matching {
namespace {

std::vector<std::string> Paths(const MatchList& list) {
  std::vector<std::string> paths;
  for (const MatchEntry& entry : list) paths.push_back(entry.path);
  return paths;
}

TEST(MatchOrder, TheReferenceOrdersByScoreThenUpperCasedBytes) {
  EXPECT_LT(reference::CompareMatches({"C:\\z", 1}, {"C:\\a", 2}), 0);
  EXPECT_GT(reference::CompareMatches({"C:\\a", 3}, {"C:\\z", 2}), 0);
  EXPECT_LT(reference::CompareMatches({"C:\\Program Files\\Common Files", 2},
                                      {"C:\\ProgramData\\Corp", 2}),
            0);
  EXPECT_EQ(reference::CompareMatches({"C:\\abc", 1}, {"c:\\ABC", 1}), 0);
  EXPECT_LT(reference::CompareMatches({"C:\\ab", 1}, {"C:\\abc", 1}), 0);
  EXPECT_GT(reference::CompareMatches({"C:\\abc", 1}, {"C:\\ab", 1}), 0);
  EXPECT_LT(reference::CompareMatches({"C:\\b", 1}, {"C:\\_", 1}), 0);     // 'B' < '_'
  EXPECT_LT(reference::CompareMatches({"C:\\z", 1}, {"C:\\\xE9", 1}), 0);  // bytes are unsigned
  EXPECT_LT(reference::CompareMatches({"C:\\x", -1}, {"C:\\x", 0}), 0);
}

TEST(MatchOrder, SortMatchesAgreesWithTheReference) {
  std::mt19937 random(99);
  const char letters[] = {'a', 'B', 'b', ' ', '_', '\xE9', '\xC9', '\\'};
  MatchList list;
  for (int i = 0; i < 500; ++i) {
    std::string path = "C:\\";
    for (std::size_t n = random() % 5; n > 0; --n) path += letters[random() % sizeof letters];
    list.push_back({path, static_cast<std::int32_t>(random() % 4)});
  }
  MatchList sorted = list;
  SortMatches(sorted);
  ASSERT_EQ(sorted.size(), list.size());
  for (std::size_t i = 1; i < sorted.size(); ++i)
    ASSERT_LE(reference::CompareMatches(sorted[i - 1], sorted[i]), 0) << i;
  auto by_text = [](const MatchEntry& a, const MatchEntry& b) {
    return a.score != b.score ? a.score < b.score : a.path < b.path;
  };
  std::sort(list.begin(), list.end(), by_text);
  std::sort(sorted.begin(), sorted.end(), by_text);
  EXPECT_EQ(Paths(sorted), Paths(list));  // same entries, none lost
}

TEST(MatchOrder, SortMatchesWithALongSharedBase) {
  MatchList list = {{"C:\\Cache\\b", 1}, {"C:\\Cache\\A", 1}, {"C:\\Cache\\a2", 1},
                    {"C:\\Cache", 1},    {"C:\\Cache\\c", 0}, {"C:\\Cache\\_", 1}};
  SortMatches(list);
  EXPECT_EQ(Paths(list),
            std::vector<std::string>({"C:\\Cache\\c", "C:\\Cache", "C:\\Cache\\A", "C:\\Cache\\a2",
                                      "C:\\Cache\\b", "C:\\Cache\\_"}));
  MatchList accented = {{"C:\\\xE9t\xE9\\b", 2}, {"C:\\\xE9t\xE9\\A", 2}, {"C:\\\xE9t\xE9", 2}};
  SortMatches(accented);
  EXPECT_EQ(Paths(accented),
            std::vector<std::string>({"C:\\\xE9t\xE9", "C:\\\xE9t\xE9\\A", "C:\\\xE9t\xE9\\b"}));
}

TEST(MatchOrder, KeepBestMatchesTrimsAtTheFirstOtherScore) {
  MatchList list = {{"C:\\a", 2}, {"C:\\b", 2}, {"C:\\c", 3}};
  KeepBestMatches(list);
  EXPECT_EQ(Paths(list), std::vector<std::string>({"C:\\a", "C:\\b"}));
  MatchList one = {{"C:\\a", 0}, {"C:\\b", 1}, {"C:\\c", 1}};
  KeepBestMatches(one);
  EXPECT_EQ(Paths(one), std::vector<std::string>({"C:\\a"}));
  MatchList same = {{"C:\\a", 4}, {"C:\\b", 4}};
  KeepBestMatches(same);
  EXPECT_EQ(same.size(), 2u);
}

}  // namespace
}  // namespace vantor::matching
