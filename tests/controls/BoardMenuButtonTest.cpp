// The two-sided bar button alone, pressed with the left, right and middle mouse button at its
// place: each side answers its own mouse button and each half of the face shows its side.
#include <memory>
#include <utility>
#include <vector>

#include "controls/UBoardMenuButton.h"
#include "platform/Input.h"
#include "tests/controls/ControlFixture.h"

namespace qj::test {
namespace {

constexpr int kLeft = 200, kTop = 300, kWidth = 60, kHeight = 40;
constexpr TPixel kOffColour = MakePixel(40, 40, 200), kOnColour = MakePixel(40, 200, 40);

class BoardMenuButton : public TControlTest {
 protected:
  // Frames of one colour each, so a half's colour tells which frame it shows.
  TBoardMenuButton& Make(EButtonMode left, EButtonMode right) {
    TImageList frames;
    for (int f = 0; f < MenuButtonFrame::Count; ++f) {
      auto frame = std::make_shared<TMyDib>(kWidth, kHeight);
      frame->Fill(f == MenuButtonFrame::On ? kOnColour : f == MenuButtonFrame::Off ? kOffColour : MakePixel(200, 40, 40));
      frames.push_back(std::move(frame));
    }
    TBoardMenuButton& button = Screen.AddOwnedControl<TBoardMenuButton>(3, left, right);
    button.SetImages(frames, nullptr);
    button.SetLeft(kLeft);
    button.SetTop(kTop);
    button.OnChanged = [this](TBoardMenuButton*, EMenuSide side) { Changes.push_back(side); };
    button.OnReleased = [this](TBoardMenuButton*, EMenuSide side) { Releases.push_back(side); };
    return button;
  }
  void ClickWith(int mouseButton) {
    Press(kLeft + kWidth / 2, kTop + kHeight / 2, mouseButton);
    Release(kLeft + kWidth / 2, kTop + kHeight / 2, mouseButton);
  }
  // The colours at the outer top corners of the left and the right half.
  std::pair<TPixel, TPixel> Halves() {
    Draw();
    return {PixelAt(kLeft + 1, kTop + 1), PixelAt(kLeft + kWidth - 2, kTop + 1)};
  }

  std::vector<EMenuSide> Changes, Releases;
};

TEST_F(BoardMenuButton, EachMouseButtonTogglesItsOwnSideAndHalf) {
  TBoardMenuButton& button = Make(EButtonMode::Toggle, EButtonMode::Toggle);
  EXPECT_EQ(button.FLeftHintText, "$6");
  EXPECT_EQ(button.FRightHintText, "$7");
  ClickWith(mbRight);
  EXPECT_FALSE(button.IsOn(EMenuSide::Left));
  EXPECT_TRUE(button.IsOn(EMenuSide::Right));
  EXPECT_EQ(Halves(), std::make_pair(kOffColour, kOnColour));
  ClickWith(mbMiddle);
  ClickWith(mbLeft);
  EXPECT_TRUE(button.IsOn(EMenuSide::Left));
  EXPECT_EQ(Halves(), std::make_pair(kOnColour, kOnColour));
  EXPECT_EQ(Changes, (std::vector<EMenuSide>{EMenuSide::Right, EMenuSide::Left}));
}

TEST_F(BoardMenuButton, AMomentarySideIsPressedOnlyWhileHeld) {
  TBoardMenuButton& button = Make(EButtonMode::Momentary, EButtonMode::Toggle);
  Press(kLeft + kWidth / 2, kTop + kHeight / 2, mbLeft);
  EXPECT_EQ(button.FLeftFrame, MenuButtonFrame::Pressed);
  EXPECT_TRUE(Releases.empty());
  Release(kLeft + kWidth / 2, kTop + kHeight / 2, mbLeft);
  EXPECT_EQ(button.FLeftFrame, MenuButtonFrame::Off);
  EXPECT_FALSE(button.IsOn(EMenuSide::Left));
  EXPECT_EQ(Releases, std::vector<EMenuSide>{EMenuSide::Left});
}

}  // namespace
}  // namespace qj::test
