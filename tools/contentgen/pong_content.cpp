// The table tennis game's pictures and sounds in the games folder, and a test room whose start
// script and table start a match and answer its outcome.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "runtime/surface.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;
using rt::RGB;

namespace {

// ---- Pictures --------------------------------------------------------------------------------

// The ball and its ghosts go onto the court with OR: black stays see-through, so the ghosts are
// the ball in darker shades.
Bild Ball(float hell) {
  Bild b(10, 10);
  const auto ton = [hell](int v) { return int(std::lround(v * hell)); };
  b.Ellipse(5, 5, 5, 5, RGB(ton(200), ton(200), ton(180)));
  b.Ellipse(5, 5, 3.6f, 3.6f, RGB(ton(255), ton(250), ton(220)));
  b.Ellipse(3.8f, 3.6f, 1.3f, 1.3f, RGB(ton(255), ton(255), ton(255)));
  return b;
}

// 10 by 100: drawn 50 pixels above the paddle's centre.
Bild Schlaeger(rt::Color farbe, rt::Color kante) {
  Bild b(10, 100);
  b.Rechteck(1, 4, 8, 95, kante);
  b.Ellipse(5, 5, 4.5f, 4.5f, kante);
  b.Ellipse(5, 95, 4.5f, 4.5f, kante);
  b.Rechteck(2, 5, 7, 94, farbe);
  b.Linie(4, 8, 4, 92, 1.5f, Mische(farbe, 0xFFFFFF, 0.5f));
  for (int y = 20; y < 90; y += 14) b.Linie(2, float(y), 7, float(y), 1, Mische(farbe, 0, 0.35f));
  return b;
}

Bild Funke(rt::Color innen, rt::Color aussen) {
  Bild b(10, 10);
  b.Linie(5, 0, 5, 10, 1.5f, aussen);
  b.Linie(0, 5, 10, 5, 1.5f, aussen);
  b.Linie(1.5f, 1.5f, 8.5f, 8.5f, 1, aussen);
  b.Linie(1.5f, 8.5f, 8.5f, 1.5f, 1, aussen);
  b.Ellipse(5, 5, 2.2f, 2.2f, innen);
  return b;
}

// A 300 by 50 banner: the end animation squeezes it between 300 and -300 pixels.
Bild Banner(const std::string& text, rt::Color oben, rt::Color unten, rt::Color schrift) {
  rt::Surface s(300, 50);
  s.SetAutoRedraw(true);
  s.BackColor = 0;
  s.Cls();
  for (int y = 0; y < 50; ++y) s.Line(0, float(y), 299, float(y), Mische(oben, unten, y / 49.0f));
  s.Line(0, 0, 299, 49, schrift, rt::Surface::Box);
  s.Line(2, 2, 297, 47, Mische(schrift, unten, 0.5f), rt::Surface::Box);
  s.font = rt::Font{"Arial", 20, true};
  const std::string t = Cp1252(text);
  const float x = (300 - s.TextWidth(t)) / 2, y = (50 - s.TextHeight(t)) / 2;
  s.ForeColor = 0;
  s.CurrentX = x + 2;
  s.CurrentY = y + 2;
  s.Print(t);
  s.ForeColor = schrift;
  s.CurrentX = x;
  s.CurrentY = y;
  s.Print(t);
  Bild b(300, 50);
  b.px = s.ImagePixels();
  return b;
}

// The frame strip of the court's sprites: six rings growing and fading.
Bild Wellen() {
  Bild b(153, 25);
  for (int k = 0; k < 6; ++k) {
    const float cx = 12.5f + k * 25.5f, r = 3 + k * 1.8f;
    const rt::Color c = Mische(RGB(120, 220, 255), RGB(20, 50, 90), k / 5.0f);
    b.Ellipse(cx, 12.5f, r + 1.5f, r + 1.5f, c);
    b.Ellipse(cx, 12.5f, r, r, 0);
  }
  return b;
}

// The room with the table tennis table.
Bild Spielraum() {
  Bild b(640, 480);
  b.Verlauf(0, 300, RGB(90, 70, 60), RGB(150, 120, 96));
  b.Rauschen(0, 0, 639, 300, 8, 41);
  b.Rechteck(0, 300, 639, 479, RGB(110, 80, 52));
  for (int x = -200; x < 840; x += 60) b.Linie(float(x), 300, float(x - 120), 479, 2, RGB(84, 60, 40));
  // Window with evening light.
  b.Rechteck(420, 60, 580, 190, RGB(60, 40, 30));
  for (int y = 66; y <= 184; ++y)
    for (int x = 426; x <= 574; ++x) b.Punkt(x, y, Mische(RGB(250, 170, 90), RGB(120, 80, 140), (y - 66) / 118.0f));
  b.Linie(500, 66, 500, 184, 4, RGB(60, 40, 30));
  b.Linie(426, 125, 574, 125, 4, RGB(60, 40, 30));
  // The table, its net, two bats and a ball.
  b.Polygon({{120, 260}, {520, 260}, {600, 380}, {40, 380}}, RGB(20, 90, 60));
  b.Linie(120, 260, 520, 260, 3, 0xFFFFFF);
  b.Linie(520, 260, 600, 380, 3, 0xFFFFFF);
  b.Linie(600, 380, 40, 380, 3, 0xFFFFFF);
  b.Linie(40, 380, 120, 260, 3, 0xFFFFFF);
  b.Linie(80, 320, 560, 320, 2, 0xFFFFFF);
  b.Rechteck(40, 381, 600, 392, RGB(14, 60, 40));
  b.Rechteck(70, 392, 84, 470, RGB(40, 40, 44));
  b.Rechteck(556, 392, 570, 470, RGB(40, 40, 44));
  // The net across the middle, seen from the side.
  b.Rechteck(316, 242, 324, 380, RGB(200, 200, 200));
  for (int y = 246; y < 380; y += 5) b.Linie(316, float(y), 324, float(y), 1, RGB(120, 120, 120));
  b.Rechteck(315, 240, 325, 243, 0xFFFFFF);
  b.Ellipse(200, 340, 22, 18, RGB(190, 30, 30));
  b.Rechteck(196, 356, 204, 376, RGB(110, 70, 40));
  b.Ellipse(450, 345, 22, 18, RGB(30, 40, 160));
  b.Rechteck(446, 361, 454, 381, RGB(110, 70, 40));
  b.Ellipse(330, 280, 5, 5, 0xFFFFFF);
  return b;
}

// ---- Sounds ------------------------------------------------------------------------------------

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979;

struct Ton {
  double von, bis;  // pitch glides from von to bis (Hz)
  double dauer;     // seconds
  double laut;      // 0..1
  double abklingen; // per second; 0 = a soft swell and fade instead
};

std::vector<int16_t> Klang(const std::vector<Ton>& toene, double obertoene = 0.3) {
  std::vector<int16_t> s;
  for (const Ton& t : toene) {
    const int n = int(t.dauer * kRate);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
      const double x = double(i) / n, sek = double(i) / kRate;
      const double huelle = t.abklingen > 0 ? std::exp(-t.abklingen * sek) * std::min(1.0, i / 40.0)
                                            : std::sin(kPi * x);
      phase += 2 * kPi * (t.von + (t.bis - t.von) * x) / kRate;
      const double v = std::sin(phase) + obertoene * std::sin(2 * phase) + obertoene / 3 * std::sin(3 * phase);
      s.push_back(int16_t(std::clamp(v * huelle * t.laut * 20000, -32000.0, 32000.0)));
    }
  }
  return s;
}

