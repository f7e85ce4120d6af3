// The Pong window: its controls, the start of a match, the rally tick with pause, the run-out
// and score timers, and the end of a match.
#include "minigames/pong/pong.h"

#include <cmath>
#include <memory>
#include <string>

#include "engine/module2.h"
#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

// A pointer that shows nothing: the player should see only the court.
rt::PicturePtr UnsichtbarerZeiger() {
  static const rt::PicturePtr zeiger = [] {
    auto p = std::make_shared<rt::Picture>();
    p->width = p->height = 32;
    p->pixels.assign(32 * 32, 0);
    p->alpha.assign(32 * 32, 0);
    return p;
  }();
  return zeiger;
}

// A missing picture (the loader names it on the error stream) leaves its holder empty, and the
// game plays on without it.
void BildLaden(rt::ImageBox& halter, const std::string& name) {
  halter.SetPicture(rt::LoadPicture(DatenPfad + name));
}

constexpr const char* kTitel = "Du hast keine Chance!!!   'p'=Pause";

}  // namespace

TPong& Pong() {
  // Never destroyed: the window object lives as long as the process.
  static TPong* form = new TPong;
  return *form;
}

TPong::TPong() {
  ProzessBeenden = [] { rt::EndProcess(0); };
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.Tick = [this] { Timer2_Timer(); };
  Timer3.Tick = [this] { Timer3_Timer(); };
  Timer4.Tick = [this] { Timer4_Timer(); };
  Timer5.Tick = [this] { Timer5_Timer(); };
  Timer6.Tick = [this] { Timer6_Timer(); };
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
}

void TPong::InitializeComponent() {
  Caption = "Du hast keine Chance!!!";
  BorderStyle = 1;
  MaxButton = false;
  StartUpPosition = 1;
  SetClientSize(640, 480);
  MousePointer = rt::vbCustom;
  MouseIcon = UnsichtbarerZeiger();

  Picture1.Move(0, 0, 641, 449);
  Picture1.SetAutoRedraw(true);
  Picture1.font = rt::Font{"Arial", 21.75f, true};
  Command1.Caption = "Neues Spiel";
  Command1.Move(8, 456, 65, 25);
  Command1.TabStop = true;
  Command1.TabIndex = 0;
  Command2.Caption = "Ende";
  Command2.Move(88, 456, 65, 25);
  Command2.TabStop = true;
  Command2.TabIndex = 1;
  Label1.Caption = "Merla";
  Label1.Move(240, 456, 25, 17);
  Text1.Move(280, 456, 41, 19);
  Text1.TabStop = true;
  Text1.TabIndex = 2;
  Label2.Caption = "Krakix";
  Label2.Move(384, 456, 41, 17);
  Text2.Move(432, 456, 41, 19);
  Text2.TabStop = true;
  Text2.TabIndex = 3;
  wave.Move(480, 456, 153, 25);
  wave.SetAutoRedraw(true);
  wave.SetVisible(false);
  for (rt::ImageBox* halter : {&Image1[0], &Image1[1], &Image1[2], &Image1[3], &Image4, &Image5,
                               &Image6, &Image7[0], &Image7[1], &Image8, &Image9})
    halter->SetVisible(false);
}

void TPong::Form_Load() {
  FallTempo = 0;
  FallSchritt = 0.4f;
  FallBasis = 0;
  FallFaktor = 0.8f;
  Effet = 3;
  Timer1.SetInterval(1);
  Timer2.SetInterval(1);
  Timer3.SetInterval(1500);
  Timer4.SetInterval(1);
  Timer5.SetInterval(1);
  Timer6.SetInterval(1);
  Timer2.SetEnabled(false);
  Timer6.SetEnabled(true);
  FeldBreite = 640;
  FeldHoehe = 440;
  Grundtempo = 5;
  for (int i = 0; i < 4; ++i) BildLaden(Image1[i], "1(" + std::to_string(i) + ").bmp");
  BildLaden(Image4, "4.bmp");
  BildLaden(Image5, "5.bmp");
  BildLaden(Image6, "6.bmp");
  BildLaden(Image7[0], "70.bmp");
  BildLaden(Image7[1], "71.bmp");
  BildLaden(Image8, "8.bmp");
  BildLaden(Image9, "91.bmp");
  wave.SetPicture(rt::LoadPicture(DatenPfad + "w.bmp"));
  neuess();
}

