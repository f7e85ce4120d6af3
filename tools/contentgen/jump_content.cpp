// The jump-and-run game's files in the games folder: the sky, the tiles, the player's four
// pictures and the four enemies (each picture black where it is transparent, its mask black
// where it is opaque), the sounds and the tune; and a room with an old arcade machine that
// starts the game.
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;
using rt::RGB;

namespace {

constexpr rt::Color kLeer = RGB(255, 0, 255);  // sprite background: transparent
constexpr double kPi = 3.14159265358979;

// ---- Sky --------------------------------------------------------------------------------------

// Strong towards the top, nearly even below the tree line, so that scenery tiles painted on the
// colour of one row fit in any other.
rt::Color Himmel(int y) {
  if (y < 150) return Mische(RGB(70, 118, 206), RGB(178, 208, 240), float(y) / 150.0f);
  return Mische(RGB(178, 208, 240), RGB(196, 222, 246), float(y - 150) / 282.0f);
}

void HimmelFuellen(Bild& b, int ySheet) {
  for (int y = 0; y < b.h; ++y) b.Rechteck(0, y, b.w - 1, y, Himmel(ySheet + y));
}

// A cloud drawn twice where it crosses the picture's edge: the sky repeats every 624 pixels.
void Wolke(Bild& b, float x, float y, float s) {
  for (float dx : {0.0f, -624.0f, 624.0f}) {
    b.Ellipse(x + dx, y + 6 * s, 38 * s, 12 * s, RGB(236, 242, 250));
    b.Ellipse(x + dx - 18 * s, y + 2 * s, 16 * s, 12 * s, RGB(246, 249, 253));
    b.Ellipse(x + dx + 4 * s, y - 6 * s, 20 * s, 16 * s, RGB(250, 252, 255));
    b.Ellipse(x + dx + 22 * s, y + 2 * s, 14 * s, 10 * s, RGB(244, 247, 252));
  }
}

Bild Hintergrund() {
  Bild b(624, 432);
  HimmelFuellen(b, 0);
  b.Ellipse(500, 52, 26, 26, RGB(255, 244, 190));
  b.Ellipse(500, 52, 22, 22, RGB(255, 252, 226));
  Wolke(b, 80, 40, 1.0f);
  Wolke(b, 300, 86, 0.8f);
  Wolke(b, 610, 110, 1.1f);
  Wolke(b, 420, 28, 0.6f);
  return b;
}

// ---- Tiles ------------------------------------------------------------------------------------

Bild Erde() {
  Bild b(48, 48, RGB(132, 86, 48));
  b.Rauschen(0, 0, 47, 47, 12, 11);
  uint32_t z = 77;
  for (int i = 0; i < 7; ++i) {
    const float x = float(Zufall(z) % 44) + 2, y = float(Zufall(z) % 44) + 2;
    b.Ellipse(x, y, 3.5f, 2.5f, RGB(150, 140, 128));
    b.Ellipse(x - 0.8f, y - 0.8f, 1.5f, 1.0f, RGB(186, 178, 166));
  }
  b.Rechteck(0, 47, 47, 47, RGB(104, 66, 36));
  b.Rechteck(47, 0, 47, 47, RGB(110, 70, 40));
  return b;
}

// Bricks of one colour with mortar lines; offset every second row.
Bild Ziegel(rt::Color stein, rt::Color fuge, int hoehe, int breite, uint32_t saat) {
  Bild b(48, 48, stein);
  b.Rauschen(0, 0, 47, 47, 9, saat);
  for (int y = 0; y < 48; y += hoehe) {
    b.Rechteck(0, y + hoehe - 1, 47, y + hoehe - 1, fuge);
    for (int x = (y / hoehe) % 2 ? breite / 2 : 0; x < 48; x += breite) b.Rechteck(x, y, x, y + hoehe - 2, fuge);
  }
  return b;
}

// Grey stone with a lit top edge on every row.
Bild Mauer() {
  Bild b = Ziegel(RGB(150, 150, 158), RGB(92, 92, 100), 12, 24, 12);
  for (int y = 0; y < 48; y += 12) b.Rechteck(0, y, 47, y, RGB(188, 188, 196));
  return b;
}

// Flowers in the grass, on the colour of the row they mostly stand in.
Bild Blumen() {
  Bild b(48, 48);
  HimmelFuellen(b, 336);
  for (int i = 0; i < 9; ++i) {
    const float x = 4.0f + float(i) * 5.0f;
    b.Linie(x, 47, x + float(i % 3) - 1, 30.0f + float((i * 7) % 9), 1.5f, RGB(60, 140, 50));
  }
  const rt::Color farben[] = {RGB(230, 60, 70), RGB(250, 210, 40), RGB(240, 120, 200)};
  for (int i = 0; i < 3; ++i) {
    const float x = 10.0f + float(i) * 14.0f, y = 24.0f + float(i % 2) * 6.0f;
    b.Linie(x, 47, x, y, 2, RGB(50, 120, 40));
    for (int k = 0; k < 5; ++k) {
      const double w = k * 2 * kPi / 5;
      b.Ellipse(x + 4 * float(std::cos(w)), y + 4 * float(std::sin(w)), 3, 3, farben[i]);
    }
    b.Ellipse(x, y, 2, 2, RGB(255, 240, 160));
  }
  return b;
}

// A signpost of 2 by 2 tiles: 5 4 over 2 3.
Bild Wegweiser() {
  Bild b(96, 96);
  HimmelFuellen(b, 288);
  b.Rechteck(44, 30, 51, 95, RGB(112, 76, 40));
  b.Rechteck(44, 30, 45, 95, RGB(140, 100, 60));
  b.Polygon({{8, 12}, {74, 12}, {90, 30}, {74, 48}, {8, 48}}, RGB(196, 150, 90));
  b.Polygon({{12, 16}, {72, 16}, {84, 30}, {72, 44}, {12, 44}}, RGB(214, 172, 112));
  b.Linie(20, 30, 64, 30, 4, RGB(90, 56, 30));
  b.Polygon({{60, 21}, {74, 30}, {60, 39}}, RGB(90, 56, 30));
  b.Ellipse(30, 93, 18, 4, RGB(60, 140, 50));
  b.Ellipse(68, 94, 14, 3, RGB(60, 140, 50));
  return b;
}

Bild Ausschnitt(const Bild& q, int x0, int y0) {
  Bild b(48, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) b.Punkt(x, y, q.An(x0 + x, y0 + y));
  return b;
}

// The door in its stone frame, 48 by 96: tile 7 over tile 8.
Bild Tuer() {
  Bild b(48, 96);
  HimmelFuellen(b, 288);
  b.Rechteck(0, 14, 47, 95, RGB(128, 128, 136));
  b.Ellipse(24, 16, 24, 16, RGB(128, 128, 136));
  b.Rauschen(0, 0, 47, 95, 8, 21, RGB(128, 128, 136));
  b.Rechteck(8, 20, 39, 95, RGB(116, 70, 34));
  b.Ellipse(24, 20, 16, 12, RGB(116, 70, 34));
  for (int x = 14; x < 40; x += 8) b.Rechteck(x, 12, x, 95, RGB(90, 52, 24));
  b.Rechteck(8, 44, 39, 46, RGB(70, 70, 76));
  b.Rechteck(8, 76, 39, 78, RGB(70, 70, 76));
  b.Ellipse(33, 62, 3, 3, RGB(230, 200, 70));
  return b;
}

// Shown above the player at the goal, in front of the sky of row 5.
Bild Stern() {
  Bild b(48, 48);
  HimmelFuellen(b, 240);
  std::vector<std::array<float, 2>> ecken;
  for (int k = 0; k < 10; ++k) {
    const double w = -kPi / 2 + k * kPi / 5;
    const float r = k % 2 ? 9.0f : 21.0f;
    ecken.push_back({24 + r * float(std::cos(w)), 25 + r * float(std::sin(w))});
  }
  b.Polygon(ecken, RGB(200, 140, 20));
  for (auto& e : ecken) e = {24 + (e[0] - 24) * 0.8f, 25 + (e[1] - 25) * 0.8f};
  b.Polygon(ecken, RGB(255, 220, 60));
  b.Ellipse(21, 21, 3, 3, RGB(255, 250, 210));
  return b;
}

// ---- Sprites ----------------------------------------------------------------------------------

Bild Spiegel(const Bild& q) {
  Bild b(q.w, q.h);
  for (int y = 0; y < q.h; ++y)
    for (int x = 0; x < q.w; ++x) b.Punkt(q.w - 1 - x, y, q.An(x, y));
  return b;
}

// The picture (black where transparent) and its mask (black where opaque).
void SpeichereSprite(const Bild& s, const std::string& ordner, const std::string& name,
                     const std::string& maskenName) {
  Bild bild(s.w, s.h), maske(s.w, s.h);
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      const bool leer = s.An(x, y) == kLeer;
      bild.Punkt(x, y, leer ? 0 : s.An(x, y));
      maske.Punkt(x, y, leer ? rt::vbWhite : 0);
    }
  SpeichereBmp(bild, ordner + name);
  SpeichereBmp(maske, ordner + maskenName);
}

