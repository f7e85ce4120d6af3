// The white fades and the shake on the virtual clock: the grey of each pass, the extra pass after
// a single slow one, what stays white or clean afterwards, and the shaken frames.
#include <gtest/gtest.h>

#include <vector>

#include "engine/effects.h"
#include "szenen_test.h"

namespace {

using szenentest::PumpBeobachter;

// Every pixel names its place: red and green the low bits of x and y, blue their high bits.
rt::Color Ortsfarbe(int x, int y) { return rt::RGB(x & 255, y & 255, (x >> 8) | ((y >> 8) << 4)); }

class Effekte : public szenentest::SzenenTest {
 protected:
  static constexpr rt::Color kAlt = rt::RGB(10, 200, 30);  // a frame drawn before

  void MitBild(rt::Color (*farbe)(int, int)) {
    Bild("a.bmp", 640, 480, farbe);
    Zeigen();
  }
  static rt::Color Schirm(int x, int y) { return Form1().Picture1.ScreenPixels()[size_t(y) * 640 + x]; }
  static rt::Color Sauber(int x, int y) { return Form1().Picture3.Image()->At(x, y); }
  static uint64_t Jetzt() { return rt::timeGetTime(); }
};

// Left half pure red, right half black.
rt::Color RotSchwarz(int x, int) { return x < 320 ? rt::RGB(255, 0, 0) : rt::vbBlack; }

TEST_F(Effekte, WeissblendeOdertDasGrauDerUhrzeitInJedenPunkt) {
  MitBild(RotSchwarz);
  TForm1& f = Form1();
  struct Sicht { uint64_t ms; rt::Color rot, schwarz; };
  std::vector<Sicht> sichten;
  const uint64_t t0 = Jetzt();
  // Each pass pumps events: after the first, jump to 250 ms, then to 999 ms, then to the end.
  const std::vector<uint64_t> spruenge = {250, 999, 1000};
  {
    PumpBeobachter b([&] {
      const uint64_t ms = Jetzt() - t0;
      if (!sichten.empty() && sichten.back().ms == ms) return;
      sichten.push_back({ms, Schirm(10, 10), Schirm(400, 10)});
      if (sichten.size() <= spruenge.size()) rt::AdvanceClock(t0 + spruenge[sichten.size() - 1] - Jetzt());
    });
    f.BlendWeiß();
  }
  ASSERT_EQ(sichten.size(), 3u);
  EXPECT_EQ(sichten[0].schwarz, rt::RGB(0, 0, 0));
  EXPECT_EQ(sichten[1].ms, 250u);
  EXPECT_EQ(sichten[1].schwarz, rt::RGB(64, 64, 64));
  EXPECT_EQ(sichten[1].rot, rt::RGB(255, 64, 64));
  EXPECT_EQ(sichten[2].schwarz, rt::RGB(255, 255, 255));
  EXPECT_EQ(sichten[2].rot, rt::RGB(255, 255, 255));
  // The scene stays white; the clean copy still holds the room.
  EXPECT_EQ(Schirm(400, 10), rt::vbWhite);
  EXPECT_EQ(Schirm(639, 479), rt::vbWhite);
  EXPECT_EQ(Sauber(10, 10), rt::RGB(255, 0, 0));
  EXPECT_EQ(Sauber(400, 10), rt::vbBlack);

  // Back from white: the grey falls with the time left, and the clean scene comes back.
  sichten.clear();
  uint64_t t1 = 0;
  {
    PumpBeobachter b([&] {
      sichten.push_back({Jetzt(), Schirm(10, 10), Schirm(400, 10)});
      if (sichten.size() == 1) t1 = Jetzt();  // the white box, before the clock starts
      if (sichten.size() == 2) rt::AdvanceClock(750);
      if (sichten.size() == 3) rt::AdvanceClock(250);
    });
    f.BlendWeißOut();
  }
  ASSERT_GE(sichten.size(), 3u);
  EXPECT_EQ(sichten[0].schwarz, rt::vbWhite);
  EXPECT_EQ(sichten[1].schwarz, rt::RGB(255, 255, 255));  // 1000 ms left
  EXPECT_EQ(sichten[2].ms, t1 + 750);
  EXPECT_EQ(sichten[2].schwarz, rt::RGB(64, 64, 64));
  EXPECT_EQ(sichten[2].rot, rt::RGB(255, 64, 64));
  EXPECT_EQ(Schirm(10, 10), rt::RGB(255, 0, 0));
  EXPECT_EQ(Schirm(400, 10), rt::vbBlack);
}

TEST_F(Effekte, EinEinzigerLangsamerDurchgangBekommtNochGrau64) {
  MitBild(RotSchwarz);
  std::vector<rt::Color> gesehen;
  const uint64_t t0 = Jetzt();
  {
    PumpBeobachter b([&] {
      gesehen.push_back(Schirm(400, 10));
      if (gesehen.size() == 1) rt::AdvanceClock(1000);  // the first pass takes the whole second
    });
    Form1().BlendWeiß();
  }
  ASSERT_EQ(gesehen.size(), 2u);
  EXPECT_EQ(gesehen[0], rt::vbBlack);  // grey 0 at the start
  EXPECT_EQ(gesehen[1], rt::RGB(64, 64, 64));
  EXPECT_EQ(Schirm(400, 10), rt::vbWhite);
  EXPECT_EQ(Jetzt(), t0 + 1000);
}

TEST_F(Effekte, BlendenDauernEineSekundeUndDasGrauBleibtImBereich) {
  MitBild(RotSchwarz);
  std::vector<rt::Color> grau;
  const uint64_t t0 = Jetzt();
  {
    PumpBeobachter b([&] { grau.push_back(Schirm(400, 10)); });
    Form1().BlendWeiß();
  }
  EXPECT_EQ(Jetzt(), t0 + 1000);
  // Frames at the 16 ms pace, each lighter or as light as the one before.
  EXPECT_GE(grau.size(), 60u);
  for (size_t i = 1; i < grau.size(); ++i) EXPECT_GE(grau[i] & 255, grau[i - 1] & 255) << i;

  EXPECT_EQ(BlendGrau(250), 64);
  EXPECT_EQ(BlendGrau(999), 255);
  EXPECT_EQ(BlendGrau(0), 0);
  // Readings a little past the end or before the start stay within 0..255.
  EXPECT_EQ(BlendGrau(1003), 255);
  EXPECT_EQ(BlendGrau(-4), 0);
  EXPECT_EQ(BlendGrau(int64_t(1) << 40), 255);
}

TEST_F(Effekte, RuckelnVerschiebtDieSaubereSzene) {
  MitBild(Ortsfarbe);
  TForm1& f = Form1();
  auto vorher = [&] { f.Picture1.Line(0, 0, 640, 480, kAlt, rt::Surface::BoxFilled); };

  // (2, 3): moved 2 right and 3 down; the left 2 columns and top 3 rows keep the frame before.
  vorher();
  RuckelBild(f, f.Picture3.Image(), 2, 3);
  EXPECT_EQ(Schirm(2, 3), Ortsfarbe(0, 0));
  EXPECT_EQ(Schirm(639, 479), Ortsfarbe(637, 476));
  EXPECT_EQ(Schirm(300, 200), Ortsfarbe(298, 197));
  for (int y : {0, 2, 200}) EXPECT_EQ(Schirm(1, y), kAlt);
  for (int x : {5, 300, 639}) EXPECT_EQ(Schirm(x, 2), kAlt);

  // (-3, 1): source columns 3 to 642 squeezed into columns 0 to 636; the clean copy's border
  // (black) shows at the right; columns 637 to 639 and the top row keep the frame before.
  vorher();
  RuckelBild(f, f.Picture3.Image(), -3, 1);
  EXPECT_EQ(Schirm(0, 1), Ortsfarbe(3, 0));
  EXPECT_EQ(Schirm(0, 479), Ortsfarbe(3, 478));
  EXPECT_EQ(Schirm(636, 100), rt::vbBlack);
  EXPECT_EQ(Schirm(630, 100), Ortsfarbe(636, 99));
  for (int x : {637, 639}) EXPECT_EQ(Schirm(x, 100), kAlt);
  EXPECT_EQ(Schirm(300, 0), kAlt);

  // (-4, -4): the copy reaches a column past the clean copy, which reads black.
  vorher();
  RuckelBild(f, f.Picture3.Image(), -4, -4);
  EXPECT_EQ(Schirm(0, 0), Ortsfarbe(4, 4));
  EXPECT_EQ(Schirm(635, 10), rt::vbBlack);
  EXPECT_EQ(Schirm(636, 10), kAlt);
  EXPECT_EQ(Schirm(10, 476), kAlt);
}

TEST_F(Effekte, RuckelnDauert800msUndDerLetzteFrameWirdDieSzene) {
  MitBild(Ortsfarbe);
  TForm1& f = Form1();
  rt::Randomize(7);
  int frames = 0;
  const uint64_t t0 = Jetzt();
  {
    PumpBeobachter b([&] { ++frames; });
    f.Ruckel();
  }
  EXPECT_EQ(Jetzt(), t0 + 800);
  EXPECT_GE(frames, 50);
  // The clean copy is the last frame, with black in its border as before.
  const auto bild = f.Picture3.Image();
  ASSERT_EQ(bild->width, 643);
  for (int y : {0, 100, 479})
    for (int x : {0, 320, 639}) EXPECT_EQ(bild->At(x, y), Schirm(x, y)) << x << "," << y;
  EXPECT_EQ(bild->At(641, 10), rt::vbBlack);
  EXPECT_EQ(bild->At(10, 484), rt::vbBlack);
  // The middle shows a pixel from at most 4 (or 5, squeezed) away.
  bool nah = false;
  const rt::Color mitte = Schirm(320, 240);
  for (int dy = -5; dy <= 5; ++dy)
    for (int dx = -5; dx <= 5; ++dx) nah = nah || Ortsfarbe(320 + dx, 240 + dy) == mitte;
  EXPECT_TRUE(nah);
}

}  // namespace
