// The message and progress box shown while the game is busy; it paints itself straight onto
// the visible surface because the frame loop is blocked meanwhile.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Geometry.h"
#include "platform/PixelBuffer.h"

namespace qj {

class TCanvas;

// Outlines `rect` depth times in a light and depth times in a dark shade of colour (light on the
// top and left when raised, on the bottom and right when sunken), then fills what is left.
void DrawBevel(TCanvas& canvas, TRect rect, int depth, bool raised, TPixel colour);

// What the box shows for one operation: the message after the title, the parts drawn, and the
// range its position moves through.
struct TInfoRequest {
  std::string Message{};
  bool ShowBar = false;
  bool ShowPercent = false;
  bool ShowFootnote = false;
  int Min = 0;
  int Max = 0;
};

class TDXInfoWindow {
 public:
  static constexpr TPixel kFrameColour = MakePixel(192, 192, 192);
  static constexpr TPixel kTrackColour = MakePixel(254, 197, 224);
  static constexpr TPixel kFillColour = MakePixel(255, 138, 197);
  static constexpr int kGradientSteps = 15;

  // Title and footnote from language lines 0 and 23; centred.
  TDXInfoWindow();

  // What the box shows from now on; the position goes to the start of the range. Nothing is
  // drawn yet.
  void Start(const TInfoRequest& request);
  // The end of the range once it is known: a cut learns its number of pieces only as it begins.
  void SetMax(int value) { FMax = value; }
  // Centres the box on the drawing surface; nothing happens before there is one.
  void CenterOnScreen();
  // The position is limited to the range's end; then the box is drawn.
  void SetPosition(int value);
  // One step on; the box is drawn again only when the percentage it shows changes, so a long
  // operation is not slowed down by its own progress box. True when it was drawn.
  bool Step();
  // A long operation's progress, done of total: 0 of n starts it under the message, with bar
  // and percentage. As with Step, drawn only when the percentage changes, but always the first
  // time. True when it was drawn.
  bool ShowProgress(const std::string& message, int64_t done, int64_t total);
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

  const std::string& Title() const { return FTitle; }
  const std::string& Footnote() const { return FFootnote; }
  int Position() const { return FPosition; }
  int Max() const { return FMax; }

 private:
  int Measure(TCanvas& canvas);  // sizes and centres the box; the main line's height
  void PaintTexts(TCanvas& canvas, int mainHeight);
  void PaintBar(TCanvas& canvas);

  int FWidth = 0, FHeight = 0;
  int FLeft = 0, FTop = 0;
  std::string FTitle;
  std::string FMessage;
  std::string FFootnote;
  int FMin = 0, FMax = 0, FPosition = 0;
  bool FShowFootnote = false;
  bool FShowBar = false;
  bool FShowPercent = false;
};

// The one info window, created by the engine once the language is loaded (or on first use).
TDXInfoWindow& InfoWindow();
void CreateInfoWindow();

}  // namespace qj
