// The persistent settings: the history of visited directories, the alias
// table and the creation switch, held in one fixed-size block that is kept
// in the settings file named by VANTOR or, without it, in the registry.
#pragma once

#include <string>

#include "store/settings_image.h"

namespace vantor::store {

// The block of this run.
SettingsBlock& Settings();

// Fills Settings() from the settings file named by VANTOR or, when VANTOR
// is not set or empty, from the registry; the choice holds for the run. A
// relative VANTOR is resolved to a full path here, once, for every save.
// A file that cannot be opened for reading and writing is reported (light
// red) and the block in memory is written to it. Never ends the run.
void LoadSettings();

// Reads the stored block with no side effects at all: the settings file
// named by VANTOR (resolved now, as LoadSettings resolves it) or, without
// VANTOR, the registry key opened for reading only (never created).
// Creates, writes and reports nothing. Returns false and leaves `block`
// alone when there is nothing to read: no file, one that LoadSettings would
// not read either (read-only, or refused for reading and writing), no key.
bool ReadStoredSettings(SettingsBlock& block);

// Writes Settings() back to where LoadSettings took it from. The file is
// replaced as a whole (written beside it, then moved over it), so it is
// never left truncated; only a file so deep that no name beside it fits in
// a full path is written in place. A failure is reported (light red) and
// the run goes on.
void SaveSettings();

// Puts `path` at index 0 of the history (an entry equal to it ignoring
// case is removed first) and saves. An empty path is not recorded.
void AddToHistory(const std::string& path);

// Compares two texts ignoring case with the system's upper-casing.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace vantor::store
