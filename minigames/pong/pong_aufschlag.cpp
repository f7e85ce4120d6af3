// The serve: the ball drops from the top of the court at the serving side, bounces once and
// falls again trailing two ghosts, while both paddles glide to its height. Once it has fallen
// far enough and both paddles are on it, the rally starts.
#include <cmath>

#include "engine/shared.h"
#include "engine/state.h"
#include "minigames/pong/pong.h"

namespace {

// Each step covers less than the distance, so a paddle never passes the ball's height.
float Gleite(float y, float ziel) {
  if (y > ziel) y = float(y - std::sin((double(y) - ziel) / 136) * 7);
  if (y < ziel) y = float(y + std::sin((double(ziel) - y) / 136) * 7);
  return y;
}

}  // namespace

void TPong::Timer6_Timer() {
  const float b = BallY, xB = BallX;
  Loesche(14, double(SchlaegerLinksY) - 53, 30, double(SchlaegerLinksY) + 53);
  Loesche(607, double(SchlaegerRechtsY) - 53, 623, double(SchlaegerRechtsY) + 53);
  SchlaegerRechtsY = Gleite(SchlaegerRechtsY, b);
  SchlaegerLinksY = Gleite(SchlaegerLinksY, b);
  Zeichne(Image4, 17, double(SchlaegerLinksY) - 50);
  Zeichne(Image5, 610, double(SchlaegerRechtsY) - 50);
  SchlaegerRechtsAltY = SchlaegerRechtsY;
  SchlaegerLinksAltY = SchlaegerLinksY;

  const auto loescheBaelle = [this, xB] {
    for (float h : FallHoehe) Loesche(xB, h, double(xB) + 10, double(h) + 10);
  };
  loescheBaelle();
  FallHoehe[0] = float(double(FallTempo) * FallTempo * FallFaktor + FallBasis);
  FallHoehe[3] = FallHoehe[2];
  FallHoehe[2] = FallHoehe[1];
  FallHoehe[1] = FallHoehe[0];
  FallTempo += FallSchritt;

  if (FallHoehe[0] > 215 && FallFaktor == 0.8f) {
    FallTempo = -15;
    SpieleSound(DatenPfad + "pong.wav");
    FallBasis = 95;
    FallFaktor = 0.5f;
    Abgeprallt = true;
  }

  Zeichne(Image1[2], xB, FallHoehe[3]);
  Zeichne(Image1[1], xB, FallHoehe[2]);
  Zeichne(Image1[0], xB, FallHoehe[1]);
  Zeichne(Image1[0], xB, FallHoehe[0]);

  const auto amBall = [b](float y) { return y > float(b - 3.0) && y < float(b + 3.0); };
  if (FallHoehe[0] > 220 && Abgeprallt && amBall(SchlaegerRechtsY) && amBall(SchlaegerLinksY)) {
    loescheBaelle();
    Timer6.SetEnabled(false);
    Timer1.SetEnabled(true);
    SpieleSound(DatenPfad + "pong.wav");
    FallHoehe.fill(0);
    Abgeprallt = false;
    FallTempo = 0;
    FallBasis = 0;
    FallFaktor = 0.8f;
  }
}
