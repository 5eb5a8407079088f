// Text and frames painted onto the options screen's windows: labels in the theme's font, fitted
// to the room they have.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace qj {

// The theme's label font at `size` points.
TFontChoice LabelFont(int size);
// A one-pixel frame just inside `r`.
void Outline(TCanvas& canvas, const TRect& r, TPixel colour);
// The text with as much of `head` as leaves room for "..." and the tail within width.
std::string Shorten(TCanvas& canvas, std::string head, const std::string& tail, int width);
// The words of `text` in lines no wider than `width` (a single longer word gets a line of its own).
std::vector<std::string> WrapWords(TCanvas& canvas, const std::string& text, int width);
// Shrinks the canvas's font from `size` until the text fits, down to the smallest readable size;
// beyond that the text is shortened.
std::string FitText(TCanvas& canvas, const std::string& text, int width, int size);

}  // namespace qj
