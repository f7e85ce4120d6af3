// The flying-heads game on the virtual clock and a seeded generator: eased legs, presses that
// hit the top head strictly inside, the countdown, the last-second win and the winning trail.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/state.h"
#include "minigames/heads/wumpel.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "scratch.h"

namespace {

class WumpelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseVirtualClock();
    rt::Randomize(21);
    dir_ = testing_support::MakeScratchFolder("wumpel");
    ASSERT_FALSE(dir_.empty());
    altPfad_ = DatenPfad;
    DatenPfad = rt::WinPath(dir_) + "\\";
    Bild(640, 440, rt::RGB(10, 20, 30), "Wumpelraum.jpg");
    Bild(64, 48, 0, "Wumpel1.bmp", rt::RGB(0, 200, 0));
    Bild(64, 48, 0, "Wumpel2.bmp", rt::RGB(0, 0, 200));
  }
  void TearDown() override {
    TWumpel& f = Wumpel();
    f.NachFrame = nullptr;
    f.Unload();
    DatenPfad = altPfad_;
    testing_support::RemoveScratchFolder(dir_);
    rt::UseRealClock();
  }
  // A picture of one colour, with a block of another in its middle when given.
  void Bild(int w, int h, rt::Color farbe, const std::string& name, rt::Color mitte = -1) {
    rt::Picture p;
    p.width = w;
    p.height = h;
    p.pixels.assign(size_t(w) * h, farbe);
    if (mitte >= 0)
      for (int y = 8; y < h - 8; ++y)
        for (int x = 8; x < w - 8; ++x) p.pixels[size_t(y) * w + x] = mitte;
    ASSERT_TRUE(rt::SavePictureBmp(p, dir_ + "/" + name));
  }
  // The window loaded with its timers stopped, so the test runs the frames itself.
  TWumpel& VonHand() {
    TWumpel& f = Wumpel();
    f.Show();
    f.Timer1.SetEnabled(false);
    f.SpielAnfang();
    f.Timer2.SetEnabled(false);
    return f;
  }
  static void Druecke(TWumpel& f, int taste, float x, float y) {
    f.KlickTaste = int16_t(taste);
    f.KlickX = x;
    f.KlickY = y;
  }
  std::string dir_, altPfad_;
};

TEST_F(WumpelTest, HeadsFlyOnEasedLegsInsideTheField) {
  float start = 100, pos = 100, ziel = 300;
  int32_t rest = 50, schritte = 50;
  std::vector<float> wege;
  for (int n = 1; n < 50; ++n) {
    const float vorher = pos;
    BewegeAchse(start, rest, schritte, pos, ziel, 581);
    wege.push_back(pos - vorher);
    EXPECT_GT(pos, vorher);
    EXPECT_LT(pos, 300);
  }
  EXPECT_NEAR(wege.front(), 200 * std::cos(PiWert / 2 * 49 / 50), 1e-3);
  EXPECT_GT(wege.front(), 5 * wege.back());  // fast off the mark, slow at the target
  BewegeAchse(start, rest, schritte, pos, ziel, 581);
  EXPECT_EQ(pos, 300);
  EXPECT_EQ(start, 300);
  EXPECT_GE(rest, 40);
  EXPECT_LE(rest, 80);
  EXPECT_EQ(schritte, rest);
  EXPECT_EQ(ziel, std::round(ziel));
  EXPECT_GE(ziel, 0);
  EXPECT_LE(ziel, 581);

  TWumpel& f = VonHand();
  EXPECT_EQ(f.W, 645);
  EXPECT_EQ(f.H, 445);
  EXPECT_EQ(f.Feld.BackColor, 0);  // the head picture's corner
  for (const ::Flieger& k : f.Flieger) {
    EXPECT_TRUE(k.Lebt);
    EXPECT_GE(k.RestX, 40);
    EXPECT_LE(k.RestY, 100);
    EXPECT_EQ(k.X, std::round(k.X));
  }
  const int32_t bild0 = f.Flieger[0].BildNr;
  for (int n = 1; n <= 300; ++n) {
    f.SpielFrame();
    for (const ::Flieger& k : f.Flieger) {
      EXPECT_GE(k.X, 0);
      EXPECT_LE(k.X, f.W - f.w);
      EXPECT_GE(k.Y, 0);
      EXPECT_LE(k.Y, f.H - f.h);
    }
    EXPECT_EQ(f.Flieger[0].BildNr, (bild0 + n / 6) % 2) << n;  // every sixth frame
  }
  // Each head is drawn over the room: its frame's colour at its middle.
  const ::Flieger& k = f.Flieger[20];
  const rt::Color kopf = k.BildNr ? rt::RGB(0, 0, 200) : rt::RGB(0, 200, 0);
  EXPECT_EQ(f.Feld.Point(std::nearbyint(k.X) + 32, std::nearbyint(k.Y) + 24) & kopf, kopf);
}

