// quorvane-jigsaw-cut: makes a puzzle file for a picture, counts, cuts and shows its pieces.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "creation/UBitmapBuilder.h"
#include "creation/UCutDigest.h"
#include "creation/URandom.h"
#include "platform/Paths.h"
#include "tools/cut/CutSheets.h"

namespace {

using namespace qj;

const char* const kUsage =
    "usage: quorvane-jigsaw-cut PICTURE [--style N] [--shape N] [--piece-size W H]\n"
    "         [--distort DX DY] [--spread SX SY] [--shadow N] [--bevel N] [--options LSRGN]\n"
    "         [--seed N] [--from-pzl] [--count] [--cut] [--digest] [--sheet FILE]\n"
    "         [--labels FILE] [--no-save] [--program-folder DIR]\n"
    "Writes PICTURE's puzzle file (.pzl) unless --no-save or --from-pzl; an unsound cut is\n"
    "not saved. --options: five 0/1 digits (loupe, small picture, rotation, ghost, neighbour help).\n";

struct TArgs {
  std::string Picture, Sheet, Labels, ProgramFolder;
  int Style = 0, Shape = 1, Shadow = 7, Bevel = 2;
  double PieceW = 20, PieceH = 20, DistortX = 0, DistortY = 0, SpreadX = 1, SpreadY = 1;
  std::string Options = "11111";
  bool HasSeed = false, FromPzl = false, Count = false, Cut = false, Digest = false, Save = true;
  uint32_t Seed = 0;
};

struct TUsageError {
  std::string Message;
};

double Number(const std::vector<std::string>& a, size_t& k) {
  if (k + 1 >= a.size()) throw TUsageError{"a value is missing at the end of the command line"};
  const std::string& text = a[++k];
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != 0 || v != v) throw TUsageError{"not a number: " + text};
  return v;
}

int Integer(const std::vector<std::string>& a, size_t& k) {
  const double v = Number(a, k);
  if (v != double(int64_t(v)) || v < -2147483648.0 || v > 4294967295.0)
    throw TUsageError{"not an integer: " + a[k]};
  return int(int64_t(v));
}

bool ParseOption(const std::vector<std::string>& a, size_t& k, TArgs& r) {
  const std::string o = a[k];
  const bool pair = o == "--piece-size" || o == "--distort" || o == "--spread";
  if (pair && k + 2 >= a.size()) throw TUsageError{o + " needs two values"};
  if (o == "--style") r.Style = Integer(a, k);
  else if (o == "--shape") r.Shape = Integer(a, k);
  else if (o == "--piece-size") r.PieceW = Number(a, k), r.PieceH = Number(a, k);
  else if (o == "--distort") r.DistortX = Number(a, k), r.DistortY = Number(a, k);
  else if (o == "--spread") r.SpreadX = Number(a, k), r.SpreadY = Number(a, k);
  else if (o == "--shadow") r.Shadow = Integer(a, k);
  else if (o == "--bevel") r.Bevel = Integer(a, k);
  else if (o == "--seed") r.Seed = uint32_t(int64_t(Number(a, k))), r.HasSeed = true;
  else if (o == "--options" && k + 1 < a.size()) r.Options = a[++k];
  else if (o == "--sheet" && k + 1 < a.size()) r.Sheet = a[++k];
  else if (o == "--labels" && k + 1 < a.size()) r.Labels = a[++k];
  else if (o == "--program-folder" && k + 1 < a.size()) r.ProgramFolder = a[++k];
  else if (o == "--from-pzl") r.FromPzl = true;
  else if (o == "--count") r.Count = true;
  else if (o == "--cut") r.Cut = true;
  else if (o == "--digest") r.Digest = true;
  else if (o == "--no-save") r.Save = false;
  else return false;
  return true;
}

TArgs ParseArgs(const std::vector<std::string>& a) {
  TArgs r;
  for (size_t k = 0; k < a.size(); ++k) {
    if (a[k].rfind("--", 0) != 0) {
      if (!r.Picture.empty()) throw TUsageError{"more than one picture: " + a[k]};
      r.Picture = a[k];
    } else if (!ParseOption(a, k, r)) {
      throw TUsageError{"unknown option or missing value: " + a[k]};
    }
  }
  if (r.Picture.empty()) throw TUsageError{"no picture given"};
  if (r.Options.size() != 5 || r.Options.find_first_not_of("01") != std::string::npos)
    throw TUsageError{"--options takes five 0/1 digits"};
  return r;
}

void ApplyArgs(const TArgs& a, TPuzzleCutter& cutter) {
  cutter.SetCutStyle(a.Style, a.Shape, a.PieceW, a.PieceH, a.DistortX, a.DistortY, a.SpreadX, a.SpreadY);
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

bool CountAndSave(const TArgs& a, TPuzzleCutter& cutter) {
  Redraw(cutter);
  const int shaped = cutter.CountPieces();
  const int straight = cutter.CountStraightPieces();
  const bool sound = shaped == straight;
  if (a.Count) std::printf("pieces=%d straight=%d sound=%s\n", shaped, straight, sound ? "yes" : "no");
  if (!a.Save || a.FromPzl) return true;
  if (!sound) {
    std::fprintf(stderr, "the cut is not sound (%d pieces, %d when straight); not saved\n", shaped, straight);
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

bool CutAndShow(const TArgs& a, TPuzzleCutter& cutter) {
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

// The shapes lie beside the executable; the current folder stays the user's, so the paths on
// the command line keep their meaning.
std::string ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

int Run(const TArgs& a) {
  SetProgramFolder(a.ProgramFolder.empty() ? ExecutableFolder() : a.ProgramFolder);
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
    ApplyArgs(a, cutter);
  }
  if (!CountAndSave(a, cutter)) return 3;
  if (a.Cut || a.Digest || !a.Sheet.empty() || !a.Labels.empty()) return CutAndShow(a, cutter) ? 0 : 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const TArgs args = ParseArgs(std::vector<std::string>(argv + 1, argv + argc));
    return Run(args);
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "%s\n%s", e.Message.c_str(), kUsage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
