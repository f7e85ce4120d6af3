// What the fight costs: the planning panel waiting for a click, then a whole fight with the
// potion in the last round (with seed 1 it has the fireball and ends in the final attack), with
// the sample content and its music, in processor time of one core (getrusage). The busiest
// stretches are reported on their own: the fireball, the potion's pictures, the final attack's
// flashes and the energy counters after each hit. Needs a display (runs under Xvfb).
//   e2e_fight_cpu [seed]
// Exit 0 when the planning stays under 1% of a core, and the fight and each stretch under 10%.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "engine/state.h"
#include "minigames/fight/pruegel.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "tests/e2e/lib/messung.h"

namespace {

struct Messung {
  double cpu = 0, wand = 0;
  double cpu0 = 0, wand0 = 0;
  void Start() { cpu0 = CpuSeconds(), wand0 = NowMs() / 1e3; }
  void Stopp() { cpu += CpuSeconds() - cpu0, wand += NowMs() / 1e3 - wand0; }
  double Prozent() const { return wand > 0 ? 100.0 * cpu / wand : 0; }
};

void Pumpe(double sekunden) {
  const uint64_t ende = rt::timeGetTime() + uint64_t(sekunden * 1000);
  while (rt::timeGetTime() < ende) {
    rt::DoEvents();
    rt::WaitForEvent(ende);
  }
}

}  // namespace

int main(int argc, char** argv) {
  rt::Randomize(argc > 1 ? std::atof(argv[1]) : 1);
  DatenPfad = rt::AppPath() + "\\games\\";
  SpielErgebnis = "ZAUBERTRANK";
  TPrügel& f = Prügel();
  f.Show();
  Pumpe(0.5);

  Messung planung;
  planung.Start();
  Pumpe(5);
  planung.Stopp();
  std::printf("planning, waiting for a click: %.2f%% of one core (%.3f s over %.1f s)\n", planung.Prozent(),
              planung.cpu, planung.wand);

  for (int i : {0, 1, 2, 0, 1, 3, 0, 1, 2, 0, 1, 2}) f.Image1_Click(i);
  // Stretches of the fight, from the event that opens one to the one that closes it.
  std::map<std::string, Messung> teile;
  const std::map<std::string, std::pair<std::string, std::string>> grenzen = {
      {"fireball", {"S hadoken.wav", "B KampfH.jpg"}},
      {"potion pictures", {"B KampfKK0.jpg", "B KampfKK10.jpg"}},
      {"final attack flashes", {"B KampfTK31.jpg", "B KampfTK32.jpg"}}};
  std::string offen;
  std::string ende;
  bool zaehlt = false;
  f.Protokoll = [&](const std::string& e) {
    if (zaehlt) teile["counters"].Stopp();
    // A hit's text comes just before its counter runs.
    zaehlt = e.size() > 5 && e.compare(0, 2, "T ") == 0 && e.compare(e.size() - 3, 3, " HP") == 0;
    if (zaehlt) teile["counters"].Start();
    if (!offen.empty() && grenzen.at(offen).second == e) {
      teile[offen].Stopp();
      offen.clear();
    }
    for (const auto& [name, g] : grenzen)
      if (g.first == e && offen.empty()) {
        offen = name;
        teile[name].Start();
      }
    if (e == "B KampfG.jpg" || e == "B KampfV.jpg" || e == "B KampfTK30.jpg") ende = e.substr(2);
  };
  Messung kampf;
  kampf.Start();
  f.Command1_Click();
  kampf.Stopp();
  std::printf("the whole fight (ending %s): %.2f%% of one core (%.2f s over %.1f s)\n", ende.c_str(),
              kampf.Prozent(), kampf.cpu, kampf.wand);
  bool gut = planung.Prozent() < 1.0 && kampf.Prozent() < 10.0;
  for (const auto& [name, m] : teile) {
    std::printf("  %s: %.2f%% of one core (%.3f s over %.2f s)\n", name.c_str(), m.Prozent(), m.cpu, m.wand);
    gut = gut && m.Prozent() < 10.0;
  }
  rt::ShutdownRuntime();
  return gut ? 0 : 1;
}
