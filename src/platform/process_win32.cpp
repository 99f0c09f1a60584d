#include <vector>

#include "base/path_text.h"
#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

HANDLE held_lock = nullptr;

}  // namespace

std::string WideToOem(const wchar_t* text, int length) {
  if (length <= 0) return std::string();
  int size = WideCharToMultiByte(CP_OEMCP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_OEMCP, 0, text, length, result.data(), size, nullptr, nullptr);
  return result;
}

// The command line and the environment come as ANSI bytes from the ...A
// calls, while the file functions take OEM bytes: both are read in UTF-16
// and converted to OEM, so everything the program compares is in one code page.
std::string CommandLine() {
  const wchar_t* line = GetCommandLineW();
  return WideToOem(line, static_cast<int>(wcslen(line)));
}

bool GetEnv(const std::string& name, std::string& value) {
  std::wstring wide_name(name.begin(), name.end());
  DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    value.clear();
    return true;
  }
  std::vector<wchar_t> buffer(size);
  DWORD length = GetEnvironmentVariableW(wide_name.c_str(), buffer.data(), size);
  value = WideToOem(buffer.data(), static_cast<int>(length));
  return true;
}

void UseOemFileApis() { SetFileApisToOEM(); }

std::uint32_t ProcessId() { return GetCurrentProcessId(); }

// ASCII letters upper-case alike in every code page, so text made of ASCII
// alone is done here; any other text goes to the locale's rules of user32
// whole and untouched, since in a double-byte code page the second byte of
// a character can look like an ASCII letter (fullwidth B is 82 61 in 932).
void UpperCase(std::string& text) {
  if (IsAscii(text)) {
    for (char& c : text) c = AsciiUpper(c);
    return;
  }
  using CharUpperBuffFunction = DWORD(WINAPI*)(LPSTR, DWORD);
  static const auto char_upper_buff =
      LibraryFunction<CharUpperBuffFunction>("user32.dll", "CharUpperBuffA");
  if (char_upper_buff != nullptr) char_upper_buff(text.data(), static_cast<DWORD>(text.size()));
}

// A named mutex: the system gives it back when its holder ends, so a run
// that was killed while holding it stops no later run.
bool TakeSharedLock(const std::string& name, std::uint32_t milliseconds) {
  GiveBackSharedLock();
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return false;
  // WAIT_ABANDONED: its holder ended without giving it back; it is ours now.
  DWORD waited = WaitForSingleObject(mutex, milliseconds);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return false;
  }
  held_lock = mutex;
  return true;
}

void GiveBackSharedLock() {
  if (held_lock == nullptr) return;
  ReleaseMutex(held_lock);
  CloseHandle(held_lock);
  held_lock = nullptr;
}

}  // namespace vantor::sys
