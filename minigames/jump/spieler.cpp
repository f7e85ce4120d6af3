// The player: a 48 by 96 body that gravity pulls down, the arrow keys move and the space bar
// lifts. Feet coming down on an enemy's top band stomp it; any other contact, the pit and Esc
// start the dying.
#include <cmath>

#include "engine/shared.h"
#include "engine/state.h"
#include "minigames/jump/jump.h"

namespace {

constexpr int kRechts = 39, kLinks = 37, kRunter = 40, kLeertaste = 32, kEsc = 27;
bool Gedrueckt(int taste) { return Tastatur[size_t(taste)] > 126; }

}  // namespace

void TJump::SpielerFallen() {
  TempoY += Schwerkraft;
  SpielerY += TempoY;
  if (Sterben != 0) return;

  if (SpielerY >= float(FeldHoehe - 96)) {
    TempoY = -22;
    Sterben = 1;
    SpielerY = 336;
  }

  const double fuesse = double(SpielerY) + 96;
  const int32_t scroll = CLng(ScrollX);
  // Every living enemy is looked at, also after a contact earlier in the loop.
  for (::Gegner& g : Gegner) {
    if (!g.Lebt) continue;
    const ::GegnerTyp& t = GegnerTyp[size_t(g.Typ)];
    const double ex = g.X, ey = g.Y;
    if (!(double(SpielerX) + 48 > ex && ex + t.Breite > SpielerX)) continue;
    if (ey + t.Trefftiefe >= fuesse && fuesse >= ey) {
      Pool.Addpartikel(5, float(ex - scroll), float(ey), float(ex + t.Breite - scroll),
                       float(ey + t.Hoehe), -1);
      SpieleSound(DatenPfad + "drip.wav");
      g.Lebt = 0;
      Springen = 1;
      Bodenfrist = 5;
      TempoY = -std::fabs(TempoY) / 2;
    } else if (ey + t.Trefftiefe < fuesse && ey + t.Hoehe > SpielerY) {
      TempoY = -5;
      Sterben = 1;
    }
  }
}

void TJump::SpielerSteuern() {
  if (ZielZaehler == 0) SpielerBild = Gedrueckt(kRunter) || TempoY < -1.5f ? 1 : 0;

  const int32_t x = CLng(SpielerX);
  auto fest = [&](int32_t reihe) {
    const int32_t c = x / 48;
    return Kachel(c, reihe) > 9 || (x % 48 > 0 && Kachel(c + 1, reihe) > 9);
  };

  if (SpielerY > 0 && fest(CLng(SpielerY) / 48)) {
    TempoY = 0;
    SpielerY = float(CLng(double(SpielerY) / 48) * 48 + 1);
  }

  bool boden = false;
  if (SpielerY > -119) {
    const int32_t r = CLng(double(SpielerY) + 96) / 48;
    if (fest(r)) {
      boden = true;
      if (Springen == 0) SpieleSound(DatenPfad + "pop.wav");
      Springen = 1;
      Bodenfrist = 5;
      SpielerY = float((r - 2) * 48);
      TempoY = TempoY / -6;  // a small rebound that dies away
    }
  }
  if (!boden) {
    // For a few frames after walking off an edge the player may still jump.
    if (Bodenfrist > 0) {
      --Bodenfrist;
    } else {
      Springen = 0;
    }
  }

  if (Springen != 0) {
    TempoX = 0;
  } else if (TempoX < -0.2f) {
    TempoX = float(double(TempoX) + 0.2);
  } else if (TempoX <= 0.2f) {
    TempoX = 0;
  } else {
    TempoX = float(double(TempoX) - 0.2);
  }

  if (ZielZaehler == 0) {
    if (Gedrueckt(kRechts)) TempoX = Springen != 0 ? 3.0f : TempoX + 0.25f;
    if (Gedrueckt(kLinks)) TempoX = Springen != 0 ? -3.0f : TempoX - 0.25f;
    if (Gedrueckt(kEsc)) {
      TempoY = -12;
      Sterben = 1;
    }
  }

  // Each jump needs a fresh press of the space bar.
  if (Gedrueckt(kLeertaste) && Springen > 0 && SprungSperre == 0) {
    SpieleSound(DatenPfad + "boing.wav");
    SprungSperre = -1;
    TempoY = -11;
    --Springen;
    const float scroll = ScrollX;
    Pool.Addpartikel(15, SpielerX - scroll, SpielerY + 96, SpielerX + 48 - scroll,
                     SpielerY + 96, 0);
  } else if (Tastatur[kLeertaste] < 128) {
    SprungSperre = 0;
  }

  int16_t treffer = 0;
  CheckLinksundRechts(SpielerX, SpielerY, TempoX, 48, 3, treffer);
  if (treffer) {
    SpielerX = float(CLng(double(SpielerX) / 48) * 48);
    TempoX = 0;
  } else {
    SpielerX += TempoX;
  }

  Kamera();
}
