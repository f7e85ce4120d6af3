#include "menu/menu_loop.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "runtime/text.h"

namespace {

// Joins lines into the typewriter's page markup: two leading blanks that are never typed, and
// two blanks closing every line so its last characters still get whitened.
std::string Seite(std::initializer_list<const char*> zeilen) {
  std::string s = "  ";
  bool erste = true;
  for (const char* z : zeilen) {
    if (!erste) s += "|";
    erste = false;
    s += rt::FromUtf8(z);
    s += "  ";
  }
  return s;
}

}  // namespace

const std::array<std::string, 2>& MenuSeiten(int menuTyp) {
  static const std::array<std::string, 2> haupt = {
      Seite({"Herzlich willkommen bei",
             "NORVALDE, Ausgabe 2026,",
             "dem Abenteuer aus der",
             "Norvalder Spielewerkstatt!",
             "",
             "Dies ist das Hauptmenü. Hier",
             "kannst du ein neues Spiel",
             "beginnen, ein angefangenes",
             "laden, im Bonusmaterial",
             "stöbern oder das Menü",
             "verlassen - was schade wäre.",
             "",
             "Im Bonusmaterial warten",
             "Videos und Bilder von Reisen",
             "und anderen Ereignissen."}),
      Seite({"          STEUERUNG",
             "",
             "Fährst du mit der Maus über",
             "einen Gegenstand oder eine",
             "Person im Raum, leuchtet ein",
             "neuer Mauszeiger auf.",
             "",
             "Mit der linken Maustaste",
             "benutzt oder nimmst du ihn.",
             "",
             "Die rechte Maustaste",
             "untersucht einen Gegenstand,",
             "den du bei dir trägst.",
             "",
             "Die Leertaste öffnet das",
             "Inventar. Zieh mit der linken",
             "Maustaste einen Gegenstand",
             "auf einen anderen, um beide",
             "zu kombinieren."})};
  static const std::array<std::string, 2> bonus = {
      Seite({"Dies ist das Menü des",
             "Bonusmaterials.",
             "",
             "Zwei Videos sind dabei:",
             "\"Hinter den Kulissen\"",
             "(26 Minuten) und",
             "\"Die große Fahrt\"",
             "(7 Minuten).",
             "",
             "Die Bilder sind nach",
             "Kategorien sortiert, darunter",
             "Fotos unserer Fahrten nach",
             "Berlin, Prag, Wien und",
             "Kopenhagen.",
             "",
             "Die Fotos von den Treffen",
             "des Teams zeigen vor allem",
             "Pizza, Kabel und sehr",
             "müde Gesichter."}),
      Seite({"Die Mathe-Physik-LernCD",
             "besteht aus mehreren Dateien,",
             "exportiert aus der LernCD des",
             "Helden fürs Abitur.",
             "",
             "Viel Erfolg beim Lernen!"})};
  return menuTyp == 0 ? haupt : bonus;
}

namespace {

void Zeichen(rt::Surface& box, const std::string& c, int x, int y, int farbe) {
  box.ForeColor = rt::QBColor(farbe);
  box.CurrentX = float(x);
  box.CurrentY = float(y);
  box.Print(c);
}

}  // namespace

void MenuSchreiber::Schritt(int16_t menuTyp, rt::Surface& box) {
  if (menuTyp != ZuletztMenu) {
    Position = 0;
    ZuletztMenu = menuTyp;
    Seiten = MenuSeiten(menuTyp);
  }
  const std::string& text = Seiten[Seite];
  const int32_t laenge = int32_t(text.size());
  if (Position <= laenge) {
    if (Position == 0) {
      X = 2;
      Y = 2;
      box.Cls();
      Position = 3;
    }
    const std::string c = rt::Mid(text, Position, 1);
    if (c != "|") {
      Zeichen(box, c, X, Y, 8);
      Zeichen(box, rt::Mid(text, Position - 1, 1), X - 8, Y, 7);
      Zeichen(box, rt::Mid(text, Position - 2, 1), X - 16, Y, 15);
      X += 8;
    } else {
      X = 2;
      Y += 14;
    }
  }
  Position += 1;
  // About two seconds of rest after the last character, then the other page.
  if (Position > laenge + 25) {
    Position = 0;
    Seite = 1 - Seite;
  }
}

int BalkenHalbbreite(float phase, int l) {
  const double a = std::atan(1.0);
  const double p = phase;
  const long long m1 = rt::CLng(std::fabs(std::sin((p + l) * 0.5 * a / 90) *
                                          std::sin(p * 0.6 * a / 90) * 24));
  const long long m2 = rt::CLng(std::fabs(std::sin(((p + l) * 0.6 + 50) * 4 * a / 90) *
                                          std::sin(p * 0.2 * 2 * a / 90) * 24));
  return int(std::max(m1, m2));
}

void BalkenBild(rt::Surface& s, float& phase) {
  s.Line(445, 0, 495, 300, 0, rt::Surface::BoxFilled);
  phase += 8.0f;
  for (int l = 0; l <= 281; l += 6) {
    const int m = BalkenHalbbreite(phase, l);
    s.Line(float(470 + m), float(l), float(470 - m), float(l + 5), rt::RGB(0, 5 * m + 5, 0),
           rt::Surface::BoxFilled);
  }
}
