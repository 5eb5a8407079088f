#include "screens/UScreenText.h"

#include "controls/UEngines.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"

namespace qj {
namespace {

constexpr int kShadowOffset = 2;

TFontChoice ScreenFont(int size, TPixel colour, const std::string& font) {
  return {font.empty() ? CurrentFontName() : font, size, colour, true};
}

}  // namespace

TTextSize MeasureScreenText(const std::string& text, int size, const std::string& font) {
  TSurface probe(1, 1);
  TCanvas canvas(probe);
  canvas.Font = ScreenFont(size, 0, font);
  return {canvas.TextWidth(text) + kShadowOffset, canvas.TextHeight(text) + kShadowOffset};
}

void RenderScreenText(TSurface& surface, const std::string& text, int size, const std::string& font) {
  const TTextSize extent = MeasureScreenText(text, size, font);
  surface.SetSize(extent.Width, extent.Height);
  TCanvas canvas(surface);
  canvas.BrushClear = true;
  canvas.Font = ScreenFont(size, MakePixel(16, 16, 16), font);
  canvas.TextOut(kShadowOffset, kShadowOffset, text);
  canvas.Font.Color = MakePixel(255, 255, 255);
  canvas.TextOut(0, 0, text);
}

TSpriteHandle AddTextSprite(TBasicEvents& screen, const std::string& text, int size, int x, int y) {
  TGraphicsEngine& engine = *screen.FEngine;
  TSpriteHandle sprite(engine, engine.AddEmptySprite(x, y, screen.NextDepth(), 0));
  RenderScreenText(engine.AddSurface(sprite.Index(), nullptr), text, size);
  return sprite;
}

}  // namespace qj
