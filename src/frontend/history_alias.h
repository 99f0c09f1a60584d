// The history screen, the alias option and the use of an alias typed in
// place of a path.
#pragma once

#include <string>
#include <vector>

namespace vantor {

// Writes the history screen, oldest entry first, and ends the run (0).
[[noreturn]] void ShowHistory();

// The "-a" option: `args` are the command-line arguments after the program
// path (args[0] is the option). Lists the aliases (option alone), removes
// one (a name only) or defines one (a name and a directory, "." meaning the
// start directory), then ends the run (0). An empty name is refused.
[[noreturn]] void AliasOption(const std::vector<std::string>& args);

// Puts the alias `name` (first 10 characters) for `dir` at the front of the
// table, replacing one of the same name in any case; a full table drops its
// oldest alias with a light-red note. Reports the addition and saves.
void DefineAlias(const std::string& name, const std::string& dir);

// Takes the alias `name` (any case) out of the table and reports whether
// it was there; saves either way.
void RemoveAlias(const std::string& name);

// Moves the alias `name` (any case) to the front, stored in the form given
// here, and saves; saves nothing when no such alias is reachable in the
// table as stored (another console may have removed it).
void PromoteAlias(const std::string& name);

// Uses the alias `name` (as typed) that was found with the directory `dir`:
// moves it to the front, saves, then changes to `dir`. The alias has moved
// and been saved also when the change then fails.
[[noreturn]] void UseAlias(const std::string& name, const std::string& dir);

}  // namespace vantor
