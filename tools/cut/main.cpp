// quorvane-jigsaw-cut: makes a puzzle file for a picture, counts, cuts and shows its pieces.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "creation/UBitmapBuilder.h"
#include "creation/UCutDigest.h"
#include "tools/cut/CutOptions.h"
#include "tools/cut/CutRun.h"
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

bool CutAndShow(const TCutOptions& a, TPuzzleCutter& cutter) {
  const auto start = std::chrono::steady_clock::now();
  cuttool::Redraw(cutter);
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

int Run(const TCutOptions& a) {
  TPuzzleCutter cutter;
  if (const int status = cuttool::PreparePuzzle(a, cutter)) return status;
  if (a.Cut || a.Digest || !a.Sheet.empty() || !a.Labels.empty()) return CutAndShow(a, cutter) ? 0 : 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--help" || arg == "-h") return std::fputs(kUsage, stdout), 0;
  }
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
