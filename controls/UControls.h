// The base of every on-surface control: geometry, caption, its sprite, the owning screen,
// a frame-stepping animator and the hover zone for hints.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/UEngines.h"
#include "graphics/USpriteHandle.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

class TDXControl;
// Images controls draw from without owning them alone: the theme's shared widget images, and
// frames a control loaded for itself.
using TImage = std::shared_ptr<const TMyDib>;
using TImageList = std::vector<TImage>;
using TControlEvent = std::function<void(TDXControl* sender)>;
struct TFontChoice;

// A text a control shows and the box it has for it, in pixels: cut or overflowing when it needs
// more width or height than the box has.
struct TTextRoom {
  std::string Text;
  int NeededWidth = 0, NeededHeight = 0;
  int Width = 0, Height = 0;
  bool Fits() const { return NeededWidth <= Width && NeededHeight <= Height; }
};
// The text measured in the font, against a box of width x height.
TTextRoom MeasureTextRoom(const TFontChoice& font, const std::string& text, int width, int height);

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
  // False, with the file and the cause on stderr, when the picture cannot be read; the control
  // then keeps the image it had.
  [[nodiscard]] virtual bool LoadImage(const std::string& fileName);
  virtual void ClearImage();
  virtual bool ShowHint() { return false; }
  virtual void Paint() = 0;
  virtual void Restore() = 0;
  virtual void Animate();
  // True while Animate would change the control without new input.
  virtual bool Animating() const { return FFrame != FTargetFrame; }
  // Every text the control shows with the room it has for it: its own captions, and what its
  // owner painted onto it (NoteText).
  virtual std::vector<TTextRoom> TextRooms() const { return FNotedTexts; }
  // The owner painted a text onto the control; the notes start afresh with ClearNotedTexts.
  void NoteText(TTextRoom room) { FNotedTexts.push_back(std::move(room)); }
  void ClearNotedTexts() { FNotedTexts.clear(); }

  void SetBounds(int left, int top, int width, int height);
  // Takes the depth of its sprite after the owner renumbered its band.
  void FollowSpriteDepth();
  // Whether a press on sprite `index` is this control's: its own sprite, and for composite
  // widgets any other sprite they draw themselves with.
  virtual bool HasSprite(int index) const { return FSprite.Is(index); }

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
  // Reads a picture file into FImage (FHasImage set); on failure reports it and keeps FImage.
  [[nodiscard]] bool ReadImage(const std::string& fileName);
  // Raises an event with this control as sender. False when the handler freed the control:
  // the caller must then return without touching a member.
  [[nodiscard]] bool Fire(const TControlEvent& event);
  // Expires when the control is freed: for callers of several handlers in a row.
  std::weak_ptr<const void> Life() const { return FAlive; }

 private:
  std::vector<TTextRoom> FNotedTexts;
  // Lives exactly as long as the control, so a handler's caller can tell whether it still does.
  std::shared_ptr<char> FAlive = std::make_shared<char>();
};

// Sets a flag for as long as it lives and then puts back the value it had, also when a handler
// throws on the way.
class TFlagScope {
 public:
  TFlagScope(bool& flag, bool value) : FFlag(flag), FSaved(flag) { FFlag = value; }
  ~TFlagScope() { FFlag = FSaved; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FSaved;
};

}  // namespace qj
