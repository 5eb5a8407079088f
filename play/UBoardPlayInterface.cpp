#include "play/UBoardPlayInterface.h"

#include "creation/UBitmapBuilder.h"
#include "platform/Input.h"
#include "platform/Paths.h"

namespace qj {

// Escape goes back to the main menu; F2 pauses the game for the options screen.
void TBoardPlayInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone) return;
  if (key == VK_ESCAPE) Finish(PlayResult::ToMainMenu);
  if (key == VK_F2) {
    FResult = PlayResult::Options;
    Suspend();
  }
}

void TBoardPlayInterface::NewGame(TPuzzleCutter& cutter, int width, int height) {
  FPieceCount = int(cutter.Pieces().size());
}

bool TBoardPlayInterface::LoadGame(TPuzzleCutter& cutter, const std::string& savPath) {
  if (!FileExists(ChangeFileExt(savPath, ".zip"))) return false;
  FPieceCount = int(cutter.Pieces().size());
  return true;
}

}  // namespace qj
