#include "fuzz/Seeds.h"

#include <cstdio>
#include <string>
#include <vector>

#include "creation/UPieceImages.h"
#include "creation/UPuzzleFile.h"
#include "fuzz/FuzzSupport.h"
#include "platform/BmpCodec.h"
#include "platform/JpegCodec.h"
#include "platform/Paths.h"
#include "platform/PngCodec.h"
#include "creation/UGameRecord.h"

namespace qj::fuzz {
namespace {

TMyDib Picture(int width, int height, int bitCount) {
  TMyDib picture(width, height, bitCount);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.At(x, y) = MakePixel((x * 40) & 255, (y * 50) & 255, ((x + y) * 20) & 255, (x * y) & 255);
  return picture;
}

class TSeedWriter {
 public:
  TSeedWriter(std::string folder, std::string dataFolder) : FFolder(std::move(folder)), FDataFolder(std::move(dataFolder)) {}
  void Bytes(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteBytes(FFolder + "/" + target + "/" + name, bytes.data(), bytes.size());
  }
  void Text(const std::string& target, const std::string& name, const std::string& text) {
    Bytes(target, name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  // A file of the shipped data set, copied as it is.
  void DataFile(const std::string& target, const std::string& relative) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(FDataFolder + "/" + relative, bytes)) return Fail("cannot read " + relative);
    Bytes(target, ExtractFileName(relative), bytes);
  }
  void Fail(const std::string& why) {
    std::fprintf(stderr, "make_seeds: %s\n", why.c_str());
    FFailed = true;
  }
  const std::string& Folder() const { return FFolder; }
  size_t Count() const {
    size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(FFolder)) files += entry.is_regular_file();
    return files;
  }
  bool Failed() const { return FFailed; }

