#include "store/settings.h"

#include <gtest/gtest.h>

#include "fake/fake_system.h"

namespace vantor::store {
namespace {

using fake::Fake;

constexpr const char* kPath = "C:\\Temp\\vantor.dat";

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Settings() = DefaultSettings();
    Fake().SetEnv("VANTOR", kPath);
  }
  static void PutFile(const std::string& bytes) { Fake().files[fake::Upper(kPath)] = bytes; }
  static std::string FileBytes() { return Fake().FileContent(kPath); }
  static std::string ReadFailure() {
    return std::string("<12>Vantor: Error - can't read settings from '") + kPath +
           "'\r\n        Creating new file\r\n";
  }
  static std::string WriteFailure() {
    return std::string("<12>Vantor: Error - can't write to '") + kPath + "'<7>\r\n";
  }
};

TEST_F(SettingsFileTest, LoadsTheFileAndSavesItBackUnchanged) {
  SettingsBlock block = DefaultSettings();
  block.history[0] = "C:\\Work";
  block.aliases[2] = Alias{"src", "C:\\Work\\src"};
  std::string image = EncodeSettings(block);
  image[10716] = 0x11;
  image[10731] = 0x22;
  image[10735] = 0x33;
  PutFile(image);
  Fake().registry["history_0"] = fake::RegistryValue{sys::kRegSz, std::string("C:\\Reg\0", 7)};

  LoadSettings();
  EXPECT_EQ(Settings().history[0], "C:\\Work") << "the file alone is read, not the registry";
  EXPECT_EQ(Settings().aliases[2].dir, "C:\\Work\\src");
  EXPECT_EQ(Fake().output, "");
  PutFile("");
  SaveSettings();
  EXPECT_EQ(FileBytes(), image);
  EXPECT_EQ(Fake().files.size(), 1u) << "no temporary file is left behind";
  EXPECT_EQ(Fake().registry.size(), 1u) << "the registry is left as it was";
  EXPECT_TRUE(Fake().registry_writes.empty());
}

TEST_F(SettingsFileTest, AMissingFileIsReportedAndCreatedWithTheDefaults) {
  LoadSettings();
  EXPECT_EQ(Fake().ColouredOutput(), ReadFailure() + "<7>\r\n");
  EXPECT_EQ(FileBytes(), DefaultSettings().image);
  EXPECT_EQ(Settings().aliases[0].name, "dos");
  EXPECT_TRUE(Fake().registry_writes.empty());
}

TEST_F(SettingsFileTest, AReadOnlyFileCanNeitherBeReadNorReplaced) {
  SettingsBlock block = DefaultSettings();
  block.history[0] = "C:\\Kept";
  PutFile(EncodeSettings(block));
  Fake().read_only_files.insert(fake::Upper(kPath));

  LoadSettings();
  EXPECT_EQ(Fake().ColouredOutput(), ReadFailure() + WriteFailure() + "<7>\r\n");
  EXPECT_EQ(Settings().history[0], "");
  EXPECT_EQ(FileBytes(), EncodeSettings(block)) << "the old file is intact";
  EXPECT_EQ(Fake().files.size(), 1u) << "the temporary file was deleted";

  Fake().output.clear();
  Fake().colour_log.clear();
  AddToHistory("C:\\New");
  EXPECT_EQ(Fake().ColouredOutput(), WriteFailure());
  EXPECT_EQ(Settings().history[0], "C:\\New") << "the block in memory goes on";
}

TEST_F(SettingsFileTest, ADirectoryIsNeitherReadNorReplaced) {
  Fake().AddDir(kPath);
  LoadSettings();
  EXPECT_EQ(Fake().ColouredOutput(), ReadFailure() + WriteFailure() + "<7>\r\n");
  EXPECT_TRUE(Fake().DirExists(kPath));
  EXPECT_TRUE(Fake().files.empty()) << "no file took its name, no temporary file is left";
}

