// JPEG decoding and encoding through libjpeg-turbo. libjpeg reports errors by calling a handler
// that must not return; ours jumps back to the caller, so bad data never ends the process.
// The jumps only cross libjpeg's C frames and functions whose locals are trivial: everything
// that owns memory lives in a state record owned by the caller of the jumping function.
#include "platform/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "platform/Exif.h"

namespace qj {
namespace {

struct TJpegError {
  jpeg_error_mgr Mgr;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX] = "";
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  auto* e = reinterpret_cast<TJpegError*>(info->err);
  info->err->format_message(info, e->Message);
  longjmp(e->Jump, 1);
}

// Warnings mean damaged data (a truncated file, a broken Huffman code); a picture decoded from
// them would be partly grey, so they count as errors. Stray bytes between markers are common
// in files from old cameras and harmless.
void EmitMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code != JWRN_EXTRANEOUS_DATA) ErrorExit(info);
}

void OutputMessage(j_common_ptr) {}

jpeg_error_mgr* InitError(TJpegError& e) {
  jpeg_std_error(&e.Mgr);
  e.Mgr.error_exit = ErrorExit;
  e.Mgr.emit_message = EmitMessage;
  e.Mgr.output_message = OutputMessage;
  return &e.Mgr;
}

// Real JPEG data needs well over a bit for each 8 x 8 block; a picture far larger than its file
// could hold is damaged or made to exhaust memory.
constexpr int64_t kPlausiblePixelsPerByte = 1024;
constexpr int64_t kMinDecoderMemory = int64_t(64) << 20;
constexpr int64_t kMaxDecoderMemory = int64_t(2) << 30;

struct TDecodeState {
  jpeg_decompress_struct Info{};
  TJpegError Error;
  bool Created = false;
  bool Cmyk = false;
  TPixelBuffer Pixels;
  std::vector<uint8_t> Row;  // CMYK rows before conversion
  // Rows of an implausibly large picture as they decode. Here rather than on the stack: an error
  // leaves the reading functions by longjmp, which runs no destructors.
  std::vector<std::vector<TPixel>> Strips;
};

