// The seam between Vantor and the operating system, one section per
// resource in the order of the *_win32.cpp files that implement them.
//
// Every call that reaches Windows goes through one of these free functions.
// They have exactly one Win32 implementation (the *_win32.cpp files beside
// this header, built only for Windows) and one in-memory stand-in for the
// native unit tests (tests/fake). No header of the program includes
// <windows.h>.
//
// All texts are UTF-8, whatever the console's code page: names the system
// reports come as they are, and every text given goes to the system as it
// is. Where bytes of a code page are wanted (the hand-off file, the stored
// settings), EncodeText and DecodeText below convert.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantor::sys {

// ---- Console (console_win32.cpp) ------------------------------------------

enum class StdStream { Output, Error, Input };

// False when the standard handle is the invalid-handle value.
bool StdHandleValid(StdStream stream);

// Switches console input to processed input alone (no line input, no echo).
// Ctrl+C is then the system's: it ends the process. False when standard
// input is no console. The first call keeps the mode it found, the user's.
bool SetProcessedInputMode();

// Switches console input to raw key reading (processed input off as well):
// Ctrl+C arrives as a key with character 3 and raises no control event, so
// no other program of the console (such as the cmd running a batch file)
// hears of it. Wine raises the event all the same; while this mode is on,
// the event is turned into that key. Should the process be ended meanwhile
// by Ctrl+Break, the closing of its window, a logoff or a shutdown, the
// user's mode is put back first.
void SetRawInputMode();

// Puts back the input mode that the first SetProcessedInputMode found.
void RestoreInputMode();

// The console screen buffer's size. False when standard output is no console.
bool ScreenBufferSize(int& rows, int& columns);

// Writes text to standard output at once (nothing is buffered). A console
// shows every character as it is; a redirected stream gets the console's
// code page, with '?' for the characters it cannot hold.
void WriteOut(const std::string& text);

// From now on a redirected standard output gets UTF-8, every character as
// it is.
void UseUtf8ForRedirectedOutput();

// Sets the character attribute of standard output; failures are ignored.
void SetTextAttribute(int attribute);

// One console input record, as far as the program looks at it.
struct InputEvent {
  bool is_key = false;
  bool key_down = false;
  std::uint16_t character = 0;  // the 16-bit character union of the key event
  std::uint16_t virtual_key = 0;
  std::uint16_t scan_code = 0;
  std::uint32_t control_state = 0;
};

enum class ReadStatus { Failed, NoEvent, Event };

// Reads one input record from standard input (blocking). NoEvent when the
// read succeeded with zero records.
ReadStatus ReadInputEvent(InputEvent& event);

// Copies the pending input records into `events` without taking them out.
// False when standard input is no console.
bool PeekInputEvents(std::vector<InputEvent>& events);

// Takes the first `count` pending input records out of the input.
void DiscardInputEvents(std::size_t count);

// Milliseconds since the system started: a cheap clock, coarse (about 16 ms
// on Windows) but never going back.
std::uint64_t TickCount();

// Where the cursor stands in the screen buffer (from 0). False when
// standard output is no console.
bool CursorPosition(int& column, int& row);

// Cells of one row of the screen buffer: a character and an attribute each.
// Characters are UTF-16, as the console keeps them, so that cells read and
// written back are what they were in any code page.
struct ScreenCells {
  std::u16string characters;
  std::vector<std::uint16_t> attributes;  // as many as characters
};

// Reads `count` cells from (column, row). False when they cannot be read.
bool ReadScreenCells(int column, int row, std::size_t count, ScreenCells& cells);

// Writes cells at (column, row) without moving the cursor or scrolling;
// failures are ignored.
void WriteScreenCells(int column, int row, const ScreenCells& cells);

// ---- File system (filesystem_win32.cpp) ------------------------------------

// Makes `path` the process's current directory. A drive alone ("D:")
// selects that drive's own current directory.
bool SetCurrentDir(const std::string& path);

// The full path of the process's current directory, at most 259 bytes;
// empty when it cannot be read.
std::string GetCurrentDir();

// The full path that `path` names by the system's own rules: a relative
// name against the current directory, a drive-relative one ("D:v.dat")
// against that drive's own current directory. False when the path cannot
// be resolved or its full form is longer than 259 bytes.
bool FullPathName(const std::string& path, std::string& full);

// Asked between the entries of a listing whether to go on.
class ListingWatch {
 public:
  virtual ~ListingWatch() = default;
  // False abandons the listing.
  virtual bool KeepListing() = 0;
};

// How many entries a listing reads between two questions to its watch.
inline constexpr int kListingWatchInterval = 128;

// Lists the names of the subdirectories of `dir` (which ends in '\'),
// hidden and system ones included, "." and ".." left out. Returns false
// and leaves `names` empty when the directory cannot be enumerated, or when
// `watch` (asked every kListingWatchInterval entries) abandoned it.
bool ListSubdirectories(const std::string& dir, std::vector<std::string>& names,
                        ListingWatch* watch = nullptr);

// Creates one directory. Returns 0 on success, else the system error code.
std::uint32_t CreateDir(const std::string& path);

// True when `path` names an existing directory.
bool IsDirectory(const std::string& path);

// Creates or truncates `path` and writes `bytes`. False when the file
// cannot be created (a file that another process holds open is waited
// for, briefly); write errors after that are ignored.
bool WriteNewFile(const std::string& path, const std::string& bytes);

// Opens an existing file with read and write access and reads at most
// `max_bytes` from its start. False when it cannot be opened so.
bool ReadFileForUpdate(const std::string& path, std::size_t max_bytes, std::string& bytes);

