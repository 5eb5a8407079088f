// The application object: owns the graphics engine and the five screens, runs the frame loop,
// routes input to the one active screen and performs every change of screen.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/UFrameTimer.h"
#include "core/UTextIds.h"

namespace qj {

class IDisplay;
class TGraphicsEngine;
class TInterface;
class TBoardPlayInterface;
class TGameLauncher;
class TProgramKeys;
class TPuzzleMakerInterface;
class TPuzzleSelectorInterface;
class TOptionsInterface;
class TMainInterface;
class TModalWindows;
class TAutosave;

// The main window's side of the engine: what the engine asks of it.
struct TMainWindowHooks {
  std::function<void()> Minimize;       // minimise and process pending messages
  std::function<void()> Close;          // close the main window
  std::function<void()> Terminate;      // end the program (the one fatal case)
  // The system's message box: only for the one fatal case, where the game cannot draw its own.
  std::function<void(const std::string& text, const std::string& title)> MessageBox;
  // Told of every message the game shows in its own window.
  std::function<void(const std::string& text, const std::string& title)> MessageShown;
};

class TGameEngine {
 public:
  TGameEngine(IDisplay& display, TMainWindowHooks hooks);
  ~TGameEngine();
  TGameEngine(const TGameEngine&) = delete;
  TGameEngine& operator=(const TGameEngine&) = delete;

  void Initialize();
  void Shutdown();
  // The window gained or lost the focus; a game left alone for a few seconds is autosaved.
  void FocusChanged(bool active);
  // The loop's turn while the window is away and no frame runs.
  void WhileAway();
  void Resize();

  void MouseDown(int button, int shift, int x, int y);
  void MouseUp(int button, int shift, int x, int y);
  void MouseMove(int shift, int x, int y);
  void KeyDown(uint16_t& key, int& shift);
  void KeyUp(uint16_t& key, int shift);
  void KeyPress(char32_t& key);
  void MouseWheel(int shift, int notches, int x, int y);
  // A picture dropped onto the window joins the library and is shown in the selector.
  void DropFile(const std::string& path);

  void ScreenDone(TInterface* sender);
  // A failure the player should know of: on stderr, and in the game's message window once the
  // frame's screen switch is over.
  void ReportError(const std::string& title, const std::string& text);
  // A picture the player handed the program ("Open with"): the selector opens on it.
  void ShowInSelector(const std::string& picture);
  // Pictures from the command line join the library and the selector opens on the last one; a
  // picture that cannot be taken is named with its cause in the message window.
  void TakePictures(const std::vector<std::string>& pictures);
  // Goes straight from the main menu to the table: the picture's saved game, or a new game of
  // its puzzle, made first with the maker's new-puzzle values when there is none.
  void PlayPicture(const std::string& picture);
  void SwitchScreens();
  // The redraw counter (the timer's tag): at kFullRedraw the next frames are drawn in full, one
  // more full frame follows every kFullRedraw + 1 frames.
  static constexpr int kFullRedraw = 200;
  void ForceRedraw() { FTimer.Tag = kFullRedraw; }
  void TimerTick();
  // Input arrived or the window changed (which shows the whole frame again): the loop's rest ends.
  void Wake(bool windowChanged);
  void SurfacesRestored();
  void ReloadAppearance();
  void StartMusic();
  void RestoreMidiVolumes();
  void LoadThemes();
  void LoadSounds();
  void InstallFonts();
  // The widget images of the current theme; false (and the images in use kept) when it has none.
  bool LoadControlImages();

  std::function<void()> OnClose;

  TGraphicsEngine& Graphics() { return *FGraphics; }
  TFrameTimer& Timer() { return FTimer; }
  TInterface* Active() const { return FActive; }
  TInterface* Finished() const { return FFinished; }
  TMainInterface& MainMenu() { return *FMainMenu; }
  TPuzzleSelectorInterface& Selector() { return *FPuzzleSelector; }
  TPuzzleMakerInterface& Maker() { return *FPuzzleMaker; }
  TOptionsInterface& OptionsScreen() { return *FOptionsScreen; }
  TBoardPlayInterface& BoardPlay() { return *FBoardPlay; }
  TModalWindows& Modal() { return *FModal; }
  TAutosave& Autosave() { return *FAutosave; }
  // Sprites a screen left behind when it was left, found at screen switches since the start.
  int LeakedSprites() const { return FLeakedSprites; }

 private:
  int MapButton(int button) const;
  TInterface* KeyReceiver();
  void ShowWaitingMessage();
  int MapShift(int shift) const;
  void CorrectPlayClock();
  void DrawFrame();
  uint32_t RestFor() const;
  void Present();
  void WaitForWindowedCopy();
  bool SwitchFrom(TInterface* finished, int result);
  bool SwitchFromMainMenu(int result);
  bool SwitchFromSelector(int result);
  bool SwitchFromOptions(int result);
  bool SwitchFromPlay(int result);
  void Activate(TInterface& screen, bool freeSprites, bool freshWorkSurface);
  void ReturnToMainMenu(bool freeSprites);
  void FreeSprites();
  void NewGame(const std::string& picture);
  void ContinueJigsaw(const std::string& picture);
  void OpenMaker(const std::string& picture, TInterface& from);
  void LoadFailed(const std::string& picture, const std::string& error, TInterface& from);
  void ReturnTo(TInterface& from);
  static std::string LoadDetail(const std::string& error);
  void RecoverFromFailedSwitch(const std::string& cause);
  void OutOfMemory();
  std::array<TInterface*, 5> Screens();
  void ShowProgress(ETextId line, int64_t done, int64_t total);

  IDisplay& FDXDraw;
  TMainWindowHooks FHooks;
  std::unique_ptr<TGraphicsEngine> FGraphics;
  std::unique_ptr<TProgramKeys> FKeys;
  std::unique_ptr<TBoardPlayInterface> FBoardPlay;
  std::unique_ptr<TGameLauncher> FLauncher;
  std::unique_ptr<TPuzzleMakerInterface> FPuzzleMaker;
  std::unique_ptr<TPuzzleSelectorInterface> FPuzzleSelector;
  std::unique_ptr<TOptionsInterface> FOptionsScreen;
  std::unique_ptr<TMainInterface> FMainMenu;
  std::unique_ptr<TModalWindows> FModal;
  std::unique_ptr<TAutosave> FAutosave;
  bool FPressInModal = false;  // the mouse button held went down on a modal window
  uint32_t FLastTick = 0;
  TFrameTimer FTimer;
  TInterface* FFinished = nullptr;
  TInterface* FActive = nullptr;
  bool FFirstRestore = true;
  bool FComposed = false;  // the last tick composed and showed a frame
  bool FRested = false;    // the loop rested after the last tick
  bool FClosing = false;  // shutdown has begun
  std::vector<std::string> FFonts;
  int FLeakedSprites = 0;
  int FImagesTheme = -1;  // the theme whose widget images are in use
  std::string FPlayPicture;  // the picture PlayPicture asked for
};

}  // namespace qj