// Adobe writes CMYK inverted (255 = no ink); other writers store the ink amount.
void CmykRowToPixels(const uint8_t* src, TPixel* dst, int width, bool inverted) {
  for (int x = 0; x < width; ++x, src += 4) {
    unsigned c = src[0], m = src[1], y = src[2], k = src[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    dst[x] = MakePixel(c * k / 255, m * k / 255, y * k / 255);
  }
}

void ClearAlpha(TPixel* row, int width) {
  for (int x = 0; x < width; ++x) row[x] &= kRgbMask;
}

// The next scanline into dst, one row of the output's width.
void ReadRow(TDecodeState& s, TPixel* dst) {
  jpeg_decompress_struct& info = s.Info;
  const int width = int(info.output_width);
  JSAMPROW row = s.Cmyk ? s.Row.data() : reinterpret_cast<JSAMPROW>(dst);
  if (jpeg_read_scanlines(&info, &row, 1) != 1) ErrorExit(reinterpret_cast<j_common_ptr>(&info));
  if (s.Cmyk)
    CmykRowToPixels(s.Row.data(), dst, width, info.saw_Adobe_marker);
  else
    ClearAlpha(dst, width);
}

void ReadRows(TDecodeState& s) {
  jpeg_decompress_struct& info = s.Info;
  s.Pixels.ResizeUninitialised(int(info.output_width), int(info.output_height));
  while (info.output_scanline < info.output_height) ReadRow(s, s.Pixels.Row(int(info.output_scanline)));
}

// The rows of an implausibly large picture are kept in strips as they decode, so memory grows
// with the data that is really there; a file that ends early fails long before the whole
// picture would have been allocated.
constexpr int kStripRows = 64;

void ReadRowsInStrips(TDecodeState& s) {
  jpeg_decompress_struct& info = s.Info;
  const int width = int(info.output_width), height = int(info.output_height);
  std::vector<std::vector<TPixel>>& strips = s.Strips;
  while (int(info.output_scanline) < height) {
    const int y = int(info.output_scanline);
    if (y % kStripRows == 0) strips.emplace_back(size_t(width) * size_t(std::min(kStripRows, height - y)));
    ReadRow(s, strips.back().data() + size_t(y % kStripRows) * size_t(width));
  }
  s.Pixels.ResizeUninitialised(width, height);
  for (size_t i = 0; i < strips.size(); ++i)
    std::copy(strips[i].begin(), strips[i].end(), s.Pixels.Row(int(i) * kStripRows));
  strips.clear();
}

// libjpeg's reduced decoding (scale n/8) costs little more than decoding the smaller picture.
// The smallest n whose output is at least minWidth wide once upright; 8/8 when none is.
void ChooseScale(jpeg_decompress_struct& info, int minWidth, bool sidesSwap) {
  if (minWidth <= 0) return;
  info.scale_denom = 8;
  for (unsigned n = 1; n <= 8; ++n) {
    info.scale_num = n;
    jpeg_calc_output_dimensions(&info);
    if (int64_t(sidesSwap ? info.output_height : info.output_width) >= minWidth) return;
  }
}

// Out of line: a string built inside the function that called setjmp may be clobbered by the jump.
[[gnu::noinline]] bool Failed(std::string& error, const char* what, const char* message) {
  error = std::string(what) + message;
  return false;
}

// Returns false with the reason in `error`; the caller destroys the decompressor either way.
bool DecodeInto(TDecodeState& s, const uint8_t* data, size_t size, int64_t maxPixels, std::string& error,
                int minWidth, bool sidesSwap) {
  if (setjmp(s.Error.Jump)) return Failed(error, "damaged JPEG file: ", s.Error.Message);
  jpeg_decompress_struct& info = s.Info;
  info.err = InitError(s.Error);
  jpeg_create_decompress(&info);
  s.Created = true;
  // libjpeg's own buffers (a progressive picture's coefficients) are bounded the same way.
  info.mem->max_memory_to_use = long(std::clamp<int64_t>(int64_t(size) * kPlausiblePixelsPerByte * 8, kMinDecoderMemory, kMaxDecoderMemory));
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  if (int64_t(info.image_width) * info.image_height > maxPixels) {
    error = "JPEG picture is too large";
    return false;
  }
  s.Cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = s.Cmyk ? JCS_CMYK : JCS_EXT_BGRX;
  ChooseScale(info, minWidth, sidesSwap);
  jpeg_start_decompress(&info);
  if (s.Cmyk) s.Row.resize(size_t(info.output_width) * 4);
  if (int64_t(info.image_width) * info.image_height > int64_t(size) * kPlausiblePixelsPerByte)
    ReadRowsInStrips(s);
  else
    ReadRows(s);
  jpeg_finish_decompress(&info);
  return true;
}

struct TEncodeState {
  jpeg_compress_struct Info{};
  TJpegError Error;
  bool Created = false;
  unsigned char* Buffer = nullptr;  // allocated by libjpeg's memory destination
  unsigned long Size = 0;
};

bool EncodeInto(TEncodeState& s, const TPixelBuffer& pixels, int quality, std::string& error) {
  if (setjmp(s.Error.Jump)) return Failed(error, "cannot write JPEG: ", s.Error.Message);
  jpeg_compress_struct& info = s.Info;
  info.err = InitError(s.Error);
  jpeg_create_compress(&info);
  s.Created = true;
  jpeg_mem_dest(&info, &s.Buffer, &s.Size);
  info.image_width = JDIMENSION(pixels.Width());
  info.image_height = JDIMENSION(pixels.Height());
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // libjpeg never writes through the input rows; its interface just is not const.
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<TPixel*>(pixels.Row(int(info.next_scanline))));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

bool IsJpeg(const uint8_t* data, size_t size) {
  return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool DecodeJpeg(const uint8_t* data, size_t size, int64_t maxPixels, TPixelBuffer& out, std::string& error,
                int minWidth) {
  if (!data || size == 0) {
    error = "empty JPEG file";
    return false;
  }
  const EOrientation orientation = JpegOrientation(data, size);
  TDecodeState s;
  bool ok = false;
  try {
    ok = DecodeInto(s, data, size, maxPixels, error, minWidth, SwapsSides(orientation));
    if (ok) ApplyOrientation(s.Pixels, orientation);
  } catch (const std::bad_alloc&) {
    error = "not enough memory for the JPEG picture";
    ok = false;
  }
  if (s.Created) jpeg_destroy_decompress(&s.Info);
  if (ok) out = std::move(s.Pixels);
  return ok;
}

bool EncodeJpeg(const TPixelBuffer& pixels, int quality, std::vector<uint8_t>& out, std::string& error) {
  if (pixels.Empty()) {
    error = "cannot write an empty picture as JPEG";
    return false;
  }
  TEncodeState s;
  const bool ok = EncodeInto(s, pixels, quality, error);
  if (s.Created) jpeg_destroy_compress(&s.Info);
  if (ok) out.assign(s.Buffer, s.Buffer + s.Size);
  std::free(s.Buffer);
  return ok;
}

}  // namespace qj
