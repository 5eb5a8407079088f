// The puzzle maker: makes a picture into a puzzle. It owns the cutter that play uses too.
#pragma once

#include <memory>

#include "core/UEngines.h"

namespace qj {

class TPuzzleCutter;

class TPuzzleMakerInterface : public TInterface {
 public:
  explicit TPuzzleMakerInterface(TGraphicsEngine* engine);
  ~TPuzzleMakerInterface() override;

  void KeyDown(uint16_t& key, int shift) override;
  void Restore() override {}

  TPuzzleCutter& Cutter() { return *FCutter; }

 private:
  std::unique_ptr<TPuzzleCutter> FCutter;
};

}  // namespace qj
