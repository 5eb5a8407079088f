// Saving and continuing through the play screen: what comes back, what a failure leaves behind.
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "controls/UTrayWindow.h"
#include "core/UMiscelaneous.h"
#include "creation/UGameRecord.h"
#include "platform/Paths.h"
#include "platform/ZipMaster.h"
#include "play/USavedGame.h"
#include "tests/play/PlayFixture.h"

namespace qj::test {
namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  return bytes;
}

std::vector<uint8_t> SavedStream(const std::string& zip, const std::string& member) {
  TZipMaster archive;
  archive.ZipFileName = zip;
  const TMemoryStream* stream = archive.ExtractMemberToStream(member);
  return stream ? stream->Data : std::vector<uint8_t>{};
}

struct TPieceState {
  TPoint Position;
  int Orientation, Tray, State;
  double Depth;
  bool Visible;
  bool operator==(const TPieceState&) const = default;
};

std::vector<TPieceState> States(TPieces& set) {
  std::vector<TPieceState> states;
  for (int i = 0; i < set.Count(); ++i) {
    const TBPiece& p = set.Piece(i);
    states.push_back({p.FPosition, p.FOrientation, int(p.FTray), p.FState, p.Depth(), p.Sprite()->Visible});
  }
  return states;
}

class SaveFlowTest : public TPlayTest {
 protected:
  // A game under way: a join done, a piece pinned, two pieces in an open tray, one turned.
  void PlayABit() {
    NewGame({.PieceW = 40, .PieceH = 40});
    const int b = Piece(0).FNeighbours.front();
    ASSERT_TRUE(Carry(0, Home(Piece(0)), 0));
    const TPoint home = Home(Piece(b));
    ASSERT_TRUE(Carry(b, {home.X + 2, home.Y + 1}, 0));
    Settle();
    ASSERT_EQ(Set().Count(), 11);
    Piece(3).TogglePin();
    TDXTrayWindow& tray = *Set().Tray(1);
    tray.Open();
    tray.RestoreBounds(900, 700, 300, 200);
    ASSERT_TRUE(Carry(4, {920, 740}));
    ASSERT_TRUE(Carry(5, {1000, 760}));
    ASSERT_TRUE(Carry(6, {300, 500}, 2));
    Frames(40);
    ASSERT_EQ(Piece(4).FTray, 1u);
  }
};

TEST_F(SaveFlowTest, AContinuedGameIsTheGameThatWasLeft) {
  PlayABit();
  Clock.Advance(65000);
  const auto before = States(Set());
  const TDXTrayWindow& tray = *Set().Tray(1);
  const TRect trayBounds = tray.BoundsRect();
  const TGameRecord record = GameRecord;
  ASSERT_TRUE(Continue());
  EXPECT_TRUE(Errors.empty());
  EXPECT_EQ(States(Set()), before);
  EXPECT_EQ(Set().Tray(1)->BoundsRect(), trayBounds);
  EXPECT_TRUE(Set().Tray(1)->WindowShown());
  EXPECT_EQ(GameRecord.Drops, record.Drops);
  EXPECT_EQ(GameRecord.Joins, 1);
  EXPECT_NEAR(GameRecord.Elapsed * 86400, 65 + 3, 3);
  ExpectConsistent();
  for (int i = 0; i < Set().Count(); ++i)
    for (int o = 0; o < 4; ++o) EXPECT_NE(Piece(i).Bitmap(o), nullptr);
  // Play goes on from there to the end.
  Solve();
  EXPECT_EQ(GameRecord.Finished, 1);
}

// FNV-1a, 64 bits: enough to tell two streams apart.
uint64_t Digest(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (const uint8_t b : bytes) hash = (hash ^ b) * 0x100000001B3ull;
  return hash;
}

// The length and digest are those of the stream as the previous writer produced it for this very
// game (before saving went through libdeflate); a faster writer must not change one byte of it.
TEST_F(SaveFlowTest, TheSavedStreamKeepsItsBytes) {
  PlayABit();
  Clock.Advance(65000);
  ASSERT_TRUE(Screen->SaveGame(SavPath()));
  const auto stream = SavedStream(ZipPath(), "picture.sav");
  EXPECT_EQ(stream.size(), 1147303u);
  EXPECT_EQ(Digest(stream), 0x8CA5AA7F9251E6C3ull);
}

TEST_F(SaveFlowTest, SavingTheContinuedGameAgainGivesTheSameBytes) {
  PlayABit();
  ASSERT_TRUE(Continue());
  const auto first = SavedStream(ZipPath(), "picture.sav");
  ASSERT_FALSE(first.empty());
  ASSERT_TRUE(Continue());
  EXPECT_EQ(SavedStream(ZipPath(), "picture.sav"), first);
}

