#include "matching/path_spec.h"

#include <gtest/gtest.h>

#include "fake/fake_system.h"

namespace vantor::matching {
namespace {

using fake::Fake;

// The three rewrites in the order the run applies them.
std::string Rewritten(std::string spec) {
  SlashesToBackslashes(spec);
  ExpandDoubleBackslash(spec);
  ExpandDots(spec);
  return spec;
}

std::string Dots(std::string spec) {
  ExpandDots(spec);
  return spec;
}

TEST(PathSpecRewrite, SlashesAndDoubleBackslashes) {
  EXPECT_EQ(Rewritten("prog/sub"), "prog\\sub");
  EXPECT_EQ(Rewritten("\\\\"), "\\*\\");
  EXPECT_EQ(Rewritten("a\\\\b"), "a\\*\\b");
  EXPECT_EQ(Rewritten("\\\\\\"), "\\*\\*\\");
  EXPECT_EQ(Rewritten("a//b"), "a\\*\\b");
  EXPECT_EQ(Rewritten("D:\\\\x"), "D:\\*\\x");
  std::string only_slash = "a/b";
  ExpandDoubleBackslash(only_slash);
  EXPECT_EQ(only_slash, "a/b");
}

TEST(PathSpecRewrite, LoneDotsAndRunsOfDots) {
  EXPECT_EQ(Dots("."), "..");
  EXPECT_EQ(Dots(".."), "..");
  EXPECT_EQ(Dots("..."), "..\\..");
  EXPECT_EQ(Dots("...."), "..\\..\\..");
  EXPECT_EQ(Dots("....."), "..\\..\\..\\..");
  EXPECT_EQ(Dots(".\\a"), "..\\a");
  EXPECT_EQ(Dots("a\\."), "a\\..");
  EXPECT_EQ(Dots("a\\.\\b"), "a\\..\\b");
  EXPECT_EQ(Dots(".\\."), "..\\..");
  EXPECT_EQ(Dots("...\\..."), "..\\..\\..\\..");
  EXPECT_EQ(Dots("..\\x"), "..\\x");
}

TEST(PathSpecRewrite, DotsNextToOtherCharacters) {
  EXPECT_EQ(Dots("D:."), "D:..");
  EXPECT_EQ(Dots("D:.\\x"), "D:..\\x");
  EXPECT_EQ(Dots("D:..."), "D:...");
  EXPECT_EQ(Dots("...x"), "..\\..x");
  EXPECT_EQ(Dots("a\\....b"), "a\\..\\..\\..b");
  EXPECT_EQ(Dots("x..."), "x...");
  EXPECT_EQ(Dots("a.b"), "a.b");
  EXPECT_EQ(Dots(".x"), ".x");
  EXPECT_EQ(Dots("x\\.y"), "x\\.y");
  EXPECT_EQ(Dots(""), "");
}

TEST(PathSpecRewrite, LongSpecificationsAreRewrittenWhole) {
  std::string backslashes(10000, '\\');
  ExpandDoubleBackslash(backslashes);
  ASSERT_EQ(backslashes.size(), 19999u);
  for (std::size_t i = 0; i < backslashes.size(); ++i)
    ASSERT_EQ(backslashes[i], i % 2 == 0 ? '\\' : '*') << i;

  std::string dots(10000, '.');
  ExpandDots(dots);
  std::string expected;
  for (int step = 0; step < 9999; ++step) expected += step == 0 ? ".." : "\\..";
  EXPECT_EQ(dots, expected);

  std::string lone;
  for (int i = 0; i < 10000; ++i) lone += ".\\";
  ExpandDots(lone);
  std::string lone_expected;
  for (int i = 0; i < 10000; ++i) lone_expected += "..\\";
  EXPECT_EQ(lone, lone_expected);
}

TEST(PathSpecPaths, ParentDirNeverLeavesTheRoot) {
  EXPECT_EQ(ParentDir("C:\\a\\b"), "C:\\a");
  EXPECT_EQ(ParentDir("C:\\a"), "C:\\");
  EXPECT_EQ(ParentDir("C:\\"), "C:\\");
  EXPECT_EQ(ParentDir("C:\\a\\"), "C:\\");
  EXPECT_EQ(ParentDir("C:\\a\\b\\"), "C:\\a");
  EXPECT_EQ(ParentDir("C:\\Program Files\\Common Files"), "C:\\Program Files");
}

TEST(PathSpecPaths, AddTrailingBackslashAddsAtMostOne) {
  std::string path = "C:\\a";
  AddTrailingBackslash(path);
  EXPECT_EQ(path, "C:\\a\\");
  AddTrailingBackslash(path);
  EXPECT_EQ(path, "C:\\a\\");
  std::string empty;
  AddTrailingBackslash(empty);
  EXPECT_EQ(empty, "");
}

class PathSpecDrives : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Fake().AddDir("C:\\work\\deep\\er");
    Fake().AddDir("D:\\data\\sub");
    Fake().drive_dirs['D'] = "D:\\data\\sub";
    Fake().current_dir = "C:\\work\\deep\\er";
  }
};

