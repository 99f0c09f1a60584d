#include "console/paged_output.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "console/wincrt.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"

namespace vantor::console {
namespace {

using fake::Fake;

const std::string kPrompt = " -- Press [Esc] to exit or any other key to continue -- ";
const std::string kWipe = std::string(64, '\b') + std::string(64, ' ') + std::string(64, '\b');

class PagedOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    InitConsole();
    ResetPagedOutput();
  }

  static void Lines(int count) {
    for (int line = 1; line <= count; ++line) PagedLine("line " + std::to_string(line));
  }

  static std::size_t Stops() {
    std::size_t stops = 0;
    for (std::size_t at = Fake().output.find(kPrompt); at != std::string::npos;
         at = Fake().output.find(kPrompt, at + 1))
      ++stops;
    return stops;
  }
};

TEST_F(PagedOutputTest, FullScreenWithoutStop) {
  Lines(24);
  EXPECT_EQ(Stops(), 0u);
  EXPECT_EQ(Fake().reads_attempted, 0u);
  EXPECT_EQ(Fake().output.substr(0, 16), "line 1\r\nline 2\r\n");
}

TEST_F(PagedOutputTest, StopComesBeforeTheLineAfterAScreenful) {
  Lines(24);
  Fake().output.clear();
  Fake().colour_log.clear();
  Fake().PushKey('x');
  PagedLine("line 25");
  EXPECT_EQ(Fake().ColouredOutput(), "<14>" + kPrompt + "<7>" + kWipe + "<7>line 25<7>\r\n");
  EXPECT_EQ(Fake().reads_attempted, 1u);
}

TEST_F(PagedOutputTest, LaterStopsComeEveryLastRowPlusOneLines) {
  for (int key = 0; key < 3; ++key) Fake().PushKey(' ');
  Lines(25);
  EXPECT_EQ(Stops(), 1u);
  Lines(24);  // the line written after a stop is not counted
  EXPECT_EQ(Stops(), 1u);
  Lines(1);
  EXPECT_EQ(Stops(), 2u);
  Lines(24);
  EXPECT_EQ(Stops(), 2u);
  Lines(1);
  EXPECT_EQ(Stops(), 3u);
}

TEST_F(PagedOutputTest, LimitFollowsTheScreenBuffer) {
  Fake().rows = 300;
  InitConsole();
  Lines(299);
  EXPECT_EQ(Stops(), 0u);
  Fake().PushKey('x');
  Lines(1);
  EXPECT_EQ(Stops(), 1u);
}

TEST_F(PagedOutputTest, EscapeOrCtrlCAtThePromptEndsTheRun) {
  for (std::uint8_t key : {std::uint8_t{27}, std::uint8_t{3}}) {
    ResetPagedOutput();
    Lines(24);
    Fake().output.clear();
    Fake().PushKey(key);
    EXPECT_EQ(fake::ExitCodeOf([] { PagedLine("never written"); }), kExitNormal);
    EXPECT_EQ(Fake().output, kPrompt + kWipe);
  }
}

TEST_F(PagedOutputTest, RedirectedInputContinuesAtOnce) {
  Lines(60);  // every read fails and answers End
  EXPECT_EQ(Stops(), 2u);
  EXPECT_EQ(Fake().reads_attempted, 2u);
  EXPECT_NE(Fake().output.find("line 60\r\n"), std::string::npos);
}

TEST_F(PagedOutputTest, LineKeepsTheCallersColourAndEndsInGrey) {
  SetColour(kColourNotice);
  PagedLine("Title");
  PagedLine("");
  EXPECT_EQ(Fake().ColouredOutput(), "<14><14>Title<7>\r\n<7><7>\r\n");
  EXPECT_EQ(CurrentColour(), kColourNormal);
}

TEST_F(PagedOutputTest, CallersColourSurvivesAStop) {
  Lines(24);
  Fake().output.clear();
  Fake().colour_log.clear();
  Fake().PushKey('x');
  SetColour(kColourKey);
  PagedLine("green");
  EXPECT_EQ(Fake().ColouredOutput(), "<10><14>" + kPrompt + "<7>" + kWipe + "<10>green<7>\r\n");
}

}  // namespace
}  // namespace vantor::console
