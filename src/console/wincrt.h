// The console text layer: standard handles, screen size, colours and
// single key presses. All output of the program goes through Write and
// WriteLine, which reach the console at once (nothing is buffered, so a
// colour change applies exactly to the text written after it).
#pragma once

#include <cstdint>
#include <string>

namespace vantor::sys {
struct InputEvent;
}

namespace vantor::console {

enum Colour : int {
  kColourNormal = 7,   // light grey: normal text
  kColourKey = 10,     // light green: keys and indexes in front of entries
  kColourError = 12,   // light red: errors and refusals
  kColourNotice = 14,  // yellow: notices, titles, questions, the more-prompt
};

// The line end written after every line.
inline constexpr const char* kLineEnd = "\r\n";

// Characters of the keys that end a question, a menu or a more-prompt.
enum KeyCharacter : std::uint8_t {
  kCharCtrlC = 3,
  kCharEnter = 13,
  kCharEscape = 27,
  kCharOutsideAscii = 255,  // any character above ASCII: none the program answers
};

// Scan codes of the keys without a character that the program acts on.
enum ScanCode : std::uint8_t {
  kScanHome = 71,
  kScanUp = 72,
  kScanPgUp = 73,
  kScanEnd = 79,
  kScanDown = 80,
  kScanPgDn = 81,
};

// One key press: a character, or 0 and the key's scan code.
struct KeyPress {
  std::uint8_t character = 0;
  std::uint8_t scan_code = 0;
};

// Start-up of the layer: checks the three standard handles (a missing one
// ends the run with its message and exit code 0), switches input to
// processed key reading and measures the screen buffer.
void InitConsole();

// Rows of the screen buffer minus one (24 when it cannot be measured).
int ScreenLastRow();
// Columns of the screen buffer (80 when it cannot be measured).
int ScreenWidth();
// Whether standard output is a console (its screen could be measured).
bool OutputIsConsole();
// Whether standard input is a console (its mode could be set).
bool InputIsConsole();
// Half the columns of the screen buffer, remainder dropped (40 when it
// cannot be measured).
int ColumnWidth();

// Sets the attribute of the text written from now on, and remembers it.
void SetColour(int attribute);
// The attribute last set with SetColour (7 at start).
int CurrentColour();
// Sets colour 7 and ends the current line.
void RestoreColour();

// Writes text to standard output without a line end.
void Write(const std::string& text);
// Writes text and a line end.
void WriteLine(const std::string& text = std::string());
// The usual coloured message: colour, text, RestoreColour.
void WriteColouredLine(int attribute, const std::string& text);

// From HoldOutput to ReleaseOutput, text and colour changes are kept, in
// order, and ReleaseOutput writes them: the settings store holds its
// messages while it holds the lock every run shares, since a console write
// can wait as long as the user is selecting text in the window.
void HoldOutput();
void ReleaseOutput();

// While one lives, console input is read raw: Ctrl+C arrives as a key with
// character 3 instead of ending the process (on Windows every program of
// the console would hear of it, and cmd would then ask whether to end the
// batch file). Processed input is back when it goes, however the scope is
// left. Scopes nest: only the outermost switches.
class RawKeyInput {
 public:
  RawKeyInput();
  ~RawKeyInput();
  RawKeyInput(const RawKeyInput&) = delete;
  RawKeyInput& operator=(const RawKeyInput&) = delete;
};

// The raw scope of a whole run, from start-up to its end: Ctrl+C never ends
// the run between two key reads (a menu's drawing, a question's, a search's
// end). When it goes, a Ctrl+C typed since the last key read is taken out
// of the input (with the keys typed before it) rather than left for the
// shell, and the console gets back the input mode it had before the run.
// A run ended by Ctrl+Break, a closed window or a logoff puts that mode
// back too, in the platform layer.
class RunKeyInput {
 public:
  RunKeyInput();
  ~RunKeyInput();
  RunKeyInput(const RunKeyInput&) = delete;
  RunKeyInput& operator=(const RunKeyInput&) = delete;
};

// Waits for one acceptable key press, reading raw. When standard input
// cannot be read it returns at once with no character and the scan code of
// End.
KeyPress ReadKeyPress();

// The key press an input record stands for, as ReadKeyPress would return
// it; false for the records ReadKeyPress skips.
bool KeyOfRecord(const sys::InputEvent& event, KeyPress& key);

// True when the last ReadKeyPress returned End only because standard input
// could not be read (not a console); lets a key loop end instead of spinning.
bool LastKeyReadFailed();

}  // namespace vantor::console
