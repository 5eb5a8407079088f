// The in-game menu: building it for the current theme, its buttons' actions, and the per-frame
// work of the bar, the loupe, the cursor, the scroll buttons and the setup windows.
//
// Index: the bar button; loupe and scroll arithmetic; building; button actions; helps and
// windows; per frame; state, statistics and queries.
#include "play/UBoardMenu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "controls/UButtons.h"
#include "controls/UHints.h"
#include "controls/UScrollBar.h"
#include "controls/UTrayWindow.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UPuzzleFile.h"
#include "graphics/UGraphicsEngine.h"
#include "creation/UGameRecord.h"
#include "play/USavedGame.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Surface.h"

namespace qj {

// ---- The bar button ----------------------------------------------------------------------------

namespace {
constexpr TPixel kWhite = 0xFFFFFF;
constexpr int kIconTop = 4;
constexpr int kCaptionBottom = 3;
}  // namespace

TBoardMenuButton::TBoardMenuButton(TInterface* owner, int index, EButtonMode left, EButtonMode right)
    : TDXControl(owner),
      FIndex(index),
      FLeftMode(left),
      FRightMode(right),
      FLeftHint(std::make_unique<TDXHint>(owner)),
      FRightHint(std::make_unique<TDXHint>(owner)) {
  FSprite = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, FDepth, 0));
  FEngine->AddSurface(FSprite.Index(), nullptr);
  FCaption = "$" + std::to_string(148 + index);
  // Line 0 is the program's title, not a hint: the exit button's two sides say the same, so its
  // right side's hint speaks for both.
  FLeftHintText = index == MenuButton::Exit ? "" : "$" + std::to_string(2 * index);
  FRightHintText = "$" + std::to_string(2 * index + 1);
  // The left hint is asked first and prepares both, as a push button's do.
  FLeftHint->OnBeforeShow = [this](TDXControl*) {
    FLeftHint->SetCaption(FLeftHintText);
    FRightHint->SetCaption(FRightHintText);
    FLeftHint->PlaceBeside(true);
    FRightHint->PlaceBeside(false);
  };
}

TBoardMenuButton::~TBoardMenuButton() = default;

void TBoardMenuButton::MouseDown(int button, int shift, int x, int y) {
  if (button == mbMiddle) return;
  Press(button == mbRight ? EMenuSide::Right : EMenuSide::Left);
}

void TBoardMenuButton::MouseUp(int button, int shift, int x, int y) { Release(); }

void TBoardMenuButton::ClickSide(EMenuSide side) {
  const std::weak_ptr<const void> life = Life();
  Press(side);
  if (!life.expired()) Release();
}

// Momentary sides show the pressed frame while held and stay off; toggles flip at the press.
void TBoardMenuButton::Press(EMenuSide side) {
  if (!FEnabled || FDown) return;
  PlayClick();
  FDown = true;
  FCapture = true;
  FDownSide = side;
  const std::weak_ptr<const void> life = Life();
  if (OnPress) OnPress(this, side);
  if (life.expired()) return;
  const bool left = side == EMenuSide::Left;
  if ((left ? FLeftMode : FRightMode) == EButtonMode::Momentary) {
    (left ? FLeftOn : FRightOn) = false;
    (left ? FLeftFrame : FRightFrame) = MenuButtonFrame::Pressed;
  } else {
    SetSide(side, !IsOn(side));
  }
  Paint();
  if (OnChanged) OnChanged(this, side);
}

void TBoardMenuButton::Release() {
  if (!FDown) return;
  FDown = false;
  FCapture = false;
  const bool left = FDownSide == EMenuSide::Left;
  int& frame = left ? FLeftFrame : FRightFrame;
  if (frame == MenuButtonFrame::Pressed) frame = MenuButtonFrame::Off;
  Paint();
  if (OnReleased) OnReleased(this, FDownSide);
}

void TBoardMenuButton::SetSide(EMenuSide side, bool on) {
  const bool left = side == EMenuSide::Left;
  (left ? FLeftOn : FRightOn) = on;
  (left ? FLeftFrame : FRightFrame) = on ? MenuButtonFrame::On : MenuButtonFrame::Off;
  Paint();
}

void TBoardMenuButton::SetImages(const TImageList& frames, TImage icon) {
  FFrames = frames;
  FIcon = std::move(icon);
  if (const TMyDib* rest = ImageAt(FFrames, 0)) {
    FWidth = rest->Width();
    FHeight = rest->Height();
  }
  Paint();
}

void TBoardMenuButton::SetHints(const std::string& left, const std::string& right) {
  FLeftHintText = left;
  FRightHintText = right;
}

void TBoardMenuButton::SetShown(bool shown) {
  if (TMySprite* s = FSprite.Get()) s->Visible = shown;
  for (TDXHint* hint : {FLeftHint.get(), FRightHint.get()}) {
    hint->FEnabled = shown;
    if (!shown) hint->HideHint();
  }
}

void TBoardMenuButton::SetTop(int value) {
  FTop = value;
  AttachHints();
  TDXControl::SetTop(value);
}

void TBoardMenuButton::SetLeft(int value) {
  FLeft = value;
  AttachHints();
  TDXControl::SetLeft(value);
}

void TBoardMenuButton::AttachHints() {
  FLeftHint->AttachTo(*this);
  FRightHint->AttachTo(*this);
}

// Each half of the button shows its side's frame, the icon and caption over both.
void TBoardMenuButton::Paint() {
  TMySprite* s = FSprite.Get();
  if (FUpdating || !s || s->Surfaces.empty() || FWidth <= 0 || FHeight <= 0) return;
  TSurface& surface = *s->Surfaces[0];
  surface.SetSize(FWidth, FHeight);
  const int half = FWidth / 2;
  if (const TMyDib* frame = ImageAt(FFrames, FLeftFrame)) Blt(surface, {0, 0, half, FHeight}, *frame, {0, 0, half, frame->Height()}, false);
  if (const TMyDib* frame = ImageAt(FFrames, FRightFrame))
    Blt(surface, {half, 0, FWidth, FHeight}, *frame, {frame->Width() / 2, 0, frame->Width(), frame->Height()}, false);
  if (FIcon) BltFast(surface, (FWidth - FIcon->Width()) / 2, kIconTop, *FIcon, true);
  const std::string caption = GetCaption();
  if (!caption.empty()) {
    const TTheme& theme = CurrentTheme();
    TCanvas canvas(surface);
    canvas.Font.Name = theme.FontName;
    canvas.Font.Size = theme.FontMenuSize;
    canvas.Font.Color = theme.SayColor.ToPixel();
    canvas.BrushClear = true;
    canvas.TextOut((FWidth - canvas.TextWidth(caption)) / 2, FHeight - canvas.TextHeight(caption) - kCaptionBottom,
                   caption);
  }
  MoveSprite();
}

// ---- Loupe and scroll arithmetic ---------------------------------------------------------------

