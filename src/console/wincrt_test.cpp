#include "console/wincrt.h"

#include <gtest/gtest.h>

#include "base/exit.h"
#include "fake/fake_system.h"
#include "fake/run_helpers.h"

namespace vantor::console {
namespace {

using fake::Fake;

constexpr std::uint32_t kShift = 0x10;
constexpr std::uint32_t kLeftCtrl = 0x08;
constexpr std::uint32_t kNumLockOn = 0x20;

// Runs InitConsole and returns the exit code it ended the run with, or -1.
int InitExitCode() { return fake::ExitCodeOf(InitConsole); }

class WinCrtTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::ResetFake(); }

  static void Measure(int rows, int columns) {
    Fake().rows = rows;
    Fake().columns = columns;
    InitConsole();
  }

  static sys::InputEvent Key(std::uint16_t character, std::uint16_t virtual_key,
                             std::uint16_t scan_code, std::uint32_t control_state = 0) {
    sys::InputEvent event;
    event.is_key = true;
    event.key_down = true;
    event.character = character;
    event.virtual_key = virtual_key;
    event.scan_code = scan_code;
    event.control_state = control_state;
    return event;
  }

  static void Push(const sys::InputEvent& event) { Fake().PushEvent(event); }

  // Reads one key and returns it as "character/scan code".
  static std::string Read() {
    KeyPress key = ReadKeyPress();
    return std::to_string(key.character) + "/" + std::to_string(key.scan_code);
  }
};

TEST_F(WinCrtTest, MissingHandleEndsWithItsMessageAndExitCodeZero) {
  const char* messages[] = {"Cannot get console output handle.\r\n",
                            "Cannot get console error handle.\r\n",
                            "Cannot get console input handle.\r\n"};
  for (int missing = 0; missing < 3; ++missing) {
    fake::ResetFake();
    Fake().handle_valid[missing] = false;
    EXPECT_EQ(InitExitCode(), kExitNormal) << missing;
    EXPECT_EQ(Fake().output, messages[missing]);
    EXPECT_EQ(Fake().input_modes, "") << "the input mode was not touched";
  }
  // The output handle is checked first.
  fake::ResetFake();
  Fake().handle_valid[0] = Fake().handle_valid[2] = false;
  EXPECT_EQ(InitExitCode(), kExitNormal);
  EXPECT_EQ(Fake().output, messages[0]);
}

TEST_F(WinCrtTest, StartUpSwitchesInputToProcessedMode) {
  EXPECT_EQ(InitExitCode(), -1);
  EXPECT_EQ(Fake().input_modes, "P");
  EXPECT_EQ(Fake().output, "");
}

TEST_F(WinCrtTest, ScreenIsMeasuredByTheBuffer) {
  Measure(25, 80);
  EXPECT_EQ(ScreenLastRow(), 24);
  EXPECT_EQ(ColumnWidth(), 40);
  Measure(300, 81);
  EXPECT_EQ(ScreenLastRow(), 299);
  EXPECT_EQ(ColumnWidth(), 40);
  Measure(33, 132);
  EXPECT_EQ(ScreenLastRow(), 32);
  EXPECT_EQ(ColumnWidth(), 66);
}

TEST_F(WinCrtTest, UnmeasurableScreenTakesTheDefaults) {
  Measure(50, 120);
  Fake().screen_measurable = false;
  InitConsole();
  EXPECT_EQ(ScreenLastRow(), 24);
  EXPECT_EQ(ColumnWidth(), 40);
  EXPECT_EQ(Fake().output, "");
}

TEST_F(WinCrtTest, ColourIsRememberedAndRestoredWithALineEnd) {
  Fake().screen_measurable = false;  // output redirected
  InitConsole();
  EXPECT_EQ(CurrentColour(), 7);
  SetColour(12);
  EXPECT_EQ(CurrentColour(), 12);
  Write("Oops");
  RestoreColour();
  EXPECT_EQ(CurrentColour(), 7);
  WriteColouredLine(14, "Note");
  EXPECT_EQ(Fake().ColouredOutput(), "<12>Oops<7>\r\n<14>Note<7>\r\n");
}

TEST_F(WinCrtTest, WriteLineEndsWithCrLf) {
  InitConsole();
  WriteLine("one");
  WriteLine();
  Write("");
  EXPECT_EQ(Fake().output, "one\r\n\r\n");
}

