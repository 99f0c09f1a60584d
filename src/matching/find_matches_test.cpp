#include "matching/find_matches.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "fake/fake_system.h"
#include "matching/edit_distance.h"
#include "matching/grading.h"
#include "matching/match_order.h"

namespace vantor::matching {
namespace {

using fake::Fake;

class FindMatches : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    ResetLists();
    SetCreationAllowed(true);
  }
  void TearDown() override { SetCreationAllowed(true); }

  // Adds `names` as subdirectories of `parent`.
  static void AddDirs(const std::string& parent, const std::vector<std::string>& names) {
    std::string prefix = parent.back() == '\\' ? parent : parent + "\\";
    for (const std::string& name : names) Fake().AddDir(prefix + name);
  }

  // Searches `spec` below `base` and gives the sorted matches as
  // "path=score" lines.
  static std::vector<std::string> Search(const std::string& spec, const std::string& base) {
    ResetLists();
    SearchLevel(spec, base, 0);
    SortMatches(Matches());
    return Lines(Matches());
  }

  static std::vector<std::string> Lines(const MatchList& list) {
    std::vector<std::string> lines;
    for (const MatchEntry& entry : list)
      lines.push_back(entry.path + "=" + std::to_string(entry.score));
    return lines;
  }

  using Lines_ = std::vector<std::string>;
};

TEST_F(FindMatches, ExactNameIsFollowedAloneAndEndsTheScan) {
  AddDirs("C:\\", {"Program Files\\x", "prog\\x", "PROGRAMDATA\\x"});
  EXPECT_EQ(Search("PROG\\x", "C:\\"), Lines_({"C:\\prog\\x=0"}));
  EXPECT_EQ(Fake().listed, Lines_({"C:\\", "C:\\prog"}));

  std::vector<DirRec> exact_first = {{"abc", "ABC"}, {"abcd", "ABCD"}};
  ResetLists();
  MatchLevel(exact_first, "abc", "C:\\", 5);
  EXPECT_EQ(Lines(Matches()), Lines_({"C:\\abc=5"}));
  EXPECT_EQ(exact_first[1].score, kNoMatchScore);  // never graded

  std::vector<DirRec> exact_last = {{"abcd", "ABCD"}, {"abc", "ABC"}};
  ResetLists();
  MatchLevel(exact_last, "abc", "C:\\", 5);
  EXPECT_EQ(Lines(Matches()), Lines_({"C:\\abc=5"}));
  EXPECT_EQ(exact_last[0].score, 1);
}

TEST_F(FindMatches, StarFollowsEverySubdirectory) {
  AddDirs("C:\\r", {"a\\a1", "a\\a2", "b\\b1", "c"});
  EXPECT_EQ(Search("*", "C:\\r"), Lines_({"C:\\r\\a=1", "C:\\r\\b=1", "C:\\r\\c=1"}));
  EXPECT_EQ(Search("*\\*", "C:\\r"),
            Lines_({"C:\\r\\a\\a1=2", "C:\\r\\a\\a2=2", "C:\\r\\b\\b1=2"}));
  // The childless c ends in a creation candidate, which holds a '*'.
  EXPECT_TRUE(CreateList().empty());
}

TEST_F(FindMatches, ComponentWithoutDotIgnoresTheExtension) {
  AddDirs("C:\\", {"Program Files", "ProgramData", "Users", "my.dir"});
  EXPECT_EQ(Search("prog", "C:\\"), Lines_({"C:\\Program Files=1", "C:\\ProgramData=1"}));
  EXPECT_EQ(Search("my", "C:\\"), Lines_({"C:\\my.dir=1"}));
}

TEST_F(FindMatches, ComponentWithDotMatchesBaseAndExtension) {
  AddDirs("C:\\d", {"a.bcd", "ab.b", "abc", "a.x", "q.xyz", "x", ".cache", "zzz"});
  EXPECT_EQ(Search("a.b", "C:\\d"), Lines_({"C:\\d\\a.bcd=1", "C:\\d\\ab.b=1"}));
  EXPECT_EQ(Search("a.", "C:\\d"),
            Lines_({"C:\\d\\a.bcd=1", "C:\\d\\a.x=1", "C:\\d\\ab.b=1", "C:\\d\\abc=1"}));
  EXPECT_EQ(Search(".x", "C:\\d"), Lines_({"C:\\d\\a.x=1", "C:\\d\\q.xyz=1"}));
  EXPECT_EQ(Search(".", "C:\\d").size(), 8u);
  EXPECT_EQ(Search(".c", "C:\\d"), Lines_({"C:\\d\\.cache=1"}));
  // "c" is no abbreviation of ".cache" (empty base): the nearest name is x.
  EXPECT_EQ(Search("c", "C:\\d"), Lines_({"C:\\d\\x=2"}));
}

