// The main window's start-up, input forwarding, resize limits and closing.
#include "app/UMain.h"

#include <algorithm>
#include <exception>

#include "core/UMiscelaneous.h"
#include "platform/Display.h"
#include "platform/IniFile.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Viewport.h"

namespace qj {

Tmf::Tmf(IDisplay& display, TPlatformServices services) : FDXDraw(display), FServices(std::move(services)) {}

Tmf::~Tmf() { FormDestroy(); }

void Tmf::FormCreate() {
  FDXDraw.SetCaption("Quorvane Jigsaw");
  PlaceFirstWindow();
  SetDXDraw(&FDXDraw);
  TIniFile settings(SettingsPath("Jigsaw.stg"));
  const int resolution = settings.ReadInteger("Screen", "DisplayResolution", 1);
  const int refresh = settings.ReadInteger("Screen", "DisplayRefresh", 3);
  const bool fullScreen = settings.ReadBool("Screen", "FullScreen", false);
  if (fullScreen) ApplyFullScreenSettings(resolution, refresh);
  FDXDraw.OnInitialize = [this] { DXDrawInitialize(); };
}

// 790 x 570 at the desktop's scale, so that a high-DPI desktop does not show a stamp; centred
// horizontally at the top of the free part of the desktop.
void Tmf::PlaceFirstWindow() {
  const TRect usable = FDXDraw.UsableBounds();
  const TPoint size = InitialClientSize(kWindowWidth, kWindowHeight, FDXDraw.DesktopScale(), usable);
  FDXDraw.SetWindowBounds(MakeRect(usable.Left + (usable.Width() - size.X) / 2, usable.Top, size.X, size.Y));
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
    LogError("%s", e.what());
    if (FServices.MessageBox) FServices.MessageBox(e.what(), "Quorvane Jigsaw");
  } catch (...) {
    LogError("unknown error");
    if (FServices.MessageBox) FServices.MessageBox("Unknown error", "Quorvane Jigsaw");
  }
}

void Tmf::HandleEvent(TInputEvent& event) {
  Guarded([&] { Forward(event); });
  if (FCloseRequested) EngineClosed();
}

bool Tmf::Idle() {
  bool ran = false;
  if (FEngine) Guarded([&] { ran = FEngine->Timer().Idle(FActiveApp); });
  if (FCloseRequested) EngineClosed();
  return ran;
}

void Tmf::Forward(TInputEvent& e) {
  switch (e.Kind) {
    case TInputKind::MouseDown: if (FEngine) FEngine->MouseDown(e.Button, e.Shift, e.X, e.Y); break;
    case TInputKind::MouseUp: if (FEngine) FEngine->MouseUp(e.Button, e.Shift, e.X, e.Y); break;
    case TInputKind::MouseMove: if (FEngine) FEngine->MouseMove(e.Shift, e.X, e.Y); break;
    case TInputKind::KeyDown: if (FEngine) FEngine->KeyDown(e.Key, e.Shift); break;
    case TInputKind::KeyUp: if (FEngine) FEngine->KeyUp(e.Key, e.Shift); break;
    case TInputKind::KeyPress: if (FEngine) FEngine->KeyPress(e.Char); break;
    case TInputKind::Resized: FormResize(); break;
    case TInputKind::CloseQuery: Close(); break;
    case TInputKind::Activated: case TInputKind::Restored: FActiveApp = true; break;
    case TInputKind::Deactivated: case TInputKind::Minimized: FActiveApp = false; break;
    case TInputKind::MusicEnded: if (FEngine) FEngine->RestoreMidiVolumes(); break;
    case TInputKind::MouseWheel: if (FEngine) FEngine->MouseWheel(e.Shift, e.Wheel, e.X, e.Y); break;
    case TInputKind::DropFile: if (FEngine) FEngine->DropFile(e.Path); break;
  }
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
