#include "frontend/command_line.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, BlanksAndControlCharactersSeparate) {
  EXPECT_EQ(SplitCommandLine("c.exe a b"), (Args{"c.exe", "a", "b"}));
  EXPECT_EQ(SplitCommandLine("  c.exe \t a\x01\x1f   b  "), (Args{"c.exe", "a", "b"}));
  EXPECT_EQ(SplitCommandLine(""), Args{});
}

TEST(SplitCommandLine, QuotesJoinStretchesAndDisappear) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\c.exe\" \"a  b\""),
            (Args{"C:\\Program Files\\c.exe", "a  b"}));
  EXPECT_EQ(SplitCommandLine("c.exe ab\"c d\"e\"f\""), (Args{"c.exe", "abc def"}));
  // An unclosed quote runs to the end of the line.
  EXPECT_EQ(SplitCommandLine("c.exe \"a b"), (Args{"c.exe", "a b"}));
}

TEST(SplitCommandLine, EmptyQuotePairWhereAnArgumentBeginsIsSkipped) {
  EXPECT_EQ(SplitCommandLine("c.exe \"\""), Args{"c.exe"});
  EXPECT_EQ(SplitCommandLine("c.exe \"\" a \"\"\"\" b"), (Args{"c.exe", "a", "b"}));
  // Inside an argument the pair is an empty quoted stretch.
  EXPECT_EQ(SplitCommandLine("c.exe a\"\"b"), (Args{"c.exe", "ab"}));
  // A lone quote at the end opens an empty stretch: one empty argument.
  EXPECT_EQ(SplitCommandLine("c.exe \""), (Args{"c.exe", ""}));
}

}  // namespace
}  // namespace vantor
