#include "canvas.h"

#include "platform/media/media.h"
#include "platform/surface.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <map>
#include <memory>
#include <utility>

namespace content {

void Canvas::Blend(int x, int y, Rgb c, float a) {
  if (!Inside(x, y)) return;
  Layer(At(x, y), c, std::clamp(a, 0.f, 1.f));
}

void Canvas::Put(const Canvas& src, int x, int y) {
  for (int j = 0; j < src.H(); ++j)
    for (int i = 0; i < src.W(); ++i)
      if (Inside(x + i, y + j)) At(x + i, y + j) = src.At(i, j);
}

void Canvas::Over(const Canvas& src, int x, int y, float opacity) {
  for (int j = 0; j < src.H(); ++j)
    for (int i = 0; i < src.W(); ++i) {
      const Rgba& s = src.At(i, j);
      Blend(x + i, y + j, s.c, s.a * opacity);
    }
}

Canvas Render(int w, int h, const Scene& scene, int ss) {
  Canvas out(w, h, {}, 0.f);
  float inv = 1.f / static_cast<float>(ss * ss);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int j = 0; j < ss; ++j)
        for (int i = 0; i < ss; ++i) {
          Vec p{x + (i + 0.5f) / ss, y + (j + 0.5f) / ss};
          Rgba s = scene(p);
          // Accumulate premultiplied so partially covered samples weigh by their coverage.
          r += s.c.r * s.a;
          g += s.c.g * s.a;
          b += s.c.b * s.a;
          a += s.a;
        }
      Rgba& o = out.At(x, y);
      o.a = a * inv;
      if (a > 0) o.c = {r / a, g / a, b / a};
    }
  return out;
}

Sprite MakeSprite(const Canvas& rendered, float threshold, Rgb rim) {
  Sprite s{Canvas(rendered.W(), rendered.H(), {0, 0, 0}), Canvas(rendered.W(), rendered.H(), {1, 1, 1})};
  for (int y = 0; y < rendered.H(); ++y)
    for (int x = 0; x < rendered.W(); ++x) {
      const Rgba& p = rendered.At(x, y);
      if (p.a < threshold) continue;
      // Partly covered edge pixels darken toward the rim colour: the anti-aliased edge becomes
      // a thin outline that reads on any ground instead of a fringe of the wrong colour.
      float edge = std::clamp((1.f - p.a) / (1.f - threshold), 0.f, 1.f);
      Rgb c = Mix(p.c, rim, edge * 0.6f);
      // Pure black would be see-through after SRCPAINT only in theory, but keep opaque pixels
      // slightly above black so the image is never mistaken for background.
      c.r = std::max(c.r, 0.02f);
      c.g = std::max(c.g, 0.02f);
      c.b = std::max(c.b, 0.02f);
      s.image.At(x, y) = {c, 1};
      s.mask.At(x, y) = {{0, 0, 0}, 1};
    }
  return s;
}

// ---- Text ------------------------------------------------------------------------------------

namespace {

const char* FontFile(Face f) {
  switch (f) {
    case Face::Sans:
      return "LiberationSans-Regular.ttf";
    case Face::SansBold:
      return "LiberationSans-Bold.ttf";
    case Face::Mono:
      return "LiberationMono-Regular.ttf";
    case Face::MonoBold:
      return "LiberationMono-Bold.ttf";
    case Face::Narrow:
      return "LiberationSansNarrow-Regular.ttf";
    case Face::NarrowBold:
      return "LiberationSansNarrow-Bold.ttf";
  }
  return "LiberationSans-Regular.ttf";
}

struct FontCache {
  bool initialised = false;
  std::map<std::pair<int, int>, TTF_Font*> fonts;
  ~FontCache() {
    for (auto& [k, f] : fonts)
      if (f) TTF_CloseFont(f);
    if (initialised) TTF_Quit();
  }
  TTF_Font* Get(Face face, int pt) {
    if (!initialised) {
      if (TTF_Init() != 0) return nullptr;
      initialised = true;
    }
    auto key = std::make_pair(static_cast<int>(face), pt);
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    std::string path = std::string("/usr/share/fonts/truetype/liberation/") + FontFile(face);
    TTF_Font* f = TTF_OpenFontDPI(path.c_str(), pt, 96, 96);
    if (!f && (face == Face::Narrow || face == Face::NarrowBold)) {
      path = std::string("/usr/share/fonts/truetype/liberation/") +
             FontFile(face == Face::Narrow ? Face::Sans : Face::SansBold);
      f = TTF_OpenFontDPI(path.c_str(), pt, 96, 96);
    }
    if (f) TTF_SetFontHinting(f, TTF_HINTING_LIGHT);
    fonts[key] = f;
    return f;
  }
};

FontCache& Fonts() {
  static FontCache cache;
  return cache;
}

}  // namespace

