#include "minigames/heads/wumpel.h"

#include <cstdio>
#include <string>

#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

rt::PicturePtr Bild(const std::string& datei) {
  rt::PicturePtr p = rt::LoadPicture(DatenPfad + datei);
  if (!p) std::fprintf(stderr, "Norvalde: picture not loaded: %s\n", rt::ToUtf8(DatenPfad + datei).c_str());
  return p;
}

}  // namespace

TWumpel& Wumpel() {
  static TWumpel* form = new TWumpel;
  return *form;
}

void TWumpel::InitializeComponent() {
  Caption = "";
  BorderStyle = 3;
  ControlBox = false;
  MinButton = false;
  MaxButton = false;
  StartUpPosition = 1;
  SetClientSize(649, 480);

  Feld.BorderStyle = 1;
  Feld.Move(0, 0, 649, 449);
  Feld.SetAutoRedraw(true);
  Feld.font = rt::Font{"MS Sans Serif", 13.5f, true, false, false};
  Feld.SetPicture(Bild("Wumpelraum.jpg"));
  Feld.MouseDown = [this](int b, int s, float x, float y) { Feld_MouseDown(b, s, x, y); };

  const char* koepfe[2] = {"Wumpel1.bmp", "Wumpel2.bmp"};
  for (int i = 0; i < 2; ++i) {
    rt::PictureBox& p = Picture1[i];
    p.SetVisible(false);
    p.Move(0, 0, 64, 48);
    p.SetAutoRedraw(true);
    p.BackColor = rt::vbBlack;
    p.Cls();
    if (rt::PicturePtr bild = Bild(koepfe[i])) {
      p.SetPicture(bild);
    } else {
      p.Circle(31.5f, 23.5f, 22, rt::vbYellow);  // something to hit all the same
    }
  }
  Picture2.SetVisible(false);
  Picture2.SetAutoRedraw(true);

  Label1.Move(8, 456, 65, 17);
  Label1.Caption = "Countdown:";
  Label2.Move(72, 456, 33, 17);
  Label2.Alignment = 1;
  Label2.Caption = "20";

  Timer1.SetInterval(1);
  Timer1.SetEnabled(true);
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.SetInterval(1000);
  Timer2.SetEnabled(true);
  Timer2.Tick = [this] { Timer2_Timer(); };
}

void TWumpel::Form_Load() {
  // The pool outlives the showing; only its top mark starts afresh.
  Pool.PartikelMax = -1;
  SpielEnde = 0;
}

void TWumpel::Form_Unload(int&) { SpielEnde = 1; }

void TWumpel::Feld_MouseDown(int button, int, float x, float y) {
  KlickTaste = int16_t(button);
  KlickX = x;
  KlickY = y;
}

void TWumpel::Timer2_Timer() {
  Sekunden += 1;
  Label2.SetCaption(std::to_string(20 - Sekunden));
  if (Sekunden == 20) {
    SpielErgebnis = false;
    SpielEnde = 1;
  }
}

void TWumpel::Timer1_Timer() {
  SpielAnfang();
  while (SpielEnde == 0 && KoepfeUebrig > 0) {
    SpielFrame();
    WarteFrame(20);
    if (NachFrame) NachFrame();
  }
  SpielSchluss();
}

void TWumpel::SpielAnfang() {
  Timer1.SetEnabled(false);
  Sekunden = 0;
  Timer2.SetEnabled(true);
  W = int32_t(rt::CLng(Feld.ScaleWidth()));
  H = int32_t(rt::CLng(Feld.ScaleHeight()));
  w = int32_t(rt::CLng(Picture1[0].ScaleWidth()));
  h = int32_t(rt::CLng(Picture1[0].ScaleHeight()));
  KoepfeUebrig = 21;
  // A new back colour clears the surface down to its picture, as the window system does.
  Feld.BackColor = Picture1[0].Point(0, 0);
  Feld.Cls();
  Picture2.Move(0, 0, 21 * w, h);

  for (::Flieger& f : Flieger) {
    f.Lebt = -1;
    f.StartX = float(rt::CLng(double(rt::Rnd()) * (W - w)));
    f.StartY = float(rt::CLng(double(rt::Rnd()) * (H - h)));
    f.ZielX = float(rt::CLng(double(rt::Rnd()) * (W - w)));
    f.ZielY = float(rt::CLng(double(rt::Rnd()) * (H - h)));
    f.RestX = int32_t(rt::CLng(rt::Rnd() * 60.0f + 40.0f));
    f.RestY = int32_t(rt::CLng(rt::Rnd() * 60.0f + 40.0f));
    f.SchritteX = f.RestX;
    f.SchritteY = f.RestY;
    f.X = f.StartX;
    f.Y = f.StartY;
  }
  ErsterFrame = true;
}

void TWumpel::LeseDCs() {
  FeldDC = Feld.hDC();
  PufferDC = Picture2.hDC();
  SpriteDC = {Picture1[0].hDC(), Picture1[1].hDC()};
  Pool.FeldDC = FeldDC;
  Pool.Feld = &Feld;
}

void TWumpel::SpielFrame() {
  LeseDCs();
  Pool.BewegPartikel1();
  if (KlickTaste == 1) Pool.Addpartikel(10, KlickX, KlickY, KlickX, KlickY, 0);

  if (ErsterFrame) {
    ErsterFrame = false;  // nothing saved under the heads yet
  } else {
    // From the top: the head drawn last is the one a press hits.
    for (int i = 20; i >= 0; --i) {
      ::Flieger& f = Flieger[size_t(i)];
      if (!f.Lebt) continue;
      const int x = int(rt::CLng(f.X)), y = int(rt::CLng(f.Y));
      rt::BitBlt(FeldDC, x, y, w, h, PufferDC, i * w, 0, rt::SRCCOPY);
      if (KlickTaste == 1 && f.X < KlickX && KlickX < float(double(f.X) + w) && f.Y < KlickY &&
          KlickY < float(double(f.Y) + h)) {
        KlickTaste = 0;
        Pool.Addpartikel(6, f.X, f.Y, float(double(f.X) + w), float(double(f.Y) + h), -1);
        f.Lebt = 0;
        KoepfeUebrig -= 1;
        SpieleSound(DatenPfad + "Schlag2.wav");
      }
    }
  }
  KlickTaste = 0;

  for (int i = 0; i <= 20; ++i) {
    ::Flieger& f = Flieger[size_t(i)];
    if (!f.Lebt) continue;
    BewegeAchse(f.StartX, f.RestX, f.SchritteX, f.X, f.ZielX, W - w);
    BewegeAchse(f.StartY, f.RestY, f.SchritteY, f.Y, f.ZielY, H - h);
    f.BildTakt += 1;
    if (f.BildTakt > 5) {
      f.BildTakt = 0;
      f.BildNr = 1 - f.BildNr;
    }
    const int x = int(rt::CLng(f.X)), y = int(rt::CLng(f.Y));
    rt::BitBlt(PufferDC, i * w, 0, w, h, FeldDC, x, y, rt::SRCCOPY);
    rt::BitBlt(FeldDC, x, y, w, h, SpriteDC[size_t(f.BildNr & 1)], 0, 0, rt::SRCPAINT);
  }
  Pool.BewegPartikel2();
}

void TWumpel::SpielSchluss() {
  if (KoepfeUebrig == 0) {
    Timer2.SetEnabled(false);
    SpielErgebnis = true;
    Gewinnanimation();
  }
  Unload();
}
