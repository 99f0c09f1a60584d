#include "store/alias_table.h"

#include "store/settings.h"
#include "store/stored_text.h"

namespace vantor::store {
namespace {

std::array<Alias, kAliasCount>& Aliases() { return Settings().aliases; }

}  // namespace

bool TakeOutAlias(const std::string& name, std::string& dir) {
  auto& aliases = Aliases();
  for (std::size_t k = 0; k < aliases.size() && !aliases[k].name.empty(); ++k) {
    if (!SameTextIgnoringCase(aliases[k].name, name)) continue;
    dir = aliases[k].dir;
    for (std::size_t j = k; j + 1 < aliases.size(); ++j) aliases[j] = aliases[j + 1];
    aliases.back() = Alias{};
    return true;
  }
  return false;
}

void PutAliasFirst(const std::string& name, const std::string& dir) {
  auto& aliases = Aliases();
  for (std::size_t k = aliases.size() - 1; k > 0; --k) aliases[k] = aliases[k - 1];
  aliases[0] = Alias{FitField(name, kAliasNameField), FitField(dir, kPathField)};
}

bool FindAlias(const std::string& name, std::string& dir) {
  for (const Alias& alias : Aliases()) {
    if (alias.name.empty()) return false;
    if (!SameTextIgnoringCase(alias.name, name)) continue;
    dir = alias.dir;
    return true;
  }
  return false;
}

}  // namespace vantor::store
