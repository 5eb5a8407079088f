// The in-game menu: the bar of two-sided buttons along the bottom of the play screen and all it
// opens (exit dialog, ghost image, small picture, loupe, scroll buttons, progress hints).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/UControls.h"
#include "controls/UEngines.h"
#include "graphics/USpriteHandle.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

class TDXButton;
class TDXHint;
class TDXScrollBar;
class TDXWindow;
struct TGameRecord;
struct TSavedMenu;

// The ghost lies on the table among the menu's sprites; stars already use 105.
namespace SpriteCategory {
enum : int { Ghost = 106 };
}

// The twelve buttons of the bar, by index.
namespace MenuButton {
enum : int {
  Exit = 0, Scatter = 1, Loupe = 2, Pin = 3, Arrange = 4, Background = 5, Theme = 6, Ghost = 7,
  SmallPicture = 8, Magnet = 9, MenuBar = 10, MainMenu = 11, Count = 12,
};
}

enum class EMenuSide { Left = 0, Right = 1 };
enum class EButtonMode : uint8_t { Momentary = 1, Toggle = 2 };

// Frames of the button images a side shows.
namespace MenuButtonFrame {
enum : int { Rest = 0, Pressed = 1, On = 3, Off = 4, Count = 5 };
}

// The tool cursors, in the order of the "MenuCursors" block.
enum class ECursorTool : int { None = -1, Scatter = 0, PushAside = 1, Pin = 2, PlaceAndPin = 3, Magnet = 4, Proximity = 5 };

class TBoardMenuButton;
using TSideEvent = std::function<void(TBoardMenuButton* sender, EMenuSide side)>;

// A bar button with two independent sides, worked by the left and the right mouse button; its
// left half shows the left side's frame, its right half the right side's.
class TBoardMenuButton : public TDXControl {
 public:
  TBoardMenuButton(TInterface* owner, int index, EButtonMode left, EButtonMode right);
  ~TBoardMenuButton() override;

  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void SetTop(int value) override;
  void SetLeft(int value) override;
  void Paint() override;
  void Restore() override { Paint(); }

  // A press of that side's mouse button followed by its release.
  void ClickSide(EMenuSide side);
  // Sets a side's state without any event (a side the menu switches off for another).
  void SetSide(EMenuSide side, bool on);
  bool IsOn(EMenuSide side) const { return side == EMenuSide::Left ? FLeftOn : FRightOn; }
  void SetImages(const TImageList& frames, TImage icon);
  void SetHints(const std::string& left, const std::string& right);
  void SetShown(bool shown);

  int FIndex;
  EButtonMode FLeftMode, FRightMode;
  bool FLeftOn = false, FRightOn = false;
  int FLeftFrame = MenuButtonFrame::Off, FRightFrame = MenuButtonFrame::Off;
  bool FEnabled = true;
  std::unique_ptr<TDXHint> FLeftHint, FRightHint;
  std::string FLeftHintText, FRightHintText;
  TSideEvent OnPress, OnChanged, OnReleased;

 private:
  void Press(EMenuSide side);
  void Release();
  void AttachHints();

  TImageList FFrames;
  TImage FIcon;
  bool FDown = false;
  EMenuSide FDownSide = EMenuSide::Left;
};

// Where the loupe reads and where that lands in its own area: the source clipped to the screen on
// all four sides and the destination shrunk by the same amount, zoomed.
struct TLoupeRects {
  TRect Source;
  TRect Dest;
};
TLoupeRects LoupeRects(TPoint mouse, int rx, int ry, double zoom, int screenWidth, int screenHeight);
// The zoom of Options.LoupeZoom, its index clamped into the 16-step table.
double LoupeZoomFactor(int index);
// The scroll speed after a click: grows by 25 / fps when the last click was under clickMs ago
// (fps 0: no rate measured yet, the frame-rate limit stands in), capped at 15; else 1.0.
double NextScrollSpeed(double speed, uint32_t sinceLastMs, int clickMs, int fps);

class TBoardMenu : public TInterface {
 public:
  using ESide = EMenuSide;
  static constexpr int kGhostAlphaMin = 1, kGhostAlphaMax = 255;
  static constexpr int kSmallPicMin = 1, kSmallPicMax = 8;
  static constexpr int kProgressHints = 6;

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
  void Resize() override;
  void Restore() override;

  bool IsOn(int button, ESide side) const;
  void ClickSide(int button, ESide side);
  // Button 4's right side asks for one scatter of everything: true once, and the side goes off.
  bool TakeScatterAll();

  bool WantMainMenu() const { return FWantMainMenu; }
  // The play screen has taken the request (it pauses the game for the options screen).
  void ClearMainMenuRequest() { FWantMainMenu = false; }
  bool WantQuit() const { return FWantQuit; }
  bool Abandon() const { return FAbandon; }
  bool ModalOpen() const { return FExitShown; }
  TRect ModalRect() const;
  // True when the point is over the bar or a menu window: a carried piece released there must not
  // drop on the table.
  bool ClaimsDrop(int x, int y) { return MouseOverMenu(x, y); }
  bool MouseOverMenu(int x, int y) const;
  TRect BarRect() const;
  // The tray icons' layout numbers as the bar's .coord file gives them: the horizontal offset
  // (at or below 0: counted from the right screen edge) and the drop below the bar's top.
  int TrayIconOffsetX() const { return FTrayRect.Right; }
  int TrayIconOffsetY() const { return FBarRect.Top; }
  ECursorTool CursorTool() const;

