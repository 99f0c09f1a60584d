#include "console/paged_output.h"

#include "base/exit.h"
#include "console/text_layout.h"
#include "console/wincrt.h"

namespace vantor::console {
namespace {

// Lines written since program start or since the last stop; the count runs
// on across every paged text of one run.
int paged_line_count = 0;

constexpr const char* kMorePrompt = " -- Press [Esc] to exit or any other key to continue -- ";
constexpr int kWipeLength = 64;

// Shows the more-prompt, waits for a key and wipes the prompt again so the
// next line is written where it stood. Esc or Ctrl+C ends the run.
void StopAtMorePrompt() {
  SetColour(kColourNotice);
  Write(kMorePrompt);
  SetColour(kColourNormal);
  KeyPress key = ReadKeyPress();
  Write(RepeatChar(kWipeLength, '\b') + RepeatChar(kWipeLength, ' ') +
        RepeatChar(kWipeLength, '\b'));
  if (key.character == kCharEscape || key.character == kCharCtrlC) EndRun(kExitNormal);
  paged_line_count = 0;
}

}  // namespace

void PagedLine(const std::string& text) {
  int colour = CurrentColour();
  ++paged_line_count;
  if (paged_line_count > ScreenLastRow()) StopAtMorePrompt();
  SetColour(colour);
  Write(text);
  RestoreColour();
}

void ResetPagedOutput() { paged_line_count = 0; }

}  // namespace vantor::console
