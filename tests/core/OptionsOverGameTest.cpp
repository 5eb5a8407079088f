// The options screen over a paused game, through the whole program: the game waits suspended,
// and closing the program while the screen is shown still saves it.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "play/UBoardPlayInterface.h"
#include "screens/UOptionsInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

class OptionsOverGameTest : public TEngineFixture {
 protected:
  // The data set's themes, so the screen has its controls.
  OptionsOverGameTest() {
    std::filesystem::create_directory_symlink(std::string(QJ_PROGRAM_DIR) + "/Graphics", folder.File("Graphics"));
  }

  void Steps(std::initializer_list<uint16_t> keys) {
    for (const uint16_t key : keys) {
      Key(key);
      Frame();
      Frame();
    }
  }
};

TEST_F(OptionsOverGameTest, ClosingTheProgramOverAPausedGameSavesTheGame) {
  CopyShapeFile();
  const std::string jigsaw = MakeJigsaw("Test", true);
  Start();
  Options.LastJigsaw = jigsaw;
  Steps({'1', VK_RETURN, VK_F2});
  ASSERT_EQ(Engine().Active(), &Engine().OptionsScreen());
  ASSERT_TRUE(Engine().BoardPlay().GameSetUp());
  const std::string archive = ChangeFileExt(jigsaw, ".zip");
  ASSERT_FALSE(FileExists(archive));

  TInputEvent close{TInputKind::CloseQuery, 0, 0, 0, 0, 0};
  mainWindow->HandleEvent(close);
  Frame();
  EXPECT_TRUE(mainWindow->Terminated());
  EXPECT_TRUE(FileExists(archive)) << "the paused game is saved";
  EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsOverGameTest, OkAndEscapeReturnToThePausedGame) {
  CopyShapeFile();
  Options.LastJigsaw = MakeJigsaw("Test", true);
  Start();
  Steps({'1', VK_RETURN, VK_F2, VK_ESCAPE});
  EXPECT_EQ(Engine().Active(), &Engine().BoardPlay());
  Steps({VK_F2});
  ASSERT_EQ(Engine().Active(), &Engine().OptionsScreen());
  Engine().OptionsScreen().Button(TOptionsInterface::Ok)->Click();
  for (int i = 0; i < 15; ++i) Frame();
  EXPECT_EQ(Engine().Active(), &Engine().BoardPlay());
}

}  // namespace
}  // namespace qj::test
