// The puzzle selector: the library of pictures as thumbnail windows.
#pragma once

#include <string>

#include "core/UEngines.h"

namespace qj {

class TPuzzleSelectorInterface : public TInterface {
 public:
  using TInterface::TInterface;

  void KeyDown(uint16_t& key, int shift) override;
  void Restore() override {}

  // Full path of the picture chosen last; the engine reads it after the screen leaves.
  std::string FCurrentPath;
};

}  // namespace qj
