// Edits of the alias table of the settings block: names are compared
// ignoring case and the table stays packed (no empty entry before a used
// one). Nothing here writes a message or saves.
#pragma once

#include <string>

namespace vantor::store {

// Takes the entry named `name` out of the table, closing the gap; the walk
// stops at the first empty entry. Returns whether one was found, and its
// directory in `dir`.
bool TakeOutAlias(const std::string& name, std::string& dir);

// Moves every entry one place back (the last is lost) and puts `name` with
// `dir` first, each cut to its field.
void PutAliasFirst(const std::string& name, const std::string& dir);

// Finds the alias `name` among the entries before the first empty one and
// gives its directory; false when there is none.
bool FindAlias(const std::string& name, std::string& dir);

}  // namespace vantor::store
