// The dialogue choice: a question and N answer lines in the text band, the player's pick with
// the mouse, and the branch labelled with the picked number.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/opcodes.h"
#include "engine/scene_link.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/surface.h"
#include "runtime/text.h"

namespace {

// More answers than this could never be shown in the band; a larger number is taken as this.
constexpr int32_t kMeisteAntworten = 1000;

// The argument's fields from the front, each read once: "|" separates them, the last runs to the
// end, and one past the last is a blank, as HoleFeld gives it.
class Felder {
 public:
  explicit Felder(std::string_view text) : rest_(text) {}
  std::string_view Naechstes() {
    if (ende_) return " ";
    const size_t p = rest_.find('|');
    const std::string_view feld = rest_.substr(0, p);
    ende_ = p == std::string_view::npos;
    if (!ende_) rest_.remove_prefix(p + 1);
    return feld;
  }

 private:
  std::string_view rest_;
  bool ende_ = false;
};

int64_t Zeilen(std::string_view text) { return int64_t(rt::Surface::LineCount(text)); }
int32_t Hoehe(int64_t zeilen) { return GanzeZahl(szene::ZeilenHoehe(zeilen)); }

// From the instruction at i, moves i on to the first label of the current choice block that
// carries the number zweig (nested choices are skipped whole), else to the 26 that closes the
// block; at the script's end when none does. Without a number, straight to the 26.
void Suche(Lauf& lauf, std::optional<int32_t> zweig) {
  int32_t tiefe = 0;
  while (lauf.i < lauf.Letzter()) {
    const int32_t op = lauf.Befehl(++lauf.i);
    if (op == Befehl::AuswahlEnde) --tiefe;
    if (op == Befehl::Auswahl) ++tiefe;
    if (zweig && op == Befehl::Fall && tiefe == 0 && rt::Val(lauf.Argument(lauf.i)) == double(*zweig)) return;
    if (tiefe == -1) return;
  }
}

void ZumAuswahlEnde(Lauf& lauf) { Suche(lauf, std::nullopt); }

Fortgang OpAuswahl(Lauf& lauf, const std::string& arg) {
  Felder felder(arg);
  const int32_t n = std::min(GanzeZahl(rt::Val(felder.Naechstes())), kMeisteAntworten);
  // No answer to wait for: on after the block.
  if (n <= 0) {
    AuswahlErgebnis = 0;
    ZumAuswahlEnde(lauf);
    return Fortgang::Weiter;
  }
  // A choice may take tens of megabytes: its text is put together once, in place, and measured
  // piece by piece instead of again for every answer.
  const std::string_view frage = felder.Naechstes();
  std::vector<std::string_view> antworten(size_t(n) + 1);
  size_t laenge = frage.size() + 3;
  for (size_t m = 1; m <= size_t(n); ++m) {
    antworten[m] = rt::TrimView(felder.Naechstes());
    laenge += antworten[m].size() + 1;
  }
  AuswahlTexte.clear();
  AuswahlText = std::string();  // the last choice's text goes before the new one is made
  std::string& t = AuswahlText;
  t.reserve(laenge);
  auto dazu = [&t](std::string_view teil) {
    const size_t von = t.size();
    t += teil;
    std::replace(t.begin() + std::ptrdiff_t(von), t.end(), '#', '\r');
  };
  AuswahlGrenzen.assign(size_t(n) + 1, 0);
  dazu(frage);
  t += "\r\r";
  int64_t zeilen = Zeilen(t);
  AuswahlGrenzen[0] = Hoehe(zeilen);
  t += '\r';
  for (size_t m = 1; m <= size_t(n); ++m) {
    const size_t umbruch = t.size() - 1;
    dazu(antworten[m]);
    // Counted with the carriage return before it, an answer's first line is the empty one that
    // the text so far ends in.
    zeilen += Zeilen(std::string_view(t).substr(umbruch)) - 1;
    AuswahlHoehe = Hoehe(zeilen);
    if (m != size_t(n)) t += '\r';
    AuswahlGrenzen[m] = AuswahlHoehe;
  }
  AuswahlTexte.assign(size_t(n) + 1, {});
  AuswahlTexte[0] = std::string_view(t).substr(0, frage.size() + 3);
  size_t von = AuswahlTexte[0].size();
  for (size_t m = 1; m <= size_t(n); von += antworten[m].size() + 1, ++m)
    AuswahlTexte[m] = std::string_view(t).substr(von, antworten[m].size());

  AuswahlErgebnis = -2;
  szene::ZeigText(t);
  szene::MausZeiger(0);
  CursorModus = -1;
  AuswahlErgebnis = -1;
  szene::MausBewegt(MausX, MausY);
  Klick = 0;
  PumpeSolange([] { return AuswahlErgebnis == -1; });
  szene::MausZeiger(99);
  CursorModus = 1;
  szene::WegText(t);
  rt::BASS_StreamFree(SprachStream);
  Suche(lauf, AuswahlErgebnis);
  return Fortgang::Weiter;
}

// Reached in sequence, a label ends the branch that ran.
Fortgang OpFall(Lauf& lauf, const std::string&) {
  ZumAuswahlEnde(lauf);
  return Fortgang::Weiter;
}

Fortgang OpAuswahlEnde(Lauf&, const std::string&) { return Fortgang::Weiter; }

}  // namespace

void AuswahlEintragen(std::array<Befehlsroutine, Befehl::Anzahl>& t) {
  t[Befehl::Auswahl] = OpAuswahl;
  t[Befehl::Fall] = OpFall;
  t[Befehl::AuswahlEnde] = OpAuswahlEnde;
}
