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
// from the key (created when missing), in one read of the key; a missing
// value leaves its entry empty. When the key cannot be opened, `block` is
// left as it is.
void LoadFromRegistry(SettingsBlock& block);

// Fills `block` as LoadFromRegistry does from a key that exists, opened for
// reading only; false, leaving `block` alone, when there is no such key.
bool ReadFromRegistry(SettingsBlock& block);

// Writes "history_0".."history_20", then "aliasname_i" and "aliasdir_i"
// for i = 1..20, in that order, each as REG_SZ and only where the key does
// not hold those bytes already: compared with the values that the last load
// or read took from the key when no save has used them yet (a change reads
// and saves under one lock), else with the key as read now; every value when
// the key was missing. Does
// nothing when the key cannot be opened; a refused write raises
// "Failed to set data for '<name>'".
void SaveToRegistry(const SettingsBlock& block);

}  // namespace vantor::store