// Writes `bytes` to a new file at `path` (replacing one that is there) and
// flushes it to disk. False when the file cannot be created, is read-only,
// or not every byte was written.
bool WriteFileDurably(const std::string& path, const std::string& bytes);

// The file an existing path names, after the links that lead to it.
struct FileIdentity {
  std::string final_path;   // full path, with a drive letter or \\server\share
  std::uint32_t links = 1;  // hard links (names) of the file
};

// Opens the existing file `path` (following a symbolic link) and tells
// which file it is. False when it cannot be opened or its final path is
// longer than 259 bytes.
bool IdentifyFile(const std::string& path, FileIdentity& identity);

// False when no other file can be moved over `target`: it is a read-only
// file or a directory, or its access rules refuse its deletion. True when
// it may be replaced or does not exist.
bool MayReplaceFile(const std::string& target);

// Gives `source` the hidden and system attributes and the access rules of
// the existing file `target`, which it is about to replace. False when the
// rules of `target` cannot be read or given to `source`; true, carrying
// nothing, when `target` does not exist.
bool CarryFileIdentity(const std::string& target, const std::string& source);

// Replaces `target` by `source` in one step (a rename over the old file),
// so there is never a moment without it. False, leaving both alone, when
// `target` is a read-only file or a directory or the move is refused;
// another process replacing it at the same moment is waited for, briefly.
bool ReplaceFileAtomically(const std::string& source, const std::string& target);

// Writes `bytes` over the existing file `path` from its start, cuts it
// there and flushes it: the file itself stays (attributes, security,
// links). False when it does not exist, is read-only, cannot be opened for
// writing or not every byte was written.
bool OverwriteFileDurably(const std::string& path, const std::string& bytes);

// Deletes a file; failures are ignored.
void DeleteFileQuietly(const std::string& path);

// The short (8.3) form of the existing `path`, every component that has one
// replaced by it; empty when no component has one or the path cannot be
// read.
std::string ShortPathName(const std::string& path);

// True when `path` lies on a network share: a "\\server\share" path, or
// one on a drive letter mapped to a share. Told from the name and the
// drive's type alone, without asking the share, which may be disconnected
// and take many seconds to say so.
bool IsOnNetwork(const std::string& path);

// ---- Process (process_win32.cpp) ------------------------------------------

// The process's whole command line.
std::string CommandLine();

// Reads an environment variable. Returns false when it is not defined; an
// empty value returns true and "".
bool GetEnv(const std::string& name, std::string& value);

// Makes the system's narrow file functions take and return OEM bytes (the
// program itself calls the UTF-16 ones).
void UseOemFileApis();

// For the whole process, a drive that is not ready (an empty card reader,
// a disconnected drive) answers as a missing one does, at once, instead of
// the system asking the user in a dialog.
void NoCriticalErrorDialogs();

// A number unique to this process among those running.
std::uint32_t ProcessId();

// Upper-cases `text` in place with the system's locale rules: each
// character whose upper-case form is as long in UTF-8, so the text keeps its
// length and every position in it.
void UpperCase(std::string& text);

// The system's OEM and ANSI code pages, and the console's output code page
// (the OEM one when the process has no console).
std::uint32_t OemCodePage();
std::uint32_t AnsiCodePage();
std::uint32_t ConsoleCodePage();

// `text` in the bytes of `code_page`. False when a character has no exact
// form there (no look-alike is taken); `bytes` then holds '?' for it.
bool EncodeText(std::string_view text, std::uint32_t code_page, std::string& bytes);

// Bytes of `code_page` as text.
std::string DecodeText(std::string_view bytes, std::uint32_t code_page);

// The code page of UTF-8 itself.
inline constexpr std::uint32_t kUtf8CodePage = 65001;

// Takes the lock called `name`, which every process of the user's session
// shares, waiting at most `milliseconds` for the process that holds it.
// One that a process held when it ended (killed, crashed) is free: the
// system gives it back. False, holding nothing, when it could not be had
// in time or at all. One lock is held at a time.
bool TakeSharedLock(const std::string& name, std::uint32_t milliseconds);

// Gives back the lock TakeSharedLock took; nothing when none is held.
void GiveBackSharedLock();

// ---- Registry of the current user (registry_win32.cpp) ---------------------

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegDword = 4;

// Opens `key_path` under HKEY_CURRENT_USER with full access, creating it
// when missing; `created` tells whether it was. One key is open at a time.
bool OpenUserKey(const std::string& key_path, bool& created);

// Opens an existing `key_path` under HKEY_CURRENT_USER for reading values
// only; false when it is missing or refused (it is never created).
bool OpenUserKeyForReading(const std::string& key_path);

// A value as the registry holds it.
struct RegistryValue {
  std::uint32_t type = kRegSz;
  std::string data;  // REG_SZ: its text, with its terminating zero; else raw bytes
};

// Reads every named value of the open key, name by name as stored, with its
// type and data, in one pass over the key: a string value's data is its
// text (with the terminating zero it was stored with), any other value's
// its raw bytes. False when the pass failed part-way: `values` then holds
// those read before.
bool ReadAllValues(std::vector<std::pair<std::string, RegistryValue>>& values);

// Writes a REG_SZ value (with its terminating zero) to the open key, as
// the registry's own Unicode text.
bool SetStringValue(const std::string& name, const std::string& text);

void CloseUserKey();

// ---- Shell and clipboard (shell_win32.cpp) ---------------------------------

// Asks the shell to open `file` with the default verb; the shell's result.
std::intptr_t ShellOpen(const std::string& file, const std::string& parameters,
                        const std::string& directory, int show_command);

// Puts `text` on the clipboard as plain text. False when it cannot.
bool CopyToClipboard(const std::string& text);

}  // namespace vantor::sys
