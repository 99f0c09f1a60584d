#include "console/search_progress.h"

#include <algorithm>

namespace vantor::console {
namespace {

constexpr std::uint64_t kPeekMilliseconds = 50;
constexpr std::uint64_t kShowAfterMilliseconds = 500;
constexpr std::uint64_t kRedrawMilliseconds = 100;

bool IsStopKey(const sys::InputEvent& event) {
  KeyPress key;
  return KeyOfRecord(event, key) && (key.character == kCharEscape || key.character == kCharCtrlC);
}

}  // namespace

std::string ProgressText(std::uint64_t directories) {
  return "Vantor: Searching... " + std::to_string(directories) +
         " directories read (press Esc to stop)";
}

SearchProgress::SearchProgress()
    : start_(sys::TickCount()),
      last_peek_(start_),
      peeking_(InputIsConsole()),
      drawable_(OutputIsConsole()) {}

SearchProgress::~SearchProgress() {
  if (drawn_) sys::WriteScreenCells(column_, row_, saved_);
}

bool SearchProgress::DirectoryRead() {
  ++directories_;
  return Look();
}

bool SearchProgress::KeepListing() { return Look(); }

// Called for every directory and every so many entries of a listing, so
// the clock is read often and the console only now and then.
bool SearchProgress::Look() {
  if (stopped_) return false;
  const std::uint64_t now = sys::TickCount();
  if (peeking_ && now - last_peek_ >= kPeekMilliseconds) {
    last_peek_ = now;
    LookForStopKey();
    if (stopped_) return false;
  }
  if (drawable_ && now - start_ >= kShowAfterMilliseconds &&
      (!drawn_ || (now - last_draw_ >= kRedrawMilliseconds && directories_ != drawn_count_)))
    Draw(now);
  return true;
}

void SearchProgress::LookForStopKey() {
  if (!sys::PeekInputEvents(pending_)) {
    peeking_ = false;  // no console: no key will ever come
    return;
  }
  auto stop_key = std::find_if(pending_.begin(), pending_.end(), IsStopKey);
  if (stop_key == pending_.end()) return;
  sys::DiscardInputEvents(static_cast<std::size_t>(stop_key - pending_.begin()) + 1);
  stopped_ = true;
}

// Finds the line's place, the cursor's row from the cursor on (short of
// the last column, where a terminal may wrap), and keeps what is there.
bool SearchProgress::Place() {
  if (!sys::CursorPosition(column_, row_)) return false;
  const int room = ScreenWidth() - column_ - 1;
  return room > 0 && sys::ReadScreenCells(column_, row_, static_cast<std::size_t>(room), saved_);
}

void SearchProgress::Draw(std::uint64_t now) {
  last_draw_ = now;
  drawn_count_ = directories_;
  if (!drawn_ && !Place()) {
    drawable_ = false;
    return;
  }
  const std::string text = ProgressText(directories_);  // ASCII: the same in UTF-16
  std::u16string line(text.begin(), text.end());
  line.resize(std::min(line.size(), saved_.characters.size()));
  sys::WriteScreenCells(
      column_, row_,
      sys::ScreenCells{line, std::vector<std::uint16_t>(line.size(), kColourNotice)});
  drawn_ = true;
}

}  // namespace vantor::console
