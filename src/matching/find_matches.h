// The directory search: walks the live tree one typed component per
// level, grades the names it finds and collects the best-matching
// directories in the MatchList and paths that could be created in the
// CreateList.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"

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

// Watches a search while it runs, and may stop it: told of every directory
// read, and asked between the entries of a long listing (KeepListing).
class SearchWatcher : public sys::ListingWatch {
 public:
  // Called after each directory the search has read (or tried to); false
  // stops the search.
  virtual bool DirectoryRead() = 0;
};

// SearchLevel(rest, base, 0) under `watcher`. Returns false when the watcher
// stopped it; the lists then hold what was found until then. A search
// without a watcher (SearchLevel) runs as if there were none.
bool WatchedSearch(const std::string& rest, const std::string& base, SearchWatcher& watcher);

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

// Takes the text before the first '\\' off `rest`, together with that
// '\\', and gives it; with no '\\' gives all of `rest` and leaves it empty.
std::string SplitFirstComponent(std::string& rest);

}  // namespace vantor::matching
