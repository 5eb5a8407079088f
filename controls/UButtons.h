// Push buttons: a themed frame that animates when pressed, a caption, an icon and two hints.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/UControls.h"
#include "core/ULayoutFiles.h"
#include "core/UThemes.h"
#include "platform/Geometry.h"

namespace qj {

class TDXHint;
class TSurface;

// Where a button's animation frames come from.
enum class EImageSource : uint8_t {
  Theme = 0,  // the current theme's button frames, shared
  Own = 255,  // frames the button loaded for itself
};

// A push button: a frame stretched to the button's size that animates from rest to fully
// pressed and back, a caption, an optional icon over the frame, and two hints above it.
class TDXButton : public TDXControl {
 public:
  explicit TDXButton(TInterface* owner, EControlLayer layer = EControlLayer::Content);
  ~TDXButton() override;

  // A press (any mouse button): click sound, capture, and the press animation starts.
  void MouseDown(int button, int shift, int x, int y) override;
  // The release of a press on this button, wherever the cursor is: OnClick, then OnMouseUp.
  // Releases of presses made elsewhere are ignored.
  void MouseUp(int button, int shift, int x, int y) override;
  // A move takes the hints' hover zones along.
  void SetTop(int value) override;
  void SetLeft(int value) override;
  // The icon layer: the bitmap at the button's size.
  void SetImage(const TMyDib& bitmap) override;
  // The icon layer: the picture at its own size, three pixels up.
  [[nodiscard]] bool LoadImage(const std::string& fileName) override;
  void ClearImage() override;
  void Paint() override;
  // Redraws the icon layer (empty without an icon) and the button.
  void Restore() override;
  void Animate() override;
  bool Animating() const override { return TDXControl::Animating() || FPressPending || FDown || !FPressComplete; }
  // The caption within the frame's text area stretched to the button, and the hints' lines.
  std::vector<TTextRoom> TextRooms() const override;

  void SetButton(const std::string& caption, int left, int top, int width, int height, int fontSize);
  // Own animation frames, at rest first; the button takes frame 0's size. False (and the frames
  // in use kept) when the list is empty or a file cannot be read.
  [[nodiscard]] bool SetImages(const std::vector<std::string>& fileNames);
  // Clicks from the program, as if with the left mouse button.
  void Press();
  void Release();
  void Click();
  // At rest a highlighted button shows its second frame (the hover look of a button whose rest
  // frame is blank); presses animate as ever.
  void SetHighlighted(bool value);
  // Shows both hints now, as if the mouse had rested on the button: to point the player at it.
  void ShowHints();
  // Both hints at once, for a button that is shown and hidden with its dialog.
  void EnableHints(bool enabled);
  bool Highlighted() const { return FHighlighted; }
  int Right() const { return FLeft + FWidth; }
  int Bottom() const { return FTop + FHeight; }

  TLayoutRect FTextRect{};
  TControlEvent OnMouseDown;
  TControlEvent OnClick;
  TControlEvent OnPressed;
  TControlEvent OnMouseUp;
  // At rest no press is waiting to complete.
  bool FPressComplete = true;
  bool FPressPending = false;
  EImageSource FImageSource = EImageSource::Theme;
  uint32_t FPressTick = 0;
  TImageList FFrames;
  int FFontSize = 0;  // 0: the theme's button font size
  std::string FHintText;
  std::string FHintText2;
  std::unique_ptr<TDXHint> FHint;   // upper left
  std::unique_ptr<TDXHint> FHint2;  // upper right
  bool FDown = false;
  bool FAutoRepeat = false;

 private:
  // How the icon layer was made, so Restore can make it again.
  enum class EIconFit : uint8_t { Button, Lifted };

  void SelectFrames();
  void AttachHints();
  void PrepareHints();
  void DrawFrame(TSurface& surface);
  void DrawCaption(TSurface& surface);
  void DrawIcon();
  TSurface* Layer(size_t index);

  EIconFit FIconFit = EIconFit::Button;
  bool FHighlighted = false;
};

}  // namespace qj
