// The sample adventure: the village square (start room), the house, the forest, the load room,
// two items with their click and combination scripts, and the cursor icons (most with
// animation frames). The square's bell tower, the well and the forest's branch belong to the
// sample story too (story_content.cpp).
#include <cmath>
#include <string>

#include "tools/contentgen/contentgen.h"

using namespace cg;
using rt::RGB;

namespace {

constexpr rt::Color kLeer = RGB(255, 0, 255);  // icon background, made transparent

Befehl Text(const std::string& t) { return {2, t}; }
Befehl Setze(const std::string& f) { return {3, f}; }
Befehl Raum(const std::string& f) { return {4, f}; }
Befehl Nimm(const std::string& f) { return {6, f}; }
Befehl Gib(const std::string& f) { return {7, f}; }
Befehl WennMerker(const std::string& f) { return {0, f}; }
Befehl WennGegenstand(const std::string& g) { return {8, g}; }
const Befehl kSonst{9, ""};
const Befehl kEnde{10, ""};
const Befehl kFehlerton{16, ""};

HotspotDef Hotspot(const std::string& name, const std::string& cursor, Maske m, Skr links,
                   Skr rechts, Skr gegenstand = {}) {
  HotspotDef h;
  h.name = name;
  h.cursor = cursor;
  h.maske = m;
  h.skripte = {rechts, links, gegenstand};
  h.aktiv = {!rechts.empty(), !links.empty(), !gegenstand.empty()};
  return h;
}

// ---- Pictures ------------------------------------------------------------------------------

Bild Dorfplatz() {
  Bild b(640, 480);
  b.Verlauf(0, 270, RGB(70, 110, 180), RGB(240, 190, 140));
  b.Ellipse(520, 110, 38, 38, RGB(255, 228, 160));
  b.Polygon({{0, 250}, {120, 205}, {260, 235}, {420, 195}, {640, 240}, {640, 280}, {0, 280}}, RGB(80, 110, 120));
  // The bell tower behind the well, its bell in the belfry.
  b.Rechteck(302, 100, 342, 262, RGB(150, 140, 128));
  b.Rauschen(302, 100, 342, 262, 10, 6);
  b.Polygon({{294, 104}, {350, 104}, {322, 48}}, RGB(70, 78, 92));
  b.Linie(322, 48, 322, 34, 2, RGB(60, 60, 60));
  b.Linie(316, 40, 328, 40, 2, RGB(60, 60, 60));
  b.Rechteck(312, 114, 332, 146, RGB(36, 30, 30));
  b.Ellipse(322, 118, 10, 4, RGB(36, 30, 30));
  b.Polygon({{315, 140}, {329, 140}, {326, 126}, {318, 126}}, RGB(190, 150, 60));
  b.Rechteck(0, 262, 639, 479, RGB(88, 138, 62));
  b.Rauschen(0, 262, 639, 479, 14, 1);
  b.Ellipse(330, 405, 270, 85, RGB(152, 142, 122));
  b.Rauschen(60, 320, 600, 479, 18, 2);
  // The path to the forest.
  b.Polygon({{540, 480}, {640, 480}, {640, 296}, {616, 296}}, RGB(160, 146, 118));
  b.Rauschen(540, 296, 639, 479, 12, 3, RGB(160, 146, 118));
  // The house with its door.
  b.Rechteck(30, 150, 230, 332, RGB(204, 172, 122));
  b.Rauschen(30, 150, 230, 332, 10, 4);
  b.Polygon({{10, 152}, {250, 152}, {130, 58}}, RGB(142, 52, 40));
  b.Rechteck(50, 190, 90, 230, RGB(245, 222, 120));
  b.Linie(70, 190, 70, 230, 3, RGB(90, 60, 30));
  b.Linie(50, 210, 90, 210, 3, RGB(90, 60, 30));
  b.Rechteck(170, 190, 210, 230, RGB(245, 222, 120));
  b.Rechteck(105, 250, 155, 332, RGB(102, 62, 30));
  b.Linie(130, 252, 130, 330, 2, RGB(70, 40, 20));
  b.Ellipse(146, 292, 4, 4, RGB(220, 190, 60));
  // The well.
  b.Ellipse(330, 362, 64, 20, RGB(110, 110, 116));
  b.Rechteck(268, 312, 392, 362, RGB(132, 132, 138));
  b.Rauschen(268, 312, 392, 362, 16, 5);
  b.Ellipse(330, 312, 62, 18, RGB(28, 30, 42));
  b.Rechteck(274, 232, 284, 312, RGB(110, 72, 40));
  b.Rechteck(376, 232, 386, 312, RGB(110, 72, 40));
  b.Polygon({{252, 236}, {408, 236}, {330, 192}}, RGB(122, 62, 42));
  b.Linie(284, 262, 376, 262, 3, RGB(80, 50, 30));
  // The apple tree.
  b.Rechteck(482, 230, 510, 362, RGB(92, 62, 32));
  for (auto [cx, cy, rx, ry, farbe] : {std::array<int, 5>{496, 196, 82, 70, RGB(48, 108, 40)},
                                       {460, 220, 40, 34, RGB(56, 122, 46)},
                                       {535, 215, 44, 36, RGB(44, 100, 38)}}) {
    b.Ellipse(float(cx), float(cy), float(rx), float(ry), farbe);
    b.Rauschen(cx - rx, cy - ry, cx + rx, cy + ry, 20, uint32_t(cx), farbe);
  }
  for (auto [x, y] : {std::array<int, 2>{460, 190}, {500, 230}, {540, 180}, {480, 150}, {525, 240}})
    b.Ellipse(float(x), float(y), 6, 6, RGB(210, 30, 30));
  // The signpost between the well and the tree.
  b.Rechteck(441, 300, 449, 385, RGB(96, 64, 34));
  b.Rechteck(415, 285, 475, 318, RGB(70, 44, 22));
  b.Rechteck(417, 287, 473, 316, RGB(196, 160, 104));
  for (int y = 293; y <= 309; y += 8) b.Linie(423, float(y), 467, float(y), 2, RGB(80, 54, 30));
  return b;
}

Bild Haus() {  // 320 by 240: the scene shows it doubled
  Bild b(320, 240);
  b.Verlauf(0, 160, RGB(150, 110, 70), RGB(120, 86, 56));
  b.Rauschen(0, 0, 319, 160, 8, 11);
  b.Rechteck(0, 161, 319, 239, RGB(96, 64, 40));
  for (int x = 0; x < 320; x += 40) b.Linie(float(x), 161, float(x - 30), 239, 1, RGB(70, 46, 28));
  b.Rechteck(120, 30, 200, 90, RGB(180, 210, 240));
  b.Linie(160, 30, 160, 90, 3, RGB(80, 50, 30));
  b.Linie(120, 60, 200, 60, 3, RGB(80, 50, 30));
  // The chest.
  b.Rechteck(210, 150, 290, 200, RGB(130, 80, 36));
  b.Rechteck(210, 140, 290, 152, RGB(110, 66, 30));
  b.Rechteck(246, 160, 254, 172, RGB(220, 190, 60));
  // The door back outside.
  b.Rechteck(20, 60, 80, 180, RGB(90, 56, 28));
  b.Ellipse(70, 124, 3, 3, RGB(220, 190, 60));
  return b;
}

Bild Wald(bool mitAst) {  // 800 by 600: the scene shows it squeezed
  Bild b(800, 600);
  b.Verlauf(0, 600, RGB(30, 60, 40), RGB(20, 36, 20));
  uint32_t z = 21;
  for (int i = 0; i < 14; ++i) {
    int x = int(Zufall(z) % 800), breite = 18 + int(Zufall(z) % 30);
    b.Rechteck(x, 0, x + breite, 470 + int(Zufall(z) % 60), RGB(52, 38, 26));
  }
  b.Rechteck(0, 470, 799, 599, RGB(40, 70, 30));
  b.Rauschen(0, 0, 799, 599, 10, 22);
  // The hut.
  b.Rechteck(470, 300, 680, 470, RGB(110, 80, 50));
  b.Polygon({{450, 302}, {700, 302}, {575, 210}}, RGB(70, 50, 40));
  b.Rechteck(555, 380, 600, 470, RGB(50, 30, 18));
  // The mushroom.
  b.Rechteck(262, 500, 282, 540, RGB(230, 220, 200));
  b.Ellipse(272, 500, 40, 22, RGB(200, 30, 30));
  for (auto [x, y] : {std::array<int, 2>{258, 494}, {282, 488}, {292, 504}}) b.Ellipse(float(x), float(y), 4, 4, 0xFFFFFF);
  // A straight branch on the ground, until the player takes it.
  if (mitAst) {
    b.Linie(410, 556, 560, 546, 7, RGB(120, 82, 44));
    b.Linie(470, 552, 492, 530, 3, RGB(120, 82, 44));
    b.Linie(520, 549, 540, 534, 3, RGB(120, 82, 44));
    b.Ellipse(494, 528, 6, 3, RGB(70, 130, 50));
  }
  return b;
}

Bild Laden() {
  Bild b(640, 480);
  b.Verlauf(0, 479, RGB(20, 20, 40), RGB(0, 0, 0));
  b.Rechteck(220, 160, 420, 320, RGB(210, 190, 150));
  b.Rauschen(220, 160, 420, 320, 12, 31);
  for (int y = 190; y < 300; y += 20) b.Linie(245, float(y), 395, float(y), 2, RGB(120, 100, 80));
  return b;
}

Bild Schluessel() {
  Bild b(48, 48, RGB(30, 30, 30));
  b.Ellipse(14, 24, 10, 10, RGB(212, 180, 60));
  b.Ellipse(14, 24, 4, 4, RGB(30, 30, 30));
  b.Rechteck(22, 22, 42, 26, RGB(212, 180, 60));
  b.Rechteck(34, 26, 36, 32, RGB(212, 180, 60));
  b.Rechteck(39, 26, 41, 34, RGB(212, 180, 60));
  return b;
}

Bild Apfel() {
  Bild b(48, 48, RGB(30, 30, 30));
  b.Ellipse(24, 27, 16, 15, RGB(200, 28, 28));
  b.Ellipse(18, 22, 4, 4, RGB(240, 120, 120));
  b.Linie(24, 13, 27, 6, 3, RGB(90, 60, 30));
  b.Ellipse(31, 10, 5, 3, RGB(60, 140, 50));
  return b;
}

// ---- Cursor icons (32 by 32) -----------------------------------------------------------------

Bild Icon() { return Bild(32, 32, kLeer); }

Bild Taste(bool gedrueckt) {
  Bild b = Icon();
  int d = gedrueckt ? 3 : 0;
  b.Rechteck(4, 8, 27, 29, RGB(60, 60, 60));
  b.Rechteck(5, 6 + d, 26, 26 + d, RGB(235, 235, 225));
  b.Rechteck(8, 9 + d, 23, 22 + d, RGB(205, 205, 195));
  b.Ellipse(16, 16 + float(d), 3, 3, RGB(40, 40, 40));
  return b;
}

Bild Hand(bool zu) {
  Bild b = Icon();
  rt::Color haut = RGB(240, 200, 160), rand = RGB(80, 50, 30);
  b.Ellipse(16, 21, 10, 9, rand);
  b.Ellipse(16, 21, 9, 8, haut);
  for (int i = 0; i < 4; ++i) {
    float x = 9 + i * 4.5f, oben = zu ? 12 : float(3 + (i == 1 || i == 2 ? 0 : 3));
    b.Linie(x, oben, x, 18, 4, rand);
    b.Linie(x, oben + 1, x, 18, 2.5f, haut);
  }
  return b;
}

Bild Auge(int stufe) {  // 0 open, 1 half, 2 shut
  Bild b = Icon();
  float ry = stufe == 0 ? 9 : stufe == 1 ? 5 : 1.5f;
  b.Ellipse(16, 16, 14, ry + 1, RGB(20, 20, 20));
  b.Ellipse(16, 16, 13, ry, 0xFFFFFF);
  if (stufe < 2) b.Ellipse(16, 16, 5, std::min(ry, 5.0f), RGB(40, 90, 160));
  return b;
}

Bild Pfeil(int schritt) {
  Bild b = Icon();
  float dx = float(schritt * 3);
  b.Polygon({{2 + dx, 12}, {16 + dx, 12}, {16 + dx, 5}, {28 + dx, 16}, {16 + dx, 27}, {16 + dx, 20}, {2 + dx, 20}}, RGB(20, 20, 20));
  b.Polygon({{4 + dx, 14}, {18 + dx, 14}, {18 + dx, 9}, {25 + dx, 16}, {18 + dx, 23}, {18 + dx, 18}, {4 + dx, 18}}, RGB(250, 220, 70));
  return b;
}

Bild Lupe() {
  Bild b = Icon();
  b.Linie(19, 19, 29, 29, 5, RGB(60, 40, 20));
  b.Ellipse(13, 13, 11, 11, RGB(30, 30, 30));
  b.Ellipse(13, 13, 8, 8, RGB(190, 225, 250));
  b.Ellipse(10, 10, 3, 2, 0xFFFFFF);
  return b;
}

Bild Werfen() {
  Bild b = Pfeil(0);
  for (auto [x, y] : {std::array<int, 2>{26, 5}, {28, 26}, {8, 27}}) {
    b.Linie(float(x - 3), float(y), float(x + 3), float(y), 1.5f, RGB(255, 255, 255));
    b.Linie(float(x), float(y - 3), float(x), float(y + 3), 1.5f, RGB(255, 255, 255));
  }
  return b;
}

void Icon(const Ziel& z, const std::string& name, Bild b) {
  b.Durchsichtig(kLeer);
  SpeichereIco(b, z.Ordner("cursors") + name);
}

// ---- Rooms ------------------------------------------------------------------------------------

RaumDef StartRaum() {
  RaumDef r;
  r.bild = "dorfplatz.jpg";
  r.start = {WennMerker("DORF_BESUCHT"), kSonst,
             Text("$EWillkommen in Norvalde!#Klicke mit der linken Maustaste auf die Dinge um dich herum,#"
                  "mit der rechten schaust du sie an. Die Leertaste zeigt deine Gegenstände."),
             Setze("DORF_BESUCHT"), kEnde, {31, "60"}};
  r.countdown = {Text("Ein kühler Wind weht über den Dorfplatz.")};
  r.hotspots.push_back(Hotspot(
      "Tür", "hand1.ico", MaskeRechteck(105, 250, 155, 332),
      {WennMerker("TÜR_OFFEN"), Raum("Haus.lsd"), kSonst, Text("Die Tür ist verschlossen."), kEnde},
      {Text("Eine schwere Tür aus Eichenholz.")},
      {WennGegenstand("SCHLUESSEL"), Text("Der Schlüssel passt! Die Tür springt auf."), Setze("TÜR_OFFEN"),
       Gib("schluessel.bmp"), kSonst, kFehlerton, kEnde}));
  r.hotspots.push_back(Hotspot(
      "Brunnen", "auge1.ico",
      MaskeAus([](int x, int y) { return x >= 256 && x <= 404 && y >= 194 && y <= 380; }),
      {WennMerker("SCHLÜSSEL_GEFUNDEN"), Text("Der Brunnen ist leer."), kSonst,
       Text("Am Rand des Brunnens liegt ein alter Schlüssel.#Du steckst ihn ein."), Nimm("schluessel.bmp"),
       Setze("SCHLÜSSEL_GEFUNDEN"), kEnde},
      {Text("Ein alter Brunnen aus grauem Stein.")},
      {WennGegenstand("ANGEL"), Text("Du lässt die Angel in den tiefen Brunnen hinab ...#Da! Etwas Schweres hängt am Haken."),
       Gib("angel.bmp"), Nimm("kloeppel.bmp"), Setze("KLÖPPEL_GEFUNDEN"),
       Text("$EDer Klöppel der Glocke!#Die Schnur ist dabei gerissen."), kSonst, kFehlerton, kEnde}));
  r.hotspots.push_back(Hotspot(
      "Baum", "hand1.ico",
      MaskeAus([](int x, int y) {
        float dx = (x - 496) / 86.0f, dy = (y - 200) / 74.0f;
        return dx * dx + dy * dy <= 1 || (x >= 482 && x <= 510 && y >= 230 && y <= 362);
      }),
      {WennMerker("APFEL_GEPFLÜCKT"), Text("Die Äpfel hängen jetzt zu hoch."), kSonst,
       Text("Du pflückst einen roten Apfel."), Nimm("apfel.bmp"), Setze("APFEL_GEPFLÜCKT"), kEnde},
      {Text("Ein knorriger alter Apfelbaum.")}));
  // The tower of the sample story (its own content part).
  r.hotspots.push_back(Hotspot("Turm", "tuer1.ico", MaskeRechteck(294, 50, 350, 190), {Raum("Turm.lsd")},
                               {Text("Der Glockenturm von Norvalde.#Seit drei Tagen schweigt seine Glocke.")}));
  r.hotspots.push_back(Hotspot("Weg", "pfeil1.ico", MaskeRechteck(590, 300, 639, 479),
                               {Raum("Wald.lsd")}, {Text("Der Weg führt in den Wald.")}));
  // Its cursor has no animation frames; its text two coloured lines.
  r.hotspots.push_back(Hotspot("Wegweiser", "lupe.ico", MaskeRechteck(415, 285, 475, 385),
                               {Text("$EDorfplatz von Norvalde#$BLinks das Haus, rechts der Weg in den Wald")},
                               {Text("Ein hölzerner Wegweiser.")}));
  return r;
}

RaumDef HausRaum() {
  RaumDef r;
  r.bild = "haus.bmp";
  r.start = {Text("Drinnen riecht es nach altem Holz.")};
  r.hotspots.push_back(Hotspot("Ausgang", "tuer1.ico", MaskeRechteck(40, 120, 160, 360),
                               {Raum("Start.lsd")}, {Text("Hier geht es zurück auf den Dorfplatz.")}));
  r.hotspots.push_back(Hotspot(
      "Truhe", "hand1.ico", MaskeRechteck(420, 280, 580, 400),
      {WennMerker("TRUHE_LEER"), Text("Die Truhe ist leer."), kSonst,
       Text("In der Truhe liegt nur Staub.#Ganz unten findest du eine Notiz:#$C»Der Wald hütet ein Geheimnis.«"),
       Setze("TRUHE_LEER"), kEnde},
      {Text("Eine Truhe mit Messingschloss.")}));
  // The window only looks; it answers nothing.
  HotspotDef fenster;
  fenster.name = "Fenster";
  fenster.an = false;
  fenster.maske = MaskeRechteck(240, 60, 400, 180);
  r.hotspots.push_back(fenster);
  return r;
}

RaumDef WaldRaum() {
  RaumDef r;
  r.bild = "wald.jpg";
  r.start = {WennMerker("WALD_BESUCHT"), {28, "weiter"}, kEnde, Text("Der Wald ist dunkel und still."),
             Setze("WALD_BESUCHT"), {29, "WEITER"},
             WennMerker("AST_GENOMMEN"), {5, "wald2.jpg"}, {18, "AST"}, kEnde, {31, "20"}};
  r.countdown = {Text("Ein Rabe krächzt hoch oben in den Bäumen.")};
  r.hotspots.push_back(Hotspot("Zurück", "pfeil1.ico", MaskeRechteck(0, 0, 59, 479), {Raum("Start.lsd")},
                               {Text("Zurück ins Dorf.")}));
  r.hotspots.push_back(Hotspot("Pilz", "auge1.ico", MaskeRechteck(176, 376, 256, 436),
                               {Text("Den Pilz lässt du lieber stehen.")},
                               {Text("Ein roter Pilz mit weißen Punkten.")},
                               {WennGegenstand("APFEL"), Text("Der Pilz hat keinen Hunger."), kSonst, kFehlerton, kEnde}));
  r.hotspots.push_back(Hotspot("Hütte", "tuer1.ico", MaskeRechteck(360, 170, 560, 376),
                               {Text("Die Hütte ist verlassen.")}, {Text("Eine kleine Hütte im Wald.")}));
  r.hotspots.push_back(Hotspot("Ast", "hand1.ico", MaskeRechteck(310, 420, 460, 460),
                               {Text("Ein kräftiger, gerader Ast. Du nimmst ihn mit."), Nimm("stock.bmp"),
                                Setze("AST_GENOMMEN"), {5, "wald2.jpg"}, {18, "AST"}},
                               {Text("Ein Ast, gerade und fest.")}));
  return r;
}

RaumDef LadeRaum() {
  RaumDef r;
  r.bild = "laden.jpg";
  r.start = {{30, "Open"}, Raum("Start.lsd")};
  return r;
}

void Erzeuge(const Ziel& z) {
  SpeichereJpg(Dorfplatz(), z.Ordner("graphics") + "dorfplatz.jpg");
  SpeichereBmp(Haus(), z.Ordner("graphics") + "haus.bmp");
  SpeichereJpg(Wald(true), z.Ordner("graphics") + "wald.jpg");
  SpeichereJpg(Wald(false), z.Ordner("graphics") + "wald2.jpg");
  SpeichereJpg(Laden(), z.Ordner("graphics") + "laden.jpg");

  SchreibeDatei(z.Ordner("rooms") + "Start.lsd", RaumText(StartRaum()));
  SchreibeDatei(z.Ordner("rooms") + "Haus.lsd", RaumText(HausRaum()));
  SchreibeDatei(z.Ordner("rooms") + "Wald.lsd", RaumText(WaldRaum()));
  SchreibeDatei(z.Ordner("rooms") + "Laden.lsd", RaumText(LadeRaum()));

  SpeichereBmp(Schluessel(), z.Ordner("items") + "schluessel.bmp");
  SpeichereBmp(Apfel(), z.Ordner("items") + "apfel.bmp");
  SchreibeDatei(z.Ordner("items") + "schluessel0.skp", SkriptText({Text("Ein alter, rostiger Schlüssel.")}));
  SchreibeDatei(z.Ordner("items") + "schluessel1.skp", SkriptText({Text("Der Schlüssel ist schwer und kalt.")}));
  SchreibeDatei(z.Ordner("items") + "apfel0.skp", SkriptText({Text("Ein roter Apfel.")}));
  SchreibeDatei(z.Ordner("items") + "apfel1.skp", SkriptText({Text("Du isst den Apfel. Lecker!"), Gib("apfel.bmp")}));
  SchreibeDatei(z.Ordner("items") + "apfel2.skp",
                SkriptText({WennGegenstand("SCHLUESSEL"), Text("Du ritzt ein Herz in den Apfel."), kSonst,
                            kFehlerton, kEnde}));

  Icon(z, "taste1.ico", Taste(false));
  Icon(z, "taste2.ico", Taste(true));
  Icon(z, "ge2.ico", Hand(true));
  Icon(z, "werfen.ico", Werfen());
  Icon(z, "hand1.ico", Hand(false));
  Icon(z, "hand2.ico", Hand(true));
  Icon(z, "auge1.ico", Auge(0));
  Icon(z, "auge2.ico", Auge(1));
  Icon(z, "auge3.ico", Auge(2));
  Icon(z, "auge4.ico", Auge(1));
  for (int k = 1; k <= 4; ++k) Icon(z, "pfeil" + std::to_string(k) + ".ico", Pfeil(k - 1));
  Icon(z, "lupe.ico", Lupe());
  Icon(z, "tuer1.ico", Pfeil(0));
  Icon(z, "tuer2.ico", Pfeil(1));
}

Teil teil("Szene", Erzeuge);

}  // namespace
