// The play screen's saving and continuing: the saved game, its archive and the score file.
#include <algorithm>

#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/ZipMaster.h"

namespace qj {
namespace {

constexpr int kMaxShadowMargin = 4 * 10 + 5;  // a cut piece's bitmap beyond its box, at most

std::string ArchivePath(const std::string& savPath) { return ChangeFileExt(savPath, ".zip"); }

}  // namespace

// ---- Saving -----------------------------------------------------------------------------------

// Everything in motion lands first, so the saved game holds the pieces where they were going.
bool TBoardPlayInterface::SaveGame(const std::string& savPath) {
  FPieces->FinishAnimations();
  CheckCompletion();
  UpdateRecord();
  for (;;) {
    std::string error;
    if (UpdateScoreFile(ChangeFileExt(savPath, ".hsc"), GameRecord, error) && WriteArchive(savPath, error)) return true;
    LogError("%s", error.c_str());
    const ESaveAnswer answer =
        OnSaveFailed ? OnSaveFailed(Lang(Text::SavingFailed), Lang(Text::GameCouldNotBeSaved) + "\n" + error)
                     : ESaveAnswer::Cancel;
    if (answer != ESaveAnswer::Retry) return false;
  }
}

// The stream is compressed as it is written and archived only when complete; the archive is
// replaced by a new one renamed over it, so a failure leaves the old one as it was.
bool TBoardPlayInterface::WriteArchive(const std::string& savPath, std::string& error) {
  TSavedGame game;
  game.Record = GameRecord;
  FPieces->SaveTo(game);
  FMenu->SaveState(game.Menu);
  game.Menu.ScrollX = FEngine->FScrollX;
  game.Menu.ScrollY = FEngine->FScrollY;
  TZipMaster zip;
  zip.AddCompLevel = std::clamp(Options.CompressionLevel, 0, 9);
  zip.ZipFileName = ArchivePath(savPath);
  const int64_t total = EncodedSize(game, TPieces::OrientationHigh());
  const auto write = [&](const TByteSink& sink) {
    int64_t done = 0;
    Progress(Text::SavingTheGame, 0, total);
    EncodeSavedGame(game, TPieces::OrientationHigh(), [&](const uint8_t* data, size_t size) {
      sink(data, size);
      Progress(Text::SavingTheGame, done += int64_t(size), total);
    });
  };
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

}  // namespace qj
