#include "handoff/handoff.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"
#include "store/settings.h"

namespace vantor::handoff {
namespace {

using fake::ExitCodeOf;
using fake::Fake;
using fake::HandOffContent;

class HandOff : public testing::Test {
 protected:
  void SetUp() override {
    fake::ResetFake();
    store::Settings() = store::DefaultSettings();
  }
};

TEST_F(HandOff, TextOfTheWorkedExamples) {
  const unsigned char work_src[] = {0x43, 0x3A, 0x0D, 0x0A, 0x63, 0x68, 0x64, 0x69,
                                    0x72, 0x20, 0x22, 0x5C, 0x57, 0x6F, 0x72, 0x6B,
                                    0x5C, 0x73, 0x72, 0x63, 0x22, 0x0D, 0x0A};
  WriteHandOffFile(HandOffText("C:\\Work\\src"));
  EXPECT_EQ(HandOffContent(), std::string(reinterpret_cast<const char*>(work_src), 23));
  EXPECT_EQ(HandOffText("D:\\"), "D:\r\nchdir \"\\\"");
  // cmd enters a network path through pushd alone.
  EXPECT_EQ(HandOffText("\\\\srv\\share\\dir"), "pushd \"\\\\srv\\share\\dir\"");
  EXPECT_EQ(HandOffText("e:\\lower"), "e:\r\nchdir \"\\lower\"");
  WriteHandOffFile("rem");
  EXPECT_EQ(HandOffContent(), "rem\r\n");
}

TEST_F(HandOff, ShellSpecialCharactersPassButPercentIsDoubled) {
  EXPECT_EQ(HandOffText("C:\\a b&c^d!(e);f"), "C:\r\nchdir \"\\a b&c^d!(e);f\"");
  EXPECT_EQ(HandOffText("C:\\100%\\a%PATH%b"), "C:\r\nchdir \"\\100%%\\a%%PATH%%b\"");
}

TEST_F(HandOff, TempWithOrWithoutTrailingBackslashNamesOneFile) {
  Fake().SetEnv("TEMP", "C:\\Temp\\");
  EXPECT_EQ(HandOffFileName(), "C:\\Temp\\vantor2.bat");
  Fake().SetEnv("TEMP", "C:\\Temp");
  EXPECT_EQ(HandOffFileName(), "C:\\Temp\\vantor2.bat");
}

TEST_F(HandOff, FileNamedByTheWrapperTakesThePlaceOfTheOneInTemp) {
  Fake().AddDir("C:\\Temp\\run1");
  Fake().SetEnv(kHandOffVariable, "C:\\Temp\\run1\\vantor2.bat");
  Fake().UnsetEnv("TEMP");  // not needed then
  WriteHandOffFile(HandOffText("\\\\srv\\share\\50%"));
  EXPECT_EQ(Fake().FileContent("C:\\Temp\\run1\\vantor2.bat"),
            "pushd \"\\\\srv\\share\\50%%\"\r\n");
  // Empty, it names nothing: the file in TEMP again.
  Fake().SetEnv("TEMP", "C:\\Temp");
  Fake().SetEnv(kHandOffVariable, "");
  EXPECT_EQ(HandOffFileName(), "C:\\Temp\\vantor2.bat");
}

TEST_F(HandOff, NamedFileThatCannotBeMadeEndsAsAnUnwritableTemp) {
  Fake().SetEnv(kHandOffVariable, "C:\\Temp\\gone\\vantor2.bat");
  EXPECT_EQ(ExitCodeOf([] { WriteHandOffFile("rem"); }), kExitRunError);
  EXPECT_EQ(
      Fake().ColouredOutput(),
      "<12>Vantor: Error - can't write to batch file 'C:\\Temp\\gone\\vantor2.bat'\r\n<7>\r\n");
  EXPECT_EQ(HandOffContent(), "");
}

TEST_F(HandOff, EmptyTempCountsAsMissing) {
  Fake().SetEnv("TEMP", "");
  EXPECT_EQ(ExitCodeOf([] { WriteHandOffFile("rem"); }), kExitRunError);
  EXPECT_NE(Fake().output.find("TEMP is not defined"), std::string::npos);
}

TEST_F(HandOff, ChangeReadsBackTheFullPathAndRecordsIt) {
  Fake().AddDir("C:\\proj\\lib");
  Fake().AddDir("C:\\proj\\src");
  Fake().current_dir = "C:\\proj\\src";
  EXPECT_EQ(ExitCodeOf([] { ChangeToDirectory("..\\lib\\"); }), kExitNormal);
  EXPECT_EQ(HandOffContent(), "C:\r\nchdir \"\\proj\\lib\"\r\n");
  EXPECT_EQ(store::Settings().history[0], "C:\\proj\\lib");
  EXPECT_EQ(Fake().current_dir, "C:\\proj\\lib");
}

TEST_F(HandOff, TargetThatCannotBeEnteredTouchesNothing) {
  WriteHandOffFile("rem");
  EXPECT_EQ(ExitCodeOf([] { ChangeToDirectory("C:\\nowhere"); }), kExitRunError);
  EXPECT_EQ(Fake().ColouredOutput(),
            "<12>Vantor: Could not change directory to 'C:\\nowhere'<7>\r\n");
  EXPECT_EQ(HandOffContent(), "rem\r\n");
  EXPECT_EQ(store::Settings().history[0], "");
}

TEST_F(HandOff, UnwritableFileAfterTheHistoryWasSaved) {
  Fake().AddDir("C:\\proj");
  WriteHandOffFile("rem");
  Fake().read_only_files.insert(fake::Upper("C:\\Temp\\vantor2.bat"));
  EXPECT_EQ(ExitCodeOf([] { ChangeToDirectory("C:\\proj"); }), kExitRunError);
  EXPECT_EQ(store::Settings().history[0], "C:\\proj");
  EXPECT_EQ(HandOffContent(), "rem\r\n");
}

}  // namespace
}  // namespace vantor::handoff
