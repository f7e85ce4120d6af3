// Picture files: .bmp, .jpg and .ico in, .bmp out.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

// After <cstdio>: the header needs FILE.
#include <jpeglib.h>

#include "runtime/surface.h"
#include "runtime/system.h"

namespace rt {

namespace {

// Pictures beyond this many pixels (2048 by 2048) are refused before anything decodes them, so
// that no picture file can take more than some tens of megabytes; the scene is 640 by 480 and
// the largest picture the game shows is 1280 by 960. Icons are far smaller still.
constexpr long long kMaxPixels = 1LL << 22;
constexpr int kMaxIconSide = 1024;

bool Fits(long long w, long long h, long long most = kMaxPixels) {
  return w > 0 && h > 0 && w * h <= most;
}

PicturePtr FromSdlSurface(SDL_Surface* loaded, bool keepAlpha) {
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
  if (!rgba) return nullptr;
  auto pic = std::make_shared<Picture>();
  pic->width = rgba->w;
  pic->height = rgba->h;
  const size_t n = size_t(rgba->w) * rgba->h;
  pic->pixels.resize(n);
  std::vector<uint8_t> alpha(keepAlpha ? n : 0);
  bool translucent = false;
  SDL_LockSurface(rgba);
  for (int y = 0; y < rgba->h; ++y) {
    // ABGR8888 is one 32-bit word per pixel: A in the top byte, then B, G, R - our colour order.
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgba->pixels) +
                                                        size_t(y) * rgba->pitch);
    for (int x = 0; x < rgba->w; ++x) {
      const uint32_t v = row[x];
      const size_t i = size_t(y) * rgba->w + x;
      pic->pixels[i] = Color(v & 0xFFFFFF);
      if (!keepAlpha) continue;
      alpha[i] = uint8_t(v >> 24);
      translucent |= alpha[i] != 255;
    }
  }
  SDL_UnlockSurface(rgba);
  SDL_FreeSurface(rgba);
  if (keepAlpha && translucent) pic->alpha = std::move(alpha);
  return pic;
}

