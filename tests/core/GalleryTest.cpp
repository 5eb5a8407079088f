// The gallery (--gallery): every control at work on one screen of the real data set; T moves it
// to the next theme, and leaving it frees every control and sprite it made.
#include <filesystem>

#include "controls/UButtons.h"
#include "controls/UControlImages.h"
#include "controls/UControls.h"
#include "controls/UHints.h"
#include "controls/UTrayWindow.h"
#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Input.h"
#include "screens/UMainInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

class GalleryTest : public TEngineFixture {
 protected:
  void SetUp() override {
    for (const char* part : {"Text", "Graphics"})
      std::filesystem::copy(std::string(QJ_PROGRAM_DIR) + "/" + part, folder.File(part),
                            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    MakeJigsaw("Sample", false);
    TMainInterface::SetShowcase(EShowcase::Gallery, 0);
    FControlsBefore = TDXControl::LiveCount();
    Start();
    Frame();
  }
  void TearDown() override {
    TMainInterface::SetShowcase(EShowcase::None, -1);
    SetControlImages(nullptr);
  }

  template <class T>
  T* First() {
    for (TDXControl* c : Engine().MainMenu().FControls)
      if (auto* found = dynamic_cast<T*>(c)) return found;
    return nullptr;
  }

  int FControlsBefore = 0;
};

TEST_F(GalleryTest, HoldsAWorkingExampleOfEveryControl) {
  EXPECT_GE(TDXControl::LiveCount() - FControlsBefore, 12);
  TDXButton* button = First<TDXButton>();
  ASSERT_NE(button, nullptr);
  int clicks = 0;
  const TControlEvent counting = button->OnClick;
  button->OnClick = [&](TDXControl* sender) {
    ++clicks;
    counting(sender);
  };
  MouseClick(button->FLeft + button->FWidth / 2, button->FTop + button->FHeight / 2);
  EXPECT_EQ(clicks, 1);
  TDXTrayWindow* tray = First<TDXTrayWindow>();
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(tray->WindowShown());
  EXPECT_EQ(tray->FIconState, 3) << "an open tray with pieces";
}

TEST_F(GalleryTest, RestingOnAButtonShowsBothItsHints) {
  TDXButton* button = First<TDXButton>();
  MouseMove(button->FLeft + 20, button->FTop + 10);
  for (int i = 0; i < 60; ++i) Frame();
  EXPECT_TRUE(button->FHint->FSprite) << "the left hint";
  EXPECT_TRUE(button->FHint2->FSprite) << "the right hint";
}

TEST_F(GalleryTest, TStepsToTheNextThemeAndTheControlsFollow) {
  const auto before = CurrentControlImages();
  Key('T');
  Frame();
  EXPECT_EQ(Options.Environment, 1);
  EXPECT_NE(CurrentControlImages(), before);
  EXPECT_EQ(First<TDXButton>()->FFrames, CurrentControlImages()->ButtonFrames) << "buttons use the new frames";
  EXPECT_TRUE(messages.empty());
}

TEST_F(GalleryTest, ABrokenThemeIsNotTakenAndSaysWhy) {
  const std::string lost = "Button2-" + std::to_string(Themes.at(1).FileNr);
  ASSERT_TRUE(std::filesystem::remove(folder.File("Graphics/Buttons/" + lost + ".bmp")));
  const auto before = CurrentControlImages();
  Key('T');
  Frame();
  EXPECT_EQ(Options.Environment, 0) << "the theme in use stays";
  EXPECT_EQ(CurrentControlImages(), before);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(lost), std::string::npos) << messages[0];
  EXPECT_EQ(First<TDXButton>()->FFrames, before->ButtonFrames);
}

// After a display change every surface starts empty: the gallery is made again.
TEST_F(GalleryTest, ANewDisplayBringsTheControlsBack) {
  const int controls = TDXControl::LiveCount();
  Key(VK_RETURN, ssAlt);
  Frame();
  EXPECT_EQ(TDXControl::LiveCount(), controls);
  TDXButton* button = First<TDXButton>();
  ASSERT_NE(button, nullptr);
  EXPECT_GT(button->FSprite.Get()->Surfaces[0]->Width(), 1);
  EXPECT_EQ(Engine().LeakedSprites(), 0);
}

TEST_F(GalleryTest, LeavingFreesEveryControlAndSprite) {
  Engine().MainMenu().Leave();
  EXPECT_EQ(TDXControl::LiveCount(), FControlsBefore);
  EXPECT_EQ(Engine().Graphics().LiveSpriteCount(), 0);
  EXPECT_EQ(Engine().Graphics().StaleHandleUses(), 0);
}

}  // namespace
}  // namespace qj::test
