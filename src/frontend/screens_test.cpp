#include "frontend/screens.h"

#include <gtest/gtest.h>

#include <sstream>

#include "console/paged_output.h"
#include "console/wincrt.h"
#include "fake/fake_system.h"

namespace vantor {
namespace {

using fake::Fake;

// The usage screen as users read it, kept as raw text so that every
// backslash stands as it appears on screen.
const char* const kUsageText = R"(
Usage:
  c [drive:][\][pathspec1][\pathspec2][\pathspec3]...
  c -?             displays this usage screen
  c -w             displays the welcome/contact screen
  c -[h|l]         displays the directory history list
  c -<num>         goes to history index <num> or blank for most recent
  c -a             displays the alias list
  c <alias>        uses an alias (aliases are case insensitive)
  c -a <alias>     removes an alias
  c -a <alias> .   defines an alias for the current directory (absolute)
  c -a <alias> <directory>
                   defines an alias (can be relative e.g. ..\..)
  c -x             starts Windows Explorer in current directory

  c -support       get technical support online
  c -orbwell       go to the Orbwell Software web site
  c -home          go to the Vantor home page
  c -manual        display the Vantor user manual

The current directory is generally excluded from the list of choices. If the
specified directory does not exist it can be created. Long directory names
can be "quoted". Environment variable VANTOR can be used to specify the
file for history and alias data to be written to.

Abbreviations supported:
    . -> ..     Go to parent directory
  ... -> ..\..  Go to parent's parent (works for ...., ..... etc)
    / -> \      Unix slash makes no difference
   \\ -> \*\    Saves hitting [Shift+8] (use to choose all matches)
    X -> X*.*   * is ALWAYS added

Examples:  (where D: is a drive letter)
  c \   c D:..   c *   c \T   c *\*   c D:B*   c D:..\*
)";

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (std::size_t next; (next = text.find(end, at)) != std::string::npos; at = next + end.size())
    lines.push_back(text.substr(at, next - at));
  if (at < text.size()) lines.push_back(text.substr(at));
  return lines;
}

class Screens : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Fake().rows = 300;
    console::InitConsole();
    console::ResetPagedOutput();
  }
};

TEST_F(Screens, UsageScreenIsTheDocumentedTextInLightGrey) {
  ShowUsageScreen();
  std::vector<std::string> expected = Lines(std::string(kUsageText).substr(1), "\n");
  std::vector<std::string> written = Lines(Fake().output, "\r\n");
  ASSERT_EQ(expected.size(), 33u);
  EXPECT_EQ(written, expected);
  // Each line, blank ones included, is one paged line in colour 7.
  std::string coloured = Fake().ColouredOutput();
  EXPECT_EQ(coloured.find("<14>"), std::string::npos);
  EXPECT_EQ(coloured.substr(0, 14), "<7>Usage:<7>\r\n");
  EXPECT_NE(coloured.find("<7><7>\r\n<7>  c -support"), std::string::npos);
}

TEST_F(Screens, UsageDescriptionsStartInColumnTwenty) {
  ShowUsageScreen();
  std::vector<std::string> lines = Lines(Fake().output, "\r\n");
  ASSERT_EQ(lines.size(), 33u);
  int options = 0;
  for (const std::string& line : lines) {
    // Option lines: "  c ", the option, a gap of blanks, the description.
    if (line.compare(0, 4, "  c ") != 0 || line.compare(0, 5, "  c \\") == 0) continue;
    std::size_t gap = line.find("  ", 4);
    if (gap == std::string::npos) continue;
    ++options;
    EXPECT_EQ(line.find_first_not_of(' ', gap), 19u) << line;
  }
  EXPECT_EQ(options, 13);
  // The description that wraps below "c -a <alias> <directory>" too.
  EXPECT_EQ(lines[11].find_first_not_of(' '), 19u);
  EXPECT_EQ(lines[15].substr(19), "go to the Orbwell Software web site");
}

TEST_F(Screens, BannerNamesProductVersionBitnessAndMaker) {
  std::string banner = BannerLine();
  // The bitness of the build under test, whatever the host system is.
  EXPECT_EQ(banner.substr(0, 21),
            sizeof(void*) == 8 ? " Vantor v3.3 (64bit) " : " Vantor v3.3 (32bit) ");
  EXPECT_EQ(banner.back(), ' ');
  EXPECT_NE(banner.find("Orbwell Software"), std::string::npos);
}

TEST_F(Screens, WelcomeScreenColoursBannerAddressAndMail) {
  ShowWelcomeScreen();
  std::vector<std::string> lines = Lines(Fake().output, "\r\n");
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], BannerLine());
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2],
            "Vantor is the ultimate replacement for DOS's CD command. You can abbreviate");
  EXPECT_EQ(lines[5], "and much more. No index files required! It even matches typos!");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7],
            "For updates, information, mailing lists and other products, see our web page -");
  EXPECT_EQ(lines[8], "  https://www.example.com/");
  EXPECT_EQ(lines[9], "");
  EXPECT_EQ(lines[10], "Send us email with your comments, suggestions or bug reports at");
  EXPECT_EQ(lines[11], "  support@example.com");
  std::vector<std::string> coloured = Lines(Fake().ColouredOutput(), "\r\n");
  EXPECT_EQ(coloured[0], "<14><14>" + BannerLine() + "<7>");
  EXPECT_EQ(coloured[4],
            "<7>of directories visited, automatically create a directory if it doesn't exist<7>");
  EXPECT_EQ(coloured[8], "<14><14>  https://www.example.com/<7>");
  EXPECT_EQ(coloured[11], "<14><14>  support@example.com<7>");
  EXPECT_EQ(coloured[10].substr(0, 3), "<7>");
}

TEST_F(Screens, ShortConsoleStopsTheUsageScreenAtTheMorePrompt) {
  fake::ResetFake();
  console::InitConsole();
  Fake().PushKey(' ');
  ShowUsageScreen();
  std::vector<std::string> lines = Lines(Fake().output, "\r\n");
  ASSERT_EQ(lines.size(), 33u);
  // 24 lines stand above the prompt, which the 25th line overwrites.
  EXPECT_EQ(lines[24].find(" -- Press [Esc] to exit or any other key to continue -- "), 0u);
  EXPECT_EQ(lines[24].substr(lines[24].size() - 24), "Abbreviations supported:");
}

}  // namespace
}  // namespace vantor
