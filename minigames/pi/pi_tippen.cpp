// The typing phase: one character of the digits file per turn, the wait for its key, and the
// end screen.
#include <algorithm>
#include <cstdio>

#include "engine/module2.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "minigames/pi/pispiel.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

int Anteil(float r) { return int(std::min<long long>(rt::CLng(r * 192.0f + 64.0f), 255)); }

}  // namespace

void TPISpiel::Schluss() {
  DateiSchliessen();
  StoppeMusik();
  Unload();
}

void TPISpiel::Tippen() {
  const std::string datei = DatenPfad + "Pi10000.txt";
  DateiNr = rt::FreeFile();
  if (!rt::OpenForBinaryRead(DateiNr, datei)) {
    DateiNr = -100;
    std::fprintf(stderr, "Norvalde: digits file not found: %s\n", rt::ToUtf8(datei).c_str());
    Schluss();
    return;
  }
  // A shorter file ends where it ends, as the 10000th character does: past its end there is
  // nothing to type, and a time-out must never pass for a typed character.
  const int32_t letzte = int32_t(std::min<long long>(10000, rt::FileLength(DateiNr)));
  if (letzte < 1) {
    Schluss();
    return;
  }

  Position = 0;
  for (;;) {
    if (!SpielLaeuft) {
      Schluss();
      return;
    }
    ++Position;
    const int zeichen = rt::ReadByte(DateiNr);
    if (zeichen < 0) {  // the file shrank under the game
      if (!Ende(Ausgang::Alle)) return;
      continue;
    }
    rt::PictureBox& p = Picture1;
    p.Cls();

    p.font.size = 8;
    p.ForeColor = rt::RGB(64, 255, 64);
    p.CurrentY = 0;
    const std::string zaehler = "#" + std::to_string(Position);
    p.CurrentX = float(p.ScaleWidth()) - p.TextWidth(zaehler);
    p.Print(zaehler);

    const std::string s(1, char(zeichen));
    if (Position < 51) {
      p.ForeColor = rt::QBColor(15);
    } else {
      const float r1 = rt::Rnd();
      const float r2 = rt::Rnd();
      const float r3 = rt::Rnd();
      p.ForeColor = rt::RGB(Anteil(r1), Anteil(r2), Anteil(r3));
    }
    p.font.size = Position < 26 ? 72.0f : rt::Rnd() * 88.0f + 8.0f;
    if (Position > 11) {
      p.CurrentX = rt::Rnd() * (float(p.ScaleWidth()) - p.TextWidth(s));
      p.CurrentY = rt::Rnd() * (float(p.ScaleHeight()) - p.TextHeight(s));
      p.Print(s);
    } else {
      Zentriere(s);
    }

    GedrueckteTaste = 0;
    const uint64_t start = rt::timeGetTime();
    if (ZeichenGezeigt) ZeichenGezeigt();
    // Events are pumped at least once: once the limit is spent only a key already waiting counts.
    const int64_t frist = int64_t(start) + 2000 - 10 * int64_t(Position);
    for (;;) {
      rt::DoEvents();
      if (!SpielLaeuft) return;  // the window is closing and closes the file itself
      if (int64_t(rt::timeGetTime()) >= frist || GedrueckteTaste != 0) break;
      rt::WaitForEvent(uint64_t(frist));
    }
    if (GedrueckteTaste == 44) GedrueckteTaste = 46;  // "," counts as "."

    if (GedrueckteTaste != 0 && GedrueckteTaste == zeichen && Position != letzte) continue;
    const Ausgang ausgang = Position == letzte      ? Ausgang::Alle
                            : GedrueckteTaste != 0 ? Ausgang::Vertippt
                                                   : Ausgang::ZuLangsam;
    if (!Ende(ausgang)) return;
  }
}

bool TPISpiel::Ende(Ausgang ausgang) {
  rt::PictureBox& p = Picture1;
  StoppeMusik();
  p.BackColor = rt::QBColor(15);
  p.Cls();
  WarteFrame(0);
  WarteFrame(10);
  if (!SpielLaeuft) return false;

  SpieleSound(DatenPfad + "JINGLE.WAV");
  p.BackColor = rt::QBColor(0);
  p.Cls();
  p.ForeColor = rt::QBColor(11);
  p.font.size = 12;
  p.CurrentY = 0;
  p.CurrentX = float(rt::CLng(p.ScaleWidth()) / 2 - rt::CLng(p.TextWidth("Game Over")) / 2);
  p.Print("Game Over");
  p.Print("");
  switch (ausgang) {
    case Ausgang::Alle: p.Print("Ich glaub du hast geschummelt, denn du hast alle"); break;
    case Ausgang::Vertippt: p.Print("Da hast du dich wohl vertippt, aber du hast"); break;
    case Ausgang::ZuLangsam: p.Print("Das war leider zu langsam... Du hast"); break;
  }
  p.Print(std::to_string(Position - 1) + " Zeichen von PI geschafft!");
  if (Position >= 40) SpielErgebnis = true;

  const uint64_t bis = rt::timeGetTime() + 10000;
  for (;;) {
    rt::DoEvents();
    if (!SpielLaeuft || rt::timeGetTime() >= bis) break;
    rt::WaitForEvent(bis);
  }
  SpielLaeuft = false;
  return true;
}
