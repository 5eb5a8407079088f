// The play screen's saving and continuing: the saved game, its archive and the score file.
#include <algorithm>

#include "controls/UHints.h"
#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/ZipMaster.h"
#include "play/USavedGameFile.h"

namespace qj {
namespace {

constexpr int kMaxShadowMargin = 4 * 10 + 5;  // a cut piece's bitmap beyond its box, at most

std::string ArchivePath(const std::string& savPath) { return ChangeFileExt(savPath, ".zip"); }

}  // namespace

// ---- Saving -----------------------------------------------------------------------------------

// Everything in motion lands first, so the saved game holds the pieces where they were going. A
// running autosave ends before: the two would write the same files.
bool TBoardPlayInterface::SaveGame(const std::string& savPath) {
  if (OnBeforeSave) OnBeforeSave();
  FPieces->FinishAnimations();
  CheckCompletion();
  TSaveJob job;
  TakeSnapshot(savPath, job);
  const auto progress = [this](int64_t done, int64_t total) { Progress(Text::SavingTheGame, done, total); };
  for (;;) {
    std::string error;
    if (WriteSaveJob(job, progress, error)) return true;
    LogError("%s", error.c_str());
    const ESaveAnswer answer =
        OnSaveFailed ? OnSaveFailed(Lang(Text::SavingFailed), Lang(Text::GameCouldNotBeSaved) + "\n" + error)
                     : ESaveAnswer::Cancel;
    if (answer != ESaveAnswer::Retry) return false;
  }
}

// Fields and shared bitmaps only: the pixels stay where they are, so this is quick at any size.
void TBoardPlayInterface::TakeSnapshot(const std::string& savPath, TSaveJob& job) {
  UpdateRecord();
  TSavedGame& game = job.Game;
  game.Record = GameRecord;
  FPieces->SaveTo(game);
  FMenu->SaveState(game.Menu);
  game.Menu.ScrollX = FEngine->FScrollX;
  game.Menu.ScrollY = FEngine->FScrollY;
  job.SavPath = savPath;
  job.OrientationHigh = TPieces::OrientationHigh();
  job.CompressionLevel = Options.CompressionLevel;
}

// The note stands over the middle of the menu bar for a moment, one at a time.
void TBoardPlayInterface::ShowNote(const std::string& caption) {
  if (!FUndoNote) FUndoNote = &AddOwnedControl<TDXHint>();
  FUndoNote->HideHint();
  FUndoNote->SetCaption(caption);
  FUndoNote->FHintRect = MakeRect(FEngine->FWidth / 2, FEngine->FHeight - BarClearance(), 1, 1);
  FUndoNote->PlaceBeside(false);
  (void)FUndoNote->ShowHint();
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
  if (error.empty()) return false;
  LogError("%s: %s", savPath.c_str(), error.c_str());
  const std::string archive = ArchivePath(savPath);
  const std::string text = FileExists(archive) ? Lang(Text::SavedGameIsDamaged)
                                               : FillIn(Text::GameCannotBeContinued, QuotedName(ChangeFileExt(savPath, ""))) +
                                                     "\n" + Lang(Text::SavedGameMissing);
  if (OnError) OnError(Lang(Text::LoadingFailed), text + "\n" + archive);
  return false;
}

bool TBoardPlayInterface::RestoreGame(TPuzzleCutter& cutter, const std::string& savPath, std::string& error) {
  TSavedGame game;
  Progress(Text::LoadingPleaseWait, 0, 2);
  if (!ReadSavedGame(cutter, savPath, game, error)) return false;
  Progress(Text::LoadingPleaseWait, 1, 2);
  FPieces->LoadFrom(game);
  GameRecord = game.Record;
  StartClock(GameRecord.Elapsed);
  ShowPicture(cutter);
  FMenu->LoadState(game.Menu);
  ApplyMenuState(game.Menu);
  FSavPath = savPath;
  FCompleted = GameRecord.Finished != 0;
  FGameSetUp = true;
  Progress(Text::LoadingPleaseWait, 2, 2);
  return true;
}

// A missing archive or member is no error (there is just nothing to continue): `error` stays
// empty. A damaged one is, and nothing of it reaches the table.
bool TBoardPlayInterface::ReadSavedGame(TPuzzleCutter& cutter, const std::string& savPath, TSavedGame& game,
                                        std::string& error) {
  TZipMaster zip;
  zip.ZipFileName = ArchivePath(savPath);
  if (!FileExists(zip.ZipFileName)) return false;
  // Counted before the stream is inflated, so that the count's scratch maps are gone by then.
  const TMyDib& picture = cutter.CutPicture().Empty() ? cutter.ScaledPicture() : cutter.CutPicture();
  const TCutShape cut{cutter.CountCutPieces(), picture.Width(), picture.Height(), PieceMargin()};
  TSavedGameLimits limits;
  limits.OrientationHigh = TPieces::OrientationHigh();
  limits.MaxPieces = cut.Pieces;
  limits.MaxBitmapSide = std::max(picture.Width(), picture.Height()) + kMaxShadowMargin;
  TMemoryStream* stream = zip.ExtractMemberToStream(ExtractFileName(savPath));
  if (!stream) {
    error = zip.LastError();
    return false;
  }
  return DecodeSavedGameOnce(stream->Data, limits, game, error) &&
         MatchesCut(game, cut, limits.OrientationHigh, error);
}

}  // namespace qj