TEST_F(SaveFlowTest, TurnsAndJoinsUnderWayLandBeforeTheSave) {
  NewGame({.PieceW = 40, .PieceH = 40});
  const int b = Piece(0).FNeighbours.front();
  ASSERT_TRUE(Carry(0, Home(Piece(0)), 0));
  const TPoint home = Home(Piece(b));
  ASSERT_TRUE(Carry(b, {home.X + 6, home.Y + 6}, 0));
  ASSERT_TRUE(Set().Settling());
  const int orientation = Piece(7).FOrientation;
  const TPoint box = Piece(7).FBoxTopLeft[0];
  Set().RotateAt(7, Piece(7).FPosition.X + 20, Piece(7).FPosition.Y + 20, false);
  Frames(1);
  ASSERT_TRUE(Continue());
  EXPECT_EQ(Set().Count(), 11);
  for (int i = 0; i < Set().Count(); ++i) EXPECT_EQ(Piece(i).FGroup, -1);
  EXPECT_EQ(GameRecord.Joins, 1);
  int turned = 0;
  for (int i = 0; i < Set().Count(); ++i)
    if (Piece(i).FBoxTopLeft[0] == box) {
      EXPECT_EQ(Piece(i).FOrientation, (orientation + 1) % 4);
      ++turned;
    }
  EXPECT_EQ(turned, 1);
}

TEST_F(SaveFlowTest, APieceCarriedWhenLeavingIsPutDown) {
  PlayABit();
  Set().Board().Mouse = {Piece(8).FPosition.X + 20, Piece(8).FPosition.Y + 20};
  ASSERT_TRUE(Set().PickUp(8));
  Set().StartCarrying(Screen->DragDepth());
  Set().Board().Mouse = {1000, 300};
  Frames(2);
  const TPoint carried = Piece(8).FPosition;
  const TPoint box = Piece(8).FBoxTopLeft[0];
  ASSERT_TRUE(Continue());
  for (int i = 0; i < Set().Count(); ++i)
    if (Piece(i).FBoxTopLeft[0] == box) {
      EXPECT_EQ(Piece(i).FPosition, carried);
      EXPECT_EQ(Piece(i).Depth(), Set().TopDepthLimit());
    }
}

TEST_F(SaveFlowTest, LeavingRightAfterTheLastDropFinishesTheGame) {
  NewGame({.PieceW = 80, .PieceH = 60});
  ASSERT_EQ(Set().Count(), 4);
  const int b = Piece(0).FNeighbours.front();
  ASSERT_TRUE(Carry(0, Home(Piece(0)), 0));
  ASSERT_TRUE(Carry(b, Home(Piece(b)), 0));
  Settle();
  while (Set().Count() > 2) {
    const int next = Piece(Set().Count() - 1).FNeighbours.front();
    ASSERT_TRUE(Carry(next, Home(Piece(next)), 0));
    Settle();
  }
  const int last = Piece(Set().Count() - 1).FNeighbours.front();
  ASSERT_TRUE(Carry(last, Home(Piece(last)), 0));
  ASSERT_TRUE(Set().Settling());
  ASSERT_TRUE(Screen->SaveGame(SavPath()));
  EXPECT_EQ(GameRecord.Finished, 1);
  EXPECT_EQ(Set().Count(), 1);
}

TEST_F(SaveFlowTest, PiecesThatCannotBeOfTheCutAreRefused) {
  PlayABit();
  Screen->Leave();
  const auto good = SavedStream(ZipPath(), "picture.sav");
  const auto spoil = [&](const std::function<void(TSavedGame&)>& change) {
    TSavedGame game;
    std::string error;
    const TSavedGameLimits limits{3, 12, 400};
    EXPECT_TRUE(DecodeSavedGame(good.data(), good.size(), limits, game, error)) << error;
    change(game);
    TZipMaster zip;
    zip.ZipFileName = ZipPath();
    EXPECT_TRUE(zip.AddMemberFromMemory("picture.sav", EncodeSavedGame(game, 3)));
  };
  const std::vector<std::function<void(TSavedGame&)>> changes = {
      [](TSavedGame& g) { g.Pieces[0].BoxBottomRight[0].X += 60000; },
      [](TSavedGame& g) { g.Pieces[1].BoxTopLeft[0] = {-500, -500}; },
      [](TSavedGame& g) { g.Pieces[2].BoxTopLeft[2].X += 1; },
      [](TSavedGame& g) { g.Pieces[0].Bitmaps[1] = TMyDib(5, 5, 32); },
      [](TSavedGame& g) { g.Record.InitialPieces = 11; },
      [](TSavedGame& g) { g.Record.Finished = 1; },
  };
  for (size_t k = 0; k < changes.size(); ++k) {
    spoil(changes[k]);
    Errors.clear();
    EXPECT_FALSE(Continue()) << k;
    EXPECT_EQ(Errors.size(), 1u) << k;
  }
}

