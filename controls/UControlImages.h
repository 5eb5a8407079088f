// The widget images of the current theme: button frames, hint backgrounds, the two window
// styles, the scroll-bar sets, the check box frames and the tray images. A theme is read into a
// new set that takes over only when it is complete, so a control never meets a freed bitmap or
// a frame past the end of its set, and a broken theme leaves the old one in use.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/UButtons.h"
#include "platform/Dib.h"

namespace qj {

// One frame style of the windows: two frame bitmaps of the same size, the client background,
// and the ten rectangles of the frame bitmap (corners, edges, client area, title band).
struct TWindowStyle {
  TImage FrameInactive;
  TImage FrameActive;
  TImage ClientBackground;
  std::array<TLayoutRect, 10> Layout{};
};

// The scroll-bar sets, in the order of their blocks.
enum class EScrollBarSet { HorizontalLarge = 0, VerticalLarge = 1, HorizontalSmall = 2 };

// Images of each scroll-bar set, by index.
namespace ScrollBarImage {
enum : int { Back = 0, Forward = 1, Track = 2, Thumb = 3, BackDown = 4, ForwardDown = 5, ThumbHeld = 6, Count = 7 };
}

// Images of the tray set, by index.
namespace TrayImage {
enum : int { EmptyCollapsed = 0, EmptyOpen = 1, FullCollapsed = 2, FullOpen = 3, Collapse = 4, Empty = 5, Count = 6 };
}

// Hint backgrounds: three widths for a box left of its control, then the same for the right.
constexpr int kHintBackgroundCount = 6;

struct TControlImages {
  TImageList ButtonFrames;  // at rest first, fully pressed last; at least one
  TLayoutRect ButtonLayout{};
  TImageList HintBackgrounds;
  std::array<TWindowStyle, 2> WindowStyles;  // large, small
  std::array<TImageList, 3> ScrollBars;      // by EScrollBarSet
  TImageList CheckBoxFrames;                 // unchecked first, checked last; at least one
  TImageList TrayImages;

  const TImageList& ScrollBar(EScrollBarSet set) const { return ScrollBars[size_t(set)]; }
};

// Reads every widget block of the current theme. False, with the file, block or count that is
// wrong in `error`, when anything a control needs is missing; `images` is then incomplete.
[[nodiscard]] bool LoadControlImages(TControlImages& images, std::string& error);

// The set in use: empty until a theme has loaded. Controls fetch it when they paint, so a theme
// change reaches every control at its next paint; holding the pointer keeps the images alive.
std::shared_ptr<const TControlImages> CurrentControlImages();
// Loads the current theme's set and puts it in use; on failure the old set stays and the cause
// is returned.
[[nodiscard]] bool ReloadControlImages(std::string& error);
// Puts a set in use directly (tests, and a screen that previews a theme).
void SetControlImages(std::shared_ptr<const TControlImages> images);

// Element `index` of a list, clamped into it; null for an empty list.
const TMyDib* ImageAt(const TImageList& list, int index);

}  // namespace qj
