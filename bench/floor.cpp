// The floor of a search's cost: enumerates the directories listed in a file,
// one full path a line, the way the program's directory listing does
// (same call, same flags, names kept in a vector), and nothing else.
//
//   floor.exe LIST_FILE
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

std::size_t ListSubdirectories(const std::string& dir, std::vector<std::string>& names) {
  names.clear();
  std::string mask = dir;
  if (mask.empty() || mask.back() != '\\') mask += '\\';
  mask += "*.*";
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileExA(mask.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotOrDotDot(entry.cFileName))
      names.emplace_back(entry.cFileName);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return names.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: floor.exe LIST_FILE\n", stderr);
    return 2;
  }
  SetFileApisToOEM();
  std::ifstream list(argv[1]);
  if (!list) return 3;
  std::vector<std::string> names;
  std::size_t dirs = 0;
  std::size_t found = 0;
  for (std::string dir; std::getline(list, dir);) {
    if (!dir.empty() && dir.back() == '\r') dir.pop_back();
    if (dir.empty()) continue;
    found += ListSubdirectories(dir, names);
    ++dirs;
  }
  std::printf("%zu directories read, %zu subdirectories\n", dirs, found);
  return 0;
}
