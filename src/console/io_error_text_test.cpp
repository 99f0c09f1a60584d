#include "console/io_error_text.h"

#include <gtest/gtest.h>

namespace vantor::console {
namespace {

TEST(IoErrorText, KnownNumbersGiveTheirText) {
  EXPECT_EQ(IoErrorText(1), "Invalid function number");
  EXPECT_EQ(IoErrorText(3), "Path not found");
  EXPECT_EQ(IoErrorText(5), "File access denied");
  EXPECT_EQ(IoErrorText(53), "Computer name in network path cannot be located");
  EXPECT_EQ(IoErrorText(100), "File is wrong format (read past EOF)");
  EXPECT_EQ(IoErrorText(216), "General Protection fault");
}

TEST(IoErrorText, TrailingBlankIsKept) {
  EXPECT_EQ(IoErrorText(16), "Cannot remove current folder ");
}

TEST(IoErrorText, DrivePlaceholderReadsC) {
  EXPECT_EQ(IoErrorText(150), "Disk is write-protected in drive C:");
  EXPECT_EQ(IoErrorText(152), "Disk not ready in drive C: (Door open?)");
  EXPECT_EQ(IoErrorText(165), "Replace diskette in drive C:");
  EXPECT_EQ(IoErrorText(159), "Printer out of paper");
}

TEST(IoErrorText, GapsGiveUnexpectedError) {
  EXPECT_EQ(IoErrorText(0), "Unexpected error 0");
  EXPECT_EQ(IoErrorText(7), "Unexpected error 7");
  EXPECT_EQ(IoErrorText(153), "Unexpected error 153");
  EXPECT_EQ(IoErrorText(183), "Unexpected error 183");
  EXPECT_EQ(IoErrorText(217), "Unexpected error 217");
  EXPECT_EQ(IoErrorText(4000000000u), "Unexpected error 4000000000");
}

TEST(IoErrorText, TableHoldsSixtySixNumbers) {
  int known = 0;
  for (std::uint32_t number = 0; number < 256; ++number)
    if (IoErrorText(number).rfind("Unexpected error", 0) != 0) ++known;
  EXPECT_EQ(known, 66);
}

// Codes from the system: the language's run-time groups are not its
// errors, so a path too long (206) names no floating-point fault.
TEST(SystemErrorText, RunTimeGroupsGiveUnexpectedErrorTheRestTheTable) {
  for (std::uint32_t number : {100u, 103u, 106u, 200u, 206u, 216u})
    EXPECT_EQ(SystemErrorText(number), "Unexpected error " + std::to_string(number));
  for (std::uint32_t number : {0u, 3u, 5u, 16u, 53u, 99u, 107u, 150u, 152u, 199u, 217u, 255u})
    EXPECT_EQ(SystemErrorText(number), IoErrorText(number)) << number;
  EXPECT_EQ(IoErrorText(206), "Floating point underflow") << "the table itself is kept";
}

}  // namespace
}  // namespace vantor::console
