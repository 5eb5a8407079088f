// The puzzle maker's preview: the picture with the cut lines in the view, the scrolling, the
// drawing of the cut on every change, and the small windows of values beside it.
#include "screens/UPuzzleMakerInterface.h"

#include <cmath>
#include <stdexcept>

#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Display.h"
#include "screens/UMakerPanels.h"

namespace qj {
namespace {

constexpr int kViewMargin = 10;    // a scrolled view may go this far past the picture's edges

}  // namespace

// Scroll bars along the inside of the view, each only while the picture is larger than the view
// that way; a smaller picture is shown in the middle.
void TPuzzleMakerInterface::PlaceViewScrollBars() {
  const TRect client = FView->ClientRect();
  const int pw = FCutter->ScaledPicture().Width(), ph = FCutter->ScaledPicture().Height();
  const bool wide = pw > client.Width(), tall = ph > client.Height();
  TDXScrollBar& x = *FViewScrollX;
  TDXScrollBar& y = *FViewScrollY;
  const int left = FView->FLeft + client.Left, top = FView->FTop + client.Top;
  x.SetBounds(left, top + client.Height() - x.FHeight, client.Width() - (tall ? y.FWidth : 0), x.FHeight);
  y.SetBounds(left + client.Width() - y.FWidth, top, y.FWidth, client.Height() - (wide ? x.FHeight : 0));
  const TFlagScope loading(FLoading, true);
  x.SetMin(-kViewMargin);
  x.SetMax(std::max(-kViewMargin, pw - client.Width() + kViewMargin));
  y.SetMin(-kViewMargin);
  y.SetMax(std::max(-kViewMargin, ph - client.Height() + kViewMargin));
  SetShown(&x, wide);
  SetShown(&y, tall);
  ScrollView();
}

void TPuzzleMakerInterface::ScrollView() {
  if (!FView) return;
  const TRect client = FView->ClientRect();
  const int pw = FCutter->ScaledPicture().Width(), ph = FCutter->ScaledPicture().Height();
  const int x = pw > client.Width() ? FViewScrollX->FPosition : (pw - client.Width()) / 2;
  const int y = ph > client.Height() ? FViewScrollY->FPosition : (ph - client.Height()) / 2;
  FView->SetScrollOrigin({x, y});
}

// ---- The cut --------------------------------------------------------------------------------------

void TPuzzleMakerInterface::ShowPicture() { FView->SetImage(FCutter->ScaledPicture()); }

void TPuzzleMakerInterface::SelectStyle(int style) {
  FCurrentStyle = style;
  PlaceMarks();
  GridChanged();
}

// The grid stays where it was: the same seed draws the same displacement with the new shape.
void TPuzzleMakerInterface::SelectShape(int shape) {
  FShape = shape;
  Randomize(FCutter->CutParameters().RandomSeed);
  GridChanged();
}

// Every change of the grid draws a fresh displacement from the generator as it stands, and the
// cut has to be checked again.
void TPuzzleMakerInterface::GridChanged() {
  if (FLoading || FDone) return;
  IDisplay& display = FEngine->Display();
  display.SetCursor(TCursorKind::Hourglass);
  FSliders[DistortX]->SetMax(int(std::lround(FSliders[Width]->FPosition / 10.0)));
  FSliders[DistortY]->SetMax(int(std::lround(FSliders[Height]->FPosition / 10.0)));
  const auto at = [this](ESlider s) { return double(FSliders[s]->FPosition); };
  FCutter->SetCutStyle(FCurrentStyle, FShape, at(Width), at(Height), at(DistortX), at(DistortY), at(SpreadX) / 10,
                       at(SpreadY) / 10);
  PlaceMarks();
  try {
    FCutter->DrawCutMap();
    FView->SetPicture(FCutter->CutMap());
  } catch (const std::runtime_error& e) {
    Message(e.what());
  }
  FCheckState = Unchecked;
  PaintInfo();
  display.SetCursor(TCursorKind::Arrow);
}

// ---- Painting the small windows -------------------------------------------------------------------

// Six lines: pieces, picture size, piece size, distortion, spread and the state of the check.
void TPuzzleMakerInterface::PaintInfo() {
  if (!FInfoWindow) return;
  const auto pair = [this](ESlider a, ESlider b) { return std::to_string(FSliders[a]->FPosition) + "x" + std::to_string(FSliders[b]->FPosition); };
  std::string check = Lang(Text::CheckStates + FCheckState);
  if (FCheckState == Unsound) check += " (" + std::to_string(FShapedCount - FStraightCount) + ")";
  const std::vector<std::string> values = {
      FCheckState == Unchecked ? Lang(Text::NotCheckedYet) : std::to_string(FShapedCount),
      std::to_string(FCutter->ScaledPicture().Width()) + "x" + std::to_string(FCutter->ScaledPicture().Height()),
      pair(Width, Height), pair(DistortX, DistortY), pair(SpreadX, SpreadY), check};
  std::vector<std::string> labels;
  for (size_t n = 0; n < values.size(); ++n) labels.push_back(Lang(Text::MakerInfoLabels + int(n)));
  const int width = FInfoWindow->ClientWidth(), height = FInfoWindow->ClientHeight();
  int size = CurrentTheme().FontSize;
  const std::vector<TTextRow> rows = LabelledRows(labels, values, width, height, size);
  FInfoWindow->SetImage(TextImage(width, height, rows, size));
}

// The shadow and bevel values, each just above its slider.
void TPuzzleMakerInterface::PaintLook() {
  if (!FLookWindow) return;
  const TRect client = FLookWindow->ClientRect();
  const int size = CurrentTheme().FontSize;
  const int textHeight = TextHeightAt(size);
  std::vector<TTextRow> rows;
  for (auto [slider, label] : {std::pair{Shadow, Text::ShadowLabel}, {Bevel, Text::BevelLabel}}) {
    const int y = FSliders[slider]->FTop - FLookWindow->FTop - client.Top - textHeight;
    rows.push_back({8, y, Lang(label) + " " + std::to_string(FSliders[slider]->FPosition)});
  }
  FLookWindow->SetImage(TextImage(client.Width(), client.Height(), rows, size));
}

}  // namespace qj
