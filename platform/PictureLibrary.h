// The player's pictures as the selector shows them: which files are pictures, and thumbnails
// decoded at reduced size and kept in the user's cache folder, so a large library of phone
// photos opens quickly the second time.
#pragma once

#include <string>
#include <vector>

#include "platform/Dib.h"

namespace qj {

// The width of the selector's thumbnails of pictures that are not yet puzzles.
constexpr int kThumbnailWidth = 200;
// Wider thumbnails are refused: they would be pictures, not thumbnails.
constexpr int kMaxThumbnailWidth = 4096;

// The picture formats the library holds (JPEG, BMP, PNG, DIB), by extension without regard to
// case.
bool IsPictureName(const std::string& name);
// The pictures of a folder, full paths, sorted by name without regard to case; none when the
// folder cannot be read.
std::vector<std::string> ListPictures(const std::string& folder);

// The picture `width` pixels wide, its height keeping the aspect ratio, upright (EXIF), scaled by
// area. A JPEG is decoded at the smallest reduced size that is still as wide; other formats are
// decoded in full. False with `error` naming the file and the cause when it cannot be read.
[[nodiscard]] bool DecodeThumbnail(const std::string& picturePath, int width, TMyDib& thumbnail, std::string& error);

// UserCacheFolder() + "/thumbnails".
std::string ThumbnailFolder();
// The cache file of a picture's thumbnail at a width: one per picture and width, so a changed
// picture replaces its old thumbnail instead of adding one.
std::string ThumbnailCacheFile(const std::string& cacheFolder, const std::string& picturePath, int width);

// DecodeThumbnail through the cache in `cacheFolder`: a cache file made from the picture at its
// present size and modification time is read instead of the picture; any other (stale, damaged,
// of another picture) is made again. A cache that cannot be written only costs time.
[[nodiscard]] bool LoadThumbnail(const std::string& picturePath, int width, const std::string& cacheFolder,
                                 TMyDib& thumbnail, std::string& error);
// The same through ThumbnailFolder().
[[nodiscard]] bool LoadThumbnail(const std::string& picturePath, int width, TMyDib& thumbnail, std::string& error);

}  // namespace qj
