// The pi typing game's files in the games folder: "Pi10000.txt" with the first 10000 characters
// of pi (computed here), its music "canyon.mid" and the end jingle "JINGLE.WAV".
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;

namespace {

// Fixed-point numbers in base 10^9: limb 0 is the whole part, the rest the fraction.
using Zahl = std::vector<uint64_t>;
constexpr uint64_t kBasis = 1000000000;

void Teile(Zahl& z, uint64_t d) {
  uint64_t rest = 0;
  for (uint64_t& l : z) {
    const uint64_t v = rest * kBasis + l;
    l = v / d;
    rest = v % d;
  }
}

void Addiere(Zahl& z, const Zahl& a, int vorzeichen) {
  int64_t uebertrag = 0;
  for (size_t i = z.size(); i-- > 0;) {
    int64_t v = int64_t(z[i]) + vorzeichen * int64_t(a[i]) + uebertrag;
    uebertrag = 0;
    while (v < 0) v += int64_t(kBasis), --uebertrag;
    while (v >= int64_t(kBasis)) v -= int64_t(kBasis), ++uebertrag;
    z[i] = uint64_t(v);
  }
}

void Mal(Zahl& z, uint64_t m) {
  uint64_t uebertrag = 0;
  for (size_t i = z.size(); i-- > 0;) {
    const uint64_t v = z[i] * m + uebertrag;
    z[i] = v % kBasis;
    uebertrag = v / kBasis;
  }
}

bool Null(const Zahl& z) {
  for (uint64_t l : z)
    if (l) return false;
  return true;
}

// arctan(1 / x) as the alternating series of odd powers.
Zahl Arkustangens(uint64_t x, size_t limbs) {
  Zahl potenz(limbs, 0), summe(limbs, 0), glied(limbs, 0);
  potenz[0] = 1;
  Teile(potenz, x);
  summe = potenz;
  for (uint64_t k = 1; !Null(potenz); ++k) {
    Teile(potenz, x * x);
    glied = potenz;
    Teile(glied, 2 * k + 1);
    Addiere(summe, glied, k % 2 ? -1 : 1);
  }
  return summe;
}

// "3." and the decimals: 16 arctan(1/5) - 4 arctan(1/239), with guard digits beyond the last.
std::string PiZeichen(size_t anzahl) {
  const size_t limbs = anzahl / 9 + 4;
  Zahl pi = Arkustangens(5, limbs);
  Mal(pi, 16);
  Zahl b = Arkustangens(239, limbs);
  Mal(b, 4);
  Addiere(pi, b, -1);
  std::string s = std::to_string(pi[0]) + ".";
  for (size_t i = 1; i < pi.size() && s.size() < anzahl; ++i) {
    std::string neun = std::to_string(pi[i]);
    s += std::string(9 - neun.size(), '0') + neun;
  }
  s.resize(anzahl);
  return s;
}

std::vector<int16_t> Jingle() {
  const int rate = 22050;
  const double pi = 3.14159265358979;
  std::vector<int16_t> s;
  // A rising major arpeggio, the last note held with a little vibrato.
  const double toene[] = {523.25, 659.26, 783.99, 1046.5};
  for (int n = 0; n < 4; ++n) {
    const int laenge = rate * (n == 3 ? 60 : 14) / 100;
    double phase = 0;
    for (int i = 0; i < laenge; ++i) {
      const double t = double(i) / rate;
      const double huelle = std::min(1.0, t * 200) * std::exp(-t * (n == 3 ? 3.5 : 9.0));
      phase += 2 * pi * toene[n] * (1 + 0.004 * std::sin(2 * pi * 6 * t)) / rate;
      const double v = std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase);
      s.push_back(int16_t(v * huelle * 10000));
    }
  }
  return s;
}

void Erzeuge(const Ziel& z) {
  SchreibeDatei(z.Ordner("games") + "Pi10000.txt", PiZeichen(10000));

  // A cowboy's trot across a canyon: a loping tune in D minor on a steel guitar.
  const std::vector<rt::MidiNote> canyon = {
      {62, 0.5}, {65, 0.5}, {69, 1},   {67, 0.5}, {65, 0.5}, {64, 1},   {62, 0.5}, {64, 0.5},
      {65, 1},   {69, 1},   {62, 2},   {0, 0.5},  {60, 0.5}, {62, 0.5}, {65, 0.5}, {70, 1},
      {69, 0.5}, {67, 0.5}, {65, 1},   {67, 0.5}, {69, 0.5}, {64, 1},   {61, 1},   {62, 2},
      {0, 0.5},  {69, 0.5}, {72, 1},   {70, 0.5}, {69, 0.5}, {67, 1},   {65, 0.5}, {67, 0.5},
      {69, 1},   {74, 1},   {73, 2},   {0, 0.5},  {69, 0.5}, {70, 0.5}, {69, 0.5}, {67, 0.5},
      {65, 0.5}, {64, 1},   {61, 1},   {64, 1},   {62, 3},   {0, 1}};
  const std::string lied = z.Ordner("games") + "canyon.mid";
  if (!rt::WriteMidiFile(lied, canyon, 132, 25)) throw std::runtime_error("cannot write " + lied);

  const std::string jingle = z.Ordner("games") + "JINGLE.WAV";
  if (!rt::WriteWaveFile(jingle, Jingle(), 22050, 1)) throw std::runtime_error("cannot write " + jingle);
}

Teil teil("PI-Spiel", Erzeuge);

}  // namespace
