// The statistics of the game in play: the text of its lines, and the animations along the bottom
// left with a hint of two of those lines over each.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "graphics/USpriteHandle.h"
#include "platform/Geometry.h"

namespace qj {

class TDXHint;
class TInterface;
struct TGameRecord;

class TBoardStatistics {
 public:
  static constexpr int kProgressHints = 6;

  // The animations lie in the owner's band and the hints are its controls.
  explicit TBoardStatistics(TInterface& owner) : FOwner(owner) {}
  TBoardStatistics(const TBoardStatistics&) = delete;
  TBoardStatistics& operator=(const TBoardStatistics&) = delete;

  // One animation per hint, of the theme's kind chosen in the options; none when it has no frames.
  void MakeAnimations();
  void MakeHints();
  // After the owner freed its controls: the animations go too; the text stays.
  void Reset();
  void Layout(int screenHeight);
  void ShowAnimations(bool shown);
  void Update(const TGameRecord& record);
  // Opens the hints over the animations, side by side in rows upwards so that no box covers
  // another.
  void ShowProgress(int screenWidth, int screenHeight);
  void HideProgress();
  // Whether the point lies on one of the animations.
  bool Over(TPoint point, int screenHeight) const;
  // The lines joined by '|'.
  const std::string& Text() const { return FText; }
  TDXHint* Hint(int index) const { return FHints[size_t(index)]; }

 private:
  TInterface& FOwner;
  std::vector<TSpriteHandle> FAnimations;
  std::array<TDXHint*, kProgressHints> FHints{};
  std::string FText;
};

}  // namespace qj
