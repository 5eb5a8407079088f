// The saved game's byte stream: written in one pass into one buffer, read through a bounded
// cursor that checks every count and header before it allocates anything.
#include "play/USavedGame.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <exception>
#include <new>

#include "creation/UPieceImages.h"
#include "platform/BmpCodec.h"
#include "platform/Memory.h"

namespace qj {
namespace {

static_assert(std::endian::native == std::endian::little, "fields and pixels are copied as little-endian values");

constexpr size_t kTraySize = 2 + 4 * 4;
constexpr size_t kMenuSize = 9 * 4 + 2 * kMenuToggleButtons;
constexpr size_t kBmpHeaderSize = 14 + 40;
constexpr size_t kPointSize = 8;
constexpr size_t kPointsPerOrientation = 3;  // position slot, box top left, box bottom right

size_t Stride32(int width) { return size_t(width) * 4; }

// Everything of a piece but its bitmaps and neighbours.
size_t FixedPieceSize(int orientationHigh) {
  const size_t orientations = size_t(orientationHigh) + 1;
  return 1 + 4 + orientations * kPointsPerOrientation * kPointSize + kPointSize + 3 * 4 + 4 + 8;
}

size_t StreamSize(const TSavedGame& game, int orientationHigh) {
  size_t size = kGameRecordSize + kTrayCount * kTraySize + 4 + kMenuSize;
  for (const TSavedPiece& p : game.Pieces) {
    size += FixedPieceSize(orientationHigh) + p.Neighbours.size() * 4;
    for (int i = 0; i <= orientationHigh; ++i)
      size += kBmpHeaderSize + Stride32(p.BitmapAt(size_t(i)).Width()) * size_t(p.BitmapAt(size_t(i)).Height());
  }
  return size;
}

// Collects small fields in a buffer and hands the sink whole runs of bytes; large blocks (bitmap
// rows) go through the buffer too, so the sink sees pieces of about the buffer's size.
class TWriter {
 public:
  explicit TWriter(const TByteSink& sink) : FSink(sink) { FBuffer.reserve(kBufferSize); }
  ~TWriter() { Flush(); }
  TWriter(const TWriter&) = delete;
  TWriter& operator=(const TWriter&) = delete;
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    if (FBuffer.size() + size > kBufferSize) Flush();
    if (size >= kBufferSize) return FSink(p, size);
    FBuffer.insert(FBuffer.end(), p, p + size);
  }
  void Flush() {
    if (!FBuffer.empty()) FSink(FBuffer.data(), FBuffer.size());
    FBuffer.clear();
  }
  template <class T>
  void Put(T value) {
    Bytes(&value, sizeof value);
  }
  void Point(const TPoint& p) {
    Put(int32_t(p.X));
    Put(int32_t(p.Y));
  }
  // A 32-bit BMP file exactly as EncodeBmp writes it, the rows copied straight into the stream.
  void Bitmap(const TPixelBuffer& b) {
    const uint32_t image = uint32_t(Stride32(b.Width()) * size_t(b.Height()));
    Bytes("BM", 2);
    Put(uint32_t(kBmpHeaderSize + image));
    Put(uint32_t(0));
    Put(uint32_t(kBmpHeaderSize));
    Put(uint32_t(40));
    Put(int32_t(b.Width()));
    Put(int32_t(b.Height()));
    Put(uint16_t(1));
    Put(uint16_t(32));
    Put(uint32_t(0));
    Put(image);
    for (int k = 0; k < 4; ++k) Put(uint32_t(0));  // resolution and colour counts
    for (int y = b.Height() - 1; y >= 0; --y) Bytes(b.Row(y), Stride32(b.Width()));
  }

