// An in-memory operating system for the native unit tests.
//
// It stands in for every function of platform/system.h: drives with their
// own current directories, a directory tree, files, environment variables,
// a console that records text together with colour changes and plays back
// a queue of key presses, a registry key and the shell. It logs what the
// program listed, created and launched, so tests can check both the result
// and the work done to get it.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/system.h"

namespace vantor::fake {

// The longest full path the file calls take, as on Windows.
inline constexpr std::size_t kMaxPath = 259;

struct DirNode {
  std::string path;                   // as created, letters in their case
  std::vector<std::string> children;  // names of the subdirectories
  bool unreadable = false;            // enumeration fails
};

using RegistryValue = sys::RegistryValue;

// Registry value names compare as on Windows: letter case aside.
struct ValueNameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::toupper(static_cast<unsigned char>(x)) <
             std::toupper(static_cast<unsigned char>(y));
    });
  }
};

struct ShellCall {
  std::string file;
  std::string parameters;
  std::string directory;
  int show_command = 0;
};

struct FakeSystem {
  // Process
  std::string command_line = "vantor.exe";
  std::map<std::string, std::string> environment;  // name (any case) -> value
  bool oem_file_apis = false;                      // the program switched the narrow calls

  // File system. Keys of `dirs` and `files` are upper-cased full paths
  // without a trailing backslash (a drive root keeps its "X:\").
  std::map<std::string, DirNode> dirs;
  std::string current_dir = "C:\\";
  std::map<char, std::string> drive_dirs;  // per-drive current directory
  std::map<std::string, std::string> files;
  std::set<std::string> read_only_files;  // upper-cased paths
  // Symbolic links to files: upper-cased link path -> the full path it leads
  // to. Opening a link opens its file; a file moved over a link replaces
  // the link itself, as on Windows.
  std::map<std::string, std::string> file_links;
  std::map<std::string, std::uint32_t> hard_links;  // upper path -> names (default 1)
  std::set<std::string> unwritable_folders;         // upper-cased folder paths
  // Access rules of files, by upper-cased path (an opaque text; none when
  // absent): a file moved over another brings its own. Rules may deny
  // deletion, so that the file can be neither deleted nor replaced by a
  // move; and they may be unreadable to the user.
  std::map<std::string, std::string> file_rules;
  std::set<std::string> undeletable_files;
  std::set<std::string> unreadable_rules;
  // Files whose final path the system cannot tell (IdentifyFile fails).
  std::set<std::string> unidentifiable_files;
  std::set<char> network_drives;  // drive letters mapped to a network share
  bool critical_error_dialogs = true;
  std::map<std::string, std::string> short_names;      // upper full path -> its 8.3 form
  std::map<std::string, std::uint32_t> create_errors;  // upper path -> code
  std::vector<std::string> listed;                     // every directory enumerated
  std::vector<std::string> created;                    // every directory created
  std::uint32_t process_id = 4242;
  // Locks shared between runs: the names another run holds (waiting for one
  // of them times out), the one this run holds, and what happened to them in
  // order ("take NAME", "time out NAME", "give back NAME"), each with the
  // length of the output at that moment ("@N").
  std::set<std::string> locks_held_elsewhere;
  std::string lock_held;
  std::vector<std::string> lock_log;

  // Console
  bool handle_valid[3] = {true, true, true};  // output, error, input
  bool screen_measurable = true;              // false: standard output is redirected
  std::uint32_t console_code_page = 437;      // the OEM code page is 437, ANSI 1252
  int rows = 25;
  int columns = 80;
  // A console starts in processed mode, where Ctrl+C never arrives as a
  // key: a read or peek that meets it ends the process as the system's
  // handler does (CtrlCExit). Read raw, it is a key with character 3.
  bool processed_input_mode = true;
  std::string input_modes;  // each switch: 'P' processed, 'R' raw, 'U' the user's (processed)
  // Ctrl+C typed the moment the output first holds this text (never when
  // empty): in processed mode it ends the process there; read raw, it
  // joins the input as a key.
  std::string ctrl_c_when_written;
  std::string output;                                   // text written
  bool utf8_output = false;                             // a redirected output would get UTF-8
  std::vector<std::pair<std::size_t, int>> colour_log;  // (offset, attribute)
  std::deque<sys::InputEvent> input;                    // when empty, reads fail
  // Keys typed later: each joins `input` when the clock reaches its time
  // (a read that finds `input` empty waits for the first of them).
  std::deque<std::pair<std::uint64_t, sys::InputEvent>> later_input;
  bool input_is_console = true;       // peeks and input modes fail when false
  std::size_t zero_record_reads = 0;  // reads that succeed with no record first
  std::size_t reads_attempted = 0;
  std::size_t peeks = 0;
  // Screen cells written without moving the cursor, by (row, column), and
  // each text so written (as bytes: the program writes ASCII there); cells
  // never written hold a blank in colour 7.
  std::map<std::pair<int, int>, std::pair<char16_t, std::uint16_t>> cells;
  std::vector<std::string> cell_writes;
  int cursor_column = 0;
  int cursor_row = 0;

