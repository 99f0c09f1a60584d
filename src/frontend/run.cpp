#include "frontend/run.h"

#include "base/exit.h"
#include "base/path_text.h"
#include "base/start_dir.h"
#include "console/paged_output.h"
#include "console/search_progress.h"
#include "console/show_matches.h"
#include "console/wincrt.h"
#include "frontend/command_line.h"
#include "frontend/error_trap.h"
#include "frontend/history_alias.h"
#include "frontend/maker_info.h"
#include "frontend/options.h"
#include "frontend/required_start_dir.h"
#include "handoff/create_directory.h"
#include "handoff/handoff.h"
#include "matching/find_matches.h"
#include "matching/match_order.h"
#include "matching/path_spec.h"
#include "platform/system.h"
#include "store/settings.h"

namespace vantor {
namespace {

void StartUp() {
  SetProgramIdentity(kProductName, kProductVersion);
  console::InitConsole();
  console::ResetPagedOutput();
  ReadArguments();
  sys::UseOemFileApis();
  matching::ResetLists();
  SetStartDir(sys::GetCurrentDir());
  handoff::WriteHandOffFile("rem");
  store::LoadSettings();
  store::SaveSettings();
  matching::SetCreationAllowed(store::Settings().can_create_path);
}

void RecordStartDir() {
  if (store::Settings().history[0] != StartDir()) store::AddToHistory(StartDir());
}

void Rewrite(std::string& spec) {
  matching::SlashesToBackslashes(spec);
  matching::ExpandDoubleBackslash(spec);
  matching::ExpandDots(spec);
}

// A specification naming an existing directory as typed is entered at once.
// One whose full path is too long to read back is named as typed, since the
// system then gives no full path to name it by.
void EnterIfExactDirectory(const std::string& spec) {
  if (!sys::SetCurrentDir(spec)) return;
  std::string entered = sys::GetCurrentDir();
  if (entered.empty()) handoff::ReportCannotEnter(spec);
  handoff::ChangeToDirectory(entered);
}

// Takes a leading "X:" off the specification; the drive of StartDir else.
char TakeDriveLetter(std::string& spec) {
  char drive;
  if (HasDriveColon(spec)) {
    drive = spec[0];
    spec.erase(0, 2);
  } else {
    drive = RequireStartDir()[0];
  }
  return AsciiUpper(drive);
}

// Length of the leading ".." step at `at`: 3 for "..\", 2 for a final
// "..", 0 when the text there is no step.
std::size_t ParentStepAt(const std::string& spec, std::size_t at) {
  if (spec.compare(at, 3, "..\\") == 0) return 3;
  return spec.compare(at, std::string::npos, "..") == 0 ? 2 : 0;
}

// The directory the search starts from: the drive root for a leading '\',
// else the drive's own current directory, raised by leading ".." steps.
std::string TakeBaseDirectory(char drive, std::string& spec) {
  if (!spec.empty() && spec[0] == '\\') {
    spec.erase(0, 1);
    return std::string(1, drive) + ":\\";
  }
  if (drive < 'A' || drive > 'Z') {
    console::WriteColouredLine(console::kColourError,
                               std::string("Vantor: Invalid drive letter '") + drive +
                                   "' (valid drives are A: through Z:)");
    EndRun(kExitRunError);
  }
  // A drive without a readable directory of its own stands for StartDir.
  std::string base = matching::DriveCurrentDir(drive);
  if (base.empty()) ReportUnreadableStartDir();
  std::size_t steps_end = 0;
  while (std::size_t step = ParentStepAt(spec, steps_end)) {
    steps_end += step;
    base = matching::ParentDir(base);
  }
  spec.erase(0, steps_end);
  return base;
}

// The search of an interactive run. A long one shows its progress; Esc or
// Ctrl+C stops it, and the run then ends as leaving the menu does.
void SearchShowingProgress(const std::string& spec, const std::string& base) {
  bool complete = false;
  {
    console::SearchProgress progress;  // its line is gone when it goes
    complete = matching::WatchedSearch(spec, base, progress);
  }
  if (!complete) EndRun(kExitNormal);
}

[[noreturn]] void SearchAndChange(const std::string& spec, const std::string& base,
                                  const std::string& typed) {
  SearchShowingProgress(spec, base);
  matching::MatchList& matches = matching::Matches();
  matching::SortMatches(matches);
  if (matches.empty()) {
    matching::NoteCreatable(typed);
    handoff::OfferCreation(typed);
    EndRun(kExitNormal);
  }
  matching::KeepBestMatches(matches);
  std::string chosen = console::ShowMatches(matches, false, StartDir());
  if (!chosen.empty()) handoff::ChangeToDirectory(chosen);
  EndRun(kExitNormal);
}

[[noreturn]] void Run() {
  RecordStartDir();
  std::string spec = DispatchOptions();
  Rewrite(spec);
  const std::string typed = spec;
  EnterIfExactDirectory(spec);
  UseAlias(spec);
  char drive = TakeDriveLetter(spec);
  std::string base = TakeBaseDirectory(drive, spec);
  if (spec.empty()) handoff::ChangeToDirectory(base);
  SearchAndChange(spec, base, typed);
}

}  // namespace

int RunProgram() {
  try {
    StartUp();
    Run();
  } catch (const RunEnded& end) {
    return end.code;
  } catch (const UnhandledError& error) {
    console::WriteLine(error.message);
    return kExitUnhandledError;
  }
}

}  // namespace vantor
