// One cut piece as the cutter produces it: its place in the picture, its neighbours and its
// images in up to four orientations.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "creation/UGreyMap.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

constexpr int kOrientations = 4;  // 0, 90, 180, 270 degrees clockwise

struct TPiece {
  std::array<TPoint, kOrientations> Seed{};  // only [0]: a pixel of the region in the label map
  std::array<TPoint, kOrientations> Home{};  // top-left of the piece's box, per orientation
  std::array<TPoint, kOrientations> Far{};   // bottom-right of the piece's box, per orientation
  int32_t Label = 0;
  std::vector<int32_t> Neighbours;  // piece indices, ascending
  // Working images of the cut; only Images survive it. Masks and shadows are one channel:
  // 255 inside the piece (or the shadow density), 0 elsewhere.
  std::array<TMyDib, kOrientations> Pictures;
  std::array<TGreyMap, kOrientations> Masks;
  std::array<TGreyMap, kOrientations> Shadows;
  std::array<TMyDib, kOrientations> Images;  // 32-bit: picture with bevel, shadow in alpha
};

using TPieceList = std::vector<TPiece>;

}  // namespace qj
