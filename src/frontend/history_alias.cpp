#include "frontend/history_alias.h"

#include "base/exit.h"
#include "base/utf8_text.h"
#include "console/text_layout.h"
#include "console/wincrt.h"
#include "frontend/required_start_dir.h"
#include "handoff/handoff.h"
#include "store/alias_table.h"
#include "store/settings.h"
#include "store/stored_text.h"

namespace vantor {
namespace {

constexpr std::size_t kAliasNameColumn = 12;

using console::kColourError;
using console::kColourKey;
using console::kColourNormal;
using console::kColourNotice;
using store::Alias;
using store::ChangeSettings;
using store::kAliasCount;
using store::kHistorySize;
using store::PutAliasFirst;
using store::TakeOutAlias;

std::array<Alias, kAliasCount>& Aliases() { return store::Settings().aliases; }

std::string EntriesRemaining(int free) {
  if (free == 0) return "No entries";
  if (free == 1) return "1 entry";
  return std::to_string(free) + " entries";
}

[[noreturn]] void ShowAliases() {
  int used = 0;
  for (const Alias& alias : Aliases()) used += alias.name.empty() ? 0 : 1;
  console::WriteColouredLine(
      kColourNotice,
      "  Vantor Directory Aliases (" + EntriesRemaining(kAliasCount - used) + " remaining)  ");
  for (int k = kAliasCount - 1; k >= 0; --k) {
    const Alias& alias = Aliases()[k];
    if (alias.name.empty()) continue;
    console::SetColour(kColourKey);
    console::Write(
        console::RepeatChar(static_cast<int>(kAliasNameColumn) - TextCells(alias.name), ' ') +
        alias.name);
    console::SetColour(kColourNormal);
    console::Write(" = " + alias.dir);
    console::RestoreColour();
  }
  EndRun(kExitNormal);
}

std::string HistoryNumber(int index) {
  std::string number = std::to_string(index);
  return std::string(2 - number.size(), ' ') + number;
}

}  // namespace

void ShowHistory() {
  const auto& history = store::Settings().history;
  if (history[0].empty()) {
    console::WriteColouredLine(kColourError, "No directories in history.");
    EndRun(kExitNormal);
  }
  console::WriteColouredLine(kColourNotice, "  Vantor Directory History  ");
  for (int i = kHistorySize - 1; i >= 0; --i) {
    if (history[i].empty()) continue;
    console::SetColour(kColourKey);
    console::Write("  " + HistoryNumber(i) + "  ");
    console::SetColour(kColourNormal);
    console::WriteLine(history[i]);
  }
  EndRun(kExitNormal);
}

void AliasOption(const std::vector<std::string>& args) {
  if (args.size() <= 1) ShowAliases();
  std::string name = store::FitField(args[1], store::kAliasNameField);
  std::string dir = args.size() > 2 ? args[2] : std::string();
  // An empty name would mark its entry as unused and break the table's
  // packing, hiding every alias behind it.
  if (name.empty()) {
    console::WriteColouredLine(kColourError, "Vantor: Error - An alias name can't be empty");
    EndRun(kExitNormal);
  }
  if (dir == ".") dir = RequireStartDir();
  if (dir.empty())
    RemoveAlias(name);
  else
    DefineAlias(name, dir);
  EndRun(kExitNormal);
}

// Each edit is applied to the table as it is stored at that moment (see
// ChangeSettings), so its messages tell what happened to that table.
void DefineAlias(const std::string& name, const std::string& dir) {
  ChangeSettings([&] {
    std::string dropped;
    TakeOutAlias(name, dropped);
    const Alias& last = Aliases().back();
    if (!last.name.empty())
      console::WriteColouredLine(kColourError, "Vantor: Alias list is full. Removing alias " +
                                                   last.name + " = " + last.dir);
    PutAliasFirst(name, dir);
    console::WriteColouredLine(kColourNotice,
                               "Vantor: Adding alias " + Aliases()[0].name + "=" + dir);
    return true;
  });
}

void RemoveAlias(const std::string& name) {
  ChangeSettings([&] {
    std::string dir;
    if (TakeOutAlias(name, dir))
      console::WriteColouredLine(kColourNotice, "Vantor: Removing alias '" + name + "'");
    else
      console::WriteColouredLine(kColourError, "Vantor: No alias to delete called '" + name + "'");
    return true;
  });
}

void PromoteAlias(const std::string& name) {
  ChangeSettings([&] {
    std::string dir;
    if (!TakeOutAlias(name, dir)) return false;
    PutAliasFirst(name, dir);
    return true;
  });
}

void UseAlias(const std::string& name, const std::string& dir) {
  PromoteAlias(name);
  handoff::ChangeToDirectory(dir);
}

}  // namespace vantor
