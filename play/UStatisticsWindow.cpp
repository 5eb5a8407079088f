// The statistics window: the timeline of joins, the figures in the language of the moment, and the
// chart drawn in rows of the theme's colours.
#include "play/UStatisticsWindow.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "controls/UButtons.h"
#include "controls/UWindows.h"
#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "play/UCompletionPanel.h"
#include "play/UMenuSprites.h"
#include "platform/Canvas.h"

namespace qj {

namespace {

constexpr int kWidth = 520, kHeight = 430, kButtonWidth = 120, kButtonRise = 52;
constexpr int kMargin = 18, kTextTop = 10, kRowGap = 3, kColumnGap = 12;
constexpr int kChartGap = 10;    // between the figures and the chart's caption
constexpr int kButtonRoom = 72;  // below the chart: the axis numbers and the button
constexpr int kShortestSpan = 10;  // minutes the chart spans at the least, so that bars keep a width
constexpr int kSlotsPerBar = 3;  // a bar takes two of every three columns of its slot at the most
constexpr double kMinutesPerDay = 24 * 60;

// The bars of `counts` in at most `columns` / kSlotsPerBar slots: neighbouring minutes share a bar
// when the game is too long, which shows their mean.
std::vector<double> Bars(const std::vector<int>& counts, int columns) {
  const size_t slots = size_t(std::max(1, columns / kSlotsPerBar));
  const size_t per = (counts.size() + slots - 1) / slots;
  std::vector<double> bars;
  for (size_t i = 0; i < counts.size(); i += per) {
    const size_t end = std::min(counts.size(), i + per);
    int sum = 0;
    for (size_t k = i; k < end; ++k) sum += counts[k];
    bars.push_back(double(sum) / double(end - i));
  }
  return bars;
}

}  // namespace

int MinuteOf(double days) { return std::max(0, int(std::floor(days * kMinutesPerDay + 1e-9))); }

void TJoinTimeline::Start(const TGameRecord& record) {
  FFirstMinute = MinuteOf(record.Elapsed);
  FJoins = record.Joins;
  FCounts.clear();
}

void TJoinTimeline::Note(const TGameRecord& record) {
  if (record.Joins <= FJoins) return;
  const size_t minute = size_t(std::max(0, MinuteOf(record.Elapsed) - FFirstMinute));
  if (FCounts.size() <= minute) FCounts.resize(minute + 1, 0);
  FCounts[minute] += record.Joins - FJoins;
  FJoins = record.Joins;
}

std::vector<int> TJoinTimeline::Counts(double elapsedDays) const {
  std::vector<int> counts = FCounts;
  const size_t minutes = size_t(std::max(0, MinuteOf(elapsedDays) - FFirstMinute)) + 1;
  if (counts.size() < minutes) counts.resize(minutes, 0);
  return counts;
}

std::vector<std::pair<std::string, std::string>> StatisticsRows(const TGameRecord& r, std::optional<double> best) {
  return {{Lang(Text::TimeLabel), ClockText(r.Elapsed)},
          {Lang(Text::DoneLabel), std::to_string(JoinedPercent(r)) + " %"},
          {Lang(Text::JoinsLabel), std::to_string(r.Joins)},
          {Lang(Text::DropsLabel), std::to_string(r.Drops)},
          {Lang(Text::HelpsUsedLabel), HelpsUsedText(r)},
          {Lang(Text::ScoreLabel), OneDecimal(r.Score)},
          {Lang(Text::BestScoreLabel), best ? OneDecimal(*best) : Lang(Text::NoBestScoreYet)}};
}

void TStatisticsWindow::Make() {
  FWindow = &FOwner.AddOwnedControl<TDXWindow>(EControlLayer::Overlay);
  FWindow->Setup(TextKey(Text::StatisticsCaption), 0, 0, kWidth, kHeight, {.Style = 0, .Movable = false});
  FClose = &FOwner.AddOwnedControl<TDXButton>(EControlLayer::Overlay);
  FClose->SetButton(TextKey(Text::Close), 0, 0, kButtonWidth, 0, 0);
  FClose->OnClick = [this](TDXControl*) { Close(); };
  Show(FShown);
}

void TStatisticsWindow::Reset() {
  FWindow = nullptr;
  FClose = nullptr;
}

void TStatisticsWindow::Layout(int screenWidth, int screenHeight) {
  if (!FWindow) return;
  FWindow->SetBounds((screenWidth - kWidth) / 2, std::max(0, (screenHeight - kHeight) / 2), kWidth, kHeight);
  FClose->SetButton(FClose->FCaption, FWindow->FLeft + (kWidth - kButtonWidth) / 2, FWindow->FTop + kHeight - kButtonRise,
                    kButtonWidth, 0, 0);
}

void TStatisticsWindow::Open(const TGameRecord& now, std::optional<double> best, const TJoinTimeline& timeline) {
  FBest = best;
  FNow = now;
  FFirstMinute = timeline.FirstMinute();
  FCounts = timeline.Counts(now.Elapsed);
  Show(true);
}

void TStatisticsWindow::Close() { Show(false); }

void TStatisticsWindow::Follow(const TGameRecord& now, const TJoinTimeline& timeline) {
  if (!FShown) return;
  TGameRecord sameTime = now;
  if (std::llround(now.Elapsed * 86400) == std::llround(FNow.Elapsed * 86400)) sameTime.Elapsed = FNow.Elapsed;
  if (sameTime != FNow) Open(now, FBest, timeline);
}

// The figures in two columns, then the chart below them, above the button.
void TStatisticsWindow::Paint() {
  FRows = StatisticsRows(FNow, FBest);
  TMyDib image(FWindow->ClientWidth(), FWindow->ClientHeight(), 32);
  image.Fill(0);
  const int chartTop = PaintRows(image) + kChartGap;
  PaintChart(image, {kMargin, chartTop, image.Width() - kMargin, image.Height() - kButtonRoom});
  FWindow->SetImage(image);
}

// The labels in a column, their values beside them, a value too wide for the window in a smaller
// font; returns the foot of the last row.
int TStatisticsWindow::PaintRows(TMyDib& image) {
  const TTheme& theme = CurrentTheme();
  TCanvas canvas(image);
  canvas.BrushClear = true;
  canvas.Font = {theme.FontName, theme.FontSize + 2, theme.SayColor.ToPixel(), true};
  int labels = 0;
  for (const auto& row : FRows) labels = std::max(labels, canvas.TextWidth(row.first));
  const int step = canvas.TextHeight("Wg") + kRowGap, valueLeft = kMargin + labels + kColumnGap;
  int y = kTextTop;
  for (const auto& [label, value] : FRows) {
    canvas.Font.Bold = true;
    canvas.Font.Size = theme.FontSize + 2;
    canvas.TextOut(kMargin, y, label);
    canvas.Font.Bold = false;
    while (canvas.Font.Size > theme.FontSize - 1 && valueLeft + canvas.TextWidth(value) > image.Width() - kMargin)
      --canvas.Font.Size;
    canvas.TextOut(valueLeft, y, value);
    y += step;
  }
  return y;
}

// The caption, the bars in the highlight colour over a base line and an axis in the text colour,
// the highest count at the axis' top and the minutes at either end of the base line.
void TStatisticsWindow::PaintChart(TMyDib& image, const TRect& area) {
  const TTheme& theme = CurrentTheme();
  const TPixel ink = theme.SayColor.ToPixel(), bar = theme.SelectColor.ToPixel();
  TCanvas canvas(image);
  canvas.BrushClear = true;
  canvas.Font = {theme.FontName, theme.FontSize + 1, ink, true};
  std::string caption = Lang(Text::JoinsPerMinute);
  if (FFirstMinute > 0) caption += " " + FillIn(Text::ChartFromMinute, std::to_string(FFirstMinute));
  canvas.TextOut(area.Left, area.Top, caption);
  canvas.Font.Bold = false;
  const int textHeight = canvas.TextHeight("Wg");
  const TRect plot{area.Left + canvas.TextWidth("000") + 6, area.Top + textHeight + 6, area.Right, area.Bottom};
  canvas.FillRect({plot.Left - 1, plot.Top, plot.Left, plot.Bottom + 1}, ink);
  canvas.FillRect({plot.Left - 1, plot.Bottom, plot.Right, plot.Bottom + 1}, ink);
  std::vector<int> counts = FCounts;
  if (counts.size() < size_t(kShortestSpan)) counts.resize(size_t(kShortestSpan), 0);
  const std::vector<double> bars = Bars(counts, plot.Width());
  const double highest = bars.empty() ? 0 : *std::max_element(bars.begin(), bars.end());
  canvas.TextOut(plot.Left, plot.Bottom + 3, std::to_string(FFirstMinute));
  const std::string end = std::to_string(FFirstMinute + int(counts.size())) + " " + Lang(Text::MinutesAxis);
  canvas.TextOut(plot.Right - canvas.TextWidth(end), plot.Bottom + 3, end);
  if (highest <= 0) {
    const std::string none = Lang(Text::NoJoinsYet);
    canvas.TextOut(plot.Left + (plot.Width() - canvas.TextWidth(none)) / 2, plot.Top + (plot.Height() - textHeight) / 2, none);
    return;
  }
  const std::string top = OneDecimal(highest);
  canvas.TextOut(plot.Left - 4 - canvas.TextWidth(top), plot.Top - textHeight / 2, top);
  const int slot = std::max(1, plot.Width() / int(bars.size()));
  const int width = std::max(1, slot - std::max(1, slot / kSlotsPerBar));
  for (size_t i = 0; i < bars.size(); ++i) {
    const int height = int(std::lround(bars[i] / highest * (plot.Height() - 1)));
    const int left = plot.Left + 1 + int(i) * slot;
    if (height > 0) canvas.FillRect({left, plot.Bottom - height, left + width, plot.Bottom}, bar);
  }
}

void TStatisticsWindow::Show(bool shown) {
  FShown = shown;
  if (!FWindow) return;
  if (shown) Paint();
  ShowWithButtons(FWindow, std::span<TDXButton* const>(&FClose, 1), shown);
}

TRect TStatisticsWindow::Rect() const { return FShown && FWindow ? FWindow->BoundsRect() : TRect{}; }

}  // namespace qj
