#include "console/search_progress.h"

#include <gtest/gtest.h>

#include "fake/fake_system.h"

namespace vantor::console {
namespace {

using fake::Fake;

constexpr std::uint8_t kEsc = 27;
constexpr int kRow = 3;

class SearchProgressTest : public ::testing::Test {
 protected:
  // C:\t with 40 directories of 40 each: a search of t\*\*\x reads 1642
  // directories, 2 ms apiece.
  void SetUp() override {
    fake::ResetFake();
    for (int d = 0; d < 40; ++d)
      for (int e = 0; e < 40; ++e)
        Fake().AddDir("C:\\t\\d" + std::to_string(d) + "\\e" + std::to_string(e));
    Fake().ticks_per_listing = 2;
    Fake().cursor_row = kRow;
    InitConsole();
    matching::ResetLists();
  }

  // Runs the search under a SearchProgress; `during` sees the fake before
  // the watcher goes. Returns whether the search ran to its end.
  template <typename During>
  static bool Search(const std::string& spec, During during) {
    bool complete = false;
    {
      SearchProgress progress;
      complete = matching::WatchedSearch(spec, "C:\\", progress);
      during();
    }
    return complete;
  }
  static bool Search(const std::string& spec) {
    return Search(spec, [] {});
  }
};

TEST_F(SearchProgressTest, LineShowsAfterHalfASecondAndLeavesNoTrace) {
  // Something on the cursor's row already, in no code page.
  Fake().cells[{kRow, 70}] = {u'\u263A', 12};
  EXPECT_TRUE(Search("t\\*\\*\\x", [] {
    // First drawn at the 250th directory (500 ms), then at most every
    // 100 ms and only with a new count; the cursor never moved.
    const std::vector<std::string>& writes = Fake().cell_writes;
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[0], ProgressText(250));
    EXPECT_EQ(writes[0], "Vantor: Searching... 250 directories read (press Esc to stop)");
    EXPECT_LE(writes.size(), Fake().ticks / 100);
    for (std::size_t i = 1; i < writes.size(); ++i) EXPECT_NE(writes[i], writes[i - 1]);
    EXPECT_EQ(Fake().ScreenText(kRow, 0, 8), "Vantor: ");
    EXPECT_EQ(Fake().cells[std::make_pair(kRow, 0)].second, kColourNotice);
  }));
  EXPECT_EQ(Fake().ScreenText(kRow, 0, 70), std::string(70, ' '));
  EXPECT_EQ(Fake().ScreenText(kRow, 71, 9), std::string(9, ' '));
  EXPECT_EQ(Fake().cells[std::make_pair(kRow, 0)].second, kColourNormal);
  EXPECT_EQ(Fake().cells[std::make_pair(kRow, 70)], std::make_pair(u'\u263A', std::uint16_t{12}));
  EXPECT_EQ(Fake().cells.count({kRow, 79}), 0u) << "the last column is never written";
  EXPECT_EQ(Fake().output, "");
  EXPECT_EQ(Fake().input_modes, "PRP") << "raw while searching, processed after";
}

TEST_F(SearchProgressTest, ShortSearchRedirectedOutputOrNoRoomShowNothing) {
  Fake().ticks_per_listing = 0;
  EXPECT_TRUE(Search("t\\*\\*\\x"));
  EXPECT_TRUE(Fake().cell_writes.empty());

  Fake().ticks_per_listing = 2;
  Fake().screen_measurable = false;
  InitConsole();
  EXPECT_TRUE(Search("t\\*\\*\\x"));
  EXPECT_TRUE(Fake().cell_writes.empty());
  EXPECT_EQ(Fake().output, "");

  // At the right edge the line is cut to the room before the last column.
  Fake().screen_measurable = true;
  InitConsole();
  Fake().cursor_column = 70;
  EXPECT_TRUE(Search("t\\*\\*\\x"));
  EXPECT_EQ(Fake().cell_writes.front(), "Vantor: S");
  Fake().cursor_column = 79;
  Fake().cell_writes.clear();
  EXPECT_TRUE(Search("t\\*\\*\\x"));
  EXPECT_TRUE(Fake().cell_writes.empty());
}

TEST_F(SearchProgressTest, EscStopsWithinATenthTakingOutItselfAndWhatCameBefore) {
  Fake().PushKeyAt(1000, 'b');
  Fake().PushKeyAt(2000, 0, kEsc);  // as Wine gives a lone Esc
  Fake().PushKeyAt(5000, 'c');
  EXPECT_FALSE(Search("t\\*\\*\\x"));
  EXPECT_GE(Fake().ticks, 2000u);
  EXPECT_LT(Fake().ticks, 2100u);
  EXPECT_TRUE(Fake().input.empty());
  EXPECT_EQ(Fake().later_input.size(), 1u) << "keys typed later stay";
  EXPECT_EQ(Fake().ScreenText(kRow, 0, 80), std::string(80, ' '));

  // Without Esc, a key typed ahead stays for the menu.
  Fake().later_input.clear();
  Fake().ticks = 0;
  Fake().PushKeyAt(1000, 'b');
  EXPECT_TRUE(Search("t\\*\\*\\x"));
  ASSERT_EQ(Fake().input.size(), 1u);
  EXPECT_EQ(Fake().input.front().character, 'b');
}

TEST_F(SearchProgressTest, CtrlCStopsInsideOneHugeLevel) {
  for (int i = 0; i < 20000; ++i) Fake().AddDir("C:\\wide\\n" + std::to_string(i));
  Fake().ticks_per_entry = 1;  // the level takes 20 s to read
  Fake().PushKeyAt(1000, 3);
  EXPECT_FALSE(Search("wide\\*"));
  EXPECT_LT(Fake().ticks, 1100u);
  EXPECT_EQ(Fake().input_modes, "PRP");
  EXPECT_FALSE(Fake().cell_writes.empty());
  EXPECT_EQ(Fake().ScreenText(kRow, 0, 80), std::string(80, ' '));
}

TEST_F(SearchProgressTest, InputThatIsNoConsoleIsNeverLookedAt) {
  Fake().input_is_console = false;
  InitConsole();
  Fake().input_modes.clear();
  EXPECT_TRUE(Search("t\\*\\*\\x"));
  EXPECT_EQ(Fake().peeks, 0u);
  EXPECT_EQ(Fake().input_modes, "");
}

}  // namespace
}  // namespace vantor::console
