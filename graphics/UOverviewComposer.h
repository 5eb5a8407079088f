// Frames that show the whole table at once. The table is composed at 1:1 as always (the table
// layer) and reduced by averaging whole boxes of table pixels, row by row, into a reduced copy
// kept between frames; a frame reduces again only the areas where the layer changed or a table
// sprite off the layer (a carried or turning piece) is or was, copies the reduced table onto the
// screen and leaves the screen's own sprites to the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "graphics/UTableView.h"
#include "platform/Surface.h"

namespace qj {

class TGraphicsEngine;
class TTableComposer;

class TOverviewComposer {
 public:
  // Draws the sprites at the given drawing positions (ascending) onto the target, origin being
  // the table point at its top left; with `picture` the table picture first.
  using TDrawSprites =
      std::function<void(TSurface& target, const std::vector<int>& positions, TPoint origin, bool picture)>;

  TOverviewComposer(TGraphicsEngine& engine, TTableComposer& table, TDrawSprites draw);

  // The reduced table onto back where the view puts it, the rest of the screen in a darker tone
  // of the table. False (nothing drawn) when there is no table picture.
  bool Compose(TSurface& back, const TTableView& view);
  // The drawing positions of this frame's visible screen sprites (not on the table), ascending.
  const std::vector<int>& ScreenSprites() const { return FScreenSprites; }

 private:
  void SortSprites();
  TRect Aligned(const TRect& area) const;
  void Reduce(const TRect& area);
  void FillMargins(TSurface& back) const;

  TGraphicsEngine& FEngine;
  TTableComposer& FTable;
  TDrawSprites FDraw;
  TTableView FView;
  TSurface FReduced;  // the whole table reduced
  TSurface FPatch;    // an area of the table at 1:1 with the sprites off the layer
  uint64_t FPictureStamp = 0;
  TPixel FMargin = 0;
  std::vector<int> FScreenSprites;
  std::vector<int> FTableSprites;     // drawing positions of the table sprites off the layer
  std::vector<TRect> FTableReaches;   // their reach on the table
  std::vector<bool> FUnderTop;        // whether they lie under the layer's top
  std::vector<TRect> FLastReaches;    // where they were in the last frame
};

// Averages the boxes of table pixels (in `source`, whose top left is the table point `origin`)
// that make the reduced pixels of `reducedArea` into `target`. The source holds every table
// pixel of those boxes; colour bytes only, alpha comes out 0.
void ReduceBoxes(const TPixelBuffer& source, TPoint origin, const TTableView& view, const TRect& reducedArea,
                 TPixelBuffer& target);

}  // namespace qj
