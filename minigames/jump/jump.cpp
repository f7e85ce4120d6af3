#include "minigames/jump/jump.h"

#include <cmath>
#include <limits>
#include <memory>

#include "engine/module2.h"
#include "engine/shared.h"
#include "engine/state.h"

namespace {

// A pointer with no visible pixel hides the mouse over the view.
rt::PicturePtr LeererZeiger() {
  auto p = std::make_shared<rt::Picture>();
  p->width = p->height = 32;
  p->pixels.assign(32 * 32, 0);
  p->alpha.assign(32 * 32, 0);
  return p;
}

}  // namespace

TJump& Jump() {
  static TJump* jump = new TJump;
  return *jump;
}

TJump::TJump() = default;

int32_t TJump::CLng(double v) {
  if (!(v > double(std::numeric_limits<int32_t>::min()) &&
        v < double(std::numeric_limits<int32_t>::max())))
    return 0;
  return int32_t(std::nearbyint(v));
}

void TJump::InitializeComponent() {
  Caption = "";
  BorderStyle = 3;
  ControlBox = false;
  MinButton = false;
  MaxButton = false;
  StartUpPosition = 2;
  SetClientSize(624, 433);

  Feld.BorderStyle = 0;
  Feld.Move(0, 0, 624, 432);
  Feld.SetAutoRedraw(true);
  Feld.BackColor = 0;
  Feld.ForeColor = rt::vbWhite;
  Feld.Cls();
  Feld.MousePointer = rt::vbCustom;
  Feld.MouseIcon = LeererZeiger();

  Picture1.BorderStyle = 0;
  Picture1.Move(0, 440, 640, 2000);
  Picture1.SetAutoRedraw(true);
  Picture1.SetVisible(false);

  Picture2.BorderStyle = 0;
  Picture2.Move(0, 440, 288, 144);
  Picture2.SetAutoRedraw(true);
  Picture2.SetVisible(false);

  Picture3.BorderStyle = 0;
  Picture3.Move(0, 440, 48, 48);
  Picture3.AutoSize = true;
  Picture3.SetVisible(false);

  Timer1.SetInterval(1);
  Timer1.SetEnabled(true);
  Timer1.Tick = [this] { Timer1_Timer(); };
  RM.SetInterval(500);
  RM.SetEnabled(false);
  RM.Tick = [this] { RM_Timer(); };
}

void TJump::Form_Load() {
  SpielEnde = 0;
  // A window closed before either ending hands back a loss, not the script's parameter.
  SpielErgebnis = false;
}

void TJump::Form_Unload(int&) { SpielEnde = 1; }

void TJump::RM_Timer() { PruefeMusikEnde(); }

void TJump::Timer1_Timer() {
  Timer1.SetEnabled(false);
  Einrichten();
  while (Bild()) {
  }
}

void TJump::Init() {
  SpielerX = 0;
  SpielerY = -100;
  Sterben = 0;
  TempoX = 0;
  TempoY = 0;
  Pool.Leeren();
  ScrollX = 0;
  GegnerAufstellen();
  Grafikladen();
  KarteAufbauen();
}

void TJump::Einrichten() {
  SpieleSound(DatenPfad + "wodds.wav");
  FeldBreite = CLng(Feld.ScaleWidth());
  FeldHoehe = CLng(Feld.ScaleHeight());
  Pool.FeldBreite = FeldBreite;
  Pool.FeldHoehe = FeldHoehe;
  Pool.Feld = &Feld;
  Init();
  Schwerkraft = 0.5f;
  ErsterFrame = -1;
  Springen = 0;
  Bodenfrist = 0;
  SprungSperre = 0;
  ZielZaehler = 0;
  Phase = 0;
  ScrollX = 0;
  FeldDC = Feld.hDC();
  PufferDC = Picture2.hDC();
  SpriteDC = Picture1.hDC();
  Pool.FeldDC = FeldDC;
  Hintergrundaufbau();
  SpieleMusik(DatenPfad + "jump.mid");
  RM.SetEnabled(true);
}

bool TJump::Bild() {
  if (SpielEnde != 0) {
    RM.SetEnabled(false);
    StoppeMusik();
    Unload();
    return false;
  }
  LeseTastatur();
  FeldDC = Feld.hDC();
  PufferDC = Picture2.hDC();
  SpriteDC = Picture1.hDC();
  Pool.FeldDC = FeldDC;

  // Taken off in the reverse order of drawing: particles, enemies from the last, the player.
  Pool.BewegPartikel1();
  if (ErsterFrame) {
    ErsterFrame = 0;
  } else {
    GegnerWegnehmen();
    SpielerWegnehmen();
  }

  // Everything moves and the view scrolls while nothing movable is on it.
  GegnerBewegen();
  SpielerFallen();
  if (Sterben == 0) {
    SpielerSteuern();
  } else {
    Sterbeschritte();
  }
  Zielschritte();

  SpielerZeichnen();
  GegnerZeichnen();
  Pool.BewegPartikel2();
  WarteFrame(20);
  return true;
}

void TJump::SpielerWegnehmen() {
  rt::BitBlt(FeldDC, CLng(SpielerX) - CLng(ScrollX), CLng(SpielerY), 48, 96, PufferDC, 0, 0,
             rt::SRCCOPY);
}

void TJump::SpielerZeichnen() {
  const int32_t sx = CLng(SpielerX) - CLng(ScrollX), sy = CLng(SpielerY);
  rt::BitBlt(PufferDC, 0, 0, 48, 96, FeldDC, sx, sy, rt::SRCCOPY);
  rt::BitBlt(FeldDC, sx, sy, 48, 96, SpriteDC, SpielerBild * 48, 576, rt::SRCAND);
  rt::BitBlt(FeldDC, sx, sy, 48, 96, SpriteDC, SpielerBild * 48, 480, rt::SRCPAINT);
}

void TJump::Sterbeschritte() {
  if (Sterben == 1) {
    SpieleSound(DatenPfad + "e_laugh.wav");
    Sterben = 2;
  }
  if (SpielerY > float(FeldHoehe)) {
    ++Sterben;
    SpielerY = float(FeldHoehe + 1);  // the body waits just below the view
  } else {
    const float scroll = ScrollX;
    Pool.Addpartikel(1, SpielerX + 20 - scroll, SpielerY, SpielerX + 28 - scroll, SpielerY + 48,
                     -1);
  }
  if (Sterben == 55) {
    SpielErgebnis = false;
    SpielEnde = 1;
  }
}

void TJump::Zielschritte() {
  if (ZielZaehler < 1) {
    if (SpielerX == float(ZielX) && SpielerY == float(ZielY)) {
      TempoX = 0;
      TempoY = 0;
      ZielZaehler = 1;
      // The goal marker above the head stays there.
      rt::BitBlt(FeldDC, CLng(double(SpielerX) - ScrollX), CLng(double(SpielerY) - 48), 48, 48,
                 SpriteDC, 384, 432, rt::SRCCOPY);
    }
    return;
  }
  SpielErgebnis = true;
  if (++ZielZaehler > 500) SpielEnde = 1;
  SpielerBild = 2 + ((ZielZaehler / 12) % 2);
  const float scroll = ScrollX;
  Pool.Addpartikel(5, SpielerX - scroll, SpielerY - 48, SpielerX + 48 - scroll, SpielerY, 0);
}
