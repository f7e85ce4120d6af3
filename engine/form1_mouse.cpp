// The scene's mouse handlers: hotspot and item clicks, dragging items from the bar, the hover
// cursors with their tooltips and animation frames, and the choice highlight and pick.
#include <cstdio>

#include "engine/form1.h"
#include "engine/interpreter.h"
#include "engine/rooms.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

// The item's file name without its extension.
std::string GezeigterName(int32_t k) {
  const std::string n = DateiName(Gegenstaende[size_t(k)]);
  return rt::Left(n, int(n.size()) - 4);
}

// Frame k (2 to 5) of a cursor file: the character before the four-character extension
// replaced by the digit.
std::string CursorFrame(const std::string& datei, int k) {
  const int n = int(datei.size());
  return rt::Left(datei, n - 5) + char('0' + k) + rt::Right(datei, 4);
}

}  // namespace

// ---- Cursor files -----------------------------------------------------------------------------

const TForm1::CursorEintrag& TForm1::CursorDatei(const std::string& pfad) {
  auto [it, neu] = cursorSpeicher_.try_emplace(pfad);
  if (neu) it->second.da = rt::FileExists(pfad);
  return it->second;
}

rt::PicturePtr TForm1::CursorBildVon(const std::string& pfad) {
  CursorDatei(pfad);
  CursorEintrag& e = cursorSpeicher_[pfad];
  if (!e.gelesen) {
    e.gelesen = true;
    if (e.da) e.bild = rt::LoadPicture(pfad);
  }
  return e.bild;
}

void TForm1::CursorsVergessen() { cursorSpeicher_.clear(); }

void TForm1::SetzeMausIcon(const std::string& pfad) {
  // No picture for an icon that cannot be loaded: the runtime then keeps the pointer it shows.
  MouseIcon = CursorBildVon(pfad);
}

// ---- Geometry ---------------------------------------------------------------------------------

bool TForm1::InLeiste(float x, float y, int32_t& k) const {
  k = -1;
  if (!LeisteOffen) return false;
  const float sw = float(Picture1.ScaleWidth()), sh = float(Picture1.ScaleHeight());
  // Only inside the scene: a drag into the black border around it reads no cell.
  if (x < 0 || x >= sw || y >= sh) return false;
  if (!(y >= sh - float(LeisteHoehe))) return false;
  const int32_t spalten = Ganzteil(sw, 64);
  k = Ganzteil(x, 64) + Ganzteil(double(y) - (double(sh) - LeisteHoehe), 64) * spalten;
  return true;
}

bool TForm1::NenntGegenstand(int32_t k) { return k >= 0 && k <= LetzterGegenstand && k < GegenstandAnzahl; }

bool TForm1::ImRaster(float x, float y, int32_t& gx, int32_t& gy) {
  gx = Ganzteil(x, 10);
  gy = Ganzteil(y, 10);
  return gx >= 0 && gx <= 63 && gy >= 0 && gy <= 47;
}

int32_t TForm1::AuswahlOben() const {
  return Ganzteil(Picture1.ScaleHeight(), 2) - Ganzteil(AuswahlHoehe, 2);
}

bool TForm1::InAuswahlBand(int32_t j, float y) const {
  if (j < 0 || size_t(j) + 1 >= AuswahlGrenzen.size()) return false;
  const int32_t oben = AuswahlOben();
  return float(oben + AuswahlGrenzen[size_t(j)]) < y && y < float(oben + AuswahlGrenzen[size_t(j) + 1]);
}

int32_t TForm1::AuswahlBaender() const { return int32_t(AuswahlTexte.size()) - 1; }

