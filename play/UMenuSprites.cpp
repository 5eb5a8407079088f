// Sprite chores the parts of the in-game menu share.
#include "play/UMenuSprites.h"

#include "controls/UButtons.h"
#include "controls/UControls.h"
#include "graphics/UGraphicsEngine.h"

namespace qj {

TSpriteHandle MakeMenuSprite(TGraphicsEngine& engine, double depth, int category) {
  TSpriteHandle handle(engine, engine.AddEmptySprite(0, 0, depth, category));
  handle.Get()->NoHit = true;
  return handle;
}

void ShowSprite(TDXControl* control, bool shown) {
  if (!control) return;
  if (TMySprite* s = control->FSprite.Get()) s->Visible = shown;
}

void ShowWithButtons(TDXControl* window, std::span<TDXButton* const> buttons, bool shown) {
  ShowSprite(window, shown);
  for (TDXButton* b : buttons) {
    ShowSprite(b, shown);
    b->EnableHints(shown);
  }
}

bool SpriteShown(const TSpriteHandle& handle) {
  const TMySprite* s = handle.Get();
  return s && s->Visible;
}

}  // namespace qj
