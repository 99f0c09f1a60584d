// vantor-path.exe: puts a folder on the current user's Path, or takes it
// off again, for install.bat and uninstall.bat.
//
//   vantor-path add FOLDER      exit 0: added, 2: already there, 1: failed
//   vantor-path remove FOLDER   exit 0: removed, 2: not there, 1: failed
//
// The value "Path" of HKCU\Environment is read and written as stored
// (UTF-16 bytes, its type kept; a new value is REG_EXPAND_SZ), so removing
// a folder that was added gives back the previous value byte for byte. A
// batch file cannot do this: cmd mangles percent signs, exclamation marks,
// quotes and long lines, and setx cuts values at 1,024 characters. After a
// change every window hears of it, so consoles opened afterwards from the
// desktop see the new Path.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "path_entries.h"

namespace {

using vantor::setup::StoredText;

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16");

constexpr int kChanged = 0;
constexpr int kFailed = 1;
constexpr int kUnchanged = 2;

// An environment variable can hold at most 32,767 characters, the NUL
// included; a longer Path would be cut off in every new process.
constexpr std::size_t kMaxPathText = 32766;

const wchar_t* const kEnvironmentKey = L"Environment";
const wchar_t* const kPathName = L"Path";

// The Path value as found: `exists` false when there is none.
struct PathValue {
  bool exists = false;
  DWORD type = REG_EXPAND_SZ;
  StoredText stored;
};

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

int Fail(const char* what, LONG error) {
  std::fprintf(stderr, "vantor-path: %s (error %ld)\n", what, static_cast<long>(error));
  return kFailed;
}

LONG ReadPath(HKEY key, PathValue& value) {
  DWORD size = 0;
  LONG result = RegQueryValueExW(key, kPathName, nullptr, &value.type, nullptr, &size);
  while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
    std::string bytes(size, '\0');
    result = RegQueryValueExW(key, kPathName, nullptr, &value.type,
                              reinterpret_cast<BYTE*>(&bytes[0]), &size);
    if (result == ERROR_SUCCESS) {
      value.exists = true;
      value.stored = vantor::setup::DecodeStored(bytes.substr(0, size));
      return ERROR_SUCCESS;
    }
  }
  return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

LONG WritePath(HKEY key, const PathValue& value) {
  std::string bytes = vantor::setup::EncodeStored(value.stored);
  return RegSetValueExW(key, kPathName, 0, value.type, reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size()));
}

std::u16string Expanded(const std::u16string& entry) {
  if (entry.find(u'%') == std::u16string::npos) return entry;
  DWORD size = ExpandEnvironmentStringsW(Wide(entry), nullptr, 0);
  if (size == 0) return entry;
  std::u16string expanded(size, u'\0');
  size = ExpandEnvironmentStringsW(Wide(entry), reinterpret_cast<wchar_t*>(&expanded[0]), size);
  expanded.resize(size > 0 ? size - 1 : 0);
  return expanded;
}

std::vector<std::u16string> ExpandedEntries(const std::vector<std::u16string>& entries) {
  std::vector<std::u16string> expanded;
  for (const std::u16string& entry : entries) expanded.push_back(Expanded(entry));
  return expanded;
}

// Tells running programs (the desktop above all) that the user's
// environment changed; windows that do not answer are not waited for.
void AnnounceChange() {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                      reinterpret_cast<LPARAM>(kEnvironmentKey), SMTO_ABORTIFHUNG, 5000, &answer);
}

int AddToPath(HKEY key, PathValue& value, const std::u16string& folder) {
  std::vector<std::u16string> entries;
  if (value.exists) entries = vantor::setup::SplitPath(value.stored.text);
  if (vantor::setup::HasFolder(entries, ExpandedEntries(entries), folder)) return kUnchanged;
  vantor::setup::AddFolder(entries, folder);
  std::u16string text = vantor::setup::JoinPath(entries);
  if (text.size() > kMaxPathText) return Fail("Path would grow past 32,767 characters", 0);
  if (!value.exists) {
    value.type = REG_EXPAND_SZ;
    value.stored.tail.assign(2, '\0');
  }
  value.stored.text = text;
  LONG result = WritePath(key, value);
  if (result != ERROR_SUCCESS) return Fail("cannot write Path in HKCU\\Environment", result);
  return kChanged;
}

int RemoveFromPath(HKEY key, PathValue& value, const std::u16string& folder) {
  if (!value.exists) return kUnchanged;
  std::vector<std::u16string> entries = vantor::setup::SplitPath(value.stored.text);
  if (vantor::setup::RemoveFolder(entries, ExpandedEntries(entries), folder) == 0) {
    return kUnchanged;
  }
  LONG result = ERROR_SUCCESS;
  if (entries.empty()) {
    result = RegDeleteValueW(key, kPathName);
  } else {
    value.stored.text = vantor::setup::JoinPath(entries);
    result = WritePath(key, value);
  }
  if (result != ERROR_SUCCESS) return Fail("cannot write Path in HKCU\\Environment", result);
  return kChanged;
}

bool IsAction(const std::wstring& word) { return word == L"add" || word == L"remove"; }

int EditPath(const std::wstring& action, const std::u16string& folder) {
  HKEY key = nullptr;
  LONG result =
      RegCreateKeyExW(HKEY_CURRENT_USER, kEnvironmentKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return Fail("cannot open HKCU\\Environment", result);
  PathValue value;
  int code = kFailed;
  result = ReadPath(key, value);
  if (result != ERROR_SUCCESS) {
    code = Fail("cannot read Path in HKCU\\Environment", result);
  } else if (value.exists && value.type != REG_SZ && value.type != REG_EXPAND_SZ) {
    code = Fail("Path in HKCU\\Environment is not text; it is left as it is", 0);
  } else {
    code = action == L"add" ? AddToPath(key, value, folder) : RemoveFromPath(key, value, folder);
  }
  RegCloseKey(key);
  if (code == kChanged) AnnounceChange();
  return code;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  int code = kFailed;
  if (args == nullptr || count != 3 || !IsAction(args[1]) || args[2][0] == L'\0') {
    std::fprintf(stderr, "usage: vantor-path add|remove FOLDER\n");
  } else if (std::wcschr(args[2], L';') != nullptr) {
    std::fprintf(stderr, "vantor-path: a folder whose name holds ';' cannot go on Path\n");
  } else {
    code = EditPath(args[1], std::u16string(reinterpret_cast<const char16_t*>(args[2])));
  }
  LocalFree(args);
  return code;
}
