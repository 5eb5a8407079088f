// Sorting a picture file's trouble into the kinds the message window names.
#include "platform/FileProblem.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/Dib.h"
#include "platform/JpegCodec.h"
#include "platform/Paths.h"
#include "platform/PngCodec.h"

namespace qj {
namespace {

bool KnownSignature(const std::vector<uint8_t>& data) {
  const bool bmp = data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
  return bmp || IsJpeg(data.data(), data.size()) || IsPng(data.data(), data.size());
}

}  // namespace

EFileProblem PictureFileProblem(const std::string& path) {
  const std::string file = ResolvePath(path);
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (ec || !std::filesystem::exists(status)) return EFileProblem::NotFound;
  if (std::filesystem::is_directory(status)) return EFileProblem::IsFolder;
  if (access(file.c_str(), R_OK) != 0) return EFileProblem::NoPermission;
  std::vector<uint8_t> data;
  errno = 0;
  if (!ReadWholeFile(file, data)) return errno == EACCES ? EFileProblem::NoPermission : EFileProblem::Damaged;
  if (data.empty()) return EFileProblem::Empty;
  if (!KnownSignature(data)) return EFileProblem::NotAPicture;
  TMyDib picture;
  return picture.LoadFromMemory(data.data(), data.size()) ? EFileProblem::None : EFileProblem::Damaged;
}

}  // namespace qj