 private:
  static constexpr size_t kBufferSize = size_t(1) << 20;
  const TByteSink& FSink;
  std::vector<uint8_t> FBuffer;
};

void WriteTray(TWriter& w, const TSavedTray& t) {
  w.Put(t.WindowVisible);
  w.Put(t.IconVisible);
  for (const int32_t v : {t.Left, t.Top, t.Width, t.Height}) w.Put(v);
}

void WritePiece(TWriter& w, const TSavedPiece& p, int orientationHigh) {
  w.Put(p.State);
  w.Put(p.Tray);
  for (int i = 0; i <= orientationHigh; ++i) {
    w.Point(p.Slots[i]);
    w.Point(p.BoxTopLeft[i]);
    w.Point(p.BoxBottomRight[i]);
  }
  w.Point(p.TrayOrigin);
  for (const int32_t v : {p.Orientation, p.MergeDepth, p.Index}) w.Put(v);
  for (int i = 0; i <= orientationHigh; ++i) w.Bitmap(p.BitmapAt(size_t(i)));
  w.Put(int32_t(p.Neighbours.size()));
  w.Bytes(p.Neighbours.data(), p.Neighbours.size() * 4);
  w.Put(p.Depth);
}

void WriteMenu(TWriter& w, const TSavedMenu& m) {
  for (const int32_t v : {m.ScrollX, m.ScrollY, m.GhostX, m.GhostY, m.SmallPicLeft, m.SmallPicTop, m.SmallPicWidth,
                          m.SmallPicHeight, m.SmallPicStep})
    w.Put(v);
  for (int i = 0; i < kMenuToggleButtons; ++i) {
    w.Put(m.LeftOn[i]);
    w.Put(m.RightOn[i]);
  }
}

// Reads fields in order; the first fault sticks, and every read after it yields zero, so the
// callers check once per group of fields instead of after every one.
class TReader {
 public:
  TReader(const uint8_t* data, size_t size, bool giveUpRead = false)
      : FData(data), FSize(size), FGiveUpRead(giveUpRead), FKept(data) {}
  bool Ok() const { return FError.empty(); }
  const std::string& Error() const { return FError; }
  size_t Remaining() const { return FSize - FPos; }
  const uint8_t* Here() const { return FData + FPos; }
  void SetContext(std::string context) { FContext = std::move(context); }

