#include <vector>

#include "base/path_text.h"
#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

constexpr DWORD kCurrentDirBuffer = 260;
// Room for a final path with its "\\?\UNC\" prefix before it is cut back.
constexpr DWORD kLongPathBuffer = 1024;
// How long a file that another run holds open is waited for: 2 s at most.
constexpr int kSharingRetries = 200;
constexpr DWORD kSharingRetryMilliseconds = 10;
// How long a move over the settings file waits for another run's move, in
// steps of kSharingRetryMilliseconds: well short of the half second other
// runs wait for the lock that the saving run holds meanwhile.
constexpr int kMoveRetries = 10;

// The attributes of a settings file that its replacement takes over.
constexpr DWORD kCarriedAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// Final paths come with this prefix, network ones with the longer one.
constexpr char kLongPathPrefix[] = "\\\\?\\";
constexpr char kLongUncPrefix[] = "\\\\?\\UNC\\";

// A path as the file functions take it, or an empty text (which every one
// of them refuses) when it is as long as MAX_PATH or longer: the program
// does not take long paths, so it meets the limit Windows sets for it,
// which Wine does not enforce on the UTF-16 calls.
std::wstring WidePath(const std::string& path) {
  std::wstring wide = Widen(path);
  if (wide.size() >= kCurrentDirBuffer) wide.clear();
  return wide;
}

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Windows refuses to open a read-only file for writing and to move another
// file over it. Wine allows both (renames always, writes when run as root),
// so the attribute is checked first; on Windows this changes nothing.
bool IsReadOnlyFile(const std::string& path) {
  DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Writes `bytes` from the start of the open `file` (INVALID_HANDLE_VALUE
// when it could not be opened), cuts it there, flushes it to disk and
// closes it. False unless every step succeeded.
bool WriteAndClose(HANDLE file, const std::string& bytes) {
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  ok = ok && SetEndOfFile(file);
  ok = FlushFileBuffers(file) && ok;
  ok = CloseHandle(file) && ok;
  return ok;
}

}  // namespace

bool SetCurrentDir(const std::string& path) {
  return !path.empty() && SetCurrentDirectoryW(WidePath(path).c_str()) != 0;
}

std::string GetCurrentDir() {
  wchar_t buffer[kCurrentDirBuffer];
  DWORD length = GetCurrentDirectoryW(kCurrentDirBuffer, buffer);
  if (length == 0 || length >= kCurrentDirBuffer) return std::string();
  return Narrow(buffer, length);
}

bool FullPathName(const std::string& path, std::string& full) {
  wchar_t buffer[kCurrentDirBuffer];
  DWORD length = GetFullPathNameW(WidePath(path).c_str(), kCurrentDirBuffer, buffer, nullptr);
  if (path.empty() || length == 0 || length >= kCurrentDirBuffer) return false;
  full = Narrow(buffer, length);
  return true;
}

bool ListSubdirectories(const std::string& dir, std::vector<std::string>& names,
                        ListingWatch* watch) {
  names.clear();
  std::wstring mask = WidePath(dir + "*.*");
  WIN32_FIND_DATAW entry;
  // FindExInfoBasic skips the short 8.3 name, which the search never uses.
  HANDLE find = FindFirstFileExW(mask.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return false;
  int until_asked = kListingWatchInterval;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotOrDotDot(entry.cFileName))
      names.push_back(Narrow(entry.cFileName, wcslen(entry.cFileName)));
    if (watch != nullptr && --until_asked == 0) {
      until_asked = kListingWatchInterval;
      if (!watch->KeepListing()) {
        FindClose(find);
        names.clear();
        return false;
      }
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return true;
}

std::uint32_t CreateDir(const std::string& path) {
  if (CreateDirectoryW(WidePath(path).c_str(), nullptr)) return 0;
  return GetLastError();
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteNewFile(const std::string& path, const std::string& bytes) {
  // Runs started at the same moment all rewrite the one hand-off file; each
  // holds it for an instant, so a run that finds it in use waits its turn
  // (the last one to write wins) instead of failing.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < kSharingRetries; ++attempt) {
    file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(kSharingRetryMilliseconds);
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return true;
}

bool ReadFileForUpdate(const std::string& path, std::size_t max_bytes, std::string& bytes) {
  if (IsReadOnlyFile(path)) return false;
  HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.assign(max_bytes, '\0');
  DWORD total = 0;
  while (total < max_bytes) {
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + total, static_cast<DWORD>(max_bytes - total), &got,
                  nullptr) ||
        got == 0)
      break;
    total += got;
  }
  bytes.resize(total);
  CloseHandle(file);
  return true;
}

bool WriteFileDurably(const std::string& path, const std::string& bytes) {
  if (IsReadOnlyFile(path)) return false;
  HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  return WriteAndClose(file, bytes);
}

bool IdentifyFile(const std::string& path, FileIdentity& identity) {
  HANDLE file =
      CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  wchar_t buffer[kLongPathBuffer];
  DWORD length = GetFinalPathNameByHandleW(file, buffer, kLongPathBuffer,
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  BY_HANDLE_FILE_INFORMATION information;
  bool known = GetFileInformationByHandle(file, &information) != 0;
  CloseHandle(file);
  if (!known || length == 0 || length >= kLongPathBuffer) return false;
  std::string name = Narrow(buffer, length);
  if (name.rfind(kLongUncPrefix, 0) == 0)
    name = "\\\\" + name.substr(sizeof kLongUncPrefix - 1);
  else if (name.rfind(kLongPathPrefix, 0) == 0)
    name.erase(0, sizeof kLongPathPrefix - 1);
  if (Widen(name).size() >= kCurrentDirBuffer) return false;
  identity.final_path = name;
  identity.links = information.nNumberOfLinks;
  return true;
}

// Asked before the move rather than learnt from it: a refused move looks
// like one that another run holds up for an instant (access denied) and
// would be waited for in vain.
bool MayReplaceFile(const std::string& target) {
  if (IsReadOnlyFile(target) || IsDirectory(target)) return false;
  HANDLE file = CreateFileW(WidePath(target).c_str(), DELETE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_ACCESS_DENIED;
  CloseHandle(file);
  return true;
}

// A rename is used rather than ReplaceFileA because only a rename leaves no
// moment without the file (Wine's ReplaceFileA moves the old file aside
// first, and a run reading then would find none); named streams are not
// carried. Only the access rules (DACL) are copied: owner and audit rules
// need rights a user rarely has.
bool CarryFileIdentity(const std::string& target, const std::string& source) {
  const std::wstring wide_target = WidePath(target);
  const std::wstring wide_source = WidePath(source);
  DWORD attributes = GetFileAttributesW(wide_target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if (attributes & kCarriedAttributes)
    SetFileAttributesW(wide_source.c_str(), attributes & kCarriedAttributes);
  DWORD size = 0;
  GetFileSecurityW(wide_target.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<BYTE> descriptor(size);
  return GetFileSecurityW(wide_target.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size,
                          &size) &&
         SetFileSecurityW(wide_source.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  if (IsReadOnlyFile(target) || IsDirectory(target)) return false;
  const std::wstring wide_source = WidePath(source);
  const std::wstring wide_target = WidePath(target);
  // While another run is moving its own copy over the same file, the system
  // refuses this move for an instant (access denied): wait for that one.
  for (int attempt = 0; attempt < kMoveRetries; ++attempt) {
    if (MoveFileExW(wide_source.c_str(), wide_target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
      return true;
    DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    Sleep(kSharingRetryMilliseconds);
  }
  return false;
}

bool OverwriteFileDurably(const std::string& path, const std::string& bytes) {
  if (IsReadOnlyFile(path) || IsDirectory(path)) return false;
  HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return WriteAndClose(file, bytes);
}

void DeleteFileQuietly(const std::string& path) { DeleteFileW(WidePath(path).c_str()); }

std::string ShortPathName(const std::string& path) {
  std::wstring wide = WidePath(path);
  wchar_t buffer[kCurrentDirBuffer];
  DWORD length = GetShortPathNameW(wide.c_str(), buffer, kCurrentDirBuffer);
  if (length == 0 || length >= kCurrentDirBuffer ||
      wide.compare(0, wide.size(), buffer, length) == 0)
    return std::string();
  return Narrow(buffer, length);
}

// The type of a drive letter comes from the process's map of its drives,
// with no call to the drive itself.
bool IsOnNetwork(const std::string& path) {
  if (IsNetworkPath(path)) return true;
  if (!HasDriveColon(path)) return false;
  const std::string root = path.substr(0, 2) + "\\";
  return GetDriveTypeA(root.c_str()) == DRIVE_REMOTE;
}

}  // namespace vantor::sys
