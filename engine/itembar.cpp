// The item bar: drawn once per change of the items into the hidden Picture4, slid up from the
// bottom of the scene with a sine ease and slid away again uncovering the clean scene.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/form1.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

int32_t Ganzteil(double a, double b) {
  const long long teiler = rt::CLng(b);
  return teiler == 0 ? 0 : int32_t(rt::CLng(a) / teiler);
}

int32_t TForm1::LeistenHoeheVoll() const {
  return Ganzteil(LetzterGegenstand, Ganzteil(Picture1.ScaleWidth(), 64)) * 64 + 64;
}

void TForm1::GegenständeLaden() {
  const int sw = Picture1.ScaleWidth();
  const int spalten = std::max(1, Ganzteil(sw, 64));
  Picture4.Cls();
  Picture4.Move(Picture4.Left(), Picture4.Top(), sw, LeistenHoeheVoll());
  for (int32_t i = 0; i <= LetzterGegenstand && i < GegenstandAnzahl; ++i) {
    rt::PicturePtr bild = rt::LoadPicture(Gegenstaende[size_t(i)]);
    // An item whose picture is missing keeps an empty cell; the game goes on.
    if (!bild) {
      std::fprintf(stderr, "Norvalde: item picture not loaded: %s\n", rt::ToUtf8(Gegenstaende[size_t(i)]).c_str());
      continue;
    }
    Picture5.SetPicture(bild);
    // Pictures smaller than the cell's 48 by 48 show black beside and below them.
    Picture4.PaintPicture(Picture5.GetPicture(), float((i % spalten) * 64 + 8), float((i / spalten) * 64 + 8), 48,
                          48, 0, 0, 48, 48);
  }
}

void TForm1::ZeigeLeiste() {
  const float sw = float(Picture1.ScaleWidth()), sh = float(Picture1.ScaleHeight());
  LeisteGesperrt = true;
  for (;;) {
    LeisteZu = false;
    if (LeisteOffen) {
      LeisteGesperrt = false;
      return;
    }
    LeisteVollHoehe = float(LeistenHoeheVoll());
    LeisteWinkel = float(double(LeisteWinkel) + 0.08);
    LeisteHoehe = int32_t(rt::CLng(double(LeisteVollHoehe) * std::sin(double(LeisteWinkel))));
    if (LeisteWinkel < PiWert / 2) {
      Picture1.Line(0, sh - float(LeisteHoehe), sw, sh, rt::QBColor(0), rt::Surface::BoxFilled);
      Picture1.Line(0, sh - float(LeisteHoehe), sw, sh - float(LeisteHoehe), rt::QBColor(15));
      WarteFrame(16);
      continue;
    }
    LeisteOffen = true;
    LeisteWinkel = PiWert;
    LeisteHoehe = int32_t(rt::CLng(LeisteVollHoehe));
    // One row less than the bar: the scene's bottom row keeps the black of the last frame.
    Picture1.PaintSurface(Picture4, 0, sh - float(LeisteHoehe), sw, float(LeisteHoehe - 1), 0, 0, sw,
                          float(LeisteHoehe - 1));
    Picture1.Line(0, sh - float(LeisteHoehe), sw, sh - float(LeisteHoehe), rt::QBColor(15));
    LeisteGesperrt = false;
    return;
  }
}

void TForm1::VersteckeLeiste() {
  if (LeisteZu) return;
  const int sw = Picture1.ScaleWidth(), sh = Picture1.ScaleHeight();
  LeisteGesperrt = true;
  Picture1.SetAutoRedraw(false);
  LeisteOffen = false;
  Picture1.Line(0, float(sh - LeisteHoehe), float(sw), float(sh), rt::QBColor(0), rt::Surface::BoxFilled);
  for (int32_t d = LeisteHoehe; d >= 0; d -= 3) {
    rt::BitBlt(Picture1.hDC(), 0, sh - d, sw, 3, Picture3.hDC(), 0, sh - d, rt::SRCCOPY);
    Picture1.Line(0, float(sh - d + 3), float(sw), float(sh - d + 3), rt::QBColor(15));
    WarteFrame(3);
  }
  Picture1.SetAutoRedraw(true);
  rt::BitBlt(Picture1.hDC(), 0, sh - LeisteHoehe, sw, LeisteHoehe - 1, Picture3.hDC(), 0, sh - LeisteHoehe,
             rt::SRCCOPY);
  Picture1.Refresh();
  LeisteHoehe = 0;
  LeisteWinkel = 0;
  LeisteZu = true;
  LeisteGesperrt = false;
}
