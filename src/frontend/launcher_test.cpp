#include "frontend/launcher.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"

namespace vantor {
namespace {

using fake::Fake;

class Launcher : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Fake().clipboard = "what was there";
  }
};

TEST_F(Launcher, ShellRunSucceedsOnlyAboveThirtyTwo) {
  Fake().shell_result = 33;
  EXPECT_TRUE(ShellRun("explorer.exe", "/e,.", "", 5));
  Fake().shell_result = 32;
  EXPECT_FALSE(ShellRun("explorer.exe", "/e,.", "", 5));
  Fake().shell_result = -5;
  EXPECT_FALSE(ShellRun("explorer.exe", "/e,.", "", 5));
  ASSERT_EQ(Fake().shell_calls.size(), 3u);
  EXPECT_EQ(Fake().shell_calls[0].file, "explorer.exe");
  EXPECT_EQ(Fake().shell_calls[0].parameters, "/e,.");
  EXPECT_EQ(Fake().shell_calls[0].directory, "");
  EXPECT_EQ(Fake().shell_calls[0].show_command, 5);
  EXPECT_EQ(Fake().clipboard, "what was there");
}

TEST_F(Launcher, ShellRunCutsEachTextTo255Characters) {
  std::string long_text(300, 'f');
  ShellRun(long_text, std::string(256, 'p'), std::string(255, 'd'), 1);
  ASSERT_EQ(Fake().shell_calls.size(), 1u);
  EXPECT_EQ(Fake().shell_calls[0].file, std::string(255, 'f'));
  EXPECT_EQ(Fake().shell_calls[0].parameters, std::string(255, 'p'));
  EXPECT_EQ(Fake().shell_calls[0].directory, std::string(255, 'd'));
  EXPECT_EQ(Fake().shell_calls[0].show_command, 1);
}

TEST_F(Launcher, SuccessfulLaunchEndsWithZeroAndLeavesTheClipboard) {
  EXPECT_TRUE(ShellLaunch("vantor.chm"));
  EXPECT_EQ(fake::ExitCodeOf([] { LaunchAndExit("https://www.example.com/"); }), kExitNormal);
  ASSERT_EQ(Fake().shell_calls.size(), 2u);
  EXPECT_EQ(Fake().shell_calls[1].file, "https://www.example.com/");
  EXPECT_EQ(Fake().shell_calls[1].parameters, "");
  EXPECT_EQ(Fake().shell_calls[1].show_command, 5);
  EXPECT_EQ(Fake().clipboard, "what was there");
}

TEST_F(Launcher, FailedLaunchCopiesTheDocumentAndRaises) {
  Fake().shell_result = 31;
  try {
    LaunchAndExit("vantor.chm");
    FAIL() << "a failed launch returned";
  } catch (const UnhandledError& error) {
    EXPECT_EQ(error.message,
              "Shell command failed. It has been copied to the clipboard.\r\nvantor.chm");
  }
  EXPECT_EQ(Fake().clipboard, "vantor.chm");
  // A clipboard that can't be written changes nothing about the error.
  Fake().clipboard_works = false;
  EXPECT_THROW(ShellLaunch("https://www.example.com/vantor/"), UnhandledError);
  EXPECT_EQ(Fake().clipboard, "vantor.chm");
}

}  // namespace
}  // namespace vantor
