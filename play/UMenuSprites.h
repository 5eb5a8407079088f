// Sprite chores the parts of the in-game menu share: sprites the mouse passes through, and
// showing or hiding a control's sprite.
#pragma once

#include "graphics/USpriteHandle.h"

namespace qj {

class TDXControl;
class TGraphicsEngine;

// An empty sprite at `depth` that presses go through to what lies below it.
TSpriteHandle MakeMenuSprite(TGraphicsEngine& engine, double depth, int category = 0);
void ShowSprite(TDXControl* control, bool shown);
bool SpriteShown(const TSpriteHandle& handle);

}  // namespace qj
