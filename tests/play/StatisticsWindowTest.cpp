// The statistics window over a played game: its figures, the joins it counts in each minute, the
// best finished score of the puzzle, and the ways it opens and closes.
#include <functional>
#include <optional>

#include "controls/UButtons.h"
#include "core/UMiscelaneous.h"
#include "creation/UGameRecord.h"
#include "play/UBoardMenu.h"
#include "play/UCompletionPanel.h"
#include "platform/Input.h"
#include "tests/play/PlayFixture.h"

namespace qj::test {
namespace {

constexpr double kMinute = 1.0 / (24 * 60);

TGameRecord At(double minutes, int joins) {
  TGameRecord r;
  r.Elapsed = minutes * kMinute;
  r.Joins = joins;
  return r;
}

TEST(JoinTimeline, CountsTheJoinsOfEachMinuteFromTheFirstItSaw) {
  struct TCase {
    const char* Name;
    TGameRecord Start;
    std::vector<TGameRecord> Seen;
    double Now;
    int FirstMinute;
    std::vector<int> Counts;
  };
  const TCase cases[] = {
      {"new game", At(0, 0), {At(0.5, 2), At(1.2, 5), At(1.9, 5), At(3.9, 6)}, 4.5, 0, {2, 3, 0, 1, 0}},
      {"continued game", At(7.5, 10), {At(7.6, 10), At(8.1, 12)}, 8.2, 7, {0, 2}},
      {"nothing joined", At(0, 0), {At(0.3, 0)}, 0.4, 0, {0}},
  };
  for (const TCase& c : cases) {
    TJoinTimeline timeline;
    timeline.Start(c.Start);
    for (const TGameRecord& r : c.Seen) timeline.Note(r);
    EXPECT_EQ(timeline.FirstMinute(), c.FirstMinute) << c.Name;
    EXPECT_EQ(timeline.Counts(c.Now * kMinute), c.Counts) << c.Name;
  }
}

TEST(BestFinishedScore, NoneWithoutAScoreFileOrAFinishedGame) {
  TTempFolder folder;
  const std::string path = folder.File("picture.hsc");
  EXPECT_FALSE(BestFinishedScore(path).has_value());
  TGameRecord playing = At(3, 4);
  playing.InitialPieces = 12;
  playing.Score = 40;
  std::string error;
  ASSERT_TRUE(UpdateScoreFile(path, playing, error)) << error;
  EXPECT_FALSE(BestFinishedScore(path).has_value()) << "a game in progress has no result";
  playing.Finished = 1;
  playing.Score = 55.5;
  ASSERT_TRUE(UpdateScoreFile(path, playing, error)) << error;
  EXPECT_EQ(BestFinishedScore(path), std::optional<double>(55.5));
}

// The labels find the rows, so the game speaks English.
class StatisticsWindowTest : public TPlayTest {
 protected:
  void SetUp() override {
    Options.LanguageFile = "English.lang";
    ASSERT_TRUE(LoadLanguage());
  }
  void TearDown() override { LanguageText = FLanguage; }
  const TStatisticsWindow& Window() { return Screen->Menu().StatisticsWindow(); }
  void Stroke(uint16_t key, int shift = 0) {
    Screen->KeyDown(key, shift);
    Screen->KeyUp(key, shift);
    Frames(1);
  }
  void PressStatisticsKey() { Stroke(Options.Hotkeys[kStatisticsHotkey].Key, Options.Hotkeys[kStatisticsHotkey].Shift); }
  std::string Value(ETextId label) {
    for (const auto& [name, value] : Window().Rows())
      if (name == Lang(label)) return value;
    return "?";
  }

 private:
  const std::vector<std::string> FLanguage = LanguageText;
};

// Two drops in the first minute, a join (two drops more) in the second: the window counts them
// all and charts the join in its minute.
TEST_F(StatisticsWindowTest, FiguresAndChartFollowAScriptedGame) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(3, {1300, 900}));
  ASSERT_TRUE(Carry(4, {1300, 100}));
  Clock.Advance(61000);
  const int b = Piece(0).FNeighbours.front();
  ASSERT_TRUE(Carry(0, Home(Piece(0)), 0));
  ASSERT_TRUE(Carry(b, Home(Piece(b)), 0));
  Settle();
  ASSERT_EQ(Set().Count(), 11);
  Clock.Advance(60000);
  Frames(1);
  PressStatisticsKey();
  ASSERT_TRUE(Window().Shown());
  EXPECT_EQ(Value(Text::TimeLabel).substr(0, 4), "0:02") << "the time runs on between joins";
  EXPECT_EQ(Value(Text::DoneLabel), "9 %");
  EXPECT_EQ(Value(Text::JoinsLabel), "1");
  EXPECT_EQ(Value(Text::DropsLabel), std::to_string(GameRecord.Drops));
  EXPECT_EQ(Value(Text::HelpsUsedLabel), Lang(Text::NoHelpsUsed));
  EXPECT_EQ(Value(Text::BestScoreLabel), Lang(Text::NoBestScoreYet));
  EXPECT_EQ(Window().ChartCounts(), (std::vector<int>{0, 1, 0}));
  GameRecord.ProximityHints = 2;
  Frames(1);
  EXPECT_EQ(Value(Text::HelpsUsedLabel), HelpsUsedText(GameRecord)) << "the open window follows the game";
}

TEST_F(StatisticsWindowTest, TheBestFinishedScoreOfThePuzzle) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Solve();
  Settle();
  Frames(2);
  ASSERT_TRUE(GameRecord.Finished);
  TCompletionPanel const& panel = Screen->Menu().Completion();
  ASSERT_TRUE(panel.Shown());
  Screen->Menu().ClickSide(MenuButton::Statistics, EMenuSide::Left);
  ASSERT_TRUE(Window().Shown());
  EXPECT_FALSE(panel.Shown()) << "one window over the table at a time";
  EXPECT_EQ(Value(Text::BestScoreLabel), OneDecimal(GameRecord.Score));
  EXPECT_EQ(Value(Text::DoneLabel), "100 %");
}

TEST_F(StatisticsWindowTest, OpensByKeyAndButtonAndClosesByEveryWay) {
  NewGame();
  TBoardMenu& menu = Screen->Menu();
  const std::pair<const char*, std::function<void()>> closers[] = {
      {"hot key", [this] { PressStatisticsKey(); }},
      {"button again", [&menu] { menu.ClickSide(MenuButton::Statistics, EMenuSide::Right); }},
      {"Escape", [this] { Stroke(VK_ESCAPE); }},
      {"close button", [this] { Window().CloseButton()->OnClick(Window().CloseButton()); }},
  };
  for (const auto& [name, close] : closers) {
    PressStatisticsKey();
    ASSERT_TRUE(Window().Shown()) << name;
    EXPECT_TRUE(menu.ModalOpen()) << name;
    EXPECT_LE(menu.RestFor(GetTickCount()), 200u) << name << ": the running time is shown while the table rests";
    const TRect r = Window().Rect();
    EXPECT_TRUE(menu.BlocksPress(r.Left - 5, r.Top + 5)) << name << ": the table waits";
    close();
    EXPECT_FALSE(Window().Shown()) << name;
    EXPECT_FALSE(menu.ModalOpen()) << name << ": Escape closes the window alone";
  }
}

}  // namespace
}  // namespace qj::test
