// The progress line in a corner of the table: how much of the picture is joined and the playing
// time ("37 % · 0:12:40"), drawn again only when its text changes.
#pragma once

#include <string>

#include "graphics/USpriteHandle.h"

namespace qj {

class TInterface;
struct TGameRecord;

class TProgressLine {
 public:
  // The line is a sprite in the owner's overlay band.
  explicit TProgressLine(TInterface& owner) : FOwner(owner) {}
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  void Make();
  // After the owner freed its sprites; the next Update draws the line again.
  void Reset();
  // Once a frame, with the record as it stands now (its time included): hidden unless `shown`,
  // at the top right corner of the screen.
  void Update(const TGameRecord& record, bool shown);
  const std::string& Text() const { return FText; }

 private:
  void Draw();

  TInterface& FOwner;
  TSpriteHandle FSprite;
  std::string FText;
  int FThemeDrawn = -1;
};

}  // namespace qj
