// The fight's sounds (wave effects) and its music "Ken_g.mid", all in the games folder: thumps,
// clanks, gulps and Torvik's voice, made from sines, noise and a simple vowel synthesiser.
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "runtime/audio.h"
#include "tools/contentgen/contentgen.h"

using namespace cg;

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979;

struct Klang {
  std::vector<double> s;
  uint32_t saat = 1;

  double& An(double t) {
    const size_t i = size_t(std::max(0.0, t) * kRate);
    if (i >= s.size()) s.resize(i + 1, 0.0);
    return s[i];
  }

  // A sine gliding from f0 to f1, with a quick attack and an exponential decay (abfall per second).
  void Ton(double start, double dauer, double f0, double f1, double laut, double abfall) {
    double phase = 0;
    for (double t = 0; t < dauer; t += 1.0 / kRate) {
      phase += 2 * kPi * (f0 + (f1 - f0) * t / dauer) / kRate;
      const double huelle = std::min(1.0, t * 200) * std::exp(-abfall * t);
      An(start + t) += laut * huelle * std::sin(phase);
    }
  }

  // Noise through a one-pole low pass (glaette 0: raw, towards 1: duller).
  void Rauschen(double start, double dauer, double laut, double glaette, double abfall) {
    double y = 0;
    for (double t = 0; t < dauer; t += 1.0 / kRate) {
      const double x = double(Zufall(saat) % 20001) / 10000.0 - 1.0;
      y = glaette * y + (1 - glaette) * x;
      const double huelle = std::min(1.0, t * 300) * std::exp(-abfall * t);
      An(start + t) += laut * huelle * y * (1 + glaette * 2);
    }
  }

  // A voiced vowel: harmonics of a gliding pitch, weighted by two formants that glide from the
  // first vowel to the second.
  void Stimme(double start, double dauer, double f0, double f1, std::array<double, 2> von,
              std::array<double, 2> nach, double laut) {
    std::vector<double> phasen(40, 0.0);
    for (double t = 0; t < dauer; t += 1.0 / kRate) {
      const double u = t / dauer;
      const double f = f0 + (f1 - f0) * u;
      const double F1 = von[0] + (nach[0] - von[0]) * u, F2 = von[1] + (nach[1] - von[1]) * u;
      double v = 0;
      for (size_t h = 1; h < phasen.size() && double(h) * f < 4500; ++h) {
        phasen[h] += 2 * kPi * double(h) * f / kRate;
        const double hf = double(h) * f;
        const double g = std::exp(-std::pow((hf - F1) / 120, 2)) + 0.6 * std::exp(-std::pow((hf - F2) / 160, 2));
        v += (g + 0.04) / double(h) * std::sin(phasen[h]);
      }
      const double huelle = std::min(1.0, t * 40) * std::min(1.0, (dauer - t) * 25);
      An(start + t) += laut * huelle * v;
    }
  }

  std::vector<int16_t> Proben() const {
    double spitze = 1e-9;
    for (double x : s) spitze = std::max(spitze, std::fabs(x));
    std::vector<int16_t> out;
    out.reserve(s.size() + kRate / 20);
    for (double x : s) out.push_back(int16_t(std::lround(x / spitze * 26000)));
    out.insert(out.end(), size_t(kRate / 20), 0);
    return out;
  }
};

// Vowel formants (first, second) in hertz.
constexpr std::array<double, 2> kA{750, 1200}, kO{450, 800}, kU{320, 700}, kE{500, 1800}, kAe{650, 1700};

void Speichere(const Ziel& z, const std::string& name, const Klang& k) {
  const std::string pfad = z.Ordner("games") + name;
  if (!rt::WriteWaveFile(pfad, k.Proben(), kRate, 1)) throw std::runtime_error("cannot write " + pfad);
}

Klang Schlag(double tief) {
  Klang k;
  k.Rauschen(0, 0.15, 0.8, 0.6, 25);
  k.Ton(0, 0.35, 140 * tief, 50 * tief, 1.0, 10);
  return k;
}

Klang Lachen(int silben, double f0, double abstand) {
  Klang k;
  for (int i = 0; i < silben; ++i) {
    const double t = i * abstand, f = f0 * (1 - 0.04 * i);
    k.Rauschen(t, 0.05, 0.25, 0.3, 30);
    k.Stimme(t + 0.03, abstand * 0.6, f * 1.1, f, kA, kAe, 1.0);
  }
  return k;
}

