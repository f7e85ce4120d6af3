#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/form1.h"
#include "engine/minispiel.h"
#include "engine/state.h"

namespace {

// What the fake windows saw and what they hand back, one outcome per showing.
std::vector<std::string> gesehen;
std::vector<Ergebnis> ausgaenge;

void FakeFenster() {
  gesehen.push_back(SpielErgebnis.IstWahrheit() ? "<" + SpielErgebnis.AlsText() + ">"
                                                : SpielErgebnis.AlsText());
  if (!ausgaenge.empty()) {
    SpielErgebnis = ausgaenge.front();
    ausgaenge.erase(ausgaenge.begin());
  }
}

class Uebergabe : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& m : Merker) m.clear();
    gesehen.clear();
    ausgaenge.clear();
    alt_ = MinispielFenster();
    Minispiele& f = MinispielFenster();
    f.PI = f.JUMP = f.ESEL = f.HDW = f.PRUEGEL = f.WUMPEL = f.PONG = f.MEMORY = FakeFenster;
  }
  void TearDown() override {
    MinispielFenster() = alt_;
    for (auto& m : Merker) m.clear();
  }
  Minispiele alt_;
};

TEST_F(Uebergabe, ParameterGoesInTrimmedUpperCasedAndTheOutcomeSetsTheFlag) {
  ausgaenge = {Ergebnis(true)};
  EXPECT_TRUE(StarteMinispiel("  pong , sieg ,  zaubertrank x "));
  EXPECT_EQ(gesehen, std::vector<std::string>{"ZAUBERTRANK X"});
  EXPECT_TRUE(MerkerTesten("SIEG"));

  // A game that writes only a win leaves its parameter: "0" reads false and clears the flag.
  EXPECT_FALSE(StarteMinispiel("PONG,SIEG,0"));
  EXPECT_FALSE(MerkerTesten("SIEG"));

  // "Pr\xFCgel" in any case reaches the fight.
  ausgaenge = {Ergebnis(true)};
  EXPECT_TRUE(StarteMinispiel(" pr\xFCgel ,K"));
  EXPECT_TRUE(MerkerTesten("K"));
  EXPECT_EQ(gesehen.back(), "");
}

TEST_F(Uebergabe, OutcomesAreReadAsTruthValues) {
  struct Fall {
    Ergebnis aus;
    bool gewonnen;
  };
  const Fall faelle[] = {{Ergebnis(true), true},  {Ergebnis(false), false}, {Ergebnis(), false},
                         {"1", true},             {"0", false},             {"-1", true},
                         {" 2.5 ", true},         {"0.0", false},           {"TRUE", true},
                         {"tRuE", true},          {"False", false},         {"", false},
                         {"U", false},            {"W", false},             {"ZAUBERTRANK", false}};
  for (const Fall& f : faelle) {
    MerkerSetzen("F");
    ausgaenge = {f.aus};
    EXPECT_EQ(StarteMinispiel("HDW,F,1"), f.gewonnen) << f.aus.AlsText();
    EXPECT_EQ(MerkerTesten("F"), f.gewonnen) << f.aus.AlsText();
  }
}

TEST_F(Uebergabe, UnknownWordsAndMissingGamesLose) {
  MerkerSetzen("F");
  EXPECT_FALSE(StarteMinispiel("SCHACH,F,1"));
  EXPECT_FALSE(MerkerTesten("F"));
  EXPECT_TRUE(gesehen.empty());

  MerkerSetzen("F");
  MinispielFenster().HDW = nullptr;
  EXPECT_FALSE(StarteMinispiel("HDW,F,1"));
  EXPECT_FALSE(MerkerTesten("F"));

  // An empty flag name changes nothing either way.
  ausgaenge = {Ergebnis(true)};
  EXPECT_TRUE(StarteMinispiel("ESEL"));
  for (const auto& m : Merker) EXPECT_EQ(m, "");
}

TEST_F(Uebergabe, FlyingHeadsGetFalseInsteadOfTheParameter) {
  ausgaenge = {Ergebnis(true)};
  EXPECT_TRUE(StarteMinispiel("WUMPEL,W,123"));
  EXPECT_EQ(gesehen, std::vector<std::string>{"<False>"});
  EXPECT_TRUE(MerkerTesten("W"));

  // The scene window's own operation does the same and only reports the outcome.
  SpielErgebnis = "PARAMETER";
  ausgaenge = {Ergebnis("0")};
  EXPECT_FALSE(Form1().SpielWumpel());
  EXPECT_EQ(gesehen.back(), "<False>");
  EXPECT_TRUE(MerkerTesten("W"));
}

TEST_F(Uebergabe, MemoryIsShownAgainAfterADraw) {
  ausgaenge = {Ergebnis("U"), Ergebnis("U"), Ergebnis("W")};
  EXPECT_TRUE(StarteMinispiel("memory,M,"));
  EXPECT_EQ(gesehen.size(), 3u);
  EXPECT_TRUE(MerkerTesten("M"));

  ausgaenge = {Ergebnis("U"), Ergebnis("L")};
  EXPECT_FALSE(StarteMinispiel("MEMORY,M"));
  EXPECT_FALSE(MerkerTesten("M"));

  // A missing Memory window ends the replay instead of looping.
  MinispielFenster().MEMORY = nullptr;
  SpielErgebnis = "U";
  EXPECT_FALSE(StarteMinispiel("MEMORY,M,U"));
}

}  // namespace
