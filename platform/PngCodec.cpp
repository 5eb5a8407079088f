// PNG through libpng. libpng reports errors by longjmp: every libpng call of a decode runs inside
// one setjmp frame that owns nothing but plain data, so the jump skips no destructor.
#include "platform/PngCodec.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "platform/Paths.h"

namespace qj {
namespace {

struct TSource {
  const uint8_t* Data;
  size_t Size;
  size_t At = 0;
};

struct TSink {
  std::vector<uint8_t>* Out;
};

// Each handler sees the error text buffer through the libpng error pointer.
[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* why = static_cast<char*>(png_get_error_ptr(png));
  std::snprintf(why, 200, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep into, png_size_t count) {
  auto* source = static_cast<TSource*>(png_get_io_ptr(png));
  if (count > source->Size - source->At) png_error(png, "the file ends too early");
  std::memcpy(into, source->Data + source->At, count);
  source->At += count;
}

void WriteToMemory(png_structp png, png_bytep data, png_size_t count) {
  auto* sink = static_cast<TSink*>(png_get_io_ptr(png));
  sink->Out->insert(sink->Out->end(), data, data + count);
}

void FlushNothing(png_structp) {}

// Every picture becomes 8-bit RGBA rows: palettes and grey expanded, tRNS made alpha.
void AskForRgba(png_structp png, png_infop info) {
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// Straight alpha laid over white.
TPixel OnWhite(const png_byte* rgba) {
  const unsigned a = rgba[3];
  auto over = [a](unsigned c) { return (c * a + 255 * (255 - a) + 127) / 255; };
  return MakePixel(over(rgba[0]), over(rgba[1]), over(rgba[2]));
}

// The buffers of a decode, owned outside the setjmp frame so a jump leaves nothing unfreed.
struct TDecodeBuffers {
  std::vector<png_byte> Rows;
  std::vector<png_bytep> Starts;
  TPixelBuffer Pixels;
};

// The part of a decode that libpng may jump out of.
bool DecodeRows(png_structp png, png_infop info, int64_t maxPixels, TDecodeBuffers& b, char* why) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || int64_t(width) * int64_t(height) > maxPixels) {
    std::snprintf(why, 200, "a picture of %ux%u pixels is too large", unsigned(width), unsigned(height));
    return false;
  }
  AskForRgba(png, info);
  b.Rows.resize(size_t(width) * height * 4);
  b.Starts.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) b.Starts[y] = b.Rows.data() + size_t(y) * width * 4;
  png_read_image(png, b.Starts.data());
  png_read_end(png, nullptr);
  b.Pixels.ResizeUninitialised(int(width), int(height));
  for (size_t i = 0; i < size_t(width) * height; ++i) b.Pixels.Bits()[i] = OnWhite(b.Rows.data() + i * 4);
  return true;
}

}  // namespace

bool IsPng(const uint8_t* data, size_t size) { return size >= 8 && png_sig_cmp(data, 0, 8) == 0; }

bool DecodePng(const uint8_t* data, size_t size, int64_t maxPixels, TPixelBuffer& out, std::string& error) {
  if (!IsPng(data, size)) {
    error = "not a PNG file";
    return false;
  }
  char why[200] = "";
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, why, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    error = "out of memory for a PNG decoder";
    return false;
  }
  TSource source{data, size};
  png_set_read_fn(png, &source, ReadFromMemory);
  TDecodeBuffers buffers;
  const bool ok = DecodeRows(png, info, maxPixels, buffers, why);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) {
    error = std::string("damaged PNG: ") + why;
    return false;
  }
  out = std::move(buffers.Pixels);
  return true;
}

namespace {

bool EncodeRows(png_structp png, png_infop info, const TPixelBuffer& pixels, std::vector<png_byte>& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int w = pixels.Width(), h = pixels.Height();
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const TPixel p = pixels.At(x, y);
      png_byte* o = rows.data() + size_t(x) * 4;
      o[0] = png_byte(PixelR(p)), o[1] = png_byte(PixelG(p)), o[2] = png_byte(PixelB(p)), o[3] = png_byte(PixelA(p));
    }
    png_write_row(png, rows.data());
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool EncodePng(const TPixelBuffer& pixels, std::vector<uint8_t>& out, std::string& error) {
  if (pixels.Empty()) {
    error = "an empty picture has no PNG";
    return false;
  }
  char why[200] = "";
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, why, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    error = "out of memory for a PNG encoder";
    return false;
  }
  std::vector<uint8_t> file;
  TSink sink{&file};
  png_set_write_fn(png, &sink, WriteToMemory, FlushNothing);
  std::vector<png_byte> rows(size_t(pixels.Width()) * 4);
  const bool ok = EncodeRows(png, info, pixels, rows);
  png_destroy_write_struct(&png, &info);
  if (!ok) {
    error = std::string("cannot write a PNG: ") + why;
    return false;
  }
  out = std::move(file);
  return true;
}

bool SaveOpaquePng(const TPixelBuffer& picture, const std::string& path, std::string& error) {
  TPixelBuffer opaque = picture;
  for (TPixel* p = opaque.Bits(); p != opaque.Bits() + size_t(opaque.Width()) * opaque.Height(); ++p) *p |= ~kRgbMask;
  std::vector<uint8_t> file;
  if (!EncodePng(opaque, file, error)) return false;
  if (WriteFileAtomic(path, file.data(), file.size())) return true;
  error = "cannot write " + path + ": " + std::strerror(errno);
  return false;
}

}  // namespace qj
