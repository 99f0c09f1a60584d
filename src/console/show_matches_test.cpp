#include "console/show_matches.h"

#include <gtest/gtest.h>

#include "console/wincrt.h"
#include "fake/fake_system.h"

namespace vantor::console {
namespace {

// The directory the menu is told to leave out, as the run passes its own.
const std::string kStartDir = "C:\\Work";

using fake::Fake;
using matching::MatchList;

constexpr std::uint8_t kEsc = 27;

// `count` entries C:\Dir\E001, C:\Dir\E002, ...
MatchList Entries(int count) {
  MatchList list;
  for (int n = 1; n <= count; ++n) {
    std::string number = std::to_string(n);
    list.push_back({"C:\\Dir\\E" + std::string(3 - number.size(), '0') + number, 1});
  }
  return list;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++found;
  return found;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class ShowMatchesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Screen(25, 80);
  }

  static void Screen(int rows, int columns) {
    Fake().rows = rows;
    Fake().columns = columns;
    InitConsole();
  }

  static void Keys(const std::string& characters) {
    for (char c : characters) Fake().PushKey(static_cast<std::uint8_t>(c));
  }
  static void Scan(std::uint16_t scan_code) { Fake().PushKey(0, scan_code); }
};

TEST_F(ShowMatchesTest, PageSizeFollowsTheScreenRows) {
  EXPECT_EQ(MenuPageSize(), 46);
  Screen(33, 80);
  EXPECT_EQ(MenuPageSize(), 62);
  Screen(300, 80);
  EXPECT_EQ(MenuPageSize(), 62);
  Screen(3, 80);
  EXPECT_EQ(MenuPageSize(), 2);
  Screen(2, 80);
  EXPECT_EQ(MenuPageSize(), 1);
  Screen(1, 80);
  EXPECT_EQ(MenuPageSize(), 1);
}

TEST_F(ShowMatchesTest, ThreeEntriesAreDrawnInTwoColumns) {
  MatchList list = {{"C:\\Work\\Alpha", 1}, {"C:\\Work\\Beta", 1}, {"C:\\Work\\Gamma", 1}};
  Keys("b");
  EXPECT_EQ(ShowMatches(list, false, kStartDir), "C:\\Work\\Beta");
  const std::string first =
      "[a] C:\\Work\\Alpha" + std::string(22, ' ') + "[b] C:\\Work\\Beta" + std::string(23, ' ');
  const std::string second = "[c] C:\\Work\\Gamma" + std::string(22, ' ');
  ASSERT_EQ(first.size(), 78u);
  ASSERT_EQ(second.size(), 39u);
  EXPECT_EQ(Fake().output, first + "\r\n" + second + "\r\n\r\n" +
                               "Change directory to (a-c or Escape to exit)? b\r\n");
  EXPECT_EQ(Fake().ColouredOutput(),
            "<10>[a] <7>C:\\Work\\Alpha" + std::string(22, ' ') + "<10>[b] <7>C:\\Work\\Beta" +
                std::string(23, ' ') + "\r\n<10>[c] <7>C:\\Work\\Gamma" + std::string(22, ' ') +
                "\r\n\r\n<7>Change directory to (a-c or Escape to exit)? <7>b\r\n");
}

TEST_F(ShowMatchesTest, LongPathsAreShortenedToTheirField) {
  MatchList list = {{"C:\\Projects\\Archive\\2003\\Reports\\Quarterly Summaries", 1},
                    {"C:\\" + std::string(40, 'n'), 1}};
  Keys("a");
  ShowMatches(list, false, kStartDir);
  EXPECT_EQ(Fake().output.substr(0, 78),
            "[a] C:\\...\\Reports\\Quarterly Summaries [b] C:\\...\\" + std::string(28, 'n'));
}

TEST_F(ShowMatchesTest, FieldFollowsTheColumnWidth) {
  Screen(25, 61);  // ColumnWidth 30, so a field of 25
  MatchList list = {{"C:\\A", 1}, {"C:\\B", 1}};
  Keys("a");
  ShowMatches(list, false, kStartDir);
  EXPECT_EQ(Fake().output.substr(0, 60),
            "[a] C:\\A" + std::string(21, ' ') + "[b] C:\\B" + std::string(21, ' ') + "\r\n");
}

TEST_F(ShowMatchesTest, SingleEntryIsReturnedAtOnce) {
  MatchList list = {{"C:\\Work", 0}};
  EXPECT_EQ(ShowMatches(list, false, kStartDir), "C:\\Work");
  EXPECT_EQ(Fake().output, "");
  EXPECT_EQ(Fake().reads_attempted, 0u);
}

TEST_F(ShowMatchesTest, StartDirIsLeftOutInAnyCase) {
  MatchList list = {{"c:\\WORK", 0}, {"C:\\Other", 0}};
  EXPECT_EQ(ShowMatches(list, false, kStartDir), "C:\\Other");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].path, "C:\\Other");
  EXPECT_EQ(Fake().output, "");

  MatchList three = {{"C:\\A", 0}, {"C:\\work", 0}, {"C:\\B", 0}};
  Keys("b");
  EXPECT_EQ(ShowMatches(three, false, kStartDir), "C:\\B");
  EXPECT_EQ(three.size(), 2u);
  EXPECT_NE(Fake().output.find("(a-b or"), std::string::npos);
}

