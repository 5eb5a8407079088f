// The saved game's byte stream (<base>.sav, the only member of <base>.zip): the game record,
// the five trays, every piece with its bitmaps and neighbours, and the state of the in-game
// menu. Reading fills staging records that are checked in full before the game sees them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "creation/UGameRecord.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"
#include "platform/ZipMaster.h"

namespace qj {

constexpr int kTrayCount = 5;
constexpr int kMenuToggleButtons = 11;  // menu buttons 1..11 keep two toggles each

struct TSavedTray {
  uint8_t WindowVisible = 0;
  uint8_t IconVisible = 0;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;

  bool operator==(const TSavedTray&) const = default;
};

struct TSavedPiece {
  uint8_t State = 0;   // 0 free, 1 pin lifted, 2 pinned
  uint32_t Tray = 0;   // 0 table, 1..5
  // Position slots: the position, the display offset and two reserved points (always zero).
  // A puzzle without rotation stores slot 0 only.
  std::array<TPoint, 4> Slots{};
  std::array<TPoint, 4> BoxTopLeft{};      // per orientation
  std::array<TPoint, 4> BoxBottomRight{};  // per orientation
  TPoint TrayOrigin;
  int32_t Orientation = 0;
  int32_t MergeDepth = 0;
  int32_t Index = 0;
  std::array<TMyDib, 4> Bitmaps;  // per orientation; 32 bits (the alpha byte holds the shadow)
  // Writing takes a piece's bitmaps from here when set: shared with the sprites, not copied.
  std::array<std::shared_ptr<const TMyDib>, 4> BitmapRefs{};
  const TMyDib& BitmapAt(size_t o) const { return BitmapRefs[o] ? *BitmapRefs[o] : Bitmaps[o]; }
  std::vector<int32_t> Neighbours;
  double Depth = 0;
};

struct TSavedMenu {
  int32_t ScrollX = 0, ScrollY = 0;
  int32_t GhostX = 0, GhostY = 0;
  int32_t SmallPicLeft = 0, SmallPicTop = 0, SmallPicWidth = 0, SmallPicHeight = 0;
  int32_t SmallPicStep = 1;  // 1..8
  std::array<uint8_t, kMenuToggleButtons> LeftOn{};   // buttons 1..11
  std::array<uint8_t, kMenuToggleButtons> RightOn{};

  bool operator==(const TSavedMenu&) const = default;
};

struct TSavedGame {
  TGameRecord Record;
  std::array<TSavedTray, kTrayCount> Trays{};
  std::vector<TSavedPiece> Pieces;
  TSavedMenu Menu;
};

// What the puzzle allows a saved game of it to hold.
struct TSavedGameLimits {
  int OrientationHigh = 0;  // 3 with rotation, else 0
  int MaxPieces = 0;        // pieces of the cut
  int MaxBitmapSide = 0;    // no piece bitmap may be wider or higher (any orientation)
};

// The cut a saved game must belong to.
struct TCutShape {
  int Pieces = 0;             // pieces the cut makes
  int Width = 0, Height = 0;  // the cut picture
  int Margin = 0;             // a piece bitmap's reach beyond its box on every side
};

// Whether the game's pieces can be pieces of this cut: every box lies in the picture, every
// bitmap has its box's size, turned boxes are the upright one turned, and the record counts the
// cut's pieces. A game that passes cannot make fusing allocate more than the picture.
[[nodiscard]] bool MatchesCut(const TSavedGame& game, const TCutShape& cut, int orientationHigh, std::string& error);

// The stream's length in bytes.
size_t EncodedSize(const TSavedGame& game, int orientationHigh);
// The whole stream; piece bitmaps are written as 32-bit BMP files whatever their BitCount.
// orientationHigh is 0 or 3; every piece needs a non-empty bitmap for each orientation up to it,
// or the stream will not read back.
std::vector<uint8_t> EncodeSavedGame(const TSavedGame& game, int orientationHigh);
// The same stream handed to the sink in order, a piece at a time, never held whole.
void EncodeSavedGame(const TSavedGame& game, int orientationHigh, const TByteSink& sink);
// Reads and checks the stream: counts within the limits, indices, states, trays and orientations
// in range, bitmap headers and sizes, finite numbers, nothing left over. A bitmap stored with 24
// bits loads with BitCount 24 and alpha 0. On failure `out` is untouched and `error` names the
// first fault. Never throws; allocates no more than the stream's own size accounts for.
[[nodiscard]] bool DecodeSavedGame(const uint8_t* data, size_t size, const TSavedGameLimits& limits,
                                   TSavedGame& out, std::string& error);
// The same for a stream read once: each part already decoded goes back to the system as the
// pieces are read, so the stream and the bitmaps it becomes are never both resident in full.
// Afterwards the stream's bytes are lost (zeros in part), its size unchanged.
[[nodiscard]] bool DecodeSavedGameOnce(std::vector<uint8_t>& stream, const TSavedGameLimits& limits, TSavedGame& out,
                                       std::string& error);

}  // namespace qj
