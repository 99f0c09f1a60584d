#include "frontend/complete.h"

#include "base/exit.h"
#include "base/start_dir.h"
#include "console/show_matches.h"
#include "console/wincrt.h"
#include "frontend/command_line.h"
#include "frontend/index_text.h"
#include "frontend/resolve.h"
#include "handoff/handoff.h"
#include "matching/find_matches.h"
#include "platform/system.h"
#include "store/history_list.h"
#include "store/settings.h"

namespace vantor {
namespace {

// The lines of the listing, written at once at the end.
struct Listing {
  std::string text;
  std::size_t count = 0;

  void Add(const std::string& path) {
    if (path.empty() || count >= kMaxCandidates) return;
    text += path + console::kLineEnd;
    ++count;
  }
};

// What start-up gives the run, without its side effects: no console mode,
// no hand-off reset, nothing saved. With nothing stored the table and the
// history are empty, as the run finds them in a new registry key.
void QuietStartUp() {
  sys::UseOemFileApis();
  matching::ResetLists();
  SetStartDir(sys::GetCurrentDir());
  store::Settings() = store::SettingsBlock();
  store::ReadStoredSettings(store::Settings());
  matching::SetCreationAllowed(false);
}

// The run's record of StartDir, made here in memory only.
void RecordStartDirInMemory() {
  if (StartDirToBeRecorded()) store::PutFirstInHistory(StartDir());
}

// "-": the history behind its front entry, as "-1", "-2", ... would enter it.
void ListHistory(Listing& listing) {
  RecordStartDirInMemory();
  const auto& history = store::Settings().history;
  for (std::size_t i = 1; i < history.size(); ++i)
    if (!history[i].empty())
      // Unchecked on a share: a disconnected one would hold the line until
      // the network gives up.
      listing.Add(sys::IsOnNetwork(history[i]) ? history[i] : handoff::EnterDirectory(history[i]));
}

// Any other option word: the one entry "-N" enters when N is an index the
// run takes (1 to 20, in any of its notations); nothing for the other
// options, none of which reads as an index, and nothing where the run
// would report an invalid index or a history too short.
void ListHistoryEntry(const std::string& word, Listing& listing) {
  long long index = 0;
  if (!ParseIndexText(word.substr(1), index) || index < 1 || index >= store::kHistorySize) return;
  RecordStartDirInMemory();
  const std::string& entry = store::Settings().history[static_cast<std::size_t>(index)];
  if (!entry.empty()) listing.Add(handoff::EnterDirectory(entry));
}

void ListDestination(const std::string& spec, Listing& listing) {
  const Resolution found = ResolveSpecification(spec);
  switch (found.destination) {
    case Destination::kExactDirectory:
      listing.Add(found.target);
      break;
    case Destination::kAlias:
    case Destination::kBaseDirectory:
      listing.Add(handoff::EnterDirectory(found.target));
      break;
    case Destination::kMatches: {
      matching::MatchList& matches = matching::Matches();
      console::KeepOfferedEntries(matches, StartDir());
      for (const matching::MatchEntry& entry : matches) listing.Add(entry.path);
      break;
    }
    case Destination::kNoMatch:
    case Destination::kStopped:
    case Destination::kInvalidDrive:
    case Destination::kUnreadableStartDir:
      break;
  }
}

constexpr const char* kListingOption = "--COMPLETE";
constexpr const char* kUtf8ListingOption = "--COMPLETE-UTF8";

}  // namespace

bool IsListingRequest(const std::vector<std::string>& args) {
  if (args.size() < 2) return false;
  std::string word = args[1];
  sys::UpperCase(word);
  return word == kListingOption || word == kUtf8ListingOption;
}

int ListCandidates(const std::vector<std::string>& args) {
  std::string option = args[1];
  sys::UpperCase(option);
  if (option == kUtf8ListingOption) sys::UseUtf8ForRedirectedOutput();
  QuietStartUp();
  Listing listing;
  const std::string first = args.size() > 2 ? args[2] : std::string();
  if (first == "-")
    ListHistory(listing);
  else if (!first.empty() && first[0] == '-')
    ListHistoryEntry(first, listing);
  else if (!first.empty())
    ListDestination(JoinArguments(args, 2), listing);
  console::Write(listing.text);
  return kExitNormal;
}

}  // namespace vantor
