// The three thinking games: the Memory cards, the capitals list with the quiz's sounds, and the
// game room "Spiele.lsd" whose hotspots start Memory, the quiz and the donkey riddle, plus one
// small room per game that starts it at once ("MemoryTest.lsd", "HDWTest.lsd", "EselTest.lsd").
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;
using rt::RGB;

namespace {

constexpr double kPi = 3.14159265358979;

// ---- Memory cards (97 by 97, the size the game shows them) ----------------------------------

Bild Karte(rt::Color grund) {
  Bild b(97, 97, RGB(60, 40, 20));
  b.Rechteck(2, 2, 94, 94, grund);
  b.Rauschen(2, 2, 94, 94, 6, uint32_t(grund));
  return b;
}

void Strahlen(Bild& b, float cx, float cy, float innen, float aussen, int anzahl, float dicke,
              rt::Color c) {
  for (int i = 0; i < anzahl; ++i) {
    const double w = 2 * kPi * i / anzahl;
    b.Linie(cx + innen * float(std::cos(w)), cy + innen * float(std::sin(w)),
            cx + aussen * float(std::cos(w)), cy + aussen * float(std::sin(w)), dicke, c);
  }
}

std::vector<std::array<float, 2>> Stern(float cx, float cy, float aussen, float innen, int zacken) {
  std::vector<std::array<float, 2>> e;
  for (int i = 0; i < 2 * zacken; ++i) {
    const double w = kPi * i / zacken - kPi / 2;
    const float r = i % 2 ? innen : aussen;
    e.push_back({cx + r * float(std::cos(w)), cy + r * float(std::sin(w))});
  }
  return e;
}

Bild KartenApfel() {
  Bild b = Karte(RGB(250, 240, 215));
  b.Ellipse(48, 54, 28, 26, RGB(200, 28, 28));
  b.Ellipse(38, 45, 7, 7, RGB(245, 130, 120));
  b.Linie(48, 30, 53, 16, 4, RGB(90, 60, 30));
  b.Ellipse(62, 20, 10, 5, RGB(60, 140, 50));
  return b;
}

Bild KartenSonne() {
  Bild b = Karte(RGB(150, 205, 250));
  Strahlen(b, 48, 48, 26, 42, 12, 5, RGB(255, 170, 20));
  b.Ellipse(48, 48, 24, 24, RGB(255, 220, 40));
  b.Ellipse(40, 42, 3, 4, RGB(90, 60, 20));
  b.Ellipse(56, 42, 3, 4, RGB(90, 60, 20));
  b.Linie(38, 56, 48, 62, 3, RGB(90, 60, 20));
  b.Linie(48, 62, 58, 56, 3, RGB(90, 60, 20));
  return b;
}

Bild KartenMond() {
  Bild b = Karte(RGB(20, 26, 70));
  for (auto [x, y] : {std::array<int, 2>{16, 18}, {78, 14}, {70, 80}, {22, 76}, {84, 50}})
    b.Ellipse(float(x), float(y), 2, 2, RGB(255, 255, 230));
  b.Ellipse(46, 48, 30, 30, RGB(250, 235, 140));
  b.Ellipse(60, 40, 27, 27, RGB(20, 26, 70));
  return b;
}

Bild KartenStern() {
  Bild b = Karte(RGB(110, 40, 130));
  b.Polygon(Stern(48, 50, 40, 17, 5), RGB(255, 215, 0));
  b.Polygon(Stern(48, 50, 24, 10, 5), RGB(255, 245, 150));
  return b;
}

Bild KartenTanne() {
  Bild b = Karte(RGB(225, 240, 250));
  b.Rechteck(43, 72, 53, 88, RGB(100, 64, 30));
  b.Polygon({{48, 8}, {70, 38}, {26, 38}}, RGB(30, 110, 50));
  b.Polygon({{48, 24}, {78, 58}, {18, 58}}, RGB(34, 122, 56));
  b.Polygon({{48, 40}, {86, 76}, {10, 76}}, RGB(40, 134, 60));
  return b;
}

Bild KartenFisch() {
  Bild b = Karte(RGB(40, 140, 190));
  b.Polygon({{14, 30}, {30, 48}, {14, 66}}, RGB(255, 120, 30));
  b.Ellipse(52, 48, 32, 20, RGB(255, 140, 40));
  b.Linie(44, 32, 44, 64, 3, RGB(255, 250, 240));
  b.Ellipse(70, 44, 5, 5, RGB(255, 255, 255));
  b.Ellipse(71, 44, 2, 2, RGB(0, 0, 0));
  for (auto [x, y] : {std::array<int, 2>{84, 22}, {78, 12}, {88, 8}}) b.Ellipse(float(x), float(y), 3, 3, RGB(200, 235, 255));
  return b;
}

Bild KartenHaus() {
  Bild b = Karte(RGB(190, 230, 160));
  b.Rechteck(20, 44, 76, 84, RGB(215, 180, 120));
  b.Polygon({{12, 46}, {84, 46}, {48, 12}}, RGB(170, 50, 40));
  b.Rechteck(42, 60, 54, 84, RGB(110, 66, 30));
  b.Rechteck(26, 52, 36, 62, RGB(250, 230, 120));
  b.Rechteck(60, 52, 70, 62, RGB(250, 230, 120));
  return b;
}

Bild KartenPilz() {
  Bild b = Karte(RGB(210, 190, 150));
  b.Rechteck(40, 48, 56, 82, RGB(245, 240, 225));
  b.Ellipse(48, 46, 36, 24, RGB(210, 30, 30));
  b.Rechteck(10, 47, 86, 70, RGB(210, 190, 150));
  b.Rechteck(40, 47, 56, 82, RGB(245, 240, 225));
  for (auto [x, y] : {std::array<int, 2>{34, 34}, {56, 28}, {70, 40}, {24, 44}, {48, 40}})
    b.Ellipse(float(x), float(y), 4, 4, RGB(255, 255, 255));
  return b;
}

// The back: a blue card with a golden border and a lattice of diamonds.
Bild KartenRuecken() {
  Bild b = Karte(RGB(30, 60, 140));
  for (int y = 4; y < 93; ++y)
    for (int x = 4; x < 93; ++x)
      if ((x + y) % 12 == 0 || (x - y + 96) % 12 == 0) b.Punkt(x, y, RGB(70, 110, 200));
  b.Rechteck(6, 6, 90, 8, RGB(210, 170, 60));
  b.Rechteck(6, 88, 90, 90, RGB(210, 170, 60));
  b.Rechteck(6, 6, 8, 90, RGB(210, 170, 60));
  b.Rechteck(88, 6, 90, 90, RGB(210, 170, 60));
  b.Polygon({{48, 30}, {66, 48}, {48, 66}, {30, 48}}, RGB(210, 170, 60));
  b.Polygon({{48, 38}, {58, 48}, {48, 58}, {38, 48}}, RGB(30, 60, 140));
  return b;
}

// ---- The capitals list ------------------------------------------------------------------------

// One question a line: country, "#", the right capital and three wrong ones. A few lines are
// there to be skipped (blank, no "#", three answers, a fourth answer of one blank); one has
// blanks around everything and a fifth answer; one a second "#".
const char* const kHauptstaedte[] = {
    "Frankreich#Paris,Lyon,Marseille,Nizza",
    "Italien#Rom,Mailand,Neapel,Turin",
    "Spanien#Madrid,Barcelona,Sevilla,Valencia",
    "Österreich#Wien,Graz,Salzburg,Innsbruck",
    "Schweiz#Bern,Zürich,Genf,Basel",
    "",
    "Polen#Warschau,Krakau,Danzig,Breslau",
    "Tschechien#Prag,Brünn,Pilsen,Ostrau",
    "Ungarn#Budapest,Debrecen,Szeged,Pécs",
    "Luxemburg Luxemburg,Esch,Differdingen,Düdelingen",
    "Dänemark#Kopenhagen,Aarhus,Odense,Aalborg",
    "Norwegen#Oslo,Bergen,Trondheim,Stavanger",
    "Schweden#Stockholm,Göteborg,Malmö,Uppsala",
    "Island#Reykjavík,Akureyri,Kópavogur",
    "Finnland#Helsinki,Turku,Tampere,Oulu",
    "Portugal#Lissabon,Porto,Faro,Coimbra",
    "  Schottland  #  Edinburgh , Glasgow , Aberdeen , Dundee , Inverness  ",
    "Griechenland#Athen,Thessaloniki,Patras,Heraklion",
    "Türkei#Ankara,Istanbul,Izmir,Antalya",
    "Wales#Cardiff,Swansea,Newport, ",
    "Kroatien#Zagreb,Split,Rijeka,Osijek#Dubrovnik",
    "Australien#Canberra,Sydney,Melbourne,Perth",
    "Kanada#Ottawa,Toronto,Montreal,Vancouver",
    "Brasilien#Brasília,Rio de Janeiro,São Paulo,Salvador",
    "Japan#Tokio,Osaka,Kyoto,Yokohama",
    "Ägypten#Kairo,Alexandria,Luxor,Gizeh",
    "Irland#Dublin,Cork,Galway,Limerick",
    "Belgien#Brüssel,Antwerpen,Gent,Brügge",
    "Niederlande#Amsterdam,Rotterdam,Den Haag,Utrecht",
    "Marokko#Rabat,Casablanca,Marrakesch,Fès",
    "",
};

// ---- The quiz's sounds ------------------------------------------------------------------------

constexpr int kRate = 22050;

void Schreibe(const Ziel& z, const std::string& name, const std::vector<int16_t>& s) {
  const std::string pfad = z.Ordner("games") + name;
  if (!rt::WriteWaveFile(pfad, s, kRate, 1)) throw std::runtime_error("cannot write " + pfad);
}

int16_t Probe(double v) { return int16_t(std::clamp(v, -1.0, 1.0) * 20000); }

// A wrong answer: a crackling electric buzz that dies away.
std::vector<int16_t> Stromschlag() {
  std::vector<int16_t> s;
  uint32_t z = 11;
  const int lang = kRate * 8 / 10;
  for (int i = 0; i < lang; ++i) {
    const double t = double(i) / kRate;
    const double saege = std::fmod(t * 110, 1.0) * 2 - 1;
    const double knistern = (Zufall(z) % 9 == 0) ? (double(Zufall(z) % 2001) / 1000 - 1) : 0;
    const double flackern = 0.6 + 0.4 * std::sin(2 * kPi * 13 * t);
    s.push_back(Probe((saege * 0.45 * flackern + knistern * 0.5) * std::exp(-t * 2.5)));
  }
  return s;
}

// ---- Rooms ------------------------------------------------------------------------------------

// The game room: a table with cards on the left, a globe in the middle and a painting of the
// donkey at the river on the right.
Bild Spielzimmer() {
  Bild b(640, 480);
  b.Verlauf(0, 330, RGB(120, 150, 110), RGB(90, 115, 85));
  for (int x = 0; x < 640; x += 32) b.Rechteck(x, 0, x + 1, 330, RGB(100, 128, 92));
  b.Rechteck(0, 331, 639, 479, RGB(130, 90, 55));
  for (int y = 340; y < 480; y += 22) b.Rechteck(0, y, 639, y + 1, RGB(105, 70, 40));
  b.Rauschen(0, 331, 639, 479, 10, 41);
  // The table with the cards.
  b.Ellipse(150, 360, 130, 40, RGB(120, 70, 35));
  b.Ellipse(150, 354, 126, 36, RGB(160, 100, 50));
  b.Rechteck(140, 390, 160, 460, RGB(110, 64, 30));
  for (int i = 0; i < 8; ++i) {
    const int x = 70 + (i % 4) * 42, y = 336 + (i / 4) * 22;
    b.Rechteck(x, y, x + 30, y + 16, RGB(30, 60, 140));
    b.Rechteck(x + 3, y + 3, x + 27, y + 13, RGB(70, 110, 200));
  }
  // The globe on its stand.
  b.Rechteck(310, 360, 330, 440, RGB(90, 60, 30));
  b.Ellipse(320, 445, 40, 10, RGB(90, 60, 30));
  b.Ellipse(320, 290, 70, 70, RGB(40, 90, 170));
  b.Ellipse(300, 270, 26, 34, RGB(70, 150, 70));
  b.Ellipse(350, 310, 20, 22, RGB(70, 150, 70));
  b.Ellipse(330, 240, 14, 8, RGB(70, 150, 70));
  b.Rauschen(250, 220, 390, 360, 8, 42, RGB(40, 90, 170));
  b.Rauschen(250, 220, 390, 360, 8, 43, RGB(70, 150, 70));
  // The painting: a donkey by the river, apples on the other bank.
  b.Rechteck(440, 90, 620, 250, RGB(150, 110, 40));
  b.Rechteck(452, 102, 608, 238, RGB(150, 200, 240));
  b.Rechteck(452, 190, 608, 238, RGB(70, 140, 60));
  b.Polygon({{520, 190}, {560, 190}, {575, 238}, {505, 238}}, RGB(60, 110, 200));
  b.Ellipse(590, 150, 14, 12, RGB(40, 110, 40));
  b.Rechteck(588, 160, 592, 190, RGB(90, 60, 30));
  for (auto [x, y] : {std::array<int, 2>{584, 146}, {596, 152}, {590, 140}}) b.Ellipse(float(x), float(y), 3, 3, RGB(240, 200, 20));
  b.Ellipse(480, 200, 20, 11, RGB(130, 130, 140));
  b.Ellipse(500, 186, 8, 7, RGB(130, 130, 140));
  b.Linie(497, 180, 494, 168, 3, RGB(130, 130, 140));
  b.Linie(503, 180, 506, 168, 3, RGB(130, 130, 140));
  for (int x : {468, 476, 486, 494}) b.Linie(float(x), 206, float(x), 222, 3, RGB(110, 110, 120));
  return b;
}

Befehl Spiel(const std::string& wort, const std::string& merker) { return {27, wort + "," + merker}; }
Befehl Wenn(const std::string& merker) { return {0, merker}; }
Befehl Zeile(const std::string& t) { return {2, t}; }
const Befehl kSonst{9, ""};
const Befehl kEnde{10, ""};

// Starts a game and answers its outcome.
Skr SpielMitAntwort(const std::string& wort, const std::string& merker, const std::string& sieg,
                    const std::string& niederlage) {
  return {Spiel(wort, merker), Wenn(merker), Zeile(sieg), kSonst, Zeile(niederlage), kEnde};
}

HotspotDef SpielHotspot(const std::string& name, Maske m, Skr links, const std::string& ansehen) {
  HotspotDef h;
  h.name = name;
  h.cursor = "hand1.ico";
  h.maske = m;
  h.skripte = {Skr{Zeile(ansehen)}, std::move(links), Skr{}};
  h.aktiv = {true, true, false};
  return h;
}

RaumDef SpieleRaum() {
  RaumDef r;
  r.bild = "spielzimmer.jpg";
  r.start = {Wenn("SPIELZIMMER_BESUCHT"), kSonst,
             Zeile("Im Spielzimmer warten drei Rätsel auf dich:#Memory gegen Wendra, das Hauptstadt-Quiz "
                   "und das Bild vom Esel."),
             {3, "SPIELZIMMER_BESUCHT"}, kEnde};
  r.hotspots.push_back(SpielHotspot(
      "Kartentisch", MaskeAus([](int x, int y) {
        const float dx = (x - 150) / 130.0f, dy = (y - 360) / 40.0f;
        return dx * dx + dy * dy <= 1;
      }),
      {Wenn("MEMORY_GEWONNEN"), Zeile("Wendra will nicht noch einmal verlieren."), kSonst,
       Spiel("MEMORY", "MEMORY_GEWONNEN"), Wenn("MEMORY_GEWONNEN"),
       Zeile("$AGewonnen!#Wendra schiebt dir grummelnd einen Apfel hin."), {6, "apfel.bmp"}, kSonst,
       Zeile("Wendra hat mehr Paare gefunden.#Versuch es noch einmal!"), kEnde, kEnde},
      "Ein Tisch mit verdeckten Karten. Wendra wartet schon."));
  r.hotspots.push_back(SpielHotspot(
      "Globus", MaskeAus([](int x, int y) {
        const float dx = (x - 320) / 72.0f, dy = (y - 290) / 72.0f;
        return dx * dx + dy * dy <= 1 || (x >= 300 && x <= 340 && y > 290 && y <= 450);
      }),
      SpielMitAntwort("HDW", "QUIZ_GEWONNEN", "$ADu kennst dich aus in der Welt!#Vier Hauptstädte richtig.",
                      "$CFalsch geraten.#Der Globus dreht sich beleidigt weg."),
      "Ein Globus. Wer ihn dreht, muss Hauptstädte kennen."));
  r.hotspots.push_back(SpielHotspot(
      "Eselbild", MaskeRechteck(440, 90, 620, 250),
      SpielMitAntwort("ESEL", "ESEL_GELOEST", "$AGenau, er gab auf!#Das Rätsel ist gelöst.",
                      "Du hast aufgegeben.#Der Esel grinst dich aus dem Bild an."),
      "Ein Bild von einem Esel am Fluss. Er schaut sehnsüchtig hinüber."));
  return r;
}

// A room that opens one game at once and answers its outcome.
RaumDef TestRaum(const std::string& wort, const std::string& merker) {
  RaumDef r;
  r.bild = "spielzimmer.jpg";
  r.start = SpielMitAntwort(wort, merker, "$AGewonnen!", "$CVerloren!");
  return r;
}

void Erzeuge(const Ziel& z) {
  const std::string spiele = z.Ordner("games");
  const Bild karten[9] = {KartenApfel(), KartenSonne(), KartenMond(), KartenStern(), KartenTanne(),
                          KartenFisch(), KartenHaus(), KartenPilz(), KartenRuecken()};
  for (int i = 0; i < 9; ++i) SpeichereJpg(karten[i], spiele + "m" + std::to_string(i + 1) + ".jpg", 92);

  std::string liste;
  for (const char* zeile : kHauptstaedte) liste += Cp1252(zeile) + "\r\n";
  SchreibeDatei(spiele + "HDW.txt", liste);
  // "wodds.wav" and "e_laugh.wav" are the jump-and-run game's as well; its part writes them.
  Schreibe(z, "electric.wav", Stromschlag());

  SpeichereJpg(Spielzimmer(), z.Ordner("graphics") + "spielzimmer.jpg");
  SchreibeDatei(z.Ordner("rooms") + "Spiele.lsd", RaumText(SpieleRaum()));
  SchreibeDatei(z.Ordner("rooms") + "MemoryTest.lsd", RaumText(TestRaum("MEMORY", "MEMORY_GEWONNEN")));
  SchreibeDatei(z.Ordner("rooms") + "HDWTest.lsd", RaumText(TestRaum("HDW", "QUIZ_GEWONNEN")));
  SchreibeDatei(z.Ordner("rooms") + "EselTest.lsd", RaumText(TestRaum("ESEL", "ESEL_GELOEST")));
}

Teil teil("Denkspiele", Erzeuge);

}  // namespace
