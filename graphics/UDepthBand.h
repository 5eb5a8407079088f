// Depth bands: each screen hands out rising depths inside its own band. A band never spills
// into the one above it: when it is full, the sprites in it are renumbered in drawing order and
// the counting goes on after them.
#pragma once

namespace qj {

class TGraphicsEngine;

// Gives the live sprites whose depth lies in [low, high] the depths low + 1, low + 2, ... in
// their drawing order (closer together when more of them than whole numbers fit); returns the
// depth of the last one, or low when there are none.
double RenumberDepthBand(TGraphicsEngine& engine, double low, double high);

// The depth after `last` in [low, high]. A full band is renumbered first (when an engine is
// given); the result never exceeds high.
double NextDepthInBand(TGraphicsEngine* engine, double low, double high, double last);

}  // namespace qj
