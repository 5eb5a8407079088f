// The cutter: turns a picture and its cut parameters into piece images, home positions and
// neighbour lists, counts pieces for the maker, and reads and writes puzzle files.
#pragma once

#include <functional>
#include <string>

#include "creation/UCutGrid.h"
#include "creation/UCutPiece.h"
#include "creation/UPuzzleFile.h"
#include "creation/USplineDraw.h"
#include "platform/Dib.h"

namespace qj {

// The shape file of a shape set under the program folder.
std::string ShapeFilePath(int shapeSet);

// Whether a cut may be saved, from its shaped and straight piece counts: a shape that crosses
// another cut or leaves a region open changes the count, and a single piece is no puzzle.
bool IsSoundCut(int shapedCount, int straightCount);

class TPuzzleCutter : public TSplineDraw {
 public:
  using TProgressEvent = std::function<void(TPuzzleCutter& sender)>;

  TPuzzleCutter() = default;
  TPuzzleCutter(const TPuzzleCutter&) = delete;
  TPuzzleCutter& operator=(const TPuzzleCutter&) = delete;

  // Nothing happens (true) when the file does not exist. A picture that cannot be read leaves
  // the cutter unchanged and returns false with LastError(). Near-black pixels become (8, 8, 8).
  [[nodiscard]] bool LoadPicture(const std::string& fileName);
  // A picture made in memory, treated as a loaded one (near-black lifted); the file name stays.
  void SetPicture(TMyDib picture);
  void SetCutStyle(int cutStyle, int shapeSet, double pieceWidth, double pieceHeight, double distortX,
                   double distortY, double distortXSpread, double distortYSpread);
  // 0 = as stored (and the random seed is set back to the stored one); 1 = unscaled.
  // Throws std::runtime_error for a factor that would make an impossible picture.
  void ScalePicture(double factor);
  // The cut lines on a black map of the scaled picture's size; nothing on a picture of 9 pixels
  // or less either way or with a piece size under one pixel. Throws on a broken shape file.
  void DrawCutMap();
  int CountPieces();
  // The pieces of the cut drawn now, also once it was cropped to its grid; changes nothing.
  int CountCutPieces() const;
  int CountStraightPieces();
  void MakePreview();
  void CropToGrid();
  // Cuts every piece (OnProgress before each), then finds the neighbours.
  void CutPieces();
  void Clear();

  // Writes the puzzle file (PieceCount and the preview made on the way); false when there is
  // no picture or the file cannot be written.
  [[nodiscard]] bool SavePuzzleFile(const std::string& path);
  // False when the file is missing (nothing changes) or unreadable; the random seed is set to
  // the stored one whenever the file exists.
  [[nodiscard]] bool LoadPuzzleFile(const std::string& path);

  int MaxOrientation() const { return FPlayOptions.AllowRotation ? 3 : 0; }

  TProgressEvent OnProgress;
  // Threads that cut pieces side by side (0 = one per core); the result is the same for any.
  unsigned Threads = 0;
  TCutParameters& CutParameters() { return FCutParameters; }
  TPuzzlePlayOptions& PuzzleOptions() { return FPlayOptions; }
  TPieceList& Pieces() { return FPieces; }
  const TCutGrid& Grid() const { return FGrid; }
  const TMyDib& Picture() const { return FPicture; }
  const TMyDib& ScaledPicture() const { return FScaledPicture; }
  const TMyDib& CutMap() const { return FCutMap; }
  const TMyDib& CutPicture() const { return FCutPicture; }
  const TMyDib& LabelMap() const { return FLabelMap; }
  const TMyDib& Preview() const { return FPreview; }
  const std::string& FileName() const { return FFileName; }
  const std::string& LastError() const { return FLastError; }
  int MaxLabel() const { return FMaxLabel; }
  int LineWidth() const { return FLineWidth; }

 private:
  void MakeLabelMap();
  void CutPiece(TPiece& piece);
  // The look values as cut: the ranges the maker offers (a file may hold anything).
  int ShadowSize() const;
  int BevelStrength() const;

  TCutGrid FGrid;
  int FMaxLabel = 0;
  bool FStraightCuts = false;
  TMyDib FPicture, FScaledPicture, FCutMap, FCutPicture, FLabelMap;
  TMyDib FPreview;
  std::string FFileName;
  int FLineWidth = 1;
  TPieceList FPieces;
  TCutParameters FCutParameters;
  TPuzzlePlayOptions FPlayOptions;
  std::string FLastError;
};

}  // namespace qj
