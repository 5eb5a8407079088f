// File writing for the generator; any failure stops the run with the file's name.
#include "tools/datagen/Output.h"

#include <filesystem>
#include <fstream>

namespace qj::datagen {

std::string TOutput::PathOf(const std::string& name) const {
  std::string rel = name;
  for (char& c : rel)
    if (c == '\\') c = '/';
  std::filesystem::path path = std::filesystem::path(FRoot) / rel;
  std::filesystem::create_directories(path.parent_path());
  return path.string();
}

void TOutput::Plain(const std::string& base, const TMyDib& dib) const {
  std::string path = PathOf(base + ".bmp");
  if (!dib.SaveToFile(path)) throw std::runtime_error("cannot write " + path + ": " + dib.LastError());
}

void TOutput::Themed(const std::string& base, int theme, const TMyDib& dib) const {
  Plain(ThemedName(base, theme), dib);
}

void TOutput::Coord(const std::string& base, const std::vector<std::string>& lines) const {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  Bytes(base + ".coord", std::vector<uint8_t>(text.begin(), text.end()));
}

void TOutput::ThemedCoord(const std::string& base, int theme, const std::vector<std::string>& lines) const {
  Coord(ThemedName(base, theme), lines);
}

void TOutput::Jpeg(const std::string& name, const TPixelBuffer& pixels, int quality) const {
  std::string path = PathOf(name + ".jpg");
  std::string error;
  if (!SaveJpeg(pixels, path, quality, &error)) throw std::runtime_error("cannot write " + path + ": " + error);
}

void TOutput::Bytes(const std::string& name, const std::vector<uint8_t>& data) const {
  std::string path = PathOf(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void AddRect(std::vector<std::string>& lines, int left, int top, int right, int bottom) {
  for (int v : {left, top, right, bottom}) lines.push_back(std::to_string(v));
}

void AddLabelledRect(std::vector<std::string>& lines, const std::string& label, int left, int top, int right,
                     int bottom) {
  lines.push_back(label);
  AddRect(lines, left, top, right, bottom);
}

}  // namespace qj::datagen
