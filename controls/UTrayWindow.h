// The piece tray: a small window on the play table in which the player parks pieces, with a tab
// icon that opens and collapses it and two title buttons (collapse, empty). The piece set decides
// which pieces lie in it and follows it through the events.
#pragma once

#include <memory>

#include "controls/UWindows.h"

namespace qj {

class TDXButton;
class TDXHint;

// The sprite category of a tray's tab icon, for screens that look at what was hit.
namespace SpriteCategory {
enum : int { TrayIcon = 108 };
}

class TDXTrayWindow : public TDXWindow {
 public:
  // The table the trays stay on, in world coordinates of the play screen.
  static constexpr int kTableWidth = 1600;
  static constexpr int kTableHeight = 1200;
  static constexpr int kMinWidth = 100;
  static constexpr int kMinHeight = 50;

  explicit TDXTrayWindow(TInterface* owner);
  ~TDXTrayWindow() override;

  // A press on the shown window runs the window's handling; a press on the shown icon collapses
  // an open tray or opens a collapsed one and makes it active. Anything hidden takes no press.
  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  void SetTop(int value) override;
  void SetLeft(int value) override;
  void Paint() override;
  void Restore() override;
  void Animate() override;
  bool Animating() const override { return TDXWindow::Animating() || WantedIconState() != FIconState; }
  // The tab icon is the tray's too: a press on it reaches the tray through its screen.
  bool HasSprite(int index) const override { return TDXWindow::HasSprite(index) || FIconSprite.Is(index); }
  void Activate() override;
  // The tray's hint, over its open window's title band (its tab icon has a zone of its own).
  bool ShowHint() override;

  // The tray's number, and its caption "Tray" and the number in the player's language.
  void SetTrayNumber(int number);

  void ShowIcon();
  void HideAll();
  void Collapse();
  void Open();
  // The tab icon's sprite; null when it has gone.
  TMySprite* IconSprite() const { return FIconSprite.Get(); }
  bool WindowShown() const;
  // Bounds as a saved game holds them: the size first, so that a tray near the table's right or
  // bottom edge is not pushed back by the clamp against its old size.
  void RestoreBounds(int left, int top, int width, int height);

  TSpriteHandle FIconSprite;
  int FIconState = 0;  // tray image shown by the icon
  TControlEvent OnActivate;
  TControlEvent OnHide;
  TControlEvent OnShow;
  TControlEvent OnEmpty;
  std::unique_ptr<TDXButton> FCloseButton;
  std::unique_ptr<TDXButton> FEmptyButton;
  // What a tray is for and how it is used, over the tab icon and the title band.
  std::unique_ptr<TDXHint> FHint;
  int FTrayNumber = 0;
  bool FHasPieces = false;

 private:
  int WantedIconState() const;
  void ShowIconImage();
  void PlaceButtons();
  void ShowWindow(bool shown);
  bool IconAt(int x, int y) const;
  void FollowHintZones();
};

// Gives a tray's two buttons their images from the current theme again (after a theme change).
void ReloadTrayButtons(TDXTrayWindow& tray);

}  // namespace qj
