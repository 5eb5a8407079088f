// The puzzle maker's check and save, and the dialogs that explain an unsound cut or ask before
// a long one is saved.
#include "screens/UPuzzleMakerInterface.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "controls/UButtons.h"
#include "controls/UInfoWindow.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Display.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "screens/UMakerPanels.h"

namespace qj {

// ---- Check and save -------------------------------------------------------------------------------

// The shaped cut against the straight cut of the same grid: a shape that crosses another cut or
// leaves a region open changes the count.
void TPuzzleMakerInterface::PressCheck() {
  TDXInfoWindow& info = InfoWindow();
  info.Start({Lang(Text::CheckingTheCut)});
  info.Draw();
  FEngine->Display().ShowPrimary();
  TPuzzleCutter& c = *FCutter;
  try {
    Randomize(c.CutParameters().RandomSeed);
    c.DrawCutMap();
    FShapedCount = c.CountPieces();
    FStraightCount = c.CountStraightPieces();
  } catch (const std::runtime_error& e) {
    Message(e.what());
    FShapedCount = FStraightCount = 0;
  }
  FCheckState = IsSoundCut(FShapedCount, FStraightCount) ? Sound : Unsound;
  PaintInfo();
}

void TPuzzleMakerInterface::PressSave() {
  if (FCheckState == Unchecked) PressCheck();
  if (FCheckState == Unsound) {
    ShowError(true);
    return;
  }
  if (FShapedCount > kManyPieces) {
    ShowQuestion(true);
    return;
  }
  WritePuzzle();
}

// The saved game of the old cut goes only once the new puzzle is written; a puzzle that cannot
// be written is named with the cause and the player stays to try again.
void TPuzzleMakerInterface::WritePuzzle() {
  ShowQuestion(false);
  const std::string puzzle = ChangeFileExt(FCutter->FileName(), ".pzl");
  if (!FCutter->SavePuzzleFile(puzzle)) {
    Message(FCutter->LastError());
    return;
  }
  const std::string saved = ChangeFileExt(puzzle, ".zip");
  if (FileExists(saved) && !DeleteFile(saved))
    Message("cannot delete the saved game of the old cut " + saved + ": " + std::strerror(errno));
  Finish(MakerResult::ToSelector);
}

// ---- The dialogs ----------------------------------------------------------------------------------

bool TPuzzleMakerInterface::ErrorShown() const { return Shown(FErrorWindow); }
bool TPuzzleMakerInterface::QuestionShown() const { return Shown(FQuestionWindow); }

void TPuzzleMakerInterface::ShowError(bool shown) {
  if (shown) {
    const std::vector<std::string> lines = {Lang(Text::CutCannotBeSaved), Lang(Text::ShapesSplitOrJoinPieces),
                                            Lang(Text::PiecesWouldNotMatch), Lang(Text::TryAnotherShape),
                                            Lang(Text::OrLessDistortion)};
    PlaceDialog(*FErrorWindow, lines, ErrorOk, ButtonCount);
  }
  ShowDialog(FErrorWindow, {ErrorOk}, shown);
}

void TPuzzleMakerInterface::ShowQuestion(bool shown) {
  if (shown) {
    const std::vector<std::string> lines = {Lang(Text::PiecesLabel) + " " + std::to_string(FShapedCount),
                                            Lang(Text::TakesALongTime), Lang(Text::SaveAllTheSame)};
    PlaceDialog(*FQuestionWindow, lines, QuestionYes, QuestionNo);
  }
  ShowDialog(FQuestionWindow, {QuestionYes, QuestionNo}, shown);
}

void TPuzzleMakerInterface::ShowDialog(TDXWindow* window, std::initializer_list<EButton> buttons, bool shown) {
  SetShown(window, shown);
  for (EButton b : buttons) SetShown(FButtons[b], shown);
}

// The window takes the size of its text and its buttons, in the middle of the screen.
void TPuzzleMakerInterface::PlaceDialog(TDXWindow& window, const std::vector<std::string>& lines, EButton first, EButton second) {
  const int size = CurrentTheme().FontSize + 2;
  int textWidth = 0;
  for (const std::string& line : lines) textWidth = std::max(textWidth, TextWidthAt(line, size));
  const int step = TextHeightAt(size) + 4, buttonHeight = FButtons[first]->FHeight;
  (void)window.SetClientSize(std::max(textWidth + 20, kDialogWidth - 20), step * int(lines.size()) + 30 + buttonHeight);
  std::vector<TTextRow> rows;
  for (size_t i = 0; i < lines.size(); ++i) rows.push_back({10, 10 + int(i) * step, lines[i]});
  window.SetImage(TextImage(window.ClientWidth(), window.ClientHeight(), rows, size));
  window.SetBounds((FEngine->FWidth - window.FWidth) / 2, (FEngine->FHeight - window.FHeight) / 2, window.FWidth, window.FHeight);
  window.Paint();
  const int top = window.FTop + window.FHeight - buttonHeight - 14;
  if (second == ButtonCount) {
    FButtons[first]->SetBounds(window.FLeft + (window.FWidth - 120) / 2, top, 120, buttonHeight);
    return;
  }
  FButtons[first]->SetBounds(window.FLeft + 20, top, 120, buttonHeight);
  FButtons[second]->SetBounds(window.FLeft + window.FWidth - 140, top, 120, buttonHeight);
}

void TPuzzleMakerInterface::Message(const std::string& text) {
  if (OnMessage) OnMessage(Lang(Text::PuzzleMaker), text);
  else LogError("%s", text.c_str());
}

}  // namespace qj
