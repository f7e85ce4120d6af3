// The fight's display services: the big shadowed texts and the two paced energy counters.
#include <string>

#include "minigames/fight/pruegel.h"
#include "minigames/fight/regeln.h"
#include "runtime/text.h"

namespace {

// 0 red, 1 blue, 2 white; the shadow is the same at half strength.
rt::Color TextFarbe(int32_t farbe, int staerke) {
  return rt::RGB(farbe != 1 ? staerke : 0, farbe == 2 ? staerke : 0, farbe > 0 ? staerke : 0);
}

}  // namespace

void TPrügel::PrintText(const std::string& text, int32_t farbe) {
  rt::PictureBox& p = Picture1;
  p.font.size = 48;
  const long long x = rt::CLng(p.ScaleWidth()) / 2 - rt::CLng(p.TextWidth(text)) / 2;
  const long long y = rt::CLng(p.ScaleHeight()) / 2 - rt::CLng(p.TextHeight(text)) / 2;
  p.ForeColor = TextFarbe(farbe, 128);
  p.CurrentX = float(x + 5);
  p.CurrentY = float(y + 5);
  p.Print(text);
  p.ForeColor = TextFarbe(farbe, 255);
  p.CurrentX = float(x);
  p.CurrentY = float(y);
  p.Print(text);
}

void TPrügel::Zaehle(int32_t& anzeige, int32_t& energie, rt::Label& label, bool torvik) {
  for (;;) {
    // Clamped before the comparison, so neither the energy nor the label is ever left below 0.
    if (energie < 0) energie = 0;
    if (anzeige == energie) return;
    anzeige = ZaehlSchritt(anzeige, energie);
    label.SetCaption(torvik ? std::to_string(anzeige) + " Torvik" : "Krakel " + std::to_string(anzeige));
    Warte(20);
  }
}

void TPrügel::ShowEnergieT() { Zaehle(AnzeigeT, EnergieT, Label1[1], true); }

void TPrügel::ShowEnergieK() { Zaehle(AnzeigeK, EnergieK, Label1[0], false); }
