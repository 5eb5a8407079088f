// The play screen: the table on which a jigsaw is assembled.
#pragma once

#include <string>

#include "core/UEngines.h"

namespace qj {

class TPuzzleCutter;

class TBoardPlayInterface : public TInterface {
 public:
  using TInterface::TInterface;

  void KeyDown(uint16_t& key, int shift) override;
  void Restore() override {}

  // A new game from the freshly cut pieces, scattered over an area of width x height.
  void NewGame(TPuzzleCutter& cutter, int width, int height);
  // Continues the saved game; false when there is none to continue.
  [[nodiscard]] bool LoadGame(TPuzzleCutter& cutter, const std::string& savPath);

  int PieceCount() const { return FPieceCount; }

 private:
  int FPieceCount = 0;
};

}  // namespace qj
