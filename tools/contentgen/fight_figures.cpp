#include "tools/contentgen/fight_figures.h"

#include <algorithm>
#include <cmath>

namespace cg {

using rt::RGB;

namespace posen {
// kopf, hals, huefte, ellV, handV, ellH, handH, knieV, fussV, knieH, fussH
const Pose Stand{{8, -222}, {4, -195}, {0, -110}, {30, -165}, {42, -195}, {-8, -160}, {22, -182},
                 {22, -56}, {38, 0}, {-18, -56}, {-34, 0}};
const Pose Faust{{24, -220}, {18, -193}, {8, -110}, {60, -195}, {105, -200}, {0, -165}, {25, -185},
                 {35, -56}, {60, 0}, {-15, -56}, {-40, 0}};
const Pose Tritt{{-24, -218}, {-18, -192}, {0, -112}, {10, -165}, {30, -185}, {-35, -160}, {-55, -140},
                 {50, -125}, {112, -130}, {-5, -56}, {-10, 0}};
const Pose Feger{{30, -165}, {20, -140}, {0, -62}, {30, -100}, {28, -40}, {-10, -110}, {-30, -90},
                 {55, -35}, {118, -8}, {-28, -40}, {-30, 0}};
const Pose Hocke{{14, -170}, {8, -143}, {-4, -66}, {30, -115}, {40, -140}, {-10, -110}, {14, -130},
                 {30, -60}, {36, 0}, {-30, -40}, {-34, 0}};
const Pose DeckungOben{{0, -222}, {-4, -195}, {-4, -110}, {28, -185}, {26, -240}, {18, -175}, {14, -235},
                       {20, -56}, {34, 0}, {-22, -56}, {-38, 0}};
const Pose DeckungMitte{{-2, -220}, {-6, -193}, {-4, -110}, {30, -140}, {42, -175}, {28, -175}, {44, -140},
                        {20, -56}, {34, 0}, {-22, -56}, {-38, 0}};
const Pose Sprung{{8, -292}, {4, -265}, {0, -180}, {30, -240}, {45, -265}, {-10, -230}, {15, -250},
                  {32, -150}, {12, -112}, {-8, -146}, {-36, -118}};
const Pose Getroffen{{-48, -208}, {-34, -185}, {-6, -108}, {5, -170}, {-5, -215}, {-50, -175}, {-80, -200},
                     {18, -56}, {30, 0}, {-25, -55}, {-40, 0}};
const Pose Liegt{{-112, -24}, {-85, -22}, {0, -18}, {-55, -10}, {-30, -6}, {-70, -35}, {-95, -50},
                 {45, -30}, {95, -8}, {48, -15}, {100, -6}};
const Pose Jubel{{3, -226}, {2, -198}, {0, -112}, {28, -230}, {40, -270}, {-22, -230}, {-32, -270},
                 {25, -56}, {42, 0}, {-25, -56}, {-42, 0}};
const Pose Trinkt{{0, -224}, {0, -196}, {0, -110}, {34, -172}, {20, -212}, {-8, -160}, {22, -182},
                  {22, -56}, {38, 0}, {-18, -56}, {-34, 0}};
const Pose Zauber{{4, -222}, {0, -195}, {-5, -110}, {40, -192}, {72, -195}, {35, -185}, {68, -188},
                  {30, -56}, {50, 0}, {-20, -56}, {-38, 0}};
const Pose Ausholen{{-6, -224}, {-6, -196}, {0, -110}, {-28, -228}, {-42, -262}, {-20, -222}, {-36, -258},
                    {26, -56}, {42, 0}, {-22, -56}, {-40, 0}};
const Pose Hammer{{30, -200}, {24, -176}, {4, -100}, {58, -170}, {92, -140}, {52, -168}, {88, -136},
                  {38, -52}, {62, 0}, {-18, -50}, {-42, 0}};
const Pose Gestaucht{{-10, -150}, {-12, -125}, {-4, -58}, {20, -110}, {10, -155}, {-30, -105}, {-40, -140},
                     {28, -34}, {40, 0}, {-26, -34}, {-36, 0}};
}  // namespace posen

Stil KrakelStil() {
  return {RGB(236, 190, 150), RGB(52, 130, 70), RGB(110, 76, 40), RGB(120, 70, 30), RGB(200, 40, 40), false};
}

Stil TorvikStil() {
  return {RGB(210, 160, 120), RGB(120, 24, 24), RGB(40, 40, 48), RGB(60, 40, 30), RGB(230, 190, 50), true};
}

Gelenk Ort(const Gelenk& g, float x, float boden, float s, int richtung) {
  return {x + float(richtung) * g[0] * s, boden + g[1] * s};
}

namespace {

rt::Color Dunkler(rt::Color c, float t) { return Mische(c, 0, t); }

void Glied(Bild& b, const Gelenk& a, const Gelenk& m, const Gelenk& e, float dicke1, float dicke2, rt::Color c) {
  b.Linie(a[0], a[1], m[0], m[1], dicke1, c);
  b.Linie(m[0], m[1], e[0], e[1], dicke2, c);
}

// A glow that lets the picture show through, strongest in its middle.
void Schein(Bild& b, float cx, float cy, float rx, float ry, rt::Color c) {
  for (int y = std::max(0, int(cy - ry)); y <= std::min(b.h - 1, int(cy + ry)); ++y)
    for (int x = std::max(0, int(cx - rx)); x <= std::min(b.w - 1, int(cx + rx)); ++x) {
      const float dx = (float(x) - cx) / rx, dy = (float(y) - cy) / ry, d = dx * dx + dy * dy;
      if (d <= 1) b.Punkt(x, y, Mische(b.An(x, y), c, 0.7f - 0.45f * d));
    }
}

}  // namespace

void Kaempfer(Bild& b, const Pose& p, const Stil& stil, float x, float boden, float s, int richtung) {
  s *= stil.groesse;
  auto o = [&](const Gelenk& g) { return Ort(g, x, boden, s, richtung); };
  const Gelenk kopf = o(p.kopf), hals = o(p.hals), huefte = o(p.huefte);
  const float r = float(richtung);

  if (stil.aura >= 0) {
    const float cx = (kopf[0] + huefte[0]) / 2, cy = (kopf[1] + boden) / 2;
    const float hoehe = (boden - kopf[1]) / 2 + 30 * s;
    Schein(b, cx, cy, hoehe * 0.6f, hoehe, stil.aura);
  }

  // Far limbs first, a little darker.
  Glied(b, hals, o(p.ellH), o(p.handH), 11 * s, 9 * s, Dunkler(stil.hemd, 0.3f));
  b.Ellipse(o(p.handH)[0], o(p.handH)[1], 7 * s, 7 * s, Dunkler(stil.haut, 0.2f));
  Glied(b, huefte, o(p.knieH), o(p.fussH), 15 * s, 12 * s, Dunkler(stil.hose, 0.3f));
  b.Ellipse(o(p.fussH)[0] + r * 6 * s, o(p.fussH)[1] - 4 * s, 12 * s, 6 * s, RGB(30, 24, 20));

  // The body between shoulders and hips.
  const float dx = huefte[0] - hals[0], dy = huefte[1] - hals[1], len = std::hypot(dx, dy);
  const float nx = len > 0 ? -dy / len : 1, ny = len > 0 ? dx / len : 0;
  b.Polygon({{hals[0] + nx * 17 * s, hals[1] + ny * 17 * s}, {hals[0] - nx * 17 * s, hals[1] - ny * 17 * s},
             {huefte[0] - nx * 14 * s, huefte[1] - ny * 14 * s}, {huefte[0] + nx * 14 * s, huefte[1] + ny * 14 * s}},
            stil.hemd);
  b.Ellipse(hals[0], hals[1], 17 * s, 10 * s, stil.hemd);
  b.Ellipse(huefte[0], huefte[1], 15 * s, 9 * s, stil.hose);
  b.Linie(huefte[0] + nx * 14 * s, huefte[1] + ny * 14 * s - 6 * s, huefte[0] - nx * 14 * s,
          huefte[1] - ny * 14 * s - 6 * s, 5 * s, stil.band);

  Glied(b, huefte, o(p.knieV), o(p.fussV), 16 * s, 13 * s, stil.hose);
  b.Ellipse(o(p.fussV)[0] + r * 6 * s, o(p.fussV)[1] - 4 * s, 13 * s, 6 * s, RGB(40, 30, 24));

  // Head: neck, face, hair or beard, an eye looking forward.
  b.Linie(hals[0], hals[1], kopf[0], kopf[1], 10 * s, stil.haut);
  b.Ellipse(kopf[0], kopf[1], 19 * s, 21 * s, stil.haut);
  if (stil.torvik) {
    b.Ellipse(kopf[0] + r * 4 * s, kopf[1] + 13 * s, 15 * s, 11 * s, stil.haar);
    b.Ellipse(kopf[0] + r * 7 * s, kopf[1] + 7 * s, 6 * s, 2.5f * s, stil.haut);  // the mouth in the beard
    b.Linie(kopf[0] + r * 2 * s, kopf[1] - 12 * s, kopf[0] + r * 14 * s, kopf[1] - 9 * s, 3 * s, stil.haar);
  } else {
    b.Ellipse(kopf[0] - r * 4 * s, kopf[1] - 12 * s, 19 * s, 11 * s, stil.haar);
    b.Polygon({{kopf[0] - r * 2 * s, kopf[1] - 20 * s}, {kopf[0] + r * 10 * s, kopf[1] - 34 * s},
               {kopf[0] + r * 8 * s, kopf[1] - 18 * s}},
              stil.haar);
    b.Linie(kopf[0] - 18 * s, kopf[1] - 6 * s, kopf[0] + 18 * s, kopf[1] - 6 * s, 4 * s, stil.band);
    b.Linie(kopf[0] - r * 18 * s, kopf[1] - 6 * s, kopf[0] - r * 30 * s, kopf[1] + 6 * s, 3 * s, stil.band);
  }
  b.Ellipse(kopf[0] + r * 10 * s, kopf[1] - 1 * s, 3 * s, 3 * s, RGB(20, 20, 20));

  Glied(b, hals, o(p.ellV), o(p.handV), 12 * s, 10 * s, stil.hemd);
  b.Linie(o(p.ellV)[0], o(p.ellV)[1], o(p.handV)[0], o(p.handV)[1], 8 * s, stil.haut);
  b.Ellipse(o(p.handV)[0], o(p.handV)[1], 8 * s, 8 * s, stil.haut);
}

}  // namespace cg
