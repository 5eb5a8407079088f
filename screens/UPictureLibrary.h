// The player's picture library: the Jigsaws folder of the user's data, and pictures brought in
// from anywhere (the command line, a dropped file, the picture chooser).
#pragma once

#include <string>
#include <vector>

namespace qj {

// Every picture of the library once, in name order, whatever the case of its extension.
std::vector<std::string> LibraryPictures();

// Copies a picture into the library and returns its path there. A file that is no picture the
// game can read is refused before anything is copied; the same picture added again is the one
// already there; a different one whose name is taken gets a free name. Empty on failure, with
// `error` naming the file and the cause.
std::string AddPictureToLibrary(const std::string& file, std::string& error);

}  // namespace qj
