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
#include "creation/UBitmapBuilder.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"
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

TTable::TTable() : FGraphics(FDisplay) {
  SetDXDraw(&FDisplay);
  LoadThemes();
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
  FScreen.reset();
  SetControlImages(nullptr);
  SetDXDraw(nullptr);
}

TPieces& TTable::Pieces() { return FScreen->Pieces(); }
void TTable::Frame() {
  const int pieces = Pieces().Count();
  const auto start = std::chrono::steady_clock::now();
  FScreen->Update();
  if (Pieces().Count() < pieces) FFusionMs += MsSince(start);
}

TCarefulPlayer::TCarefulPlayer(TTable& table, int pictureWidth, int pictureHeight)
    : FTable(table), FSet(table.Pieces()),
      FOrigin{(kTableWidth - pictureWidth) / 2, (kTableHeight - pictureHeight) / 2} {}

bool TCarefulPlayer::Play(int joins) {
  const int start = FSet.Count();
  while (FSet.Count() > 1 && (joins < 0 || start - FSet.Count() < joins)) {
    const int anchor = FSet.Count() - 1;  // a fused piece always comes last
    if (!AtHome(FSet.Piece(anchor)) && !Carry(anchor)) return false;
    Settle();
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

int Start(const TAutoPlayOptions& o, TPuzzleCutter& cutter, TTable& session, TAutoPlayResult& r) {
  int status = 0;
  if (o.Continue) {
    r.LoadMs = Timed([&] {
      if ((status = cuttool::PreparePuzzle(o.Cut, cutter)) != 0) return;
      cutter.DrawCutMap();
      cutter.CropToGrid();
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
  session.Screen().NewGame(cutter, TTable::kScreenWidth - 200, TTable::kScreenHeight - 300);
  return 0;
}

}  // namespace

TAutoPlayOptions ParseAutoPlayOptions(const std::vector<std::string>& args) {
  TAutoPlayOptions o;
  std::vector<std::string> rest;
  for (size_t k = 0; k < args.size(); ++k) {
    if (args[k] == "--continue") {
      o.Continue = true;
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
  TPuzzleCutter cutter;
  TTable session;
  if (const int status = Start(o, cutter, session, r)) return status;
  // Boxes are places in the picture as cut (cropped to the grid).
  const TMyDib& picture = cutter.CutPicture().Empty() ? cutter.ScaledPicture() : cutter.CutPicture();
  const int width = picture.Width(), height = picture.Height();
  cutter.Clear();
  TCarefulPlayer player(session, width, height);
  bool played = true;
  r.PlayMs = Timed([&] { played = player.Play(o.Joins); });
  r.FuseMs = session.FusionMs();
  if (!played) std::fprintf(stderr, "a drop beside a true neighbour did not join; the player stopped\n");
  r.Left = session.Pieces().Count();
  r.SaveMs = Timed([&] { session.Screen().Leave(); });
  Fill(r);
  return session.SaveFailed() || !played ? 1 : 0;
}

std::string ResultLine(const TAutoPlayResult& r) {
  char line[256];
  std::snprintf(line, sizeof line,
                "pieces=%d left=%d joins=%d drops=%d score=%.2f finished=%d cut_ms=%.0f play_ms=%.0f save_ms=%.0f "
                "load_ms=%.0f fuse_ms=%.0f",
                r.Pieces, r.Left, r.Joins, r.Drops, r.Score, r.Finished ? 1 : 0, r.CutMs, r.PlayMs, r.SaveMs, r.LoadMs,
                r.FuseMs);
  return line;
}

}  // namespace qj::autoplay
