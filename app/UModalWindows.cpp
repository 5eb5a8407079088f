// Which window over the screens takes input, and the order in which waiting messages are shown.
#include "app/UModalWindows.h"

#include <algorithm>

namespace qj {
namespace {

// Above every screen's band, below the hints, so the windows' own buttons can show theirs.
constexpr double kHelpLow = 9000000, kHelpHigh = 9099990;
constexpr double kMessageLow = 9100000, kMessageHigh = 9199990;

}  // namespace

TModalWindows::TModalWindows(TGraphicsEngine* graphics) : FHelp(graphics), FMessages(graphics) {
  FHelp.SetDepthRange(kHelpLow, kHelpHigh);
  FMessages.SetDepthRange(kMessageLow, kMessageHigh);
  FHelp.OnMessage = [this](const std::string& title, const std::string& text) { Report(title, text); };
}

TModalWindows::~TModalWindows() { CloseAll(); }

void TModalWindows::Report(const std::string& title, const std::string& text) {
  const auto message = std::make_pair(title, text);
  if (FMessages.Shown() && FMessages.Title() == title && FMessages.Text() == text) return;
  if (std::find(FPending.begin(), FPending.end(), message) != FPending.end()) return;
  FPending.push_back(message);
}

void TModalWindows::ShowHelp(int topic) {
  if (FHelp.Shown()) FHelp.Close();
  (void)FHelp.ShowTopic(topic);  // a page that cannot be shown has reported why
}

void TModalWindows::ShowPending() {
  if (FMessages.Shown() || FPending.empty()) return;
  const auto [title, text] = FPending.front();
  FPending.pop_front();
  FMessages.Show(title, text);
}

TModalWindow* TModalWindows::Top() {
  if (FMessages.Shown()) return &FMessages;
  if (FHelp.Shown()) return &FHelp;
  return nullptr;
}

bool TModalWindows::Update() {
  if (FHelp.Shown()) FHelp.Update();
  if (FMessages.Shown()) FMessages.Update();
  return Top() != nullptr;
}

void TModalWindows::Resize() {
  if (FHelp.Shown()) FHelp.Resize();
  if (FMessages.Shown()) FMessages.Resize();
}

void TModalWindows::RestoreControls() {
  FHelp.RestoreControls();
  FMessages.RestoreControls();
}

void TModalWindows::CloseAll() {
  FMessages.Close();
  FHelp.Close();
  FPending.clear();
}

}  // namespace qj
