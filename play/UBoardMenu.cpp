// The in-game menu: building it from its parts for the current theme, its buttons' actions, the
// arrangement of the helps, and the per-frame work that ties the parts to the buttons' state.
//
// Index: building; button actions; helps and their windows; per frame; state and queries.
#include "play/UBoardMenu.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UPuzzleFile.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UMenuSprites.h"
#include "play/USavedGame.h"
#include "platform/Clock.h"
#include "platform/Log.h"
#include "platform/Surface.h"

namespace qj {

// ---- Building ----------------------------------------------------------------------------------

namespace {

constexpr EButtonMode M = EButtonMode::Momentary, T = EButtonMode::Toggle;
constexpr std::array<std::array<EButtonMode, 2>, MenuButton::Count> kModes = {{
    {M, M}, {T, T}, {T, T}, {T, T}, {M, T}, {M, M}, {M, M}, {T, T}, {T, T}, {T, T}, {M, T}, {M, M}, {M, M},
    {M, M}, {M, M}, {M, M},
}};

constexpr bool ActsOnRelease(int button) {
  return button == MenuButton::Exit || button == MenuButton::Background || button == MenuButton::Theme ||
         button == MenuButton::MainMenu;
}

// Entries of the "BoardMenuOptions" block: the button frames, then one icon per button.
constexpr size_t kFirstIconEntry = MenuButtonFrame::Count;
constexpr int kArrangeGap = 10;
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

}  // namespace

TBoardMenu::TBoardMenu(TGraphicsEngine* engine) : TInterface(engine) {
  SetDepthRange(1000, 1010);
  FPictures.OnSmallChosen = [this] { return IsOn(MenuButton::SmallPicture, ESide::Left); };
  FScrollButtons.OnFrameRate = [this] { return OnFrameRate ? OnFrameRate() : 0; };
}

TBoardMenu::~TBoardMenu() { Teardown(); }

void TBoardMenu::Enter() {
  TInterface::Enter();
  FWantMainMenu = FSuspended = FRebuildPending = FOverviewSwitch = false;
  FExitDialog.Enter();
  FCompletion.Enter();
  FStatisticsWindow.Enter();
  FTimelineStarted = false;
  FBar.Enter();
  FScrollButtons.Enter();
  FPictures.Enter();
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
  FPictures.ForgetPicture();
  FBar.ForgetImage();
  FButtonFrames.clear();
  TInterface::Leave();
}

// The controls go first, then the sprites the menu holds itself.
void TBoardMenu::Teardown() {
  FreeOwnedControls();
  FButtons.fill(nullptr);
  FExitDialog.Reset();
  FCompletion.Reset();
  FStatisticsWindow.Reset();
  FProgressLine.Reset();
  FScrollButtons.Reset();
  FStatistics.Reset();
  FBar.Reset();
  FLoupe.Reset();
  FCursor.Reset();
  FPictures.Reset();
  FBuilt = false;
}

void TBoardMenu::Build() {
  FPictures.Make();
  FStatistics.MakeAnimations();
  FBar.Make();
  MakeButtons();
  FScrollButtons.Make();
  FStatistics.MakeHints();
  FExitDialog.Make();
  FCompletion.Make();
  FStatisticsWindow.Make();
  FProgressLine.Make();
  MakeCursor();
  FLoupe.Make();
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
    LabelAddedButton(button);
  }
  FButtons[MenuButton::MenuBar]->SetSide(ESide::Right, Options.AutoHideMenu);
}

// Buttons after the main menu's have their caption and hints after the lines of the first twelve.
// The options button and the overview do one thing with either click, and say that once.
void TBoardMenu::LabelAddedButton(TBoardMenuButton& button) {
  if (button.FIndex == MenuButton::MainMenu) {
    button.SetHints(TextKey(Text::MenuHints + 2 * MenuButton::MainMenu), "");
  } else if (button.FIndex == MenuButton::Overview) {
    button.SetCaption(TextKey(Text::WholeTableCaption));
    button.SetHints(TextKey(Text::WholeTableHints), "");
  } else if (button.FIndex == MenuButton::SpreadOut) {
    button.SetCaption(TextKey(Text::SpreadOutCaption));
    button.SetHints(TextKey(Text::SpreadOutHint), TextKey(Text::SpreadOutHint));
  } else if (button.FIndex == MenuButton::Sort) {
    button.SetCaption(TextKey(Text::SortCaption));
    button.SetHints(TextKey(Text::SortHint), TextKey(Text::SortHint));
  } else if (button.FIndex == MenuButton::Statistics) {
    button.SetCaption(TextKey(Text::StatisticsCaption));
    button.SetHints(TextKey(Text::StatisticsHint), TextKey(Text::StatisticsHint));
  }
}

