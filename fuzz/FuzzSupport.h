// What the fuzz targets and their seed maker share: a scratch folder, inputs as files, pictures
// and saved games checked the way the game checks them.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Dib.h"
#include "play/USavedGame.h"

namespace qj::fuzz {

// What a loaded puzzle allows a saved game of it, and the cut the game must match: rotation on,
// the piece count and bitmap side a large puzzle reaches.
constexpr TSavedGameLimits kSavedGameLimits{3, 64, 600};
constexpr TCutShape kCutShape{64, 512, 512, 4};

// Only this process writes here, so parallel fuzzing jobs never see each other's inputs; in
// memory when /dev/shm exists, as every run rewrites its file.
class TScratchFolder {
 public:
  TScratchFolder() {
    const std::filesystem::path shm = "/dev/shm";
    const std::filesystem::path base = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
    FPath = base / ("qj-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(FPath);
  }
  ~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  std::string Path() const { return FPath.string(); }

 private:
  std::filesystem::path FPath;
};

inline std::string ScratchFolder() {
  static const TScratchFolder folder;
  return folder.Path();
}

// Writes bytes to `path`, making its folder. A failure here is the machine's, not the input's,
// and would make every later run meaningless, so it stops the fuzzer loudly.
inline void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  if (!out.flush()) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::abort();
  }
}

// The input as the file `relative` of the scratch folder, replacing the last run's; its path.
inline std::string WriteInput(const std::string& relative, const uint8_t* data, size_t size) {
  const std::string path = ScratchFolder() + "/" + relative;
  WriteBytes(path, data, size);
  return path;
}

// Loads the input as a picture with `signature` in front unless it starts with it already, so
// mutations go to the picture's body instead of to the format check.
inline void LoadPicture(const uint8_t* data, size_t size, const std::vector<uint8_t>& signature) {
  std::vector<uint8_t> file;
  const bool hasSignature = size >= signature.size() && std::equal(signature.begin(), signature.end(), data);
  if (!hasSignature) file = signature;
  file.insert(file.end(), data, data + size);
  TMyDib picture;
  (void)picture.LoadFromMemory(file.data(), file.size());
}

// Reads a saved game's stream and, when it reads, checks it against the puzzle's cut, as
// continuing a game does.
inline void DecodeSavedGameAndMatch(const uint8_t* data, size_t size) {
  TSavedGame game;
  std::string error;
  if (DecodeSavedGame(data, size, kSavedGameLimits, game, error))
    (void)MatchesCut(game, kCutShape, kSavedGameLimits.OrientationHigh, error);
}

}  // namespace qj::fuzz
