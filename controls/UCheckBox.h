// A themed, animated check box with a caption beside it.
#pragma once

#include <string>

#include "controls/UControls.h"

namespace qj {

class TSurface;

class TDXCheckBox : public TDXControl {
 public:
  // Sized to the theme's first frame; the caption in the theme's check box size, bold.
  explicit TDXCheckBox(TInterface* owner);

  // A release over the box toggles it, wherever the press was: the box takes no capture.
  void MouseUp(int button, int shift, int x, int y) override;
  void Paint() override;
  void Restore() override { Paint(); }

  void Setup(const std::string& caption, int left, int top, int width, int height, int fontSize, bool bold,
             bool checked, TControlEvent onClick);
  // Animates towards the last frame (checked) or frame 0, from whatever frame is shown now.
  void SetChecked(bool value);

  TControlEvent OnClick;
  bool FChecked = false;
  int FFontSize = 0;  // 0: the theme's check box size
  bool FBold = true;

 private:
  int ShownFrame() const;
  void PaintCaption(TSurface& surface, int left);
};

}  // namespace qj
