// The widget images of a theme: complete sets are taken, a broken theme leaves the set in use.
#include <filesystem>

#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "platform/Paths.h"
#include "tests/controls/ControlFixture.h"
#include "tests/support/TempFolder.h"

namespace qj::test {
namespace {

using ControlImages = TControlTest;

TEST_F(ControlImages, EveryThemeOfTheDataSetIsComplete) {
  for (int theme = 0; theme < int(Themes.size()); ++theme) {
    UseTheme(theme);
    const auto images = CurrentControlImages();
    EXPECT_GE(images->ButtonFrames.size(), 1u);
    EXPECT_EQ(images->HintBackgrounds.size(), size_t(kHintBackgroundCount));
    for (const TWindowStyle& style : images->WindowStyles) EXPECT_TRUE(style.FrameActive && style.ClientBackground);
    for (const TImageList& set : images->ScrollBars) EXPECT_EQ(set.size(), size_t(ScrollBarImage::Count));
    EXPECT_GE(images->CheckBoxFrames.size(), 1u);
    EXPECT_EQ(images->TrayImages.size(), size_t(TrayImage::Count));
  }
}

TEST_F(ControlImages, ABrokenThemeKeepsTheSetInUseAndSaysWhy) {
  const auto before = CurrentControlImages();
  const TMyDib* frame = before->ButtonFrames[0].get();
  TTempFolder copy;
  std::filesystem::copy(ProgramFolder() + "/Text", copy.File("Text"), std::filesystem::copy_options::recursive);
  std::filesystem::copy(ProgramFolder() + "/Graphics", copy.File("Graphics"),
                        std::filesystem::copy_options::recursive);
  std::filesystem::remove(copy.File("Graphics/CheckBoxes/Check3-0.bmp"));
  const std::string program = ProgramFolder();
  SetProgramFolder(copy.Path());
  std::string error;
  EXPECT_FALSE(ReloadControlImages(error));
  SetProgramFolder(program);
  EXPECT_NE(error.find("Check3"), std::string::npos) << error;
  EXPECT_EQ(CurrentControlImages(), before);
  EXPECT_EQ(CurrentControlImages()->ButtonFrames[0].get(), frame);
}

TEST_F(ControlImages, FramesBeyondASetAreClampedIntoIt) {
  const TImageList& frames = CurrentControlImages()->CheckBoxFrames;
  EXPECT_EQ(ImageAt(frames, 99), frames.back().get());
  EXPECT_EQ(ImageAt(frames, -3), frames.front().get());
  EXPECT_EQ(ImageAt(TImageList{}, 0), nullptr);
}

}  // namespace
}  // namespace qj::test
