// The helps of the play table.
#include "play/UPieceHelps.h"

#include <algorithm>
#include <cmath>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UGameRecord.h"
#include "creation/URandom.h"

namespace qj {
namespace {

constexpr int kScatterSteps = 20;
constexpr int kScatterTries = 21;
constexpr int kPushSteps = 4;

bool Overlaps(const TRect& a, const TRect& b) {
  return a.Left < b.Right && a.Top < b.Bottom && b.Left < a.Right && b.Top < a.Bottom;
}

// Where a slide of kScatterSteps steps starting at speed v (falling by v / steps each step) ends.
TPoint SlideEnd(TPoint from, int vx, int vy) {
  const double travel = (kScatterSteps + 1) / 2.0;
  return {from.X + int(std::lround(vx * travel)), from.Y + int(std::lround(vy * travel))};
}

}  // namespace

TPieceHelps::TPieceHelps(TPieceStore& pieces, std::function<void(TBPiece&, TBPiece&)> join)
    : FPieces(pieces), FJoin(std::move(join)) {}

void TPieceHelps::Reset() {
  FMagnetTarget = -1;
  FMagnetCount = 0;
}

bool TPieceHelps::PullNeighbours(int index) {
  if (index < 0 || index >= Count()) return false;
  if (FMagnetTarget != -1 && FMagnetTarget != index) return false;
  TBPiece& target = Piece(index);
  if (target.FTray != 0 || target.FDragging || target.HasActions()) return false;
  bool started = false;
  std::vector<int32_t> list = target.FNeighbours;
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
  for (const int32_t n : list) {
    if (n == index || n < 0 || n >= Count()) continue;
    TBPiece& p = Piece(n);
    if (p.BusyOrJoined() || p.FState == PieceState::Pinned || p.FTray != 0) continue;
    if (!p.PullTo(target, [this](int a, int b) { PullFinished(a, b); })) continue;
    FMagnetTarget = index;
    ++FMagnetCount;
    started = true;
    if (GameRecord.Finished == 0) ++GameRecord.PullHelps;
  }
  return started;
}

void TPieceHelps::PullFinished(int a, int b) {
  if (--FMagnetCount <= 0) {
    FMagnetCount = 0;
    FMagnetTarget = -1;
  }
  if (a < 0 || b < 0 || a >= Count() || b >= Count()) return;
  TBPiece& pulled = Piece(a);
  TBPiece& target = Piece(b);
  if (pulled.FTray == 0 && target.FTray == 0 && pulled.FOrientation == target.FOrientation && !target.FDragging)
    FJoin(pulled, target);
}

void TPieceHelps::ShowProximityHints(const std::vector<TBPiece*>& carried) {
  const int range = Options.HintRange;
  for (TBPiece* c : carried) {
    const TRect near = Inflate(c->Bounds(), range);
    for (const int32_t n : c->FNeighbours) {
      if (n == c->FIndex || n < 0 || n >= Count()) continue;
      TBPiece& p = Piece(n);
      const bool hinted = Overlaps(near, p.Bounds());
      if (hinted == p.FHinted) continue;
      p.FHinted = hinted;
      p.Activate();
      if (hinted && GameRecord.Finished == 0) ++GameRecord.ProximityHints;
    }
  }
}

void TPieceHelps::ClearHints() {
  for (const auto& p : FPieces) {
    if (!p->FHinted) continue;
    p->FHinted = false;
    p->Activate();
  }
}

std::vector<TBPiece*> TPieceHelps::Scatter(int x, int y, int speedRange, int reach, const std::vector<TRect>& avoid) {
  PlayClick();
  std::vector<TBPiece*> moved;
  for (const auto& p : FPieces) {
    if (p->FState == PieceState::Pinned || p->BusyOrJoined() || p->FTray != 0) continue;
    if (!Inflate(p->Bounds(), reach).Contains(x, y)) continue;
    int vx = 0, vy = 0;
    for (int attempt = 0; attempt < kScatterTries; ++attempt) {
      vx = Random(speedRange + 1) * RandomSign();
      vy = Random(speedRange + 1) * RandomSign();
      const TPoint end = SlideEnd(p->FPosition, vx, vy);
      if (std::none_of(avoid.begin(), avoid.end(), [&](const TRect& r) { return r.Contains(end.X, end.Y); })) break;
    }
    p->Slide(kScatterSteps, vx, vy, -vx / double(kScatterSteps), -vy / double(kScatterSteps));
    moved.push_back(p.get());
  }
  const int n = int(moved.size());
  for (int k = 0; n > 0 && k < n; ++k) {
    TBPiece& a = *moved[size_t(Random(n))];
    TBPiece& b = *moved[size_t(Random(n))];
    const double d = a.Depth();
    a.SetDepth(b.Depth());
    b.SetDepth(d);
  }
  return moved;
}

// Pieces near the mouse slide a little away from it and slow down, whichever way they go.
std::vector<TBPiece*> TPieceHelps::PushAside(int x, int y, int reach) {
  std::vector<TBPiece*> pushed;
  for (const auto& p : FPieces) {
    if (p->FState == PieceState::Pinned || p->BusyOrJoined() || p->FTray != 0 || p->FDragging) continue;
    const TRect r = p->Bounds();
    if (!Inflate(r, reach).Contains(x, y)) continue;
    if (Options.ChanceScatter < Random(99)) continue;
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const double vx = -Sign(x - cx) * Random(reach + 1), vy = -Sign(y - cy) * Random(reach + 1);
    p->Slide(kPushSteps, vx, vy, -vx / kPushSteps, -vy / kPushSteps);
    pushed.push_back(p.get());
  }
  return pushed;
}

void TPieceHelps::Renumber(const std::function<void(int32_t&)>& translate) { translate(FMagnetTarget); }

}  // namespace qj