namespace {
constexpr std::array<double, 16> kLoupeZooms = {1, 1.25, 1.5, 1.75, 2, 2.25, 2.5, 2.75, 3, 3.5, 4, 4.5, 5, 6, 7, 8};
constexpr double kMaxScrollSpeed = 15.0;
constexpr int kScrollPixelsPerSpeed = 3;
constexpr int kFallbackFrameRate = 60;
}  // namespace

double LoupeZoomFactor(int index) { return kLoupeZooms[size_t(std::clamp(index, 0, int(kLoupeZooms.size()) - 1))]; }

TLoupeRects LoupeRects(TPoint mouse, int rx, int ry, double zoom, int screenWidth, int screenHeight) {
  const double x0 = mouse.X - rx / zoom, x1 = mouse.X + rx / zoom;
  const double y0 = mouse.Y - ry / zoom, y1 = mouse.Y + ry / zoom;
  const double cx0 = std::max(x0, 0.0), cx1 = std::min(x1, double(screenWidth));
  const double cy0 = std::max(y0, 0.0), cy1 = std::min(y1, double(screenHeight));
  if (cx1 <= cx0 || cy1 <= cy0) return {};
  TLoupeRects r;
  r.Source = {int(std::lround(cx0)), int(std::lround(cy0)), int(std::lround(cx1)), int(std::lround(cy1))};
  r.Dest = {int(std::lround((cx0 - x0) * zoom)), int(std::lround((cy0 - y0) * zoom)),
            int(std::lround((cx1 - x0) * zoom)), int(std::lround((cy1 - y0) * zoom))};
  return r;
}

double NextScrollSpeed(double speed, uint32_t sinceLastMs, int clickMs, int fps) {
  if (sinceLastMs >= uint32_t(std::max(clickMs, 0))) return 1.0;
  // Until a rate is measured the frame-rate limit stands in; dividing by 0 would jump to the cap.
  if (fps <= 0) fps = Options.MaxFPS > 0 ? Options.MaxFPS : kFallbackFrameRate;
  return std::min(speed + 25.0 / fps, kMaxScrollSpeed);
}

// ---- Building ----------------------------------------------------------------------------------

namespace {

constexpr EButtonMode M = EButtonMode::Momentary, T = EButtonMode::Toggle;
constexpr std::array<std::array<EButtonMode, 2>, MenuButton::Count> kModes = {{
    {M, M}, {T, T}, {T, T}, {T, T}, {M, T}, {M, M}, {M, M}, {T, T}, {T, T}, {T, T}, {M, T}, {M, M},
}};

constexpr bool ActsOnRelease(int button) {
  return button == MenuButton::Exit || button == MenuButton::Background || button == MenuButton::Theme ||
         button == MenuButton::MainMenu;
}

// Entries of the "BoardMenuOptions" block: the button frames, then one icon per button.
constexpr size_t kFirstIconEntry = MenuButtonFrame::Count;
constexpr int kBarRectLine = 1, kTrayRectLine = 5;  // after the .coord file's title line
constexpr int kAnimationRise = 75, kAnimationSpacing = 50, kAnimationFrameMs = 50;
constexpr int kSetupTimeoutMs = 5000;
constexpr int kBarHideDelayMs = 1000;
constexpr int kEdgeFullScreen = 5, kEdgeWindowed = 10;
constexpr int kScrollZone = 48;
constexpr int kSmallStepPixels = 40;
constexpr int kArrangeGap = 10;
constexpr int kExitWidth = 380, kExitHeight = 170, kExitButtonWidth = 100, kExitButtonRise = 60, kExitTextTop = 10;
constexpr int kArrangeCount = 10;

std::string BlockEntry(const std::vector<std::string>& block, size_t index) {
  return index < block.size() ? block[index] : std::string();
}

std::shared_ptr<const TMyDib> LoadThemed(const std::string& base) {
  auto image = std::make_shared<TMyDib>();
  if (base.empty() || !image->LoadFromFile(ThemedFileName(base))) {
    const std::string why = base.empty() ? "the layout list names none" : ThemedImageError(base, image->LastError());
    LogError("menu image not loaded: %s", why.c_str());
    return nullptr;
  }
  return image;
}

void ShowSprite(TDXControl* control, bool shown) {
  if (!control) return;
  if (TMySprite* s = control->FSprite.Get()) s->Visible = shown;
}

bool SpriteShown(const TSpriteHandle& handle) {
  const TMySprite* s = handle.Get();
  return s && s->Visible;
}

TSpriteHandle MakeSprite(TGraphicsEngine& engine, double depth, int category = 0) {
  TSpriteHandle handle(engine, engine.AddEmptySprite(0, 0, depth, category));
  handle.Get()->NoHit = true;
  return handle;
}

}  // namespace

TBoardMenu::TBoardMenu(TGraphicsEngine* engine) : TInterface(engine) { SetDepthRange(1000, 1010); }

TBoardMenu::~TBoardMenu() { Teardown(); }

void TBoardMenu::Enter() {
  TInterface::Enter();
  FAbandon = FWantQuit = FWantMainMenu = false;
  FExitShown = FSuspended = FRebuildPending = false;
  FBarState = EBarState::Shown;
  FBarOffset = FBarStep = 0;
  FNearBarTick = GetTickCount();
  FScrollSpeed = 1.0;
  FLastScrollTick = 0;
  FGhostPos = {kArrangeGap, kArrangeGap};
  FSmallStep = std::clamp(Options.SmallPicSize, kSmallPicMin, kSmallPicMax);
  TryBuild();
}

// A theme whose menu files are missing or broken leaves the game without its menu rather than
// without its table: the cause is reported and the pieces still play.
void TBoardMenu::TryBuild() {
  try {
    Build();
  } catch (const std::exception& e) {
    LogError("the in-game menu cannot be built: %s", e.what());
    Teardown();
  }
}

// Nothing stays of the game that was left: its picture, nor the bar's, loupe's and buttons'
// images, which the next Build loads again in the theme of the day.
void TBoardMenu::Leave() {
  Teardown();
  FPicture.reset();
  FBarImage.reset();
  FLoupeFrame.reset();
  FButtonFrames.clear();
  TInterface::Leave();
}

// The controls go first, then the sprites the menu holds itself.
void TBoardMenu::Teardown() {
  FreeOwnedControls();
  FButtons.fill(nullptr);
  FProgressHints.fill(nullptr);
  FExitButtons.fill(nullptr);
  FScrollButtons.fill(nullptr);
  FExitDialog = FGhostWindow = FSmallWindow = nullptr;
  FGhostSlider = FSmallSlider = nullptr;
  FAnimations.clear();
  FBar.Reset();
  FLoupe.Reset();
  FCursor.Reset();
  FGhost.Reset();
  FBuilt = false;
}

void TBoardMenu::Build() {
  MakeGhostWindow();
  MakeSmallWindow();
  MakeAnimations();
  MakeBar();
  MakeButtons();
  MakeScrollButtons();
  MakeProgressHints();
  MakeExitDialog();
  MakeCursor();
  MakeLoupe();
  FBuilt = true;
  Layout();
  SetHelpHints();
}

