// The options screen, shown from the main menu or over a paused game.
#pragma once

#include "core/UEngines.h"

namespace qj {

class TOptionsInterface : public TInterface {
 public:
  using TInterface::TInterface;

  void KeyDown(uint16_t& key, int shift) override;
  void Restore() override {}
};

}  // namespace qj
