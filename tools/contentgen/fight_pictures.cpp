// The fight's pictures in the games folder: the planning buttons (65 by 65 .bmp) and every
// scene of the fight (641 by 425 .jpg), Krakel on the left against Torvik on the right.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tools/contentgen/contentgen.h"
#include "tools/contentgen/fight_figures.h"

using namespace cg;
using rt::RGB;

// The ring every fight picture shares.
Bild cg::KampfArena(bool sturm) {
  Bild b(641, 425);
  if (sturm) {
    b.Verlauf(0, 300, RGB(20, 20, 40), RGB(70, 60, 90));
  } else {
    b.Verlauf(0, 300, RGB(250, 140, 60), RGB(250, 210, 150));
    b.Ellipse(520, 90, 40, 40, RGB(255, 240, 190));
  }
  b.Polygon({{0, 240}, {90, 190}, {200, 225}, {330, 170}, {470, 215}, {640, 180}, {640, 300}, {0, 300}},
            sturm ? RGB(40, 40, 60) : RGB(140, 90, 90));
  // The crowd behind the fence: heads in a row.
  uint32_t z = 7;
  for (int x = 4; x < b.w; x += 14) {
    const int y = 262 + int(Zufall(z) % 10);
    const rt::Color c = Mische(RGB(90, 60, 50), RGB(200, 160, 120), float(Zufall(z) % 100) / 100.0f);
    b.Ellipse(float(x), float(y), 7, 8, sturm ? Mische(c, 0, 0.6f) : c);
    b.Rechteck(x - 7, y + 6, x + 7, 300, sturm ? RGB(30, 30, 40) : Mische(c, RGB(60, 60, 120), 0.5f));
  }
  b.Rechteck(0, 288, b.w - 1, 300, RGB(110, 70, 40));
  for (int x = 0; x < b.w; x += 40) b.Rechteck(x, 276, x + 5, 300, RGB(90, 56, 30));
  b.Verlauf(301, b.h - 1, RGB(200, 170, 120), RGB(160, 130, 90));
  b.Rauschen(0, 301, b.w - 1, b.h - 1, 10, 3);
  if (sturm) {
    for (int i = 0; i < 5; ++i)
      b.Ellipse(float(60 + 130 * i), 40.0f + float(i % 2) * 20, 90, 30, RGB(40, 40, 56));
  }
  return b;
}

