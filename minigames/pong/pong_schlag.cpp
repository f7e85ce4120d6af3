// The stroke: over 21 rally ticks the paddle that struck lunges up to 8 pixels toward the court
// and springs back, while three sparks fly off the point of contact, wobbling and shrinking.
#include <cmath>

#include "minigames/pong/pong.h"

void TPong::schlag(int16_t seite) {
  SchlaegerRechtsX = 610;
  if (seite == 1) {
    Loesche(610 - 33, double(SchlaegerRechtsY) - 203, 610 + 43, double(SchlaegerRechtsY) + 203);
    SchlaegerRechtsX = 610 - Vorstoss;
    Zeichne(Image5, SchlaegerRechtsX, double(SchlaegerRechtsY) - 50);
    SchlaegerRechtsAltY = SchlaegerRechtsY;
  } else {
    Loesche(double(SchlaegerLinksX) - 3, double(SchlaegerLinksY) - 53, double(SchlaegerLinksX) + 13,
            double(SchlaegerLinksY) + 53);
    SchlaegerLinksX = Vorstoss + 17;
    Zeichne(Image4, SchlaegerLinksX, double(SchlaegerLinksY) - 50);
  }
  // The paddle stands where the lunge was before this step moves it.
  if (Schlagzaehler < 20) {
    Vorstoss += 2;
  } else {
    Vorstoss -= 0.5f;
  }

  const auto loescheFunken = [this] {
    for (float y : FunkenY)
      Loesche(double(FunkenX) - 3, double(y) - 3, double(FunkenX) + FunkenBreite + 3,
              double(y) + FunkenHoehe + 3);
  };
  loescheFunken();
  Schlagzaehler += 5;
  Schlagzaehler2 += 10;
  FunkenX = float(FunkenX - std::sin((double(Schlagzaehler) + 100) * Schlagwinkel / 100) * 3);
  FunkenBreite -= 0.4f;
  FunkenHoehe -= 0.4f;
  FunkenY[0] = float(FunkenY[0] - std::sin(double(Schlagzaehler)) * 5 + 2);
  FunkenY[1] = float(FunkenY[1] - std::sin(double(Schlagzaehler)) * 3 + 5);
  FunkenY[2] = float(FunkenY[2] - std::sin(double(Schlagzaehler2)) * 10 + 4);
  for (float y : FunkenY)
    Picture1.PaintPicture(Image7[seite].Picture, FunkenX, y, FunkenBreite, FunkenHoehe);

  if (Schlagzaehler == 105) {
    SchlaegerRechtsX = 610;
    SchlaegerLinksX = 17;
    Loesche(17 - 23, double(SchlaegerLinksY) - 53, 17 + 23, double(SchlaegerLinksY) + 53);
    Loesche(610 - 23, double(SchlaegerRechtsY) - 103, 610 + 33, double(SchlaegerRechtsY) + 103);
    loescheFunken();
    Zeichne(Image5, 610, double(SchlaegerRechtsY) - 50);
    Zeichne(Image4, 17, double(SchlaegerLinksY) - 50);
    SchlagLaeuft = false;
    Vorstoss = 0;
  }
}
