// The in-game menu: the bar of two-sided buttons along the bottom of the play screen and all it
// opens (exit dialog, ghost image, small picture, loupe, scroll buttons, progress hints).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "controls/UBoardMenuButton.h"
#include "controls/UControls.h"
#include "controls/UEngines.h"
#include "creation/UGameRecord.h"
#include "graphics/USpriteHandle.h"
#include "play/UBoardLoupe.h"
#include "play/UBoardStatistics.h"
#include "play/UCompletionPanel.h"
#include "play/UExitDialog.h"
#include "play/UMenuBar.h"
#include "play/UPictureWindows.h"
#include "play/UProgressLine.h"
#include "play/UScrollButtons.h"
#include "play/UStatisticsWindow.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

class TDXButton;
class TDXScrollBar;
class TDXWindow;
struct TSavedMenu;

// The buttons of the bar, by index. Those after the main menu's are not part of a saved game.
namespace MenuButton {
enum : int {
  Exit = 0, Scatter = 1, Loupe = 2, Pin = 3, Arrange = 4, Background = 5, Theme = 6, Ghost = 7,
  SmallPicture = 8, Magnet = 9, MenuBar = 10, MainMenu = 11, Overview = 12, SpreadOut = 13, Sort = 14,
  Statistics = 15, Count = 16,
};
}

// The tool cursors, in the order of the "MenuCursors" block.
enum class ECursorTool : int { None = -1, Scatter = 0, PushAside = 1, Pin = 2, PlaceAndPin = 3, Magnet = 4, Proximity = 5 };

class TBoardMenu : public TInterface {
 public:
  using ESide = EMenuSide;

  explicit TBoardMenu(TGraphicsEngine* engine);
  ~TBoardMenu() override;

  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseMove(int shift, int x, int y) override;
  void Enter() override;
  void Leave() override;
  void Suspend() override;
  void Resume() override;
  void Update() override;
  // 0 while the bar slides; else as its controls, hints and the timeouts of the bar and the
  // helps' setups say, and soon while the statistics window shows the running time.
  uint32_t RestFor(uint32_t now) const override;
  void Resize() override;
  void Restore() override;

  bool IsOn(int button, ESide side) const;
  void ClickSide(int button, ESide side);
  // Button 4's right side asks for one scatter of everything: true once, and the side goes off.
  bool TakeScatterAll();
  // The spread-out button was pressed since the last call: true once.
  bool TakeSpreadOut() { return std::exchange(FWantSpreadOut, false); }
  // The sort into trays was asked for since the last call: true once.
  bool TakeSort() { return std::exchange(FWantSort, false); }
  // Either side of the overview button asks to switch between the whole table and 1:1: true once.
  bool TakeOverviewSwitch();

  bool WantMainMenu() const { return FWantMainMenu; }
  // The play screen has taken the request (it pauses the game for the options screen).
  void ClearMainMenuRequest() { FWantMainMenu = false; }
  bool WantQuit() const { return FExitDialog.WantQuit(); }
  bool Abandon() const { return FExitDialog.Abandon(); }
  // The finished game's panel over the table; its answer "back to the pictures" leaves, saving.
  // The statistics' hints make way for it.
  void ShowCompletion(const TCompletionFigures& figures) {
    FStatistics.HideProgress();
    FStatisticsWindow.Close();
    FCompletion.Open(figures);
  }
  bool WantPictures() const { return FCompletion.WantPictures(); }
  const TCompletionPanel& Completion() const { return FCompletion; }
  bool ModalOpen() const { return FExitDialog.Shown() || FCompletion.Shown() || FStatisticsWindow.Shown(); }
  TRect ModalRect() const;
  // While a window over the table is open, only it and the button that opened it take the mouse.
  bool BlocksPress(int x, int y) const;
  // Closes the statistics window; false when it was not open.
  bool CloseStatistics();
  const TStatisticsWindow& StatisticsWindow() const { return FStatisticsWindow; }
  const TJoinTimeline& JoinTimeline() const { return FJoinTimeline; }
  // The score file of the puzzle in play, whose best finished score the statistics window shows.
  std::function<std::string()> OnScoreFile;
  // True when the point is over the bar or a menu window: a carried piece released there must not
  // drop on the table.
  bool ClaimsDrop(int x, int y) { return MouseOverMenu(x, y); }
  bool MouseOverMenu(int x, int y) const;
  TRect BarRect() const;
  // The tray icons' layout numbers as the bar's .coord file gives them: the horizontal offset
  // (at or below 0: counted from the right screen edge) and the drop below the bar's top.
  int TrayIconOffsetX() const { return FBar.TrayRect().Right; }
  int TrayIconOffsetY() const { return FBar.LayoutRect().Top; }
  ECursorTool CursorTool() const;