void TBoardMenu::MakeCursor() {
  std::vector<std::string> block;
  ReadOptionsBlock("MenuCursors", block);
  FCursor = MakeMenuSprite(*FEngine, NextOverlayDepth());
  for (const std::string& entry : block) FEngine->AddSurfaceFromFile(FCursor.Index(), ThemedFileName(entry));
  TMySprite& cursor = *FCursor.Get();
  cursor.Kind = ESpriteKind::Animation;
  cursor.Finished = true;  // the frame is the tool, never stepped
  cursor.Visible = false;
}

// Everything that depends on the screen size.
void TBoardMenu::Layout() {
  if (!FBuilt) return;
  const int w = FEngine->FWidth, h = FEngine->FHeight;
  FBar.Paint();
  PlaceButtons();
  FStatistics.Layout(h);
  FExitDialog.Layout(w, h);
  FCompletion.Layout(w, h);
  FStatisticsWindow.Layout(w, h);
  FScrollButtons.Layout(BarRect().Top);
}

// The buttons ride on the bar in a row centred on it, closer together (overlapping a little at
// the narrowest) when the bar is too narrow for the row.
void TBoardMenu::PlaceButtons() {
  FBar.Place();
  const TRect bar = FBar.Rect();
  const TRect& layout = FBar.LayoutRect();
  const int pitch = std::max(1, std::min(FButtons[0]->FWidth, bar.Width() / MenuButton::Count));
  const int start = std::max(0, (bar.Width() - MenuButton::Count * pitch) / 2);
  for (int i = 0; i < MenuButton::Count; ++i) {
    TBoardMenuButton* b = FButtons[size_t(i)];
    if (b->FLeft != start + i * pitch) b->SetLeft(start + i * pitch);
    if (b->FTop != bar.Top + layout.Bottom) b->SetTop(bar.Top + layout.Bottom);
    b->SetShown(!FBar.Hidden());
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

bool TBoardMenu::TakeOverviewSwitch() { return std::exchange(FOverviewSwitch, false); }

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
      if (left) FBar.Toggle();
      else Options.AutoHideMenu = on;
      break;
    case MenuButton::SpreadOut:
      FWantSpreadOut = true;
      break;
    case MenuButton::Sort:
      FWantSort = true;
      break;
    case MenuButton::Overview:
      FOverviewSwitch = true;
      break;
    case MenuButton::Statistics:
      ToggleStatistics();
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
      FCompletion.Close();
      FStatisticsWindow.Close();
      FExitDialog.Show(true);
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
  static constexpr std::pair<int, ETextId> kForbidden[] = {
      {MenuButton::Loupe, Text::NoLoupe},
      {MenuButton::Ghost, Text::NoGhostImage},
      {MenuButton::SmallPicture, Text::NoSmallPicture},
      {MenuButton::Magnet, Text::NoNeighbourHelps}};
  for (const auto& [index, hint] : kForbidden) {
    TBoardMenuButton& b = *FButtons[size_t(index)];
    const bool allowed = HelpAllowed(index);
    b.FEnabled = allowed;
    if (allowed) {
      b.SetHints(TextKey(Text::MenuHints + 2 * index), TextKey(Text::MenuHints + 2 * index + 1));
      continue;
    }
    b.SetHints(TextKey(hint), "");
    for (ESide side : {ESide::Left, ESide::Right})
      if (b.IsOn(side)) b.SetSide(side, false);
  }
  ShowGhost(IsOn(MenuButton::Ghost, ESide::Left));
  ShowSmallPicture(IsOn(MenuButton::SmallPicture, ESide::Left));
}

void TBoardMenu::SetPicture(const TMyDib& picture) { FPictures.SetPicture(picture); }

void TBoardMenu::ShowGhost(bool shown) { FPictures.ShowGhost(shown && HelpAllowed(MenuButton::Ghost)); }

void TBoardMenu::ShowSmallPicture(bool shown) {
  FPictures.ShowSmallPicture(shown && HelpAllowed(MenuButton::SmallPicture));
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
  FPictures.SetSmallStep(4);
  const auto& order = kOrders[size_t(FArrangement)];
  const bool fromRight = order[3] != 0;
  int x = fromRight ? FEngine->FWidth - kArrangeGap : kArrangeGap;
  for (size_t k = 0; k < 3; ++k) {
    const bool on = order[k] == Ghost   ? IsOn(MenuButton::Ghost, ESide::Left) && FPictures.HasPicture()
                    : order[k] == Small ? IsOn(MenuButton::SmallPicture, ESide::Left)
                                        : IsOn(MenuButton::Loupe, ESide::Right);
    if (!on) continue;
    const int width = order[k] == Ghost   ? GhostWindow()->FWidth
                      : order[k] == Small ? SmallPictureWindow()->FWidth
                                          : FLoupe.Width();
    const int left = fromRight ? x - width : x;
    x = fromRight ? left - kArrangeGap : left + width + kArrangeGap;
    if (order[k] == Ghost) {
      FPictures.MoveGhostWindow(left, kArrangeGap);
    } else if (order[k] == Small) {
      FPictures.MoveSmallWindow(left, kArrangeGap);
    } else {
      Options.StatLoupeX = left;
      Options.StatLoupeY = kArrangeGap;
    }
  }
}

// ---- Per frame ---------------------------------------------------------------------------------

void TBoardMenu::MouseDown(int button, int shift, int x, int y) {
  FPointer = {x, y};
  if (FExitDialog.Blocks(x, y) || (FStatisticsWindow.Shown() && BlocksPress(x, y))) return;
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
  FBar.Update(now, FPointer);
  PlaceButtons();
  UpdateSetupTimeouts(now);
  UpdateScrollButtons();
  UpdateLoupe();
  UpdateCursor();
  FPictures.FollowScroll();
  FStatistics.ShowAnimations(Options.DisplayCubes && !FSuspended);
  TInterface::Update();
}

// The running time in the statistics window moves on while the table rests.
uint32_t TBoardMenu::RestFor(uint32_t now) const {
  static constexpr uint32_t kStatisticsLookMs = 200;
  if (FBar.Sliding()) return 0;
  const uint32_t due = std::min({TInterface::RestFor(now), FBar.HideDueIn(now), FPictures.SetupDueIn(now)});
  return FStatisticsWindow.Shown() ? std::min(due, kStatisticsLookMs) : due;
}

void TBoardMenu::UpdateSetupTimeouts(uint32_t now) {
  if (IsOn(MenuButton::Ghost, ESide::Left) && FPictures.GhostSetupTimedOut(now, FPointer))
    FButtons[MenuButton::Ghost]->HideHints();
  if (IsOn(MenuButton::SmallPicture, ESide::Left) && FPictures.SmallSetupTimedOut(now, FPointer))
    FButtons[MenuButton::SmallPicture]->HideHints();
}

// The mouse coming onto the cubes opens their statistics once; they fade as hints do.
void TBoardMenu::UpdateCubeHints(const TGameRecord& now) {
  const bool over = FBuilt && Options.DisplayCubes && !FSuspended && !ModalOpen() && FStatistics.Over(FPointer, FEngine->FHeight);
  if (over && !FOverCubes) {
    FStatistics.Update(now);
    ShowProgress();
  }
  FOverCubes = over;
}

void TBoardMenu::UpdateScrollButtons() {
  FScrollButtons.Update(FPointer, BarRect().Top, !FSuspended && !ModalOpen());
}

void TBoardMenu::UpdateLoupe() {
  const bool follow = IsOn(MenuButton::Loupe, ESide::Left), fixed = IsOn(MenuButton::Loupe, ESide::Right);
  FLoupe.Place(!FSuspended && HelpAllowed(MenuButton::Loupe) && (follow || fixed), follow);
}

void TBoardMenu::UpdateCursor() {
  TMySprite* cursor = FCursor.Get();
  if (!cursor) return;
  const ECursorTool tool = CursorTool();
  cursor->Visible = tool != ECursorTool::None && !FSuspended && !ModalOpen() && !MouseOverMenu(FPointer.X, FPointer.Y);
  if (!cursor->Visible) return;
  cursor->Frame = unsigned(tool);
  const TSurface* image = cursor->Image();
  cursor->X = FPointer.X - (image ? image->Width() / 2 : 0);
  cursor->Y = FPointer.Y - (image ? image->Height() / 2 : 0);
}

void TBoardMenu::Suspend() {
  FSuspended = true;
  FLoupe.Hide();
  if (TMySprite* s = FCursor.Get()) s->Visible = false;
}

void TBoardMenu::Resume() {
  FSuspended = false;
  FBar.ComeBack();
  Restore();
  if (!FBuilt) return;
  UpdateScrollButtons();
  UpdateLoupe();
}

// ---- State and queries -------------------------------------------------------------------------

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

TRect TBoardMenu::BarRect() const { return FBar.Rect(); }

bool TBoardMenu::BarShown() const { return FBar.Shown(); }

TRect TBoardMenu::ModalRect() const {
  if (FStatisticsWindow.Shown()) return FStatisticsWindow.Rect();
  return FCompletion.Shown() ? FCompletion.Rect() : FExitDialog.Rect();
}

bool TBoardMenu::BlocksPress(int x, int y) const {
  const auto over = [x, y](const TBoardMenuButton* b) { return b && MakeRect(b->FLeft, b->FTop, b->FWidth, b->FHeight).Contains(x, y); };
  const TBoardMenuButton* opener = FButtons[FStatisticsWindow.Shown() ? MenuButton::Statistics : MenuButton::Exit];
  return ModalOpen() && !ModalRect().Contains(x, y) && !over(opener);
}

bool TBoardMenu::MouseOverMenu(int x, int y) const {
  if (FBar.Contains(x, y)) return true;
  const int hit = FEngine->SpriteAt(x, y);
  if (hit < 0) return false;
  return std::any_of(FControls.begin(), FControls.end(), [hit](const TDXControl* c) { return c && c->HasSprite(hit); });
}

TRect TBoardMenu::GhostRect() const { return FPictures.GhostRect(); }

TRect TBoardMenu::SmallPictureRect() const { return FPictures.SmallPictureRect(); }

// The saved game keeps the sides of buttons 1 to 11 only; the buttons past them act at once.
void TBoardMenu::SaveState(TSavedMenu& m) const {
  FPictures.SaveState(m);
  for (int i = 1; i <= kMenuToggleButtons; ++i) {
    m.LeftOn[size_t(i - 1)] = IsOn(i, ESide::Left);
    m.RightOn[size_t(i - 1)] = IsOn(i, ESide::Right);
  }
}

// Each side that differs is clicked, so a restored help takes effect as if the player chose it.
void TBoardMenu::LoadState(const TSavedMenu& m) {
  if (!FBuilt) return;
  FPictures.LoadState(m);
  for (int i = 1; i <= kMenuToggleButtons; ++i) {
    if (IsOn(i, ESide::Left) != (m.LeftOn[size_t(i - 1)] != 0)) ClickSide(i, ESide::Left);
    if (IsOn(i, ESide::Right) != (m.RightOn[size_t(i - 1)] != 0)) ClickSide(i, ESide::Right);
  }
}

void TBoardMenu::UpdateStatistics(const TGameRecord& record) { FStatistics.Update(record); }

void TBoardMenu::ShowProgress() { FStatistics.ShowProgress(FEngine->FWidth, FEngine->FHeight); }

void TBoardMenu::UpdateGameState(const TGameRecord& now) {
  FRecordNow = now;
  if (!std::exchange(FTimelineStarted, true)) FJoinTimeline.Start(now);
  FJoinTimeline.Note(now);
  FProgressLine.Update(now, Options.ShowProgress && !FSuspended);
  UpdateCubeHints(now);
  FStatisticsWindow.Follow(now, FJoinTimeline);
}

// The best score is read as the window opens: the score file only changes when a game ends.
void TBoardMenu::ToggleStatistics() {
  if (FStatisticsWindow.Shown()) {
    FStatisticsWindow.Close();
    return;
  }
  if (OnDropCarried) OnDropCarried();
  FExitDialog.Show(false);
  FCompletion.Close();
  FStatisticsWindow.Open(FRecordNow, OnScoreFile ? BestFinishedScore(OnScoreFile()) : std::nullopt, FJoinTimeline);
}

bool TBoardMenu::CloseStatistics() {
  if (!FStatisticsWindow.Shown()) return false;
  FStatisticsWindow.Close();
  return true;
}

}  // namespace qj
