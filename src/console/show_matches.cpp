#include "console/show_matches.h"

#include <algorithm>
#include <string_view>

#include "console/text_layout.h"
#include "console/wincrt.h"
#include "platform/system.h"

namespace vantor::console {
namespace {

// The n-th entry of every page is chosen with the n-th of these characters.
constexpr std::string_view kSelectionKeys =
    "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kNextPageChars = " +.=>]}";
constexpr std::string_view kPreviousPageChars = ",-<[{";

// The state of one menu: which page is shown and how many entries it holds.
struct Menu {
  const matching::MatchList& list;
  bool create_mode;
  int page_size;
  int first_shown;  // 1-based list position of the page's first entry
  int shown_count;

  int Entries() const { return static_cast<int>(list.size()); }
  int Pages() const { return (Entries() + page_size - 1) / page_size; }
  int CurrentPage() const { return (first_shown - 1) / page_size + 1; }
};

enum class PageMove { None, Next, Previous, First, Last };

// The key of the n-th entry of a page (n from 1).
char SelectionKey(int n) { return kSelectionKeys[static_cast<std::size_t>(n - 1)]; }

std::string Upper(std::string text) {
  sys::UpperCase(text);
  return text;
}

// Upper-casing keeps the length of a text, so only entries as long as
// `path` are upper-cased and compared: a list of thousands costs a scan.
void RemoveEntriesEqualTo(const std::string& path, matching::MatchList& list) {
  const std::string upper_path = Upper(path);
  auto equal = [&](const matching::MatchEntry& entry) {
    return entry.path.size() == path.size() && Upper(entry.path) == upper_path;
  };
  list.erase(std::remove_if(list.begin(), list.end(), equal), list.end());
}

void DrawEntries(Menu& menu) {
  const int field = ColumnWidth() - 5;
  menu.shown_count = 0;
  for (int position = menu.first_shown;
       position <= menu.Entries() && menu.shown_count < menu.page_size; ++position) {
    ++menu.shown_count;
    SetColour(kColourKey);
    Write(std::string("[") + SelectionKey(menu.shown_count) + "] ");
    SetColour(kColourNormal);
    const std::string& path = menu.list[static_cast<std::size_t>(position - 1)].path;
    Write(FitToWidth(ShortenPath(path, field), field));
    if (menu.shown_count % 2 == 0) Write(kLineEnd);
  }
  if (menu.shown_count % 2 != 0) Write(kLineEnd);
  Write(kLineEnd);
}

void DrawPrompt(const Menu& menu) {
  SetColour(kColourNormal);
  if (menu.Pages() > 1)
    Write("Page " + std::to_string(menu.CurrentPage()) + " of " + std::to_string(menu.Pages()) +
          "  ");
  Write(menu.create_mode ? "Create directory " : "Change directory to ");
  Write(std::string("(") + SelectionKey(1) + "-" + SelectionKey(menu.shown_count) +
        " or Escape to exit)? ");
  SetColour(kColourNormal);
}

void DrawPage(Menu& menu) {
  DrawEntries(menu);
  DrawPrompt(menu);
}

PageMove MoveOf(KeyPress key) {
  if (key.character != 0) {
    if (kNextPageChars.find(static_cast<char>(key.character)) != std::string_view::npos)
      return PageMove::Next;
    if (kPreviousPageChars.find(static_cast<char>(key.character)) != std::string_view::npos)
      return PageMove::Previous;
    return PageMove::None;
  }
  switch (key.scan_code) {
    case kScanDown:
    case kScanPgDn:
      return PageMove::Next;
    case kScanUp:
    case kScanPgUp:
      return PageMove::Previous;
    case kScanHome:
      return PageMove::First;
    case kScanEnd:
      return PageMove::Last;
    default:
      return PageMove::None;
  }
}

// Moves `menu` to another page when the move is possible there; returns
// whether the page changed.
bool MovePage(Menu& menu, PageMove move) {
  const bool on_first = menu.first_shown == 1;
  const bool on_last = menu.CurrentPage() == menu.Pages();
  switch (move) {
    case PageMove::Next:
      if (menu.first_shown + menu.page_size > menu.Entries()) return false;
      menu.first_shown += menu.page_size;
      return true;
    case PageMove::Previous:
      if (on_first) return false;
      menu.first_shown -= menu.page_size;
      return true;
    case PageMove::First:
      if (on_first) return false;
      menu.first_shown = 1;
      return true;
    case PageMove::Last:
      if (on_last) return false;
      menu.first_shown = (menu.Entries() - 1) / menu.page_size * menu.page_size + 1;
      return true;
    case PageMove::None:
      break;
  }
  return false;
}

// The position of `character` among the keys of the page shown, or -1.
int KeyIndex(std::uint8_t character, int shown_count) {
  std::size_t index = kSelectionKeys.substr(0, static_cast<std::size_t>(shown_count))
                          .find(static_cast<char>(character));
  return index == std::string_view::npos ? -1 : static_cast<int>(index);
}

std::string LeaveMenu() {
  WriteLine("Exit");
  return std::string();
}

std::string RunMenu(Menu& menu) {
  DrawPage(menu);
  for (;;) {
    KeyPress key = ReadKeyPress();
    // Input that is no console answers End at once on every read; the menu
    // could never be answered, so it ends as if Esc had been pressed.
    if (LastKeyReadFailed()) return LeaveMenu();
    if (MovePage(menu, MoveOf(key))) {
      Write(kLineEnd);
      DrawPage(menu);
    }
    int index = KeyIndex(key.character, menu.shown_count);
    if (index >= 0) {
      WriteLine(std::string(1, static_cast<char>(key.character)));
      return menu.list[static_cast<std::size_t>(menu.first_shown - 1 + index)].path;
    }
    if (key.character == kCharEscape || key.character == kCharCtrlC) return LeaveMenu();
  }
}

}  // namespace

int MenuPageSize() {
  const int size = 2 * (ScreenLastRow() - 1);
  return std::clamp(size, 1, static_cast<int>(kSelectionKeys.size()));
}

void KeepOfferedEntries(matching::MatchList& list, const std::string& leave_out) {
  if (list.size() > 1) RemoveEntriesEqualTo(leave_out, list);
}

std::string ShowMatches(matching::MatchList& list, bool create_mode, const std::string& leave_out) {
  KeepOfferedEntries(list, leave_out);
  if (list.size() == 1) return list.front().path;
  if (list.empty()) return std::string();
  Menu menu{list, create_mode, MenuPageSize(), 1, 0};
  return RunMenu(menu);
}

}  // namespace vantor::console
