#include "handoff/create_directory.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"

namespace vantor::handoff {
namespace {

using fake::ExpectedHandOff;
using fake::Fake;
using fake::HandOffContent;
using fake::RunVantor;

class Creation : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    Fake().AddDir("C:\\empty");
    Fake().AddDir("C:\\work\\sub");
    Fake().current_dir = "C:\\empty";
  }
};

TEST_F(Creation, WalkCreatesEveryMissingLevelAndPassesExistingOnes) {
  EXPECT_TRUE(CreateDirectoryPath("C:\\work\\a\\b"));
  EXPECT_EQ(Fake().created, (std::vector<std::string>{"C:\\work\\a", "C:\\work\\a\\b"}));
  EXPECT_TRUE(CreateDirectoryPath("C:\\work\\c\\"));
  EXPECT_EQ(Fake().created.back(), "C:\\work\\c");
  EXPECT_EQ(Fake().created.size(), 3u);
}

TEST_F(Creation, RelativePathsAreMadeAbsoluteAgainstTheDrive) {
  EXPECT_TRUE(CreateDirectoryPath("new\\deeper"));
  EXPECT_TRUE(Fake().DirExists("C:\\empty\\new\\deeper"));
  EXPECT_EQ(Fake().current_dir, "C:\\empty");
}

// Access denied is passed over even where nothing exists: the system says
// so for a folder on the way that the user may not look into.
TEST_F(Creation, AccessDeniedOnALevelIsPassedOver) {
  for (std::uint32_t code : {5u, 0x305u}) {
    SCOPED_TRACE(code);
    Fake().create_errors[fake::Upper("C:\\work\\denied")] = code;
    EXPECT_TRUE(CreateDirectoryPath("C:\\work\\denied"));
    EXPECT_FALSE(Fake().DirExists("C:\\work\\denied"));
    EXPECT_EQ(Fake().output, "");
  }
}

// Only a code of 0 in full means success: a code whose low eight bits are
// 0 is a failure like any other, and the walk stops there.
TEST_F(Creation, ACodeWhoseLowBitsAreZeroIsAFailure) {
  Fake().create_errors[fake::Upper("C:\\work\\zero")] = 0x100;
  EXPECT_FALSE(CreateDirectoryPath("C:\\work\\zero\\deeper"));
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Unexpected error 0creating directory 'C:\\work\\zero'<7>\r\n");
  EXPECT_TRUE(Fake().created.empty());
}

TEST_F(Creation, APathTooLongIsNoFloatingPointFault) {
  Fake().create_errors[fake::Upper("C:\\work\\long")] = 206;
  EXPECT_FALSE(CreateDirectoryPath("C:\\work\\long"));
  EXPECT_EQ(Fake().output, "Unexpected error 206creating directory 'C:\\work\\long'\r\n");
}

TEST_F(Creation, RefusedNameStopsWithItsErrorText) {
  Fake().create_errors[fake::Upper("C:\\work\\a\\bad")] = 0x37B;  // low byte 123
  EXPECT_FALSE(CreateDirectoryPath("C:\\work\\a\\bad\\c"));
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Unexpected error 123creating directory 'C:\\work\\a\\bad'<7>\r\n");
  EXPECT_TRUE(Fake().DirExists("C:\\work\\a"));
  Fake().output.clear();
  Fake().colour_log.clear();
  Fake().create_errors[fake::Upper("C:\\work\\p")] = 3;
  EXPECT_FALSE(CreateDirectoryPath("C:\\work\\p"));
  EXPECT_EQ(Fake().output, "Path not foundcreating directory 'C:\\work\\p'\r\n");
}

TEST_F(Creation, NetworkPathsAreWalkedBelowTheShare) {
  Fake().AddDir("\\\\srv\\share");
  EXPECT_TRUE(CreateDirectoryPath("\\\\srv\\share\\a\\b"));
  EXPECT_TRUE(Fake().DirExists("\\\\srv\\share\\a\\b"));
}

TEST_F(Creation, NameInAnEmptyDirectoryOffersTwoCandidates) {
  Fake().PushKey('a');
  EXPECT_EQ(RunVantor("newdir"), kExitNormal);
  EXPECT_NE(Fake().output.find("** Create a new directory? **"), std::string::npos);
  EXPECT_NE(Fake().output.find("[a] C:\\empty\\newdir\\"), std::string::npos);
  EXPECT_NE(Fake().output.find("[b] newdir"), std::string::npos);
  EXPECT_NE(Fake().output.find("Create directory (a-b or Escape to exit)? a\r\n"),
            std::string::npos);
  EXPECT_TRUE(Fake().DirExists("C:\\empty\\newdir"));
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\empty\\newdir"));
}

TEST_F(Creation, SingleCandidateAsksAndYesCreates) {
  Fake().current_dir = "C:\\work";
  Fake().PushKey('x');
  Fake().PushKey(0, 59);  // F1
  Fake().PushKey('y');
  EXPECT_EQ(RunVantor("*\\newdir"), kExitNormal);
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Vantor: No directories found matching '*\\newdir'<7>\r\n"
            "<14>Create 'C:\\work\\sub\\newdir\\' [y/N] ? Yes<7>\r\n");
  EXPECT_EQ(HandOffContent(), ExpectedHandOff("C:", "\\work\\sub\\newdir"));
}

TEST_F(Creation, EveryOtherAnswerIsNoWith255) {
  for (std::uint8_t key : {'n', 'N', '\r', '\x1b', '\x03'}) {
    Fake().current_dir = "C:\\work";
    Fake().PushKey(key);
    EXPECT_EQ(RunVantor("*\\newdir"), kExitDeclined) << int(key);
    EXPECT_NE(Fake().output.find("[y/N] ? No\r\n"), std::string::npos);
    EXPECT_FALSE(Fake().DirExists("C:\\work\\sub\\newdir"));
    EXPECT_EQ(HandOffContent(), "rem\r\n");
  }
}

TEST_F(Creation, InputThatIsNoConsoleAnswersNo) {
  Fake().current_dir = "C:\\work";
  EXPECT_EQ(RunVantor("*\\newdir"), kExitDeclined);
  EXPECT_FALSE(Fake().DirExists("C:\\work\\sub\\newdir"));
}

TEST_F(Creation, SwitchedOffMeansReportOnly) {
  Fake().registry["canCreatePath"] = {sys::kRegDword, std::string("\0\0\0\0", 4)};
  EXPECT_EQ(RunVantor("newdir"), kExitNormal);
  EXPECT_EQ(Fake().ColouredOutput(), "<12>Vantor: No directories found matching 'newdir'<7>\r\n");
  EXPECT_TRUE(Fake().created.empty());
}

TEST_F(Creation, LeavingTheCreateMenuCreatesNothing) {
  Fake().PushKey(27);
  EXPECT_EQ(RunVantor("newdir"), kExitNormal);
  EXPECT_TRUE(Fake().created.empty());
  EXPECT_EQ(HandOffContent(), "rem\r\n");
}

}  // namespace
}  // namespace vantor::handoff
