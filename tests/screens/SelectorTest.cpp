// The puzzle selector on a library of its own: what each thumbnail shows, the places of the
// windows kept between visits, the buttons acting on the right picture, and damaged files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UPuzzleFile.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"
#include "creation/UGameRecord.h"
#include "screens/UNoPuzzleNote.h"
#include "screens/UPictureLibrary.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "screens/USelectorLayout.h"
#include "tests/support/ScreenSetup.h"
#include "tests/support/TempFolder.h"

namespace qj::test {
namespace {

class SelectorTest : public ::testing::Test, protected TScreenWorld {
 protected:
  SelectorTest() {
    SetInstalledFolders({QJ_PROGRAM_DIR, QJ_PROGRAM_DIR, Home.Path(), Home.Path()});
    std::filesystem::create_directories(Library());
    Selector.SetDepthRange(100000, 119990);
    Selector.OnMessage = [this](const std::string&, const std::string& text) { Messages.push_back(text); };
  }
  ~SelectorTest() override {
    Selector.Leave();
    SetProgramFolder(QJ_PROGRAM_DIR);
  }

  std::string Library() const { return Home.File("Jigsaws"); }
  std::string Picture(const std::string& name) const { return Library() + "/" + name; }
  std::string AddPicture(const std::string& name, int width = 300, int height = 200) {
    TMyDib picture(width, height, 24);
    picture.Fill(MakePixel(40, 120, 200));
    EXPECT_TRUE(picture.SaveToFile(Picture(name)));
    return Picture(name);
  }
  // A puzzle file beside the picture; `shown` lets the player see the picture.
  void AddPuzzle(const std::string& picture, int pieces, bool shown) {
    TCutParameters cut;
    cut.PictureScale = 1;
    TPuzzlePlayOptions play;
    play.PieceCount = pieces;
    play.AllowGhost = shown ? 1 : 0;
    TMyDib preview(120, 80, 24);
    preview.Fill(MakePixel(200, 40, 40));
    const std::vector<uint8_t> file = BuildPuzzleFile(cut, play, preview.SaveToMemory());
    ASSERT_TRUE(WriteFileAtomic(ChangeFileExt(picture, ".pzl"), file.data(), file.size()));
  }
  void AddGame(const std::string& picture, int initial, int high) {
    Home.Write("Jigsaws/" + ExtractFileName(ChangeFileExt(picture, ".zip")), "a saved game");
    if (initial == 0) return;
    TGameRecord record;
    record.InitialPieces = initial;
    record.PiecesHigh = high;
    record.Elapsed = 3725.0 / 86400;
    std::string error;
    ASSERT_TRUE(UpdateScoreFile(ChangeFileExt(picture, ".hsc"), record, error)) << error;
  }
  TDXThumbWindow& Thumb(const std::string& path) {
    TDXThumbWindow* thumb = Selector.ThumbOf(path);
    EXPECT_NE(thumb, nullptr) << path;
    return *thumb;
  }
  // A frame first: windows draw their surfaces at the next frame, and presses find them there.
  void Click(TDXControl& control) {
    Clock.Advance(20);
    Selector.Update();
    const int x = control.FLeft + control.FWidth / 2, y = control.FTop + 8;
    Selector.MouseDown(mbLeft, ssLeft, x, y);
    Selector.MouseUp(mbLeft, 0, x, y);
  }
  void Press(TPuzzleSelectorInterface::EButton button) { Selector.Button(button)->Click(); }
  void ResizeTo(int width, int height) {
    Display.BackBuffer().SetSize(width, height);
    Engine.UpdateSurfaceSize();
    Selector.Resize();
  }

