// The play screen. Sections: screen life; new game; per frame; mouse; the menu's requests. Keys
// are in UBoardPlayKeys.cpp, saving and continuing in UBoardPlaySaving.cpp.
#include "play/UBoardPlayInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "controls/UHints.h"
#include "controls/UTrayWindow.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UFinishedPicture.h"
#include "play/UPieceList.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "platform/Sound.h"
#include "platform/ZipMaster.h"

namespace qj {
namespace {

constexpr double kTrayBandBelowTop = 10000;  // trays and their pieces end this far below the top
constexpr double kDragBelowTop = 10099;
constexpr double kTableAboveBottom = 200;
constexpr double kBandMinimum = 9;            // a band spanning less selects nothing
constexpr int kProgressClearance = 28;        // below the top edge: the progress line
constexpr int kMusicFadeStep = 655;           // of 65535, a frame: about two seconds
constexpr int kWheelStep = 80;                // table pixels a wheel notch scrolls

}  // namespace

// ---- Screen life ------------------------------------------------------------------------------

TBoardPlayInterface::TBoardPlayInterface(TGraphicsEngine* engine)
    : TInterface(engine), FPieces(std::make_unique<TPieces>(*engine, *this)),
      FMenu(std::make_unique<TBoardMenu>(engine)) {
  FPieces->OnFused = [this] { AfterFusion(); };
  FMenu->OnDropCarried = [this] { FPieces->PutDownSelection(); FDragMode = EDragMode::Idle; };
  FMenu->OnBackgroundChanged = [this] { if (OnBackgroundChanged) OnBackgroundChanged(); };
  FMenu->OnThemeChanged = [this] { if (OnThemeChanged) OnThemeChanged(); };
  FMenu->OnScoreFile = [this] { return ChangeFileExt(FSavPath, ".hsc"); };
}

TBoardPlayInterface::~TBoardPlayInterface() = default;

// The menu takes the overlay part of the band; the table, the trays and what is carried lie
// below it.
void TBoardPlayInterface::SetDepthRange(double low, double high) {
  TInterface::SetDepthRange(low, high);
  FPieces->SetDepthBands(FContentTop - kTrayBandBelowTop, low + kTableAboveBottom);
  FDragDepth = FContentTop - kDragBelowTop;
  FMenu->SetDepthRange(FOverlayLow, high);
}

void TBoardPlayInterface::Enter() {
  TInterface::Enter();
  FPieces->Clear();
  FEngine->FScrollX = FEngine->FScrollY = 0;
  FPieces->CreateTrays(FDepthHigh - 0.5);
  FMenu->Enter();
  MakeBandSprite();
  FEngine->SetTableLayer(FPieces->TopDepthLimit() + 1);
  FEngine->SetOverview(false);
  FGlide = {};
  FGameSetUp = FAbandon = FCompleted = FPaused = FScrolling = FBandActive = false;
  FDragMode = EDragMode::Idle;
  FMusicFade = -1;
  FSavPath.clear();
  FUndoNote = nullptr;
}

// The rubber band is drawn by the screen over the table while it is pulled.
void TBoardPlayInterface::MakeBandSprite() {
  const int index = FEngine->AddEmptySprite(0, 0, FDragDepth - 1, SpriteCategory::RubberBand);
  TMySprite& s = FEngine->Sprite(index);
  s.Kind = ESpriteKind::Hook;
  s.Visible = false;
  s.NoHit = true;
  s.OnDraw = [this](int) { DrawBand(); };
  FBandSprite = TSpriteHandle(*FEngine, index);
}

void TBoardPlayInterface::DrawBand() {
  TSurface& back = FEngine->Display().BackBuffer();
  const TRect r = BandRect();
  const TPoint topLeft = FEngine->TableToScreen(r.Left, r.Top), bottomRight = FEngine->TableToScreen(r.Right - 1, r.Bottom - 1);
  const TRect s{topLeft.X, topLeft.Y, bottomRight.X + 1, bottomRight.Y + 1};
  const TPixel colour = CurrentTheme().SelectColor.ToPixel();
  back.FillRect({s.Left, s.Top, s.Right, s.Top + 1}, colour);
  back.FillRect({s.Left, s.Bottom - 1, s.Right, s.Bottom}, colour);
  back.FillRect({s.Left, s.Top, s.Left + 1, s.Bottom}, colour);
  back.FillRect({s.Right - 1, s.Top, s.Right, s.Bottom}, colour);
  back.MarkChanged();
}

// Leaving waits for a running autosave, then saves the game, or deletes it when the player
// abandoned it. Only a game that was set up is saved: a failed continue must not write an empty
// game over the archive.
void TBoardPlayInterface::Leave() {
  if (FGameSetUp) {
    if (OnBeforeSave) OnBeforeSave();
    if (FAbandon) std::remove(ResolvePath(ChangeFileExt(FSavPath, ".zip")).c_str());
    else (void)SaveGame(FSavPath);
  }
  FGameSetUp = false;
  FEngine->SetTableLayer(0);
  FBandSprite.Reset();
  FMenu->Leave();
  FPieces->Clear();
  FDragMode = EDragMode::Idle;
  TInterface::Leave();
  ReturnFreeMemory();  // a game's pieces, gone
}

void TBoardPlayInterface::Suspend() {
  FOverviewWhenPaused = FEngine->Overview();
  FEngine->SetOverview(false);
  FElapsedWhenPaused = ElapsedDays();
  FPaused = true;
  for (int i = 0; i < FPieces->Count(); ++i) FPieces->Piece(i).SetVisible(false);
  FMenu->Suspend();
  TInterface::Suspend();
}

void TBoardPlayInterface::Resume() {
  for (int i = 0; i < FPieces->Count(); ++i) {
    TBPiece& p = FPieces->Piece(i);
    const TDXTrayWindow* tray = FPieces->Tray(int(p.FTray));
    p.SetVisible(!tray || tray->WindowShown());
  }
  if (FPaused && !GameRecord.Finished) StartClock(FElapsedWhenPaused);
  FPaused = false;
  FEngine->SetOverview(FOverviewWhenPaused);
  FMenu->Resume();
  TInterface::Resume();
}

void TBoardPlayInterface::Restore() {
  for (int i = 0; i < FPieces->Count(); ++i) FPieces->Piece(i).ReloadImage();
  RestoreControls();
  FMenu->Restore();
  FEngine->InvalidateTableLayer();
}

void TBoardPlayInterface::Resize() {
  FMenu->Resize();
  ScrollTo(FEngine->FScrollX, FEngine->FScrollY);
}

int TBoardPlayInterface::PieceCount() const { return FPieces->Count(); }

// ---- New game ---------------------------------------------------------------------------------

void TBoardPlayInterface::NewGame(TPuzzleCutter& cutter, int width, int height) {
  PlayOptions = cutter.PuzzleOptions();
  ShowPicture(cutter);
  FPieces->TakeCutPieces(cutter);
  if (Options.SpreadNewGames)
    FPieces->SpreadNew(KeptClear());
  else
    FPieces->ScatterNew(std::max(1, width), std::max(1, height));
  GameRecord = TGameRecord{};
  GameRecord.InitialPieces = FPieces->Count();
  StartClock(0);
  FSavPath = ChangeFileExt(cutter.FileName(), ".sav");
  FGameSetUp = true;
  ReturnFreeMemory();  // the cut's scratch images
}

// The ghost and the small picture show the picture as it was cut, with the help hints of what
// the puzzle allows.
void TBoardPlayInterface::ShowPicture(TPuzzleCutter& cutter) {
  const TMyDib& picture = cutter.CutPicture().Empty() ? cutter.ScaledPicture() : cutter.CutPicture();
  if (!picture.Empty()) FMenu->SetPicture(picture);
  FMenu->SetHelpHints();
}

// ---- Per frame --------------------------------------------------------------------------------

void TBoardPlayInterface::Update() {
  if (FGameSetUp && !FPaused) {
    FPieces->FuseDueGroups();
    CheckCompletion();
    FPieces->StepEvents();
  }
  FMenu->Update();
  if (FGameSetUp) {
    TGameRecord now = GameRecord;
    now.Elapsed = ElapsedDays();
    FMenu->UpdateGameState(now);
  }
  TInterface::Update();
  FPieces->Update();
  StepGlide();
  DockTrayIcons();
  StepMusicFade();
  if (TMySprite* band = FBandSprite.Get()) band->Visible = FBandActive;
  if (FGameSetUp && !FDone) ServeMenu();
}

uint32_t TBoardPlayInterface::RestFor(uint32_t now) const {
  if (FDone || !FMenu || FGlide != TPoint{} || FMusicFade >= 0 || FBandActive || FDragMode != EDragMode::Idle)
    return 0;
  if (FGameSetUp && !FPaused && FPieces->Busy()) return 0;
  uint32_t due = std::min(TInterface::RestFor(now), FMenu->RestFor(now));
  if (FGameSetUp && Options.ShowProgress) {
    const auto elapsedMs = uint64_t(std::llround(ElapsedDays() * 86400000.0));
    due = std::min(due, uint32_t(1000 - elapsedMs % 1000));
  }
  return due;
}

// After each fusion: the score, and the progress announced in steps of ScoreUpdate percent. The
// progress counts joins out of those a game needs, so the last one makes 100 percent.
void TBoardPlayInterface::AfterFusion() {
  UpdateRecord();
  if (GameRecord.Finished || GameRecord.InitialPieces <= 1) return;
  const int pieces = FPieces->Count();
  const int step = std::clamp(Options.ScoreUpdate, 1, 100);
  const int p = int(std::lround((GameRecord.InitialPieces - pieces) * 100.0 / (GameRecord.InitialPieces - 1)));
  if (p - step >= (GameRecord.Percent / step) * step || pieces <= 1) {
    GameRecord.Percent = p;
    FMenu->ShowProgress();
  }
  FMenu->UpdateStatistics(GameRecord);
}

// The last fusion finishes the game; its score is kept at once, whatever the player does next.
void TBoardPlayInterface::CheckCompletion() {
  if (!FGameSetUp || FCompleted || FPieces->Count() > 1 || FPieces->Settling()) return;
  UpdateRecord();
  GameRecord.Finished = 1;
  FCompleted = true;
  PlaySound(FinishSound.get());
  if (MusicPlaying()) FMusicFade = int(MidiLevel(Options.Music));
  FMenu->UpdateStatistics(GameRecord);
  const std::string scores = ChangeFileExt(FSavPath, ".hsc");
  const TCompletionFigures figures = CompareWithBest(GameRecord, scores);
  std::string error;
  if (!UpdateScoreFile(scores, GameRecord, error)) LogError("%s", error.c_str());
  if (FPieces->Count() == 1 && FMenu->Picture()) ShowAsOnePicture(FPieces->Piece(0), *FMenu->Picture());
  FPieces->PutDownSelection();
  FDragMode = EDragMode::Idle;
  FMenu->ShowCompletion(figures);
}

// At completion the music fades out under the finish sound and stops; its end notice gives the
// devices their former volumes back.
void TBoardPlayInterface::StepMusicFade() {
  if (FMusicFade < 0) return;
  ISoundDevice& device = SoundDevice();
  for (int i = 0; i < device.MidiDeviceCount(); ++i) device.SetMidiVolume(i, uint32_t(std::max(0, FMusicFade)));
  FMusicFade -= kMusicFadeStep;
  if (FMusicFade > 0) return;
  device.StopMidi();
  FMusicFade = -1;
}

void TBoardPlayInterface::StartClock(double elapsedDays) { FGameStartTime = PlayClockDays() - elapsedDays; }

// Playing time stands still while the game is paused and once it is finished.
double TBoardPlayInterface::ElapsedDays() const {
  if (GameRecord.Finished) return GameRecord.Elapsed;
  if (FPaused) return FElapsedWhenPaused;
  return WholeMilliseconds(std::max(0.0, PlayClockDays() - FGameStartTime));
}

void TBoardPlayInterface::UpdateRecord() { ComputeScore(GameRecord, FPieces->Count(), ElapsedDays()); }

// The height the menu bar and what stands on it take from the foot of the screen, even while the
// bar is away; none without a menu.
int TBoardPlayInterface::BarClearance() const {
  return FMenu && FMenu->Built() ? FMenu->BarRect().Height() + kBarClearance : 0;
}

// ---- Mouse ------------------------------------------------------------------------------------

TPoint TBoardPlayInterface::TablePoint(int x, int y) const { return FEngine->ScreenToTable(x, y); }

bool TBoardPlayInterface::MenuTool(int button, EMenuSide side) const { return FMenu && FMenu->IsOn(button, side); }

bool TBoardPlayInterface::BlockedByDialog(int x, int y) const { return FMenu && FMenu->BlocksPress(x, y); }

void TBoardPlayInterface::MouseDown(int button, int shift, int x, int y) {
  if (FDone || BlockedByDialog(x, y)) return;
  FPieces->Board().Mouse = TablePoint(x, y);
  if (FMenu && FMenu->MouseOverMenu(x, y)) {
    FMenu->MouseDown(button, shift, x, y);
    return;
  }
  switch (FDragMode) {
    case EDragMode::Idle: TableMouseDown(button, shift, x, y); break;
    case EDragMode::Holding:
      if (button == mbRight) RotateCarried(shift);
      break;
    case EDragMode::Clicked:
      if (button == mbLeft) DropSelection(x, y);
      else if (button == mbRight) RotateCarried(shift);
      break;
  }
  if (FMenu) FMenu->MouseDown(button, shift, x, y);
}

void TBoardPlayInterface::RotateCarried(int shift) {
  if (PlayOptions.AllowRotation) {
    const TPoint m = FPieces->Board().Mouse;
    FPieces->RotateSelection(m.X, m.Y, (shift & ssCtrl) != 0);
  }
}

// What lies under the mouse decides: a piece, a pin, a tray or its icon, or the bare table.
void TBoardPlayInterface::TableMouseDown(int button, int shift, int x, int y) {
  const int index = FEngine->SpriteAt(x, y);
  const TMySprite* s = index >= 0 ? &FEngine->Sprite(index) : nullptr;
  const TPoint at = TablePoint(x, y);
  if (s && s->Category == SpriteCategory::Piece) return PieceMouseDown(button, shift, s->DrawTag, at);
  if (s && s->Category == SpriteCategory::PinOverlay && s->DrawTag < FPieces->Count()) {
    FPieces->TogglePin(s->DrawTag, button == mbLeft);
    return;
  }
  if (s && std::any_of(FControls.begin(), FControls.end(), [&](TDXControl* c) { return c && c->HasSprite(index); })) {
    TInterface::MouseDown(button, shift, x, y);
    return;
  }
  EmptyTableMouseDown(button, x, y, at);
}

void TBoardPlayInterface::PieceMouseDown(int button, int shift, int index, TPoint at) {
  if (button == mbLeft && MenuTool(1, EMenuSide::Left)) return Scatter(at, Options.ScatterRange);
  if (button == mbRight && MenuTool(3, EMenuSide::Left)) return FPieces->TogglePin(index, false);
  if (button == mbRight && MenuTool(9, EMenuSide::Left)) {
    (void)FPieces->PullNeighbours(index);
    return;
  }
  const auto& carried = FPieces->Selection();
  const bool among = std::find(carried.begin(), carried.end(), &FPieces->Piece(index)) != carried.end();
  if (!carried.empty() && !among) {
    FPieces->ReleaseSelection();
    FPieces->ClearHints();
  }
  if (button == mbRight) {
    if (PlayOptions.AllowRotation) FPieces->RotateAt(index, at.X, at.Y, (shift & ssCtrl) != 0);
    return;
  }
  if (FPieces->Selection().empty()) {
    if (!FPieces->PickUp(index)) return;
    FPieces->ClearHints();
  }
  FPieces->StartCarrying(FDragDepth);
  FDragMode = Options.PieceSelectType == 2 ? EDragMode::Clicked : EDragMode::Holding;
  FPickTick = GetTickCount();
}

void TBoardPlayInterface::EmptyTableMouseDown(int button, int x, int y, TPoint at) {
  if (MenuTool(1, EMenuSide::Left)) {
    Scatter(at, button == mbLeft ? Options.ScatterRange : 5 * Options.ScatterRange);
    return;
  }
  if (button == mbRight && !FEngine->Overview()) {
    FScrolling = true;
    FScrollAnchor = {x, y};
    FScrollStart = {FEngine->FScrollX, FEngine->FScrollY};
  } else if (button == mbLeft) {
    // A click on the bare table lets go of a band's selection and its tint.
    FPieces->ReleaseSelection();
    FPieces->ClearHints();
    FBandActive = true;
    FBandAnchor = at;
    FBandEnd = at;
  }
}

void TBoardPlayInterface::MouseUp(int button, int shift, int x, int y) {
  if (FDone || BlockedByDialog(x, y)) return;
  FPieces->Board().Mouse = TablePoint(x, y);
  if (FDragMode == EDragMode::Holding && button == mbLeft) {
    if (GetTickCount() - FPickTick > uint32_t(std::max(0, Options.ClickMs)) || Options.PieceSelectType == 1)
      DropSelection(x, y);
    else
      FDragMode = EDragMode::Clicked;
  }
  if (FMenu) FMenu->MouseUp(button, shift, x, y);
  TInterface::MouseUp(button, shift, x, y);
  if (button == mbRight) FScrolling = false;
  if (button == mbLeft) FBandActive = false;
}

void TBoardPlayInterface::MouseMove(int shift, int x, int y) {
  if (FDone) return;
  const TPoint at = TablePoint(x, y);
  FPieces->Board().Mouse = at;
  if (FMenu && FMenu->ModalOpen() && !FMenu->ModalRect().Contains(x, y)) return;
  if (MenuTool(1, EMenuSide::Right)) FPieces->PushAside(at.X, at.Y, 1);
  if (MenuTool(9, EMenuSide::Right) && FPieces->Selection().size() <= 1) FPieces->ShowProximityHints();
  if (FMenu) FMenu->MouseMove(shift, x, y);
  TInterface::MouseMove(shift, x, y);
  if (FScrolling) ScrollTo(FScrollStart.X + FScrollAnchor.X - x, FScrollStart.Y + FScrollAnchor.Y - y);
  if (FBandActive) MoveBand(shift, at);
}

void TBoardPlayInterface::ScrollTo(int x, int y) {
  FEngine->FScrollX = std::clamp(x, 0, std::max(0, kTableWidth - FEngine->FWidth));
  FEngine->FScrollY = std::clamp(y, 0, std::max(0, kTableHeight - FEngine->FHeight));
  FPieces->Board().Mouse = TablePoint(FMouseX, FMouseY);
}

void TBoardPlayInterface::ScrollBy(int dx, int dy) {
  FGlide.X += dx;
  FGlide.Y += dy;
}

// A third of what is left each frame, at least a pixel; an edge ends the glide along its axis.
void TBoardPlayInterface::StepGlide() {
  if (FGlide == TPoint{}) return;
  const TPoint step{FGlide.X - FGlide.X * 2 / 3, FGlide.Y - FGlide.Y * 2 / 3};
  const TPoint before{FEngine->FScrollX, FEngine->FScrollY};
  ScrollTo(before.X + step.X, before.Y + step.Y);
  FGlide.X = FEngine->FScrollX - before.X == step.X ? FGlide.X - step.X : 0;
  FGlide.Y = FEngine->FScrollY - before.Y == step.Y ? FGlide.Y - step.Y : 0;
}

void TBoardPlayInterface::MouseWheel(int shift, int notches, int x, int y) {
  if (FDone || notches == 0 || BlockedByDialog(x, y)) return;
  if (shift & ssCtrl) return ShowWholeTable(notches < 0, x, y);
  if (FEngine->Overview()) return;
  if (shift & ssShift) ScrollBy(-notches * kWheelStep, 0);
  else ScrollBy(0, -notches * kWheelStep);
}

void TBoardPlayInterface::ShowWholeTable(bool on, int x, int y) {
  if (on == FEngine->Overview()) return;
  FScrolling = false;
  FGlide = {};
  const bool overMenu = FMenu && FMenu->MouseOverMenu(x, y);
  const TPoint at = FEngine->ScreenToTable(x, y);
  FEngine->SetOverview(on);
  const TTableView view = FEngine->OverviewView();
  if (!on && !overMenu)
    ScrollTo(std::clamp(at.X, 0, view.TableWidth() - 1) - FEngine->FWidth / 2,
             std::clamp(at.Y, 0, view.TableHeight() - 1) - FEngine->FHeight / 2);
  FPieces->Board().Mouse = TablePoint(FMouseX, FMouseY);
}

// The band selects every visible, unpinned piece whose bottom-right corner lies inside it.
void TBoardPlayInterface::MoveBand(int shift, TPoint at) {
  if (!(shift & ssLeft)) {
    FBandActive = false;
    return;
  }
  FBandEnd = at;
  if (std::hypot(at.X - FBandAnchor.X, at.Y - FBandAnchor.Y) <= kBandMinimum) return;
  const TRect band = BandRect();
  std::vector<TBPiece*> chosen;
  for (int i = 0; i < FPieces->Count(); ++i) {
    TBPiece& p = FPieces->Piece(i);
    const TRect r = p.Bounds();
    const bool inside = p.Sprite() && p.Sprite()->Visible && p.FState != PieceState::Pinned &&
                        band.Contains(r.Right, r.Bottom);
    if (inside) chosen.push_back(&p);
  }
  FPieces->ClearHints();
  FPieces->SelectPieces(chosen);
  for (TBPiece* p : FPieces->Selection()) {
    p->FHinted = true;
    p->Activate();
  }
}

TRect TBoardPlayInterface::BandRect() const {
  return {std::min(FBandAnchor.X, FBandEnd.X), std::min(FBandAnchor.Y, FBandEnd.Y), std::max(FBandAnchor.X, FBandEnd.X) + 1,
          std::max(FBandAnchor.Y, FBandEnd.Y) + 1};
}

// Drops what is carried, unless the menu takes it; then the place-and-pin help.
void TBoardPlayInterface::DropSelection(int x, int y) {
  if (FPieces->Selection().empty()) return;
  if (FMenu && FMenu->ClaimsDrop(x, y)) return;
  FDragMode = EDragMode::Idle;
  const TPoint at = TablePoint(x, y);
  const bool single = FPieces->Selection().size() == 1;
  const int tray = FPieces->DropSelection(at.X, at.Y, true);
  if (single && tray == 0 && MenuTool(3, EMenuSide::Right)) PlaceAndPin(FPieces->LastDropped());
}

void TBoardPlayInterface::PlaceAndPin(int index) {
  if (GameRecord.Finished == 0) GameRecord.PlaceHelpUsed = 1;
  if (index < 0 || index >= FPieces->Count() || !FMenu) return;
  const TBPiece& p = FPieces->Piece(index);
  if (p.FOrientation != 0 || !!FMenu->GhostRect().IsEmpty()) return;
  const TRect ghost = FMenu->GhostRect();
  // The piece image's picture starts PieceMargin() pixels in from its corner.
  const TPoint goal{ghost.Left + p.FBoxTopLeft[0].X - PieceMargin(), ghost.Top + p.FBoxTopLeft[0].Y - PieceMargin()};
  if (std::lround(std::hypot(goal.X - p.FPosition.X, goal.Y - p.FPosition.Y)) < Options.StickRange)
    FPieces->AddPlaceAndPin(index, goal);
}

// The menu bar where it shows in the present view, with what stands above it (the tray icons on
// its edge and the progress cubes), and the open trays, in table coordinates: a spread leaves
// them clear, so that no piece lies under them.
std::vector<TRect> TBoardPlayInterface::KeptClear() const {
  std::vector<TRect> clear;
  if (FMenu && FMenu->Built()) {
    const int height = FMenu->BarRect().Height(), top = FEngine->FHeight - height - kBarClearance;
    clear.push_back(MakeRect(FEngine->FScrollX, FEngine->FScrollY + top, FEngine->FWidth, height + kBarClearance));
  }
  for (int n = 1; n <= kTrayCount; ++n)
    if (const TDXTrayWindow* tray = FPieces->Tray(n); tray && tray->WindowShown()) clear.push_back(tray->BoundsRect());
  return clear;
}

// A band's selection (not carried) is let go, so that its pieces spread out with the others.
void TBoardPlayInterface::SpreadOut() {
  if (FDragMode != EDragMode::Idle) return;
  FPieces->ReleaseSelection();
  FPieces->ClearHints();
  if (FPieces->SpreadOut(KeptClear(), true) > 0) PlayClick();
}

// The trays open over the part of the table in view, under the progress line and above the menu
// bar, even while it is away.
void TBoardPlayInterface::SortIntoTrays() {
  if (FDragMode != EDragMode::Idle) return;
  FPieces->ReleaseSelection();
  FPieces->ClearHints();
  const int bottom = FEngine->FHeight - BarClearance();
  const TPoint a = FEngine->ScreenToTable(0, kProgressClearance), b = FEngine->ScreenToTable(FEngine->FWidth, bottom);
  const TRect room = Intersect({a.X, a.Y, b.X, b.Y}, {0, 0, kTableWidth, kTableHeight});
  if (!FPieces->SortIntoTrays(room).Moves.empty()) PlayClick();
}

void TBoardPlayInterface::Scatter(TPoint at, int reach) {
  std::vector<TRect> avoid;
  if (FMenu && MenuTool(7, EMenuSide::Right) && !FMenu->GhostRect().IsEmpty()) avoid.push_back(FMenu->GhostRect());
  if (FMenu && MenuTool(8, EMenuSide::Right)) avoid.push_back(FMenu->SmallPictureRect());
  FPieces->Scatter(at.X, at.Y, Options.ScatterRange, reach, avoid);
}

// The menu's requests, after the frame's own work: leave for the options over the paused game,
// quit (saving or abandoning), scatter everything once, spread out or sort into trays.
void TBoardPlayInterface::ServeMenu() {
  if (!FMenu) return;
  if (FMenu->TakeScatterAll())
    Scatter(FEngine->ScreenToTable(FEngine->FWidth / 2, FEngine->FHeight / 2),
            FEngine->Overview() ? FEngine->OverviewView().TableWidth() : FEngine->FWidth);
  if (FMenu->TakeOverviewSwitch()) ShowWholeTable(!FEngine->Overview(), FMouseX, FMouseY);
  if (FMenu->TakeSpreadOut()) SpreadOut();
  if (FMenu->TakeSort()) SortIntoTrays();
  if (FMenu->WantQuit() || FMenu->WantPictures()) {
    if (FMenu->WantQuit() && FMenu->Abandon()) FAbandon = true;
    Finish(FMenu->WantQuit() ? PlayResult::ToMainMenu : PlayResult::ToPictures);
  } else if (FMenu->WantMainMenu()) {
    FMenu->ClearMainMenuRequest();
    FResult = PlayResult::Options;
    Suspend();
  }
}

// Tray icons sit on the menu bar's edge, counted from the right when the offset is not positive.
void TBoardPlayInterface::DockTrayIcons() {
  if (!FMenu) return;
  const int dx = FMenu->TrayIconOffsetX(), top = FMenu->BarRect().Top + FMenu->TrayIconOffsetY();
  for (int i = 1; i <= kTrayCount; ++i) {
    TMySprite* icon = FPieces->Tray(i) ? FPieces->Tray(i)->IconSprite() : nullptr;
    if (!icon || icon->Surfaces.empty()) continue;
    const int w = icon->Surfaces[0]->Width(), h = icon->Surfaces[0]->Height();
    icon->X = dx <= 0 ? FEngine->FWidth + dx - i * w : i * w + dx;
    icon->Y = top - h;
  }
}

void TBoardPlayInterface::Progress(ETextId line, int64_t done, int64_t total) {
  if (OnProgress) OnProgress(line, done, total);
}

void TBoardPlayInterface::ApplyMenuState(const TSavedMenu& menu) { ScrollTo(menu.ScrollX, menu.ScrollY); }

}  // namespace qj