 private:
  std::string FFolder;
  std::string FDataFolder;
  bool FFailed = false;
};

// A photo's EXIF block as an APP1 segment: big-endian TIFF, one IFD holding the orientation
// "turn a quarter clockwise".
constexpr uint8_t kExifSegment[] = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0x00, 0x2A,
                                    0x00, 0x00, 0x00, 0x08, 0x00, 0x01, 0x01, 0x12, 0x00, 0x03, 0x00, 0x00,
                                    0x00, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// The JPEG with the EXIF segment right after its start-of-image marker, where cameras put it.
std::vector<uint8_t> WithExifSegment(std::vector<uint8_t> jpeg) {
  jpeg.insert(jpeg.begin() + 2, std::begin(kExifSegment), std::end(kExifSegment));
  return jpeg;
}

void WritePictures(TSeedWriter& out) {
  for (int bits : {1, 24, 32}) out.Bytes("bmp", "picture" + std::to_string(bits) + ".bmp", EncodeBmp(Picture(7, 5, bits), bits));
  std::vector<uint8_t> file;
  std::string error;
  if (EncodeJpeg(Picture(17, 9, 24), 90, file, error)) {
    out.Bytes("jpeg", "picture.jpg", file);
    out.Bytes("jpeg", "photo.jpg", WithExifSegment(file));
    out.Bytes("exif", "photo.jpg", WithExifSegment(file));
  } else {
    out.Fail("JPEG: " + error);
  }
  if (EncodePng(Picture(9, 7, 32), file, error)) out.Bytes("png", "picture.png", file);
  else out.Fail("PNG: " + error);
}

void WritePuzzle(TSeedWriter& out) {
  TCutParameters cut;
  cut.PictureScale = 1;
  cut.RandomSeed = 1234;
  cut.ShapeSet = 1;
  cut.PieceWidth = cut.PieceHeight = 64;
  TPuzzlePlayOptions play;
  play.AllowRotation = 1;
  play.PieceCount = 64;
  out.Bytes("puzzle", "puzzle.jig", BuildPuzzleFile(cut, play, Picture(8, 8, 24).SaveToMemory()));
}

// A piece of the seed game, upright, inside the cut's picture, its bitmap the size of its box.
TSavedPiece SeedPiece(int index) {
  TSavedPiece p;
  p.Index = index;
  p.MergeDepth = 1;
  p.Depth = 0.5 + index;
  p.Neighbours = {1 - index};
  const int left = 10 + 20 * index;
  const int side = 10 + 2 * kCutShape.Margin - 1;
  const TPoint topLeft{left, 10}, bottomRight{left + 10, 20};
  for (int o = 0; o <= kSavedGameLimits.OrientationHigh; ++o) {
    const size_t slot = size_t(o);
    const auto turned = [&](TPoint corner) { return o == 0 ? corner : TurnedCorner(corner, o, side, side, kCutShape.Width, kCutShape.Height); };
    p.Slots[slot] = {left, 10};
    p.BoxTopLeft[slot] = turned(topLeft);
    p.BoxBottomRight[slot] = turned(bottomRight);
    p.Bitmaps[slot] = Picture(side, side, 32);
  }
  return p;
}

void WriteSavedGame(TSeedWriter& out) {
  TSavedGame game;
  game.Record.InitialPieces = kCutShape.Pieces;
  game.Record.PiecesHigh = 1;
  game.Record.MaxPictureSize = 1;
  game.Pieces = {SeedPiece(0), SeedPiece(1)};
  std::string error;
  if (!MatchesCut(game, kCutShape, kSavedGameLimits.OrientationHigh, error)) out.Fail("saved game: " + error);
  const std::vector<uint8_t> stream = EncodeSavedGame(game, kSavedGameLimits.OrientationHigh);
  out.Bytes("savedgame", "game.sav", stream);
  std::vector<uint8_t> pieced{0x01, 0x00};  // pieces of 257 bytes
  pieced.insert(pieced.end(), stream.begin(), stream.end());
  out.Bytes("deflate", "game.sav", pieced);
  TZipMaster zip;
  zip.ZipFileName = out.Folder() + "/savedzip/game.zip";
  std::filesystem::create_directories(out.Folder() + "/savedzip");
  if (!zip.AddMemberFromMemory("game.sav", stream)) out.Fail("archive: " + zip.LastError());
}

void WriteScores(TSeedWriter& out) {
  TGameRecord record;
  record.InitialPieces = 64;
  record.Score = 1234.5;
  record.Elapsed = 0.01;
  std::string error;
  const std::string path = out.Folder() + "/score/game.scr";
  std::filesystem::create_directories(out.Folder() + "/score");
  if (!UpdateScoreFile(path, record, error) || !UpdateScoreFile(path, record, error)) out.Fail("score: " + error);
}

void WriteTextFiles(TSeedWriter& out) {
  for (const char* shape : {"Shapes/Shape0.txt", "Shapes/Shape1.txt"}) out.DataFile("shape", shape);
  std::string coord;
  for (int i = 0; i < 40; ++i) coord += std::to_string(i * 3 - 4) + "\r\n";
  out.Text("coord", "frame.coord", coord);
  out.DataFile("layout", "Text/VarEroRuze.rls");
  for (const char* settings : {"Text/Jigsaw.stg", "Text/DefHotkeys.stg"}) out.DataFile("settings", settings);
  for (const char* language : {"Text/English.lang", "Text/Deutsch.lang"}) out.DataFile("language", language);
  out.Text("selectorlayout", "PuzzleSelecterInfo.inf",
           "\"/home/player/Jigsaws/Harbour Town.jpg\" 10 64 220\r\n\"/home/player/Jigsaws/b.png\" -40 300 220\r\n");
}

}  // namespace

size_t WriteSeeds(const std::string& folder, const std::string& dataFolder) {
  TSeedWriter out(folder, dataFolder);
  WritePictures(out);
  WritePuzzle(out);
  WriteSavedGame(out);
  WriteScores(out);
  WriteTextFiles(out);
  return out.Failed() ? 0 : out.Count();
}

}  // namespace qj::fuzz
