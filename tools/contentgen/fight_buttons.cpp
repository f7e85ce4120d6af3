// The fight's planning buttons, 65 by 65 .bmp in the games folder: three attacks, the potion and
// undo ("prügels1" to "prügels5"), three defences ("prügelb1" to "prügelb3"). Each technique
// shows a small Krakel in its pose, attacks on red, defences on blue.
#include <cmath>
#include <string>
#include <utility>

#include "tools/contentgen/contentgen.h"
#include "tools/contentgen/fight_figures.h"

using namespace cg;
using rt::RGB;

namespace {

constexpr int kSeite = 65;

Bild Knopf(rt::Color oben, rt::Color unten) {
  Bild b(kSeite, kSeite);
  b.Verlauf(0, kSeite - 1, oben, unten);
  return b;
}

// A raised edge, as buttons have.
void Rand(Bild& b) {
  for (int i = 0; i < 2; ++i) {
    b.Rechteck(i, i, kSeite - 1 - i, i, RGB(240, 240, 240));
    b.Rechteck(i, i, i, kSeite - 1 - i, RGB(240, 240, 240));
    b.Rechteck(i, kSeite - 1 - i, kSeite - 1 - i, kSeite - 1 - i, RGB(50, 50, 50));
    b.Rechteck(kSeite - 1 - i, i, kSeite - 1 - i, kSeite - 1 - i, RGB(50, 50, 50));
  }
}

Bild Technik(const Pose& p, bool angriff, float x, float boden = 60) {
  Bild b = angriff ? Knopf(RGB(220, 90, 70), RGB(120, 20, 20)) : Knopf(RGB(90, 140, 230), RGB(20, 40, 120));
  Kaempfer(b, p, KrakelStil(), x, boden, 0.2f, 1);
  Rand(b);
  return b;
}

Bild Trank() {
  Bild b = Knopf(RGB(60, 30, 90), RGB(20, 10, 40));
  b.Ellipse(32, 42, 16, 16, RGB(120, 200, 220));
  b.Ellipse(32, 45, 13, 12, RGB(180, 50, 220));
  b.Rechteck(27, 12, 37, 28, RGB(120, 200, 220));
  b.Rechteck(26, 8, 38, 13, RGB(130, 80, 40));
  for (auto [x, y] : {std::array<int, 2>{12, 14}, {52, 20}, {48, 54}, {14, 50}}) {
    b.Linie(float(x - 4), float(y), float(x + 4), float(y), 1.5f, RGB(255, 240, 120));
    b.Linie(float(x), float(y - 4), float(x), float(y + 4), 1.5f, RGB(255, 240, 120));
  }
  Rand(b);
  return b;
}

Bild Zurueck() {
  Bild b = Knopf(RGB(210, 210, 200), RGB(150, 150, 140));
  // Three quarters of a circle, then the arrow head pointing back.
  const float cx = 33, cy = 34, r = 17;
  for (int i = 0; i <= 40; ++i) {
    const float w = -0.6f + 4.4f * float(i) / 40;
    b.Ellipse(cx + r * std::cos(w), cy + r * std::sin(w), 3.5f, 3.5f, RGB(40, 40, 40));
  }
  const float w = -0.6f;
  const float hx = cx + r * std::cos(w), hy = cy + r * std::sin(w);
  b.Polygon({{hx - 10, hy - 2}, {hx + 10, hy - 2}, {hx, hy + 12}}, RGB(40, 40, 40));
  // Mirrored, so it turns back (anticlockwise).
  for (int y = 0; y < kSeite; ++y)
    for (int x = 0; x < kSeite / 2; ++x) std::swap(b.px[size_t(y * kSeite + x)], b.px[size_t(y * kSeite + kSeite - 1 - x)]);
  Rand(b);
  return b;
}

void Erzeuge(const Ziel& z) {
  const std::string ordner = z.Ordner("games");
  auto bmp = [&](const char* name, const Bild& b) { SpeichereBmp(b, ordner + name); };
  bmp("prügels1.bmp", Technik(posen::Faust, true, 14));
  bmp("prügels2.bmp", Technik(posen::Tritt, true, 20));
  bmp("prügels3.bmp", Technik(posen::Feger, true, 14));
  bmp("prügels4.bmp", Trank());
  bmp("prügels5.bmp", Zurueck());
  bmp("prügelb1.bmp", Technik(posen::DeckungOben, false, 30));
  bmp("prügelb2.bmp", Technik(posen::DeckungMitte, false, 30));
  bmp("prügelb3.bmp", Technik(posen::Sprung, false, 30, 72));
}

Teil teil("Kampfknoepfe", Erzeuge);

}  // namespace