void TBoardMenu::MakeButtons() {
  std::vector<std::string> block;
  ReadOptionsBlock("BoardMenuOptions", block);
  FButtonFrames.clear();
  for (size_t f = 0; f < kFirstIconEntry; ++f)
    if (TImage frame = LoadThemed(BlockEntry(block, f))) FButtonFrames.push_back(std::move(frame));
  for (int i = 0; i < MenuButton::Count; ++i) {
    auto& button = AddOwnedControl<TBoardMenuButton>(i, kModes[size_t(i)][0], kModes[size_t(i)][1]);
    button.SetImages(FButtonFrames, LoadThemed(BlockEntry(block, kFirstIconEntry + size_t(i))));
    button.OnChanged = [this](TBoardMenuButton* b, ESide side) {
      if (!ActsOnRelease(b->FIndex)) ButtonChanged(b->FIndex, side);
    };
    button.OnReleased = [this](TBoardMenuButton* b, ESide side) {
      if (ActsOnRelease(b->FIndex)) ButtonReleased(b->FIndex, side);
    };
    FButtons[size_t(i)] = &button;
  }
  FButtons[MenuButton::MenuBar]->SetSide(ESide::Right, Options.AutoHideMenu);
}

// The bar image stretched to the screen width in three slices: the columns left of FBarRect as
// they are, FBarRect's columns over the middle, the rest at the right end.
void TBoardMenu::MakeBar() {
  const std::string base = DataPath("Graphics/Menus/Menu");
  FBarImage = std::make_unique<TMyDib>();
  if (!FBarImage->LoadFromFile(ThemedFileName(base)))
    LogError("menu bar not loaded: %s", ThemedImageError(base, FBarImage->LastError()).c_str());
  ReadLayoutRect(CoordFileName(base), FBarRect, kBarRectLine);
  ReadLayoutRect(CoordFileName(base), FTrayRect, kTrayRectLine);
  FBar = MakeSprite(*FEngine, NextDepth());
  FEngine->AddSurface(FBar.Index(), nullptr);
  FBar.Get()->NoHit = false;
}

void TBoardMenu::MakeGhostWindow() {
  FGhost = MakeSprite(*FEngine, NextDepth(), SpriteCategory::Ghost);
  FEngine->AddSurface(FGhost.Index(), FPicture.get());
  const int alpha = std::clamp(Options.GhostAlpha, kGhostAlphaMin, kGhostAlphaMax);
  TMySprite& ghost = *FGhost.Get();  // only until the next sprite is made
  ghost.Fixed = false;               // the ghost lies on the table and scrolls with it
  ghost.Visible = false;
  ghost.Alpha = uint8_t(alpha);
  NextDepth();  // the ghost stays 2 below its setup window
  FGhostWindow = &AddOwnedControl<TDXWindow>();
  FGhostWindow->Setup("Ghost setup", 0, 0, 200, 150, {.Style = 1, .FillClient = false});
  FGhostSlider = &AddOwnedControl<TDXVScrollBar>();
  FGhostSlider->Setup(0, 0, 0, 100, kGhostAlphaMin, kGhostAlphaMax, alpha, ScrollBarStyle::Large,
                      [this](TDXControl*) {
                        Options.GhostAlpha = FGhostSlider->FPosition;
                        if (TMySprite* s = FGhost.Get()) s->Alpha = uint8_t(FGhostSlider->FPosition);
                      });
  FGhostWindow->OnMove = [this](TDXControl*) { GhostWindowMoved(); };
  ShowGhostSetup(false);
}

void TBoardMenu::MakeSmallWindow() {
  FSmallWindow = &AddOwnedControl<TDXWindow>();
  FSmallWindow->Setup("SmallPic setup", 2 * kArrangeGap, 2 * kArrangeGap, 200, 150, {.Style = 1});
  FSmallWindow->FStretchContents = true;
  FSmallWindow->FKeepAspect = true;
  if (FPicture) FSmallWindow->SetPicture(*FPicture);
  FSmallSlider = &AddOwnedControl<TDXHScrollBar>();
  FSmallSlider->Setup(0, 0, 100, 0, kSmallPicMin, kSmallPicMax, FSmallStep, ScrollBarStyle::Small,
                      [this](TDXControl*) { SetSmallStep(FSmallSlider->FPosition); });
  FSmallWindow->OnMove = [this](TDXControl*) { SmallWindowMoved(); };
  SetSmallStep(FSmallStep);
  ShowSprite(FSmallWindow, false);
  ShowSprite(FSmallSlider, false);
}

void TBoardMenu::MakeExitDialog() {
  FExitDialog = &AddOwnedControl<TDXWindow>(EControlLayer::Overlay);
  FExitDialog->Setup("$106", 0, 0, kExitWidth, kExitHeight, {.Style = 0, .Movable = false});
  static constexpr const char* kCaptions[3][2] = {{"$52", "$196"}, {"$181", "$182"}, {"$49", "$197"}};
  for (size_t i = 0; i < 3; ++i) {
    auto& button = AddOwnedControl<TDXButton>(EControlLayer::Overlay);
    button.SetButton(kCaptions[i][0], 0, 0, kExitButtonWidth, 0, 0);
    button.FHintText = kCaptions[i][1];
    FExitButtons[i] = &button;
  }
  FExitButtons[0]->OnClick = [this](TDXControl*) { FWantQuit = true; };
  FExitButtons[1]->OnClick = [this](TDXControl*) { FWantQuit = FAbandon = true; };
  FExitButtons[2]->OnClick = [this](TDXControl*) { ShowExitDialog(false); };
  ShowExitDialog(false);
}

// The loupe is drawn by a hook from the part of the frame just composed that it magnifies, so it
// costs its own area only.
void TBoardMenu::MakeLoupe() {
  std::vector<std::string> block;
  ReadOptionsBlock("LoupeOptions", block);
  const std::string base = BlockEntry(block, 0);
  FLoupeFrame = std::make_unique<TMyDib>();
  if (!FLoupeFrame->LoadFromFile(ThemedFileName(base)))
    LogError("loupe not loaded: %s", ThemedImageError(base, FLoupeFrame->LastError()).c_str());
  std::vector<std::string> lines;
  if (!ReadTextLines(ResolvePath(CoordFileName(base)), lines) || lines.size() < 2)
    throw ELayoutError("the loupe's radii are missing in " + CoordFileName(base));
  FLoupeRx = std::max(1, std::atoi(lines[0].c_str()));
  FLoupeRy = std::max(1, std::atoi(lines[1].c_str()));
  FLoupe = MakeSprite(*FEngine, NextOverlayDepth());
  TMySprite& loupe = *FLoupe.Get();
  loupe.Kind = ESpriteKind::Hook;
  loupe.Visible = false;
  FEngine->AddSurface(FLoupe.Index(), nullptr).SetSize(2 * FLoupeRx, 2 * FLoupeRy);
  FLoupe.Get()->OnDraw = [this](int) { DrawLoupe(); };
}

