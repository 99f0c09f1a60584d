#include "frontend/error_trap.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace vantor {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (std::size_t next; (next = text.find("\r\n", at)) != std::string::npos; at = next + 2)
    lines.push_back(text.substr(at, next - at));
  EXPECT_EQ(at, text.size()) << "the report ends with a line end";
  return lines;
}

class ErrorReportText : public testing::Test {
 protected:
  void SetUp() override { SetProgramIdentity("Vantor", "3.3"); }
};

TEST_F(ErrorReportText, NamesProgramCommandLineAndNumber) {
  std::vector<std::string> lines = Lines(ErrorReport(216, {"C:\\Tools\\vantor.exe", "..\\abc"}));
  const std::vector<std::string> expected = {
      "*** An error occurred ***",
      "",
      "Please email the following information and a description of what you",
      "were doing to support@example.com",
      "",
      "Program: Vantor  Version: 3.3",
      "Command line: C:\\Tools\\vantor.exe ..\\abc",
      "Error number 216",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(ErrorReportText, StackOverflowAloneAddsItsLine) {
  std::vector<std::string> lines = Lines(ErrorReport(202, {"vantor.exe"}));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "*** An error occurred ***");
  EXPECT_EQ(lines[1], "Stack overflow error");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[7], "Command line: vantor.exe");
  EXPECT_EQ(lines[8], "Error number 202");
  for (int number : {200, 203, 215, 216})
    EXPECT_EQ(ErrorReport(number, {"vantor.exe"}).find("Stack overflow"), std::string::npos);
}

TEST_F(ErrorReportText, IdentityIsCutToItsLimitsAndEmptyWithoutArguments) {
  SetProgramIdentity("A program name of forty characters long!", "1.2.3.4.5.6.7");
  std::vector<std::string> lines = Lines(ErrorReport(200, {}));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[5], "Program: A program name of forty charac  Version: 1.2.3.4.5.");
  EXPECT_EQ(lines[6], "Command line:");
  SetProgramIdentity("", "");
  EXPECT_EQ(Lines(ErrorReport(200, {}))[5], "Program:   Version: ");
}

TEST(FatalErrorNumbers, SystemFaultsMapToTheReportNumbers) {
  EXPECT_EQ(FatalErrorForException(0xC00000FD), 202);  // stack overflow
  EXPECT_EQ(FatalErrorForException(0xC0000005), 216);  // access violation
  EXPECT_EQ(FatalErrorForException(0xC0000094), 200);  // integer divide by zero
  EXPECT_EQ(FatalErrorForException(0xC0000095), 215);  // integer overflow
  EXPECT_EQ(FatalErrorForException(0xC0000017), 203);  // no memory
  EXPECT_EQ(FatalErrorForException(0xC000001D), 216);  // illegal instruction
  EXPECT_EQ(FatalErrorForException(0x80000003), 216);  // breakpoint
}

TEST(FatalErrorNumbers, UncaughtExceptionsMapByKind) {
  EXPECT_EQ(FatalErrorForCurrentException(), 216);
  try {
    throw std::bad_alloc();
  } catch (...) {
    EXPECT_EQ(FatalErrorForCurrentException(), 203);
  }
  try {
    throw std::out_of_range("index");
  } catch (...) {
    EXPECT_EQ(FatalErrorForCurrentException(), 216);
  }
  try {
    throw 42;
  } catch (...) {
    EXPECT_EQ(FatalErrorForCurrentException(), 216);
  }
}

}  // namespace
}  // namespace vantor
