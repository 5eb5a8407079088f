// qj-save-loop: a game that does nothing but save, as fast as it can, so that a test can kill it
// at any moment of a save and then continue the game. Each round drops one piece at a place
// picked by the round's number, so the record's drop count names the save, and saves the way
// leaving the table does: the score file and the archive, then the settings.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "play/UAutosave.h"
#include "play/UBoardPlayInterface.h"
#include "creation/UGameRecord.h"
#include "play/UPieceList.h"
#include "platform/Paths.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/cut/CutRun.h"

namespace qj {
namespace {

const char* const kUsage =
    "usage: qj-save-loop PICTURE --settings FOLDER --saves N [--continue] [--autosave-seconds S]\n"
    "       [cut options]\n"
    "Starts a new game of PICTURE (saved at once as save 0) or continues its saved game, then\n"
    "saves N more times (-1: until killed), one dropped piece apart. The settings file is\n"
    "FOLDER/Jigsaw.stg, the player's own. Prints \"loaded g=G digest=D\" after a continue,\n"
    "\"saving g=G digest=D\" before and \"saved g=G digest=D\" after each save; D sums up the\n"
    "table as the save holds it. With --autosave-seconds the rounds after the first save only\n"
    "drop pieces and the autosave saves: \"saving\" when it takes the table, \"saved\" once it is\n"
    "written; it runs until killed.\n";

struct TLoopOptions {
  autoplay::TAutoPlayOptions Game;
  std::string Settings;
  long Saves = 0;
};

TLoopOptions ParseLoopOptions(int argc, char** argv) {
  TLoopOptions o;
  std::vector<std::string> rest;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--settings" && k + 1 < argc) o.Settings = argv[++k];
    else if (arg == "--saves" && k + 1 < argc) o.Saves = std::strtol(argv[++k], nullptr, 10);
    else rest.push_back(arg);
  }
  if (o.Settings.empty()) throw cuttool::TUsageError{"--settings FOLDER is needed"};
  o.Game = autoplay::ParseAutoPlayOptions(rest);
  return o;
}

// The game reads its data set beside this program and keeps its settings in the player's folder,
// as an installed game does, so the build's own settings file is never touched.
void UsePlayerFolders(const TLoopOptions& o) {
  const std::string program = cuttool::ExecutableFolder();
  const std::string picture = o.Game.Cut.Picture;
  const size_t slash = picture.rfind('/');
  SetInstalledFolders({program, DataSetFolder(program), o.Settings, slash == std::string::npos ? "." : picture.substr(0, slash)});
}

// FNV-1a over what a save keeps of the table: the record's counters and every piece's place.
class TDigest {
 public:
  void Add(int64_t value) {
    for (int b = 0; b < 8; ++b) FHash = (FHash ^ uint64_t((value >> (8 * b)) & 0xFF)) * 0x100000001B3ull;
  }
  uint64_t Value() const { return FHash; }

