#include "creation/UBitmapBuilder.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "creation/ULabelMap.h"
#include "creation/UPieceImages.h"
#include "creation/UPieceWorkers.h"
#include "creation/URandom.h"
#include "platform/Canvas.h"
#include "platform/Paths.h"

namespace qj {

namespace {

constexpr int kMaxShadowSize = 10;
constexpr int kMaxBevelStrength = 5;
constexpr int kPreviewWidth = 200;

TMyDib Crop(const TMyDib& src, const TRect& area) {
  const TRect r = Intersect(area, src.Bounds());
  TMyDib out(r.Width(), r.Height(), src.BitCount());
  for (int y = 0; y < out.Height(); ++y)
    std::copy(src.Row(y + r.Top) + r.Left, src.Row(y + r.Top) + r.Right, out.Row(y));
  return out;
}

// Nearest-neighbour stretch, sampling at pixel centres.
TMyDib Stretch(const TMyDib& src, int width, int height) {
  TMyDib out(width, height, src.BitCount());
  if (src.Empty()) return out;
  std::vector<int> column(width);
  for (int x = 0; x < width; ++x) column[x] = int((int64_t(2 * x + 1) * src.Width()) / (2 * int64_t(width)));
  for (int y = 0; y < height; ++y) {
    const TPixel* s = src.Row(int((int64_t(2 * y + 1) * src.Height()) / (2 * int64_t(height))));
    TPixel* d = out.Row(y);
    for (int x = 0; x < width; ++x) d[x] = s[column[x]];
  }
  return out;
}

// Restores a flag or value when a step that changed it for a while ends, thrown or not.
template <class T>
class TRestore {
 public:
  TRestore(T& target, T during, T after) : FTarget(target), FAfter(after) { FTarget = during; }
  ~TRestore() { FTarget = FAfter; }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

