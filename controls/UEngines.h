// The two base classes every screen and every control is built on: event receivers with a band
// of drawing depths, and screens that dispatch input to their controls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qj {

class TGraphicsEngine;
class TDXControl;
class TInterface;

using TScreenEvent = std::function<void(TInterface* sender)>;

// Owning pointer to a control that works where TDXControl is only declared.
struct TControlDeleter {
  void operator()(TDXControl* control) const;
};
using TOwnedControl = std::unique_ptr<TDXControl, TControlDeleter>;

class TBasicEvents {
 public:
  explicit TBasicEvents(TGraphicsEngine* engine) : FEngine(engine) {}
  virtual ~TBasicEvents();
  TBasicEvents(const TBasicEvents&) = delete;
  TBasicEvents& operator=(const TBasicEvents&) = delete;

  virtual void MouseDown(int button, int shift, int x, int y) {}
  virtual void MouseUp(int button, int shift, int x, int y) {}
  virtual void MouseMove(int shift, int x, int y) {}
  // Wheel notches at (x, y): positive away from the player.
  virtual void MouseWheel(int shift, int notches, int x, int y) {}
  virtual void KeyDown(uint16_t& key, int shift) {}
  virtual void KeyUp(uint16_t& key, int shift) {}
  virtual void KeyPress(char32_t& key) {}
  virtual void SetDepthRange(double low, double high);
  virtual void DepthChanged(double depth) {}

  // The next depth of the band. A full band is renumbered in drawing order (and the controls
  // follow their sprites) rather than spilling into the band above.
  double NextDepth();
  // Fills `list` with the entries of one block of the layout list.
  void ReadOptionsBlock(const std::string& name, std::vector<std::string>& list) const;

  // Controls register here on construction and leave on destruction. While input or a frame is
  // being dispatched, a leaving control only empties its slot, so the loop visits every other
  // control exactly once; the gaps close when the dispatch ends.
  void AddControl(TDXControl* control);
  void RemoveControl(TDXControl* control);

  TGraphicsEngine* FEngine;
  // A screen's controls in creation order; entries may be null while a control frees itself.
  std::vector<TDXControl*> FControls;
  double FDepthLow = 0;
  double FDepthHigh = 0;
  double FDepth = 0;

 protected:
  // After a renumbering: every control takes its sprite's new depth as its own.
  void FollowRenumberedDepths();
  // Frees a control now, or, during a dispatch, takes it out of the dispatch at once and frees
  // it when the dispatch ends: the control whose handler let it go is still running.
  void RetireControl(TOwnedControl control);

  double FContentTop = 0;  // NextDepth stays at or below this
  // Marks a dispatch over FControls for as long as it lives.
  class TDispatchGuard {
   public:
    explicit TDispatchGuard(TBasicEvents& owner) : FOwner(owner) { ++FOwner.FDispatching; }
    ~TDispatchGuard();
    TDispatchGuard(const TDispatchGuard&) = delete;
    TDispatchGuard& operator=(const TDispatchGuard&) = delete;

   private:
    TBasicEvents& FOwner;
  };

 private:
  int FDispatching = 0;
  std::vector<TOwnedControl> FRetiredControls;
};

class TInterface : public TBasicEvents {
 public:
  using TBasicEvents::TBasicEvents;
  ~TInterface() override;

  // The band is split: the screen's own sprites and controls below, its overlay (menu bar,
  // dialogs) in the top tenth, so nothing the screen raises can climb over its overlay.
  void SetDepthRange(double low, double high) override;
  // The next depth of the overlay part of the band.
  double NextOverlayDepth();

  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseMove(int shift, int x, int y) override;

  // Starts the depth counters at the bottom of their bands again.
  virtual void Enter();
  // Frees the controls the screen owns, then marks it done.
  virtual void Leave();
  virtual void Suspend();
  virtual void Resume();
  virtual void Update();
  // How long, in ms from `now`, Update can wait when no input arrives: 0 while something on the
  // screen moves by itself, kNothingDue when only input changes it. A hint waiting for the mouse
  // to rest counts; a screen with work of its own each frame says so.
  static constexpr uint32_t kNothingDue = UINT32_MAX;
  virtual uint32_t RestFor(uint32_t now) const;
  // For a timeout that acts once more than `timeoutMs` passed since `since`: the wait until then,
  // kNothingDue once it has passed.
  static uint32_t TimeoutDueIn(uint32_t now, uint32_t since, uint32_t timeoutMs) {
    return now - since <= timeoutMs ? timeoutMs + 1 - (now - since) : kNothingDue;
  }
  virtual void Resize() {}
  virtual bool Query(int value) { return false; }
  virtual void Restore() = 0;

  bool Done() const { return FDone; }
  // What the screen asked for when it finished: its own result codes.
  int Result() const { return FResult; }
  // Sets the result code for the engine and leaves the screen.
  void Finish(int result) {
    FResult = result;
    Leave();
  }

  // Makes a control the screen owns until it is left.
  template <class TControl, class... TArgs>
  TControl& AddOwnedControl(TArgs&&... args) {
    TOwnedControl control(new TControl(this, std::forward<TArgs>(args)...));
    auto& result = static_cast<TControl&>(*control);
    FOwnedControls.push_back(std::move(control));
    return result;
  }
  // Frees the owned controls, the newest first.
  void FreeOwnedControls();
  // F1: the help topic in the game's help window, through OnHelp.
  void ShowHelp(int topic);
  // Every control makes its images again and paints itself (after a theme change).
  void RestoreControls();

  int FSprite = -1;  // the sprite under the mouse at the last mouse event
  double FOverlayLow = 0;
  double FOverlayDepth = 0;
  int FHintX = -1;
  int FHintY = -1;
  TScreenEvent OnDone;
  std::function<void(int topic)> OnHelp;
  int FMouseX = 0;
  int FMouseY = 0;
  uint32_t FMouseStill = 0;

 protected:
  int FResult = 0;
  bool FDone = true;

 private:
  std::vector<TOwnedControl> FOwnedControls;

  void UpdateHintTiming();
  void OfferHint(int x, int y);
};

}  // namespace qj
