#include "screens/UPictureLibrary.h"

#include "platform/Dib.h"
#include "platform/Paths.h"
#include "platform/PictureLibrary.h"
#include "platform/UserFolders.h"

namespace qj {
namespace {

std::string LibraryFolder() { return UserPath("Jigsaws"); }

}  // namespace

std::vector<std::string> LibraryPictures() { return ListPictures(LibraryFolder()); }

std::string AddPictureToLibrary(const std::string& file, std::string& error) {
  TMyDib picture;
  if (!picture.LoadFromFile(file)) {
    error = file + ": " + picture.LastError();
    return {};
  }
  return CopyIntoFolder(file, LibraryFolder(), error);
}

}  // namespace qj
