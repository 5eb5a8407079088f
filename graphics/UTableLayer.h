// The composed play table kept between frames: what each resting sprite looked like when it was
// drawn, which areas must be composed again, and a grid that finds the sprites of an area.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace qj {

// What decides a sprite's pixels on the table layer. Two equal looks draw the same pixels.
struct TLayerLook {
  bool Member = false;  // drawn on the layer
  TRect Reach;          // table pixels the sprite may touch, shadow included
  double Depth = 0;
  uint64_t Key = 0;     // kind, frame, images and their change stamps, folded together
  bool operator==(const TLayerLook&) const = default;
};

// r moved by p.
inline TRect Offset(const TRect& r, TPoint p) { return {r.Left + p.X, r.Top + p.Y, r.Right + p.X, r.Bottom + p.Y}; }
// The smallest rectangle holding both (an empty one holds nothing).
TRect Bounding(const TRect& a, const TRect& b);
// Adds r to a list of rectangles, merged with every one it meets or nearly meets until it meets
// none: afterwards no two rectangles of the list lie near each other.
void MergeRect(std::vector<TRect>& list, TRect r);

class TTableLayer {
 public:
  TSurface& Surface() { return FSurface; }
  // Size and a key of everything else the whole layer depends on (the picture and its stamp):
  // when either changed, everything is composed again.
  void Prepare(int width, int height, uint64_t key);
  void InvalidateAll();

  // Records how the sprite at index looks this frame; a change dirties where it was and is.
  // Returns true when the sprite's membership or reach changed.
  bool Observe(int index, const TLayerLook& look);
  // The sprite is gone (freed, or its slot trimmed away).
  void Forget(int index);
  size_t Observed() const { return FLooks.size(); }
  // Position of a member in the engine's drawing order, refreshed every frame.
  void SetOrderPos(int index, int pos) { FOrderPos[size_t(index)] = pos; }

  // The areas to compose again (everything when too many changed), merged; then cleared.
  std::vector<TRect> TakeDirty();
  // The drawing positions of the members whose reach meets r, ascending.
  std::vector<int> MembersIn(const TRect& r);

 private:
  void AddDirty(TRect r);
  void RebuildGrid();

  TSurface FSurface;
  uint64_t FKey = 0;
  std::vector<TLayerLook> FLooks;  // per sprite slot
  std::vector<int> FOrderPos;      // per sprite slot
  std::vector<TRect> FDirty;
  bool FAllDirty = true;
  // Members by 64 x 64 cell, rebuilt when a member moved, came or went.
  std::vector<std::vector<int>> FCells;
  int FColumns = 0, FRows = 0;
  bool FGridStale = true;
  std::vector<uint32_t> FSeen;  // per sprite slot: the query that last listed it
  uint32_t FQuery = 0;
};

}  // namespace qj
