// The play screen's keys: scrolling, the hot keys of the menu buttons, undo and redo, help.
#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Input.h"
#include "core/UThemes.h"

namespace qj {
namespace {

constexpr int kFirstMenuHotkey = 2;           // hot keys 2c and 2c + 1 click button c - 2's sides
constexpr int kLastMenuHotkey = kFirstMenuHotkey + MenuButton::Count - 1;
static_assert(2 * kLastMenuHotkey + 1 < kHotkeyCount, "every menu button has two hot keys");
constexpr int kHelpTable = 6, kHelpMenu = 4;  // help topics
constexpr int kKeyStep = 64;                  // table pixels an arrow key scrolls

}  // namespace

// The arrow keys scroll; F2 pauses the game for the options screen; undo and redo act as their
// keys go down (and repeat while held), as a player lets go of Ctrl and the key in either order. Without its menu (the theme's
// menu files are missing) the table would hold the player: Escape still leaves.
void TBoardPlayInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone || ScrollKey(key, shift)) return;
  if (key == VK_F2 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) {
    if (FDragMode != EDragMode::Idle) FPieces->PutDownSelection();
    FDragMode = EDragMode::Idle;
    FResult = PlayResult::Options;
    Suspend();
    return;
  }
  if (!FMenu->Built() && key == VK_ESCAPE) Finish(PlayResult::ToMainMenu);
  const int modifiers = shift & (ssShift | ssAlt | ssCtrl);
  if (HotKeyIs(kUndoHotkey, key, modifiers) || HotKeyIs(kRedoHotkey, key, modifiers)) {
    FTakeBackKey = key;
    TakeBack(HotKeyIs(kRedoHotkey, key, modifiers));
  }
}

// The arrow keys alone scroll the table at 1:1.
bool TBoardPlayInterface::ScrollKey(uint16_t key, int shift) {
  if ((shift & (ssShift | ssAlt | ssCtrl)) != 0 || key < VK_LEFT || key > VK_DOWN) return false;
  if (FEngine->Overview()) return true;
  static constexpr TPoint kDirections[] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};  // left, up, right, down
  const TPoint d = kDirections[key - VK_LEFT];
  ScrollBy(d.X * kKeyStep, d.Y * kKeyStep);
  return true;
}

bool TBoardPlayInterface::HotKeyIs(int n, uint16_t key, int modifiers) {
  const THotKey& hot = Options.Hotkeys[size_t(n)];
  return hot.Key != 0 && hot.Key == key && hot.Shift == modifiers;
}

// Hot keys from 4 on click the sides of the menu buttons, with exactly their modifiers; the key
// of undo or redo has done its work when it went down, whatever was let go first. Escape closes
// the statistics window before it is the exit button's key.
void TBoardPlayInterface::KeyUp(uint16_t& key, int shift) {
  if (FDone) return;
  const int modifiers = shift & (ssShift | ssAlt | ssCtrl);
  if (key == VK_F1 && modifiers == 0) {
    ShowHelp(FMouseY < (FMenu ? FMenu->BarRect().Top : FEngine->FHeight) ? kHelpTable : kHelpMenu);
    return;
  }
  if (FTakeBackKey != 0 && key == FTakeBackKey) {
    FTakeBackKey = 0;
    return;
  }
  if (key == VK_ESCAPE && modifiers == 0 && FMenu->CloseStatistics()) return;
  for (int c = kFirstMenuHotkey; c <= kLastMenuHotkey; ++c)
    for (const EMenuSide side : {EMenuSide::Left, EMenuSide::Right}) {
      if (HotKeyIs(2 * c + int(side), key, modifiers) && FMenu) FMenu->ClickSide(c - kFirstMenuHotkey, side);
    }
}

void TBoardPlayInterface::TakeBack(bool redo) {
  if (!FGameSetUp || FCompleted || FPaused) return;
  const auto& carried = FPieces->Selection();
  if (FDragMode != EDragMode::Idle || (!carried.empty() && carried.front()->FDragging)) FPieces->PutDownSelection();
  FDragMode = EDragMode::Idle;
  const EUndoResult result = redo ? FPieces->Redo() : FPieces->Undo();
  const TUndoHistory& history = FPieces->History();
  ShowNote(UndoNoteText(result, redo, redo ? history.RedoCount() : history.UndoCount()));
  if (result == EUndoResult::Done) PlayClick();
}

}  // namespace qj
