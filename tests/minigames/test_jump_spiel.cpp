// The jump-and-run game's enemies, the player's movement and contacts, the dying, the goal and
// the window's outcome, frame by frame with scripted keys on the virtual clock.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/minispiel.h"
#include "engine/module2.h"
#include "jump_test.h"
#include "tests/jump_weg.h"

namespace jumptest {
namespace {

using Gegner = Spiel;
using Spieler = Spiel;
using Ende = Spiel;

// Level x of the view's left edge and a free stretch of the level for the tests: columns 100 to
// 112 with ground in row 8 only.
void FreieStrecke(TJump& j) {
  for (int c = 100; c <= 112; ++c)
    for (int r = 0; r < 9; ++r) j.Karte[size_t(c)][size_t(r)] = r == 8 ? 10 : 0;
}

TEST_F(Gegner, APatrolAtItsBoundTurnsInItsFirstFrame) {
  j->GegnerBewegen();
  const ::Gegner& g = j->Gegner[6];
  EXPECT_EQ(g.X, -5);
  EXPECT_EQ(g.VX, 5);
  EXPECT_EQ(g.BlattX, 96);
  j->GegnerBewegen();
  EXPECT_EQ(g.X, 0);
  EXPECT_EQ(g.BlattX, 96);
}

TEST_F(Gegner, EnemiesSharingASaveUnderSlotAreNeverInViewTogether) {
  for (int i = 0; i < 6000; ++i) {
    j->GegnerBewegen();
    for (auto [a, b] : {std::pair{2, 9}, std::pair{8, 10}}) {
      ASSERT_EQ(j->Gegner[size_t(a)].PufferX, j->Gegner[size_t(b)].PufferX);
      ASSERT_EQ(j->Gegner[size_t(a)].PufferY, j->Gegner[size_t(b)].PufferY);
      ASSERT_GT(std::fabs(j->Gegner[size_t(a)].X - j->Gegner[size_t(b)].X), 624 + 48) << i;
    }
  }
}

TEST_F(Gegner, AWalkerTurnsAtAWallAndFacesItsNewDirection) {
  FreieStrecke(*j);
  NurGegner({0});
  ::Gegner& g = j->Gegner[0];
  j->Karte[105][7] = 11;  // a wall in the walker's top row
  g.X = 104 * 48 - 1;
  g.Y = 336;
  g.VX = 3;
  g.BlattX = 96;
  j->GegnerBewegen();
  EXPECT_EQ(g.VX, -3);
  EXPECT_EQ(g.BlattX, 0);  // from the new speed: facing left
  EXPECT_EQ(g.X, 104 * 48 - 1);
  // Walking left into the wall's other side it turns to face right.
  g.X = 106 * 48 + 1;
  g.VX = -3;
  g.BlattX = 0;
  j->GegnerBewegen();
  EXPECT_EQ(g.VX, 3);
  EXPECT_EQ(g.BlattX, 96);
  // A gap in the ground does not stop it.
  j->Karte[107][8] = 0;
  g.X = 107 * 48 - 48;
  for (int i = 0; i < 20; ++i) j->GegnerBewegen();
  EXPECT_EQ(g.X, 107 * 48 - 48 + 60);
}

TEST_F(Gegner, TheBobbingEnemySinksToAPixelAndGrowsBack) {
  NurGegner({3});
  const ::Gegner& g = j->Gegner[3];
  int kleinste = 96;
  for (int i = 0; i < 300; ++i) {
    j->GegnerBewegen();
    const int hoehe = TJump::CLng(96.0 - g.Absenkung);
    if (i >= 140 && i <= 160) kleinste = std::min(kleinste, hoehe);
    if (i == 299) {
      EXPECT_GE(hoehe, 95);
    }
  }
  EXPECT_LE(kleinste, 2);
  // It faces the player: left while the player is left of it.
  EXPECT_EQ(g.BlattX, 0);
  j->SpielerX = 1920;
  j->GegnerBewegen();
  EXPECT_EQ(g.BlattX, 96);
}

TEST_F(Gegner, EnemiesPartlyInViewAreDrawnMaskedAndTakenOffCleanly) {
  FreieStrecke(*j);
  NurGegner({0, 3});
  j->ScrollX = 100 * 48;
  j->Hintergrundaufbau();
  const auto leer = j->Feld.ImagePixels();
  ::Gegner& a = j->Gegner[0];
  a.X = 100 * 48 - 40;  // only its right 8 columns are in view
  a.Y = 336;
  ::Gegner& b = j->Gegner[3];
  b.X = 100 * 48 + 200;
  b.Y = 300;
  b.Absenkung = 60;  // only its top 36 rows show
  j->GegnerZeichnen();
  EXPECT_TRUE(a.Sichtbar);
  EXPECT_EQ(Sicht(0, 340), Gegnerfarbe(0, 0, false));   // sheet column 40 of the box
  EXPECT_EQ(Sicht(3, 340), Gegnerfarbe(0, 0, false));
  EXPECT_EQ(Sicht(4, 340), leer[340 * 624 + 4]);         // transparent border
  EXPECT_EQ(Sicht(220, 300 + 35), Gegnerfarbe(1, 0, false));
  EXPECT_EQ(Sicht(220, 300 + 36), leer[336 * 624 + 220]);
  j->GegnerWegnehmen();
  EXPECT_TRUE(j->Feld.ImagePixels() == leer);
  // Out of view: not drawn, not taken off.
  a.X = 100 * 48 - 48;
  j->GegnerZeichnen();
  EXPECT_FALSE(a.Sichtbar);
}

TEST_F(Spieler, DropsInLandsWithAPopAndSettles) {
  NurGegner({});
  Bilder(1);
  // The first frame takes nothing off: no trace of the start above the view.
  EXPECT_EQ(j->SpielerY, -99.5f);
  int landung = 0;
  for (int i = 2; i <= 60 && !landung; ++i) {
    Bilder(1);
    if (j->Springen) landung = i;
  }
  EXPECT_EQ(landung, 37);
  EXPECT_EQ(j->SpielerX, 0);
  EXPECT_EQ(j->SpielerY, 240);
  Bilder(100);
  EXPECT_EQ(j->SpielerY, 240);
  EXPECT_NEAR(j->TempoY, -1.0 / 14, 0.01);
  EXPECT_EQ(j->SpielerBild, 0);
  // Down crouches.
  Halte({rt::vbKeyDown});
  Bilder(1);
  EXPECT_EQ(j->SpielerBild, 1);
}

TEST_F(Spieler, EachJumpNeedsAFreshPressAndRisesAHundredAndFifteenPixels) {
  FreieStrecke(*j);
  NurGegner({});
  Stelle(100 * 48 + 100, 288);
  j->ScrollX = 100 * 48;
  Bilder(3);
  Halte({rt::vbKeySpace});
  Bilder(1);
  EXPECT_EQ(j->TempoY, -11);
  EXPECT_EQ(j->SpielerBild, 0);  // the image follows in the next frame
  for (int i = 1; i <= 21; ++i) {
    Bilder(1);
    EXPECT_EQ(j->SpielerBild, j->TempoY < -1.5f ? 1 : 0) << i;
  }
  EXPECT_EQ(j->SpielerY, 288 - 115.5f);
  Bilder(1);
  EXPECT_EQ(j->SpielerY, 288 - 115.5f);
  // Landing with the space bar still held does not jump again.
  Bilder(40);
  EXPECT_EQ(j->SpielerY, 288);
  EXPECT_EQ(j->Springen, 1);
  LasseLos();
  Bilder(1);
  Halte({rt::vbKeySpace});
  Bilder(1);
  EXPECT_EQ(j->TempoY, -11);
  // A spray of 15 sparks along the feet.
  int funken = 0;
  for (const ::Partikel& p : j->Pool.Partikel) funken += p.Lebt != 0;
  EXPECT_GE(funken, 15);
}

TEST_F(Spieler, KeysWallsAndLedges) {
  FreieStrecke(*j);
  NurGegner({});
  j->ScrollX = 100 * 48;
  // Right and Left together on the ground: Left wins.
  Stelle(100 * 48 + 200, 288);
  Halte({rt::vbKeyRight, rt::vbKeyLeft});
  Bilder(1);
  EXPECT_EQ(j->TempoX, -3);
  // Running left into a wall puts the player on the tile edge.
  j->Karte[101][7] = 11;
  Stelle(101 * 48 + 52, 288);
  Halte({rt::vbKeyLeft});
  Bilder(1);
  EXPECT_EQ(j->SpielerX, 101 * 48 + 49);
  Bilder(1);
  EXPECT_EQ(j->SpielerX, 102 * 48);
  EXPECT_EQ(j->TempoX, 0);
  // Walking off a ledge: five frames of ground control, then none.
  j->Karte[101][7] = 0;
  for (int c = 104; c <= 112; ++c) j->Karte[size_t(c)][8] = 0;
  Stelle(103 * 48, 288);
  Halte({rt::vbKeyRight});
  int ohneBoden = 0;
  while (ohneBoden < 7) {
    Bilder(1);
    if (j->SpielerX > 104 * 48) ++ohneBoden;
    if (ohneBoden >= 1 && ohneBoden <= 5) {
      EXPECT_EQ(j->Springen, 1) << ohneBoden;
    }
  }
  EXPECT_EQ(j->Springen, 0);
  // In the air the arrow keys only nudge: 0.05 more per frame.
  const float tempo = j->TempoX;
  Bilder(1);
  EXPECT_NEAR(j->TempoX - tempo, 0.05, 1e-5);
}

TEST_F(Spieler, AStompAndATouchInOneFrame) {
  FreieStrecke(*j);
  NurGegner({0, 1});
  j->ScrollX = 100 * 48;
  // Falling onto enemy 1's top band while enemy 0 overlaps the body below its own band.
  ::Gegner& unten = j->Gegner[0];
  ::Gegner& oben = j->Gegner[1];
  Stelle(100 * 48 + 200, 100);
  j->Springen = 0;
  j->Bodenfrist = 0;
  j->TempoY = 4;
  oben.X = unten.X = 100 * 48 + 180;
  oben.VX = unten.VX = 0;
  oben.Y = 100 + 96 + 4.5f - 10;   // the feet land 10 pixels into the band
  unten.Y = 100 + 96 + 4.5f - 40;  // 40 pixels: below the band of 18
  j->SpielerFallen();
  // Touched by enemy 0 first, then enemy 1 is still stomped: it halves the touch's speed.
  EXPECT_EQ(oben.Lebt, 0);
  EXPECT_EQ(unten.Lebt, -1);
  EXPECT_EQ(j->Sterben, 1);
  EXPECT_EQ(j->TempoY, -2.5f);
  EXPECT_EQ(j->Springen, 1);
  EXPECT_EQ(j->Bodenfrist, 5);

  // The other way round: the stomp comes first and the touch sets its own speed.
  Stelle(100 * 48 + 200, 100);
  j->Sterben = 0;
  j->TempoY = 4;
  oben.Lebt = unten.Lebt = -1;
  std::swap(oben.Y, unten.Y);
  j->SpielerFallen();
  EXPECT_EQ(unten.Lebt, 0);
  EXPECT_EQ(oben.Lebt, -1);
  EXPECT_EQ(j->Sterben, 1);
  EXPECT_EQ(j->TempoY, -5);
}

TEST_F(Spieler, FeetAtTheTopStompEvenTheBobbingEnemy) {
  FreieStrecke(*j);
  NurGegner({3});
  ::Gegner& g = j->Gegner[3];
  g.X = 100 * 48;
  g.Y = 200;
  Stelle(100 * 48 + 10, 200 - 96 - 4.5f);
  j->Springen = 0;
  j->TempoY = 4;
  j->SpielerFallen();
  EXPECT_EQ(g.Lebt, 0);
  EXPECT_EQ(j->TempoY, -2.25f);
  // One pixel deeper with the boxes overlapping is a touch.
  g.Lebt = -1;
  Stelle(100 * 48 + 10, 200 - 96 - 3.5f);
  j->TempoY = 4;
  j->SpielerFallen();
  EXPECT_EQ(g.Lebt, -1);
  EXPECT_EQ(j->Sterben, 1);
}

TEST_F(Ende, APitEndsTheGameLost53FramesAfterTheBodyLeavesTheView) {
  FreieStrecke(*j);
  NurGegner({});
  for (int c = 105; c <= 107; ++c) j->Karte[size_t(c)][8] = 0;
  j->ScrollX = 100 * 48;
  j->Hintergrundaufbau();
  Stelle(105 * 48, 336);
  j->Springen = 0;
  j->Bodenfrist = 0;
  Bilder(1);
  EXPECT_EQ(j->Sterben, 2);  // the pit: the laugh in the same frame
  EXPECT_EQ(j->TempoY, -22);
  EXPECT_EQ(j->SpielerY, 336);
  const float scroll = j->ScrollX;
  int unten = 0;
  while (j->SpielEnde == 0) {
    ASSERT_TRUE(Bilder(1));
    if (j->SpielerY > 432) ++unten;
    ASSERT_LT(unten, 100);
  }
  EXPECT_EQ(unten, 53);
  EXPECT_EQ(j->Sterben, 55);
  EXPECT_EQ(j->SpielerY, 433);
  EXPECT_EQ(j->ScrollX, scroll);  // the camera does not follow the fall
  EXPECT_TRUE(SpielErgebnis.IstWahrheit());
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
  EXPECT_FALSE(Bilder(1));  // the next frame leaves the loop
}

TEST_F(Ende, EscGivesUpWithAJumpFromTheNextFrame) {
  NurGegner({});
  Bilder(40);
  Halte({rt::vbKeyEscape});
  Bilder(1);
  EXPECT_EQ(j->Sterben, 1);
  EXPECT_EQ(j->TempoY, -12);
  Bilder(1);
  EXPECT_EQ(j->Sterben, 2);
  const float x = j->SpielerX;
  Halte({rt::vbKeyEscape, rt::vbKeyRight});
  Bilder(30);
  EXPECT_EQ(j->SpielerX, x);  // only gravity moves the dying player
}

TEST_F(Ende, TheDoorWinsAfterFiveHundredFramesOfCheering) {
  NurGegner({});
  // In the air over the goal x it does not count.
  Stelle(8304, 150);
  j->Springen = 0;
  Bilder(1);
  EXPECT_EQ(j->ZielZaehler, 0);
  // Flat ground before the door; walking there the view stops with the door column in it.
  for (int c = 160; c <= 172; ++c)
    for (int r = 0; r < 9; ++r) j->Karte[size_t(c)][size_t(r)] = r == 8 ? 10 : 0;
  j->ScrollX = 7632;
  j->Hintergrundaufbau();
  Stelle(7632 + 250, 288);
  Halte({rt::vbKeyRight});
  while (j->ZielZaehler == 0) ASSERT_TRUE(Bilder(1));
  EXPECT_EQ(j->SpielerX, 8304);
  EXPECT_EQ(j->SpielerY, 288);
  EXPECT_EQ(j->ScrollX, 7725);
  const int sx = 8304 - 7725;
  EXPECT_EQ(Sicht(sx + 10, 240 + 12), Kachel(9, 10, 12));  // the marker above the head
  // Arrow keys do nothing now; the space bar still jumps.
  Halte({rt::vbKeyLeft});
  Bilder(12);
  EXPECT_EQ(j->SpielerX, 8304);
  EXPECT_EQ(j->ZielZaehler, 13);
  EXPECT_EQ(j->SpielerBild, 3);
  EXPECT_TRUE(SpielErgebnis.AlsWahrheit());
  Bilder(12);
  EXPECT_EQ(j->SpielerBild, 2);
  Halte({rt::vbKeySpace});
  Bilder(1);
  EXPECT_EQ(j->TempoY, -11);
  LasseLos();
  while (j->SpielEnde == 0) ASSERT_TRUE(Bilder(1));
  EXPECT_EQ(j->ZielZaehler, 501);
  EXPECT_EQ(Sicht(sx + 10, 240 + 12), Kachel(9, 10, 12));
  EXPECT_TRUE(SpielErgebnis.AlsWahrheit());
  EXPECT_FALSE(Bilder(1));
}

// Along the recorded way the player runs, jumps and stomps through the whole level to the door.
// Now and then everything movable is taken off the view as the next frame would: what stays must
// be the level alone, whatever overlapped (particles over sprites, enemies over the player).
TEST_F(Ende, TheWholeLevelToTheDoor) {
  const std::vector<JumpSchritt> weg = JumpWeg();
  ASSERT_FALSE(weg.empty());
  int bild = 0, sauber = 0;
  for (const JumpSchritt& s : weg) {
    std::vector<int> tasten;
    for (int t : {rt::vbKeyRight, rt::vbKeyLeft, rt::vbKeySpace})
      if (s.tasten & JumpTaste(t)) tasten.push_back(t);
    Halte(tasten);
    for (int i = 0; i < s.bilder; ++i) {
      ASSERT_TRUE(Bilder(1));
      ++bild;
      ASSERT_EQ(j->Sterben, 0) << "frame " << bild << " at x " << j->SpielerX;
      if (bild % 97 == 0 && j->ZielZaehler == 0) {
        j->Pool.BewegPartikel1();
        j->GegnerWegnehmen();
        j->SpielerWegnehmen();
        ASSERT_EQ(Abweichung(*j), "") << "frame " << bild;
        ++sauber;
      }
    }
  }
  EXPECT_GT(sauber, 10);
  EXPECT_EQ(j->ZielZaehler, 1);
  EXPECT_EQ(j->SpielerX, 8304);
  int gestampft = 0;
  for (const ::Gegner& g : j->Gegner) gestampft += g.Lebt == 0;
  EXPECT_GE(gestampft, 1);
  LasseLos();
  while (j->SpielEnde == 0) ASSERT_TRUE(Bilder(1));
  EXPECT_TRUE(SpielErgebnis.AlsWahrheit());
}

// ---- The window as the scripts show it ---------------------------------------------------------

class Fenster : public Spiel {
 protected:
  void SetUp() override {
    Spiel::SetUp();
    alt_ = MinispielFenster();
    MinispieleAnmelden();
    for (auto& m : Merker) m.clear();
  }
  void TearDown() override {
    MinispielFenster() = alt_;
    for (auto& m : Merker) m.clear();
    Spiel::TearDown();
  }
  Minispiele alt_;
};

TEST_F(Fenster, EscLosesTheGameAndClearsTheFlag) {
  MerkerSetzen("SPRUNG");
  rt::PostKey(Jump(), rt::vbKeyEscape, true);
  const uint64_t start = rt::timeGetTime();
  EXPECT_FALSE(StarteMinispiel("jump, sprung, x"));
  rt::PostKey(Jump(), rt::vbKeyEscape, false);
  rt::DoEvents();
  EXPECT_FALSE(MerkerTesten("SPRUNG"));
  EXPECT_FALSE(Jump().Loaded());
  EXPECT_FALSE(Jump().RM.Enabled());
  // Falling from the first frame at -12 takes about two seconds, and 53 frames more.
  const uint64_t dauer = rt::timeGetTime() - start;
  EXPECT_GT(dauer, 2000u);
  EXPECT_LT(dauer, 4000u);
  EXPECT_EQ(AktuelleMusik, DatenPfad + "jump.mid");
}

TEST_F(Fenster, AWindowClosedFromOutsideHandsBackALoss) {
  rt::Timer zu;
  zu.SetInterval(700);
  zu.Tick = [&] {
    zu.SetEnabled(false);
    Jump().Unload();
  };
  zu.SetEnabled(true);
  SpielErgebnis = "1";
  Jump().Show(rt::vbModal);
  EXPECT_FALSE(Jump().Loaded());
  EXPECT_TRUE(SpielErgebnis.IstWahrheit());
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
  EXPECT_EQ(Jump().SpielEnde, 1);
}

}  // namespace
}  // namespace jumptest
