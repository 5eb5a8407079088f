// A play screen on a windowless display with a driven clock, a fresh cut of a small picture in
// a folder of its own, and the moves a player makes with pieces: take, turn, carry, drop.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "creation/UBitmapBuilder.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"
#include "tests/creation/CutterTestSupport.h"
#include "tests/support/ScreenSetup.h"
#include "tests/support/TempFolder.h"

namespace qj::test {

class TPlayTest : public ::testing::Test {
 protected:
  TPlayTest();
  ~TPlayTest() override;

  // Cuts a width x height picture (bevel 0, so pieces show the picture's own pixels) with its
  // puzzle file in the folder and starts a new game of it on the entered screen.
  void NewGame(TCutSetup setup = {}, int width = 160, int height = 120);
  // Leaves (saving the game), enters the screen again and continues the saved game of the same
  // picture, with no frame run and no time gone by.
  [[nodiscard]] bool Continue();
  // `frames` frames of 20 ms.
  void Frames(int frames);
  // Frames until every snap, pull and fusion has ended.
  void Settle();
  // Takes the piece at its middle, turns it to `orientation` and drops it with its top-left at
  // `at`. False when it could not be picked up.
  bool Carry(int index, TPoint at, int orientation = -1);
  // Where a piece lies upright when the picture's top-left box corner is at `origin`.
  TPoint Home(const TBPiece& piece, TPoint origin = {200, 200}) const;
  // Puts every piece at its home, one drop at a time, until one piece is left.
  void Solve();
  // Every piece's index is its place and every neighbour exists and is not the piece itself.
  void ExpectConsistent();

  TPieces& Set() { return Screen->Pieces(); }
  TBPiece& Piece(int index) { return Set().Piece(index); }
  std::string PicturePath() const { return Folder.File("picture.bmp"); }
  std::string SavPath() const { return Folder.File("picture.sav"); }
  std::string ZipPath() const { return Folder.File("picture.zip"); }

  TManualClock Clock;
  THeadlessDisplay Display{800, 600};
  TGraphicsEngine Engine{Display};
  TScreenSetup Setup{Clock, Display};
  std::unique_ptr<TBoardPlayInterface> Screen;
  TTempFolder Folder;
  TMyDib Picture;
  TPieceList CutPieces;  // the cut as it was before the game took its images
  TMyDib LabelMap;       // the cut's map of piece labels
  std::vector<std::string> Errors;
};

}  // namespace qj::test
