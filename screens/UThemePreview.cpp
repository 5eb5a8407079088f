#include "screens/UThemePreview.h"

#include <string>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UEngines.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "screens/UScreenText.h"

namespace qj {
namespace {

constexpr int kMargin = 12;
constexpr int kGap = 8;

// Places sprites in rows: each new image goes right of the last one or starts a new row.
class TFlow {
 public:
  TFlow(TBasicEvents& screen) : FScreen(screen), FEngine(*screen.FEngine) {}

  void Text(const std::string& text, int size, bool newRow) {
    const TTextSize extent = MeasureScreenText(text, size);
    if (newRow) NewRow();
    const TPoint at = Place(extent.Width, extent.Height);
    FSprites.push_back(AddTextSprite(FScreen, text, size, at.X, at.Y));
  }

  void Image(const std::string& file) {
    TMyDib dib;
    if (!dib.LoadFromFile(file)) return;
    const TPoint at = Place(dib.Width(), dib.Height());
    FSprites.emplace_back(FEngine, FEngine.AddEmptySprite(at.X, at.Y, FScreen.NextDepth(), 0));
    FEngine.AddSurface(FSprites.back().Index(), &dib);
  }

  std::vector<TSpriteHandle> TakeSprites() { return std::move(FSprites); }

  void NewRow() {
    FX = kMargin;
    FY += FRowHeight + kGap;
    FRowHeight = 0;
  }

 private:
  // Where the next item of this size goes.
  TPoint Place(int w, int h) {
    if (FX > kMargin && FX + w > FEngine.FWidth - kMargin) NewRow();
    const TPoint at{FX, FY};
    FX += w + kGap;
    FRowHeight = std::max(FRowHeight, h);
    return at;
  }

  TBasicEvents& FScreen;
  TGraphicsEngine& FEngine;
  int FX = kMargin, FY = kMargin, FRowHeight = 0;
  std::vector<TSpriteHandle> FSprites;
};

// The blocks whose images make up a theme's controls, with the caption shown above them.
const std::pair<const char*, const char*> kBlocks[] = {
    {"ButtonOptions", "Buttons"},           {"CheckBoxOptions", "Check box"},
    {"HLargeScrollBarOptions", "Scroll bars"}, {"HSmallScrollBarOptions", nullptr},
    {"VLargeScrollBarOptions", nullptr},    {"LargeWindowOptions", "Windows"},
    {"SmallWindowOptions", nullptr},        {"HintOptions", "Hints"},
};

}  // namespace

std::vector<TSpriteHandle> BuildThemePreview(TBasicEvents& screen) {
  TFlow flow(screen);
  const TTheme& theme = CurrentTheme();
  flow.Text("Theme " + std::to_string(Options.Environment) + ": " + theme.Name, 16, false);
  for (const auto& [block, caption] : kBlocks) {
    std::vector<std::string> entries;
    try {
      ReadOptionsBlock(block, entries);
    } catch (const ELayoutError&) {
      continue;
    }
    if (caption) flow.Text(caption, 11, true);
    for (const std::string& entry : entries) flow.Image(ThemedFileName(entry));
  }
  return flow.TakeSprites();
}

}  // namespace qj