void TBoardMenu::MakeCursor() {
  std::vector<std::string> block;
  ReadOptionsBlock("MenuCursors", block);
  FCursor = MakeSprite(*FEngine, NextOverlayDepth());
  for (const std::string& entry : block) FEngine->AddSurfaceFromFile(FCursor.Index(), ThemedFileName(entry));
  TMySprite& cursor = *FCursor.Get();
  cursor.Kind = ESpriteKind::Animation;
  cursor.Finished = true;  // the frame is the tool, never stepped
  cursor.Visible = false;
}

void TBoardMenu::MakeAnimations() {
  std::vector<std::string> block;
  ReadOptionsBlock("Animations", block);
  if (block.empty()) return;
  const std::string base = block[size_t(std::clamp(Options.CubeType, 0, int(block.size()) - 1))];
  std::vector<std::string> frames;
  for (int f = 0; f < 100; ++f) {
    char number[12];
    std::snprintf(number, sizeof number, "%02d", f);
    const std::string name = ThemedFileName(base + number);
    if (!FileExists(name)) break;
    frames.push_back(name);
  }
  for (int i = 0; i < kProgressHints && !frames.empty(); ++i) {
    TSpriteHandle& sprite = FAnimations.emplace_back(MakeSprite(*FEngine, NextDepth()));
    for (const std::string& name : frames) FEngine->AddSurfaceFromFile(sprite.Index(), name);
    TMySprite& s = *sprite.Get();
    s.Kind = ESpriteKind::Animation;
    s.FrameMs = kAnimationFrameMs;
    s.Frame = unsigned(i * 3) % unsigned(frames.size());
    s.Visible = Options.DisplayCubes;
  }
}

void TBoardMenu::MakeScrollButtons() {
  std::vector<std::string> block;
  ReadOptionsBlock("ScrollButtons", block);
  static constexpr TPoint kDirections[4] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (size_t i = 0; i < FScrollButtons.size(); ++i) {
    auto& button = AddOwnedControl<TDXButton>();
    const std::string base = BlockEntry(block, i);
    if (!button.SetImages({ThemedFileName(base)})) {
      LogError("scroll button %zu is drawn plain: %s", i,
               ThemedImageError(base, ThemedFileName(base) + " cannot be read").c_str());
      button.SetButton("", 0, 0, 32, 32, 0);
    }
    button.FAutoRepeat = true;
    const TPoint d = kDirections[i];
    button.OnClick = [this, d](TDXControl*) { Scroll(d.X, d.Y); };
    FScrollButtons[i] = &button;
  }
}

void TBoardMenu::MakeProgressHints() {
  for (auto& hint : FProgressHints) {
    hint = &AddOwnedControl<TDXHint>();
    hint->FCaption = ".";
  }
}

// Everything that depends on the screen size.
void TBoardMenu::Layout() {
  if (!FBuilt) return;
  const int w = FEngine->FWidth, h = FEngine->FHeight;
  if (TMySprite* bar = FBar.Get(); bar && !FBarImage->Empty()) {
    TSurface& surface = *bar->Surfaces[0];
    const int iw = FBarImage->Width(), ih = FBarImage->Height();
    const int right = iw - FBarRect.Right;
    surface.SetSize(std::max(1, w), ih);
    Blt(surface, {0, 0, FBarRect.Left, ih}, *FBarImage, {0, 0, FBarRect.Left, ih}, false);
    Blt(surface, {FBarRect.Left, 0, w - right, ih}, *FBarImage, {FBarRect.Left, 0, FBarRect.Right, ih}, false);
    Blt(surface, {w - right, 0, w, ih}, *FBarImage, {FBarRect.Right, 0, iw, ih}, false);
  }
  PlaceButtons();
  for (size_t i = 0; i < FAnimations.size(); ++i)
    if (TMySprite* s = FAnimations[i].Get()) {
      s->X = kArrangeGap + int(i) * kAnimationSpacing;
      s->Y = h - kAnimationRise;
    }
  FExitDialog->SetBounds((w - kExitWidth) / 2, (h - kExitHeight) / 2, kExitWidth, kExitHeight);
  const int gap = (kExitWidth - 3 * kExitButtonWidth) / 4;
  for (size_t i = 0; i < FExitButtons.size(); ++i)
    FExitButtons[i]->SetButton(FExitButtons[i]->FCaption, FExitDialog->FLeft + gap + int(i) * (kExitButtonWidth + gap),
                               FExitDialog->FTop + kExitHeight - kExitButtonRise, kExitButtonWidth, 0, 0);
  TDXButton* const* s = FScrollButtons.data();
  s[0]->SetBounds(0, (h - s[0]->FHeight) / 2, s[0]->FWidth, s[0]->FHeight);
  s[1]->SetBounds(w - s[1]->FWidth, (h - s[1]->FHeight) / 2, s[1]->FWidth, s[1]->FHeight);
  s[2]->SetBounds((w - s[2]->FWidth) / 2, 0, s[2]->FWidth, s[2]->FHeight);
  s[3]->SetBounds((w - s[3]->FWidth) / 2, BarRect().Top - s[3]->FHeight, s[3]->FWidth, s[3]->FHeight);
}

// The buttons ride on the bar: a row centred on it when it is too narrow for its margins.
void TBoardMenu::PlaceButtons() {
  const TRect bar = BarRect();
  if (TMySprite* s = FBar.Get()) {
    s->Y = bar.Top;
    s->Visible = FBarState != EBarState::Hidden;
  }
  const int pitch = FButtons[0]->FWidth;
  const int start = std::max(0, std::min(FBarRect.Left, (bar.Width() - MenuButton::Count * pitch) / 2));
  for (int i = 0; i < MenuButton::Count; ++i) {
    TBoardMenuButton* b = FButtons[size_t(i)];
    if (b->FLeft != start + i * pitch) b->SetLeft(start + i * pitch);
    if (b->FTop != bar.Top + FBarRect.Bottom) b->SetTop(bar.Top + FBarRect.Bottom);
    b->SetShown(FBarState != EBarState::Hidden);
  }
}

void TBoardMenu::Resize() { Layout(); }

void TBoardMenu::Restore() {
  RestoreControls();
  Layout();
}

// ---- Button actions ----------------------------------------------------------------------------

bool TBoardMenu::IsOn(int button, ESide side) const {
  if (button < 0 || button >= MenuButton::Count || !FButtons[size_t(button)]) return false;
  return FButtons[size_t(button)]->IsOn(side);
}

void TBoardMenu::ClickSide(int button, ESide side) {
  if (button < 0 || button >= MenuButton::Count || !FButtons[size_t(button)]) return;
  FButtons[size_t(button)]->ClickSide(side);
}

bool TBoardMenu::TakeScatterAll() {
  if (!IsOn(MenuButton::Arrange, ESide::Right)) return false;
  FButtons[MenuButton::Arrange]->SetSide(ESide::Right, false);
  return true;
}