// Icons and cursors are decoded here: the library's loader drops the alpha channel of
// 32-bit icons. Returns nullptr for anything malformed.
PicturePtr DecodeIcon(const std::string& f) {
  auto u16 = [&](size_t at) { return at + 2 <= f.size() ? uint32_t(uint8_t(f[at]) | uint8_t(f[at + 1]) << 8) : 0u; };
  auto u32 = [&](size_t at) { return at + 4 <= f.size() ? u16(at) | u16(at + 2) << 16 : 0u; };
  const uint32_t count = u16(4);
  if (f.size() < 6 || u16(0) != 0 || (u16(2) != 1 && u16(2) != 2) || count == 0) return nullptr;
  // The largest image, and of equal sizes the one with most colours.
  size_t best = 0;
  long long bestScore = -1;
  for (uint32_t i = 0; i < count && 6 + 16 * (i + 1) <= f.size(); ++i) {
    const size_t e = 6 + 16 * size_t(i);
    const int w = uint8_t(f[e]) ? uint8_t(f[e]) : 256, h = uint8_t(f[e + 1]) ? uint8_t(f[e + 1]) : 256;
    const long long score = (long long)w * h * 64 + (u16(e + 2) == 2 ? 0 : u16(e + 6));
    if (score > bestScore) bestScore = score, best = e;
  }
  if (bestScore < 0) return nullptr;
  const size_t size = u32(best + 8), at = u32(best + 12);
  if (at >= f.size() || size > f.size() - at) return nullptr;

  if (f.compare(at, 4, "\x89PNG") == 0) {  // newer icons hold a PNG image
    // Its size is in the header chunk that must come first; checked before anything decodes.
    auto be32 = [&](size_t p) {
      uint32_t v = 0;
      for (size_t i = 0; i < 4; ++i) v = v << 8 | uint8_t(f[p + i]);
      return v;
    };
    if (size < 24 || f.compare(at + 12, 4, "IHDR") != 0) return nullptr;
    const long long pw = be32(at + 16), ph = be32(at + 20);
    if (pw > kMaxIconSide || ph > kMaxIconSide || !Fits(pw, ph)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(f.data() + at, int(size));
    SDL_Surface* png = rw ? IMG_LoadPNG_RW(rw) : nullptr;
    if (rw) SDL_RWclose(rw);
    if (!png) return nullptr;
    PicturePtr pic = png->w == pw && png->h == ph ? FromSdlSurface(png, true) : nullptr;
    SDL_FreeSurface(png);
    return pic;
  }
  const uint32_t hdr = u32(at);
  const int w = int(u32(at + 4)), h2 = int(u32(at + 8)), bpp = int(u16(at + 14));
  if (hdr < 40 || u32(at + 16) != 0 || w <= 0 || w > kMaxIconSide || h2 <= 0 || h2 > 2 * kMaxIconSide)
    return nullptr;
  const int h = h2 / 2;
  if (h <= 0 || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)) return nullptr;
  uint32_t colors = u32(at + 32);
  if (bpp <= 8 && (colors == 0 || colors > (1u << bpp))) colors = 1u << bpp;
  if (bpp > 8) colors = 0;
  const size_t palette = at + hdr;
  const size_t xorAt = palette + 4 * size_t(colors);
  const size_t xorRow = (size_t(w) * bpp + 31) / 32 * 4, andRow = (size_t(w) + 31) / 32 * 4;
  const size_t andAt = xorAt + xorRow * h;
  if (andAt > at + size || andAt > f.size()) return nullptr;
  const bool hasMask = andAt + andRow * h <= f.size();

  auto pic = std::make_shared<Picture>();
  pic->width = w;
  pic->height = h;
  pic->pixels.resize(size_t(w) * h);
  pic->alpha.assign(size_t(w) * h, 255);
  bool anyAlpha = false;
  for (int y = 0; y < h; ++y) {
    const size_t row = xorAt + xorRow * size_t(h - 1 - y);  // rows are stored bottom-up
    for (int x = 0; x < w; ++x) {
      uint32_t bgr = 0, a = 255;
      if (bpp == 32) {
        const uint32_t v = u32(row + 4 * size_t(x));
        bgr = v & 0xFFFFFF;
        a = v >> 24;
        anyAlpha |= a != 0;
      } else if (bpp == 24) {
        bgr = u16(row + 3 * size_t(x)) | uint32_t(uint8_t(f[row + 3 * size_t(x) + 2])) << 16;
      } else {
        const size_t bit = size_t(x) * bpp;
        const int byte = uint8_t(f[row + bit / 8]);
        const uint32_t index = (byte >> (8 - bpp - int(bit % 8))) & ((1 << bpp) - 1);
        bgr = index < colors ? u32(palette + 4 * index) & 0xFFFFFF : 0;
      }
      const size_t i = size_t(y) * w + x;
      // Files keep blue, green, red from the lowest byte; colours are red first.
      pic->pixels[i] = Color(((bgr & 255) << 16) | (bgr & 0xFF00) | (bgr >> 16));
      pic->alpha[i] = uint8_t(a);
    }
  }
  if (!anyAlpha) {  // no alpha channel in use: the mask says which pixels are transparent
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const size_t i = size_t(y) * w + x;
        pic->alpha[i] = 255;
        if (hasMask && (uint8_t(f[andAt + andRow * size_t(h - 1 - y) + size_t(x) / 8]) >> (7 - x % 8)) & 1)
          pic->alpha[i] = 0;
      }
  }
  if (std::all_of(pic->alpha.begin(), pic->alpha.end(), [](uint8_t v) { return v == 255; }))
    pic->alpha.clear();
  return pic;
}

bool IsIcon(const std::string& f) {
  return f.size() >= 4 && f[0] == 0 && f[1] == 0 && (f[2] == 1 || f[2] == 2) && f[3] == 0;
}
bool IsBmp(const std::string& f) { return f.size() >= 26 && f[0] == 'B' && f[1] == 'M'; }
bool IsJpeg(const std::string& f) {
  return f.size() >= 3 && uint8_t(f[0]) == 0xFF && uint8_t(f[1]) == 0xD8 && uint8_t(f[2]) == 0xFF;
}

// The size a .bmp header gives, read as the decoder reads it: 16-bit fields in the old
// 12-byte header, else 32-bit ones with a negative height for top-down rows.
PicturePtr DecodeBmp(const std::string& f) {
  auto le = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | uint8_t(f[at + size_t(i)]);
    return v;
  };
  long long w, h;
  if (le(14, 4) == 12) {
    w = le(18, 2), h = le(20, 2);
  } else {
    w = int32_t(le(18, 4)), h = std::llabs(int32_t(le(22, 4)));
  }
  if (!Fits(w, h)) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(f.data(), int(f.size()));
  SDL_Surface* loaded = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (!loaded) return nullptr;
  PicturePtr pic = Fits(loaded->w, loaded->h) ? FromSdlSurface(loaded, false) : nullptr;
  SDL_FreeSurface(loaded);
  return pic;
}

// libjpeg reports fatal errors through a jump back to the decoder and warnings (damaged data,
// which still decodes) to nobody.
struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf back;
};
void JpegFail(j_common_ptr c) { longjmp(reinterpret_cast<JpegError*>(c->err)->back, 1); }
void JpegQuiet(j_common_ptr) {}

