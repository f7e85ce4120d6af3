#include <gtest/gtest.h>

#include "engine/state.h"

namespace {

class Spielstand : public ::testing::Test {
 protected:
  void SetUp() override { Leeren(); }
  void TearDown() override { Leeren(); }
  static void Leeren() {
    for (auto& m : Merker) m.clear();
    for (auto& g : Gegenstaende) g.clear();
    LetzterGegenstand = -1;
    GegenstandPfad = "C:\\Spiel\\items\\";
  }
  static int Belegt(const std::string& name) {
    int n = 0;
    for (const auto& m : Merker) n += (m == name);
    return n;
  }
};

TEST_F(Spielstand, FlagsAreStoredOnceTrimmedAndUpperCased) {
  MerkerSetzen("t\xFCr offen");
  MerkerSetzen("  T\xDCR OFFEN ");
  EXPECT_EQ(Belegt("T\xDCR OFFEN"), 1);
  EXPECT_EQ(Merker[0], "T\xDCR OFFEN");
  EXPECT_TRUE(MerkerTesten("  T\xFCr Offen  "));
  EXPECT_FALSE(MerkerTesten("T\xDCR"));

  // The lowest free slot is taken, also when it lies before a used one.
  MerkerSetzen("B");
  MerkerLoeschen("t\xFCr offen");
  MerkerSetzen("C");
  EXPECT_EQ(Merker[0], "C");
  EXPECT_EQ(Merker[1], "B");

  // A flag in several slots (a loaded save may hold that) is cleared from all of them.
  Merker[5] = "B";
  Merker[900] = "B";
  MerkerLoeschen(" b");
  EXPECT_EQ(Belegt("B"), 0);
  EXPECT_FALSE(MerkerTesten("B"));
  EXPECT_TRUE(MerkerTesten("C"));
}

TEST_F(Spielstand, FullFlagTableAndEmptyNames) {
  // Empty name: equal to any free slot.
  EXPECT_TRUE(MerkerTesten("   "));
  MerkerSetzen("");
  MerkerLoeschen("  ");
  for (const auto& m : Merker) EXPECT_EQ(m, "");

  for (int k = 0; k < MerkerAnzahl; ++k) Merker[size_t(k)] = "F" + std::to_string(k);
  MerkerSetzen("NEU");
  EXPECT_FALSE(MerkerTesten("NEU"));
  EXPECT_EQ(Belegt("NEU"), 0);
  EXPECT_TRUE(MerkerTesten("f1000"));
  EXPECT_FALSE(MerkerTesten(""));  // no free slot left

  MerkerLoeschen("F1000");
  MerkerSetzen("NEU");
  EXPECT_EQ(Merker[1000], "NEU");
}

TEST_F(Spielstand, ItemsAddAndRemoveInOrder) {
  EXPECT_TRUE(GegenstandDazu("..\\irgendwo\\Schl\xFCssel.jpg"));
  EXPECT_TRUE(GegenstandDazu("Brief.jpg"));
  EXPECT_TRUE(GegenstandDazu("Schl\xFCssel.jpg"));
  EXPECT_TRUE(GegenstandDazu("Kerze.jpg"));
  ASSERT_EQ(LetzterGegenstand, 3);
  EXPECT_EQ(Gegenstaende[0], "C:\\Spiel\\items\\Schl\xFCssel.jpg");

  // The later copy goes; later slots move down; the old last slot empties. Letter case and
  // the folder of the argument do not matter.
  EXPECT_TRUE(GegenstandWeg("X:\\SCHL\xDCSSEL.JPG"));
  EXPECT_EQ(LetzterGegenstand, 2);
  EXPECT_EQ(Gegenstaende[0], "C:\\Spiel\\items\\Schl\xFCssel.jpg");
  EXPECT_EQ(Gegenstaende[1], "C:\\Spiel\\items\\Brief.jpg");
  EXPECT_EQ(Gegenstaende[2], "C:\\Spiel\\items\\Kerze.jpg");
  EXPECT_EQ(Gegenstaende[3], "");

  // Not carried: nothing changes.
  auto vorher = Gegenstaende;
  EXPECT_FALSE(GegenstandWeg("Apfel.jpg"));
  EXPECT_EQ(LetzterGegenstand, 2);
  EXPECT_EQ(Gegenstaende, vorher);

  EXPECT_TRUE(GegenstandWeg("Kerze.jpg"));
  EXPECT_TRUE(GegenstandWeg("Schl\xFCssel.jpg"));
  EXPECT_TRUE(GegenstandWeg("Brief.jpg"));
  EXPECT_EQ(LetzterGegenstand, -1);
  EXPECT_FALSE(GegenstandWeg("Brief.jpg"));
  EXPECT_EQ(LetzterGegenstand, -1);
}

TEST_F(Spielstand, A52ndItemIsRefusedAndNothingChanges) {
  for (int k = 0; k < GegenstandAnzahl; ++k)
    ASSERT_TRUE(GegenstandDazu("D" + std::to_string(k) + ".jpg"));
  EXPECT_EQ(LetzterGegenstand, 50);
  auto vorher = Gegenstaende;
  EXPECT_FALSE(GegenstandDazu("Zuviel.jpg"));
  EXPECT_EQ(LetzterGegenstand, 50);
  EXPECT_EQ(Gegenstaende, vorher);
  EXPECT_TRUE(GegenstandWeg("D50.jpg"));
  EXPECT_TRUE(GegenstandDazu("Zuviel.jpg"));
  EXPECT_EQ(Gegenstaende[50], "C:\\Spiel\\items\\Zuviel.jpg");

  // A count beyond the table (a doctored save) is never used as an index.
  LetzterGegenstand = 4000;
  EXPECT_FALSE(GegenstandDazu("Noch.jpg"));
  EXPECT_TRUE(GegenstandWeg("D0.jpg"));
  EXPECT_EQ(LetzterGegenstand, 49);
}

TEST(SpielErgebnis, TruthValues) {
  EXPECT_EQ(Ergebnis().WahrheitOderNichts(), std::optional<bool>(false));
  EXPECT_TRUE(Ergebnis(true).AlsWahrheit());
  EXPECT_FALSE(Ergebnis(false).AlsWahrheit());

  struct Fall { const char* text; std::optional<bool> wert; };
  const Fall faelle[] = {
      {"0", false},     {"1", true},        {"-3", true},       {" 0 ", false},
      {"0.0", false},   {"2.5", true},      {"TRUE", true},     {"true", true},
      {"False", false}, {"fAlSe", false},   {"", std::nullopt}, {"U", std::nullopt},
      {"W", std::nullopt}, {"ZAUBERTRANK", std::nullopt}, {"TRUE ", std::nullopt},
  };
  for (const auto& f : faelle) {
    Ergebnis e(f.text);
    EXPECT_EQ(e.WahrheitOderNichts(), f.wert) << '"' << f.text << '"';
    // Without a truth value the text counts as a loss instead of failing.
    EXPECT_EQ(e.AlsWahrheit(), f.wert.value_or(false)) << '"' << f.text << '"';
  }
}

TEST(SpielErgebnis, ComparisonAndText) {
  EXPECT_TRUE(Ergebnis() == "");
  EXPECT_FALSE(Ergebnis() == "U");
  EXPECT_TRUE(Ergebnis("U") == "U");
  EXPECT_FALSE(Ergebnis("u") == "U");
  EXPECT_FALSE(Ergebnis("") == "U");
  EXPECT_TRUE(Ergebnis("") == "");
  EXPECT_FALSE(Ergebnis(true) == "W");
  EXPECT_FALSE(Ergebnis(false) == "");
  EXPECT_FALSE(Ergebnis(false) == "U");
  EXPECT_TRUE(Ergebnis(true) == "-1");
  EXPECT_TRUE(Ergebnis(false) == "0");

  EXPECT_EQ(Ergebnis().AlsText(), "");
  EXPECT_EQ(Ergebnis("C:\\x\\saves\\a.xtc").AlsText(), "C:\\x\\saves\\a.xtc");
  EXPECT_EQ(Ergebnis(true).AlsText(), "True");

  SpielErgebnis = "Laden.lsd";
  EXPECT_TRUE(SpielErgebnis.IstText());
  SpielErgebnis = false;
  EXPECT_TRUE(SpielErgebnis.IstWahrheit());
  SpielErgebnis = Ergebnis();
  EXPECT_TRUE(SpielErgebnis.IstNichts());
}

TEST(Spielstand0, FreshProcessValues) {
  // Counters whose empty value is -1 start there (tests above restore them).
  EXPECT_EQ(LetzterGegenstand, -1);
  EXPECT_EQ(HotspotMax, -1);
  EXPECT_EQ(GewaehlterGegenstand, -1);
  EXPECT_EQ(CursorModus, -1);
  EXPECT_EQ(StartSkript.Letzter, -1);
  EXPECT_EQ(Skript().Letzter, -1);
  EXPECT_FLOAT_EQ(PiWert, 3.1415927f);
}

}  // namespace