void Erzeuge(const Ziel& z) {
  {
    Klang k;  // three gulps
    for (int i = 0; i < 3; ++i) {
      k.Ton(i * 0.35, 0.16, 320, 140, 1.0, 12);
      k.Rauschen(i * 0.35 + 0.02, 0.08, 0.15, 0.8, 30);
    }
    Speichere(z, "schluck.wav", k);
  }
  {
    Klang k;  // the potion rising
    k.Ton(0, 1.2, 200, 900, 0.8, 0.5);
    k.Ton(0, 1.2, 300, 1350, 0.4, 0.5);
    Speichere(z, "s_kampf2.wav", k);
  }
  {
    Klang k;  // the bionic surge: a wobbling climb
    double phase = 0;
    for (double t = 0; t < 1.6; t += 1.0 / kRate) {
      const double f = 400 + 600 * t / 1.6 + 60 * std::sin(2 * kPi * 7 * t);
      phase += 2 * kPi * f / kRate;
      k.An(t) += std::min(1.0, t * 10) * std::min(1.0, (1.6 - t) * 5) *
                 (std::sin(phase) + 0.5 * std::sin(2 * phase) + 0.25 * std::sin(3 * phase));
    }
    Speichere(z, "bionic.wav", k);
  }
  Speichere(z, "schlag2.wav", Schlag(1.0));
  // Torvik's strikes and his heavy blow: one sound under two spellings.
  Speichere(z, "Schlag.wav", Schlag(0.7));
  Speichere(z, "schlag.wav", Schlag(0.7));
  {
    Klang k;  // metal on metal
    for (double f : {820.0, 1310.0, 2250.0, 3100.0}) k.Ton(0, 0.5, f, f * 0.99, 0.5, 9);
    k.Rauschen(0, 0.03, 0.6, 0.1, 60);
    Speichere(z, "block.wav", k);
  }
  {
    Klang k;  // Krakel's cry of pain over a thump
    k.Ton(0, 0.25, 120, 50, 0.8, 12);
    k.Stimme(0.05, 0.4, 240, 170, kA, kU, 1.0);
    Speichere(z, "s_kampf1.wav", k);
  }
  {
    Klang k;  // Torvik groans
    k.Stimme(0, 0.6, 115, 80, kA, kO, 1.0);
    k.Rauschen(0, 0.6, 0.1, 0.5, 2);
    Speichere(z, "TorvikF22a.wav", k);
  }
  {
    Klang k;  // the fireball: a shout in three syllables over a whoosh
    k.Rauschen(0, 1.3, 0.5, 0.93, 1.2);
    k.Stimme(0.05, 0.16, 150, 160, kA, kA, 1.0);
    k.Stimme(0.24, 0.16, 160, 150, kO, kO, 1.0);
    k.Stimme(0.42, 0.35, 170, 130, kE, kE, 1.0);
    Speichere(z, "hadoken.wav", k);
  }
  {
    Klang k;  // a spring
    double phase = 0;
    for (double t = 0; t < 0.9; t += 1.0 / kRate) {
      const double f = 260 + 180 * std::sin(2 * kPi * 9 * t) * std::exp(-3 * t);
      phase += 2 * kPi * f / kRate;
      k.An(t) += std::exp(-3 * t) * std::sin(phase);
    }
    Speichere(z, "boing.wav", k);
  }
  {
    Klang k;  // Torvik goes down: a long falling "noooo"
    k.Stimme(0, 1.4, 140, 70, kO, kU, 1.0);
    Speichere(z, "TorvikF23a.wav", k);
  }
  Speichere(z, "TorvikF24a.wav", Lachen(4, 125, 0.22));
  {
    Klang k;  // the lightning coil: a buzz full of crackles
    for (double t = 0; t < 1.0; t += 1.0 / kRate) {
      const double saege = std::fmod(t * 100, 1.0) * 2 - 1;
      k.An(t) += 0.5 * std::min(1.0, t * 3) * saege;
    }
    for (int i = 0; i < 25; ++i) k.Rauschen(double(Zufall(k.saat) % 1000) / 1000.0, 0.02, 1.0, 0.0, 100);
    Speichere(z, "Tesla.wav", k);
  }
  {
    Klang k = Lachen(6, 110, 0.2);  // the last laugh, with a growl at its end
    k.Stimme(1.25, 0.5, 95, 75, kO, kA, 1.0);
    Speichere(z, "TorvikF25a.wav", k);
  }

  // The fight music: a driving riff in A minor with a tune over it, on an overdriven guitar.
  std::vector<rt::MidiNote> lied;
  auto takt = [&](std::initializer_list<int> tasten) {
    for (int t : tasten) lied.push_back({t, 0.5});
  };
  for (int runde = 0; runde < 2; ++runde) {
    takt({57, 57, 69, 57, 67, 57, 64, 65});
    takt({57, 57, 69, 57, 72, 71, 69, 67});
    takt({53, 53, 65, 53, 64, 53, 60, 62});
    takt({55, 55, 67, 55, 71, 69, 67, 64});
  }
  const std::pair<int, double> weise[] = {
      {76, 1.0}, {74, 0.5}, {72, 0.5}, {71, 1.0}, {72, 0.5}, {74, 0.5}, {76, 1.5}, {0, 0.5}, {81, 1.0},
      {79, 0.5}, {77, 0.5}, {76, 2.0}, {77, 1.0}, {76, 0.5}, {74, 0.5}, {72, 1.0}, {71, 0.5}, {72, 0.5},
      {69, 1.5}, {0, 0.5},  {64, 0.5}, {69, 0.5}, {72, 0.5}, {76, 0.5}, {81, 2.0}};
  for (auto [taste, viertel] : weise) lied.push_back({taste, viertel});
  takt({57, 57, 69, 57, 67, 57, 64, 65});
  takt({57, 57, 69, 57, 72, 71, 69, 67});
  lied.push_back({57, 2.0});
  const std::string musik = z.Ordner("games") + "Ken_g.mid";
  if (!rt::WriteMidiFile(musik, lied, 160, 29)) throw std::runtime_error("cannot write " + musik);
}

Teil teil("Kampfgeraeusche", Erzeuge);

}  // namespace
