// The observatory on the tower (the end of the adventure): the telescope zooms to the moon, the
// bell shakes the tower, the crystal fades to white and back, and the portal ends the game with
// the credits. "EffekteTest.lsd" is the same room running every effect and the credits at once
// (for a command-line start). Also the ten credits pictures and their music "GMNUTRAC.MID".
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;
using rt::RGB;

namespace {

using Strich = std::vector<std::array<float, 2>>;

// Block letters as strokes in a unit box.
std::vector<Strich> Buchstabe(char c) {
  switch (c) {
    case 'N': return {{{0, 1}, {0, 0}, {1, 1}, {1, 0}}};
    case 'O': {
      Strich s;
      for (int i = 0; i <= 24; ++i) {
        const float a = float(i) / 24 * 6.2832f;
        s.push_back({0.5f + 0.5f * std::sin(a), 0.5f - 0.5f * std::cos(a)});
      }
      return {s};
    }
    case 'R': return {{{0, 1}, {0, 0}, {0.75f, 0}, {1, 0.15f}, {1, 0.35f}, {0.75f, 0.5f}, {0, 0.5f}}, {{0.5f, 0.5f}, {1, 1}}};
    case 'V': return {{{0, 0}, {0.5f, 1}, {1, 0}}};
    case 'A': return {{{0, 1}, {0.5f, 0}, {1, 1}}, {{0.25f, 0.6f}, {0.75f, 0.6f}}};
    case 'L': return {{{0, 0}, {0, 1}, {1, 1}}};
    case 'D': return {{{0, 0}, {0, 1}, {0.6f, 1}, {1, 0.7f}, {1, 0.3f}, {0.6f, 0}, {0, 0}}};
    default: return {{{1, 0}, {0, 0}, {0, 1}, {1, 1}}, {{0, 0.5f}, {0.7f, 0.5f}}};  // E
  }
}

void Schrift(Bild& b, const std::string& text, float x, float y, float w, float h, float abstand, float dicke,
             rt::Color c) {
  for (char z : text) {
    for (const Strich& s : Buchstabe(z))
      for (size_t i = 1; i < s.size(); ++i)
        b.Linie(x + s[i - 1][0] * w, y + s[i - 1][1] * h, x + s[i][0] * w, y + s[i][1] * h, dicke, c);
    x += w + abstand;
  }
}

void Sterne(Bild& b, int x1, int y1, int x2, int y2, int anzahl, uint32_t saat) {
  for (int i = 0; i < anzahl; ++i) {
    const int x = x1 + int(Zufall(saat) % uint32_t(x2 - x1 + 1));
    const int y = y1 + int(Zufall(saat) % uint32_t(y2 - y1 + 1));
    const int hell = 150 + int(Zufall(saat) % 106);
    b.Punkt(x, y, RGB(hell, hell, std::min(255, hell + 30)));
  }
}

// ---- The credits pictures -------------------------------------------------------------------

Bild Titel() {
  Bild b(520, 110);
  b.Verlauf(0, 109, RGB(10, 14, 50), RGB(40, 20, 70));
  Sterne(b, 0, 0, 519, 109, 160, 501);
  Schrift(b, "NORVALDE", 24, 24, 44, 62, 16, 9, RGB(90, 50, 10));
  Schrift(b, "NORVALDE", 20, 20, 44, 62, 16, 7, RGB(250, 200, 70));
  b.Linie(20, 96, 500, 96, 2, RGB(250, 200, 70));
  return b;
}

// Four in the morning: a head asleep on the keyboard.
Bild Tastaturschlaf() {
  Bild b(160, 120);
  b.Verlauf(0, 119, RGB(30, 30, 60), RGB(60, 50, 70));
  b.Rechteck(0, 80, 159, 119, RGB(110, 74, 44));
  b.Polygon({{14, 104}, {146, 104}, {136, 80}, {24, 80}}, RGB(200, 200, 190));
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 10; ++k) {
      const float x = 28 + k * 10.5f + (2 - r) * 3, y = 83 + r * 7;
      b.Rechteck(int(x), int(y), int(x) + 7, int(y) + 4, RGB(120, 120, 115));
    }
  b.Ellipse(82, 70, 26, 20, RGB(240, 196, 160));  // the head, lying on its side
  b.Ellipse(82, 54, 27, 10, RGB(90, 56, 30));
  b.Linie(70, 70, 78, 71, 1.5f, RGB(40, 30, 30));
  b.Linie(88, 71, 96, 70, 1.5f, RGB(40, 30, 30));
  b.Ellipse(83, 80, 4, 2, RGB(160, 80, 80));
  // Z, z, z rising.
  for (int i = 0; i < 3; ++i) {
    const float x = 112 + i * 12, y = 44 - i * 14, s = 6 + i * 2.0f;
    b.Linie(x, y, x + s, y, 1.5f, 0xFFFFFF);
    b.Linie(x + s, y, x, y + s, 1.5f, 0xFFFFFF);
    b.Linie(x, y + s, x + s, y + s, 1.5f, 0xFFFFFF);
  }
  // The clock at four.
  b.Ellipse(26, 26, 17, 17, RGB(230, 230, 220));
  b.Ellipse(26, 26, 14, 14, RGB(250, 250, 245));
  b.Linie(26, 26, 26, 15, 2, RGB(30, 30, 30));
  b.Linie(26, 26, 33, 30, 2.5f, RGB(30, 30, 30));
  return b;
}

