#include "matching/find_matches.h"

#include <utility>

#include "matching/edit_distance.h"
#include "matching/grading.h"
#include "matching/path_spec.h"
#include "platform/system.h"

namespace vantor::matching {
namespace {

constexpr std::size_t kInitialCapacity = 20;

// The lists live until the process ends and are never destroyed: the
// system takes their memory back at once, where freeing the tens of
// thousands of paths a wide level can give would delay the end of the run.
MatchList& match_list = *new MatchList();
MatchList& create_list = *new MatchList();
bool creation_allowed = true;
// The watcher of the search that runs, if any, and whether it stopped it.
SearchWatcher* watcher = nullptr;
bool stopped = false;

// Passes the watcher's answers on to a listing, noting a stop.
struct ListingOfWatchedSearch : sys::ListingWatch {
  bool KeepListing() override {
    if (!watcher->KeepListing()) stopped = true;
    return !stopped;
  }
} listing_watch;

// The best grade of a level, and the exact match when there is one.
struct LevelGrade {
  std::int32_t best = kNoMatchScore;
  const DirRec* exact = nullptr;
};

// Reads the subdirectories of `dir` (ending in '\'). A directory that
// cannot be enumerated reads as one without subdirectories.
std::vector<DirRec> ReadLevel(const std::string& dir) {
  std::vector<std::string> names;
  if (watcher == nullptr) {
    sys::ListSubdirectories(dir, names);
  } else {
    sys::ListSubdirectories(dir, names, &listing_watch);
    if (!watcher->DirectoryRead()) stopped = true;
  }
  std::vector<DirRec> records(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    records[i].upperName = names[i];
    sys::UpperCase(records[i].upperName);
    records[i].name = std::move(names[i]);
  }
  return records;
}

// Scores every record against the upper-cased component. The scan stops at
// an exact name; once a wildcard or overtyped match is seen no distance is
// worked out, and a distance that cannot reach the best so far is cut short
// (its record then scores above the best and is not followed).
LevelGrade GradeLevel(std::vector<DirRec>& records, const std::string& component) {
  const SplitName split = SplitExtension(component);
  const EditDistance distance(component);
  LevelGrade grade;
  for (DirRec& record : records) {
    if (record.upperName == component) {
      grade.best = 0;
      grade.exact = &record;
      return grade;
    }
    if (WildMatch(split, SplitExtension(record.upperName)) ||
        OvertypedMatch(component, record.upperName)) {
      record.score = 1;
      grade.best = 1;
    } else if (grade.best <= 1) {
      record.score = kNoMatchScore;
    } else {
      record.score = distance.AtMost(record.upperName, grade.best - 1) + 1;
      if (record.score < grade.best) grade.best = record.score;
    }
  }
  return grade;
}

}  // namespace

std::string SplitFirstComponent(std::string& rest) {
  std::size_t separator = rest.find('\\');
  std::string component;
  if (separator == std::string::npos) {
    component.swap(rest);
  } else {
    component = rest.substr(0, separator);
    rest.erase(0, separator + 1);
  }
  return component;
}

MatchList& Matches() { return match_list; }

MatchList& CreateList() { return create_list; }

void ResetLists() {
  match_list = MatchList();
  match_list.reserve(kInitialCapacity);
  create_list = MatchList();
  create_list.reserve(kInitialCapacity);
}

void SetCreationAllowed(bool allowed) { creation_allowed = allowed; }

void NoteCreatable(const std::string& path) {
  if (!creation_allowed || path.find_first_of("?*") != std::string::npos) return;
  create_list.push_back(MatchEntry{path, kNoMatchScore});
}

bool WatchedSearch(const std::string& rest, const std::string& base, SearchWatcher& watching) {
  // Set for this search alone, also when it ends by an exception.
  struct Watching {
    explicit Watching(SearchWatcher& by) {
      watcher = &by;
      stopped = false;
    }
    ~Watching() {
      watcher = nullptr;
      stopped = false;
    }
  } watching_now(watching);
  SearchLevel(rest, base, 0);
  return !stopped;
}

void SearchLevel(std::string rest, std::string base, std::int32_t score) {
  if (stopped) return;
  if (rest.empty()) {
    match_list.push_back(MatchEntry{std::move(base), score});
    return;
  }
  AddTrailingBackslash(base);
  std::vector<DirRec> records = ReadLevel(base);
  if (stopped) return;
  MatchLevel(records, std::move(rest), base, score);
}

void MatchLevel(std::vector<DirRec>& records, std::string rest, const std::string& base,
                std::int32_t score) {
  std::string component = SplitFirstComponent(rest);
  std::string upper = component;
  sys::UpperCase(upper);
  const LevelGrade grade = GradeLevel(records, upper);
  if (grade.best == 0) {
    SearchLevel(std::move(rest), base + grade.exact->name, score);
  } else if (grade.best == kNoMatchScore) {
    NoteCreatable(base + component + "\\" + rest);
  } else if (rest.empty()) {
    // The last component: every record of the best grade is a match.
    for (const DirRec& record : records)
      if (record.score == grade.best)
        match_list.push_back(MatchEntry{base + record.name, score + grade.best});
  } else {
    for (const DirRec& record : records)
      if (record.score == grade.best) SearchLevel(rest, base + record.name, score + grade.best);
  }
}

}  // namespace vantor::matching
