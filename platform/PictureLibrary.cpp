// Picture names, reduced decoding and the thumbnail cache.
//
// A cache file holds one thumbnail: a 40-byte header (little-endian), the picture's key (its
// absolute path), then the pixels as B, G, R bytes, rows top down.
//   0 "QJTN"   4 format version   8 picture size   16 picture modification time (ns)
//  24 width   28 height   32 key length   36 Adler-32 of the whole file but these four bytes
// The name of the file comes from a hash of the key and the width; the key inside tells the
// rare other picture with the same hash apart.
#include "platform/PictureLibrary.h"

#include <strings.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/JpegCodec.h"
#include "platform/Paths.h"
#include "platform/PictureScale.h"
#include "platform/TextUtil.h"
#include "platform/UserFolders.h"

namespace qj {
namespace {

constexpr const char* kPictureExtensions[] = {".jpg", ".jpeg", ".bmp", ".png", ".dib"};

// A thumbnail of a very narrow picture would be a tall picture, not a thumbnail.
constexpr int64_t kMaxThumbnailPixels = int64_t(1) << 24;

constexpr uint8_t kCacheMagic[4] = {'Q', 'J', 'T', 'N'};
constexpr uint32_t kCacheVersion = 1;
constexpr size_t kChecksumAt = 36;
constexpr size_t kHeaderSize = 40;

struct TCacheEntry {
  std::string Key;
  TFileStamp Stamp;
  uint32_t Width = 0, Height = 0;
};

bool Fail(std::string& error, const std::string& why) {
  error = why;
  return false;
}

// The absolute path, so the same picture reached from another folder finds the same entry.
std::string PictureKey(const std::string& picturePath) {
  const std::filesystem::path resolved = ResolvePath(picturePath);
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(resolved, ec);
  return (ec ? resolved : absolute).lexically_normal().string();
}

uint64_t Fnv1a(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (const char c : text) hash = (hash ^ uint8_t(c)) * 1099511628211ull;
  return hash;
}

std::string CacheFileName(const std::string& cacheFolder, const std::string& key, int width) {
  char name[48];
  std::snprintf(name, sizeof(name), "%016llx-%d.qjt", static_cast<unsigned long long>(Fnv1a(key)), width);
  return cacheFolder + "/" + name;
}

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

uint64_t Get(const uint8_t* at, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

uint32_t Checksum(const std::vector<uint8_t>& file) {
  uLong sum = adler32(0L, Z_NULL, 0);
  sum = adler32(sum, file.data(), uInt(kChecksumAt));
  return uint32_t(adler32(sum, file.data() + kHeaderSize, uInt(file.size() - kHeaderSize)));
}

std::vector<uint8_t> EncodeCacheFile(const TCacheEntry& entry, const TPixelBuffer& pixels) {
  std::vector<uint8_t> file(kCacheMagic, kCacheMagic + sizeof(kCacheMagic));
  file.reserve(kHeaderSize + entry.Key.size() + pixels.ByteSize());
  Put(file, kCacheVersion, 4);
  Put(file, entry.Stamp.Size, 8);
  Put(file, uint64_t(entry.Stamp.ModifiedNs), 8);
  Put(file, entry.Width, 4);
  Put(file, entry.Height, 4);
  Put(file, entry.Key.size(), 4);
  Put(file, 0, 4);  // the checksum, once the rest is known
  file.insert(file.end(), entry.Key.begin(), entry.Key.end());
  for (int y = 0; y < pixels.Height(); ++y)
    for (const TPixel* p = pixels.Row(y); p != pixels.Row(y) + pixels.Width(); ++p)
      file.insert(file.end(), {uint8_t(PixelB(*p)), uint8_t(PixelG(*p)), uint8_t(PixelR(*p))});
  const uint32_t sum = Checksum(file);
  for (int i = 0; i < 4; ++i) file[kChecksumAt + size_t(i)] = uint8_t(sum >> (8 * i));
  return file;
}

// True when the file is whole, unchanged and made for `wanted` (its key, stamp and width).
bool MatchesEntry(const std::vector<uint8_t>& file, const TCacheEntry& wanted, uint32_t& height) {
  if (file.size() < kHeaderSize || std::memcmp(file.data(), kCacheMagic, sizeof(kCacheMagic)) != 0) return false;
  const uint8_t* h = file.data();
  height = uint32_t(Get(h + 28, 4));
  const uint64_t keySize = Get(h + 32, 4);
  const uint64_t pixels = uint64_t(wanted.Width) * height;
  return Get(h + 4, 4) == kCacheVersion && Get(h + 8, 8) == wanted.Stamp.Size &&
         int64_t(Get(h + 16, 8)) == wanted.Stamp.ModifiedNs && Get(h + 24, 4) == wanted.Width && height > 0 &&
         pixels <= uint64_t(kMaxThumbnailPixels) && keySize == wanted.Key.size() &&
         file.size() == kHeaderSize + keySize + 3 * pixels &&
         std::memcmp(h + kHeaderSize, wanted.Key.data(), wanted.Key.size()) == 0 &&
         Get(h + kChecksumAt, 4) == Checksum(file);
}

bool ReadCacheFile(const std::string& path, const TCacheEntry& wanted, TMyDib& thumbnail) {
  std::vector<uint8_t> file;
  uint32_t height = 0;
  if (!ReadWholeFile(path, file) || !MatchesEntry(file, wanted, height)) return false;
  TMyDib dib(int(wanted.Width), int(height), 24);
  const uint8_t* src = file.data() + kHeaderSize + wanted.Key.size();
  for (TPixel* p = dib.Bits(); p != dib.Bits() + size_t(wanted.Width) * height; ++p, src += 3)
    *p = MakePixel(src[2], src[1], src[0]);
  thumbnail = std::move(dib);
  return true;
}

bool ThumbnailWidthIsValid(const std::string& picturePath, int width, std::string& error) {
  if (width >= 1 && width <= kMaxThumbnailWidth) return true;
  return Fail(error, "no thumbnail " + std::to_string(width) + " pixels wide can be made of " + picturePath);
}

bool DecodeReduced(const std::vector<uint8_t>& data, int width, TPixelBuffer& picture, std::string& error) {
  if (IsJpeg(data.data(), data.size()))
    return DecodeJpeg(data.data(), data.size(), TMyDib::kMaxPixels, picture, error, width);
  TMyDib full;
  if (!full.LoadFromMemory(data.data(), data.size())) return Fail(error, full.LastError());
  picture = std::move(full);
  return true;
}

}  // namespace

bool IsPictureName(const std::string& name) {
  const std::string ext = ExtractFileExt(name);
  for (const char* known : kPictureExtensions)
    if (SameName(ext, known)) return true;
  return false;
}

std::vector<std::string> ListPictures(const std::string& folder) {
  std::vector<std::string> pictures;
  for (const std::string& name : ListFiles(folder, "*"))
    if (IsPictureName(name)) pictures.push_back(folder + "/" + name);
  return pictures;
}

bool DecodeThumbnail(const std::string& picturePath, int width, TMyDib& thumbnail, std::string& error) {
  if (!ThumbnailWidthIsValid(picturePath, width, error)) return false;
  std::vector<uint8_t> data;
  if (!ReadWholeFile(picturePath, data)) return Fail(error, "cannot read " + picturePath);
  TPixelBuffer picture;
  if (!DecodeReduced(data, width, picture, error)) return Fail(error, error + " (" + picturePath + ")");
  const int height = HeightAtWidth(picture, width);
  if (int64_t(width) * height > kMaxThumbnailPixels)
    return Fail(error, "the picture is too narrow for a thumbnail (" + picturePath + ")");
  TMyDib dib(0, 0, 24);
  static_cast<TPixelBuffer&>(dib) = ScaleByArea(picture, width, height);
  thumbnail = std::move(dib);
  return true;
}

std::string ThumbnailFolder() { return UserCacheFolder() + "/thumbnails"; }

std::string ThumbnailCacheFile(const std::string& cacheFolder, const std::string& picturePath, int width) {
  return CacheFileName(cacheFolder, PictureKey(picturePath), width);
}

bool LoadThumbnail(const std::string& picturePath, int width, const std::string& cacheFolder, TMyDib& thumbnail,
                   std::string& error) {
  if (!ThumbnailWidthIsValid(picturePath, width, error)) return false;
  TCacheEntry entry{PictureKey(picturePath), {}, uint32_t(width), 0};
  if (!ReadFileStamp(picturePath, entry.Stamp)) return Fail(error, "cannot read " + picturePath);
  const std::string cacheFile = CacheFileName(cacheFolder, entry.Key, width);
  if (ReadCacheFile(cacheFile, entry, thumbnail)) return true;
  if (!DecodeThumbnail(picturePath, width, thumbnail, error)) return false;
  entry.Height = uint32_t(thumbnail.Height());
  const std::vector<uint8_t> file = EncodeCacheFile(entry, thumbnail);
  // The thumbnail is in hand; a cache that cannot be written means decoding it again next time.
  if (MakeFolders(cacheFolder)) (void)WriteFileAtomic(cacheFile, file.data(), file.size());
  return true;
}

bool LoadThumbnail(const std::string& picturePath, int width, TMyDib& thumbnail, std::string& error) {
  return LoadThumbnail(picturePath, width, ThumbnailFolder(), thumbnail, error);
}

}  // namespace qj