  bool Fail(const std::string& fault) {
    if (Ok()) FError = FContext + fault;
    return false;
  }
  // The next `size` bytes, or nullptr (a fault) when the stream ends before them.
  const uint8_t* Take(size_t size) {
    if (!Ok()) return nullptr;
    if (size > Remaining()) {
      Fail("the stream ends early");
      return nullptr;
    }
    FPos += size;
    return FData + FPos - size;
  }
  template <class T>
  T Get() {
    T value{};
    if (const uint8_t* p = Take(sizeof value)) std::memcpy(&value, p, sizeof value);
    return value;
  }
  TPoint Point() {
    const int32_t x = Get<int32_t>();
    return {x, Get<int32_t>()};
  }
  bool Flag(uint8_t& flag, const char* what) {
    flag = Get<uint8_t>();
    return Ok() && (flag <= 1 || Fail(std::string(what) + " is " + std::to_string(flag) + ", not 0 or 1"));
  }
  bool Finite(double value, const char* what) {
    return Ok() && (std::isfinite(value) || Fail(std::string(what) + " is not a finite number"));
  }
  // A stream read once lets go of the part behind the cursor, so that it and what it is decoded
  // into are not both resident in full.
  void GiveUpRead() {
    if (FGiveUpRead && FData) FKept = ReleaseReadPages(FKept, FData + FPos);
  }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
  bool FGiveUpRead;
  const uint8_t* FKept;  // the first byte not given up
  std::string FError;
  std::string FContext;
};

uint32_t U32At(const uint8_t* p, size_t offset) {
  uint32_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}

// The length of the BMP file at the cursor, from its headers: only uncompressed 24- and 32-bit
// bitmaps within the side limit are taken, and they must fit in the stream.
bool BmpLength(TReader& r, int maxSide, size_t& length) {
  if (r.Remaining() < kBmpHeaderSize) return r.Fail("the stream ends inside a bitmap header");
  const uint8_t* h = r.Here();
  if (h[0] != 'B' || h[1] != 'M') return r.Fail("a bitmap does not start with BM");
  const int64_t width = int32_t(U32At(h, 18)), height = std::abs(int64_t(int32_t(U32At(h, 22))));
  if (width < 1 || width > maxSide || height < 1 || height > maxSide)
    return r.Fail("a bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
  const int bits = h[28] | (h[29] << 8);
  if (bits != 24 && bits != 32) return r.Fail("a bitmap of " + std::to_string(bits) + " bits per pixel");
  if (U32At(h, 30) != 0) return r.Fail("a compressed bitmap");
  const size_t stride = (size_t(width) * size_t(bits) + 31) / 32 * 4;
  length = size_t(U32At(h, 10)) + size_t(height) * stride;
  if (length > r.Remaining()) return r.Fail("a bitmap runs past the end of the stream");
  const uint32_t declared = U32At(h, 2);
  if (declared != 0 && declared != length)
    return r.Fail("a bitmap's file size " + std::to_string(declared) + " is not its " + std::to_string(length) + " bytes");
  return true;
}

bool ReadBitmap(TReader& r, int maxSide, TMyDib& out) {
  size_t length = 0;
  if (!BmpLength(r, maxSide, length)) return false;
  const uint8_t* file = r.Take(length);
  TPixelBuffer pixels;
  int bitCount = 0;
  std::string error;
  // The headers were checked above, so the pixel count cannot exceed the side limit squared.
  const int64_t maxPixels = int64_t(maxSide) * maxSide;
  if (!DecodeBmp(file, length, maxPixels, pixels, bitCount, error)) return r.Fail("a bitmap is refused: " + error);
  static_cast<TPixelBuffer&>(out) = std::move(pixels);
  out.SetBitCount(bitCount);
  return true;
}

bool ReadTray(TReader& r, TSavedTray& t) {
  if (!r.Flag(t.WindowVisible, "window visibility") || !r.Flag(t.IconVisible, "icon visibility")) return false;
  t.Left = r.Get<int32_t>();
  t.Top = r.Get<int32_t>();
  t.Width = r.Get<int32_t>();
  t.Height = r.Get<int32_t>();
  return r.Ok() && ((t.Width >= 0 && t.Height >= 0) || r.Fail("negative size"));
}

bool ReadPlaces(TReader& r, int orientationHigh, TSavedPiece& p) {
  for (int i = 0; i <= orientationHigh; ++i) {
    p.Slots[i] = r.Point();
    p.BoxTopLeft[i] = r.Point();
    p.BoxBottomRight[i] = r.Point();
    // Only the upright box is a plain rectangle: turned ones keep the cutter's turned corners.
    if (i == 0 && r.Ok() && (p.BoxTopLeft[i].X > p.BoxBottomRight[i].X || p.BoxTopLeft[i].Y > p.BoxBottomRight[i].Y))
      return r.Fail("the box has its corners the wrong way round");
  }
  p.TrayOrigin = r.Point();
  return r.Ok();
}

bool ReadNeighbours(TReader& r, int pieces, TSavedPiece& p) {
  const int32_t count = r.Get<int32_t>();
  if (!r.Ok()) return false;
  if (count < 0 || size_t(count) > r.Remaining() / 4)
    return r.Fail("neighbour count " + std::to_string(count) + " does not fit the stream");
  p.Neighbours.resize(size_t(count));
  if (count > 0) std::memcpy(p.Neighbours.data(), r.Take(size_t(count) * 4), size_t(count) * 4);
  for (const int32_t n : p.Neighbours)
    if (n < 0 || n >= pieces) return r.Fail("neighbour " + std::to_string(n) + " out of range");
  return true;
}

bool ReadPiece(TReader& r, const TSavedGameLimits& limits, int index, int pieces, TSavedPiece& p) {
  const int high = limits.OrientationHigh;
  p.State = r.Get<uint8_t>();
  p.Tray = r.Get<uint32_t>();
  if (!r.Ok()) return false;
  if (p.State > 2) return r.Fail("state " + std::to_string(p.State) + " out of range");
  if (p.Tray > uint32_t(kTrayCount)) return r.Fail("tray " + std::to_string(p.Tray) + " out of range");
  if (!ReadPlaces(r, high, p)) return false;
  p.Orientation = r.Get<int32_t>();
  p.MergeDepth = r.Get<int32_t>();
  p.Index = r.Get<int32_t>();
  if (!r.Ok()) return false;
  if (p.Orientation < 0 || p.Orientation > high) return r.Fail("orientation " + std::to_string(p.Orientation) + " out of range");
  if (p.Index != index) return r.Fail("index " + std::to_string(p.Index) + " in the place of piece " + std::to_string(index));
  for (int i = 0; i <= high; ++i)
    if (!ReadBitmap(r, limits.MaxBitmapSide, p.Bitmaps[i])) return false;
  if (!ReadNeighbours(r, pieces, p)) return false;
  p.Depth = r.Get<double>();
  return r.Ok() && r.Finite(p.Depth, "depth");
}

bool ReadPieces(TReader& r, const TSavedGameLimits& limits, TSavedGame& game) {
  const int32_t count = r.Get<int32_t>();
  if (!r.Ok()) return false;
  if (count < 1 || count > limits.MaxPieces)
    return r.Fail("piece count " + std::to_string(count) + " outside 1.." + std::to_string(limits.MaxPieces));
  if (count > game.Record.InitialPieces)
    return r.Fail("piece count " + std::to_string(count) + " above the game's initial " + std::to_string(game.Record.InitialPieces));
  const size_t leastPiece = FixedPieceSize(limits.OrientationHigh) + (size_t(limits.OrientationHigh) + 1) * kBmpHeaderSize;
  if (size_t(count) > r.Remaining() / leastPiece) return r.Fail("piece count " + std::to_string(count) + " does not fit the stream");
  game.Pieces.resize(size_t(count));
  for (int i = 0; i < count; ++i) {
    r.SetContext("piece " + std::to_string(i) + ": ");
    if (!ReadPiece(r, limits, i, count, game.Pieces[size_t(i)])) return false;
    r.GiveUpRead();
  }
  return true;
}

// A size step out of 1..8 is refused rather than clamped: it cannot come from our own writer,
// so the stream is damaged and nothing else in it can be trusted either.
bool ReadMenu(TReader& r, TSavedMenu& m) {
  for (int32_t* v : {&m.ScrollX, &m.ScrollY, &m.GhostX, &m.GhostY, &m.SmallPicLeft, &m.SmallPicTop, &m.SmallPicWidth,
                     &m.SmallPicHeight, &m.SmallPicStep})
    *v = r.Get<int32_t>();
  if (!r.Ok()) return false;
  if (m.SmallPicStep < 1 || m.SmallPicStep > 8)
    return r.Fail("small picture size step " + std::to_string(m.SmallPicStep) + " outside 1..8");
  for (int i = 0; i < kMenuToggleButtons; ++i)
    if (!r.Flag(m.LeftOn[i], "a left toggle") || !r.Flag(m.RightOn[i], "a right toggle")) return false;
  return true;
}

bool ReadRecord(TReader& r, TGameRecord& record) {
  const uint8_t* bytes = r.Take(kGameRecordSize);
  if (!bytes) return false;
  record = DecodeGameRecord(bytes);
  return r.Finite(record.Elapsed, "elapsed time") && r.Finite(record.TimeBonus, "time bonus") &&
         r.Finite(record.Score, "score");
}

bool ReadGame(TReader& r, const TSavedGameLimits& limits, TSavedGame& game) {
  if (limits.OrientationHigh < 0 || limits.OrientationHigh > 3 || limits.MaxBitmapSide < 1)
    return r.Fail("the puzzle's limits are invalid");
  r.SetContext("record: ");
  if (!ReadRecord(r, game.Record)) return false;
  for (int i = 0; i < kTrayCount; ++i) {
    r.SetContext("tray " + std::to_string(i + 1) + ": ");
    if (!ReadTray(r, game.Trays[size_t(i)])) return false;
  }
  r.SetContext({});
  if (!ReadPieces(r, limits, game)) return false;
  r.SetContext("menu: ");
  if (!ReadMenu(r, game.Menu)) return false;
  r.SetContext({});
  return r.Ok() && (r.Remaining() == 0 || r.Fail(std::to_string(r.Remaining()) + " bytes left over at the end"));
}

}  // namespace

std::vector<uint8_t> EncodeSavedGame(const TSavedGame& game, int orientationHigh) {
  std::vector<uint8_t> out;
  out.reserve(StreamSize(game, orientationHigh));
  EncodeSavedGame(game, orientationHigh, [&out](const uint8_t* data, size_t size) { out.insert(out.end(), data, data + size); });
  return out;
}

size_t EncodedSize(const TSavedGame& game, int orientationHigh) { return StreamSize(game, orientationHigh); }

void EncodeSavedGame(const TSavedGame& game, int orientationHigh, const TByteSink& sink) {
  TWriter w(sink);
  const auto record = EncodeGameRecord(game.Record);
  w.Bytes(record.data(), record.size());
  for (const TSavedTray& t : game.Trays) WriteTray(w, t);
  w.Put(int32_t(game.Pieces.size()));
  for (const TSavedPiece& p : game.Pieces) WritePiece(w, p, orientationHigh);
  WriteMenu(w, game.Menu);
}

namespace {

bool Decode(TReader& r, const TSavedGameLimits& limits, TSavedGame& out, std::string& error) {
  try {
    TSavedGame game;
    if (!ReadGame(r, limits, game)) {
      error = r.Error();
      return false;
    }
    out = std::move(game);
    return true;
  } catch (const std::bad_alloc&) {
    error = "not enough memory to read the saved game";
  } catch (const std::exception& e) {
    error = std::string("the saved game cannot be read: ") + e.what();
  }
  return false;
}

}  // namespace

bool DecodeSavedGame(const uint8_t* data, size_t size, const TSavedGameLimits& limits, TSavedGame& out,
                     std::string& error) {
  TReader r(data, data ? size : 0);
  return Decode(r, limits, out, error);
}

bool DecodeSavedGameOnce(std::vector<uint8_t>& stream, const TSavedGameLimits& limits, TSavedGame& out,
                         std::string& error) {
  TReader r(stream.data(), stream.size(), true);
  return Decode(r, limits, out, error);
}

}  // namespace qj