TEST_F(WinCrtTest, KeyWithCharacterGivesTheCharacter) {
  InitConsole();
  Push(Key('a', 'A', 30));
  Push(Key('A', 'A', 30, kShift));
  Push(Key(13, 13, 28));
  Push(Key(0x444, 'A', 30));  // a Cyrillic letter, whose low byte is 'D'
  EXPECT_EQ(Read(), "97/0");
  EXPECT_EQ(Read(), "65/0");
  EXPECT_EQ(Read(), "13/0");
  EXPECT_EQ(Read(), "255/0");
}

TEST_F(WinCrtTest, ReleasesAndOtherEventsAreSkipped) {
  InitConsole();
  sys::InputEvent release = Key('x', 'X', 45);
  release.key_down = false;
  sys::InputEvent mouse;  // mouse, focus and window-size events alike
  mouse.character = 'm';
  Push(release);
  Push(mouse);
  Push(Key('y', 'Y', 21));
  EXPECT_EQ(Read(), "121/0");
  EXPECT_EQ(Fake().reads_attempted, 3u);
}

TEST_F(WinCrtTest, KeysWithoutCharacterNeedNoModifier) {
  InitConsole();
  Push(Key(0, 16, 42, kShift));              // Shift alone
  Push(Key(0, 38, 72, kShift));              // Shift+Up
  Push(Key(0, 38, 72, kLeftCtrl));           // Ctrl+Up
  Push(Key(0, 17, 29, kLeftCtrl));           // Ctrl alone
  Push(Key(0, 38, 72, kNumLockOn | 0x100));  // Up with lock and enhanced bits
  EXPECT_EQ(Read(), "0/72");
  EXPECT_EQ(Fake().reads_attempted, 5u);
}

TEST_F(WinCrtTest, LockKeysAreAccepted) {
  InitConsole();
  Push(Key(0, 144, 69));          // Num Lock
  Push(Key(0, 144, 69, kShift));  // Num Lock with Shift
  Push(Key(0, 145, 70, kShift));  // Scroll Lock with Shift
  Push(Key(0, 20, 58));           // Caps Lock sets no modifier bit
  EXPECT_EQ(Read(), "0/69");
  EXPECT_EQ(Read(), "0/69");
  EXPECT_EQ(Read(), "0/70");
  EXPECT_EQ(Read(), "0/58");
}

TEST_F(WinCrtTest, FailedReadGivesEndAtOnce) {
  InitConsole();
  EXPECT_EQ(Read(), "0/79");
  EXPECT_TRUE(LastKeyReadFailed());
  EXPECT_EQ(Fake().reads_attempted, 1u);
  Push(Key(0, 35, 79));  // a real End key
  EXPECT_EQ(Read(), "0/79");
  EXPECT_FALSE(LastKeyReadFailed());
}

TEST_F(WinCrtTest, ZeroRecordReadIsReadAgain) {
  InitConsole();
  Fake().zero_record_reads = 2;
  Push(Key('q', 'Q', 16));
  EXPECT_EQ(Read(), "113/0");
  EXPECT_EQ(Fake().reads_attempted, 3u);
}

TEST_F(WinCrtTest, EscapeWithoutCharacterGivesEscape) {
  InitConsole();
  Push(Key(0, 27, 1));   // as Wine delivers a lone Esc
  Push(Key(27, 27, 1));  // as Windows does
  EXPECT_EQ(Read(), "27/0");
  EXPECT_EQ(Read(), "27/0");
}

// Ctrl+C reaches ReadKeyPress as a key because it reads raw and puts
// processed input back afterwards; read in processed mode, it would have
// ended the process.
TEST_F(WinCrtTest, CtrlCIsAKeyOnlyWhileReadingRaw) {
  InitConsole();
  Push(Key(3, 'C', 46, kLeftCtrl));
  EXPECT_EQ(Read(), "3/0");
  EXPECT_EQ(Read(), "0/79");
  EXPECT_EQ(Fake().input_modes, "PRPRP");
  Push(Key(3, 'C', 46, kLeftCtrl));
  sys::InputEvent event;
  EXPECT_EQ(fake::ExitCodeOf([&] { sys::ReadInputEvent(event); }), fake::kCtrlCExitCode);
}

}  // namespace
}  // namespace vantor::console
