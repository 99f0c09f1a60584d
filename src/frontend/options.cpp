#include "frontend/options.h"

#include "console/wincrt.h"
#include "frontend/command_line.h"
#include "frontend/exit.h"
#include "frontend/start_dir.h"
#include "handoff/handoff.h"
#include "platform/system.h"
#include "store/history_alias.h"
#include "store/settings.h"

namespace vantor {
namespace {

constexpr int kMaxHistoryIndex = 20;

std::string JoinedSpecification(const std::vector<std::string>& args) {
  std::string spec = args[1];
  for (std::size_t i = 2; i < args.size(); ++i) spec += " " + args[i];
  return spec;
}

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

}  // namespace

std::string DispatchOptions() {
  const std::vector<std::string>& args = Arguments();
  if (args.size() < 2) {
    console::WriteLine(StartDir());
    EndRun(kExitNormal);
  }
  std::string word = args[1];
  sys::UpperCase(word);
  if (word.empty() || word[0] != '-') return JoinedSpecification(args);
  std::string index_text = args[1].substr(1);
  if (word == "-A") store::AliasOption(std::vector<std::string>(args.begin() + 1, args.end()));
  if (word == "-L" || word == "-H") store::ShowHistory();
  if (word == "-") GoBackInHistory(1);
  HistoryIndexOption(index_text);
}

}  // namespace vantor
