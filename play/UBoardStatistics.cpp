// The statistics lines from the game record, and the animations and hints that show them.
#include "play/UBoardStatistics.h"

#include <algorithm>
#include <cstdio>

#include "controls/UEngines.h"
#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UGameRecord.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UMenuSprites.h"
#include "platform/Paths.h"

namespace qj {

namespace {
constexpr int kLeftGap = 10;
constexpr int kAnimationRise = 75, kAnimationSpacing = 50, kAnimationFrameMs = 50;
constexpr int kHintGap = 4;  // between the boxes of the statistics
}  // namespace

void TBoardStatistics::MakeAnimations() {
  std::vector<std::string> block;
  FOwner.ReadOptionsBlock("Animations", block);
  if (block.empty()) return;
  const std::string base = block[size_t(std::clamp(Options.CubeType, 0, int(block.size()) - 1))];
  std::vector<std::string> frames;
  for (int f = 0; f < 100; ++f) {
    char number[12];
    std::snprintf(number, sizeof number, "%02d", f);
    const std::string name = ThemedFileName(base + number);
    if (!FileExists(name)) break;
    frames.push_back(name);
  }
  TGraphicsEngine& engine = *FOwner.FEngine;
  for (int i = 0; i < kProgressHints && !frames.empty(); ++i) {
    TSpriteHandle& sprite = FAnimations.emplace_back(MakeMenuSprite(engine, FOwner.NextDepth()));
    for (const std::string& name : frames) engine.AddSurfaceFromFile(sprite.Index(), name);
    TMySprite& s = *sprite.Get();
    s.Kind = ESpriteKind::Animation;
    s.FrameMs = kAnimationFrameMs;
    s.Frame = unsigned(i * 3) % unsigned(frames.size());
    s.Visible = Options.DisplayCubes;
  }
}

void TBoardStatistics::MakeHints() {
  for (auto& hint : FHints) {
    hint = &FOwner.AddOwnedControl<TDXHint>();
    hint->FCaption = ".";
  }
}

void TBoardStatistics::Reset() {
  FHints.fill(nullptr);
  FAnimations.clear();
}

void TBoardStatistics::Layout(int screenHeight) {
  for (size_t i = 0; i < FAnimations.size(); ++i)
    if (TMySprite* s = FAnimations[i].Get()) {
      s->X = kLeftGap + int(i) * kAnimationSpacing;
      s->Y = screenHeight - kAnimationRise;
    }
}

void TBoardStatistics::ShowAnimations(bool shown) {
  for (TSpriteHandle& a : FAnimations)
    if (TMySprite* s = a.Get()) s->Visible = shown;
}

void TBoardStatistics::Update(const TGameRecord& r) {
  const std::vector<std::string> lines = {
      Lang(Text::TimeLabel) + " " + ClockText(r.Elapsed) + " " + OneDecimal(r.TimeBonus * 100) + "%",
      Lang(Text::DoneLabel) + " " + std::to_string(r.Percent) + "%",
      Lang(Text::JoinsLabel) + " " + std::to_string(6 * r.Joins) + "p",
      Lang(Text::DropsLabel) + " -" + std::to_string(r.Drops) + "p",
      Lang(Text::MagnetPullsLabel) + " -" + std::to_string(6 * r.PullHelps) + "p",
      Lang(Text::NeighbourHintsLabel) + " -" + std::to_string(r.ProximityHints) + "p",
      Lang(Text::NoGhostLabel) + (r.GhostUsed ? " + 0% " : " + 25%"),
      Lang(Text::SmallPictureLabel) + " + " + OneDecimal((8 - r.MaxPictureSize) * 2.5) + "%",
      Lang(Text::NoPlaceAndPinLabel) + (r.PlaceHelpUsed ? " + 0% " : " + 10%"),
      Lang(Text::SnapRangeLabel) + " + " + OneDecimal(12 - r.MaxStickRange) + "%",
      Lang(Text::ScoreLabel) + " " + OneDecimal(r.Score),
  };
  FText.clear();
  for (const std::string& line : lines) FText += (FText.empty() ? "" : "|") + line;
  // Two lines to a hint, in the order of the animations they stand over.
  for (size_t i = 0; i < FHints.size(); ++i)
    if (FHints[i]) {
      const std::string second = 2 * i + 1 < lines.size() ? lines[2 * i + 1] : "";
      FHints[i]->SetCaption(2 * i < lines.size() ? lines[2 * i] + "|" + second : ".");
    }
}

void TBoardStatistics::ShowProgress(int screenWidth, int screenHeight) {
  int left = kLeftGap, bottom = screenHeight - kAnimationRise, rowHeight = 0;
  for (size_t i = 0; i < FHints.size(); ++i) {
    TDXHint* hint = FHints[i];
    if (!hint) continue;
    hint->FHintRect = MakeRect(kLeftGap + int(i) * kAnimationSpacing, screenHeight - kAnimationRise, kAnimationSpacing,
                               kAnimationSpacing);
    hint->HideHint();
    hint->PlaceBeside(false);
    if (left > kLeftGap && left + hint->FWidth > screenWidth) {
      left = kLeftGap;
      bottom -= rowHeight + kHintGap;
      rowHeight = 0;
    }
    hint->SetLeft(left);
    hint->SetTop(bottom - hint->FHeight);
    left += hint->FWidth + kHintGap;
    rowHeight = std::max(rowHeight, hint->FHeight);
    (void)hint->ShowHint();
  }
}

void TBoardStatistics::HideProgress() {
  for (TDXHint* hint : FHints)
    if (hint) hint->HideHint();
}

bool TBoardStatistics::Over(TPoint p, int screenHeight) const {
  const int count = int(FAnimations.size());
  return count > 0 && MakeRect(kLeftGap, screenHeight - kAnimationRise, count * kAnimationSpacing, kAnimationSpacing).Contains(p.X, p.Y);
}

}  // namespace qj
