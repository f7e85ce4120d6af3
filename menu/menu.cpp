#include "menu/menu.h"

#include <cmath>
#include <cstdio>
#include <exception>

#include "engine/form1.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "menu/menu_art.h"
#include "menu/menu_loop.h"
#include "runtime/system.h"
#include "runtime/text.h"

const char* const MenuWebAdresse = "https://norvalde.example";

namespace {

const char* const HauptTitel[4] = {"Spiel beginnen", "Altes Spiel laden", "Bonusmaterial",
                                   "Menü verlassen"};
const char* const BonusTitel[4] = {"Videos", "Bilder Sessions", "Mathe-Physik-LernCD", "Zurück"};

// From the CD search on, a failing step must not stop the start-up: the menu is still usable
// with whatever was set before.
template <class F>
void Ungeprueft(F&& schritt) {
  try {
    schritt();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Norvalde: Menü-Start: %s\n", e.what());
  } catch (...) {
  }
}

// An auto-sized label measures itself only when its caption is set, so a change of weight
// sets the caption again; the left edge stays where it is.
void Fett(rt::Label& l, bool an) {
  l.font.bold = an;
  l.SetCaption(l.Caption);
}

void Beschriften(rt::Label (&eintraege)[4], const char* const (&titel)[4]) {
  for (int i = 0; i < 4; ++i) eintraege[i].SetCaption(rt::FromUtf8(titel[i]));
}

}  // namespace

TMenu::TMenu() {
  SzeneZeigen = [] { Form1().Show(); };
  ProzessBeenden = [] { rt::EndProcess(0); };
  Oeffnen = [](const std::string& ziel) {
    if (rt::OpenWithDesktop(ziel)) return true;
    std::fprintf(stderr, "Norvalde: %s lässt sich nicht öffnen\n", rt::ToUtf8(ziel).c_str());
    return false;
  };
}

TMenu& Menu() {
  static TMenu* menu = new TMenu;
  return *menu;
}

void TMenu::InitializeComponent() {
  Caption = rt::FromUtf8("Norvalde - Menü");
  BorderStyle = 1;
  MinButton = true;
  MaxButton = false;
  KeyPreview = true;
  StartUpPosition = 2;
  SetClientSize(501, 397);

  Image1.Move(0, 0, 501, 121);
  Image1.SetPicture(MenuBanner());

  Label2.Move(112, 88, 132, 13);
  Label2.ForeColor = rt::RGB(0, 128, 0);
  Label2.BackStyle = 0;
  Label2.MousePointer = rt::vbCustom;
  Label2.MouseIcon = MenuHandCursor();
  Label2.SetCaption(MenuWebAdresse);
  Label2.Click = [this] { Label2_Click(); };

  Label3.Move(360, 88, 36, 13);
  Label3.Alignment = 1;
  Label3.ForeColor = rt::RGB(0, 192, 0);
  Label3.BackStyle = 0;
  Label3.SetCaption("V. 1.4");

  Picture1.BorderStyle = 0;
  Picture1.Move(0, 120, 505, 281);
  Picture1.BackColor = 0;
  Picture1.SetAutoRedraw(false);
  Picture1.Cls();

  Picture2.BorderStyle = 0;
  Picture2.Move(184, 0, 257, 273);
  Picture2.SetAutoRedraw(true);
  Picture2.BackColor = 0;
  Picture2.Cls();

  for (int i = 0; i < 4; ++i) {
    rt::Label& l = Label1[i];
    l.font = rt::Font{"MS Sans Serif", 12.0f, false, false, false};
    l.ForeColor = rt::RGB(255, 255, 0);
    l.Alignment = 2;
    l.BackStyle = 0;
    l.AutoSize = true;
    l.SetVisible(true);
    l.SetCaption(rt::FromUtf8(HauptTitel[i]));
    l.MouseMove = [this, i](int button, int shift, float x, float y) {
      Label1_MouseMove(i, button, shift, x, y);
    };
    l.Click = [this, i] { Label1_Click(i); };
  }

  Drive1.SetVisible(false);

  Timer1.SetEnabled(false);
  Timer1.SetInterval(10);
  Timer1.Tick = [this] { Timer1_Timer(); };
}

void TMenu::Form_Load() {
  MenuStopp = false;
  if (!rt::Command().empty()) {
    SzeneZeigen();
    Unload();
    return;
  }
  rt::Randomize(double(float(rt::SecondsSinceMidnight())));
  rt::ChDir(rt::AppPath());
  PiWert = float(4 * std::atan(1.0));

  OrdnerEinrichten(rt::AppPath());
  Ungeprueft([&] {
    MenuTyp = -1;
    MenuBonusSetzen(0);
  });
  Ungeprueft([&] {
    GewaehlterEintrag = 0;
    Fett(Label1[0], true);
  });
  // Laid out once: later captions grow to the right from here.
  Ungeprueft([&] {
    for (int i = 0; i < 4; ++i)
      Label1[i].Move(int(rt::CLng(100 - Label1[i].Width() / 2.0)), i * 50 + 40);
  });
  Ungeprueft([&] { Timer1.SetEnabled(true); });
}

