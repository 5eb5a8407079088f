// The play table under the mouse: taking, carrying and dropping pieces by click or hold, turning,
// the rubber band, scrolling the table and the tray icons.
#include <algorithm>

#include "controls/UTrayWindow.h"
#include "controls/UButtons.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "platform/Sound.h"
#include "creation/UPuzzleFile.h"
#include "creation/UGameRecord.h"
#include "platform/Paths.h"
#include "platform/Input.h"
#include "tests/play/PlayFixture.h"

namespace qj::test {
namespace {

class PlayInputTest : public TPlayTest {
 protected:
  // A screen point on an opaque pixel of the piece, where a press takes it.
  TPoint OnPiece(int index) {
    const TBPiece& p = Piece(index);
    const TMyDib& image = *p.Bitmap(p.FOrientation);
    for (int r = 0; r < image.Width() / 2; ++r)
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          const int x = image.Width() / 2 + dx, y = image.Height() / 2 + dy;
          const TPoint at{p.FPosition.X + x - Engine.FScrollX, p.FPosition.Y + y - Engine.FScrollY};
          if (image.InBounds(x, y) && (image.At(x, y) & kRgbMask) && Engine.SpriteAt(at.X, at.Y) == p.SpriteIndex()) return at;
        }
    ADD_FAILURE() << "piece " << index << " shows no pixel";
    return {};
  }
  void Press(TPoint at, int button = mbLeft) {
    FHeld |= button == mbLeft ? ssLeft : ssRight;
    Screen->MouseDown(button, FHeld, at.X, at.Y);
  }
  void Release(TPoint at, int button = mbLeft) {
    FHeld &= ~(button == mbLeft ? ssLeft : ssRight);
    Screen->MouseUp(button, FHeld, at.X, at.Y);
  }
  void Move(TPoint at) {
    Screen->MouseMove(FHeld, at.X, at.Y);
    Frames(1);
  }
  // Brings the piece into view, away from the others.
  void Lay(int index, TPoint at) { ASSERT_TRUE(Carry(index, {at.X + Engine.FScrollX, at.Y + Engine.FScrollY})); }

  int FHeld = 0;
};

TEST_F(PlayInputTest, AQuickClickTakesThePieceAndTheNextClickDropsIt) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Lay(2, {300, 300});
  const TPoint at = OnPiece(2);
  const TPoint before = Piece(2).FPosition;
  const int drops = GameRecord.Drops;
  Press(at);
  Clock.Advance(50);
  Release(at);
  Move({at.X + 100, at.Y + 40});
  EXPECT_EQ(Piece(2).FPosition, (TPoint{before.X + 100, before.Y + 40}));
  EXPECT_TRUE(Piece(2).FDragging);
  Press({at.X + 100, at.Y + 40});
  Release({at.X + 100, at.Y + 40});
  EXPECT_FALSE(Piece(2).FDragging);
  EXPECT_EQ(GameRecord.Drops, drops + 1);
}

TEST_F(PlayInputTest, HoldingCarriesUntilTheRelease) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Lay(2, {300, 300});
  const TPoint at = OnPiece(2);
  Press(at);
  Clock.Advance(Options.ClickMs + 50);
  Move({at.X + 50, at.Y});
  Release({at.X + 50, at.Y});
  EXPECT_FALSE(Piece(2).FDragging);
  Options.PieceSelectType = 1;  // every release drops
  Press(OnPiece(2));
  Release(OnPiece(2));
  EXPECT_FALSE(Piece(2).FDragging);
  Options.PieceSelectType = 2;  // every press takes, the next press drops
  const TPoint again = OnPiece(2);
  Press(again);
  Clock.Advance(1000);
  Release(again);
  EXPECT_TRUE(Piece(2).FDragging);
  Press(again);
  EXPECT_FALSE(Piece(2).FDragging);
}

TEST_F(PlayInputTest, ARightClickTurnsAPieceAboutTheMouse) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Lay(4, {300, 300});
  const int orientation = Piece(4).FOrientation;
  Press(OnPiece(4), mbRight);
  Release(OnPiece(4), mbRight);
  Frames(40);
  EXPECT_EQ(Piece(4).FOrientation, (orientation + 1) % 4);
}

