#include "menu/menu_art.h"

#include <cmath>
#include <cstdint>
#include <memory>

namespace {

// A tiny fixed generator, so the banner looks the same every time and the game's own random
// sequence is left alone.
struct Sterne {
  uint32_t s = 0x2545F491u;
  int Next(int n) {
    s = s * 1664525u + 1013904223u;
    return int((s >> 8) % uint32_t(n));
  }
};

}  // namespace

rt::PicturePtr MenuBanner() {
  static rt::PicturePtr banner;
  if (banner) return banner;
  const int w = 501, h = 121;
  rt::Surface s(w, h);
  s.SetAutoRedraw(true);
  // Night sky fading to black where the link and the version sit.
  for (int y = 0; y < h; ++y) {
    const double t = double(y) / (h - 1);
    const int r = int(10 * (1 - t)), g = int(24 * (1 - t)), b = int(70 * (1 - t) + 4);
    s.Line(0, float(y), float(w - 1), float(y), rt::RGB(r, g, b));
  }
  Sterne zufall;
  for (int i = 0; i < 90; ++i) {
    const int x = zufall.Next(w), y = zufall.Next(70), hell = 120 + zufall.Next(136);
    s.PSet(float(x), float(y), rt::RGB(hell, hell, hell));
  }
  // Hills with a small castle on the left one.
  for (int x = 0; x < w; ++x) {
    const double hoehe = 22 + 10 * std::sin(x / 47.0) + 6 * std::sin(x / 13.0 + 1.3);
    s.Line(float(x), float(h - 1), float(x), float(h - 1 - hoehe), rt::RGB(6, 18, 10));
  }
  const rt::Color burg = rt::RGB(4, 12, 8);
  s.Line(30, 70, 60, 100, burg, rt::Surface::BoxFilled);
  s.Line(24, 58, 36, 100, burg, rt::Surface::BoxFilled);
  s.Line(54, 52, 66, 100, burg, rt::Surface::BoxFilled);
  for (int x = 24; x <= 64; x += 6) s.Line(float(x), 48, float(x + 2), 52, burg, rt::Surface::BoxFilled);
  s.PSet(60, 62, rt::RGB(255, 210, 90));
  s.PSet(61, 62, rt::RGB(255, 210, 90));

  s.font = rt::Font{"Times New Roman", 36.0f, true, false, false};
  const std::string titel = "NORVALDE";
  const float x = (w - s.TextWidth(titel)) / 2;
  s.CurrentX = x + 3;
  s.CurrentY = 12 + 3;
  s.ForeColor = rt::RGB(40, 20, 0);
  s.Print(titel);
  s.CurrentX = x;
  s.CurrentY = 12;
  s.ForeColor = rt::RGB(255, 204, 64);
  s.Print(titel);

  s.font = rt::Font{"Times New Roman", 11.0f, false, true, false};
  const std::string zeile = "Ein Abenteuer in Bildern";
  s.CurrentX = (w - s.TextWidth(zeile)) / 2;
  s.CurrentY = 66;
  s.ForeColor = rt::RGB(190, 190, 150);
  s.Print(zeile);

  banner = s.Image();
  return banner;
}

rt::PicturePtr MenuHandCursor() {
  static rt::PicturePtr hand;
  if (hand) return hand;
  // '#' outline, '.' fill, blank transparent; the fingertip is the top left of the art.
  static const char* const bild[] = {
      "     ##         ",
      "    #..#        ",
      "    #..#        ",
      "    #..#        ",
      "    #..###      ",
      "    #..#..###   ",
      "    #..#..#..## ",
      " ## #..#..#..#.#",
      "#..##........#.#",
      "#...#..........#",
      " #.............#",
      "  #............#",
      "  #...........# ",
      "   #..........# ",
      "   #.........#  ",
      "    #........#  ",
      "    #........#  ",
      "    ##########  ",
  };
  auto p = std::make_shared<rt::Picture>();
  p->width = 32;
  p->height = 32;
  p->pixels.assign(32 * 32, 0);
  p->alpha.assign(32 * 32, 0);
  for (int y = 0; y < int(sizeof bild / sizeof bild[0]); ++y)
    for (int x = 0; bild[y][x]; ++x) {
      const char c = bild[y][x];
      if (c == ' ') continue;
      p->pixels[size_t(y) * 32 + x] = c == '#' ? rt::vbBlack : rt::vbWhite;
      p->alpha[size_t(y) * 32 + x] = 255;
    }
  hand = p;
  return hand;
}