void Wave(const Ziel& z, const std::string& name, const std::vector<int16_t>& s) {
  const std::string pfad = z.Ordner("games") + name;
  if (!rt::WriteWaveFile(pfad, s, kRate, 1)) throw std::runtime_error("cannot write " + pfad);
}

// ---- The test room -----------------------------------------------------------------------------

Befehl Pong() { return {27, "PONG, PONG_GEWONNEN, 0"}; }
Befehl WennGewonnen() { return {0, "PONG_GEWONNEN"}; }
Befehl Text(const std::string& t) { return {2, t}; }
const Befehl kSonst{9, ""};
const Befehl kEnde{10, ""};

Skr Match() {
  return {Pong(), WennGewonnen(), Text("Gewonnen! Krakix schlägt Merla."), kSonst,
          Text("Verloren. Merla hatte wohl doch recht."), kEnde};
}

RaumDef PongRaum() {
  RaumDef r;
  r.bild = "pongraum.jpg";
  r.start = Match();
  HotspotDef tisch;
  tisch.name = "Tisch";
  tisch.cursor = "hand1.ico";
  tisch.maske = MaskeAus([](int x, int y) { return y >= 260 && y <= 392 && x >= 40 && x <= 600; });
  tisch.skripte = {Skr{WennGewonnen(), Text("Hier hast du Merla schon besiegt."), kSonst,
                       Text("Eine Tischtennisplatte. Merla wartet auf dich."), kEnde},
                   Match(), Skr{}};
  tisch.aktiv = {true, true, false};
  r.hotspots.push_back(tisch);
  return r;
}

