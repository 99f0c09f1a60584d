#include "store/registry_store.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "base/exit.h"
#include "platform/system.h"
#include "store/stored_text.h"

namespace vantor::store {
namespace {

// Value names compared as the registry compares them: letter case aside.
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::toupper(static_cast<unsigned char>(x)) <
             std::toupper(static_cast<unsigned char>(y));
    });
  }
};

using StoredValues = std::map<std::string, sys::RegistryValue, NameLess>;

// The key's values as they were read under the lock that the save which
// follows still holds (see ChangeSettings): that save writes only the values
// whose bytes differ. Empty when the key is read for no save, or the read
// failed part-way.
std::optional<StoredValues> values_read;

std::string HistoryName(int index) { return "history_" + std::to_string(index); }
std::string AliasNameName(int number) { return "aliasname_" + std::to_string(number); }
std::string AliasDirName(int number) { return "aliasdir_" + std::to_string(number); }

// Every value of the open key; nullopt when the read failed part-way, with
// `values` holding what was read.
std::optional<StoredValues> ReadOpenKey(StoredValues& values) {
  std::vector<std::pair<std::string, sys::RegistryValue>> read;
  const bool whole = sys::ReadAllValues(read);
  values = StoredValues(read.begin(), read.end());
  if (!whole) return std::nullopt;
  return values;
}

// A flag: a 4-byte REG_DWORD, true when not 0. A missing value or another
// type gives `fallback`.
bool FlagOf(const StoredValues& values, const std::string& name, bool fallback) {
  auto found = values.find(name);
  if (found == values.end()) return fallback;
  const sys::RegistryValue& value = found->second;
  if (value.type != sys::kRegDword || value.data.size() != 4) return fallback;
  return value.data != std::string(4, '\0');
}

// A text: REG_SZ or REG_EXPAND_SZ (taken literally), up to its first zero,
// as it is stored (see FromRegistryText), cut to `limit`. A missing value or
// another type gives "".
std::string TextOf(const StoredValues& values, const std::string& name, std::size_t limit) {
  auto found = values.find(name);
  if (found == values.end()) return std::string();
  const sys::RegistryValue& value = found->second;
  if (value.type != sys::kRegSz && value.type != sys::kRegExpandSz) return std::string();
  return FromRegistryText(value.data.substr(0, value.data.find('\0')), limit);
}

// Fills `block` from the values read.
void FillBlock(const StoredValues& values, SettingsBlock& block) {
  block.can_create_path = FlagOf(values, "canCreatePath", true);
  for (int i = 0; i < kHistorySize; ++i)
    block.history[i] = TextOf(values, HistoryName(i), kPathField);
  for (int k = 0; k < kAliasCount; ++k) {
    block.aliases[k].name = TextOf(values, AliasNameName(k + 1), kAliasNameField);
    block.aliases[k].dir = TextOf(values, AliasDirName(k + 1), kPathField);
  }
}

// Fills `block` from the open key, keeps its values for the next save and
// closes it.
void LoadOpenKey(SettingsBlock& block) {
  StoredValues values;
  values_read = ReadOpenKey(values);
  FillBlock(values, block);
  sys::CloseUserKey();
}

// Writes `text` (the registry's form, see ToRegistryText) as REG_SZ to the
// open key unless `stored` already holds exactly that text.
void WriteValue(StoredValues& stored, const std::string& name, const std::string& text) {
  sys::RegistryValue value{sys::kRegSz, text + '\0'};
  auto found = stored.find(name);
  if (found != stored.end() && found->second.type == value.type && found->second.data == value.data)
    return;
  if (!sys::SetStringValue(name, text)) {
    sys::CloseUserKey();
    RaiseError("Failed to set data for '" + name + "'");
  }
  stored[name] = value;
}

}  // namespace

void LoadFromRegistry(SettingsBlock& block) {
  bool created = false;
  values_read.reset();
  if (!sys::OpenUserKey(kRegistryKey, created)) return;
  if (!created) return LoadOpenKey(block);
  values_read = StoredValues();  // a new key holds nothing
  FillBlock(*values_read, block);
  sys::CloseUserKey();
}

bool ReadFromRegistry(SettingsBlock& block) {
  values_read.reset();
  if (!sys::OpenUserKeyForReading(kRegistryKey)) return false;
  LoadOpenKey(block);
  return true;
}

void SaveToRegistry(const SettingsBlock& block) {
  bool created = false;
  std::optional<StoredValues> stored;
  stored.swap(values_read);  // good for this save only
  if (!sys::OpenUserKey(kRegistryKey, created)) return;
  if (created) {
    stored = StoredValues();
  } else if (!stored) {
    StoredValues values;
    stored = ReadOpenKey(values);
    if (!stored) stored = StoredValues();  // what could not be read is written
  }
  for (int i = 0; i < kHistorySize; ++i)
    WriteValue(*stored, HistoryName(i), ToRegistryText(block.history[i], kPathField));
  for (int k = 0; k < kAliasCount; ++k) {
    WriteValue(*stored, AliasNameName(k + 1),
               ToRegistryText(block.aliases[k].name, kAliasNameField));
    WriteValue(*stored, AliasDirName(k + 1), ToRegistryText(block.aliases[k].dir, kPathField));
  }
  sys::CloseUserKey();
}

}  // namespace vantor::store
