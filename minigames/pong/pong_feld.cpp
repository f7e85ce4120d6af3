// Keeping the court fresh while the ball moves: the erase pass of the window's sprite pool
// (51 boxes that nothing fills, so it only ever finds free slots), the computer's paddle drawn
// again, and the score printed again while it is on show.
#include "minigames/pong/pong.h"
#include "runtime/text.h"

void TPong::ComputerSchlaeger() {
  Zeichne(Image4, SchlagLaeuft ? SchlaegerLinksX : 17, double(SchlaegerLinksY) - 50);
}

void TPong::MoveBigPartikel1() {
  for (int32_t i = BigPartikelMax; i >= 0; --i) {
    ComputerSchlaeger();
    const Sprite& p = BigPartikel[size_t(i)];
    if (p.Lebt) Loesche(p.X, p.Y, double(p.X) + p.Breite, double(p.Y) + p.Hoehe);
  }
  Punktestelle();
  if (Timer3.Enabled()) Picture1.Print(rt::Str(PunkteComputer) + " :" + rt::Str(PunkteSpieler));
}

void TPong::BigPartikelClear() {
  MoveBigPartikel1();
  for (Sprite& p : BigPartikel) {
    ComputerSchlaeger();
    p.Lebt = false;
  }
  BigPartikelMax = -1;
  BigPartikelFrei = 0;
}
