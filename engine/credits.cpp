// The credits roll: to music, four pages are typed onto the black scene character by character,
// each one printed dark grey, then light grey, then white a step later; ten pictures dissolve in
// beside the text, 51 random pixels per frame.
#include "engine/credits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

#include "engine/form1.h"
#include "engine/module2.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

const std::array<AbspannBild, 10> AbspannBilder = {{{"Titel.jpg", 0, 350},
                                                    {"2.jpg", 470, 100},
                                                    {"k1.jpg", 530, 2},
                                                    {"k2.jpg", 560, 30},
                                                    {"k3.jpg", 520, 60},
                                                    {"k4.jpg", 570, 90},
                                                    {"k5.jpg", 525, 120},
                                                    {"k6.jpg", 580, 150},
                                                    {"k7.jpg", 550, 180},
                                                    {"Begeisterung.jpg", 338, 295}}};

namespace {

// A page: two blanks that are never typed, the opening, the lines and 20 blanks. Lines end in
// two blanks, so that their last characters are typed over to white as well.
std::string Seite(const std::string& anfang, std::initializer_list<const char*> zeilen) {
  std::string s;
  for (const char* z : zeilen) s += (s.empty() ? "" : "|") + std::string(z) + "  ";
  return "  " + anfang + rt::FromUtf8(s) + std::string(20, ' ');
}

}  // namespace

std::array<std::string, 4> AbspannSeiten(int32_t bosheitsPunkte) {
  return {
      Seite("",
            {"#  Herzlichen Glückwunsch!",
             "Du hast Norvalde durchgespielt und das Dorf",
             "vor dem ewigen Nebel gerettet. Respekt!",
             "",
             "Gleich stellen sich die Leute vor, die",
             "dieses Spiel gebaut haben. Vorher noch",
             "ein paar Worte von Jonas, dem Programmierer:",
             "\"Um vier Uhr morgens ist eine Tastatur  #",
             "ein erstaunlich weiches Kopfkissen.",
             "Ich habe es ausprobiert. Mehrmals.\"",
             "",
             "Ein Rat an alle, die nach uns kommen: Plant",
             "eine CD nicht erst zwei Wochen vor dem",
             "Abgabetermin. Wir wissen, wovon wir reden.",
             "",
             "Ende gut, alles gut!"}),
      Seite("Du hast " + std::to_string(bosheitsPunkte),
            {" Bosheits-Punkte gesammelt! Aber Norvalde hat noch",
             "ein zweites Ende. Spiel gleich noch einmal und finde es!",
             "",
             "Unser Dank geht an:",
             "",
             "Frau Lindqvist, die uns den Computerraum überlassen hat,",
             "Herrn Okafor für die vielen Tipps zur Musik,",
             "Frau Brandauer, die jede Szene Korrektur gelesen hat,",
             "unsere Eltern für die Pizza an den langen Abenden,",
             "die Klasse 10b für das geduldige Testen,",
             "die Theater-AG für die Stimmen und Gesichter",
             "und den ganzen restlichen Jahrgang.",
             "",
             "Ausgenommen sind die Hausmeister, die uns jeden Abend",
             "um sechs Uhr aus dem Gebäude geworfen haben.",
             "(War nicht böse gemeint. Na ja, ein bisschen.)",
             ""}),
      Seite("",
            {"Die Macher von Norvalde:  #",
             "Jonas Brettschneider - Programmierung  #",
             "Mira Castellanos - Grafik und Hintergründe  #",
             "Timo Vukovic - Geschichte und Rätsel  #",
             "Lena Haberkorn - Musik und Geräusche  #",
             "Deniz Aydemir - Animationen und Filme  #",
             "Paula Winterfeld - Sprachaufnahmen  #",
             "Felix Ostermann - Kaffee, Kekse und gute Laune",
             "                                      ",
             "Wie viele Spieleentwickler braucht man,",
             "um eine Glühbirne zu wechseln?",
             "",
             "Keinen. Das ist ein Hardware-Problem.",
             "",
             "Und wie viele braucht man, um ein",
             "Adventure fertigzustellen?",
             "",
             "Sieben. Und ein ganzes Schuljahr.",
             "Und ungefähr dreihundert Pizzen.",
             "",
             "Aber es hat sich gelohnt!"}),
      Seite("",
            {"Zum Schluss noch ein Wort von mir, Mira:  #",
             "",
             "Besuch uns auf unserer Webseite und klick dort",
             "auf das Banner - dann wissen wir, dass du es",
             "bis hierher geschafft hast.",
             "Wir arbeiten schon an weiteren Spielen!",
             "Danke an alle, die uns ihr Gesicht und ihre",
             "Stimme geliehen haben.",
             "Und vielleicht gibt es unsere Schule eines Tages",
             "als 3D-Version. Man wird ja noch träumen dürfen.",
             "",
             "Mira Castellanos, am 27. Juni 2003"}),
  };
}

