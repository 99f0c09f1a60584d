// Lists the directories that runs of the program read for specifications,
// by running the program over an in-memory copy of a tree on disk. The
// benchmark's floor program enumerates exactly these.
//
//   vantor_reads TREE_DIR DRIVE OUT_DIR < SPECS
//
// TREE_DIR is mapped as DRIVE (a letter). Each line of SPECS is a start
// folder below the drive root (may be empty), a tab and a specification;
// the run for line N starts there and the directories it read go to
// OUT_DIR/N.txt, one Windows path a line. A summary line per run goes to
// stderr.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "fake/fake_system.h"
#include "fake/run_helpers.h"
#include "matching/find_matches.h"

namespace {

std::string WindowsPath(char drive, const std::filesystem::path& relative) {
  std::string path = std::string(1, drive) + ":\\" + relative.generic_string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::size_t LoadTree(const std::filesystem::path& root, char drive) {
  namespace fs = std::filesystem;
  vantor::fake::Fake().AddDrive(drive);
  std::size_t count = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_directory() || entry.is_symlink()) continue;
    vantor::fake::Fake().AddDir(WindowsPath(drive, fs::relative(entry.path(), root)));
    ++count;
  }
  return count;
}

// Runs the program once for `spec`, starting in `start`, and writes what it
// listed to `out_file`.
void ListReads(char drive, const std::string& start, const std::string& spec,
               const std::string& out_file) {
  vantor::fake::FakeSystem& fake = vantor::fake::Fake();
  fake.current_dir = WindowsPath(drive, start);
  while (fake.current_dir.size() > 3 && fake.current_dir.back() == '\\')
    fake.current_dir.pop_back();
  // Quoted so that a specification with spaces reaches the run whole.
  bool spaces = spec.find(' ') != std::string::npos;
  int code = vantor::fake::RunVantor(spaces ? "\"" + spec + "\"" : spec);
  std::ofstream out(out_file, std::ios::binary);
  for (const std::string& dir : fake.listed) out << dir << "\n";
  std::fprintf(stderr, "%s: exit code %d, %zu matches, %zu directories read\n", spec.c_str(), code,
               vantor::matching::Matches().size(), fake.listed.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[2]).size() != 1) {
    std::fputs("usage: vantor_reads TREE_DIR DRIVE OUT_DIR < SPECS\n", stderr);
    return 2;
  }
  vantor::fake::ResetFake();
  char drive = argv[2][0];
  std::size_t loaded = LoadTree(argv[1], drive);
  std::fprintf(stderr, "%zu directories loaded\n", loaded);
  int number = 0;
  for (std::string line; std::getline(std::cin, line);) {
    std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::string out_file = std::string(argv[3]) + "/" + std::to_string(++number) + ".txt";
    ListReads(drive, line.substr(0, tab), line.substr(tab + 1), out_file);
  }
  return 0;
}