TEST_F(FindMatches, QuestionMarkNeedsACharacterAndTextAfterStarIsIgnored) {
  AddDirs("C:\\d", {"ab", "abc", "ax", "axe", "b"});
  EXPECT_EQ(Search("a??", "C:\\d"), Lines_({"C:\\d\\abc=1", "C:\\d\\axe=1"}));
  // "ab" is no wildcard match for "ab?", but the component overtypes it.
  EXPECT_EQ(Search("ab?", "C:\\d"), Lines_({"C:\\d\\ab=1", "C:\\d\\abc=1"}));
  EXPECT_EQ(Search("a*z", "C:\\d"),
            Lines_({"C:\\d\\ab=1", "C:\\d\\abc=1", "C:\\d\\ax=1", "C:\\d\\axe=1"}));
}

TEST_F(FindMatches, OvertypedNameScoresLikeAnAbbreviation) {
  AddDirs("C:\\", {"Windows", "Documents", "doc", "Program Files"});
  EXPECT_EQ(Search("windowsx", "C:\\"), Lines_({"C:\\Windows=1"}));
  EXPECT_EQ(Search("docs", "C:\\"), Lines_({"C:\\doc=1"}));
}

TEST_F(FindMatches, NearestNamesByDistanceWhenNothingElseMatches) {
  AddDirs("C:\\t", {"temp", "team"});
  EXPECT_EQ(Search("tmep", "C:\\t"), Lines_({"C:\\t\\temp=3"}));
  AddDirs("C:\\x", {"abc", "defgh"});
  EXPECT_EQ(Search("xyz", "C:\\x"), Lines_({"C:\\x\\abc=4"}));
  AddDirs("C:\\s", {"bc", "xyzw"});
  EXPECT_EQ(Search("a*", "C:\\s"), Lines_({"C:\\s\\bc=3"}));
  AddDirs("C:\\e", {"abd", "abe", "zzzz"});
  EXPECT_EQ(Search("abc", "C:\\e"), Lines_({"C:\\e\\abd=2", "C:\\e\\abe=2"}));
}

TEST_F(FindMatches, DistanceOf254IsNoMatch) {
  Fake().AddDir("C:\\far\\" + std::string(254, 'b'));
  EXPECT_TRUE(Search("a", "C:\\far").empty());
  EXPECT_EQ(Lines(CreateList()), Lines_({"C:\\far\\a\\=255"}));
  std::string near_enough = "a" + std::string(253, 'b');
  Fake().AddDir("C:\\near\\" + near_enough);
  EXPECT_EQ(Search("aa", "C:\\near"), Lines_({"C:\\near\\" + near_enough + "=254"}));
}

TEST_F(FindMatches, DotDotInTheMiddleIsAnOrdinaryComponent) {
  AddDirs("C:\\x", {"a..b", "cc", "d.e"});
  EXPECT_EQ(Search("..", "C:\\x"), Lines_({"C:\\x\\a..b=1"}));
  AddDirs("C:\\y", {"cc", "abc"});
  EXPECT_EQ(Search("..", "C:\\y"), Lines_({"C:\\y\\cc=3"}));
}

TEST_F(FindMatches, WorkedExamples) {
  AddDirs("C:\\", {"Program Files\\Common Files", "ProgramData\\Corp", "Users", "Windows"});
  EXPECT_EQ(Search("pr\\co", "C:\\"),
            Lines_({"C:\\Program Files\\Common Files=2", "C:\\ProgramData\\Corp=2"}));
  EXPECT_EQ(Fake().listed, Lines_({"C:\\", "C:\\Program Files", "C:\\ProgramData"}));
  Fake().listed.clear();
  EXPECT_EQ(Search("usr", "C:\\"), Lines_({"C:\\Users=3"}));
  EXPECT_EQ(Fake().listed, Lines_({"C:\\"}));
  EXPECT_EQ(Search("users\\more\\deep", "C:\\"), Lines_());
  EXPECT_EQ(Lines(CreateList()), Lines_({"C:\\Users\\more\\deep=255"}));
}