  TPuzzleSelectorInterface Selector{&Engine};
  std::vector<std::string> Messages;
};

TEST_F(SelectorTest, AnEmptyLibraryGivesAnEmptyDeskAndTheButtonsDoNothing) {
  Selector.Enter();
  EXPECT_TRUE(Selector.Thumbs().empty());
  for (auto b : {TPuzzleSelectorInterface::Arrange, TPuzzleSelectorInterface::Play, TPuzzleSelectorInterface::Make,
                 TPuzzleSelectorInterface::Restart})
    Press(b);
  EXPECT_FALSE(Selector.Done());
  Press(TPuzzleSelectorInterface::Back);
  EXPECT_EQ(Selector.Result(), SelectorResult::Back);
}

TEST_F(SelectorTest, EachThumbnailShowsWhatItsFilesHold) {
  const std::string plain = AddPicture("plain.bmp", 400, 100);
  const std::string shown = AddPicture("SHOWN.bmp");
  const std::string hidden = AddPicture("hidden.bmp");
  const std::string started = AddPicture("started.bmp");
  const std::string noScores = AddPicture("noscores.bmp");
  AddPuzzle(shown, 48, true);
  AddPuzzle(hidden, 48, false);
  AddPuzzle(started, 100, true);
  AddGame(started, 100, 99);
  AddPuzzle(noScores, 100, true);
  AddGame(noScores, 0, 0);
  Selector.Enter();
  ASSERT_EQ(Selector.Thumbs().size(), 5u);

  EXPECT_EQ(Thumb(plain).FKind, EThumbKind::Picture);
  EXPECT_EQ(Thumb(plain).ClientWidth(), TDXThumbWindow::kPictureWidth);
  EXPECT_EQ(Thumb(plain).ClientHeight(), 50) << "the picture scaled to the thumbnail's width";
  EXPECT_EQ(Thumb(shown).FKind, EThumbKind::Preview);
  EXPECT_EQ(Thumb(shown).FPieceCount, 48);
  EXPECT_EQ(Thumb(shown).GetCaption(), "Shown");
  EXPECT_EQ(Thumb(hidden).FKind, EThumbKind::Hidden);
  EXPECT_EQ(Thumb(started).GetCaption(), "Started-1%") << "a game at its start";
  EXPECT_EQ(Thumb(noScores).GetCaption(), "Noscores") << "no score file, no made-up percentage";
  EXPECT_TRUE(Thumb(noScores).FHasSavedGame);
}

TEST_F(SelectorTest, APuzzleFileIsDeletedOnlyWhenReadAndFoundMalformed) {
  const std::string damaged = AddPicture("damaged.bmp");
  Home.Write("Jigsaws/damaged.pzl", "not a puzzle file at all");
  const std::string locked = AddPicture("locked.bmp");
  AddPuzzle(locked, 48, true);
  const bool root = geteuid() == 0;
  if (!root) std::filesystem::permissions(ChangeFileExt(locked, ".pzl"), std::filesystem::perms::none);
  Selector.Enter();
  EXPECT_EQ(Thumb(damaged).FKind, EThumbKind::Picture);
  EXPECT_FALSE(FileExists(ChangeFileExt(damaged, ".pzl")));
  EXPECT_TRUE(std::filesystem::exists(ChangeFileExt(locked, ".pzl"))) << "a file that could not be read is kept";
  if (!root) {
    EXPECT_EQ(Thumb(locked).FKind, EThumbKind::Picture);
    std::filesystem::permissions(ChangeFileExt(locked, ".pzl"), std::filesystem::perms::owner_all);
  }
}

// The info window follows the scan: "loading", from none of the pictures to all of them.
TEST_F(SelectorTest, TheScanReportsItsProgress) {
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) AddPicture(name);
  std::vector<std::pair<int64_t, int64_t>> steps;
  Selector.OnProgress = [&](ETextId line, int64_t done, int64_t total) {
    EXPECT_EQ(line, Text::LoadingPleaseWait);
    steps.emplace_back(done, total);
  };
  Selector.Enter();
  const std::vector<std::pair<int64_t, int64_t>> expected = {{0, 3}, {1, 3}, {2, 3}, {3, 3}};
  EXPECT_EQ(steps, expected);
}

TEST_F(SelectorTest, APictureThatCannotBeReadIsLeftOutAndTheOthersShow) {
  AddPicture("good.bmp");
  Home.Write("Jigsaws/broken.jpg", "\xFF\xD8\xFF garbage");
  Selector.Enter();
  ASSERT_EQ(Selector.Thumbs().size(), 1u);
  EXPECT_EQ(Selector.CurrentPath(), Picture("good.bmp"));
}

TEST_F(SelectorTest, ThePlacesAndTheStackingOfTheWindowsComeBack) {
  const std::string a = AddPicture("a.bmp"), b = AddPicture("b.bmp"), c = AddPicture("c.bmp");
  Selector.Enter();
  Thumb(a).SetLeft(300);
  Thumb(a).SetTop(200);
  Click(Thumb(b));  // b on top
  Selector.Leave();
  Selector.Enter();
  EXPECT_EQ(Thumb(a).FLeft, 300);
  EXPECT_EQ(Thumb(a).FTop, 200);
  EXPECT_GT(Thumb(b).FDepth, Thumb(a).FDepth);
  EXPECT_GT(Thumb(b).FDepth, Thumb(c).FDepth);
  Selector.Leave();

  // Damaged lines are skipped, a line of a picture that is gone changes nothing, and of two
  // lines of one picture the later wins and leaves it on top.
  const std::string layout = Library() + "/PuzzleSelecterInfo.inf";
  const std::string text = "\"" + a + "\" 10 20 220\r\nnonsense\r\n\"" + b + "\" x y\r\n\"" + Picture("gone.bmp") +
                           "\" 1 2 3\r\n\"" + c + "\" 30 140 220\r\n\"" + a + "\" 50 160 220\r\n";
  ASSERT_TRUE(WriteFileAtomic(layout, text.data(), text.size()));
  Selector.Enter();
  EXPECT_EQ(Thumb(a).FLeft, 50);
  EXPECT_EQ(Thumb(c).FTop, 140);
  EXPECT_GT(Thumb(a).FDepth, Thumb(c).FDepth);
}

TEST_F(SelectorTest, PlayAndMakeAreChosenByWhatThePictureHas) {
  const std::string bare = AddPicture("bare.bmp");
  const std::string fresh = AddPicture("fresh.bmp");
  const std::string going = AddPicture("going.bmp");
  AddPuzzle(fresh, 48, true);
  AddPuzzle(going, 48, true);
  AddGame(going, 48, 30);
  const std::pair<std::string, int> cases[] = {{fresh, SelectorResult::NewGame}, {going, SelectorResult::Continue}};
  for (const auto& [picture, result] : cases) {
    Selector.Enter();
    Selector.Select(Thumb(picture));
    Press(TPuzzleSelectorInterface::Play);
    EXPECT_EQ(Selector.Result(), result) << picture;
    EXPECT_EQ(Selector.CurrentPath(), picture);
  }
  const std::pair<TPuzzleSelectorInterface::EButton, int> bareCases[] = {
      {TPuzzleSelectorInterface::Play, SelectorResult::MakeFirst}, {TPuzzleSelectorInterface::Make, SelectorResult::Maker}};
  for (const auto& [button, result] : bareCases) {
    Selector.Enter();
    Selector.Select(Thumb(bare));
    Press(button);
    EXPECT_EQ(Selector.Result(), result) << "a picture without a puzzle goes to the maker";
  }
}

TEST_F(SelectorTest, ADoubleClickPlaysAndInputAfterLeavingIsIgnored) {
  const std::string picture = AddPicture("p.bmp");
  AddPuzzle(picture, 48, true);
  Selector.Enter();
  TDXThumbWindow& thumb = Thumb(picture);
  const int x = thumb.FLeft + 20, y = thumb.FTop + 8;
  Clock.Advance(20);
  Selector.Update();
  Selector.MouseDown(mbLeft, ssLeft, x, y);
  Selector.MouseUp(mbLeft, 0, x, y);
  Clock.Advance(50);
  Selector.MouseDown(mbLeft, ssLeft, x, y);  // the window's own handler leaves the screen
  Selector.MouseUp(mbLeft, 0, x, y);
  EXPECT_TRUE(Selector.Done());
  EXPECT_EQ(Selector.Result(), SelectorResult::NewGame);
  uint16_t key = VK_ESCAPE;
  Selector.KeyDown(key, 0);
  Selector.Leave();
  EXPECT_EQ(Selector.Result(), SelectorResult::NewGame);
}

TEST_F(SelectorTest, RestartAsksAboutThePictureItNamesAndDeletesOnlyItsGame) {
  const std::string mine = AddPicture("mine.bmp"), other = AddPicture("other.bmp");
  for (const std::string& p : {mine, other}) {
    AddPuzzle(p, 100, true);
    AddGame(p, 100, 50);
  }
  Selector.Enter();
  Selector.Select(Thumb(mine));
  Press(TPuzzleSelectorInterface::Restart);
  ASSERT_TRUE(Selector.ConfirmShown());
  Click(Thumb(other));  // presses outside the question are ignored
  EXPECT_EQ(Selector.CurrentPath(), mine);
  Selector.OpenOn(other);  // whatever is chosen meanwhile
  Press(TPuzzleSelectorInterface::ConfirmYes);
  EXPECT_FALSE(Selector.ConfirmShown());
  EXPECT_FALSE(FileExists(ChangeFileExt(mine, ".zip")));
  EXPECT_TRUE(FileExists(ChangeFileExt(other, ".zip")));
  EXPECT_EQ(Thumb(mine).GetCaption(), "Mine");
  EXPECT_FALSE(Thumb(mine).FHasSavedGame);
  Selector.Select(Thumb(other));
  Press(TPuzzleSelectorInterface::Restart);
  Press(TPuzzleSelectorInterface::ConfirmNo);
  EXPECT_TRUE(FileExists(ChangeFileExt(other, ".zip")));
}

TEST_F(SelectorTest, OfPicturesSharingANameOnlyTheFirstOwnsItsPuzzle) {
  const std::string first = AddPicture("Sunset.bmp"), second = AddPicture("sunset.jpg");
  AddPuzzle(first, 48, true);
  Selector.Enter();
  ASSERT_EQ(Selector.Thumbs().size(), 2u);
  EXPECT_EQ(Thumb(first).FKind, EThumbKind::Preview);
  EXPECT_TRUE(Thumb(second).NameTaken());
  EXPECT_EQ(Thumb(second).FKind, EThumbKind::Picture);
  Selector.Select(Thumb(second));
  Press(TPuzzleSelectorInterface::Make);
  Press(TPuzzleSelectorInterface::Play);
  EXPECT_FALSE(Selector.Done());
  EXPECT_EQ(Messages.size(), 2u);
}

TEST_F(SelectorTest, ArrangeFillsRowsByNameToTheScreensWidth) {
  for (const char* name : {"d.bmp", "b.bmp", "a.bmp", "c.bmp", "e.bmp", "f.bmp"}) AddPicture(name);
  Selector.Enter();
  Press(TPuzzleSelectorInterface::PageRight);
  EXPECT_EQ(Selector.ScrollOffset(), TPuzzleSelectorInterface::kScrollStep);
  Press(TPuzzleSelectorInterface::Arrange);
  EXPECT_EQ(Selector.ScrollOffset(), 0);
  const TDXThumbWindow& a = Thumb(Picture("a.bmp"));
  const TDXThumbWindow& b = Thumb(Picture("b.bmp"));
  const TRect view = Selector.DeskView();
  EXPECT_EQ(a.FLeft, view.Left);
  EXPECT_EQ(a.FTop, view.Top);
  EXPECT_EQ(b.FTop, a.FTop) << "the next one beside it";
  EXPECT_GT(b.FLeft, a.FLeft + a.FWidth);
  const TDXThumbWindow& f = Thumb(Picture("f.bmp"));
  EXPECT_GT(f.FTop, a.FTop + a.FHeight) << "a new row once the first is as wide as the screen";
  for (size_t i = 0; i < Selector.Thumbs().size(); ++i) EXPECT_LE(Selector.Thumb(i).FLeft + Selector.Thumb(i).FWidth, view.Right);
  ResizeTo(1920, 1080);
  Press(TPuzzleSelectorInterface::Arrange);
  EXPECT_EQ(f.FTop, a.FTop) << "one row on a large screen";
}

// Whatever the screen's size, every window lies between the scroll arrows and the buttons and
// inside the screen: rows laid out by Arrange follow the width, a window the player placed is
// pulled back into view.
TEST_F(SelectorTest, TheWindowsReflowIntoViewOnEveryResize) {
  for (int i = 0; i < 6; ++i) AddPicture("p" + std::to_string(i) + ".bmp", 400, 300);
  Selector.Enter();
  EXPECT_TRUE(Selector.Arranged()) << "the first visit lays them out";
  const auto allInView = [&](const std::string& when) {
    const TRect view = Selector.DeskView();
    const int buttonsTop = Selector.Button(TPuzzleSelectorInterface::Play)->FTop;
    for (size_t i = 0; i < Selector.Thumbs().size(); ++i) {
      const TDXThumbWindow& t = Selector.Thumb(i);
      EXPECT_TRUE(t.FLeft >= 0 && t.FLeft + t.FWidth <= Engine.FWidth && t.FTop >= view.Top &&
                  t.FTop + t.FHeight <= buttonsTop)
          << when << ": " << t.Name() << " at " << t.FLeft << "," << t.FTop << " size " << t.FWidth << "x" << t.FHeight;
    }
  };
  const std::pair<int, int> sizes[] = {{1920, 1080}, {790, 570}, {1600, 1200}, {1024, 768}, {790, 570}};
  for (const auto& [w, h] : sizes) {
    ResizeTo(w, h);
    allInView("arranged, " + std::to_string(w) + "x" + std::to_string(h));
  }
  // Dragged by its title towards the bottom right corner, past the buttons.
  ResizeTo(1920, 1080);
  TDXThumbWindow& moved = Selector.Thumb(0);
  Clock.Advance(20);
  Selector.Update();
  const int x = moved.FLeft + 30, y = moved.FTop + 5;
  Selector.MouseDown(mbLeft, ssLeft, x, y);
  Selector.MouseMove(ssLeft, x + 1700, y + 1000);
  Selector.MouseUp(mbLeft, 0, x + 1700, y + 1000);
  EXPECT_FALSE(Selector.Arranged());
  allInView("dropped past the buttons");
  for (const auto& [w, h] : sizes) {
    ResizeTo(w, h);
    allInView("placed, " + std::to_string(w) + "x" + std::to_string(h));
  }
}

// An added picture is placed where it is seen whole, beside the others, and chosen: on a free
// place of a desk the player laid out, in its place in the rows of an arranged one, the desk
// scrolled to it.
TEST_F(SelectorTest, AnAddedPictureIsPlacedInViewAndChosen) {
  for (int i = 0; i < 20; ++i) AddPicture("p" + std::to_string(10 + i) + ".bmp");
  Selector.Enter();
  ASSERT_TRUE(Selector.Arranged());
  const std::string last = AddPicture("zz.bmp");
  Selector.ShowPicture(last);
  const auto inView = [&](const TDXThumbWindow& t) {
    const TRect view = Selector.DeskView();
    return t.FLeft >= view.Left && t.FLeft + t.FWidth <= view.Right && t.FTop >= view.Top && t.FTop + t.FHeight <= view.Bottom;
  };
  EXPECT_TRUE(inView(Thumb(last)));
  EXPECT_GT(Selector.ScrollOffset(), 0) << "the rows went on past the screen";
  EXPECT_EQ(Selector.CurrentPath(), last);
  EXPECT_TRUE(Thumb(last).FActive);

  Selector.Leave();
  for (const char* name : {"zz.bmp", "p10.bmp", "p11.bmp"}) (void)DeleteFile(Picture(name));
  for (int i = 0; i < 12; ++i) (void)DeleteFile(Picture("p" + std::to_string(18 + i) + ".bmp"));
  (void)DeleteFile(Library() + "/PuzzleSelecterInfo.inf");
  Selector.Enter();
  Selector.Thumb(0).SetTop(400);  // the player's own layout
  Selector.Leave();
  Selector.Enter();
  ASSERT_FALSE(Selector.Arranged());
  const std::string added = AddPicture("added.bmp");
  Selector.ShowPicture(added);
  EXPECT_TRUE(inView(Thumb(added)));
  for (size_t i = 0; i < Selector.Thumbs().size(); ++i) {
    const TDXThumbWindow& other = Selector.Thumb(i);
    if (&other == &Thumb(added)) continue;
    EXPECT_TRUE(Intersect(other.BoundsRect(), Thumb(added).BoundsRect()).IsEmpty()) << other.Name();
  }
  EXPECT_EQ(Selector.CurrentPath(), added);
}

// The note of Play on a picture without a puzzle stands over the button it names, in the
// language's words, and stays long enough to be read.
TEST_F(SelectorTest, TheNoPuzzleNoteStaysLongEnoughToBeRead) {
  AddPicture("p.bmp");
  Selector.Enter();
  const TDXButton& near = *Selector.Button(TPuzzleSelectorInterface::Make);
  TDXHint& note = ShowNoPuzzleNote(Selector, &near);
  ASSERT_TRUE(note.Shown());
  EXPECT_NE(note.GetCaption().find(near.GetCaption()), std::string::npos) << note.GetCaption();
  EXPECT_EQ(note.GetCaption().find("%1"), std::string::npos);
  EXPECT_LE(note.FTop + note.FHeight, near.FTop);
  const auto runFor = [&](int ms) {
    for (int t = 0; t < ms; t += 20) {
      Clock.Advance(20);
      Selector.Update();
    }
  };
  runFor(kNoPuzzleNoteMs - 1500);
  EXPECT_TRUE(note.Shown());
  runFor(3000);
  EXPECT_FALSE(note.Shown()) << "and then it fades";
}

TEST(ThumbCaptionTest, FileNamesBecomeReadableNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"/x/Citrus-fruits-public-domain-13.jpg", "Citrus fruits public domain 13"},
      {"harbour_town.jpg", "Harbour town"},
      {"New York.bmp", "New York"},
      {"IMG_2034.JPG", "Img 2034"},
      {"SHOWN.bmp", "Shown"},
      {"__two--dashes__.png", "Two dashes"},
      {"\xC3\xBC" "ber-alles.jpg", "\xC3\x9C" "ber alles"},
      {"---.jpg", "---"},
  };
  for (const auto& [file, name] : cases) EXPECT_EQ(ReadableName(file), name) << file;
}

