#include "runtime/picture_save.h"

#include <SDL.h>
#include <SDL_image.h>

#include <vector>

namespace rt {

bool SavePictureJpg(const Picture& pic, const std::string& hostpath, int quality) {
  if (pic.width <= 0 || pic.height <= 0 || pic.pixels.size() < size_t(pic.width) * pic.height)
    return false;
  // Packed as plain R, G, B bytes so the byte order of the host does not matter.
  std::vector<uint8_t> rgb(size_t(pic.width) * pic.height * 3);
  for (size_t i = 0; i < size_t(pic.width) * pic.height; ++i) {
    Color c = pic.pixels[i];
    rgb[i * 3] = uint8_t(c & 255);
    rgb[i * 3 + 1] = uint8_t((c >> 8) & 255);
    rgb[i * 3 + 2] = uint8_t((c >> 16) & 255);
  }
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(rgb.data(), pic.width, pic.height, 24,
                                                      pic.width * 3, SDL_PIXELFORMAT_RGB24);
  if (!s) return false;
  int rc = IMG_SaveJPG(s, hostpath.c_str(), quality);
  SDL_FreeSurface(s);
  return rc == 0;
}

}  // namespace rt