TEST_F(PlayInputTest, DroppingBesideANeighbourJoinsIt) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(0, Home(Piece(0)), 0));
  const int b = Piece(0).FNeighbours.front();
  ASSERT_TRUE(Carry(b, {500, 400}, 0));
  const TPoint from = OnPiece(b);
  const TPoint place = Piece(b).PlaceBeside(Piece(0));
  const TPoint to{from.X + place.X - Piece(b).FPosition.X + 3, from.Y + place.Y - Piece(b).FPosition.Y + 2};
  Press(from);
  Clock.Advance(500);
  Move(to);
  Release(to);
  Settle();
  EXPECT_EQ(Set().Count(), 11);
}

TEST_F(PlayInputTest, TheRightButtonDragsTheTableWithinItsEdges) {
  NewGame({.PieceW = 40, .PieceH = 40});
  const TPoint empty{770, 250};
  ASSERT_EQ(Engine.SpriteAt(empty.X, empty.Y), -1);
  Press(empty, mbRight);
  Move({empty.X - 300, empty.Y - 200});
  EXPECT_EQ(Engine.FScrollX, 300);
  EXPECT_EQ(Engine.FScrollY, 200);
  Move({empty.X - 5000, empty.Y - 5000});
  EXPECT_EQ(Engine.FScrollX, kTableWidth - Display.Width());
  EXPECT_EQ(Engine.FScrollY, kTableHeight - Display.Height());
  Move({empty.X + 5000, empty.Y + 5000});
  EXPECT_EQ(Engine.FScrollX, 0);
  EXPECT_EQ(Engine.FScrollY, 0);
  Release(empty, mbRight);
}

TEST_F(PlayInputTest, TheBandSelectsLoosePiecesItHolds) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Lay(1, {420, 320});
  Lay(2, {520, 330});
  Lay(3, {600, 340});
  Piece(3).TogglePin();
  Frames(30);
  const TPoint corner{400, 300};
  ASSERT_EQ(Engine.SpriteAt(corner.X, corner.Y), -1);
  Press(corner);
  Move({760, 470});
  const auto& chosen = Set().Selection();
  EXPECT_EQ(chosen.size(), 2u);
  EXPECT_TRUE(Piece(1).FHinted && Piece(2).FHinted);
  EXPECT_FALSE(Piece(3).FHinted);
  Release({760, 470});
  // The group goes along with the mouse and keeps its order.
  Press(OnPiece(2));
  Clock.Advance(500);
  const TPoint one = Piece(1).FPosition;
  Move({OnPiece(2).X + 10, OnPiece(2).Y});
  EXPECT_EQ(Piece(1).FPosition.X, one.X + 10);
}

TEST_F(PlayInputTest, HotKeysClickTheirSidesWithExactlyTheirModifiers) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Options.Hotkeys[2 * (2 + MenuButton::Pin)] = {uint16_t('P'), 0};
  Options.Hotkeys[2 * (2 + MenuButton::Pin) + 1] = {uint16_t('P'), ssShift};
  uint16_t key = 'P';
  Screen->KeyUp(key, ssCtrl);
  EXPECT_FALSE(Screen->Menu().IsOn(MenuButton::Pin, EMenuSide::Left));
  Screen->KeyUp(key, 0);
  EXPECT_TRUE(Screen->Menu().IsOn(MenuButton::Pin, EMenuSide::Left));
  EXPECT_FALSE(Screen->Menu().IsOn(MenuButton::Pin, EMenuSide::Right));
  Screen->KeyUp(key, ssShift);
  EXPECT_TRUE(Screen->Menu().IsOn(MenuButton::Pin, EMenuSide::Right));
  Screen->KeyUp(key, 0);
  EXPECT_FALSE(Screen->Menu().IsOn(MenuButton::Pin, EMenuSide::Left));
  // With the pin tool on, a right click pins instead of turning.
  Screen->KeyUp(key, 0);
  Lay(5, {300, 300});
  Press(OnPiece(5), mbRight);
  Release(OnPiece(5), mbRight);
  Frames(30);
  EXPECT_EQ(Piece(5).FState, PieceState::Pinned);
}

