#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

HKEY open_key = nullptr;

// The longest name a registry value can have, in characters; a buffer of
// that many bytes holds it in a single-byte code page.
constexpr DWORD kMaxValueName = 16383;

}  // namespace

bool OpenUserKey(const std::string& key_path, bool& created) {
  CloseUserKey();
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG result =
      RegCreateKeyExA(HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, &disposition);
  if (result != ERROR_SUCCESS) return false;
  open_key = key;
  created = disposition == REG_CREATED_NEW_KEY;
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

// One call per value: under Wine each is a round trip to its server, and
// reading a value's size before its data would double them. Values are read
// in UTF-16, as the registry keeps them; a string comes back as UTF-8 text,
// with the terminating zero it was stored with.
bool ReadAllValues(std::vector<std::pair<std::string, RegistryValue>>& values) {
  DWORD longest_data = 0;
  if (RegQueryInfoKeyW(open_key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, &longest_data, nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  std::vector<wchar_t> name(kMaxValueName + 1);
  std::vector<BYTE> data(longest_data + 2);
  for (DWORD index = 0;;) {
    DWORD name_size = static_cast<DWORD>(name.size());
    DWORD data_size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    LONG result = RegEnumValueW(open_key, index, name.data(), &name_size, nullptr, &type,
                                data.data(), &data_size);
    if (result == ERROR_NO_MORE_ITEMS) return true;
    // A value grew since the key was measured: read it again, in more room.
    if (result == ERROR_MORE_DATA) {
      data.resize(std::max<std::size_t>(data_size + 2, data.size() * 2));
      name.resize(name.size() * 2);
      continue;
    }
    if (result != ERROR_SUCCESS) return false;
    RegistryValue value{type, std::string()};
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::wstring text(data_size / sizeof(wchar_t), L'\0');
      std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
      value.data = Narrow(text);
    } else {
      value.data.assign(reinterpret_cast<const char*>(data.data()), data_size);
    }
    values.emplace_back(Narrow(name.data(), name_size), std::move(value));
    ++index;
  }
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
