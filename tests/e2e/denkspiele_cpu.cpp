// Measures the processor time of the thinking games' windows on a real display: Memory waiting
// for the player's click and flying found pairs to the score rows, the capitals quiz waiting for
// an answer and blinking its verdict, the donkey riddle waiting for typing.
//   e2e_denkspiele_cpu
// Prints one line per phase: "<phase> <what> cpu <percent of one core> over <seconds> s".
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/state.h"
#include "minigames/capitals/hdw.h"
#include "minigames/memory/memory.h"
#include "minigames/riddle/esel.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "tests/e2e/lib/messung.h"

namespace {

// A stretch of time whose processor use is measured; `anfang` starts what it measures.
struct Abschnitt {
  std::string name;
  std::function<void()> anfang;
  int ms;
};

}  // namespace

int main(int argc, char** argv) {
  rt::SetCommandLine(argc, argv);
  rt::Randomize(5);
  DatenPfad = rt::AppPath() + "\\games\\";
  TMemory& m = Memory();
  THDW& q = HDW();
  TForm2& e = Form2();

  // The flights run inside the phase's start (the game's own loop waits beneath them); their
  // time is measured there.
  std::string flugZeile;
  auto fluege = [&] {
    const double c0 = CpuSeconds();
    const uint64_t t0 = rt::timeGetTime();
    for (int k = 0; k < 4; ++k) m.KartenWeg(4 * k, 4 * k + 1, k % 2);
    const double sek = double(rt::timeGetTime() - t0) / 1000;
    char zeile[160];
    std::snprintf(zeile, sizeof zeile, "memory flying cards cpu %.2f%% over %.1f s",
                  100 * (CpuSeconds() - c0) / sek, sek);
    flugZeile = zeile;
  };

  const std::vector<Abschnitt> plan = {
      {"", [&] { m.Show(); }, 1000},
      {"memory waiting for a click", [] {}, 4000},
      {"", fluege, 200},
      {"", [&] { m.Unload(); q.Show(); }, 1000},
      {"quiz waiting for an answer", [] {}, 4000},
      {"quiz blinking the verdict", [&] { q.Label2_Click(q.RichtigerIndex); }, 3900},
      {"", [&] { q.Unload(); e.Show(); }, 1000},
      {"riddle waiting for typing", [] {}, 4000},
  };

  size_t schritt = 0;
  uint64_t ende = 0;
  double cpu = 0;
  bool fertig = false;
  rt::Timer regie;
  regie.SetInterval(100);
  regie.Tick = [&] {
    const uint64_t jetzt = rt::timeGetTime();
    if (schritt > 0 && jetzt < ende) return;
    if (schritt > 0) {
      const Abschnitt& war = plan[schritt - 1];
      if (!war.name.empty()) {
        const double sek = double(jetzt - (ende - uint64_t(war.ms))) / 1000;
        std::printf("%s cpu %.2f%% over %.1f s\n", war.name.c_str(), 100 * (CpuSeconds() - cpu) / sek, sek);
      }
      if (!flugZeile.empty()) std::printf("%s\n", flugZeile.c_str()), flugZeile.clear();
      std::fflush(stdout);
    }
    if (schritt == plan.size()) {
      fertig = true;
      regie.SetEnabled(false);
      return;
    }
    const Abschnitt& neu = plan[schritt++];
    neu.anfang();
    cpu = CpuSeconds();
    ende = rt::timeGetTime() + uint64_t(neu.ms);
  };
  regie.SetEnabled(true);
  while (!fertig) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  if (e.Loaded()) e.Unload();
  rt::ShutdownRuntime();
  return 0;
}