void TForm1::AuswahlBandUmkehren(int32_t j) {
  if (j < 0 || size_t(j) + 1 >= AuswahlGrenzen.size()) return;
  const int32_t oben = AuswahlOben();
  Picture1.DrawMode = rt::vbInvert;
  Picture1.Line(0, float(oben + AuswahlGrenzen[size_t(j)]), float(Picture1.ScaleWidth()),
                float(oben + AuswahlGrenzen[size_t(j) + 1]), rt::QBColor(15), rt::Surface::BoxFilled);
  Picture1.DrawMode = rt::vbCopyPen;
}

void TForm1::AuswahlMarkieren(float y) {
  int32_t neu = -1, treffer = 0;
  for (int32_t j = 0; j < AuswahlBaender(); ++j)
    if (InAuswahlBand(j, y)) neu = j, ++treffer;
  // Inverting a band back and again would leave the same pixels: a move within the line
  // changes nothing.
  if (treffer == 1 && neu == MarkierteZeile) return;
  if (MarkierteZeile >= 0) {
    AuswahlBandUmkehren(MarkierteZeile);
    MarkierteZeile = -1;
  }
  for (int32_t j = 0; j < AuswahlBaender(); ++j) {
    if (!InAuswahlBand(j, y)) continue;
    AuswahlBandUmkehren(j);
    MarkierteZeile = j;
  }
}

void TForm1::AuswahlWaehlen(float y) {
  for (int32_t j = 0; j < AuswahlBaender(); ++j) {
    if (!InAuswahlBand(j, y)) continue;
    AuswahlErgebnis = j + 1;
    MarkierteZeile = -1;
  }
}

// ---- Handlers ---------------------------------------------------------------------------------

void TForm1::Picture1_MouseDown(int button, int shift, float x, float y) {
  (void)shift;
  Klick = button == rt::vbLeftButton ? 2 : 1;
  ++Druecke;
  GewaehlterGegenstand = -1;
  if (Beschaeftigt || !LeisteOffen) return;
  int32_t k;
  if (InLeiste(x, y, k) && NenntGegenstand(k)) {
    GewaehlterGegenstand = k;
    GewaehlterName = rt::UCase(GezeigterName(k));
    SetzeMausIcon(CursorPfad + "ge2.ico");
    MousePointer = rt::vbCustom;
    CursorModus = -1;
  }
}

void TForm1::Picture1_MouseMove(int button, int shift, float x, float y) {
  (void)button;
  (void)shift;
  MausX = x;
  MausY = y;
  if (Beschaeftigt) {
    if (AuswahlErgebnis == -1) AuswahlMarkieren(y);
    return;
  }
  Picture1.ToolTipText = "";
  const bool haelt = GewaehlterGegenstand != -1;
  auto ohneTreffer = [&] {
    if (haelt) {
      SetzeMausIcon(CursorPfad + "ge2.ico");
      MousePointer = rt::vbCustom;
    } else {
      MousePointer = rt::vbDefault;
    }
    CursorModus = -1;
  };
  int32_t k;
  if (InLeiste(x, y, k)) {
    if (NenntGegenstand(k)) {
      Picture1.ToolTipText = GezeigterName(k);
      if (haelt && k != GewaehlterGegenstand) {
        CursorDateien[0] = CursorPfad + "werfen.ico";
        CursorDateien[1] = CursorPfad + "ge2.ico";
        CursorModus = 1;
        return;
      }
    }
    ohneTreffer();
    return;
  }
  // Dragging an item above the bar puts the bar away, so the item lands on the scene.
  if (LeisteOffen && haelt && y < float(Picture1.ScaleHeight() - LeisteHoehe)) {
    VersteckeLeiste();
    LeisteSichtbar = false;
  }
  int32_t gx, gy;
  if (ImRaster(x, y, gx, gy)) {
    for (int32_t h = 0; h <= HotspotMax && size_t(h) < Hotspots.size(); ++h) {
      const Hotspot& hs = Hotspots[size_t(h)];
      if (!hs.Maske[size_t(gx)][size_t(gy)] || !hs.Aktiv) continue;
      if (haelt) {
        if (!hs.SkriptAktiv[2]) continue;
        CursorDateien[0] = CursorPfad + "werfen.ico";
        CursorDateien[1] = CursorPfad + "ge2.ico";
        CursorModus = 1;
        return;
      }
      const std::string f = CursorPfad + DateiName(hs.CursorName);
      if (!hs.CursorName.empty() && CursorDatei(f).da) {
        CursorDateien[0] = f;
        if (MousePointer != rt::vbCustom) {
          SetzeMausIcon(f);
          MousePointer = rt::vbCustom;
        }
        CursorModus = 0;
        for (int k2 = 2; k2 <= 5; ++k2) {
          CursorDateien[size_t(k2 - 1)] = CursorFrame(f, k2);
          if (CursorDatei(CursorDateien[size_t(k2 - 1)]).da) CursorModus = k2 - 1;
        }
      } else {
        MousePointer = rt::vbArrowQuestion;
        CursorModus = -1;
      }
      return;
    }
  }
  ohneTreffer();
}

