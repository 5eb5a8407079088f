// The puzzle maker driven as a player does: clicks on its buttons, boxes and slider arrows, the
// wheel and the keys. What it saves is cut again from the file and compared.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "controls/UButtons.h"
#include "controls/UCheckBox.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "creation/UCutDigest.h"
#include "creation/UGameRecord.h"
#include "creation/UPuzzleFile.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"
#include "screens/UPuzzleMakerInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/support/ScreenSetup.h"
#include "tests/support/TempFolder.h"
#include "tools/autoplay/AutoPlayer.h"

namespace qj::test {
namespace {

using M = TPuzzleMakerInterface;

class MakerTest : public ::testing::Test, protected TScreenWorld {
 protected:
  MakerTest() {
    SetInstalledFolders({QJ_PROGRAM_DIR, QJ_PROGRAM_DIR, Home.Path(), Home.Path()});
    std::filesystem::create_directories(Home.File("Jigsaws"));
    Maker.SetDepthRange(120000, 129990);
    Maker.OnMessage = [this](const std::string&, const std::string& text) { Messages.push_back(text); };
    Randomize(12345);
  }
  ~MakerTest() override {
    Maker.Leave();
    SetProgramFolder(QJ_PROGRAM_DIR);
  }

  // A picture with some detail, so that cuts of it differ.
  std::string AddPicture(const std::string& name, int width, int height) {
    TMyDib picture(width, height, 24);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) picture.Row(y)[x] = MakePixel(uint8_t(x * 7), uint8_t(y * 5), uint8_t((x + y) * 3));
    const std::string path = Home.File("Jigsaws/" + name);
    EXPECT_TRUE(picture.SaveToFile(path));
    return path;
  }
  // As the engine opens the maker: the picture into its cutter, then Enter.
  void Open(const std::string& picture) {
    std::string error;
    ASSERT_TRUE(Maker.OpenPicture(picture, error)) << error;
    Maker.Enter();
    Frame();
  }
  void Frame() {
    Clock.Advance(20);
    Maker.Update();
  }
  void ClickAt(int x, int y, int shift = 0) {
    Frame();
    Maker.MouseDown(mbLeft, ssLeft | shift, x, y);
    Maker.MouseUp(mbLeft, shift, x, y);
  }
  void Click(TDXControl& c) { ClickAt(c.FLeft + c.FWidth / 2, c.FTop + c.FHeight / 2); }
  void Click(M::EButton b) { Click(*Maker.Button(b)); }
  // A click on the slider's forward or back arrow: one step.
  void Step(M::ESlider s, bool forward) {
    TDXScrollBar& bar = *Maker.Slider(s);
    const bool vertical = bar.FHeight > bar.FWidth;
    const int along = forward ? (vertical ? bar.FHeight : bar.FWidth) - 3 : 3;
    ClickAt(vertical ? bar.FLeft + bar.FWidth / 2 : bar.FLeft + along, vertical ? bar.FTop + along : bar.FTop + bar.FHeight / 2);
  }
  int At(M::ESlider s) { return Maker.Slider(s)->FPosition; }
  void Set(M::ESlider s, int value) { Maker.Slider(s)->SetPosition(value); }
  std::vector<int> Positions() {
    std::vector<int> p;
    for (int s = 0; s < M::SliderCount; ++s) p.push_back(At(M::ESlider(s)));
    return p;
  }
  std::vector<bool> Boxes() {
    std::vector<bool> b;
    for (int i = 0; i < M::kCheckBoxCount; ++i) b.push_back(Maker.CheckBox(i)->FChecked);
    return b;
  }
  // The puzzle file's cut, made again from the file alone as a new game makes it.
  static uint64_t SavedCut(const std::string& picture) {
    TPuzzleCutter cutter;
    EXPECT_TRUE(cutter.LoadPicture(picture));
    EXPECT_TRUE(cutter.LoadPuzzleFile(ChangeFileExt(picture, ".pzl")));
    cutter.ScalePicture(0);
    cutter.DrawCutMap();
    cutter.CutPieces();
    return CutDigest(cutter);
  }
  static TCutParameters StoredCut(const std::string& picture, TPuzzlePlayOptions* options = nullptr) {
    TPuzzleCutter cutter;
    EXPECT_TRUE(cutter.LoadPuzzleFile(ChangeFileExt(picture, ".pzl")));
    if (options) *options = cutter.PuzzleOptions();
    return cutter.CutParameters();
  }
  bool LastMessageNames(const std::string& what) const {
    return !Messages.empty() && Messages.back().find(what) != std::string::npos;
  }