// Every toggling side has its own key; a key with another modifier set does nothing.
TEST_F(PlayInputTest, EveryToggleHasItsHotKey) {
  NewGame({.PieceW = 40, .PieceH = 40});
  const std::vector<std::pair<int, EMenuSide>> toggles = {
      {MenuButton::Scatter, EMenuSide::Left}, {MenuButton::Scatter, EMenuSide::Right},
      {MenuButton::Loupe, EMenuSide::Left},   {MenuButton::Pin, EMenuSide::Left},
      {MenuButton::Pin, EMenuSide::Right},    {MenuButton::Ghost, EMenuSide::Left},
      {MenuButton::Ghost, EMenuSide::Right},  {MenuButton::SmallPicture, EMenuSide::Left},
      {MenuButton::SmallPicture, EMenuSide::Right}, {MenuButton::Magnet, EMenuSide::Left},
      {MenuButton::Magnet, EMenuSide::Right}, {MenuButton::MenuBar, EMenuSide::Right}};
  for (size_t k = 0; k < toggles.size(); ++k) {
    const auto [button, side] = toggles[k];
    const int modifiers = int(k % 3) == 0 ? 0 : int(k % 3) == 1 ? ssCtrl : ssAlt | ssShift;
    Options.Hotkeys[size_t(2 * (2 + button) + int(side))] = {uint16_t('A' + k), modifiers};
    const bool before = Screen->Menu().IsOn(button, side);
    uint16_t key = uint16_t('A' + k);
    Screen->KeyUp(key, modifiers ^ ssCtrl);
    EXPECT_EQ(Screen->Menu().IsOn(button, side), before) << button;
    Screen->KeyUp(key, modifiers | ssLeft);  // mouse buttons held do not count
    EXPECT_NE(Screen->Menu().IsOn(button, side), before) << button;
    Screen->KeyUp(key, modifiers);
    EXPECT_EQ(Screen->Menu().IsOn(button, side), before) << button;
  }
  Options.Hotkeys[2 * (2 + MenuButton::Exit)] = {VK_ESCAPE, 0};
  uint16_t escape = VK_ESCAPE;
  Screen->KeyUp(escape, 0);
  Frames(1);
  EXPECT_TRUE(Screen->Menu().ModalOpen());
}

TEST_F(PlayInputTest, TheBandLeavesPiecesInACollapsedTray) {
  NewGame({.PieceW = 40, .PieceH = 40});
  TDXTrayWindow& tray = *Set().Tray(1);
  tray.Open();
  tray.RestoreBounds(400, 300, 300, 200);
  Lay(1, {420, 340});
  ASSERT_EQ(Piece(1).FTray, 1u);
  tray.Collapse();
  Lay(2, {560, 330});
  const TPoint corner{390, 290};
  ASSERT_EQ(Engine.SpriteAt(corner.X, corner.Y), -1);
  Press(corner);
  Move({760, 520});
  const auto& chosen = Set().Selection();
  EXPECT_EQ(std::count(chosen.begin(), chosen.end(), &Piece(1)), 0);
  EXPECT_EQ(std::count(chosen.begin(), chosen.end(), &Piece(2)), 1);
  EXPECT_FALSE(Piece(1).FHinted);
  EXPECT_TRUE(Piece(2).FHinted);
  Release({760, 520});
}

TEST_F(PlayInputTest, AHelpThePuzzleForbidsIgnoresItsKey) {
  NewGame({.PieceW = 40, .PieceH = 40});
  PlayOptions.AllowGhost = 0;
  Screen->Menu().SetHelpHints();
  Options.Hotkeys[2 * (2 + MenuButton::Ghost)] = {uint16_t('G'), 0};
  uint16_t key = 'G';
  Screen->KeyUp(key, 0);
  EXPECT_FALSE(Screen->Menu().IsOn(MenuButton::Ghost, EMenuSide::Left));
  EXPECT_TRUE(Screen->Menu().GhostRect().IsEmpty());
}

TEST_F(PlayInputTest, TheMusicFadesOutAtCompletion) {
  Options.Music = 100;
  StartMusic();
  NewGame({.PieceW = 80, .PieceH = 60});
  EXPECT_EQ(SoundDevice().MidiVolume(0), 65535u);
  Solve();
  const uint32_t early = SoundDevice().MidiVolume(0);
  Frames(120);
  EXPECT_LT(SoundDevice().MidiVolume(0), early);
  EXPECT_LE(SoundDevice().MidiVolume(0), 655u);
  RestoreMidiVolumes();
  EXPECT_EQ(SoundDevice().MidiVolume(0), 65535u);
}

