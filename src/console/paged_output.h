// Paged output: long texts stop at a more-prompt each time a screenful has
// gone by; Esc or Ctrl+C there ends the run.
#pragma once

#include <string>

namespace vantor::console {

// Writes `text` as one line in the colour in force, stopping first at the
// more-prompt when the screen is full. Leaves colour 7 and a new line.
void PagedLine(const std::string& text);

// Resets the line count (start-up of a run).
void ResetPagedOutput();
}  // namespace vantor::console
