#include "play/UProgressLine.h"

#include "controls/UEngines.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UGameRecord.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UMenuSprites.h"
#include "platform/Canvas.h"

namespace qj {
namespace {

constexpr int kPadX = 8, kPadY = 3, kCornerGap = 8;
constexpr uint8_t kAlpha = 210;  // the table shows a little through the box
const TPixel kBox = MakePixel(22, 22, 30), kInk = MakePixel(236, 236, 236);

}  // namespace

void TProgressLine::Make() {
  FSprite = MakeMenuSprite(*FOwner.FEngine, FOwner.NextOverlayDepth());
  FOwner.FEngine->AddSurface(FSprite.Index(), nullptr);
  TMySprite& s = *FSprite.Get();
  s.Alpha = kAlpha;
  s.Visible = false;
  FText.clear();
}

void TProgressLine::Reset() {
  FSprite.Reset();
  FText.clear();
}

void TProgressLine::Update(const TGameRecord& record, bool shown) {
  TMySprite* s = FSprite.Get();
  if (!s) return;
  s->Visible = shown;
  if (!shown) return;
  std::string text = ProgressText(Lang(Text::ProgressFormat), record);
  if (text != FText || FThemeDrawn != Options.Environment) {
    FText = std::move(text);
    Draw();
  }
  const int x = FOwner.FEngine->FWidth - kCornerGap - (s->Surfaces.empty() ? 0 : s->Surfaces[0]->Width());
  if (s->X != x || s->Y != kCornerGap) {
    s->X = x;
    s->Y = kCornerGap;
  }
}

void TProgressLine::Draw() {
  const TTheme& theme = CurrentTheme();
  TPixelBuffer scratch;
  TCanvas measure(scratch);
  measure.Font = {theme.FontName, theme.FontSize + 2, kInk, true};
  TMyDib image(measure.TextWidth(FText) + 2 * kPadX, measure.TextHeight("Wg") + 2 * kPadY, 32);
  image.Fill(kBox);
  TCanvas canvas(image);
  canvas.Font = measure.Font;
  canvas.BrushClear = true;
  canvas.TextOut(kPadX, kPadY, FText);
  FSprite.Get()->Surfaces[0]->CopyFrom(image);
  FThemeDrawn = Options.Environment;
}

}  // namespace qj
