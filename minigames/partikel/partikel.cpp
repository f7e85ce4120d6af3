#include "minigames/partikel/partikel.h"

#include <cmath>

#include "runtime/system.h"

namespace {

// Whole pixels for the pixel calls; a particle far off the surface stays off it.
int Pixel(double v) {
  if (!(v > -1e9 && v < 1e9)) return -1000000000;
  return int(v);
}
int Gerundet(float v) { return Pixel(std::nearbyint(double(v))); }  // ties to even
int Abgerundet(float v) { return Pixel(std::floor(double(v))); }

// Rounded down; far outside the whole numbers (or not a number) counts as 0 instead of
// overflowing the conversion.
int Int(double v) {
  const double f = std::floor(v);
  return f > -2e9 && f < 2e9 ? int(f) : 0;
}
float Tempo() { return float((Int(double(rt::Rnd()) * 12) - 6) / 2.0); }

}  // namespace

void PartikelPool::Leeren() {
  for (auto& p : Partikel) p.Lebt = 0;
  PartikelMax = -1;
  PartikelFrei = 0;
}

bool PartikelPool::ImFeld(const ::Partikel& p) const {
  return p.X >= 0 && p.X <= float(FeldBreite - 1) && p.Y >= 0 && p.Y <= float(FeldHoehe - 1);
}

void PartikelPool::Addpartikel(int32_t anzahl, float x1, float y1, float x2, float y2, int block) {
  if (block == 0) {
    if (anzahl < 1) return;
    int32_t gemacht = 0;
    for (int32_t i = PartikelFrei; i < Anzahl; ++i) {
      ::Partikel& p = Partikel[size_t(i)];
      if (p.Lebt) continue;
      ++gemacht;
      p.X = float(std::floor(double(rt::Rnd()) * (double(x2) - x1)) + double(x1));
      p.Y = float(std::floor(double(rt::Rnd()) * (double(y2) - y1)) + double(y1));
      p.Leben = int16_t(Int(double(rt::Rnd()) * 10) + 2);
      p.Lebt = -1;
      const double r1 = rt::Rnd();
      const double r2 = rt::Rnd();
      p.Farbe = rt::RGB(255, Int(r1 * 128) + 128, Int(r2 * 255));
      p.AlteFarbe = -1;
      p.VX = Tempo();
      p.VY = Tempo();
      PartikelFrei = i + 1;
      if (i > PartikelMax) PartikelMax = i;
      if (gemacht == anzahl) return;
    }
    return;
  }
  // Whole-number division cuts toward zero, after rounding the span to the nearest.
  const double cx = double(x1) + double(std::lrint(double(x2) - x1) / 2) - 2;
  const double cy = double(y1) + double(std::lrint(double(y2) - y1) / 2) - 2;
  for (int32_t n = 0; n < anzahl; ++n) {
    const float vx = Tempo();
    const float vy = Tempo();
    // Counted, not stepped: far from the origin adding 1 no longer changes a coordinate.
    for (int sx = 0; sx <= 5; ++sx) {
      const double px = cx + sx;
      for (int sy = 0; sy <= 5; ++sy) {
        const double py = cy + sy;
        int32_t i = PartikelFrei;
        while (i < Anzahl && Partikel[size_t(i)].Lebt) ++i;
        if (i >= Anzahl) continue;
        ::Partikel& p = Partikel[size_t(i)];
        p.X = float(px);
        p.Y = float(py);
        p.VX = vx;
        p.VY = vy;
        p.Leben = int16_t(Int(double(rt::Rnd()) * 10) + 2);
        p.Lebt = -1;
        p.Farbe = rt::RGB(255, 0, 0);
        p.AlteFarbe = -1;
        PartikelFrei = i + 1;
        if (i > PartikelMax) PartikelMax = i;
      }
    }
  }
}

void PartikelPool::Stirbt(int32_t i) {
  Partikel[size_t(i)].Lebt = 0;
  if (i < PartikelFrei) PartikelFrei = i;
  if (i == PartikelMax) {
    while (PartikelMax >= 0 && !Partikel[size_t(PartikelMax)].Lebt) --PartikelMax;
  }
}

void PartikelPool::BewegPartikel1() {
  for (int32_t i = PartikelMax; i >= 0; --i) {
    ::Partikel& p = Partikel[size_t(i)];
    if (!p.Lebt) continue;
    if (art_ == Art::Wumpel) {
      if (p.AlteFarbe == -1) continue;
      rt::SetPixelV(FeldDC, Abgerundet(p.X), Abgerundet(p.Y), p.AlteFarbe);
    } else if (p.AlteFarbe != -1 && ImFeld(p)) {
      rt::SetPixelV(FeldDC, Gerundet(p.X), Gerundet(p.Y), p.AlteFarbe);
    }
    --p.Leben;
    if (p.Leben < 0) Stirbt(i);
  }
}

void PartikelPool::BewegPartikel2() {
  const int32_t max = PartikelMax;
  for (int32_t i = 0; i <= max; ++i) {
    ::Partikel& p = Partikel[size_t(i)];
    if (!p.Lebt) continue;
    p.X = float(double(p.X) + p.VX);
    p.Y = float(double(p.Y) + p.VY);
    if (art_ == Art::Wumpel) {
      const int x = Abgerundet(p.X), y = Abgerundet(p.Y);
      p.AlteFarbe = rt::GetPixel(FeldDC, x, y);
      rt::SetPixelV(FeldDC, x, y, p.Farbe);
    } else if (ImFeld(p)) {
      const int x = Gerundet(p.X), y = Gerundet(p.Y);
      p.AlteFarbe = rt::GetPixel(FeldDC, x, y);
      rt::SetPixelV(FeldDC, x, y, p.Farbe);
    }
  }
  if (Feld) Feld->Refresh();
}
