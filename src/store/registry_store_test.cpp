#include "store/registry_store.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "fake/fake_system.h"
#include "frontend/history_alias.h"
#include "store/alias_table.h"

namespace vantor::store {
namespace {

using fake::Fake;
using fake::RegistryValue;

RegistryValue Text(const std::string& text, std::uint32_t type = sys::kRegSz) {
  return RegistryValue{type, text + std::string(1, '\0')};
}

RegistryValue Dword(std::uint32_t value) {
  std::string data;
  for (int i = 0; i < 4; ++i) data += static_cast<char>((value >> (8 * i)) & 0xFF);
  return RegistryValue{sys::kRegDword, data};
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Settings() = DefaultSettings();
  }
};

TEST_F(RegistryStoreTest, ANewKeyStartsEmptyAndGetsEveryValueButTheSwitch) {
  LoadSettings();
  EXPECT_EQ(Fake().opened_key, "") << "the key is closed after loading";
  EXPECT_EQ(Settings().aliases[0].name, "") << "the compiled-in aliases are not used";
  EXPECT_EQ(Settings().history[0], "");
  EXPECT_TRUE(Settings().can_create_path);

  Settings().history[0] = "C:\\Work";
  Settings().aliases[0] = Alias{"w", "C:\\Work"};
  SaveSettings();
  std::vector<std::string> order;
  for (int i = 0; i <= 20; ++i) order.push_back("history_" + std::to_string(i));
  for (int i = 1; i <= 20; ++i) {
    order.push_back("aliasname_" + std::to_string(i));
    order.push_back("aliasdir_" + std::to_string(i));
  }
  EXPECT_EQ(Fake().registry_writes, order);
  EXPECT_EQ(Fake().registry.size(), 61u);
  EXPECT_EQ(Fake().registry.count("canCreatePath"), 0u);
  EXPECT_EQ(Fake().registry["history_0"].data, std::string("C:\\Work\0", 8));
  EXPECT_EQ(Fake().registry["history_1"].data, std::string("\0", 1));
  EXPECT_EQ(Fake().registry["aliasname_1"].data, std::string("w\0", 2));
  EXPECT_EQ(Fake().registry["aliasdir_1"].data, std::string("C:\\Work\0", 8));
  EXPECT_EQ(Fake().registry["aliasname_2"].type, sys::kRegSz);
  EXPECT_TRUE(Fake().files.empty());
}

TEST_F(RegistryStoreTest, TheSwitchIsTrueUnlessAFourByteDwordSaysZero) {
  struct Case {
    const char* label;
    bool present;
    RegistryValue value;
    bool expected;
  };
  const Case cases[] = {
      {"dword 0", true, Dword(0), false},
      {"dword 1", true, Dword(1), true},
      {"dword 0x100", true, Dword(0x100), true},
      {"text 0", true, Text("0"), true},
      {"two bytes of zero", true, RegistryValue{sys::kRegDword, std::string(2, '\0')}, true},
      {"missing", false, RegistryValue{}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fake::ResetFake();
    if (c.present) Fake().registry["canCreatePath"] = c.value;
    LoadSettings();
    EXPECT_EQ(Settings().can_create_path, c.expected);
  }
  fake::ResetFake();
  Fake().registry["canCreatePath"] = Dword(0);
  Fake().refused_reads.insert("canCreatePath");
  LoadSettings();
  EXPECT_TRUE(Settings().can_create_path) << "a refused read gives the default";
}

TEST_F(RegistryStoreTest, TextsAreTakenLiterallyUpToTheirFirstZero) {
  Fake().registry["history_0"] = Text("%USERPROFILE%\\x", sys::kRegExpandSz);
  Fake().registry["history_1"] = RegistryValue{sys::kRegSz, std::string("C:\\a\0junk\0", 10)};
  Fake().registry["history_2"] = Dword(7);
  Fake().registry["history_3"] = RegistryValue{sys::kRegSz, "C:\\unterminated"};
  Fake().registry["history_4"] = Text("C:\\refused");
  Fake().refused_reads.insert("history_4");
  LoadSettings();
  EXPECT_EQ(Settings().history[0], "%USERPROFILE%\\x");
  EXPECT_EQ(Settings().history[1], "C:\\a");
  EXPECT_EQ(Settings().history[2], "");
  EXPECT_EQ(Settings().history[3], "C:\\unterminated");
  EXPECT_EQ(Settings().history[4], "");
}

// Each load or change reads the key once, and its save writes only what
// differs from what that read found; every value where the key is missing,
// was deleted in between, or could not be read whole.
TEST_F(RegistryStoreTest, ASaveWritesOnlyTheValuesThatChanged) {
  Fake().registry["HISTORY_1"] = Text("C:\\Users");  // names in any case
  Fake().registry["history_0"] = Text("C:\\Temp", sys::kRegExpandSz);
  LoadAndSaveSettings();
  EXPECT_EQ(Settings().history[1], "C:\\Users");
  EXPECT_EQ(Fake().registry_passes, 1);
  EXPECT_EQ(Fake().registry_writes.size(), 60u) << "all but history_1, history_0 as REG_SZ";
  Fake().registry_writes.clear();

  LoadAndSaveSettings();
  EXPECT_TRUE(Fake().registry_writes.empty()) << "a save that changes nothing";
  AddToHistory("C:\\Work");
  EXPECT_EQ(Fake().registry_writes,
            (std::vector<std::string>{"history_0", "history_1", "history_2"}));
  EXPECT_EQ(Fake().registry_passes, 3);

  Fake().registry_writes.clear();
  ChangeSettings([] {
    Fake().registry.clear();
    Fake().registry_key_exists = false;  // deleted while the run worked
    return true;
  });
  EXPECT_EQ(Fake().registry_writes.size(), 61u);
  EXPECT_EQ(Fake().registry["history_2"].data, std::string("C:\\Users\0", 9));

  Fake().registry_writes.clear();
  Fake().refused_reads.insert("history_9");
  AddToHistory("C:\\Work");
  EXPECT_EQ(Fake().registry_writes.size(), 61u);
}

TEST_F(RegistryStoreTest, LongTextsAreCutOnLoadAndSavedBackCut) {
  Fake().registry["history_0"] = Text(std::string(300, 'h'));
  Fake().registry["aliasname_1"] = Text("abcdefghijklmn");
  Fake().registry["aliasdir_1"] = Text(std::string(260, 'd'));
  LoadSettings();
  EXPECT_EQ(Settings().history[0], std::string(255, 'h'));
  EXPECT_EQ(Settings().aliases[0].name, "abcdefghij");
  EXPECT_EQ(Settings().aliases[0].dir, std::string(255, 'd'));
  SaveSettings();
  EXPECT_EQ(Fake().registry["history_0"].data, std::string(255, 'h') + '\0');
  EXPECT_EQ(Fake().registry["aliasname_1"].data, std::string("abcdefghij\0", 11));
}

TEST_F(RegistryStoreTest, ARefusedWriteRaisesAnErrorAfterTheEarlierValues) {
  LoadSettings();
  Fake().refused_writes.insert("aliasdir_3");
  try {
    SaveSettings();
    FAIL() << "the refused write was not raised";
  } catch (const UnhandledError& error) {
    EXPECT_EQ(error.message, "Failed to set data for 'aliasdir_3'");
  }
  EXPECT_EQ(Fake().registry_writes.size(), 21u + 5u);
  EXPECT_EQ(Fake().registry_writes.back(), "aliasname_3");
  EXPECT_EQ(Fake().opened_key, "");
}

TEST_F(RegistryStoreTest, AKeyThatCannotBeOpenedKeepsTheDefaultsSilently) {
  Fake().registry_key_opens = false;
  Fake().registry["history_0"] = Text("C:\\Unseen");
  LoadSettings();
  EXPECT_EQ(Settings().aliases[0].name, "dos");
  EXPECT_EQ(Settings().aliases[1].dir, "c:\\windows");
  EXPECT_EQ(Settings().history[0], "");
  AddToHistory("C:\\Work");
  EXPECT_TRUE(Fake().registry_writes.empty());
  EXPECT_EQ(Fake().output, "");
}

TEST_F(RegistryStoreTest, AMissingNameHidesTheAliasesBehindIt) {
  Fake().registry["aliasname_1"] = Text("one");
  Fake().registry["aliasdir_1"] = Text("C:\\One");
  Fake().registry["aliasdir_3"] = Text("C:\\Orphan");
  Fake().registry["aliasname_4"] = Text("four");
  Fake().registry["aliasdir_4"] = Text("C:\\Four");
  Fake().AddDir("C:\\Four");
  LoadSettings();
  EXPECT_EQ(Settings().aliases[2].name, "");
  EXPECT_EQ(Settings().aliases[2].dir, "C:\\Orphan");
  EXPECT_EQ(Settings().aliases[3].name, "four");

  std::string dir;
  EXPECT_FALSE(FindAlias("four", dir)) << "the walk stops at the empty entry";
  RemoveAlias("FOUR");
  EXPECT_EQ(Fake().output, "Vantor: No alias to delete called 'FOUR'\r\n");
  EXPECT_EQ(Settings().aliases[3].name, "four");
  EXPECT_EQ(Fake().registry["aliasname_4"].data, std::string("four\0", 5));
}

}  // namespace
}  // namespace vantor::store
