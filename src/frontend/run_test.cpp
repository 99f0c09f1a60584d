#include "frontend/run.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"

namespace vantor {
namespace {

using fake::ExpectedHandOff;
using fake::Fake;
using fake::HandOffContent;
using fake::RunVantor;

const std::string kReset = "rem\r\n";

class RunFlow : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    for (const char* dir : {"C:\\Program Files\\Common Files", "C:\\ProgramData\\Corp", "C:\\Users",
                            "C:\\Windows", "C:\\Work\\src", "C:\\Work\\lib"})
      Fake().AddDir(dir);
    Fake().current_dir = "C:\\Work\\src";
  }

  std::string History(int index) {
    const auto& value = Fake().registry["history_" + std::to_string(index)].data;
    return value.empty() ? value : value.substr(0, value.size() - 1);
  }
};

TEST_F(RunFlow, WithoutArgumentsPrintsStartDirAndRecordsIt) {
  EXPECT_EQ(RunVantor(""), kExitNormal);
  EXPECT_EQ(Fake().output, "C:\\Work\\src\r\n");
  EXPECT_EQ(History(0), "C:\\Work\\src");
  EXPECT_EQ(HandOffContent(), kReset);
  // An empty quoted argument counts as none.
  EXPECT_EQ(RunVantor("\"\""), kExitNormal);
  EXPECT_EQ(Fake().output, "C:\\Work\\src\r\n");
}

