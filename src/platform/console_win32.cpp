#include <atomic>

#include "base/path_text.h"
#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

constexpr WORD kVirtualKeyC = 0x43;
constexpr WORD kScanCodeC = 0x2E;
constexpr DWORD kMaxPeekedRecords = 4096;

// Whether console input is read raw (SetRawInputMode) just now; read by the
// control handler, which the system calls in a thread of its own.
std::atomic<bool> ctrl_c_is_key{false};

// Whether a redirected standard output gets UTF-8 rather than the console's
// code page.
bool utf8_redirected = false;
// The input mode the console had when the program first set its own.
std::atomic<bool> user_mode_known{false};
std::atomic<DWORD> user_mode{ENABLE_PROCESSED_INPUT};

void PutBackUserMode() {
  if (user_mode_known) SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), user_mode);
}

// On Windows, Ctrl+C typed while processed input is off is a key record
// with character 3 and raises no event. Wine raises CTRL_C_EVENT from a
// pseudo-terminal in every input mode (and never gives the key), so while
// input is read raw the event is put into the input as the key Windows
// gives. In processed mode the next handler, the system's, ends the process.
// Every other event (Ctrl+Break, the window closed, logoff, shutdown) ends
// the process after the handlers: while input is raw, the console gets the
// user's mode back first, since the shell that goes on with it (or the
// batch file cmd asks about) would otherwise read keys raw.
BOOL WINAPI CtrlCAsKey(DWORD event) {
  if (!ctrl_c_is_key) return FALSE;
  if (event != CTRL_C_EVENT) {
    PutBackUserMode();
    return FALSE;
  }
  INPUT_RECORD record = {};
  record.EventType = KEY_EVENT;
  KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  key.bKeyDown = TRUE;
  key.wRepeatCount = 1;
  key.wVirtualKeyCode = kVirtualKeyC;
  key.wVirtualScanCode = kScanCodeC;
  key.uChar.AsciiChar = 3;
  key.dwControlKeyState = LEFT_CTRL_PRESSED;
  DWORD written = 0;
  WriteConsoleInputA(GetStdHandle(STD_INPUT_HANDLE), &record, 1, &written);
  return TRUE;
}

HANDLE StdHandle(StdStream stream) {
  switch (stream) {
    case StdStream::Output:
      return GetStdHandle(STD_OUTPUT_HANDLE);
    case StdStream::Error:
      return GetStdHandle(STD_ERROR_HANDLE);
    case StdStream::Input:
      return GetStdHandle(STD_INPUT_HANDLE);
  }
  return INVALID_HANDLE_VALUE;
}

// The screen buffer's cells from (column, row) on, `count` of them, and a
// buffer of that one row.
SMALL_RECT RowRegion(int column, int row, std::size_t count) {
  return SMALL_RECT{static_cast<SHORT>(column), static_cast<SHORT>(row),
                    static_cast<SHORT>(column + static_cast<int>(count) - 1),
                    static_cast<SHORT>(row)};
}

COORD RowSize(std::size_t count) { return COORD{static_cast<SHORT>(count), 1}; }

// Hands `text` to `write` until all of it is written or a write fails.
template <typename Text, typename Write>
void WriteWhole(const Text& text, Write write) {
  std::size_t done = 0;
  while (done < text.size()) {
    DWORD written = 0;
    if (!write(text.data() + done, static_cast<DWORD>(text.size() - done), &written) ||
        written == 0)
      return;
    done += written;
  }
}

InputEvent EventOf(const INPUT_RECORD& record) {
  InputEvent event;
  event.is_key = record.EventType == KEY_EVENT;
  if (event.is_key) {
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    event.key_down = key.bKeyDown != 0;
    event.character = static_cast<std::uint16_t>(key.uChar.UnicodeChar);
    event.virtual_key = key.wVirtualKeyCode;
    event.scan_code = key.wVirtualScanCode;
    event.control_state = key.dwControlKeyState;
  }
  return event;
}

}  // namespace

bool StdHandleValid(StdStream stream) { return StdHandle(stream) != INVALID_HANDLE_VALUE; }

bool SetProcessedInputMode() {
  ctrl_c_is_key = false;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD found = 0;
  if (!user_mode_known && GetConsoleMode(input, &found)) {
    user_mode = found;
    user_mode_known = true;
  }
  return SetConsoleMode(input, ENABLE_PROCESSED_INPUT) != 0;
}

void RestoreInputMode() {
  ctrl_c_is_key = false;
  PutBackUserMode();
}

