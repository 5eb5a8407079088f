// A reader for the few tags the help pages use; whatever else it meets is passed over, so a page
// written by hand with another tag still shows its words.
#include "core/UHelpPage.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

#include "platform/Paths.h"

namespace qj {
namespace {

constexpr size_t kLargestPage = 1 << 20;  // a help page is a few kilobytes

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xC0 | (code >> 6));
    out += char(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += char(0xE0 | (code >> 12));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  }
}

// The character an entity names; an unknown entity is kept as written.
std::string Entity(const std::string& name) {
  static const std::pair<const char*, uint32_t> kNamed[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '},
      {"times", 0xD7}, {"ndash", 0x2013}, {"mdash", 0x2014}, {"hellip", 0x2026}, {"middot", 0xB7}};
  std::string out;
  for (const auto& [entity, code] : kNamed)
    if (name == entity) AppendUtf8(out, code);
  if (out.empty() && name.size() > 1 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const uint32_t code = uint32_t(std::strtoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10));
    if (code >= 0x20 && code < 0x10000) AppendUtf8(out, code);
  }
  return out.empty() ? "&" + name + ";" : out;
}

// Text between tags with its entities decoded and every run of white space made one space.
std::string DecodeText(const std::string& raw) {
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (out.empty() || out.back() != ' ') out += ' ';
    } else if (c == '&' && raw.find(';', i) != std::string::npos && raw.find(';', i) - i <= 8) {
      const size_t end = raw.find(';', i);
      out += Entity(raw.substr(i + 1, end - i - 1));
      i = end;
    } else {
      out += c;
    }
  }
  return out;
}

bool IsText(const std::string& html) {
  return std::none_of(html.begin(), html.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 && c != '\n' && c != '\r' && c != '\t';
  });
}

class TPageReader {
 public:
  explicit TPageReader(THelpPage& page) : FPage(page) {}

  void Tag(const std::string& inside);
  void Text(const std::string& text);
  void Flush();

 private:
  void Open(const std::string& name);
  void Close(const std::string& name);
  void Start(ETextBlock kind);

  THelpPage& FPage;
  TTextBlock FBlock;
  int FBold = 0;
  int FSkip = 0;      // inside <head>, <nav>, <style> or <script>
  bool FTitle = false;
  int FCell = 0;      // cells of the table row so far
  bool FHeaderRow = false;
  bool FCellBold = false;
  bool FSeparator = false;  // a cell after the first has begun and shows no text yet
};

void TPageReader::Tag(const std::string& inside) {
  const bool closing = !inside.empty() && inside[0] == '/';
  std::string name;
  for (size_t i = closing ? 1 : 0; i < inside.size() && std::isalnum(static_cast<unsigned char>(inside[i])); ++i)
    name += char(std::tolower(static_cast<unsigned char>(inside[i])));
  if (closing) Close(name);
  else Open(name);
}

void TPageReader::Start(ETextBlock kind) {
  Flush();
  FBlock.Kind = kind;
}

void TPageReader::Open(const std::string& name) {
  if (name == "title") FTitle = true;
  else if (name == "head" || name == "nav" || name == "style" || name == "script") ++FSkip;
  else if (name == "h1") Start(ETextBlock::Heading);
  else if (name == "h2" || name == "h3" || name == "h4") Start(ETextBlock::Subheading);
  else if (name == "p" || name == "div") Start(ETextBlock::Paragraph);
  else if (name == "li") Start(ETextBlock::ListItem);
  else if (name == "strong" || name == "b" || name == "kbd") ++FBold;
  else if (name == "br") Text(" ");
  else if (name == "tr") {
    Start(ETextBlock::ListItem);
    FCell = 0;
    FHeaderRow = true;
  } else if (name == "td" || name == "th") {
    // A row reads as its first cell in bold, then the others after dashes; an empty cell adds none.
    FSeparator = FCell++ > 0;
    FHeaderRow = FHeaderRow && name == "th";
    FCellBold = FCell == 1;
    if (FCellBold) ++FBold;
  }
}

void TPageReader::Close(const std::string& name) {
  if (name == "title") FTitle = false;
  else if (name == "head" || name == "nav" || name == "style" || name == "script") FSkip = std::max(0, FSkip - 1);
  else if (name == "strong" || name == "b" || name == "kbd") FBold = std::max(0, FBold - 1);
  else if ((name == "td" || name == "th") && FCellBold) {
    FCellBold = false;
    FBold = std::max(0, FBold - 1);
  } else if (name == "tr") {
    // The table's header row names the columns, which the dashes leave out.
    if (FHeaderRow) FBlock.Runs.clear();
    Flush();
  } else if (name == "h1" || name == "h2" || name == "h3" || name == "h4" || name == "p" || name == "li" ||
             name == "div" || name == "ul" || name == "ol" || name == "table") {
    Flush();
  }
}

void TPageReader::Text(const std::string& text) {
  if (FTitle) {
    FPage.Title += DecodeText(text);
    return;
  }
  if (FSkip > 0) return;
  std::string decoded = DecodeText(text);
  if (FBlock.Runs.empty() && !decoded.empty() && decoded[0] == ' ') decoded.erase(0, 1);
  if (FSeparator && !decoded.empty() && decoded[0] == ' ') decoded.erase(0, 1);
  if (decoded.empty()) return;
  if (FSeparator) FBlock.Runs.push_back({" \u2013 ", false});
  FSeparator = false;
  const bool bold = FBold > 0;
  if (!FBlock.Runs.empty() && FBlock.Runs.back().Bold == bold) FBlock.Runs.back().Text += decoded;
  else FBlock.Runs.push_back({decoded, bold});
}

void TPageReader::Flush() {
  if (!FBlock.Runs.empty()) {
    std::string& last = FBlock.Runs.back().Text;
    while (!last.empty() && last.back() == ' ') last.pop_back();
    const bool words = std::any_of(FBlock.Runs.begin(), FBlock.Runs.end(),
                                   [](const TTextRun& r) { return r.Text.find_first_not_of(' ') != std::string::npos; });
    if (words) FPage.Blocks.push_back(FBlock);
  }
  FBlock = {};
}

}  // namespace

bool ParseHelpPage(const std::string& html, THelpPage& page, std::string& error) {
  page = {};
  if (html.size() > kLargestPage || !IsText(html)) {
    error = "not a text file";
    return false;
  }
  TPageReader reader(page);
  for (size_t i = 0; i < html.size();) {
    if (html[i] != '<') {
      const size_t next = std::min(html.find('<', i), html.size());
      reader.Text(html.substr(i, next - i));
      i = next;
      continue;
    }
    const bool comment = html.compare(i, 4, "<!--") == 0;
    const size_t end = comment ? html.find("-->", i) : html.find('>', i);
    if (end == std::string::npos) {
      error = comment ? "a comment is not closed" : "a tag is not closed";
      return false;
    }
    if (!comment) reader.Tag(html.substr(i + 1, end - i - 1));
    i = end + (comment ? 3 : 1);
  }
  reader.Flush();
  const size_t dash = page.Title.find(" - ");
  if (dash != std::string::npos) page.Title.erase(dash);
  if (page.Blocks.empty()) {
    error = "the page has no text";
    return false;
  }
  return true;
}

bool LoadHelpPage(const std::string& path, THelpPage& page, std::string& error) {
  std::vector<uint8_t> data;
  if (!ReadWholeFile(path, data)) {
    error = "cannot read " + path;
    return false;
  }
  if (ParseHelpPage(std::string(data.begin(), data.end()), page, error)) return true;
  error = path + ": " + error;
  return false;
}

}  // namespace qj
