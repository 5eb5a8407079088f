// The palettes of the shipped themes; every themed image is drawn from one of these.
#pragma once

#include <vector>

#include "tools/datagen/Raster.h"

namespace qj::datagen {

struct TThemeArt {
  int FileNr = 0;
  const char* Name = "";
  TColor Body;          // frames, bars, button faces
  TColor BodyLight;     // their lit side
  TColor BodyDark;      // rims and shadows
  TColor TitleActive;   // title band of the active window
  TColor Client;        // window client areas
  TColor ClientDeep;    // bottom of the client gradient
  TColor Accent;        // glows, lit states, check marks
  TColor Text;          // captions drawn by the program (the theme's "say" colour)
  TColor Hint;          // hint boxes (their text is always near black)
  TColor Pin;           // pin heads and similar accents
  TColor Icon;          // glyphs on buttons
  float Grain = 0;      // wood grain strength on frames (0 = smooth glass)
  float Gloss = 0;      // glassy top highlight strength
};

const std::vector<TThemeArt>& ThemeArts();

// Wood grain shade for a point: -1..1 streaks along x.
float WoodGrain(float x, float y, uint32_t seed);

}  // namespace qj::datagen
