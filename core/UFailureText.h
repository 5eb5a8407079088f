// The player's words for a failure: which file, and why, in the language in use. The message
// window shows them; stderr gets the same text.
#pragma once

#include <string>

#include "core/UTextIds.h"
#include "platform/FileProblem.h"

namespace qj {

// The line with "%1" replaced by `value`.
std::string FillIn(ETextId line, const std::string& value);
// A file's name as a message names it: “name”.
std::string QuotedName(const std::string& path);
// The language line of a problem; empty for EFileProblem::None.
std::string ProblemCause(EFileProblem problem);
// "The picture “name” cannot be opened.", the cause and the file's full path, each on a line.
// The cause is the file's own trouble when it has one, else `detail` (a cause the caller found,
// such as a cut that does not fit), else nothing.
std::string PictureFailure(const std::string& path, const std::string& detail = {});
// As PictureFailure for a picture that could not join the library: "The picture “name” could not
// be added to your collection.", the file's trouble (or that it could not be copied), the path.
std::string AddingFailure(const std::string& path);

}  // namespace qj
