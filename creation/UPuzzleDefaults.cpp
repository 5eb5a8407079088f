#include "creation/UPuzzleDefaults.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "platform/Paths.h"

namespace qj {
namespace {

constexpr int kTableWidth = 1600, kTableHeight = 1200;
constexpr int kTableMargin = 50;  // room for the pieces' shadows and the fused piece's reach
constexpr int kDefaultShadow = 7, kDefaultBevel = 2, kDefaultShapeSet = 1;
constexpr int kSmallestSide = 20;  // the maker's first piece size: shapes smaller cross each other

// Large photos shrink to fit the table; small pictures keep their size.
double FittingScale(int width, int height) {
  const double fit = std::min(double(kTableWidth - 2 * kTableMargin) / width, double(kTableHeight - 2 * kTableMargin) / height);
  return std::min(1.0, fit);
}

}  // namespace

void ApplyNewPuzzleDefaults(TPuzzleCutter& cutter, uint32_t seed) {
  const double scale = FittingScale(cutter.Picture().Width(), cutter.Picture().Height());
  const int w = int(std::nearbyint(cutter.Picture().Width() * scale));
  const int h = int(std::nearbyint(cutter.Picture().Height() * scale));
  const int largest = std::max(1, std::min(w, h) / 2 - 1);
  const int wanted = int(std::lround(std::sqrt(double(w) * h / kDefaultPieceCount)));
  const int side = std::clamp(std::max(wanted, kSmallestSide), 1, largest);
  const double distort = std::round(side / 10.0);
  cutter.SetCutStyle(0, kDefaultShapeSet, side, side, distort, distort, 1, 1);
  TPuzzlePlayOptions& o = cutter.PuzzleOptions();
  o.AllowLoupe = o.AllowSmallPicture = o.AllowRotation = o.AllowGhost = o.AllowNeighbourHelp = 1;
  o.ShadowSize = kDefaultShadow;
  o.BevelStrength = kDefaultBevel;
  Randomize(seed);
  cutter.ScalePicture(scale);
}

namespace {

// The cut drawn from the cutter's seed, checked, and written as the picture's puzzle file.
bool SaveSoundCut(TPuzzleCutter& cutter, const std::string& picture, std::string& error) {
  Randomize(cutter.CutParameters().RandomSeed);
  cutter.DrawCutMap();
  const int pieces = cutter.CountPieces();
  if (!IsSoundCut(pieces, cutter.CountStraightPieces())) {
    error = kTooSmallForPuzzle;
    return false;
  }
  Randomize(cutter.CutParameters().RandomSeed);
  cutter.DrawCutMap();
  cutter.CountPieces();
  if (cutter.SavePuzzleFile(ChangeFileExt(picture, ".pzl"))) return true;
  error = cutter.LastError();
  return false;
}

}  // namespace

bool MakeDefaultPuzzle(const std::string& picture, uint32_t seed, std::string& error) {
  TPuzzleCutter cutter;
  if (!cutter.LoadPicture(picture)) {
    error = cutter.LastError();
    return false;
  }
  ApplyNewPuzzleDefaults(cutter, seed);
  return SaveSoundCut(cutter, picture, error);
}

bool MakeGridPuzzle(const std::string& picture, int width, int columns, int rows, uint32_t seed, std::string& error) {
  TPuzzleCutter cutter;
  if (!cutter.LoadPicture(picture) || cutter.Picture().Width() <= 0) {
    error = cutter.LastError();
    return false;
  }
  const double scale = double(width) / cutter.Picture().Width();
  const double height = std::nearbyint(cutter.Picture().Height() * scale);
  cutter.SetCutStyle(0, kDefaultShapeSet, double(width) / columns, height / rows, 0, 0, 1, 1);
  TPuzzlePlayOptions& o = cutter.PuzzleOptions();
  o.AllowLoupe = o.AllowSmallPicture = o.AllowGhost = o.AllowNeighbourHelp = 1;
  o.AllowRotation = 0;
  o.ShadowSize = kDefaultShadow;
  o.BevelStrength = kDefaultBevel;
  Randomize(seed);
  cutter.ScalePicture(scale);
  return SaveSoundCut(cutter, picture, error);
}

}  // namespace qj