// 0 standing, 1 ducking or rising, 2 and 3 cheering.
Bild Spieler(int bild) {
  Bild b(48, 96, kLeer);
  const rt::Color haut = RGB(242, 202, 162), hemd = RGB(206, 46, 40), hose = RGB(44, 70, 150),
                  hut = RGB(40, 110, 60), schuh = RGB(60, 36, 20);
  const int tief = bild == 1 ? 16 : 0;  // ducking lowers the body
  const float kopfY = 16.0f + float(tief);
  // Legs.
  if (bild == 1) {
    b.Linie(18, 66, 10, 80, 8, hose);
    b.Linie(10, 80, 18, 90, 8, hose);
    b.Linie(30, 66, 38, 80, 8, hose);
    b.Linie(38, 80, 30, 90, 8, hose);
  } else {
    b.Rechteck(15, 60, 22, 89, hose);
    b.Rechteck(26, 60, 33, 89, hose);
  }
  b.Rechteck(11, 89, 23, 95, schuh);
  b.Rechteck(25, 89, 37, 95, schuh);
  // Body and arms.
  b.Rechteck(13, 30 + tief, 35, 62, hemd);
  b.Rechteck(13, 58, 35, 62, RGB(90, 60, 30));
  if (bild == 2 || bild == 3) {
    const float hoch = bild == 2 ? 0.0f : 8.0f;
    b.Linie(14, 34, 4, 10 + hoch, 6, hemd);
    b.Linie(34, 34, 44, 10 + hoch, 6, hemd);
    b.Ellipse(4, 8 + hoch, 4, 4, haut);
    b.Ellipse(44, 8 + hoch, 4, 4, haut);
  } else if (bild == 1) {
    b.Linie(14, 48, 5, 36, 6, hemd);
    b.Linie(34, 48, 43, 36, 6, hemd);
    b.Ellipse(5, 34, 4, 4, haut);
    b.Ellipse(43, 34, 4, 4, haut);
  } else {
    b.Linie(12, 34, 8, 58, 6, hemd);
    b.Linie(36, 34, 40, 58, 6, hemd);
    b.Ellipse(8, 61, 4, 4, haut);
    b.Ellipse(40, 61, 4, 4, haut);
  }
  // Head with hat.
  b.Ellipse(24, kopfY, 11, 12, haut);
  b.Rechteck(10, int(kopfY) - 8, 38, int(kopfY) - 6, hut);
  b.Ellipse(24, kopfY - 12, 9, 7, hut);
  b.Ellipse(20, kopfY - 1, 1.5f, 2, RGB(20, 20, 30));
  b.Ellipse(29, kopfY - 1, 1.5f, 2, RGB(20, 20, 30));
  if (bild >= 2) {
    b.Ellipse(24.5f, kopfY + 6, 4, 3, RGB(120, 20, 20));
  } else {
    b.Linie(21, kopfY + 6, 28, kopfY + 6, 1.5f, RGB(120, 40, 30));
  }
  return b;
}

