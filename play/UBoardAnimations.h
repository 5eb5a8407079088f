// The board animations of a piece set: snaps that bring joined pieces into exact contact,
// place-and-pin moves and the stars of a fusion. They name pieces by index, so a fusion that
// renumbers the set renumbers them too.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "play/UPiece.h"

namespace qj {

class TBoardAnimations {
 public:
  TBoardAnimations(TGraphicsEngine& engine, TBoardState& board, TPieceStore& pieces);

  // The pin and star images of the current theme; FreeImages lets them go again.
  void LoadImages();
  void FreeImages();
  // Every animation ends where it is, and nothing waits to be fused.
  void Clear();

  // Steps every animation on every second frame.
  void Step();
  // A snaps into contact with b; joining waits for it.
  void AddSnap(TBPiece& a, TBPiece& b);
  void AddPlaceAndPin(int index, TPoint goal);
  // One star for each fused member, scattered over the piece last dropped.
  void AddStars(const std::vector<TBPiece*>& members, const TBPiece& at);
  // A piece the player takes or parks is no longer on its way to be pinned.
  void CancelPlace(int index);
  // The members' snaps and places end: they are being fused where they stand.
  void CancelMovesOf(const std::vector<TBPiece*>& members);
  int SnapCount() const;
  // Every snap lands and every place pins at once; onPinned is told of each piece pinned so.
  void FinishAll(const std::function<void(TBPiece&)>& onPinned);
  // After the set was renumbered; stars name no piece and keep their values.
  void Renumber(const std::function<void(int32_t&)>& translate);

 private:
  int Count() const { return int(FPieces.size()); }
  TBPiece& Piece(int index) { return *FPieces.at(size_t(index)); }
  bool StepSnap(TBoardEvent& e);
  bool StepPlace(TBoardEvent& e);
  bool StepStar(TBoardEvent& e);
  void Trim();

  TGraphicsEngine& FEngine;
  TBoardState& FBoard;
  TPieceStore& FPieces;
  std::vector<std::shared_ptr<const TMyDib>> FStarImages;
};

}  // namespace qj
