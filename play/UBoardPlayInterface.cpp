// The play screen. Sections: screen life; new game; per frame; saving; continuing.
#include "play/UBoardPlayInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "controls/UTrayWindow.h"
#include "core/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UPieceList.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/ZipMaster.h"

namespace qj {
namespace {

constexpr double kTrayBandBelowTop = 10000;  // trays and their pieces end this far below the top
constexpr double kDragBelowTop = 10099;
constexpr double kTableAboveBottom = 200;
constexpr int kMaxShadowMargin = 4 * 10 + 5;  // a cut piece's bitmap beyond its box, at most

std::string ArchivePath(const std::string& savPath) { return ChangeFileExt(savPath, ".zip"); }

}  // namespace

// ---- Screen life ------------------------------------------------------------------------------

TBoardPlayInterface::TBoardPlayInterface(TGraphicsEngine* engine)
    : TInterface(engine), FPieces(std::make_unique<TPieces>(*engine, *this)) {
  FPieces->OnFused = [this] { AfterFusion(); };
}

TBoardPlayInterface::~TBoardPlayInterface() = default;

// Escape goes back to the main menu; F2 pauses the game for the options screen.
void TBoardPlayInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone) return;
  if (key == VK_ESCAPE) Finish(PlayResult::ToMainMenu);
  if (key == VK_F2) {
    FResult = PlayResult::Options;
    Suspend();
  }
}

void TBoardPlayInterface::SetDepthRange(double low, double high) {
  TInterface::SetDepthRange(low, high);
  FPieces->SetDepthBands(FContentTop - kTrayBandBelowTop, low + kTableAboveBottom);
  FDragDepth = FContentTop - kDragBelowTop;
}

void TBoardPlayInterface::Enter() {
  TInterface::Enter();
  FPieces->Clear();
  FEngine->FScrollX = FEngine->FScrollY = 0;
  FPieces->CreateTrays(NextOverlayDepth());
  FMenuState = TSavedMenu{};
  FGameSetUp = FAbandon = FCompleted = FPaused = false;
  FSavPath.clear();
}

// Leaving saves the game, or deletes it when the player abandoned it. Only a game that was set
// up is saved: a failed continue must not write an empty game over the archive.
void TBoardPlayInterface::Leave() {
  if (FGameSetUp) {
    if (FAbandon) std::remove(ResolvePath(ArchivePath(FSavPath)).c_str());
    else (void)SaveGame(FSavPath);
  }
  FGameSetUp = false;
  FPieces->Clear();
  TInterface::Leave();
}

void TBoardPlayInterface::Suspend() {
  FElapsedWhenPaused = ElapsedDays();
  FPaused = true;
  for (int i = 0; i < FPieces->Count(); ++i) FPieces->Piece(i).SetVisible(false);
  TInterface::Suspend();
}

void TBoardPlayInterface::Resume() {
  for (int i = 0; i < FPieces->Count(); ++i) {
    TBPiece& p = FPieces->Piece(i);
    const TDXTrayWindow* tray = FPieces->Tray(int(p.FTray));
    p.SetVisible(!tray || tray->WindowShown());
  }
  if (FPaused) StartClock(FElapsedWhenPaused);
  FPaused = false;
  TInterface::Resume();
}

void TBoardPlayInterface::Restore() {
  for (int i = 0; i < FPieces->Count(); ++i) FPieces->Piece(i).ReloadImage();
  RestoreControls();
}

int TBoardPlayInterface::PieceCount() const { return FPieces->Count(); }

// ---- New game ---------------------------------------------------------------------------------

void TBoardPlayInterface::NewGame(TPuzzleCutter& cutter, int width, int height) {
  PlayOptions = cutter.PuzzleOptions();
  FPieces->TakeCutPieces(cutter);
  FPieces->ScatterNew(std::max(1, width), std::max(1, height));
  GameRecord = TGameRecord{};
  GameRecord.InitialPieces = FPieces->Count();
  StartClock(0);
  FSavPath = ChangeFileExt(cutter.FileName(), ".sav");
  FGameSetUp = true;
}

// ---- Per frame --------------------------------------------------------------------------------

void TBoardPlayInterface::Update() {
  if (FGameSetUp && !FPaused) {
    FPieces->FuseDueGroups();
    CheckCompletion();
    FPieces->StepEvents();
  }
  TInterface::Update();
  FPieces->Update();
}

// After each fusion: the score, and the progress announced in steps of ScoreUpdate percent. The
// progress counts joins out of those a game needs, so the last one makes 100 percent.
void TBoardPlayInterface::AfterFusion() {
  UpdateRecord();
  if (GameRecord.Finished || GameRecord.InitialPieces <= 1) return;
  const int pieces = FPieces->Count();
  const int step = std::clamp(Options.ScoreUpdate, 1, 100);
  const int p = int(std::lround((GameRecord.InitialPieces - pieces) * 100.0 / (GameRecord.InitialPieces - 1)));
  if (p - step >= (GameRecord.Percent / step) * step || pieces <= 1) GameRecord.Percent = p;
}

// The last fusion finishes the game; its score is kept at once, whatever the player does next.
void TBoardPlayInterface::CheckCompletion() {
  if (!FGameSetUp || FCompleted || FPieces->Count() > 1 || FPieces->Settling()) return;
  UpdateRecord();
  GameRecord.Finished = 1;
  FCompleted = true;
  PlaySound(FinishSound.get());
  std::string error;
  if (!UpdateScoreFile(ChangeFileExt(FSavPath, ".hsc"), GameRecord, error))
    std::fprintf(stderr, "quorvane-jigsaw: %s\n", error.c_str());
}

