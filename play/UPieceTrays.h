// The five trays of the play table and the pieces in them. Each tray has a slot of depths above
// the table for its window and its pieces, the active tray's slot on top; pieces ride along with
// their tray, which grows to hold them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "play/UPiece.h"
#include "play/USavedGame.h"

namespace qj {

class TDXTrayWindow;
class TInterface;

constexpr double kTraySlot = 10000;  // depth room of one tray and its pieces

// The depths the pieces of one container (the table or a tray) are stacked in.
struct TPieceBand {
  double Low, High;
};

class TPieceTrays {
 public:
  TPieceTrays(TInterface& screen, TPieceStore& pieces);

  // The trays' slots lie below trayTop; returns the depth the table's pieces stay under.
  double SetDepths(double trayTop);
  // Five trays, owned by the screen until it is left; tray 1's icon is shown. Icons are drawn
  // at iconDepth.
  void Create(double iconDepth);
  // The screen's trays are gone.
  void Forget() { FTrays.fill(nullptr); }
  TDXTrayWindow* Window(int number) const {
    return number >= 1 && number <= kTrayCount ? FTrays[size_t(number)] : nullptr;
  }
  // The shown tray containing the point (table coordinates) drawn highest, or 0.
  int TrayAt(int x, int y) const;
  // Larger pieces stay on the table.
  static bool Fits(const TBPiece& piece);
  // Where the pieces in a tray (1 and up) are stacked: above its window.
  TPieceBand Band(uint32_t tray) const;

  // The piece goes into the tray and shows as the tray does; false when there is no such tray.
  bool Receive(TBPiece& piece, int tray);
  // A piece in a tray stays in its client area; the tray grows to the right and down to hold it.
  void KeepInside(int index);
  // A piece entered or left a tray: the pieces in trays are listed again when next needed.
  void ContentsChanged() { FListDirty = FCaptionsDue = true; }
  // Something entered or left a tray since the last call: the captions may say otherwise now.
  bool TakeCaptionsDue() { return std::exchange(FCaptionsDue, false); }
  // The tray icons and the trays' contents, once a frame.
  void Update();

  void SaveTo(TSavedGame& game) const;
  void LoadFrom(const TSavedGame& game);

  // A piece emptied out of its tray lies on the table again; the set stacks it on top.
  std::function<void(int index)> OnBackOnTable;

 private:
  const std::vector<TBPiece*>& PiecesInTrays();
  void UpdateIcons();
  void UpdateContents();
  void Activated(int number);
  void Shown(int number);
  void Emptied(int number);

  TInterface& FScreen;
  TPieceStore& FPieces;
  std::array<double, kTrayCount + 1> FDepth{};
  std::array<TDXTrayWindow*, kTrayCount + 1> FTrays{};  // slot 0 unused; the screen owns them
  std::vector<TBPiece*> FList;  // the pieces in trays, while FListDirty is clear
  bool FListDirty = true;
  bool FCaptionsDue = false;
};

}  // namespace qj
