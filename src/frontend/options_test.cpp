#include "frontend/options.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"
#include "frontend/command_line.h"
#include "frontend/screens.h"

namespace vantor {
namespace {

using fake::ExpectedHandOff;
using fake::Fake;
using fake::HandOffContent;
using fake::RunVantor;

class Options : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Fake().AddDir("C:\\Work\\src");
    Fake().current_dir = "C:\\Work\\src";
    Fake().rows = 300;
  }

  // The path specification the dispatcher returns for `arguments`.
  std::string Specification(const std::string& arguments) {
    Fake().command_line = "vantor.exe " + arguments;
    ReadArguments();
    return DispatchOptions();
  }

  static std::string Error(const std::string& text) { return "<12>" + text + "<7>\r\n"; }
};

TEST_F(Options, ArgumentsThatAreNoOptionFormTheSpecification) {
  EXPECT_EQ(Specification("a b"), "a b");
  EXPECT_EQ(Specification("a  \t b"), "a b");
  EXPECT_EQ(Specification("\"a b\""), "a b");
  EXPECT_EQ(Specification("\"a   b\" c"), "a   b c");
  // An option word counts only in the first argument.
  EXPECT_EQ(Specification("abc -a"), "abc -a");
  EXPECT_EQ(Specification("abc -?"), "abc -?");
  EXPECT_TRUE(Fake().shell_calls.empty());
}

TEST_F(Options, UsageOptionShowsBannerAndUsageThenEnds250) {
  EXPECT_EQ(RunVantor("-?"), kExitScreenShown);
  std::string coloured = Fake().ColouredOutput();
  std::string head = "<14><14>" + BannerLine() + "<7>\r\n<7><7>\r\n<7>Usage:<7>\r\n";
  EXPECT_EQ(coloured.substr(0, head.size()), head);
  EXPECT_NE(coloured.find("  c -manual        display the Vantor user manual"), std::string::npos);
  std::string tail = "c D:..\\*<7>\r\n";
  EXPECT_EQ(coloured.substr(coloured.size() - tail.size()), tail);
}

TEST_F(Options, EscAtThePagingPromptOfTheUsageEndsWithZero) {
  Fake().rows = 25;
  Fake().PushKey(27, 1, 0, 27);
  EXPECT_EQ(RunVantor("-?"), kExitNormal);
  EXPECT_EQ(Fake().output.find("Examples:"), std::string::npos);
  EXPECT_NE(Fake().output.find(" -- Press [Esc] to exit"), std::string::npos);
}

TEST_F(Options, WelcomeOptionInAnyCaseEnds250) {
  for (const char* option : {"-w", "-W"}) {
    EXPECT_EQ(RunVantor(option), kExitScreenShown) << option;
    EXPECT_EQ(Fake().ColouredOutput().substr(0, 8 + BannerLine().size()),
              "<14><14>" + BannerLine());
    EXPECT_NE(Fake().output.find("It even matches typos!"), std::string::npos);
  }
}

TEST_F(Options, LaunchOptionsAnnounceAndOpenTheirDocument) {
  struct Case {
    const char* option;
    const char* announcement;
    const char* document;
  };
  const Case cases[] = {
      {"-support", "Starting Web browser at support page", "https://www.example.com/support/"},
      {"-SUPPORT", "Starting Web browser at support page", "https://www.example.com/support/"},
      {"-manual", "Starting program to display Vantor help manual", "vantor.chm"},
      {"-help", "Starting program to display Vantor help manual", "vantor.chm"},
      {"-HELP", "Starting program to display Vantor help manual", "vantor.chm"},
      {"-Help", "Starting program to display Vantor help manual", "vantor.chm"},
      {"-home", "Starting Web browser for Vantor homepage", "https://www.example.com/vantor/"},
      {"-Orbwell", "Starting Web browser to show Orbwell Software home page",
       "https://www.example.com/"},
  };
  for (const Case& c : cases) {
    Fake().shell_calls.clear();
    EXPECT_EQ(RunVantor(c.option), kExitNormal) << c.option;
    EXPECT_EQ(Fake().ColouredOutput(), std::string(c.announcement) + "\r\n") << c.option;
    ASSERT_EQ(Fake().shell_calls.size(), 1u) << c.option;
    EXPECT_EQ(Fake().shell_calls[0].file, c.document);
    EXPECT_EQ(Fake().shell_calls[0].parameters, "");
    EXPECT_EQ(Fake().shell_calls[0].show_command, 5);
  }
}