void TBoardMenu::ButtonChanged(int index, ESide side) {
  const bool left = side == ESide::Left;
  const bool on = IsOn(index, side);
  switch (index) {
    case MenuButton::Loupe:
      // The two loupes exclude each other.
      if (on) FButtons[MenuButton::Loupe]->SetSide(left ? ESide::Right : ESide::Left, false);
      break;
    case MenuButton::Arrange:
      if (left) Arrange();
      break;
    case MenuButton::Ghost:
      if (left) ShowGhost(on);
      break;
    case MenuButton::SmallPicture:
      if (left) ShowSmallPicture(on);
      break;
    case MenuButton::MenuBar:
      if (!left) {
        Options.AutoHideMenu = on;
      } else if (FBarState == EBarState::Shown || FBarState == EBarState::Showing) {
        FBarState = EBarState::Hiding;
        FBarStep = 0;
      } else {
        FBarState = EBarState::Showing;
        FBarStep = 0;
      }
      break;
    default:
      break;  // tools and helps the play screen carries out from the state
  }
}

void TBoardMenu::ButtonReleased(int index, ESide side) {
  const int step = side == ESide::Left ? 1 : -1;
  switch (index) {
    case MenuButton::Exit:
      if (OnDropCarried) OnDropCarried();
      ShowExitDialog(true);
      break;
    case MenuButton::Background:
      CycleBackground(step);
      break;
    case MenuButton::Theme:
      CycleTheme(step);
      break;
    case MenuButton::MainMenu:
      FWantMainMenu = true;
      break;
    default:
      break;
  }
}

void TBoardMenu::CycleBackground(int step) {
  const int count = int(BackgroundFiles.size());
  if (count == 0) return;
  Options.Background = ((Options.Background + step) % count + count) % count;
  if (OnBackgroundChanged) OnBackgroundChanged();
}

// The menu is rebuilt at the next frame: the button whose handler runs now is part of it.
void TBoardMenu::CycleTheme(int step) {
  const int count = std::max<int>(1, int(Themes.size()));
  Options.Environment = ((Options.Environment + step) % count + count) % count;
  if (OnThemeChanged) OnThemeChanged();
  FRebuildPending = true;
}

namespace {

// The part of a "title|text" language line after the bar.
std::string AfterBar(int line) {
  const std::string& text = Lang(line);
  const size_t bar = text.find('|');
  return bar == std::string::npos ? text : text.substr(bar + 1);
}

}  // namespace

// The question, and what the two ways out do, in the language shown now.
void TBoardMenu::PaintExitText() {
  const std::string& leave = Lang(1);
  const std::vector<std::string> lines = {leave.substr(0, leave.find('|')) + "?", Lang(52) + " \u2013 " + AfterBar(196),
                                          Lang(181) + " \u2013 " + AfterBar(182)};
  const TTheme& theme = CurrentTheme();
  TMyDib text(FExitDialog->ClientWidth(), FExitDialog->ClientHeight(), 32);
  text.Fill(0);
  TCanvas canvas(text);
  canvas.Font = {theme.FontName, theme.FontSize + 2, theme.SayColor.ToPixel(), false};
  canvas.BrushClear = true;
  const int step = canvas.TextHeight("Wg") + 4;
  for (size_t i = 0; i < lines.size(); ++i)
    canvas.TextOut((text.Width() - canvas.TextWidth(lines[i])) / 2, kExitTextTop + int(i) * step, lines[i]);
  FExitDialog->SetImage(text);
}

void TBoardMenu::ShowExitDialog(bool shown) {
  FExitShown = shown;
  if (shown) PaintExitText();
  ShowSprite(FExitDialog, shown);
  for (TDXButton* b : FExitButtons) {
    ShowSprite(b, shown);
    b->FHint->FEnabled = b->FHint2->FEnabled = shown;
  }
}

// ---- Helps and their windows -------------------------------------------------------------------

bool TBoardMenu::HelpAllowed(int button) const {
  switch (button) {
    case MenuButton::Loupe: return PlayOptions.AllowLoupe != 0;
    case MenuButton::Ghost: return PlayOptions.AllowGhost != 0;
    case MenuButton::SmallPicture: return PlayOptions.AllowSmallPicture != 0;
    case MenuButton::Magnet: return PlayOptions.AllowNeighbourHelp != 0;
    default: return true;
  }
}

void TBoardMenu::SetHelpHints() {
  if (!FBuilt) return;
  static constexpr std::pair<int, const char*> kForbidden[] = {
      {MenuButton::Loupe, "$75"}, {MenuButton::Ghost, "$76"}, {MenuButton::SmallPicture, "$77"}, {MenuButton::Magnet, "$139"}};
  for (const auto& [index, hint] : kForbidden) {
    TBoardMenuButton& b = *FButtons[size_t(index)];
    const bool allowed = HelpAllowed(index);
    b.FEnabled = allowed;
    if (allowed) {
      b.SetHints("$" + std::to_string(2 * index), "$" + std::to_string(2 * index + 1));
      continue;
    }
    b.SetHints(hint, "");
    for (ESide side : {ESide::Left, ESide::Right})
      if (b.IsOn(side)) b.SetSide(side, false);
  }
  ShowGhost(IsOn(MenuButton::Ghost, ESide::Left));
  ShowSmallPicture(IsOn(MenuButton::SmallPicture, ESide::Left));
}

void TBoardMenu::SetPicture(const TMyDib& picture) {
  FPicture = std::make_unique<TMyDib>(picture);
  if (!FBuilt) return;
  if (TMySprite* ghost = FGhost.Get()) {
    ghost->Surfaces.clear();
    FEngine->AddSurface(FGhost.Index(), FPicture.get());
  }
  FSmallWindow->SetPicture(*FPicture);
  SetSmallStep(FSmallStep);
  PlaceGhostWindow();
}

void TBoardMenu::ShowGhost(bool shown) {
  shown = shown && HelpAllowed(MenuButton::Ghost);
  if (TMySprite* ghost = FGhost.Get()) ghost->Visible = shown && FPicture;
  if (shown && GameRecord.Finished == 0) GameRecord.GhostUsed = 1;
  ShowGhostSetup(shown);
}

void TBoardMenu::ShowGhostSetup(bool shown) {
  FGhostSetupShown = shown;
  FGhostSeenTick = GetTickCount();
  if (shown) PlaceGhostWindow();
  ShowSprite(FGhostWindow, shown);
  ShowSprite(FGhostSlider, shown);
}

// The setup window frames the ghost with the slider at its right; it sits in screen
// coordinates, so it is placed again over the ghost after the table scrolled.
void TBoardMenu::PlaceGhostWindow() {
  if (!FGhostWindow || !FPicture) return;
  const int sliderWidth = FGhostSlider->FWidth;
  FGhostWindow->SetClientSize(FPicture->Width() + sliderWidth, FPicture->Height());
  const int left = FGhostPos.X - FEngine->FScrollX - FGhostWindow->FInsetLeft;
  const int top = FGhostPos.Y - FEngine->FScrollY - FGhostWindow->FInsetTop;
  if (FGhostWindow->FLeft != left) FGhostWindow->SetLeft(left);
  if (FGhostWindow->FTop != top) FGhostWindow->SetTop(top);
  GhostWindowMoved();
}

