// Names the mouse pointer the X server shows now: the cursor files of a folder whose picture it
// is, any other pointer as "other WxH", or "none".
//   e2e_x_cursor CURSOR_FOLDER [SAVE.bmp]
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "runtime/surface.h"
#include "runtime/system.h"

namespace {

bool Gleich(const rt::Picture& zeiger, const rt::Picture& icon) {
  if (zeiger.width != icon.width || zeiger.height != icon.height) return false;
  for (size_t i = 0; i < zeiger.pixels.size(); ++i) {
    const bool deckt = zeiger.alpha[i] > 127;
    const bool icondeckt = icon.alpha.empty() || icon.alpha[i] > 127;
    if (deckt != icondeckt) return false;
    if (deckt && (zeiger.pixels[i] & 0xFFFFFF) != (icon.pixels[i] & 0xFFFFFF)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_x_cursor CURSOR_FOLDER [SAVE.bmp]\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::printf("no display\n");
    return 1;
  }
  XFixesCursorImage* img = XFixesGetCursorImage(d);
  if (!img) {
    std::printf("none\n");
    XCloseDisplay(d);
    return 0;
  }
  rt::Picture zeiger;
  zeiger.width = img->width;
  zeiger.height = img->height;
  for (int i = 0; i < img->width * img->height; ++i) {
    const unsigned long p = img->pixels[i];
    zeiger.pixels.push_back(rt::RGB(int((p >> 16) & 255), int((p >> 8) & 255), int(p & 255)));
    zeiger.alpha.push_back(uint8_t((p >> 24) & 255));
  }
  XFree(img);
  XCloseDisplay(d);
  if (argc > 2) {
    rt::Picture sichtbar = zeiger;
    for (size_t i = 0; i < sichtbar.pixels.size(); ++i)
      if (sichtbar.alpha[i] <= 127) sichtbar.pixels[i] = rt::RGB(255, 0, 255);
    rt::SavePictureBmp(sichtbar, argv[2]);
  }
  // Files with the same picture are all named, in name order, joined by "|".
  std::set<std::string> namen;
  for (const auto& e : std::filesystem::directory_iterator(argv[1])) {
    if (e.path().extension() != ".ico") continue;
    rt::PicturePtr icon = rt::LoadPicture(rt::WinPath(e.path().string()));
    if (icon && Gleich(zeiger, *icon)) namen.insert(e.path().filename().string());
  }
  std::string name;
  for (const std::string& n : namen) name += (name.empty() ? "" : "|") + n;
  if (name.empty()) name = "other " + std::to_string(zeiger.width) + "x" + std::to_string(zeiger.height);
  std::printf("%s\n", name.c_str());
  return 0;
}
