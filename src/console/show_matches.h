// The match selection screen: a paged, two-column menu in which each
// entry carries a one-character key.
#pragma once

#include <string>

#include "matching/find_matches.h"

namespace vantor::console {

// Returns the chosen entry's path, or "" when the user leaves. A single
// entry is returned at once; with several, entries equal to `leave_out`
// (ignoring case; the run passes its start directory) are first removed
// from `list`, and a single survivor is returned at once (none at all
// gives "" without a menu). `create_mode` selects the prompt wording. When
// standard input is not a console the menu is drawn and left at once, as
// with Esc.
std::string ShowMatches(matching::MatchList& list, bool create_mode, const std::string& leave_out);

// The entries the menu offers: with more than one in `list`, those equal
// to `leave_out` (ignoring case) are removed; a single entry stays.
void KeepOfferedEntries(matching::MatchList& list, const std::string& leave_out);

// Entries on one page of the menu: 2 * (ScreenLastRow - 1), at most the
// 62 selection keys and at least one.
int MenuPageSize();

}  // namespace vantor::console