void SetRawInputMode() {
  static const bool handler_added = SetConsoleCtrlHandler(CtrlCAsKey, TRUE) != 0;
  static_cast<void>(handler_added);
  ctrl_c_is_key = true;
  SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), 0);
}

bool ScreenBufferSize(int& rows, int& columns) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return false;
  rows = info.dwSize.Y;
  columns = info.dwSize.X;
  return true;
}

// A console is written in UTF-16, so that it shows every character as it
// is whatever its code page; a redirected stream gets the console's code
// page, as it always has, with '?' for what that cannot hold.
void WriteOut(const std::string& text) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (!IsAscii(text) && GetConsoleMode(output, &mode)) {
    std::wstring wide = Widen(text);
    WriteWhole(wide, [output](const wchar_t* part, DWORD size, DWORD* written) {
      return WriteConsoleW(output, part, size, written, nullptr);
    });
    return;
  }
  std::string bytes;
  EncodeText(text, utf8_redirected ? kUtf8CodePage : ConsoleCodePage(), bytes);
  WriteWhole(bytes, [output](const char* part, DWORD size, DWORD* written) {
    return WriteFile(output, part, size, written, nullptr);
  });
}

void UseUtf8ForRedirectedOutput() { utf8_redirected = true; }

void SetTextAttribute(int attribute) {
  SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), static_cast<WORD>(attribute));
}

ReadStatus ReadInputEvent(InputEvent& event) {
  INPUT_RECORD record;
  DWORD count = 0;
  if (!ReadConsoleInputW(GetStdHandle(STD_INPUT_HANDLE), &record, 1, &count))
    return ReadStatus::Failed;
  if (count == 0) return ReadStatus::NoEvent;
  event = EventOf(record);
  return ReadStatus::Event;
}

bool PeekInputEvents(std::vector<InputEvent>& events) {
  events.clear();
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  // Wine's console reads the keys typed in its terminal only while a
  // program waits for or reads input; a wait that returns at once is enough.
  // On Windows it changes nothing.
  WaitForSingleObject(input, 0);
  DWORD pending = 0;
  if (!GetNumberOfConsoleInputEvents(input, &pending)) return false;
  if (pending == 0) return true;
  std::vector<INPUT_RECORD> records(pending < kMaxPeekedRecords ? pending : kMaxPeekedRecords);
  DWORD count = 0;
  if (!PeekConsoleInputW(input, records.data(), static_cast<DWORD>(records.size()), &count))
    return false;
  events.resize(count);
  for (DWORD i = 0; i < count; ++i) events[i] = EventOf(records[i]);
  return true;
}

void DiscardInputEvents(std::size_t count) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  while (count > 0) {
    INPUT_RECORD records[64];
    DWORD wanted = count < 64 ? static_cast<DWORD>(count) : 64;
    DWORD got = 0;
    if (!ReadConsoleInputW(input, records, wanted, &got) || got == 0) return;
    count -= got;
  }
}

std::uint64_t TickCount() { return GetTickCount64(); }

bool CursorPosition(int& column, int& row) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return false;
  column = info.dwCursorPosition.X;
  row = info.dwCursorPosition.Y;
  return true;
}

// One call each way, characters and attributes together: Wine's console
// draws what a call changed at once, so separate calls would show the new
// characters in the old colours for a moment.
bool ReadScreenCells(int column, int row, std::size_t count, ScreenCells& cells) {
  std::vector<CHAR_INFO> buffer(count);
  SMALL_RECT region = RowRegion(column, row, count);
  if (count == 0 || !ReadConsoleOutputW(GetStdHandle(STD_OUTPUT_HANDLE), buffer.data(),
                                        RowSize(count), COORD{0, 0}, &region))
    return false;
  cells.characters.clear();
  cells.attributes.clear();
  for (const CHAR_INFO& cell : buffer) {
    cells.characters += static_cast<char16_t>(cell.Char.UnicodeChar);
    cells.attributes.push_back(cell.Attributes);
  }
  return true;
}

void WriteScreenCells(int column, int row, const ScreenCells& cells) {
  const std::size_t count = cells.characters.size();
  if (count == 0) return;
  std::vector<CHAR_INFO> buffer(count);
  for (std::size_t i = 0; i < count; ++i) {
    buffer[i].Char.UnicodeChar = static_cast<WCHAR>(cells.characters[i]);
    buffer[i].Attributes = cells.attributes[i];
  }
  SMALL_RECT region = RowRegion(column, row, count);
  WriteConsoleOutputW(GetStdHandle(STD_OUTPUT_HANDLE), buffer.data(), RowSize(count), COORD{0, 0},
                      &region);
}

}  // namespace vantor::sys
