// The rally tick and the ball step: spin that bends the path most on the computer's side, walls
// that trade spin for speed, the ghosts behind the ball, the computer's paddle and the reset
// once the ball has left the court. Formulas run in double and are stored in single precision.
#include <cmath>

#include "engine/shared.h"
#include "engine/state.h"
#include "minigames/pong/pong.h"

namespace {

double Sgn(double v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

// How strongly spin bends the path at x: full at the left edge, none at the right.
double Biegung(float ballX) { return std::cos(double(ballX) / 620 * 1.57); }

}  // namespace

void TPong::start() {
  if (Endwinkel > 0) Loesche(FeldBreite / 2 - 203, 212, FeldBreite / 2 + 203, 278);
  Endwinkel = 48;
  if (BallX > 596) rechts();
  if (BallX < 34) links();
  // The paddle that struck last plays its stroke.
  if (SchlagLaeuft) schlag(BallVX > 0 ? 0 : 1);
  bewegung();
}

void TPong::bewegung() {
  LoescheUm(BallX, BallY);
  MoveBigPartikel1();
  // Halfway through a stroke the ghosts are neither erased nor drawn.
  if (Schlagzaehler < 10 || Schlagzaehler > 20) LoescheGeister();

  // Each ghost takes its predecessor's old place plus f in x and overshoots it by half their
  // last difference in y.
  const double f = double(BallVX) * (Spielstufe + 5) / 48;
  Ballgeist[2].y = float(Ballgeist[1].y + (double(Ballgeist[1].y) - Ballgeist[2].y) * 0.5);
  Ballgeist[2].x = float(Ballgeist[1].x + f);
  Ballgeist[1].y = float(Ballgeist[0].y + (double(Ballgeist[0].y) - Ballgeist[1].y) * 0.5);
  Ballgeist[1].x = float(Ballgeist[0].x + f);
  Ballgeist[0].y = float(BallY + (double(BallY) - Ballgeist[0].y) * 0.5);
  Ballgeist[0].x = float(BallX + f);

  if (BallY < 0 || BallY > FeldHoehe) {
    const float wand = BallY > FeldHoehe ? FeldHoehe : 0;
    BallY = wand;
    for (Punkt& g : Ballgeist) g.y = wand;
    BallVY = float(-double(BallVY) + Effet * Biegung(BallX));
    if (BallVY == 0) BallVY = 0.1f;
    const float q = float(double(Effet) / BallVY);
    if (q < 0) {
      // Spin against the new direction brakes the ball.
      Effet = float(-double(Effet) * std::fabs(BallVY) / 10);
      BallVX = float(BallVX / (std::fabs(double(Effet)) + 1));
    } else {
      Effet = float(std::fabs(double(BallVY)) * Effet / 9);
      BallVX = float((std::fabs(double(Effet)) / 4 + 1) * BallVX);
      const double grenze = double(StufenGrenze) / 5 + Grundtempo;
      if (grenze < std::fabs(double(BallVX)) + double(Spielstufe) / 5)
        BallVX = float(Sgn(BallVX) * (grenze - double(Spielstufe) / 5));
    }
    // Near the paddles a wall touch is silent.
    if (BallX > 34 && BallX < FeldBreite - 46) SpieleSound(DatenPfad + "wand.wav");
  }

  BallY = float(BallY + double(BallVY) - Effet * Biegung(BallX));
  BallX = float(BallX + double(BallVX) + Sgn(BallVX) * Spielstufe / 5);

  Zeichne(Image1[0], BallX, BallY, rt::SRCPAINT);
  if (Schlagzaehler > 20) {
    Zeichne(Image1[3], Ballgeist[2].x, Ballgeist[2].y, rt::SRCPAINT);
    Zeichne(Image1[2], Ballgeist[1].x, Ballgeist[1].y, rt::SRCPAINT);
    Zeichne(Image1[1], Ballgeist[0].x, Ballgeist[0].y, rt::SRCPAINT);
  }

  // The computer follows the ball only while it comes toward it in the left half, faster the
  // more the player has scored.
  if (BallVX < 0 && BallX > 40 && BallX < FeldBreite / 2) {
    Loesche(14, double(SchlaegerLinksY) - 58, 30, double(SchlaegerLinksY) + 58);
    const double s = double(PunkteSpieler) / 4 + 4;
    // Three tests in a row, each on the paddle as the one before left it.
    if (BallY < SchlaegerLinksY) SchlaegerLinksY = float(SchlaegerLinksY - s);
    if (BallY > SchlaegerLinksY) SchlaegerLinksY = float(SchlaegerLinksY + s);
    if (BallY == SchlaegerLinksY) SchlaegerLinksY = SchlaegerLinksY + 1;
    Zeichne(Image4, 17, double(SchlaegerLinksY) - 50);
    SchlaegerLinksAltY = SchlaegerLinksY;
  }

  if (BallX < 0) {
    // The player scored and serves next from the right.
    Ballaus(595, -Grundtempo, 1.57f, 602);
    Effet = 0;
    Timer1.SetEnabled(false);
  } else if (BallX > FeldBreite) {
    // The computer scored and serves next from the left; the spin stays.
    Ballaus(35, Grundtempo, -1.57f, 28);
  }

  if (!SchlagLaeuft) Zeichne(Image4, 17, double(SchlaegerLinksY) - 50);
}

void TPong::Ballaus(float x, float vx, float winkel, float funkenX) {
  BigPartikelClear();
  BallVX = vx;
  BallVY = 0;
  LoescheUm(BallX, BallY);
  LoescheGeister();
  BallX = x;
  BallY = 215;
  for (Punkt& g : Ballgeist) g = {x, 215};
  FunkenY.fill(215);
  FunkenBreite = FunkenHoehe = 10;
  Schlagwinkel = winkel;
  FunkenX = funkenX;
  Schlagzaehler = Schlagzaehler2 = 0;
  SchlagLaeuft = true;
  Timer2.SetEnabled(false);
  Timer3.SetEnabled(true);
}

void TPong::LoescheUm(float x, float y) {
  Loesche(double(x) - 3, double(y) - 3, double(x) + 13, double(y) + 13);
}

void TPong::LoescheGeister() {
  for (const Punkt& g : Ballgeist) LoescheUm(g.x, g.y);
}
