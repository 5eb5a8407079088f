// The main menu with the real data set: its picture at the right edge, buttons that show under
// the mouse, the keys, Continue only with the last jigsaw's files, the welcome line and the
// credits on the test clock.
#include <gtest/gtest.h>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UGameRecord.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"
#include "screens/UCredits.h"
#include "screens/UMainInterface.h"
#include "tests/support/ScreenSetup.h"
#include "tests/support/TempFolder.h"

namespace qj::test {
namespace {

class MainMenuTest : public ::testing::Test {
 protected:
  MainMenuTest() { Menu.SetDepthRange(0, 99990); }
  ~MainMenuTest() override { Menu.Leave(); }

  void Press(char32_t key) { Menu.KeyPress(key); }
  void Frames(int frames, uint32_t ms) {
    for (int i = 0; i < frames; ++i) {
      Clock.Advance(ms);
      Menu.Update();
      Engine.DrawFrame();
    }
  }
  TDXButton& Button(TMainInterface::EChoice choice) { return *Menu.Button(choice); }
  // The last jigsaw with the files Continue needs; `missing` names the one left out.
  void LastJigsawWithout(const std::string& missing) {
    Options.LastJigsaw = Library.File("Sunset.jpg");
    for (const char* ext : {".jpg", ".zip", ".pzl"}) {
      const std::string file = Library.File(std::string("Sunset") + ext);
      std::remove(file.c_str());
      if (missing != ext) Library.Write(std::string("Sunset") + ext, "x");
    }
  }

