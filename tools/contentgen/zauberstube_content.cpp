// The magic study: a blackboard that starts the pi typing game and a mirror full of heads that
// starts the flying-heads game; both answer what the games left in their flags. "PiTest.lsd"
// and "WumpelTest.lsd" are the same room starting its game at once (for a command-line start).
#include <array>
#include <string>

#include "tools/contentgen/contentgen.h"

using namespace cg;
using rt::RGB;

namespace {

// Chalk digits as seven segments in a 16 by 28 box; "." is a dot.
void Ziffer(Bild& b, float x, float y, char z, rt::Color kreide) {
  if (z == '.') {
    b.Ellipse(x + 2, y + 27, 2, 2, kreide);
    return;
  }
  static const char* segmente[10] = {"abcdef", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg", "abcdfg"};
  const float l = x, r = x + 14, o = y, m = y + 13, u = y + 26;
  for (const char* s = segmente[z - '0']; *s; ++s) {
    std::array<float, 4> k{};
    switch (*s) {
      case 'a': k = {l, o, r, o}; break;
      case 'b': k = {r, o, r, m}; break;
      case 'c': k = {r, m, r, u}; break;
      case 'd': k = {l, u, r, u}; break;
      case 'e': k = {l, m, l, u}; break;
      case 'f': k = {l, o, l, m}; break;
      default: k = {l, m, r, m}; break;
    }
    b.Linie(k[0], k[1], k[2], k[3], 2.5f, kreide);
  }
}

Bild Stube() {
  Bild b(640, 480);
  b.Verlauf(0, 360, RGB(110, 76, 48), RGB(84, 56, 36));
  for (int x = 0; x < 640; x += 48) b.Linie(float(x), 0, float(x), 360, 1, RGB(70, 46, 28));
  b.Rauschen(0, 0, 639, 360, 8, 91);
  b.Rechteck(0, 361, 639, 479, RGB(60, 42, 30));
  for (int y = 372; y < 480; y += 18) b.Linie(0, float(y), 639, float(y), 1, RGB(44, 30, 22));
  b.Rauschen(0, 361, 639, 479, 10, 92);

  // The blackboard with the first digits of pi.
  b.Rechteck(34, 84, 286, 276, RGB(120, 84, 40));
  b.Rechteck(42, 92, 278, 268, RGB(30, 52, 40));
  b.Rauschen(42, 92, 278, 268, 6, 93);
  const std::string pi = "3.14159";
  float x = 56;
  for (char z : pi) {
    Ziffer(b, x, 120, z, RGB(230, 230, 220));
    x += z == '.' ? 12 : 28;
  }
  const std::string weiter = "2653589";
  x = 56;
  for (char z : weiter) {
    Ziffer(b, x, 180, z, RGB(200, 200, 190));
    x += 28;
  }
  b.Rechteck(60, 276, 140, 284, RGB(100, 70, 36));  // the chalk tray

  // The mirror with heads flying inside.
  b.Ellipse(490, 200, 96, 136, RGB(190, 150, 60));
  b.Ellipse(490, 200, 84, 124, RGB(40, 50, 80));
  b.Rauschen(406, 76, 574, 324, 6, 94, RGB(40, 50, 80));
  for (auto [kx, ky] : {std::array<int, 2>{460, 140}, {520, 200}, {470, 260}, {530, 120}}) {
    b.Ellipse(float(kx), float(ky), 16, 15, RGB(90, 200, 70));
    b.Ellipse(float(kx - 6), float(ky - 3), 3, 3, RGB(255, 255, 255));
    b.Ellipse(float(kx + 6), float(ky - 3), 3, 3, RGB(255, 255, 255));
    b.Ellipse(float(kx), float(ky + 7), 5, 3, RGB(120, 20, 30));
  }

  // The door back to the village.
  b.Rechteck(596, 150, 639, 360, RGB(70, 44, 24));
  b.Ellipse(606, 260, 3, 3, RGB(220, 190, 60));
  return b;
}

const Befehl kSonst{9, ""};
const Befehl kEnde{10, ""};

// The game and then the answer to its flag; a win also leaves a lasting flag behind.
Skr Pi() {
  return {{27, "PI,PI_GESCHAFFT,"}, {0, "PI_GESCHAFFT"},
          {2, "$ADu hast mehr als 38 Zeichen von Pi getippt!#Die Tafel wischt sich von selbst sauber."},
          {3, "PI_GEMEISTERT"}, kSonst, {2, "Die Ziffern waren schneller als du."}, kEnde};
}

Skr Koepfe() {
  return {{27, "WUMPEL,KOEPFE_GETROFFEN,"}, {0, "KOEPFE_GETROFFEN"},
          {2, "$AAlle 21 Köpfe getroffen!#Im Spiegel ist es jetzt still."}, {3, "WUMPEL_GEMEISTERT"}, kSonst,
          {2, "Die Köpfe lachen dich aus."}, kEnde};
}

RaumDef Zauberstube(Skr start) {
  RaumDef r;
  r.bild = "zauberstube.jpg";
  r.start = std::move(start);
  Skr tafel = {{2, "Auf der Tafel stehen die Ziffern von Pi.#Kannst du sie schneller tippen, als sie verschwinden?"}};
  for (const Befehl& b : Pi()) tafel.push_back(b);
  Skr spiegel = {{2, "Im Spiegel fliegen Köpfe umher.#Triff alle 21 in 20 Sekunden!"}};
  for (const Befehl& b : Koepfe()) spiegel.push_back(b);
  r.hotspots.push_back(Klickbar("Tafel", "hand1.ico", MaskeRechteck(34, 84, 286, 284), tafel,
                                {{0, "PI_GEMEISTERT"}, {2, "Die Ziffern kennst du jetzt auswendig."}, kSonst,
                                 {2, "Eine Tafel voller Ziffern: 3,14159..."}, kEnde}));
  r.hotspots.push_back(Klickbar("Spiegel", "auge1.ico",
                                MaskeAus([](int x, int y) {
                                  const float dx = (x - 490) / 96.0f, dy = (y - 200) / 136.0f;
                                  return dx * dx + dy * dy <= 1;
                                }),
                                spiegel,
                                {{0, "WUMPEL_GEMEISTERT"}, {2, "Ein ganz gewöhnlicher Spiegel."}, kSonst,
                                 {2, "Ein Spiegel mit goldenem Rahmen. Drinnen bewegt sich etwas."}, kEnde}));
  r.hotspots.push_back(Klickbar("Tür", "pfeil1.ico", MaskeRechteck(596, 150, 639, 360), {{4, "Start.lsd"}},
                                {{2, "Die Tür führt zurück auf den Dorfplatz."}}));
  return r;
}

void Erzeuge(const Ziel& z) {
  SpeichereJpg(Stube(), z.Ordner("graphics") + "zauberstube.jpg");
  SchreibeDatei(z.Ordner("rooms") + "Zauberstube.lsd",
                RaumText(Zauberstube({{0, "PI_GEMEISTERT"}, {0, "WUMPEL_GEMEISTERT"},
                                      {2, "Beide Spiele der Zauberstube hast du gemeistert!"}, kEnde, kEnde})));
  SchreibeDatei(z.Ordner("rooms") + "PiTest.lsd", RaumText(Zauberstube(Pi())));
  SchreibeDatei(z.Ordner("rooms") + "WumpelTest.lsd", RaumText(Zauberstube(Koepfe())));
}

Teil teil("Zauberstube", Erzeuge);

}  // namespace
