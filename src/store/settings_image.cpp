#include "store/settings_image.h"

#include <algorithm>

#include "store/stored_text.h"

namespace vantor::store {
namespace {

constexpr std::size_t kHistoryEntrySize = 256;
constexpr std::size_t kAliasOffset = 5376;
constexpr std::size_t kAliasEntrySize = 267;
constexpr std::size_t kAliasDirOffset = 11;  // within an alias entry
constexpr std::size_t kCanCreatePathOffset = 10720;

std::size_t HistoryOffset(int index) { return kHistoryEntrySize * static_cast<std::size_t>(index); }

std::size_t AliasOffset(int index) {
  return kAliasOffset + kAliasEntrySize * static_cast<std::size_t>(index);
}

// Reads the text at `offset`: a length byte (clamped to `field`) and the bytes.
std::string ReadText(const std::string& image, std::size_t offset, std::size_t field) {
  std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(image[offset]), field);
  return FromStoredText(image.substr(offset + 1, length));
}

// Writes the length byte and the stored bytes of `text`, cut to `field`;
// the bytes behind it keep what the image held.
void WriteText(std::string& image, std::size_t offset, const std::string& text, std::size_t field) {
  std::string stored = ToStoredText(text, field);
  image[offset] = static_cast<char>(stored.size());
  image.replace(offset + 1, stored.size(), stored);
}

// The image a block is written over: its own raw bytes, or zeros.
std::string BaseImage(const SettingsBlock& block) {
  std::string image = block.image;
  image.resize(kSettingsFileSize, '\0');
  return image;
}

}  // namespace

SettingsBlock DefaultSettings() {
  SettingsBlock block;
  block.aliases[0] = Alias{"dos", "c:\\dos"};
  block.aliases[1] = Alias{"win", "c:\\windows"};
  block.can_create_path = true;
  block.image = EncodeSettings(block);
  return block;
}

std::string EncodeSettings(const SettingsBlock& block) {
  std::string image = BaseImage(block);
  for (int i = 0; i < kHistorySize; ++i)
    WriteText(image, HistoryOffset(i), block.history[i], kPathField);
  for (int k = 0; k < kAliasCount; ++k) {
    WriteText(image, AliasOffset(k), block.aliases[k].name, kAliasNameField);
    WriteText(image, AliasOffset(k) + kAliasDirOffset, block.aliases[k].dir, kPathField);
  }
  // Any non-zero byte means true; one read from the file is written back as it was.
  char& flag = image[kCanCreatePathOffset];
  if (!block.can_create_path)
    flag = 0;
  else if (flag == 0)
    flag = 1;
  return image;
}

SettingsBlock DecodeSettings(const std::string& image) {
  SettingsBlock block = DefaultSettings();
  block.image.replace(0, std::min(image.size(), kSettingsFileSize), image, 0, kSettingsFileSize);
  for (int i = 0; i < kHistorySize; ++i)
    block.history[i] = ReadText(block.image, HistoryOffset(i), kPathField);
  for (int k = 0; k < kAliasCount; ++k) {
    block.aliases[k].name = ReadText(block.image, AliasOffset(k), kAliasNameField);
    block.aliases[k].dir = ReadText(block.image, AliasOffset(k) + kAliasDirOffset, kPathField);
  }
  block.can_create_path = block.image[kCanCreatePathOffset] != 0;
  return block;
}

}  // namespace vantor::store
