// quorvane-jigsaw-cut: makes a puzzle file for a picture, counts, cuts and shows its pieces.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "creation/UBitmapBuilder.h"
#include "creation/UCutDigest.h"
#include "creation/URandom.h"
#include "platform/Paths.h"
#include "tools/cut/CutOptions.h"
#include "tools/cut/CutSheets.h"

namespace {

using namespace qj;
using cuttool::TCutOptions;
using cuttool::TUsageError;

const char* const kUsage =
    "usage: quorvane-jigsaw-cut PICTURE [--style N] [--shape N] [--piece-size W H]\n"
    "         [--distort DX DY] [--spread SX SY] [--shadow N] [--bevel N] [--options LSRGN]\n"
    "         [--seed N] [--from-pzl] [--count] [--cut] [--digest] [--sheet FILE]\n"
    "         [--labels FILE] [--no-save] [--program-folder DIR]\n"
    "Writes PICTURE's puzzle file (.pzl) unless --no-save or --from-pzl; an unsound cut is\n"
    "not saved. The values are the puzzle maker's: style 0-8; shape N with Shapes/shapeN.txt;\n"
    "piece size 1 to half the picture less one; displacement 0 to a tenth of the piece size;\n"
    "spread 1.0-2.0 in tenths; shadow 0-10; bevel 0-5; seed 0-4294967295.\n"
    "--options: five 0/1 digits (loupe, small picture, rotation, ghost, neighbour help).\n";

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

// Draws the cut again from the stored seed, as every count and cut starts from it.
void Redraw(TPuzzleCutter& cutter) {
  Randomize(cutter.CutParameters().RandomSeed);
  cutter.DrawCutMap();
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

bool CutAndShow(const TCutOptions& a, TPuzzleCutter& cutter) {
  const auto start = std::chrono::steady_clock::now();
  Redraw(cutter);
  cutter.CutPieces();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (a.Cut) std::printf("cut=%zu pieces ms=%.1f\n", cutter.Pieces().size(), ms);
  if (a.Digest) std::printf("digest=%s\n", DigestHex(CutDigest(cutter)).c_str());
  std::string error;
  if (!a.Sheet.empty() && !cuttool::SavePicture(cuttool::ContactSheet(cutter.Pieces()), a.Sheet, error))
    return std::fprintf(stderr, "%s\n", error.c_str()), false;
  if (!a.Labels.empty() && !cuttool::SavePicture(cuttool::LabelPicture(cutter.LabelMap()), a.Labels, error))
    return std::fprintf(stderr, "%s\n", error.c_str()), false;
  return true;
}

// The shapes lie in the executable's data set; the current folder stays the user's, so the paths
// on the command line keep their meaning.
std::string ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

int Run(const TCutOptions& a) {
  SetProgramFolder(a.ProgramFolder.empty() ? DataSetFolder(ExecutableFolder()) : a.ProgramFolder);
  TPuzzleCutter cutter;
  if (!FileExists(a.Picture)) return std::fprintf(stderr, "no such picture: %s\n", a.Picture.c_str()), 1;
  if (!cutter.LoadPicture(a.Picture)) return std::fprintf(stderr, "%s\n", cutter.LastError().c_str()), 1;
  if (a.FromPzl) {
    const std::string pzl = ChangeFileExt(a.Picture, ".pzl");
    if (!FileExists(pzl)) return std::fprintf(stderr, "no puzzle file: %s\n", pzl.c_str()), 1;
    if (!cutter.LoadPuzzleFile(pzl))
      return std::fprintf(stderr, "cannot read the puzzle file: %s\n", cutter.LastError().c_str()), 1;
    cutter.ScalePicture(0);
  } else {
    cuttool::CheckShapeExists(a);
    cuttool::CheckAgainstPicture(a, cutter.Picture().Width(), cutter.Picture().Height());
    ApplyArgs(a, cutter);
  }
  if (!CountAndSave(a, cutter)) return 3;
  if (a.Cut || a.Digest || !a.Sheet.empty() || !a.Labels.empty()) return CutAndShow(a, cutter) ? 0 : 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const TCutOptions args = cuttool::ParseCutOptions(std::vector<std::string>(argv + 1, argv + argc));
    return Run(args);
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "%s\n%s", e.Message.c_str(), kUsage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
