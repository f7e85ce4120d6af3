// The fighting ring as a room: Torvik waits there for a challenger, and a potion stands on a
// barrel. "Kampfplatz.lsd" greets the player; "FightTest.lsd" is the same room but starts the
// fight (with the potion) from its start script, for checks from the command line.
#include <algorithm>
#include <string>

#include "tools/contentgen/contentgen.h"
#include "tools/contentgen/fight_figures.h"

using namespace cg;
using rt::RGB;

namespace {

constexpr float kTorvikX = 470, kBoden = 440;

Bild Ring(bool besiegt) {
  const Bild arena = KampfArena(false);
  Bild b(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) b.Punkt(x, y, arena.An(x, std::min(y, arena.h - 1)));
  b.Rauschen(0, arena.h, 639, 479, 10, 17);
  // The barrel with the potion on it.
  b.Rechteck(80, 350, 160, 450, RGB(130, 80, 40));
  for (int y : {364, 400, 436}) b.Rechteck(78, y, 162, y + 5, RGB(70, 70, 74));
  b.Ellipse(120, 350, 40, 10, RGB(150, 100, 56));
  b.Ellipse(120, 326, 12, 13, RGB(120, 200, 220));
  b.Ellipse(120, 329, 9, 9, RGB(170, 40, 200));
  b.Rechteck(116, 300, 124, 314, RGB(120, 200, 220));
  b.Rechteck(115, 296, 125, 301, RGB(130, 80, 40));
  // The way back to the village, at the left edge.
  b.Polygon({{0, 400}, {40, 400}, {60, 479}, {0, 479}}, RGB(170, 150, 110));
  Kaempfer(b, besiegt ? posen::Liegt : posen::Stand, TorvikStil(), kTorvikX, kBoden, 1.3f, -1);
  return b;
}

constexpr int kWennMerker = 0, kText = 2, kSetze = 3, kRaum = 4, kBild = 5, kSonst = 9, kEnde = 10,
              kLoesche = 12, kFehlerton = 16, kMinispiel = 27;

// After a fight: the ring shows Torvik down when he lost.
Skr Ausgang() {
  return {{kWennMerker, "TORVIK_BESIEGT"}, {kBild, "kampfplatz_sieg.jpg"},
          {kText, "Torvik geht zu Boden. Die Menge jubelt!"}, {kSonst, ""}, {kFehlerton, ""},
          {kText, "Autsch! Torvik war stärker - diesmal."}, {kEnde, ""}};
}

RaumDef Kampfplatz() {
  RaumDef r;
  r.bild = "kampfplatz.jpg";
  r.start = {{kWennMerker, "TORVIK_BESIEGT"}, {kBild, "kampfplatz_sieg.jpg"}, {kSonst, ""},
             {kText, "Der Kampfplatz von Norvalde.#Torvik wartet auf einen Herausforderer."}, {kEnde, ""}};

  Skr torvik = {{kWennMerker, "TORVIK_BESIEGT"}, {kText, "Torvik bleibt lieber liegen."}, {kSonst, ""},
                {kWennMerker, "ZAUBERTRANK"},
                {kText, "Du nimmst einen kräftigen Schluck Mut und forderst Torvik heraus!"},
                {kMinispiel, "PRÜGEL,TORVIK_BESIEGT,zaubertrank"}, {kLoesche, "ZAUBERTRANK"}, {kSonst, ""},
                {kText, "Komm her, Krakel!, brüllt Torvik."}, {kMinispiel, "PRÜGEL,TORVIK_BESIEGT,"},
                {kEnde, ""}};
  for (const Befehl& b : Ausgang()) torvik.push_back(b);
  torvik.push_back({kEnde, ""});
  r.hotspots.push_back(Klickbar("Torvik", "hand1.ico", MaskeRechteck(380, 110, 560, 440), torvik,
                                {{kText, "Torvik, der stärkste Raufbold von Norvalde."}}));

  r.hotspots.push_back(Klickbar(
      "Fass", "hand1.ico", MaskeRechteck(80, 290, 160, 450),
      {{kWennMerker, "ZAUBERTRANK"}, {kText, "Den Zaubertrank hast du schon."}, {kSonst, ""},
       {kText, "Ein Zaubertrank! Damit hast du gegen Torvik vielleicht eine Chance."}, {kSetze, "ZAUBERTRANK"},
       {kEnde, ""}},
      {{kText, "Ein altes Fass. Darauf steht eine kleine Flasche."}}));
  r.hotspots.push_back(Klickbar("Weg", "pfeil1.ico", MaskeRechteck(0, 380, 49, 479), {{kRaum, "Start.lsd"}},
                                {{kText, "Der Weg zurück ins Dorf."}}));
  return r;
}

void Erzeuge(const Ziel& z) {
  SpeichereJpg(Ring(false), z.Ordner("graphics") + "kampfplatz.jpg");
  SpeichereJpg(Ring(true), z.Ordner("graphics") + "kampfplatz_sieg.jpg");
  const RaumDef platz = Kampfplatz();
  SchreibeDatei(z.Ordner("rooms") + "Kampfplatz.lsd", RaumText(platz));

  RaumDef test = platz;
  test.start = {{kMinispiel, "PRÜGEL,TORVIK_BESIEGT,zaubertrank"}};
  for (const Befehl& b : Ausgang()) test.start.push_back(b);
  SchreibeDatei(z.Ordner("rooms") + "FightTest.lsd", RaumText(test));
}

Teil teil("Kampfplatz", Erzeuge);

}  // namespace
