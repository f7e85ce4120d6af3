// The flying-heads game's files in the games folder: the room the heads fly about
// "Wumpelraum.jpg" (640 by 440), the two frames of a head "Wumpel1.bmp" and "Wumpel2.bmp"
// (64 by 48 on black, which the game lays over the room) and the hit sound "Schlag2.wav".
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;
using rt::RGB;

namespace {

// A dim castle hall at night: the heads are laid over it with OR, so it stays dark.
Bild Raum() {
  Bild b(640, 440);
  b.Verlauf(0, 439, RGB(34, 30, 52), RGB(18, 16, 30));
  // Stone blocks.
  for (int y = 0; y < 330; y += 22) {
    const int versatz = (y / 22) % 2 ? 30 : 0;
    b.Linie(0, float(y), 639, float(y), 1, RGB(14, 12, 24));
    for (int x = versatz; x < 640; x += 60) b.Linie(float(x), float(y), float(x), float(y + 22), 1, RGB(14, 12, 24));
  }
  b.Rauschen(0, 0, 639, 329, 5, 61);
  // A tall window with the moon.
  b.Rechteck(270, 40, 370, 200, RGB(20, 28, 64));
  b.Ellipse(320, 40, 50, 40, RGB(20, 28, 64));
  b.Ellipse(342, 70, 16, 16, RGB(110, 110, 90));
  b.Linie(320, 0, 320, 200, 3, RGB(10, 10, 16));
  b.Linie(270, 120, 370, 120, 3, RGB(10, 10, 16));
  // Torches.
  for (int x : {110, 530}) {
    b.Rechteck(x - 4, 150, x + 4, 200, RGB(60, 40, 20));
    b.Ellipse(float(x), 140, 10, 16, RGB(120, 60, 10));
    b.Ellipse(float(x), 144, 5, 9, RGB(140, 100, 20));
  }
  // The floor.
  b.Rechteck(0, 330, 639, 439, RGB(28, 22, 20));
  for (int x = -200; x < 840; x += 80) b.Linie(float(x), 439, float(320 + (x - 320) / 3), 330, 1, RGB(16, 12, 12));
  b.Rauschen(0, 330, 639, 439, 4, 62);
  return b;
}

// A round green head; the second frame opens its mouth and lifts its ears.
Bild Kopf(int bild) {
  Bild b(64, 48, 0);
  const rt::Color haut = RGB(90, 200, 70), dunkel = RGB(40, 120, 30);
  const float ohr = bild ? 10 : 16;
  b.Ellipse(9, ohr + 6, 7, 9, dunkel);
  b.Ellipse(55, ohr + 6, 7, 9, dunkel);
  b.Ellipse(32, 25, 22, 21, haut);
  b.Ellipse(24, 11, 7, 4, RGB(150, 230, 120));  // shine on the forehead
  // Eyes, squinting in the second frame.
  for (float x : {23.0f, 41.0f}) {
    b.Ellipse(x, 21, 6, bild ? 3.0f : 6.0f, RGB(255, 255, 255));
    b.Ellipse(x + 1, 21, 2.5f, bild ? 2.0f : 3.0f, RGB(20, 20, 20));
  }
  if (bild) {
    b.Ellipse(32, 36, 9, 7, RGB(120, 20, 30));
    b.Ellipse(32, 40, 5, 3, RGB(230, 90, 110));
  } else {
    b.Linie(23, 35, 41, 35, 2, RGB(30, 70, 20));
    b.Linie(22, 33, 23, 35, 2, RGB(30, 70, 20));
    b.Linie(41, 35, 42, 33, 2, RGB(30, 70, 20));
  }
  return b;
}

std::vector<int16_t> Schlag() {
  const int rate = 22050;
  const double pi = 3.14159265358979;
  std::vector<int16_t> s;
  uint32_t zufall = 77;
  double phase = 0;
  const int laenge = rate * 22 / 100;
  for (int i = 0; i < laenge; ++i) {
    const double t = double(i) / rate;
    phase += 2 * pi * (180 * std::exp(-t * 14) + 60) / rate;  // a falling "bonk"
    const double rauschen = (double(Zufall(zufall) % 2001) - 1000) / 1000 * std::exp(-t * 90);
    const double v = std::sin(phase) * std::exp(-t * 16) + 0.5 * rauschen;
    s.push_back(int16_t(std::max(-1.0, std::min(1.0, v)) * 20000));
  }
  return s;
}

void Erzeuge(const Ziel& z) {
  SpeichereJpg(Raum(), z.Ordner("games") + "Wumpelraum.jpg");
  SpeichereBmp(Kopf(0), z.Ordner("games") + "Wumpel1.bmp");
  SpeichereBmp(Kopf(1), z.Ordner("games") + "Wumpel2.bmp");
  const std::string schlag = z.Ordner("games") + "Schlag2.wav";
  if (!rt::WriteWaveFile(schlag, Schlag(), 22050, 1)) throw std::runtime_error("cannot write " + schlag);
}

Teil teil("Fliegende Koepfe", Erzeuge);

}  // namespace
