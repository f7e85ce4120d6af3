#include "minigames/pi/pispiel.h"

#include <cmath>

#include "engine/module2.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

TPISpiel& PISpiel() {
  static TPISpiel* form = new TPISpiel;
  return *form;
}

void TPISpiel::InitializeComponent() {
  Caption = "PI-Spiel";
  BorderStyle = 1;
  ControlBox = true;
  MinButton = false;
  MaxButton = false;
  KeyPreview = true;
  StartUpPosition = 1;
  SetClientSize(369, 273);

  Picture1.Move(0, 0, 369, 273);
  Picture1.SetAutoRedraw(true);
  Picture1.BackColor = rt::vbBlack;
  Picture1.font = rt::Font{"Times New Roman", 72, true, false, false};

  Timer1.SetInterval(1);
  Timer1.SetEnabled(true);
  Timer1.Tick = [this] { Timer1_Timer(); };
}

void TPISpiel::Form_KeyPress(int& keyAscii) { GedrueckteTaste = int16_t(keyAscii); }

void TPISpiel::Form_QueryUnload(int&, int) {
  StoppeMusik();
  SpielLaeuft = false;
}

void TPISpiel::Form_Unload(int&) { DateiSchliessen(); }

void TPISpiel::DateiSchliessen() {
  // Whoever closes first - the game's end or the window's unloading - closes it for both.
  if (DateiNr >= -99) rt::CloseFile(DateiNr);
  DateiNr = -100;
}

void TPISpiel::Zentriere(const std::string& s) {
  Picture1.CurrentX = float(rt::CLng(Picture1.ScaleWidth()) / 2 - rt::CLng(Picture1.TextWidth(s)) / 2);
  Picture1.CurrentY = float(rt::CLng(Picture1.ScaleHeight()) / 2 - rt::CLng(Picture1.TextHeight(s)) / 2);
  Picture1.Print(s);
}

bool TPISpiel::Kreis() {
  const long long mx = rt::CLng(Picture1.ScaleWidth()) / 2;
  const long long my = rt::CLng(Picture1.ScaleHeight()) / 2;
  for (int a = 0; a <= 360; a += 4) {
    const double w = double(PiWert) * a / 180;
    Picture1.PSet(float(std::sin(w) * 100 + double(mx)), float(std::cos(w) * 100 + double(my)),
                  rt::QBColor(10));
    WarteFrame(16);
    if (!SpielLaeuft) return false;
  }
  return true;
}

void TPISpiel::Timer1_Timer() {
  Timer1.SetEnabled(false);
  SpielLaeuft = true;
  SpielErgebnis = false;
  DateiSchliessen();

  SpieleMusik(DatenPfad + "canyon.mid");
  Picture1.ForeColor = rt::RGB(64, 255, 64);
  Picture1.Cls();
  Zentriere("PI");
  WarteFrame(0);
  if (!SpielLaeuft) return;
  WarteFrame(500);
  if (!SpielLaeuft) return;
  if (!Kreis()) return;

  Picture1.Cls();
  Picture1.font.size = 48;
  Zentriere("Ready");
  if (!Kreis()) return;

  Picture1.Cls();
  Zentriere("GO!");
  if (!Kreis()) return;

  Tippen();
}
