// Input as data: the platform turns its window events into these records before the game sees
// them. Keys are 16-bit Windows virtual-key codes; Shift is the set Shift 1, Alt 2, Ctrl 4,
// left 8, right 16, middle 32, double click 64.
#pragma once

#include <cstdint>
#include <string>

namespace qj {

enum TShiftBits : int {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};

enum TMouseButton : int { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Virtual-key codes the game names.
enum TVirtualKey : uint16_t {
  VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
  VK_PAUSE = 19, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35,
  VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_SNAPSHOT = 44,
  VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8,
  VK_F9, VK_F10, VK_F11, VK_F12, VK_SCROLL = 145,
};

enum class TInputKind {
  MouseDown, MouseUp, MouseMove, KeyDown, KeyUp, KeyPress,
  Resized,      // Width, Height: the new client size
  Moved,        // the window moved on the desktop
  Maximized,    // the window was maximised (Restored: back from that or from the task bar)
  CloseQuery,   // the window's close button
  Activated, Deactivated, Minimized, Restored,
  MusicEnded,   // the background music reached its end
  MouseWheel,   // Wheel notches at X, Y: positive away from the player; a sideways wheel comes
                // with Shift, positive to the left
  DropFile,     // Path: a file dropped onto the window
};

struct TInputEvent {
  TInputKind Kind = TInputKind::MouseMove;
  int Button = 0;
  int Shift = 0;
  int X = 0, Y = 0;       // client pixels
  uint16_t Key = 0;       // virtual-key code
  char32_t Char = 0;      // KeyPress: the character typed
  int Width = 0, Height = 0;
  int Wheel = 0;
  std::string Path{};
};

}  // namespace qj
