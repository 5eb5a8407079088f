// The puzzle maker's preview: the picture with the cut lines in the view, the scrolling, the
// drawing of the cut on every change, and the small windows of values beside it.
#include "screens/UPuzzleMakerInterface.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "controls/UCheckBox.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "creation/UCutGrid.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Display.h"
#include "platform/PictureScale.h"
#include "screens/UMakerPanels.h"

namespace qj {
namespace {

constexpr double kLargestZoom = 2;       // beyond 1:1, as far as a shape's detail shows
constexpr double kLargestZoomedPixels = 8e6;  // the zoomed picture is held whole: about 32 MB at most

}  // namespace

// ---- Zoom and scrolling ------------------------------------------------------------------------

// The whole picture in the view, never enlarged.
double TPuzzleMakerInterface::FitZoom() const {
  const TRect client = FView->ClientRect();
  const TMyDib& picture = FCutter->ScaledPicture();
  if (picture.Empty() || client.IsEmpty()) return 1;
  return std::min({1.0, double(client.Width()) / picture.Width(), double(client.Height()) / picture.Height()});
}

double TPuzzleMakerInterface::LargestZoom() const {
  const TMyDib& picture = FCutter->ScaledPicture();
  const double pixels = std::max(1.0, double(picture.Width()) * picture.Height());
  return std::max(FitZoom(), std::min(kLargestZoom, std::sqrt(kLargestZoomedPixels / pixels)));
}

TPoint TPuzzleMakerInterface::ZoomedSize() const {
  const TMyDib& picture = FCutter->ScaledPicture();
  return {std::max(1, int(std::lround(picture.Width() * FZoom))), std::max(1, int(std::lround(picture.Height() * FZoom)))};
}

// The picture point under `anchor` (screen) stays there.
void TPuzzleMakerInterface::SetZoom(double zoom, TPoint anchor) {
  zoom = std::clamp(zoom, FitZoom(), LargestZoom());
  FZoomFitted = zoom <= FitZoom();
  if (zoom == FZoom) return;
  const TRect client = FView->ClientRect();
  const int ax = anchor.X - FView->FLeft - client.Left, ay = anchor.Y - FView->FTop - client.Top;
  const double px = (FView->FScrollX + ax) / FZoom, py = (FView->FScrollY + ay) / FZoom;
  FZoom = zoom;
  FZoomedPicture = {};
  PlaceViewScrollBars();
  {
    const TFlagScope loading(FLoading, true);
    FViewScrollX->SetPosition(int(std::lround(px * zoom - ax)));
    FViewScrollY->SetPosition(int(std::lround(py * zoom - ay)));
  }
  RenderView();
}

// Scroll bars along the inside of the view, each only while the zoomed picture is larger than the
// view that way; a smaller picture is shown in the middle.
void TPuzzleMakerInterface::PlaceViewScrollBars() {
  if (FZoomFitted && FZoom != FitZoom()) {
    FZoom = FitZoom();
    FZoomedPicture = {};
  }
  const TRect client = FView->ClientRect();
  const TPoint size = ZoomedSize();
  const bool wide = size.X > client.Width(), tall = size.Y > client.Height();
  TDXScrollBar& x = *FViewScrollX;
  TDXScrollBar& y = *FViewScrollY;
  const int left = FView->FLeft + client.Left, top = FView->FTop + client.Top;
  x.SetBounds(left, top + client.Height() - x.FHeight, client.Width() - (tall ? y.FWidth : 0), x.FHeight);
  y.SetBounds(left + client.Width() - y.FWidth, top, y.FWidth, client.Height() - (wide ? x.FHeight : 0));
  const TFlagScope loading(FLoading, true);
  x.SetMin(0);
  x.SetMax(std::max(0, size.X - client.Width()));
  y.SetMin(0);
  y.SetMax(std::max(0, size.Y - client.Height()));
  SetShown(&x, wide);
  SetShown(&y, tall);
  ScrollView();
}

void TPuzzleMakerInterface::ScrollView() {
  if (!FView) return;
  const TRect client = FView->ClientRect();
  const TPoint size = ZoomedSize();
  const int x = size.X > client.Width() ? FViewScrollX->FPosition : (size.X - client.Width()) / 2;
  const int y = size.Y > client.Height() ? FViewScrollY->FPosition : (size.Y - client.Height()) / 2;
  FView->SetScrollOrigin({x, y});
}

// The picture at the zoom with the cut lines over it and the parts the cut leaves out shaded; the
// picture is scaled again only when the zoom changed.
void TPuzzleMakerInterface::RenderView() {
  if (!FView || FCutter->ScaledPicture().Empty()) return;
  const TPoint size = ZoomedSize();
  const TMyDib& picture = FCutter->ScaledPicture();
  if (FZoomedPicture.Width() != size.X || FZoomedPicture.Height() != size.Y)
    FZoomedPicture = size.X == picture.Width() ? TPixelBuffer(picture) : ScaleByArea(picture, size.X, size.Y);
  const TMyDib& cut = FCutter->CutMap();
  const TPixelBuffer lines = cut.Empty() || size.X == cut.Width() ? TPixelBuffer(cut) : ScaleByArea(cut, size.X, size.Y);
  const TRect grid = FCutter->Grid().Rect;
  const TRect covered = cut.Empty() ? TRect{0, 0, size.X, size.Y}
                                    : TRect{int(std::lround(grid.Left * FZoom)), int(std::lround(grid.Top * FZoom)),
                                            int(std::lround(grid.Right * FZoom)), int(std::lround(grid.Bottom * FZoom))};
  FView->SetImage(ComposePreview(FZoomedPicture, lines, covered));
  ScrollView();
}

// ---- The cut --------------------------------------------------------------------------------------

void TPuzzleMakerInterface::ShowPicture() {
  FZoomFitted = true;
  FZoom = 0;
  FZoomedPicture = {};
}

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

TPoint TPuzzleMakerInterface::PieceSize() const { return {FSliders[Width]->FPosition, FSliders[Height]->FPosition}; }

// With Fit the slider's size moves to the nearest one whole pieces cover the picture with; a
// stored fitted size is kept exactly while its slider has not moved, so the stored cut comes back.
double TPuzzleMakerInterface::FittedSize(int position, bool across) const {
  if (!FFitBox || !FFitBox->FChecked) return position;
  const TPoint slider = PieceSize();
  if (FKeptFit.Style == FCurrentStyle && FKeptFit.Slider == slider) return across ? FKeptFit.Width : FKeptFit.Height;
  const TMyDib& picture = FCutter->ScaledPicture();
  return FittingPieceSize(across ? picture.Width() : picture.Height(), position, FCurrentStyle, across);
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
  const TPoint size = PieceSize();
  FCutter->SetCutStyle(FCurrentStyle, FShape, FittedSize(size.X, true), FittedSize(size.Y, false), at(DistortX),
                       at(DistortY), at(SpreadX) / 10, at(SpreadY) / 10);
  PlaceMarks();
  try {
    FCutter->DrawCutMap();
    RenderView();
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

// The caption of a slider with its value, the piece sizes as the cut uses them (fitted or not).
std::string TPuzzleMakerInterface::SliderCaption(ESlider slider) const {
  const int at = FSliders[slider]->FPosition;
  const TCutParameters& p = FCutter->CutParameters();
  const auto number = [](double v) { return std::to_string(std::lround(v)); };
  switch (slider) {
    case Shadow: return Lang(Text::ShadowLabel) + " " + std::to_string(at);
    case Bevel: return Lang(Text::BevelLabel) + " " + std::to_string(at);
    case Width: {
      std::string text = Filled(Lang(Text::PieceWidthCaption), {number(p.PieceWidth)});
      const TPoint cells = GridCells(p, FCutter->ScaledPicture().Width(), FCutter->ScaledPicture().Height());
      // Only squares make one piece a cell; the other styles' counts come with Check.
      if (FCurrentStyle == 0)
        text += "     " + Filled(Lang(Text::PiecesCaption), {std::to_string(cells.X), std::to_string(cells.Y),
                                                             std::to_string(cells.X * cells.Y)});
      return text;
    }
    case Height: return Filled(Lang(Text::PieceHeightCaption), {number(p.PieceHeight)});
    case DistortX: return Filled(Lang(Text::ShiftAcrossCaption), {std::to_string(at)});
    case DistortY: return Filled(Lang(Text::ShiftDownCaption), {std::to_string(at)});
    case SpreadX: return Filled(Lang(Text::IrregularAcrossCaption), {std::to_string((at - 10) * 10)});
    case SpreadY: return Filled(Lang(Text::IrregularDownCaption), {std::to_string((at - 10) * 10)});
    default: return {};
  }
}

// The sliders' captions on the screen's frame, each on a plate: above the sliders that lie
// across, along those that stand upright (read from the bottom up).
void TPuzzleMakerInterface::PaintCaptions() {
  if (!FFrameWindow || !FSliders[Width]) return;
  const int top = FFrameWindow->TitleHeight(), size = CurrentTheme().FontSize;
  TMyDib image(std::max(1, FFrameWindow->FWidth), std::max(1, FFrameWindow->ClientHeight()), 24);
  image.Fill(0);
  for (ESlider s : {Width, DistortX, SpreadX}) {
    const TDXScrollBar& bar = *FSliders[s];
    const TMyDib plate = LabelPlate(SliderCaption(s), size);
    BlitKeyed(image, plate, bar.FLeft, bar.FTop - top - plate.Height() - 1);
  }
  for (ESlider s : {Height, DistortY, SpreadY}) {
    const TDXScrollBar& bar = *FSliders[s];
    const TMyDib plate = TurnedLeft(LabelPlate(SliderCaption(s), size));
    const int y = bar.FTop - top + std::max(0, (bar.FHeight - plate.Height()) / 2);
    BlitKeyed(image, plate, bar.FLeft + bar.FWidth + (kCaptionBand - plate.Width()) / 2, y);
  }
  FFrameWindow->SetImage(image);
}

}  // namespace qj
