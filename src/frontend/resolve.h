// Where a typed path specification leads: the steps of a run from the
// rewrites to the trimmed list of matches. The run and the listing mode
// share them and act on the outcome each in its own way; nothing here
// records, saves, writes, reads a key or ends the run.
#pragma once

#include <string>

namespace vantor::matching {
class SearchWatcher;
}

namespace vantor {

enum class Destination {
  kExactDirectory,      // names an existing directory as typed: `target` its full
                        // path, empty when too deep to be read back
  kAlias,               // equals an alias name: `target` its directory as stored
  kBaseDirectory,       // nothing is left to search: `target` is the base directory
  kMatches,             // matching::Matches() holds the best matches, sorted
  kNoMatch,             // the search found nothing
  kStopped,             // the search's watcher stopped it (Esc or Ctrl+C)
  kInvalidDrive,        // `drive` is no letter from A to Z
  kUnreadableStartDir,  // the step needs StartDir, which could not be read
};

struct Resolution {
  Destination destination = Destination::kNoMatch;
  std::string typed;   // the specification after the three rewrites
  std::string target;  // see Destination
  char drive = 0;      // the drive letter, upper-cased (kInvalidDrive)
};

// Rewrites `spec`, tries it as an existing directory (which stays the
// process's current directory then), as an alias name, and otherwise fixes
// the base directory from the drive letter, a leading '\' or leading ".."
// steps and searches below it: the sorted MatchList is trimmed to its best
// score. Reads StartDir, the alias table and the live tree. A search
// under `watcher` may be stopped by it; without one it runs as it is.
Resolution ResolveSpecification(std::string spec, matching::SearchWatcher* watcher = nullptr);

// True when the run records StartDir in the history first: unless it is,
// exactly, the front entry already.
bool StartDirToBeRecorded();

}  // namespace vantor
