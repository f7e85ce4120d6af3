// The sample story "Die stumme Glocke": the bell of Norvalde has lost its clapper. The bell tower
// (reached from the village square) with the old bell-ringer Bruno, his dialogue with portraits
// and speech, the string he gives, the branch from the forest, the fishing rod made of both,
// the clapper fished from the well, and the ending with the bell ringing.
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;
using rt::RGB;

namespace {

constexpr rt::Color kZelle = RGB(30, 30, 30);  // item picture background

Befehl Text(const std::string& t) { return {2, t}; }
Befehl Sprich(const std::string& datei) { return {1, datei}; }
Befehl Setze(const std::string& f) { return {3, f}; }
Befehl Wenn(const std::string& f) { return {0, f}; }
Befehl WennGegenstand(const std::string& g) { return {8, g}; }
Befehl Bruno() { return {23, "2,bruno.jpg"}; }
Befehl Held() { return {23, "1,held.jpg"}; }
const Befehl kSonst{9, ""};
const Befehl kEnde{10, ""};

HotspotDef Stelle(const std::string& name, const std::string& cursor, Maske m, Skr links, Skr rechts,
                  Skr gegenstand = {}) {
  HotspotDef h;
  h.name = name;
  h.cursor = cursor;
  h.maske = m;
  h.skripte = {std::move(rechts), std::move(links), std::move(gegenstand)};
  for (int k = 0; k < 3; ++k) h.aktiv[size_t(k)] = !h.skripte[size_t(k)].empty();
  return h;
}

// ---- Pictures --------------------------------------------------------------------------------

void Glocke(Bild& b, float cx, float oben, float hoehe, rt::Color bronze) {
  const float breite = hoehe * 0.95f;
  b.Polygon({{cx - breite * 0.28f, oben + hoehe * 0.12f}, {cx + breite * 0.28f, oben + hoehe * 0.12f},
             {cx + breite * 0.36f, oben + hoehe * 0.7f}, {cx + breite * 0.5f, oben + hoehe},
             {cx - breite * 0.5f, oben + hoehe}, {cx - breite * 0.36f, oben + hoehe * 0.7f}},
            bronze);
  b.Ellipse(cx, oben + hoehe * 0.13f, breite * 0.28f, hoehe * 0.13f, bronze);
  b.Ellipse(cx, oben + hoehe, breite * 0.5f, hoehe * 0.05f, Mische(bronze, 0, 0.5f));
  b.Linie(cx - breite * 0.2f, oben + hoehe * 0.2f, cx - breite * 0.3f, oben + hoehe * 0.8f, hoehe * 0.03f,
          Mische(bronze, 0xFFFFFF, 0.35f));
}

Bild Turm() {
  Bild b(640, 480);
  // Stone walls of rough blocks.
  b.Rechteck(0, 0, 639, 400, RGB(118, 108, 96));
  for (int y = 0; y < 400; y += 28) {
    b.Linie(0, float(y), 639, float(y), 2, RGB(84, 76, 68));
    for (int x = (y / 28) % 2 ? 0 : 40; x < 640; x += 80) b.Linie(float(x), float(y), float(x), float(y + 28), 2, RGB(84, 76, 68));
  }
  b.Rauschen(0, 0, 639, 400, 14, 41);
  // The opening to the belfry, the bell without its clapper, and the rope.
  b.Rechteck(250, 0, 390, 110, RGB(26, 22, 22));
  b.Rechteck(244, 104, 396, 114, RGB(90, 60, 34));
  b.Rechteck(260, 8, 380, 16, RGB(90, 60, 34));
  Glocke(b, 320, 14, 84, RGB(176, 132, 58));
  b.Ellipse(320, 96, 18, 4, RGB(20, 16, 14));
  b.Linie(322, 96, 322, 372, 4, RGB(160, 120, 70));
  b.Ellipse(322, 378, 7, 9, RGB(150, 110, 62));
  // A slit of a window.
  b.Rechteck(196, 120, 220, 210, RGB(200, 220, 240));
  b.Ellipse(208, 122, 12, 8, RGB(200, 220, 240));
  // The floor.
  b.Rechteck(0, 401, 639, 479, RGB(104, 72, 44));
  for (int y = 412; y < 480; y += 16) b.Linie(0, float(y), 639, float(y), 1, RGB(78, 52, 30));
  b.Rauschen(0, 401, 639, 479, 10, 42);
  // Bruno on his bench.
  b.Rechteck(40, 330, 220, 346, RGB(96, 62, 32));
  b.Rechteck(50, 346, 62, 410, RGB(80, 50, 26));
  b.Rechteck(198, 346, 210, 410, RGB(80, 50, 26));
  b.Polygon({{90, 240}, {170, 240}, {186, 340}, {74, 340}}, RGB(44, 60, 110));
  b.Rechteck(84, 336, 116, 404, RGB(50, 44, 40));
  b.Rechteck(144, 336, 176, 404, RGB(50, 44, 40));
  b.Ellipse(100, 406, 18, 7, RGB(30, 24, 20));
  b.Ellipse(160, 406, 18, 7, RGB(30, 24, 20));
  b.Ellipse(130, 206, 28, 32, RGB(232, 190, 160));
  b.Polygon({{104, 214}, {156, 214}, {146, 262}, {130, 272}, {114, 262}}, RGB(236, 236, 232));
  b.Polygon({{100, 194}, {160, 194}, {152, 172}, {108, 172}}, RGB(40, 50, 90));
  b.Ellipse(119, 204, 3, 3, RGB(40, 40, 60));
  b.Ellipse(141, 204, 3, 3, RGB(40, 40, 60));
  // The table with Bruno's diary.
  b.Rechteck(420, 320, 540, 332, RGB(120, 80, 40));
  b.Rechteck(428, 332, 438, 400, RGB(100, 66, 34));
  b.Rechteck(522, 332, 532, 400, RGB(100, 66, 34));
  b.Rechteck(452, 304, 508, 320, RGB(150, 30, 34));
  b.Rechteck(456, 304, 506, 308, RGB(230, 220, 196));
  // The door outside.
  b.Rechteck(566, 200, 630, 400, RGB(92, 58, 30));
  b.Ellipse(598, 202, 32, 26, RGB(92, 58, 30));
  for (int x = 582; x < 630; x += 16) b.Linie(float(x), 190, float(x), 400, 1, RGB(64, 40, 20));
  b.Ellipse(618, 310, 4, 4, RGB(220, 190, 60));
  return b;
}

// The bell seen from close by, its inscription and the empty hook of the clapper.
Bild GlockeNah() {
  Bild b(640, 480);
  b.Verlauf(0, 479, RGB(40, 34, 30), RGB(14, 12, 10));
  b.Rechteck(0, 30, 639, 70, RGB(96, 64, 36));
  b.Rauschen(0, 30, 639, 70, 10, 51);
  Glocke(b, 320, 50, 400, RGB(182, 138, 62));
  b.Rauschen(120, 60, 520, 450, 10, 52, RGB(182, 138, 62));
  for (int i = 0; i < 14; ++i) b.Rechteck(226 + i * 14, 200, 234 + i * 14, 218, RGB(120, 86, 36));
  b.Ellipse(320, 450, 110, 18, RGB(16, 12, 10));
  b.Ellipse(320, 446, 8, 8, RGB(70, 60, 50));
  return b;
}

Bild Portraet(bool alt) {
  Bild b(90, 120, alt ? RGB(70, 80, 110) : RGB(110, 140, 90));
  b.Polygon({{8, 119}, {82, 119}, {74, 92}, {16, 92}}, alt ? RGB(44, 60, 110) : RGB(60, 120, 60));
  b.Ellipse(45, 58, 27, 33, RGB(232, 190, 160));
  b.Ellipse(34, 54, 4, 4, RGB(255, 255, 255));
  b.Ellipse(56, 54, 4, 4, RGB(255, 255, 255));
  b.Ellipse(34, 55, 2, 2, RGB(40, 50, 80));
  b.Ellipse(56, 55, 2, 2, RGB(40, 50, 80));
  if (alt) {
    b.Polygon({{20, 66}, {70, 66}, {62, 104}, {45, 114}, {28, 104}}, RGB(236, 236, 232));
    b.Ellipse(45, 72, 8, 3, RGB(200, 120, 110));
    b.Polygon({{16, 40}, {74, 40}, {66, 18}, {24, 18}}, RGB(40, 50, 90));
    b.Linie(28, 46, 40, 48, 2, RGB(236, 236, 232));
    b.Linie(50, 48, 62, 46, 2, RGB(236, 236, 232));
  } else {
    b.Ellipse(45, 30, 29, 16, RGB(110, 70, 36));
    b.Rechteck(17, 30, 24, 60, RGB(110, 70, 36));
    b.Rechteck(66, 30, 73, 60, RGB(110, 70, 36));
    b.Ellipse(45, 76, 9, 4, RGB(180, 90, 80));
  }
  return b;
}

Bild Stock() {
  Bild b(48, 48, kZelle);
  b.Linie(6, 42, 42, 6, 5, RGB(130, 90, 48));
  b.Linie(24, 24, 32, 30, 2, RGB(130, 90, 48));
  return b;
}

Bild Schnur() {
  Bild b(48, 48, kZelle);
  for (int i = 0; i < 4; ++i) b.Ellipse(24, 24, 16.0f - i * 3, 12.0f - i * 2, i % 2 ? kZelle : RGB(220, 200, 150));
  b.Ellipse(24, 24, 3, 2, RGB(220, 200, 150));
  b.Linie(38, 26, 46, 40, 2, RGB(220, 200, 150));
  return b;
}

Bild Angel() {
  Bild b = Stock();
  b.Linie(42, 6, 44, 40, 1, RGB(230, 220, 180));
  b.Linie(44, 40, 40, 44, 1.5f, RGB(200, 200, 210));
  b.Linie(40, 44, 38, 40, 1.5f, RGB(200, 200, 210));
  return b;
}

Bild Kloeppel() {
  Bild b(48, 48, kZelle);
  b.Rechteck(22, 4, 26, 34, RGB(90, 90, 96));
  b.Ellipse(24, 36, 8, 9, RGB(110, 110, 118));
  b.Ellipse(24, 6, 6, 4, RGB(90, 90, 96));
  b.Ellipse(21, 33, 2, 3, RGB(180, 180, 190));
  return b;
}

// ---- Sounds ----------------------------------------------------------------------------------

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979;

// Bruno's voice: syllables of a buzzing source through two vowel resonances, the pitch falling
// over the phrase - it sounds like speech without words.
std::vector<int16_t> Stimme(uint32_t saat, int silben, double grundton) {
  static const std::array<std::array<double, 2>, 5> vokale = {{{730, 1090}, {530, 1840}, {300, 2200}, {570, 840}, {320, 870}}};
  std::vector<int16_t> s;
  uint32_t z = saat;
  double phase = 0;
  for (int n = 0; n < silben; ++n) {
    const auto& v = vokale[Zufall(z) % vokale.size()];
    const int konsonant = kRate * (20 + int(Zufall(z) % 30)) / 1000;
    for (int i = 0; i < konsonant; ++i) s.push_back(int16_t((int(Zufall(z) % 2001) - 1000) * 2));
    const int laenge = kRate * (110 + int(Zufall(z) % 110)) / 1000;
    double y1[2] = {}, y2[2] = {};
    for (int i = 0; i < laenge; ++i) {
      const double t = double(i) / laenge;
      const double f0 = grundton * (1.15 - 0.3 * (n + t) / silben) * (1 + 0.04 * std::sin(2 * kPi * 5 * i / kRate));
      phase += f0 / kRate;
      const double quelle = (phase - std::floor(phase)) * 2 - 1;
      double aus = 0;
      for (int k = 0; k < 2; ++k) {
        const double r = std::exp(-kPi * 110 / kRate);
        const double b1 = 2 * r * std::cos(2 * kPi * v[size_t(k)] / kRate), b2 = -r * r;
        const double y = (1 - r) * quelle + b1 * y1[k] + b2 * y2[k];
        y2[k] = y1[k];
        y1[k] = y;
        aus += y * (k == 0 ? 1.0 : 0.6);
      }
      const double huelle = std::sin(kPi * t);
      s.push_back(int16_t(std::clamp(aus * huelle * 5200, -30000.0, 30000.0)));
    }
    s.insert(s.end(), size_t(kRate * (n % 3 == 2 ? 140 : 40) / 1000), 0);
  }
  return s;
}

// Three strokes of a bronze bell: inharmonic partials that die away, the hum longest.
std::vector<int16_t> Glockenschlaege() {
  const double teile[][3] = {{0.5, 0.5, 3.0}, {1.0, 0.7, 2.0}, {1.19, 0.4, 1.4}, {1.5, 0.3, 1.0},
                             {2.0, 0.35, 0.8}, {2.52, 0.2, 0.5}, {3.0, 0.15, 0.4}};
  const double grund = 196;
  const int schlag = kRate * 3 / 2, laenge = schlag * 3 + kRate * 2;
  std::vector<double> summe(size_t(laenge), 0);
  for (int n = 0; n < 3; ++n)
    for (int i = 0; i + n * schlag < laenge; ++i) {
      const double t = double(i) / kRate;
      double v = 0;
      for (const auto& p : teile) v += p[1] * std::exp(-t / p[2]) * std::sin(2 * kPi * grund * p[0] * t);
      summe[size_t(i + n * schlag)] += v * std::min(1.0, t * 400);
    }
  std::vector<int16_t> s;
  for (double v : summe) s.push_back(int16_t(std::clamp(v * 9000, -30000.0, 30000.0)));
  return s;
}

void Mp3(const Ziel& z, const std::string& name, const std::vector<int16_t>& s) {
  const std::string pfad = z.Ordner("sounds") + name;
  if (!rt::WriteMp3File(pfad, s, kRate, 1)) throw std::runtime_error("cannot write " + pfad);
}

// ---- Scripts ---------------------------------------------------------------------------------

// Bruno answers in a loop until the player says goodbye; his portrait shows while he speaks,
// the player's while the player chooses.
Skr Gespraech() {
  return {
      {20, ""},
      Bruno(),
      Wenn("BÖSE"), Sprich("bruno_boese.mp3"), Text("Bruno: »Du schon wieder? Was willst du?«"), kSonst,
      // Only the .mp3 exists: the speech command falls back to it.
      Sprich("bruno_hallo.wav"), Text("Bruno: »Ach, ein Besucher! Sei gegrüßt.«"), kEnde,
      {29, "FRAGEN"},
      Held(),
      {24, "4|Was möchtest du Bruno fragen?|Warum läutet die Glocke nicht?|Kann ich dir helfen?|"
           "Spielen wir eine Runde Memory?|Auf Wiedersehen."},
      {25, "1"},
        Bruno(), Sprich("bruno_kloeppel.mp3"),
        Text("Bruno: »Der Klöppel ist fort!#Ohne ihn bleibt die Glocke stumm.«"),
        Held(),
        {24, "2|Was sagst du dazu?|Wer könnte ihn genommen haben?|Selbst schuld, alter Mann."},
        {25, "1"},
          Bruno(), Text("Bruno: »Vor drei Tagen haben Kinder am Brunnen gespielt ...#Vielleicht ist er hineingefallen?«"),
          Setze("SPUR_BRUNNEN"),
        {25, "2"},
          {22, "1"}, Bruno(), Text("Bruno schaut dich traurig an und schweigt."),
        {26, ""},
        {28, "fragen"},
      {25, "2"},
        Bruno(),
        Wenn("AUFTRAG"), Text("Bruno: »Du hast meine Schnur schon. Bring mir den Klöppel!«"), kSonst,
        Sprich("bruno_hilfe.mp3"),
        Text("Bruno: »Nimm diese Schnur. Mit einem Stock daran#hast du eine Angel - für tiefe Brunnen ...«"),
        {6, "schnur.bmp"}, Setze("AUFTRAG"), kEnde,
        {28, "fragen"},
      {25, "3"},
        {27, "MEMORY,MEMORY_BRUNO,"},
        Bruno(), Wenn("MEMORY_BRUNO"), Text("Bruno: »Gewonnen! Du bist ein kluger Kopf.«"), {22, "-1"}, kSonst,
        Text("Bruno lacht: »Die Karten kenne ich seit vierzig Jahren!«"), kEnde,
        {28, "fragen"},
      {25, "4"},
        Bruno(), Text("Bruno: »Leb wohl.«"),
      {26, ""},
      {21, ""}};
}

RaumDef TurmRaum() {
  RaumDef r;
  r.bild = "turm.jpg";
  r.start = {{19, "Turm.mid"},
             Wenn("KLÖPPEL_EINGESETZT"), {17, "SEIL"}, {13, "Seil, hand1.ico"}, kSonst, {18, "SEIL"}, kEnde,
             Wenn("TURM_BESUCHT"), kSonst,
             Text("Im Glockenturm ist es kühl. Staub tanzt im Licht.#Auf der Bank sitzt Bruno, der alte Glöckner."),
             Setze("TURM_BESUCHT"), kEnde};
  r.hotspots.push_back(Stelle("Bruno", "auge1.ico", MaskeRechteck(70, 170, 200, 420), Gespraech(),
                              {Text("Bruno, der Glöckner.#Seit vierzig Jahren läutet er die Glocke.")}));
  r.hotspots.push_back(Stelle(
      "Glocke", "lupe.ico", MaskeRechteck(250, 0, 390, 114),
      {{14, "270,10,370,110"}, Text("Hoch oben hängt die Glocke.#Ihr Klöppel fehlt!"), {15, "270,10,370,110"}},
      {{5, "glocke.jpg"}, Text("Eine schwere Glocke aus Bronze.#$E»Ich rufe Norvalde«#steht auf ihrem Rand."),
       {5, "turm.jpg"}},
      {WennGegenstand("KLOEPPEL"), Text("Du kletterst hinauf und hängst den Klöppel wieder ein."),
       {7, "kloeppel.bmp"}, Setze("KLÖPPEL_EINGESETZT"), {17, "SEIL"}, {13, "Seil,hand1.ico"}, Bruno(),
       Text("Bruno: »Mein Klöppel! Nun zieh am Seil!«"), kSonst, {16, ""}, kEnde}));
  // Switched on once the clapper is back (the start script switches it).
  r.hotspots.push_back(Stelle(
      "Seil", "lupe.ico", MaskeRechteck(300, 120, 344, 390),
      {Text("Du ziehst mit aller Kraft am Seil ..."), Sprich("glocke.mp3"), {32, "3"},
       Text("$EBONG! BONG! BONG!#Die Glocke von Norvalde läutet wieder!"), {12, "AUFTRAG"},
       Wenn("BÖSE"), Text("Sogar Bruno lächelt - obwohl du frech zu ihm warst."), {22, "-1"}, kEnde,
       {32, "1"}, {11, "Sonnenaufgang.mpg"}, {32, "2"},
       Text("Am nächsten Morgen weckt die Glocke das ganze Dorf.#Norvalde feiert dich als Helden.#$BENDE"),
       {30, "Abspann"}, {30, "Ende"}},
      {Text("Das Glockenseil.")}));
  r.hotspots.push_back(Stelle("Tagebuch", "hand1.ico", MaskeRechteck(440, 290, 520, 330),
                              {Text("In Brunos Tagebuch schreibst du auf, was du erlebt hast."), {30, "Save"}},
                              {Text("Brunos Tagebuch. Die letzte Seite ist noch leer.")}));
  r.hotspots.push_back(Stelle("Tür", "pfeil1.ico", MaskeRechteck(560, 180, 639, 400), {{19, ""}, {4, "Start.lsd"}},
                              {Text("Die Tür führt hinaus auf den Dorfplatz.")}));
  return r;
}

void Gegenstand(const Ziel& z, const std::string& name, const Bild& bild, const std::string& ansehen,
                const std::string& klick) {
  SpeichereBmp(bild, z.Ordner("items") + name + ".bmp");
  SchreibeDatei(z.Ordner("items") + name + "0.skp", SkriptText({Text(ansehen)}));
  SchreibeDatei(z.Ordner("items") + name + "1.skp", SkriptText({Text(klick)}));
}

// String and branch make a fishing rod, whichever is dropped on the other.
Skr Angelbau(const std::string& anderes) {
  return {WennGegenstand(anderes), {7, "stock.bmp"}, {7, "schnur.bmp"}, {6, "angel.bmp"},
          Text("Du bindest die Schnur an den Ast:#eine Angel!"), kSonst, {16, ""}, kEnde};
}

void Erzeuge(const Ziel& z) {
  SpeichereJpg(Turm(), z.Ordner("graphics") + "turm.jpg");
  SpeichereJpg(GlockeNah(), z.Ordner("graphics") + "glocke.jpg");
  SpeichereJpg(Portraet(true), z.Ordner("graphics") + "bruno.jpg", 92);
  SpeichereJpg(Portraet(false), z.Ordner("graphics") + "held.jpg", 92);

  Gegenstand(z, "stock", Stock(), "Ein kräftiger Ast.", "Der Ast ist gerade und fest.");
  Gegenstand(z, "schnur", Schnur(), "Eine lange Schnur von Bruno.", "Die Schnur ist dünn, aber zäh.");
  Gegenstand(z, "angel", Angel(), "Eine selbst gebaute Angel.", "Damit könnte man in tiefem Wasser fischen.");
  Gegenstand(z, "kloeppel", Kloeppel(), "Der Klöppel der Glocke.", "Schwer und kalt. Er gehört in die Glocke.");
  SchreibeDatei(z.Ordner("items") + "stock2.skp", SkriptText(Angelbau("SCHNUR")));
  SchreibeDatei(z.Ordner("items") + "schnur2.skp", SkriptText(Angelbau("STOCK")));

  Mp3(z, "bruno_hallo.mp3", Stimme(3, 5, 120));
  Mp3(z, "bruno_boese.mp3", Stimme(5, 6, 105));
  Mp3(z, "bruno_kloeppel.mp3", Stimme(7, 9, 118));
  Mp3(z, "bruno_hilfe.mp3", Stimme(11, 12, 122));
  Mp3(z, "glocke.mp3", Glockenschlaege());

  // A slow tune on the organ for the tower.
  const std::vector<rt::MidiNote> turm = {{62, 2}, {65, 1}, {69, 1}, {67, 2}, {65, 2}, {64, 1}, {62, 1},
                                          {64, 1}, {65, 1}, {62, 4}, {0, 1},  {69, 2}, {70, 1}, {69, 1},
                                          {67, 2}, {65, 2}, {64, 1}, {65, 1}, {61, 2}, {62, 4}, {0, 2}};
  const std::string lied = z.Ordner("musics") + "Turm.mid";
  if (!rt::WriteMidiFile(lied, turm, 72, 19)) throw std::runtime_error("cannot write " + lied);

  SchreibeDatei(z.Ordner("rooms") + "Turm.lsd", RaumText(TurmRaum()));
}

Teil teil("Die stumme Glocke", Erzeuge);

}  // namespace