TEST_F(PlayInputTest, AClickOnTheBareTableLetsGoOfTheBandsSelection) {
  NewGame({.PieceW = 40, .PieceH = 40});
  for (int i = 0; i < Set().Count(); ++i) Piece(i).SetPosition({1500, 1100});
  Lay(1, {420, 320});
  Frames(30);
  Press({400, 300});
  Move({560, 460});
  Release({560, 460});
  ASSERT_EQ(Set().Selection().size(), 1u);
  ASSERT_TRUE(Piece(1).FHinted);
  Press({700, 60});
  Release({700, 60});
  Frames(2);
  EXPECT_TRUE(Set().Selection().empty());
  EXPECT_FALSE(Piece(1).FHinted);
  EXPECT_FALSE(Piece(1).FTinted);
}

TEST_F(PlayInputTest, F2PausesTheGameForTheOptions) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Screen->Menu().Built());
  uint16_t key = VK_F2;
  Screen->KeyDown(key, 0);
  EXPECT_EQ(Screen->Result(), PlayResult::Options);
  EXPECT_FALSE(Piece(0).Sprite()->Visible);
}

// Button 11 pauses the game for the options screen once; back from there the game goes on.
TEST_F(PlayInputTest, TheOptionsButtonPausesTheGameOnce) {
  NewGame({.PieceW = 40, .PieceH = 40});
  int paused = 0;
  Screen->OnDone = [&](TInterface*) { ++paused; };
  Screen->Menu().ClickSide(MenuButton::MainMenu, EMenuSide::Left);
  Frames(3);
  EXPECT_EQ(paused, 1);
  EXPECT_EQ(Screen->Result(), PlayResult::Options);
  EXPECT_FALSE(Piece(0).Sprite()->Visible);
  Screen->Resume();
  Frames(3);
  EXPECT_EQ(paused, 1);
  EXPECT_TRUE(Piece(0).Sprite()->Visible);
  Screen->OnDone = nullptr;
}

// The place-and-pin help: a piece dropped near its place over the ghost moves there and is pinned
// exactly over the ghost's part of the picture.
TEST_F(PlayInputTest, PlaceAndPinPinsThePieceOnItsPartOfTheGhostToThePixel) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Screen->Menu().ClickSide(MenuButton::Ghost, EMenuSide::Left);
  Screen->Menu().ClickSide(MenuButton::Pin, EMenuSide::Right);
  const TRect ghostRect = Screen->Menu().GhostRect();
  ASSERT_FALSE(ghostRect.IsEmpty());
  const int index = 5;
  const TPoint home = Home(Piece(index), {ghostRect.Left, ghostRect.Top});
  ASSERT_TRUE(Carry(index, {home.X + 4, home.Y - 3}, 0));
  // The ghost's setup window, shown while the mouse is over the ghost, takes the clicks there:
  // the mouse stays away until it has gone, then takes and drops the piece without a frame.
  Move({600, 400});
  Frames(300);
  const TPoint at = OnPiece(index);
  Press(at);
  Clock.Advance(50);
  Release(at);
  Press(at);
  Release(at);
  Frames(60);
  const TBPiece& p = Piece(index);
  EXPECT_EQ(p.FState, PieceState::Pinned);
  const TMySprite* ghost = nullptr;
  for (int i = 0; i < Engine.SpriteCount(); ++i)
    if (Engine.Sprite(i).Id && Engine.Sprite(i).Category == SpriteCategory::Ghost) ghost = &Engine.Sprite(i);
  ASSERT_NE(ghost, nullptr);
  // The shift of the piece against the ghost at which most of its pixels (all but its bevelled
  // edge) show the ghost's pixels beneath them.
  const auto agreeing = [&](TPoint shift) {
    const TMyDib& image = *p.Bitmap(0);
    int same = 0;
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) {
        const int gx = p.FPosition.X - shift.X + x - ghost->X, gy = p.FPosition.Y - shift.Y + y - ghost->Y;
        const TPixel pixel = image.At(x, y) & kRgbMask;
        same += pixel && ghost->Image()->InBounds(gx, gy) && pixel == (ghost->Image()->At(gx, gy) & kRgbMask);
      }
    return same;
  };
  TPoint best;
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx)
      if (agreeing({dx, dy}) > agreeing(best)) best = {dx, dy};
  EXPECT_EQ(best, (TPoint{0, 0})) << "the piece shows the ghost's pixels shifted by " << best.X << "," << best.Y;
  EXPECT_GT(agreeing(best), 40 * 40 * 3 / 4);
}