  // Clock: milliseconds, moved on by the work the program does.
  std::uint64_t ticks = 0;
  std::uint64_t ticks_per_listing = 0;  // for each directory listed
  std::uint64_t ticks_per_entry = 0;    // for each name a listing reads

  // Registry: the one key, by value name.
  bool registry_key_opens = true;
  // Whether the key exists: OpenUserKey creates it; values in `registry`
  // mean it exists too.
  bool registry_key_exists = false;
  std::string opened_key;
  std::map<std::string, RegistryValue, ValueNameLess> registry;
  std::set<std::string> refused_reads;  // a pass over the key fails on one
  std::set<std::string> refused_writes;
  std::vector<std::string> registry_writes;  // value names in write order
  int registry_passes = 0;                   // reads of the whole key

  // Shell
  std::intptr_t shell_result = 42;
  std::vector<ShellCall> shell_calls;
  bool clipboard_works = true;
  std::string clipboard;

  // ---- Set-up helpers ----
  // Adds a directory and every missing directory above it (drive root too).
  void AddDir(const std::string& path);
  // Adds a drive root such as "D:\".
  void AddDrive(char letter);
  void SetEnv(const std::string& name, const std::string& value);
  void UnsetEnv(const std::string& name);
  // Queues a key with a character, or a key without one (character 0).
  void PushKey(std::uint8_t character, std::uint16_t scan_code = 0, std::uint32_t control_state = 0,
               std::uint16_t virtual_key = 0);
  void PushEvent(const sys::InputEvent& event);
  // Queues a key typed when the clock reaches `tick`.
  void PushKeyAt(std::uint64_t tick, std::uint8_t character, std::uint16_t virtual_key = 0);
  // Moves the keys whose time has come to `input`.
  void ArriveLaterInput();

  // ---- Inspection helpers ----
  // The output with every colour change shown in place as "<N>".
  std::string ColouredOutput() const;
  // The characters of `count` cells of a row, from `column`.
  std::string ScreenText(int row, int column, int count) const;
  bool DirExists(const std::string& path) const;
  // A file's content, or "" when it does not exist.
  std::string FileContent(const std::string& path) const;
  bool FileExists(const std::string& path) const;

  // ---- Used by the fake seam ----
  // The key in `files` of the file that opening `path` reaches (through a
  // symbolic link).
  std::string FileKey(const std::string& path) const;
  // Resolves `path` against the current directories to an absolute path
  // with "." and ".." steps applied; empty when it names no drive.
  std::string Resolve(const std::string& path) const;
};

// Thrown where Ctrl+C reaches a console in processed mode: the system's
// handler ends the process with STATUS_CONTROL_C_EXIT, and on Windows cmd
// then asks whether to end the batch job. RunVantor and ExitCodeOf give it
// as kCtrlCExitCode.
struct CtrlCExit {};
inline constexpr int kCtrlCExitCode = -1073741510;  // 0xC000013A as a signed code

// The fake behind every sys:: call in the test binary.
FakeSystem& Fake();
// Starts a fresh fake: drive C with its root as the current directory and
// TEMP set to C:\Temp (which exists).
void ResetFake();

// Upper-cases text the way the fake's locale does (ASCII and the letters of
// Latin-1, Greek and Cyrillic).
std::string Upper(const std::string& text);
void UpperInPlace(std::string& text);

}  // namespace vantor::fake
