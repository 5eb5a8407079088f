// Sorting loose pieces into trays: which pieces lie on the picture's border, each piece's mean
// colour in CIELAB, a seeded k-means over those colours, the colour names of the trays, and a
// compact layout of many pieces inside a tray of limited size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/UTextIds.h"
#include "platform/Geometry.h"

namespace qj {

class TPixelBuffer;

struct TLab {
  double L = 0, A = 0, B = 0;
};

// The mean colour of the image's opaque (not pure black) pixels; black when there are none.
TLab MeanLab(const TPixelBuffer& image);
// Clusters of at most k colours by k-means, seeded so that the same colours always give the same
// clusters; the clusters are numbered from the lightest centre down. Returns each colour's cluster.
std::vector<int> ClusterColours(const std::vector<TLab>& colours, int k);
TLab MeanOf(const std::vector<TLab>& colours);

// A colour's name among the trays' colour names (Text::TrayColourNames + the result).
int ColourName(const TLab& colour);
// Text keys of the captions of trays of these mean colours, in their order: each its colour's
// name, with "light" and "dark" (or a number) where two trays would read the same.
std::vector<std::string> ColourCaptions(const std::vector<TLab>& colours);

// A tray's pieces laid out in rows, overlapping evenly when they do not fit side by side into
// the room; offsets from the client area's top-left, and the client size they take.
struct TTrayLayout {
  std::vector<TPoint> Offsets;
  int Width = 0, Height = 0;
};
TTrayLayout LayOutTray(const std::vector<TPoint>& sizes, int roomWidth, int roomHeight);

// One piece's way in a sort, kept both ways so that the sort can be taken back.
struct TSortMove {
  int Piece = -1;
  uint32_t FromTray = 0, ToTray = 0;
  TPoint From, To;  // top-left on the table
};

// What a sort does: the trays that take pieces (number and bounds on the table) and every move.
struct TSortPlan {
  struct TTrayPlace {
    int Tray = 0;
    TRect Bounds;
    TRect FromBounds;  // the tray as it was, and whether it was open
    bool WasOpen = false;
  };
  std::vector<TTrayPlace> Trays;
  std::vector<TSortMove> Moves;
};

}  // namespace qj