void TMenu::OrdnerEinrichten(const std::string& programmOrdner) {
  std::string cdPrefix;
  bool gefunden = false;
  Ungeprueft([&] {
    CDPfad.clear();
    // Every drive from the current one on is looked at; the last one with the marker wins.
    int start = 0;
    const std::string aktuell = rt::LCase(rt::Left(rt::CurDir(), 2));
    for (int i = 0; i < Drive1.ListCount(); ++i)
      if (rt::LCase(Drive1.List(i)) == aktuell) start = i;
    for (int i = start; i < Drive1.ListCount(); ++i) {
      Ungeprueft([&] {
        Drive1.SetListIndex(i);
        std::string wurzel = rt::Left(Drive1.Drive, 2);
        if (rt::Right(wurzel, 1) != "\\") wurzel += "\\";
        if (rt::FileExists(wurzel + "Norvalde")) {
          cdPrefix = wurzel;
          CDPfad = wurzel;
          gefunden = true;
        }
      });
    }
  });
  Ungeprueft([&] {
    if (!gefunden) Label1[2].SetVisible(false);
  });
  cdPrefix += "Spiel\\";

  std::string basis = programmOrdner;
  if (rt::Right(basis, 1) != "\\") basis += "\\";

  struct Ordner {
    std::string* pfad;
    const char* lokal;
    const char* cd;
  };
  const Ordner ordner[] = {
      {&SoundPfad, "sounds\\", "sounds\\"},     {&GrafikPfad, "graphics\\", "Graphics\\"},
      {&FilmPfad, "movies\\", "Movies\\"},      {&CursorPfad, "cursors\\", "Cursors\\"},
      {&GegenstandPfad, "items\\", "Items\\"},  {&MusikPfad, "musics\\", "Musics\\"},
      {&DatenPfad, "games\\", "Games\\"},       {&RaumPfad, "rooms\\", "Rooms\\"},
  };
  // Each folder is decided by itself: local when it holds at least one ordinary file.
  for (const Ordner& o : ordner) {
    Ungeprueft([&] {
      *o.pfad = basis + o.lokal;
      if (rt::ListFolder(*o.pfad, "*", true, false).empty()) *o.pfad = cdPrefix + o.cd;
    });
  }

  Ungeprueft([&] {
    if (!rt::FolderExists(basis + "saves\\")) rt::MkDir(basis + "saves\\");
  });
}

void TMenu::Form_QueryUnload(int& cancel, int unloadMode) {
  (void)cancel;
  (void)unloadMode;
  MenuStopp = true;
}

void TMenu::Timer1_Timer() {
  Timer1.SetEnabled(false);
  DoLoop();
}

void TMenu::DoLoop() {
  Timer1.SetEnabled(false);
  Picture2.font = rt::Font{"Fixedsys", 9.0f, true, false, false};
  Picture2.BackColor = 0;
  Picture2.Cls();

  MenuSchreiber schreiber;
  int durchlauf = 0;
  for (;;) {
    if (++durchlauf > 4) {
      durchlauf = 0;
      schreiber.Schritt(MenuTyp, Picture2);
      BalkenBild(Picture1, Phase);
    }
    WarteFrame(16);
    // The pump may have unloaded the window: touch nothing after that.
    if (MenuStopp) return;
  }
}

void TMenu::LabelAufbau(int16_t index) {
  for (auto& l : Label1) Fett(l, false);
  Fett(Label1[index], true);
}

void TMenu::MenuBonusSetzen(int16_t neuerTyp) {
  if (MenuTyp == 1) {
    GewaehlterEintrag = 0;
    LabelAufbau(0);
    Beschriften(Label1, HauptTitel);
  } else if (MenuTyp == 0) {
    GewaehlterEintrag = 0;
    LabelAufbau(0);
    Beschriften(Label1, BonusTitel);
  }
  MenuTyp = neuerTyp;
}

void TMenu::LabelAusfuehren(int16_t index) {
  if (MenuTyp == 0) {
    switch (index) {
      case 0:
        SpielErgebnis = std::string();
        Unload();
        SzeneZeigen();
        break;
      case 1:
        SpielErgebnis = std::string("Laden.lsd");
        Unload();
        SzeneZeigen();
        break;
      case 2:
        MenuBonusSetzen(1);
        break;
      case 3:
        ProzessBeenden();
        break;
    }
  } else if (MenuTyp == 1) {
    switch (index) {
      case 0:
        Oeffnen(CDPfad + "Videos");
        break;
      case 1:
        Oeffnen(CDPfad + "Bilder\\index.html");
        break;
      case 2:
        Oeffnen(CDPfad + "LernCD");
        break;
      case 3:
        MenuBonusSetzen(0);
        break;
    }
  }
}

void TMenu::Label1_MouseMove(int index, int, int, float, float) {
  if (index != GewaehlterEintrag) {
    GewaehlterEintrag = int16_t(index);
    LabelAufbau(int16_t(index));
  }
}

void TMenu::Label1_Click(int index) { LabelAusfuehren(int16_t(index)); }

void TMenu::Label2_Click() { Oeffnen(MenuWebAdresse); }

void TMenu::Form_KeyDown(int& keyCode, int) {
  if (keyCode == rt::vbKeyReturn) LabelAusfuehren(GewaehlterEintrag);
  if (keyCode == rt::vbKeyUp && GewaehlterEintrag > 0) {
    do --GewaehlterEintrag;
    while (GewaehlterEintrag > 0 && !Label1[GewaehlterEintrag].Visible());
    LabelAufbau(GewaehlterEintrag);
  }
  if (keyCode == rt::vbKeyDown && GewaehlterEintrag < 3) {
    do ++GewaehlterEintrag;
    while (GewaehlterEintrag < 3 && !Label1[GewaehlterEintrag].Visible());
    LabelAufbau(GewaehlterEintrag);
  }
  if (keyCode == rt::vbKeyEscape) {
    if (MenuTyp == 0)
      ProzessBeenden();
    else
      MenuBonusSetzen(0);
  }
}
