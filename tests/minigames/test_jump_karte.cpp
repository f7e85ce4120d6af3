// The jump-and-run game's sheet, tile map, wall probe and scrolling view.
#include <gtest/gtest.h>

#include <filesystem>

#include "jump_test.h"

namespace jumptest {
namespace {

using Karte = Spiel;

TEST_F(Karte, LevelRowsGiveTheTileMapAndEverythingOutsideReadsEmpty) {
  EXPECT_EQ(j->Karte[173][6], 7);
  EXPECT_EQ(j->Karte[173][7], 8);
  EXPECT_EQ(j->Karte[173][8], 11);
  EXPECT_EQ(j->Karte[0][8], 10);
  EXPECT_EQ(j->Karte[22][6], 5);
  for (int r = 0; r < 9; ++r) EXPECT_EQ(j->Karte[174][r], 0) << r;
  for (int r = -1; r <= 9; ++r) {
    EXPECT_EQ(j->Kachel(-1, r), 0);
    EXPECT_EQ(j->Kachel(175, r), 0);
  }
  EXPECT_EQ(j->Kachel(0, 9), 0);
  EXPECT_EQ(j->Kachel(0, -1), 0);
  EXPECT_EQ(j->Kachel(0, 8), 10);
}

TEST_F(Karte, WallProbeAtTheLevelEdgesAndItsThresholds) {
  int16_t t = 5;
  // Above the map nothing is probed: only the edges count.
  j->CheckLinksundRechts(8300, -120, 5, 48, 3, t);
  EXPECT_EQ(t, -1);
  j->CheckLinksundRechts(8299, -120, 5, 48, 3, t);
  EXPECT_EQ(t, 0);
  j->CheckLinksundRechts(2, -120, -3, 48, 3, t);
  EXPECT_EQ(t, -1);

  // One solid tile in row 0 of an empty column 100, met from the left by a body moving right.
  for (int r = 0; r < 9; ++r) j->Karte[100][r] = 0;
  j->Karte[100][0] = 11;
  const float x = 100 * 48 - 48 - 2;  // the right edge reaches column 100 with VX 3
  auto treffer = [&](float y, int proben, float vx = 3) {
    int16_t h = 0;
    j->CheckLinksundRechts(x, y, vx, 48, proben, h);
    return h != 0;
  };
  EXPECT_TRUE(treffer(-116, 3));   // bottom probe, row CLng(-21) \ 48 = 0
  EXPECT_FALSE(treffer(-117, 3));  // no probe at all
  EXPECT_FALSE(treffer(-116, 2));  // the bottom probe needs three
  EXPECT_TRUE(treffer(-93, 2));    // middle probe
  EXPECT_FALSE(treffer(-94, 2));
  EXPECT_FALSE(treffer(-93, 1));
  EXPECT_TRUE(treffer(-46, 1));    // top probe, 46 pixels above the map still reads row 0
  EXPECT_FALSE(treffer(-47, 1));
  EXPECT_TRUE(treffer(-50, 3));    // bottom and middle both in row 0
  EXPECT_FALSE(treffer(48, 3));    // all three rows below the tile
  // Moving right probes the right edge; standing still or moving left, the left edge.
  EXPECT_FALSE(treffer(0, 1, 0));
  j->CheckLinksundRechts(100 * 48 + 10, 0, 0, 48, 1, t);
  EXPECT_EQ(t, -1);
}

TEST_F(Karte, FirstViewShowsTheSkyAndTheFirstThirteenColumns) {
  EXPECT_EQ(Abweichung(*j), "");
  EXPECT_EQ(j->Picture1.ScaleWidth(), 640);
  EXPECT_EQ(j->Picture1.ScaleHeight(), 2000);
  // The sheet holds every picture at its place, the masks as written.
  EXPECT_EQ(j->Picture1.Point(384 + 5, 432 + 7), Kachel(9, 5, 7));
  EXPECT_EQ(j->Picture1.Point(3 * 48 + 10, 480 + 10), kSpieler);
  EXPECT_EQ(j->Picture1.Point(3 * 48 + 10, 576 + 10), 0);
  EXPECT_EQ(j->Picture1.Point(3 * 48 + 1, 576 + 1), rt::vbWhite);
  EXPECT_EQ(j->Picture1.Point(48 + 10, 768 + 10), Gegnerfarbe(1, 1, false));
  EXPECT_EQ(j->Picture1.Point(96 + 48 + 10, 1008 + 10), Gegnerfarbe(3, 1, true));
  EXPECT_EQ(j->Picture1.Point(96 + 10, 1008 + 26 + 10), 0);
}

TEST_F(Karte, FullRedrawSnapsToATileEdge) {
  j->ScrollX = 100;
  j->Hintergrundaufbau();
  EXPECT_EQ(j->ScrollX, 96);
  // Columns 2 to 14 over the background as it starts (the game redraws only at ScrollX 0).
  EXPECT_EQ(Sicht(0, 0), Himmel(0, 0));
  EXPECT_EQ(Sicht(0, 6 * 48 + 3), Kachel(11, 0, 3));       // column 2, row 6
  EXPECT_EQ(Sicht(48, 6 * 48 + 3), Himmel(48, 6 * 48 + 3));  // column 3 is empty there
  EXPECT_EQ(Sicht(0, 7 * 48), Kachel(10, 0, 0));           // column 2, row 7
  EXPECT_EQ(Sicht(623, 8 * 48 + 47), Kachel(10, 47, 47));  // column 14, row 8
}

TEST_F(Karte, ScrollingSplitsAtTileEdgesAndStopsAtTheEnds) {
  struct Fall {
    float von;
    int weite;
    float bis;
  };
  const Fall faelle[] = {{100, -10, 90}, {5, -10, 0},     {0, -10, 0},       {90, 10, 100},
                         {90, 6, 96},    {7650, 80, 7680}, {7700, 30, 7700}, {7700, 20, 7720},
                         {7727, 1, 7727}, {300, 100, 400}, {400, -100, 300}};
  for (const Fall& f : faelle) {
    j->ScrollX = f.von;
    for (int y = 0; y < 432; ++y)
      for (int x = 0; x < 624; ++x) j->Feld.PSet(float(x), float(y), Erwartet(*j, x, y));
    j->Scroll(f.weite);
    EXPECT_EQ(j->ScrollX, f.bis) << f.von << " by " << f.weite;
    EXPECT_EQ(Abweichung(*j), "") << f.von << " by " << f.weite;
  }
}

TEST_F(Karte, ScrollingThereAndBackShowsTheSamePixels) {
  NurGegner({});
  const auto vorher = j->Feld.ImagePixels();
  for (int i = 0; i < 40; ++i) j->Scroll(7);
  EXPECT_EQ(j->ScrollX, 280);
  for (int i = 0; i < 56; ++i) j->Scroll(-5);
  EXPECT_EQ(j->ScrollX, 0);
  EXPECT_TRUE(j->Feld.ImagePixels() == vorher);
}

TEST_F(Karte, TheCameraKeepsThePlayerInItsWindowAndTheDoorInView) {
  NurGegner({});
  // Flat ground up to the door, walked at 3 pixels a frame: the view stops at 7725.
  for (int c = 160; c <= 172; ++c)
    for (int r = 0; r < 9; ++r) j->Karte[size_t(c)][size_t(r)] = r == 8 ? 10 : 0;
  Stelle(7900, 288);
  j->ScrollX = 7650;
  Halte({rt::vbKeyRight});
  Bilder(200);
  EXPECT_EQ(j->SpielerX, 8304);
  EXPECT_EQ(j->ScrollX, 7725);

  // Walking left (before the goal: afterwards the arrow keys do nothing), the view follows once the player is 150 pixels from its left edge.
  j->ZielZaehler = 0;
  Stelle(600, 288);
  j->ScrollX = 432;
  j->Hintergrundaufbau();
  Halte({rt::vbKeyLeft});
  Bilder(6);
  EXPECT_EQ(j->ScrollX, 432);
  Bilder(4);
  EXPECT_EQ(j->SpielerX, 570);
  EXPECT_EQ(j->ScrollX, 420);
}

TEST_F(Karte, AMissingSheetPictureLeavesItsPlaceBlackAndTheGameGoesOn) {
  const std::string ordner = testing_support::MakeScratchFolder("jump-fehlt");
  ASSERT_FALSE(ordner.empty());
  SchreibeBlatt(ordner);
  std::filesystem::remove(ordner + "/j10.bmp");
  std::filesystem::remove(ordner + "/h1m.bmp");
  std::filesystem::remove(ordner + "/g21.bmp");
  DatenPfad = rt::WinPath(ordner) + "\\";
  TJump k;
  k.InitializeComponent();
  k.Einrichten();
  EXPECT_EQ(k.Picture1.Point(9 * 48 + 20, 432 + 20), 0);
  EXPECT_EQ(k.Picture1.Point(10 * 48 - 1, 432 + 47), 0);
  EXPECT_EQ(k.Picture1.Point(10, 576 + 1), 0);
  EXPECT_EQ(k.Picture1.Point(10, 768 + 10), 0);
  EXPECT_EQ(k.Picture1.Point(8 * 48 + 20, 432 + 20), Kachel(9, 20, 20));
  for (int i = 0; i < 60; ++i) ASSERT_TRUE(k.Bild());
  EXPECT_EQ(k.SpielerY, 240);  // landed on the first ground, now drawn black
  testing_support::RemoveScratchFolder(ordner);
}

}  // namespace
}  // namespace jumptest