  TPuzzleMakerInterface Maker{&Engine};
  std::vector<std::string> Messages;
};

TEST_F(MakerTest, ANewPuzzleStartsWithTheDefaultsAndEveryControlInPlace) {
  Open(AddPicture("new.bmp", 400, 300));
  EXPECT_EQ(Maker.Result(), -1);
  EXPECT_EQ(Maker.StyleButtons().size(), 9u);
  EXPECT_EQ(Maker.ShapeButtons().size(), 7u);
  EXPECT_EQ(Maker.Shape(), 1);
  EXPECT_EQ(Maker.CurrentStyle(), 0);
  EXPECT_EQ(Positions(), (std::vector<int>{7, 2, 20, 2, 10, 20, 2, 10}));
  EXPECT_EQ(Maker.Slider(M::Width)->FMax, 199);
  EXPECT_EQ(Maker.Slider(M::Height)->FMax, 149);
  EXPECT_EQ(Boxes(), std::vector<bool>(5, true));
  EXPECT_FALSE(Maker.Cutter().CutMap().Empty());
  EXPECT_FALSE(Maker.ErrorShown());
  EXPECT_FALSE(Maker.QuestionShown());
  // Nothing overlaps the view, and the view's scroll bars stay hidden for a picture that fits.
  const TDXWindow& view = *Maker.View();
  for (TDXButton* b : Maker.StyleButtons()) EXPECT_LE(b->FLeft + b->FWidth, view.FLeft);
  for (TDXButton* b : Maker.ShapeButtons()) EXPECT_GE(b->FLeft, view.FLeft + view.FWidth);
  EXPECT_FALSE(Maker.ViewScroll(false)->FSprite.Get()->Visible);
  // On the smallest window the Fit box (heading the options' window, 25 px into it) stays clear
  // of the style buttons above and the option boxes below.
  Display.BackBuffer().SetSize(790, 570);
  Engine.UpdateSurfaceSize();
  Maker.Resize();
  const TDXButton& lastStyle = *Maker.StyleButtons().back();
  EXPECT_GE(Maker.FitBox()->FTop - 25, lastStyle.FTop + lastStyle.FHeight);
  EXPECT_LE(Maker.FitBox()->FTop + 20, Maker.CheckBox(0)->FTop);
  uint16_t escape = VK_ESCAPE;
  Maker.KeyDown(escape, 0);
  EXPECT_EQ(Maker.Result(), MakerResult::ToSelector);
}

TEST_F(MakerTest, TheStylesAreNamedInThePlayersLanguage) {
  Options.LanguageFile = "Deutsch.lang";
  ASSERT_TRUE(LoadLanguage());
  Open(AddPicture("new.bmp", 400, 300));
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
  ASSERT_EQ(Maker.StyleButtons().size(), 9u);
  EXPECT_EQ(Maker.StyleButtons()[0]->FCaption, "   Quadrate");
  EXPECT_EQ(Maker.StyleButtons()[8]->FCaption, "   Kreise");
}

TEST_F(MakerTest, SavingWithoutCheckChecksDeletesTheSavedGameAndEnteringAgainRestoresTheIdenticalCut) {
  const std::string picture = AddPicture("trip.bmp", 400, 300);
  Home.Write("Jigsaws/trip.zip", "the saved game of the old cut");
  Open(picture);
  Click(*Maker.FitBox());  // the sizes as the sliders give them
  Click(*Maker.StyleButtons()[7]);
  Click(*Maker.ShapeButtons()[3]);
  Set(M::Width, 30);
  Set(M::Height, 25);
  Set(M::DistortX, 3);
  Set(M::DistortY, 2);
  Set(M::SpreadX, 14);
  Step(M::SpreadY, true);
  Step(M::Shadow, false);
  Step(M::Bevel, true);
  Click(*Maker.CheckBox(1));
  Click(*Maker.CheckBox(4));
  const std::vector<int> positions = Positions();
  const std::vector<bool> boxes = Boxes();
  ASSERT_EQ(positions, (std::vector<int>{6, 3, 30, 3, 14, 25, 2, 11}));
  EXPECT_EQ(Maker.CheckState(), M::Unchecked);
  Click(M::Save);
  ASSERT_TRUE(Maker.QuestionShown());  // a saved game without a score file may be in progress
  Click(M::QuestionYes);
  ASSERT_EQ(Maker.Result(), MakerResult::ToSelector) << (Messages.empty() ? "" : Messages.back());
  EXPECT_FALSE(FileExists(Home.File("Jigsaws/trip.zip")));
  TPuzzlePlayOptions options;
  const TCutParameters stored = StoredCut(picture, &options);
  EXPECT_EQ(stored.CutStyle, 7);
  EXPECT_EQ(stored.ShapeSet, 3);
  EXPECT_DOUBLE_EQ(stored.DistortXSpread, 1.4);
  EXPECT_EQ(options.AllowRotation, 0);  // the second box is the rotation's
  EXPECT_EQ(options.AllowSmallPicture, 1);
  EXPECT_EQ(options.AllowNeighbourHelp, 0);
  EXPECT_EQ(options.ShadowSize, 6);
  EXPECT_EQ(options.BevelStrength, 3);
  const uint64_t first = SavedCut(picture);

  Randomize(999);  // another seed in the generator: the file's must win
  Open(picture);
  EXPECT_EQ(Positions(), positions);
  EXPECT_EQ(Boxes(), boxes);
  EXPECT_EQ(Maker.Shape(), 3);
  EXPECT_EQ(Maker.CurrentStyle(), 7);
  Click(M::Save);
  ASSERT_EQ(Maker.Result(), MakerResult::ToSelector);
  const TCutParameters again = StoredCut(picture);
  EXPECT_TRUE(EncodeCutParameters(again) == EncodeCutParameters(stored));
  EXPECT_EQ(SavedCut(picture), first);
}

// Fit is on for a new puzzle: whole pieces cover the picture, the sliders' sizes moved to the
// nearest that do; off, the pieces keep the slider's size and the edges left over are shaded.
TEST_F(MakerTest, FitMakesWholePiecesCoverThePictureAndComesBackWithThePuzzle) {
  const std::string picture = AddPicture("fit.bmp", 410, 290);
  Open(picture);
  ASSERT_TRUE(Maker.FitBox()->FChecked);
  const TRect whole{0, 0, 410, 290};
  EXPECT_EQ(Maker.Cutter().Grid().Rect, whole);
  Set(M::Width, 33);
  EXPECT_EQ(Maker.Cutter().Grid().Rect, whole);
  Click(*Maker.FitBox());
  EXPECT_EQ(Maker.Cutter().Grid().Rect, (TRect{7, 5, 403, 285}));  // 12 x 14 pieces of 33 x 20
  Click(*Maker.FitBox());
  Click(M::Save);
  ASSERT_EQ(Maker.Result(), MakerResult::ToSelector);
  const uint64_t saved = SavedCut(picture);
  Open(picture);
  EXPECT_TRUE(Maker.FitBox()->FChecked);
  EXPECT_EQ(Maker.Cutter().Grid().Rect, whole);
  Click(M::Save);
  EXPECT_EQ(SavedCut(picture), saved);
}

// Each slider's caption says its value as the cut uses it, and follows every change.
TEST_F(MakerTest, SliderCaptionsFollowTheirValues) {
  Open(AddPicture("captions.bmp", 400, 300));
  Click(*Maker.FitBox());
  Set(M::Width, 40);
  Set(M::Height, 30);
  Set(M::DistortX, 3);
  Set(M::SpreadY, 14);
  struct TCase {
    M::ESlider Slider;
    std::string Caption;
  };
  for (const TCase& c : {TCase{M::Width, "Piece width: 40 px     Pieces: 10 \u00d7 10 = 100"}, TCase{M::Height, "Piece height: 30 px"},
                         TCase{M::DistortX, "Shift across: 3 px"}, TCase{M::SpreadY, "Irregularity up and down: 40 %"},
                         TCase{M::Shadow, "Shadow: 7"}})
    EXPECT_EQ(Maker.SliderCaption(c.Slider), c.Caption);
  Click(*Maker.FitBox());  // with Fit, 33 becomes 400 / 12
  Set(M::Width, 33);
  EXPECT_EQ(Maker.SliderCaption(M::Width), "Piece width: 33 px     Pieces: 12 \u00d7 10 = 120");
  EXPECT_EQ(Maker.HintCount(), 15u);
}

TEST_F(MakerTest, AnotherShapeKeepsTheDisplacementASliderDrawsANewOne) {
  Open(AddPicture("grid.bmp", 400, 300));
  Set(M::SpreadX, 18);  // a spread above 1 lets the generator move the points
  const TPointMatrix before = Maker.Cutter().Grid().Points;
  Click(*Maker.ShapeButtons()[2]);
  EXPECT_EQ(Maker.Shape(), 2);
  EXPECT_TRUE(Maker.Cutter().Grid().Points == before);
  Step(M::Width, true);
  Step(M::Width, false);
  EXPECT_EQ(At(M::Width), 20);
  EXPECT_FALSE(Maker.Cutter().Grid().Points == before);
  // With the displacement at its largest, a narrower piece lowers it.
  Set(M::Width, 40);
  Set(M::DistortX, 4);
  EXPECT_EQ(At(M::DistortX), 4);
  Set(M::Width, 20);
  EXPECT_EQ(Maker.Slider(M::DistortX)->FMax, 2);
  EXPECT_EQ(At(M::DistortX), 2);
}

TEST_F(MakerTest, AnUnsoundCutShowsTheErrorWindowAndIsNotSaved) {
  const std::string picture = AddPicture("crossed.bmp", 200, 150);
  Open(picture);
  Set(M::Width, 7);  // shape 1 is too large for such pieces: its cuts cross
  Set(M::Height, 7);
  Click(M::Check);
  ASSERT_EQ(Maker.CheckState(), M::Unsound);
  EXPECT_NE(Maker.ShapedCount(), Maker.StraightCount());
  Click(M::Save);
  EXPECT_TRUE(Maker.ErrorShown());
  EXPECT_EQ(Maker.Result(), -1);
  EXPECT_FALSE(FileExists(ChangeFileExt(picture, ".pzl")));
  Click(M::Cancel);  // the dialog takes the presses while it is open
  EXPECT_EQ(Maker.Result(), -1);
  Click(M::ErrorOk);
  EXPECT_FALSE(Maker.ErrorShown());
}

TEST_F(MakerTest, APictureOfNinePixelsOrLessIsNoPuzzle) {
  const std::string picture = AddPicture("dot.bmp", 9, 9);
  Open(picture);
  Click(M::Save);
  EXPECT_EQ(Maker.ShapedCount(), 0);
  EXPECT_EQ(Maker.CheckState(), M::Unsound);
  EXPECT_TRUE(Maker.ErrorShown());
  EXPECT_FALSE(FileExists(ChangeFileExt(picture, ".pzl")));
}

// Every value out of its range, or not a number at all.
TEST_F(MakerTest, DamagedPuzzleValuesAreClampedIntoTheControlsRanges) {
  const std::string picture = AddPicture("damaged.bmp", 400, 300);
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (const TCutParameters& cut : {TCutParameters{1, nan, 7, 99, -4, 1e300, nan, nan, inf, -inf, 1e9},
                                    TCutParameters{1, -2, 7, -1, 77, -5, 1e12, 1e12, -3, 0.2, nan}}) {
    TPuzzlePlayOptions play;
    play.ShadowSize = 999;
    play.BevelStrength = -3;
    play.AllowGhost = 200;
    const std::vector<uint8_t> file = BuildPuzzleFile(cut, play, {});
    ASSERT_TRUE(WriteFileAtomic(ChangeFileExt(picture, ".pzl"), file.data(), file.size()));
    Open(picture);
    for (int s = 0; s < M::SliderCount; ++s) {
      const TDXScrollBar& bar = *Maker.Slider(M::ESlider(s));
      EXPECT_GE(bar.FPosition, bar.FMin) << s;
      EXPECT_LE(bar.FPosition, bar.FMax) << s;
    }
    EXPECT_GE(Maker.CurrentStyle(), 0);
    EXPECT_LE(Maker.CurrentStyle(), 8);
    EXPECT_GE(Maker.Shape(), 0);
    EXPECT_LT(Maker.Shape(), 7);
    EXPECT_TRUE(Maker.CheckBox(3)->FChecked);
    EXPECT_DOUBLE_EQ(Maker.Cutter().CutParameters().PictureScale, 1);
    for (int i = 0; i < 3; ++i) Frame();
    Click(M::Check);
    EXPECT_NE(Maker.CheckState(), M::Unchecked);
    Maker.Leave();
  }
}

TEST_F(MakerTest, AFailedWriteNamesTheFileAndKeepsTheSavedGameAndTheScreen) {
  const std::string picture = AddPicture("locked.bmp", 200, 150);
  Home.Write("Jigsaws/locked.zip", "a saved game");
  // Something in the way of the puzzle file: the write cannot replace it.
  std::filesystem::create_directories(ChangeFileExt(picture, ".pzl") + "/inside");
  Options.LanguageFile = "Deutsch.lang";
  ASSERT_TRUE(LoadLanguage());
  Open(picture);
  Click(M::Save);
  Click(M::QuestionYes);
  EXPECT_EQ(Maker.Result(), -1);
  EXPECT_FALSE(Maker.Done());
  EXPECT_TRUE(FileExists(Home.File("Jigsaws/locked.zip")));
  // The maker's own panel says it, in the player's language, with the file and the cause.
  ASSERT_TRUE(Maker.ErrorShown());
  const std::string shown = Maker.ErrorText();
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
  EXPECT_NE(shown.find("ließ sich nicht speichern"), std::string::npos) << shown;
  EXPECT_NE(shown.find(ChangeFileExt(picture, ".pzl")), std::string::npos) << shown;
  EXPECT_NE(shown.find("dort liegt schon etwas mit diesem Namen"), std::string::npos) << shown;
  Click(M::ErrorOk);
  EXPECT_FALSE(Maker.ErrorShown());
  EXPECT_EQ(Maker.Result(), -1);
}

// Saving a new cut ends the game of the old one: the player is asked first, unless there is no
// game or it is finished.
TEST_F(MakerTest, SavingOverAGameInProgressAsksFirst) {
  struct TCase {
    bool Game, Finished, Answer;
    bool Asked, ArchiveKept, Saved;
  };
  for (const TCase& c : {TCase{false, false, false, false, false, true}, TCase{true, true, false, false, false, true},
                         TCase{true, false, false, true, true, false}, TCase{true, false, true, true, false, true}}) {
    const std::string picture = AddPicture("harbour.bmp", 200, 150);
    std::filesystem::remove(ChangeFileExt(picture, ".pzl"));
    std::filesystem::remove(ChangeFileExt(picture, ".hsc"));
    if (c.Game) Home.Write("Jigsaws/harbour.zip", "a saved game");
    TGameRecord record;
    record.InitialPieces = 101;
    record.Joins = 25;
    record.Finished = c.Finished ? 1 : 0;
    std::string error;
    ASSERT_TRUE(UpdateScoreFile(ChangeFileExt(picture, ".hsc"), record, error)) << error;
    Open(picture);
    Click(M::Save);
    ASSERT_EQ(Maker.QuestionShown(), c.Asked);
    if (c.Asked) {
      EXPECT_EQ(Maker.Question(), M::ReplaceGame);
      EXPECT_NE(Maker.QuestionText().find("harbour"), std::string::npos) << Maker.QuestionText();
      EXPECT_NE(Maker.QuestionText().find("25 %"), std::string::npos) << Maker.QuestionText();
      Click(c.Answer ? M::QuestionYes : M::QuestionNo);
    }
    EXPECT_EQ(FileExists(ChangeFileExt(picture, ".zip")), c.ArchiveKept);
    EXPECT_EQ(FileExists(ChangeFileExt(picture, ".pzl")), c.Saved);
    EXPECT_EQ(Maker.Result(), c.Saved ? MakerResult::ToSelector : -1);
    Maker.Leave();
  }
}

TEST_F(MakerTest, WithoutAPictureTheMakerGoesBackToTheSelectorNamingIt) {
  std::string error;
  EXPECT_FALSE(Maker.OpenPicture(Home.File("Jigsaws/gone.jpg"), error));
  Maker.Enter();
  EXPECT_TRUE(Maker.Done());
  EXPECT_EQ(Maker.Result(), MakerResult::ToSelector);
  EXPECT_TRUE(LastMessageNames("gone.jpg"));
}

// A photo shrinks to the table and starts at a few hundred pieces; the view shows all of it, and
// the wheel zooms in towards the mouse, keeping the point under it in place.
TEST_F(MakerTest, ABigPhotoFitsTheTableTheViewShowsItWholeAndTheWheelZooms) {
  const std::string picture = AddPicture("photo.bmp", 3200, 2400);
  Open(picture);
  const TMyDib& scaled = Maker.Cutter().ScaledPicture();
  EXPECT_LE(scaled.Width(), 1500);
  EXPECT_LE(scaled.Height(), 1100);
  Click(M::Check);
  EXPECT_EQ(Maker.CheckState(), M::Sound);
  EXPECT_GT(Maker.ShapedCount(), 200);
  EXPECT_LT(Maker.ShapedCount(), 400);
  const TDXWindow& view = *Maker.View();
  TDXScrollBar& down = *Maker.ViewScroll(true);
  TDXScrollBar& across = *Maker.ViewScroll(false);
  const double fit = std::min(double(view.ClientWidth()) / scaled.Width(), double(view.ClientHeight()) / scaled.Height());
  EXPECT_NEAR(Maker.Zoom(), fit, 1e-9);
  EXPECT_FALSE(down.FSprite.Get()->Visible);
  EXPECT_FALSE(across.FSprite.Get()->Visible);
  ASSERT_TRUE(view.FImage);
  EXPECT_LE(view.FImage->Width(), view.ClientWidth());
  EXPECT_LE(view.FImage->Height(), view.ClientHeight());
  // The picture point under the mouse stays under it.
  const int mx = view.FLeft + view.ClientRect().Left + 100, my = view.FTop + view.ClientRect().Top + 80;
  const auto pointUnder = [&] { return (view.FScrollX + 100) / Maker.Zoom(); };
  const double before = pointUnder();
  Maker.MouseWheel(0, 2, mx, my);
  EXPECT_NEAR(Maker.Zoom(), fit * M::kZoomStep * M::kZoomStep, 1e-9);
  EXPECT_NEAR(pointUnder(), before, 1.0);
  EXPECT_TRUE(down.FSprite.Get()->Visible);
  EXPECT_EQ(view.FScrollX, across.FPosition);
  Maker.MouseWheel(0, 20, mx, my);
  EXPECT_GE(Maker.Zoom(), 1.0);  // past 1:1
  EXPECT_EQ(view.FImage->Width(), int(std::lround(scaled.Width() * Maker.Zoom())));
  const int x = across.FPosition;
  Maker.MouseWheel(ssShift, -1, mx, my);
  EXPECT_EQ(across.FPosition, x + M::kWheelStep);
  Maker.MouseWheel(0, -40, mx, my);
  EXPECT_NEAR(Maker.Zoom(), fit, 1e-9);
  Click(M::Save);
  ASSERT_EQ(Maker.Result(), MakerResult::ToSelector);
  EXPECT_DOUBLE_EQ(StoredCut(picture).PictureScale, 1100.0 / 2400);
}

// A puzzle file of a photo that asks for a larger scale than fits the table (written by hand or by
// another program) is shown and saved at the scale that fits.
TEST_F(MakerTest, AStoredScaleAboveTheFitIsShownAndSavedAtTheFit) {
  const std::string picture = AddPicture("photo.bmp", 3200, 2400);
  const std::string puzzle = ChangeFileExt(picture, ".pzl");
  Open(picture);
  Click(M::Save);
  std::vector<uint8_t> file, preview;
  TCutParameters cut;
  TPuzzlePlayOptions play;
  std::string error;
  ASSERT_TRUE(ReadWholeFile(puzzle, file) && ParsePuzzleFile(file, cut, play, preview, error)) << error;
  cut.PictureScale = 1;
  file = BuildPuzzleFile(cut, play, preview);
  ASSERT_TRUE(WriteFileAtomic(puzzle, file.data(), file.size()));
  Open(picture);
  EXPECT_EQ(Maker.Cutter().ScaledPicture().Height(), 1100);
  Click(M::Save);
  ASSERT_EQ(Maker.Result(), MakerResult::ToSelector);
  EXPECT_DOUBLE_EQ(StoredCut(picture).PictureScale, 1100.0 / 2400);
}

// The cutter outlives the screen: a photo's scale must not stay behind for the next picture.
TEST_F(MakerTest, ASmallPictureAfterABigOneIsSavedAtItsOwnScale) {
  Open(AddPicture("big.bmp", 3000, 2000));
  Click(M::Cancel);
  const std::string small = AddPicture("small.bmp", 200, 150);
  Open(small);
  Click(M::Save);
  ASSERT_EQ(Maker.Result(), MakerResult::ToSelector);
  EXPECT_DOUBLE_EQ(StoredCut(small).PictureScale, 1);
}

TEST_F(MakerTest, MoreThanFiveThousandPiecesAreSavedOnlyWhenThePlayerSaysSo) {
  const std::string picture = AddPicture("many.bmp", 1000, 800);
  Open(picture);
  Click(*Maker.ShapeButtons()[0]);
  Set(M::Width, 10);
  Set(M::Height, 10);
  Click(M::Save);
  ASSERT_TRUE(Maker.QuestionShown());
  EXPECT_GT(Maker.ShapedCount(), M::kManyPieces);
  Click(M::QuestionNo);
  EXPECT_FALSE(Maker.QuestionShown());
  EXPECT_FALSE(FileExists(ChangeFileExt(picture, ".pzl")));
  Click(M::Save);
  Click(M::QuestionYes);
  EXPECT_EQ(Maker.Result(), MakerResult::ToSelector);
  EXPECT_TRUE(FileExists(ChangeFileExt(picture, ".pzl")));
}

// The player's road: Make in the selector, a few slider steps, Save, and the game played out.
TEST_F(MakerTest, A48PiecePuzzleMadeFromTheSelectorIsPlayedToTheEnd) {
  const std::string picture = AddPicture("road.bmp", 160, 120);
  TPuzzleSelectorInterface selector(&Engine);
  selector.SetDepthRange(100000, 119990);
  selector.Enter();
  Clock.Advance(20);
  selector.Update();
  ASSERT_EQ(selector.CurrentPath(), picture);
  selector.Button(TPuzzleSelectorInterface::Make)->Click();
  ASSERT_EQ(selector.Result(), SelectorResult::Maker);
  selector.Leave();
  Engine.FreeAllSprites();
  Open(picture);
  Step(M::DistortX, false);
  Step(M::Width, true);
  Step(M::Width, false);
  Click(M::Save);
  ASSERT_EQ(Maker.Result(), MakerResult::ToSelector);
  EXPECT_EQ(StoredCut(picture).PieceWidth, 20);
  autoplay::TAutoPlayOptions options;
  options.Cut.Picture = picture;
  options.Cut.FromPzl = true;
  options.Cut.ProgramFolder = QJ_PROGRAM_DIR;
  autoplay::TAutoPlayResult result;
  ASSERT_EQ(autoplay::RunAutoPlay(options, result), 0);
  EXPECT_EQ(result.Pieces, 48);
  EXPECT_TRUE(result.Finished);
  EXPECT_EQ(result.Left, 1);
}

}  // namespace
}  // namespace qj::test
