// Shared helpers of the creation tests: a detailed picture made in memory, the shape folder,
// and a cutter set up like a new puzzle of the maker.
#pragma once

#include <string>

#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "platform/Paths.h"

namespace qj::test {

// Points the program folder at the repository's data (the shape files) for one test.
class TShapeFolder {
 public:
  TShapeFolder() : FOld(ProgramFolder()) { SetProgramFolder(std::string(QJ_SOURCE_DIR) + "/data"); }
  explicit TShapeFolder(const std::string& folder) : FOld(ProgramFolder()) { SetProgramFolder(folder); }
  ~TShapeFolder() { SetProgramFolder(FOld); }
  TShapeFolder(const TShapeFolder&) = delete;
  TShapeFolder& operator=(const TShapeFolder&) = delete;

 private:
  std::string FOld;
};

// Smooth gradients with a hashed grain: every pixel differs from its neighbours a little.
inline TMyDib MakeTestPicture(int w, int h) {
  TMyDib picture(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t grain = ((uint32_t(x) * 73856093u) ^ (uint32_t(y) * 19349663u)) * 2654435761u >> 27;
      picture.At(x, y) = MakePixel((x * 255 / w + grain) & 255, (y * 255 / h + grain) & 255, ((x + y) * 3) & 255);
    }
  return picture;
}

struct TCutSetup {
  int Style = 0;
  int Shape = 1;
  double PieceW = 20, PieceH = 20, DistortX = 0, DistortY = 0, SpreadX = 1, SpreadY = 1;
  bool Rotation = true;
  int Shadow = 7, Bevel = 2;
  uint32_t Seed = 4242;
};

inline void SetUpCutter(TPuzzleCutter& cutter, const TMyDib& picture, const TCutSetup& s) {
  cutter.SetPicture(picture);
  cutter.SetCutStyle(s.Style, s.Shape, s.PieceW, s.PieceH, s.DistortX, s.DistortY, s.SpreadX, s.SpreadY);
  TPuzzlePlayOptions& o = cutter.PuzzleOptions();
  o.AllowLoupe = o.AllowSmallPicture = o.AllowGhost = o.AllowNeighbourHelp = 1;
  o.AllowRotation = s.Rotation ? 1 : 0;
  o.ShadowSize = s.Shadow;
  o.BevelStrength = s.Bevel;
  Randomize(s.Seed);
  cutter.ScalePicture(1);
}

inline void Cut(TPuzzleCutter& cutter, const TMyDib& picture, const TCutSetup& s) {
  SetUpCutter(cutter, picture, s);
  cutter.DrawCutMap();
  cutter.CutPieces();
}

}  // namespace qj::test
