// The message and progress box shown while the game is busy; it paints itself straight onto
// the visible surface because the frame loop is blocked meanwhile.
#pragma once

#include <array>
#include <string>

#include "platform/Geometry.h"
#include "platform/PixelBuffer.h"

namespace qj {

class TCanvas;

// Outlines `rect` depth times in a light and depth times in a dark shade of colour (light on the
// top and left when raised, on the bottom and right when sunken), then fills what is left.
void DrawBevel(TCanvas& canvas, TRect rect, int depth, bool raised, TPixel colour);

class TDXInfoWindow {
 public:
  static constexpr TPixel kFrameColour = MakePixel(192, 192, 192);
  static constexpr TPixel kTrackColour = MakePixel(254, 197, 224);
  static constexpr TPixel kFillColour = MakePixel(255, 138, 197);
  static constexpr int kGradientSteps = 15;

  // Title and footnote from language lines 0 and 23; centred.
  TDXInfoWindow();

  // Centres the box on the drawing surface; nothing happens before there is one.
  void CenterOnScreen();
  // The position is limited to FMax; then the box is drawn.
  void SetPosition(int value);
  // One step on; the box is drawn again only when the percentage it shows changes, so a long
  // operation is not slowed down by its own progress box. True when it was drawn.
  bool Step();
  // The percentage the box shows, rounded.
  int ShownPercent() const;
  // Paints the box onto the visible surface; the caller presents it.
  void Draw();

  // Geometry of the last draw, for callers that present only the box.
  TRect BoxRect() const { return MakeRect(FLeft, FTop, FWidth, FHeight); }
  // The title, message and (when wanted and the range is not empty) "-NN%".
  std::string MainLine() const;
  // The inside of the bar's bevel and the right edge of its fill.
  TRect BarInner() const;
  int BarFillRight() const;
  // Step 1..15 of the edge between the fill and the track.
  static TPixel GradientColour(int step);

  int FWidth = 0, FHeight = 0;
  int FLeft = 0, FTop = 0;
  std::string FTitle;
  std::string FMessage;
  std::string FFootnote;
  int FMin = 0, FMax = 0, FPosition = 0;
  bool FShowFootnote = false;
  bool FShowBar = false;
  bool FShowPercent = false;

 private:
  int Measure(TCanvas& canvas);  // sizes and centres the box; the main line's height
  void PaintTexts(TCanvas& canvas, int mainHeight);
  void PaintBar(TCanvas& canvas);
};

// The one info window, created by the engine once the language is loaded (or on first use).
TDXInfoWindow& InfoWindow();
void CreateInfoWindow();

}  // namespace qj
