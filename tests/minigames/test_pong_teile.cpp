// Pong's pieces tick by tick: the serve's drop and bounce, the stroke's lunge and sparks, walls
// and spin, hits and their angles, the player's keys, the end animation and the court refresh.
#include <cmath>
#include <vector>

#include "pong_test.h"

namespace pongtest {
namespace {

TEST_F(PongTest, ServeBouncesAtTick42AndEndsAtTick121WhenThePaddlesWait) {
  ASSERT_TRUE(p.Timer6.Enabled());
  Takt();
  // The first tick draws the ball with its top edge at the court's top.
  EXPECT_EQ(p.FallHoehe[0], 0.0f);
  EXPECT_GT(NichtSchwarz(35, 0, 44, 9), 0);
  int tick = 1;
  while (p.FallFaktor == 0.8f && tick < 200) Takt(), ++tick;
  EXPECT_EQ(tick, 42);
  EXPECT_TRUE(p.Abgeprallt);
  EXPECT_EQ(p.FallTempo, -15.0f);
  while (p.Timer6.Enabled() && tick < 400) Takt(), ++tick;
  EXPECT_EQ(tick, 121);
  EXPECT_TRUE(p.Timer1.Enabled());
  // Back at rest for the next serve.
  EXPECT_EQ(p.FallTempo, 0.0f);
  EXPECT_EQ(p.FallBasis, 0.0f);
  EXPECT_EQ(p.FallFaktor, 0.8f);
  EXPECT_FALSE(p.Abgeprallt);
  for (float h : p.FallHoehe) EXPECT_EQ(h, 0.0f);
  EXPECT_EQ(NichtSchwarz(35, 0, 44, 439), 0);  // the ball and its ghosts are gone
}

TEST_F(PongTest, ServeWaitsForTheSlowerPaddle) {
  p.SchlaegerRechtsY = 440;  // 225 pixels from the ball
  Takt();
  EXPECT_NEAR(440 - p.SchlaegerRechtsY, 7 * std::sin(225.0 / 136), 1e-4);
  Takt(118);
  // A paddle still 50 pixels off when the ball has fallen far enough holds the rally back.
  p.SchlaegerLinksY = 265;
  int tick = 119;
  while (p.Timer6.Enabled() && tick < 400) Takt(), ++tick;
  EXPECT_GT(tick, 140);
  EXPECT_LT(std::fabs(p.SchlaegerLinksY - 215), 3);
  EXPECT_LT(std::fabs(p.SchlaegerRechtsY - 215), 3);
}

TEST_F(PongTest, StrokeLungesAndSpringsBackIn21Calls) {
  std::vector<float> links, rechts;
  p.SchlagLaeuft = true;
  p.Vorstoss = 0;
  p.Schlagzaehler = 0;
  for (int i = 0; i < 21; ++i) {
    EXPECT_TRUE(p.SchlagLaeuft) << i;
    p.schlag(0);
    links.push_back(p.SchlaegerLinksX);
  }
  EXPECT_FALSE(p.SchlagLaeuft);
  EXPECT_EQ(p.Vorstoss, 0.0f);
  EXPECT_EQ(p.SchlaegerLinksX, 17.0f);
  EXPECT_EQ(p.SchlaegerRechtsX, 610.0f);
  std::vector<float> soll = {17, 19, 21, 23, 25};
  for (float v = 7.5f; v >= 0; v -= 0.5f) soll.push_back(17 + v);
  EXPECT_EQ(links, soll);

  // The right paddle lunges the other way; no spark stays behind.
  p.SchlagLaeuft = true;
  p.Schlagzaehler = 0;
  p.FunkenX = 602;
  p.FunkenY.fill(215);
  p.FunkenBreite = p.FunkenHoehe = 10;
  p.Schlagwinkel = 1.57f;
  for (int i = 0; i < 4; ++i) p.schlag(1), rechts.push_back(p.SchlaegerRechtsX);
  EXPECT_EQ(rechts, (std::vector<float>{610, 608, 606, 604}));
  EXPECT_EQ(p.Vorstoss, 8.0f);
  EXPECT_GT(NichtSchwarz(560, 150, 630, 300), 0);
  while (p.SchlagLaeuft) p.schlag(1);
  EXPECT_EQ(NichtSchwarz(540, 0, 600, 439), 0);
}

TEST_F(PongTest, GhostsStayHiddenWhileTheStrokeIsHalfway) {
  const auto schritt = [this](float zaehler) {
    p.Picture1.Line(0, 0, 639, 439, 0, rt::Surface::BoxFilled);
    p.Schlagzaehler = zaehler;
    p.BallX = 300, p.BallY = 100, p.BallVX = 5, p.BallVY = 0, p.Effet = 0;
    p.Ballgeist = {TPong::Punkt{250, 300}, TPong::Punkt{200, 300}, TPong::Punkt{150, 300}};
    p.bewegung();
    return NichtSchwarz(100, 250, 280, 350);
  };
  for (float z : {10.0f, 15.0f, 20.0f}) EXPECT_EQ(schritt(z), 0) << z;
  EXPECT_GT(schritt(25), 0);
  EXPECT_GT(schritt(105), 0);  // after the stroke
}

TEST_F(PongTest, WallsTradeSpinForSpeed) {
  p.BallX = 300;
  p.BallY = 441;
  p.BallVX = -5;
  p.BallVY = 3;
  p.Effet = 2;
  p.Spielstufe = 0;
  p.bewegung();
  const double k = std::cos(300.0 / 620 * 1.57);
  const float vy = float(-3 + 2 * k);
  EXPECT_FLOAT_EQ(p.BallVY, vy);
  const float effet = float(-2 * std::fabs(vy) / 10);
  EXPECT_FLOAT_EQ(p.Effet, effet);
  EXPECT_FLOAT_EQ(p.BallVX, float(-5 / (std::fabs(effet) + 1)));

  // No spin: the wall only turns the ball round; a fast ball is held to the limit.
  p.BallY = -1;
  p.BallVY = -2;
  p.Effet = 0;
  p.BallVX = 30;
  p.Spielstufe = 100;
  p.StufenGrenze = 100;
  p.bewegung();
  EXPECT_EQ(p.BallVY, 2.0f);
  EXPECT_FLOAT_EQ(p.BallVX + 100 / 5.0f, 25);
}

// Up held at the hit spins the ball negative, Down positive; in flight a positive spin lifts
// the ball and a negative one drops it, fully at the left edge and hardly at the right.
TEST_F(PongTest, SpinBendsThePathMostOnTheComputersSide) {
  p.StufenGrenze = 100;
  p.SchlaegerRechtsY = 215;
  p.BallY = 210;
  p.BallVY = 0;
  p.Tastendauer = -10;  // Up held for ten ticks
  p.rechts();
  EXPECT_NEAR(p.Effet, -10 / 9.9 - 1, 1e-5);

  const auto senkung = [this](float x, float effet) {
    p.BallX = x, p.BallY = 200, p.BallVX = 5, p.BallVY = 1, p.Effet = effet;
    p.bewegung();
    return p.BallY - 200;
  };
  const double links = std::cos(50.0 / 620 * 1.57);
  EXPECT_NEAR(senkung(50, 2), 1 - 2 * links, 1e-4);
  EXPECT_NEAR(senkung(50, -2), 1 + 2 * links, 1e-4);
  EXPECT_NEAR(senkung(590, 2), 1 - 2 * std::cos(590.0 / 620 * 1.57), 1e-4);
  EXPECT_GT(senkung(590, 2), 0.8f);
}

TEST_F(PongTest, HitsReturnTheBallByWhereItMetThePaddle) {
  // A ball centre 55.9 pixels off the paddle's centre is hit, 56 is missed.
  p.StufenGrenze = 100;
  p.SchlaegerRechtsY = 215;
  p.BallY = float(215 - 5 - 55.9);
  p.BallVY = 0;
  p.Tastendauer = 20;  // Down held for 20 ticks
  p.rechts();
  EXPECT_EQ(p.PunkteComputer, 0);
  EXPECT_EQ(p.BallX, 595.0f);
  EXPECT_LT(p.BallVX, 0);
  EXPECT_NEAR(p.Effet, 20 / 20.1 + 2, 1e-5);
  EXPECT_TRUE(p.SchlagLaeuft);

  p.BallY = 215 - 5 - 56;
  p.Timer1.SetEnabled(true);
  p.rechts();
  EXPECT_EQ(p.PunkteComputer, 1);
  EXPECT_TRUE(p.Timer2.Enabled());
  EXPECT_TRUE(p.Timer3.Enabled());

  // A centred hit keeps the vertical speed; the computer's returns are flatter.
  p.BallY = 210;
  p.BallVY = 3;
  p.rechts();
  EXPECT_EQ(p.BallVY, 3.0f);
  EXPECT_FLOAT_EQ(p.BallVX, -4);
  p.SchlaegerLinksY = 215;
  p.BallY = 215 - 5 + 50;  // below the centre: sent down, steeper than the computer may
  p.BallVY = 1;
  p.links();
  EXPECT_EQ(p.BallVY, 2.0f);
  EXPECT_EQ(p.Effet, 0.0f);
  EXPECT_GT(p.BallVX, 0);
}

TEST_F(PongTest, ScoreShowsInTheLeadersColourAndIsPrintedAgainWhileOnShow) {
  p.PunkteComputer = 4;
  p.PunkteSpieler = 0;
  p.punkt();
  EXPECT_EQ(p.Picture1.ForeColor, rt::RGB(255, 0, 0));
  p.PunkteComputer = 5;
  p.punkt();
  EXPECT_EQ(p.Picture1.font.size, 26.0f);
  EXPECT_EQ(p.Picture1.CurrentX, 0.0f);  // the print ended its line
  p.PunkteComputer = 1;
  p.PunkteSpieler = 3;
  p.punkt();
  EXPECT_EQ(p.Picture1.ForeColor, rt::RGB(76, 183, 80));
  EXPECT_EQ(p.Picture1.font.size, 26.0f);
  EXPECT_EQ(p.Spielstufe, 6);

  // While the score shows, every ball step prints it again at the same place.
  p.Picture1.Line(200, 100, 440, 300, 0, rt::Surface::BoxFilled);
  p.MoveBigPartikel1();
  EXPECT_GT(NichtSchwarz(260, 160, 420, 230), 0);
  p.Timer3.SetEnabled(false);
  p.Picture1.Line(200, 100, 440, 300, 0, rt::Surface::BoxFilled);
  p.MoveBigPartikel1();
  EXPECT_EQ(NichtSchwarz(200, 100, 440, 300), 0);
  EXPECT_EQ(p.Picture1.CurrentX, 320 - 52.0f);
}

TEST_F(PongTest, KeysMoveThePaddleFasterTheLongerTheyAreHeld) {
  ASSERT_TRUE(BisRally());
  p.BallX = 300, p.BallVX = -5;  // away from the player
  p.SchlaegerRechtsY = p.SchlaegerRechtsAltY = 20;
  const float y0 = p.SchlaegerRechtsY;
  Taste(rt::vbKeyDown, true);
  Takt();
  EXPECT_FLOAT_EQ(p.SchlaegerRechtsY, y0 + 2.5f);
  Takt(49);
  const float y1 = p.SchlaegerRechtsY;
  Takt();
  EXPECT_NEAR(p.SchlaegerRechtsY - y1, 2.5 + 25 * std::sin(50 / 254.0), 1e-3);
  EXPECT_EQ(p.Tastendauer, 51.0f);

  // Both keys together: the paddle stays and the counter never grows.
  Taste(rt::vbKeyUp, true);
  Takt();
  const float y2 = p.SchlaegerRechtsY;
  Takt(10);
  EXPECT_EQ(p.SchlaegerRechtsY, y2);
  Taste(rt::vbKeyDown, false);
  Taste(rt::vbKeyUp, false);
  Takt();
  EXPECT_EQ(p.Tastendauer, 0.0f);

  // At the top edge the paddle stops one step beyond it.
  p.SchlaegerRechtsY = 1;
  Taste(rt::vbKeyUp, true);
  Takt(5);
  EXPECT_EQ(p.SchlaegerRechtsY, -1.5f);
  Taste(rt::vbKeyUp, false);
}

TEST_F(PongTest, ComputerPaddleFollowsOnlyABallComingInTheLeftHalf) {
  p.PunkteSpieler = 8;
  p.SchlaegerLinksY = 215;
  for (float x : {500.0f, 38.0f}) {
    p.BallX = x, p.BallY = 100, p.BallVX = -5, p.BallVY = 0, p.Effet = 0;
    p.bewegung();
    EXPECT_EQ(p.SchlaegerLinksY, 215.0f) << x;
  }
  p.BallX = 200, p.BallVX = 5;
  p.bewegung();
  EXPECT_EQ(p.SchlaegerLinksY, 215.0f);
  p.BallX = 200, p.BallVX = -5;
  p.bewegung();
  EXPECT_EQ(p.SchlaegerLinksY, 215.0f - 6);  // 8 points: 6 pixels a tick
}

TEST_F(PongTest, EndAnimationStartsAtItsPhaseAndNeverVanishesEdgeOn) {
  ASSERT_TRUE(BisRally());
  Takt();
  EXPECT_EQ(p.Endwinkel, 48.0f);
  p.PunkteComputer = 11;
  SpielerVerfehlt();
  Takt();
  EXPECT_FLOAT_EQ(p.Endwinkel, 48.05f);
  EXPECT_FLOAT_EQ(p.EndBreite, float(std::sin(double(48.05f)) * 300));
  EXPECT_FLOAT_EQ(p.EndY, float(std::sin(double(48.05f) / 4) * 200 + 200));
  const float c = float(320 + std::cos(double(48.05f) / 3) * 200);
  EXPECT_GT(NichtSchwarz(int(c) - 2, int(p.EndY) + 10, int(c) + 2, int(p.EndY) + 40), 0);

  // Edge on, the picture is one pixel wide.
  p.Endwinkel = float(2 * 3.14159265358979 - 0.05 - 0.002);
  p.Timer4_Timer();
  EXPECT_EQ(p.EndBreite, 1.0f);
}

}  // namespace
}  // namespace pongtest
