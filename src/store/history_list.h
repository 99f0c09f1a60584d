// Edits of the history of the settings block in memory: the list stays
// packed and holds a directory once, ignoring case. Nothing here saves.
#pragma once

#include <string>

namespace vantor::store {

// Puts `path` (cut to its field) at index 0 of Settings().history: an entry
// equal to it ignoring case is taken out first, and a full list drops its
// oldest entry. An empty path is not recorded.
void PutFirstInHistory(const std::string& path);

}  // namespace vantor::store
