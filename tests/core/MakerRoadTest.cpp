// The maker reached through the engine: from the selector and back, the puzzle it saves played,
// and a picture that is gone by the time the maker would open it.
#include <gtest/gtest.h>

#include "controls/UButtons.h"
#include "app/UGameEngine.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "play/UBoardPlayInterface.h"
#include "screens/UPuzzleMakerInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

class MakerRoadTest : public TEngineFixture {
 protected:
  void SetUp() override {
    CopyShapeFile();
    picture = MakeJigsaw("Test", false);
    Start();
    Frame();
    Key('1');
    Frame();
    ASSERT_EQ(Engine().Active(), &Engine().Selector());
    ASSERT_EQ(Engine().Selector().CurrentPath(), picture);
  }
  std::string picture;
};

TEST_F(MakerRoadTest, MakeOpensTheMakerWhoseSaveLeadsBackToTheSelectorAndThePuzzlePlays) {
  Key('M');
  Frame();
  ASSERT_EQ(Engine().Active(), &Engine().Maker());
  Engine().Maker().Button(TPuzzleMakerInterface::Save)->Click();
  Frame();
  ASSERT_EQ(Engine().Active(), &Engine().Selector());
  EXPECT_TRUE(FileExists(ChangeFileExt(picture, ".pzl")));
  Key(VK_RETURN);
  Frame();
  ASSERT_EQ(Engine().Active(), &Engine().BoardPlay());
  EXPECT_EQ(Engine().BoardPlay().PieceCount(), 48);
}

TEST_F(MakerRoadTest, APictureGoneBeforeTheMakerOpensIsNamedAndThePlayerStaysInTheSelector) {
  Key('M');  // the selector has left; the maker opens at the end of the frame
  ASSERT_TRUE(DeleteFile(picture));
  Frame();
  Frame();
  EXPECT_EQ(Engine().Active(), &Engine().Selector());
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.back().find(picture), std::string::npos) << messages.back();
  EXPECT_TRUE(Engine().Maker().Done());
}

}  // namespace
}  // namespace qj::test
