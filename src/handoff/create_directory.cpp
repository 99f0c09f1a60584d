#include "handoff/create_directory.h"

#include "base/exit.h"
#include "base/path_text.h"
#include "base/start_dir.h"
#include "console/io_error_text.h"
#include "console/show_matches.h"
#include "console/wincrt.h"
#include "handoff/handoff.h"
#include "matching/find_matches.h"
#include "matching/path_spec.h"
#include "platform/system.h"

namespace vantor::handoff {
namespace {

constexpr std::uint32_t kAccessDenied = 5;

// Waits for y, n, Enter, Esc or Ctrl+C and tells whether it was y. When
// standard input is no console nothing can ever be answered: that is a no.
bool AskYesNo() {
  for (;;) {
    console::KeyPress key = console::ReadKeyPress();
    if (console::LastKeyReadFailed()) return false;
    std::string typed(1, static_cast<char>(key.character));
    sys::UpperCase(typed);
    auto answer = static_cast<std::uint8_t>(typed[0]);
    if (answer == 'Y') return true;
    if (answer == 'N' || answer == console::kCharEnter || answer == console::kCharEscape ||
        answer == console::kCharCtrlC)
      return false;
  }
}

// Asks about the one candidate; ends the run with 255 on no.
void ConfirmSingleCandidate(const std::string& candidate) {
  console::SetColour(console::kColourNotice);
  console::Write("Create '" + candidate + "' [y/N] ? ");
  bool yes = AskYesNo();
  console::Write(yes ? "Yes" : "No");
  console::RestoreColour();
  if (!yes) EndRun(kExitDeclined);
}

// Where the walk starts: "X:" for a drive path, "\\server\share" for a
// network path, whose share itself cannot be created.
std::size_t RootLength(const std::string& full) {
  if (IsNetworkPath(full)) {
    std::size_t server_end = full.find('\\', 2);
    if (server_end == std::string::npos) return full.size();
    std::size_t share_end = full.find('\\', server_end + 1);
    return share_end == std::string::npos ? full.size() : share_end;
  }
  return 2;
}

// Creates one level of the walk. A level that exists already is passed
// over, and so is one the system refuses with access denied (a folder the
// user may not create in, such as a drive root, can still lie on the way).
// Every other failure is reported by the low eight bits of its code, 0
// included: only a code of 0 in full means the directory was made.
bool CreatedOrPassable(const std::string& dir) {
  std::uint32_t code = sys::CreateDir(dir);
  if (code == 0 || sys::IsDirectory(dir)) return true;
  std::uint32_t reduced = code & 0xFF;
  if (reduced == kAccessDenied) return true;
  console::WriteColouredLine(console::kColourError, console::SystemErrorText(reduced) +
                                                        "creating directory '" + dir + "'");
  return false;
}

}  // namespace

bool CreateDirectoryPath(const std::string& path) {
  std::string full = matching::MakeAbsolutePath(path);
  matching::AddTrailingBackslash(full);
  std::size_t root = RootLength(full);
  std::string built = full.substr(0, root);
  std::string rest = root + 1 <= full.size() ? full.substr(root + 1) : std::string();
  std::size_t at = 0;
  while (at < rest.size() && rest.compare(at, std::string::npos, "\\") != 0) {
    std::size_t end = rest.find('\\', at);
    if (end == std::string::npos) end = rest.size();
    built += "\\" + rest.substr(at, end - at);
    at = end + 1;
    if (!CreatedOrPassable(built)) return false;
  }
  return true;
}

void OfferCreation(const std::string& spec) {
  console::WriteColouredLine(console::kColourError,
                             "Vantor: No directories found matching '" + spec + "'");
  matching::MatchList& candidates = matching::CreateList();
  if (candidates.empty()) return;
  std::string chosen;
  if (candidates.size() == 1) {
    chosen = candidates.front().path;
    ConfirmSingleCandidate(chosen);
  } else {
    console::WriteColouredLine(console::kColourNotice, "** Create a new directory? **");
    console::WriteLine();
    chosen = console::ShowMatches(candidates, true, StartDir());
    if (chosen.empty()) return;
  }
  if (!CreateDirectoryPath(chosen)) return;
  ChangeToDirectory(matching::MakeAbsolutePath(chosen));
}

}  // namespace vantor::handoff