  void SetPicture(const TMyDib& picture);
  // The picture as it was cut; null before a game has one.
  const TMyDib* Picture() const { return FPictures.Picture(); }
  // Table coordinates; empty while the help is off.
  TRect GhostRect() const;
  TRect SmallPictureRect() const;
  void SetHelpHints();
  void UpdateStatistics(const TGameRecord& record);
  void ShowProgress();
  // Once a frame, the record as it stands now (its playing time included): the progress line
  // follows it, and the mouse coming onto the cubes opens their statistics of it.
  void UpdateGameState(const TGameRecord& now);
  const std::string& ProgressLineText() const { return FProgressLine.Text(); }
  void SaveState(TSavedMenu& m) const;
  void LoadState(const TSavedMenu& m);

  double ScrollSpeed() const { return FScrollButtons.Speed(); }
  bool BarShown() const;
  // False when the theme's menu files could not be read: the table plays without a menu.
  bool Built() const { return FBuilt; }
  const std::string& StatisticsText() const { return FStatistics.Text(); }
  TDXHint* StatisticsHint(int index) const { return FStatistics.Hint(index); }
  // Sprite index of the loupe, -1 while there is none (for tests and the play screen's hits).
  int LoupeSprite() const { return FLoupe.Sprite(); }
  TBoardMenuButton* Button(int index) const { return FButtons[size_t(index)]; }
  TDXWindow* ExitDialog() const { return FExitDialog.Window(); }
  TDXButton* ExitButton(int index) const { return FExitDialog.Button(index); }
  TDXWindow* GhostWindow() const { return FPictures.GhostWindow(); }
  TDXWindow* SmallPictureWindow() const { return FPictures.SmallWindow(); }
  TDXScrollBar* GhostSlider() const { return FPictures.GhostSlider(); }
  TDXScrollBar* SmallPictureSlider() const { return FPictures.SmallSlider(); }
  TDXButton* ScrollButton(int index) const { return FScrollButtons.Button(index); }
  int SmallPictureStep() const { return FPictures.SmallStep(); }

  std::function<void()> OnDropCarried;
  std::function<void()> OnBackgroundChanged;
  std::function<void()> OnThemeChanged;
  std::function<int()> OnFrameRate;

 private:
  void Build();
  void TryBuild();
  void Teardown();
  void MakeButtons();
  void LabelAddedButton(TBoardMenuButton& button);
  void MakeCursor();
  void Layout();
  void PlaceButtons();

  void ButtonChanged(int index, ESide side);
  void ButtonReleased(int index, ESide side);
  void Arrange();
  void CycleBackground(int step);
  void CycleTheme(int step);
  void ShowGhost(bool shown);
  void ShowSmallPicture(bool shown);
  bool HelpAllowed(int button) const;

  void UpdateLoupe();
  void UpdateCursor();
  void UpdateSetupTimeouts(uint32_t now);
  void UpdateScrollButtons();
  void UpdateCubeHints(const TGameRecord& now);
  void ToggleStatistics();

  std::array<TBoardMenuButton*, MenuButton::Count> FButtons{};
  TPoint FPointer;
  TSpriteHandle FCursor;
  TImageList FButtonFrames;
  // The parts make their sprites and controls in the menu's band, in the order Build calls them.
  TMenuBar FBar{*this};
  TPictureWindows FPictures{*this};
  TBoardLoupe FLoupe{*this, FPointer};
  TBoardStatistics FStatistics{*this};
  TExitDialog FExitDialog{*this};
  TCompletionPanel FCompletion{*this};
  TStatisticsWindow FStatisticsWindow{*this};
  TProgressLine FProgressLine{*this};
  TScrollButtons FScrollButtons{*this};
  TJoinTimeline FJoinTimeline;
  TGameRecord FRecordNow;  // the record of the last frame, its playing time included
  bool FTimelineStarted = false;

  int FArrangement = -1;
  bool FBuilt = false;
  bool FSuspended = false;
  bool FRebuildPending = false;
  bool FWantMainMenu = false;
  bool FWantSpreadOut = false;
  bool FWantSort = false;
  bool FOverCubes = false;
  bool FOverviewSwitch = false;
};

}  // namespace qj
