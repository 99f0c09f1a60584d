// The order of the MatchList and its trim to the best score, applied by the
// run flow after the search.
#pragma once

#include "matching/find_matches.h"

namespace vantor::matching {

// Sorts a list: lower score first, then the upper-cased paths byte by byte
// as unsigned values, a leading part first. Each path is upper-cased once.
void SortMatches(MatchList& list);

// Keeps the leading entries of a sorted, non-empty list that share the
// first entry's score.
void KeepBestMatches(MatchList& list);

}  // namespace vantor::matching
