// The two fixed help screens: the usage screen ("-?") and the welcome
// screen ("-w"). Both are written line by line through PagedLine, so they
// stop at the more-prompt on a short console.
#pragma once

#include <string>

namespace vantor {

// " Vantor v3.3 (64bit) " followed by the maker's notice and a blank; the
// first line of both screens, written in yellow. The bitness is the running
// build's own: "(32bit)" in a 32-bit build.
std::string BannerLine();

// Writes the 33 usage lines in light grey and returns.
void ShowUsageScreen();

// Writes the welcome screen (the banner, what the program does, the web
// site and the support address, the last two in yellow) and returns.
void ShowWelcomeScreen();

}  // namespace vantor
