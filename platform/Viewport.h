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

// The smallest client area the game lays its screens out in.
inline constexpr int kMinClientWidth = 790;
inline constexpr int kMinClientHeight = 570;

// The window manager's frame around a window's client area, in pixels on each side.
struct TFrameExtents {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TFrameExtents&) const = default;
};

// The first window's client rectangle: the largest the game uses (the play table's size at most,
// its own smallest size at least) whose frame fits the work area, centred in it.
TRect FirstClientRect(const TRect& workArea, const TFrameExtents& frame);
// A client rectangle kept from an earlier run, brought back inside the work area with its frame:
// shrunk to fit (never below the game's smallest size), then moved in.
TRect FitClientRect(const TRect& stored, const TRect& workArea, const TFrameExtents& frame);

// The game's own screen for full screen on a desktop of this size: the desktop's size, scaled
// down with its aspect kept until it fits the play table, and never below the smallest size.
TPoint DesktopSurfaceSize(int desktopWidth, int desktopHeight);

// Full screen keeps the desktop's mode, so a refresh rate cannot be set: the default rate (0) or
// the desktop's own rate presents in step with the display's refresh, like a flip; any other
// rate presents as soon as a frame is ready, paced by the frame timer alone.
bool FullScreenVSync(int chosenRate, int desktopRate);

}  // namespace qj
