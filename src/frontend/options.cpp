#include "frontend/options.h"

#include "base/exit.h"
#include "base/start_dir.h"
#include "console/paged_output.h"
#include "console/wincrt.h"
#include "frontend/command_line.h"
#include "frontend/history_alias.h"
#include "frontend/index_text.h"
#include "frontend/launcher.h"
#include "frontend/maker_info.h"
#include "frontend/required_start_dir.h"
#include "frontend/screens.h"
#include "handoff/handoff.h"
#include "platform/system.h"
#include "store/settings.h"

namespace vantor {
namespace {

constexpr int kMaxHistoryIndex = 20;

[[noreturn]] void GoBackInHistory(long long index) {
  const std::string& entry = store::Settings().history[static_cast<std::size_t>(index)];
  if (!entry.empty()) handoff::ChangeToDirectory(entry);
  console::WriteColouredLine(console::kColourError, "Vantor: History does not yet extend back " +
                                                        std::to_string(index) + " entries.");
  EndRun(kExitRunError);
}

[[noreturn]] void HistoryIndexOption(const std::string& index_text) {
  long long index = 0;
  if (!ParseIndexText(index_text, index) || index < 1 || index > kMaxHistoryIndex) {
    console::WriteColouredLine(console::kColourError, "Vantor: Invalid history index '" +
                                                          index_text + "' (valid values are 1 to " +
                                                          std::to_string(kMaxHistoryIndex) + ").");
    EndRun(kExitRunError);
  }
  GoBackInHistory(index);
}

[[noreturn]] void UsageOption() {
  console::SetColour(console::kColourNotice);
  console::PagedLine(BannerLine());
  console::PagedLine("");
  ShowUsageScreen();
  EndRun(kExitScreenShown);
}

[[noreturn]] void WelcomeOption() {
  ShowWelcomeScreen();
  EndRun(kExitScreenShown);
}

[[noreturn]] void AnnounceAndLaunch(const std::string& announcement, const std::string& document) {
  console::WriteLine(announcement);
  LaunchAndExit(document);
}

// Explorer's own result is of no interest: a failed start is silent.
[[noreturn]] void ExplorerOption() {
  console::WriteLine("Starting Explorer in current directory");
  ShellRun("explorer.exe", "/e,.", "", kShowWindow);
  EndRun(kExitNormal);
}

// Handles the options that need nothing but the option word; returns when
// `word` is none of them.
void WordOnlyOption(const std::string& word) {
  if (word == "-?") UsageOption();
  if (word == "-W") WelcomeOption();
  if (word == "-L" || word == "-H") ShowHistory();
  if (word == "-SUPPORT") AnnounceAndLaunch("Starting Web browser at support page", kSupportPage);
  if (word == "-MANUAL" || word == "-HELP")
    AnnounceAndLaunch("Starting program to display Vantor help manual", kManualFile);
  if (word == "-X") ExplorerOption();
  if (word == "-HOME") AnnounceAndLaunch("Starting Web browser for Vantor homepage", kHomePage);
  if (word == "-ORBWELL")
    AnnounceAndLaunch("Starting Web browser to show Orbwell Software home page", kMakerWebSite);
  if (word == "-") GoBackInHistory(1);
}

}  // namespace

std::string DispatchOptions() {
  const std::vector<std::string>& args = Arguments();
  if (args.size() < 2) {
    console::WriteLine(RequireStartDir());
    EndRun(kExitNormal);
  }
  std::string word = args[1];
  sys::UpperCase(word);
  if (word.empty() || word[0] != '-') return JoinArguments(args, 1);
  if (word == "-A") AliasOption(std::vector<std::string>(args.begin() + 1, args.end()));
  WordOnlyOption(word);
  HistoryIndexOption(args[1].substr(1));
}

}  // namespace vantor