namespace {

constexpr float kBoden = 395;       // where the fighters stand
constexpr float kSK = 1.2f, kST = 1.35f;  // Krakel's and Torvik's scale
// Torvik's stand for the fireball: his hands meet where the ball swells, at (340, 130).
constexpr float kTorvikZauber = 340 + 72 * kST;

const rt::Color kWeiss = RGB(255, 255, 255), kGelb = RGB(255, 230, 60);

void Stern(Bild& b, float cx, float cy, float r, rt::Color c) {
  std::vector<std::array<float, 2>> e;
  for (int i = 0; i < 16; ++i) {
    const float w = float(i) * 3.14159265f / 8, rr = i % 2 ? r * 0.45f : r;
    e.push_back({cx + rr * std::cos(w), cy + rr * std::sin(w)});
  }
  b.Polygon(e, c);
  b.Ellipse(cx, cy, r * 0.3f, r * 0.3f, kWeiss);
}

void Funken(Bild& b, float cx, float cy) {
  for (int i = 0; i < 8; ++i) {
    const float w = float(i) * 0.785f + 0.3f;
    b.Linie(cx + 10 * std::cos(w), cy + 10 * std::sin(w), cx + 26 * std::cos(w), cy + 26 * std::sin(w), 3, kGelb);
  }
}

// Little birds and stars circling a dazed head.
void Benommen(Bild& b, Gelenk kopf) {
  for (int i = 0; i < 5; ++i) {
    const float w = float(i) * 1.2566f;
    Stern(b, kopf[0] + 34 * std::cos(w), kopf[1] - 38 + 9 * std::sin(w), 7, kGelb);
  }
}

void Flasche(Bild& b, float x, float y, float kipp, bool voll) {
  const float dx = std::sin(kipp), dy = -std::cos(kipp);
  b.Linie(x, y, x + dx * 30, y + dy * 30, 22, RGB(120, 200, 220));
  if (voll) b.Linie(x, y, x + dx * 18, y + dy * 18, 18, RGB(170, 40, 200));
  b.Linie(x + dx * 30, y + dy * 30, x + dx * 44, y + dy * 44, 9, RGB(120, 200, 220));
  b.Linie(x + dx * 44, y + dy * 44, x + dx * 48, y + dy * 48, 9, RGB(130, 80, 40));
}

void Blitz(Bild& b, Gelenk von, Gelenk nach, uint32_t saat, float dicke) {
  Gelenk p = von;
  const int stuecke = 9;
  for (int i = 1; i <= stuecke; ++i) {
    const float t = float(i) / stuecke;
    Gelenk q{von[0] + (nach[0] - von[0]) * t, von[1] + (nach[1] - von[1]) * t};
    if (i < stuecke) q[1] += float(int(Zufall(saat) % 41) - 20), q[0] += float(int(Zufall(saat) % 31) - 15);
    b.Linie(p[0], p[1], q[0], q[1], dicke + 4, RGB(140, 160, 255));
    b.Linie(p[0], p[1], q[0], q[1], dicke, kWeiss);
    p = q;
  }
}

// ---- The scenes ------------------------------------------------------------------------------

struct Szene {
  Bild b = KampfArena(false);
  void Krakel(const Pose& p, float x, Stil s = KrakelStil()) { Kaempfer(b, p, s, x, kBoden, kSK, 1); }
  void Torvik(const Pose& p, float x, Stil s = TorvikStil()) { Kaempfer(b, p, s, x, kBoden, kST, -1); }
  static Gelenk K(const Gelenk& g, float x) { return Ort(g, x, kBoden, kSK, 1); }
  static Gelenk T(const Gelenk& g, float x) { return Ort(g, x, kBoden, kST, -1); }
};

// The two fighters in the ring, Krakel in front.
Bild Paar(const Pose& krakel, float xk, const Pose& torvik, float xt) {
  Szene s;
  s.Torvik(torvik, xt);
  s.Krakel(krakel, xk);
  return s.b;
}

// The player's techniques (0 high punch, 1 kick, 2 sweep) and Torvik's guard against each.
const Pose* const kAngriff[3] = {&posen::Faust, &posen::Tritt, &posen::Feger};
const Pose* const kDeckung[3] = {&posen::DeckungOben, &posen::DeckungMitte, &posen::Sprung};

Bild SpielerTechnik(int k, bool geblockt) {
  Szene s;
  const float xk = 300, xt = 450;
  s.Torvik(geblockt ? *kDeckung[k] : posen::Getroffen, xt);
  s.Krakel(*kAngriff[k], xk);
  const Gelenk treffer = Szene::K(k == 1 ? kAngriff[k]->fussV : k == 2 ? kAngriff[k]->fussV : kAngriff[k]->handV, xk);
  if (geblockt) Funken(s.b, treffer[0] + 8, treffer[1]);
  else Stern(s.b, treffer[0] + 10, treffer[1], 26, kGelb);
  return s.b;
}

Bild TorvikTechnik(int k, bool geblockt, int phase = 1) {
  Szene s;
  const float xk = 190, xt = 330;
  if (k == 2 && phase == 0) {  // crouching for the sweep
    s.Krakel(posen::Stand, xk);
    s.Torvik(posen::Hocke, xt + 20);
    return s.b;
  }
  s.Krakel(geblockt ? *kDeckung[k] : posen::Getroffen, xk);
  s.Torvik(*kAngriff[k], xt);
  const Gelenk treffer = Szene::T(k == 0 ? kAngriff[k]->handV : kAngriff[k]->fussV, xt);
  if (geblockt) Funken(s.b, treffer[0] - 8, treffer[1]);
  else Stern(s.b, treffer[0] - 10, treffer[1], 26, kGelb);
  return s.b;
}

Bild Trank(int j) {
  Szene s;
  Stil k = KrakelStil();
  if (j >= 4) k.aura = Mische(RGB(120, 40, 200), RGB(255, 220, 80), float(j - 4) / 5.0f);
  if (j >= 8) k.groesse = 1.12f;
  const float x = 200;
  s.Torvik(j >= 7 ? posen::DeckungOben : posen::Stand, 450);
  if (j == 0) {
    s.Krakel(posen::Stand, x, k);
    const Gelenk h = Szene::K(posen::Stand.handV, x);
    Flasche(s.b, h[0], h[1] - 4, 0.2f, true);
  } else if (j <= 3) {
    s.Krakel(posen::Trinkt, x, k);
    const Gelenk h = Szene::K(posen::Trinkt.handV, x);
    Flasche(s.b, h[0], h[1], -2.3f + 0.2f * float(j), j < 3);
  } else {
    s.Krakel(j >= 9 ? posen::Hocke : posen::Jubel, x, k);
    if (j == 4) Flasche(s.b, 90, kBoden - 10, 1.57f, false);
  }
  if (j >= 7) {  // the potion takes hold: sparks all around
    uint32_t z = uint32_t(40 + j);
    for (int i = 0; i < 14; ++i) Stern(s.b, 120 + float(Zufall(z) % 170), 90 + float(Zufall(z) % 280), 6, kGelb);
  }
  return s.b;
}

Bild Trankschlag() {
  Szene s;
  Stil k = KrakelStil();
  k.aura = RGB(255, 220, 80);
  k.groesse = 1.12f;
  s.Torvik(posen::Getroffen, 500);
  s.Krakel(posen::Faust, 320, k);
  const Gelenk h = Szene::K(posen::Faust.handV, 320);
  Stern(s.b, h[0] + 40, h[1] - 20, 60, kGelb);
  Stern(s.b, h[0] + 40, h[1] - 20, 34, RGB(255, 140, 40));
  return s.b;
}

void Erzeuge(const Ziel& z) {
  const std::string ordner = z.Ordner("games");
  auto jpg = [&](const std::string& name, const Bild& b) { SpeichereJpg(b, ordner + name); };

  // The entrance: Krakel steps into the ring, Torvik waits with his arms up.
  jpg("Kampfs0.jpg", Paar(posen::Stand, 90, posen::Jubel, 550));
  jpg("Kampfs1.jpg", Paar(posen::Stand, 200, posen::Jubel, 440));
  jpg("Kampf0.jpg", Paar(posen::Stand, 200, posen::Stand, 440));
  for (int k = 0; k < 3; ++k) {
    jpg("Kampf" + std::to_string(k + 1) + "0.jpg", SpielerTechnik(k, false));
    jpg("Kampf" + std::to_string(k + 1) + "1.jpg", SpielerTechnik(k, true));
    jpg("Kampf" + std::to_string(k + 4) + "1.jpg", TorvikTechnik(k, true));
  }
  jpg("Kampf40.jpg", TorvikTechnik(0, false));
  jpg("Kampf50.jpg", TorvikTechnik(1, false));
  jpg("Kampf600.jpg", TorvikTechnik(2, false, 0));
  jpg("Kampf601.jpg", TorvikTechnik(2, false));
  {  // Torvik reels from the player's strike.
    Szene s;
    s.Krakel(posen::Stand, 220);
    s.Torvik(posen::Getroffen, 470);
    Benommen(s.b, Szene::T(posen::Getroffen.kopf, 470));
    jpg("KampfT.jpg", s.b);
  }
  {  // The player reels from Torvik's.
    Szene s;
    s.Torvik(posen::Stand, 420);
    s.Krakel(posen::Getroffen, 180);
    Benommen(s.b, Szene::K(posen::Getroffen.kopf, 180));
    jpg("KampfH.jpg", s.b);
  }
  for (int j = 0; j <= 9; ++j) jpg("KampfKK" + std::to_string(j) + ".jpg", Trank(j));
  jpg("KampfKK10.jpg", Trankschlag());
  {  // The fireball: Torvik's hands where the ball will swell.
    Szene s;
    s.Krakel(posen::Stand, 150);
    s.Torvik(posen::Zauber, kTorvikZauber);
    s.b.Ellipse(340, 130, 10, 10, RGB(255, 200, 120));
    jpg("KampfTK0.jpg", s.b);
  }
  {  // The light unblockable move: a flick on the forehead.
    Szene s;
    const float xk = 200, xt = 345;
    s.Krakel(posen::Getroffen, xk);
    s.Torvik(posen::Faust, xt);
    const Gelenk kopf = Szene::K(posen::Getroffen.kopf, xk);
    s.b.Ellipse(kopf[0] + 6, kopf[1] - 22, 9, 7, RGB(240, 150, 140));
    for (int i = 0; i < 3; ++i)
      s.b.Linie(kopf[0] - 30 - 10 * float(i), kopf[1] - 40 + 12 * float(i), kopf[0] - 18 - 10 * float(i),
                kopf[1] - 34 + 12 * float(i), 3, kWeiss);
    jpg("KampfTK1.jpg", s.b);
  }
  // The heavy one: the wind-up, then the hammer blow.
  jpg("KampfTK20.jpg", Paar(posen::DeckungOben, 200, posen::Ausholen, 360));
  {
    Bild b = Paar(posen::Gestaucht, 200, posen::Hammer, 340);
    const Gelenk h = Szene::T(posen::Hammer.handV, 340);
    Stern(b, h[0], h[1] + 6, 40, kGelb);
    jpg("KampfTK21.jpg", b);
  }
  jpg("KampfG.jpg", Paar(posen::Jubel, 200, posen::Liegt, 430));
  jpg("KampfV.jpg", Paar(posen::Liegt, 250, posen::Jubel, 440));

  // The final attack under a stormy sky: Torvik calls the lightning down on Krakel.
  const float xk = 180, xt = 450;
  Stil verkohlt = KrakelStil();
  verkohlt.haut = RGB(70, 64, 60);
  verkohlt.hemd = RGB(40, 44, 40);
  verkohlt.hose = RGB(40, 34, 30);
  verkohlt.haar = RGB(20, 20, 20);
  for (int n = 30; n <= 34; ++n) {
    Szene s;
    s.b = KampfArena(true);
    const Gelenk hand = Szene::T(posen::Jubel.handV, xt), hand2 = Szene::T(posen::Jubel.handH, xt);
    const float mx = (hand[0] + hand2[0]) / 2, my = hand[1] + 6;
    if (n == 34) {
      s.Krakel(posen::Liegt, xk + 60, verkohlt);
    } else {
      s.Krakel(n <= 31 ? posen::DeckungOben : posen::Getroffen, xk, n == 33 ? verkohlt : KrakelStil());
    }
    s.Torvik(posen::Jubel, xt);
    if (n == 31) {
      Blitz(s.b, {mx - 60, 0}, {mx, my}, 5, 4);
      Blitz(s.b, {mx + 70, 0}, {mx, my}, 6, 3);
      s.b.Ellipse(mx, my, 26, 26, RGB(140, 160, 255));
      s.b.Ellipse(mx, my, 16, 16, kWeiss);
    }
    if (n == 32) Blitz(s.b, hand, Szene::K(posen::Getroffen.kopf, xk), 9, 6);
    if (n >= 33) {  // smoke rising from the charred hero
      const Gelenk kopf = n == 33 ? Szene::K(posen::Getroffen.kopf, xk) : Szene::K(posen::Liegt.kopf, xk + 60);
      for (int i = 0; i < 4; ++i)
        s.b.Ellipse(kopf[0] + 8 * float(i % 2), kopf[1] - 30 - 26 * float(i), 12 + 4 * float(i), 10 + 3 * float(i),
                    Mische(RGB(90, 90, 90), RGB(200, 200, 200), 0.2f * float(i)));
    }
    jpg("KampfTK" + std::to_string(n) + ".jpg", s.b);
  }
}

Teil teil("Kampfbilder", Erzeuge);

}  // namespace
