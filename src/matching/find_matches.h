// The directory search: walks the live tree one typed component per
// level, grades the names it finds and collects the best-matching
// directories in the MatchList and paths that could be created in the
// CreateList.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::matching {

// One candidate directory: score 0 is a perfect match, 255 marks a
// creation candidate.
struct MatchEntry {
  std::string path;
  std::int32_t score = 0;
};

using MatchList = std::vector<MatchEntry>;

// Score of a creation candidate, and "nothing matched" as a level's best.
inline constexpr std::int32_t kNoMatchScore = 255;

// The run's two lists; created empty (capacity 20) by ResetLists.
MatchList& Matches();
MatchList& CreateList();
void ResetLists();

// Searches `rest` (a non-empty, rewritten specification without drive and
// leading steps) below `base`, adding what matches to Matches() and what
// could be created to CreateList(). `score` is the score so far.
void SearchLevel(std::string rest, std::string base, std::int32_t score);

// One subdirectory read at one level of the search. The records of a
// level live until the level's matching, deeper searches included, is done;
// their order is not significant.
struct DirRec {
  std::string name;                    // as the file system reports it
  std::string upperName;               // `name` upper-cased
  std::int32_t score = kNoMatchScore;  // this level's grade, set by MatchLevel
};

// Matches the first component of `rest` against the records of the
// directory `base` (which ends in '\') and continues the search below the
// best-graded records: the exact name alone, else every wildcard or
// overtyped match, else the names nearest by edit distance. With nothing
// to follow, notes the path as a creation candidate.
void MatchLevel(std::vector<DirRec>& records, std::string rest, const std::string& base,
                std::int32_t score);

// Whether creation candidates are collected at all (the settings'
// creation switch; true until the run sets it after loading the settings).
void SetCreationAllowed(bool allowed);

// Adds `path` to CreateList() with score 255 when creation is allowed by
// the settings and the path holds neither '?' nor '*'.
void NoteCreatable(const std::string& path);

// The MatchList order: lower score first, then upper-cased paths byte by
// byte. Negative when `first` goes first, positive when `second` does.
int CompareMatches(const MatchEntry& first, const MatchEntry& second);

// Sorts a list by CompareMatches.
void SortMatches(MatchList& list);

// Keeps the leading entries of a sorted, non-empty list that share the
// first entry's score.
void KeepBestMatches(MatchList& list);

// ---- The grading tests, exposed for their own tests ----

// Takes the text before the first '\' off `rest` (with the '\').
std::string SplitFirstComponent(std::string& rest);
// Splits at the first '.' into base and extension (at most 1024 bytes).
void SplitExtension(const std::string& text, std::string& base, std::string& extension);
// '?' is one present character, '*' ends the match, and the text may go on.
bool PatternPrefixMatch(const std::string& pattern, const std::string& text);
// Base against base and extension against extension (both upper-cased).
bool WildMatch(const std::string& component, const std::string& name);
// True when `name` is a leading part of the typed `component`.
bool OvertypedMatch(const std::string& component, const std::string& name);
// Levenshtein distance with unit costs of `a` (any length) and `b`
// (up to 1024 bytes).
int EditDistance(const std::string& a, const std::string& b);

}  // namespace vantor::matching
