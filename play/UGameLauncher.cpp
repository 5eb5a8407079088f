// The game launcher: from a picture on disk to a game on the play screen.
#include "play/UGameLauncher.h"

#include "controls/UInfoWindow.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "platform/Display.h"
#include "platform/Paths.h"
#include "play/UBoardPlayInterface.h"

namespace qj {

TGameLauncher::TGameLauncher(TBoardPlayInterface& play, IDisplay& display) : FPlay(play), FDisplay(display) {}

// The picture becomes the last jigsaw only once it and its puzzle could be read.
bool TGameLauncher::NewGame(const std::string& picture) {
  ShowCutProgress();
  TPuzzleCutter cutter;
  if (!LoadPuzzle(cutter, picture)) return false;
  Options.LastJigsaw = picture;
  cutter.ScalePicture(0);
  cutter.DrawCutMap();
  InfoWindow().SetPosition(0);
  FDisplay.ShowPrimary();
  cutter.OnProgress = [this](TPuzzleCutter& sender) { CutterProgress(sender); };
  cutter.CutPieces();
  EnterPlay();
  FPlay.NewGame(cutter, FDisplay.Width() - 200, FDisplay.Height() - 300);
  return true;
}

EContinueResult TGameLauncher::ContinueGame(const std::string& picture) {
  TPuzzleCutter cutter;
  if (!LoadPuzzle(cutter, picture)) return EContinueResult::NotLoaded;
  Options.LastJigsaw = picture;
  EnterPlay();
  cutter.ScalePicture(0);
  cutter.DrawCutMap();
  cutter.CropToGrid();
  if (FPlay.LoadGame(cutter, ChangeFileExt(picture, ".sav"))) return EContinueResult::Playing;
  FPlay.Leave();
  return EContinueResult::NotRestored;
}

// The picture and its puzzle file into the cutter; false, with the cause, when either cannot be
// read. A picture without a puzzle file cannot be played.
bool TGameLauncher::LoadPuzzle(TPuzzleCutter& cutter, const std::string& picture) {
  const std::string puzzle = ChangeFileExt(picture, ".pzl");
  if (picture.empty()) FLoadError = "no jigsaw has been chosen yet";
  else if (!FileExists(picture)) FLoadError = "the picture is missing";
  else if (!cutter.LoadPicture(picture)) FLoadError = cutter.LastError();
  else if (!FileExists(puzzle)) FLoadError = "no puzzle has been made of this picture yet";
  else if (!cutter.LoadPuzzleFile(puzzle)) FLoadError = cutter.LastError();
  else return true;
  return false;
}

void TGameLauncher::EnterPlay() {
  if (OnLeaveScreen) OnLeaveScreen();
  FPlay.Enter();
}

// The cut's progress box: the number of pieces is known only once the cut has begun.
void TGameLauncher::ShowCutProgress() {
  TDXInfoWindow& info = InfoWindow();
  info.Start({Lang(Text::CuttingThePuzzle), true, true, false, 0, 1});
  info.Draw();
  FDisplay.ShowPrimary();
}

void TGameLauncher::CutterProgress(TPuzzleCutter& cutter) {
  TDXInfoWindow& info = InfoWindow();
  info.SetMax(int(cutter.Pieces().size()) - 1);
  if (info.Step()) FDisplay.ShowPrimary();
}

}  // namespace qj