 private:
  uint64_t FHash = 0xCBF29CE484222325ull;
};

uint64_t TableDigest(TPieces& set) {
  TDigest d;
  for (const int64_t v : {GameRecord.Drops, GameRecord.Joins, GameRecord.InitialPieces, int32_t(set.Count())}) d.Add(v);
  for (int i = 0; i < set.Count(); ++i) {
    const TBPiece& p = set.Piece(i);
    for (const int64_t v : {p.FIndex, p.FPosition.X, p.FPosition.Y, p.FOrientation, int32_t(p.FTray), int32_t(p.FState)})
      d.Add(v);
  }
  return d.Value();
}

// Spread over the table, so that successive rounds put pieces in different places.
TPoint Spot(int round) { return {40 + (round * 97) % 1400, 40 + (round * 61) % 800}; }

// One round of play: a loose piece is carried to the round's spot and dropped there, which counts
// one drop in the record.
bool DropOnePiece(autoplay::TTable& table, int round, const std::function<void()>& frame) {
  TPieces& set = table.Pieces();
  for (int tries = 0; tries < set.Count(); ++tries) {
    TBPiece& p = set.Piece((round + tries) % set.Count());
    set.Board().Mouse = {p.FPosition.X + p.Width() / 2, p.FPosition.Y + p.Height() / 2};
    if (!set.PickUp(p.FIndex)) continue;
    set.StartCarrying(table.Screen().DragDepth());
    const TPoint at = Spot(round);
    set.Board().Mouse = {at.X + p.FGrab.X, at.Y + p.FGrab.Y};
    frame();
    set.DropSelection(set.Board().Mouse.X, set.Board().Mouse.Y, true);
    for (int k = 0; k < 10000 && set.Settling(); ++k) frame();
    return true;
  }
  return false;
}

// Each line goes out at once: the test reads them while this program runs and then kills it.
void Say(const char* what, int round, uint64_t digest) {
  std::printf("%s g=%d digest=%016" PRIx64 "\n", what, round, digest);
  std::fflush(stdout);
}

// As the game leaves the table and then closes: the score file and the archive, then the settings.
bool SaveRound(autoplay::TTable& table, const std::string& picture) {
  const int round = GameRecord.Drops;
  const uint64_t digest = TableDigest(table.Pieces());
  Say("saving", round, digest);
  if (!table.Screen().SaveGame(ChangeFileExt(picture, ".sav"))) return false;
  Options.LastJigsaw = picture;
  if (!SaveSettings()) return std::fprintf(stderr, "cannot write %s\n", SettingsPath("Jigsaw.stg").c_str()), false;
  Say("saved", round, digest);
  return true;
}

// Pieces dropped one after the other while the autosave saves beside them; the frame that starts
// one holds the table it took.
int AutosaveRounds(autoplay::TTable& table, uint32_t intervalMs) {
  table.AutosaveEvery(intervalMs);
  const TAutosave& autosave = *table.Autosave();
  int writing = -1;
  uint64_t digest = 0;
  const auto frame = [&] {
    table.Frame();
    if (writing >= 0 && !autosave.Running()) {
      Say("saved", writing, digest);
      writing = -1;
    }
    if (writing < 0 && autosave.Running()) {
      writing = GameRecord.Drops;
      digest = TableDigest(table.Pieces());
      Say("saving", writing, digest);
    }
  };
  for (;;) {
    if (!DropOnePiece(table, GameRecord.Drops + 1, frame)) return 1;
  }
}

int Run(const TLoopOptions& o) {
  UsePlayerFolders(o);
  autoplay::TTable table;
  LoadSettings(SettingsPath("Jigsaw.stg"), false);
  TPuzzleCutter cutter;
  autoplay::TAutoPlayResult ignored;
  if (const int status = autoplay::StartGame(o.Game, cutter, table, ignored)) return status;
  cutter.Clear();
  UsePlayerFolders(o);  // the cut's preparation pointed them at the build's layout
  const std::string& picture = o.Game.Cut.Picture;
  if (o.Game.Continue) Say("loaded", GameRecord.Drops, TableDigest(table.Pieces()));
  else if (!SaveRound(table, picture)) return 1;
  Options.LastJigsaw = picture;
  if (o.Game.AutosaveMs) return AutosaveRounds(table, o.Game.AutosaveMs);
  for (long n = 0; o.Saves < 0 || n < o.Saves; ++n)
    if (!DropOnePiece(table, GameRecord.Drops + 1, [&] { table.Frame(); }) || !SaveRound(table, picture)) return 1;
  return 0;
}

}  // namespace
}  // namespace qj

int main(int argc, char** argv) {
  try {
    return qj::Run(qj::ParseLoopOptions(argc, argv));
  } catch (const qj::cuttool::TUsageError& e) {
    std::fprintf(stderr, "%s\n%s", e.Message.c_str(), qj::kUsage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
