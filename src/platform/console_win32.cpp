#include <atomic>

#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

constexpr WORD kVirtualKeyC = 0x43;
constexpr WORD kScanCodeC = 0x2E;

// Whether console input is read raw (SetRawInputMode) just now; read by the
// control handler, which the system calls in a thread of its own.
std::atomic<bool> ctrl_c_is_key{false};

// On Windows, Ctrl+C typed while processed input is off is a key record
// with character 3 and raises no event. Wine raises CTRL_C_EVENT from a
// pseudo-terminal in every input mode (and never gives the key), so while
// input is read raw the event is put into the input as the key Windows
// gives. In processed mode the next handler, the system's, ends the process.
BOOL WINAPI CtrlCAsKey(DWORD event) {
  if (event != CTRL_C_EVENT || !ctrl_c_is_key) return FALSE;
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

void SetProcessedInputMode() {
  SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), ENABLE_PROCESSED_INPUT);
  ctrl_c_is_key = false;
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

// WriteFile on the handle works for a console and for a redirected stream
// alike, and writes the bytes unchanged in the console's output code page.
void WriteOut(const std::string& bytes) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(output, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                   nullptr) ||
        written == 0)
      return;
    done += written;
  }
}

void SetTextAttribute(int attribute) {
  SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), static_cast<WORD>(attribute));
}

ReadStatus ReadInputEvent(InputEvent& event) {
  INPUT_RECORD record;
  DWORD count = 0;
  if (!ReadConsoleInputA(GetStdHandle(STD_INPUT_HANDLE), &record, 1, &count))
    return ReadStatus::Failed;
  if (count == 0) return ReadStatus::NoEvent;
  event = EventOf(record);
  return ReadStatus::Event;
}

}  // namespace vantor::sys