// Type 0, the walker: a spiny beetle, facing left.
Bild Kaefer(int f) {
  Bild b(48, 48, kLeer);
  const int schritt = f ? 3 : -3;
  for (int i = 0; i < 3; ++i) {
    const float x = 12.0f + float(i) * 12.0f;
    b.Linie(x, 36, x + float(i % 2 ? schritt : -schritt), 46, 3, RGB(40, 24, 16));
  }
  b.Ellipse(27, 28, 20, 14, RGB(96, 40, 120));
  b.Ellipse(27, 25, 16, 9, RGB(140, 70, 170));
  for (int i = 0; i < 5; ++i) {
    const float x = 14.0f + float(i) * 7.0f;
    b.Polygon({{x - 3, 18}, {x + 3, 18}, {x + float(f) - 1, 6}}, RGB(230, 230, 240));
  }
  b.Ellipse(9, 32, 8, 7, RGB(70, 30, 90));
  b.Ellipse(6, 30, 3, 3, RGB(255, 255, 255));
  b.Ellipse(5, 30, 1.5f, 1.5f, RGB(10, 10, 10));
  return b;
}

// Type 1, the bobbing plant that sinks into its platform: head with teeth on a stem.
Bild Pflanze(int f) {
  Bild b(48, 96, kLeer);
  b.Rechteck(21, 40, 27, 95, RGB(50, 130, 50));
  b.Ellipse(14, 70, 10, 4, RGB(70, 160, 60));
  b.Ellipse(34, 58, 10, 4, RGB(70, 160, 60));
  b.Ellipse(24, 22, 20, 20, RGB(200, 40, 50));
  for (int i = 0; i < 6; ++i) b.Ellipse(12.0f + float(i) * 5, 10.0f + float((i * 5) % 7), 2, 2, RGB(250, 240, 240));
  const float offen = f ? 9.0f : 3.0f;
  b.Ellipse(10, 26, 12, offen, RGB(60, 10, 20));
  for (int i = 0; i < 3; ++i) {
    const float x = 2.0f + float(i) * 6;
    b.Polygon({{x, 26 - offen}, {x + 4, 26 - offen}, {x + 2, 26 - offen + 5}}, RGB(255, 255, 255));
    b.Polygon({{x, 26 + offen}, {x + 4, 26 + offen}, {x + 2, 26 + offen - 5}}, RGB(255, 255, 255));
  }
  b.Ellipse(28, 14, 4, 4, RGB(255, 255, 120));
  b.Ellipse(27, 14, 2, 2, RGB(10, 10, 10));
  return b;
}