void TBoardMenu::GhostWindowMoved() {
  const TDXWindow& w = *FGhostWindow;
  FGhostPos = {w.FLeft + w.FInsetLeft + FEngine->FScrollX, w.FTop + w.FInsetTop + FEngine->FScrollY};
  if (TMySprite* ghost = FGhost.Get()) {
    ghost->X = FGhostPos.X;
    ghost->Y = FGhostPos.Y;
  }
  const int pictureWidth = FPicture ? FPicture->Width() : 0;
  FGhostSlider->SetBounds(w.FLeft + w.FInsetLeft + pictureWidth, w.FTop + w.FInsetTop, FGhostSlider->FWidth,
                          std::max(1, w.ClientHeight()));
}

void TBoardMenu::ShowSmallPicture(bool shown) {
  shown = shown && HelpAllowed(MenuButton::SmallPicture);
  FSmallSetupShown = shown;
  FSmallSeenTick = GetTickCount();
  if (shown && GameRecord.Finished == 0) GameRecord.MaxPictureSize = std::max(GameRecord.MaxPictureSize, FSmallStep);
  ShowSprite(FSmallWindow, shown);
  ShowSprite(FSmallSlider, shown);
}

// Step s gives the picture a client width of 40 (s + 1) pixels, in the picture's proportions.
void TBoardMenu::SetSmallStep(int step) {
  FSmallStep = std::clamp(step, kSmallPicMin, kSmallPicMax);
  Options.SmallPicSize = FSmallStep;
  if (FSmallSlider->FPosition != FSmallStep) FSmallSlider->SetPosition(FSmallStep);
  const int width = kSmallStepPixels * (FSmallStep + 1);
  const int height = FPicture && FPicture->Width() > 0 ? width * FPicture->Height() / FPicture->Width() : width * 3 / 4;
  FSmallWindow->SetClientSize(width, height);
  if (IsOn(MenuButton::SmallPicture, ESide::Left) && GameRecord.Finished == 0)
    GameRecord.MaxPictureSize = std::max(GameRecord.MaxPictureSize, FSmallStep);
  SmallWindowMoved();
}

void TBoardMenu::SmallWindowMoved() {
  const TDXWindow& w = *FSmallWindow;
  FSmallSlider->SetBounds(w.FLeft, w.FTop + w.FHeight, w.FWidth, FSmallSlider->FHeight);
}

// The ten arrangements: the order of ghost, small picture and fixed loupe, and whether the row
// starts at the left or the right screen edge.
void TBoardMenu::Arrange() {
  enum EItem { Ghost, Small, Loupe };
  static constexpr std::array<std::array<int, 4>, kArrangeCount> kOrders = {{
      {Ghost, Small, Loupe, 0}, {Small, Ghost, Loupe, 0}, {Loupe, Ghost, Small, 0}, {Ghost, Loupe, Small, 0},
      {Small, Loupe, Ghost, 0}, {Loupe, Small, Ghost, 0}, {Ghost, Small, Loupe, 1}, {Small, Ghost, Loupe, 1},
      {Loupe, Ghost, Small, 1}, {Ghost, Loupe, Small, 1},
  }};
  FArrangement = (FArrangement + 1) % kArrangeCount;
  if (!IsOn(MenuButton::Ghost, ESide::Left)) ClickSide(MenuButton::Ghost, ESide::Left);
  if (!IsOn(MenuButton::SmallPicture, ESide::Left)) ClickSide(MenuButton::SmallPicture, ESide::Left);
  if (!IsOn(MenuButton::Loupe, ESide::Right)) ClickSide(MenuButton::Loupe, ESide::Right);
  SetSmallStep(4);
  const auto& order = kOrders[size_t(FArrangement)];
  const bool fromRight = order[3] != 0;
  int x = fromRight ? FEngine->FWidth - kArrangeGap : kArrangeGap;
  for (size_t k = 0; k < 3; ++k) {
    const bool on = order[k] == Ghost   ? IsOn(MenuButton::Ghost, ESide::Left) && FPicture
                    : order[k] == Small ? IsOn(MenuButton::SmallPicture, ESide::Left)
                                        : IsOn(MenuButton::Loupe, ESide::Right);
    if (!on) continue;
    const int width = order[k] == Ghost ? FGhostWindow->FWidth : order[k] == Small ? FSmallWindow->FWidth : 2 * FLoupeRx;
    const int left = fromRight ? x - width : x;
    x = fromRight ? left - kArrangeGap : left + width + kArrangeGap;
    if (order[k] == Ghost) {
      FGhostPos = {left + FGhostWindow->FInsetLeft + FEngine->FScrollX, kArrangeGap + FGhostWindow->FInsetTop + FEngine->FScrollY};
      PlaceGhostWindow();
    } else if (order[k] == Small) {
      FSmallWindow->SetLeft(left);
      FSmallWindow->SetTop(kArrangeGap);
    } else {
      Options.StatLoupeX = left;
      Options.StatLoupeY = kArrangeGap;
    }
  }
}

// ---- Per frame ---------------------------------------------------------------------------------

void TBoardMenu::MouseDown(int button, int shift, int x, int y) {
  FPointer = {x, y};
  if (FExitShown && FExitDialog) {
    // Modal: only the dialog and its buttons take presses.
    const int hit = FEngine->SpriteAt(x, y);
    const bool onDialog = FExitDialog->HasSprite(hit) ||
                          std::any_of(FExitButtons.begin(), FExitButtons.end(), [hit](TDXButton* b) { return b->HasSprite(hit); });
    if (!onDialog) return;
  }
  TInterface::MouseDown(button, shift, x, y);
}

void TBoardMenu::MouseUp(int button, int shift, int x, int y) {
  FPointer = {x, y};
  TInterface::MouseUp(button, shift, x, y);
}

void TBoardMenu::MouseMove(int shift, int x, int y) {
  FPointer = {x, y};
  TInterface::MouseMove(shift, x, y);
}

void TBoardMenu::Update() {
  if (FRebuildPending) {
    FRebuildPending = false;
    TSavedMenu state;
    SaveState(state);
    Teardown();
    FDepth = FDepthLow;
    FOverlayDepth = FOverlayLow;
    TryBuild();
    LoadState(state);
  }
  if (!FBuilt) return;
  const uint32_t now = GetTickCount();
  UpdateBar(now);
  UpdateSetupTimeouts(now);
  UpdateScrollButtons();
  UpdateLoupe();
  UpdateCursor();
  if (FGhostSetupShown) PlaceGhostWindow();
  for (TSpriteHandle& a : FAnimations)
    if (TMySprite* s = a.Get()) s->Visible = Options.DisplayCubes && !FSuspended;
  TInterface::Update();
}

