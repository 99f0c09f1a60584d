// The order of the MatchList and its trim to the best score, applied by the
// run flow after the search.
#pragma once

#include <string>
#include <string_view>

#include "matching/find_matches.h"

namespace vantor::matching {

// Sorts a list: lower score first, then the upper-cased paths character by
// character, a leading part first. Characters of the system's OEM code page
// go by its bytes, as unsigned values (so names it holds keep the order they
// always had), and before every other character; those go by code point.
// Each path is upper-cased once.
void SortMatches(MatchList& list);

// The bytes of an upper-cased text that give its place in that order,
// compared as unsigned values: ASCII as it is, any other character the OEM
// code page holds by its bytes there (0xFF as FF 00), every other character
// as FF 01 and three bytes of its code point.
std::string OrderBytes(std::string_view upper);

// Keeps the leading entries of a sorted, non-empty list that share the
// first entry's score.
void KeepBestMatches(MatchList& list);

}  // namespace vantor::matching