// Type 2, the runner on the ground: a grey mouse, facing left.
Bild Maus(int f) {
  Bild b(48, 24, kLeer);
  b.Linie(36, 16, 47, 10 + float(f) * 6, 2, RGB(200, 140, 140));
  b.Ellipse(26, 14, 14, 8, RGB(130, 130, 140));
  b.Ellipse(10, 14, 9, 6, RGB(150, 150, 160));
  b.Ellipse(14, 6, 4, 4, RGB(230, 170, 180));
  b.Ellipse(2, 15, 2, 2, RGB(40, 20, 20));
  b.Ellipse(8, 12, 1.5f, 1.5f, RGB(10, 10, 10));
  const int s = f ? 3 : -3;
  b.Linie(18, 20, 18.0f + float(s), 23, 2, RGB(90, 90, 100));
  b.Linie(32, 20, 32.0f - float(s), 23, 2, RGB(90, 90, 100));
  return b;
}

// Type 3, the flyer: a bat with beating wings, facing left.
Bild Fledermaus(int f) {
  Bild b(48, 26, kLeer);
  const rt::Color fluegel = RGB(70, 40, 90);
  if (f) {
    b.Polygon({{20, 12}, {2, 24}, {10, 18}, {16, 22}}, fluegel);
    b.Polygon({{28, 12}, {46, 24}, {38, 18}, {32, 22}}, fluegel);
  } else {
    b.Polygon({{20, 12}, {2, 0}, {8, 8}, {14, 4}}, fluegel);
    b.Polygon({{28, 12}, {46, 0}, {40, 8}, {34, 4}}, fluegel);
  }
  b.Ellipse(24, 14, 8, 7, RGB(90, 56, 110));
  b.Polygon({{18, 9}, {20, 2}, {22, 9}}, RGB(90, 56, 110));
  b.Ellipse(20, 12, 2, 2, RGB(255, 220, 60));
  b.Ellipse(19.5f, 12, 1, 1, RGB(10, 10, 10));
  return b;
}

