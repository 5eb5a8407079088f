#include "graphics/UDepthBand.h"

#include <algorithm>
#include <vector>

#include "graphics/UGraphicsEngine.h"

namespace qj {

double RenumberDepthBand(TGraphicsEngine& engine, double low, double high) {
  engine.SortIfNeeded();
  std::vector<int> inBand;
  for (const int index : engine.Order()) {
    const TMySprite& s = engine.Sprite(index);
    if (s.Id != 0 && s.Depth >= low && s.Depth <= high) inBand.push_back(index);
  }
  // Whole steps keep the numbers readable; a crowded band shares its width out evenly.
  const double step = std::min(1.0, (high - low) / double(inBand.size() + 1));
  double depth = low;
  for (const int index : inBand) {
    depth += step;
    engine.SetSpriteDepth(index, depth);
  }
  return depth;
}

double NextDepthInBand(TGraphicsEngine* engine, double low, double high, double last) {
  if (last + 1 <= high) return last + 1;
  if (engine) last = RenumberDepthBand(*engine, low, high);
  if (last + 1 <= high) return last + 1;
  return last + (high - last) / 2;
}

}  // namespace qj
