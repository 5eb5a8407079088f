// Settings files, hot-key names, language text and the small shared routines.
#include "core/UMiscelaneous.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <variant>

#include "core/UThemes.h"
#include "platform/Canvas.h"
#include "platform/Dib.h"
#include "platform/Display.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Viewport.h"

namespace qj {

TOptions Options;
std::vector<std::string> LanguageText;
std::array<std::string, 3> CubeTypeNames{"Cubes", "Diamonds", "Pyramids"};

// ---- Settings files ----------------------------------------------------------------------------

namespace {

using TField = std::variant<int TOptions::*, uint8_t TOptions::*, bool TOptions::*, std::string TOptions::*>;

struct TSettingKey {
  const char* Section;
  const char* Key;
  TField Field;
};

// Every key of the settings file except the hot keys, in the order the file lists them.
const TSettingKey kSettingKeys[] = {
    {"BoardPlay", "HintRange", &TOptions::HintRange},
    {"BoardPlay", "ChanceScatter", &TOptions::ChanceScatter},
    {"BoardPlay", "StickRange", &TOptions::StickRange},
    {"BoardPlay", "ScatterRange", &TOptions::ScatterRange},
    {"BoardPlay", "RotateClockwise", &TOptions::RotateClockwise},
    {"BoardPlay", "RotationIncrement", &TOptions::RotationIncrement},
    {"BoardPlay", "PieceSelectType", &TOptions::PieceSelectType},
    {"BoardPlay", "PieceSlideSpeed", &TOptions::PieceSlideSpeed},
    {"BoardPlay", "CubeType", &TOptions::CubeType},
    {"BoardPlay", "DisplayCubes", &TOptions::DisplayCubes},
    {"BoardPlay", "ShowStars", &TOptions::ShowStars},
    {"BoardPlay", "GhostAlpha", &TOptions::GhostAlpha},
    {"BoardPlay", "SmallPicSize", &TOptions::SmallPicSize},
    {"BoardPlay", "StatLoupeX", &TOptions::StatLoupeX},
    {"BoardPlay", "StatLoupeY", &TOptions::StatLoupeY},
    {"BoardPlay", "LoupeZoom", &TOptions::LoupeZoom},
    {"BoardPlay", "ReverseMouse", &TOptions::ReverseMouse},
    {"BoardPlay", "AutoHideMenu", &TOptions::AutoHideMenu},
    {"BoardPlay", "AutoHideScroll", &TOptions::AutoHideScroll},
    {"BoardPlay", "SpreadNewGames", &TOptions::SpreadNewGames},
    {"Screen", "VBI", &TOptions::VBI},
    {"Screen", "MaxFPS", &TOptions::MaxFPS},
    {"Screen", "DisplayResolution", &TOptions::DisplayResolution},
    {"Screen", "DesktopResolution", &TOptions::DesktopResolution},
    {"Screen", "DisplayRefresh", &TOptions::DisplayRefresh},
    {"Screen", "FullScreen", &TOptions::FullScreen},
    {"Screen", "BlueShaddow", &TOptions::BlueShaddow},
    {"Controls", "AnimationMs", &TOptions::AnimationMs},
    {"Controls", "ClickMs", &TOptions::ClickMs},
    {"Controls", "HintMs", &TOptions::HintMs},
    {"Controls", "HintResponseMs", &TOptions::HintResponseMs},
    {"Controls", "HintDecreases", &TOptions::HintDecreases},
    {"Sound", "Sound", &TOptions::Sound},
    {"Sound", "Music", &TOptions::Music},
    {"Score", "ScoreUpdate", &TOptions::ScoreUpdate},
    {"Score", "ShowProgress", &TOptions::ShowProgress},
    {"Selection", "SelectionAlphaColor", &TOptions::SelectionAlphaColor},
    {"Selection", "SelectionAlpha", &TOptions::SelectionAlpha},
    {"Graphics", "Background", &TOptions::Background},
    {"Graphics", "TableSetup", &TOptions::TableSetup},
    {"Graphics", "Environment", &TOptions::Environment},
    {"Language", "LanguageFile", &TOptions::LanguageFile},
    {"Saving", "CompressionLevel", &TOptions::CompressionLevel},
    {"Saving", "AutosaveMinutes", &TOptions::AutosaveMinutes},
    {"Autoload", "LastJigsaw", &TOptions::LastJigsaw},
};

// The main window's keys: read and written apart from the others (see LoadWindowPlacement).
const TSettingKey kWindowKeys[] = {
    {"Window", "WindowLeft", &TOptions::WindowLeft},
    {"Window", "WindowTop", &TOptions::WindowTop},
    {"Window", "WindowWidth", &TOptions::WindowWidth},
    {"Window", "WindowHeight", &TOptions::WindowHeight},
    {"Window", "WindowMaximized", &TOptions::WindowMaximized},
};

const TOptions kDefaults;

void ReadKey(const TIniFile& ini, const TSettingKey& k) {
  std::visit(
      [&](auto field) {
        using T = std::remove_reference_t<decltype(Options.*field)>;
        if constexpr (std::is_same_v<T, std::string>)
          Options.*field = ini.ReadString(k.Section, k.Key, kDefaults.*field);
        else if constexpr (std::is_same_v<T, bool>)
          Options.*field = ini.ReadBool(k.Section, k.Key, kDefaults.*field);
        else  // ints, and bytes that keep only the low byte of what was read
          Options.*field = T(ini.ReadInteger(k.Section, k.Key, kDefaults.*field));
      },
      k.Field);
}

void WriteKey(TIniFile& ini, const TSettingKey& k) {
  std::visit(
      [&](auto field) {
        using T = std::remove_reference_t<decltype(Options.*field)>;
        if constexpr (std::is_same_v<T, std::string>)
          ini.WriteString(k.Section, k.Key, Options.*field);
        else if constexpr (std::is_same_v<T, bool>)
          ini.WriteBool(k.Section, k.Key, Options.*field);
        else
          ini.WriteInteger(k.Section, k.Key, int(Options.*field));
      },
      k.Field);
}

void ReadHotkeys(const TIniFile& ini) {
  for (int n = 0; n < kHotkeyCount; ++n) {
    const std::string nr = std::to_string(n);
    THotKey& h = Options.Hotkeys[size_t(n)];
    const THotKey builtIn = BuiltInHotkeys()[size_t(n)];
    h.Key = uint16_t(ini.ReadInteger("Hotkeys", "Key" + nr, builtIn.Key));
    h.Shift = 0;
    if (ini.ReadBool("Hotkeys", "Alt" + nr, (builtIn.Shift & ssAlt) != 0)) h.Shift += 2;
    if (ini.ReadBool("Hotkeys", "Ctrl" + nr, (builtIn.Shift & ssCtrl) != 0)) h.Shift += 4;
    if (ini.ReadBool("Hotkeys", "Shift" + nr, (builtIn.Shift & ssShift) != 0)) h.Shift += 1;
  }
}

void WriteHotkeys(TIniFile& ini) {
  for (int n = 0; n < kHotkeyCount; ++n) {
    const std::string nr = std::to_string(n);
    const THotKey& h = Options.Hotkeys[size_t(n)];
    ini.WriteInteger("Hotkeys", "Key" + nr, h.Key);
    ini.WriteBool("Hotkeys", "Alt" + nr, (h.Shift & 2) != 0);
    ini.WriteBool("Hotkeys", "Ctrl" + nr, (h.Shift & 4) != 0);
    ini.WriteBool("Hotkeys", "Shift" + nr, (h.Shift & 1) != 0);
  }
}

std::string SettingsFileName() { return SettingsPath("Jigsaw.stg"); }

}  // namespace

void LoadSettings(const std::string& fileName, bool skipHotkeys) {
  const TIniFile ini(ResolvePath(fileName));
  for (const TSettingKey& k : kSettingKeys) ReadKey(ini, k);
  SetSoundVolume(Options.Sound);
  SetMusicVolume(Options.Music);
  Options.ScoreUpdate = std::clamp(Options.ScoreUpdate, 1, 100);
  Options.AutosaveMinutes = std::clamp(Options.AutosaveMinutes, 0, kMaxAutosaveMinutes);
  // A negative duration from a hand-edited file would freeze every animation that waits for it.
  for (int* ms : {&Options.AnimationMs, &Options.ClickMs, &Options.HintMs, &Options.HintResponseMs})
    *ms = std::max(*ms, 0);
  Options.Environment = std::min(Options.Environment, int(Themes.size()) - 1);
  Options.DesktopResolution = StoredResolution(ini) == kDesktopResolution;
  if (!skipHotkeys) ReadHotkeys(ini);
}

bool SaveSettings() {
  TIniFile ini(SettingsFileName());
  for (const TSettingKey& k : kSettingKeys) WriteKey(ini, k);
  for (const TSettingKey& k : kWindowKeys) WriteKey(ini, k);
  WriteHotkeys(ini);
  return ini.UpdateFile();
}

void LoadWindowPlacement(const std::string& fileName) {
  const TIniFile ini(ResolvePath(fileName));
  for (const TSettingKey& k : kWindowKeys) ReadKey(ini, k);
}

bool SaveWindowPlacement() {
  TIniFile ini(SettingsFileName());
  for (const TSettingKey& k : kWindowKeys) WriteKey(ini, k);
  return ini.UpdateFile();
}

void LoadDefaultHotkeys() {
  const TIniFile ini(DataPath("Text/DefHotkeys.stg"));
  Options.LanguageFile = ini.ReadString("Language", "LanguageFile", "English.txt");
  ReadHotkeys(ini);
}

// ---- Display modes ----------------------------------------------------------------------------

const std::array<std::string, 7> DisplayModes = {"800x600x16",  "800x600x32",  "1024x768x16",
                                                 "1024x768x32", "1152x864x16", "1280x768x16",
                                                 "1280x960x16"};
std::vector<uint32_t> RefreshRates = {0};

namespace {

// The size of the desktop the window is on; the game's smallest size before there is a display.
TPoint DesktopSize() {
  const IDisplay* display = DXDraw();
  const TRect screen = display ? display->ScreenBounds() : TRect{};
  if (screen.IsEmpty()) return {kMinClientWidth, kMinClientHeight};
  return {screen.Width(), screen.Height()};
}

}  // namespace

int ChosenResolution() { return Options.DesktopResolution ? kDesktopResolution : Options.DisplayResolution; }

void ChooseResolution(int resolution) {
  Options.DesktopResolution = resolution == kDesktopResolution;
  if (resolution != kDesktopResolution) Options.DisplayResolution = resolution;
}

int StoredResolution(const TIniFile& ini) {
  const bool hasMode = ini.ValueExists("Screen", "DisplayResolution");
  if (ini.ReadBool("Screen", "DesktopResolution", !hasMode)) return kDesktopResolution;
  return ini.ReadInteger("Screen", "DisplayResolution", kDefaults.DisplayResolution);
}

std::string ResolutionName(int resolution) {
  if (resolution != kDesktopResolution)
    return DisplayModes[size_t(std::clamp(resolution, 0, int(DisplayModes.size()) - 1))];
  const TDisplaySetting mode = ParseDisplayMode(kDesktopResolution);
  return Lang(Text::DesktopResolution) + ", " + std::to_string(mode.Width) + "x" + std::to_string(mode.Height);
}

void ParseDisplayMode(int index, TDisplaySetting& setting) {
  if (index == kDesktopResolution) {
    const TPoint desktop = DesktopSize();
    const TPoint size = DesktopSurfaceSize(desktop.X, desktop.Y);
    setting.Width = size.X;
    setting.Height = size.Y;
    setting.BitCount = 32;
    return;
  }
  const std::string& mode = DisplayModes[size_t(std::clamp(index, 0, int(DisplayModes.size()) - 1))];
  std::sscanf(mode.c_str(), "%dx%dx%d", &setting.Width, &setting.Height, &setting.BitCount);
}

TDisplaySetting ParseDisplayMode(int index) {
  TDisplaySetting setting;
  setting.Resolution = index;
  ParseDisplayMode(index, setting);
  return setting;
}

void BuildRefreshRates(int resolution) {
  const TDisplaySetting mode = ParseDisplayMode(resolution);
  const TPoint size = resolution == kDesktopResolution ? DesktopSize() : TPoint{mode.Width, mode.Height};
  RefreshRates.assign(1, 0);
  if (IDisplay* display = DXDraw()) {
    for (const TDisplayMode& m : display->EnumDisplayModes()) {
      if (m.Width != size.X || m.Height != size.Y) continue;
      if (std::find(RefreshRates.begin(), RefreshRates.end(), uint32_t(m.Refresh)) == RefreshRates.end())
        RefreshRates.push_back(uint32_t(m.Refresh));
    }
  }
  std::sort(RefreshRates.begin(), RefreshRates.end());
}

TDisplayMode FullScreenMode(int resolution, int refresh) {
  const TDisplaySetting mode = ParseDisplayMode(resolution);
  const bool offered = refresh >= 0 && size_t(refresh) < RefreshRates.size();
  return {mode.Width, mode.Height, mode.BitCount, int(offered ? RefreshRates[size_t(refresh)] : 0)};
}

// ---- Hot keys ----------------------------------------------------------------------------------

namespace {

std::array<std::string, 256> BuildKeyNames() {
  std::array<std::string, 256> names;
  // The character of the same code; above 127 the Latin-1 character, written as UTF-8 so the
  // text renderer can show it.
  for (int c = 33; c < 128; ++c) names[size_t(c)] = std::string(1, char(c));
  for (int c = 128; c < 256; ++c) names[size_t(c)] = {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
  const std::pair<int, const char*> named[] = {
      {8, "Back"},    {9, "TAB"},    {13, "Enter"}, {19, "Pause"},  {27, "ESC"},     {32, "Space"},
      {33, "PgUp"},   {34, "PgDwn"}, {35, "End"},   {36, "Home"},   {37, "Left"},    {38, "Up"},
      {39, "Right"},  {40, "Down"},  {44, "Print"}, {45, "Insert"}, {46, "Delete"},  {145, "Scroll"},
      {186, ";"},     {187, "="},    {188, ","},    {189, "-"},     {190, "."},      {191, "/"},
      {192, "`"},     {219, "["},    {220, "\\"},   {221, "]"},     {222, "'"},
  };
  for (const auto& [code, name] : named) names[size_t(code)] = name;
  for (int f = 1; f <= 12; ++f) names[size_t(111 + f)] = "F" + std::to_string(f);
  return names;
}

}  // namespace

const std::array<std::string, 256> KeyNames = BuildKeyNames();

std::string HotKeyText(const THotKey& key) {
  std::string text;
  if (key.Shift & 2) text += "Alt-";
  if (key.Shift & 4) text += "Ctrl-";
  if (key.Shift & 1) text += "Shift-";
  return text + KeyNames[key.Key & 255];
}

// ---- Language text -----------------------------------------------------------------------------

namespace {

const std::string kNoLine;
// Enough for any honest nesting; a key that expands into itself stops here.
constexpr int kMaxKeyReplacements = 1000;

const std::string* LineForKey(std::string_view digits) {
  int n = 0;
  const auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (err != std::errc() || end != digits.data() + digits.size()) return nullptr;
  if (n < 0 || size_t(n) >= LanguageText.size()) return nullptr;
  return &LanguageText[size_t(n)];
}

}  // namespace

bool LoadLanguage() {
  LanguageText.clear();
  if (!FileExists(DataPath("Text/" + Options.LanguageFile))) Options.LanguageFile = "English.lang";
  std::vector<std::string> lines;
  if (!ReadTextLines(DataPath("Text/" + Options.LanguageFile), lines)) return false;
  LanguageText = std::move(lines);
  const char* english[3] = {"Cubes", "Diamonds", "Pyramids"};
  for (int i = 0; i < 3; ++i) {
    const size_t line = size_t(Text::CubeNames + i);
    CubeTypeNames[size_t(i)] = line < LanguageText.size() ? LanguageText[line] : english[i];
  }
  return true;
}

const std::string& Lang(ETextId line) {
  const int n = int(line);
  if (n < 0 || size_t(n) >= LanguageText.size()) return kNoLine;
  return LanguageText[size_t(n)];
}

std::string ReplaceTextKeys(const std::string& text) {
  std::string result = text;
  int budget = kMaxKeyReplacements;
  size_t pos = result.find('$');
  while (pos != std::string::npos && budget > 0) {
    size_t end = pos + 1;
    while (end < result.size() && result[end] >= '0' && result[end] <= '9') ++end;
    const std::string* line = LineForKey(std::string_view(result).substr(pos + 1, end - pos - 1));
    if (!line) {
      pos = result.find('$', pos + 1);
      continue;
    }
    result.replace(pos, end - pos, *line);
    --budget;
    pos = result.find('$', pos);
  }
  return result;
}

// ---- Themed text -------------------------------------------------------------------------------

namespace {

void SelectThemeFont(TCanvas& canvas, int size) {
  canvas.Font.Name = CurrentFontName();
  if (size != 0) canvas.Font.Size = size;
}

}  // namespace

int ThemedTextHeight(TCanvas& canvas, const std::string& text, int size) {
  SelectThemeFont(canvas, size);
  return canvas.TextHeight(text);
}

int ThemedTextWidth(TCanvas& canvas, const std::string& text, int size) {
  SelectThemeFont(canvas, size);
  return canvas.TextWidth(text);
}

void SayText(TCanvas& canvas, const std::string& text, int /*flag*/, double x, double y) {
  canvas.Font.Name = CurrentFontName();
  canvas.Font.Color = CurrentTheme().SayColor.ToPixel();
  canvas.BrushClear = true;
  canvas.TextOut(int(std::nearbyint(x)), int(std::nearbyint(y)) - 2, text);
}

std::string CurrentFontName() { return CurrentTheme().FontName; }

// ---- Bitmaps -----------------------------------------------------------------------------------

void MakeFilledBitmap(std::unique_ptr<TMyDib>& bitmap, int width, int height, int bitCount, TPixel colour) {
  if (!bitmap) bitmap = std::make_unique<TMyDib>();
  bitmap->SetBitCount(bitCount);
  bitmap->ResizeUninitialised(width, height);
  bitmap->Fill(colour);
}

// ---- Geometry and counters ---------------------------------------------------------------------

bool PointsEqual(const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; }

bool PointInRect(const TPoint& p, const TRect& r) {
  return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

TPoint AddPoints(const TPoint& p, const TPoint& offset) { return {p.X + offset.X, p.Y + offset.Y}; }

int Distance(int x1, int y1, int x2, int y2) {
  const double dx = double(x2) - double(x1);
  const double dy = double(y2) - double(y1);
  return int(std::nearbyint(std::sqrt(dx * dx + dy * dy)));  // the default rounding: halves to even
}

int PointDistance(const TPoint& a, const TPoint& b) { return Distance(a.X, a.Y, b.X, b.Y); }

bool WithinRange(int x1, int y1, int x2, int y2, int range) {
  return std::abs(int64_t(x1) - x2) < range && std::abs(int64_t(y1) - y2) < range;
}

void Swap(int& a, int& b) { std::swap(a, b); }

bool CountUp(int& counter, int limit) {
  if (counter >= limit) {
    counter = 0;
    return false;
  }
  ++counter;
  return true;
}

}  // namespace qj
