// The puzzle maker's check and save, and the dialogs that explain an unsound cut or ask before
// a long one is saved.
#include "screens/UPuzzleMakerInterface.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "controls/UButtons.h"
#include "controls/UInfoWindow.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "creation/UGameRecord.h"
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
    ShowUnsound();
    return;
  }
  if (FShapedCount > kManyPieces) {
    ShowQuestion(ManyPieces);
    return;
  }
  SaveUnlessAGameIsLost();
}

// The new cut ends the game in progress of the old one: the player is asked before it is lost.
void TPuzzleMakerInterface::SaveUnlessAGameIsLost() {
  std::string progress;
  if (GameInProgress(progress)) {
    FGameProgress = progress;
    ShowQuestion(ReplaceGame);
    return;
  }
  WritePuzzle();
}

// Many pieces first, then the game in progress: each question has its own yes.
void TPuzzleMakerInterface::AnswerYes() {
  if (FQuestion == ReplaceGame) {
    WritePuzzle();
    return;
  }
  HideQuestion();
  SaveUnlessAGameIsLost();
}

// A saved game whose score file says it was finished is no game to keep; one without a readable
// score file may still be played, so it counts as in progress (its progress then unknown).
bool TPuzzleMakerInterface::GameInProgress(std::string& progress) const {
  const std::string saved = ChangeFileExt(FCutter->FileName(), ".zip");
  if (!FileExists(saved)) return false;
  TGameRecord best, last;
  const bool read = ReadScoreFile(ChangeFileExt(saved, ".hsc"), best, last);
  if (read && last.Finished) return false;
  progress = read && last.InitialPieces > 0 ? ProgressText(Lang(Text::ProgressFormat), last) : "?";
  return true;
}

// The saved game of the old cut goes only once the new puzzle is written; a puzzle that cannot
// be written is named with the cause and the player stays to try again.
void TPuzzleMakerInterface::WritePuzzle() {
  HideQuestion();
  const std::string puzzle = ChangeFileExt(FCutter->FileName(), ".pzl");
  if (!FCutter->SavePuzzleFile(puzzle)) {
    const int cause = errno;
    ShowFailure(Lang(Text::PuzzleNotSaved), puzzle, cause);
    LogError("%s", FCutter->LastError().c_str());
    return;
  }
  const std::string saved = ChangeFileExt(puzzle, ".zip");
  if (FileExists(saved) && !DeleteFile(saved)) {
    const int cause = errno;
    LogError("cannot delete the saved game of the old cut %s: %s", saved.c_str(), std::strerror(cause));
    ShowFailure(Lang(Text::OldGameNotDeleted), saved, cause);
    FLeaveAfterError = true;
    return;
  }
  Finish(MakerResult::ToSelector);
}

// ---- The dialogs ----------------------------------------------------------------------------------

bool TPuzzleMakerInterface::ErrorShown() const { return Shown(FErrorWindow); }
bool TPuzzleMakerInterface::QuestionShown() const { return Shown(FQuestionWindow); }

void TPuzzleMakerInterface::ShowError(bool shown) {
  if (shown) {
    FErrorWindow->SetCaption(Lang(FErrorTitle));
    PlaceDialog(*FErrorWindow, FErrorLines, ErrorOk, ButtonCount);
  }
  ShowDialog(FErrorWindow, {ErrorOk}, shown);
}

void TPuzzleMakerInterface::ShowUnsound() {
  FErrorTitle = Text::NotSound;
  FErrorLines = {Lang(Text::CutCannotBeSaved), Lang(Text::ShapesSplitOrJoinPieces), Lang(Text::PiecesWouldNotMatch),
                 Lang(Text::TryAnotherShape), Lang(Text::OrLessDistortion)};
  ShowError(true);
}

// What failed, the file, and why, in the player's language.
void TPuzzleMakerInterface::ShowFailure(const std::string& what, const std::string& path, int cause) {
  FErrorTitle = Text::NotSaved;
  FErrorLines = {what, path, SaveFailureCause(cause)};
  ShowError(true);
}

// OK closes the panel; after a failure that left nothing to stay for, it leaves too.
void TPuzzleMakerInterface::CloseError() {
  ShowError(false);
  if (std::exchange(FLeaveAfterError, false)) Finish(MakerResult::ToSelector);
}

void TPuzzleMakerInterface::ShowQuestion(EQuestion question) {
  FQuestion = question;
  const bool many = question == ManyPieces;
  FQuestionWindow->SetCaption(Lang(many ? Text::VeryManyPieces : Text::ReplaceYourGame));
  FButtons[QuestionYes]->SetCaption(Lang(many ? Text::Save : Text::Replace));
  FButtons[QuestionNo]->SetCaption(Lang(many ? Text::Cancel : Text::KeepMyGame));
  FButtons[QuestionYes]->FHintText = TextKey(many ? Text::SaveManyPiecesHint : Text::ReplaceHint);
  FButtons[QuestionNo]->FHintText = TextKey(many ? Text::ChooseLargerPiecesHint : Text::KeepMyGameHint);
  PlaceDialog(*FQuestionWindow, QuestionLines(), QuestionYes, QuestionNo);
  ShowDialog(FQuestionWindow, {QuestionYes, QuestionNo}, true);
}

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

}  // namespace

std::string TPuzzleMakerInterface::ErrorText() const { return Joined(FErrorLines); }
std::string TPuzzleMakerInterface::QuestionText() const { return Joined(QuestionLines()); }

void TPuzzleMakerInterface::HideQuestion() { ShowDialog(FQuestionWindow, {QuestionYes, QuestionNo}, false); }

std::vector<std::string> TPuzzleMakerInterface::QuestionLines() const {
  if (FQuestion == ManyPieces)
    return {Lang(Text::PiecesLabel) + " " + std::to_string(FShapedCount), Lang(Text::TakesALongTime), Lang(Text::SaveAllTheSame)};
  const std::string name = ChangeFileExt(ExtractFileName(FCutter->FileName()), "");
  return {Filled(Lang(Text::GameInProgressOf), {name, FGameProgress}), Lang(Text::NewCutDeletesGame)};
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