bool FontsReady() { return Fonts().Get(Face::Sans, 10) != nullptr; }

Canvas TextMask(const std::string& text, Face face, int pointSize) {
  TTF_Font* f = Fonts().Get(face, pointSize);
  if (!f || text.empty()) return {};
  SDL_Surface* s = TTF_RenderUTF8_Blended(f, text.c_str(), SDL_Color{255, 255, 255, 255});
  if (!s) return {};
  SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ABGR8888, 0);
  SDL_FreeSurface(s);
  if (!c) return {};
  Canvas out(c->w, c->h, {1, 1, 1}, 0.f);
  for (int y = 0; y < c->h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(c->pixels) + y * c->pitch;
    for (int x = 0; x < c->w; ++x) out.At(x, y).a = row[x * 4 + 3] / 255.f;
  }
  SDL_FreeSurface(c);
  return out;
}

void DrawText(Canvas& dst, const std::string& text, Face face, int pointSize, int x, int y, Rgb c,
              float opacity) {
  Canvas m = TextMask(text, face, pointSize);
  for (int j = 0; j < m.H(); ++j)
    for (int i = 0; i < m.W(); ++i) dst.Blend(x + i, y + j, c, m.At(i, j).a * opacity);
}

int TextWidth(const std::string& text, Face face, int pointSize) {
  TTF_Font* f = Fonts().Get(face, pointSize);
  int w = 0, h = 0;
  if (!f || TTF_SizeUTF8(f, text.c_str(), &w, &h) != 0) return 0;
  return w;
}

// ---- Files -----------------------------------------------------------------------------------

bool WriteJpeg(const Canvas& img, const std::filesystem::path& file, int quality) {
  if (img.W() <= 0 || img.H() <= 0) return false;
  // The game's own writer: full-resolution colour, so masks and sprite edges do not bleed.
  vorlan::Surface out(img.W(), img.H());
  for (int y = 0; y < img.H(); ++y) {
    vorlan::Color* row = out.Row(y);
    for (int x = 0; x < img.W(); ++x) {
      const Rgba& p = img.At(x, y);
      row[x] = vorlan::Rgb(Byte(p.c.r), Byte(p.c.g), Byte(p.c.b));
    }
  }
  return vorlan::SaveJpegFile(out, file, quality);
}

bool WritePng(const Canvas& img, const std::filesystem::path& file, bool withAlpha) {
  const int bytes = withAlpha ? 4 : 3;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, img.W(), img.H(), bytes * 8,
                                                  withAlpha ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24);
  if (!s) return false;
  for (int y = 0; y < img.H(); ++y) {
    uint8_t* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < img.W(); ++x) {
      const Rgba& p = img.At(x, y);
      uint8_t* px = row + x * bytes;
      px[0] = Byte(p.c.r);
      px[1] = Byte(p.c.g);
      px[2] = Byte(p.c.b);
      if (withAlpha) px[3] = Byte(p.a);
    }
  }
  bool ok = IMG_SavePNG(s, file.c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

}  // namespace content
