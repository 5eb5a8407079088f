// The info window: a bevelled box with a message, a footnote and a progress bar.
#include "controls/UInfoWindow.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "platform/Canvas.h"
#include "platform/Display.h"

namespace qj {

namespace {

constexpr TPixel kTextColour = MakePixel(8, 8, 8);

TPixel Shade(TPixel colour, int amount) {
  auto channel = [amount](unsigned c) { return unsigned(std::clamp(int(c) + amount, 0, 255)); };
  return MakePixel(channel(PixelR(colour)), channel(PixelG(colour)), channel(PixelB(colour)));
}

std::unique_ptr<TDXInfoWindow> gInfoWindow;

}  // namespace

void DrawBevel(TCanvas& canvas, TRect rect, int depth, bool raised, TPixel colour) {
  const TPixel light = Shade(colour, 50);
  const TPixel dark = Shade(colour, -90);
  canvas.BrushClear = true;
  canvas.PenColor = raised ? light : dark;
  for (int i = 0; i < depth; ++i) {
    canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
    ++rect.Left;
    ++rect.Top;
  }
  canvas.PenColor = raised ? dark : light;
  for (int i = 0; i < depth; ++i) {
    canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
    --rect.Right;
    --rect.Bottom;
  }
  canvas.FillRect(rect, colour);
}

TDXInfoWindow::TDXInfoWindow() : FTitle(Lang(Text::GameTitle)), FFootnote(Lang(Text::ThisMayTakeAMoment)) {
  CenterOnScreen();
}

void TDXInfoWindow::Start(const TInfoRequest& request) {
  FMessage = request.Message;
  FShowBar = request.ShowBar;
  FShowPercent = request.ShowPercent;
  FShowFootnote = request.ShowFootnote;
  FMin = request.Min;
  FMax = request.Max;
  FPosition = request.Min;
}

void TDXInfoWindow::CenterOnScreen() {
  const IDisplay* display = DXDraw();
  if (!display) return;
  FLeft = (display->Width() - FWidth) / 2;
  FTop = (display->Height() - FHeight) / 2;
}

void TDXInfoWindow::SetPosition(int value) {
  FPosition = std::min(FMax, value);
  Draw();
}

bool TDXInfoWindow::Step() {
  const int shown = ShownPercent();
  FPosition = std::min(FMax, FPosition + 1);
  if (ShownPercent() == shown) return false;
  Draw();
  return true;
}

bool TDXInfoWindow::ShowProgress(const std::string& message, int64_t done, int64_t total) {
  constexpr int kSteps = 1000;
  if (done == 0) {
    Start({message, true, true, false, 0, kSteps});
    FPosition = -1;  // before the range: the first position is always drawn
  }
  const int shown = FPosition < FMin ? -1 : ShownPercent();
  FPosition = total > 0 ? int(std::min<int64_t>(done, total) * kSteps / total) : kSteps;
  if (ShownPercent() == shown) return false;
  Draw();
  return true;
}

int TDXInfoWindow::ShownPercent() const {
  if (FMax == FMin) return 0;
  const int position = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
  return int(std::round(double(position - FMin) / (double(FMax) - FMin) * 100.0));
}

std::string TDXInfoWindow::MainLine() const {
  std::string line = FTitle + FMessage;
  if (FShowPercent && FMax != FMin) {
    line += "-" + std::to_string(ShownPercent()) + "%";
  }
  return line;
}

TRect TDXInfoWindow::BarInner() const {
  const int right = FLeft + FWidth;
  const int bottom = FTop + FHeight;
  return {FLeft + 11, bottom - 19, right - 11, bottom - 11};
}

int TDXInfoWindow::BarFillRight() const {
  const TRect inner = BarInner();
  if (FMax <= FMin) return inner.Left;  // an empty range has nothing to show
  const int position = std::clamp(FPosition, FMin, FMax);
  const double fraction = double(position - FMin) / (double(FMax) - FMin);
  return int(std::nearbyint(fraction * inner.Width() + inner.Left));
}

TPixel TDXInfoWindow::GradientColour(int step) {
  auto channel = [step](unsigned fill, unsigned track) {
    return unsigned(std::nearbyint(fill + (double(track) - fill) * step / kGradientSteps));
  };
  return MakePixel(channel(PixelR(kFillColour), PixelR(kTrackColour)),
                   channel(PixelG(kFillColour), PixelG(kTrackColour)),
                   channel(PixelB(kFillColour), PixelB(kTrackColour)));
}

int TDXInfoWindow::Measure(TCanvas& canvas) {
  const TTheme& theme = CurrentTheme();
  canvas.Font.Name = theme.FontName;
  canvas.Font.Size = theme.FontTitleSize;
  canvas.Font.Color = kTextColour;
  FWidth = canvas.TextWidth(FTitle + FMessage + "-100%") + 10;
  const int mainHeight = canvas.TextHeight(MainLine());
  FHeight = mainHeight + 10;
  CenterOnScreen();
  if (FShowFootnote) FHeight += ThemedTextHeight(canvas, FFootnote, theme.FontSize);
  if (FShowBar) FHeight += 20;
  return mainHeight;
}

void TDXInfoWindow::PaintTexts(TCanvas& canvas, int mainHeight) {
  const TTheme& theme = CurrentTheme();
  canvas.BrushClear = true;
  canvas.Font.Color = kTextColour;
  const std::string line = MainLine();
  const int mainWidth = ThemedTextWidth(canvas, line, theme.FontTitleSize);
  canvas.TextOut(FLeft + (FWidth - mainWidth) / 2, FTop + 5, line);
  if (!FShowFootnote) return;
  const int footWidth = ThemedTextWidth(canvas, FFootnote, theme.FontSize);
  canvas.TextOut(FLeft + (FWidth - footWidth) / 2, FTop + 5 + mainHeight + 5, FFootnote);
}

void TDXInfoWindow::PaintBar(TCanvas& canvas) {
  const TRect inner = BarInner();
  DrawBevel(canvas, Inflate(inner, 1), 1, false, kTrackColour);
  const int right = BarFillRight();
  canvas.FillRect({inner.Left, inner.Top, right, inner.Bottom}, kFillColour);
  for (int i = 1; i <= kGradientSteps && right + i < inner.Right; ++i)
    canvas.FillRect({right + i - 1, inner.Top, right + i, inner.Bottom}, GradientColour(i));
}

void TDXInfoWindow::Draw() {
  IDisplay* display = DXDraw();
  if (!display) return;
  FPosition = std::max(FMin, std::min(FMax, FPosition));
  TCanvas canvas(display->Primary());
  const int mainHeight = Measure(canvas);
  DrawBevel(canvas, BoxRect(), 2, true, kFrameColour);
  PaintTexts(canvas, mainHeight);
  if (FShowBar) PaintBar(canvas);
}

TDXInfoWindow& InfoWindow() {
  if (!gInfoWindow) CreateInfoWindow();
  return *gInfoWindow;
}

void CreateInfoWindow() { gInfoWindow = std::make_unique<TDXInfoWindow>(); }

}  // namespace qj