namespace qj {
namespace {

bool PieceMatchesCut(const TSavedPiece& p, const TCutShape& cut, int orientationHigh, std::string& error) {
  const TPoint tl = p.BoxTopLeft[0], br = p.BoxBottomRight[0];
  const int w = p.Bitmaps[0].Width(), h = p.Bitmaps[0].Height();
  // The cutter widens a region's box by one pixel up and left and three down and right.
  if (tl.X < -1 || tl.Y < -1 || br.X > cut.Width + 2 || br.Y > cut.Height + 2) return error = "its box lies outside the picture", false;
  if (w != br.X - tl.X + 2 * cut.Margin - 1 || h != br.Y - tl.Y + 2 * cut.Margin - 1)
    return error = "its bitmap is not the size of its box", false;
  for (int r = 1; r <= orientationHigh; ++r) {
    const TMyDib& b = p.Bitmaps[size_t(r)];
    if (b.Width() != (r % 2 ? h : w) || b.Height() != (r % 2 ? w : h))
      return error = "its turned bitmap " + std::to_string(r) + " is not the upright one turned", false;
    if (p.BoxTopLeft[size_t(r)] != TurnedCorner(tl, r, w, h, cut.Width, cut.Height) ||
        p.BoxBottomRight[size_t(r)] != TurnedCorner(br, r, w, h, cut.Width, cut.Height))
      return error = "its turned box " + std::to_string(r) + " is not the upright one turned", false;
  }
  return true;
}

}  // namespace

bool MatchesCut(const TSavedGame& game, const TCutShape& cut, int orientationHigh, std::string& error) {
  const TGameRecord& r = game.Record;
  if (r.InitialPieces != cut.Pieces)
    return error = "the game began with " + std::to_string(r.InitialPieces) + " pieces, the puzzle has " + std::to_string(cut.Pieces), false;
  if (r.Finished > 1 || (r.Finished == 1 && game.Pieces.size() != 1)) return error = "the game's finished mark is wrong", false;
  for (size_t i = 0; i < game.Pieces.size(); ++i)
    if (!PieceMatchesCut(game.Pieces[i], cut, orientationHigh, error)) {
      error = "piece " + std::to_string(i) + ": " + error;
      return false;
    }
  return true;
}

}  // namespace qj
