// The progress line of a long search, and the keys that stop it: the
// watcher an interactive run gives its search.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/wincrt.h"
#include "matching/find_matches.h"
#include "platform/system.h"

namespace vantor::console {

// Watches one search while it lives; console input is read raw meanwhile.
// - Esc or Ctrl+C stops the search. The input is peeked at about every
//   50 ms, so keys typed ahead stay there for the menu; the stopping key is
//   taken out, with whatever was typed before it.
// - When standard output is a console and the search has run for half a
//   second, a line at the cursor tells how many directories were read; it
//   changes at most ten times a second, and only when the count did. It is
//   drawn without moving the cursor, and when the watcher goes the cells it
//   covered are put back as they were, so nothing of it remains.
class SearchProgress : public matching::SearchWatcher {
 public:
  SearchProgress();
  ~SearchProgress() override;
  SearchProgress(const SearchProgress&) = delete;
  SearchProgress& operator=(const SearchProgress&) = delete;

  bool DirectoryRead() override;
  bool KeepListing() override;

 private:
  bool Look();
  void LookForStopKey();
  bool Place();
  void Draw(std::uint64_t now);

  RawKeyInput raw_input_;
  std::uint64_t start_;
  std::uint64_t last_peek_;
  std::uint64_t last_draw_ = 0;
  std::uint64_t directories_ = 0;
  std::uint64_t drawn_count_ = 0;
  bool peeking_;
  bool stopped_ = false;
  bool drawable_;
  bool drawn_ = false;
  int column_ = 0;
  int row_ = 0;
  sys::ScreenCells saved_;  // the cells the line covers, as they were
  std::vector<sys::InputEvent> pending_;
};

// The progress line after `directories` directories were read.
std::string ProgressText(std::uint64_t directories);

}  // namespace vantor::console