// Shown, hiding, hidden, showing: a moving bar goes one pixel further each frame.
void TBoardMenu::UpdateBar(uint32_t now) {
  const int h = FEngine->FHeight;
  const int barHeight = FBarImage->Height();
  const int edge = Options.FullScreen ? kEdgeFullScreen : kEdgeWindowed;
  if (FPointer.Y >= h - edge && (FBarState == EBarState::Hidden || FBarState == EBarState::Hiding)) {
    FBarState = EBarState::Showing;
    FBarStep = 0;
  }
  if (FPointer.Y >= h - (barHeight + edge)) FNearBarTick = now;
  if (Options.AutoHideMenu && FBarState == EBarState::Shown && now - FNearBarTick > uint32_t(kBarHideDelayMs) &&
      FPointer.Y < BarRect().Top) {
    FBarState = EBarState::Hiding;
    FBarStep = 0;
  }
  if (FBarState == EBarState::Hiding) {
    FBarOffset += FBarStep++;
    if (FBarOffset >= barHeight) {
      FBarOffset = barHeight;
      FBarState = EBarState::Hidden;
    }
  } else if (FBarState == EBarState::Showing) {
    FBarOffset = std::max(0, FBarOffset - FBarStep++);
    if (FBarOffset == 0) FBarState = EBarState::Shown;
  }
  PlaceButtons();
}

// After 5 s without the mouse over it a setup window puts its slider away (the ghost keeps its
// frame away too) and the button's hints go; the mouse over the help brings them back.
void TBoardMenu::UpdateSetupTimeouts(uint32_t now) {
  const auto over = [this](const TDXControl* c) {
    return c && MakeRect(c->FLeft, c->FTop, c->FWidth, c->FHeight).Contains(FPointer.X, FPointer.Y);
  };
  if (IsOn(MenuButton::Ghost, ESide::Left)) {
    const TRect ghost = GhostRect();
    const bool overGhost = MakeRect(ghost.Left - FEngine->FScrollX, ghost.Top - FEngine->FScrollY, ghost.Width(),
                                    ghost.Height()).Contains(FPointer.X, FPointer.Y);
    if (over(FGhostWindow) || over(FGhostSlider) || overGhost) {
      FGhostSeenTick = now;
      if (!FGhostSetupShown) ShowGhostSetup(true);
    } else if (FGhostSetupShown && now - FGhostSeenTick > uint32_t(kSetupTimeoutMs)) {
      ShowGhostSetup(false);
      FButtons[MenuButton::Ghost]->FLeftHint->HideHint();
      FButtons[MenuButton::Ghost]->FRightHint->HideHint();
    }
  }
  if (IsOn(MenuButton::SmallPicture, ESide::Left)) {
    if (over(FSmallWindow) || over(FSmallSlider)) {
      FSmallSeenTick = now;
      ShowSprite(FSmallSlider, true);
    } else if (now - FSmallSeenTick > uint32_t(kSetupTimeoutMs)) {
      ShowSprite(FSmallSlider, false);
      FButtons[MenuButton::SmallPicture]->FLeftHint->HideHint();
      FButtons[MenuButton::SmallPicture]->FRightHint->HideHint();
    }
  }
}

void TBoardMenu::UpdateScrollButtons() {
  const int w = FEngine->FWidth, h = FEngine->FHeight;
  const bool near[4] = {FPointer.X < kScrollZone, FPointer.X >= w - kScrollZone, FPointer.Y < kScrollZone,
                        FPointer.Y >= BarRect().Top - kScrollZone && FPointer.Y < h};
  for (size_t i = 0; i < FScrollButtons.size(); ++i)
    ShowSprite(FScrollButtons[i], !FSuspended && !FExitShown && (!Options.AutoHideScroll || near[i] || FScrollButtons[i]->FDown));
}

void TBoardMenu::Scroll(int dx, int dy) {
  const uint32_t now = GetTickCount();
  const uint32_t since = FLastScrollTick == 0 ? UINT32_MAX : now - FLastScrollTick;
  FScrollSpeed = NextScrollSpeed(FScrollSpeed, since, Options.ClickMs, FrameRate());
  FLastScrollTick = now;
  const int step = int(std::lround(kScrollPixelsPerSpeed * FScrollSpeed));
  const int maxX = std::max(0, TDXTrayWindow::kTableWidth - FEngine->FWidth);
  const int maxY = std::max(0, TDXTrayWindow::kTableHeight - FEngine->FHeight);
  FEngine->FScrollX = std::clamp(FEngine->FScrollX + dx * step, 0, maxX);
  FEngine->FScrollY = std::clamp(FEngine->FScrollY + dy * step, 0, maxY);
}

int TBoardMenu::FrameRate() const { return OnFrameRate ? OnFrameRate() : 0; }

void TBoardMenu::UpdateLoupe() {
  TMySprite* loupe = FLoupe.Get();
  if (!loupe) return;
  const bool follow = IsOn(MenuButton::Loupe, ESide::Left), fixed = IsOn(MenuButton::Loupe, ESide::Right);
  loupe->Visible = !FSuspended && HelpAllowed(MenuButton::Loupe) && (follow || fixed);
  loupe->X = follow ? FPointer.X - FLoupeRx : Options.StatLoupeX;
  loupe->Y = follow ? FPointer.Y - FLoupeRy : Options.StatLoupeY;
}

// Runs while the frame is composed: what lies below the loupe is on the back buffer already.
void TBoardMenu::DrawLoupe() {
  TMySprite* loupe = FLoupe.Get();
  if (!loupe || loupe->Surfaces.empty() || !loupe->Surfaces[0]) return;
  TSurface& back = FEngine->Display().BackBuffer();
  TSurface& view = *loupe->Surfaces[0];
  view.Fill(0);
  const TLoupeRects r = LoupeRects(FPointer, FLoupeRx, FLoupeRy, LoupeZoomFactor(Options.LoupeZoom), FEngine->FWidth,
                                   FEngine->FHeight);
  if (!r.Dest.IsEmpty()) Blt(view, r.Dest, back, r.Source, false);
  // The frame image: key colour outside the lens, white where the view shows, the ring itself.
  const bool framed = FLoupeFrame->Width() == view.Width() && FLoupeFrame->Height() == view.Height();
  for (int y = 0; framed && y < view.Height(); ++y) {
    TPixel* out = view.Row(y);
    const TPixel* frame = FLoupeFrame->Row(y);
    for (int x = 0; x < view.Width(); ++x) {
      const TPixel f = frame[x] & kRgbMask;
      if (f == 0) out[x] = 0;
      else if (f != kWhite) out[x] = f;
      else if ((out[x] & kRgbMask) == 0) out[x] = 1;  // black in the view is not the key colour
    }
  }
  BltFast(back, loupe->X, loupe->Y, view, true);
}