// ---- Sounds and the tune ----------------------------------------------------------------------

constexpr int kRate = 22050;

void SpeichereWav(const std::string& pfad, const std::vector<double>& s) {
  std::vector<int16_t> pcm;
  pcm.reserve(s.size());
  for (double v : s) pcm.push_back(int16_t(std::lround(std::fmax(-1.0, std::fmin(1.0, v)) * 24000)));
  if (!rt::WriteWaveFile(pfad, pcm, kRate, 1)) throw std::runtime_error("cannot write " + pfad);
}

// A whoosh: noise through a filter that opens and closes again.
std::vector<double> Wodds() {
  std::vector<double> s;
  uint32_t z = 5;
  double tief = 0;
  const int n = kRate * 7 / 10;
  for (int i = 0; i < n; ++i) {
    const double t = double(i) / n;
    const double rauschen = double(Zufall(z) % 2001) / 1000.0 - 1.0;
    const double k = 0.02 + 0.35 * std::sin(kPi * t);
    tief += k * (rauschen - tief);
    s.push_back(tief * std::sin(kPi * t) * 1.6);
  }
  return s;
}

// A sweep from sweep[0] to sweep[1] Hz with an optional wobble, fading out.
std::vector<double> Ton(double sekunden, double von, double bis, double wobbel, double abfall) {
  std::vector<double> s;
  const int n = int(kRate * sekunden);
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    const double t = double(i) / n;
    const double f = von + (bis - von) * t;
    phase += 2 * kPi * f * (1 + wobbel * std::sin(2 * kPi * 18 * t * sekunden)) / kRate;
    const double huelle = std::exp(-abfall * t) * std::fmin(1.0, i / 60.0);
    s.push_back(0.8 * huelle * (std::sin(phase) + 0.2 * std::sin(2 * phase)));
  }
  return s;
}

std::vector<double> Tropfen() {
  std::vector<double> s = Ton(0.08, 1400, 500, 0, 2);
  for (double v : Ton(0.12, 700, 1700, 0, 4)) s.push_back(v);
  return s;
}

// Five falling "ha"s on a low, shaking voice.
std::vector<double> Lachen() {
  std::vector<double> s;
  for (int k = 0; k < 5; ++k) {
    const double grund = 190 - k * 14;
    const int n = kRate * 22 / 100;
    double phase = 0;
    for (int i = 0; i < n; ++i) {
      const double t = double(i) / n;
      phase += 2 * kPi * grund * (1 + 0.04 * std::sin(2 * kPi * 7 * t)) / kRate;
      double v = 0;
      // Harmonics weighted like an open "a".
      for (int h = 1; h <= 14; ++h) {
        const double f = grund * h;
        const double form = std::exp(-std::pow((f - 750) / 260, 2)) + 0.6 * std::exp(-std::pow((f - 1200) / 300, 2));
        v += (0.15 + form) * std::sin(h * phase) / h;
      }
      const double huelle = std::sin(kPi * std::fmin(1.0, t * 1.4)) * std::exp(-2 * t);
      s.push_back(0.5 * v * std::fmax(0.0, huelle));
    }
    s.insert(s.end(), size_t(kRate / 20), 0.0);
  }
  return s;
}


