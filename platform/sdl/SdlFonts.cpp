// The font rasteriser over SDL_ttf: Windows font names resolved through fontconfig (which maps
// "Times New Roman" and "Arial" to their metric-compatible Liberation fonts), sizes in points at
// 96 dots per inch as on the desktop the game was laid out for.
#include "platform/sdl/SdlFonts.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <list>
#include <map>
#include <memory>

#include "platform/FontRasterizer.h"
#include "platform/TextUtil.h"

namespace qj::sdl {
namespace {

constexpr unsigned kDpi = 96;
constexpr size_t kOpenFontLimit = 32;

struct TFace {
  std::string File;
  int Index = 0;
  bool SyntheticBold = false;  // bold asked for, but the family has no bold face
};

struct TFontCloser {
  void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};

struct TOpenFont {
  std::string File;
  int Index = 0;
  int Size = 0;
  bool Bold = false;
  std::unique_ptr<TTF_Font, TFontCloser> Font;
};

// The best installed face for a family, as fontconfig's substitution rules pick it.
bool MatchFace(const std::string& family, bool bold, TFace& face) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* file = nullptr;
  int weight = FC_WEIGHT_REGULAR;
  const bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (ok) {
    face.File = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &face.Index) != FcResultMatch) face.Index = 0;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    face.SyntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
  }
  FcPatternDestroy(match);
  return ok;
}

class TSdlFontRasterizer : public IFontRasterizer {
 public:
  // Fontconfig keeps its caches behind encoded pointers that leak checkers cannot follow;
  // handing them back keeps sanitizer runs clean. Nothing else in the process uses fontconfig.
  ~TSdlFontRasterizer() override {
    FOpen.clear();
    FcFini();
  }

  bool Measure(const TFontChoice& font, const std::string& text, int& width, int& height) override {
    TTF_Font* f = Open(font);
    if (!f) return false;
    width = 0;
    if (!text.empty() && TTF_SizeUTF8(f, text.c_str(), &width, nullptr) != 0) return false;
    height = TTF_FontHeight(f);
    return true;
  }

  // Screens draw the same short texts frame after frame: the last one rendered is kept.
  bool Render(const TFontChoice& font, const std::string& text, TGlyphMask& out) override {
    TTF_Font* f = Open(font);
    if (!f) return false;
    if (f != FLastFont || text != FLastText) {
      FLastFont = nullptr;
      if (!Rasterize(f, text, FLastMask)) return false;
      FLastFont = f;
      FLastText = text;
    }
    out = FLastMask;
    return true;
  }

  bool AddFontFile(const std::string& path) override {
    if (!FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(path.c_str()))) return false;
    FFaces.clear();  // a name that fell back to another family may now have its own
    return true;
  }

 private:
  static bool Rasterize(TTF_Font* f, const std::string& text, TGlyphMask& out) {
    int width = 0;
    if (!text.empty() && TTF_SizeUTF8(f, text.c_str(), &width, nullptr) != 0) return false;
    out.Width = width;
    out.Height = TTF_FontHeight(f);
    out.Coverage.assign(size_t(width) * size_t(out.Height), 0);
    if (width == 0) return true;
    SDL_Surface* s = TTF_RenderUTF8_Blended(f, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (!s) return false;
    CopyAlpha(*s, out);
    SDL_FreeSurface(s);
    return true;
  }

  // The blended surface is 32-bit with alpha; its alpha channel is the coverage.
  static void CopyAlpha(const SDL_Surface& s, TGlyphMask& out) {
    const SDL_PixelFormat& f = *s.format;
    if (f.BytesPerPixel != 4 || f.Amask == 0) return;
    const int w = std::min(s.w, out.Width), h = std::min(s.h, out.Height);
    for (int y = 0; y < h; ++y) {
      const auto* src = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s.pixels) + size_t(y) * size_t(s.pitch));
      uint8_t* dst = out.Coverage.data() + size_t(y) * size_t(out.Width);
      for (int x = 0; x < w; ++x) dst[x] = uint8_t((src[x] & f.Amask) >> f.Ashift);
    }
  }

  const TFace* Resolve(const std::string& name, bool bold) {
    const auto key = std::make_pair(Lower(name), bold);
    auto it = FFaces.find(key);
    if (it == FFaces.end()) {
      TFace face;
      if (!MatchFace(name, bold, face)) return nullptr;
      it = FFaces.emplace(key, std::move(face)).first;
    }
    return &it->second;
  }

  // Opened fonts are kept, most recently used first, up to kOpenFontLimit.
  TTF_Font* Open(const TFontChoice& font) {
    const TFace* face = Resolve(font.Name, font.Bold);
    if (!face) return nullptr;
    const int size = std::clamp(std::abs(font.Size), 1, 500);
    for (auto it = FOpen.begin(); it != FOpen.end(); ++it) {
      if (it->File != face->File || it->Index != face->Index || it->Size != size || it->Bold != font.Bold) continue;
      FOpen.splice(FOpen.begin(), FOpen, it);
      return FOpen.front().Font.get();
    }
    TTF_Font* f = TTF_OpenFontIndexDPI(face->File.c_str(), size, face->Index, kDpi, kDpi);
    if (!f) return nullptr;
    if (face->SyntheticBold) TTF_SetFontStyle(f, TTF_STYLE_BOLD);
    FOpen.push_front({face->File, face->Index, size, font.Bold, std::unique_ptr<TTF_Font, TFontCloser>(f)});
    if (FOpen.size() > kOpenFontLimit) {
      if (FOpen.back().Font.get() == FLastFont) FLastFont = nullptr;
      FOpen.pop_back();
    }
    return f;
  }

  std::map<std::pair<std::string, bool>, TFace> FFaces;
  std::list<TOpenFont> FOpen;
  TTF_Font* FLastFont = nullptr;  // of the last text rendered; null when none is kept
  std::string FLastText;
  TGlyphMask FLastMask;
};

}  // namespace

bool InitFontRasterizer() {
  if (FontRasterizer()) return true;
  if (!TTF_WasInit() && TTF_Init() != 0) return false;
  if (!FcInit()) return false;
  SetFontRasterizer(std::make_unique<TSdlFontRasterizer>());
  return true;
}

bool AddFontFile(const std::string& path) {
  IFontRasterizer* r = FontRasterizer();
  return r && r->AddFontFile(path);
}

}  // namespace qj::sdl