void TBoardMenu::UpdateCursor() {
  TMySprite* cursor = FCursor.Get();
  if (!cursor) return;
  const ECursorTool tool = CursorTool();
  cursor->Visible = tool != ECursorTool::None && !FSuspended && !FExitShown && !MouseOverMenu(FPointer.X, FPointer.Y);
  if (!cursor->Visible) return;
  cursor->Frame = unsigned(tool);
  const TSurface* image = cursor->Image();
  cursor->X = FPointer.X - (image ? image->Width() / 2 : 0);
  cursor->Y = FPointer.Y - (image ? image->Height() / 2 : 0);
}

void TBoardMenu::Suspend() {
  FSuspended = true;
  if (TMySprite* s = FLoupe.Get()) s->Visible = false;
  if (TMySprite* s = FCursor.Get()) s->Visible = false;
}

void TBoardMenu::Resume() {
  FSuspended = false;
  if (!Options.AutoHideMenu) {
    FBarState = EBarState::Shown;
    FBarOffset = 0;
  }
  Restore();
  if (!FBuilt) return;
  UpdateScrollButtons();
  UpdateLoupe();
}

// ---- State, statistics and queries -------------------------------------------------------------

ECursorTool TBoardMenu::CursorTool() const {
  static constexpr std::pair<std::pair<int, EMenuSide>, ECursorTool> kTools[] = {
      {{MenuButton::Scatter, EMenuSide::Left}, ECursorTool::Scatter},
      {{MenuButton::Scatter, EMenuSide::Right}, ECursorTool::PushAside},
      {{MenuButton::Pin, EMenuSide::Left}, ECursorTool::Pin},
      {{MenuButton::Magnet, EMenuSide::Left}, ECursorTool::Magnet},
      {{MenuButton::Pin, EMenuSide::Right}, ECursorTool::PlaceAndPin},
      {{MenuButton::Magnet, EMenuSide::Right}, ECursorTool::Proximity},
  };
  for (const auto& [key, tool] : kTools)
    if (IsOn(key.first, key.second)) return tool;
  return ECursorTool::None;
}

TRect TBoardMenu::BarRect() const {
  const int height = FBarImage ? FBarImage->Height() : 0;
  const int top = FEngine->FHeight - height + FBarOffset;
  return {0, top, FEngine->FWidth, top + height};
}

bool TBoardMenu::BarShown() const { return FBarState == EBarState::Shown; }

TRect TBoardMenu::ModalRect() const { return FExitShown && FExitDialog ? FExitDialog->BoundsRect() : TRect{}; }

bool TBoardMenu::MouseOverMenu(int x, int y) const {
  if (SpriteShown(FBar) && BarRect().Contains(x, y)) return true;
  const int hit = FEngine->SpriteAt(x, y);
  if (hit < 0) return false;
  return std::any_of(FControls.begin(), FControls.end(), [hit](const TDXControl* c) { return c && c->HasSprite(hit); });
}

TRect TBoardMenu::GhostRect() const {
  if (!SpriteShown(FGhost) || !FPicture) return {};
  return MakeRect(FGhostPos.X, FGhostPos.Y, FPicture->Width(), FPicture->Height());
}

TRect TBoardMenu::SmallPictureRect() const {
  if (!FSmallWindow || !FSmallSetupShown) return {};
  return MakeRect(FSmallWindow->FLeft + FEngine->FScrollX, FSmallWindow->FTop + FEngine->FScrollY,
                  FSmallWindow->FWidth, FSmallWindow->FHeight);
}

void TBoardMenu::SaveState(TSavedMenu& m) const {
  m.GhostX = FGhostPos.X;
  m.GhostY = FGhostPos.Y;
  if (FSmallWindow) {
    m.SmallPicLeft = FSmallWindow->FLeft;
    m.SmallPicTop = FSmallWindow->FTop;
    m.SmallPicWidth = FSmallWindow->FWidth;
    m.SmallPicHeight = FSmallWindow->FHeight;
  }
  m.SmallPicStep = FSmallStep;
  for (int i = 1; i < MenuButton::Count; ++i) {
    m.LeftOn[size_t(i - 1)] = IsOn(i, ESide::Left);
    m.RightOn[size_t(i - 1)] = IsOn(i, ESide::Right);
  }
}

// Each side that differs is clicked, so a restored help takes effect as if the player chose it.
void TBoardMenu::LoadState(const TSavedMenu& m) {
  if (!FBuilt) return;
  FGhostPos = {m.GhostX, m.GhostY};
  SetSmallStep(m.SmallPicStep);
  FSmallWindow->SetLeft(m.SmallPicLeft);
  FSmallWindow->SetTop(m.SmallPicTop);
  PlaceGhostWindow();
  for (int i = 1; i < MenuButton::Count; ++i) {
    if (IsOn(i, ESide::Left) != (m.LeftOn[size_t(i - 1)] != 0)) ClickSide(i, ESide::Left);
    if (IsOn(i, ESide::Right) != (m.RightOn[size_t(i - 1)] != 0)) ClickSide(i, ESide::Right);
  }
}

void TBoardMenu::UpdateStatistics(const TGameRecord& r) {
  const std::vector<std::string> lines = {
      Lang(78) + " " + ClockText(r.Elapsed) + " " + OneDecimal(r.TimeBonus * 100) + "%",
      Lang(79) + " " + std::to_string(r.Percent) + "%",
      Lang(172) + " " + std::to_string(6 * r.Joins) + "p",
      Lang(173) + " -" + std::to_string(r.Drops) + "p",
      Lang(174) + " -" + std::to_string(6 * r.PullHelps) + "p",
      Lang(175) + " -" + std::to_string(r.ProximityHints) + "p",
      Lang(176) + (r.GhostUsed ? " + 0% " : " + 25%"),
      Lang(177) + " + " + OneDecimal((8 - r.MaxPictureSize) * 2.5) + "%",
      Lang(178) + (r.PlaceHelpUsed ? " + 0% " : " + 10%"),
      Lang(179) + " + " + OneDecimal(12 - r.MaxStickRange) + "%",
      Lang(180) + " " + OneDecimal(r.Score),
  };
  FStatistics.clear();
  for (const std::string& line : lines) FStatistics += (FStatistics.empty() ? "" : "|") + line;
  // Two lines to a hint, in the order of the animations they stand over.
  for (size_t i = 0; i < FProgressHints.size(); ++i)
    if (FProgressHints[i]) {
      const std::string second = 2 * i + 1 < lines.size() ? lines[2 * i + 1] : "";
      FProgressHints[i]->SetCaption(2 * i < lines.size() ? lines[2 * i] + "|" + second : ".");
    }
}

void TBoardMenu::ShowProgress() {
  for (size_t i = 0; i < FProgressHints.size(); ++i) {
    TDXHint* hint = FProgressHints[i];
    if (!hint) continue;
    const int x = kArrangeGap + int(i) * kAnimationSpacing;
    hint->FHintRect = MakeRect(x, FEngine->FHeight - kAnimationRise, kAnimationSpacing, kAnimationSpacing);
    hint->HideHint();
    hint->PlaceBeside(i % 2 == 0);
    (void)hint->ShowHint();
  }
}

}  // namespace qj
