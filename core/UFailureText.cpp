// Failure messages built from language lines, so title and text speak one language.
#include "core/UFailureText.h"

#include "core/UMiscelaneous.h"
#include "platform/Paths.h"

namespace qj {

std::string FillIn(ETextId line, const std::string& value) {
  std::string text = Lang(line);
  const size_t at = text.find("%1");
  return at == std::string::npos ? text + " " + value : text.replace(at, 2, value);
}

std::string QuotedName(const std::string& path) { return "\u201c" + ExtractFileName(path) + "\u201d"; }

std::string ProblemCause(EFileProblem problem) {
  switch (problem) {
    case EFileProblem::None: return {};
    case EFileProblem::NotFound: return Lang(Text::FileNotFound);
    case EFileProblem::IsFolder: return Lang(Text::FileIsFolder);
    case EFileProblem::NoPermission: return Lang(Text::FileNotReadable);
    case EFileProblem::Empty: return Lang(Text::FileEmpty);
    case EFileProblem::NotAPicture: return Lang(Text::FileNotAPicture);
    case EFileProblem::Damaged: return Lang(Text::PictureDamaged);
  }
  return {};
}

namespace {

std::string FailureText(ETextId first, const std::string& path, const std::string& detail) {
  std::string cause = ProblemCause(PictureFileProblem(path));
  if (cause.empty()) cause = detail;
  std::string text = FillIn(first, QuotedName(path));
  if (!cause.empty()) text += "\n" + cause;
  return text + "\n" + path;
}

}  // namespace

std::string PictureFailure(const std::string& path, const std::string& detail) {
  return FailureText(Text::PictureCannotBeOpened, path, detail);
}

std::string AddingFailure(const std::string& path) {
  return FailureText(Text::PictureNotAdded, path, Lang(Text::PictureCouldNotBeCopied));
}

}  // namespace qj
