#include <cstring>
#include <vector>

#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

HKEY open_key = nullptr;

}  // namespace

bool OpenUserKey(const std::string& key_path) {
  CloseUserKey();
  HKEY key = nullptr;
  LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return false;
  open_key = key;
  return true;
}

bool OpenUserKeyForReading(const std::string& key_path) {
  CloseUserKey();
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key_path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  open_key = key;
  return true;
}

// Values are read in UTF-16, as the registry keeps them; a string comes
// back as UTF-8 text, with the terminating zero it was stored with.
QueryStatus QueryValue(const std::string& name, std::uint32_t& type, std::string& data) {
  std::wstring wide_name = Widen(name);
  DWORD value_type = 0;
  DWORD size = 0;
  LONG result = RegQueryValueExW(open_key, wide_name.c_str(), nullptr, &value_type, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) return QueryStatus::Missing;
  if (result != ERROR_SUCCESS) return QueryStatus::Refused;
  std::vector<BYTE> buffer(size + 2);
  DWORD capacity = size;
  result =
      RegQueryValueExW(open_key, wide_name.c_str(), nullptr, &value_type, buffer.data(), &capacity);
  if (result != ERROR_SUCCESS) return QueryStatus::Refused;
  type = value_type;
  if (value_type == REG_SZ || value_type == REG_EXPAND_SZ) {
    std::wstring text(capacity / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), buffer.data(), text.size() * sizeof(wchar_t));
    data = Narrow(text);
  } else {
    data.assign(reinterpret_cast<const char*>(buffer.data()), capacity);
  }
  return QueryStatus::Ok;
}

bool SetStringValue(const std::string& name, const std::string& text) {
  std::wstring wide = Widen(text);
  return RegSetValueExW(open_key, Widen(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(wide.c_str()),
                        static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void CloseUserKey() {
  if (open_key != nullptr) RegCloseKey(open_key);
  open_key = nullptr;
}

}  // namespace vantor::sys