void TForm1::Picture1_MouseUp(int button, int shift, float x, float y) {
  (void)shift;
  Klick = button == rt::vbLeftButton ? 2 : 1;
  if (Beschaeftigt) {
    if (AuswahlErgebnis == -1) AuswahlWaehlen(y);
    Klick = 0;
    return;
  }
  int32_t w;
  if (InLeiste(x, y, w)) {
    if (!NenntGegenstand(w)) return;
    const std::string s = GegenstandPfad + GezeigterName(w);
    // A click on an item, or the held item put back on itself, runs its click script for the
    // button; an item dropped on another runs the combination script of the one it landed on.
    const bool klickAufGegenstand = w == GewaehlterGegenstand || GewaehlterGegenstand == -1;
    const Skript skript = LadeSkript(s + (klickAufGegenstand ? std::to_string(Klick - 1) : "2") + ".skp");
    GewaehlterGegenstand = -1;
    MousePointer = rt::vbDefault;
    CursorModus = -1;
    if (skript.Letzter >= 0) {
      Picture1.ToolTipText = "";
      SkriptAusfuehren(skript, -1, GewaehlterName);
      Klick = 0;
    }
    return;
  }
  int32_t gx, gy;
  if (ImRaster(x, y, gx, gy)) {
    for (int32_t h = 0; h <= HotspotMax && size_t(h) < Hotspots.size(); ++h) {
      if (!Hotspots[size_t(h)].Maske[size_t(gx)][size_t(gy)]) continue;
      // A release that comes while the bar slides (inside its frame waits) starts nothing: the
      // run would have to wait for an animation that cannot go on beneath it.
      if (!LeisteGesperrt) {
        const Hotspot& hs = Hotspots[size_t(h)];
        if (GewaehlterGegenstand == -1) {
          const int slot = Klick - 1;
          if (slot >= 0 && slot <= 1 && hs.SkriptAktiv[size_t(slot)])
            SkriptAusfuehren(hs.Skripte[size_t(slot)], h, "");
        } else if (hs.SkriptAktiv[2]) {
          SkriptAusfuehren(hs.Skripte[2], h, GewaehlterName);
        }
      }
      Klick = 0;
      GewaehlterGegenstand = -1;
      return;
    }
  }
  GewaehlterGegenstand = -1;
  MousePointer = rt::vbDefault;
  CursorModus = -1;
  Klick = 0;
}

void TForm1::Hintergrund_MouseMove(int button, int shift, float x, float y) {
  (void)button;
  (void)shift;
  (void)x;
  (void)y;
  MousePointer = rt::vbDefault;
  CursorModus = -1;
}

void TForm1::Timer1_Timer() {
  if (CursorModus < 0) return;
  MousePointer = rt::vbCustom;
  if (++CursorBild > CursorModus || CursorBild >= int32_t(CursorDateien.size())) CursorBild = 0;
  SetzeMausIcon(CursorDateien[size_t(CursorBild)]);
}
