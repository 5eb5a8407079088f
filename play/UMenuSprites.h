// Sprite chores the parts of the in-game menu share: sprites the mouse passes through, and
// showing or hiding a control's sprite.
#pragma once

#include <span>

#include "graphics/USpriteHandle.h"

namespace qj {

class TDXButton;
class TDXControl;
class TGraphicsEngine;

// An empty sprite at `depth` that presses go through to what lies below it.
TSpriteHandle MakeMenuSprite(TGraphicsEngine& engine, double depth, int category = 0);
void ShowSprite(TDXControl* control, bool shown);
// A dialog's window and its buttons shown or hidden together; the buttons' hints only while shown.
void ShowWithButtons(TDXControl* window, std::span<TDXButton* const> buttons, bool shown);
bool SpriteShown(const TSpriteHandle& handle);

}  // namespace qj
