#include "screens/UPictureLibrary.h"

#include <set>

#include "platform/Dib.h"
#include "platform/Paths.h"
#include "platform/UserFolders.h"

namespace qj {
namespace {

constexpr const char* kPicturePatterns[] = {"*.bmp", "*.jpg", "*.jpeg", "*.png", "*.dib"};

std::string LibraryFolder() { return UserPath("Jigsaws"); }

}  // namespace

std::vector<std::string> LibraryPictures() {
  const std::string folder = LibraryFolder();
  std::set<std::string> pictures;
  for (const char* pattern : kPicturePatterns)
    for (const std::string& name : ListFiles(folder, pattern)) pictures.insert(folder + "/" + name);
  return {pictures.begin(), pictures.end()};
}

std::string AddPictureToLibrary(const std::string& file, std::string& error) {
  TMyDib picture;
  if (!picture.LoadFromFile(file)) {
    error = file + ": " + picture.LastError();
    return {};
  }
  return CopyIntoFolder(file, LibraryFolder(), error);
}

}  // namespace qj