  void SetPicture(const TMyDib& picture);
  // Table coordinates; empty while the help is off.
  TRect GhostRect() const;
  TRect SmallPictureRect() const;
  void SetHelpHints();
  void UpdateStatistics(const TGameRecord& record);
  void ShowProgress();
  void SaveState(TSavedMenu& m) const;
  void LoadState(const TSavedMenu& m);

  double ScrollSpeed() const { return FScrollSpeed; }
  bool BarShown() const;
  // False when the theme's menu files could not be read: the table plays without a menu.
  bool Built() const { return FBuilt; }
  const std::string& StatisticsText() const { return FStatistics; }
  // Sprite index of the loupe, -1 while there is none (for tests and the play screen's hits).
  int LoupeSprite() const { return FLoupe.Index(); }
  TBoardMenuButton* Button(int index) const { return FButtons[size_t(index)]; }
  TDXWindow* ExitDialog() const { return FExitDialog; }
  TDXButton* ExitButton(int index) const { return FExitButtons[size_t(index)]; }
  TDXWindow* GhostWindow() const { return FGhostWindow; }
  TDXWindow* SmallPictureWindow() const { return FSmallWindow; }
  TDXScrollBar* GhostSlider() const { return FGhostSlider; }
  TDXScrollBar* SmallPictureSlider() const { return FSmallSlider; }
  TDXButton* ScrollButton(int index) const { return FScrollButtons[size_t(index)]; }
  int SmallPictureStep() const { return FSmallStep; }

  std::function<void()> OnDropCarried;
  std::function<void()> OnBackgroundChanged;
  std::function<void()> OnThemeChanged;
  std::function<int()> OnFrameRate;

 private:
  enum class EBarState { Shown, Hiding, Hidden, Showing };

  void Build();
  void TryBuild();
  void Teardown();
  void MakeButtons();
  void MakeBar();
  void MakeGhostWindow();
  void MakeSmallWindow();
  void MakeExitDialog();
  void MakeLoupe();
  void MakeCursor();
  void MakeAnimations();
  void MakeScrollButtons();
  void MakeProgressHints();
  void Layout();
  void PlaceButtons();

  void ButtonChanged(int index, ESide side);
  void ButtonReleased(int index, ESide side);
  void Arrange();
  void CycleBackground(int step);
  void CycleTheme(int step);
  void ShowExitDialog(bool shown);
  void PaintExitText();
  void ShowGhost(bool shown);
  void ShowSmallPicture(bool shown);
  void ShowGhostSetup(bool shown);
  void PlaceGhostWindow();
  void GhostWindowMoved();
  void SetSmallStep(int step);
  void SmallWindowMoved();
  bool HelpAllowed(int button) const;

  void UpdateBar(uint32_t now);
  void UpdateLoupe();
  void UpdateCursor();
  void UpdateSetupTimeouts(uint32_t now);
  void UpdateScrollButtons();
  void Scroll(int dx, int dy);
  void DrawLoupe();
  int FrameRate() const;

  std::array<TBoardMenuButton*, MenuButton::Count> FButtons{};
  std::array<TDXHint*, kProgressHints> FProgressHints{};
  std::array<TDXButton*, 3> FExitButtons{};
  std::array<TDXButton*, 4> FScrollButtons{};
  TDXWindow* FExitDialog = nullptr;
  TDXWindow* FGhostWindow = nullptr;
  TDXScrollBar* FGhostSlider = nullptr;
  TDXWindow* FSmallWindow = nullptr;
  TDXScrollBar* FSmallSlider = nullptr;

  TRect FBarRect, FTrayRect;
  int FLoupeRx = 0, FLoupeRy = 0;
  TSpriteHandle FBar, FLoupe, FCursor, FGhost;
  std::vector<TSpriteHandle> FAnimations;
  std::unique_ptr<TMyDib> FBarImage, FLoupeFrame;
  std::unique_ptr<TMyDib> FPicture;
  TImageList FButtonFrames;
  std::string FStatistics;

  EBarState FBarState = EBarState::Shown;
  int FBarOffset = 0;  // pixels the bar is below its shown place
  int FBarStep = 0;
  uint32_t FNearBarTick = 0;
  uint32_t FGhostSeenTick = 0, FSmallSeenTick = 0;
  bool FGhostSetupShown = false, FSmallSetupShown = false;
  TPoint FGhostPos;  // table coordinates
  int FSmallStep = 4;
  int FArrangement = -1;
  double FScrollSpeed = 1.0;
  uint32_t FLastScrollTick = 0;
  TPoint FPointer;
  bool FBuilt = false;
  bool FSuspended = false;
  bool FExitShown = false;
  bool FRebuildPending = false;
  bool FWantMainMenu = false, FWantQuit = false, FAbandon = false;
};

}  // namespace qj