TEST_F(Options, FailedLaunchEndsWithOneAndTheDocumentOnTheClipboard) {
  Fake().shell_result = 31;
  EXPECT_EQ(RunVantor("-home"), kExitUnhandledError);
  EXPECT_EQ(Fake().output,
            "Starting Web browser for Vantor homepage\r\n"
            "Shell command failed. It has been copied to the clipboard.\r\n"
            "https://www.example.com/vantor/\r\n");
  EXPECT_EQ(Fake().clipboard, "https://www.example.com/vantor/");
  Fake().shell_result = 2;
  EXPECT_EQ(RunVantor("-manual"), kExitUnhandledError);
  EXPECT_EQ(Fake().clipboard, "vantor.chm");
}

TEST_F(Options, ExplorerOptionIgnoresTheRestAndItsResult) {
  Fake().shell_result = 2;
  EXPECT_EQ(RunVantor("-x anything at all"), kExitNormal);
  EXPECT_EQ(Fake().ColouredOutput(), "Starting Explorer in current directory\r\n");
  ASSERT_EQ(Fake().shell_calls.size(), 1u);
  EXPECT_EQ(Fake().shell_calls[0].file, "explorer.exe");
  EXPECT_EQ(Fake().shell_calls[0].parameters, "/e,.");
  EXPECT_EQ(Fake().shell_calls[0].directory, "");
  EXPECT_EQ(Fake().shell_calls[0].show_command, 5);
  EXPECT_EQ(RunVantor("-X"), kExitNormal);
  EXPECT_EQ(Fake().shell_calls.size(), 2u);
}

// -a lists the aliases, -l and -h the history: each shows its own title and
// entries, and none shows the other's.
TEST_F(Options, ListOptionsEndWithZero) {
  Fake().registry["aliasname_1"] = {sys::kRegSz, std::string("src\0", 4)};
  Fake().registry["aliasdir_1"] = {sys::kRegSz, std::string("C:\\Work\\src\0", 12)};
  const std::string aliases =
      "<14>  Vantor Directory Aliases (19 entries remaining)  <7>\r\n"
      "<10>         src<7> = C:\\Work\\src<7>\r\n";
  const std::string history =
      "<14>  Vantor Directory History  <7>\r\n"
      "<10>   0  <7>C:\\Work\\src\r\n";
  for (const char* option : {"-a", "-A"}) {
    EXPECT_EQ(RunVantor(option), kExitNormal) << option;
    EXPECT_EQ(Fake().ColouredOutput(), aliases) << option;
  }
  for (const char* option : {"-l", "-L", "-h", "-H"}) {
    EXPECT_EQ(RunVantor(option), kExitNormal) << option;
    EXPECT_EQ(Fake().ColouredOutput(), history) << option;
  }
  EXPECT_TRUE(Fake().shell_calls.empty());
}

TEST_F(Options, NoPrefixOrLongerWordIsAnOption) {
  for (const char* option : {"-hel", "-helpx", "-xx", "-?x", "-wel", "-homes"}) {
    EXPECT_EQ(RunVantor(option), kExitRunError) << option;
    EXPECT_EQ(Fake().ColouredOutput(), Error(std::string("Vantor: Invalid history index '") +
                                             (option + 1) + "' (valid values are 1 to 20)."));
  }
  EXPECT_TRUE(Fake().shell_calls.empty());
}

TEST_F(Options, InvalidHistoryIndexNamesTheTextAsTyped) {
  for (const char* index : {"0", "21", "-3", "aBc", "0x15", "$"}) {
    EXPECT_EQ(RunVantor(std::string("-") + index), kExitRunError) << index;
    EXPECT_EQ(Fake().ColouredOutput(), Error(std::string("Vantor: Invalid history index '") +
                                             index + "' (valid values are 1 to 20)."));
  }
}

TEST_F(Options, HistoryTooShortSaysEntriesForEveryCount) {
  for (const char* option : {"-", "-1", "-3", "-0x14", "-$A"}) RunVantor(option);
  EXPECT_EQ(RunVantor("-"), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(), Error("Vantor: History does not yet extend back 1 entries."));
  EXPECT_EQ(RunVantor("-0x14"), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(), Error("Vantor: History does not yet extend back 20 entries."));
  EXPECT_EQ(RunVantor("-$A"), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(), Error("Vantor: History does not yet extend back 10 entries."));
  EXPECT_EQ(HandOffContent(), "rem\r\n");
}

TEST_F(Options, DashTogglesBetweenTheLastTwoDirectories) {
  Fake().AddDir("C:\\Other");
  EXPECT_EQ(RunVantor("\\Other"), kExitNormal);
  EXPECT_EQ(RunVantor("-"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\src"));
  EXPECT_EQ(RunVantor("-1"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Other"));
  EXPECT_EQ(RunVantor("-"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\src"));
  // Each directory is kept once, so the history holds these two alone.
  EXPECT_EQ(RunVantor("-2"), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(), Error("Vantor: History does not yet extend back 2 entries."));
}

}  // namespace
}  // namespace vantor
