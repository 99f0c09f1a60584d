#include "frontend/complete.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"

namespace vantor {
namespace {

using fake::Fake;
using fake::RunVantor;

std::string Text(const std::string& text) { return text + std::string(1, '\0'); }

class Listing : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    for (const char* dir : {"C:\\Program Files\\Common Files", "C:\\ProgramData\\Corp", "C:\\Users",
                            "C:\\Windows", "C:\\Work\\src", "C:\\Work\\srcx"})
      Fake().AddDir(dir);
    Fake().current_dir = "C:\\";
  }

  // What "--complete" followed by `word` prints, from `start`; the run must
  // end with 0.
  static std::string List(const std::string& word, const std::string& start = "C:\\") {
    Fake().current_dir = start;
    EXPECT_EQ(RunVantor("--complete " + word), kExitNormal) << word;
    return Fake().output;
  }
};

// Nothing but standard output: no hand-off file, no settings file, no key,
// no colour, no console mode, no key read.
TEST_F(Listing, OffersWhatTheMenuWouldAndChangesNothing) {
  Fake().SetEnv("VANTOR", "C:\\Temp\\vantor.dat");
  EXPECT_EQ(List("pr\\co"), "C:\\Program Files\\Common Files\r\nC:\\ProgramData\\Corp\r\n");
  Fake().UnsetEnv("VANTOR");
  EXPECT_EQ(List("PR/CO"), "C:\\Program Files\\Common Files\r\nC:\\ProgramData\\Corp\r\n");
  EXPECT_TRUE(Fake().files.empty());
  EXPECT_FALSE(Fake().registry_key_exists);
  EXPECT_TRUE(Fake().registry.empty());
  EXPECT_TRUE(Fake().colour_log.empty());
  EXPECT_EQ(Fake().input_modes, "") << "the console's input mode is never switched";
  EXPECT_EQ(Fake().reads_attempted, 0u);
  EXPECT_TRUE(Fake().created.empty());
}

TEST_F(Listing, EveryKindOfWordTakesTheRunsOwnRoad) {
  Fake().registry["aliasname_1"] = {sys::kRegSz, Text("proj")};
  Fake().registry["aliasdir_1"] = {sys::kRegSz, Text("..\\srcx")};
  Fake().registry["aliasname_2"] = {sys::kRegSz, Text("gone")};
  Fake().registry["aliasdir_2"] = {sys::kRegSz, Text("C:\\Gone")};
  EXPECT_EQ(List(".", "C:\\Work\\src"), "C:\\Work\r\n") << "an existing directory as typed";
  EXPECT_EQ(List("Program Files"), "C:\\Program Files\r\n") << "words joined as the run joins them";
  EXPECT_EQ(List("PROJ", "C:\\Work\\src"), "C:\\Work\\srcx\r\n") << "an alias, entered";
  EXPECT_EQ(List("gone"), "") << "an alias that cannot be entered";
  EXPECT_EQ(List("pro"), "C:\\Program Files\r\nC:\\ProgramData\r\n") << "no alias: searched";
  EXPECT_EQ(List("q:", "C:\\Work"), "C:\\Work\r\n") << "a missing drive stands for StartDir";
  EXPECT_EQ(List("usr"), "C:\\Users\r\n") << "the one best match";
  EXPECT_EQ(List("..\\sr", "C:\\Work\\SRC"), "C:\\Work\\srcx\r\n") << "StartDir left out";
  EXPECT_EQ(List("zzz", "C:\\Work\\src"), "") << "nothing matches";
  EXPECT_TRUE(Fake().registry_writes.empty()) << "the alias was not moved to the front";
}

TEST_F(Listing, WhatTheRunWouldReportGivesNothing) {
  const std::string deep = "C:\\Work\\" + std::string(255, 'd');
  Fake().AddDir(deep);
  for (const char* word : {"5:abc", "", "-a", "-x", "-?"}) EXPECT_EQ(List(word), "") << word;
  EXPECT_EQ(List("zzz", deep), "") << "an unreadable start directory";
  EXPECT_EQ(List("c:\\us", deep), "C:\\Users\r\n") << "unless the word needs none";
  EXPECT_TRUE(Fake().files.empty());
  EXPECT_TRUE(Fake().shell_calls.empty());
}

// "-" lists the entries "-1", "-2", ... would enter, after the start
// directory's record the run would make (here in memory); "-N" the one
// entry "c -N" enters, and nothing where that run would end with an error.
TEST_F(Listing, HistoryWordsListWhatTheHistoryOptionsEnter) {
  const char* stored[] = {"C:\\Users", "C:\\WINDOWS", "C:\\Gone", "C:\\Work"};
  for (int i = 0; i < 4; ++i)
    Fake().registry["history_" + std::to_string(i)] = {sys::kRegSz, Text(stored[i])};
  EXPECT_EQ(List("-", "C:\\Windows"), "C:\\Users\r\nC:\\Work\r\n");
  EXPECT_EQ(List("-", "C:\\Users"), "C:\\WINDOWS\r\nC:\\Work\r\n") << "StartDir is the front";
  EXPECT_EQ(List("-1", "C:\\Windows"), "C:\\Users\r\n");
  EXPECT_EQ(List("-3", "C:\\Windows"), "C:\\Work\r\n");
  EXPECT_EQ(List("-$3", "C:\\Windows"), "C:\\Work\r\n") << "an index in hexadecimal";
  // Entry 2 cannot be entered, entry 4 is empty, the rest are no index.
  for (const char* word : {"-2", "-4", "-0", "-21", "-99", "--1", "-1x", "-w", "-h"})
    EXPECT_EQ(List(word, "C:\\Windows"), "") << word;
  EXPECT_TRUE(Fake().registry_writes.empty());
}

TEST_F(Listing, AtMostAThousandCandidatesInMenuOrder) {
  for (int i = 1200; i > 0; --i) Fake().AddDir("C:\\Wide\\d" + std::to_string(10000 + i));
  const std::string listed = List("*", "C:\\Wide");
  EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 1000);
  EXPECT_EQ(listed.substr(0, 16), "C:\\Wide\\d10001\r\n");
  EXPECT_EQ(listed.substr(listed.size() - 16), "C:\\Wide\\d11000\r\n");
}

TEST_F(Listing, RecognisedInAnyCaseInTheFirstArgumentOnly) {
  EXPECT_EQ(RunVantor("--Complete usr"), kExitNormal);
  EXPECT_EQ(Fake().output, "C:\\Users\r\n");
  EXPECT_EQ(Fake().input_modes, "");
  RunVantor("usr --complete");
  EXPECT_NE(Fake().input_modes, "") << "an ordinary run";
  EXPECT_NE(fake::HandOffContent(), "");
}

}  // namespace
}  // namespace vantor