void Erzeuge(const Ziel& z) {
  const std::string spiele = z.Ordner("games");
  const float helligkeit[4] = {1.0f, 0.6f, 0.4f, 0.25f};
  for (int i = 0; i < 4; ++i) SpeichereBmp(Ball(helligkeit[i]), spiele + "1(" + std::to_string(i) + ").bmp");
  SpeichereBmp(Schlaeger(RGB(220, 60, 50), RGB(120, 20, 20)), spiele + "4.bmp");
  SpeichereBmp(Schlaeger(RGB(60, 200, 90), RGB(20, 90, 40)), spiele + "5.bmp");
  SpeichereBmp(Schlaeger(RGB(200, 200, 200), RGB(90, 90, 90)), spiele + "6.bmp");
  SpeichereBmp(Funke(RGB(255, 255, 200), RGB(255, 150, 40)), spiele + "70.bmp");
  SpeichereBmp(Funke(RGB(220, 255, 255), RGB(60, 180, 255)), spiele + "71.bmp");
  SpeichereBmp(Banner("Merla gewinnt!", RGB(150, 20, 20), RGB(60, 0, 0), RGB(255, 220, 120)), spiele + "8.bmp");
  SpeichereBmp(Banner("Krakix gewinnt!", RGB(20, 130, 50), RGB(0, 50, 20), RGB(230, 255, 200)), spiele + "91.bmp");
  SpeichereBmp(Wellen(), spiele + "w.bmp");

  Wave(z, "wand.wav", Klang({{150, 110, 0.09, 0.9, 40}}, 0.6));
  Wave(z, "pong.wav", Klang({{880, 860, 0.07, 0.8, 60}}, 0.1));
  Wave(z, "juhu2.wav", Klang({{523, 523, 0.12, 0.7, 8}, {784, 784, 0.22, 0.7, 6}}));
  Wave(z, "juhu.wav", Klang({{523, 523, 0.14, 0.7, 6}, {659, 659, 0.14, 0.7, 6},
                             {784, 784, 0.14, 0.7, 6}, {1047, 1100, 0.7, 0.7, 2.5}}));
  Wave(z, "sisa1.wav", Klang({{620, 380, 0.45, 0.6, 0}}, 0.5));
  Wave(z, "dumm.wav", Klang({{220, 180, 0.35, 0.8, 0}, {165, 120, 0.6, 0.8, 0}}, 0.7));

  SpeichereJpg(Spielraum(), z.Ordner("graphics") + "pongraum.jpg");
  SchreibeDatei(z.Ordner("rooms") + "PongTest.lsd", RaumText(PongRaum()));
}

Teil teil("Pong", Erzeuge);

}  // namespace
