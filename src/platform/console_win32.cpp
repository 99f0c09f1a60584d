#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

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

}  // namespace

bool StdHandleValid(StdStream stream) { return StdHandle(stream) != INVALID_HANDLE_VALUE; }

void SetProcessedInputMode() {
  SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), ENABLE_PROCESSED_INPUT);
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
  event = InputEvent();
  event.is_key = record.EventType == KEY_EVENT;
  if (event.is_key) {
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    event.key_down = key.bKeyDown != 0;
    event.character = static_cast<std::uint16_t>(key.uChar.UnicodeChar);
    event.virtual_key = key.wVirtualKeyCode;
    event.scan_code = key.wVirtualScanCode;
    event.control_state = key.dwControlKeyState;
  }
  return ReadStatus::Event;
}

}  // namespace vantor::sys
