// The fight: planning with undo and the potion, the counters, the rules of chance and damage,
// and whole fights on a seeded generator and the virtual clock, down to each ending.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "engine/minispiel.h"
#include "engine/module2.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "minigames/fight/pruegel.h"
#include "minigames/fight/regeln.h"
#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "scratch.h"

namespace {

// ---- Rules -------------------------------------------------------------------------------

// Hands out the given numbers in order and fails the test when asked for more.
struct Folge {
  std::deque<float> zahlen;
  int gezogen = 0;
  Zufallsquelle Quelle() {
    return [this] {
      ++gezogen;
      if (zahlen.empty()) {
        ADD_FAILURE() << "one random number too many";
        return 0.5f;
      }
      const float r = zahlen.front();
      zahlen.pop_front();
      return r;
    };
  }
};

TEST(PruegelRegeln, ThePlayersMove) {
  Folge f;
  EXPECT_EQ(WaehleSpielerZug(Zaubertrank, f.Quelle()), SpielerZug::Trank);
  EXPECT_EQ(f.gezogen, 0);  // the potion is never blocked, so no number is drawn
  f.zahlen = {0.33333331f, 1.0f / 3.0f, 0.0f, 0.99f};
  EXPECT_EQ(WaehleSpielerZug(0, f.Quelle()), SpielerZug::Geblockt);
  EXPECT_EQ(WaehleSpielerZug(1, f.Quelle()), SpielerZug::Schlag);
  EXPECT_EQ(WaehleSpielerZug(2, f.Quelle()), SpielerZug::Geblockt);
  EXPECT_EQ(WaehleSpielerZug(2, f.Quelle()), SpielerZug::Schlag);
}

TEST(PruegelRegeln, TorvikAnswersWithFireballsUnblockablesAndTechniques) {
  Folge f;
  // A potion round or a lead of more than 750 gives the fireball without a draw.
  EXPECT_EQ(WaehleTorvikZug(100, 2000, Zaubertrank, 0, f.Quelle()).art, TorvikZug::Feuerball);
  EXPECT_EQ(WaehleTorvikZug(1000, 249, 0, 0, f.Quelle()).art, TorvikZug::Feuerball);
  EXPECT_EQ(f.gezogen, 0);
  f.zahlen = {0.5f, 0.1f};  // a lead of exactly 750 is not enough
  EXPECT_EQ(WaehleTorvikZug(1000, 250, 0, 2, f.Quelle()).art, TorvikZug::Technik);

  // Unblockable below 0.25, then heavy below 0.25.
  f.zahlen = {0.2499999f, 0.25f, 0.1f, 0.2499999f};
  EXPECT_EQ(WaehleTorvikZug(1467, 2434, 0, 0, f.Quelle()).art, TorvikZug::Leicht);
  EXPECT_EQ(WaehleTorvikZug(1467, 2434, 0, 0, f.Quelle()).art, TorvikZug::Schwer);

  // Techniques: a second number picks one of three; the planned defence blocks a match.
  struct Fall { float r; int abwehr; TorvikZug::Art art; int technik; };
  for (const Fall& c : {Fall{0.25f, 0, TorvikZug::Geblockt, 0}, Fall{0.33333331f, 1, TorvikZug::Technik, 0},
                        Fall{1.0f / 3.0f, 1, TorvikZug::Geblockt, 1}, Fall{0.6666666f, 2, TorvikZug::Technik, 1},
                        Fall{0.6666667f, 2, TorvikZug::Geblockt, 2}, Fall{0.99999994f, 0, TorvikZug::Technik, 2}}) {
    f.zahlen = {0.25f, c.r};
    const TorvikZug z = WaehleTorvikZug(1467, 2434, 1, c.abwehr, f.Quelle());
    EXPECT_EQ(z.art, c.art) << c.r;
    EXPECT_EQ(z.technik, c.technik) << c.r;
  }
  EXPECT_TRUE(f.zahlen.empty());
}

TEST(PruegelRegeln, DamageRoundsHalvesToEven) {
  EXPECT_EQ(Schaden(480, 0.0f), 480);
  EXPECT_EQ(Schaden(480, 0.125f), 492);  // 492.5
  EXPECT_EQ(Schaden(480, 0.375f), 518);  // 517.5
  EXPECT_EQ(Schaden(1100, 0.5f), 1150);
  EXPECT_EQ(Schaden(10, 0.99999994f), 110);
  for (int basis : {480, 1100, 950, 10, 300, 280}) {
    EXPECT_EQ(Schaden(basis, 0.0f), basis);
    EXPECT_EQ(Schaden(basis, 0.99999994f), basis + 100);
  }
}

TEST(PruegelRegeln, CountersStepByFiveThenByOne) {
  std::vector<int32_t> hoch;
  for (int32_t a = 1317; a != 1467; a = ZaehlSchritt(a, 1467)) hoch.push_back(ZaehlSchritt(a, 1467));
  ASSERT_EQ(hoch.size(), 34u);  // 29 steps of 5 and 5 of 1
  EXPECT_EQ(hoch[0], 1322);
  EXPECT_EQ(hoch[28], 1462);
  EXPECT_EQ(hoch[29], 1463);
  EXPECT_EQ(hoch.back(), 1467);
  EXPECT_EQ(ZaehlSchritt(100, 0), 95);
  EXPECT_EQ(ZaehlSchritt(5, 0), 4);
  EXPECT_EQ(ZaehlSchritt(6, 0), 1);
}

// ---- The window --------------------------------------------------------------------------

std::string Spieldaten() {
  const char* bau = std::getenv("NORVALDE_BUILD");
  return bau ? rt::WinPath(std::string(bau) + "/games/") : std::string();
}

bool Zeigt(const rt::PicturePtr& bild, const std::string& datei) {
  rt::PicturePtr soll = rt::LoadPicture(DatenPfad + datei);
  return bild && soll && bild->pixels == soll->pixels;
}

class Pruegel : public ::testing::Test {
 protected:
  std::vector<std::string> spur;    // pictures, sounds and texts
  std::vector<std::string> ablauf;  // and the pauses between them
  std::string altDaten;

