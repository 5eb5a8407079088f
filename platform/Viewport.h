// How the drawing surface is shown in the window or on the desktop: scaled with its aspect kept
// and centred between black bars, and how a point of the window maps back onto the surface.
// Kept free of SDL so that the arithmetic is checked without a window.
#pragma once

#include "platform/Geometry.h"

namespace qj {

// The largest surface a window gets: the play table's size. A larger window shows it scaled up.
inline constexpr int kMaxSurfaceWidth = 1600;
inline constexpr int kMaxSurfaceHeight = 1200;

struct TViewport {
  int SurfaceWidth = 0;
  int SurfaceHeight = 0;
  TRect Picture;  // where the surface lands in the output, in output pixels

  // The same whole number of output pixels for every surface pixel: drawn without filtering.
  bool WholeFactor() const;
  // The surface pixel under an output pixel; points in the bars lie outside the surface.
  TPoint ToSurface(TPoint output) const;
  // The output pixel whose centre lies in a surface pixel (its first one when scaled up).
  TPoint ToOutput(TPoint surface) const;
};

// A surface of the given size fitted into an output of the given size.
TViewport FitViewport(int surfaceWidth, int surfaceHeight, int outputWidth, int outputHeight);

// A window's surface follows its client area up to the play table's size in each direction.
TPoint WindowedSurfaceSize(int clientWidth, int clientHeight);

// The first window's client size on a desktop drawn at `scale` times 96 dpi, kept inside the
// usable part of the desktop and never below the game's own size.
TPoint InitialClientSize(int width, int height, double scale, const TRect& usable);

// Full screen keeps the desktop's mode, so a refresh rate cannot be set: the default rate (0) or
// the desktop's own rate presents in step with the display's refresh, like a flip; any other
// rate presents as soon as a frame is ready, paced by the frame timer alone.
bool FullScreenVSync(int chosenRate, int desktopRate);

}  // namespace qj
