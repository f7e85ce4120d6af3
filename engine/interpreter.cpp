#include "engine/interpreter.h"

#include <algorithm>

#include "engine/minispiel.h"
#include "engine/opcodes.h"
#include "engine/scene_link.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

std::string Name(const std::string& s) { return rt::UCase(rt::Trim(s)); }

Fortgang OpWennMerker(Lauf& lauf, const std::string& arg) {
  if (!MerkerTesten(arg)) UeberspringeBlock(lauf, 1);
  return Fortgang::Weiter;
}

Fortgang OpWennGegenstand(Lauf& lauf, const std::string& arg) {
  if (lauf.gegenstand != Name(arg)) UeberspringeBlock(lauf, 1);
  return Fortgang::Weiter;
}

Fortgang OpSonst(Lauf& lauf, const std::string&) {
  UeberspringeBlock(lauf, 0);
  return Fortgang::Weiter;
}

Fortgang OpNichts(Lauf&, const std::string&) { return Fortgang::Weiter; }

Fortgang OpMinispiel(Lauf&, const std::string& arg) {
  StarteMinispiel(arg);
  return Fortgang::Weiter;
}

Fortgang OpSpringe(Lauf& lauf, const std::string& arg) {
  SpringeZuMarke(lauf, arg);
  return Fortgang::Weiter;
}

std::array<Befehlsroutine, Befehl::Anzahl> tabelle = [] {
  std::array<Befehlsroutine, Befehl::Anzahl> t{};
  t[Befehl::WennMerker] = OpWennMerker;
  t[Befehl::WennGegenstand] = OpWennGegenstand;
  t[Befehl::Sonst] = OpSonst;
  t[Befehl::EndeWenn] = OpNichts;
  t[Befehl::Springe] = OpSpringe;
  t[Befehl::Marke] = OpNichts;
  t[Befehl::Minispiel] = OpMinispiel;
  BefehleEintragen(t);
  AuswahlEintragen(t);
  return t;
}();

// Runs never start inside the item bar's own frame waits (the scene drops releases and
// countdown ticks that come then), so a bar seen moving here is driven from elsewhere and ends.
void WarteAufLeiste() {
  while (LeisteGesperrt) {
    rt::DoEvents();
    if (LeisteGesperrt) rt::WaitForEvent(UINT64_MAX);
  }
}

struct Gesichert {
  int32_t cursorModus;
};

Gesichert StartSchritte() {
  szene::CountDownAn(false);
  Gesichert g{CursorModus};
  Beschaeftigt = true;
  const std::string taste1 = CursorPfad + "taste1.ico";
  szene::MausIcon(taste1);
  szene::MausZeiger(99);
  CursorDateien[0] = taste1;
  CursorDateien[1] = CursorPfad + "taste2.ico";
  CursorModus = 1;
  WarteAufLeiste();
  LeisteSichtbar = false;
  szene::VersteckeLeiste();
  return g;
}

void EndSchritte(const Gesichert& g) {
  szene::CountDownAn(true);
  szene::MausZeiger(0);
  Beschaeftigt = false;
  CursorModus = g.cursorModus;
  GewaehlterGegenstand = -1;
  szene::MausBewegt(MausX, MausY);
}

}  // namespace

std::array<Befehlsroutine, Befehl::Anzahl>& Befehlstabelle() { return tabelle; }

int32_t Lauf::Letzter() const {
  const int64_t vorhanden = int64_t(skript.Befehle.size()) - 1;
  return int32_t(std::min<int64_t>(skript.Letzter, vorhanden));
}

int32_t Lauf::Befehl(int32_t k) const {
  if (k < 0 || k > Letzter()) return -1;
  return skript.Befehle[size_t(k)];
}

const std::string& Lauf::Argument(int32_t k) const {
  static const std::string leer;
  if (k < 0 || k > Letzter() || size_t(k) >= skript.Parameter.size()) return leer;
  return skript.Parameter[size_t(k)];
}

void UeberspringeBlock(Lauf& lauf, int32_t tiefe) {
  const int32_t letzter = lauf.Letzter();
  for (;;) {
    if (lauf.Befehl(lauf.i) == Befehl::Sonst) ++tiefe;
    if (lauf.i >= letzter) {
      lauf.i = std::max(letzter, lauf.i);  // the block never closes: the run ends here
      return;
    }
    ++lauf.i;
    const int32_t op = lauf.Befehl(lauf.i);
    if (op == Befehl::Sonst || op == Befehl::EndeWenn) --tiefe;
    if (op == Befehl::WennMerker || op == Befehl::WennGegenstand) ++tiefe;
    if (tiefe == 0) return;
  }
}

void SpringeZuMarke(Lauf& lauf, const std::string& marke) {
  const std::string gesucht = Name(marke);
  const int32_t letzter = lauf.Letzter();
  for (int32_t j = 0; j <= letzter; ++j) {
    if (lauf.Befehl(j) == Befehl::Marke && Name(lauf.Argument(j)) == gesucht) {
      lauf.i = j;
      return;
    }
  }
}

void SkriptAusfuehren(const Skript& skript, int32_t hotspot, const std::string& gegenstand) {
  if (hotspot != -1) {
    const bool gibtEs = hotspot >= 0 && hotspot <= HotspotMax && size_t(hotspot) < Hotspots.size();
    if (!gibtEs || !Hotspots[size_t(hotspot)].Aktiv) return;
  }
  Lauf lauf{skript, hotspot, gegenstand, 0};
  const uint64_t raum = RaumZaehler;
  const SzenenFenster* szene = Szene;
  uint32_t spruenge = 0;
  const Gesichert g = StartSchritte();
  try {
    for (lauf.i = 0; lauf.i <= lauf.Letzter(); ++lauf.i) {
      const int32_t op = lauf.Befehl(lauf.i);
      if (op < 0 || op >= Befehl::Anzahl || !tabelle[size_t(op)]) continue;
      // A loop that never waits would keep the window from ever being closed: it pumps now
      // and then, and a scene closed meanwhile ends the run.
      if (op == Befehl::Springe && ++spruenge % kSpruengeJePumpe == 0) {
        rt::DoEvents();
        if (Szene != szene) break;
      }
      const Fortgang f = tabelle[size_t(op)](lauf, lauf.Argument(lauf.i));
      if (f == Fortgang::EndeOhneSchritte) return;
      if (f == Fortgang::Ende || RaumZaehler != raum) break;
    }
  } catch (...) {
    EndSchritte(g);
    throw;
  }
  EndSchritte(g);
}
