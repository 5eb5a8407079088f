// GDI-style drawing on a pixel buffer: pen, brush, lines, shapes, text. Lines, rectangles and
// ellipses are exact and deterministic (the cutter relies on it); text goes through the font
// rasteriser registered by the platform.
#pragma once

#include <string>

#include "platform/PixelBuffer.h"

namespace qj {

class IFontRasterizer;

struct TFontChoice {
  std::string Name = "Times New Roman";
  int Size = 8;  // points, at 96 dots per inch as on the desktop the game was laid out for
  TPixel Color = 0;
  bool Bold = false;
};

class TCanvas {
 public:
  explicit TCanvas(TPixelBuffer& target) : FTarget(target) {}
  // Whatever was drawn tells the target's change stamp once, not pixel by pixel.
  ~TCanvas() { FTarget.MarkChanged(); }
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPixelBuffer& Target() { return FTarget; }

  // Pen and brush.
  TPixel PenColor = 0xFFFFFF;
  int PenWidth = 1;
  bool XorPen = false;  // exclusive-or drawing for lines and outlines
  TPixel BrushColor = 0xFFFFFF;
  bool BrushClear = false;  // transparent brush: shapes are outlined only, text has no box
  TFontChoice Font;

  // Lines: LineTo draws from the pen position to (x, y) without the last pixel, as GDI does.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  TPoint PenPos() const { return FPen; }
  void SetPixel(int x, int y, TPixel colour);
  // Outlined with the pen, filled with the brush; Right and Bottom exclusive.
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);
  void FillRect(const TRect& r, TPixel colour);
  // Each colour channel inside the rectangle keeps `keep` 256ths of its value: a veil that keeps
  // text over a busy picture legible.
  void Darken(const TRect& r, int keep);
  // Four-neighbour flood fill of the same-coloured region around (x, y) with `with`.
  void FloodFill(int x, int y, TPixel with);

  // Text in Font through the registered rasteriser; without one, widths are 0 and nothing draws.
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  void TextOut(int x, int y, const std::string& text);

 private:
  TPixelBuffer& FTarget;
  TPoint FPen;
};

}  // namespace qj
