// The widget images of one theme: buttons, hints, window frames, scroll bars, check boxes, trays.
#pragma once

#include <vector>

#include "platform/Dib.h"
#include "platform/Geometry.h"
#include "tools/datagen/Raster.h"
#include "tools/datagen/Themes.h"

namespace qj::datagen {

struct TWindowStyleArt {
  TMyDib Inactive, Active, Client;
  std::vector<TRect> Rects;  // the ten layout rectangles in the frame's pixels
};

struct TControlArt {
  std::vector<TMyDib> Buttons;  // at rest .. fully pressed
  TRect ButtonText;
  std::vector<TMyDib> Hints;    // left small, medium, large; right small, medium, large
  TWindowStyleArt Large, Small;
  std::vector<TMyDib> HLarge, VLarge, HSmall;  // back, forward, track, thumb, back down, forward down, thumb held
  std::vector<TMyDib> Checks;  // unchecked .. checked
  std::vector<TMyDib> Trays;   // four tab icons, collapse button, empty button
};

TControlArt MakeControlArt(const TThemeArt& theme);

// A rounded, bevelled face in the theme's material; press 0 = raised, 1 = pushed in.
void DrawPanel(TRaster& r, float left, float top, float right, float bottom, float radius, const TThemeArt& t,
               float press, TColor tint = TColor{0, 0, 0, 0});

// The theme's edge colour for flattening anti-aliased borders.
TColor Matte(const TThemeArt& t);

}  // namespace qj::datagen