TEST(ThumbCaptionTest, LongNamesAreShortenedAtAWordEnd) {
  const auto measure = [](const std::string& text) { return int(text.size()) * 10; };  // ten a byte
  const std::string ellipsis = "\xE2\x80\xA6";
  const std::tuple<const char*, int, std::string> cases[] = {
      {"Citrus fruits public domain 13", 400, "Citrus fruits public domain 13"},
      {"Citrus fruits public domain 13", 299, "Citrus fruits public" + ellipsis},
      {"Citrus fruits public domain 13", 200, "Citrus fruits" + ellipsis},
      {"Supercalifragilistic", 100, "Superca" + ellipsis},
  };
  for (const auto& [text, width, shortened] : cases) EXPECT_EQ(ShortenToWidth(text, width, measure), shortened) << width;
}

// On the desk a long name is cut to the window, and the hint over its title holds it whole.
TEST_F(SelectorTest, ALongNameIsShortenedInTheTitleAndWholeInTheHint) {
  const std::string picture = AddPicture("Citrus-fruits-public-domain-13-and-some-more-words.bmp");
  const std::string plain = AddPicture("harbour_town.bmp");
  Selector.Enter();
  const std::string title = Thumb(picture).GetCaption();
  ASSERT_GE(title.size(), 3u);
  EXPECT_EQ(title.substr(title.size() - 3), "\xE2\x80\xA6") << title;
  EXPECT_EQ(std::string("Citrus fruits public domain 13 and some more words").rfind(title.substr(0, title.size() - 3), 0), 0u);
  const TDXHint* hint = Thumb(picture).NameHint();
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->GetCaption(), "Citrus fruits public domain 13 and some more words");
  EXPECT_TRUE(hint->FHintZone && hint->FHintRect.Contains(Thumb(picture).FLeft + 20, Thumb(picture).FTop + 5))
      << "shown when the mouse rests on the title";
  EXPECT_EQ(Thumb(plain).GetCaption(), "Harbour town");
  EXPECT_EQ(Thumb(plain).NameHint(), nullptr) << "a whole title needs no hint";
}

