// The fight itself: the opening, six rounds of the player's planned attack and Torvik's answer,
// and one of the three endings. It runs inside the click on "Let's fight!"; every pause pumps
// events, so the music timer and repaints go on.
#include <string>
#include <string_view>

#include "engine/module2.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "minigames/fight/pruegel.h"
#include "minigames/fight/regeln.h"
#include "runtime/system.h"
#include "runtime/text.h"

void TPrügel::Melde(char art, std::string_view was) {
  if (Protokoll) Protokoll(std::string{art, ' '}.append(was));
}

void TPrügel::Melde(char art, int32_t zahl) {
  if (Protokoll) Melde(art, std::to_string(zahl));
}

void TPrügel::Bild(const std::string& datei) {
  Melde('B', datei);
  // A missing picture leaves the view black (the loader names it on stderr); the fight goes on.
  Picture1.SetPicture(rt::LoadPicture(DatenPfad + datei));
}

void TPrügel::Sound(const std::string& datei) {
  Melde('S', datei);
  SpieleSound(DatenPfad + datei);
}

void TPrügel::Text(const std::string& text, int32_t farbe) {
  Melde('T', text);
  PrintText(text, farbe);
}

void TPrügel::Warte(int32_t ms) {
  WarteFrame(ms);
  if (geschlossen_) throw Abbruch{};
  Melde('W', ms);
}

void TPrügel::TrefferTorvik(int32_t basis, const std::string& vorsatz) {
  const int32_t d = Schaden(basis, rt::Rnd());
  Text(vorsatz + std::to_string(d) + " HP", 0);
  EnergieT -= d;
  ShowEnergieT();
}

void TPrügel::TrefferSpieler(int32_t basis, const std::string& vorsatz) {
  const int32_t d = Schaden(basis, rt::Rnd());
  Text(vorsatz + std::to_string(d) + " HP", 1);
  EnergieK -= d;
  ShowEnergieK();
}

void TPrügel::Abgewehrt(int32_t technik, int32_t farbe) {
  Bild("Kampf" + std::to_string(technik) + "1.jpg");
  Sound("block.wav");
  Warte(2000);
  Bild("Kampf0.jpg");
  Text("Guard", farbe);
  Warte(2000);
}

void TPrügel::Command1_Click() {
  try {
    Kampf();
  } catch (const Abbruch&) {
    // The window was closed from outside: the fight is lost (its unload stopped the music).
    Picture1.DrawMode = rt::vbCopyPen;
    SpielErgebnis = false;
  }
}

void TPrügel::Kampf() {
  SpieleMusik(DatenPfad + "Ken_g.mid");
  RM.SetEnabled(true);
  Frame2.SetVisible(false);
  Frame1.SetVisible(true);
  EnergieT = StartEnergieT;
  AnzeigeT = StartEnergieT - Vorlauf;
  EnergieK = StartEnergieK;
  AnzeigeK = StartEnergieK - Vorlauf;
  Warte(1);
  Bild("Kampfs0.jpg");
  ShowEnergieK();
  ShowEnergieT();
  Bild("Kampfs1.jpg");
  Text("Get Ready!", 2);
  Warte(2000);
  Bild("Kampf0.jpg");
  Text("Fight!", 2);
  Warte(2000);

  for (int32_t i = 0; i <= 5; ++i) {
    const int32_t a = Angriffe[size_t(i)];
    Bild("Kampf0.jpg");
    Warte(2000);
    ZugDesSpielers(a);
    if (EnergieT == 0) return Gewonnen();
    Bild("Kampf0.jpg");
    Warte(2000);
    ZugTorviks(i, a);
    if (EnergieK == 0) return Verloren();
  }
  Schlussangriff();
}

void TPrügel::ZugDesSpielers(int32_t a) {
  const std::string technik = std::to_string(a + 1);
  switch (WaehleSpielerZug(a, rt::Rnd)) {
    case SpielerZug::Trank:
      Text("Zaubertrank", 0);
      Warte(2000);
      for (int j = 0; j <= 9; ++j) {
        Bild("KampfKK" + std::to_string(j) + ".jpg");
        Warte(500);
        if (j == 0) {
          Sound("schluck.wav");
          Warte(1500);
          Sound("s_kampf2.wav");
        }
        if (j == 7) Sound("bionic.wav");
      }
      Bild("KampfKK10.jpg");
      Sound("schlag2.wav");
      TrefferTorvik(1100, "ULTIMATE! ");
      break;
    case SpielerZug::Geblockt:
      Abgewehrt(a + 1, 0);
      break;
    case SpielerZug::Schlag:
      Bild("Kampf" + technik + "0.jpg");
      Sound("schlag2.wav");
      Warte(2000);
      Bild("KampfT.jpg");
      Sound("TorvikF22a.wav");
      TrefferTorvik(480, "");
      break;
  }
}

