// The base of every on-surface control: geometry, caption, its sprite, the owning screen,
// a frame-stepping animator and the hover zone for hints.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/UEngines.h"
#include "graphics/USpriteHandle.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

class TDXControl;
using TControlEvent = std::function<void(TDXControl* sender)>;

// Which part of the owner's depth band a control is made in.
enum class EControlLayer { Content, Overlay };

class TDXControl : public TBasicEvents {
 public:
  explicit TDXControl(TInterface* owner, EControlLayer layer = EControlLayer::Content);
  ~TDXControl() override;

  virtual void SetWidth(int value);
  virtual void SetHeight(int value);
  virtual void SetTop(int value);
  virtual void SetLeft(int value);
  virtual void SetCaption(const std::string& text);
  virtual std::string GetCaption() const;
  virtual void SetImage(const TMyDib& bitmap);
  virtual void LoadImage(const std::string& fileName);
  virtual void ClearImage();
  virtual bool ShowHint() { return false; }
  virtual void Paint() = 0;
  virtual void Restore() = 0;
  virtual void Animate();

  void SetBounds(int left, int top, int width, int height);
  // Takes the depth of its sprite after the owner renumbered its band.
  void FollowSpriteDepth();

  // The control's sprite; freed with the control.
  TSpriteHandle FSprite;

  std::string FCaption;
  TInterface* FOwner;
  int FTop = 0;
  int FLeft = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FHasImage = false;
  std::unique_ptr<TMyDib> FImage;
  TControlEvent OnMove;
  uint32_t FFrameInterval = 20;
  uint32_t FLastFrameTick = 0;
  bool FHintZone = false;
  TRect FHintRect;
  bool FUpdating = false;
  bool FCapture = false;
  int FFrame = 0;
  int FLastFrame = 0;
  int FTargetFrame = 0;

  // Live controls of the whole program, for the statistics overlay.
  static int LiveCount();

 protected:
  void MoveSprite();
  void FireMove();
};

}  // namespace qj
