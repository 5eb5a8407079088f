// The road of a game through the engine: a puzzle is cut with progress reports and played; the
// play clock ignores long stalls; the options screen pauses the game and returns to it.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/UInfoWindow.h"
#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "creation/UGameRecord.h"
#include "screens/UPuzzleMakerInterface.h"
#include "play/UBoardPlayInterface.h"
#include "platform/Dib.h"
#include "platform/IniFile.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

class PlayRoadTest : public TEngineFixture {
 protected:
  void SetUp() override {
    CopyShapeFile();
    picture = MakeJigsaw("Test", true);
    Start();
    Frame();
  }

  void PlayFromSelector() {
    Key('1');
    Frame();
    ASSERT_EQ(Engine().Selector().CurrentPath(), picture);
    Key(VK_RETURN);
    Frame();
  }

  // The picture's file replaced by its first half, as a broken copy would leave it.
  void Truncate(const std::string& path) {
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
  }

  bool LastMessageNames(const std::string& what) {
    return !messages.empty() && messages.back().find(what) != std::string::npos;
  }

  TInterface* Play() { return &Engine().BoardPlay(); }
  std::string picture;
};

TEST_F(PlayRoadTest, ANewGameCutsThePictureWithOneProgressStepPerPiece) {
  PlayFromSelector();
  ASSERT_EQ(Engine().Active(), Play());
  EXPECT_EQ(Engine().BoardPlay().PieceCount(), 12);
  EXPECT_EQ(Options.LastJigsaw, picture);
  EXPECT_EQ(InfoWindow().Max(), 11);
  EXPECT_EQ(InfoWindow().Position(), 11);
  EXPECT_TRUE(Engine().Maker().Cutter().Picture().Empty()) << "the game was cut without the maker's cutter";
}

// Straight to the table: a picture without a puzzle gets one with the maker's first values;
// one with a saved game continues it.
TEST_F(PlayRoadTest, PlayingAGivenPictureMakesItsPuzzleOrContinuesItsGame) {
  const std::string fresh = MakeJigsaw("Fresh", false);
  Engine().PlayPicture(fresh);
  Frame();
  ASSERT_EQ(Engine().Active(), Play());
  EXPECT_TRUE(FileExists(ChangeFileExt(fresh, ".pzl")));
  const int pieces = Engine().BoardPlay().PieceCount();
  EXPECT_GT(pieces, 1);
  Key(VK_ESCAPE);
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
  ASSERT_TRUE(FileExists(ChangeFileExt(fresh, ".zip")));
  EXPECT_EQ(InfoWindow().Position(), InfoWindow().Max()) << "the save's progress ran to its end";
  Engine().PlayPicture(fresh);
  Frame();
  ASSERT_EQ(Engine().Active(), Play());
  EXPECT_EQ(Engine().BoardPlay().PieceCount(), pieces);
  EXPECT_EQ(InfoWindow().Position(), InfoWindow().Max()) << "the continue's progress ran to its end";
  EXPECT_TRUE(messages.empty());
}

TEST_F(PlayRoadTest, ThePlayClockSkipsStallsOfMoreThanThreeSeconds) {
  PlayFromSelector();
  ASSERT_EQ(Engine().Active(), Play());
  const double start = Engine().BoardPlay().GameStartTime();
  clock.Advance(10000);
  mainWindow->Idle();
  EXPECT_NEAR((Engine().BoardPlay().GameStartTime() - start) * 86400.0, 10.0, 0.001);
  const double afterStall = Engine().BoardPlay().GameStartTime();
  clock.Advance(2880);
  mainWindow->Idle();
  EXPECT_EQ(Engine().BoardPlay().GameStartTime(), afterStall) << "a 2.9 s frame counts as play";
}

