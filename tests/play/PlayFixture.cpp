#include "tests/play/PlayFixture.h"

#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UPuzzleFile.h"
#include "platform/Display.h"
#include "platform/Paths.h"

namespace qj::test {

TPlayTest::TPlayTest() {
  Screen = std::make_unique<TBoardPlayInterface>(&Engine);
  Screen->SetDepthRange(0, 99990);
  Screen->OnError = [this](const std::string& title, const std::string& text) { Errors.push_back(title + ": " + text); };
  Screen->OnSaveFailed = [this](const std::string& title, const std::string& text) {
    Errors.push_back(title + ": " + text);
    return ESaveAnswer::Cancel;
  };
  Screen->Enter();
}

TPlayTest::~TPlayTest() {
  Screen->Abandon();  // a test's game is not saved on the way out
  Screen->Leave();
  Screen.reset();
}

void TPlayTest::NewGame(TCutSetup setup, int width, int height) {
  Screen->Abandon();
  Screen->Leave();
  Screen->Enter();
  setup.Bevel = 0;
  Picture = MakeTestPicture(width, height);
  ASSERT_TRUE(Picture.SaveToFile(PicturePath()));
  TPuzzleCutter cutter;
  TShapeFolder shapes;
  ASSERT_TRUE(cutter.LoadPicture(PicturePath()));
  SetUpCutter(cutter, cutter.Picture(), setup);
  cutter.DrawCutMap();
  cutter.CountPieces();
  ASSERT_TRUE(cutter.SavePuzzleFile(ChangeFileExt(PicturePath(), ".pzl")));
  Randomize(cutter.CutParameters().RandomSeed);
  cutter.DrawCutMap();
  cutter.CutPieces();
  CutPieces = cutter.Pieces();
  LabelMap = cutter.LabelMap();
  Screen->NewGame(cutter, 600, 300);
  Frames(1);
}

bool TPlayTest::Continue() {
  Screen->Leave();
  TPuzzleCutter cutter;
  {
    TShapeFolder shapes;
    if (!cutter.LoadPicture(PicturePath()) || !cutter.LoadPuzzleFile(ChangeFileExt(PicturePath(), ".pzl"))) return false;
    cutter.ScalePicture(0);
    cutter.DrawCutMap();
    cutter.CropToGrid();
  }
  Screen->Enter();
  return Screen->LoadGame(cutter, SavPath());
}

void TPlayTest::Frames(int frames) {
  for (int i = 0; i < frames; ++i) {
    Clock.Advance(20);
    Screen->Update();
  }
}

void TPlayTest::Settle() {
  for (int i = 0; i < 10000 && Set().Settling(); ++i) Frames(1);
  Frames(1);
}

bool TPlayTest::Carry(int index, TPoint at, int orientation) {
  TBPiece& p = Piece(index);
  Set().Board().Mouse = {p.FPosition.X + p.Width() / 2, p.FPosition.Y + p.Height() / 2};
  if (!Set().PickUp(index)) return false;
  Set().StartCarrying(Screen->DragDepth());
  for (int turns = 0; orientation >= 0 && p.FOrientation != orientation && turns < 4; ++turns) {
    Set().RotateSelection(Set().Board().Mouse.X, Set().Board().Mouse.Y, false);
    while (p.Rotating()) Frames(1);
  }
  Set().Board().Mouse = {at.X + p.FGrab.X, at.Y + p.FGrab.Y};
  Frames(1);
  Set().DropSelection(Set().Board().Mouse.X, Set().Board().Mouse.Y, true);
  return true;
}

TPoint TPlayTest::Home(const TBPiece& piece, TPoint origin) const {
  const TPoint tl = piece.FBoxTopLeft[0];
  return {origin.X + tl.X - PieceMargin(), origin.Y + tl.Y - PieceMargin()};
}

// The growing piece (always the last) stays upright at its home; each neighbour is dropped a
// few pixels off its own home and snaps into place.
void TPlayTest::Solve() {
  while (Set().Count() > 1) {
    const int anchor = Set().Count() - 1;
    if (Piece(anchor).FState == PieceState::Pinned) Piece(anchor).TogglePin();
    if (Piece(anchor).FOrientation != 0 || Piece(anchor).FPosition != Home(Piece(anchor))) {
      ASSERT_TRUE(Carry(anchor, Home(Piece(anchor)), 0));
      Settle();
    }
    const TBPiece& fixed = Piece(Set().Count() - 1);
    ASSERT_FALSE(fixed.FNeighbours.empty());
    const int next = fixed.FNeighbours.front();
    if (Piece(next).FState == PieceState::Pinned) Piece(next).TogglePin();
    const TPoint home = Home(Piece(next));
    ASSERT_TRUE(Carry(next, {home.X + 3, home.Y - 2}, 0));
    Settle();
    ExpectConsistent();
  }
}

void TPlayTest::ExpectConsistent() {
  for (int i = 0; i < Set().Count(); ++i) {
    const TBPiece& p = Piece(i);
    EXPECT_EQ(p.FIndex, i);
    ASSERT_NE(p.Sprite(), nullptr);
    EXPECT_EQ(p.Sprite()->DrawTag, i);
    for (const int32_t n : p.FNeighbours) {
      EXPECT_GE(n, 0);
      EXPECT_LT(n, Set().Count());
      EXPECT_NE(n, i);
    }
  }
}

}  // namespace qj::test
