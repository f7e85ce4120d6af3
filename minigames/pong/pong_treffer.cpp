// The ball at a paddle's line: a hit returns it by where it met the paddle, a miss scores for the
// other side and either ends the match or shows the score in the middle of the court.
#include <cmath>

#include "engine/shared.h"
#include "engine/state.h"
#include "minigames/pong/pong.h"
#include "runtime/text.h"

namespace {

// How far the ball's centre lies above the paddle's centre; within 56 pixels the paddle hits.
float Abstand(float schlaegerY, float ballY) { return float(double(schlaegerY) - ballY - 5); }
bool Trifft(float d) { return std::fabs(d) < 56; }

// Off the paddle's edge the ball leaves steeper, near its centre it keeps its vertical speed.
float NeueVY(float vy, float d) { return float(vy - 2 * std::pow(std::sin(d / 32.3), 3)); }

}  // namespace

void TPong::rechts() {
  const float d = Abstand(SchlaegerRechtsY, BallY);
  if (Trifft(d)) {
    if (Spielstufe < StufenGrenze) ++Spielstufe;
    SpieleSound(DatenPfad + "pong.wav");
    BallVY = NeueVY(BallVY, d);
    if (BallVY > Grundtempo) BallVY = Grundtempo - 0.5f;
    if (BallVY < -Grundtempo) BallVY = -Grundtempo + 0.5f;
    BallVX = float(-std::fabs(std::sqrt(double(Grundtempo) * Grundtempo - double(BallVY) * BallVY)));
    FunkenBreite = FunkenHoehe = 10;
    SchlagLaeuft = true;
    FunkenY.fill(BallY);
    BallX = 595;
    Schlagwinkel = 1.57f;
    FunkenX = 602;
    Schlagzaehler = 0;
    Schlagzaehler2 = 0;
    // The key held at the moment of the hit spins the ball; held longer, more.
    const double t = Tastendauer;
    Effet = float(t / std::fabs(t + 0.1) + t / 10);
    CheckKeys();
    return;
  }
  if (!Punktgewinn(PunkteComputer, PunkteSpieler, Text1, "juhu2.wav", "juhu.wav", 0)) {
    Effet = 2;
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(true);
    punkt();
  }
}

void TPong::links() {
  const float d = Abstand(SchlaegerLinksY, BallY);
  if (Trifft(d)) {
    if (Spielstufe < StufenGrenze) ++Spielstufe;
    SpieleSound(DatenPfad + "pong.wav");
    // The computer's returns are flatter than the player's.
    BallVY = NeueVY(BallVY, d);
    if (BallVY > Grundtempo / 2) BallVY = Grundtempo / 2 - 0.5f;
    if (BallVY < -Grundtempo / 2) BallVY = -Grundtempo / 2 + 0.5f;
    BallVX = float(std::fabs(std::sqrt(double(Grundtempo) * Grundtempo - double(BallVY) * BallVY)));
    SchlagLaeuft = true;
    FunkenBreite = FunkenHoehe = 10;
    Schlagwinkel = -1.57f;
    BallX = 35;
    FunkenX = 28;
    FunkenY.fill(BallY);
    Schlagzaehler = 0;
    Effet = 0;
    return;
  }
  if (!Punktgewinn(PunkteSpieler, PunkteComputer, Text2, "sisa1.wav", "dumm.wav", 1)) {
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(true);
    punkt();
  }
}

bool TPong::Punktgewinn(int32_t& punkte, int32_t andere, rt::TextBox& feld, const char* jubel,
                        const char* sieg, int16_t wer) {
  ++punkte;
  SpieleSound(DatenPfad + jubel);
  PunkteZeigen(feld, punkte);
  // Eleven points and a lead of two.
  if (punkte - andere > 1 && punkte > 10) {
    SpieleSound(DatenPfad + sieg);
    gewonnen(wer);
    return true;
  }
  return false;
}

void TPong::punkt() {
  if (2 * PunkteSpieler < StufenGrenze) Spielstufe = 2 * PunkteSpieler;
  Tastendauer = 0;

  // Red while the computer leads, through grey to green while the player leads; a lead of five
  // makes the score grow.
  struct Stil {
    int d;
    float groesse;  // 0 keeps the size
    int r, g, b;    // r < 0 keeps the colour
  };
  static constexpr Stil stile[] = {
      {5, 26, -1, 0, 0},      {4, 22, 255, 0, 0},     {3, 0, 219, 37, 40},
      {2, 0, 183, 76, 80},    {1, 0, 147, 112, 120},  {0, 0, 129, 129, 120},
      {-1, 0, 112, 147, 120}, {-2, 0, 76, 183, 80},   {-3, 0, 37, 219, 40},
      {-4, 22, 0, 255, 0},    {-5, 26, -1, 0, 0}};
  const int d = PunkteComputer - PunkteSpieler;
  for (const Stil& s : stile) {
    if (s.d != d) continue;
    if (s.groesse > 0) Picture1.font.size = s.groesse;
    if (s.r >= 0) Picture1.ForeColor = rt::RGB(s.r, s.g, s.b);
  }

  Punktestelle();
  Picture1.Print(rt::Str(PunkteComputer) + " :" + rt::Str(PunkteSpieler));
  Timer3.SetEnabled(true);
}