TEST_F(PlayRoadTest, TheOptionsScreenPausesTheGameAndReturnsToIt) {
  PlayFromSelector();
  ASSERT_EQ(Engine().Active(), Play());
  Key(VK_F2);
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().OptionsScreen()));
  EXPECT_EQ(Engine().OptionsScreen().Result(), 1);
  Key(VK_ESCAPE);
  Frame();
  EXPECT_EQ(Engine().Active(), Play());
}

TEST_F(PlayRoadTest, AltEnterInTheSelectorStartsNoGame) {
  Key('1');
  Frame();
  Key(VK_RETURN, ssAlt);
  Frame();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().Selector()));
}

// A minute on the options screen over the game is no play; the second after it is. The saved
// game's score file holds the playing time.
TEST_F(PlayRoadTest, TimeOnTheOptionsScreenIsNotPlayTime) {
  PlayFromSelector();
  ASSERT_EQ(Engine().Active(), Play());
  const auto playFor = [this](int frames, int ms) {
    for (int i = 0; i < frames; ++i) {
      clock.Advance(ms);
      mainWindow->Idle();
    }
  };
  playFor(50, 20);
  Key(VK_F2);
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().OptionsScreen()));
  playFor(60, 1000);
  Key(VK_ESCAPE);
  Frame();
  ASSERT_EQ(Engine().Active(), Play());
  playFor(50, 20);
  Key(VK_ESCAPE);
  Frame();
  TGameRecord best, last;
  ASSERT_TRUE(ReadScoreFile(ChangeFileExt(picture, ".hsc"), best, last));
  EXPECT_NEAR(last.Elapsed * 86400.0, 2.0, 0.1);
}

// A saved game continued from the selector becomes the last jigsaw: the main menu's Continue
// takes it up again, and the settings written at the end name it.
TEST_F(PlayRoadTest, ContinuingFromTheSelectorMakesTheGameTheLastJigsaw) {
  const std::string other = MakeJigsaw("Other", true);
  for (const std::string& jigsaw : {picture, other}) {
    ASSERT_EQ(Choose(jigsaw), "selector");
    ASSERT_EQ(Step({VK_RETURN}), "play");
    ASSERT_EQ(Step({VK_ESCAPE}), "main-menu");
  }
  ASSERT_EQ(Choose(picture), "selector");
  ASSERT_EQ(Step({VK_RETURN}), "play");
  ASSERT_EQ(Step({VK_ESCAPE}), "main-menu");
  ASSERT_EQ(Step({'3'}), "play");
  EXPECT_EQ(Engine().BoardPlay().SavPath(), ChangeFileExt(picture, ".sav"));
  Close();
  EXPECT_EQ(TIniFile(DataPath("Text/Jigsaw.stg")).ReadString("Autoload", "LastJigsaw", ""), picture);
}

TEST_F(PlayRoadTest, ContinuingWithoutASavedGameReturnsToTheMainMenu) {
  Options.LastJigsaw = picture;
  Key('3');
  Frame();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
}

TEST_F(PlayRoadTest, ADamagedPictureIsNamedAndThePlayerStaysInTheSelector) {
  Truncate(picture);
  PlayFromSelector();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().Selector()));
  EXPECT_TRUE(LastMessageNames("Test.bmp")) << (messages.empty() ? "no message" : messages.back());
  EXPECT_EQ(Engine().BoardPlay().PieceCount(), 0) << "no empty game";
  EXPECT_NE(Options.LastJigsaw, picture);
  EXPECT_EQ(Engine().LeakedSprites(), 0);
}

TEST_F(PlayRoadTest, ADamagedJpegIsRefusedWithTheDecodersCause) {
  TMyDib photo;
  ASSERT_TRUE(photo.LoadFromFile(picture));
  const std::string jpeg = folder.File("Jigsaws/Photo.jpg");
  ASSERT_TRUE(SaveJpeg(photo, jpeg, 90, nullptr));
  std::filesystem::copy_file(ChangeFileExt(picture, ".pzl"), ChangeFileExt(jpeg, ".pzl"));
  Truncate(jpeg);
  Key('1');
  Frame();
  ASSERT_EQ(Engine().Selector().CurrentPath(), jpeg) << "the first picture of the library";
  Key(VK_RETURN);
  Frame();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().Selector()));
  EXPECT_TRUE(LastMessageNames("Photo.jpg"));
  EXPECT_EQ(Engine().BoardPlay().PieceCount(), 0);
}

