// Pictures and fonts on disk: decoding through SDL2_image, BMP through SDL, JPEG encoding through
// libjpeg (so chroma subsampling can be turned off and masks stay pure black and white), and the
// TrueType text renderer over SDL2_ttf. Needs no window.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#ifndef _WIN32
#include <fontconfig/fontconfig.h>
#endif

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <list>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

extern "C" {
#include <jpeglib.h>
}

#include "platform/files.h"
#include "platform/media/media.h"
#include "platform/os_files.h"

namespace vorlan {

namespace {

// Pictures larger than this are refused before decoding rather than exhausting memory: the
// largest game picture has a quarter of a million pixels.
constexpr int kMaxPictureSide = 4096;
constexpr long long kMaxPicturePixels = 4LL * 1024 * 1024;

SDL_Surface* WrapSurface(const Surface& s) {
  // Our pixels are 0x00BBGGRR words, which SDL calls XBGR8888.
  return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Color*>(s.Pixels().data()), s.Width(), s.Height(), 32,
                                            s.Width() * 4, SDL_PIXELFORMAT_XBGR8888);
}

}  // namespace

bool LoadPictureFile(const std::filesystem::path& file, Surface& into) {
  int w = 0, h = 0;
  if (!PictureFileSize(file, w, h) || w > kMaxPictureSide || h > kMaxPictureSide ||
      static_cast<long long>(w) * h > kMaxPicturePixels)
    return false;
  SDL_Surface* loaded = IMG_Load(os::Utf8Path(file).c_str());
  if (!loaded) return false;
  bool ok = false;
  if (loaded->w > 0 && loaded->h > 0 && static_cast<long long>(loaded->w) * loaded->h <= kMaxPicturePixels) {
    SDL_Surface* conv = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
    if (conv) {
      into.Resize(conv->w, conv->h);
      if (SDL_LockSurface(conv) == 0) {
        for (int y = 0; y < conv->h; ++y) {
          const auto* row =
              reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(conv->pixels) + y * conv->pitch);
          Color* d = into.Row(y);
          for (int x = 0; x < conv->w; ++x) d[x] = row[x] & 0xFFFFFFu;
        }
        SDL_UnlockSurface(conv);
        ok = true;
      }
      SDL_FreeSurface(conv);
    }
  }
  SDL_FreeSurface(loaded);
  return ok;
}

bool SaveBmpFile(const Surface& s, const std::filesystem::path& file) {
  if (s.Empty()) return false;
  SDL_Surface* wrap = WrapSurface(s);
  if (!wrap) return false;
  // 24-bit BGR rows, as every picture viewer expects of a BMP.
  SDL_Surface* bgr = SDL_ConvertSurfaceFormat(wrap, SDL_PIXELFORMAT_BGR24, 0);
  SDL_FreeSurface(wrap);
  if (!bgr) return false;
  AtomicFile out(file);
  SDL_RWops* rw = out.Stream() ? SDL_RWFromFP(out.Stream(), SDL_FALSE) : nullptr;
  bool ok = rw && SDL_SaveBMP_RW(bgr, rw, 1) == 0;
  SDL_FreeSurface(bgr);
  return ok && out.Commit();
}