  void SetUp() override {
    rt::UseVirtualClock();
    rt::Randomize(1);
    altDaten = DatenPfad;
    DatenPfad = Spieldaten();
    ASSERT_FALSE(DatenPfad.empty());
    Prügel().Protokoll = [this](const std::string& e) {
      ablauf.push_back(e);
      if (e[0] != 'W') spur.push_back(e);
    };
  }
  void TearDown() override {
    Prügel().Unload();
    Prügel().Protokoll = nullptr;
    DatenPfad = altDaten;
    SpielErgebnis = Ergebnis();
  }

  static TPrügel& Oeffne(const std::string& parameter) {
    SpielErgebnis = parameter;
    Prügel().Unload();
    Prügel().Show();
    return Prügel();
  }
  static void Plane(const std::vector<int>& angriffe, const std::vector<int>& abwehren) {
    for (int a : angriffe) Prügel().Image1_Click(a);
    for (int a : abwehren) Prügel().Image1_Click(a);
  }
  bool Gesehen(const std::string& eintrag) const {
    for (const auto& e : spur)
      if (e == eintrag) return true;
    return false;
  }
  // "G" won, "V" lost, "S" the final attack, "" none.
  std::string Ende() const {
    for (const auto& e : spur) {
      if (e == "B KampfG.jpg") return "G";
      if (e == "B KampfV.jpg") return "V";
      if (e == "B KampfTK34.jpg") return "S";
    }
    return "";
  }
};

TEST_F(Pruegel, ThePotionIsOfferedOnlyForTheParameter) {
  EXPECT_FALSE(Oeffne("").Image1[3].Visible());
  EXPECT_FALSE(Oeffne("ZAUBERTRANK X").Image1[3].Visible());
  EXPECT_FALSE(Oeffne("1").HatZaubertrank);
  for (const char* p : {"ZAUBERTRANK", "  zauberTrank "}) {
    TPrügel& f = Oeffne(p);
    EXPECT_TRUE(f.Image1[3].Visible()) << p;
    EXPECT_TRUE(f.HatZaubertrank);
    // Read before the outcome starts out as a loss.
    EXPECT_TRUE(SpielErgebnis.IstWahrheit());
    EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
  }
  TPrügel& f = Oeffne("ZAUBERTRANK");
  for (int i = 1; i <= 5; ++i) EXPECT_TRUE(Zeigt(f.Image1[i - 1].Picture, "pr\xFCgels" + std::to_string(i) + ".bmp")) << i;
  EXPECT_FALSE(f.Command1.Visible());
  EXPECT_FALSE(f.Frame1.Visible());
}

TEST_F(Pruegel, PlanningWithUndoAtTheTurningPoints) {
  TPrügel& f = Oeffne("");
  f.Image1_Click(4);  // nothing to undo
  EXPECT_EQ(f.AnzahlGewaehlt, 0);

  Plane({0, 1, 2, 0, 1}, {});
  EXPECT_TRUE(Zeigt(f.Image2[4].Picture, "pr\xFCgels2.bmp"));
  f.Image1_Click(2);  // the sixth attack: the defences come
  EXPECT_EQ(f.AnzahlGewaehlt, 6);
  EXPECT_EQ(f.Angriffe, (std::array<int32_t, 6>{0, 1, 2, 0, 1, 2}));
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(Zeigt(f.Image1[i - 1].Picture, "pr\xFCgelb" + std::to_string(i) + ".bmp"));
  EXPECT_TRUE(Zeigt(f.Image1[4].Picture, "pr\xFCgels5.bmp"));
  EXPECT_FALSE(f.Image1[3].Visible());

  f.Image1_Click(4);  // 6 -> 5: back to the attacks
  EXPECT_EQ(f.AnzahlGewaehlt, 5);
  EXPECT_EQ(f.Angriffe[5], -1);
  EXPECT_FALSE(f.Image2[5].Picture);
  EXPECT_TRUE(Zeigt(f.Image1[0].Picture, "pr\xFCgels1.bmp"));
  EXPECT_FALSE(f.Image1[3].Visible());  // no potion in this game

  Plane({2}, {2, 1, 0, 0, 1});
  EXPECT_FALSE(f.Command1.Visible());
  f.Image1_Click(2);
  EXPECT_EQ(f.AnzahlGewaehlt, 12);
  EXPECT_TRUE(f.Command1.Visible());
  EXPECT_EQ(f.Abwehren, (std::array<int32_t, 6>{2, 1, 0, 0, 1, 2}));
  EXPECT_TRUE(Zeigt(f.Image3[5].Picture, "pr\xFCgelb3.bmp"));

  f.Image1_Click(0);  // a thirteenth pick changes nothing
  EXPECT_EQ(f.AnzahlGewaehlt, 12);
  EXPECT_EQ(f.Abwehren[5], 2);

  f.Image1_Click(4);  // 12 -> 11: the button goes, the defences stay
  EXPECT_EQ(f.AnzahlGewaehlt, 11);
  EXPECT_FALSE(f.Command1.Visible());
  EXPECT_EQ(f.Abwehren[5], -1);
  EXPECT_FALSE(f.Image3[5].Picture);
  EXPECT_TRUE(Zeigt(f.Image1[0].Picture, "pr\xFCgelb1.bmp"));
}

TEST_F(Pruegel, ThePotionIsPickedOnceAndUndoBringsItBack) {
  TPrügel& f = Oeffne("ZAUBERTRANK");
  Plane({1, 3}, {});
  EXPECT_FALSE(f.Image1[3].Visible());
  EXPECT_FALSE(f.HatZaubertrank);
  EXPECT_EQ(f.Angriffe[1], Zaubertrank);
  EXPECT_TRUE(Zeigt(f.Image2[1].Picture, "pr\xFCgels4.bmp"));

  Plane({0, 0, 0, 0}, {});  // into the defences and back: still gone
  EXPECT_FALSE(f.Image1[3].Visible());
  f.Image1_Click(4);
  EXPECT_EQ(f.AnzahlGewaehlt, 5);
  EXPECT_FALSE(f.Image1[3].Visible());

  for (int i = 0; i < 3; ++i) f.Image1_Click(4);
  EXPECT_EQ(f.AnzahlGewaehlt, 2);
  EXPECT_FALSE(f.Image1[3].Visible());
  f.Image1_Click(4);  // the potion's own pick taken back
  EXPECT_TRUE(f.Image1[3].Visible());
  EXPECT_TRUE(f.HatZaubertrank);
  EXPECT_EQ(f.Angriffe[1], -1);

  // Undoing the sixth pick brings back the potion button with the attacks when it is unused.
  Plane({0, 0, 0, 0, 0}, {});
  EXPECT_FALSE(f.Image1[3].Visible());
  f.Image1_Click(4);
  EXPECT_TRUE(f.Image1[3].Visible());
}

TEST_F(Pruegel, CountersPaceTheirStepsAndNeverGoBelowZero) {
  TPrügel& f = Oeffne("");
  f.AnzeigeK = 1317;
  f.EnergieK = 1467;
  WarteFrame(0);
  uint64_t start = rt::timeGetTime();
  f.ShowEnergieK();
  EXPECT_EQ(f.AnzeigeK, 1467);
  EXPECT_EQ(f.Label1[0].Caption, "Krakel 1467");
  EXPECT_EQ(rt::timeGetTime() - start, 34u * 20);

  f.AnzeigeT = 100;
  f.EnergieT = -40;
  start = rt::timeGetTime();
  f.ShowEnergieT();
  EXPECT_EQ(f.EnergieT, 0);
  EXPECT_EQ(f.AnzeigeT, 0);
  EXPECT_EQ(f.Label1[1].Caption, "0 Torvik");
  EXPECT_EQ(rt::timeGetTime() - start, 24u * 20);  // 19 steps of 5, then 5 of 1

  start = rt::timeGetTime();
  f.ShowEnergieT();  // equal: at once, the caption untouched
  EXPECT_EQ(rt::timeGetTime(), start);
  f.Label1[1].Caption = "x";
  f.ShowEnergieT();
  EXPECT_EQ(f.Label1[1].Caption, "x");
}

TEST_F(Pruegel, TextsStandCentredOverTheirShadow) {
  TPrügel& f = Oeffne("");
  f.Picture1.SetPicture(nullptr);
  f.PrintText("Fight!", 2);
  EXPECT_EQ(f.Picture1.font.size, 48.0f);
  EXPECT_EQ(f.Picture1.font.name, "Arial");
  std::set<rt::Color> farben;
  int links = 641, rechts = -1;
  for (int y = 0; y < 425; ++y)
    for (int x = 0; x < 641; ++x) {
      const rt::Color c = f.Picture1.Point(float(x), float(y));
      if (c == 0) continue;
      farben.insert(c);
      links = std::min(links, x), rechts = std::max(rechts, x);
    }
  EXPECT_TRUE(farben.count(rt::RGB(255, 255, 255)));
  EXPECT_TRUE(farben.count(rt::RGB(128, 128, 128)));
  // Centred, with the shadow 5 pixels further right.
  EXPECT_NEAR((links + rechts - 5) / 2.0, 320, 6);

  f.Picture1.SetPicture(nullptr);
  f.PrintText("MMMMMM", 0);
  f.PrintText("i", 1);  // narrow, so the red stays in sight around it
  farben.clear();
  for (int y = 0; y < 425; ++y)
    for (int x = 0; x < 641; ++x) farben.insert(f.Picture1.Point(float(x), float(y)));
  for (rt::Color c : {rt::RGB(255, 0, 0), rt::RGB(128, 0, 0), rt::RGB(0, 0, 255), rt::RGB(0, 0, 128)})
    EXPECT_TRUE(farben.count(c)) << std::hex << c;
}

// A fight to its end: the plan goes in, the trail of pictures, sounds and texts comes out.
TEST_F(Pruegel, EveryEndingComesWithItsOutcome) {
  std::set<std::string> enden;
  for (int saat = 1; saat <= 60 && enden.size() < 3; ++saat) {
    SCOPED_TRACE("seed " + std::to_string(saat));
    spur.clear();
    TPrügel& f = Oeffne("");
    rt::Randomize(saat);
    Plane({0, 1, 2, 0, 1, 2}, {1, 1, 0, 2, 0, 1});
    f.Command1_Click();
    const std::string ende = Ende();
    enden.insert(ende);
    EXPECT_FALSE(f.Loaded());
    EXPECT_FALSE(f.RM.Enabled());
    ASSERT_GE(spur.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(spur.begin(), spur.begin() + 6),
              (std::vector<std::string>{"B Kampfs0.jpg", "B Kampfs1.jpg", "T Get Ready!", "B Kampf0.jpg",
                                        "T Fight!", "B Kampf0.jpg"}));
    EXPECT_EQ(f.AnzeigeT, f.EnergieT);
    EXPECT_EQ(f.AnzeigeK, f.EnergieK);
    if (ende == "G") {
      EXPECT_EQ(f.EnergieT, 0);
      EXPECT_GT(f.EnergieK, 0);
      EXPECT_TRUE(SpielErgebnis.AlsWahrheit());
      EXPECT_EQ(spur.back(), "T Krakix wins!");
    } else if (ende == "V") {
      EXPECT_EQ(f.EnergieK, 0);
      EXPECT_GT(f.EnergieT, 0);
      EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
      EXPECT_EQ(spur.back(), "S TorvikF24a.wav");
    } else {
      ASSERT_EQ(ende, "S");
      EXPECT_GT(f.EnergieK, 0);
      EXPECT_GT(f.EnergieT, 0);
      EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
      EXPECT_TRUE(Gesehen("S Tesla.wav"));
      EXPECT_EQ(spur.back(), "T Torvik wins!");
      EXPECT_EQ(f.Picture1.DrawMode, rt::vbCopyPen);
    }
    // A guard never costs energy: the next texts are no hits.
    for (size_t i = 0; i + 1 < spur.size(); ++i)
      if (spur[i] == "T Guard") {
        EXPECT_EQ(spur[i + 1].substr(0, 2), "B ") << i;
      }
  }
  EXPECT_EQ(enden, (std::set<std::string>{"G", "V", "S"}));
}

// Steps of the fight as the trail shows them. "{n}" stands for a damage from n to n + 100.
using Schritte = std::vector<std::string>;

bool Gleich(const std::string& ist, const std::string& soll) {
  const size_t auf = soll.find('{');
  if (auf == std::string::npos) return ist == soll;
  const size_t zu = soll.find('}');
  const std::string vor = soll.substr(0, auf), nach = soll.substr(zu + 1);
  if (ist.size() <= vor.size() + nach.size() || ist.compare(0, vor.size(), vor) != 0 ||
      ist.compare(ist.size() - nach.size(), nach.size(), nach) != 0)
    return false;
  const std::string zahl = ist.substr(vor.size(), ist.size() - vor.size() - nach.size());
  if (zahl.find_first_not_of("0123456789") != std::string::npos) return false;
  const int basis = std::stoi(soll.substr(auf + 1, zu - auf - 1)), d = std::stoi(zahl);
  return d >= basis && d <= basis + 100;
}

// Moves pos past the steps when the trail goes on with exactly them.
bool Folgt(const Schritte& ablauf, size_t& pos, const Schritte& soll) {
  if (ablauf.size() - pos < soll.size()) return false;
  for (size_t k = 0; k < soll.size(); ++k)
    if (!Gleich(ablauf[pos + k], soll[k])) return false;
  pos += soll.size();
  return true;
}

Schritte operator+(Schritte a, const Schritte& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Schritte Mal(int n, const std::string& s) { return Schritte(size_t(n), s); }

// Every move, ending and pause of the fight in its order, whatever chance picks; seeds are
// tried until each kind of move has been seen.
TEST_F(Pruegel, EveryMoveShowsItsPicturesSoundsAndPausesInOrder) {
  const Schritte eroeffnung = {"W 1", "B Kampfs0.jpg", "B Kampfs1.jpg", "T Get Ready!", "W 2000",
                               "B Kampf0.jpg", "T Fight!", "W 2000"};
  const Schritte zugbeginn = {"B Kampf0.jpg", "W 2000"};
  Schritte trank = {"T Zaubertrank", "W 2000", "B KampfKK0.jpg", "W 500", "S schluck.wav", "W 1500", "S s_kampf2.wav"};
  for (int j = 1; j <= 9; ++j) trank = trank + Schritte{"B KampfKK" + std::to_string(j) + ".jpg", "W 500"};
  trank.insert(trank.end() - 4, "S bionic.wav");  // after the eighth picture's pause
  trank = trank + Schritte{"B KampfKK10.jpg", "S schlag2.wav", "T ULTIMATE! {1100} HP"};
  auto abgewehrt = [](int bild) {
    return Schritte{"B Kampf" + std::to_string(bild) + "1.jpg", "S block.wav", "W 2000", "B Kampf0.jpg", "T Guard",
                    "W 2000"};
  };
  auto schlag = [](int a) {
    return Schritte{"B Kampf" + std::to_string(a + 1) + "0.jpg", "S schlag2.wav", "W 2000", "B KampfT.jpg",
                    "S TorvikF22a.wav", "T {480} HP"};
  };
  const Schritte feuerball = Schritte{"T Fireball", "W 2000", "B KampfTK0.jpg", "S hadoken.wav"} + Mal(41, "W 15") +
                             Mal(34, "W 10") + Schritte{"B KampfH.jpg", "S s_kampf1.wav", "T AWESOME! {950} HP"};
  const Schritte leicht = {"T Unblockable", "W 2000", "B KampfTK1.jpg", "S boing.wav", "W 2000", "S s_kampf1.wav",
                           "T NICE! {10} HP", "W 1800"};
  const Schritte schwer = {"T Unblockable", "W 2000", "B KampfTK20.jpg", "W 2000", "B KampfTK21.jpg", "S schlag.wav",
                           "W 2000", "S s_kampf1.wav", "T WOW! {300} HP", "W 1200"};
  auto technik = [](int k) {
    const std::string n = std::to_string(k + 4);
    const Schritte ende = {"S s_kampf1.wav", "T {280} HP"};
    if (k == 2) return Schritte{"B Kampf600.jpg", "W 1000", "B Kampf601.jpg", "S Schlag.wav", "W 1000"} + ende;
    return Schritte{"B Kampf" + n + "0.jpg", "S Schlag.wav", "W 2000", "B KampfH.jpg"} + ende;
  };
  const Schritte gewonnen = {"B KampfG.jpg", "S TorvikF23a.wav", "W 2000", "T Krakix wins!", "W 2000"};
  const Schritte verloren = {"B KampfV.jpg", "S s_kampf1.wav", "W 2000", "T Torvik wins!", "S TorvikF24a.wav", "W 2000"};
  const Schritte schluss = Schritte{"B KampfTK30.jpg", "T Final Attack!", "W 2000", "S Tesla.wav", "W 1000",
                                    "B KampfTK31.jpg"} +
                           Mal(10, "W 100") +
                           Schritte{"B KampfTK32.jpg", "W 2000", "B KampfTK33.jpg", "W 1000", "B KampfTK34.jpg",
                                    "S TorvikF25a.wav", "W 2000", "T Torvik wins!", "W 2000"};

  const std::set<std::string> alle = {"trank", "abgewehrt", "schlag", "feuerball", "leicht", "schwer",
                                      "torvik abgewehrt", "technik 0", "technik 1", "technik 2",
                                      "gewonnen", "verloren", "schluss"};
  std::set<std::string> gesehen;
  for (int saat = 1; saat <= 80 && gesehen != alle; ++saat) {
    SCOPED_TRACE("seed " + std::to_string(saat));
    const bool mitTrank = saat % 2 == 0;
    const std::array<int32_t, 6> angriffe = mitTrank ? std::array<int32_t, 6>{0, 3, 1, 2, 0, 1}
                                                     : std::array<int32_t, 6>{0, 1, 2, 0, 1, 2};
    const std::array<int32_t, 6> abwehren = {1, 1, 0, 2, 0, 1};
    ablauf.clear();
    TPrügel& f = Oeffne(mitTrank ? "ZAUBERTRANK" : "");
    rt::Randomize(saat);
    Plane(std::vector<int>(angriffe.begin(), angriffe.end()), std::vector<int>(abwehren.begin(), abwehren.end()));
    f.Command1_Click();
    // The counters' paced steps are theirs, not the fight's.
    std::erase(ablauf, "W 20");

    size_t pos = 0;
    // Which of the steps the trail goes on with; none is a failure shown from there.
    auto eines = [&](const std::vector<std::pair<std::string, Schritte>>& moeglich) {
      for (const auto& [name, schritte] : moeglich)
        if (Folgt(ablauf, pos, schritte)) {
          gesehen.insert(name);
          return true;
        }
      std::string rest;
      for (size_t k = pos; k < ablauf.size() && k < pos + 12; ++k) rest += ablauf[k] + " | ";
      ADD_FAILURE() << "unexpected at step " << pos << ": " << rest;
      return false;
    };
    ASSERT_TRUE(Folgt(ablauf, pos, eroeffnung));
    bool ende = false;
    for (int i = 0; i <= 5 && !ende; ++i) {
      const int a = angriffe[size_t(i)], b = abwehren[size_t(i)];
      ASSERT_TRUE(Folgt(ablauf, pos, zugbeginn)) << "round " << i;
      if (a == Zaubertrank) {
        ASSERT_TRUE(eines({{"trank", trank}}));
      } else {
        ASSERT_TRUE(eines({{"abgewehrt", abgewehrt(a + 1)}, {"schlag", schlag(a)}}));
      }
      if (Folgt(ablauf, pos, gewonnen)) {
        gesehen.insert("gewonnen");
        ende = true;
        break;
      }
      ASSERT_TRUE(Folgt(ablauf, pos, zugbeginn)) << "round " << i;
      std::vector<std::pair<std::string, Schritte>> torvik = {{"feuerball", feuerball}};
      if (a != Zaubertrank) {
        torvik.push_back({"leicht", leicht});
        torvik.push_back({"schwer", schwer});
        torvik.push_back({"torvik abgewehrt", abgewehrt(b + 4)});
        for (int k = 0; k < 3; ++k)
          if (k != b) torvik.push_back({"technik " + std::to_string(k), technik(k)});
      }
      ASSERT_TRUE(eines(torvik)) << "round " << i;
      if (Folgt(ablauf, pos, verloren)) {
        gesehen.insert("verloren");
        ende = true;
      }
    }
    if (!ende) {
      ASSERT_TRUE(eines({{"schluss", schluss}}));
    }
    EXPECT_EQ(pos, ablauf.size()) << "steps after the ending";
  }
  EXPECT_EQ(gesehen, alle);
}

TEST_F(Pruegel, APotionRoundAlwaysDrawsTheFireball) {
  for (int saat = 1; saat <= 4; ++saat) {
    spur.clear();
    TPrügel& f = Oeffne("ZAUBERTRANK");
    rt::Randomize(saat);
    Plane({0, 3, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0});
    f.Command1_Click();
    size_t i = 0;
    while (i < spur.size() && spur[i] != "T Zaubertrank") ++i;
    ASSERT_LT(i, spur.size());
    std::vector<std::string> texte;
    for (size_t j = i; j < spur.size() && texte.size() < 3; ++j)
      if (spur[j][0] == 'T') texte.push_back(spur[j]);
    ASSERT_EQ(texte.size(), 3u);
    EXPECT_EQ(texte[1].substr(0, 12), "T ULTIMATE! ");
    EXPECT_EQ(texte[2], "T Fireball");
    EXPECT_TRUE(Gesehen("S bionic.wav"));
    EXPECT_TRUE(Gesehen("B KampfKK10.jpg"));
  }
}

TEST_F(Pruegel, ClosingTheWindowStopsTheFightAsALoss) {
  TPrügel& f = Oeffne("");
  Plane({0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0});
  f.Protokoll = [this, &f](const std::string& e) {
    spur.push_back(e);
    if (e == "T Fight!") rt::PostClose(f);
  };
  SpielErgebnis = true;  // whatever stood there, a closed fight is lost
  f.Command1_Click();
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(f.RM.Enabled());
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
  EXPECT_EQ(spur.back(), "T Fight!");
  // The music is closed: its device answers no more.
  std::string antwort(200, ' ');
  EXPECT_NE(rt::mciSendString("status vbSong position", &antwort, 200), 0);
}

// Through the hand-over, as a script starts it: clicks plan the fight, the button starts it.
TEST_F(Pruegel, AScriptStartsTheFightAndGetsItsOutcome) {
  const Minispiele alt = MinispielFenster();
  MinispieleAnmelden();
  Oeffne("").Unload();  // the design places the buttons where the clicks go
  auto klick = [](rt::Control& c) {
    int x = c.Left() + c.Width() / 2, y = c.Top() + c.Height() / 2;
    rt::PostMouse(Prügel(), 1, rt::vbLeftButton, x, y);
    rt::PostMouse(Prügel(), 2, rt::vbLeftButton, x, y);
  };
  for (int i : {0, 3, 1, 2, 0, 1, 0, 1, 2, 0, 1, 2}) klick(Prügel().Image1[i]);
  klick(Prügel().Command1);
  Merker.fill("");
  rt::Randomize(3);
  const bool gewonnen = StarteMinispiel("pr\xFCgel , sieg, zaubertrank ");
  EXPECT_EQ(Prügel().Angriffe, (std::array<int32_t, 6>{0, 3, 1, 2, 0, 1}));
  EXPECT_EQ(Prügel().Abwehren, (std::array<int32_t, 6>{0, 1, 2, 0, 1, 2}));
  EXPECT_FALSE(Prügel().Loaded());
  EXPECT_FALSE(Ende().empty());
  EXPECT_EQ(gewonnen, Ende() == "G");
  EXPECT_EQ(MerkerTesten("SIEG"), gewonnen);

  // Closed while planning: lost, and the flag is cleared.
  MerkerSetzen("SIEG");
  rt::PostClose(Prügel());
  EXPECT_FALSE(StarteMinispiel("PR\xDCGEL,SIEG,ZAUBERTRANK"));
  EXPECT_FALSE(MerkerTesten("SIEG"));
  Merker.fill("");
  MinispielFenster() = alt;
}

TEST_F(Pruegel, MissingPicturesAndSoundsEndNothing) {
  const std::string leer = testing_support::MakeScratchFolder("pruegel");
  ASSERT_FALSE(leer.empty());
  DatenPfad = rt::WinPath(leer + "/");
  TPrügel& f = Oeffne("ZAUBERTRANK");
  for (const rt::ImageBox& b : f.Image1) {
    ASSERT_TRUE(b.Picture);  // a plain stand-in, still there to click
    EXPECT_EQ(b.Width(), 65);
  }
  Plane({3, 0, 1, 2, 0, 1}, {0, 1, 2, 0, 1, 2});
  f.Command1_Click();
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(Ende().empty());
  testing_support::RemoveScratchFolder(leer);
}

}  // namespace