// ---- The room with the arcade machine ---------------------------------------------------------

Bild Spielhalle() {
  Bild b(640, 480);
  b.Verlauf(0, 330, RGB(40, 30, 70), RGB(90, 60, 110));
  b.Rauschen(0, 0, 639, 330, 6, 31);
  b.Rechteck(0, 331, 639, 479, RGB(70, 50, 40));
  for (int x = 0; x < 640; x += 64) b.Linie(float(x), 331, float(x) - 80, 479, 2, RGB(54, 38, 30));
  b.Rauschen(0, 331, 639, 479, 8, 32);
  // "JUMP" in neon tubes on the wall.
  const std::vector<std::array<float, 4>> striche = {
      {80, 40, 80, 84},   {80, 84, 66, 90},   {66, 90, 58, 80},                         // J
      {100, 40, 100, 82}, {100, 82, 112, 90}, {112, 90, 124, 82}, {124, 82, 124, 40},  // U
      {144, 90, 144, 40}, {144, 40, 160, 66}, {160, 66, 176, 40}, {176, 40, 176, 90},  // M
      {196, 90, 196, 40}, {196, 40, 216, 44}, {216, 44, 220, 56}, {220, 56, 212, 66},
      {212, 66, 196, 66}};                                                              // P
  for (const auto& s : striche) b.Linie(s[0], s[1], s[2], s[3], 7, RGB(120, 30, 110));
  for (const auto& s : striche) b.Linie(s[0], s[1], s[2], s[3], 3, RGB(255, 120, 230));
  // The cabinet.
  b.Polygon({{250, 110}, {400, 110}, {410, 400}, {240, 400}}, RGB(30, 90, 160));
  b.Polygon({{262, 120}, {388, 120}, {388, 150}, {262, 150}}, RGB(250, 220, 60));
  b.Rechteck(268, 166, 382, 262, RGB(10, 10, 20));
  b.Rechteck(274, 172, 376, 256, RGB(150, 200, 245));
  b.Rechteck(274, 240, 376, 256, RGB(132, 86, 48));
  b.Rechteck(290, 208, 300, 239, RGB(206, 46, 40));
  b.Ellipse(295, 202, 5, 5, RGB(242, 202, 162));
  b.Rechteck(340, 224, 356, 239, RGB(96, 40, 120));
  b.Rechteck(250, 280, 400, 320, RGB(24, 70, 130));
  b.Ellipse(290, 296, 8, 8, RGB(220, 40, 40));
  b.Rechteck(288, 296, 292, 312, RGB(40, 40, 40));
  b.Ellipse(340, 300, 7, 7, RGB(250, 210, 40));
  b.Ellipse(362, 300, 7, 7, RGB(60, 200, 90));
  b.Rechteck(310, 350, 340, 356, RGB(10, 10, 20));
  return b;
}

Befehl Text(const std::string& t) { return {2, t}; }
Befehl WennMerker(const std::string& f) { return {0, f}; }
const Befehl kSonst{9, ""};
const Befehl kEnde{10, ""};

// Plays the game and answers its outcome.
Skr Spielen() {
  return {{27, "JUMP,JUMP_GESCHAFFT,"},
          WennMerker("JUMP_GESCHAFFT"), Text("Geschafft! Du hast die Tür erreicht."), kSonst,
          Text("Leider verloren. Versuch es noch einmal!"), kEnde};
}

RaumDef JumpRaum() {
  RaumDef r;
  r.bild = "spielhalle.jpg";
  r.start = Spielen();
  HotspotDef automat;
  automat.name = "Automat";
  automat.cursor = "hand1.ico";
  automat.maske = MaskeRechteck(240, 110, 410, 400);
  automat.skripte = {Skr{WennMerker("JUMP_GESCHAFFT"), Text("Auf dem Automaten leuchtet jetzt dein Name."),
                         kSonst, Text("Ein alter Spielautomat. »JUMP!« steht darauf."), kEnde},
                     Spielen(), Skr{}};
  automat.aktiv = {true, true, false};
  r.hotspots.push_back(automat);
  return r;
}

