// The twelve enemies: walkers turn at walls, the bobbing one sinks into its platform and faces
// the player, patrols fly or run between two bounds. Each is drawn with its mask over the view
// and taken off again from its save-under slot at the start of the next frame.
#include <cmath>

#include "minigames/jump/jump.h"

void TJump::GegnerAufstellen() {
  //              Breite Hoehe MaxBild BildDauer Tempo Trefftiefe Art BlattY
  GegnerTyp[0] = {48, 48, 1, 5, 3.0f, 18, 0, 672};
  GegnerTyp[1] = {48, 96, 1, 7, 0.5f, 0, 1, 768};
  GegnerTyp[2] = {48, 24, 1, 3, 5.0f, 18, 2, 960};
  GegnerTyp[3] = {48, 26, 1, 3, 5.0f, 18, 2, 1008};

  struct Start {
    int32_t typ;
    float vx, x, y, links, rechts;
    int32_t pufferX, pufferY;
  };
  // Enemies that share a save-under slot (2 and 9, 8 and 10) are never in view together.
  static const Start kStart[12] = {
      {0, -3, 576, 336, 0, 0, 48, 0},          {0, -3, 720, 336, 0, 0, 96, 0},
      {0, 3, 720, 336, 0, 0, 192, 0},          {1, 0.5f, 1920, 96, 0, 0, 144, 0},
      {0, -3, 2544, 336, 0, 0, 0, 96},         {0, -3, 2400, 336, 0, 0, 48, 96},
      {3, -5, 0, 118, 0, 240, 96, 96},         {3, -5, 4368, 214, 4368, 4656, 144, 96},
      {3, -5, 5376, 262, 5376, 5616, 192, 96}, {2, -5, 3744, 360, 3600, 4128, 192, 0},
      {2, -5, 3936, 360, 3600, 4128, 192, 96}, {0, -3, 5808, 336, 0, 0, 240, 0},
  };
  for (size_t n = 0; n < Gegner.size(); ++n) {
    const Start& s = kStart[n];
    ::Gegner& g = Gegner[n];
    g = ::Gegner{};
    g.Typ = s.typ;
    g.VX = s.vx;
    g.X = s.x;
    g.Y = s.y;
    g.GrenzeLinks = s.links;
    g.GrenzeRechts = s.rechts;
    g.PufferX = s.pufferX;
    g.PufferY = s.pufferY;
    g.Lebt = -1;
  }
}

void TJump::GegnerWegnehmen() {
  const int32_t scroll = CLng(ScrollX);
  for (int n = int(Gegner.size()) - 1; n >= 0; --n) {
    const ::Gegner& g = Gegner[size_t(n)];
    if (!g.Lebt || !g.Sichtbar) continue;
    const ::GegnerTyp& t = GegnerTyp[size_t(g.Typ)];
    rt::BitBlt(FeldDC, CLng(g.X) - scroll, CLng(g.Y), t.Breite, t.Hoehe, PufferDC, g.PufferX,
               g.PufferY, rt::SRCCOPY);
  }
}

void TJump::GegnerBewegen() {
  for (::Gegner& g : Gegner) {
    if (!g.Lebt) continue;
    const ::GegnerTyp& t = GegnerTyp[size_t(g.Typ)];
    if (++g.BildTakt >= t.BildDauer) {
      g.BildTakt = 0;
      if (++g.BildNr > t.MaxBild) g.BildNr = 0;
    }
    const int32_t rechts = (t.MaxBild + 1) * t.Breite;
    switch (t.Art) {
      case 0: {
        // Only the top row is probed: walkers walk on over gaps.
        int16_t treffer = 0;
        CheckLinksundRechts(g.X, g.Y, g.VX, t.Breite, 1, treffer);
        if (treffer) {
          g.VX = -g.VX;
          g.BlattX = g.VX > 0 ? rechts : 0;
        } else {
          g.X += g.VX;
        }
        break;
      }
      case 1: {
        Phase += 0.021;
        const double s = std::sin(Phase);
        g.Y = float(double(g.Y) + s);
        g.Absenkung = float(double(g.Absenkung) + s);
        g.BlattX = double(SpielerX) + 24 >= g.X ? rechts : 0;
        break;
      }
      case 2:
        g.X += g.VX;
        if (g.VX >= 0 && g.X >= g.GrenzeRechts) {
          g.VX = -g.VX;
          g.BlattX = 0;
        }
        if (g.VX < 0 && g.X <= g.GrenzeLinks) {
          g.VX = -g.VX;
          g.BlattX = rechts;
        }
        break;
      default:
        break;
    }
  }
}

void TJump::GegnerZeichnen() {
  const int32_t scroll = CLng(ScrollX);
  for (::Gegner& g : Gegner) {
    if (!g.Lebt) continue;
    const ::GegnerTyp& t = GegnerTyp[size_t(g.Typ)];
    if (!(double(g.X) + t.Breite > ScrollX && double(ScrollX) + FeldBreite > g.X)) {
      g.Sichtbar = 0;
      continue;
    }
    g.Sichtbar = -1;
    const int32_t sx = CLng(g.X) - scroll, sy = CLng(g.Y);
    const int32_t bx = g.BlattX + t.Breite * g.BildNr;
    // A sunken enemy shows only its top rows; never more than its picture.
    int32_t hoehe = CLng(double(t.Hoehe) - g.Absenkung);
    if (hoehe > t.Hoehe) hoehe = t.Hoehe;
    rt::BitBlt(PufferDC, g.PufferX, g.PufferY, t.Breite, t.Hoehe, FeldDC, sx, sy, rt::SRCCOPY);
    rt::BitBlt(FeldDC, sx, sy, t.Breite, hoehe, SpriteDC, bx, t.BlattY + t.Hoehe, rt::SRCAND);
    rt::BitBlt(FeldDC, sx, sy, t.Breite, hoehe, SpriteDC, bx, t.BlattY, rt::SRCPAINT);
  }
}
