// Widget images. Pieces that the game stretches are drawn uniform along the stretch.
#include "tools/datagen/Controls.h"

#include <numbers>

#include "tools/datagen/Glyphs.h"

namespace qj::datagen {

static float Luma(const TColor& c) { return 0.3f * c.R + 0.59f * c.G + 0.11f * c.B; }

TColor Matte(const TThemeArt& t) { return Shade(t.BodyDark, -0.4f); }

// Surface colour of the theme's material at (x, y) of a face spanning rows y0..y1.
static TColor Material(const TThemeArt& t, float x, float y, float y0, float y1, float press, bool vertical) {
  float v = Clamp01((y - y0) / std::max(1.f, y1 - y0));
  TColor base = Mix(Mix(t.BodyLight, t.Body, v), Shade(Mix(t.Body, t.BodyLight, v * 0.6f), -0.12f), press);
  if (t.Grain > 0) base = Shade(base, (vertical ? WoodGrain(y, x, 11) : WoodGrain(x, y, 11)) * 0.07f * t.Grain);
  if (t.Gloss > 0 && v < 0.47f) base = Shade(base, t.Gloss * (0.35f - v * 0.4f) * (1 - press));
  return base;
}

void DrawPanel(TRaster& r, float l, float tp, float rt, float b, float rad, const TThemeArt& t, float press,
               TColor tint) {
  TBox box{int(l) - 2, int(tp) - 2, int(rt) + 3, int(b) + 3};
  auto rim = [&](float x, float y) { return SdRoundRect(x, y, l, tp, rt, b, rad); };
  FillSdf(r, box, rim, [&](float, float, float) { return t.BodyDark; });
  auto face = [&](float x, float y) { return SdRoundRect(x, y, l + 1, tp + 1, rt - 1, b - 1, std::max(1.f, rad - 1)); };
  float bevel = std::max(2.f, (b - tp) * 0.14f);
  FillSdf(r, box, face, [&](float x, float y, float d) {
    TColor c = Material(t, x, y, tp, b, press, false);
    if (tint.A > 0) c = Mix(c, WithAlpha(tint, 1), tint.A);
    float light = BevelLight(face, x, y, d, bevel, 0.45f);
    return Shade(c, press > 0.5f ? -light * 0.8f : light);
  });
}

static TMyDib Keyed(const TRaster& r, const TThemeArt& t) { return ToKeyedDib(r, Matte(t)); }

static std::vector<TMyDib> ButtonFrames(const TThemeArt& t) {
  std::vector<TMyDib> frames;
  const int w = 130, h = 26, n = 4;
  for (int i = 0; i < n; ++i) {
    TRaster r(w, h);
    float p = float(i) / (n - 1);
    DrawPanel(r, 1 + p * 0.6f, 1 + p, w - 1 - p * 0.6f, h - 1, 9, t, p, WithAlpha(t.Accent, 0.12f * p));
    frames.push_back(Keyed(r, t));
  }
  return frames;
}

// A speech bubble whose tail points down at the control: near the right end for a box left of
// its control, near the left end for a box right of it.
static TMyDib HintBox(const TThemeArt& t, int w, bool leftSide) {
  const int h = 60, body = 46;
  TRaster r(w, h);
  float tx = leftSide ? w * 0.86f : w * 0.14f;
  std::vector<float> tail{tx - 9, float(body - 6), tx + 9, float(body - 6), tx + (leftSide ? 10.f : -10.f),
                          float(h - 2)};
  auto sdf = [&](float x, float y) {
    return std::min(SdRoundRect(x, y, 1, 1, float(w - 1), float(body), 12), SdPolygon(x, y, tail.data(), 3));
  };
  FillSdf(r, sdf, [&](float, float, float) { return Shade(t.BodyDark, 0.1f); });
  auto inner = [&](float x, float y) { return sdf(x, y) + 1.5f; };
  FillSdf(r, inner, [&](float x, float y, float d) {
    TColor c = Mix(Shade(t.Hint, 0.5f), Shade(t.Hint, -0.06f), Clamp01(y / body));
    return Shade(c, BevelLight(inner, x, y, d, 4, 0.25f));
  });
  return ToKeyedDib(r, Shade(t.BodyDark, 0.1f));
}

static std::vector<TMyDib> Hints(const TThemeArt& t) {
  std::vector<TMyDib> hints;
  for (bool left : {true, false})
    for (int w : {170, 280, 420}) hints.push_back(HintBox(t, w, left));
  return hints;
}

struct TFrameGeometry {
  int W, H, Title, Border, Corner, Radius;
};

static std::vector<TRect> FrameRects(const TFrameGeometry& g) {
  const int W = g.W, H = g.H, th = g.Title, bw = g.Border, c = g.Corner;
  return {
      {0, 0, c, th},              {c, 0, W - c, th},          {W - c, 0, W, th},
      {0, th, bw, H - c},         {W - bw, th, W, H - c},     {0, H - c, c, H},
      {c, H - bw, W - c, H},      {W - c, H - c, W, H},       {bw, th, W - bw, H - bw},
      {c, 0, W - c, th},
  };
}

static TMyDib WindowFrame(const TThemeArt& t, const TFrameGeometry& g, bool active) {
  TRaster r(g.W, g.H);
  const float W = float(g.W), H = float(g.H), th = float(g.Title), bw = float(g.Border);
  auto outer = [&](float x, float y) { return SdRoundRect(x, y, 0, 0, W, H, float(g.Radius)); };
  auto hole = [&](float x, float y) { return SdRoundRect(x, y, bw, th, W - bw, H - bw, 2); };
  auto frame = [&](float x, float y) { return std::max(outer(x, y) + 1, -hole(x, y)); };
  auto rim = [&](float x, float y) { return std::max(outer(x, y), 0.5f - hole(x, y)); };
  FillSdf(r, rim, [&](float, float, float) { return active ? Shade(t.Accent, -0.35f) : t.BodyDark; });
  FillSdf(r, frame, [&](float x, float y, float d) {
    bool side = y > th && y < H - g.Corner;
    TColor c = Material(t, x, y, 0, side ? H : th, 0, side);
    if (y < th) c = Mix(Material(t, x, y, 0, th, 0, false), active ? t.TitleActive : t.Body, 0.5f);
    if (y >= th && !side) c = Material(t, x, y - (H - bw - 4), 0, bw + 4, 0, false);
    return Shade(c, BevelLight(frame, x, y, d, 3, 0.4f));
  });
  // A thin sunken lip around the client area.
  auto lip = [&](float x, float y) { return std::fabs(hole(x, y) + 0.5f) - 0.9f; };
  FillSdf(r, lip, [&](float, float y, float) { return Shade(t.BodyDark, y < th + 2 ? -0.2f : 0.1f); });
  return Keyed(r, t);
}

static TMyDib ClientBackground(const TThemeArt& t) {
  TRaster r(64, 64);
  FillSdf(r, [](float, float) { return -10.f; }, [&](float x, float y, float) {
    float glow = Clamp01(1 - std::hypot((x - 32) / 48, (y - 8) / 70));
    return Shade(Mix(t.Client, t.ClientDeep, y / 64), glow * 0.12f);
  });
  return ToOpaqueDib(r, t.Client);
}

static TWindowStyleArt WindowStyle(const TThemeArt& t, const TFrameGeometry& g) {
  return {WindowFrame(t, g, false), WindowFrame(t, g, true), ClientBackground(t), FrameRects(g)};
}

// The seven scroll-bar images of height h, drawn horizontally.
static std::vector<TRaster> ScrollBar(const TThemeArt& t, int h) {
  std::vector<TRaster> images;
  const float pi = std::numbers::pi_v<float>;
  for (int i = 0; i < 7; ++i) {
    bool arrow = i == 0 || i == 1 || i == 4 || i == 5, thumb = i == 3 || i == 6;
    int w = arrow ? h : (thumb ? h * 3 / 2 + 4 : 32);
    TRaster r(w, h);
    if (arrow) {
      float press = i >= 4 ? 1.f : 0.f;
      DrawPanel(r, 1, 1, w - 1.f, h - 1.f, h * 0.28f, t, press);
      float off = press;
      DrawGlyph(r, EGlyph::ArrowLeft, w / 2.f + off, h / 2.f + off, h * 0.26f, t.Icon, Shade(t.Icon, -0.15f), 0.4f,
                (i == 1 || i == 5) ? pi : 0);
    } else if (thumb) {
      DrawPanel(r, 1, 2, w - 1.f, h - 2.f, h * 0.3f, t, 0, WithAlpha(t.Accent, i == 6 ? 0.45f : 0.f));
      for (int k = -1; k <= 1; ++k) {
        float x = w / 2.f + k * 4;
        FillSdf(r, [&](float px, float py) { return SdSegment(px, py, x, h * 0.32f, x, h * 0.68f, 0.8f); },
                [&](float, float, float) { return WithAlpha(t.BodyDark, 0.6f); });
      }
    } else {
      FillSdf(r, [&](float, float y) { return std::fabs(y - h / 2.f) - h * 0.3f; }, [&](float, float y, float) {
        float v = (y - h * 0.2f) / (h * 0.6f);
        return Mix(Shade(t.BodyDark, 0.1f), Shade(t.Body, -0.1f), Clamp01(v * 1.6f));
      });
    }
    images.push_back(std::move(r));
  }
  return images;
}

static std::vector<TMyDib> KeyedAll(const std::vector<TRaster>& rasters, const TThemeArt& t, bool transpose) {
  std::vector<TMyDib> out;
  for (const TRaster& r : rasters) out.push_back(Keyed(transpose ? Transposed(r) : r, t));
  return out;
}

// Check box frames: the tick is drawn stroke by stroke as the frames advance.
static std::vector<TMyDib> CheckFrames(const TThemeArt& t) {
  std::vector<TMyDib> frames;
  const int n = 6, s = 20;
  const float ax = 5, ay = 10.5f, bx = 8.5f, by = 14.5f, cx = 15.5f, cy = 5.5f;
  const float l1 = std::hypot(bx - ax, by - ay), l2 = std::hypot(cx - bx, cy - by);
  for (int i = 0; i < n; ++i) {
    TRaster r(s, s);
    float p = float(i) / (n - 1);
    auto box = [&](float x, float y) { return SdRoundRect(x, y, 1, 1, s - 1.f, s - 1.f, 4); };
    FillSdf(r, box, [&](float, float, float) { return t.BodyDark; });
    auto inner = [&](float x, float y) { return box(x, y) + 1.5f; };
    FillSdf(r, inner, [&](float x, float y, float d) {
      TColor c = Mix(Shade(t.Client, -0.08f), Shade(t.Client, 0.3f), y / s);
      c = Mix(c, Shade(t.Accent, 0.55f), 0.35f * p);
      return Shade(c, -BevelLight(inner, x, y, d, 3, 0.35f));
    });
    float len = p * (l1 + l2);
    float t1 = std::min(1.f, len / l1), t2 = Clamp01((len - l1) / l2);
    auto tick = [&](float x, float y) {
      float d = p > 0 ? SdSegment(x, y, ax, ay, ax + (bx - ax) * t1, ay + (by - ay) * t1, 1.6f) : 1e9f;
      return t2 > 0 ? std::min(d, SdSegment(x, y, bx, by, bx + (cx - bx) * t2, by + (cy - by) * t2, 1.6f)) : d;
    };
    float k = Luma(t.Client) > 0.5f ? -0.3f : 0.25f;
    FillSdf(r, tick, [&](float, float y, float) { return Mix(Shade(t.Accent, k), Shade(t.Accent, k - 0.25f), y / s); });
    frames.push_back(Keyed(r, t));
  }
  return frames;
}

static TMyDib TrayTab(const TThemeArt& t, bool open, bool filled) {
  const int w = 46, h = 30;
  TRaster r(w, h);
  auto tab = [&](float x, float y) { return SdRoundRect(x, y, 1, 1, w - 1.f, h + 10.f, 10); };
  FillSdf(r, tab, [&](float, float, float) { return open ? Shade(t.Accent, -0.3f) : t.BodyDark; });
  auto face = [&](float x, float y) { return tab(x, y) + 1.5f; };
  FillSdf(r, face, [&](float x, float y, float d) {
    TColor c = Material(t, x, y, 0, h, 0, false);
    if (open) c = Mix(c, t.TitleActive, 0.55f);
    return Shade(c, BevelLight(face, x, y, d, 3, 0.4f));
  });
  DrawGlyph(r, EGlyph::Tray, filled ? 17 : w / 2.f, h / 2.f + 2, 9, t.Icon, Shade(t.Icon, -0.2f));
  if (filled) DrawGlyph(r, EGlyph::Piece, 34, h / 2.f, 7, Shade(t.Accent, 0.2f), Shade(t.Accent, -0.2f));
  return Keyed(r, t);
}

static TMyDib TitleButton(const TThemeArt& t, EGlyph g) {
  TRaster r(18, 18);
  DrawPanel(r, 1, 1, 17, 17, 5, t, 0);
  DrawGlyph(r, g, 9, 9, 5.5f, t.Icon, Shade(t.Icon, -0.2f), 0.3f);
  return ToKeyedDib(r, Matte(t));
}

TControlArt MakeControlArt(const TThemeArt& t) {
  TControlArt a;
  a.Buttons = ButtonFrames(t);
  a.ButtonText = {8, 3, 122, 22};
  a.Hints = Hints(t);
  a.Large = WindowStyle(t, {256, 192, 28, 8, 18, 10});
  a.Small = WindowStyle(t, {128, 96, 20, 5, 12, 7});
  std::vector<TRaster> large = ScrollBar(t, 22);
  a.HLarge = KeyedAll(large, t, false);
  a.VLarge = KeyedAll(large, t, true);
  a.HSmall = KeyedAll(ScrollBar(t, 16), t, false);
  a.Checks = CheckFrames(t);
  for (int i = 0; i < 4; ++i) a.Trays.push_back(TrayTab(t, i % 2 == 1, i >= 2));
  a.Trays.push_back(TitleButton(t, EGlyph::Minus));
  a.Trays.push_back(TitleButton(t, EGlyph::TrayOut));
  return a;
}

}  // namespace qj::datagen
