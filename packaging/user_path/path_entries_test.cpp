#include "path_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor::setup {
namespace {

const std::u16string kFolder = u"C:\\Users\\Ann\\AppData\\Local\\Programs\\Vantor";

std::string Bytes(const std::u16string& text) { return EncodeNew(text); }

std::vector<std::u16string> Same(const std::vector<std::u16string>& entries) { return entries; }

// The Path text after adding kFolder to `text` (nullptr: no value).
std::u16string Added(const char16_t* text) {
  std::vector<std::u16string> entries;
  if (text != nullptr) entries = SplitPath(text);
  AddFolder(entries, kFolder);
  return JoinPath(entries);
}

TEST(StoredText, DecodingAndEncodingKeepEveryByte) {
  const std::vector<std::string> stored = {
      Bytes(u"C:\\a;%TEMP%\\b"),         // the usual: text and one NUL
      std::string("a\0b\0", 4),          // no NUL at the end
      std::string("a\0\0\0b\0\0\0", 8),  // bytes after the NUL
      std::string("a\0b\0\0\0\x41", 7),  // an odd last byte
      std::string(),                     // nothing at all
  };
  for (const std::string& bytes : stored) {
    EXPECT_EQ(EncodeStored(DecodeStored(bytes)), bytes);
  }
  StoredText usual = DecodeStored(Bytes(u"C:\\\u00e9;x"));
  EXPECT_EQ(usual.text, u"C:\\\u00e9;x");
  EXPECT_EQ(usual.tail, std::string(2, '\0'));
  StoredText cut = DecodeStored(std::string("a\0b\0\0\0c\0", 8));
  EXPECT_EQ(cut.text, u"ab");
  EXPECT_EQ(cut.tail, std::string("\0\0c\0", 4));
  EXPECT_EQ(Bytes(u"\u20ac"), std::string("\xac\x20\0\0", 4));
}

TEST(PathEntries, SplitKeepsEmptyEntriesAndJoinUndoesIt) {
  EXPECT_EQ(SplitPath(u"a;;b;"), (std::vector<std::u16string>{u"a", u"", u"b", u""}));
  EXPECT_EQ(SplitPath(u""), (std::vector<std::u16string>{u""}));
  EXPECT_EQ(SplitPath(u";"), (std::vector<std::u16string>{u"", u""}));
  for (const char16_t* text : {u"", u";", u"a", u";a;;b;;", u"C:\\x (86);50%;&^!"}) {
    EXPECT_EQ(JoinPath(SplitPath(text)), text);
  }
  EXPECT_EQ(JoinPath({}), u"");
}

TEST(PathEntries, FolderGoesLastBeforeATrailingSemicolon) {
  EXPECT_EQ(Added(nullptr), kFolder);
  EXPECT_EQ(Added(u""), kFolder + u";");
  EXPECT_EQ(Added(u"C:\\a"), u"C:\\a;" + kFolder);
  EXPECT_EQ(Added(u"C:\\a;"), u"C:\\a;" + kFolder + u";");
  EXPECT_EQ(Added(u"C:\\a;;"), u"C:\\a;;" + kFolder + u";");
}

TEST(PathEntries, RemovingWhatWasAddedRestoresTheValueExactly) {
  std::u16string long_value = u"C:\\Program Files (x86)\\Tool;%USERPROFILE%\\bin;D:\\50%;";
  while (long_value.size() <= 1500) long_value += u"E:\\a folder & more\\sub;";
  const std::vector<std::u16string> values = {
      u"",        u";",
      u";;",      u"C:\\a",
      u"C:\\a;",  u"C:\\a;;",
      u";C:\\a",  u"C:\\Windows\\",
      long_value, long_value + u"X:\\last",
  };
  for (const std::u16string& before : values) {
    std::vector<std::u16string> entries = SplitPath(before);
    AddFolder(entries, kFolder);
    EXPECT_TRUE(HasFolder(entries, Same(entries), kFolder));
    EXPECT_EQ(RemoveFolder(entries, Same(entries), kFolder), 1);
    EXPECT_EQ(JoinPath(entries), before);
    EXPECT_FALSE(entries.empty()) << "a value that was there must stay";
  }
  std::vector<std::u16string> none;
  AddFolder(none, kFolder);
  EXPECT_EQ(RemoveFolder(none, Same(none), kFolder), 1);
  EXPECT_TRUE(none.empty()) << "no value before: none after";
}

TEST(PathEntries, FolderIsRecognisedInItsOtherSpellingsOnly) {
  const std::u16string upper = u"C:\\USERS\\ANN\\APPDATA\\LOCAL\\PROGRAMS\\VANTOR";
  EXPECT_TRUE(NamesFolder(kFolder, kFolder, kFolder));
  EXPECT_TRUE(NamesFolder(upper, upper, kFolder));
  EXPECT_TRUE(NamesFolder(kFolder + u"\\", kFolder + u"\\", kFolder));
  EXPECT_TRUE(NamesFolder(u"%LOCALAPPDATA%\\Programs\\Vantor", kFolder, kFolder));
  EXPECT_FALSE(NamesFolder(kFolder + u"2", kFolder + u"2", kFolder));
  EXPECT_FALSE(NamesFolder(kFolder + u"\\\\", kFolder + u"\\\\", kFolder));
  EXPECT_FALSE(NamesFolder(u"C:\\Users\\Ann", u"C:\\Users\\Ann", kFolder));
  EXPECT_FALSE(NamesFolder(u"", u"", kFolder));
  // Only ASCII letters are compared without case.
  EXPECT_FALSE(NamesFolder(u"C:\\\u00c9", u"C:\\\u00c9", u"C:\\\u00e9"));
}

TEST(PathEntries, RemovalTakesEverySpellingAndReportsNoneWhenAbsent) {
  std::vector<std::u16string> entries = SplitPath(u"C:\\a;" + kFolder + u"\\;%V%;C:\\b;" + kFolder);
  std::vector<std::u16string> expanded = entries;
  expanded[2] = kFolder;
  EXPECT_EQ(RemoveFolder(entries, expanded, kFolder), 3);
  EXPECT_EQ(JoinPath(entries), u"C:\\a;C:\\b");
  EXPECT_FALSE(HasFolder(entries, Same(entries), kFolder));
  EXPECT_EQ(RemoveFolder(entries, Same(entries), kFolder), 0);
  EXPECT_EQ(JoinPath(entries), u"C:\\a;C:\\b");
}

}  // namespace
}  // namespace vantor::setup
