// What the flying-heads game's frame loop costs: all 21 heads flying, ten sparks thrown every
// frame and a burst of red blocks every half second, for fifteen seconds under a real display.
// Reports the processor time of one core (getrusage) and how well the frames keep their 20 ms
// pace. Needs the sample content beside the program (the games folder of the build).
//   e2e_bench_heads [seconds]
// Exit 0 when the loop stays under 10% of a core and the median frame is within 1 ms of 20 ms.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/state.h"
#include "minigames/heads/wumpel.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "tests/e2e/lib/messung.h"

namespace {

// A point on the field that no head covers, so a press there throws sparks and hits nothing.
bool FreierPunkt(const TWumpel& f, float& x, float& y) {
  for (int versuch = 0; versuch < 20; ++versuch) {
    x = rt::Rnd() * float(f.W);
    y = rt::Rnd() * float(f.H);
    bool frei = true;
    for (const ::Flieger& k : f.Flieger)
      if (k.Lebt && k.X - 1 <= x && x <= k.X + float(f.w) + 1 && k.Y - 1 <= y && y <= k.Y + float(f.h) + 1) frei = false;
    if (frei) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const double sekunden = argc > 1 ? std::clamp(std::atof(argv[1]), 2.0, 18.0) : 15.0;
  DatenPfad = rt::AppPath() + "\\games\\";
  PiWert = float(4 * std::atan(1.0));
  rt::Randomize(2024);

  TWumpel& f = Wumpel();
  const int warmlauf = 25;
  const int messframes = int(sekunden * 50);
  int frame = 0;
  double cpu0 = 0, wand0 = 0, cpu = 0, wand = 0;
  std::vector<double> zeiten;
  size_t teilchen = 0;
  f.NachFrame = [&] {
    const double jetzt = NowMs();
    ++frame;
    if (frame == warmlauf) {
      cpu0 = CpuSeconds();
      wand0 = jetzt;
    }
    if (frame >= warmlauf) zeiten.push_back(jetzt);
    for (const ::Partikel& p : f.Pool.Partikel) teilchen += p.Lebt ? 1 : 0;
    if (frame == warmlauf + messframes) {
      cpu = CpuSeconds() - cpu0;
      wand = (jetzt - wand0) / 1e3;
      f.SpielEnde = 1;
      return;
    }
    float x, y;
    if (FreierPunkt(f, x, y)) {
      f.KlickTaste = 1;
      f.KlickX = x;
      f.KlickY = y;
    }
    if (frame % 25 == 0 && FreierPunkt(f, x, y)) f.Pool.Addpartikel(6, x, y, x + 64, y + 48, -1);
  };
  f.Show(rt::vbModal);
  rt::ShutdownRuntime();
  if (zeiten.size() < 3 || wand <= 0) {
    std::printf("the game ended before the measurement did (%zu frames)\n", zeiten.size());
    return 1;
  }

  std::vector<double> abstand;
  for (size_t i = 1; i < zeiten.size(); ++i) abstand.push_back(zeiten[i] - zeiten[i - 1]);
  std::vector<double> abweichung;
  for (double a : abstand) abweichung.push_back(std::fabs(a - 20));
  std::sort(abstand.begin(), abstand.end());
  std::sort(abweichung.begin(), abweichung.end());
  double summe = 0;
  for (double a : abstand) summe += a;
  const auto innen = std::count_if(abweichung.begin(), abweichung.end(), [](double d) { return d < 1.0; });
  const double prozent = 100.0 * cpu / wand;
  std::printf("flying heads, 21 heads and %.0f particles on average: %.2f%% of one core (%.3f s CPU over %.2f s)\n",
              double(teilchen) / frame, prozent, cpu, wand);
  std::printf("frames: %zu, %.3f ms apart on average, median %.3f, shortest %.3f, longest %.3f; "
              "%ld of %zu within 1 ms of 20 ms, 95%% within %.3f ms\n",
              abstand.size(), summe / double(abstand.size()), abstand[abstand.size() / 2], abstand.front(),
              abstand.back(), long(innen), abweichung.size(), abweichung[abweichung.size() * 95 / 100]);
  const double median = abweichung[abweichung.size() / 2];
  return prozent < 10.0 && median < 1.0 ? 0 : 1;
}