TEST_F(SettingsFileTest, AFolderThatCannotBeWrittenLeavesNothingBehind) {
  Fake().SetEnv("VANTOR", "C:\\Missing\\vantor.dat");
  LoadSettings();
  EXPECT_NE(Fake().output.find("can't write to 'C:\\Missing\\vantor.dat'"), std::string::npos);
  EXPECT_TRUE(Fake().files.empty());
}

TEST_F(SettingsFileTest, AShortFileIsReadOverTheDefaultsAndSavedWhole) {
  PutFile(std::string(1, '\x07') + "C:\\Half");
  LoadSettings();
  EXPECT_EQ(Settings().history[0], "C:\\Half");
  EXPECT_EQ(Settings().aliases[1].name, "win");
  EXPECT_EQ(Fake().output, "");
  SaveSettings();
  ASSERT_EQ(FileBytes().size(), kSettingsFileSize);
  EXPECT_EQ(DecodeSettings(FileBytes()).history[0], "C:\\Half");
}

TEST_F(SettingsFileTest, AnEmptyOrMissingVariableSelectsTheRegistry) {
  for (bool defined : {false, true}) {
    SCOPED_TRACE(defined);
    fake::ResetFake();
    if (defined) Fake().SetEnv("VANTOR", "");
    Fake().registry["history_0"] = fake::RegistryValue{sys::kRegSz, std::string("C:\\Reg\0", 7)};
    LoadSettings();
    EXPECT_EQ(Fake().output, "") << "no file is looked for";
    EXPECT_EQ(Settings().history[0], "C:\\Reg");
    SaveSettings();
    EXPECT_TRUE(Fake().files.empty());
    EXPECT_EQ(Fake().registry_writes.size(), 60u) << "all but history_0, as it is stored";
  }
}

TEST_F(SettingsFileTest, APathLongerThanTheFileCallsTakeIsReportedAndNeverCut) {
  std::string folder = "C:\\" + std::string(250, 'f');
  Fake().AddDir(folder);
  for (std::size_t length : {260u, 1023u, 1024u}) {
    SCOPED_TRACE(length);
    std::string too_long = folder + "\\" + std::string(length - folder.size() - 1, 'n');
    Fake().SetEnv("VANTOR", too_long);
    Fake().output.clear();
    Fake().colour_log.clear();
    LoadSettings();
    EXPECT_EQ(Fake().ColouredOutput(),
              "<12>Vantor: Error - can't read settings from '" + too_long +
                  "'\r\n        Creating new file\r\n<12>Vantor: Error - can't write to '" +
                  too_long + "'<7>\r\n<7>\r\n");
    EXPECT_TRUE(Fake().files.empty());
    EXPECT_TRUE(Fake().registry_writes.empty());
  }
}

// Paths of 250 to 259 characters: the block beside the file would pass the
// limit under the file's own name, so it takes a short one, or the file is
// written in place when even that does not fit.
TEST_F(SettingsFileTest, TheDeepestPathsAreCreatedReadAndSaved) {
  for (std::size_t folder_length : {120u, 245u, 250u, 257u}) {
    for (std::size_t length : {250u, 255u, 259u}) {
      if (folder_length + 2 > length) continue;
      SCOPED_TRACE(std::to_string(folder_length) + " " + std::to_string(length));
      fake::ResetFake();
      Settings() = DefaultSettings();
      std::string folder = "C:\\" + std::string(folder_length - 3, 'f');
      Fake().AddDir(folder);
      std::string path = folder + "\\" + std::string(length - folder_length - 1, 'n');
      ASSERT_EQ(path.size(), length);
      Fake().SetEnv("VANTOR", path);
      LoadSettings();
      EXPECT_EQ(Fake().output, "Vantor: Error - can't read settings from '" + path +
                                   "'\r\n        Creating new file\r\n\r\n")
          << "created without a write failure";
      EXPECT_TRUE(Fake().FileContent(path) == DefaultSettings().image);

      Settings() = DefaultSettings();
      Fake().output.clear();
      LoadSettings();
      EXPECT_EQ(Fake().output, "") << "read back";
      AddToHistory("C:\\Work");
      EXPECT_EQ(Fake().output, "") << "saved";
      EXPECT_EQ(DecodeSettings(Fake().FileContent(path)).history[0], "C:\\Work");
      EXPECT_EQ(Fake().files.size(), 1u) << "no temporary file is left";
    }
  }
}

