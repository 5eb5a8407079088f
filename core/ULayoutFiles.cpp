// The readers of the layout files.
#include "core/ULayoutFiles.h"

#include <charconv>

#include "core/UThemes.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace qj {

namespace {

// The position of the first line at or after `from` equal to `marker` without regard to case.
size_t FindMarker(const std::vector<std::string>& lines, size_t from, const std::string& marker) {
  for (size_t i = from; i < lines.size(); ++i)
    if (SameName(lines[i], marker)) return i;
  return lines.size();
}

// A whole line holding one decimal integer, blanks around it allowed.
bool ParseLayoutInt(const std::string& line, int& value) {
  const std::string text = Trim(line);
  if (text.empty()) return false;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (*begin == '+') ++begin;  // from_chars takes a minus sign only
  const auto [stop, err] = std::from_chars(begin, end, value);
  return err == std::errc() && stop == end;
}

}  // namespace

void ReadOptionsBlock(const std::string& name, std::vector<std::string>& list) {
  list.clear();
  const std::string file = DataPath("Text/VarEroRuze.rls");
  std::vector<std::string> lines;
  if (!ReadTextLines(file, lines)) throw ELayoutError("cannot read the layout list " + file);
  const size_t start = FindMarker(lines, 0, "[" + name + "]");
  if (start == lines.size()) throw ELayoutError("block [" + name + "] is missing in " + file);
  const size_t stop = FindMarker(lines, start + 1, "[End " + name + "]");
  if (stop == lines.size()) throw ELayoutError("block [" + name + "] has no end line in " + file);
  for (size_t i = start + 1; i < stop; ++i) list.push_back(GameFolders().Data + "/" + lines[i]);
}

std::string CoordFileName(const std::string& base) { return ChangeFileExt(ThemedFileName(base), ".coord"); }

void ReadLayoutRect(const std::string& fileName, TLayoutRect& rect, int firstLine) {
  std::vector<std::string> lines;
  if (!ReadTextLines(ResolvePath(fileName), lines)) throw ELayoutError("cannot read " + fileName);
  int values[4];
  for (int i = 0; i < 4; ++i) {
    const int index = firstLine + i;
    if (index < 0 || size_t(index) >= lines.size())
      throw ELayoutError(fileName + " has no line " + std::to_string(index + 1));
    if (!ParseLayoutInt(lines[size_t(index)], values[i]))
      throw ELayoutError(fileName + " line " + std::to_string(index + 1) + " is not a whole number: \"" +
                         lines[size_t(index)] + "\"");
  }
  rect = {values[0], values[1], values[2], values[3]};
}

}  // namespace qj