TEST_F(SaveFlowTest, AFailedSaveLeavesTheOldArchiveAndSaysSo) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  PlayABit();
  ASSERT_TRUE(Screen->SaveGame(SavPath()));
  const auto archive = FileBytes(ZipPath());
  const auto scores = FileBytes(ChangeFileExt(PicturePath(), ".hsc"));
  ASSERT_TRUE(Carry(7, {800, 800}));
  ASSERT_EQ(chmod(Folder.Path().c_str(), 0555), 0);
  EXPECT_FALSE(Screen->SaveGame(SavPath()));
  chmod(Folder.Path().c_str(), 0755);
  EXPECT_EQ(FileBytes(ZipPath()), archive);
  EXPECT_EQ(FileBytes(ChangeFileExt(PicturePath(), ".hsc")), scores);
  ASSERT_FALSE(Errors.empty());
  EXPECT_NE(Errors.back().find(Lang(Text::SavingFailed)), std::string::npos);
}

TEST_F(SaveFlowTest, ARetriedSaveSucceedsOnceTheFolderIsWritable) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  PlayABit();
  int asked = 0;
  Screen->OnSaveFailed = [&](const std::string&, const std::string&) {
    chmod(Folder.Path().c_str(), 0755);
    ++asked;
    return ESaveAnswer::Retry;
  };
  ASSERT_EQ(chmod(Folder.Path().c_str(), 0555), 0);
  EXPECT_TRUE(Screen->SaveGame(SavPath()));
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(SavedStream(ZipPath(), "picture.sav").empty());
}

TEST_F(SaveFlowTest, ADamagedSaveIsRefusedAndLeftAsItIs) {
  PlayABit();
  Screen->Leave();
  auto stream = SavedStream(ZipPath(), "picture.sav");
  stream[80 + 5 * 18] = 0xFF;  // the piece count becomes absurd
  stream[80 + 5 * 18 + 3] = 0x7F;
  const std::string loose = Folder.File("picture.sav");
  ASSERT_TRUE(WriteFileAtomic(loose, stream.data(), stream.size()));
  TZipMaster zip;
  zip.ZipFileName = ZipPath();
  zip.FSpecArgs = {loose};
  ASSERT_TRUE(zip.AddSpecifiedFiles());
  std::remove(loose.c_str());
  const auto damaged = FileBytes(ZipPath());
  EXPECT_FALSE(Continue());
  EXPECT_EQ(Set().Count(), 0);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_NE(Errors[0].find(Lang(Text::LoadingFailed)), std::string::npos);
  // Leaving the screen of a game that never came back saves nothing over it.
  Screen->Leave();
  EXPECT_EQ(FileBytes(ZipPath()), damaged);
}

TEST_F(SaveFlowTest, NoArchiveMeansNothingToContinueAndNoMessage) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Screen->Abandon();
  EXPECT_FALSE(Continue());
  EXPECT_TRUE(Errors.empty());
  EXPECT_FALSE(FileExists(ZipPath()));
}

TEST_F(SaveFlowTest, AFinishedGameKeepsItsScoreWhenAbandoned) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Solve();
  ASSERT_EQ(GameRecord.Finished, 1);
  const double score = GameRecord.Score;
  Screen->Abandon();
  Screen->Leave();
  EXPECT_FALSE(FileExists(ZipPath()));
  TGameRecord best, last;
  ASSERT_TRUE(ReadScoreFile(ChangeFileExt(PicturePath(), ".hsc"), best, last));
  EXPECT_EQ(best.Score, score);
  EXPECT_EQ(last.Finished, 1);
  Screen->Enter();
}

TEST_F(SaveFlowTest, AFinishedGameIsSavedAndItsClockStandsStill) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Solve();
  const TGameRecord finished = GameRecord;
  Clock.Advance(3600000);
  ASSERT_TRUE(Continue());
  EXPECT_EQ(Set().Count(), 1);
  EXPECT_TRUE(Screen->Completed());
  EXPECT_EQ(GameRecord.Elapsed, finished.Elapsed);
  EXPECT_EQ(GameRecord.Score, finished.Score);
}

TEST_F(SaveFlowTest, AGameWithoutRotationSavesOneBitmapAPiece) {
  NewGame({.PieceW = 40, .PieceH = 40, .Rotation = false});
  for (int i = 0; i < Set().Count(); ++i) EXPECT_EQ(Piece(i).FOrientation, 0);
  ASSERT_TRUE(Continue());
  EXPECT_EQ(Set().Count(), 12);
  EXPECT_EQ(Piece(0).Bitmap(1), nullptr);
  Solve();
  EXPECT_EQ(GameRecord.Finished, 1);
}

}  // namespace
}  // namespace qj::test
