// The main window's start-up, input forwarding, resize limits and closing.
#include "app/UMain.h"

#include <algorithm>
#include <exception>

#include "core/UMiscelaneous.h"
#include "platform/Display.h"
#include "platform/IniFile.h"
#include "platform/Clock.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Viewport.h"

namespace qj {

Tmf::Tmf(IDisplay& display, TPlatformServices services) : FDXDraw(display), FServices(std::move(services)) {}

Tmf::~Tmf() { FormDestroy(); }

void Tmf::FormCreate() {
  FDXDraw.SetCaption("Quorvane Jigsaw");
  SetDXDraw(&FDXDraw);
  const std::string file = SettingsPath("Jigsaw.stg");
  LoadWindowPlacement(file);
  PlaceWindow();
  TIniFile settings(file);
  const int resolution = StoredResolution(settings);
  const int refresh = settings.ReadInteger("Screen", "DisplayRefresh", 3);
  const bool fullScreen = settings.ReadBool("Screen", "FullScreen", false);
  if (fullScreen) ApplyFullScreenSettings(resolution, refresh);
  FDXDraw.OnInitialize = [this] { DXDrawInitialize(); };
}

// As the last run left the window, inside the display it opens on (first moved there, so that
// the display is the one it was on, when that is still there); the first start takes the largest
// size the game uses that fits the free part of the desktop.
void Tmf::PlaceWindow() {
  const TRect stored = MakeRect(Options.WindowLeft, Options.WindowTop, Options.WindowWidth, Options.WindowHeight);
  FFrame = FDXDraw.FrameExtents();
  FFirstStart = stored.IsEmpty();
  if (FFirstStart) {
    FPlaced = FirstClientRect(FDXDraw.UsableBounds(), FFrame);
  } else {
    FDXDraw.SetWindowBounds(MakeRect(stored.Left, stored.Top, kWindowWidth, kWindowHeight));
    FPlaced = FitClientRect(stored, FDXDraw.UsableBounds(), FFrame);
  }
  FDXDraw.SetWindowBounds(FPlaced);
  if (Options.WindowMaximized) FDXDraw.Maximize();
}

TRect Tmf::ClientRect() const {
  const TRect w = FDXDraw.WindowBounds();
  const TFrameExtents f = FDXDraw.FrameExtents();
  return {w.Left + f.Left, w.Top + f.Top, w.Right - f.Right, w.Bottom - f.Bottom};
}

// A window manager tells the frame only once the window is shown, and may have put the frame
// where the client area was asked for: the window is placed again with it, as PlaceWindow meant
// it the first time, and later (a new frame) kept where it is, inside the desktop.
void Tmf::FitToFrame() {
  const TFrameExtents frame = FDXDraw.FrameExtents();
  if (frame == FFrame || FDXDraw.Maximized()) return;
  FFrame = frame;
  const TRect client = ClientRect(), usable = FDXDraw.UsableBounds();
  const TRect meant = FPlaced.IsEmpty() ? client : FPlaced;
  const TRect fitted = FFirstStart && !FPlaced.IsEmpty() ? FirstClientRect(usable, frame) : FitClientRect(meant, usable, frame);
  FPlaced = {};
  if (fitted != client) FDXDraw.SetWindowBounds(fitted);
}

// The window's place goes into the settings as it changes: a maximised window keeps the place it
// had before; full screen and a minimised window say nothing about it.
void Tmf::WindowPlaced() {
  if (FDXDraw.FullScreenOption() || !FDXDraw.CanDraw()) return;
  FitToFrame();
  Options.WindowMaximized = FDXDraw.Maximized();
  if (!Options.WindowMaximized) {
    const TRect client = ClientRect();
    Options.WindowLeft = client.Left;
    Options.WindowTop = client.Top;
    Options.WindowWidth = client.Width();
    Options.WindowHeight = client.Height();
  }
  FPlacementUnsaved = true;
  FPlacedTick = GetTickCount();
}

// Written once the window has rested, so that a drag does not write the file at every step and a
// program that is killed still opens where it was.
void Tmf::SavePlacementWhenRested() {
  if (!FPlacementUnsaved || GetTickCount() - FPlacedTick < kPlacementSaveMs) return;
  FPlacementUnsaved = false;
  if (!SaveWindowPlacement()) LogError("cannot write the window's place into %s", SettingsPath("Jigsaw.stg").c_str());
}

// The first window's placement is kept for the way back from full screen.
void Tmf::ApplyFullScreenSettings(int resolution, int refresh) {
  BuildRefreshRates(resolution);
  const TDisplayMode mode = FullScreenMode(resolution, refresh);
  FDXDraw.SaveWindowPlacement();
  FDXDraw.SetBorderless(true);
  FDXDraw.SetWindowBounds(MakeRect(0, 0, mode.Width, mode.Height));
  FDXDraw.SetFullScreenOption(true);
  FDXDraw.SetFullScreenMode(mode);
}

void Tmf::DXDrawInitialize() {
  if (Tag != 0) return;
  TMainWindowHooks hooks;
  hooks.Minimize = [this] {
    FDXDraw.Minimize();
    if (FServices.ProcessMessages) FServices.ProcessMessages();
  };
  hooks.Close = [this] { Close(); };
  hooks.Terminate = [this] { Terminate(); };
  hooks.MessageBox = FServices.MessageBox;
  hooks.MessageShown = FServices.MessageShown;
  FEngine = std::make_unique<TGameEngine>(FDXDraw, hooks);
  FEngine->OnClose = [this] { FCloseRequested = true; };
  Tag = 1;
  // No upper limit: beyond the play table's size the picture is scaled up.
  FDXDraw.SetSizeLimits(kWindowWidth, kWindowHeight, 0, 0);
  FEngine->Initialize();
}

// The application object's rule: a fault in one event or frame is reported, and the game goes on.
template <class F>
void Tmf::Guarded(F&& action) {
  try {
    action();
  } catch (const std::exception& e) {
    Report(e.what());
  } catch (...) {
    Report("Unknown error");
  }
}

// In the game's own message window once the engine runs; before, only the system can say it.
void Tmf::Report(const std::string& what) {
  if (FEngine) {
    FEngine->ReportError(Lang(Text::SomethingWentWrong), what);
    return;
  }
  LogError("%s", what.c_str());
  if (FServices.MessageBox) FServices.MessageBox(what, "Quorvane Jigsaw");
}

void Tmf::HandleEvent(TInputEvent& event) {
  if (FEngine) FEngine->Wake(ChangesWindow(event.Kind));
  Guarded([&] { Forward(event); });
  if (FCloseRequested) EngineClosed();
}

bool Tmf::Idle() {
  bool ran = false;
  if (FEngine) Guarded([&] { ran = FEngine->Timer().Idle(FActiveApp); });
  if (FEngine && !FActiveApp) Guarded([&] { FEngine->WhileAway(); });
  if (FEngine) SavePlacementWhenRested();
  if (FCloseRequested) EngineClosed();
  return ran;
}

// The window's size, place, state or focus changed: what was shown may be gone.
bool Tmf::ChangesWindow(TInputKind kind) {
  switch (kind) {
    case TInputKind::Resized: case TInputKind::Moved: case TInputKind::Maximized: case TInputKind::Activated:
    case TInputKind::Restored: case TInputKind::Deactivated: case TInputKind::Minimized:
      return true;
    default:
      return false;
  }
}

void Tmf::Forward(TInputEvent& e) {
  switch (e.Kind) {
    case TInputKind::MouseDown: if (FEngine) FEngine->MouseDown(e.Button, e.Shift, e.X, e.Y); break;
    case TInputKind::MouseUp: if (FEngine) FEngine->MouseUp(e.Button, e.Shift, e.X, e.Y); break;
    case TInputKind::MouseMove: if (FEngine) FEngine->MouseMove(e.Shift, e.X, e.Y); break;
    case TInputKind::KeyDown: if (FEngine) FEngine->KeyDown(e.Key, e.Shift); break;
    case TInputKind::KeyUp: if (FEngine) FEngine->KeyUp(e.Key, e.Shift); break;
    case TInputKind::KeyPress: if (FEngine) FEngine->KeyPress(e.Char); break;
    case TInputKind::Resized: FormResize(); WindowPlaced(); break;
    case TInputKind::Moved: case TInputKind::Maximized: WindowPlaced(); break;
    case TInputKind::CloseQuery: Close(); break;
    case TInputKind::Activated: case TInputKind::Restored: FActiveApp = true; WindowPlaced(); Focus(true, e.Kind); break;
    case TInputKind::Deactivated: case TInputKind::Minimized: FActiveApp = false; Focus(false, e.Kind); break;
    case TInputKind::MusicEnded: if (FEngine) FEngine->RestoreMidiVolumes(); break;
    case TInputKind::MouseWheel: if (FEngine) FEngine->MouseWheel(e.Shift, e.Wheel, e.X, e.Y); break;
    case TInputKind::DropFile: if (FEngine) FEngine->DropFile(e.Path); break;
  }
}

// The focus itself, not the window's state: a window restored from the task bar has not
// necessarily got it back.
void Tmf::Focus(bool active, TInputKind kind) {
  if (FEngine && (kind == TInputKind::Activated || kind == TInputKind::Deactivated)) FEngine->FocusChanged(active);
}

void Tmf::FormCanResize(int& width, int& height) const {
  if (Tag != 1) return;
  width = std::max(width, kWindowWidth);
  height = std::max(height, kWindowHeight);
}

void Tmf::FormResize() {
  if (FEngine) FEngine->Resize();
}

void Tmf::Close() {
  if (FCloseRequested || FTerminated) return;
  FormCloseQuery();
  FCloseRequested = true;
}

void Tmf::FormCloseQuery() {
  if (FEngine) FEngine->Shutdown();
}

// Runs outside every engine call: the engine is never freed from inside one of its own methods.
void Tmf::EngineClosed() {
  FCloseRequested = false;
  FEngine.reset();
  FTerminated = true;
}

void Tmf::Terminate() { FCloseRequested = true; }

void Tmf::FormDestroy() {
  FEngine.reset();
  SetDXDraw(nullptr);
}

}  // namespace qj