class ExitDialogTest : public PlayInputTest {
 protected:
  void ClickButton(const TDXButton& b) {
    const TPoint at{b.FLeft + b.FWidth / 2, b.FTop + b.FHeight / 2};
    Press(at);
    Release(at);
    Frames(2);
  }
  void ClickExitButton(int index) { ClickButton(*Screen->Menu().ExitButton(index)); }
  void ClickCompletionButton(int index) {
    ASSERT_TRUE(Screen->Menu().Completion().Shown());
    ClickButton(*Screen->Menu().Completion().Button(index));
  }
};

TEST_F(ExitDialogTest, TheDialogHoldsTheMouseAndOkSavesTheGame) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Lay(3, {40, 40});
  const TPoint piece = OnPiece(3);
  Screen->Menu().ClickSide(MenuButton::Exit, EMenuSide::Left);
  Frames(1);
  ASSERT_TRUE(Screen->Menu().ModalOpen());
  ASSERT_FALSE(Screen->Menu().ModalRect().Contains(piece.X, piece.Y));
  Press(piece);
  EXPECT_FALSE(Piece(3).FDragging);
  Release(piece);
  ClickExitButton(0);
  EXPECT_TRUE(Screen->Done());
  EXPECT_TRUE(FileExists(ZipPath()));
  Screen->Enter();
}

TEST_F(ExitDialogTest, AbandonDeletesTheSavedGameButAFinishedGameKeepsItsScore) {
  NewGame({.PieceW = 80, .PieceH = 60});
  ASSERT_TRUE(Screen->SaveGame(SavPath()));
  ASSERT_TRUE(FileExists(ZipPath()));
  Solve();
  Frames(2);
  // Completion opens its panel; the player stays and leaves later through the menu bar.
  ClickCompletionButton(TCompletionPanel::StayAtTable);
  EXPECT_FALSE(Screen->Menu().ModalOpen());
  Screen->Menu().ClickSide(MenuButton::Exit, EMenuSide::Left);
  Frames(1);
  ASSERT_TRUE(Screen->Menu().ModalOpen());
  ClickExitButton(1);
  EXPECT_TRUE(Screen->Done());
  EXPECT_FALSE(FileExists(ZipPath()));
  TGameRecord best, last;
  ASSERT_TRUE(ReadScoreFile(ChangeFileExt(PicturePath(), ".hsc"), best, last));
  EXPECT_EQ(last.Finished, 1);
  Screen->Enter();
}

// A scripted finish: the panel's figures are the finished game's, the first finish is a new
// best, and "back to the pictures" leaves saving the finished game.
TEST_F(ExitDialogTest, TheCompletionPanelShowsTheFinishedGameAndLeadsBackToThePictures) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Solve();
  Frames(2);
  ASSERT_TRUE(Screen->Menu().Completion().Shown());
  const std::vector<std::string>& lines = Screen->Menu().Completion().Lines();
  const std::vector<std::string> expected = {
      Lang(Text::PictureWholeAgain),
      Lang(Text::TimeLabel) + " " + ClockText(GameRecord.Elapsed),
      Lang(Text::ScoreLabel) + " " + OneDecimal(GameRecord.Score),
      Lang(Text::NewBest),
      Lang(Text::JoinsLabel) + " 11    " + Lang(Text::DropsLabel) + " " + std::to_string(GameRecord.Drops),
      Lang(Text::HelpsUsedLabel) + " " + Lang(Text::NoHelpsUsed)};
  EXPECT_EQ(lines, expected);
  ClickCompletionButton(TCompletionPanel::BackToPictures);
  EXPECT_TRUE(Screen->Done());
  EXPECT_EQ(Screen->Result(), PlayResult::ToPictures);
  EXPECT_TRUE(FileExists(ZipPath()));
  Screen->Enter();
}

TEST_F(ExitDialogTest, ABestBeforeStaysTheBestWhenTheNewGameScoresLess) {
  TGameRecord earlier;
  earlier.InitialPieces = 12;
  earlier.Finished = 1;
  earlier.Score = 1e6;
  std::string error;
  ASSERT_TRUE(UpdateScoreFile(ChangeFileExt(PicturePath(), ".hsc"), earlier, error)) << error;
  NewGame({.PieceW = 40, .PieceH = 40});
  Solve();
  Frames(2);
  ASSERT_TRUE(Screen->Menu().Completion().Shown());
  EXPECT_EQ(Screen->Menu().Completion().Lines().at(3), Lang(Text::BestScoreLabel) + " 1000000");
}