TEST_F(SelectorTest, ScrollingMovesTheDeskAndThePlacesAreKeptInDeskCoordinates) {
  const std::string a = AddPicture("a.bmp");
  Selector.Enter();
  const int left = Thumb(a).FLeft;
  Press(TPuzzleSelectorInterface::PageLeft);
  EXPECT_EQ(Thumb(a).FLeft, left + TPuzzleSelectorInterface::kScrollStep);
  Selector.Leave();
  const std::vector<TThumbPlace> places = ReadSelectorLayout(Library() + "/PuzzleSelecterInfo.inf");
  ASSERT_EQ(places.size(), 1u);
  EXPECT_EQ(places[0].Left, left);
}

TEST_F(SelectorTest, TheWheelScrollsTheDesk) {
  const std::string a = AddPicture("a.bmp");
  Selector.Enter();
  const int left = Thumb(a).FLeft;
  Selector.MouseWheel(0, -2, 400, 300);
  EXPECT_EQ(Selector.ScrollOffset(), 2 * TPuzzleSelectorInterface::kScrollStep);
  EXPECT_EQ(Thumb(a).FLeft, left - 2 * TPuzzleSelectorInterface::kScrollStep);
}

TEST_F(SelectorTest, AddedPicturesAreCheckedCopiedOnceAndNeverReplaceAnother) {
  TTempFolder elsewhere;
  TMyDib picture(40, 30, 24);
  picture.Fill(MakePixel(1, 2, 3));
  const std::string source = elsewhere.File("Cat.bmp");
  ASSERT_TRUE(picture.SaveToFile(source));
  std::string error;
  const std::string added = AddPictureToLibrary(source, error);
  ASSERT_EQ(added, Picture("Cat.bmp")) << error;
  EXPECT_EQ(AddPictureToLibrary(source, error), added) << "the same picture again";

  picture.Fill(MakePixel(9, 9, 9));
  const std::string other = elsewhere.File("cat.BMP");
  ASSERT_TRUE(picture.SaveToFile(other));
  const std::string second = AddPictureToLibrary(other, error);
  EXPECT_NE(second, added);
  EXPECT_EQ(ExtractFileName(second), "cat 2.BMP") << "a free name, whatever the case";

  EXPECT_TRUE(AddPictureToLibrary(elsewhere.Write("fake.jpg", "no picture"), error).empty());
  EXPECT_NE(error.find("fake.jpg"), std::string::npos) << error;
  EXPECT_FALSE(FileExists(Picture("fake.jpg")));

  Selector.Enter();
  Selector.ShowPicture(second);
  EXPECT_EQ(Selector.CurrentPath(), second);
  EXPECT_EQ(Selector.Thumbs().size(), 2u);
}

