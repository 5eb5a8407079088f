#include "tools/cut/CutOptions.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "creation/UBitmapBuilder.h"
#include "platform/Paths.h"

namespace qj::cuttool {

namespace {

// The maker's sliders and buttons.
constexpr int kMaxStyle = 8, kMaxShadow = 10, kMaxBevel = 5;
constexpr int kMinSpread = 10, kMaxSpread = 20;  // ten times the spread
constexpr int64_t kMaxInt = std::numeric_limits<int>::max();
constexpr int64_t kMaxSeed = std::numeric_limits<uint32_t>::max();

std::string Range(int64_t lo, int64_t hi) { return "from " + std::to_string(lo) + " to " + std::to_string(hi); }

// Digits with at most a leading minus, nothing else: no blanks, no sign of plus, no fraction.
int64_t WholeNumber(const std::string& option, const std::string& text, int64_t lo, int64_t hi,
                    const std::string& range) {
  int64_t v = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, v);
  if (text.empty() || error != std::errc() || stop != end || v < lo || v > hi)
    throw TUsageError{option + " takes a whole number " + range + ", not \"" + text + "\""};
  return v;
}

int64_t WholeNumber(const std::string& option, const std::string& text, int64_t lo, int64_t hi) {
  return WholeNumber(option, text, lo, hi, Range(lo, hi));
}

// The spread slider moves in tenths from 1.0 to 2.0; returns its position.
int SpreadPosition(const std::string& text) {
  double v = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, v, std::chars_format::fixed);
  const double tenths = v * 10, position = std::nearbyint(tenths);
  if (text.empty() || error != std::errc() || stop != end || !(std::abs(tenths - position) < 1e-6) ||
      position < kMinSpread || position > kMaxSpread)
    throw TUsageError{"--spread takes values from 1.0 to 2.0 in steps of 0.1, not \"" + text + "\""};
  return int(position);
}

// Reads the option at a[k] and its values, moving k past them; false for an unknown option.
class TOptionReader {
 public:
  TOptionReader(const std::vector<std::string>& args, size_t& k) : FArgs(args), FK(k), FOption(args[k]) {}

  bool Read(TCutOptions& r) {
    const std::string& o = FOption;
    if (o == "--style") r.Style = Whole(0, kMaxStyle);
    else if (o == "--shape") r.Shape = Whole(0, kMaxInt);
    else if (o == "--piece-size") r.PieceW = PieceSide(), r.PieceH = PieceSide();
    else if (o == "--distort") r.DistortX = Whole(0, kMaxInt), r.DistortY = Whole(0, kMaxInt);
    else if (o == "--spread") r.SpreadX = SpreadPosition(Value()), r.SpreadY = SpreadPosition(Value());
    else if (o == "--shadow") r.Shadow = Whole(0, kMaxShadow);
    else if (o == "--bevel") r.Bevel = Whole(0, kMaxBevel);
    else if (o == "--seed") r.Seed = uint32_t(WholeNumber(o, Value(), 0, kMaxSeed)), r.HasSeed = true;
    else if (o == "--options") r.Options = Value();
    else if (o == "--sheet") r.Sheet = Value();
    else if (o == "--labels") r.Labels = Value();
    else if (o == "--program-folder") r.ProgramFolder = Value();
    else if (o == "--from-pzl") r.FromPzl = true;
    else if (o == "--count") r.Count = true;
    else if (o == "--cut") r.Cut = true;
    else if (o == "--digest") r.Digest = true;
    else if (o == "--no-save") r.Save = false;
    else return false;
    return true;
  }

 private:
  const std::string& Value() {
    if (FK + 1 >= FArgs.size()) throw TUsageError{FOption + " is missing a value at the end of the command line"};
    return FArgs[++FK];
  }
  int Whole(int64_t lo, int64_t hi) { return int(WholeNumber(FOption, Value(), lo, hi)); }
  int PieceSide() {
    return int(WholeNumber(FOption, Value(), 1, kMaxInt, "from 1 to half the picture's side less one"));
  }

  const std::vector<std::string>& FArgs;
  size_t& FK;
  const std::string FOption;
};

// The maker narrows the displacement slider to a tenth of the piece whenever the size changes.
void CheckDisplacement(const char* axis, int distort, int pieceSide) {
  const int most = int(std::nearbyint(pieceSide / 10.0));
  if (distort > most)
    throw TUsageError{std::string("--distort takes a ") + axis + " displacement " + Range(0, most) +
                      " (a tenth of the piece " + std::to_string(pieceSide) + " pixels), not " +
                      std::to_string(distort)};
}

void CheckPieceSide(const char* side, int size, int pictureSide) {
  const int most = pictureSide / 2 - 1;
  if (size > most)
    throw TUsageError{std::string("--piece-size takes a ") + side + " " + Range(1, most) + " (half the picture's " +
                      std::to_string(pictureSide) + " pixels less one), not " + std::to_string(size)};
}

}  // namespace

TCutOptions ParseCutOptions(const std::vector<std::string>& args) {
  TCutOptions r;
  for (size_t k = 0; k < args.size(); ++k) {
    if (args[k].rfind("--", 0) != 0) {
      if (!r.Picture.empty()) throw TUsageError{"more than one picture: " + args[k]};
      r.Picture = args[k];
    } else if (!TOptionReader(args, k).Read(r)) {
      throw TUsageError{"unknown option: " + args[k]};
    }
  }
  if (r.Picture.empty()) throw TUsageError{"no picture given"};
  if (r.Options.size() != 5 || r.Options.find_first_not_of("01") != std::string::npos)
    throw TUsageError{"--options takes five 0/1 digits, not \"" + r.Options + "\""};
  CheckDisplacement("horizontal", r.DistortX, r.PieceW);
  CheckDisplacement("vertical", r.DistortY, r.PieceH);
  return r;
}

void CheckAgainstPicture(const TCutOptions& options, int width, int height) {
  CheckPieceSide("width", options.PieceW, width);
  CheckPieceSide("height", options.PieceH, height);
}

void CheckShapeExists(const TCutOptions& options) {
  const std::string path = ShapeFilePath(options.Shape);
  if (!FileExists(path))
    throw TUsageError{"--shape takes the number of a shape file; there is no " + path};
}

}  // namespace qj::cuttool