TEST_F(FindMatches, ScoresAddUpAlongThePath) {
  AddDirs("C:\\", {"alpha\\beta\\gamma", "alpine\\bet"});
  EXPECT_EQ(Search("alpha\\bxta\\gam", "C:\\"), Lines_({"C:\\alpha\\beta\\gamma=3"}));
  ResetLists();
  SearchLevel("gam", "C:\\alpha\\beta", 7);
  EXPECT_EQ(Lines(Matches()), Lines_({"C:\\alpha\\beta\\gamma=8"}));
}

TEST_F(FindMatches, CreationCandidatesWhereBranchesEnd) {
  Fake().AddDir("C:\\empty");
  EXPECT_TRUE(Search("newdir", "C:\\empty").empty());
  EXPECT_EQ(Lines(CreateList()), Lines_({"C:\\empty\\newdir\\=255"}));
  EXPECT_TRUE(Search("New\\More", "C:\\empty\\").empty());
  EXPECT_EQ(Lines(CreateList()), Lines_({"C:\\empty\\New\\More=255"}));

  Fake().AddDir("C:\\work\\sub");
  EXPECT_TRUE(Search("*\\newdir", "C:\\work").empty());
  EXPECT_EQ(Lines(CreateList()), Lines_({"C:\\work\\sub\\newdir\\=255"}));
  EXPECT_TRUE(Search("new?", "C:\\empty").empty());
  EXPECT_TRUE(CreateList().empty());
  EXPECT_TRUE(Search("new\\*", "C:\\empty").empty());
  EXPECT_TRUE(CreateList().empty());
}

TEST_F(FindMatches, UnreadableOrMissingDirectoryReadsAsEmpty) {
  Fake().AddDir("C:\\locked\\inside");
  Fake().dirs["C:\\LOCKED"].unreadable = true;
  EXPECT_TRUE(Search("inside", "C:\\locked").empty());
  EXPECT_EQ(Lines(CreateList()), Lines_({"C:\\locked\\inside\\=255"}));
  EXPECT_TRUE(Search("x", "Q:\\").empty());
  EXPECT_EQ(Lines(CreateList()), Lines_({"Q:\\x\\=255"}));
}

TEST_F(FindMatches, NoteCreatableHonoursTheSettingAndWildcards) {
  NoteCreatable("C:\\a\\b");
  NoteCreatable("C:\\a*");
  NoteCreatable("C:\\a?");
  EXPECT_EQ(Lines(CreateList()), Lines_({"C:\\a\\b=255"}));
  SetCreationAllowed(false);
  NoteCreatable("C:\\c");
  Fake().AddDir("C:\\empty");
  EXPECT_TRUE(Search("newdir", "C:\\empty").empty());
  EXPECT_EQ(Lines(CreateList()), Lines_());
}

TEST_F(FindMatches, ResetListsEmptiesBothWithRoomForTwenty) {
  Matches().push_back({"C:\\x", 1});
  CreateList().push_back({"C:\\y", 255});
  ResetLists();
  EXPECT_TRUE(Matches().empty());
  EXPECT_TRUE(CreateList().empty());
  EXPECT_GE(Matches().capacity(), 20u);
  EXPECT_GE(CreateList().capacity(), 20u);
}

TEST_F(FindMatches, OnlyFollowedBranchesAreListedEachOnce) {
  AddDirs("C:\\", {"apple\\pie\\x", "apricot\\pit", "banana\\peel", "cherry\\pip"});
  EXPECT_EQ(Search("ap\\pi", "C:\\"), Lines_({"C:\\apple\\pie=2", "C:\\apricot\\pit=2"}));
  EXPECT_EQ(Fake().listed, Lines_({"C:\\", "C:\\apple", "C:\\apricot"}));
}

