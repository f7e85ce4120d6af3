// The game in the room named on the command line, as `norvalde Raum.lsd` plays it, telling the
// end-to-end checks on standard output when a game window of Memory, the capitals quiz or the
// donkey riddle opens or closes, which flags are set whenever they change, and when a text of
// the room's script opens and when a key or click has ended it:
//   AUF Memory | ZU Memory | MERKER NAME,NAME | TEXT | WEG
// With --hdw-tinte it prints instead, for each question of the games folder's capitals list, the
// country and its four answers, each with its ink as the quiz's answer labels draw it: the number
// of ink pixels in each column from the first inked column to the last (a player's reading):
//   Italien|Rom:9,11,4,...|Mailand:...|Neapel:...|Turin:...     (texts in UTF-8)
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/form1.h"
#include "engine/interpreter.h"
#include "engine/minispiel.h"
#include "engine/state.h"
#include "minigames/capitals/hdw.h"
#include "minigames/memory/memory.h"
#include "minigames/riddle/esel.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

std::string Tinte(const rt::Font& schrift, const std::string& text) {
  const rt::TextRun lauf = rt::RenderTextLine(schrift, text);
  std::vector<int> spalten;
  for (int x = 0; x < lauf.width; ++x) {
    int n = 0;
    for (int y = 0; y < lauf.height; ++y) n += lauf.coverage[size_t(y) * lauf.width + x] > 127;
    spalten.push_back(n);
  }
  while (!spalten.empty() && spalten.back() == 0) spalten.pop_back();
  size_t erste = 0;
  while (erste < spalten.size() && spalten[erste] == 0) ++erste;
  std::string s;
  for (size_t x = erste; x < spalten.size(); ++x) s += (x > erste ? "," : "") + std::to_string(spalten[x]);
  return s;
}

int Tinten() {
  DatenPfad = rt::AppPath() + "\\games\\";
  THDW& q = HDW();
  q.FragenLaden(DatenPfad + "HDW.txt");
  const rt::Font schrift{"MS Sans Serif", 12.0f, true, false, false};
  for (size_t i = 0; i < q.Fragen.size(); ++i) {
    std::string zeile = rt::ToUtf8(q.Fragen[i]);
    for (const std::string& a : q.Antworten[i]) zeile += "|" + rt::ToUtf8(a) + ":" + Tinte(schrift, a);
    std::printf("%s\n", zeile.c_str());
  }
  return 0;
}

Befehlsroutine textzeile = nullptr;

Fortgang Textzeile(Lauf& lauf, const std::string& arg) {
  std::printf("TEXT\n");
  std::fflush(stdout);
  const Fortgang f = textzeile(lauf, arg);
  std::printf("WEG\n");
  std::fflush(stdout);
  return f;
}

std::string GesetzteMerker() {
  std::string s;
  for (const std::string& m : Merker)
    if (!m.empty()) s += (s.empty() ? "" : ",") + rt::ToUtf8(m);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--hdw-tinte") return Tinten();
  rt::SetCommandLine(argc, argv);
  MinispieleAnmelden();
  textzeile = Befehlstabelle()[Befehl::Textzeile];
  Befehlstabelle()[Befehl::Textzeile] = Textzeile;
  struct Beobachtet {
    const char* name;
    rt::Form* fenster;
    bool offen;
  } spiele[] = {{"Memory", &Memory(), false}, {"HDW", &HDW(), false}, {"Form2", &Form2(), false}};
  // Its ticks come during the games' own waits and the script's as well.
  std::string merker;
  rt::Timer wache;
  wache.SetInterval(20);
  wache.Tick = [&] {
    for (Beobachtet& b : spiele) {
      if (b.fenster->Loaded() == b.offen) continue;
      b.offen = !b.offen;
      std::printf("%s %s\n", b.offen ? "AUF" : "ZU", b.name);
    }
    if (GesetzteMerker() != merker) {
      merker = GesetzteMerker();
      std::printf("MERKER %s\n", merker.c_str());
    }
    std::fflush(stdout);
  };
  wache.SetEnabled(true);
  Form1().Beenden = [] { rt::EndProcess(0); };
  Form1().Show();
  while (Form1().Loaded()) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  return 0;
}
