#include "frontend/history_alias.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "base/start_dir.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"
#include "store/settings.h"

namespace vantor {
namespace {

using fake::ExitCodeOf;
using fake::Fake;
using store::Alias;
using store::DefaultSettings;
using store::kAliasCount;
using store::kPathField;
using store::LoadSettings;
using store::Settings;

// The table and history live in the registry of the fake; every save
// writes all 61 values, so the write log tells whether a save happened.
class HistoryAliasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Settings() = DefaultSettings();
    Fake().registry_key_opens = false;
    LoadSettings();
    Fake().registry_key_opens = true;
  }
  static std::string Saved(const std::string& value) {
    const std::string& data = Fake().registry[value].data;
    return data.substr(0, data.find('\0'));
  }
  static void FillAliases(int count) {
    for (int k = 0; k < kAliasCount; ++k)
      Settings().aliases[k] =
          k < count ? Alias{"a" + std::to_string(k), "C:\\A" + std::to_string(k)} : Alias{};
  }
  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const Alias& alias : Settings().aliases) names.push_back(alias.name);
    return names;
  }
};

TEST_F(HistoryAliasTest, HistoryScreenListsTheOldestEntryFirst) {
  EXPECT_EQ(ExitCodeOf(ShowHistory), 0);
  EXPECT_EQ(Fake().ColouredOutput(), "<12>No directories in history.<7>\r\n");

  Fake().output.clear();
  Fake().colour_log.clear();
  for (int i = 0; i < 5; ++i) Settings().history[i] = "C:\\H" + std::to_string(i);
  Settings().history[12] = "D:\\Far";  // an entry behind a gap is still shown
  EXPECT_EQ(ExitCodeOf(ShowHistory), 0);
  std::string expected = "<14>  Vantor Directory History  <7>\r\n<10>  12  <7>D:\\Far\r\n";
  for (int i = 4; i >= 0; --i)
    expected += "<10>   " + std::to_string(i) + "  <7>C:\\H" + std::to_string(i) + "\r\n";
  EXPECT_EQ(Fake().ColouredOutput(), expected);
  EXPECT_TRUE(Fake().registry_writes.empty());
}

TEST_F(HistoryAliasTest, AliasScreenShowsWhatIsLeftAndNamesEndingInColumnTwelve) {
  EXPECT_EQ(ExitCodeOf([] { AliasOption({"-a"}); }), 0);
  EXPECT_EQ(Fake().ColouredOutput(),
            "<14>  Vantor Directory Aliases (18 entries remaining)  <7>\r\n"
            "<10>         win<7> = c:\\windows<7>\r\n"
            "<10>         dos<7> = c:\\dos<7>\r\n");

  struct Case {
    int used;
    const char* title;
  };
  for (Case c : {Case{0, "20 entries"}, Case{19, "1 entry"}, Case{20, "No entries"}}) {
    SCOPED_TRACE(c.used);
    Fake().output.clear();
    Fake().colour_log.clear();
    FillAliases(c.used);
    EXPECT_EQ(ExitCodeOf([] { AliasOption({"-A"}); }), 0);
    std::string title = std::string("  Vantor Directory Aliases (") + c.title + " remaining)  ";
    EXPECT_EQ(Fake().output.substr(0, Fake().output.find('\r')), title);
    std::size_t lines = 0;
    for (char ch : Fake().output) lines += ch == '\n';
    EXPECT_EQ(lines, static_cast<std::size_t>(c.used + 1));
  }

  Fake().output.clear();
  Fake().colour_log.clear();
  FillAliases(0);
  Settings().aliases[0] = Alias{"tenletters", "X:"};
  EXPECT_EQ(ExitCodeOf([] { AliasOption({"-a"}); }), 0);
  EXPECT_NE(Fake().ColouredOutput().find("<10>  tenletters<7> = X:<7>\r\n"), std::string::npos);
}

TEST_F(HistoryAliasTest, DefiningPutsTheAliasFirstAndSavesIt) {
  SetStartDir("C:\\Start Here");
  EXPECT_EQ(ExitCodeOf([] { AliasOption({"-a", "Projects12345", ".", "ignored"}); }), 0);
  EXPECT_EQ(Fake().ColouredOutput(), "<14>Vantor: Adding alias Projects12=C:\\Start Here<7>\r\n");
  EXPECT_EQ(Settings().aliases[0].name, "Projects12");
  EXPECT_EQ(Settings().aliases[0].dir, "C:\\Start Here");
  EXPECT_EQ(Settings().aliases[1].name, "dos");
  EXPECT_EQ(Saved("aliasname_1"), "Projects12");
  EXPECT_EQ(Saved("aliasdir_3"), "c:\\windows");

  Fake().output.clear();
  Fake().colour_log.clear();
  EXPECT_EQ(ExitCodeOf([] { AliasOption({"-a", "WIN", "..\\rel"}); }), 0);
  EXPECT_EQ(Fake().output, "Vantor: Adding alias WIN=..\\rel\r\n");
  EXPECT_EQ(Names()[0], "WIN");
  EXPECT_EQ(Names()[1], "Projects12");
  EXPECT_EQ(Names()[2], "dos");
  EXPECT_EQ(Names()[3], "");
}

