#include "console/wincrt.h"

#include <algorithm>
#include <vector>

#include "base/exit.h"
#include "platform/system.h"

namespace vantor::console {
namespace {

int screen_last_row = 24;
int screen_width = 80;
int column_width = 40;
bool output_is_console = false;
int current_attribute = kColourNormal;
bool last_read_failed = false;
bool input_is_console = false;

// Output kept by HoldOutput: each entry is a colour change or text.
struct HeldOutput {
  bool is_colour = false;
  int attribute = 0;
  std::string text;
};
bool holding_output = false;
std::vector<HeldOutput> held_output;

constexpr std::uint32_t kModifierBits = 0x1F;  // both Alts, both Ctrls, Shift
constexpr std::uint16_t kVirtualKeyEscape = 27;
constexpr std::uint16_t kVirtualKeyNumLock = 144;
constexpr std::uint16_t kVirtualKeyScrollLock = 145;

void RequireHandle(sys::StdStream stream, const char* message) {
  if (sys::StdHandleValid(stream)) return;
  sys::WriteOut(std::string(message) + kLineEnd);
  EndRun(kExitNormal);
}

// RawKeyInput and RunKeyInput scopes alive.
int raw_scopes = 0;

bool IsCtrlCPress(const sys::InputEvent& event) {
  return event.is_key && event.key_down && event.character == kCharCtrlC;
}

// A Ctrl+C left in the input would reach the shell as a character of its
// next line; it cancels what was typed before it, as it does at a prompt.
void DropTypedCtrlC() {
  std::vector<sys::InputEvent> pending;
  if (!sys::PeekInputEvents(pending)) return;
  auto last = std::find_if(pending.rbegin(), pending.rend(), IsCtrlCPress);
  if (last != pending.rend())
    sys::DiscardInputEvents(pending.size() - static_cast<std::size_t>(last - pending.rbegin()));
}

bool IsAcceptable(const sys::InputEvent& event) {
  if (!event.is_key || !event.key_down) return false;
  if (event.character != 0) return true;
  if (event.virtual_key == kVirtualKeyNumLock || event.virtual_key == kVirtualKeyScrollLock)
    return true;
  return (event.control_state & kModifierBits) == 0;
}

}  // namespace

void InitConsole() {
  RequireHandle(sys::StdStream::Output, "Cannot get console output handle.");
  RequireHandle(sys::StdStream::Error, "Cannot get console error handle.");
  RequireHandle(sys::StdStream::Input, "Cannot get console input handle.");
  input_is_console = sys::SetProcessedInputMode();
  current_attribute = kColourNormal;
  int rows = 0;
  int columns = 0;
  output_is_console = sys::ScreenBufferSize(rows, columns);
  if (!output_is_console) {
    rows = 25;
    columns = 80;
  }
  screen_last_row = rows - 1;
  screen_width = columns;
  column_width = columns / 2;
}

int ScreenLastRow() { return screen_last_row; }
int ScreenWidth() { return screen_width; }
bool OutputIsConsole() { return output_is_console; }
bool InputIsConsole() { return input_is_console; }
int ColumnWidth() { return column_width; }

void SetColour(int attribute) {
  if (holding_output)
    held_output.push_back(HeldOutput{true, attribute, std::string()});
  else
    sys::SetTextAttribute(attribute);
  current_attribute = attribute;
}

int CurrentColour() { return current_attribute; }

bool LastKeyReadFailed() { return last_read_failed; }

void RestoreColour() {
  SetColour(kColourNormal);
  Write(kLineEnd);
}

void Write(const std::string& text) {
  if (text.empty()) return;
  if (!holding_output) {
    sys::WriteOut(text);
  } else if (!held_output.empty() && !held_output.back().is_colour) {
    held_output.back().text += text;
  } else {
    held_output.push_back(HeldOutput{false, 0, text});
  }
}

void WriteLine(const std::string& text) { Write(text + kLineEnd); }

void WriteColouredLine(int attribute, const std::string& text) {
  SetColour(attribute);
  Write(text);
  RestoreColour();
}

void HoldOutput() { holding_output = true; }

void ReleaseOutput() {
  holding_output = false;
  for (const HeldOutput& entry : held_output) {
    if (entry.is_colour)
      sys::SetTextAttribute(entry.attribute);
    else
      sys::WriteOut(entry.text);
  }
  held_output.clear();
}

// Input that is no console has no mode to switch: the calls would only cost
// time, a search's among them.
RawKeyInput::RawKeyInput() {
  if (raw_scopes++ == 0 && input_is_console) sys::SetRawInputMode();
}

RawKeyInput::~RawKeyInput() {
  if (--raw_scopes == 0 && input_is_console) sys::SetProcessedInputMode();
}

RunKeyInput::RunKeyInput() {
  if (raw_scopes++ == 0 && input_is_console) sys::SetRawInputMode();
}

RunKeyInput::~RunKeyInput() {
  if (--raw_scopes != 0 || !input_is_console) return;
  DropTypedCtrlC();
  sys::RestoreInputMode();
}

bool KeyOfRecord(const sys::InputEvent& event, KeyPress& key) {
  if (!IsAcceptable(event)) return false;
  // Keys are read in UTF-16: a character outside ASCII is none the program
  // answers (its low byte alone could read as a letter of the menu).
  auto character = event.character < 0x80 ? static_cast<std::uint8_t>(event.character)
                                          : static_cast<std::uint8_t>(kCharOutsideAscii);
  // Wine delivers a lone Esc without its character (virtual key 27,
  // character 0); Windows always gives 27, so this changes nothing there.
  if (character == 0 && event.virtual_key == kVirtualKeyEscape) character = kCharEscape;
  if (character != 0)
    key = KeyPress{character, 0};
  else
    key = KeyPress{0, static_cast<std::uint8_t>(event.scan_code & 0xFF)};
  return true;
}

KeyPress ReadKeyPress() {
  RawKeyInput raw;
  for (;;) {
    sys::InputEvent event;
    sys::ReadStatus status = sys::ReadInputEvent(event);
    last_read_failed = status == sys::ReadStatus::Failed;
    if (last_read_failed) return KeyPress{0, kScanEnd};
    KeyPress key;
    if (status == sys::ReadStatus::Event && KeyOfRecord(event, key)) return key;
  }
}

}  // namespace vantor::console
