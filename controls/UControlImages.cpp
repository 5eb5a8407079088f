#include "controls/UControlImages.h"

#include <algorithm>

#include "core/UThemes.h"

namespace qj {
namespace {

std::shared_ptr<const TControlImages> gCurrent = std::make_shared<TControlImages>();

// A load that failed, with its cause; caught by LoadControlImages only.
class EImageLoad : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

TImage LoadImage(const std::string& base) {
  auto image = std::make_shared<TMyDib>();
  const std::string file = ThemedFileName(base);
  if (!image->LoadFromFile(file)) throw EImageLoad(ThemedImageError(base, image->LastError()));
  return image;
}

// The entries of a block, each loaded as the current theme's image; `least` and `most` bound
// how many a control can use.
TImageList LoadBlock(const std::string& block, size_t least, size_t most) {
  std::vector<std::string> entries;
  ReadOptionsBlock(block, entries);
  if (entries.size() < least || entries.size() > most)
    throw EImageLoad("block [" + block + "] has " + std::to_string(entries.size()) + " entries, " +
                     (least == most ? std::to_string(least) : "at least " + std::to_string(least)) + " wanted");
  TImageList images;
  for (const std::string& entry : entries) images.push_back(LoadImage(entry));
  return images;
}

TWindowStyle LoadWindowStyle(const std::string& block) {
  std::vector<std::string> entries;
  ReadOptionsBlock(block, entries);
  if (entries.size() != 3) throw EImageLoad("block [" + block + "] does not hold three images");
  TWindowStyle style;
  const std::string coord = CoordFileName(entries[0]);
  for (int k = 0; k < 10; ++k) ReadLayoutRect(coord, style.Layout[size_t(k)], 5 * k + 1);
  style.FrameInactive = LoadImage(entries[0]);
  style.FrameActive = LoadImage(entries[1]);
  style.ClientBackground = LoadImage(entries[2]);
  if (style.FrameActive->Width() != style.FrameInactive->Width() ||
      style.FrameActive->Height() != style.FrameInactive->Height())
    throw EImageLoad("the two frames of [" + block + "] differ in size");
  return style;
}

void LoadButtons(TControlImages& images) {
  images.ButtonFrames = LoadBlock("ButtonOptions", 1, 64);
  std::vector<std::string> entries;
  ReadOptionsBlock("ButtonOptions", entries);
  ReadLayoutRect(CoordFileName(entries[0]), images.ButtonLayout, 0);
}

}  // namespace

bool LoadControlImages(TControlImages& images, std::string& error) {
  try {
    LoadButtons(images);
    images.HintBackgrounds = LoadBlock("HintOptions", kHintBackgroundCount, kHintBackgroundCount);
    images.WindowStyles = {LoadWindowStyle("LargeWindowOptions"), LoadWindowStyle("SmallWindowOptions")};
    images.CheckBoxFrames = LoadBlock("CheckBoxOptions", 1, 64);
    const char* const scrollBlocks[] = {"HLargeScrollBarOptions", "VLargeScrollBarOptions", "HSmallScrollBarOptions"};
    for (size_t i = 0; i < 3; ++i)
      images.ScrollBars[i] = LoadBlock(scrollBlocks[i], ScrollBarImage::Count, ScrollBarImage::Count);
    images.TrayImages = LoadBlock("Trays", TrayImage::Count, TrayImage::Count);
    return true;
  } catch (const std::runtime_error& e) {  // ELayoutError and EImageLoad
    error = e.what();
    return false;
  }
}

std::shared_ptr<const TControlImages> CurrentControlImages() { return gCurrent; }

bool ReloadControlImages(std::string& error) {
  auto images = std::make_shared<TControlImages>();
  if (!LoadControlImages(*images, error)) return false;
  gCurrent = std::move(images);
  return true;
}

void SetControlImages(std::shared_ptr<const TControlImages> images) {
  gCurrent = images ? std::move(images) : std::make_shared<TControlImages>();
}

const TMyDib* ImageAt(const TImageList& list, int index) {
  if (list.empty()) return nullptr;
  return list[size_t(std::clamp(index, 0, int(list.size()) - 1))].get();
}

}  // namespace qj
