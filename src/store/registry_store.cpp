#include "store/registry_store.h"

#include "base/exit.h"
#include "platform/system.h"
#include "store/stored_text.h"

namespace vantor::store {
namespace {

std::string HistoryName(int index) { return "history_" + std::to_string(index); }
std::string AliasNameName(int number) { return "aliasname_" + std::to_string(number); }
std::string AliasDirName(int number) { return "aliasdir_" + std::to_string(number); }

void WriteValue(const std::string& name, const std::string& text) {
  if (sys::SetStringValue(name, text)) return;
  sys::CloseUserKey();
  RaiseError("Failed to set data for '" + name + "'");
}

}  // namespace

bool ReadBoolDef(const std::string& name, bool fallback) {
  std::uint32_t type = 0;
  std::string data;
  if (sys::QueryValue(name, type, data) != sys::QueryStatus::Ok) return fallback;
  if (type != sys::kRegDword || data.size() != 4) return fallback;
  return data != std::string(4, '\0');
}

std::string ReadStringDef(const std::string& name, const std::string& fallback) {
  std::uint32_t type = 0;
  std::string data;
  if (sys::QueryValue(name, type, data) != sys::QueryStatus::Ok) return fallback;
  if (type != sys::kRegSz && type != sys::kRegExpandSz) return fallback;
  return data.substr(0, data.find('\0'));
}

namespace {

// Fills `block` from the open key and closes it.
void ReadOpenKey(SettingsBlock& block) {
  block.can_create_path = ReadBoolDef("canCreatePath", true);
  for (int i = 0; i < kHistorySize; ++i)
    block.history[i] = FromRegistryText(ReadStringDef(HistoryName(i), ""), kPathField);
  for (int k = 0; k < kAliasCount; ++k) {
    block.aliases[k].name =
        FromRegistryText(ReadStringDef(AliasNameName(k + 1), ""), kAliasNameField);
    block.aliases[k].dir = FromRegistryText(ReadStringDef(AliasDirName(k + 1), ""), kPathField);
  }
  sys::CloseUserKey();
}

}  // namespace

void LoadFromRegistry(SettingsBlock& block) {
  if (sys::OpenUserKey(kRegistryKey)) ReadOpenKey(block);
}

bool ReadFromRegistry(SettingsBlock& block) {
  if (!sys::OpenUserKeyForReading(kRegistryKey)) return false;
  ReadOpenKey(block);
  return true;
}

void SaveToRegistry(const SettingsBlock& block) {
  if (!sys::OpenUserKey(kRegistryKey)) return;
  for (int i = 0; i < kHistorySize; ++i)
    WriteValue(HistoryName(i), ToRegistryText(block.history[i], kPathField));
  for (int k = 0; k < kAliasCount; ++k) {
    WriteValue(AliasNameName(k + 1), ToRegistryText(block.aliases[k].name, kAliasNameField));
    WriteValue(AliasDirName(k + 1), ToRegistryText(block.aliases[k].dir, kPathField));
  }
  sys::CloseUserKey();
}

}  // namespace vantor::store
