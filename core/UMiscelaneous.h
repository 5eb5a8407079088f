// Settings, display modes, hot keys and language text shared by the whole program, and small
// shared routines.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/UTextIds.h"
#include "platform/Display.h"
#include "platform/Geometry.h"
#include "platform/Input.h"
#include "platform/PixelBuffer.h"

namespace qj {

class TIniFile;

struct THotKey {
  uint16_t Key = 0;  // virtual-key code, 0 = none
  int Shift = 0;     // Shift 1, Alt 2, Ctrl 4
  bool operator==(const THotKey&) const = default;
};

// Two keys for each in-game menu button after the first four entries (minimise, close and two
// unused); the whole-table switch (entries 28, 29), the spread-out key (30; 31 unused), the sort
// into trays (32; 33 unused), the statistics window (34, 35) and undo and redo (36, 37) came later.
constexpr int kHotkeyCount = 38;
constexpr int kWholeTableHotkey = 28;
constexpr int kSpreadOutHotkey = 30;
constexpr int kSortHotkey = 32;
constexpr int kStatisticsHotkey = 34;
constexpr int kUndoHotkey = 36, kRedoHotkey = 37;
constexpr int kMaxAutosaveMinutes = 60;

// The keys a settings file that lacks them gives: none, except those of the whole table (Z and
// Tab), of spreading out (O), of the sort (R), of the statistics (F3) and of undo and redo
// (Ctrl+Z, Ctrl+Y), which came after the first settings files.
constexpr std::array<THotKey, kHotkeyCount> BuiltInHotkeys() {
  std::array<THotKey, kHotkeyCount> keys{};
  keys[kWholeTableHotkey] = {'Z', 0};
  keys[kWholeTableHotkey + 1] = {VK_TAB, 0};
  keys[kSpreadOutHotkey] = {'O', 0};
  keys[kSortHotkey] = {'R', 0};
  keys[kStatisticsHotkey] = {VK_F3, 0};
  keys[kUndoHotkey] = {'Z', ssCtrl};
  keys[kRedoHotkey] = {'Y', ssCtrl};
  return keys;
}

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
  // A new game spreads its pieces over the whole table; off, it heaps them in the first view.
  bool SpreadNewGames = true;
  // Screen
  int VBI = 0;
  int MaxFPS = 120;
  int DisplayResolution = 1;
  // Full screen at the desktop's own resolution rather than mode DisplayResolution. Missing, it
  // is true unless the file names a DisplayResolution: an older file keeps its mode.
  bool DesktopResolution = true;
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
  bool ShowProgress = true;  // the progress line in a corner of the table
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
  int AutosaveMinutes = 3;  // minutes of play between autosaves, 0: none (at most kMaxAutosaveMinutes)
  // Autoload
  std::string LastJigsaw;
  // When the last game was autosaved ("14:32") if the program ended without leaving it; not kept
  // in the settings file.
  std::string AutosavedAt;
  // Window: the main window's client rectangle (screen coordinates) and maximised state as the
  // last run left them; a width or height of 0 means none was kept (the first start's size).
  int WindowLeft = 0;
  int WindowTop = 0;
  int WindowWidth = 0;
  int WindowHeight = 0;
  bool WindowMaximized = false;

  std::array<THotKey, kHotkeyCount> Hotkeys = BuiltInHotkeys();
};

// The one settings object.
extern TOptions Options;

// ---- Settings files ----------------------------------------------------------------------------

// Reads every key from the INI file (a missing file or key gives the default). "Sound" and
// "Music" take effect at once; "ScoreUpdate" is clamped to 1..100 and "Environment" to the last
// theme. The hot keys are read only when skipHotkeys is false.
void LoadSettings(const std::string& fileName, bool skipHotkeys);
// Writes every key into SettingsPath("Jigsaw.stg"); keys of the file that we do not know are kept.
// False when the file could not be written.
[[nodiscard]] bool SaveSettings();
// The window keys belong to the player's own settings file, not to the presets: LoadSettings
// leaves them alone, the main window reads them at start, and they are written on their own
// whenever the window moves (every other line of the file kept as it is) and with SaveSettings.
void LoadWindowPlacement(const std::string& fileName);
[[nodiscard]] bool SaveWindowPlacement();
// The language file name and the 28 hot keys from Text/DefHotkeys.stg.
void LoadDefaultHotkeys();

// ---- Display modes ----------------------------------------------------------------------------

struct TDisplaySetting {
  int Resolution = 0;  // index into DisplayModes
  int Width = 0;
  int Height = 0;
  int Refresh = 0;  // index into RefreshRates
  int BitCount = 0;
  bool FullScreen = false;
};