TEST_F(PlayRoadTest, APictureWithoutItsPuzzleFileIsNotPlayed) {
  std::filesystem::remove(ChangeFileExt(picture, ".pzl"));
  Key('1');
  Frame();
  // The selector's Play opens the maker on such a picture; a new game asked of it all the same
  // is refused.
  Engine().Selector().Finish(SelectorResult::NewGame);
  Frame();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().Selector()));
  EXPECT_TRUE(LastMessageNames("Test.bmp"));
}

TEST_F(PlayRoadTest, ContinuingADamagedJigsawStaysOnTheMainMenu) {
  Options.LastJigsaw = picture;
  Truncate(ChangeFileExt(picture, ".pzl"));
  folder.Write("Jigsaws/Test.zip", "a saved game");  // Continue is offered only with one
  Key('3');
  Frame();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
  EXPECT_TRUE(LastMessageNames("Test.pzl"));
  EXPECT_TRUE(Engine().BoardPlay().Done()) << "the play screen was not left entered";
}

TEST_F(PlayRoadTest, TheMakerOfAMissingPictureDoesNotOpen) {
  Options.LastJigsaw = folder.File("Jigsaws/Gone.jpg");
  Key('4');
  Frame();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
  EXPECT_TRUE(LastMessageNames("Gone.jpg"));
  CloseMessages();
  Options.LastJigsaw.clear();
  Key('4');
  Frame();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
  EXPECT_EQ(messages.size(), 2u);
}

// Not every failure is a lack of memory: a cut that fails is reported with its cause, the
// player lands on the main menu and the game goes on.
TEST_F(PlayRoadTest, AFailedCutIsReportedAndLeadsToTheMainMenu) {
  std::filesystem::remove(folder.File("Shapes/Shape1.txt"));
  PlayFromSelector();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
  EXPECT_TRUE(LastMessageNames("Shape")) << (messages.empty() ? "no message" : messages.back());
  EXPECT_FALSE(mainWindow->Terminated());
  EXPECT_TRUE(Engine().BoardPlay().Done());
  CloseMessages();
  CopyShapeFile();
  PlayFromSelector();
  EXPECT_EQ(Engine().Active(), Play());
  EXPECT_EQ(Engine().BoardPlay().PieceCount(), 12);
}

// A file dropped onto the window joins the library and the player sees it chosen in the
// selector; a file that is no picture is refused with a message and nothing is copied.
TEST_F(PlayRoadTest, ADroppedPictureJoinsTheLibraryAndIsChosen) {
  TMyDib photo(64, 48, 24);
  photo.Fill(MakePixel(10, 200, 30));
  TTempFolder elsewhere;
  const std::string dropped = elsewhere.File("Holiday.bmp");
  ASSERT_TRUE(photo.SaveToFile(dropped));
  TInputEvent drop{.Kind = TInputKind::DropFile, .Path = dropped};
  mainWindow->HandleEvent(drop);
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().Selector()));
  EXPECT_EQ(ExtractFileName(Engine().Selector().CurrentPath()), "Holiday.bmp");
  EXPECT_NE(Engine().Selector().ThumbOf(Engine().Selector().CurrentPath()), nullptr);

  const std::string text = elsewhere.Write("notes.jpg", "shopping list");
  TInputEvent refused{.Kind = TInputKind::DropFile, .Path = text};
  mainWindow->HandleEvent(refused);
  Frame();
  EXPECT_TRUE(LastMessageNames("notes.jpg"));
  EXPECT_FALSE(FileExists(folder.File("Jigsaws/notes.jpg")));
}

}  // namespace
}  // namespace qj::test