  TManualClock Clock;
  THeadlessDisplay Display{1024, 768};
  TGraphicsEngine Engine{Display};
  TMainInterface Menu{&Engine};
  TTempFolder Library;
  TScreenSetup Setup{Clock, Display};
};

TEST_F(MainMenuTest, ThePictureAndItsButtonsKeepToTheRightEdge) {
  Menu.Enter();
  for (int c = 0; c < TMainInterface::ChoiceCount; ++c) ASSERT_NE(Menu.Button(TMainInterface::EChoice(c)), nullptr);
  EXPECT_EQ(Button(TMainInterface::Play).FLeft, Engine.FWidth - 270) << "the layout's distance from the right edge";
  EXPECT_EQ(Button(TMainInterface::Play).FTop, 120);
  EXPECT_EQ(Button(TMainInterface::Credits).FTop, 384);
  EXPECT_EQ(Button(TMainInterface::Quit).FWidth, 230);

  Display.BackBuffer().SetSize(1600, 1200);
  Engine.UpdateSurfaceSize();
  Menu.Resize();
  EXPECT_EQ(Button(TMainInterface::Play).FLeft, 1600 - 270);
  EXPECT_EQ(Button(TMainInterface::Quit).FLeft, 1600 - 270);
}

TEST_F(MainMenuTest, OnlyTheFirstButtonUnderTheMouseLightsUp) {
  Menu.Enter();
  TDXButton& options = Button(TMainInterface::OptionsChoice);
  Menu.MouseMove(0, options.FLeft + 5, options.FTop + 5);
  EXPECT_TRUE(options.Highlighted());
  EXPECT_FALSE(Button(TMainInterface::Play).Highlighted());
  // Laid over each other, the earlier choice wins.
  TDXButton& quit = Button(TMainInterface::Quit);
  quit.SetBounds(options.FLeft, options.FTop, options.FWidth, options.FHeight);
  Menu.MouseMove(0, options.FLeft + 6, options.FTop + 6);
  EXPECT_TRUE(options.Highlighted());
  EXPECT_FALSE(quit.Highlighted());
  Menu.MouseMove(0, 5, 5);
  EXPECT_FALSE(options.Highlighted());
}

TEST_F(MainMenuTest, LettersChooseInEitherCase) {
  const std::pair<char32_t, int> keys[] = {{'p', MainMenuResult::Selector}, {'S', MainMenuResult::Selector},
                                           {'o', MainMenuResult::Options},  {'x', MainMenuResult::Quit},
                                           {'E', MainMenuResult::Quit},     {'m', MainMenuResult::MakerOfLast}};
  for (const auto& [key, result] : keys) {
    Menu.Enter();
    Press(key);
    EXPECT_TRUE(Menu.Done()) << char(key);
    EXPECT_EQ(Menu.Result(), result) << char(key);
  }
}

TEST_F(MainMenuTest, InputAfterTheChoiceIsIgnoredAndLeavingTwiceIsHarmless) {
  Menu.Enter();
  Press('o');
  Press('x');  // a second key of the same frame
  EXPECT_EQ(Menu.Result(), MainMenuResult::Options);
  Menu.Leave();
  EXPECT_TRUE(Menu.Done());
  EXPECT_EQ(Engine.LiveSpriteCount(), 0) << "everything the menu made is gone";
}

TEST_F(MainMenuTest, AClickOnAButtonChoosesIt) {
  Menu.Enter();
  TDXButton& play = Button(TMainInterface::Play);
  const int x = play.FLeft + play.FWidth / 2, y = play.FTop + play.FHeight / 2;
  Menu.MouseDown(0, ssLeft, x, y);
  Menu.MouseUp(0, 0, x, y);
  EXPECT_TRUE(Menu.Done());
  EXPECT_EQ(Menu.Result(), MainMenuResult::Selector);
}

TEST_F(MainMenuTest, ContinueNeedsThePictureItsSavedGameAndItsPuzzle) {
  for (const char* missing : {".jpg", ".zip", ".pzl"}) {
    LastJigsawWithout(missing);
    Menu.Enter();
    EXPECT_TRUE(Menu.ContinueDimmed()) << missing;
    Press('c');
    EXPECT_FALSE(Menu.Done()) << "without " << missing;
    Menu.Leave();
  }
  LastJigsawWithout("");
  Menu.Enter();
  EXPECT_FALSE(Menu.ContinueDimmed());
  Press('C');
  EXPECT_EQ(Menu.Result(), MainMenuResult::ContinueLast);
}

TEST_F(MainMenuTest, ContinueIsDimmedForAFinishedGameAndItsHintSaysSo) {
  LastJigsawWithout("");
  TGameRecord finished;
  finished.InitialPieces = 12;
  finished.Finished = 1;
  std::string error;
  ASSERT_TRUE(UpdateScoreFile(Library.File("Sunset.hsc"), finished, error)) << error;
  Menu.Enter();
  EXPECT_TRUE(Menu.ContinueDimmed());
  EXPECT_EQ(Button(TMainInterface::Continue).FHintText, Lang(Text::LastPuzzleFinished));
  Press('c');
  EXPECT_FALSE(Menu.Done());
}

// How many pixels of the button's own image (its caption) are drawn, and a sum that tells two
// captions apart.
std::pair<int, uint64_t> CaptionInk(const TDXButton& button) {
  int ink = 0;
  uint64_t sum = 0;
  for (int y = 0; button.FImage && y < button.FImage->Height(); ++y)
    for (int x = 0; x < button.FImage->Width(); ++x)
      if (const TPixel p = button.FImage->Row(y)[x] & kRgbMask) {
        ++ink;
        sum += p * uint64_t(x + 1);
      }
  return {ink, sum};
}

TEST_F(MainMenuTest, TheButtonsCarryTheirCaptionsInThePlayersLanguageUnderTheTitle) {
  std::vector<std::pair<int, uint64_t>> captions[2];
  for (const char* language : {"English.lang", "Deutsch.lang"}) {
    Options.LanguageFile = language;
    ASSERT_TRUE(LoadLanguage());
    Menu.Enter();
    for (int c = 0; c < TMainInterface::ChoiceCount; ++c) {
      const TDXButton& button = Button(TMainInterface::EChoice(c));
      captions[language[0] == 'D'].push_back(CaptionInk(button));
      EXPECT_GT(captions[language[0] == 'D'].back().first, 100) << language << " caption " << c;
    }
    const TRect title = Menu.TitleRect();
    EXPECT_GT(title.Width(), 200) << "the game's name, large";
    EXPECT_GE(title.Left, 0);
    EXPECT_LT(title.Right, Button(TMainInterface::Play).FLeft) << "left of the buttons";
    Menu.Leave();
  }
  for (int c = 0; c < TMainInterface::ChoiceCount; ++c)
    EXPECT_NE(captions[0][size_t(c)], captions[1][size_t(c)]) << "caption " << c << " comes from the language file";
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
}

TEST_F(MainMenuTest, AHintCoversNoOtherButtonOnAnySurface) {
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
  for (const TPoint size : {TPoint{790, 570}, TPoint{1600, 1200}}) {
    Display.BackBuffer().SetSize(size.X, size.Y);
    Engine.UpdateSurfaceSize();
    Menu.Enter();
    for (int c = 0; c < TMainInterface::ChoiceCount; ++c) {
      TDXButton& button = Button(TMainInterface::EChoice(c));
      button.ShowHints();
      ASSERT_TRUE(button.FHint->Shown()) << c;
      const TRect box = MakeRect(button.FHint->FLeft, button.FHint->FTop, button.FHint->FWidth, button.FHint->FHeight);
      EXPECT_GE(box.Left, 0) << c;
      for (int other = 0; other < TMainInterface::ChoiceCount; ++other) {
        const TDXButton& b = Button(TMainInterface::EChoice(other));
        const bool covers = Intersect(box, MakeRect(b.FLeft, b.FTop, b.FWidth, b.FHeight)).IsEmpty() == false;
        EXPECT_FALSE(other != c && covers) << c << " over " << other;
      }
      button.FHint->HideHint();
    }
    Menu.Leave();
  }
}

TEST_F(MainMenuTest, ContinuesHintNamesTheGameAndItsProgressOrWhyThereIsNone) {
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
  Options.LastJigsaw.clear();
  EXPECT_EQ(TMainInterface::ContinueHint(), Lang(Text::NothingToContinue));
  LastJigsawWithout("");
  TGameRecord playing;
  playing.InitialPieces = 21;
  playing.Joins = 5;
  playing.Elapsed = 754.0 / 86400;
  std::string error;
  ASSERT_TRUE(UpdateScoreFile(Library.File("Sunset.hsc"), playing, error)) << error;
  Menu.Enter();
  EXPECT_EQ(Button(TMainInterface::Continue).FHintText, "Continue \"Sunset\"|25 % done, played for 0:12:34");
  Menu.Leave();
  LastJigsawWithout(".pzl");
  EXPECT_EQ(TMainInterface::ContinueHint(), "Continue|the picture or puzzle of \"Sunset\" is gone");
  LastJigsawWithout(".zip");
  EXPECT_EQ(TMainInterface::ContinueHint(), Lang(Text::NothingToContinue)) << "the last game was given up";
}

TEST_F(MainMenuTest, TheWelcomeLineScrollsOnceAndTheCreditsRollOnRequest) {
  Menu.Enter();
  EXPECT_TRUE(Menu.TickerShown());
  EXPECT_FALSE(Menu.CreditsShown());
  Menu.Button(TMainInterface::Credits)->Click();
  EXPECT_TRUE(Menu.CreditsShown());
  Frames(1851, 11);
  EXPECT_FALSE(Menu.TickerShown()) << "past its 1850 steps";
  EXPECT_TRUE(Menu.CreditsShown());
  Frames(kCreditsRollMs / 1000, 1001);
  EXPECT_FALSE(Menu.CreditsShown()) << "a roll is over within 30 s";
  Menu.Button(TMainInterface::Credits)->Click();
  EXPECT_TRUE(Menu.CreditsShown()) << "a second press rolls them again";
  Menu.Button(TMainInterface::Credits)->Click();
  EXPECT_FALSE(Menu.CreditsShown());
}

TEST_F(MainMenuTest, TheCreditsSpeakThePlayersLanguage) {
  Options.LanguageFile = "Deutsch.lang";
  ASSERT_TRUE(LoadLanguage());
  const std::vector<TCreditLine> german = CreditLines();
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
  const std::vector<TCreditLine> english = CreditLines();
  ASSERT_EQ(german.size(), english.size());
  EXPECT_EQ(english[1].Text, "A jigsaw puzzle of every picture you love");
  EXPECT_EQ(german[1].Text, "Ein Puzzle aus jedem Bild, das Sie lieben");
  for (size_t i = 0; i < english.size(); ++i) {
    EXPECT_EQ(german[i].Kind, english[i].Kind) << i;
    EXPECT_EQ(english[i].Text.empty(), english[i].Kind == ECreditKind::Gap) << i;
  }
  EXPECT_EQ(english.back().Text, "Thank you for playing!") << "every text line has its place";
  EXPECT_EQ(english.front().Text, "Quorvane Jigsaw") << "the game's own credits come before the libraries";
}

TEST(CreditsRoll, LinesRiseFromBelowTheScreenToAboveItFadingAtTheEdgesWithinTheRoll) {
  const std::vector<int> heights(30, 20);
  const auto start = PlaceCredits(heights, 600, 0);
  EXPECT_EQ(start.front().Y, 600);
  const auto middle = PlaceCredits(heights, 600, kCreditsRollMs / 2);
  EXPECT_EQ(middle[0].Y, 0) << "half of the way of 1200 px at half the time";
  EXPECT_EQ(middle[0].Opacity, 0) << "a line at the top edge has faded out";
  EXPECT_EQ(middle[29].Opacity, 0) << "and so has one at the bottom edge";
  EXPECT_EQ(middle[15].Opacity, 255) << "a line in the middle of the screen shows in full";
  for (const TCreditPlace& place : PlaceCredits(heights, 600, kCreditsRollMs))
    EXPECT_EQ(place.Opacity, 0) << "every line has left the screen at the end";
}

TEST_F(MainMenuTest, WithoutItsPicturesTheMenuIsShownAsTextAndStillWorks) {
  Library.Write("Text/VarEroRuze.rls", "[MainOptions]\nGraphics\\Main\\Gone\n[End MainOptions]\n");
  SetProgramFolder(Library.Path());
  Menu.Enter();
  SetProgramFolder(QJ_PROGRAM_DIR);
  EXPECT_EQ(Menu.Button(TMainInterface::Play), nullptr);
  EXPECT_GT(Engine.LiveSpriteCount(), 4) << "the choices written out";
  Press('o');
  EXPECT_EQ(Menu.Result(), MainMenuResult::Options);
}

}  // namespace
}  // namespace qj::test