TEST_F(PathSpecDrives, DriveCurrentDirRestoresTheProcessDirectory) {
  EXPECT_EQ(DriveCurrentDir('D'), "D:\\data\\sub");
  EXPECT_EQ(Fake().current_dir, "C:\\work\\deep\\er");
  EXPECT_EQ(DriveCurrentDir('d'), "D:\\data\\sub");
  EXPECT_EQ(DriveCurrentDir('C'), "C:\\work\\deep\\er");
  EXPECT_EQ(DriveCurrentDir('Q'), "C:\\work\\deep\\er");
  EXPECT_EQ(DriveCurrentDir('5'), "C:\\work\\deep\\er");
  EXPECT_EQ(DriveCurrentDir('\\'), "C:\\work\\deep\\er");
  EXPECT_EQ(Fake().current_dir, "C:\\work\\deep\\er");
}

TEST_F(PathSpecDrives, MakeAbsolutePathKeepsAbsoluteAndNetworkPaths) {
  EXPECT_EQ(MakeAbsolutePath("C:\\x"), "C:\\x");
  EXPECT_EQ(MakeAbsolutePath("d:\\x\\..\\y"), "d:\\x\\..\\y");
  EXPECT_EQ(MakeAbsolutePath("\\\\srv\\x"), "\\\\srv\\x");
  EXPECT_EQ(MakeAbsolutePath("\\y"), "C:\\y");
  EXPECT_EQ(MakeAbsolutePath("d:\\"), "d:\\");
  EXPECT_EQ(MakeAbsolutePath("q:\\new"), "q:\\new");
}

TEST_F(PathSpecDrives, MakeAbsolutePathResolvesAgainstTheDrivesDirectory) {
  EXPECT_EQ(MakeAbsolutePath("y"), "C:\\work\\deep\\er\\y");
  EXPECT_EQ(MakeAbsolutePath("."), "C:\\work\\deep\\er\\");
  EXPECT_EQ(MakeAbsolutePath(".\\y"), "C:\\work\\deep\\er\\y");
  EXPECT_EQ(MakeAbsolutePath("..\\..\\y"), "C:\\work\\y");
  EXPECT_EQ(MakeAbsolutePath(".."), "C:\\work\\deep\\");
  EXPECT_EQ(MakeAbsolutePath("..\\..\\..\\..\\..\\y"), "C:\\y");
  EXPECT_EQ(MakeAbsolutePath("D:"), "D:\\data\\sub\\");
  EXPECT_EQ(MakeAbsolutePath("d:..\\z"), "D:\\data\\z");
  EXPECT_EQ(MakeAbsolutePath("a\\..\\b"), "C:\\work\\deep\\er\\a\\..\\b");
  EXPECT_EQ(MakeAbsolutePath("..x"), "C:\\work\\deep\\er\\..x");
  EXPECT_EQ(MakeAbsolutePath("q:new"), "C:\\work\\deep\\er\\new");
  EXPECT_EQ(Fake().current_dir, "C:\\work\\deep\\er");
}

TEST_F(PathSpecDrives, MakeAbsolutePathClimbsManySteps) {
  std::string steps;
  for (int i = 0; i < 10000; ++i) steps += "..\\";
  EXPECT_EQ(MakeAbsolutePath(steps + "top"), "C:\\top");
}

}  // namespace
}  // namespace vantor::matching
