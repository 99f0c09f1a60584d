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
  // The lock's name in an entry of the fake's lock log.
  static std::string LockIn(const std::string& entry) {
    std::string head = entry.substr(0, entry.rfind(' '));
    return head.substr(head.rfind(' ') + 1);
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
  EXPECT_TRUE(Fake().registry_writes.empty()) << "the save found nothing changed";
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

// Two runs interleaved: run A loads, and while it waits (in its menu, say)
// run B edits the aliases; A's later changes are made to what B stored, and
// A's messages tell of that table.
TEST_F(HistoryAliasTest, AChangeIsMadeToWhatAnotherRunStoredMeanwhile) {
  store::SaveSettings();  // "dos" and "win"
  store::LoadAndSaveSettings();
  const store::SettingsBlock run_a = Settings();
  EXPECT_EQ(fake::RunVantor("-a proj X:\\d1"), 0);
  EXPECT_EQ(fake::RunVantor("-a win"), 0);

  Settings() = run_a;
  store::AddToHistory("C:\\Target");
  EXPECT_EQ(Saved("aliasname_1"), "proj");
  EXPECT_EQ(Saved("aliasname_2"), "dos");
  EXPECT_EQ(Saved("aliasname_3"), "") << "win stays removed";
  EXPECT_EQ(Saved("history_0"), "C:\\Target");
  EXPECT_EQ(Names()[0], "proj") << "the run goes on with the table as stored";

  Settings() = run_a;
  Fake().output.clear();
  Fake().colour_log.clear();
  RemoveAlias("win");
  EXPECT_EQ(Fake().ColouredOutput(), "<12>Vantor: No alias to delete called 'win'<7>\r\n");
  for (int k = 0; k < kAliasCount; ++k)
    Fake().registry["aliasname_" + std::to_string(k + 1)].data = "b" + std::to_string(k) + '\0';
  Settings() = run_a;
  Fake().output.clear();
  DefineAlias("new", "E:\\new");
  EXPECT_EQ(Fake().output,
            "Vantor: Alias list is full. Removing alias b19 = \r\n"
            "Vantor: Adding alias new=E:\\new\r\n");
  EXPECT_EQ(Saved("aliasname_2"), "b0");
}

// The lock is held around the read and the write alone; the messages come
// after it is given back. A lock another run keeps is waited for only so
// long: the change is then made and saved without it.
TEST_F(HistoryAliasTest, TheLockIsHeldAroundTheChangeAloneAndNeverStopsARun) {
  DefineAlias("a", "C:\\a");
  ASSERT_EQ(Fake().lock_log.size(), 2u);
  const std::string lock = LockIn(Fake().lock_log[0]);
  EXPECT_EQ(lock.rfind("Local\\Vantor.settings.", 0), 0u) << lock;
  EXPECT_EQ(lock.find('\\', 6), std::string::npos) << "no backslash after the namespace";
  EXPECT_EQ(Fake().lock_log[1], "give back " + lock + " @0");
  EXPECT_EQ(Fake().output, "Vantor: Adding alias a=C:\\a\r\n");
  EXPECT_TRUE(Fake().lock_held.empty());

  Fake().lock_log.clear();
  Fake().output.clear();
  Fake().locks_held_elsewhere.insert(lock);
  DefineAlias("b", "C:\\b");
  EXPECT_EQ(Fake().lock_log, std::vector<std::string>{"time out " + lock + " @0"});
  EXPECT_EQ(Saved("aliasname_1"), "b");
  EXPECT_EQ(Saved("aliasname_2"), "a");
  EXPECT_EQ(Fake().output, "Vantor: Adding alias b=C:\\b\r\n");

  // A refused registry write ends the run: the lock is given back and the
  // messages held so far come before the error's own.
  Fake().locks_held_elsewhere.clear();
  Fake().lock_log.clear();
  Fake().output.clear();
  Fake().refused_writes.insert("aliasname_1");
  EXPECT_EQ(fake::RunVantor("-a c C:\\c"), kExitUnhandledError);
  EXPECT_TRUE(Fake().lock_held.empty());
  EXPECT_EQ(Fake().lock_log.back(), "give back " + lock + " @0");
  EXPECT_EQ(Fake().output,
            "Vantor: Adding alias c=C:\\c\r\nFailed to set data for 'aliasname_1'\r\n");

  // A settings file has a lock of its own, one for every spelling of its path.
  Fake().refused_writes.clear();
  Fake().SetEnv("VANTOR", "C:\\Temp\\v.dat");
  Fake().lock_log.clear();
  fake::RunVantor("-a c C:\\c");
  const std::string file_lock = LockIn(Fake().lock_log[0]);
  EXPECT_NE(file_lock, lock);
  Fake().locks_held_elsewhere.insert(file_lock);
  Fake().SetEnv("VANTOR", "c:\\temp\\V.DAT");
  Fake().lock_log.clear();
  fake::RunVantor("-a c C:\\c");
  EXPECT_EQ(Fake().lock_log[0], "time out " + file_lock + " @0");
  // A link to it leads to the same file, so to the same lock.
  Fake().AddDir("D:\\Sync");
  Fake().file_links["D:\\SYNC\\LINK.DAT"] = "C:\\Temp\\v.dat";
  Fake().SetEnv("VANTOR", "D:\\Sync\\link.dat");
  Fake().lock_log.clear();
  fake::RunVantor("-a c C:\\c");
  EXPECT_EQ(Fake().lock_log[0], "time out " + file_lock + " @0");
}

}  // namespace
}  // namespace vantor