TEST_F(SettingsFileTest, ARelativePathKeepsNamingTheFileBesideTheStartDirectory) {
  Fake().AddDir("C:\\Work\\sub");
  Fake().current_dir = "C:\\Work";
  Fake().SetEnv("VANTOR", "sub\\v.dat");
  LoadSettings();
  Fake().current_dir = "C:\\Temp";
  AddToHistory("C:\\Temp");
  EXPECT_EQ(DecodeSettings(Fake().FileContent("C:\\Work\\sub\\v.dat")).history[0], "C:\\Temp");
  EXPECT_FALSE(Fake().FileExists("C:\\Temp\\sub\\v.dat"));
  EXPECT_EQ(
      Fake().output,
      "Vantor: Error - can't read settings from 'sub\\v.dat'\r\n        Creating new file\r\n\r\n");

  fake::ResetFake();
  Fake().AddDir("D:\\Work");
  Fake().current_dir = "D:\\Work";
  Fake().SetEnv("VANTOR", "\\v.dat");
  LoadSettings();
  Fake().current_dir = "C:\\";
  SaveSettings();
  EXPECT_TRUE(Fake().FileExists("D:\\v.dat"));
  EXPECT_FALSE(Fake().FileExists("C:\\v.dat"));
}

// Every relative form is resolved once, at load, as the system resolves it:
// a drive-relative name against that drive's own directory, any relative
// name against a network start directory too. Later saves, made after the
// run has entered another directory, reach the same one file.
TEST_F(SettingsFileTest, EveryRelativeFormNamesOneFileForTheWholeRun) {
  struct Row {
    const char* start;
    const char* vantor;
    const char* file;
  };
  for (const Row& row :
       {Row{"C:\\Work", "C:v.dat", "C:\\Work\\v.dat"},
        Row{"C:\\Work", "D:v.dat", "D:\\Data\\v.dat"}, Row{"C:\\Work", "d:..\\v.dat", "D:\\v.dat"},
        Row{"\\\\srv\\share\\dir", "v.dat", "\\\\srv\\share\\dir\\v.dat"},
        Row{"\\\\srv\\share\\dir", "..\\v.dat", "\\\\srv\\share\\v.dat"}}) {
    SCOPED_TRACE(std::string(row.start) + " " + row.vantor);
    fake::ResetFake();
    const char* entered[] = {"C:\\Work\\sub", "D:\\Data\\sub", "\\\\srv\\share\\dir\\sub"};
    for (const char* dir : entered) Fake().AddDir(dir);
    Fake().drive_dirs['D'] = "D:\\Data";
    Fake().current_dir = row.start;
    Fake().SetEnv("VANTOR", row.vantor);
    LoadSettings();
    for (const char* dir : entered) {
      Fake().current_dir = dir;
      AddToHistory(dir);
    }
    EXPECT_EQ(DecodeSettings(Fake().FileContent(row.file)).history[0], entered[2]);
    EXPECT_EQ(Fake().files.size(), 1u) << "one settings file, nothing else";
    EXPECT_NE(Fake().output.find(std::string("from '") + row.vantor + "'"), std::string::npos)
        << "messages quote the variable as set";
  }
}

