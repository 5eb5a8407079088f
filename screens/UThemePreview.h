// A theme author's view: every control bitmap of the current theme laid out on one screen, so a
// theme can be checked at a glance (started with --theme-preview).
#pragma once

#include <vector>

#include "graphics/USpriteHandle.h"

namespace qj {

class TBasicEvents;

// Creates the sprites of the preview on the screen's depth band. Images a theme lacks are
// skipped; the layout flows from left to right and wraps at the surface's width.
std::vector<TSpriteHandle> BuildThemePreview(TBasicEvents& screen);

}  // namespace qj
