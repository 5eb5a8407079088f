// The puzzle selector: every picture of the library as a small window lying on a desk, with
// its preview, piece count, best score and the state of a game in progress. The player arranges
// the windows (their places come back at the next visit), picks one and plays, continues,
// restarts it or opens it in the maker.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UWindows.h"
#include "controls/UEngines.h"
#include "core/UTextIds.h"
#include "screens/UPictureChooser.h"
#include "screens/UThumbWindow.h"

namespace qj {

// What the finished selector asks the engine to do next with its chosen picture (its result).
namespace SelectorResult {
// MakeFirst: Play was asked of a picture that has no puzzle yet; the maker opens on it with a note.
enum : int { Back = -1, NewGame = 1, Maker = 2, Continue = 3, MakeFirst = 4 };
}

class TPuzzleSelectorInterface : public TInterface {
 public:
  // The buttons: the five at the bottom left, Back at the right, the scroll arrows at the top
  // and the two of the confirmation.
  enum EButton : uint8_t { Play, Make, Arrange, Restart, AddPicture, Back, PageLeft, PageRight, ConfirmYes, ConfirmNo, ButtonCount };
  static constexpr int kScrollStep = 50;

  using TInterface::TInterface;
  ~TPuzzleSelectorInterface() override;

  void Enter() override;
  void Leave() override;
  void Update() override;
  // Its frame work runs every tick.
  uint32_t RestFor(uint32_t) const override { return 0; }
  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseWheel(int shift, int notches, int x, int y) override;
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void Resize() override;
  void Restore() override;

  // The thumbnail of a picture (paths compared without regard to case), or null.
  TDXThumbWindow* ThumbOf(const std::string& path) const;
  const std::vector<TOwnedControl>& Thumbs() const { return FThumbs; }
  TDXThumbWindow& Thumb(size_t index) const { return static_cast<TDXThumbWindow&>(*FThumbs[index]); }
  TDXButton* Button(EButton button) const { return FButtons[button]; }
  // Shows a picture of the library (a new one gets its window) on top, chosen.
  void ShowPicture(const std::string& path);
  // Makes the thumbnail the chosen one, as a click on it does.
  void Select(TDXThumbWindow& thumb);
  bool ConfirmShown() const;
  // The picture chooser of Add picture, while the screen is shown.
  TPictureChooser* Chooser() const { return FChooser.get(); }
  // How far the desk is scrolled to the right: desk x = screen x + ScrollOffset().
  int ScrollOffset() const { return FScrollOffset; }
  // The part of the screen the windows lie in: below the scroll arrows, above the buttons.
  TRect DeskView() const;
  // The windows lie as Arrange laid them out, and follow the window's size in rows.
  bool Arranged() const { return FArranged; }

  // Full path of the picture chosen last; the engine reads it after the screen leaves.
  const std::string& CurrentPath() const { return FCurrentPath; }
  // The picture chosen when the screen is shown next, and until the player chooses another.
  void OpenOn(const std::string& picture) { FCurrentPath = picture; }
  // The library's scan: the language line naming it, files done and their number.
  std::function<void(ETextId line, int64_t done, int64_t total)> OnProgress;
  // A message for the player: title and text.
  std::function<void(const std::string& title, const std::string& text)> OnMessage;

 private:
  void ScanLibrary();
  [[nodiscard]] bool AddThumb(const std::string& path, bool nameTaken);
  void ApplyLayout();
  void PlaceUnlisted(const std::vector<TDXThumbWindow*>& unlisted);
  std::vector<TPoint> RowPlaces(const std::vector<TDXThumbWindow*>& byName) const;
  std::vector<TDXThumbWindow*> ThumbsByName() const;
  void Reflow();
  void PlaceNewThumb(TDXThumbWindow& thumb);
  void ScrollToShow(const TDXThumbWindow& thumb);
  void ThumbReleased(TDXThumbWindow& thumb);
  void SaveLayout() const;
  void BuildDesk();
  void BuildButtons();
  void BuildConfirmation();
  TDXButton& NewButton(EButton which, const std::string& caption, const std::string& hint, EControlLayer layer);
  void PlaceButtons();
  int ButtonWidth(const TDXButton& button, bool roomy) const;
  void ShowConfirmation(bool shown);
  void RaiseToTop(TDXControl& window);
  std::vector<TDXThumbWindow*> ThumbsByDepth() const;
  void ChooseInitialThumb();
  void StepChoice(int by);
  void Pulse();
  void Scroll(int by);
  void PressPlay();
  void PressMake();
  void PressArrange();
  void PressRestart();
  void PressAddPicture();
  void AddChosenPicture(const std::string& path);
  // Whether a press or release at (x, y) belongs to an open dialog, or there is none.
  bool ReachesDialog(int x, int y) const;
  void ConfirmRestart();
  [[nodiscard]] bool RefuseSharedName(const TDXThumbWindow& thumb);
  void Message(const std::string& title, const std::string& text);

  std::string FCurrentPath;
  TMyDib FHiddenImage;
  std::vector<TOwnedControl> FThumbs;
  std::array<TDXButton*, ButtonCount> FButtons{};
  TDXWindow* FDesk = nullptr;
  TDXWindow* FConfirmWindow = nullptr;
  std::string FConfirmPath;
  std::unique_ptr<TPictureChooser> FChooser;
  std::string FChooserFolder;  // where the chooser was last, for the next picture
  uint32_t FLastPulse = 0;
  int FScrollOffset = 0;
  bool FArranged = false;
  const TDXThumbWindow* FPressedThumb = nullptr;  // only compared: the window a press began on
  TPoint FPressedAt;                             // where it lay then
};

}  // namespace qj