namespace {
struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};
void JpegFail(j_common_ptr info) {
  // libjpeg's own handler would end the process; come back to the caller instead.
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
void JpegQuiet(j_common_ptr, int) {}

uint32_t Le(const unsigned char* p, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// A BMP's size from its file and info headers (the old 12-byte core header or a later one).
bool BmpSize(std::FILE* f, int& w, int& h) {
  unsigned char b[26];
  if (std::fread(b, 1, sizeof b, f) != sizeof b || b[0] != 'B' || b[1] != 'M') return false;
  if (Le(b + 14, 4) == 12) {
    w = static_cast<int>(Le(b + 18, 2));
    h = static_cast<int>(Le(b + 20, 2));
  } else {
    w = static_cast<int32_t>(Le(b + 18, 4));
    int32_t rows = static_cast<int32_t>(Le(b + 22, 4));
    if (rows == INT32_MIN) return false;
    h = rows < 0 ? -rows : rows;  // negative: rows stored top down
  }
  return w > 0 && h > 0;
}

// A JPEG's size from its frame header; libjpeg reads only the markers before the image data.
bool JpegSize(std::FILE* f, int& w, int& h) {
  jpeg_decompress_struct info{};
  JpegError err{};
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegFail;
  err.mgr.emit_message = JpegQuiet;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, f);
  bool ok = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK && info.image_width > 0 &&
            info.image_height > 0 && info.image_width <= INT32_MAX && info.image_height <= INT32_MAX;
  w = static_cast<int>(info.image_width);
  h = static_cast<int>(info.image_height);
  jpeg_destroy_decompress(&info);
  return ok;
}
}  // namespace

bool PictureFileSize(const std::filesystem::path& file, int& w, int& h) {
  w = h = 0;
  std::FILE* f = os::OpenStream(file, "rb");
  if (!f) return false;
  unsigned char magic[2] = {};
  bool ok = std::fread(magic, 1, 2, f) == 2 && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok && magic[0] == 'B' && magic[1] == 'M')
    ok = BmpSize(f, w, h);
  else if (ok && magic[0] == 0xFF && magic[1] == 0xD8)
    ok = JpegSize(f, w, h);
  else
    ok = false;
  std::fclose(f);
  return ok;
}

bool SaveJpegFile(const Surface& s, const std::filesystem::path& file, int quality) {
  if (s.Empty()) return false;
  quality = quality < 1 ? 1 : quality > 100 ? 100 : quality;
  AtomicFile out(file);
  if (!out.Stream()) return false;
  std::vector<uint8_t> row(static_cast<size_t>(s.Width()) * 3);
  jpeg_compress_struct info{};
  JpegError err{};
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegFail;
  err.mgr.emit_message = JpegQuiet;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out.Stream());
  info.image_width = static_cast<JDIMENSION>(s.Width());
  info.image_height = static_cast<JDIMENSION>(s.Height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const Color* p = s.Row(static_cast<int>(info.next_scanline));
    for (int x = 0; x < s.Width(); ++x) {
      row[3 * x] = static_cast<uint8_t>(RedOf(p[x]));
      row[3 * x + 1] = static_cast<uint8_t>(GreenOf(p[x]));
      row[3 * x + 2] = static_cast<uint8_t>(BlueOf(p[x]));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return out.Commit();
}

namespace {

#ifdef _WIN32
// Windows has no Liberation fonts: the game ships them in Fonts/ beside the executable.
std::filesystem::path LocateFonts() {
  std::filesystem::path folder = "Fonts";
  if (char* base = SDL_GetBasePath()) {
    folder = std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(base))) / "Fonts";
    SDL_free(base);
  }
  return folder;
}
#else
// Where Debian puts the Liberation fonts; used when fontconfig does not know them.
constexpr const char* kFallbackFontDir = "/usr/share/fonts/truetype/liberation";

// The folder of the Liberation fonts as fontconfig knows it. Only a match that really is
// Liberation Sans counts: fontconfig offers a stand-in family when the font is missing. A
// configuration of our own, dropped after the question, leaves fontconfig's global state alone.
std::filesystem::path LocateFonts() {
  std::filesystem::path folder = kFallbackFontDir;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return folder;
  if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans"))) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
      std::filesystem::path found(reinterpret_cast<const char*>(file));
      if (found.filename().string().rfind("LiberationSans-", 0) == 0) folder = found.parent_path();
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return folder;
}
#endif

// Asked once a run: fonts do not move while the game runs.
const std::filesystem::path& FontFolder() {
  static const std::filesystem::path folder = LocateFonts();
  return folder;
}

// Font pixel size for a point size at 96 dpi, rounded as the desktop does (half up).
int PixelSize(int points) { return (points * 96 + 36) / 72; }