TEST_F(ShowMatchesTest, ListOfOnlyStartDirGivesNothing) {
  MatchList list = {{"C:\\Work", 0}, {"c:\\work", 0}};
  EXPECT_EQ(ShowMatches(list, false, kStartDir), "");
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(Fake().output, "");
  EXPECT_EQ(Fake().reads_attempted, 0u);
}

TEST_F(ShowMatchesTest, EscapeOrCtrlCLeavesWithExit) {
  for (std::uint8_t key : {kEsc, std::uint8_t{3}}) {
    fake::ResetFake();
    InitConsole();
    MatchList list = Entries(3);
    Fake().PushKey(key);
    EXPECT_EQ(ShowMatches(list, false, kStartDir), "");
    EXPECT_TRUE(
        EndsWith(Fake().output, "\r\n\r\nChange directory to (a-c or Escape to exit)? Exit\r\n"));
  }
}

TEST_F(ShowMatchesTest, CreateModeChangesOnlyTheWording) {
  MatchList list = Entries(47);
  Keys(" ");
  Fake().PushKey(kEsc);
  EXPECT_EQ(ShowMatches(list, true, kStartDir), "");
  EXPECT_NE(Fake().output.find("\r\n\r\nPage 1 of 2  Create directory (a-J or Escape to exit)? "
                               "\r\n[a] C:\\Dir\\E047"),
            std::string::npos);
  EXPECT_NE(Fake().output.find("Page 2 of 2  Create directory (a-a or Escape to exit)? Exit\r\n"),
            std::string::npos);
  EXPECT_EQ(Count(Fake().output, "Change"), 0u);
}

TEST_F(ShowMatchesTest, RedirectedInputEndsTheMenu) {
  MatchList list = Entries(3);
  EXPECT_EQ(ShowMatches(list, false, kStartDir), "");
  EXPECT_EQ(Fake().reads_attempted, 1u);
  EXPECT_EQ(Count(Fake().output, "Change directory to "), 1u);
  EXPECT_EQ(Fake().output.substr(Fake().output.size() - 6), "Exit\r\n");
}

TEST_F(ShowMatchesTest, KeyRangeFollowsTheShownCount) {
  MatchList ten = Entries(10);
  Keys("k");  // beyond the range: ignored
  Fake().PushKey(kEsc);
  ShowMatches(ten, false, kStartDir);
  EXPECT_NE(Fake().output.find("(a-j or Escape to exit)? Exit"), std::string::npos);

  fake::ResetFake();
  Screen(33, 80);
  MatchList full = Entries(62);
  Keys("Z");
  EXPECT_EQ(ShowMatches(full, false, kStartDir), "C:\\Dir\\E062");
  EXPECT_EQ(Count(Fake().output, "Page"), 0u);
  EXPECT_NE(Fake().output.find("\r\n\r\nChange directory to (a-Z or Escape to exit)? Z\r\n"),
            std::string::npos);
  EXPECT_EQ(Count(Fake().output, "\r\n"), 31u + 1 + 1);
}

TEST_F(ShowMatchesTest, PageCountAtTwentyFiveRows) {
  MatchList one_page = Entries(46);
  Keys("J");
  EXPECT_EQ(ShowMatches(one_page, false, kStartDir), "C:\\Dir\\E046");
  EXPECT_EQ(Count(Fake().output, "Page"), 0u);
  EXPECT_EQ(Count(Fake().output, "\r\n"), 23u + 1 + 1);

  fake::ResetFake();
  InitConsole();
  MatchList two_pages = Entries(47);
  Fake().PushKey(kEsc);
  ShowMatches(two_pages, false, kStartDir);
  EXPECT_NE(Fake().output.find("Page 1 of 2  Change directory to (a-J or"), std::string::npos);
}

