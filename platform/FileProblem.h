// Why a file the player named cannot be used, as a kind the game can put into words: the system's
// own reasons (errno texts) are English and too terse for a message window.
#pragma once

#include <string>

namespace qj {

enum class EFileProblem {
  None,          // the file reads as a picture
  NotFound,      // no file of that name
  IsFolder,      // a folder, not a file
  NoPermission,  // there, but the player may not read it
  Empty,         // a file of no bytes
  NotAPicture,   // read, but no picture format the game knows
  Damaged,       // a picture format, but the data is broken or cut short
};

// What stands between the file and a picture made of it. Reads the whole file.
EFileProblem PictureFileProblem(const std::string& path);

}  // namespace qj
