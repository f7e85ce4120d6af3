// The scene window on the sample content for the player's checks: the command line names the
// first room; the player carries the sample items from the start; until the script command for
// texts exists, a stand-in shows a script's text in the text band until a key or a click.
#include "engine/form1.h"
#include "engine/interpreter.h"
#include "engine/state.h"
#include "runtime/forms.h"
#include "runtime/system.h"

namespace {

Fortgang TextBisTaste(Lauf&, const std::string& text) {
  Form1().ZeigText(text);
  LetzteTaste = 0;
  Klick = 0;
  while (LetzteTaste == 0 && Klick == 0 && Form1().Loaded()) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  Form1().WegText(text);
  return Fortgang::Weiter;
}

}  // namespace

int main(int argc, char** argv) {
  rt::SetCommandLine(argc, argv);
  if (!Befehlstabelle()[Befehl::Textzeile]) Befehlstabelle()[Befehl::Textzeile] = TextBisTaste;
  // The window's start-up empties the items: they are given once it runs (the first room's
  // start text may already wait then).
  rt::Timer geben;
  geben.SetInterval(200);
  geben.Tick = [&] {
    if (!Form1().Loaded()) return;
    geben.SetEnabled(false);
    for (const char* g : {"schluessel.bmp", "apfel.bmp"}) GegenstandDazu(g);
    Form1().GegenständeLaden();
  };
  geben.SetEnabled(true);
  Form1().Show();
  while (Form1().Loaded()) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  return 0;
}
