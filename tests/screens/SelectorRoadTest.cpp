// Play in the selector as a new player meets it, through the engine: a sample picture plays at
// once, a picture without a puzzle opens the maker with a note on how to make one.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/UGameEngine.h"
#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "core/UTextIds.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "play/UBoardPlayInterface.h"
#include "screens/UPuzzleMakerInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

class SelectorRoadTest : public TEngineFixture {
 protected:
  SelectorRoadTest() {
    // Every line of the language, so the note has its text.
    std::string lines;
    for (int i = 0; i < 640; ++i) lines += (i == int(Text::NoPuzzleYetNote) ? "No puzzle|press %1" : "Line " + std::to_string(i)) + "\r\n";
    folder.Write("Text/English.lang", lines);
    CopyShapeFile();
  }
  // From the main menu into the selector, on the first picture of the library.
  void OpenSelector() {
    Start();
    Frame();
    Key('1');
    Frame();
    ASSERT_EQ(Engine().Active(), &Engine().Selector());
  }
};

// The sample pictures of the data set each have their puzzle; the first of the library is a
// small one, and the first Play starts its game.
TEST_F(SelectorRoadTest, TheFirstPlayOfASamplePictureStartsAGame) {
  const std::filesystem::path samples = std::filesystem::path(QJ_PROGRAM_DIR) / "Jigsaws";
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(samples)) {
    if (entry.path().extension() != ".jpg") continue;
    ++pictures;
    const std::filesystem::path puzzle = std::filesystem::path(entry.path()).replace_extension(".pzl");
    ASSERT_TRUE(std::filesystem::exists(puzzle)) << puzzle;
    std::filesystem::copy_file(entry.path(), folder.File("Jigsaws/" + entry.path().filename().string()));
    std::filesystem::copy_file(puzzle, folder.File("Jigsaws/" + puzzle.filename().string()));
  }
  ASSERT_GT(pictures, 0);
  OpenSelector();
  const TDXThumbWindow* first = Engine().Selector().ThumbOf(Engine().Selector().CurrentPath());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->FKind, EThumbKind::Preview);
  const int pieces = first->FPieceCount;
  EXPECT_GE(pieces, 50);
  EXPECT_LE(pieces, 150);
  Key(VK_RETURN);
  Frame();
  ASSERT_EQ(Engine().Active(), &Engine().BoardPlay());
  EXPECT_EQ(Engine().BoardPlay().PieceCount(), pieces);
}

TEST_F(SelectorRoadTest, PlayOnAPictureWithoutAPuzzleOpensTheMakerWithANote) {
  const std::string picture = MakeJigsaw("Bare", false);
  OpenSelector();
  ASSERT_EQ(Engine().Selector().CurrentPath(), picture);
  Key(VK_RETURN);
  Frame();
  ASSERT_EQ(Engine().Active(), &Engine().Maker());
  // How long it is shown is the note's own test; this program folder has no theme to draw it.
  const std::string save = Engine().Maker().Button(TPuzzleMakerInterface::Save)->GetCaption();
  int notes = 0;
  for (TDXControl* c : Engine().Maker().FControls)
    if (dynamic_cast<TDXHint*>(c) && c->GetCaption() == "No puzzle|press " + save) ++notes;
  EXPECT_EQ(notes, 1) << "the maker has the note";
}

}  // namespace
}  // namespace qj::test