extern const std::array<std::string, 7> DisplayModes;
// The resolution that stands for the desktop's own: full screen then shows the game's screen for
// the desktop's size (DesktopSurfaceSize), scaled up onto the desktop when that is larger.
constexpr int kDesktopResolution = -1;
// The resolution the settings choose: kDesktopResolution or an index of DisplayModes.
int ChosenResolution();
void ChooseResolution(int resolution);
// "DesktopResolution" and "DisplayResolution" of a settings file read as one resolution.
int StoredResolution(const TIniFile& ini);
// The name the options show: the desktop's (with the game's screen size) or the mode's.
std::string ResolutionName(int resolution);
// Element 0 is always 0: the display's default rate.
extern std::vector<uint32_t> RefreshRates;

// Fills Width, Height and BitCount from element `index` of DisplayModes (clamped into range), or
// for kDesktopResolution from the desktop the window is on (32 bits).
TDisplaySetting ParseDisplayMode(int index);
void ParseDisplayMode(int index, TDisplaySetting& setting);
// Rebuilds RefreshRates for the mode's width and height (the desktop's own size for
// kDesktopResolution) from the display's reported modes.
void BuildRefreshRates(int resolution);
// The full-screen mode of DisplayModes entry `resolution` at element `refresh` of RefreshRates;
// an index the display does not offer gives its default rate.
TDisplayMode FullScreenMode(int resolution, int refresh);

// ---- Hot keys ----------------------------------------------------------------------------------

// Short names of the 256 key codes ("" for unnamed codes below 33).
extern const std::array<std::string, 256> KeyNames;
// "Alt-", "Ctrl-", "Shift-" as set, then the key's name: "Ctrl-Shift-A".
std::string HotKeyText(const THotKey& key);

// ---- Language text -----------------------------------------------------------------------------

// The lines of the active language file, numbered from 0; empty before the first LoadLanguage.
extern std::vector<std::string> LanguageText;
// Names of the three cube types, from the language's Text::CubeNames (English until a language is loaded).
extern std::array<std::string, 3> CubeTypeNames;

// (Re)loads LanguageText from Text/<LanguageFile>, falling back to "English.lang" (and storing
// that name). False when neither exists: the program cannot show any text and must end.
[[nodiscard]] bool LoadLanguage();
// The language's line `line`, or "" when the language has no such line.
const std::string& Lang(ETextId line);
// Replaces every text key ("$" and a decimal line number) by its language line, keys inside the
// inserted lines too. A "$" without digits and a key beyond the table stay as written, so a
// missing line shows up as its key ($250) on screen instead of stopping the program; keys that expand
// into themselves stop after a fixed number of replacements.
std::string ReplaceTextKeys(const std::string& text);

// ---- Themed text -------------------------------------------------------------------------------

class TCanvas;
class TMyDib;

// Text size in the theme's font; a size of 0 keeps the canvas's size.
int ThemedTextHeight(TCanvas& canvas, const std::string& text, int size);
int ThemedTextWidth(TCanvas& canvas, const std::string& text, int size);
// Writes text in the theme's font and "say" colour with a transparent background, its top at
// y - 2; x and y are rounded to the nearest integer. The size is the caller's; flag is unused.
void SayText(TCanvas& canvas, const std::string& text, int flag, double x, double y);
std::string CurrentFontName();

// ---- Bitmaps -----------------------------------------------------------------------------------

// Creates the bitmap when there is none, sizes it and fills it with colour.
void MakeFilledBitmap(std::unique_ptr<TMyDib>& bitmap, int width, int height, int bitCount, TPixel colour);

// Copies the (non-owning) references 0..highIndex of source into dest, growing dest as needed.
template <class T>
void CopyBitmapRefs(std::vector<T*>& dest, const std::vector<T*>& source, int highIndex) {
  const size_t count = std::min(source.size(), size_t(std::max(highIndex + 1, 0)));
  if (dest.size() < count) dest.resize(count, nullptr);
  std::copy(source.begin(), source.begin() + count, dest.begin());
}

// ---- Geometry and counters ---------------------------------------------------------------------

bool PointsEqual(const TPoint& a, const TPoint& b);
// Inclusive on all four sides (unlike TRect::Contains).
bool PointInRect(const TPoint& p, const TRect& r);
TPoint AddPoints(const TPoint& p, const TPoint& offset);
// Euclidean distance rounded to the nearest integer, halves to even.
int Distance(int x1, int y1, int x2, int y2);
int PointDistance(const TPoint& a, const TPoint& b);
// Both coordinate differences strictly below range.
bool WithinRange(int x1, int y1, int x2, int y2, int range);
void Swap(int& a, int& b);
// Counts counter up to limit: false (and counter back to 0) once it has reached the limit.
bool CountUp(int& counter, int limit);

}  // namespace qj