void TPrügel::ZugTorviks(int32_t i, int32_t a) {
  const TorvikZug zug = WaehleTorvikZug(EnergieK, EnergieT, a, Abwehren[size_t(i)], rt::Rnd);
  const std::string technik = std::to_string(zug.technik + 4);
  switch (zug.art) {
    case TorvikZug::Feuerball:
      Feuerball();
      return;
    case TorvikZug::Leicht:
      Text("Unblockable", 1);
      Warte(2000);
      Bild("KampfTK1.jpg");
      Sound("boing.wav");
      Warte(2000);
      Sound("s_kampf1.wav");
      TrefferSpieler(10, "NICE! ");
      Warte(1800);
      return;
    case TorvikZug::Schwer:
      Text("Unblockable", 1);
      Warte(2000);
      Bild("KampfTK20.jpg");
      Warte(2000);
      Bild("KampfTK21.jpg");
      Sound("schlag.wav");
      Warte(2000);
      Sound("s_kampf1.wav");
      TrefferSpieler(300, "WOW! ");
      Warte(1200);
      return;
    case TorvikZug::Geblockt:
      Abgewehrt(zug.technik + 4, 1);
      return;
    case TorvikZug::Technik:
      if (zug.technik == 2) {
        Bild("Kampf" + technik + "00.jpg");
        Warte(1000);
        Bild("Kampf" + technik + "01.jpg");
        Sound("Schlag.wav");
        Warte(1000);
      } else {
        Bild("Kampf" + technik + "0.jpg");
        Sound("Schlag.wav");
        Warte(2000);
        Bild("KampfH.jpg");
      }
      Sound("s_kampf1.wav");
      TrefferSpieler(280, "");
      return;
  }
}

void TPrügel::Feuerball() {
  const rt::Color weiss = rt::QBColor(15);
  Text("Fireball", 1);
  Warte(2000);
  Bild("KampfTK0.jpg");
  Sound("hadoken.wav");
  // The ball swells to a radius of 20 in half-pixel steps, then the beam grows to the left edge.
  for (int schritt = 0; schritt <= 40; ++schritt) {
    Picture1.Circle(340, 130, float(schritt) * 0.5f, weiss);
    Warte(15);
  }
  for (int t = 1; t <= 34; ++t) {
    Picture1.Line(float(340 - 10 * t), 110, 340, 150, weiss, rt::Surface::BoxFilled);
    Warte(10);
  }
  Bild("KampfH.jpg");
  Sound("s_kampf1.wav");
  TrefferSpieler(950, "AWESOME! ");
}

void TPrügel::Gewonnen() {
  RM.SetEnabled(false);
  StoppeMusik();
  Bild("KampfG.jpg");
  Sound("TorvikF23a.wav");
  Warte(2000);
  Text("Krakix wins!", 2);
  Warte(2000);
  SpielErgebnis = true;
  Unload();
}

void TPrügel::Verloren() {
  RM.SetEnabled(false);
  StoppeMusik();
  Bild("KampfV.jpg");
  Sound("s_kampf1.wav");
  Warte(2000);
  Text("Torvik wins!", 2);
  Sound("TorvikF24a.wav");
  Warte(2000);
  Unload();
}

void TPrügel::Schlussangriff() {
  RM.SetEnabled(false);
  StoppeMusik();
  Bild("KampfTK30.jpg");
  Text("Final Attack!", 1);
  Warte(2000);
  Sound("Tesla.wav");
  Warte(1000);
  Bild("KampfTK31.jpg");
  // Inverting boxes: the picture flashes between negative and positive.
  Picture1.DrawMode = rt::vbInvert;
  for (int n = 0; n < 10; ++n) {
    Picture1.Line(0, 0, float(Picture1.ScaleWidth()), float(Picture1.ScaleHeight()), rt::QBColor(15),
                  rt::Surface::BoxFilled);
    Warte(100);
  }
  Picture1.DrawMode = rt::vbCopyPen;
  Bild("KampfTK32.jpg");
  Warte(2000);
  Bild("KampfTK33.jpg");
  Warte(1000);
  Bild("KampfTK34.jpg");
  Sound("TorvikF25a.wav");
  Warte(2000);
  Text("Torvik wins!", 2);
  Warte(2000);
  Unload();
}