TEST_F(ShowMatchesTest, EveryNextPageKeyTurnsThePage) {
  const std::string next_chars = " +.=>]}";
  for (int variant = 0; variant < 9; ++variant) {
    fake::ResetFake();
    Screen(33, 80);
    MatchList list = Entries(63);
    if (variant < 7)
      Keys(next_chars.substr(static_cast<std::size_t>(variant), 1));
    else
      Scan(variant == 7 ? kScanDown : kScanPgDn);
    Keys("a");
    EXPECT_EQ(ShowMatches(list, false, kStartDir), "C:\\Dir\\E063") << variant;
    EXPECT_NE(Fake().output.find("or Escape to exit)? \r\n[a] C:\\Dir\\E063"), std::string::npos);
    EXPECT_NE(Fake().output.find("Page 2 of 2  Change directory to (a-a or Escape to exit)? a\r\n"),
              std::string::npos);
  }
}

TEST_F(ShowMatchesTest, EveryPreviousPageKeyAndHomeGoBack) {
  const std::string previous_chars = ",-<[{";
  for (int variant = 0; variant < 8; ++variant) {
    fake::ResetFake();
    InitConsole();
    MatchList list = Entries(100);  // three pages of 46
    Scan(kScanEnd);
    if (variant < 5)
      Keys(previous_chars.substr(static_cast<std::size_t>(variant), 1));
    else
      Scan(variant == 5 ? kScanUp : variant == 6 ? kScanPgUp : kScanHome);
    Keys("b");
    std::string expected = variant == 7 ? "C:\\Dir\\E002" : "C:\\Dir\\E048";
    EXPECT_EQ(ShowMatches(list, false, kStartDir), expected) << variant;
    EXPECT_NE(Fake().output.find("Page 3 of 3  Change directory to (a-h or"), std::string::npos);
  }
}

TEST_F(ShowMatchesTest, ImpossibleMovesWriteNothing) {
  MatchList list = Entries(47);
  for (std::uint16_t scan : {kScanUp, kScanPgUp, kScanHome}) Scan(scan);
  Keys(",-<[{");
  Scan(kScanEnd);
  for (std::uint16_t scan : {kScanDown, kScanPgDn, kScanEnd}) Scan(scan);
  Keys(" +.=>]}");
  Scan(75);  // Left
  Scan(59);  // F1
  Keys("\r\tb");
  Fake().PushKey(kEsc);
  EXPECT_EQ(ShowMatches(list, false, kStartDir), "");
  EXPECT_EQ(Count(Fake().output, "Change directory to"), 2u);
  EXPECT_NE(Fake().output.find("Page 1 of 2  Change directory to (a-J or Escape to exit)? \r\n"
                               "[a] C:\\Dir\\E047"),
            std::string::npos);
  EXPECT_TRUE(EndsWith(Fake().output, "E047" + std::string(24, ' ') +
                                          "\r\n\r\nPage 2 of 2  Change directory to (a-a or "
                                          "Escape to exit)? Exit\r\n"));
}

TEST_F(ShowMatchesTest, KeyOnALaterPageChoosesFromThatPage) {
  MatchList list = Entries(100);
  Scan(kScanPgDn);
  Keys("a");
  EXPECT_EQ(ShowMatches(list, false, kStartDir), "C:\\Dir\\E047");
  EXPECT_NE(Fake().output.find("Page 2 of 3"), std::string::npos);

  MatchList again = Entries(100);
  Scan(kScanEnd);
  Scan(kScanHome);
  Keys("c");
  EXPECT_EQ(ShowMatches(again, false, kStartDir), "C:\\Dir\\E003");
}

TEST_F(ShowMatchesTest, TinyScreenShowsOneEntryPerPage) {
  Screen(2, 80);
  MatchList list = Entries(3);
  Keys("b ");  // b is not on the page of one entry
  Scan(kScanEnd);
  Keys("a");
  EXPECT_EQ(ShowMatches(list, false, kStartDir), "C:\\Dir\\E003");
  EXPECT_NE(Fake().output.find("Page 3 of 3  Change directory to (a-a or Escape to exit)? a\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vantor::console