void Erzeuge(const Ziel& z) {
  const std::string spiele = z.Ordner("games");
  SpeichereBmp(Hintergrund(), spiele + "j0.bmp");
  const Bild schild = Wegweiser(), tuer = Tuer();
  const Bild kacheln[11] = {Blumen(),
                            Ausschnitt(schild, 0, 48),
                            Ausschnitt(schild, 48, 48),
                            Ausschnitt(schild, 48, 0),
                            Ausschnitt(schild, 0, 0),
                            Ziegel(RGB(84, 58, 52), RGB(58, 40, 36), 8, 16, 13),
                            Ausschnitt(tuer, 0, 0),
                            Ausschnitt(tuer, 0, 48),
                            Stern(),
                            Erde(),
                            Mauer()};
  for (int v = 1; v <= 11; ++v) SpeichereBmp(kacheln[v - 1], spiele + "j" + std::to_string(v) + ".bmp");

  for (int i = 1; i <= 4; ++i) {
    const std::string n = "h" + std::to_string(i);
    SpeichereSprite(Spieler(i - 1), spiele, n + ".bmp", n + "m.bmp");
  }
  Bild (*const gegner[4])(int) = {Kaefer, Pflanze, Maus, Fledermaus};
  for (int t = 0; t < 4; ++t)
    for (int f = 0; f < 2; ++f) {
      const std::string n = "g" + std::to_string(t + 1) + std::to_string(f + 1);
      const Bild links = gegner[t](f);
      SpeichereSprite(links, spiele, n + ".bmp", n + "m.bmp");
      SpeichereSprite(Spiegel(links), spiele, n + "d.bmp", n + "md.bmp");
    }

  // "wodds.wav" and "e_laugh.wav" serve the capitals quiz as well.
  SpeichereWav(spiele + "wodds.wav", Wodds());
  SpeichereWav(spiele + "boing.wav", Ton(0.35, 140, 520, 0.12, 3));
  SpeichereWav(spiele + "pop.wav", Ton(0.06, 900, 250, 0, 5));
  SpeichereWav(spiele + "drip.wav", Tropfen());
  SpeichereWav(spiele + "e_laugh.wav", Lachen());

  // A bouncy tune in C major, sixteen bars, on a square lead.
  const std::vector<rt::MidiNote> lied = {
      {72, 0.5}, {76, 0.5}, {79, 0.5}, {76, 0.5}, {72, 0.5}, {76, 0.5}, {79, 1},
      {77, 0.5}, {74, 0.5}, {71, 0.5}, {74, 0.5}, {77, 0.5}, {74, 0.5}, {71, 1},
      {72, 0.5}, {76, 0.5}, {79, 0.5}, {84, 0.5}, {83, 0.5}, {79, 0.5}, {76, 1},
      {77, 0.5}, {76, 0.5}, {74, 0.5}, {71, 0.5}, {72, 1.5}, {0, 0.5},
      {69, 0.5}, {72, 0.5}, {76, 0.5}, {72, 0.5}, {69, 0.5}, {72, 0.5}, {76, 1},
      {67, 0.5}, {71, 0.5}, {74, 0.5}, {71, 0.5}, {67, 0.5}, {71, 0.5}, {74, 1},
      {65, 0.5}, {69, 0.5}, {72, 0.5}, {77, 0.5}, {76, 0.5}, {74, 0.5}, {72, 0.5}, {71, 0.5},
      {72, 1}, {67, 0.5}, {64, 0.5}, {60, 1}, {0, 1}};
  const std::string musik = spiele + "jump.mid";
  if (!rt::WriteMidiFile(musik, lied, 150, 80)) throw std::runtime_error("cannot write " + musik);

  SpeichereJpg(Spielhalle(), z.Ordner("graphics") + "spielhalle.jpg");
  SchreibeDatei(z.Ordner("rooms") + "JumpTest.lsd", RaumText(JumpRaum()));
}

Teil teil("Jump-and-run", Erzeuge);

}  // namespace
