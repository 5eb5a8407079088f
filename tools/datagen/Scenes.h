// The sample jigsaw pictures: busy, colourful scenes with detail in every part.
#pragma once

#include "platform/Dib.h"

namespace qj::datagen {

constexpr int kSceneW = 1200, kSceneH = 900;

TMyDib FlowerMeadow();
TMyDib StainedGlass();
TMyDib HarbourTown();
TMyDib AutumnForest();

}  // namespace qj::datagen
