// The autosave through the engine on a driven clock: after minutes of play but not of pause,
// when the window is away, beside a leave that waits for it, and a failure that play survives;
// and the worker beside a table that changes while it writes (the sanitizer build runs these).
#include <gtest/gtest.h>

#include <filesystem>

#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "creation/UGameRecord.h"
#include "play/UAutosave.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/ZipMaster.h"
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

class AutosaveTest : public TEngineFixture {
 protected:
  void SetUp() override {
    CopyShapeFile();
    WriteSettings("[Saving]\nAutosaveMinutes=1\n");
    picture = MakeJigsaw("Test", true);
    Start();
    Frame();
    Engine().PlayPicture(picture);
    Frame();
    ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().BoardPlay()));
  }
  // Frames a second apart: play, as long as the table is shown.
  void PlayFor(int seconds) {
    for (int i = 0; i < seconds; ++i) {
      clock.Advance(1000);
      mainWindow->Idle();
    }
  }
  bool Autosaved() {
    Engine().Autosave().Wait();
    return FileExists(ChangeFileExt(picture, ".zip"));
  }
  TBoardPlayInterface& Board() { return Engine().BoardPlay(); }
  std::string picture;
};

TEST_F(AutosaveTest, AMinuteOfPlaySavesTheGameAndContinueOffersIt) {
  PlayFor(58);
  EXPECT_FALSE(Autosaved());
  PlayFor(3);
  ASSERT_TRUE(Autosaved());
  EXPECT_TRUE(FileExists(TAutosave::MarkPath()));
  Options.LastJigsaw.clear();
  TAutosave::AdoptMark();  // as the next start after a kill does
  EXPECT_EQ(Options.LastJigsaw, picture);
  EXPECT_TRUE(TMainInterface::CanContinueLast());
  EXPECT_FALSE(Options.AutosavedAt.empty()) << "the hint tells when it was saved";
}

TEST_F(AutosaveTest, TimeUnderTheOptionsIsNoPlay) {
  PlayFor(30);
  Key(VK_F2);
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().OptionsScreen()));
  PlayFor(120);
  EXPECT_FALSE(Autosaved()) << "half an interval of play, then only pause";
  Key(VK_ESCAPE);
  Frame();
  PlayFor(31);
  EXPECT_TRUE(Autosaved());
}

TEST_F(AutosaveTest, OptionsOverAGameWhoseIntervalPassedSaveIt) {
  Options.AutosaveMinutes = 0;
  PlayFor(61);
  Key(VK_F2);
  Frame();
  EXPECT_FALSE(Autosaved()) << "0 turns the interval off";
  Options.AutosaveMinutes = 1;
  PlayFor(1);
  EXPECT_TRUE(Autosaved());
}

TEST_F(AutosaveTest, AWindowAwayForSecondsSavesTheGameOnce) {
  Options.AutosaveMinutes = 0;
  Focus(false);
  PlayFor(4);
  EXPECT_FALSE(Autosaved());
  PlayFor(2);
  ASSERT_TRUE(Autosaved());
  std::filesystem::remove(ChangeFileExt(picture, ".zip"));
  PlayFor(10);
  EXPECT_FALSE(Autosaved()) << "once for each time the window goes away";
}

// The leave waits for the autosave and then writes its own save over it.
TEST_F(AutosaveTest, LeavingWaitsForARunningAutosave) {
  ASSERT_TRUE(Engine().Autosave().Start());
  EXPECT_FALSE(Engine().Autosave().Start()) << "one at a time";
  Key(VK_ESCAPE);
  Frame();
  EXPECT_FALSE(Engine().Autosave().Running());
  EXPECT_FALSE(FileExists(TAutosave::MarkPath())) << "the game was left: nothing autosaved to speak of";
  EXPECT_TRUE(Options.AutosavedAt.empty());
  EXPECT_TRUE(FileExists(ChangeFileExt(picture, ".zip")));
}

TEST_F(AutosaveTest, AFailedAutosaveIsToldOnceAndPlayGoesOn) {
  std::filesystem::create_directory(ChangeFileExt(picture, ".hsc"));  // no score file can be written there
  PlayFor(61);
  Engine().Autosave().Wait();
  PlayFor(1);  // a resting table looks at a running autosave within a second
  ASSERT_NE(Board().UndoNote(), nullptr) << "the failure is told";
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Board()));
  EXPECT_TRUE(messages.empty()) << "no window to close";
  PlayFor(61);
  Engine().Autosave().Wait();
  Frame();
  EXPECT_TRUE(messages.empty());
}

// What the worker writes is what a save of the same table writes, whatever the table does while
// it writes.
TEST_F(AutosaveTest, TheAutosavedStreamIsTheSavedOne) {
  const std::string sav = ChangeFileExt(picture, ".sav"), zip = ChangeFileExt(picture, ".zip");
  const auto member = [&] {
    TZipMaster archive;
    archive.ZipFileName = zip;
    const TMemoryStream* stream = archive.ExtractMemberToStream(ExtractFileName(sav));
    return stream ? stream->Data : std::vector<uint8_t>{};
  };
  ASSERT_TRUE(Board().SaveGame(sav));
  const std::vector<uint8_t> saved = member();
  ASSERT_TRUE(Engine().Autosave().Start());
  // Drawn into as a join draws into the piece that grows, beside the worker.
  TPieces& set = Board().Pieces();
  for (int i = 0; i < set.Count(); ++i)
    if (TMyDib* bitmap = set.Piece(i).MutableBitmap(0)) bitmap->At(0, 0) = MakePixel(1, 2, 3);
  Engine().Autosave().Wait();
  const std::vector<uint8_t> autosaved = member();
  EXPECT_FALSE(saved.empty());
  EXPECT_EQ(autosaved, saved);
}

}  // namespace
}  // namespace qj::test
