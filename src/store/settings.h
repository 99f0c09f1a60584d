// The persistent settings: the history of visited directories, the alias
// table and the creation switch, held in one fixed-size block that is kept
// in the settings file named by VANTOR or, without it, in the registry.
#pragma once

#include <functional>
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

// The name of the lock that guards the store VANTOR names now (resolved as
// ReadStoredSettings resolves it), or the registry key without VANTOR;
// empty when VANTOR names no usable file.
std::string SettingsLockName();

// Writes Settings() back to where LoadSettings took it from (no lock: see
// ChangeSettings). The file is replaced as a whole where a link leads
// (written beside it, then moved over it, keeping its attributes and access
// rules), so it is never left truncated or missing; a file with several
// names, one whose folder refuses new files, and one so deep that no name
// beside it fits in a full path are written over in place. A failure is
// reported (light red) and the run goes on.
void SaveSettings();

// Start-up: LoadSettings and at once SaveSettings, as one transaction
// (see ChangeSettings).
void LoadAndSaveSettings();

// One change of the stored settings, as one short transaction: takes the
// lock that all runs of the user share (waiting at most half a second for
// the run that holds it, then going on without it), reads the stored block
// afresh into Settings() (keeping the block in memory when nothing can be
// read), lets `change` edit Settings(), saves when it returns true, and
// gives the lock back. What `change` and the save write appears after that,
// in order. So a change made by another console in the meantime is kept.
void ChangeSettings(const std::function<bool()>& change);

// Puts `path` at index 0 of the history (an entry equal to it ignoring
// case is removed first) and saves, in one ChangeSettings. An empty path
// is not recorded.
void AddToHistory(const std::string& path);

// Compares two texts ignoring case with the system's upper-casing.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace vantor::store