// The followed names of one level by the grading rules alone: every name
// graded, every distance worked out in full.
std::vector<std::string> ReferenceLevel(const std::vector<std::string>& names,
                                        const std::string& component) {
  std::string upper = fake::Upper(component);
  std::vector<int> scores;
  for (const std::string& name : names) {
    std::string upper_name = fake::Upper(name);
    if (upper_name == upper) return {"C:\\r\\" + name + "=0"};
    bool wild = WildMatch(SplitExtension(upper), SplitExtension(upper_name)) ||
                OvertypedMatch(upper, upper_name);
    scores.push_back(wild ? 1 : DistanceByRows(upper, upper_name, INT_MAX - 1) + 1);
  }
  int best = *std::min_element(scores.begin(), scores.end());
  std::vector<std::string> followed;
  for (std::size_t i = 0; i < names.size() && best < kNoMatchScore; ++i)
    if (scores[i] == best) followed.push_back("C:\\r\\" + names[i] + "=" + std::to_string(best));
  std::sort(followed.begin(), followed.end());
  return followed;
}

std::string RandomName(std::mt19937& random, std::size_t max_length, const std::string& letters) {
  std::string name(1 + random() % max_length, ' ');
  for (char& c : name) c = letters[random() % letters.size()];
  return name;
}

int ScoreOf(const std::string& line) { return std::stoi(line.substr(line.rfind('=') + 1)); }

TEST_F(FindMatches, ShortcutsNeverChangeWhatIsFollowed) {
  std::mt19937 random(31337);
  int by_distance = 0;
  for (int round = 0; round < 300; ++round) {
    fake::ResetFake();
    Fake().AddDir("C:\\r");
    std::size_t longest = round % 5 == 0 ? 90 : 12;
    for (int i = 0; i < 60; ++i)
      Fake().AddDir("C:\\r\\" + RandomName(random, longest, "abcdeABCDE."));
    std::string letters = round % 4 == 0 ? "abxy.?*" : "abcdexy";
    std::string component = RandomName(random, round % 7 == 0 ? 80 : 10, letters);
    const std::vector<std::string>& names = Fake().dirs["C:\\R"].children;
    std::vector<std::string> found = Search(component, "C:\\r");
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found, ReferenceLevel(names, component)) << component;
    if (!found.empty() && ScoreOf(found[0]) > 1) ++by_distance;
  }
  EXPECT_GT(by_distance, 100);  // most rounds reach the distance grade
}

// Stops the search when it has read `directories` of them, or at the
// `entries_asked`-th question during a listing.
struct StoppingWatcher : SearchWatcher {
  int directories = INT_MAX;
  int entries_asked = INT_MAX;
  int read = 0;
  int asked = 0;
  bool DirectoryRead() override { return ++read < directories; }
  bool KeepListing() override { return ++asked < entries_asked; }
};

TEST_F(FindMatches, WatcherSeesEveryDirectoryAndStopsTheSearch) {
  for (const char* top : {"a", "b", "c"}) AddDirs(std::string("C:\\") + top, {"x\\end", "y\\end"});
  const Lines_ all = Search("*\\*\\end", "C:\\");
  const Lines_ listed = Fake().listed;

  // A watcher that lets it run changes nothing.
  StoppingWatcher watching;
  ResetLists();
  Fake().listed.clear();
  EXPECT_TRUE(WatchedSearch("*\\*\\end", "C:\\", watching));
  SortMatches(Matches());
  EXPECT_EQ(Lines(Matches()), all);
  EXPECT_EQ(Fake().listed, listed);
  EXPECT_EQ(watching.read, static_cast<int>(listed.size()));

  // Stopped at the third directory, it reads no fourth.
  StoppingWatcher stopping;
  stopping.directories = 3;
  Fake().listed.clear();
  EXPECT_FALSE(WatchedSearch("*\\*\\end", "C:\\", stopping));
  EXPECT_EQ(Fake().listed.size(), 3u);
  // The next search, watched or not, runs whole.
  EXPECT_EQ(Search("*\\*\\end", "C:\\"), all);
}

TEST_F(FindMatches, WatcherStopsOneLongListing) {
  std::vector<std::string> names;
  for (int i = 0; i < 1000; ++i) names.push_back("d" + std::to_string(i));
  AddDirs("C:\\wide", names);
  StoppingWatcher watcher;
  watcher.entries_asked = 2;
  EXPECT_FALSE(WatchedSearch("wide\\zz", "C:\\", watcher));
  // Asked after 128 and 256 entries, and abandoned there: nothing matched,
  // and nothing is offered for creation.
  EXPECT_EQ(watcher.asked, 2);
  EXPECT_TRUE(Matches().empty());
  EXPECT_TRUE(CreateList().empty());
}

}  // namespace
}  // namespace vantor::matching
