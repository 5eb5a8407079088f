#include "screens/UPuzzleSelectorInterface.h"

#include <algorithm>

#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/PictureLibrary.h"
#include "screens/UScreenText.h"

namespace qj {

void TPuzzleSelectorInterface::Enter() {
  TInterface::Enter();
  FPictures = ListPictures(UserPath("Jigsaws"));
  ChooseFirstPictureIfNone();
  ShowChoice();
}

void TPuzzleSelectorInterface::Leave() {
  FTexts.clear();
  TInterface::Leave();
}

void TPuzzleSelectorInterface::Resize() {
  if (!FDone) ShowChoice();
}

void TPuzzleSelectorInterface::ChooseFirstPictureIfNone() {
  if (std::find(FPictures.begin(), FPictures.end(), FCurrentPath) != FPictures.end()) return;
  FCurrentPath = FPictures.empty() ? std::string() : FPictures.front();
}

// Until the thumbnail windows exist, the selector names the chosen picture and its keys: the
// arrows step through the library, Enter plays, M makes a puzzle, Escape goes back.
void TPuzzleSelectorInterface::ShowChoice() {
  FTexts.clear();
  std::vector<std::pair<std::string, int>> lines = {{Lang(185), 28}};
  if (!FCurrentPath.empty()) lines.emplace_back(ExtractFileName(FCurrentPath), 20);
  if (!FCurrentPath.empty() && !FileExists(ChangeFileExt(FCurrentPath, ".pzl"))) lines.emplace_back(Lang(207), 14);
  lines.emplace_back("<- ->    Enter: " + Lang(160) + "    M: " + Lang(162) + "    Esc: " + Lang(166), 14);
  int y = FEngine->FHeight / 4;
  for (const auto& [text, size] : lines) {
    const TTextSize extent = MeasureScreenText(text, size);
    FTexts.push_back(AddTextSprite(*this, text, size, std::max(10, (FEngine->FWidth - extent.Width) / 2), y));
    y += extent.Height + 20;
  }
}

void TPuzzleSelectorInterface::Step(int by) {
  if (FPictures.empty()) return;
  const auto it = std::find(FPictures.begin(), FPictures.end(), FCurrentPath);
  const int count = int(FPictures.size());
  const int at = it == FPictures.end() ? 0 : int(it - FPictures.begin());
  FCurrentPath = FPictures[size_t(((at + by) % count + count) % count)];
  ShowChoice();
}

// A puzzle is continued when it has a saved game and started anew otherwise; a picture without a
// puzzle cannot be played yet.
void TPuzzleSelectorInterface::Play() {
  if (FCurrentPath.empty() || !FileExists(ChangeFileExt(FCurrentPath, ".pzl"))) return;
  Finish(FileExists(ChangeFileExt(FCurrentPath, ".zip")) ? SelectorResult::Continue : SelectorResult::NewGame);
}

void TPuzzleSelectorInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone) return;
  switch (key) {
    case VK_ESCAPE: Finish(SelectorResult::Back); break;
    case VK_RETURN: Play(); break;
    case 'M':
      if (!FCurrentPath.empty()) Finish(SelectorResult::Maker);
      break;
    case VK_LEFT: Step(-1); break;
    case VK_RIGHT: Step(1); break;
    default: break;
  }
}

}  // namespace qj
