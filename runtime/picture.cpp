// Picture files: .bmp, .jpg and .ico in, .bmp out.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "runtime/surface.h"
#include "runtime/system.h"

namespace rt {

namespace {

// Pictures beyond this many pixels are refused rather than risking a huge allocation.
constexpr long long kMaxPixels = 1LL << 26;

PicturePtr FromSdlSurface(SDL_Surface* loaded, bool keepAlpha) {
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
  if (!rgba) return nullptr;
  auto pic = std::make_shared<Picture>();
  pic->width = rgba->w;
  pic->height = rgba->h;
  const size_t n = size_t(rgba->w) * rgba->h;
  pic->pixels.resize(n);
  std::vector<uint8_t> alpha(n);
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
    SDL_RWops* rw = SDL_RWFromConstMem(f.data() + at, int(size));
    SDL_Surface* png = rw ? IMG_Load_RW(rw, 1) : nullptr;
    if (!png) return nullptr;
    PicturePtr pic = FromSdlSurface(png, true);
    SDL_FreeSurface(png);
    return pic;
  }
  const uint32_t hdr = u32(at);
  const int w = int(u32(at + 4)), h2 = int(u32(at + 8)), bpp = int(u16(at + 14));
  if (hdr < 40 || u32(at + 16) != 0 || w <= 0 || w > 1024 || h2 <= 0 || h2 > 2048) return nullptr;
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

// The picture size a .bmp or .jpg header claims, checked before decoding so that a broken
// header cannot ask for gigabytes.
bool ClaimsHugeSize(const std::string& f) {
  auto byte = [&](size_t at) { return at < f.size() ? uint8_t(f[at]) : 0; };
  long long w = 0, h = 0;
  if (f.size() >= 26 && f[0] == 'B' && f[1] == 'M') {
    w = int32_t(byte(18) | byte(19) << 8 | byte(20) << 16 | uint32_t(byte(21)) << 24);
    h = int32_t(byte(22) | byte(23) << 8 | byte(24) << 16 | uint32_t(byte(25)) << 24);
  } else if (byte(0) == 0xFF && byte(1) == 0xD8) {
    for (size_t at = 2; at + 9 < f.size() && byte(at) == 0xFF;) {
      const int marker = byte(at + 1);
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
        h = byte(at + 5) << 8 | byte(at + 6);
        w = byte(at + 7) << 8 | byte(at + 8);
        break;
      }
      at += 2 + size_t(byte(at + 2) << 8 | byte(at + 3));
    }
  }
  return std::llabs(w) * std::llabs(h) > kMaxPixels;
}

}  // namespace

PicturePtr LoadPicture(const std::string& winpath) {
  const std::string host = HostPath(winpath);
  std::string bytes;
  std::error_code ec;
  std::ifstream in;
  if (std::filesystem::is_regular_file(host, ec)) in.open(host, std::ios::binary);
  if (!in.is_open()) {
    std::fprintf(stderr, "LoadPicture: cannot open %s\n", host.c_str());
    return nullptr;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  PicturePtr pic;
  if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && (bytes[2] == 1 || bytes[2] == 2) &&
      bytes[3] == 0) {
    pic = DecodeIcon(bytes);
  } else if (ClaimsHugeSize(bytes)) {
    std::fprintf(stderr, "LoadPicture: %s claims an unusable size\n", host.c_str());
    return nullptr;
  } else if (SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(std::min<size_t>(bytes.size(), INT32_MAX)))) {
    if (SDL_Surface* loaded = IMG_Load_RW(rw, 1)) {
      if (loaded->w > 0 && loaded->h > 0 && (long long)loaded->w * loaded->h <= kMaxPixels)
        pic = FromSdlSurface(loaded, false);
      SDL_FreeSurface(loaded);
    }
  }
  if (!pic) std::fprintf(stderr, "LoadPicture: %s is not a readable picture\n", host.c_str());
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
