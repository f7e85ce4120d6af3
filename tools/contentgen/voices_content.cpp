// The error voices "Error10.mp3" to "Error18.mp3": short falling two-note grumbles, each a
// little different, that answer an item used where it does nothing.
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;

namespace {

std::vector<int16_t> Grummeln(int n) {
  const int rate = 22050;
  const double pi = 3.14159265358979;
  double hoch = 260 + 25 * n, tief = hoch * (n % 2 ? 0.75 : 0.8);
  std::vector<int16_t> s;
  for (double f : {hoch, tief}) {
    int laenge = rate * (n % 3 == 0 ? 22 : 18) / 100;
    double phase = 0;
    for (int i = 0; i < laenge; ++i) {
      double t = double(i) / laenge;
      double huelle = std::sin(pi * t) * (1 - 0.3 * t);
      double ton = f * (1 - 0.08 * t);  // sagging pitch
      phase += 2 * pi * ton / rate;
      double v = std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase);
      s.push_back(int16_t(v * huelle * 9000));
    }
    s.insert(s.end(), size_t(rate / 25), 0);
  }
  return s;
}

void Erzeuge(const Ziel& z) {
  for (int n = 10; n <= 18; ++n) {
    std::string pfad = z.Ordner("sounds") + "Error" + std::to_string(n) + ".mp3";
    if (!rt::WriteMp3File(pfad, Grummeln(n), 22050, 1)) throw std::runtime_error("cannot write " + pfad);
  }
}

Teil teil("Fehlerstimmen", Erzeuge);

}  // namespace