// A save keeps the file the user has: a link's own file gets the block (the
// link stays a link), a file with several names is written in place, and so
// is one whose folder refuses new files; a read-only one is still refused.
TEST_F(SettingsFileTest, ASaveKeepsTheFileTheUserHas) {
  Fake().AddDir("D:\\Sync");
  Fake().files["D:\\SYNC\\V.DAT"] = DefaultSettings().image;
  Fake().file_links[fake::Upper(kPath)] = "D:\\Sync\\v.dat";
  LoadSettings();
  AddToHistory("C:\\Linked");
  EXPECT_EQ(DecodeSettings(Fake().FileContent("D:\\Sync\\v.dat")).history[0], "C:\\Linked");
  EXPECT_TRUE(Fake().file_links.count(fake::Upper(kPath))) << "the link is still a link";
  EXPECT_EQ(Fake().files.size(), 1u) << "no block left beside either name";

  Fake().hard_links["D:\\SYNC\\V.DAT"] = 2;
  AddToHistory("C:\\Named twice");
  EXPECT_EQ(Fake().hard_links["D:\\SYNC\\V.DAT"], 2u) << "written in place";
  EXPECT_EQ(DecodeSettings(FileBytes()).history[0], "C:\\Named twice");

  Fake().file_links.clear();
  PutFile(DefaultSettings().image);
  Fake().unwritable_folders.insert("C:\\TEMP");
  LoadSettings();
  AddToHistory("C:\\In place");
  EXPECT_EQ(DecodeSettings(FileBytes()).history[0], "C:\\In place");
  EXPECT_EQ(Fake().output, "");
  Fake().read_only_files.insert(fake::Upper(kPath));
  SaveSettings();
  EXPECT_EQ(Fake().ColouredOutput(), WriteFailure());
}

// A file that cannot be replaced is written over in place at once, and
// nothing is left beside it: one whose rules refuse the move (a copy given
// them could not be deleted either), one whose rules cannot be read (a copy
// without them would drop them), and one the system cannot identify in a
// folder that refuses new files.
TEST_F(SettingsFileTest, AFileThatCannotBeReplacedIsWrittenInPlaceAndNothingIsLeft) {
  const std::pair<const char*, std::set<std::string> fake::FakeSystem::*> cases[] = {
      {"deletion refused", &fake::FakeSystem::undeletable_files},
      {"rules unreadable", &fake::FakeSystem::unreadable_rules},
      {"not identified", &fake::FakeSystem::unidentifiable_files},
  };
  for (const auto& [what, refusal] : cases) {
    SetUp();
    PutFile(DefaultSettings().image);
    Fake().file_rules[fake::Upper(kPath)] = "owner alone";
    (Fake().*refusal).insert(fake::Upper(kPath));
    if (refusal == &fake::FakeSystem::unidentifiable_files)
      Fake().unwritable_folders.insert("C:\\TEMP");
    LoadSettings();
    AddToHistory("C:\\Kept");
    EXPECT_EQ(DecodeSettings(FileBytes()).history[0], "C:\\Kept") << what;
    EXPECT_EQ(Fake().files.size(), 1u) << what << ": a copy was left beside the file";
    EXPECT_EQ(Fake().file_rules[fake::Upper(kPath)], "owner alone") << what;
    EXPECT_EQ(Fake().output, "") << what;
  }
}

// The read that other commands may make at any time: it finds what is
// stored, and a missing file or key stays missing.
TEST_F(SettingsFileTest, ReadingTheStoredBlockChangesNothing) {
  SettingsBlock block = DefaultSettings();
  block.history[0] = "C:\\Untouched";
  EXPECT_FALSE(ReadStoredSettings(block));
  EXPECT_EQ(block.history[0], "C:\\Untouched");
  EXPECT_TRUE(Fake().files.empty());

  SettingsBlock stored = DefaultSettings();
  stored.aliases[0] = Alias{"src", "C:\\Src"};
  PutFile(EncodeSettings(stored));
  Fake().read_only_files.insert(fake::Upper(kPath));
  EXPECT_FALSE(ReadStoredSettings(block)) << "a file the run would not read either";
  Fake().read_only_files.clear();
  ASSERT_TRUE(ReadStoredSettings(block));
  EXPECT_EQ(block.aliases[0].name, "src");
  EXPECT_EQ(block.image, EncodeSettings(stored));

  Fake().UnsetEnv("VANTOR");
  EXPECT_FALSE(ReadStoredSettings(block)) << "no key yet";
  EXPECT_FALSE(Fake().registry_key_exists) << "and none was created";
  Fake().registry["aliasname_1"] = fake::RegistryValue{sys::kRegSz, std::string("reg\0", 4)};
  ASSERT_TRUE(ReadStoredSettings(block));
  EXPECT_EQ(block.aliases[0].name, "reg");
  EXPECT_EQ(block.history[0], "");
  EXPECT_TRUE(Fake().registry_writes.empty());
  EXPECT_EQ(Fake().output, "");
}