// The size comes from the decoder's own header read, so it is the size it will decode.
PicturePtr DecodeJpeg(const std::string& f) {
  jpeg_decompress_struct cinfo{};
  JpegError err{};
  auto pic = std::make_shared<Picture>();
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegFail;
  err.mgr.output_message = JpegQuiet;
  if (setjmp(err.back)) {
    jpeg_destroy_decompress(&cinfo);
    return nullptr;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = 64L << 20;  // a progressive file keeps all its coefficients
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(f.data()), static_cast<unsigned long>(f.size()));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK || !Fits(cinfo.image_width, cinfo.image_height)) {
    jpeg_destroy_decompress(&cinfo);
    return nullptr;
  }
  const bool cmyk = cinfo.num_components == 4;
#ifdef JCS_EXTENSIONS
  // R, G, B and a filler byte are a Color's bytes in memory: rows decode straight into place.
  const bool direkt = !cmyk;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
#else
  const bool direkt = false;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
#endif
  // The image library's settings before: the quicker transform, plain upsampling.
  cinfo.dct_method = JDCT_FASTEST;
  cinfo.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&cinfo);
  const int w = int(cinfo.output_width), h = int(cinfo.output_height);
  try {
    pic->pixels.assign(size_t(w) * h, 0);  // rows the file lacks stay black
  } catch (const std::bad_alloc&) {
    jpeg_destroy_decompress(&cinfo);
    return nullptr;
  }
  pic->width = w;
  pic->height = h;
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              JDIMENSION(w) * cinfo.output_components, 1);
  while (cinfo.output_scanline < cinfo.output_height) {
    const size_t y = cinfo.output_scanline;
    if (direkt) {
      JSAMPROW ziel = reinterpret_cast<JSAMPROW>(&pic->pixels[y * size_t(w)]);
      if (jpeg_read_scanlines(&cinfo, &ziel, 1) != 1) break;
      continue;
    }
    if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
    const JSAMPLE* p = row[0];
    Color* out = &pic->pixels[y * size_t(w)];
    for (int x = 0; x < w; ++x, p += cinfo.output_components) {
      uint32_t r = p[0], g = p[1], b = p[2];
      if (cmyk) {  // stored inverted, as Adobe writes it
        r = r * p[3] / 255, g = g * p[3] / 255, b = b * p[3] / 255;
      }
      out[x] = Color(r | g << 8 | b << 16);
    }
  }
  jpeg_destroy_decompress(&cinfo);
  if (direkt)
    for (Color& c : pic->pixels) c &= 0xFFFFFF;  // the filler byte
  return pic;
}

PicturePtr Decode(const std::string& f) {
  if (IsIcon(f)) return DecodeIcon(f);
  if (IsBmp(f)) return DecodeBmp(f);
  if (IsJpeg(f)) return DecodeJpeg(f);
  return nullptr;  // no other format is ever handed to a decoder
}

}  // namespace

PicturePtr LoadPicture(const std::string& winpath) {
  const std::string host = HostPath(winpath);
  std::string bytes;
  if (!FileExists(winpath) || !ReadFileBytes(winpath, bytes)) {
    std::fprintf(stderr, "LoadPicture: cannot read %s\n", host.c_str());
    return nullptr;
  }
  PicturePtr pic;
  try {
    pic = Decode(bytes);
  } catch (const std::bad_alloc&) {
    pic = nullptr;
  }
  if (!pic) std::fprintf(stderr, "LoadPicture: %s is not a readable .bmp, .jpg or .ico picture\n", host.c_str());
  return pic;
}

bool SavePictureBmp(const Picture& pic, const std::string& hostpath) {
  if (pic.width <= 0 || pic.height <= 0 || pic.pixels.size() < size_t(pic.width) * pic.height)
    return false;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, pic.width, pic.height, 24, SDL_PIXELFORMAT_BGR24);
  if (!s) return false;
  SDL_LockSurface(s);
  for (int y = 0; y < pic.height; ++y) {
    auto* row = static_cast<uint8_t*>(s->pixels) + size_t(y) * s->pitch;
    for (int x = 0; x < pic.width; ++x) {
      const Color c = pic.At(x, y);
      row[x * 3 + 0] = uint8_t(c >> 16);  // blue
      row[x * 3 + 1] = uint8_t(c >> 8);   // green
      row[x * 3 + 2] = uint8_t(c);        // red
    }
  }
  SDL_UnlockSurface(s);
  const bool ok = SDL_SaveBMP(s, hostpath.c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

}  // namespace rt