struct Gesicht {
  rt::Color haut, haar, hemd, grund;
  bool lang;  // long hair
};

void Kopf(Bild& b, float cx, float cy, float s, const Gesicht& g) {
  if (g.lang) {
    b.Rechteck(int(cx - 17 * s), int(cy - 6 * s), int(cx - 10 * s), int(cy + 20 * s), g.haar);
    b.Rechteck(int(cx + 10 * s), int(cy - 6 * s), int(cx + 17 * s), int(cy + 20 * s), g.haar);
  }
  b.Ellipse(cx, cy + 40 * s, 24 * s, 16 * s, g.hemd);
  b.Ellipse(cx, cy, 14 * s, 17 * s, g.haut);
  b.Ellipse(cx, cy - 11 * s, 15 * s, 8 * s, g.haar);
  b.Ellipse(cx - 5 * s, cy, 2 * s, 2 * s, RGB(30, 30, 40));
  b.Ellipse(cx + 5 * s, cy, 2 * s, 2 * s, RGB(30, 30, 40));
  b.Linie(cx - 5 * s, cy + 8 * s, cx + 5 * s, cy + 8 * s, 1.5f * s, RGB(150, 60, 60));
}

const std::array<Gesicht, 6> kMacher = {{{RGB(240, 200, 170), RGB(70, 45, 25), RGB(40, 90, 160), RGB(200, 220, 240), false},
                                         {RGB(220, 170, 130), RGB(20, 20, 20), RGB(180, 40, 70), RGB(240, 220, 200), true},
                                         {RGB(245, 210, 180), RGB(220, 180, 80), RGB(60, 130, 60), RGB(210, 235, 210), false},
                                         {RGB(240, 205, 175), RGB(160, 60, 30), RGB(120, 60, 150), RGB(235, 215, 240), true},
                                         {RGB(190, 140, 100), RGB(30, 25, 20), RGB(230, 140, 30), RGB(250, 235, 200), false},
                                         {RGB(250, 215, 190), RGB(240, 220, 150), RGB(30, 140, 150), RGB(210, 240, 240), true}}};

Bild Portrait(const Gesicht& g) {
  Bild b(60, 70);
  b.Verlauf(0, 69, g.grund, Mische(g.grund, 0, 0.3f));
  Kopf(b, 30, 32, 1, g);
  return b;
}

// The heading's picture: the whole team squeezed into one frame.
Bild Gruppe() {
  Bild b(60, 70, RGB(250, 240, 200));
  b.Verlauf(0, 69, RGB(250, 240, 200), RGB(220, 190, 140));
  for (int i = 0; i < 6; ++i) Kopf(b, 10.0f + float(i % 3) * 20 + (i < 3 ? 0 : 10), i < 3 ? 20.0f : 44.0f, 0.45f, kMacher[size_t(i)]);
  return b;
}

// Enthusiasm: fireworks over cheering heads.
Bild Begeisterung() {
  Bild b(280, 170);
  b.Verlauf(0, 169, RGB(5, 5, 30), RGB(40, 20, 60));
  Sterne(b, 0, 0, 279, 120, 80, 777);
  const std::array<rt::Color, 4> farben = {RGB(255, 80, 80), RGB(255, 220, 60), RGB(80, 200, 255), RGB(140, 255, 120)};
  const std::array<std::array<float, 3>, 4> feuer = {{{60, 45, 30}, {150, 30, 38}, {225, 60, 28}, {110, 85, 20}}};
  for (size_t k = 0; k < feuer.size(); ++k) {
    const auto [fx, fy, r] = feuer[k];
    for (int i = 0; i < 16; ++i) {
      const float a = float(i) / 16 * 6.2832f;
      b.Linie(fx + std::cos(a) * r * 0.3f, fy + std::sin(a) * r * 0.3f, fx + std::cos(a) * r, fy + std::sin(a) * r, 1.5f,
              farben[k]);
      b.Ellipse(fx + std::cos(a) * r, fy + std::sin(a) * r, 1.5f, 1.5f, 0xFFFFFF);
    }
  }
  for (int i = 0; i < 7; ++i) {
    const float x = 20 + i * 40.0f, y = 140 + (i % 2) * 6.0f;
    const rt::Color c = RGB(20, 15, 25);
    b.Ellipse(x, y, 13, 15, c);
    b.Ellipse(x, y + 30, 20, 20, c);
    b.Linie(x - 12, y + 14, x - 20, y - 16, 5, c);  // arms up
    b.Linie(x + 12, y + 14, x + 20, y - 16, 5, c);
  }
  return b;
}