// The last piece shows the picture itself wherever it is opaque: no seams or bevels of the joins.
TEST_F(ExitDialogTest, TheFinishedPictureIsThePictureItself) {
  NewGame({.PieceW = 40, .PieceH = 40, .Bevel = 6});
  Solve();
  Frames(2);
  ASSERT_EQ(Set().Count(), 1);
  const TBPiece& last = Piece(0);
  const TMyDib& image = *last.Bitmap(0);
  const TPoint origin{last.FBoxTopLeft[0].X - PieceMargin(), last.FBoxTopLeft[0].Y - PieceMargin()};
  int compared = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      if ((image.At(x, y) & kRgbMask) == 0 || !Picture.InBounds(origin.X + x, origin.Y + y)) continue;
      const TPixel p = Picture.At(origin.X + x, origin.Y + y) & kRgbMask;
      ASSERT_EQ(image.At(x, y), (p & 0xF8F8F8) ? p : 0x080808) << x << "," << y;
      ++compared;
    }
  EXPECT_EQ(compared, Picture.Width() * Picture.Height());
}

// On the whole table a piece is taken and carried in table pixels: where it is dropped is what
// the close view then shows under the same table point, centred on the mouse.
TEST_F(PlayInputTest, ADragOnTheWholeTableLandsWhereTheCloseViewShowsIt) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Lay(2, {300, 300});
  Screen->MouseWheel(ssCtrl, -1, 400, 300);
  ASSERT_TRUE(Engine.Overview());
  const TBPiece& piece = Piece(2);
  const TPoint centre = Engine.TableToScreen(piece.FPosition.X + piece.Width() / 2, piece.FPosition.Y + piece.Height() / 2);
  TPoint from{-1, -1};
  for (int d = 0; d < 10 && from.X < 0; ++d)
    for (const TPoint at : {TPoint{centre.X + d, centre.Y}, TPoint{centre.X, centre.Y + d}, TPoint{centre.X - d, centre.Y}})
      if (from.X < 0 && Engine.SpriteAt(at.X, at.Y) == piece.SpriteIndex()) from = at;
  ASSERT_GE(from.X, 0) << "the piece is not under the mouse on the whole table";
  const TPoint before = piece.FPosition, grab = Engine.ScreenToTable(from.X, from.Y);
  const TPoint to{from.X + 120, from.Y + 70};
  Press(from);
  Clock.Advance(500);
  Move(to);
  Release(to);
  const TPoint drop = Engine.ScreenToTable(to.X, to.Y);
  EXPECT_FALSE(piece.FDragging);
  EXPECT_EQ(piece.FPosition, (TPoint{before.X + drop.X - grab.X, before.Y + drop.Y - grab.Y}));
  Screen->MouseWheel(ssCtrl, 1, to.X, to.Y);
  ASSERT_FALSE(Engine.Overview());
  EXPECT_EQ(Engine.FScrollX, drop.X - Display.Width() / 2);
  EXPECT_EQ(Engine.FScrollY, drop.Y - Display.Height() / 2);
  EXPECT_EQ(Engine.SpriteAt(Display.Width() / 2, Display.Height() / 2), piece.SpriteIndex());
}

TEST_F(PlayInputTest, TheWheelAndTheArrowKeysGlideTheTableWithinItsEdges) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Screen->MouseWheel(0, -2, 400, 300);
  Frames(30);
  EXPECT_EQ(Engine.FScrollY, 160);
  EXPECT_EQ(Engine.FScrollX, 0);
  Screen->MouseWheel(ssShift, -1, 400, 300);
  Frames(30);
  EXPECT_EQ(Engine.FScrollX, 80);
  uint16_t key = VK_LEFT;
  Screen->KeyDown(key, 0);
  Frames(30);
  EXPECT_EQ(Engine.FScrollX, 16);
  Screen->MouseWheel(0, 5, 400, 300);
  Frames(30);
  EXPECT_EQ(Engine.FScrollY, 0);
  Screen->MouseWheel(ssCtrl, -1, 400, 300);
  Screen->MouseWheel(0, -2, 400, 300);
  Frames(30);
  EXPECT_EQ(Engine.FScrollY, 0) << "the whole table does not scroll";
}

}  // namespace
}  // namespace qj::test
