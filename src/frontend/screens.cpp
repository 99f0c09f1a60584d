#include "frontend/screens.h"

#include "console/paged_output.h"
#include "console/wincrt.h"
#include "frontend/maker_info.h"

namespace vantor {
namespace {

// Every description starts in column 20, so the option texts are padded to
// 19 characters; a longer option moves its description to the next line.
const char* const kUsageLines[] = {
    "Usage:",
    "  c [drive:][\\][pathspec1][\\pathspec2][\\pathspec3]...",
    "  c -?             displays this usage screen",
    "  c -w             displays the welcome/contact screen",
    "  c -[h|l]         displays the directory history list",
    "  c -<num>         goes to history index <num> or blank for most recent",
    "  c -a             displays the alias list",
    "  c <alias>        uses an alias (aliases are case insensitive)",
    "  c -a <alias>     removes an alias",
    "  c -a <alias> .   defines an alias for the current directory (absolute)",
    "  c -a <alias> <directory>",
    "                   defines an alias (can be relative e.g. ..\\..)",
    "  c -x             starts Windows Explorer in current directory",
    "",
    "  c -support       get technical support online",
    "  c -orbwell       go to the Orbwell Software web site",
    "  c -home          go to the Vantor home page",
    "  c -manual        display the Vantor user manual",
    "",
    "The current directory is generally excluded from the list of choices. If the",
    "specified directory does not exist it can be created. Long directory names",
    "can be \"quoted\". Environment variable VANTOR can be used to specify the",
    "file for history and alias data to be written to.",
    "",
    "Abbreviations supported:",
    "    . -> ..     Go to parent directory",
    "  ... -> ..\\..  Go to parent's parent (works for ...., ..... etc)",
    "    / -> \\      Unix slash makes no difference",
    "   \\\\ -> \\*\\    Saves hitting [Shift+8] (use to choose all matches)",
    "    X -> X*.*   * is ALWAYS added",
    "",
    "Examples:  (where D: is a drive letter)",
    "  c \\   c D:..   c *   c \\T   c *\\*   c D:B*   c D:..\\*",
};

const char* const kWelcomeLines[] = {
    "Vantor is the ultimate replacement for DOS's CD command. You can abbreviate",
    "directories, save aliases for frequently-used directories, access a history",
    "of directories visited, automatically create a directory if it doesn't exist",
    "and much more. No index files required! It even matches typos!",
};

// The bitness of this build, not of the system: a 32-bit build on 64-bit
// Windows runs with System32 redirected and would learn nothing from asking.
constexpr const char* kBuildBits = sizeof(void*) == 8 ? "64bit" : "32bit";

void NoticeLine(const std::string& text) {
  console::SetColour(console::kColourNotice);
  console::PagedLine(text);
}

}  // namespace

std::string BannerLine() {
  return std::string(" ") + kProductName + " v" + kProductVersion + " (" + kBuildBits + ") " +
         kMakerNotice + " ";
}

void ShowUsageScreen() {
  for (const char* line : kUsageLines) console::PagedLine(line);
}

void ShowWelcomeScreen() {
  NoticeLine(BannerLine());
  console::PagedLine("");
  for (const char* line : kWelcomeLines) console::PagedLine(line);
  console::PagedLine("");
  console::PagedLine(
      "For updates, information, mailing lists and other products, see our web page -");
  NoticeLine(std::string("  ") + kMakerWebSite);
  console::PagedLine("");
  console::PagedLine("Send us email with your comments, suggestions or bug reports at");
  NoticeLine(std::string("  ") + kSupportEmail);
}

}  // namespace vantor
