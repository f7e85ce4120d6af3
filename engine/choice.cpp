// The dialogue choice: a question and N answer lines in the text band, the player's pick with
// the mouse, and the branch labelled with the picked number.
#include <algorithm>
#include <optional>
#include <string>

#include "engine/opcodes.h"
#include "engine/scene_link.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/text.h"

namespace {

// More answers than this could never be shown in the band; a larger number is taken as this.
constexpr int32_t kMeisteAntworten = 1000;

std::string MitUmbruechen(std::string text) {
  std::replace(text.begin(), text.end(), '#', '\r');
  return text;
}

int32_t Hoehe(const std::string& text) { return GanzeZahl(szene::TextHoehe(text)); }

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
  const int32_t n = std::min(GanzeZahl(rt::Val(HoleFeld(arg, "|", 1))), kMeisteAntworten);
  // No answer to wait for: on after the block.
  if (n <= 0) {
    AuswahlErgebnis = 0;
    ZumAuswahlEnde(lauf);
    return Fortgang::Weiter;
  }
  AuswahlTexte.assign(size_t(n) + 1, "");
  AuswahlGrenzen.assign(size_t(n) + 1, 0);
  std::string t = MitUmbruechen(HoleFeld(arg, "|", 2) + "\r\r");
  AuswahlGrenzen[0] = Hoehe(t);
  t += '\r';
  AuswahlTexte[0] = t;
  for (int32_t m = 1; m <= n; ++m) {
    AuswahlTexte[size_t(m)] = MitUmbruechen(rt::Trim(HoleFeld(arg, "|", m + 2)));
    t += AuswahlTexte[size_t(m)];
    AuswahlHoehe = Hoehe(t);
    if (m != n) t += '\r';
    AuswahlGrenzen[size_t(m)] = AuswahlHoehe;
  }

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
