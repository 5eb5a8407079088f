// The readers of the layout files: the block list Text/VarEroRuze.rls, the themed image names
// and the .coord coordinate files.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace qj {

// A rectangle in pixels of the bitmap it belongs to: Left, Top, Right, Bottom.
using TLayoutRect = TRect;

// The layout data set is incomplete or malformed; the message names the file and the block or
// line. The loaders let it pass: every theme must come with complete layout data.
class ELayoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The entries of block `name` of Text/VarEroRuze.rls, each as program folder + "/" + line.
// The markers "[Name]" and "[End Name]" match whole lines without regard to case; every line
// between them counts, blank ones included. Throws ELayoutError when the file, the block or its
// end line is missing.
void ReadOptionsBlock(const std::string& name, std::vector<std::string>& list);
// The .coord file of a block's entry: its themed name with the extension ".coord".
std::string CoordFileName(const std::string& base);
// Lines firstLine..firstLine + 3 of the file, one decimal integer each, as Left, Top, Right,
// Bottom. Throws ELayoutError when the file is missing, too short or a line is not an integer.
void ReadLayoutRect(const std::string& fileName, TLayoutRect& rect, int firstLine);

}  // namespace qj
