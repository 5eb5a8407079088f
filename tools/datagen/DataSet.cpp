// The mapping from layout blocks to generated images, and the ".coord" files beside them.
#include "tools/datagen/DataSet.h"

namespace qj::datagen {
namespace {

void ThemedSet(const TOutput& out, const std::vector<std::string>& names, int theme, const std::vector<TMyDib>& images) {
  for (size_t i = 0; i < names.size(); ++i) out.Themed(names[i], theme, images.at(i));
}

// Window rectangles in groups of five lines: a label, then Left, Top, Right, Bottom.
std::vector<std::string> WindowCoord(const std::vector<TRect>& rects) {
  static const char* labels[10] = {"TopLeft", "Top",        "TopRight",    "Left",  "Right",
                                   "BottomLeft", "Bottom", "BottomRight", "Client", "Title"};
  std::vector<std::string> lines;
  for (size_t k = 0; k < rects.size(); ++k)
    AddLabelledRect(lines, labels[k], rects[k].Left, rects[k].Top, rects[k].Right, rects[k].Bottom);
  return lines;
}

void WriteWindowStyle(const TOutput& out, const std::vector<std::string>& names, int theme, const TWindowStyleArt& s) {
  ThemedSet(out, names, theme, {s.Inactive, s.Active, s.Client});
  out.ThemedCoord(names[0], theme, WindowCoord(s.Rects));
}

}  // namespace

void WriteControls(const TOutput& out, const TLayoutList& layout, const TThemeArt& theme, const TControlArt& a) {
  const int nr = theme.FileNr;
  std::vector<std::string> buttons = layout.Block("ButtonOptions", a.Buttons.size());
  ThemedSet(out, buttons, nr, a.Buttons);
  std::vector<std::string> text;
  AddRect(text, a.ButtonText.Left, a.ButtonText.Top, a.ButtonText.Right, a.ButtonText.Bottom);
  out.ThemedCoord(buttons[0], nr, text);
  ThemedSet(out, layout.Block("HintOptions", 6), nr, a.Hints);
  WriteWindowStyle(out, layout.Block("LargeWindowOptions", 3), nr, a.Large);
  WriteWindowStyle(out, layout.Block("SmallWindowOptions", 3), nr, a.Small);
  ThemedSet(out, layout.Block("HLargeScrollBarOptions", 7), nr, a.HLarge);
  ThemedSet(out, layout.Block("VLargeScrollBarOptions", 7), nr, a.VLarge);
  ThemedSet(out, layout.Block("HSmallScrollBarOptions", 7), nr, a.HSmall);
  ThemedSet(out, layout.Block("CheckBoxOptions", a.Checks.size()), nr, a.Checks);
  ThemedSet(out, layout.Block("Trays", 6), nr, a.Trays);
}

}  // namespace qj::datagen
