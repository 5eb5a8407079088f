// The main menu: the first screen and the one every other screen returns to.
#pragma once

#include "core/UEngines.h"

namespace qj {

class TMainInterface : public TInterface {
 public:
  using TInterface::TInterface;

  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void Restore() override {}
};

}  // namespace qj