TEST_F(WumpelTest, APressHitsTheTopHeadStrictlyInside) {
  TWumpel& f = VonHand();
  // The first frame only draws: a press throws its ten sparks and hits nothing.
  Druecke(f, 1, f.Flieger[0].X + 30, f.Flieger[0].Y + 20);
  f.SpielFrame();
  EXPECT_EQ(f.KoepfeUebrig, 21);
  EXPECT_EQ(f.Pool.PartikelMax, 9);
  EXPECT_EQ(f.KlickTaste, 0);

  for (int i = 0; i < 21; ++i) f.Flieger[size_t(i)].Lebt = i == 3 || i == 7 ? -1 : 0;
  f.KoepfeUebrig = 2;
  auto lege = [&] {
    f.Flieger[7].X = 100, f.Flieger[7].Y = 100;
    f.Flieger[3].X = 110, f.Flieger[3].Y = 100;
  };
  // On both heads: only the one drawn on top (the higher index) goes, in red blocks.
  lege();
  f.Pool.Leeren();
  Druecke(f, 1, 110, 120);
  f.SpielFrame();
  EXPECT_FALSE(f.Flieger[7].Lebt);
  EXPECT_TRUE(f.Flieger[3].Lebt);
  EXPECT_EQ(f.KoepfeUebrig, 1);
  EXPECT_EQ(f.Pool.PartikelMax, 10 + 6 * 36 - 1);
  EXPECT_EQ(f.Pool.Partikel[10].Farbe, rt::RGB(255, 0, 0));

  // On the left edge is not inside; neither is a right press anywhere (and it throws nothing).
  lege();
  Druecke(f, 1, 110, 120);
  f.SpielFrame();
  EXPECT_TRUE(f.Flieger[3].Lebt);
  lege();
  f.Pool.Leeren();
  Druecke(f, 2, 140, 120);
  f.SpielFrame();
  EXPECT_TRUE(f.Flieger[3].Lebt);
  EXPECT_EQ(f.Pool.PartikelMax, -1);
  EXPECT_EQ(f.KlickTaste, 0);
  lege();
  Druecke(f, 1, 110.5f, 147.5f);
  f.SpielFrame();
  EXPECT_FALSE(f.Flieger[3].Lebt);
  EXPECT_EQ(f.KoepfeUebrig, 0);

  // Presses arrive on the field in its inner pixels.
  rt::PostMouse(f, 1, rt::vbLeftButton, 52, 62);
  rt::DoEvents();
  EXPECT_EQ(f.KlickTaste, 1);
  EXPECT_EQ(f.KlickX, 50);
  EXPECT_EQ(f.KlickY, 60);
}

TEST_F(WumpelTest, TheCountdownEndsALostGame) {
  TWumpel& f = Wumpel();
  std::vector<std::string> anzeige;
  f.NachFrame = [&] {
    if (anzeige.empty() || anzeige.back() != f.Label2.Caption) anzeige.push_back(f.Label2.Caption);
  };
  SpielErgebnis = false;
  const uint64_t start = rt::timeGetTime();
  f.Show(rt::vbModal);
  const uint64_t dauer = rt::timeGetTime() - start;
  EXPECT_FALSE(f.Loaded());
  EXPECT_TRUE(SpielErgebnis.IstWahrheit());
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
  EXPECT_EQ(f.Sekunden, 20);
  EXPECT_EQ(f.KoepfeUebrig, 21);
  std::vector<std::string> soll;
  for (int s = 20; s >= 0; --s) soll.push_back(std::to_string(s));
  EXPECT_EQ(anzeige, soll);
  // The 20th tick ends the game at the end of its frame.
  EXPECT_GE(dauer, 20000u);
  EXPECT_LE(dauer, 20000u + 16 + 20);
}

TEST_F(WumpelTest, HittingTheLastHeadAsTheTimeRunsOutWinsWithoutTheAnimation) {
  TWumpel& f = Wumpel();
  int framesDanach = -1;
  f.NachFrame = [&] {
    if (framesDanach >= 0) {
      ++framesDanach;
      return;
    }
    // The 20th second ends during the next frame's wait: the last head is hit in that frame.
    if (f.Sekunden == 19 && f.Timer2.NextDue() <= rt::timeGetTime() + 20) {
      for (size_t i = 0; i < 20; ++i) f.Flieger[i].Lebt = 0;
      f.KoepfeUebrig = 1;
      const ::Flieger& k = f.Flieger[20];
      Druecke(f, 1, k.X + 32, k.Y + 24);
      framesDanach = 0;
    }
  };
  SpielErgebnis = false;
  f.Show(rt::vbModal);
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(f.Sekunden, 20);
  EXPECT_EQ(f.KoepfeUebrig, 0);
  EXPECT_EQ(framesDanach, 1);  // the winning frame, and no frame of the animation
  EXPECT_TRUE(SpielErgebnis.IstWahrheit());
  EXPECT_TRUE(SpielErgebnis.AlsWahrheit());
}

TEST_F(WumpelTest, TheWinningTrailRunsUntilAPressFromTheHundredthFrame) {
  TWumpel& f = Wumpel();
  int animation = -1;  // the winning frame comes first
  f.NachFrame = [&] {
    if (f.KoepfeUebrig > 0) {
      // A sure hand: every frame the middle of the top head still flying.
      for (int i = 20; i >= 0; --i) {
        const ::Flieger& k = f.Flieger[size_t(i)];
        if (!k.Lebt) continue;
        Druecke(f, 1, k.X + 32, k.Y + 24);
        break;
      }
      return;
    }
    ++animation;
    Druecke(f, 2, 10, 10);  // right presses all along: ignored until the 100th frame
  };
  SpielErgebnis = false;
  const uint64_t start = rt::timeGetTime();
  f.Show(rt::vbModal);
  EXPECT_FALSE(f.Loaded());
  EXPECT_TRUE(SpielErgebnis.AlsWahrheit());
  EXPECT_LT(f.Sekunden, 20);
  EXPECT_EQ(animation, 100);
  EXPECT_LT(rt::timeGetTime() - start, uint64_t(16 + 22 * 20 + 100 * 20 + 20));
  // The trail runs from black to RGB(252, 0, 0).
  int hellrot = 0;
  for (rt::Color c : f.Feld.ImagePixels()) hellrot += c == rt::RGB(252, 0, 0);
  EXPECT_GT(hellrot, 50);
}

}  // namespace
