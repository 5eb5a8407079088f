// The cut tool's road from a command line to a cut puzzle, shared by the tools that cut: the
// picture and its puzzle file loaded or made, counted and saved as the maker would.
#pragma once

#include <string>

#include "tools/cut/CutOptions.h"

namespace qj {
class TPuzzleCutter;
}

namespace qj::cuttool {

// The folder of the running executable ("." when unknown).
std::string ExecutableFolder();
// The program folder of the options: the option's, or the data set beside the executable.
void UseProgramFolder(const TCutOptions& options);
// Sets the program folder (UseProgramFolder), loads the
// picture and then its puzzle file (FromPzl) or the options, and counts the cut; writes the
// puzzle file unless FromPzl or !Save. Returns 0, or the exit code after printing why (1 for a
// missing or unreadable file, 3 for an unsound cut or a failed save). Throws TUsageError.
int PreparePuzzle(const TCutOptions& options, TPuzzleCutter& cutter);
// Draws the cut again from the stored seed, as every count and cut starts from it.
void Redraw(TPuzzleCutter& cutter);

}  // namespace qj::cuttool
