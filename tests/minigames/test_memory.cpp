// Memory: the computer's memory and choice, the fly-away, and whole games against a test player
// who knows where every card lies.
#include <algorithm>
#include <utility>

#include "denkspiel_test.h"
#include "minigames/memory/memory.h"

namespace {

using denkspiel_test::Umgebung;

class MemoryTest : public Umgebung {
 protected:
  TMemory& m = Memory();

  // The window loaded with its design layout, the game itself held back.
  void Geladen() {
    m.Show();
    m.Timer1.SetEnabled(false);
    m.Init();
  }

  void TearDown() override {
    if (m.Loaded()) m.Unload();
    Umgebung::TearDown();
  }

  bool Liegt(int karte) const { return m.Image1[karte].Enabled(); }
  int Partner(int karte) const {
    for (int i = 0; i < 16; ++i)
      if (i != karte && m.Karten[i] == m.Karten[karte]) return i;
    return -1;
  }
  bool Erinnert(int karte, int abSlot = 0) const {
    return std::find(m.Intelligenz.begin() + abSlot, m.Intelligenz.end(), karte) != m.Intelligenz.end();
  }

  // Two cards of one pair still on the table.
  std::pair<int, int> Paar() const {
    for (int i = 0; i < 16; ++i)
      if (Liegt(i)) return {i, Partner(i)};
    return {-1, -1};
  }
  // Two cards of different pairs, where possible ones whose partners the computer remembers
  // (and will keep remembering after this miss), so that it finds pairs.
  std::pair<int, int> Fehlgriff() const {
    std::vector<int> karten;
    for (int i = 0; i < 16; ++i)
      if (Liegt(i)) karten.push_back(i);
    std::stable_partition(karten.begin(), karten.end(),
                          [this](int k) { return Erinnert(Partner(k), 2); });
    for (int a : karten)
      for (int b : karten)
        if (m.Karten[a] != m.Karten[b]) return {a, b};
    return Paar();  // one pair left: there is no missing it
  }