// The chooser walks folders and shows the pictures of one; the chosen picture joins the
// library and comes to the top of the desk, chosen.
TEST_F(SelectorTest, TheChooserAddsAPictureFromAnyFolder) {
  TTempFolder photos;
  TMyDib picture(90, 60, 24);
  picture.Fill(MakePixel(200, 100, 50));
  photos.Write("Trip/.hidden", "");
  ASSERT_TRUE(picture.SaveToFile(photos.File("Trip/Beach.bmp")));
  photos.Write("notes.txt", "not a picture");
  AddPicture("home.bmp");
  Selector.Enter();
  Press(TPuzzleSelectorInterface::AddPicture);
  TPictureChooser& chooser = *Selector.Chooser();
  ASSERT_TRUE(chooser.Shown());
  chooser.Open(photos.Path());
  ASSERT_EQ(chooser.Entries().size(), 1u) << "the folder; the text file is no picture";
  EXPECT_TRUE(chooser.Entries()[0].Folder);

  // Presses outside the chooser do not reach the desk.
  Selector.MouseDown(mbLeft, ssLeft, 2, 2);
  Selector.MouseUp(mbLeft, 0, 2, 2);
  EXPECT_TRUE(chooser.Shown());

  Clock.Advance(20);
  Selector.Update();
  const TDXControl* window = nullptr;
  for (TDXControl* c : Selector.FControls)
    if (c && dynamic_cast<TDXWindow*>(c) && c->FWidth > 500) window = c;
  ASSERT_NE(window, nullptr);
  const auto pressCell = [&](int column) {
    const int x = window->FLeft + (window->FWidth - static_cast<const TDXWindow*>(window)->ClientWidth()) / 2 + 8 +
                  column * TPictureChooser::kCellWidth + 60;
    const int y = window->FTop + static_cast<const TDXWindow*>(window)->TitleHeight() + 24 + 50;
    chooser.PressAt(x, y);
  };
  pressCell(0);
  EXPECT_EQ(chooser.Folder(), photos.File("Trip")) << "a folder opens";
  ASSERT_EQ(chooser.Entries().size(), 1u);
  chooser.Frame();
  EXPECT_FALSE(chooser.Entries()[0].Thumb.Empty()) << "its thumbnail is made in a frame";
  pressCell(0);
  EXPECT_EQ(chooser.Selected(), 0);
  uint16_t enter = VK_RETURN;
  Selector.KeyDown(enter, 0);
  EXPECT_FALSE(chooser.Shown());
  EXPECT_EQ(Selector.CurrentPath(), Picture("Beach.bmp"));
  EXPECT_TRUE(FileExists(Picture("Beach.bmp")));
  EXPECT_EQ(Selector.Thumbs().size(), 2u);

  Press(TPuzzleSelectorInterface::AddPicture);
  EXPECT_EQ(chooser.Folder(), photos.File("Trip")) << "the chooser opens where it was";
  chooser.GoUp();
  EXPECT_EQ(chooser.Folder(), photos.Path());
  uint16_t escape = VK_ESCAPE;
  Selector.KeyDown(escape, 0);
  EXPECT_FALSE(chooser.Shown());
  EXPECT_FALSE(Selector.Done());
}

