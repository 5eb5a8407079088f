// Undo and redo on the table through the hot keys: every kind of step taken back and done again,
// a join ending the history, trays, the limit of steps, and the score left as it was.
#include <functional>
#include <tuple>

#include "controls/UHints.h"
#include "controls/UTrayWindow.h"
#include "core/UMiscelaneous.h"
#include "creation/UGameRecord.h"
#include "platform/Input.h"
#include "tests/play/PlayFixture.h"

namespace qj::test {
namespace {

using TPlace = std::tuple<uint32_t, TPoint, int, uint8_t>;  // tray, top-left, turn, pin state

class UndoTest : public TPlayTest {
 protected:
  void Start() { NewGame({.PieceW = 40, .PieceH = 40, .Rotation = true}); }
  std::vector<TPlace> Places() {
    std::vector<TPlace> places;
    for (int i = 0; i < Set().Count(); ++i)
      places.emplace_back(Piece(i).FTray, Piece(i).FPosition, Piece(i).FOrientation, Piece(i).FState);
    return places;
  }
  // The key as the player presses it, letting go of Ctrl first, then time for the pieces to
  // slide and turn.
  void Press(int hotkey) {
    uint16_t key = Options.Hotkeys[size_t(hotkey)].Key;
    Screen->KeyDown(key, Options.Hotkeys[size_t(hotkey)].Shift);
    Screen->KeyUp(key, 0);
    Frames(120);
  }
  void Undo() { Press(kUndoHotkey); }
  void Redo() { Press(kRedoHotkey); }
  std::string Note() const { return Screen->UndoNote() ? Screen->UndoNote()->GetCaption() : ""; }
  TPoint Centre(int index) {
    const TRect r = Piece(index).Bounds();
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void CarryGroup(const std::vector<int>& pieces, TPoint by) {
    std::vector<TBPiece*> chosen;
    for (int i : pieces) chosen.push_back(&Piece(i));
    Set().Board().Mouse = Centre(pieces[0]);
    Set().SelectPieces(chosen);
    Set().StartCarrying(Screen->DragDepth());
    Set().Board().Mouse = {Set().Board().Mouse.X + by.X, Set().Board().Mouse.Y + by.Y};
    Frames(1);
    Set().DropSelection(Set().Board().Mouse.X, Set().Board().Mouse.Y, true);
  }
  TDXTrayWindow& OpenTray(int number, TPoint at) {
    TDXTrayWindow& tray = *Set().Tray(number);
    tray.Open();
    tray.RestoreBounds(at.X, at.Y, 300, 200);
    return tray;
  }
};

TEST_F(UndoTest, EveryKindOfStepIsTakenBackAndDoneAgain) {
  const std::vector<std::pair<std::string, std::function<void()>>> steps = {
      {"drop", [this] { ASSERT_TRUE(Carry(0, {1300, 900})); }},
      {"drop turned", [this] { ASSERT_TRUE(Carry(0, {1300, 900}, (Piece(0).FOrientation + 1) % 4)); }},
      {"group", [this] { CarryGroup({0, 5}, {250, 150}); }},
      {"turn", [this] { Set().RotateAt(3, Centre(3).X, Centre(3).Y, false); }},
      {"into a tray", [this] { OpenTray(1, {900, 700}); ASSERT_TRUE(Carry(2, {950, 750})); }},
      {"scatter", [this] { Set().Scatter(Centre(4).X, Centre(4).Y, 20, 60, {}); }},
      {"spread", [this] { Screen->SpreadOut(); }},
      {"push aside", [this] { Options.ChanceScatter = 99; Set().PushAside(Centre(6).X - 5, Centre(6).Y - 5, 10); }},
      {"pin", [this] { Set().TogglePin(7, false); }},
  };
  for (const auto& [name, act] : steps) {
    SCOPED_TRACE(name);
    Start();
    Frames(2);
    const auto before = Places();
    act();
    Frames(120);
    const auto after = Places();
    ASSERT_NE(before, after);
    Undo();
    EXPECT_EQ(Places(), before);
    Redo();
    EXPECT_EQ(Places(), after);
  }
}

TEST_F(UndoTest, OutOfATrayAndBackIntoItWhenItWasClosedMeanwhile) {
  Start();
  TDXTrayWindow& tray = OpenTray(1, {900, 700});
  ASSERT_TRUE(Carry(2, {950, 750}));
  ASSERT_EQ(Piece(2).FTray, 1u);
  const auto inTray = Places();
  Set().Board().Mouse = Centre(2);
  ASSERT_TRUE(Carry(2, {200, 900}));
  ASSERT_EQ(Piece(2).FTray, 0u);
  tray.Collapse();
  Undo();
  EXPECT_EQ(Places(), inTray);
  EXPECT_TRUE(tray.WindowShown()) << "undo opens the tray it puts a piece into";
  EXPECT_TRUE(Piece(2).Sprite()->Visible);
}

TEST_F(UndoTest, AJoinIsFinal) {
  const std::vector<std::string> language = LanguageText;
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
  NewGame({.PieceW = 40, .PieceH = 40});
  const int b = Piece(0).FNeighbours.front();
  ASSERT_TRUE(Carry(0, Home(Piece(0)), 0));
  ASSERT_TRUE(Carry(b, Home(Piece(b)), 0));
  Settle();
  ASSERT_EQ(Set().Count(), 11);
  const auto joined = Places();
  Undo();
  EXPECT_EQ(Places(), joined);
  EXPECT_EQ(Note(), Lang(Text::NothingBeforeJoin));
  ASSERT_TRUE(Carry(3, {1300, 100}));
  Undo();
  EXPECT_EQ(Places(), joined) << "steps after the join are undone";
  Undo();
  EXPECT_EQ(Note(), Lang(Text::NothingBeforeJoin));
  EXPECT_NE(Note().find("nothing to undo before the last join"), std::string::npos);
  LanguageText = language;
}

TEST_F(UndoTest, OnlyTheLastTwoHundredStepsAndANewStepEndsRedo) {
  Start();
  const auto first = Places();
  for (int i = 0; i < 205; ++i) Set().TogglePin(i % 2, false);
  for (int i = 0; i < 200; ++i) Set().Undo();
  EXPECT_EQ(Set().Undo(), EUndoResult::NothingBeyondLimit);
  EXPECT_NE(Places(), first) << "the oldest five steps are kept";
  EXPECT_EQ(Set().History().RedoCount(), 200u);
  Set().TogglePin(3, false);
  EXPECT_EQ(Set().Redo(), EUndoResult::Nothing);
}

TEST_F(UndoTest, UndoAndRedoLeaveTheScoreAlone) {
  Start();
  ASSERT_TRUE(Carry(0, {1300, 900}));
  ASSERT_TRUE(Carry(1, {1300, 100}));
  const TGameRecord before = GameRecord;
  EXPECT_EQ(before.Drops, 2);
  Undo();
  Undo();
  Redo();
  EXPECT_EQ(GameRecord, before);
}

TEST_F(UndoTest, ASortIsOneStepAndACarryInProgressIsPutDownAndTakenBack) {
  Start();
  const auto before = Places();
  Screen->SortIntoTrays();
  Frames(2);
  const auto sorted = Places();
  ASSERT_NE(before, sorted);
  Undo();
  EXPECT_EQ(Places(), before);
  for (int t = 1; t <= kTrayCount; ++t) EXPECT_FALSE(Set().Tray(t)->WindowShown()) << t;
  Redo();
  EXPECT_EQ(Places(), sorted);
  Undo();
  Set().Board().Mouse = Centre(0);
  ASSERT_TRUE(Set().PickUp(0));
  Set().StartCarrying(Screen->DragDepth());
  Set().Board().Mouse = {Set().Board().Mouse.X + 200, Set().Board().Mouse.Y + 100};
  Frames(1);
  Undo();
  EXPECT_EQ(Places(), before);
}

}  // namespace
}  // namespace qj::test
