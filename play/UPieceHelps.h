// The helps of the play table: a piece's neighbours pulled to it, hints on the neighbours near
// what is carried, and loose pieces scattered or pushed aside by the mouse.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "play/UPiece.h"

namespace qj {

class TPieceHelps {
 public:
  // join: how the set joins a pulled piece to the piece it was pulled to.
  TPieceHelps(TPieceStore& pieces, std::function<void(TBPiece&, TBPiece&)> join);

  // No pull is running any more.
  void Reset();
  // The loose neighbours of the piece slide to it and join it; false when none could start.
  // While pulls run, only the same piece may pull again.
  bool PullNeighbours(int index);
  // The piece pulls are running to, or -1.
  int MagnetTarget() const { return FMagnetTarget; }
  // The neighbours of the carried pieces that lie within the hint range are marked.
  void ShowProximityHints(const std::vector<TBPiece*>& carried);
  void ClearHints();
  // Pieces around (x, y) slide away; areas in `avoid` are not landed on when possible.
  // Both return the pieces they set sliding.
  std::vector<TBPiece*> Scatter(int x, int y, int speedRange, int reach, const std::vector<TRect>& avoid);
  std::vector<TBPiece*> PushAside(int x, int y, int reach);
  // After the set was renumbered.
  void Renumber(const std::function<void(int32_t&)>& translate);

 private:
  int Count() const { return int(FPieces.size()); }
  TBPiece& Piece(int index) { return *FPieces.at(size_t(index)); }
  void PullFinished(int a, int b);

  TPieceStore& FPieces;
  std::function<void(TBPiece&, TBPiece&)> FJoin;
  int FMagnetTarget = -1;
  int FMagnetCount = 0;  // pulls still running to the target
};

}  // namespace qj