// ---- The observatory --------------------------------------------------------------------------

Bild Sternwarte() {
  Bild b(640, 480);
  b.Verlauf(0, 330, RGB(8, 10, 40), RGB(50, 30, 80));
  Sterne(b, 0, 0, 639, 320, 500, 4242);
  // The moon with its craters: what the telescope zooms to.
  b.Ellipse(490, 85, 42, 42, RGB(250, 240, 200));
  for (auto [x, y, r] : {std::array<float, 3>{475, 70, 9}, {505, 95, 12}, {480, 105, 6}, {510, 62, 5}})
    b.Ellipse(x, y, r, r, RGB(215, 205, 170));
  // Someone up there waves.
  b.Ellipse(492, 78, 2, 2, RGB(60, 60, 90));
  b.Linie(492, 80, 492, 87, 1, RGB(60, 60, 90));
  b.Linie(492, 87, 489, 92, 1, RGB(60, 60, 90));
  b.Linie(492, 87, 495, 92, 1, RGB(60, 60, 90));
  b.Linie(492, 82, 488, 85, 1, RGB(60, 60, 90));
  b.Linie(492, 82, 497, 77, 1, RGB(60, 60, 90));
  // The parapet.
  b.Rechteck(0, 330, 639, 479, RGB(90, 84, 96));
  for (int y = 330; y < 480; y += 20) {
    b.Linie(0, float(y), 639, float(y), 1, RGB(60, 56, 66));
    for (int x = (y / 20) % 2 * 20; x < 640; x += 40) b.Linie(float(x), float(y), float(x), float(y + 20), 1, RGB(60, 56, 66));
  }
  b.Rauschen(0, 330, 639, 479, 10, 4343);
  // The telescope on its tripod.
  b.Linie(140, 300, 100, 380, 5, RGB(110, 80, 40));
  b.Linie(140, 300, 180, 380, 5, RGB(110, 80, 40));
  b.Linie(140, 300, 140, 385, 5, RGB(110, 80, 40));
  b.Linie(90, 320, 220, 210, 20, RGB(180, 150, 60));
  b.Linie(210, 218, 226, 205, 24, RGB(140, 110, 40));
  b.Ellipse(140, 300, 8, 8, RGB(80, 60, 30));
  // The bell in its frame.
  b.Linie(280, 160, 280, 340, 8, RGB(100, 70, 40));
  b.Linie(380, 160, 380, 340, 8, RGB(100, 70, 40));
  b.Linie(276, 160, 384, 160, 10, RGB(100, 70, 40));
  b.Polygon({{305, 180}, {355, 180}, {372, 262}, {288, 262}}, RGB(200, 160, 50));
  b.Ellipse(330, 184, 25, 12, RGB(200, 160, 50));
  b.Rechteck(285, 258, 375, 266, RGB(170, 130, 40));
  b.Ellipse(330, 272, 8, 8, RGB(120, 90, 30));
  // The crystal on its pedestal, glowing.
  b.Ellipse(450, 270, 40, 40, RGB(40, 70, 110));
  b.Ellipse(450, 270, 26, 26, RGB(70, 130, 170));
  b.Rechteck(430, 300, 470, 360, RGB(120, 115, 125));
  b.Polygon({{450, 225}, {468, 262}, {450, 300}, {432, 262}}, RGB(150, 240, 255));
  b.Polygon({{450, 232}, {460, 262}, {450, 290}}, RGB(230, 255, 255));
  // The portal: a glowing arch to the end of the journey.
  b.Rechteck(548, 200, 632, 380, RGB(110, 104, 120));
  b.Ellipse(590, 220, 42, 30, RGB(110, 104, 120));
  b.Rechteck(560, 222, 620, 376, RGB(240, 210, 120));
  b.Ellipse(590, 224, 30, 22, RGB(240, 210, 120));
  b.Rechteck(572, 236, 608, 376, RGB(255, 245, 200));
  return b;
}

