// The zooms: the target rectangle as the scene corners map onto room pictures of different
// sizes, and the frames and final view on the virtual clock.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/effects.h"
#include "szenen_test.h"

namespace {

using szenentest::PumpBeobachter;

struct Fall {
  int32_t x1, y1, x2, y2;
};

ZoomRechteck Ziel(Fall f, float p2w = 640, float p2h = 480, Fall* danach = nullptr) {
  ZoomRechteck z{-1, -1, -1, -1};
  EXPECT_TRUE(ZoomZiel(f.x1, f.y1, f.x2, f.y2, 640, 480, p2w, p2h, z));
  if (danach) *danach = f;
  return z;
}

void Gleich(const ZoomRechteck& z, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  EXPECT_EQ(z.x1, x1);
  EXPECT_EQ(z.y1, y1);
  EXPECT_EQ(z.x2, x2);
  EXPECT_EQ(z.y2, y2);
}

TEST(ZoomRechteck, WirdAufDasSeitenverhaeltnisDesBildesGebracht) {
  // Wider than the picture: the height grows around its middle (c = 125, half = 37).
  Gleich(Ziel({100, 100, 200, 150}), 100, 88, 200, 162);
  // Around row 10 by 75 each way, then pushed down to rows 0 to 150.
  Gleich(Ziel({0, 0, 200, 20}), 0, 0, 200, 150);
  // Taller than the picture: the width grows, and is pushed back left from the right edge.
  Gleich(Ziel({600, 0, 640, 480}), 0, 0, 640, 480);
  Gleich(Ziel({100, 100, 100, 200}), 35, 100, 167, 200);
  // Corners outside the scene may leave a negative low edge after the push back.
  Gleich(Ziel({-100, 0, 740, 100}), -100, -150, 740, 480);
}

TEST(ZoomRechteck, VertauschteEckenUndLeereSeiten) {
  Fall f{};
  Gleich(Ziel({200, 150, 100, 100}, 640, 480, &f), 100, 88, 200, 162);
  EXPECT_EQ(f.x1, 100);
  EXPECT_EQ(f.y1, 100);
  EXPECT_EQ(f.x2, 200);
  EXPECT_EQ(f.y2, 150);
  // A point becomes a 2 by 2 rectangle first.
  Gleich(Ziel({100, 100, 100, 100}, 640, 480, &f), 100, 100, 102, 102);
  EXPECT_EQ(f.x2, 102);
  EXPECT_EQ(f.y2, 102);
  Ziel({INT32_MAX, 5, INT32_MAX, 5}, 640, 480, &f);
  EXPECT_EQ(f.x2, INT32_MAX);
}

TEST(ZoomRechteck, GroessereBilderUndBilderOhnePunkte) {
  // On a 1280 by 960 picture the corners map to twice the scene coordinates.
  Gleich(Ziel({440, 200, 600, 320}, 1280, 960), 880, 400, 1200, 640);
  // Whole-pixel halves round on the larger picture's own scale (75 rows, not twice 37).
  Gleich(Ziel({100, 100, 200, 150}, 1280, 960), 200, 175, 400, 325);
  // A picture twice as wide as the scene but as high: rows follow the scene, columns double.
  Gleich(Ziel({0, 0, 320, 240}, 1280, 480), 0, 0, 640, 240);

  Fall f{300, 200, 100, 50};
  ZoomRechteck z{7, 7, 7, 7};
  EXPECT_FALSE(ZoomZiel(f.x1, f.y1, f.x2, f.y2, 640, 480, 0, 0, z));
  EXPECT_FALSE(ZoomZiel(f.x1, f.y1, f.x2, f.y2, 640, 480, 640, 0, z));
  EXPECT_EQ(f.x1, 300);
  EXPECT_EQ(z.x1, 7);
}

rt::Color Ortsfarbe(int x, int y) { return rt::RGB(x & 255, y & 255, (x >> 8) | ((y >> 8) << 4)); }

class Zooms : public szenentest::SzenenTest {
 protected:
  void SetUp() override {
    SzenenTest::SetUp();
    Bild("a.bmp", 640, 480, Ortsfarbe);
    Zeigen();
  }
  static rt::Color Schirm(int x, int y) { return Form1().Picture1.ScreenPixels()[size_t(y) * 640 + x]; }
  static rt::Color Behalten(int x, int y) { return Form1().Picture1.ImagePixels()[size_t(y) * 640 + x]; }
  // The room picture's pixel that a scene pixel shows when the source rectangle is stretched
  // over the scene.
  static rt::Color Quelle(double sx, double sy, double sw, double sh, int x, int y) {
    return Ortsfarbe(int(std::floor(sx + (x + 0.5) * sw / 640)), int(std::floor(sy + (y + 0.5) * sh / 480)));
  }
};

TEST_F(Zooms, HineinZeigtDieFramesNurAufDemSchirmUndEndetAmZiel) {
  TForm1& f = Form1();
  int32_t x1 = 200, y1 = 150, x2 = 100, y2 = 100;
  const uint64_t t0 = rt::timeGetTime();
  std::vector<std::pair<rt::Color, rt::Color>> frames;  // (screen, kept image) at (0, 0)
  {
    PumpBeobachter b([&] {
      frames.push_back({Schirm(0, 0), Behalten(0, 0)});
      if (frames.size() == 1) rt::AdvanceClock(t0 + 500 - rt::timeGetTime());
    });
    f.ZoomIN(x1, y1, x2, y2);
  }
  EXPECT_EQ(rt::timeGetTime(), t0 + 1000);
  EXPECT_EQ(x1, 100);
  EXPECT_EQ(y2, 150);
  ASSERT_GE(frames.size(), 2u);
  // The first frame shows the whole picture; at 500 ms the corner has gone half way, in steps
  // of single precision; the kept image holds the room until the end.
  EXPECT_EQ(frames[0].first, Ortsfarbe(0, 0));
  const double x500 = std::floor(double(float(100 / 1000.0)) * 500), y500 = std::floor(double(float(88 / 1000.0)) * 500);
  EXPECT_EQ(frames[1].first, Ortsfarbe(int(x500), int(y500)));
  for (const auto& fr : frames) EXPECT_EQ(fr.second, Ortsfarbe(0, 0));

  // The target, stretched over the scene, is kept and is the clean copy.
  for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {320, 240}, {17, 400}})
    EXPECT_EQ(Behalten(x, y), Quelle(100, 88, 100, 74, x, y)) << x << "," << y;
  EXPECT_EQ(f.Picture3.Image()->At(639, 479), Quelle(100, 88, 100, 74, 639, 479));
  EXPECT_TRUE(f.Picture1.AutoRedraw());
}

