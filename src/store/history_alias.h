// The history screen, the alias option and the use of an alias typed in
// place of a path.
#pragma once

#include <string>
#include <vector>

namespace vantor::store {

// Writes the history screen, oldest entry first, and ends the run (0).
[[noreturn]] void ShowHistory();

// The "-a" option: `args` are the command-line arguments after the program
// path (args[0] is the option). Lists, defines or removes an alias, then
// ends the run (0).
[[noreturn]] void AliasOption(const std::vector<std::string>& args);

void DefineAlias(const std::string& name, const std::string& dir);
void RemoveAlias(const std::string& name);
void PromoteAlias(const std::string& name);

// Returns when `spec` names no alias; otherwise moves the alias to the
// front, saves and changes to its directory (never returns).
void UseAlias(const std::string& spec);

}  // namespace vantor::store