// Scrolled down, the chooser's cells show later pictures; a click on one chooses the picture
// drawn there. Each picture is of one colour, so the drawn frame tells which is where.
TEST_F(SelectorTest, AfterScrollingAClickInTheChooserTakesThePictureDrawnThere) {
  TTempFolder photos;
  std::map<TPixel, std::string> pictureOf;
  for (int i = 0; i < 30; ++i) {
    TMyDib picture(90, 60, 24);
    picture.Fill(MakePixel(30 + 7 * i, 220 - 5 * i, 60 + 3 * i));
    const std::string path = photos.File("Photo" + std::to_string(100 + i) + ".bmp");
    ASSERT_TRUE(picture.SaveToFile(path));
    pictureOf[picture.At(0, 0) & kRgbMask] = path;
  }
  Selector.Enter();
  Press(TPuzzleSelectorInterface::AddPicture);
  TPictureChooser& chooser = *Selector.Chooser();
  chooser.Open(photos.Path());
  Selector.MouseWheel(0, -1, Display.Width() / 2, Display.Height() / 2);
  ASSERT_EQ(chooser.TopRow(), 1);
  for (int i = 0; i < 40; ++i) {
    Clock.Advance(20);
    Selector.Update();
  }
  Display.BackBuffer().Fill(0);
  Engine.DrawFrame();
  // Where each picture is drawn; the last one is clicked at the middle of its thumbnail.
  std::map<std::string, TRect> drawnAt;
  for (int y = 0; y < Display.Height(); ++y)
    for (int x = 0; x < Display.Width(); ++x)
      if (const auto found = pictureOf.find(Display.BackBuffer().At(x, y) & kRgbMask); found != pictureOf.end()) {
        TRect& r = drawnAt.try_emplace(found->second, TRect{x, y, x + 1, y + 1}).first->second;
        r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1)};
      }
  std::string drawn;
  TRect area;
  for (const auto& [path, box] : drawnAt)
    if (box.Width() > 40) {
      drawn = path;
      area = box;
    }
  ASSERT_FALSE(drawn.empty()) << "no picture is drawn";
  const int x = (area.Left + area.Right) / 2, y = (area.Top + area.Bottom) / 2;
  Selector.MouseDown(mbLeft, ssLeft, x, y);
  Selector.MouseUp(mbLeft, 0, x, y);
  ASSERT_GE(chooser.Selected(), 0);
  EXPECT_EQ(chooser.Entries()[size_t(chooser.Selected())].Path, drawn);
}

TEST(SelectorLayoutTest, LinesParseAsTheyAreWritten) {
  TThumbPlace place;
  ASSERT_TRUE(ParseThumbPlace("\"/a b/c.jpg\" -5 +7 220", place));
  EXPECT_EQ(place.Path, "/a b/c.jpg");
  EXPECT_EQ(place.Left, -5);
  EXPECT_EQ(place.Top, 7);
  EXPECT_TRUE(ParseThumbPlace("junk \"p\" 1 2", place)) << "the width may be missing";
  for (const char* bad : {"", "\"p\"", "\"p\" 1", "\"p\" 99999999999 1", "\"\" 1 2", "p 1 2", "\"p 1 2"})
    EXPECT_FALSE(ParseThumbPlace(bad, place)) << bad;
}

}  // namespace
}  // namespace qj::test
