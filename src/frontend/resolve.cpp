#include "frontend/resolve.h"

#include <utility>

#include "base/path_text.h"
#include "base/start_dir.h"
#include "matching/find_matches.h"
#include "matching/match_order.h"
#include "matching/path_spec.h"
#include "platform/system.h"
#include "store/alias_table.h"
#include "store/settings.h"

namespace vantor {
namespace {

void Rewrite(std::string& spec) {
  matching::SlashesToBackslashes(spec);
  matching::ExpandDoubleBackslash(spec);
  matching::ExpandDots(spec);
}

// Takes a leading "X:" off the specification; the drive of StartDir else.
// Gives the letter upper-cased.
char TakeDriveLetter(std::string& spec) {
  char drive = StartDir().empty() ? '\0' : StartDir()[0];
  if (HasDriveColon(spec)) {
    drive = spec[0];
    spec.erase(0, 2);
  }
  return AsciiUpper(drive);
}

// Length of the leading ".." step at `at`: 3 for "..\", 2 for a final
// "..", 0 when the text there is no step.
std::size_t ParentStepAt(const std::string& spec, std::size_t at) {
  if (spec.compare(at, 3, "..\\") == 0) return 3;
  return spec.compare(at, std::string::npos, "..") == 0 ? 2 : 0;
}

// The directory the search starts from, in `found.target`: the drive root
// for a leading '\', else the drive's own current directory, raised by
// leading ".." steps. False, with the destination set, when the drive
// letter is none or StartDir is needed and could not be read.
bool TakeBaseDirectory(std::string& spec, Resolution& found) {
  if (!spec.empty() && spec[0] == '\\') {
    spec.erase(0, 1);
    found.target = std::string(1, found.drive) + ":\\";
    return true;
  }
  if (found.drive < 'A' || found.drive > 'Z') {
    found.destination = Destination::kInvalidDrive;
    return false;
  }
  // A drive without a readable directory of its own stands for StartDir.
  std::string base = matching::DriveCurrentDir(found.drive);
  if (base.empty()) {
    found.destination = Destination::kUnreadableStartDir;
    return false;
  }
  std::size_t steps_end = 0;
  while (std::size_t step = ParentStepAt(spec, steps_end)) {
    steps_end += step;
    base = matching::ParentDir(base);
  }
  spec.erase(0, steps_end);
  found.target = base;
  return true;
}

// Searches `spec` below `base`: the sorted list trimmed to its best score.
Destination Search(const std::string& spec, const std::string& base,
                   matching::SearchWatcher* watcher) {
  if (watcher == nullptr)
    matching::SearchLevel(spec, base, 0);
  else if (!matching::WatchedSearch(spec, base, *watcher))
    return Destination::kStopped;
  matching::MatchList& matches = matching::Matches();
  matching::SortMatches(matches);
  if (matches.empty()) return Destination::kNoMatch;
  matching::KeepBestMatches(matches);
  return Destination::kMatches;
}

Resolution Decided(Resolution found, Destination destination, std::string target) {
  found.destination = destination;
  found.target = std::move(target);
  return found;
}

}  // namespace

Resolution ResolveSpecification(std::string spec, matching::SearchWatcher* watcher) {
  Resolution found;
  Rewrite(spec);
  found.typed = spec;
  if (sys::SetCurrentDir(spec))
    return Decided(found, Destination::kExactDirectory, sys::GetCurrentDir());
  std::string alias_dir;
  if (store::FindAlias(spec, alias_dir)) return Decided(found, Destination::kAlias, alias_dir);
  // Without a drive of its own the specification needs StartDir's.
  if (!HasDriveColon(spec) && StartDir().empty())
    return Decided(found, Destination::kUnreadableStartDir, "");
  found.drive = TakeDriveLetter(spec);
  if (!TakeBaseDirectory(spec, found)) return found;
  if (spec.empty()) return Decided(found, Destination::kBaseDirectory, found.target);
  return Decided(found, Search(spec, found.target, watcher), "");
}

bool StartDirToBeRecorded() { return store::Settings().history[0] != StartDir(); }

}  // namespace vantor
