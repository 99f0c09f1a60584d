#include <vector>

#include "base/path_text.h"
#include "base/utf8_text.h"
#include "platform/system.h"
#include "platform/win32.h"

// After windows.h, which it relies on.
#include <sddl.h>

namespace vantor::sys {
namespace {

HANDLE held_lock = nullptr;

}  // namespace

std::wstring Widen(std::string_view text) {
  std::wstring wide;
  if (IsAscii(text)) return wide.assign(text.begin(), text.end());
  int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  wide.resize(static_cast<std::size_t>(size > 0 ? size : 0));
  if (size > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Narrow(const wchar_t* text, std::size_t length) {
  std::string narrow;
  if (length == 0) return narrow;
  int count = static_cast<int>(length);
  int size = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(size > 0 ? size : 0));
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, count, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

// The command line and the environment are read in UTF-16, as the system
// keeps them, so that every name typed reaches the program as it is.
std::string CommandLine() {
  const wchar_t* line = GetCommandLineW();
  return Narrow(line, wcslen(line));
}

bool GetEnv(const std::string& name, std::string& value) {
  std::wstring wide_name = Widen(name);
  DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    value.clear();
    return true;
  }
  std::vector<wchar_t> buffer(size);
  DWORD length = GetEnvironmentVariableW(wide_name.c_str(), buffer.data(), size);
  value = Narrow(buffer.data(), length < size ? length : 0);
  return true;
}

// The file functions the program calls are the UTF-16 ones, which this does
// not touch; it keeps any ...A call the runtime makes in the OEM code page.
void UseOemFileApis() { SetFileApisToOEM(); }

void NoCriticalErrorDialogs() { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

std::uint32_t ProcessId() { return GetCurrentProcessId(); }

// ASCII letters are done here. Every other character of the basic plane
// goes to the locale's rules in one call, and takes its upper-case form only
// when that is as long in UTF-8: a text keeps its length, so positions found
// in the upper-cased text hold in the original.
void UpperCase(std::string& text) {
  std::wstring wide;
  std::vector<std::size_t> offsets;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = CharLength(text, at);
    if (length == 1) {
      text[at] = AsciiUpper(text[at]);
    } else if (length < 4) {
      wide += static_cast<wchar_t>(CharAt(text, at));
      offsets.push_back(at);
    }
    at += length;
  }
  if (wide.empty()) return;
  int count = static_cast<int>(wide.size());
  std::wstring upper(wide.size(), L'\0');
  if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, wide.data(), count, upper.data(), count) !=
      count)
    return;
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    std::string form;
    AppendChar(form, static_cast<char32_t>(upper[i]));
    if (form.size() == CharLength(text, offsets[i])) text.replace(offsets[i], form.size(), form);
  }
}

std::uint32_t OemCodePage() { return GetOEMCP(); }

std::uint32_t AnsiCodePage() { return GetACP(); }

std::uint32_t ConsoleCodePage() {
  UINT code_page = GetConsoleOutputCP();
  return code_page != 0 ? code_page : GetOEMCP();
}

// Without best-fit forms (a typographic apostrophe must not become a plain
// one, which would name another file), and checked by a round trip, since
// not every code page reports the characters it could not hold.
bool EncodeText(std::string_view text, std::uint32_t code_page, std::string& bytes) {
  bytes.clear();
  if (code_page == CP_UTF8 || IsAscii(text)) {
    bytes.assign(text);
    return true;
  }
  std::wstring wide = Widen(text);
  int count = static_cast<int>(wide.size());
  BOOL used_default = FALSE;
  int size = WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, wide.data(), count, nullptr, 0,
                                 "?", &used_default);
  if (size <= 0) {
    bytes.assign(text.size(), '?');
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, wide.data(), count, bytes.data(), size, "?",
                      &used_default);
  return !used_default && DecodeText(bytes, code_page) == text;
}

std::string DecodeText(std::string_view bytes, std::uint32_t code_page) {
  if (code_page == CP_UTF8 || IsAscii(bytes)) return std::string(bytes);
  int count = static_cast<int>(bytes.size());
  int size = MultiByteToWideChar(code_page, 0, bytes.data(), count, nullptr, 0);
  if (size <= 0) return std::string(bytes.size(), '?');
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), count, wide.data(), size);
  return Narrow(wide);
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
