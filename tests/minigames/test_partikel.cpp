#include <gtest/gtest.h>

#include "minigames/partikel/partikel.h"
#include "runtime/system.h"

namespace {

struct Feld {
  explicit Feld(PartikelPool::Art art) : pool(art), bild(20, 10) {
    bild.SetAutoRedraw(true);
    bild.BackColor = rt::RGB(1, 2, 3);
    bild.Cls();
    pool.FeldDC = &bild;
    pool.Feld = &bild;
    pool.FeldBreite = 20;
    pool.FeldHoehe = 10;
    pool.Leeren();
  }
  ::Partikel& Setze(int i, float x, float y, float vx = 0, float vy = 0, int16_t leben = 3) {
    ::Partikel& p = pool.Partikel[size_t(i)];
    p = ::Partikel{x, y, vx, vy, -1, rt::RGB(255, 255, 255), leben, -1};
    if (i > pool.PartikelMax) pool.PartikelMax = i;
    return p;
  }
  int Weisse() const {
    int n = 0;
    for (rt::Color c : bild.ImagePixels()) n += c == rt::RGB(255, 255, 255);
    return n;
  }
  PartikelPool pool;
  rt::Surface bild;
};

TEST(Partikel, JumpPoolRoundsToNearestAndDrawsOnlyInsideTheView) {
  Feld f(PartikelPool::Art::Jump);
  f.Setze(0, 0.4f, 0);
  f.Setze(1, 20 - 0.7f, 1);
  f.Setze(2, -0.4f, 2);
  f.Setze(3, 2.5f, 3);   // ties to even: column 2
  f.Setze(4, 3.5f, 4);   // column 4
  f.pool.BewegPartikel2();
  EXPECT_EQ(f.bild.Point(0, 0), rt::RGB(255, 255, 255));
  EXPECT_EQ(f.bild.Point(2, 3), rt::RGB(255, 255, 255));
  EXPECT_EQ(f.bild.Point(4, 4), rt::RGB(255, 255, 255));
  EXPECT_EQ(f.Weisse(), 3);

  // Every particle ages, drawn or not; the erase pass leaves the view as it was.
  f.pool.BewegPartikel1();
  EXPECT_EQ(f.Weisse(), 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(f.pool.Partikel[size_t(i)].Leben, 2);
}

TEST(Partikel, OverlappingParticlesRestoreInReverseOrderAndSlotsAreFreed) {
  Feld f(PartikelPool::Art::Jump);
  f.Setze(0, 5, 5, 0, 0, 0).Farbe = rt::RGB(9, 9, 9);
  f.Setze(1, 5, 5, 0, 0, 1);
  f.pool.BewegPartikel2();
  EXPECT_EQ(f.bild.Point(5, 5), rt::RGB(255, 255, 255));
  f.pool.BewegPartikel1();
  EXPECT_EQ(f.bild.Point(5, 5), rt::RGB(1, 2, 3));
  EXPECT_FALSE(f.pool.Partikel[0].Lebt);
  EXPECT_EQ(f.pool.PartikelFrei, 0);
  EXPECT_EQ(f.pool.PartikelMax, 1);
  f.pool.BewegPartikel2();
  f.pool.BewegPartikel1();
  EXPECT_EQ(f.pool.PartikelMax, -1);
}

TEST(Partikel, SparksAndBlocks) {
  rt::Randomize(7);
  Feld f(PartikelPool::Art::Jump);
  f.pool.Addpartikel(15, 3, 4, 11, 4, 0);
  EXPECT_EQ(f.pool.PartikelMax, 14);
  EXPECT_EQ(f.pool.PartikelFrei, 15);
  for (int i = 0; i < 15; ++i) {
    const ::Partikel& p = f.pool.Partikel[size_t(i)];
    EXPECT_EQ(p.Y, 4);
    EXPECT_GE(p.X, 3);
    EXPECT_LT(p.X, 11);
    EXPECT_GE(p.Leben, 2);
    EXPECT_LE(p.Leben, 11);
    EXPECT_EQ(p.Farbe & 0xFF, 255);
    EXPECT_GE((p.Farbe >> 8) & 0xFF, 128);
    EXPECT_GE(p.VX, -3);
    EXPECT_LE(p.VX, 2.5);
  }

  // A block of 36 pixels from the centre, column by column, all with one speed.
  f.pool.Leeren();
  f.pool.Addpartikel(1, 0, 0, 9, 9, -1);  // CLng(9) \ 2 = 4: corner (2, 2)
  EXPECT_EQ(f.pool.PartikelMax, 35);
  EXPECT_EQ(f.pool.Partikel[0].X, 2);
  EXPECT_EQ(f.pool.Partikel[0].Y, 2);
  EXPECT_EQ(f.pool.Partikel[1].Y, 3);
  EXPECT_EQ(f.pool.Partikel[6].X, 3);
  EXPECT_EQ(f.pool.Partikel[35].X, 7);
  EXPECT_EQ(f.pool.Partikel[35].VX, f.pool.Partikel[0].VX);
  EXPECT_EQ(f.pool.Partikel[35].Farbe, rt::RGB(255, 0, 0));
}

TEST(Partikel, AFullPoolMakesNothingUntilASlotFrees) {
  Feld f(PartikelPool::Art::Jump);
  for (auto& p : f.pool.Partikel) p.Lebt = -1;
  f.pool.PartikelMax = 1000;
  f.pool.PartikelFrei = 1001;
  f.pool.Addpartikel(5, 0, 0, 5, 5, 0);
  f.pool.Addpartikel(1, 0, 0, 5, 5, 1);
  EXPECT_EQ(f.pool.PartikelFrei, 1001);
  f.pool.Partikel[500].Leben = 0;
  f.pool.Partikel[500].AlteFarbe = -1;
  for (auto& p : f.pool.Partikel) p.Leben = std::max<int16_t>(p.Leben, 1);
  f.pool.Partikel[500].Leben = 0;
  f.pool.BewegPartikel1();
  EXPECT_EQ(f.pool.PartikelFrei, 500);
  f.pool.Addpartikel(3, 0, 0, 5, 5, 0);
  EXPECT_EQ(f.pool.PartikelFrei, 501);
}

TEST(Partikel, FlyingHeadsPoolRoundsDownAndKeepsParticlesThatLeft) {
  Feld f(PartikelPool::Art::Wumpel);
  f.Setze(0, 10.9f, 1);
  f.Setze(1, 19.5f, 2, 1, 0, 0);  // leaves at the right edge on its first move
  f.pool.BewegPartikel2();
  EXPECT_EQ(f.bild.Point(10, 1), rt::RGB(255, 255, 255));
  EXPECT_EQ(f.Weisse(), 1);
  for (int n = 0; n < 20; ++n) {
    f.pool.BewegPartikel1();
    f.pool.BewegPartikel2();
  }
  // Outside the image nothing was saved, so the particle never ages and keeps its slot.
  EXPECT_TRUE(f.pool.Partikel[1].Lebt);
  EXPECT_EQ(f.pool.Partikel[1].Leben, 0);
  EXPECT_GE(f.pool.PartikelMax, 1);
  EXPECT_FALSE(f.pool.Partikel[0].Lebt);
  EXPECT_EQ(f.Weisse(), 0);
}

TEST(Partikel, FarOffCoordinatesMakeParticlesThatAreNeverDrawn) {
  // Far from the origin adding 1 leaves a coordinate as it is: a pixel loop of such a block
  // that stepped by adding 1 would never end.
  for (auto art : {PartikelPool::Art::Jump, PartikelPool::Art::Wumpel}) {
    Feld f(art);
    f.pool.Addpartikel(1, 1e30f, 1e30f, 1e30f, 1e30f, 1);
    EXPECT_EQ(f.pool.PartikelMax, 35);
    f.pool.Addpartikel(3, -1e30f, 0, 1e30f, 5, 0);
    EXPECT_EQ(f.pool.PartikelMax, 38);
    f.pool.BewegPartikel2();
    f.pool.BewegPartikel1();
    for (rt::Color c : f.bild.ImagePixels()) ASSERT_EQ(c, rt::RGB(1, 2, 3));
  }
}

}  // namespace
