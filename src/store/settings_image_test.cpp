#include <gtest/gtest.h>

#include "store/settings.h"

namespace vantor::store {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes += static_cast<char>(value);
  return bytes;
}

TEST(SettingsImage, DefaultsMatchTheNewFileLayoutByteForByte) {
  std::string image = EncodeSettings(DefaultSettings());
  ASSERT_EQ(image.size(), 10736u);
  std::string expected(10736, '\0');
  expected.replace(5376, 4, Bytes({0x03, 0x64, 0x6F, 0x73}));
  expected.replace(5387, 7, Bytes({0x06, 0x63, 0x3A, 0x5C, 0x64, 0x6F, 0x73}));
  expected.replace(5643, 4, Bytes({0x03, 0x77, 0x69, 0x6E}));
  expected.replace(5654, 11,
                   Bytes({0x0A, 0x63, 0x3A, 0x5C, 0x77, 0x69, 0x6E, 0x64, 0x6F, 0x77, 0x73}));
  expected[10720] = 0x01;
  EXPECT_EQ(image, expected);
  EXPECT_EQ(DefaultSettings().image, expected);
}

TEST(SettingsImage, EntriesSitAtTheirOffsets) {
  SettingsBlock block = DefaultSettings();
  block.history[0] = "C:\\A";
  block.history[20] = "D:\\Last";
  block.aliases[19] = Alias{"zz", "E:\\z"};
  block.can_create_path = false;
  std::string image = EncodeSettings(block);
  EXPECT_EQ(image.substr(0, 5), Bytes({4}) + "C:\\A");
  EXPECT_EQ(image.substr(5120, 8), Bytes({7}) + "D:\\Last");
  EXPECT_EQ(image.substr(5376 + 267 * 19, 3), Bytes({2}) + "zz");
  EXPECT_EQ(image.substr(5376 + 267 * 19 + 11, 5), Bytes({4}) + "E:\\z");
  EXPECT_EQ(image[10720], 0);

  SettingsBlock back = DecodeSettings(image);
  EXPECT_EQ(back.history[0], "C:\\A");
  EXPECT_EQ(back.history[20], "D:\\Last");
  EXPECT_EQ(back.history[1], "");
  EXPECT_EQ(back.aliases[0].name, "dos");
  EXPECT_EQ(back.aliases[1].dir, "c:\\windows");
  EXPECT_EQ(back.aliases[19].name, "zz");
  EXPECT_EQ(back.aliases[19].dir, "E:\\z");
  EXPECT_FALSE(back.can_create_path);
}

TEST(SettingsImage, ReservedPaddingAndStaleBytesSurviveARoundTrip) {
  std::string image = EncodeSettings(DefaultSettings());
  for (std::size_t offset = 10716; offset < 10736; ++offset)
    image[offset] = static_cast<char>(0xA0 + offset - 10716);
  image[10720] = 0x05;  // true, written back as it was read
  // A history entry whose old, longer text still lies behind its length.
  image.replace(256, 12, Bytes({3}) + "C:\\Windows\\");
  // An alias name field with leftovers behind the name.
  image.replace(5376 + 267 * 2, 11, Bytes({2}) + "abXXXXXXXX");

  SettingsBlock block = DecodeSettings(image);
  EXPECT_EQ(block.history[1], "C:\\");
  EXPECT_EQ(block.aliases[2].name, "ab");
  EXPECT_TRUE(block.can_create_path);
  EXPECT_EQ(EncodeSettings(block), image);

  // Changing a text overwrites only its meaningful bytes.
  block.history[1] = "D:";
  std::string changed = EncodeSettings(block);
  EXPECT_EQ(changed.substr(256, 12), Bytes({2}) + "D:\\Windows\\");
  EXPECT_EQ(changed.substr(10716), image.substr(10716));

  block.can_create_path = false;
  EXPECT_EQ(EncodeSettings(block)[10720], 0);
  EXPECT_EQ(EncodeSettings(block)[10721], image[10721]);
}

TEST(SettingsImage, LengthsBeyondTheirFieldsAreClampedAndLongTextsCut) {
  std::string image = EncodeSettings(DefaultSettings());
  image.replace(5376, 11, Bytes({200}) + "0123456789");
  SettingsBlock block = DecodeSettings(image);
  EXPECT_EQ(block.aliases[0].name, "0123456789");
  EXPECT_EQ(block.aliases[0].dir, "c:\\dos");
  EXPECT_EQ(static_cast<unsigned char>(EncodeSettings(block)[5376]), 10);

  block.history[0] = std::string(300, 'p');
  block.aliases[1] = Alias{"abcdefghijkl", std::string(280, 'd')};
  std::string written = EncodeSettings(block);
  ASSERT_EQ(written.size(), 10736u);
  EXPECT_EQ(static_cast<unsigned char>(written[0]), 255);
  EXPECT_EQ(written[256], 0) << "the next history entry is untouched";
  SettingsBlock back = DecodeSettings(written);
  EXPECT_EQ(back.history[0], std::string(255, 'p'));
  EXPECT_EQ(back.aliases[1].name, "abcdefghij");
  EXPECT_EQ(back.aliases[1].dir, std::string(255, 'd'));
}

TEST(SettingsImage, AShortImageFillsOnlyWhatItHoldsOverTheDefaults) {
  EXPECT_EQ(EncodeSettings(DecodeSettings("")), DefaultSettings().image);

  std::string first_entry = Bytes({5}) + "C:\\Go";
  SettingsBlock block = DecodeSettings(first_entry);
  EXPECT_EQ(block.history[0], "C:\\Go");
  EXPECT_EQ(block.history[1], "");
  EXPECT_EQ(block.aliases[0].name, "dos");
  EXPECT_TRUE(block.can_create_path);
  std::string saved = EncodeSettings(block);
  ASSERT_EQ(saved.size(), 10736u);
  EXPECT_EQ(saved.substr(0, 6), first_entry);
  EXPECT_EQ(saved.substr(6), DefaultSettings().image.substr(6));

  // Cut inside a text: the missing bytes come from the defaults (zeros).
  block = DecodeSettings(Bytes({6}) + "C:\\a");
  EXPECT_EQ(block.history[0], std::string("C:\\a\0\0", 6));
}

}  // namespace
}  // namespace vantor::store