// The message shows the directory as it was given; only the stored copy is
// cut to its field.
TEST_F(HistoryAliasTest, TheAdditionShowsTheDirectoryAsGiven) {
  const std::string dir = "C:\\" + std::string(300, 'x');
  DefineAlias("long", dir);
  EXPECT_EQ(Fake().output, "Vantor: Adding alias long=" + dir + "\r\n");
  EXPECT_EQ(Settings().aliases[0].dir, dir.substr(0, kPathField));
}

TEST_F(HistoryAliasTest, AFullTableDropsItsOldestAliasUnlessTheNameIsReused) {
  FillAliases(kAliasCount);
  DefineAlias("A7", "E:\\seven");
  EXPECT_EQ(Fake().ColouredOutput(), "<14>Vantor: Adding alias A7=E:\\seven<7>\r\n");
  EXPECT_EQ(Names()[0], "A7");
  EXPECT_EQ(Names()[8], "a8");
  EXPECT_EQ(Names()[19], "a19");

  Fake().output.clear();
  Fake().colour_log.clear();
  DefineAlias("new", "E:\\new");
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Vantor: Alias list is full. Removing alias a19 = C:\\A19<7>\r\n"
            "<14>Vantor: Adding alias new=E:\\new<7>\r\n");
  EXPECT_EQ(Names()[0], "new");
  EXPECT_EQ(Names()[19], "a18");
  EXPECT_EQ(Saved("aliasname_20"), "a18");
}

TEST_F(HistoryAliasTest, RemovingReportsWhetherTheAliasWasThereAndSavesEitherWay) {
  EXPECT_EQ(ExitCodeOf([] { AliasOption({"-a", "DOS"}); }), 0);
  EXPECT_EQ(Fake().ColouredOutput(), "<14>Vantor: Removing alias 'DOS'<7>\r\n");
  EXPECT_EQ(Names()[0], "win");
  EXPECT_EQ(Names()[1], "");
  EXPECT_EQ(Saved("aliasname_1"), "win");
  EXPECT_EQ(Saved("aliasname_2"), "");

  Fake().output.clear();
  Fake().colour_log.clear();
  Fake().registry_writes.clear();
  EXPECT_EQ(ExitCodeOf([] { AliasOption({"-a", "nothere123456"}); }), 0);
  EXPECT_EQ(Fake().ColouredOutput(), "<12>Vantor: No alias to delete called 'nothere123'<7>\r\n");
  EXPECT_EQ(Fake().registry_writes.size(), 61u);
  EXPECT_EQ(Names()[0], "win");
}

TEST_F(HistoryAliasTest, AnEmptyNameIsRefusedAndChangesNothing) {
  for (std::vector<std::string> args :
       {std::vector<std::string>{"-a", "", "C:\\x"}, std::vector<std::string>{"-a", ""}}) {
    SCOPED_TRACE(args.size());
    Fake().output.clear();
    Fake().colour_log.clear();
    EXPECT_EQ(ExitCodeOf([&] { AliasOption(args); }), 0);
    EXPECT_EQ(Fake().ColouredOutput(), "<12>Vantor: Error - An alias name can't be empty<7>\r\n");
    EXPECT_EQ(Names()[0], "dos");
    EXPECT_EQ(Names()[2], "");
    EXPECT_TRUE(Fake().registry_writes.empty());
  }
}

TEST_F(HistoryAliasTest, PromotingMovesTheAliasFirstInTheFormTyped) {
  FillAliases(5);
  PromoteAlias("A3");
  EXPECT_EQ(Names(), (std::vector<std::string>{"A3", "a0", "a1", "a2", "a4", "", "", "", "", "",
                                               "",   "",   "",   "",   "",   "", "", "", "", ""}));
  EXPECT_EQ(Settings().aliases[0].dir, "C:\\A3");
  EXPECT_EQ(Saved("aliasname_1"), "A3");
  EXPECT_EQ(Fake().output, "");
}

TEST_F(HistoryAliasTest, UsingAnAliasPromotesItAndChangesToItsDirectory) {
  Fake().AddDir("C:\\Windows");
  EXPECT_EQ(ExitCodeOf([] { UseAlias("WiN", "c:\\windows"); }), 0);
  EXPECT_EQ(Names()[0], "WiN");
  EXPECT_EQ(Saved("aliasname_1"), "WiN");
  EXPECT_EQ(Settings().history[0], "C:\\windows") << "the path as the system reports it";
  EXPECT_EQ(Fake().FileContent("C:\\Temp\\vantor2.bat"), "C:\r\nchdir \"\\windows\"\r\n");

  // A directory that cannot be entered: the alias has moved first anyway.
  Fake().output.clear();
  Fake().colour_log.clear();
  EXPECT_EQ(ExitCodeOf([] { UseAlias("dos", "c:\\dos"); }), 243);
  EXPECT_EQ(Names()[0], "dos");
  EXPECT_EQ(Saved("aliasname_1"), "dos");
  EXPECT_EQ(Fake().output, "Vantor: Could not change directory to 'c:\\dos'\r\n");
}

}  // namespace
}  // namespace vantor
