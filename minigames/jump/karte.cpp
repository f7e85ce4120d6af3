// The sprite sheet built from the games folder's bitmaps, the tile map from the nine level rows,
// the full redraw of the view and the horizontal wall probe.
#include <cstdio>
#include <string>

#include "engine/state.h"
#include "minigames/jump/jump.h"
#include "runtime/text.h"

namespace {

// Row 0 at the top; "0" empty, "1" to "6" scenery, "7" and "8" the door, "a" and "b" solid.
const char* const kZeilen[TJump::Reihen] = {
    "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000006666a000000000000000000000000000000000000000000000",
    "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000066666a000000000000000000000000000000000000000000000",
    "00000000000000000000000000000000000000000000000000000000000000bbbb0000000000000000000000000000000000000000000000000000000bbbbb66a000000000000000000000000000000000000000000000",
    "00000000000000000000000000000000000000000000100b0000000000000baaaa000000000000000000000000000000000000000000000000000000b6666666a000000000000000000000000000000000000000000000",
    "000000000000000000000000000000000000000bbbbbbbbb000000bbb00000000000000000000000000000000000000000000000000000000000000b66666666a000000000000b0000bbbbb00bbbbb0b0bbbbb0bbbb000",
    "0000000000000000000000000000000000000abaaaaaaaaa0000000000000000000000000000000000000000000001000001001000000001000000ba666aaaaaa00000000000b1b0000a010a000a000a0a000a0000a000",
    "00b000000000000000000054000001a00bb0000aaaaaaaa000000000000a0010000000000000005400000001000aaaaaaa0b00b000b0000b00001baa6666666666000000000baaab000a0aa1000a00000a000a0aaaa007",
    "bbab010bb00001001100002300000aa00000000aaaaaaaa01000001000aa0abbb0000000010000231011110b00000000000a00a000a0000a0000baaa666666666660a00000b00000b00a100a000a00000a011a0a000008",
    "aaaaaabaaaabbaaabbbbbbabbaaaaaa00000000aaaaaaaaaaaaaaaaaaaaabaaaa0000000aaaaaaaaaaaaaaaa00000000000a00a000a0000a000baaaaaaaaaaaaaaaaaaaa00a00000a0aaaaa00aaaaa000aaaaa0aaaabbb",
};

}  // namespace

int32_t TJump::Kachel(int32_t spalte, int32_t reihe) const {
  if (spalte < 0 || spalte >= Spalten || reihe < 0 || reihe >= Reihen) return 0;
  return Karte[size_t(spalte)][size_t(reihe)];
}

void TJump::Grafikladen() {
  Feld.Print("Bitte Warten - Laden");
  Picture1.Move(Picture1.Left(), Picture1.Top(), 640, 2000);
  // A picture that cannot be loaded leaves its place black: its mask then covers, its image adds
  // nothing, and the game goes on.
  Picture1.BackColor = 0;
  Picture1.Cls();

  auto lade = [this](const std::string& name, int x, int y) {
    rt::PicturePtr bild = rt::LoadPicture(DatenPfad + name);
    if (!bild) {
      std::fprintf(stderr, "Norvalde: %s fehlt\n", rt::ToUtf8(DatenPfad + name).c_str());
      return;
    }
    Picture3.SetPicture(bild);
    Picture1.PaintPicture(bild, float(x), float(y), float(Picture3.ScaleWidth()),
                          float(Picture3.ScaleHeight()));
  };
  lade("j0.bmp", 0, 0);
  for (int v = 1; v <= 11; ++v) lade("j" + std::to_string(v) + ".bmp", (v - 1) * 48, 432);
  for (int i = 1; i <= 4; ++i) {
    lade("h" + std::to_string(i) + ".bmp", (i - 1) * 48, 480);
    lade("h" + std::to_string(i) + "m.bmp", (i - 1) * 48, 576);
  }
  for (int t = 0; t <= 3; ++t) {
    const ::GegnerTyp& typ = GegnerTyp[size_t(t)];
    const int w = typ.Breite, h = typ.Hoehe, rechts = (typ.MaxBild + 1) * w;
    for (int f = 0; f <= typ.MaxBild; ++f) {
      const std::string name = "g" + std::to_string(t + 1) + std::to_string(f + 1);
      lade(name + ".bmp", f * w, typ.BlattY);
      lade(name + "m.bmp", f * w, typ.BlattY + h);
      lade(name + "d.bmp", rechts + f * w, typ.BlattY);
      lade(name + "md.bmp", rechts + f * w, typ.BlattY + h);
    }
  }
}

void TJump::KarteAufbauen() {
  for (int32_t reihe = 0; reihe < Reihen; ++reihe) {
    Zeile[size_t(reihe)] = kZeilen[reihe];
    const std::string& z = Zeile[size_t(reihe)];
    for (int32_t spalte = 0; spalte < Spalten - 1 && spalte < int32_t(z.size()); ++spalte) {
      const int a = static_cast<unsigned char>(z[size_t(spalte)]);
      Karte[size_t(spalte)][size_t(reihe)] = a < 97 ? a - 48 : a - 87;
    }
  }
}

void TJump::Hintergrundaufbau() {
  rt::BitBlt(FeldDC, 0, 0, FeldBreite, FeldHoehe, SpriteDC, 0, 0, rt::SRCCOPY);
  ScrollX = float((CLng(ScrollX) / 48) * 48);
  const int32_t scroll = CLng(ScrollX), erste = scroll / 48;
  for (int32_t reihe = 0; reihe < Reihen; ++reihe) {
    for (int32_t spalte = erste; spalte <= erste + 12; ++spalte) {
      const int32_t v = Kachel(spalte, reihe);
      if (v >= 1)
        rt::BitBlt(FeldDC, 48 * spalte - scroll, 48 * reihe, 48, 48, SpriteDC, (v - 1) * 48, 432,
                   rt::SRCCOPY);
    }
  }
  Feld.Refresh();
}

void TJump::CheckLinksundRechts(float X, float Y, float VX, int32_t Breite, int32_t Proben,
                                int16_t& Treffer) const {
  Treffer = 0;
  const float ziel = X + VX;
  if (ziel < 0 || ziel > float(ZielX)) Treffer = -1;
  const int32_t c = VX > 0 ? CLng(double(ziel) + Breite) / 48 : CLng(ziel) / 48;
  auto probe = [&](double y) {
    if (Kachel(c, CLng(y) / 48) > 9) Treffer = -1;
  };
  if (Y > -117 && Proben > 2) probe(double(Y) + 95);
  if (Y > -94 && Proben > 1) probe(double(Y) + 47);
  if (Y > -47) probe(Y);
}
