// The hot-key editor without the options screen around it: keys released while a row waits go
// into the settings, Escape gives the row its old keys back, and a key two rows share is a clash.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/UMiscelaneous.h"
#include "platform/Input.h"
#include "screens/UHotKeyEditor.h"

namespace qj::test {
namespace {

class HotKeyEditorTest : public ::testing::Test {
 protected:
  HotKeyEditorTest() { LoadDefaultHotkeys(); }
  ~HotKeyEditorTest() override { Options = Saved; }

  const TOptions Saved = Options;
  THotKeyEditor Editor;
};

TEST_F(HotKeyEditorTest, ARowTakesItsOneOrTwoKeysAndTheCaptureEnds) {
  struct TCase {
    int Row;
    std::vector<THotKey> Released;
    THotKey First, Second;  // what the row holds afterwards; Second of a one-key row is untouched
  };
  const THotKey untouched = Options.Hotkeys[27];
  const TCase cases[] = {
      {13, {{VK_F11, 0}}, {VK_F11, 0}, untouched},
      {5, {{VK_SHIFT, ssShift}, {'K', ssShift | ssCtrl}, {'J', 0}}, {'K', ssShift | ssCtrl}, {'J', 0}},  // Shift alone waits
      {9, {{'M', ssAlt | ssLeft}, {VK_F3, 0}}, {'M', ssAlt}, {VK_F3, 0}},  // the mouse buttons are not part of a key
  };
  for (const TCase& c : cases) {
    Editor.StartCapture(c.Row);
    for (const THotKey& key : c.Released) {
      ASSERT_TRUE(Editor.Capturing()) << c.Row;
      Editor.CaptureKey(key.Key, key.Shift);
    }
    EXPECT_FALSE(Editor.Capturing()) << c.Row;
    EXPECT_EQ(Options.Hotkeys[size_t(2 * c.Row)], c.First) << c.Row;
    EXPECT_EQ(Options.Hotkeys[size_t(2 * c.Row + 1)], c.Second) << c.Row;
  }
}

TEST_F(HotKeyEditorTest, EscapeEndsTheCaptureWithTheOldKeys) {
  const std::array<THotKey, kHotkeyCount> before = Options.Hotkeys;
  Editor.StartCapture(5);
  Editor.CaptureKey('Q', 0);
  ASSERT_TRUE(Editor.Capturing()) << "waits for the second key";
  Editor.CaptureKey(VK_ESCAPE, 0);
  EXPECT_FALSE(Editor.Capturing());
  EXPECT_EQ(Options.Hotkeys, before);
  EXPECT_EQ(Editor.HighlightedRow(), 5);
}

TEST_F(HotKeyEditorTest, AKeyUsedTwiceIsAClashAndCanStillBeKept) {
  for (int row = 0; row < THotKeyEditor::kRows; ++row) EXPECT_FALSE(Editor.RowConflicts(row)) << row;
  Editor.StartCapture(13);
  Editor.CaptureKey(Options.Hotkeys[8].Key, Options.Hotkeys[8].Shift);  // the loupe's key for the main menu
  EXPECT_TRUE(Editor.RowConflicts(13));
  EXPECT_TRUE(Editor.RowConflicts(4));
  EXPECT_FALSE(Editor.RowConflicts(5));
  EXPECT_EQ(Options.Hotkeys[26], Options.Hotkeys[8]) << "kept, until the player changes it";
  Editor.StartCapture(13);
  Editor.CaptureKey('U', 0);
  EXPECT_FALSE(Editor.RowConflicts(13));
  EXPECT_FALSE(Editor.RowConflicts(4));
}

}  // namespace
}  // namespace qj::test
