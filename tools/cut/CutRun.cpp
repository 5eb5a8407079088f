// The command line's road to a cut puzzle: picture, puzzle file or options, count, save.
#include "tools/cut/CutRun.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "platform/Paths.h"

namespace qj::cuttool {
namespace {

void ApplyArgs(const TCutOptions& a, TPuzzleCutter& cutter) {
  cutter.SetCutStyle(a.Style, a.Shape, a.PieceW, a.PieceH, a.DistortX, a.DistortY, a.SpreadX / 10.0, a.SpreadY / 10.0);
  TPuzzlePlayOptions& o = cutter.PuzzleOptions();
  uint8_t* bytes[5] = {&o.AllowLoupe, &o.AllowSmallPicture, &o.AllowRotation, &o.AllowGhost,
                       &o.AllowNeighbourHelp};
  for (int k = 0; k < 5; ++k) *bytes[k] = uint8_t(a.Options[k] - '0');
  o.ShadowSize = a.Shadow;
  o.BevelStrength = a.Bevel;
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  Randomize(a.HasSeed ? a.Seed : uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
  cutter.ScalePicture(1);
}

bool CountAndSave(const TCutOptions& a, TPuzzleCutter& cutter) {
  Redraw(cutter);
  const int shaped = cutter.CountPieces();
  const int straight = cutter.CountStraightPieces();
  const bool sound = IsSoundCut(shaped, straight);
  if (a.Count) std::printf("pieces=%d straight=%d sound=%s\n", shaped, straight, sound ? "yes" : "no");
  if (!a.Save || a.FromPzl) return true;
  if (!sound) {
    std::fprintf(stderr, "the cut is not sound (%d pieces, %d when straight, at least 2 needed); not saved\n",
                 shaped, straight);
    return false;
  }
  Redraw(cutter);
  cutter.CountPieces();
  if (!cutter.SavePuzzleFile(ChangeFileExt(a.Picture, ".pzl"))) {
    std::fprintf(stderr, "%s\n", cutter.LastError().c_str());
    return false;
  }
  return true;
}

}  // namespace

// The shapes lie in the executable's data set; the current folder stays the user's, so the paths
// on the command line keep their meaning.
std::string ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

void Redraw(TPuzzleCutter& cutter) {
  Randomize(cutter.CutParameters().RandomSeed);
  cutter.DrawCutMap();
}

void UseProgramFolder(const TCutOptions& a) {
  SetProgramFolder(a.ProgramFolder.empty() ? DataSetFolder(ExecutableFolder()) : a.ProgramFolder);
}

int PreparePuzzle(const TCutOptions& a, TPuzzleCutter& cutter) {
  UseProgramFolder(a);
  if (!FileExists(a.Picture)) return std::fprintf(stderr, "no such picture: %s\n", a.Picture.c_str()), 1;
  if (!cutter.LoadPicture(a.Picture)) return std::fprintf(stderr, "%s\n", cutter.LastError().c_str()), 1;
  if (a.FromPzl) {
    const std::string pzl = ChangeFileExt(a.Picture, ".pzl");
    if (!FileExists(pzl)) return std::fprintf(stderr, "no puzzle file: %s\n", pzl.c_str()), 1;
    if (!cutter.LoadPuzzleFile(pzl))
      return std::fprintf(stderr, "cannot read the puzzle file: %s\n", cutter.LastError().c_str()), 1;
    cutter.ScalePicture(0);
  } else {
    CheckShapeExists(a);
    CheckAgainstPicture(a, cutter.Picture().Width(), cutter.Picture().Height());
    ApplyArgs(a, cutter);
  }
  return CountAndSave(a, cutter) ? 0 : 3;
}

}  // namespace qj::cuttool
