// Spreading the loose pieces over the table: a new game laid out at once, or the pieces of a game
// in progress sliding to their new places.
#include <algorithm>
#include <cmath>

#include "play/UPieceList.h"
#include "play/USpreadLayout.h"

namespace qj {
namespace {

}  // namespace

bool TPieces::Loose(const TBPiece& p) const {
  const bool carried = std::find(FSelection.begin(), FSelection.end(), &p) != FSelection.end();
  return p.FTray == 0 && p.FState != PieceState::Pinned && !p.BusyOrJoined() && !p.FDragging && !carried;
}

void TPieces::SpreadNew(const std::vector<TRect>& keepClear) {
  ScatterNew(1, 1);
  (void)SpreadOut(keepClear, false);
}

int TPieces::SpreadOut(const std::vector<TRect>& keepClear, bool slide) {
  std::vector<TLayoutPiece> moving, fixed;
  std::vector<TBPiece*> movers;
  for (const auto& p : FPieces) {
    const TMyDib* image = p->Bitmap(p->FOrientation);
    if (!image || p->FTray != 0) continue;
    if (Loose(*p)) {
      moving.push_back({image, p->FPosition});
      movers.push_back(p.get());
    } else {
      fixed.push_back({image, p->FPosition});
    }
  }
  TSpreadArea area;
  area.KeepClear = keepClear;
  const std::vector<TPoint> places = SpreadLayout(moving, fixed, area);
  if (slide) RecordStep(movers);
  for (size_t i = 0; i < movers.size(); ++i) {
    TBPiece& p = *movers[i];
    if (slide) {
      p.SlideBy({places[i].X - p.FPosition.X, places[i].Y - p.FPosition.Y});
    } else {
      // The sprite goes there at once: the table is right before its first frame.
      p.SetPosition(places[i]);
      (void)p.Update();
    }
  }
  return int(movers.size());
}

double TPieces::TableOverlap() const {
  std::vector<TLayoutPiece> onTable;
  for (const auto& p : FPieces)
    if (const TMyDib* image = p->Bitmap(p->FOrientation); image && p->FTray == 0) onTable.push_back({image, p->FPosition});
  return LayoutOverlap(onTable, {0, 0, kTableWidth, kTableHeight});
}

}  // namespace qj
