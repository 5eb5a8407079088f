// The game's own windows over the screens: failures named with their cause in the message window,
// closed by the player; the help laid out by the game, with no browser needed.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/UGameEngine.h"
#include "app/UModalWindows.h"
#include "controls/UButtons.h"
#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "platform/Dib.h"
#include "platform/Input.h"
#include "screens/UMainInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

class MessageWindowTest : public TEngineFixture {
 protected:
  MessageWindowTest() {
    // Every line a word of its own, so each cause is told apart.
    std::string lines;
    for (int i = 0; i < 640; ++i) lines += "Line" + std::to_string(i) + "\r\n";
    folder.Write("Text/English.lang", lines);
    Start();
    Frame();
  }

  TModalWindows& Modal() { return Engine().Modal(); }
  // The fixture has no theme images, so a button has no pixels to hit: it is clicked as the
  // program clicks it, and the frame after shows the outcome.
  void Press(TDXButton& button) {
    button.Click();
    Frame();
  }
  bool OnMainMenu() { return Engine().Active() == static_cast<TInterface*>(&Engine().MainMenu()); }

  // A JPEG cut off after its first kilobyte.
  std::string DamagedJpeg(const std::string& name) {
    TMyDib photo(200, 150);
    photo.Fill(MakePixel(90, 140, 200));
    const std::string path = folder.File(name);
    EXPECT_TRUE(SaveJpeg(photo, path, 90, nullptr));
    std::filesystem::resize_file(path, 600);
    return path;
  }

  std::string LongHelpPage() {
    std::string html = "<html><head><title>Main menu - Quorvane Jigsaw</title></head><body><h1>Main menu</h1>";
    for (int i = 0; i < 60; ++i) html += "<p>Paragraph <strong>" + std::to_string(i) + "</strong> of the help.</p>";
    return html + "</body></html>";
  }
};

TEST_F(MessageWindowTest, ADamagedPictureOnTheCommandLineIsNamedOverTheMainMenuAndClosedWithEnter) {
  const std::string picture = DamagedJpeg("Broken.jpg");
  Engine().TakePictures({picture});
  Frame();
  ASSERT_TRUE(Modal().Messages().Shown());
  EXPECT_TRUE(OnMainMenu());
  EXPECT_EQ(Modal().Messages().Title(), Lang(Text::LoadingFailed));
  EXPECT_NE(Modal().Messages().Text().find("Broken.jpg"), std::string::npos);
  EXPECT_NE(Modal().Messages().Text().find(Lang(Text::PictureDamaged)), std::string::npos);
  Key('1');  // the menu beneath waits
  Frame();
  EXPECT_TRUE(OnMainMenu());
  Key(VK_RETURN);
  Frame();
  EXPECT_FALSE(Modal().Messages().Shown());
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(MessageWindowTest, PlayNamesTheTrueCauseOfAPictureThatCannotBeOpened) {
  folder.Write("Notes.jpg", "shopping list");
  const struct {
    std::string picture;
    ETextId cause;
  } cases[] = {{folder.File("Missing.jpg"), Text::FileNotFound},
               {DamagedJpeg("Cut.jpg"), Text::PictureDamaged},
               {folder.File("Notes.jpg"), Text::FileNotAPicture}};
  for (const auto& c : cases) {
    Engine().PlayPicture(c.picture);
    Frame();
    ASSERT_TRUE(Modal().Messages().Shown()) << c.picture;
    EXPECT_NE(Modal().Messages().Text().find(Lang(c.cause)), std::string::npos) << Modal().Messages().Text();
    EXPECT_EQ(Modal().Messages().Text().find(Lang(Text::PictureTooSmall)), std::string::npos);
    Key(VK_ESCAPE);
    Frame();
    EXPECT_TRUE(OnMainMenu());
  }
}

TEST_F(MessageWindowTest, OkClosesTheWindowAndTheNextMessageFollows) {
  Engine().ReportError("First", "one");
  Engine().ReportError("Second", "two");
  Frame();
  ASSERT_EQ(Modal().Messages().Title(), "First");
  Press(*Modal().Messages().OkButton());
  EXPECT_EQ(Modal().Messages().Title(), "Second");
  EXPECT_EQ(messages.size(), 2u);
}

TEST_F(MessageWindowTest, ContinuingADamagedSavedGameIsNamedInTheWindow) {
  CopyShapeFile();
  const std::string picture = MakeJigsaw("Test", true);
  folder.Write("Jigsaws/Test.zip", "not an archive at all");
  Options.LastJigsaw = picture;
  Key('3');
  Frame();
  ASSERT_TRUE(Modal().Messages().Shown());
  EXPECT_TRUE(OnMainMenu());
  EXPECT_NE(Modal().Messages().Text().find(Lang(Text::SavedGameIsDamaged)), std::string::npos);
  EXPECT_NE(Modal().Messages().Text().find("Test.zip"), std::string::npos);
}

TEST_F(MessageWindowTest, HelpIsShownScrolledAndClosedWithoutABrowser) {
  folder.Write("help/topic-22.html", LongHelpPage());
  Modal().Help().OnCanBrowse = [] { return false; };
  Key(VK_F1);
  Frame();
  ASSERT_TRUE(Modal().Help().Shown());
  EXPECT_EQ(Modal().Help().BrowserButton(), nullptr);
  EXPECT_EQ(Modal().Help().Page().Title, "Main menu");
  ASSERT_GT(Modal().Help().ScrollRange(), 0);
  Key(VK_NEXT);
  EXPECT_GT(Modal().Help().Scroll(), 0);
  Key(VK_HOME);
  Engine().MouseWheel(0, -1, 400, 300);
  EXPECT_GT(Modal().Help().Scroll(), 0);
  Key(VK_END);
  EXPECT_EQ(Modal().Help().Scroll(), Modal().Help().ScrollRange());
  Key(VK_ESCAPE);
  Frame();
  EXPECT_FALSE(Modal().Help().Shown());
  EXPECT_TRUE(OnMainMenu());
}

TEST_F(MessageWindowTest, ABrowserThatDoesNotStartIsReported) {
  folder.Write("help/topic-22.html", LongHelpPage());
  Modal().Help().OnCanBrowse = [] { return true; };
  Modal().Help().OnBrowse = [](int) { return false; };
  Key(VK_F1);
  Frame();
  ASSERT_NE(Modal().Help().BrowserButton(), nullptr);
  Press(*Modal().Help().BrowserButton());
  ASSERT_TRUE(Modal().Messages().Shown());
  EXPECT_EQ(Modal().Messages().Text(), Lang(Text::BrowserDidNotStart));
}

TEST_F(MessageWindowTest, ADamagedHelpPageGivesAMessageInsteadOfTheWindow) {
  folder.Write("help/topic-22.html", "<html><body><p>Buttons <strong");
  Key(VK_F1);
  Frame();
  EXPECT_FALSE(Modal().Help().Shown());
  ASSERT_TRUE(Modal().Messages().Shown());
  EXPECT_NE(Modal().Messages().Text().find(Lang(Text::HelpPageDamaged)), std::string::npos);
}

}  // namespace
}  // namespace qj::test