class HistoryTest : public SettingsFileTest {
 protected:
  void SetUp() override {
    SettingsFileTest::SetUp();
    LoadSettings();
    Fake().output.clear();
    Fake().colour_log.clear();
  }
  // Stores `count` entries: a change applies to the history as stored.
  static void Fill(int count) {
    for (int i = 0; i < count; ++i) Settings().history[i] = "C:\\D" + std::to_string(i);
    SaveSettings();
  }
  static std::vector<std::string> Saved() {
    SettingsBlock block = DecodeSettings(FileBytes());
    return std::vector<std::string>(block.history.begin(), block.history.end());
  }
  static std::vector<std::string> InMemory() {
    return std::vector<std::string>(Settings().history.begin(), Settings().history.end());
  }
};

TEST_F(HistoryTest, AnEntryFoundFurtherBackMovesToTheFront) {
  Fill(8);
  AddToHistory("C:\\D5");
  std::vector<std::string> expected = {"C:\\D5", "C:\\D0", "C:\\D1", "C:\\D2",
                                       "C:\\D3", "C:\\D4", "C:\\D6", "C:\\D7"};
  expected.resize(kHistorySize);
  EXPECT_EQ(InMemory(), expected);
  EXPECT_EQ(Saved(), expected) << "the change is saved at once";
}

TEST_F(HistoryTest, AnEntryDifferingOnlyInCaseIsReplacedByTheNewForm) {
  Settings().history[0] = "C:\\Work";
  Settings().history[1] = "C:\\CAF\xC3\x89";
  SaveSettings();
  AddToHistory("c:\\caf\xC3\xA9");
  EXPECT_EQ(Settings().history[0], "c:\\caf\xC3\xA9");
  EXPECT_EQ(Settings().history[1], "C:\\Work");
  EXPECT_EQ(Settings().history[2], "");

  AddToHistory("C:\\Work\\");
  EXPECT_EQ(Settings().history[0], "C:\\Work\\") << "a trailing backslash makes another text";
  EXPECT_EQ(Settings().history[2], "C:\\Work");
}

TEST_F(HistoryTest, AFullListDropsItsOldestEntry) {
  Fill(kHistorySize);
  AddToHistory("C:\\New");
  EXPECT_EQ(Settings().history[0], "C:\\New");
  EXPECT_EQ(Settings().history[1], "C:\\D0");
  EXPECT_EQ(Settings().history[20], "C:\\D19");

  AddToHistory("C:\\D19");
  EXPECT_EQ(Settings().history[0], "C:\\D19");
  EXPECT_EQ(Settings().history[20], "C:\\D18") << "nothing more fell off";
}

TEST_F(HistoryTest, ALongPathIsCutToTheField) {
  std::string path = "C:\\" + std::string(300, 'x');
  AddToHistory(path);
  EXPECT_EQ(Settings().history[0], path.substr(0, 255));
  EXPECT_EQ(Saved()[0], path.substr(0, 255));
  AddToHistory(path);
  EXPECT_EQ(Settings().history[1], "") << "the cut form is found again";
}

TEST_F(HistoryTest, AnEmptyPathIsNotRecorded) {
  Fill(3);
  Fake().files.clear();
  AddToHistory("");
  EXPECT_EQ(Settings().history[0], "C:\\D0") << "the entries stay reachable";
  EXPECT_EQ(Settings().history[3], "");
  EXPECT_FALSE(Fake().FileExists(kPath)) << "nothing changed, nothing saved";
}

}  // namespace
}  // namespace vantor::store
