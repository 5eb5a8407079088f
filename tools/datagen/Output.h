// Writes generated files under the program folder with the names the layout list uses.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Dib.h"

namespace qj::datagen {

class TOutput {
 public:
  explicit TOutput(std::string root) : FRoot(std::move(root)) {}

  // `base` is written as in the layout list ("Graphics\Buttons\Button0"); the theme number
  // is appended as the game's themed lookup expects ("-1").
  void Themed(const std::string& base, int theme, const TMyDib& dib) const;
  void ThemedCoord(const std::string& base, int theme, const std::vector<std::string>& lines) const;
  void Plain(const std::string& base, const TMyDib& dib) const;  // base + ".bmp"
  void Coord(const std::string& base, const std::vector<std::string>& lines) const;
  void Jpeg(const std::string& name, const TPixelBuffer& pixels, int quality) const;  // name with ".jpg"
  void Bytes(const std::string& name, const std::vector<uint8_t>& data) const;

  const std::string& Root() const { return FRoot; }
  std::string PathOf(const std::string& name) const;  // backslashes become slashes; folders made

  static std::string ThemedName(const std::string& base, int theme) { return base + "-" + std::to_string(theme); }

 private:
  std::string FRoot;
};

// Lines of a ".coord" file: a rectangle as four numbers, with a label line before it in files
// that hold several.
void AddRect(std::vector<std::string>& lines, int left, int top, int right, int bottom);
void AddLabelledRect(std::vector<std::string>& lines, const std::string& label, int left, int top, int right,
                     int bottom);

}  // namespace qj::datagen
