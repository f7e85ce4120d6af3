// The scene window for the end-to-end check of the effects: the command line names the room,
// and standard output reports, with milliseconds since the start, when each text, zoom, fade,
// shake and the credits begin and end and when a credits page stands complete, so that the
// check can take its screenshots at the right moments. Leaving the game ends the program
// instead of starting the menu again.
//   e2e_effects_player ROOM
#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/credits.h"
#include "engine/form1.h"
#include "engine/interpreter.h"
#include "engine/minispiel.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/forms.h"
#include "runtime/pump_hooks.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

void Melde(const std::string& s) {
  static const uint64_t anfang = rt::timeGetTime();
  std::printf("%6llu %s\n", static_cast<unsigned long long>(rt::timeGetTime() - anfang), s.c_str());
  std::fflush(stdout);
}

std::array<Befehlsroutine, Befehl::Anzahl> alt;

template <int32_t Op>
Fortgang Gemeldet(Lauf& lauf, const std::string& arg) {
  const std::string was = std::to_string(Op) + " " + rt::ToUtf8(arg);
  Melde("BEGINN " + was);
  const Fortgang f = alt[Op](lauf, arg);
  Melde("ENDE " + was);
  return f;
}

// The credits' frames, counted by the frame mark each one moves (the first frame's wait ends
// the wait before it, so counting starts a frame late): a page stands complete from 20 typing
// steps (of five frames) before the step that clears it.
struct Seitenzaehler {
  bool laeuft = false;
  uint64_t marke = 0, frames = 0;
  std::vector<uint64_t> voll;
  size_t naechste = 0;

  void Beginne() {
    laeuft = true;
    frames = 0;
    naechste = 0;
    voll.clear();
    uint64_t schritte = 0;
    for (const std::string& s : AbspannSeiten(BosheitsPunkte)) {
      // Positions 3 to the length plus 25, one per step; a marker takes its two blanks along.
      schritte += s.size() + 23 - 2 * size_t(std::count(s.begin(), s.end(), '#'));
      voll.push_back((schritte - 20) * 5);
    }
    marke = LetzterFrame();
  }
  void Frame() {
    if (!laeuft || LetzterFrame() == marke) return;
    marke = LetzterFrame();
    ++frames;
    if (naechste < voll.size() && frames == voll[naechste]) Melde("SEITE " + std::to_string(++naechste));
  }
} seiten;

Fortgang System(Lauf& lauf, const std::string& arg) {
  if (arg == "Abspann") seiten.Beginne();
  const Fortgang f = Gemeldet<Befehl::System>(lauf, arg);
  seiten.laeuft = false;
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  rt::SetCommandLine(argc, argv);
  MinispieleAnmelden();
  alt = Befehlstabelle();
  Befehlstabelle()[Befehl::Textzeile] = Gemeldet<Befehl::Textzeile>;
  Befehlstabelle()[Befehl::ZoomIn] = Gemeldet<Befehl::ZoomIn>;
  Befehlstabelle()[Befehl::ZoomOut] = Gemeldet<Befehl::ZoomOut>;
  Befehlstabelle()[Befehl::Effekt] = Gemeldet<Befehl::Effekt>;
  Befehlstabelle()[Befehl::System] = System;
  rt::AddPumpHook([](uint64_t) {
    seiten.Frame();
    return UINT64_MAX;
  });
  Form1().Beenden = [] {
    Melde("VERLASSEN");
    rt::EndProcess(0);
  };
  Form1().Show();
  while (Form1().Loaded()) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  return 0;
}
