// The puzzle selector: the library of pictures as thumbnail windows.
#pragma once

#include <string>
#include <vector>

#include "core/UEngines.h"
#include "graphics/USpriteHandle.h"

namespace qj {

class TPuzzleSelectorInterface : public TInterface {
 public:
  using TInterface::TInterface;

  void Enter() override;
  void Leave() override;
  void KeyDown(uint16_t& key, int shift) override;
  void Resize() override;
  void Restore() override { Resize(); }

  // Full path of the picture chosen last; the engine reads it after the screen leaves.
  std::string FCurrentPath;

 private:
  void ChooseFirstPictureIfNone();
  void Step(int by);
  void Play();
  void ShowChoice();

  std::vector<std::string> FPictures;  // the library's pictures, full paths
  std::vector<TSpriteHandle> FTexts;
};

}  // namespace qj
