// The headless player. It drives the play screen's piece set the way the mouse does: pick up,
// turn about the mouse point, carry, drop; and it steps frames until each join has fused.
#include "tools/autoplay/AutoPlayer.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "controls/UButtons.h"
#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UAutosave.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"
#include "tools/autoplay/PeakMemory.h"
#include "tools/cut/CutRun.h"

namespace qj::autoplay {
namespace {

constexpr TPoint kDropOffset{3, -2};                     // a careful player, not a perfect one
constexpr int kMaxSettleFrames = 100000;
constexpr int kHomeSlack = 3;

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Timed(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return MsSince(start);
}

}  // namespace

TTable::TTable(int width, int height) : FDisplay(width, height), FGraphics(FDisplay) {
  SetDXDraw(&FDisplay);
  LoadThemes();
  LoadDefaultHotkeys();
  std::string ignored;  // without widget images the trays still work, only plainer
  (void)ReloadControlImages(ignored);
  FScreen = std::make_unique<TBoardPlayInterface>(&FGraphics);
  FScreen->SetDepthRange(0, 99990);
  FScreen->OnError = [](const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  };
  FScreen->OnSaveFailed = [this](const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    FSaveFailed = true;
    return ESaveAnswer::Cancel;
  };
}

TTable::~TTable() {
  FAutosave.reset();
  FScreen.reset();
  SetControlImages(nullptr);
  SetDXDraw(nullptr);
}

TPieces& TTable::Pieces() { return FScreen->Pieces(); }

void TTable::AutosaveEvery(uint32_t ms) {
  FAutosave = std::make_unique<TAutosave>(*FScreen);
  FAutosave->SetIntervalMs(ms);
  FScreen->OnBeforeSave = [this] { FAutosave->BeforeSave(); };
}

void TTable::Frame() {
  const int pieces = Pieces().Count();
  const auto start = std::chrono::steady_clock::now();
  FScreen->Update();
  if (FAutosave) FAutosave->Step(GetTickCount());
  if (Pieces().Count() < pieces) FFusionMs += MsSince(start);
}

TCarefulPlayer::TCarefulPlayer(TTable& table, int pictureWidth, int pictureHeight, bool throughScreen)
    : FTable(table), FSet(table.Pieces()),
      FOrigin{(kTableWidth - pictureWidth) / 2, (kTableHeight - pictureHeight) / 2}, FThroughScreen(throughScreen) {}

bool TCarefulPlayer::Play(int joins) {
  const int start = FSet.Count();
  while (FSet.Count() > 1 && (joins < 0 || start - FSet.Count() < joins)) {
    const int anchor = FSet.Count() - 1;  // a fused piece always comes last
    if (!AtHome(FSet.Piece(anchor)) && !Carry(anchor)) return false;
    Settle();
    if (FThroughScreen && !PinAnchor()) return false;
    const int before = FSet.Count();
    const int next = FreeNeighbour(FSet.Piece(before - 1));
    if (next < 0 || !Carry(next)) return false;
    Settle();
    if (FSet.Count() >= before) return false;
  }
  return true;
}

TPoint TCarefulPlayer::Home(const TBPiece& p) const {
  const TPoint tl = p.FBoxTopLeft[0];
  return {FOrigin.X + tl.X - PieceMargin(), FOrigin.Y + tl.Y - PieceMargin()};
}

// Near enough: a piece as wide as the table is held a pixel or two inside its edge.
bool TCarefulPlayer::AtHome(const TBPiece& p) const {
  const TPoint home = Home(p);
  return p.FOrientation == 0 && std::abs(p.FPosition.X - home.X) <= kHomeSlack &&
         std::abs(p.FPosition.Y - home.Y) <= kHomeSlack;
}

int TCarefulPlayer::FreeNeighbour(const TBPiece& anchor) const {
  for (const int32_t n : anchor.FNeighbours) {
    const TBPiece& p = FSet.Piece(n);
    if (p.FState != PieceState::Pinned && !p.IsBusy() && p.FGroup == -1) return n;
  }
  return -1;
}

bool TCarefulPlayer::Carry(int index) {
  if (FThroughScreen) return CarryThroughScreen(index);
  TBPiece& p = FSet.Piece(index);
  FSet.Board().Mouse = {p.FPosition.X + p.Width() / 2, p.FPosition.Y + p.Height() / 2};
  if (!FSet.PickUp(index)) return false;
  FSet.StartCarrying(FTable.Screen().DragDepth());
  while (p.FOrientation != 0) {
    FSet.RotateSelection(FSet.Board().Mouse.X, FSet.Board().Mouse.Y, false);
    while (p.Rotating()) FTable.Frame();
  }
  const TPoint home = Home(p);
  const bool anchor = index == FSet.Count() - 1;
  const TPoint at = anchor ? home : TPoint{home.X + kDropOffset.X, home.Y + kDropOffset.Y};
  FSet.Board().Mouse = {at.X + p.FGrab.X, at.Y + p.FGrab.Y};
  FTable.Frame();
  FSet.DropSelection(FSet.Board().Mouse.X, FSet.Board().Mouse.Y, true);
  return true;
}

// ---- Through the screen ---------------------------------------------------------------------------

TPoint TCarefulPlayer::ScreenPoint(TPoint table) const {
  return {table.X - FTable.Graphics().FScrollX, table.Y - FTable.Graphics().FScrollY};
}

void TCarefulPlayer::Press(TPoint at, int button) {
  FHeld |= button == mbLeft ? ssLeft : ssRight;
  FTable.Screen().MouseDown(button, FHeld, at.X, at.Y);
  FTable.Frame();
}

void TCarefulPlayer::Release(TPoint at, int button) {
  FHeld &= ~(button == mbLeft ? ssLeft : ssRight);
  FTable.Screen().MouseUp(button, FHeld, at.X, at.Y);
  FTable.Frame();
}

bool TCarefulPlayer::ShowingPoint(const TBPiece& p, TPoint& at) {
  const TMyDib* image = p.Bitmap(p.FOrientation);
  if (!image) return false;
  for (int y = 2; y < image->Height(); y += 3)
    for (int x = 2; x < image->Width(); x += 3) {
      if ((image->At(x, y) & kRgbMask) == 0) continue;
      at = ScreenPoint({p.FPosition.X + x, p.FPosition.Y + y});
      if (FTable.Graphics().SpriteAt(at.X, at.Y) == p.SpriteIndex()) return true;
    }
  return false;
}

// The growing piece is pinned where it lies, as a player does: a pinned piece lies under every
// loose one, so the pieces it would hide stay in sight, and what joins it is pinned too.
bool TCarefulPlayer::PinAnchor() {
  TBPiece& anchor = FSet.Piece(FSet.Count() - 1);
  if (anchor.FState == PieceState::Pinned) return true;
  const THotKey pinTool = Options.Hotkeys[2 * (2 + MenuButton::Pin)];
  uint16_t key = pinTool.Key;
  TPoint at;
  if (key == 0 || !ShowingPoint(anchor, at)) return false;
  FTable.Screen().KeyUp(key, pinTool.Shift);
  Press(at, mbRight);
  Release(at, mbRight);
  key = pinTool.Key;
  FTable.Screen().KeyUp(key, pinTool.Shift);
  Settle();
  return anchor.FState == PieceState::Pinned;
}

// A piece hidden under others: the one on top of its middle goes to a corner of the table.
bool TCarefulPlayer::Uncover(const TBPiece& p) {
  const TRect r = p.Bounds();
  const TPoint middle = ScreenPoint({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  const int top = FTable.Graphics().SpriteAt(middle.X, middle.Y);
  if (top < 0 || FTable.Graphics().Sprite(top).Category != SpriteCategory::Piece) return false;
  const int index = FTable.Graphics().Sprite(top).DrawTag;
  TPoint from;
  if (index == p.FIndex || !ShowingPoint(FSet.Piece(index), from)) return false;
  Press(from, mbLeft);
  const TPoint to = ScreenPoint({kTableWidth - 60 - Random(200), kTableHeight - 60 - Random(100)});
  FTable.Screen().MouseMove(FHeld, to.X, to.Y);
  Release(to, mbLeft);
  if (FTable.Screen().DragMode() != EDragMode::Idle) {
    Press(to, mbLeft);
    Release(to, mbLeft);
  }
  return true;
}

// Press on the piece, right clicks until it is upright, move it beside its place, let go (and
// click once more when the press was quick enough to count as a click).
bool TCarefulPlayer::CarryThroughScreen(int index) {
  TPoint at;
  for (int tries = 0; !ShowingPoint(FSet.Piece(index), at); ++tries)
    if (tries > 20 || !Uncover(FSet.Piece(index))) return false;
  TBPiece& p = FSet.Piece(index);
  Press(at, mbLeft);
  if (!p.FDragging) return false;
  while (p.FOrientation != 0) {
    Press(at, mbRight);
    Release(at, mbRight);
    while (p.Rotating()) FTable.Frame();
  }
  const TPoint home = Home(p);
  const bool anchor = index == FSet.Count() - 1;
  const TPoint place = anchor ? home : TPoint{home.X + kDropOffset.X, home.Y + kDropOffset.Y};
  const TPoint to = ScreenPoint({place.X + p.FGrab.X, place.Y + p.FGrab.Y});
  FTable.Screen().MouseMove(FHeld, to.X, to.Y);
  FTable.Frame();
  Release(to, mbLeft);
  if (FTable.Screen().DragMode() == EDragMode::Clicked) {
    Press(to, mbLeft);
    Release(to, mbLeft);
  }
  return !p.FDragging;
}

bool TCarefulPlayer::LeaveThroughDialog() {
  TBoardMenu& menu = FTable.Screen().Menu();
  if (!menu.ModalOpen()) {
    uint16_t key = Options.Hotkeys[2 * (2 + MenuButton::Exit)].Key;
    FTable.Screen().KeyUp(key, Options.Hotkeys[2 * (2 + MenuButton::Exit)].Shift);
    FTable.Frame();
  }
  // A finished game greets the player with its panel, whose first button leaves as OK does.
  const TDXButton* ok = menu.Completion().Shown() ? menu.Completion().Button(TCompletionPanel::BackToPictures)
                        : menu.ModalOpen()        ? menu.ExitButton(0)
                                                  : nullptr;
  if (!ok) return false;
  const TPoint at{ok->FLeft + ok->FWidth / 2, ok->FTop + ok->FHeight / 2};
  Press(at, mbLeft);
  Release(at, mbLeft);
  return FTable.Screen().Done();
}

void TCarefulPlayer::Settle() {
  for (int i = 0; i < kMaxSettleFrames && FSet.Settling(); ++i) FTable.Frame();
  FTable.Frame();
}

namespace {

// The record as the saved game holds it.
void Fill(TAutoPlayResult& r) {
  r.Pieces = GameRecord.InitialPieces;
  r.Joins = GameRecord.Joins;
  r.Drops = GameRecord.Drops;
  r.Score = GameRecord.Score;
  r.Finished = GameRecord.Finished != 0;
}

// The picture and its puzzle file, cut as far as continuing needs, as the game does it: the
// cut tool's count of the pieces is left out, since continuing does not make it.
int LoadToContinue(const TAutoPlayOptions& o, TPuzzleCutter& cutter) {
  const std::string puzzle = ChangeFileExt(o.Cut.Picture, ".pzl");
  if (!FileExists(o.Cut.Picture)) return std::fprintf(stderr, "no such picture: %s\n", o.Cut.Picture.c_str()), 1;
  if (!cutter.LoadPicture(o.Cut.Picture)) return std::fprintf(stderr, "%s\n", cutter.LastError().c_str()), 1;
  if (!FileExists(puzzle)) return std::fprintf(stderr, "no puzzle file: %s\n", puzzle.c_str()), 1;
  if (!cutter.LoadPuzzleFile(puzzle))
    return std::fprintf(stderr, "cannot read the puzzle file: %s\n", cutter.LastError().c_str()), 1;
  cutter.ScalePicture(0);
  cutter.DrawCutMap();
  cutter.CropToGrid();
  return 0;
}

}  // namespace

int StartGame(const TAutoPlayOptions& o, TPuzzleCutter& cutter, TTable& session, TAutoPlayResult& r) {
  int status = 0;
  if (o.Continue) {
    r.LoadMs = Timed([&] {
      if ((status = LoadToContinue(o, cutter)) != 0) return;
      session.Screen().Enter();
      if (!session.Screen().LoadGame(cutter, ChangeFileExt(o.Cut.Picture, ".sav"))) status = 1;
    });
    if (status == 1) std::fprintf(stderr, "no saved game to continue for %s\n", o.Cut.Picture.c_str());
    return status;
  }
  r.CutMs = Timed([&] {
    if ((status = cuttool::PreparePuzzle(o.Cut, cutter)) != 0) return;
    cuttool::Redraw(cutter);
    cutter.CutPieces();
  });
  if (status != 0) return status;
  session.Screen().Enter();
  if (o.Layout >= 0) Options.SpreadNewGames = o.Layout == 1;
  r.Spread = Options.SpreadNewGames;
  r.LayoutMs = Timed([&] { session.Screen().NewGame(cutter, session.Width() - 200, session.Height() - 300); });
  if (o.LayoutReport) r.Overlap = session.Pieces().TableOverlap();
  return 0;
}

TAutoPlayOptions ParseAutoPlayOptions(const std::vector<std::string>& args) {
  TAutoPlayOptions o;
  std::vector<std::string> rest;
  for (size_t k = 0; k < args.size(); ++k) {
    if (args[k] == "--continue") {
      o.Continue = true;
    } else if (args[k] == "--screen") {
      o.Screen = true;
    } else if (args[k] == "--phase-peaks") {
      o.PhasePeaks = true;
    } else if (args[k] == "--layout-report") {
      o.LayoutReport = true;
    } else if (args[k] == "--layout") {
      const std::string v = k + 1 < args.size() ? args[++k] : std::string();
      if (v != "spread" && v != "heap") throw cuttool::TUsageError{"--layout takes spread or heap, not \"" + v + "\""};
      o.Layout = v == "spread" ? 1 : 0;
    } else if (args[k] == "--autosave-seconds") {
      const std::string v = k + 1 < args.size() ? args[++k] : std::string();
      char* end = nullptr;
      const double seconds = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != '\0' || !(seconds > 0 && seconds <= 3600))
        throw cuttool::TUsageError{"--autosave-seconds takes seconds above 0, not \"" + v + "\""};
      o.AutosaveMs = uint32_t(std::lround(seconds * 1000));
    } else if (args[k] == "--joins") {
      if (k + 1 >= args.size()) throw cuttool::TUsageError{"--joins takes a whole number of 0 or more"};
      const std::string& v = args[++k];
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (v.empty() || *end != '\0' || n < 0 || n > 1000000)
        throw cuttool::TUsageError{"--joins takes a whole number of 0 or more, not \"" + v + "\""};
      o.Joins = int(n);
    } else {
      rest.push_back(args[k]);
    }
  }
  o.Cut = cuttool::ParseCutOptions(rest);
  if (o.Continue) o.Cut.FromPzl = true;
  return o;
}

int RunAutoPlay(const TAutoPlayOptions& o, TAutoPlayResult& r) {
  cuttool::UseProgramFolder(o.Cut);
  TPuzzleCutter cutter;
  TTable session(o.Screen ? kTableWidth : TTable::kScreenWidth, o.Screen ? kTableHeight : TTable::kScreenHeight);
  TPeakMeter peaks(o.PhasePeaks);
  if (const int status = StartGame(o, cutter, session, r)) return status;
  if (o.AutosaveMs) session.AutosaveEvery(o.AutosaveMs);
  // Boxes are places in the picture as cut (cropped to the grid).
  const TMyDib& picture = cutter.CutPicture().Empty() ? cutter.ScaledPicture() : cutter.CutPicture();
  const int width = picture.Width(), height = picture.Height();
  cutter.Clear();
  (o.Continue ? r.PeakContinueMb : r.PeakCutMb) = peaks.EndPhase();
  TCarefulPlayer player(session, width, height, o.Screen);
  bool played = true;
  r.PlayMs = Timed([&] { played = player.Play(o.Joins); });
  r.FuseMs = session.FusionMs();
  r.PeakPlayMb = peaks.EndPhase();
  if (!played) std::fprintf(stderr, "a drop beside a true neighbour did not join; the player stopped\n");
  r.Left = session.Pieces().Count();
  r.SaveMs = Timed([&] {
    if (!o.Screen || !player.LeaveThroughDialog()) session.Screen().Leave();
  });
  r.PeakSaveMb = peaks.EndPhase();
  r.PeakMb = peaks.Whole();
  if (!o.PhasePeaks) r.PeakCutMb = r.PeakPlayMb = r.PeakSaveMb = r.PeakContinueMb = 0;
  Fill(r);
  return session.SaveFailed() || !played ? 1 : 0;
}

std::string ResultLine(const TAutoPlayResult& r) {
  char line[384];
  int n = std::snprintf(line, sizeof line,
                        "pieces=%d left=%d joins=%d drops=%d score=%.2f finished=%d cut_ms=%.0f play_ms=%.0f "
                        "save_ms=%.0f load_ms=%.0f fuse_ms=%.0f peak_mb=%.0f",
                        r.Pieces, r.Left, r.Joins, r.Drops, r.Score, r.Finished ? 1 : 0, r.CutMs, r.PlayMs, r.SaveMs,
                        r.LoadMs, r.FuseMs, r.PeakMb);
  // The play phase always has a peak once phases are measured apart.
  if (r.PeakPlayMb > 0 && n > 0 && size_t(n) < sizeof line)
    std::snprintf(line + n, sizeof line - size_t(n), " peak_cut_mb=%.0f peak_play_mb=%.0f peak_save_mb=%.0f peak_continue_mb=%.0f",
                  r.PeakCutMb, r.PeakPlayMb, r.PeakSaveMb, r.PeakContinueMb);
  return line;
}

std::string LayoutLine(const TAutoPlayResult& r) {
  char line[128];
  std::snprintf(line, sizeof line, "layout=%s pieces=%d layout_ms=%.1f overlap=%.4f", r.Spread ? "spread" : "heap",
                r.Pieces, r.LayoutMs, r.Overlap);
  return line;
}

}  // namespace qj::autoplay