TEST_F(RunFlow, ExactDirectoriesAreEnteredWithoutSearch) {
  EXPECT_EQ(RunVantor(".."), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work"));
  EXPECT_TRUE(Fake().listed.empty());
  EXPECT_EQ(History(0), "C:\\Work");
  EXPECT_EQ(History(1), "C:\\Work\\src");

  Fake().current_dir = "C:\\Work\\src";
  EXPECT_EQ(RunVantor("\\"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\"));

  Fake().current_dir = "C:\\Work\\src";
  EXPECT_EQ(RunVantor("../lib"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\lib"));
}

TEST_F(RunFlow, DriveRelativeTargetsUseTheDrivesOwnDirectory) {
  Fake().AddDir("D:\\data\\deep");
  Fake().drive_dirs['D'] = "D:\\data\\deep";
  EXPECT_EQ(RunVantor("d:.."), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("D:", "\\data"));
  // The process's own current directory of C is untouched by reading D's.
  Fake().current_dir = "C:\\Work\\src";
  EXPECT_EQ(RunVantor("D:\\"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("D:", "\\"));
}

TEST_F(RunFlow, ParentStepsSearchBelowTheAncestor) {
  Fake().AddDir("C:\\Work\\abcdef");
  EXPECT_EQ(RunVantor("..\\abc"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\abcdef"));

  Fake().current_dir = "C:\\Work\\src";
  EXPECT_EQ(RunVantor("...\\user"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Users"));
}

TEST_F(RunFlow, ParentStepsNeverClimbAboveTheRoot) {
  EXPECT_EQ(RunVantor("..\\..\\..\\..\\win"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Windows"));

  std::string many_steps;
  for (int i = 0; i < 10000; ++i) many_steps += "..\\";
  Fake().current_dir = "C:\\Work\\src";
  EXPECT_EQ(RunVantor(many_steps + "us"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Users"));
}

TEST_F(RunFlow, NameBeginningWithTwoDotsTakesNoParentStep) {
  Fake().AddDir("C:\\Work\\src\\..abc");
  EXPECT_EQ(RunVantor("..ab"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\src\\..abc"));
}

TEST_F(RunFlow, InvalidDriveLetterEndsWith243) {
  EXPECT_EQ(RunVantor("5:abc"), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Vantor: Invalid drive letter '5' (valid drives are A: through Z:)<7>\r\n");
  EXPECT_EQ(HandOffContent(), kReset);
}

TEST_F(RunFlow, NetworkStartDirHasNoDriveLetterForRelativeSearches) {
  Fake().AddDir("\\\\srv\\share\\x");
  Fake().current_dir = "\\\\srv\\share";
  EXPECT_EQ(RunVantor("nothing"), kExitRunError);
  EXPECT_NE(Fake().output.find("Invalid drive letter '\\'"), std::string::npos);
}

TEST_F(RunFlow, RelativeSearchOnMissingDriveUsesStartDir) {
  Fake().AddDir("C:\\Work\\src\\abcd");
  EXPECT_EQ(RunVantor("q:abc"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\src\\abcd"));
}

TEST_F(RunFlow, RootOfMissingDriveIsSearchedAndOffered) {
  EXPECT_EQ(RunVantor("1:\\x"), kExitNormal);
  EXPECT_NE(Fake().output.find("Vantor: No directories found matching '1:\\x'"), std::string::npos);
  EXPECT_EQ(HandOffContent(), kReset);
}

TEST_F(RunFlow, WorkedExampleOffersBothMatchesAndEntersTheChoice) {
  Fake().current_dir = "C:\\";
  Fake().PushKey('b');
  EXPECT_EQ(RunVantor("pr\\co"), kExitNormal);
  EXPECT_NE(Fake().output.find("[a] C:\\Program Files\\Common Files"), std::string::npos);
  EXPECT_NE(Fake().output.find("[b] C:\\ProgramData\\Corp"), std::string::npos);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\ProgramData\\Corp"));
  EXPECT_EQ(History(0), "C:\\ProgramData\\Corp");
  EXPECT_EQ(History(1), "C:\\");
}

TEST_F(RunFlow, LeavingTheMenuKeepsTheReset) {
  Fake().current_dir = "C:\\";
  Fake().PushKey(27);
  EXPECT_EQ(RunVantor("pr\\co"), kExitNormal);
  EXPECT_NE(Fake().output.find("Exit\r\n"), std::string::npos);
  EXPECT_EQ(HandOffContent(), kReset);
}

TEST_F(RunFlow, SoleBestMatchIsEnteredAtOnce) {
  Fake().current_dir = "C:\\";
  EXPECT_EQ(RunVantor("usr"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Users"));
  EXPECT_EQ(Fake().output, "");
}

TEST_F(RunFlow, StartDirIsLeftOutWhenAnotherMatchRemains) {
  Fake().AddDir("C:\\Work\\srcx");
  Fake().current_dir = "C:\\Work\\SRC";
  EXPECT_EQ(RunVantor("..\\sr"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\srcx"));
}

TEST_F(RunFlow, ExistingDirectoryWinsOverAlias) {
  Fake().registry["aliasname_1"] = {sys::kRegSz, std::string("lib\0", 4)};
  Fake().registry["aliasdir_1"] = {sys::kRegSz, std::string("C:\\Windows\0", 11)};
  Fake().current_dir = "C:\\Work";
  EXPECT_EQ(RunVantor("lib"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\lib"));
  // The system keeps the letters as typed.
  Fake().current_dir = "C:\\Work";
  EXPECT_EQ(RunVantor("LIB"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\LIB"));
  Fake().current_dir = "C:\\";
  EXPECT_EQ(RunVantor("LIB"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Windows"));
}

TEST_F(RunFlow, MissingTempEndsEveryRunBeforeTheSettings) {
  Fake().UnsetEnv("TEMP");
  EXPECT_EQ(RunVantor("-l"), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Vantor: Error - the environment variable TEMP is not defined\r\n"
            "You can define it with the following command in your autoexec.bat:\r\n"
            "  SET TEMP=c:\\temp\r\n<7>\r\n");
  EXPECT_TRUE(Fake().registry.empty());
}

TEST_F(RunFlow, UnwritableHandOffFileEndsWith243) {
  Fake().SetEnv("TEMP", "C:\\Missing\\");
  EXPECT_EQ(RunVantor("..\\lib"), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Vantor: Error - can't write to batch file 'C:\\Missing\\vantor2.bat'\r\n<7>\r\n");
}

// Names are held as the system reports them, whatever the code pages: the
// hand-off file and the stored history take the console's and the OEM code
// page's bytes where those hold the name, as they always did; a name they
// cannot hold is handed off in UTF-8 after "chcp 65001", with its short form
// for a shell that refuses that, and stored after the marker.
TEST_F(RunFlow, NamesAsTheSystemReportsThem) {
  Fake().AddDir("C:\\Café\\Menü");
  Fake().AddDir("C:\\Документы");
  Fake().short_names["C:\\ДОКУМЕНТЫ"] = "C:\\DOKUME~1";
  Fake().current_dir = "C:\\Café";
  EXPECT_EQ(RunVantor(""), kExitNormal);
  EXPECT_EQ(Fake().output, "C:\\Café\r\n");
  EXPECT_EQ(RunVantor("MEN"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Caf\x82\\Men\x81"));
  // The registry holds what the OEM bytes make as ANSI bytes (1252).
  EXPECT_EQ(History(0), "C:\\Caf\u201A\\Men\u0081");

  EXPECT_EQ(RunVantor("\\док"), kExitNormal);
  EXPECT_EQ(HandOffContent(),
            "C:\r\nchcp 65001 >nul 2>nul\r\n"
            "if errorlevel 1 (chdir \"\\DOKUME~1\") else chdir \"\\Документы\"\r\n"
            "chcp 437 >nul 2>nul\r\n");
  EXPECT_EQ(History(0),
            "\x01"
            "C:\\Документы");
  EXPECT_EQ(History(1), "C:\\Caf\u201A\\Men\u0081");
  EXPECT_EQ(History(2), "C:\\Caf\u201A") << "the start directory was not recorded twice";
  EXPECT_TRUE(Fake().processed_input_mode);
}

// Ctrl+C typed while the run is not waiting for a key (a menu drawing its
// first page or the next one, a question being asked) is read as a key by
// the screen that asks next, instead of ending the process; afterwards the
// console has the user's input mode back and no Ctrl+C is left for the shell.
TEST_F(RunFlow, CtrlCBetweenKeyReadsIsAnsweredByTheScreen) {
  struct Case {
    const char* arguments;
    const char* typed_when_written;
    bool page_down;
    int exit_code;
  };
  const Case cases[] = {
      {"\\pr\\co", "ProgramData", false, kExitNormal},  // the menu's first draw
      {"\\many\\d*", "Page 2 of", true, kExitNormal},   // the next page's draw
      {"\\Users\\*\\newdir", "[y/N] ? ", false, kExitDeclined},
  };
  for (const Case& c : cases) {
    SetUp();
    Fake().rows = 8;
    for (int i = 0; i < 20; ++i) Fake().AddDir("C:\\Many\\d" + std::to_string(10 + i));
    Fake().AddDir("C:\\Users\\me");
    if (c.page_down) Fake().PushKey(0, 81);
    Fake().ctrl_c_when_written = c.typed_when_written;
    EXPECT_EQ(RunVantor(c.arguments), c.exit_code) << c.arguments;
    EXPECT_TRUE(Fake().ctrl_c_when_written.empty()) << c.arguments << ": never drawn";
    EXPECT_EQ(HandOffContent(), kReset) << c.arguments;
    EXPECT_EQ(Fake().input_modes, "PRU") << c.arguments;
  }
  // Typed after the last key read, it is taken out with what came before it.
  SetUp();
  Fake().ctrl_c_when_written = "C:\\Work\\src";
  Fake().PushKey('x');
  EXPECT_EQ(RunVantor(""), kExitNormal);
  EXPECT_TRUE(Fake().input.empty());
}

// Scores differ between branches (a\x exact below a wildcard level, b\xy a
// wildcard on both): only the best are offered, so the one is entered.
TEST_F(RunFlow, OnlyTheBestScoresAreOffered) {
  Fake().AddDir("C:\\Work\\src\\a\\x");
  Fake().AddDir("C:\\Work\\src\\b\\xy");
  EXPECT_EQ(RunVantor("*\\x"), kExitNormal);
  EXPECT_EQ(Fake().output, "") << "no menu";
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Work\\src\\a\\x"));
}

TEST_F(RunFlow, AnExactDirectoryTooDeepToReadBackIsNamedAsTyped) {
  const std::string typed = std::string(250, 'd') + "\\tail";
  Fake().AddDir("C:\\Work\\" + typed);
  Fake().current_dir = "C:\\Work";
  EXPECT_EQ(RunVantor(typed), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Vantor: Could not change directory to '" + typed + "'<7>\r\n");
  EXPECT_EQ(HandOffContent(), kReset);
  EXPECT_EQ(History(0), "C:\\Work");
}

// A process can start in a directory too deep to be read back. Whatever
// needs the start directory then stops with an error, and nothing stored
// is changed; what does not need it works as before.
class UnreadableStartDir : public RunFlow {
 protected:
  void SetUp() override {
    RunFlow::SetUp();
    deep = "C:\\Work\\" + std::string(255, 'd');
    Fake().AddDir(deep);
    Fake().registry["aliasname_1"] = {sys::kRegSz, std::string("name\0", 5)};
    Fake().registry["aliasdir_1"] = {sys::kRegSz, std::string("C:\\Users\0", 9)};
    Fake().registry["history_0"] = {sys::kRegSz, std::string("C:\\Windows\0", 11)};
    Fake().registry["history_1"] = {sys::kRegSz, std::string("C:\\Users\0", 9)};
  }
  int RunThere(const std::string& arguments) {
    Fake().current_dir = deep;
    return RunVantor(arguments);
  }
  std::string deep;
};

TEST_F(UnreadableStartDir, WhatNeedsItEndsWithAnError) {
  const std::string error = "<12>Vantor: Error - can't read the current directory<7>\r\n";
  for (const char* arguments : {"", "zzz", "\\us", "-a name .", "..\\us"}) {
    SCOPED_TRACE(arguments);
    EXPECT_EQ(RunThere(arguments), kExitRunError);
    EXPECT_EQ(Fake().ColouredOutput(), error);
    EXPECT_EQ(HandOffContent(), kReset);
    EXPECT_TRUE(Fake().created.empty());
    EXPECT_EQ(Fake().registry["aliasname_1"].data, std::string("name\0", 5));
    EXPECT_EQ(Fake().registry["aliasdir_1"].data, std::string("C:\\Users\0", 9));
    EXPECT_EQ(History(0), "C:\\Windows");
    EXPECT_EQ(History(1), "C:\\Users");
  }
}

TEST_F(UnreadableStartDir, WhatDoesNotNeedItWorksAsBefore) {
  EXPECT_EQ(RunThere("C:\\Program Files"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\Program Files"));
  EXPECT_EQ(RunThere("c:\\programd"), kExitNormal);
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\ProgramData"));
  EXPECT_EQ(RunThere("-h"), kExitNormal);
  EXPECT_NE(Fake().output.find(" 0  C:\\ProgramData\r\n"), std::string::npos);
  EXPECT_EQ(RunThere("-a other C:\\Work"), kExitNormal);
  EXPECT_EQ(Fake().output, "Vantor: Adding alias other=C:\\Work\r\n");
  EXPECT_EQ(RunThere("-a other"), kExitNormal);
  EXPECT_EQ(Fake().output, "Vantor: Removing alias 'other'\r\n");
  EXPECT_EQ(RunThere("-w"), kExitScreenShown);
}

// Esc during a long search ends the run as leaving the menu does: nothing
// written (the progress line gone), the hand-off file reset, and nothing
// saved but what such a run saves.
TEST_F(RunFlow, EscDuringALongSearchEndsAsLeavingTheMenu) {
  auto long_search = [this] {
    SetUp();
    for (int n = 0; n < 30; ++n) Fake().AddDir("C:\\Work\\src\\d" + std::to_string(n) + "\\x");
    Fake().ticks_per_listing = 100;
  };
  long_search();
  Fake().PushKeyAt(1000, 27);
  EXPECT_EQ(RunVantor("*\\*"), kExitNormal);
  EXPECT_EQ(Fake().output, "");
  EXPECT_EQ(HandOffContent(), kReset);
  EXPECT_LT(Fake().listed.size(), 30u);
  EXPECT_EQ(Fake().ScreenText(0, 0, 80), std::string(80, ' '));
  const std::vector<std::string> saved = Fake().registry_writes;
  long_search();  // and left at the menu (input that is no console)
  EXPECT_EQ(RunVantor("*\\*"), kExitNormal);
  EXPECT_NE(Fake().output, "");
  EXPECT_EQ(Fake().registry_writes, saved);
}

}  // namespace
}  // namespace vantor