void TBoardPlayInterface::StartClock(double elapsedDays) { GameStartTime = PlayClockDays() - elapsedDays; }

// Playing time stands still while the game is paused and once it is finished.
double TBoardPlayInterface::ElapsedDays() const {
  if (GameRecord.Finished) return GameRecord.Elapsed;
  if (FPaused) return FElapsedWhenPaused;
  return WholeMilliseconds(std::max(0.0, PlayClockDays() - GameStartTime));
}

void TBoardPlayInterface::UpdateRecord() { ComputeScore(GameRecord, FPieces->Count(), ElapsedDays()); }

// ---- Saving -----------------------------------------------------------------------------------

// Everything in motion lands first, so the saved game holds the pieces where they were going.
bool TBoardPlayInterface::SaveGame(const std::string& savPath) {
  FPieces->FinishAnimations();
  CheckCompletion();
  UpdateRecord();
  for (;;) {
    std::string error;
    if (UpdateScoreFile(ChangeFileExt(savPath, ".hsc"), GameRecord, error) && WriteArchive(savPath, error)) return true;
    std::fprintf(stderr, "quorvane-jigsaw: %s\n", error.c_str());
    const ESaveAnswer answer = OnSaveFailed ? OnSaveFailed(Lang(168), Lang(169) + "\n" + error) : ESaveAnswer::Cancel;
    if (answer != ESaveAnswer::Retry) return false;
  }
}

// The stream is compressed as it is written and archived only when complete; the archive is
// replaced by a new one renamed over it, so a failure leaves the old one as it was.
bool TBoardPlayInterface::WriteArchive(const std::string& savPath, std::string& error) {
  TSavedGame game;
  game.Record = GameRecord;
  FPieces->SaveTo(game);
  game.Menu = FMenuState;
  game.Menu.ScrollX = FEngine->FScrollX;
  game.Menu.ScrollY = FEngine->FScrollY;
  TZipMaster zip;
  zip.AddCompLevel = std::clamp(Options.CompressionLevel, 0, 9);
  zip.ZipFileName = ArchivePath(savPath);
  const auto write = [&game](const TByteSink& sink) { EncodeSavedGame(game, TPieces::OrientationHigh(), sink); };
  if (zip.AddMemberFromWriter(ExtractFileName(savPath), write)) return true;
  error = zip.LastError();
  return false;
}

// ---- Continuing -------------------------------------------------------------------------------

// Nothing escapes: a saved game that cannot be read, or pieces that cannot be made of it,
// leave the table empty and the archive as it was.
bool TBoardPlayInterface::LoadGame(TPuzzleCutter& cutter, const std::string& savPath) {
  PlayOptions = cutter.PuzzleOptions();
  std::string error;
  try {
    if (RestoreGame(cutter, savPath, error)) return true;
  } catch (const std::exception& e) {
    error = e.what();
  }
  FPieces->RemovePieces();
  if (!error.empty() && OnError) OnError(Lang(170), Lang(171) + "\n" + savPath + ": " + error);
  return false;
}

bool TBoardPlayInterface::RestoreGame(TPuzzleCutter& cutter, const std::string& savPath, std::string& error) {
  TSavedGame game;
  if (!ReadSavedGame(cutter, savPath, game, error)) return false;
  FPieces->LoadFrom(game);
  GameRecord = game.Record;
  StartClock(GameRecord.Elapsed);
  FMenuState = game.Menu;
  ApplyMenuState();
  FSavPath = savPath;
  FCompleted = GameRecord.Finished != 0;
  FGameSetUp = true;
  return true;
}

// A missing archive or member is no error (there is just nothing to continue): `error` stays
// empty. A damaged one is, and nothing of it reaches the table.
bool TBoardPlayInterface::ReadSavedGame(TPuzzleCutter& cutter, const std::string& savPath, TSavedGame& game,
                                        std::string& error) {
  TZipMaster zip;
  zip.ZipFileName = ArchivePath(savPath);
  if (!FileExists(zip.ZipFileName)) return false;
  const TMemoryStream* stream = zip.ExtractMemberToStream(ExtractFileName(savPath));
  if (!stream) {
    error = zip.LastError();
    return false;
  }
  const TMyDib& picture = cutter.CutPicture().Empty() ? cutter.ScaledPicture() : cutter.CutPicture();
  const TCutShape cut{cutter.CountCutPieces(), picture.Width(), picture.Height(), PieceMargin()};
  TSavedGameLimits limits;
  limits.OrientationHigh = TPieces::OrientationHigh();
  limits.MaxPieces = cut.Pieces;
  limits.MaxBitmapSide = std::max(picture.Width(), picture.Height()) + kMaxShadowMargin;
  return DecodeSavedGame(stream->Data.data(), stream->Data.size(), limits, game, error) &&
         MatchesCut(game, cut, limits.OrientationHigh, error);
}

void TBoardPlayInterface::ApplyMenuState() {
  FEngine->FScrollX = std::clamp(FMenuState.ScrollX, 0, std::max(0, kTableWidth - FEngine->FWidth));
  FEngine->FScrollY = std::clamp(FMenuState.ScrollY, 0, std::max(0, kTableHeight - FEngine->FHeight));
}

}  // namespace qj