 private:
  T& FTarget;
  T FAfter;
};

}  // namespace

std::string ShapeFilePath(int shapeSet) { return DataPath("Shapes\\shape" + std::to_string(shapeSet) + ".txt"); }

bool IsSoundCut(int shapedCount, int straightCount) { return shapedCount >= 2 && shapedCount == straightCount; }

bool TPuzzleCutter::LoadPicture(const std::string& fileName) {
  if (!FileExists(fileName)) return true;
  TMyDib picture;
  if (!picture.LoadFromFile(fileName)) {
    FLastError = picture.LastError().empty() ? "cannot read the picture " + fileName : picture.LastError();
    return false;
  }
  SetPicture(std::move(picture));
  FFileName = fileName;
  return true;
}

void TPuzzleCutter::SetPicture(TMyDib picture) {
  for (TPixel* p = picture.Bits(); p != picture.Bits() + size_t(picture.Width()) * picture.Height(); ++p) {
    const TPixel c = *p & kRgbMask;
    *p = (PixelR(c) < 8 && PixelG(c) < 8 && PixelB(c) < 8) ? MakePixel(8, 8, 8) : c;
  }
  picture.SetBitCount(24);
  FPicture = std::move(picture);
}

void TPuzzleCutter::SetCutStyle(int cutStyle, int shapeSet, double pieceWidth, double pieceHeight,
                                double distortX, double distortY, double distortXSpread,
                                double distortYSpread) {
  FCutParameters.CutStyle = cutStyle;
  FCutParameters.ShapeSet = shapeSet;
  FCutParameters.PieceWidth = pieceWidth;
  FCutParameters.PieceHeight = pieceHeight;
  FCutParameters.DistortX = distortX;
  FCutParameters.DistortY = distortY;
  FCutParameters.DistortXSpread = distortXSpread;
  FCutParameters.DistortYSpread = distortYSpread;
}

void TPuzzleCutter::ScalePicture(double factor) {
  if (factor == 0) {
    factor = FCutParameters.PictureScale;
    Randomize(FCutParameters.RandomSeed);
  }
  if (factor == 0) factor = 1;
  if (factor == 1) {
    // Kept as well: a scale left from the cutter's last puzzle would be saved with this one.
    FScaledPicture = FPicture;
    FCutParameters.PictureScale = 1;
    return;
  }
  const double w = std::nearbyint(FPicture.Width() * factor), h = std::nearbyint(FPicture.Height() * factor);
  if (!(w >= 1 && h >= 1) || w * h > double(TMyDib::kMaxPixels))
    throw std::runtime_error("Picture scale out of range: " + std::to_string(factor));
  FScaledPicture = Stretch(FPicture, int(w), int(h));
  FCutParameters.PictureScale = factor;
}

void TPuzzleCutter::DrawCutMap() {
  const int w = FScaledPicture.Width(), h = FScaledPicture.Height();
  if (w <= 9 || h <= 9 || !ValidPieceSize(FCutParameters)) return;
  FCutMap = TMyDib(w, h, 24);
  SizeGrid(FGrid, FCutParameters, w, h);
  FCutParameters.RandomSeed = RandomSeed;
  const int style = FCutParameters.CutStyle;
  if (style == 0 || style == 7 || style == 8) FillGridCheckered(FGrid, FCutParameters, w, h);
  else FillGridBanded(FGrid, FCutParameters, w, h);
  LoadShape(ShapeFilePath(FCutParameters.ShapeSet));
  TCanvas canvas(FCutMap);
  canvas.PenWidth = FLineWidth;
  TCutLineDrawer(canvas, FGrid, *this, FStraightCuts).DrawCutLines(FCutParameters);
}

void TPuzzleCutter::MakeLabelMap() {
  FLabelMap = Crop(FCutMap, FGrid.Rect);
  FMaxLabel = std::max(FMaxLabel, LabelPieces(FLabelMap, FPieces));
}

int TPuzzleCutter::CountPieces() {
  if (FCutMap.Empty()) return 0;
  MakeLabelMap();
  FLabelMap = TMyDib();
  return int(FPieces.size());
}

int TPuzzleCutter::CountCutPieces() const {
  TMyDib map = FCutMap.Empty() ? FLabelMap : Crop(FCutMap, FGrid.Rect);
  if (map.Empty()) return 0;
  TPieceList pieces;
  LabelPieces(map, pieces);
  return int(pieces.size());
}

int TPuzzleCutter::CountStraightPieces() {
  if (FCutParameters.PieceWidth == 0) return 0;
  {
    TRestore<bool> straight(FStraightCuts, true, false);
    Randomize(FCutParameters.RandomSeed);
    DrawCutMap();
  }
  return CountPieces();
}

void TPuzzleCutter::MakePreview() {
  FPreview = TMyDib();
  if (FScaledPicture.Empty()) return;
  {
    Randomize(FCutParameters.RandomSeed);
    const int width = FCutMap.Empty() ? FScaledPicture.Width() : FCutMap.Width();
    TRestore<int> lines(FLineWidth, int(std::nearbyint(width / double(kPreviewWidth))), 1);
    DrawCutMap();
  }
  TMyDib overlay = FScaledPicture;
  if (FCutMap.Width() == overlay.Width() && FCutMap.Height() == overlay.Height()) {
    const TPixel* lines = FCutMap.Bits();
    TPixel* p = overlay.Bits();
    for (size_t k = 0, n = size_t(overlay.Width()) * overlay.Height(); k < n; ++k)
      if (lines[k] & kRgbMask) p[k] = lines[k];
  }
  const int height = int(std::nearbyint(overlay.Height() * double(kPreviewWidth) / overlay.Width()));
  FPreview = Stretch(overlay, kPreviewWidth, std::max(height, 1));
  FPreview.SetBitCount(24);
}

void TPuzzleCutter::CropToGrid() {
  FCutPicture = Crop(FScaledPicture, FGrid.Rect);
  FLabelMap = Crop(FCutMap, FGrid.Rect);
  FScaledPicture = TMyDib();
  FCutMap = TMyDib();
}

int TPuzzleCutter::ShadowSize() const { return std::clamp(FPlayOptions.ShadowSize, 0, kMaxShadowSize); }

int TPuzzleCutter::BevelStrength() const {
  return std::clamp(FPlayOptions.BevelStrength, 0, kMaxBevelStrength);
}

void TPuzzleCutter::CutPiece(TPiece& piece) {
  ExtractPiece(piece, FLabelMap, FCutPicture, ShadowSize());
  if (FPlayOptions.AllowRotation) TurnPiece(piece, FLabelMap.Width(), FLabelMap.Height());
  MakeShadows(piece, ShadowSize(), MaxOrientation());
  MakeBevel(piece, BevelStrength(), MaxOrientation());
  FinishImages(piece, MaxOrientation());
}

void TPuzzleCutter::CutPieces() {
  CropToGrid();
  FMaxLabel = std::max(FMaxLabel, LabelPieces(FLabelMap, FPieces));
  // Each piece's images depend only on the label map, the cut picture and the piece itself,
  // so the pieces are cut side by side; the reports still come one per piece, in order, here.
  RunPieceWork(
      FPieces.size(), [&](size_t) { if (OnProgress) OnProgress(*this); },
      [&](size_t k) { CutPiece(FPieces[k]); }, Threads);
  FindNeighbours(FLabelMap, FPieces);
}

void TPuzzleCutter::Clear() {
  // Each bitmap is given a fresh empty one: copying an empty one over it would keep its pixels'
  // storage, and so would clear() the pieces' list.
  TPieceList().swap(FPieces);
  for (TMyDib* bitmap : {&FPicture, &FScaledPicture, &FCutMap, &FCutPicture, &FLabelMap, &FPreview}) *bitmap = TMyDib();
  FFileName.clear();
  FGrid = {};
  ClearShape();
}

bool TPuzzleCutter::SavePuzzleFile(const std::string& path) {
  if (FScaledPicture.Empty()) {
    FLastError = "no picture to make a puzzle of";
    return false;
  }
  FPlayOptions.PieceCount = int32_t(FPieces.size());
  MakePreview();
  const std::vector<uint8_t> file = BuildPuzzleFile(FCutParameters, FPlayOptions, FPreview.SaveToMemory());
  if (!WriteFileAtomic(path, file.data(), file.size())) {
    FLastError = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  FFileName = path;
  return true;
}

bool TPuzzleCutter::LoadPuzzleFile(const std::string& path) {
  if (!FileExists(path)) return false;
  std::vector<uint8_t> file, preview;
  bool ok = ReadWholeFile(path, file);
  if (!ok) FLastError = "cannot read " + path;
  if (ok && !(ok = ParsePuzzleFile(file, FCutParameters, FPlayOptions, preview, FLastError)))
    FLastError = path + ": " + FLastError;
  FPreview = TMyDib();
  if (ok && !(ok = FPreview.LoadFromMemory(preview.data(), preview.size())))
    FLastError = path + ": bad preview: " + FPreview.LastError();
  Randomize(FCutParameters.RandomSeed);
  FFileName = path;
  return ok;
}

}  // namespace qj
