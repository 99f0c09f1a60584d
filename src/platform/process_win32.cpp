#include <vector>

#include "base/path_text.h"
#include "platform/system.h"
#include "platform/win32.h"

// After windows.h, which it relies on.
#include <sddl.h>

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

void NoCriticalErrorDialogs() { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

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

namespace {

// The user's security identifier as text ("S-1-5-21-..."); empty when it
// cannot be read.
std::string UserSidText() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::string();
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  std::string text;
  char* sid = nullptr;
  if (size != 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
      ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid)) {
    text = sid;
    LocalFree(sid);
  }
  CloseHandle(token);
  return text;
}

// Opens the lock called `name`, creating it when no process has it. Made
// with the default security, a lock created by a console run as
// administrator would be open to administrators alone, and an ordinary
// console of the same user would save without it; so it grants the user
// and the system full access. It is opened only for waiting and giving
// back: asking for more (as CreateMutexA does) is refused to a process of
// a lower integrity level than the creator's.
HANDLE OpenSharedLock(const std::string& name) {
  constexpr DWORD kLockAccess = SYNCHRONIZE | MUTEX_MODIFY_STATE;
  static const std::string user = UserSidText();
  const std::string rules = "D:(A;;GA;;;" + user + ")(A;;GA;;;SY)";
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (user.empty() || !ConvertStringSecurityDescriptorToSecurityDescriptorA(
                          rules.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
    descriptor = nullptr;
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
  HANDLE mutex =
      CreateMutexExA(descriptor != nullptr ? &attributes : nullptr, name.c_str(), 0, kLockAccess);
  if (descriptor != nullptr) LocalFree(descriptor);
  return mutex;
}

}  // namespace

// A named mutex: the system gives it back when its holder ends, so a run
// that was killed while holding it stops no later run.
bool TakeSharedLock(const std::string& name, std::uint32_t milliseconds) {
  GiveBackSharedLock();
  HANDLE mutex = OpenSharedLock(name);
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
