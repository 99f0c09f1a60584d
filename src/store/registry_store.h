// The registry copy of the settings, used when VANTOR names no settings
// file: one value per history entry, alias name and alias directory under
// HKEY_CURRENT_USER\SOFTWARE\Orbwell Software\Vantor, and the creation
// switch, which the user sets and the program only reads.
#pragma once

#include <string>

#include "store/settings.h"

namespace vantor::store {

inline constexpr const char* kRegistryKey = "SOFTWARE\\Orbwell Software\\Vantor";

// Fills the switch, all 21 history entries and all 20 aliases of `block`
// from the key (created when missing); a missing value leaves its entry
// empty. When the key cannot be opened, `block` is left as it is.
void LoadFromRegistry(SettingsBlock& block);

// Fills `block` as LoadFromRegistry does from a key that exists, opened for
// reading only; false, leaving `block` alone, when there is no such key.
bool ReadFromRegistry(SettingsBlock& block);

// Writes "history_0".."history_20", then "aliasname_i" and "aliasdir_i"
// for i = 1..20, in that order. Does nothing when the key cannot be
// opened; a refused write raises "Failed to set data for '<name>'".
void SaveToRegistry(const SettingsBlock& block);

// Reads a flag from the open key: a 4-byte REG_DWORD, true when not 0.
// A missing value, another type or a refused read gives `fallback`.
bool ReadBoolDef(const std::string& name, bool fallback);

// Reads a text from the open key: REG_SZ or REG_EXPAND_SZ (taken literally),
// up to its first zero byte. A missing value, another type or a refused read
// gives `fallback`.
std::string ReadStringDef(const std::string& name, const std::string& fallback);

}  // namespace vantor::store