// Fonts and rendered lines are cached; only the game thread draws text, so the caches need no lock.
class TtfRenderer : public TextRenderer {
 public:
  TtfRenderer() { ttfOk_ = TTF_WasInit() > 0 || TTF_Init() == 0; }
  ~TtfRenderer() override {
    for (auto& f : fonts_)
      if (f.second) TTF_CloseFont(f.second);
    // TTF_Quit is left out: another renderer of the same process may still use the library.
  }

  TextMask Render(std::string_view utf8, FontFace face, int points, bool bold) const override {
    return RenderNew(utf8, face, points, bold);
  }

  const TextMask& RenderCached(std::string_view utf8, FontFace face, int points, bool bold) const override {
    key_.assign(utf8);
    key_ += '\0';
    key_ += static_cast<char>(face == FontFace::Mono ? 'm' : 's');
    key_ += bold ? 'b' : 'r';
    key_ += std::to_string(points);
    auto it = cache_.find(key_);
    if (it != cache_.end()) {
      lru_.splice(lru_.begin(), lru_, it->second);
      return it->second->second;
    }
    if (cache_.size() >= kCacheSize) {
      cache_.erase(lru_.back().first);
      lru_.pop_back();
    }
    lru_.emplace_front(key_, RenderNew(utf8, face, points, bold));
    cache_.emplace(key_, lru_.begin());
    return lru_.front().second;
  }

 private:
  static constexpr size_t kCacheSize = 256;

  TTF_Font* FontFor(FontFace face, int points, bool bold) const {
    if (!ttfOk_) return nullptr;
    points = points < 1 ? 1 : points > 200 ? 200 : points;
    auto key = std::make_tuple(face, points, bold);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    std::string name = face == FontFace::Mono ? "LiberationMono-" : "LiberationSans-";
    name += bold ? "Bold.ttf" : "Regular.ttf";
    TTF_Font* font = TTF_OpenFont(os::Utf8Path(FontFolder() / name).c_str(), PixelSize(points));
    fonts_.emplace(key, font);  // a failure is remembered too: no retry every frame
    return font;
  }

  TextMask RenderNew(std::string_view utf8, FontFace face, int points, bool bold) const {
    TextMask m;
    TTF_Font* font = FontFor(face, points, bold);
    if (!font || utf8.empty()) return m;
    std::string text(utf8);
    int w = 0, h = 0;
    if (TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return m;
    h = TTF_FontHeight(font);
    SDL_Color white{255, 255, 255, 255};
    SDL_Surface* drawn = TTF_RenderUTF8_Blended(font, text.c_str(), white);
    if (drawn) {
      w = std::max(w, drawn->w);
      h = std::max(h, drawn->h);
    }
    if (w <= 0 || h <= 0) {
      if (drawn) SDL_FreeSurface(drawn);
      return m;
    }
    m.width = w;
    m.height = h;
    m.coverage.assign(static_cast<size_t>(w) * h, 0);
    if (drawn) {
      SDL_Surface* argb = SDL_ConvertSurfaceFormat(drawn, SDL_PIXELFORMAT_ARGB8888, 0);
      if (argb && SDL_LockSurface(argb) == 0) {
        for (int y = 0; y < argb->h; ++y) {
          const auto* row =
              reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
          for (int x = 0; x < argb->w; ++x)
            m.coverage[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(row[x] >> 24);
        }
        SDL_UnlockSurface(argb);
      }
      if (argb) SDL_FreeSurface(argb);
      SDL_FreeSurface(drawn);
    }
    return m;
  }

  bool ttfOk_ = false;
  mutable std::map<std::tuple<FontFace, int, bool>, TTF_Font*> fonts_;
  using Entry = std::pair<std::string, TextMask>;
  mutable std::list<Entry> lru_;
  mutable std::unordered_map<std::string, std::list<Entry>::iterator> cache_;
  mutable std::string key_;
};

}  // namespace

std::unique_ptr<TextRenderer> MakeTextRenderer() { return std::make_unique<TtfRenderer>(); }

}  // namespace vorlan