  // The test player: on each of its turns it first clicks a removed card (if any), then the
  // first card, the first card again, and the second; all but the first and the second must be
  // ignored. While the game is not waiting for it, it clicks cards that must be ignored too.
  std::vector<int> plan;
  int streuKlick = 0;
  void Spiele(std::function<std::pair<int, int>()> wahl) {
    plan.clear();
    zug = [this, wahl] {
      if (!m.Loaded()) return;
      if (!m.WartetAufKlick) {
        m.Image1_Click(streuKlick++ % 16);
        return;
      }
      if (plan.empty()) {
        const auto [a, b] = wahl();
        for (int i = 0; i < 16; ++i)
          if (!Liegt(i)) {
            plan.push_back(i);
            break;
          }
        plan.insert(plan.end(), {a, a, b});
      }
      Klicke(m, m.Image1[plan.front()]);
      plan.erase(plan.begin());
    };
  }
};

TEST_F(MemoryTest, ComputerPlaysTheLatestRememberedPairAndNeverARemovedCard) {
  Geladen();
  m.Karten = {0, 1, 1, 2, 0, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 2};
  // Slots a..f = 0, 1, 2, 3, 4, 6: a and e (0 and 4) are a pair, so are b and c (1 and 2).
  m.Intelligenz = {0, 1, 2, 3, 4, 6};
  int32_t erste, zweite;
  m.ComputerWahl(erste, zweite);
  EXPECT_EQ(std::make_pair(erste, zweite), std::make_pair(4, 0));

  // Once e is off the table the pair in b and c is the one left.
  m.Image1[4].SetEnabled(false);
  m.ComputerWahl(erste, zweite);
  EXPECT_EQ(std::make_pair(erste, zweite), std::make_pair(2, 1));

  // Only 3 and 15 (pair 2) and 9 and 10 (pair 5) lie on the table; the memory still holds
  // removed cards and 15. Whatever the draws, no removed card is turned, and a first card whose
  // partner is remembered gets it.
  for (int i = 0; i < 16; ++i) m.Image1[i].SetEnabled(i == 3 || i == 15 || i == 9 || i == 10);
  m.Intelligenz = {0, 4, 1, 2, 15, 13};
  for (int n = 0; n < 200; ++n) {
    m.ComputerWahl(erste, zweite);
    ASSERT_TRUE(Liegt(erste) && Liegt(zweite) && erste != zweite) << erste << " " << zweite;
    if (erste == 3) {
      EXPECT_EQ(zweite, 15);
    }
  }
}

TEST_F(MemoryTest, MemoryKeepsTheLastThreeMissedPairs) {
  Geladen();
  EXPECT_TRUE(std::all_of(m.Intelligenz.begin(), m.Intelligenz.end(), [](int32_t c) { return c == -1; }));
  m.AddIntelligenz(1, 2);
  EXPECT_EQ(m.Intelligenz, (std::array<int32_t, 6>{-1, -1, -1, -1, 1, 2}));
  m.AddIntelligenz(3, 4);
  m.AddIntelligenz(5, 6);
  EXPECT_EQ(m.Intelligenz, (std::array<int32_t, 6>{1, 2, 3, 4, 5, 6}));
  m.AddIntelligenz(7, 8);
  EXPECT_EQ(m.Intelligenz, (std::array<int32_t, 6>{3, 4, 5, 6, 7, 8}));
}

TEST_F(MemoryTest, DealShufflesEightPairsFaceDown) {
  Geladen();
  std::array<int, 8> anzahl{};
  for (int32_t k : m.Karten) anzahl[size_t(k)] += 1;
  EXPECT_EQ(anzahl, (std::array<int, 8>{2, 2, 2, 2, 2, 2, 2, 2}));
  const auto erste = m.Karten;
  m.Init();
  EXPECT_NE(m.Karten, erste);
  EXPECT_EQ(m.Image1[5].Picture, m.Image1[11].Picture);  // the back, "m9.jpg"
}

TEST_F(MemoryTest, FoundPairsFlyInOneSecondToTheFindersRow) {
  Geladen();
  m.SpielLaeuft = true;
  const uint64_t start = rt::timeGetTime();
  m.KartenWeg(0, 5, 0);
  EXPECT_EQ(rt::timeGetTime() - start, 1000u);
  for (int k : {0, 5}) {
    EXPECT_EQ(m.Image1[k].Left(), 41);
    EXPECT_EQ(m.Image1[k].Top(), 416);
    EXPECT_EQ(m.Image1[k].Width(), 16);
    EXPECT_EQ(m.Image1[k].Height(), 16);
    EXPECT_FALSE(m.Image1[k].Enabled());
  }
  EXPECT_EQ(m.Punkte[0], 1);

  // The computer's third pair; halfway the cards are halfway there at half their size.
  m.Punkte[1] = 2;
  int halbX = -1, halbGroesse = -1;
  const uint64_t mitte = rt::timeGetTime() + 500;
  zug = [&] {
    if (halbX < 0 && rt::timeGetTime() >= mitte) halbX = m.Image1[15].Left(), halbGroesse = m.Image1[15].Width();
  };
  m.KartenWeg(15, 12, 1);
  EXPECT_EQ(m.Image1[15].Left(), 89);
  EXPECT_EQ(m.Image1[12].Top(), 440);
  EXPECT_EQ(m.Punkte[1], 3);
  EXPECT_NEAR(halbX, (312 + 89) / 2, 15);
  EXPECT_NEAR(halbGroesse, 56, 6);

  // A closed window stops the flight at once; the pair still lands and counts.
  m.SpielLaeuft = false;
  const uint64_t vorher = rt::timeGetTime();
  m.KartenWeg(1, 2, 0);
  EXPECT_EQ(rt::timeGetTime(), vorher);
  EXPECT_EQ(m.Image1[2].Left(), 65);
  EXPECT_EQ(m.Punkte[0], 2);
}

TEST_F(MemoryTest, PlayerWhoAlwaysFindsAPairWinsEightToNothing) {
  Spiele([this] { return Paar(); });
  EXPECT_TRUE(StarteMinispiel("MEMORY,KARTEN"));
  EXPECT_TRUE(MerkerTesten("KARTEN"));
  EXPECT_EQ(m.Punkte, (std::array<int32_t, 2>{8, 0}));
  EXPECT_FALSE(m.Loaded());
  // Each pair lies as one 16 by 16 picture in the player's row, 24 pixels apart.
  std::vector<int> links;
  for (const auto& karte : m.Image1) {
    EXPECT_EQ(karte.Top(), 416);
    EXPECT_EQ(karte.Width(), 16);
    links.push_back(karte.Left());
  }
  std::sort(links.begin(), links.end());
  for (int k = 0; k < 8; ++k) EXPECT_EQ(links[size_t(2 * k)], 41 + 24 * k);
  EXPECT_TRUE(meldungen.empty());
}

TEST_F(MemoryTest, PlayerWhoNeverFindsAPairLosesToTheRememberingComputer) {
  MerkerSetzen("KARTEN");
  Spiele([this] { return Fehlgriff(); });
  EXPECT_FALSE(StarteMinispiel("MEMORY,KARTEN"));
  EXPECT_FALSE(MerkerTesten("KARTEN"));
  EXPECT_EQ(SpielErgebnis, "L");
  EXPECT_EQ(m.Punkte, (std::array<int32_t, 2>{0, 8}));
  for (const auto& karte : m.Image1) EXPECT_EQ(karte.Top(), 440);
}

TEST_F(MemoryTest, DrawIsAnnouncedAndDealtAnew) {
  int spiele = 0;
  std::array<int32_t, 16> ersteVerteilung{};
  auto wahl = [&]() -> std::pair<int, int> {
    if (m.Punkte == std::array<int32_t, 2>{0, 0} && m.Intelligenz[5] == -1 && plan.empty()) {
      // The first turn of a deal: a fresh memory.
      EXPECT_TRUE(std::all_of(m.Intelligenz.begin(), m.Intelligenz.end(), [](int32_t c) { return c == -1; }));
      if (++spiele == 1) ersteVerteilung = m.Karten;
    }
    if (spiele == 1 && m.Punkte[0] >= 4) return Fehlgriff();
    return Paar();
  };
  Spiele(wahl);
  EXPECT_TRUE(StarteMinispiel("memory , NOCHMAL"));
  EXPECT_EQ(spiele, 2);
  EXPECT_EQ(meldungen, std::vector<std::string>{"Unentschieden! N\xE4" "chste Runde!"});
  EXPECT_NE(m.Karten, ersteVerteilung);
  EXPECT_TRUE(MerkerTesten("NOCHMAL"));
}

TEST_F(MemoryTest, ClosingTheWindowLosesExceptDuringTheLastFlight) {
  // Closed while it waits for the second turn's cards: the game stops, the outcome stays "L".
  Spiele([this] { return Paar(); });
  auto spielen = zug;
  zug = [&] {
    if (m.Loaded() && m.Punkte[0] == 1 && m.WartetAufKlick) rt::PostClose(m);
    else spielen();
  };
  MerkerSetzen("K");
  EXPECT_FALSE(StarteMinispiel("MEMORY,K"));
  EXPECT_FALSE(MerkerTesten("K"));
  EXPECT_EQ(m.Punkte[0], 1);

  // Closed while the eighth pair flies: the pair counts and the win stands.
  plan.clear();
  zug = [&] {
    const bool alleWeg = std::none_of(std::begin(m.Image1), std::end(m.Image1),
                                      [](const rt::ImageBox& k) { return k.Enabled(); });
    if (m.Loaded() && m.Punkte[0] == 7 && alleWeg) rt::PostClose(m);
    else spielen();
  };
  EXPECT_TRUE(StarteMinispiel("MEMORY,K"));
  EXPECT_EQ(m.Punkte[0], 8);
  EXPECT_EQ(SpielErgebnis, "W");
}

}  // namespace
