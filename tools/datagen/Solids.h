// Small animated sprites: pin frames, star sparkles, the three turning solids, the hidden card.
#pragma once

#include "platform/Dib.h"
#include "tools/datagen/Themes.h"

namespace qj::datagen {

constexpr int kSolidFrames = 24;

// Frame i of n: the first third drives the pin in, the second pulls it out, the last third
// shows it lifted and swaying. 32 x 32; the pin's point is the centre.
TMyDib PinFrame(const TThemeArt& t, int i, int n);
// A sparkle that grows, turns and fades over n frames; 32 x 32.
TMyDib StarFrame(const TThemeArt& t, int i, int n);
// Solid 0 cube, 1 diamond (octahedron), 2 pyramid, turned a quarter over kSolidFrames; 40 x 40.
TMyDib SolidFrame(const TThemeArt& t, int solid, int frame);
// The card shown for a puzzle whose picture is kept secret; 200 x 150.
TMyDib HiddenPicture(const TThemeArt& t);

}  // namespace qj::datagen
