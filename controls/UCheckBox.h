// A themed, animated check box with a caption beside it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/UControls.h"
#include "platform/Canvas.h"

namespace qj {

class TDXHint;
class TSurface;
class TDXWindow;

class TDXCheckBox : public TDXControl {
 public:
  // Sized to the theme's first frame; the caption in the theme's check box size, bold.
  explicit TDXCheckBox(TInterface* owner, EControlLayer layer = EControlLayer::Content);
  ~TDXCheckBox() override;

  // A release over the box toggles it, wherever the press was: the box takes no capture.
  void MouseUp(int button, int shift, int x, int y) override;
  void Paint() override;
  void Restore() override { Paint(); }

  void Setup(const std::string& caption, int left, int top, int width, int height, int fontSize, bool bold,
             bool checked, TControlEvent onClick);
  // Animates towards the last frame (checked) or frame 0, from whatever frame is shown now.
  void SetChecked(bool value);
  // What the box changes, shown above it when the mouse rests on it ("caption|text" as hints
  // take it; text keys allowed). The hint is made with the first text.
  void SetHint(const std::string& text);
  // A box hidden with its page shows no hint.
  void EnableHint(bool enabled);
  // The caption beside the frame, and the hint's lines.
  std::vector<TTextRoom> TextRooms() const override;
  void SetTop(int value) override;
  void SetLeft(int value) override;

  TControlEvent OnClick;
  bool FChecked = false;
  int FFontSize = 0;  // 0: the theme's check box size
  bool FBold = true;
  std::string FHintText;
  std::unique_ptr<TDXHint> FHint;

 private:
  int ShownFrame() const;
  int FrameWidth() const;
  TFontChoice CaptionFont() const;
  const TDXWindow* WindowUnder() const;
  void PaintCaption(TSurface& surface, int left, bool onTable);
  void AttachHint();
};

}  // namespace qj
