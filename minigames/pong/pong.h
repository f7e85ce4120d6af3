// Table tennis against a computer paddle: the player plays the right paddle with Up and Down,
// the match goes to 11 points with a lead of two. Six timers hand the game to each other: the
// serve (Timer6), the rally (Timer1), the run-out after a miss (Timer2) with the score on show
// (Timer3), and the end animations (Timer4 computer won, Timer5 player won).
#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "runtime/forms.h"

class TPong : public rt::Form {
 public:
  TPong();

  // Controls, in z-order. The picture holders are never shown: their pictures are copied onto
  // the court.
  rt::PictureBox Picture1{this};  // the court; every drawing of the game goes here
  rt::CommandButton Command1{this};
  rt::CommandButton Command2{this};
  rt::Label Label1{this};
  rt::TextBox Text1{this};  // the computer's points
  rt::Label Label2{this};
  rt::TextBox Text2{this};  // the player's points
  rt::PictureBox wave{this};
  rt::ImageBox Image1[4]{this, this, this, this};  // the ball and its three ghosts
  rt::ImageBox Image4{this};                       // the computer's paddle
  rt::ImageBox Image5{this};                       // the player's paddle
  rt::ImageBox Image6{this};                       // loaded, read by nothing
  rt::ImageBox Image7[2]{this, this};              // stroke sparks, left and right
  rt::ImageBox Image8{this};                       // the computer won
  rt::ImageBox Image9{this};                       // the player won
  rt::Timer Timer1{this}, Timer2{this}, Timer3{this}, Timer4{this}, Timer5{this}, Timer6{this};

  void InitializeComponent() override;
  void Form_Load() override;

  // Match flow.
  void neuess();
  void gewonnen(int16_t wer);  // 1 the player won, 0 the computer
  void Command1_Click();
  void Command2_Click();
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();

  // Ball, paddles and points.
  void start();
  void bewegung();
  void rechts();
  void links();
  void punkt();
  void CheckKeys();
  void Tastenschritt();
  void schlag(int16_t seite);  // 0 the computer's paddle, 1 the player's

  // Serve and end animations.
  void Timer6_Timer();
  void Timer4_Timer();
  void Timer5_Timer();

  // Court refresh.
  void MoveBigPartikel1();
  void BigPartikelClear();

  // "Ende" ends the process through this after the sound and media are closed; tests record.
  std::function<void()> ProzessBeenden;

  // ---- State -------------------------------------------------------------------------------
  struct Punkt {
    float x = 0, y = 0;
  };
  struct Sprite {
    float X = 0, Y = 0, Breite = 0, Hoehe = 0;
    bool Lebt = false;
  };

  float FeldBreite = 0, FeldHoehe = 0, Grundtempo = 0;
  float BallX = 0, BallY = 0, BallVX = 0, BallVY = 0, Effet = 0;
  std::array<Punkt, 3> Ballgeist{};  // entry 0 nearest the ball
  float SchlaegerLinksX = 0, SchlaegerRechtsX = 0, SchlaegerLinksY = 0, SchlaegerRechtsY = 0;
  float SchlaegerLinksAltY = 0, SchlaegerRechtsAltY = 0;
  float Tastendauer = 0;  // negative while Up is held, positive while Down is held
  bool HochGehalten = false, RunterGehalten = false;
  int32_t PunkteComputer = 0, PunkteSpieler = 0;
  int32_t Spielstufe = 0, StufenGrenze = 0;
  bool Pausiert = false, SpielVorbei = false;
  std::array<uint8_t, 256> Tasten{};

  // The stroke animation.
  bool SchlagLaeuft = false;
  float Vorstoss = 0, Schlagwinkel = 0, Schlagzaehler = 0, Schlagzaehler2 = 0;
  float FunkenX = 0, FunkenBreite = 0, FunkenHoehe = 0;
  std::array<float, 3> FunkenY{};

  // The serve.
  float FallTempo = 0, FallBasis = 0, FallSchritt = 0, FallFaktor = 0;
  std::array<float, 4> FallHoehe{};  // slot 0 the newest
  bool Abgeprallt = false;

  // The end animation.
  float Endwinkel = 0, EndSchritt = 0, EndY = 0, EndBreite = 0;

  std::array<Sprite, 51> BigPartikel{};
  int32_t BigPartikelFrei = 0, BigPartikelMax = 0;

 private:
  // Drawing on the court.
  void Loesche(double x1, double y1, double x2, double y2);  // a filled black box
  void Zeichne(const rt::ImageBox& bild, double x, double y, uint32_t rop = rt::SRCCOPY);
  void ComputerSchlaeger();  // where the refresh draws it: lunged while a stroke runs
  void Endbild(const rt::ImageBox& bild);
  void PunkteZeigen(rt::TextBox& feld, int32_t punkte);
  void Punktestelle();  // where the score is printed in the middle of the court
  // The ball has left the court: it waits at x for the serve of the side that scored, which
  // plays its stroke.
  void Ballaus(float x, float vx, float winkel, float funkenX);
  void LoescheUm(float x, float y);  // the box around a ball picture at (x, y)
  void LoescheGeister();
  // The other side missed: one more point; true when that ends the match.
  bool Punktgewinn(int32_t& punkte, int32_t andere, rt::TextBox& feld, const char* jubel,
                   const char* sieg, int16_t wer);
};

// The one Pong window, made on first use.
TPong& Pong();
