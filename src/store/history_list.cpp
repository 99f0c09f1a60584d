#include "store/history_list.h"

#include "store/settings.h"
#include "store/stored_text.h"

namespace vantor::store {
namespace {

void RemoveHistoryEntry(std::size_t index) {
  auto& history = Settings().history;
  for (std::size_t i = index; i + 1 < history.size(); ++i) history[i] = history[i + 1];
  history.back().clear();
}

}  // namespace

void PutFirstInHistory(const std::string& path) {
  // An empty text (a start directory too deep to be read back) names no
  // directory, and at the front it would hide every entry behind it.
  if (path.empty()) return;
  auto& history = Settings().history;
  // The path is compared in the form in which it is stored, so that a path
  // longer than the field does not come in again beside its own cut copy.
  std::string entry = FitField(path, kPathField);
  // An entry equal to it is taken out; the one that moves into its place is
  // not compared again.
  for (std::size_t i = 0; i < history.size() && !history[i].empty(); ++i)
    if (SameTextIgnoringCase(history[i], entry)) RemoveHistoryEntry(i);
  for (std::size_t i = history.size() - 1; i > 0; --i) history[i] = history[i - 1];
  history[0] = entry;
}

}  // namespace vantor::store
