// The road of a game through the engine: a puzzle is cut with progress reports and played; the
// play clock ignores long stalls; the options screen pauses the game and returns to it.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/UInfoWindow.h"
#include "core/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "creation/UPuzzleMakerInterface.h"
#include "play/UBoardPlayInterface.h"
#include "platform/Dib.h"
#include "platform/Input.h"
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/core/EngineFixture.h"

namespace qj::test {
namespace {

class PlayRoadTest : public TEngineFixture {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder.File("Shapes"));
    std::filesystem::copy_file(std::string(QJ_SOURCE_DIR) + "/data/Shapes/Shape1.txt",
                               folder.File("Shapes/Shape1.txt"));
    picture = MakeJigsaw();
    Start();
    Frame();
  }

  // A 160 x 120 picture cut into 40 x 40 pieces: 4 x 3 = 12 pieces.
  std::string MakeJigsaw() {
    TMyDib dib(160, 120, 24);
    for (int y = 0; y < dib.Height(); ++y)
      for (int x = 0; x < dib.Width(); ++x) dib.At(x, y) = MakePixel(x * 3 % 256, y * 5 % 256, (x * y) % 256);
    const std::string path = folder.File("Jigsaws/Test.bmp");
    EXPECT_TRUE(dib.SaveToFile(path));
    TPuzzleCutter cutter;
    cutter.LoadPicture(path);
    cutter.ScalePicture(1);
    cutter.SetCutStyle(0, 1, 40, 40, 0, 0, 1, 1);
    cutter.DrawCutMap();
    EXPECT_TRUE(cutter.SavePuzzleFile(folder.File("Jigsaws/Test.pzl")));
    return path;
  }

  void PlayFromSelector() {
    Key('1');
    Frame();
    Engine().Selector().FCurrentPath = picture;
    Engine().Selector().Finish(1);
    Frame();
  }

  TInterface* Play() { return &Engine().BoardPlay(); }
  std::string picture;
};

TEST_F(PlayRoadTest, ANewGameCutsThePictureWithOneProgressStepPerPiece) {
  PlayFromSelector();
  ASSERT_EQ(Engine().Active(), Play());
  EXPECT_EQ(Engine().BoardPlay().PieceCount(), 12);
  EXPECT_EQ(Options.LastJigsaw, picture);
  EXPECT_EQ(InfoWindow().FMax, 11);
  EXPECT_EQ(InfoWindow().FPosition, 11);
  EXPECT_TRUE(Engine().Maker().Cutter().Pieces().empty()) << "the cutter let go of its work";
}

TEST_F(PlayRoadTest, ThePlayClockSkipsStallsOfMoreThanThreeSeconds) {
  PlayFromSelector();
  ASSERT_EQ(Engine().Active(), Play());
  const double start = GameStartTime;
  clock.Advance(10000);
  mainWindow->Idle();
  EXPECT_NEAR((GameStartTime - start) * 86400.0, 10.0, 0.001);
  const double afterStall = GameStartTime;
  clock.Advance(2880);
  mainWindow->Idle();
  EXPECT_EQ(GameStartTime, afterStall) << "a 2.9 s frame counts as play";
}

TEST_F(PlayRoadTest, TheOptionsScreenPausesTheGameAndReturnsToIt) {
  PlayFromSelector();
  ASSERT_EQ(Engine().Active(), Play());
  Key(VK_F2);
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().OptionsScreen()));
  EXPECT_EQ(Engine().OptionsScreen().FResult, 1);
  Key(VK_ESCAPE);
  Frame();
  EXPECT_EQ(Engine().Active(), Play());
}

TEST_F(PlayRoadTest, ContinuingWithoutASavedGameReturnsToTheMainMenu) {
  Options.LastJigsaw = picture;
  Key('3');
  Frame();
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
}

}  // namespace
}  // namespace qj::test
