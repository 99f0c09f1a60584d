#include "frontend/run.h"

#include "base/exit.h"
#include "base/start_dir.h"
#include "console/paged_output.h"
#include "console/search_progress.h"
#include "console/show_matches.h"
#include "console/wincrt.h"
#include "frontend/command_line.h"
#include "frontend/complete.h"
#include "frontend/error_trap.h"
#include "frontend/history_alias.h"
#include "frontend/maker_info.h"
#include "frontend/options.h"
#include "frontend/required_start_dir.h"
#include "frontend/resolve.h"
#include "handoff/create_directory.h"
#include "handoff/handoff.h"
#include "matching/find_matches.h"
#include "platform/system.h"
#include "store/settings.h"

namespace vantor {
namespace {

void StartUp() {
  console::ResetPagedOutput();
  sys::UseOemFileApis();
  matching::ResetLists();
  SetStartDir(sys::GetCurrentDir());
  handoff::WriteHandOffFile("rem");
  store::LoadAndSaveSettings();
  matching::SetCreationAllowed(store::Settings().can_create_path);
}

void RecordStartDir() {
  if (StartDirToBeRecorded()) store::AddToHistory(StartDir());
}

[[noreturn]] void ReportInvalidDrive(char drive) {
  console::WriteColouredLine(
      console::kColourError,
      std::string("Vantor: Invalid drive letter '") + drive + "' (valid drives are A: through Z:)");
  EndRun(kExitRunError);
}

// An existing directory too deep to read back is named as typed, since the
// system then gives no full path to name it by.
[[noreturn]] void EnterExactDirectory(const Resolution& found) {
  if (found.target.empty()) handoff::ReportCannotEnter(found.typed);
  handoff::ChangeToDirectory(found.target);
}

[[noreturn]] void OfferToCreate(const std::string& typed) {
  matching::NoteCreatable(typed);
  handoff::OfferCreation(typed);
  EndRun(kExitNormal);
}

[[noreturn]] void ChooseAndChange() {
  std::string chosen = console::ShowMatches(matching::Matches(), false, StartDir());
  if (!chosen.empty()) handoff::ChangeToDirectory(chosen);
  EndRun(kExitNormal);
}

[[noreturn]] void GoTo(const Resolution& found) {
  switch (found.destination) {
    case Destination::kExactDirectory:
      EnterExactDirectory(found);
    case Destination::kAlias:
      UseAlias(found.typed, found.target);
    case Destination::kBaseDirectory:
      handoff::ChangeToDirectory(found.target);
    case Destination::kMatches:
      ChooseAndChange();
    case Destination::kNoMatch:
      OfferToCreate(found.typed);
    case Destination::kStopped:
      EndRun(kExitNormal);
    case Destination::kInvalidDrive:
      ReportInvalidDrive(found.drive);
    case Destination::kUnreadableStartDir:
      ReportUnreadableStartDir();
  }
  EndRun(kExitNormal);
}

// The steps of an interactive run: a long search shows its progress, and
// Esc or Ctrl+C stops it. The line is gone before anything else is written.
Resolution ResolveShowingProgress(const std::string& spec) {
  console::SearchProgress progress;
  return ResolveSpecification(spec, &progress);
}

[[noreturn]] void Run() {
  RecordStartDir();
  GoTo(ResolveShowingProgress(DispatchOptions()));
}

}  // namespace

int RunProgram() {
  try {
    SetProgramIdentity(kProductName, kProductVersion);
    sys::NoCriticalErrorDialogs();
    ReadArguments();
    if (IsListingRequest(Arguments())) return ListCandidates(Arguments());
    console::InitConsole();
    console::RunKeyInput keys;
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
