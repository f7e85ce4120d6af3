#include "engine/minispiel.h"

#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/text.h"

#include <utility>

namespace {

std::string Feld(const std::string& argument, int n) {
  return rt::UCase(rt::Trim(HoleFeld(argument, ",", n)));
}

// A game that is not there yet leaves no win behind.
void Zeige(MinispielAnzeige anzeige) {
  if (anzeige) {
    anzeige();
  } else {
    SpielErgebnis = false;
  }
}

}  // namespace

Minispiele& MinispielFenster() {
  static Minispiele fenster;
  return fenster;
}

bool SpielWumpel() {
  SpielErgebnis = false;
  Zeige(MinispielFenster().WUMPEL);
  return SpielErgebnis.AlsWahrheit();
}

bool StarteMinispiel(const std::string& argument) {
  bool gewonnen = false;
  SpielErgebnis = Feld(argument, 3);
  const std::string wort = Feld(argument, 1);
  const Minispiele& f = MinispielFenster();
  if (wort == "WUMPEL") {
    gewonnen = SpielWumpel();
  } else if (wort == "MEMORY") {
    do {
      Zeige(f.MEMORY);
    } while (SpielErgebnis == "U");
    gewonnen = SpielErgebnis == "W";
  } else {
    const std::pair<const char*, MinispielAnzeige> spiele[] = {
        {"PI", f.PI}, {"JUMP", f.JUMP}, {"ESEL", f.ESEL}, {"HDW", f.HDW},
        {"PR\xDCGEL", f.PRUEGEL}, {"PONG", f.PONG}};
    for (const auto& [name, anzeige] : spiele) {
      if (wort == name) {
        Zeige(anzeige);
        gewonnen = SpielErgebnis.AlsWahrheit();
        break;
      }
    }
  }

  const std::string merker = Feld(argument, 2);
  if (gewonnen) {
    MerkerSetzen(merker);
  } else {
    MerkerLoeschen(merker);
  }
  return gewonnen;
}
