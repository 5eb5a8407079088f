// The command line of the game: options, and pictures handed over by the desktop's "Open with".
#pragma once

#include <string>
#include <vector>

#include "platform/PictureLibrary.h"  // IsPictureName
#include "screens/UShowcase.h"

namespace qj {

enum class ECommand { Play, Help, Version, Error };

struct TCommandLine {
  ECommand Command = ECommand::Play;
  EShowcase Showcase = EShowcase::None;
  int Theme = -1;                     // the showcase's theme; -1 is the configured one
  std::vector<std::string> Pictures;  // as given, in order
  std::string Play;                   // --play: the picture to start playing at once
  std::string Tour;                   // --tour: the folder the screenshots go to
  std::string Error;                  // for ECommand::Error: what was wrong, for stderr
};

// The arguments after the program name. Anything that is neither an option nor a picture file
// (by its extension) is an error, so a typo is reported instead of silently ignored.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Relative names (pictures, --play, --tour) made absolute against `folder`: the current folder
// the player started the program in, before the program moves into its own.
void MakePathsAbsolute(TCommandLine& line, const std::string& folder);

std::string UsageText();    // for --help
std::string VersionText();  // for --version

}  // namespace qj
