// Settings, hot keys and language text shared by the whole program, and small shared routines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qj {

struct THotKey {
  uint16_t Key = 0;  // virtual-key code, 0 = none
  int Shift = 0;     // Shift 1, Alt 2, Ctrl 4
  bool operator==(const THotKey&) const = default;
};

constexpr int kHotkeyCount = 28;

// Every user setting; one field per key of the settings file, with its default.
class TOptions {
 public:
  // Sound
  int Sound = 100;
  int Music = 100;
  // BoardPlay
  int HintRange = 20;
  uint8_t ChanceScatter = 60;
  int StickRange = 10;
  int ScatterRange = 10;
  bool RotateClockwise = true;
  uint8_t RotationIncrement = 2;
  int PieceSelectType = 0;
  int PieceSlideSpeed = 1;
  int CubeType = 0;
  bool DisplayCubes = true;
  bool ShowStars = true;
  int GhostAlpha = 128;
  int SmallPicSize = 128;
  int StatLoupeX = 0;
  int StatLoupeY = 60;
  int LoupeZoom = 4;
  bool ReverseMouse = false;
  bool AutoHideMenu = true;
  bool AutoHideScroll = true;
  // Screen
  int VBI = 0;
  int MaxFPS = 120;
  int DisplayResolution = 1;
  int DisplayRefresh = 3;
  bool FullScreen = false;
  bool BlueShaddow = true;
  // Controls
  int AnimationMs = 100;
  int ClickMs = 200;
  int HintMs = 2500;
  int HintResponseMs = 800;
  bool HintDecreases = true;
  // Score
  int ScoreUpdate = 10;
  // Selection
  int SelectionAlphaColor = 16711680;
  int SelectionAlpha = 80;
  // Graphics
  int Background = 0;
  int TableSetup = 0;
  int Environment = 0;
  // Language
  std::string LanguageFile = "Text\\English.txt";
  // Saving
  int CompressionLevel = 1;
  // Autoload
  std::string LastJigsaw;

  std::array<THotKey, kHotkeyCount> Hotkeys{};
};

// The one settings object.
extern TOptions Options;

}  // namespace qj
