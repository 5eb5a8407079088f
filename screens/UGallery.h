// A working example of every control on one screen (started with --gallery), for looking at a
// theme's widgets live: buttons (one repeating while held, with hints), check boxes, scroll bars
// of each style wired to value labels, a large and a small window with content, and a tray with
// its icon and a few pieces in it.
#pragma once

#include <string>
#include <vector>

#include "graphics/USpriteHandle.h"

namespace qj {

class TInterface;
class TDXButton;
class TDXCheckBox;
class TDXScrollBar;
class TDXWindow;
class TDXTrayWindow;

class TGallery {
 public:
  // Builds every control on the screen, which owns them until it is left.
  explicit TGallery(TInterface& screen);
  // The controls took on the new theme themselves; the texts and the tray's own button images
  // follow.
  void ThemeChanged();

 private:
  void WriteTexts();
  void MakeButtons();
  void MakeCheckBoxes();
  void MakeScrollBars();
  void MakeWindows();
  void MakeTray();
  void AddTrayPieces();
  void FollowTray();
  TSpriteHandle Text(const std::string& text, int size, int x, int y);
  void WriteValue(size_t label);

  TInterface& FScreen;
  TDXButton* FClickButton = nullptr;
  TDXButton* FRepeatButton = nullptr;
  std::vector<TDXScrollBar*> FBars;
  TDXWindow* FLargeWindow = nullptr;
  TDXWindow* FSmallWindow = nullptr;
  TDXTrayWindow* FTray = nullptr;
  int FClicks = 0;
  int FRepeats = 0;
  std::vector<TSpriteHandle> FTexts;       // title and captions
  std::vector<TSpriteHandle> FValueTexts;  // one per value label, rewritten on change
  std::vector<TSpriteHandle> FTrayPieces;
  int FTrayLeft = 0, FTrayTop = 0;  // where the pieces were laid out
};

}  // namespace qj
