// Rewriting of the typed path specification and the path operations that
// the search, the run flow and directory creation share. Paths are byte
// strings with the separator '\'.
#pragma once

#include <string>

namespace vantor::matching {

// Replaces every '/' by '\'.
void SlashesToBackslashes(std::string& spec);

// Turns every "\\" into "\*\" (a run of k backslashes gets a '*' between
// each two), so an empty component means "every subdirectory".
void ExpandDoubleBackslash(std::string& spec);

// Expands a lone '.' component (also one right after a drive colon) to
// "..", and a run of three or more dots that starts a component to
// k-1 ".." steps joined by backslashes.
void ExpandDots(std::string& spec);

// The parent of an absolute path, never above the drive root; a trailing
// backslash counts as part of the last component.
std::string ParentDir(const std::string& path);

// Appends '\' unless the text already ends with one.
void AddTrailingBackslash(std::string& text);

// The current directory of drive `letter` (any case). Read by making the
// drive current and restoring the previous directory afterwards; a drive
// that cannot be made current gives the process's current directory.
std::string DriveCurrentDir(char letter);

// Turns a path as typed (already rewritten) into an absolute one: drive
// relative and current-directory relative paths are resolved against the
// drive's current directory, with leading "." and ".." steps applied.
// Absolute and network paths come back unchanged.
std::string MakeAbsolutePath(const std::string& path);

}  // namespace vantor::matching
