// Test helper: writes key presses into the console input of another
// process, for keys that a pseudo-terminal cannot send (Num Lock, Scroll
// Lock, Esc with its character, Ctrl+C as a character).
//
//   inject_keys TARGET KEY...
//
// TARGET is a process id or the name of a running program ("vantor.exe",
// the most recently started one of that name is taken). Each KEY is
// "character,virtual key,scan code[,control state]" (decimal or 0x hex)
// and becomes a key-down record followed by a key-up record.
// Exit codes: 0 written, 1 bad arguments, 2 no such process or console,
// 3 console input not opened, 4 write failed.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The id of the last process in the snapshot whose program name is `name`
// (ignoring case); 0 when none runs.
DWORD FindProcess(const char* name) {
  wchar_t wide_name[MAX_PATH] = {};
  if (!MultiByteToWideChar(CP_ACP, 0, name, -1, wide_name, MAX_PATH)) return 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof(entry);
  DWORD found = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, wide_name) == 0) found = entry.th32ProcessID;
  }
  CloseHandle(snapshot);
  return found;
}

DWORD TargetId(const char* target) {
  char* end = nullptr;
  unsigned long id = std::strtoul(target, &end, 0);
  if (end != target && *end == '\0') return static_cast<DWORD>(id);
  return FindProcess(target);
}

// Parses "character,virtual key,scan code[,control state]" into a pressed
// key record. False when the text is not of that shape.
bool ParseKey(const char* text, INPUT_RECORD& record) {
  unsigned long fields[4] = {0, 0, 0, 0};
  int count = 0;
  const char* at = text;
  while (count < 4) {
    char* end = nullptr;
    fields[count++] = std::strtoul(at, &end, 0);
    if (end == at) return false;
    if (*end == '\0') break;
    if (*end != ',') return false;
    at = end + 1;
  }
  if (count < 3) return false;
  std::memset(&record, 0, sizeof(record));
  record.EventType = KEY_EVENT;
  KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  key.bKeyDown = TRUE;
  key.wRepeatCount = 1;
  key.uChar.AsciiChar = static_cast<CHAR>(fields[0]);
  key.wVirtualKeyCode = static_cast<WORD>(fields[1]);
  key.wVirtualScanCode = static_cast<WORD>(fields[2]);
  key.dwControlKeyState = static_cast<DWORD>(fields[3]);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: inject_keys TARGET char,vk,scan[,state]...\n");
    return 1;
  }
  std::vector<INPUT_RECORD> records;
  for (int index = 2; index < argc; ++index) {
    INPUT_RECORD press;
    if (!ParseKey(argv[index], press)) {
      std::fprintf(stderr, "inject_keys: bad key '%s'\n", argv[index]);
      return 1;
    }
    INPUT_RECORD release = press;
    release.Event.KeyEvent.bKeyDown = FALSE;
    records.push_back(press);
    records.push_back(release);
  }
  DWORD target = TargetId(argv[1]);
  FreeConsole();
  if (target == 0 || !AttachConsole(target)) return 2;
  HANDLE input =
      CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (input == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  BOOL ok = WriteConsoleInputA(input, records.data(), static_cast<DWORD>(records.size()), &written);
  CloseHandle(input);
  return ok && written == records.size() ? 0 : 4;
}
