// Sample music and a short film, so the music and video commands have something to play: a
// village tune for the square and a three-second sunrise over the hills.
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "runtime/surface.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;

namespace {

void Sonnenaufgang(int index, int w, int h, std::vector<int32_t>& px) {
  double t = index / 75.0;  // 0..1 over the film
  int horizont = h * 2 / 3;
  double sx = w * 0.5, sy = horizont + 40 - t * (horizont - 30), r = h / 10.0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      rt::Color c;
      double huegel = horizont + 18 * std::sin(x * 0.03) + 10 * std::sin(x * 0.071 + 1);
      if (y >= huegel) {
        c = rt::RGB(40 + int(50 * t), 90 + int(60 * t), 40);
      } else if ((x - sx) * (x - sx) + (y - sy) * (y - sy) <= r * r) {
        c = rt::RGB(255, 220 - int(40 * (1 - t)), 120);
      } else {
        double hell = t * (1 - 0.5 * double(y) / horizont);
        c = rt::RGB(30 + int(150 * hell), 30 + int(140 * hell), 80 + int(170 * hell));
      }
      px[size_t(y) * w + x] = c;
    }
  }
}

void Erzeuge(const Ziel& z) {
  // A simple tune in G major, eight bars, on a flute.
  const std::vector<rt::MidiNote> dorf = {
      {67, 1}, {71, 1}, {74, 1}, {71, 1}, {72, 1}, {76, 1}, {74, 2},
      {71, 1}, {69, 1}, {67, 1}, {69, 1}, {71, 2}, {0, 1},  {67, 1},
      {67, 1}, {71, 1}, {74, 1}, {79, 1}, {78, 1}, {76, 1}, {74, 2},
      {72, 1}, {71, 1}, {69, 1}, {66, 1}, {67, 3}, {0, 1}};
  std::string lied = z.Ordner("musics") + "Dorf.mid";
  if (!rt::WriteMidiFile(lied, dorf, 112, 73)) throw std::runtime_error("cannot write " + lied);

  std::string film = z.Ordner("movies") + "Sonnenaufgang.mpg";
  if (!rt::WriteVideoFile(film, 320, 240, 25, 75, Sonnenaufgang, 220))
    throw std::runtime_error("cannot write " + film);
}

Teil teil("Musik und Film", Erzeuge);

}  // namespace