const Befehl kSonst{9, ""};
const Befehl kEnde{10, ""};
Befehl Text(const std::string& t) { return {2, t}; }

const Befehl kMondHin{14, "430,45,550,125"};
const Befehl kMondZurueck{15, "430,45,550,125"};
const Skr kAbschluss = {{32, "1"}, {30, "Abspann"}, {30, "Ende"}};

RaumDef Turm(Skr start) {
  RaumDef r;
  r.bild = "sternwarte.jpg";
  r.start = std::move(start);
  r.hotspots.push_back(Klickbar("Fernrohr", "auge1.ico", MaskeRechteck(80, 190, 230, 390),
                                {kMondHin, Text("Der Mond ist zum Greifen nah.#Auf einem Krater winkt jemand."), kMondZurueck},
                                {Text("Ein altes Fernrohr aus Messing.")}));
  r.hotspots.push_back(Klickbar("Glocke", "hand1.ico", MaskeRechteck(280, 160, 380, 280),
                                {{32, "3"}, Text("BONG!#Der ganze Turm wackelt.")},
                                {Text("Eine schwere Glocke aus Bronze.")}));
  r.hotspots.push_back(Klickbar("Kristall", "hand1.ico", MaskeRechteck(420, 225, 480, 360),
                                {{32, "1"}, {32, "2"}, Text("$BDer Kristall strahlt so hell,#dass du kurz nichts mehr siehst.")},
                                {Text("Ein Kristall, der von innen leuchtet.")}));
  Skr tor = {Text("$EDu trittst durch das Tor.#Deine Reise ist zu Ende.")};
  tor.insert(tor.end(), kAbschluss.begin(), kAbschluss.end());
  r.hotspots.push_back(Klickbar("Tor", "pfeil1.ico", MaskeRechteck(548, 190, 632, 380), tor,
                                {Text("Ein leuchtendes Tor. Dahinter ist nur Licht.")}));
  return r;
}

void Erzeuge(const Ziel& z) {
  SpeichereJpg(Sternwarte(), z.Ordner("graphics") + "sternwarte.jpg");
  SchreibeDatei(z.Ordner("rooms") + "Sternwarte.lsd",
                RaumText(Turm({Text("Die Sternwarte auf dem höchsten Turm von Norvalde.#Über dir funkeln die Sterne.")})));
  Skr alles = {kMondHin, kMondZurueck, {32, "1"}, {32, "2"}, {32, "3"}};
  alles.insert(alles.end(), kAbschluss.begin(), kAbschluss.end());
  SchreibeDatei(z.Ordner("rooms") + "EffekteTest.lsd", RaumText(Turm(alles)));

  const std::string spiele = z.Ordner("games");
  SpeichereJpg(Titel(), spiele + "Titel.jpg", 92);
  SpeichereJpg(Tastaturschlaf(), spiele + "2.jpg", 92);
  SpeichereJpg(Gruppe(), spiele + "k1.jpg", 92);
  for (size_t i = 0; i < kMacher.size(); ++i)
    SpeichereJpg(Portrait(kMacher[i]), spiele + "k" + std::to_string(i + 2) + ".jpg", 92);
  SpeichereJpg(Begeisterung(), spiele + "Begeisterung.jpg", 92);

  // A slow, warm tune for the end: strings in C major.
  const std::vector<rt::MidiNote> lied = {
      {60, 1}, {64, 1}, {67, 1}, {72, 2}, {71, 1}, {69, 1}, {67, 2},   {65, 1}, {64, 1}, {62, 1}, {64, 3},
      {0, 1},  {57, 1}, {60, 1}, {64, 1}, {69, 2}, {67, 1}, {65, 1},   {64, 2}, {62, 1}, {60, 1}, {59, 1},
      {60, 3}, {0, 1},  {64, 1}, {67, 1}, {72, 1}, {76, 2}, {74, 1},   {72, 1}, {71, 2}, {72, 1}, {69, 1},
      {67, 1}, {65, 2}, {64, 1}, {62, 1}, {67, 2}, {65, 1}, {62, 1},   {60, 4}, {0, 2}};
  const std::string musik = z.Ordner("musics") + "GMNUTRAC.MID";
  if (!rt::WriteMidiFile(musik, lied, 76, 48)) throw std::runtime_error("cannot write " + musik);
}

Teil teil("Sternwarte und Abspann", Erzeuge);

}  // namespace