void TPong::neuess() {
  Caption = std::string(" ") + kTitel;
  BigPartikelClear();
  Picture1.font.size = 22;
  // A new background colour clears the court.
  Picture1.BackColor = rt::vbBlack;
  Picture1.Cls();
  SpielVorbei = false;
  SchlaegerRechtsX = 610;

  Spielstufe = 1;
  // Taken from the ball as the last rally left it: a later match's limit depends on its flight.
  StufenGrenze = int32_t(rt::CLng(100.0 - double(BallVX) * 5));

  BallVX = Grundtempo;
  BallVY = 0;
  BallX = 35;
  BallY = 215;
  for (Punkt& g : Ballgeist) g.y = 215;
  Tastendauer = 0;
  Effet = 2;
  EndSchritt = 0.05f;

  Loesche(14, double(SchlaegerLinksY) - 53, 120, double(SchlaegerLinksY) - 43);
  Loesche(607, double(SchlaegerRechtsY) - 53, 713, double(SchlaegerRechtsY) - 43);
  SchlaegerRechtsY = SchlaegerLinksY = SchlaegerRechtsAltY = SchlaegerLinksAltY = 215;
  Zeichne(Image4, 17, 165);
  Zeichne(Image5, 610, 165);

  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  Timer3.SetEnabled(false);
  Timer4.SetEnabled(false);
  Timer5.SetEnabled(false);
  Timer6.SetEnabled(true);

  // The computer serves: its stroke plays with the first rally ticks.
  FunkenBreite = FunkenHoehe = 10;
  Schlagwinkel = -1.57f;
  Pausiert = false;
  Schlagzaehler = 0;
  SchlagLaeuft = true;
  FunkenX = 28;
  FunkenY.fill(BallY);

  PunkteZeigen(Text1, 0);
  PunkteZeigen(Text2, 0);
  PunkteComputer = PunkteSpieler = 0;
  Vorstoss = 0;
}

void TPong::Command1_Click() { neuess(); }

void TPong::Command2_Click() {
  // The whole program ends here, but the sound device and the media channels are let go first.
  StoppeMusik();
  SchliesseFilm();
  rt::AudioClose();
  ProzessBeenden();
}

void TPong::gewonnen(int16_t wer) {
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  Timer3.SetEnabled(false);
  SpielVorbei = true;
  if (wer == 1) {
    SpielErgebnis = true;
    Timer5.SetEnabled(true);
    Caption = " Freu dich nicht! Das war nur Gl\xFC" "ck.";
  } else {
    Timer4.SetEnabled(true);
    Caption = " Wie kann man nur so schlecht sein?";
  }
}

void TPong::Timer1_Timer() {
  CheckKeys();
  if (Pausiert) {
    Caption = "     !Pause!    'O' dr\xFC" "cken, um weiter zu spielen.";
    if (Tasten[79] > 126) {
      Pausiert = false;
      Caption = kTitel;
    }
  }
  if (!Pausiert) {
    start();
    Tastenschritt();
  }
  Zeichne(Image5, SchlaegerRechtsX, double(SchlaegerRechtsY) - 50);
  if (Tasten[80] > 126) Pausiert = true;
  if (SpielVorbei) Loesche(0, 0, 640, 450);
}

void TPong::Timer2_Timer() {
  bewegung();
  Zeichne(Image4, 17, double(SchlaegerLinksY) - 50);
  Zeichne(Image5, 610, double(SchlaegerRechtsY) - 50);
}

void TPong::Timer3_Timer() {
  Punktestelle();
  const double cx = Picture1.CurrentX, cy = Picture1.CurrentY;
  Loesche(cx - 3, cy - 3, cx + 153, cy + 53);
  Timer3.SetEnabled(false);
  BallY = 215;
  Timer6.SetEnabled(true);
}

void TPong::Punktestelle() {
  // The font's size in points as the court reports it, in steps of a ten-thousandth.
  const auto stelle = [this](float ausdehnung) {
    return float(std::round((double(ausdehnung) / 2 - 2 * double(Picture1.font.size)) * 10000) / 10000);
  };
  Picture1.CurrentX = stelle(FeldBreite);
  Picture1.CurrentY = stelle(FeldHoehe);
}

void TPong::PunkteZeigen(rt::TextBox& feld, int32_t punkte) { feld.SetText(rt::Str(punkte)); }

void TPong::Loesche(double x1, double y1, double x2, double y2) {
  Picture1.Line(float(x1), float(y1), float(x2), float(y2), rt::vbBlack, rt::Surface::BoxFilled);
}

void TPong::Zeichne(const rt::ImageBox& bild, double x, double y, uint32_t rop) {
  Picture1.PaintPicture(bild.Picture, float(x), float(y), -1e9f, -1e9f, 0, 0, -1e9f, -1e9f, rop);
}