TEST_F(Zooms, HerausBeginntBeimZielUndEndetBeimGanzenBild) {
  TForm1& f = Form1();
  int32_t x1 = 0, y1 = 0, x2 = 200, y2 = 20;
  std::vector<rt::Color> ecke;
  {
    PumpBeobachter b([&] { ecke.push_back(Schirm(639, 479)); });
    f.ZoomOUT(x1, y1, x2, y2);
  }
  ASSERT_GE(ecke.size(), 60u);
  // Frames 16 ms apart: the first with 1000 ms left shows rows 0 to 150 of columns 0 to 200,
  // (nearly: the steps are single precision), the last with 8 ms left nearly the whole picture.
  auto frame = [](double rest) {
    const double x2 = std::floor(double(float((200 - 640) / 1000.0)) * rest + 640);
    const double y2 = std::floor(double(float((150 - 480) / 1000.0)) * rest + 480);
    return Quelle(0, 0, x2, y2, 639, 479);
  };
  EXPECT_EQ(ecke.front(), frame(1000));
  EXPECT_EQ(ecke.back(), frame(8));
  for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {320, 240}}) EXPECT_EQ(Behalten(x, y), Ortsfarbe(x, y));
  EXPECT_EQ(f.Picture3.Image()->At(639, 479), Ortsfarbe(639, 479));
}

TEST_F(Zooms, OhneRaumbildGeschiehtNichts) {
  TForm1& f = Form1();
  f.Picture2.SetPicture(nullptr);
  f.Picture2.Move(0, 0, 0, 0);
  f.Picture1.Line(0, 0, 10, 10, rt::vbWhite, rt::Surface::BoxFilled);
  const uint64_t t0 = rt::timeGetTime();
  int32_t x1 = 100, y1 = 100, x2 = 200, y2 = 150;
  f.ZoomIN(x1, y1, x2, y2);
  f.ZoomOUT(x1, y1, x2, y2);
  EXPECT_EQ(rt::timeGetTime(), t0);
  EXPECT_EQ(Behalten(5, 5), rt::vbWhite);
  EXPECT_EQ(f.Picture3.Image()->At(5, 5), Ortsfarbe(5, 5));
}

}  // namespace
