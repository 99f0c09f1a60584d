#include "path_entries.h"

namespace vantor::setup {
namespace {

char16_t FoldAscii(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::u16string WithoutTrailingBackslash(const std::u16string& text) {
  if (!text.empty() && text.back() == u'\\') return text.substr(0, text.size() - 1);
  return text;
}

bool SameIgnoringAsciiCase(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool SameFolder(const std::u16string& a, const std::u16string& b) {
  return SameIgnoringAsciiCase(WithoutTrailingBackslash(a), WithoutTrailingBackslash(b));
}

void AppendUtf16(std::string& bytes, char16_t c) {
  bytes += static_cast<char>(c & 0xFF);
  bytes += static_cast<char>((c >> 8) & 0xFF);
}

}  // namespace

StoredText DecodeStored(const std::string& bytes) {
  StoredText stored;
  std::size_t at = 0;
  for (; at + 1 < bytes.size(); at += 2) {
    auto c = static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                   static_cast<unsigned char>(bytes[at + 1]) << 8);
    if (c == 0) break;
    stored.text += c;
  }
  stored.tail = bytes.substr(at);
  return stored;
}

std::string EncodeStored(const StoredText& stored) {
  std::string bytes;
  for (char16_t c : stored.text) AppendUtf16(bytes, c);
  return bytes + stored.tail;
}

std::string EncodeNew(const std::u16string& text) {
  return EncodeStored(StoredText{text, std::string(2, '\0')});
}

std::vector<std::u16string> SplitPath(const std::u16string& text) {
  std::vector<std::u16string> entries(1);
  for (char16_t c : text) {
    if (c == u';') {
      entries.emplace_back();
    } else {
      entries.back() += c;
    }
  }
  return entries;
}

std::u16string JoinPath(const std::vector<std::u16string>& entries) {
  std::u16string text;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) text += u';';
    text += entries[i];
  }
  return text;
}

bool NamesFolder(const std::u16string& entry, const std::u16string& expanded,
                 const std::u16string& folder) {
  return SameFolder(entry, folder) || SameFolder(expanded, folder);
}

bool HasFolder(const std::vector<std::u16string>& entries,
               const std::vector<std::u16string>& expanded, const std::u16string& folder) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (NamesFolder(entries[i], expanded[i], folder)) return true;
  }
  return false;
}

void AddFolder(std::vector<std::u16string>& entries, const std::u16string& folder) {
  if (!entries.empty() && entries.back().empty()) {
    entries.insert(entries.end() - 1, folder);
  } else {
    entries.push_back(folder);
  }
}

int RemoveFolder(std::vector<std::u16string>& entries, const std::vector<std::u16string>& expanded,
                 const std::u16string& folder) {
  std::vector<std::u16string> kept;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!NamesFolder(entries[i], expanded[i], folder)) kept.push_back(entries[i]);
  }
  int removed = static_cast<int>(entries.size() - kept.size());
  entries.swap(kept);
  return removed;
}

}  // namespace vantor::setup