namespace {

// The picture dissolving in: every pixel number of a w x h picture, plus one more, in random
// order, copied 51 per frame.
struct Aufloesung {
  bool laeuft = false;
  int32_t x0 = 0, y0 = 0, w = 0, h = 0;
  int64_t n = 0, fortschritt = 0;
  std::vector<int64_t> liste;

  void Beginne(const AbspannBild& b, int32_t breite, int32_t hoehe) {
    x0 = b.x0;
    y0 = b.y0;
    w = breite;
    h = hoehe;
    n = int64_t(w) * h;
    liste.resize(size_t(n) + 1);
    std::iota(liste.begin(), liste.end(), int64_t(0));
    for (int64_t k = 0; k < n * 10 + 1; ++k) {
      const int64_t a = Stelle(), b2 = Stelle();
      std::swap(liste[size_t(a)], liste[size_t(b2)]);
    }
    fortschritt = 0;
    laeuft = true;
  }

  int64_t Stelle() const {
    const double r = double(rt::Rnd());
    return std::min<int64_t>(int64_t(std::floor(r * double(n + 1))), n);
  }

  void Schritt(TForm1& f) {
    if (!laeuft || fortschritt > n) return;
    const int64_t letzte = std::min(fortschritt + 50, n);
    for (int64_t k = fortschritt; k <= letzte; ++k) {
      const int64_t p = liste[size_t(k)];
      // The list's extra number names no pixel of the picture: it draws nothing.
      if (p >= n) continue;
      const int x = int(p % w), y = int(p / w);
      rt::SetPixel(f.Picture1.hDC(), x0 + x, y0 + y, rt::GetPixel(f.Picture5.hDC(), x, y));
    }
    fortschritt = letzte + 1;
    if (letzte == n) f.Picture1.PaintPicture(f.Picture5.GetPicture(), float(x0), float(y0));
  }
};

}  // namespace

void TForm1::Abspann() {
  const std::array<std::string, 4> seiten = AbspannSeiten(BosheitsPunkte);
  SpieleMusik(MusikPfad + "GMNUTRAC.MID");
  RM.SetEnabled(true);
  Picture1.font.name = "Fixedsys";
  Picture1.font.bold = true;
  // The pages go onto black: a room picture left as the scene's background would show again
  // with every page's clearing.
  Picture1.SetPicture(nullptr);
  Picture1.BackColor = rt::QBColor(0);
  Picture1.Cls();

  const bool offen = Loaded();
  int frame = 0;
  size_t seite = 0;
  int32_t pos = 0, bild = -1;
  float x = 0, y = 0;
  Aufloesung aufloesung;
  auto drucke = [this, &y](char c, float bei, int farbe) {
    Picture1.CurrentX = bei;
    Picture1.CurrentY = y;
    Picture1.ForeColor = rt::QBColor(farbe);
    Picture1.Print(std::string(1, c));
  };

  for (;;) {
    if (++frame > 4) {
      frame = 0;
      const std::string& s = seiten[seite];
      const int32_t laenge = int32_t(s.size());
      if (pos <= laenge) {
        if (pos == 0) {
          Picture1.Cls();
          x = 2;
          y = 2;
          pos = 3;
        }
        const char c = s[size_t(pos) - 1];
        if (c == '#') {
          pos += 2;
          ++bild;
          const AbspannBild& b = AbspannBilder[size_t(bild) % AbspannBilder.size()];
          // A picture that cannot be loaded is left out; its marker still counts.
          if (rt::PicturePtr p = rt::LoadPicture(DatenPfad + b.datei)) {
            Picture5.SetPicture(p);
            const int32_t w = Picture5.ScaleWidth(), h = Picture5.ScaleHeight();
            Picture1.Line(float(b.x0 - 1), float(b.y0 - 1), float(b.x0 + w), float(b.y0 + h), rt::QBColor(0),
                          rt::Surface::Box);
            aufloesung.Beginne(b, w, h);
          } else {
            std::fprintf(stderr, "Norvalde: credits picture not loaded: %s\n", rt::ToUtf8(b.datei).c_str());
          }
        } else if (c == '|') {
          x = 2;
          y += 14;
        } else {
          drucke(c, x, 8);
          drucke(s[size_t(pos) - 2], x - 8, 7);
          drucke(s[size_t(pos) - 3], x - 16, 15);
          x += 8;
        }
      }
      ++pos;
      if (pos > laenge + 25) {
        pos = 0;
        if (++seite == seiten.size()) break;
      }
    }
    aufloesung.Schritt(*this);
    WarteFrame(16);
    // Closing the window ends the roll with it.
    if (offen && !Loaded()) break;
  }

  Picture1.font.name = "MS Sans Serif";
  Picture1.font.bold = false;
  RM.SetEnabled(false);
  StoppeMusik();
}
