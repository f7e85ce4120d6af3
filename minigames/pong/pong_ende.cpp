// The end of a match: the winner's picture spins about its vertical axis while its centre
// wanders over the court on a looping path, until a new match starts or the window closes.
#include <cmath>

#include "minigames/pong/pong.h"

void TPong::Timer4_Timer() { Endbild(Image8); }

void TPong::Timer5_Timer() { Endbild(Image9); }

void TPong::Endbild(const rt::ImageBox& bild) {
  const auto mitte = [this] { return float(FeldBreite / 2 + std::cos(double(Endwinkel) / 3) * 200); };
  float c = mitte();
  Loesche(double(c) - double(EndBreite) / 2, EndY, double(c) + double(EndBreite) / 2, double(EndY) + 50);
  Endwinkel += EndSchritt;
  EndBreite = float(std::sin(double(Endwinkel)) * 300);
  // Edge on, the picture stays one pixel wide.
  if (std::fabs(EndBreite) < 1 && EndBreite != 0) EndBreite = 1;
  EndY = float(std::sin(double(Endwinkel) / 4) * 200 + 200);
  c = mitte();
  Picture1.PaintPicture(bild.Picture, float(double(c) - double(EndBreite) / 2), EndY, EndBreite, 50);
}
