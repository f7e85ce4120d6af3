// Picture files: .bmp, .jpg and .ico in, .bmp out.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

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

}  // namespace

PicturePtr LoadPicture(const std::string& winpath) {
  const std::string host = HostPath(winpath);
  SDL_RWops* rw = SDL_RWFromFile(host.c_str(), "rb");
  if (!rw) {
    std::fprintf(stderr, "LoadPicture: cannot open %s\n", host.c_str());
    return nullptr;
  }
  const bool icon = IMG_isICO(rw) || IMG_isCUR(rw);
  SDL_Surface* loaded = IMG_Load_RW(rw, 1);
  if (!loaded) {
    std::fprintf(stderr, "LoadPicture: %s is not a readable picture (%s)\n", host.c_str(),
                 IMG_GetError());
    return nullptr;
  }
  PicturePtr pic;
  if (loaded->w > 0 && loaded->h > 0 && (long long)loaded->w * loaded->h <= kMaxPixels)
    pic = FromSdlSurface(loaded, icon);
  else
    std::fprintf(stderr, "LoadPicture: %s has an unusable size\n", host.c_str());
  SDL_FreeSurface(loaded);
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
