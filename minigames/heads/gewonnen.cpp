// The winning animation: "Gewonnen!" snakes over the room as a trail of 64 copies, dark to
// bright red, while bursts of sparks go off, until a press from the 100th frame on.
#include <array>
#include <cmath>
#include <string>

#include "engine/shared.h"
#include "minigames/heads/wumpel.h"
#include "runtime/system.h"
#include "runtime/text.h"

void TWumpel::Gewinnanimation() {
  const std::string text = "Gewonnen!";
  KlickTaste = 0;
  float t = 0;
  const int32_t cx = int32_t(rt::CLng(double(W) - Feld.TextWidth(text)) / 2);
  const int32_t cy = int32_t(rt::CLng(double(H) - Feld.TextHeight(text)) / 2);
  std::array<int32_t, 64> TX, TY;
  TX.fill(cx);
  TY.fill(cy);

  while (SpielEnde == 0) {
    LeseDCs();
    Pool.BewegPartikel1();
    t = float(double(t) + 0.1);
    for (size_t i = 0; i < 63; ++i) {
      TX[i] = TX[i + 1];
      TY[i] = TY[i + 1];
    }
    const double tt = t;
    TX[63] = int32_t(rt::CLng(cx + std::sin(tt / 2) * std::cos(tt) * cx));
    TY[63] = int32_t(rt::CLng(cy + std::cos(2 * tt) * std::sin(tt / 3) * cy));
    for (size_t i = 0; i < 64; ++i) {
      Feld.CurrentX = float(TX[i]);
      Feld.CurrentY = float(TY[i]);
      Feld.ForeColor = rt::RGB(4 * int(i), 0, 0);
      Feld.Print(text);
    }
    if (rt::Rnd() < 0.05f) {
      KlickX = float(double(rt::Rnd()) * (W - 50));
      KlickY = float(double(rt::Rnd()) * (H - 50));
      Pool.Addpartikel(250, KlickX, KlickY, KlickX + 50, KlickY + 50, 0);
    }
    if (!(t > 10)) {
      KlickTaste = 0;  // the first presses only come too early
    } else if (KlickTaste != 0) {
      SpielEnde = 1;
    }
    Pool.BewegPartikel2();
    WarteFrame(20);
    if (NachFrame) NachFrame();
  }
}
