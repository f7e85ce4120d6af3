// The fight window: its design, the start-up with the potion, and the planning with undo.
#include "minigames/fight/pruegel.h"

#include <memory>

#include "engine/module2.h"
#include "engine/state.h"
#include "minigames/fight/regeln.h"
#include "runtime/text.h"

TPrügel& Prügel() {
  // Never destroyed: windows outlive main's return only through the runtime's shutdown.
  static TPrügel* form = new TPrügel;
  return *form;
}

namespace {

// Stands in for a button picture that cannot be loaded, so the button can still be seen and
// clicked.
rt::PicturePtr LeererKnopf() {
  static const rt::PicturePtr bild = [] {
    auto p = std::make_shared<rt::Picture>();
    p->width = p->height = 65;
    p->pixels.assign(65 * 65, rt::RGB(160, 160, 160));
    for (int i = 0; i < 65; ++i)
      for (int j : {0, 64}) p->pixels[size_t(i) * 65 + j] = p->pixels[size_t(j) * 65 + i] = rt::RGB(64, 64, 64);
    return p;
  }();
  return bild;
}

rt::PicturePtr Knopfbild(const std::string& datei) {
  rt::PicturePtr p = rt::LoadPicture(DatenPfad + datei);
  return p ? p : LeererKnopf();
}

rt::Font Schrift(const char* name, float groesse) {
  rt::Font f;
  f.name = name;
  f.size = groesse;
  f.bold = true;
  return f;
}

}  // namespace

void TPrügel::InitializeComponent() {
  Caption = "Fight";
  BorderStyle = 0;
  // No close box to click, but a close request from outside (the window manager, the task bar)
  // still ends the game as a loss.
  ControlBox = true;
  MinButton = MaxButton = false;
  StartUpPosition = 2;
  SetClientSize(640, 460);

  Frame2.Caption = "W\xE4hle deine Technik";
  Frame2.BorderStyle = 1;
  Frame2.Move(0, 0, 641, 457);
  const int knopfOben[5] = {16, 96, 176, 256, 376};
  for (int i = 0; i < 5; ++i) {
    Image1[i].Move(8, knopfOben[i], 65, 65);
    Image1[i].Click = [this, i] { Image1_Click(i); };
  }
  Label2.Caption = "Angriff:";
  Label2.font = Schrift("MS Sans Serif", 13.5f);
  Label2.Move(104, 24, 113, 25);
  for (int i = 0; i < 6; ++i) {
    Image2[i].Move(112 + 88 * i, 80, 65, 65);
    Image3[i].Move(112 + 88 * i, 288, 65, 65);
  }
  Label3.Caption = "Verteidigung:";
  Label3.font = Schrift("MS Sans Serif", 13.5f);
  Label3.Move(104, 232, 153, 25);
  for (rt::Label* l : {&Line1, &Line2}) l->BackColor = rt::vbBlack;
  Line1.Move(96, 16, 1, 441);
  Line2.Move(96, 208, 545, 1);
  Command1.Caption = "Let's fight!";
  Command1.Move(480, 424, 145, 25);
  Command1.SetVisible(false);
  Command1.Click = [this] { Command1_Click(); };

  Frame1.Move(0, 0, 641, 465);
  Frame1.SetVisible(false);
  Picture1.Move(0, 0, 641, 425);
  Picture1.BackColor = rt::vbBlack;
  Picture1.SetAutoRedraw(true);
  Picture1.font = Schrift("Arial", 24);
  for (rt::Label& l : Label1) l.font = Schrift("MS Sans Serif", 8.25f);
  Label1[0].Caption = "Krakix";
  Label1[0].Move(0, 440, 265, 17);
  Label1[1].Caption = "Torvik";
  Label1[1].Alignment = 1;
  Label1[1].Move(368, 440, 265, 17);

  RM.SetEnabled(false);
  RM.SetInterval(500);
  RM.Tick = [this] { RM_Timer(); };
}

void TPrügel::Form_Load() {
  RM.SetEnabled(false);
  geschlossen_ = false;
  HatZaubertrank = rt::LCase(rt::Trim(SpielErgebnis.AlsText())) == "zaubertrank";
  SpielErgebnis = false;
  AnzahlGewaehlt = 0;
  Angriffe.fill(-1);
  Abwehren.fill(-1);
  LadeAngriff();
}

void TPrügel::Form_Unload(int&) {
  geschlossen_ = true;
  // A fight cut short by closing the window ends its music at once; the fight itself stops at
  // its next wait.
  if (RM.Enabled()) {
    RM.SetEnabled(false);
    StoppeMusik();
  }
}

void TPrügel::LadeAngriff() {
  for (int i = 1; i <= 5; ++i) Image1[i - 1].SetPicture(Knopfbild("pr\xFCgels" + std::to_string(i) + ".bmp"));
  Image1[3].SetVisible(HatZaubertrank);
}

void TPrügel::LadeAbwehr() {
  for (int i = 1; i <= 3; ++i) Image1[i - 1].SetPicture(Knopfbild("pr\xFCgelb" + std::to_string(i) + ".bmp"));
  Image1[3].SetVisible(false);
}

void TPrügel::Image1_Click(int index) {
  if (index < 0 || index > 4) return;
  if (index == 4) {
    if (AnzahlGewaehlt == 0) return;
    const int32_t n = --AnzahlGewaehlt;
    if (n >= 6) {
      Abwehren[size_t(n - 6)] = -1;
      Image3[n - 6].SetPicture(nullptr);
    } else {
      if (Angriffe[size_t(n)] == Zaubertrank) {
        Image1[3].SetVisible(true);
        HatZaubertrank = true;
      }
      Angriffe[size_t(n)] = -1;
      Image2[n].SetPicture(nullptr);
    }
    if (n == 5) LadeAngriff();
    if (n == 11) Command1.SetVisible(false);
    return;
  }

  if (index == Zaubertrank) {
    Image1[3].SetVisible(false);
    HatZaubertrank = false;
  }
  if (AnzahlGewaehlt == 12) return;
  const int32_t n = AnzahlGewaehlt;
  if (n <= 5) {
    Angriffe[size_t(n)] = index;
    Image2[n].SetPicture(Image1[index].Picture);
  } else {
    Abwehren[size_t(n - 6)] = index;
    Image3[n - 6].SetPicture(Image1[index].Picture);
  }
  ++AnzahlGewaehlt;
  if (AnzahlGewaehlt == 6) LadeAbwehr();
  if (AnzahlGewaehlt == 12) Command1.SetVisible(true);
}

void TPrügel::RM_Timer() { PruefeMusikEnde(); }
