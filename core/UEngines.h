// The two base classes every screen and every control is built on: event receivers with a band
// of drawing depths, and screens that dispatch input to their controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qj {

class TGraphicsEngine;
class TDXControl;
class TInterface;

using TScreenEvent = std::function<void(TInterface* sender)>;

class TBasicEvents {
 public:
  explicit TBasicEvents(TGraphicsEngine* engine) : FEngine(engine) {}
  virtual ~TBasicEvents() = default;
  TBasicEvents(const TBasicEvents&) = delete;
  TBasicEvents& operator=(const TBasicEvents&) = delete;

  virtual void MouseDown(int button, int shift, int x, int y) {}
  virtual void MouseUp(int button, int shift, int x, int y) {}
  virtual void MouseMove(int shift, int x, int y) {}
  virtual void KeyDown(uint16_t& key, int shift) {}
  virtual void KeyUp(uint16_t& key, int shift) {}
  virtual void KeyPress(char32_t& key) {}
  virtual void SetDepthRange(double low, double high);
  virtual void DepthChanged(double depth) {}

  // The next depth of the band; nothing stops it at the band's top.
  double NextDepth();
  // Fills `list` with the entries of one block of the layout list.
  void ReadOptionsBlock(const std::string& name, std::vector<std::string>& list) const;

  // Controls register here on construction and leave on destruction. While input or a frame is
  // being dispatched, a leaving control only empties its slot, so the loop visits every other
  // control exactly once; the gaps close when the dispatch ends.
  void AddControl(TDXControl* control);
  void RemoveControl(TDXControl* control);

  TGraphicsEngine* FEngine;
  int FSprite = -1;
  // A screen's controls in creation order; entries may be null while a control frees itself.
  std::vector<TDXControl*> FControls;
  double FDepthLow = 0;
  double FDepthHigh = 0;
  double FDepth = 0;

 protected:
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
};

class TInterface : public TBasicEvents {
 public:
  using TBasicEvents::TBasicEvents;

  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseMove(int shift, int x, int y) override;

  virtual void Enter();
  virtual void Leave();
  virtual void Suspend();
  virtual void Resume();
  virtual void Update();
  virtual void Resize() {}
  virtual bool Query(int value) { return false; }
  virtual void Restore() = 0;

  bool Done() const { return FDone; }
  // Sets the result code for the engine and leaves the screen.
  void Finish(int result) {
    FResult = result;
    Leave();
  }

  int FHintX = -1;
  int FHintY = -1;
  TScreenEvent OnDone;
  int FMouseX = 0;
  int FMouseY = 0;
  uint32_t FMouseStill = 0;
  int FResult = 0;
  bool FDone = true;

 private:
  void UpdateHintTiming();
  void OfferHint(int x, int y);
};

}  // namespace qj
