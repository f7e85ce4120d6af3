// The jump-and-run game's tests share a games folder with pictures whose every pixel tells where
// it came from, and a game set up frame by frame on the virtual clock.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/state.h"
#include "minigames/jump/jump.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "scratch.h"

namespace jumptest {

// The background pixel at x, y and the pixel at x, y of tile v.
inline rt::Color Himmel(int x, int y) { return rt::RGB(x & 255, 100 + (x >> 8), y & 255); }
inline rt::Color Kachel(int v, int x, int y) { return rt::RGB(10 * v, 4 * x + 1, 4 * y + 1); }

// Sprites are filled boxes inset by 4 pixels: their pictures black around the box, their masks
// white around it.
constexpr rt::Color kSpieler = rt::RGB(250, 250, 0);
inline rt::Color Gegnerfarbe(int t, int f, bool rechts) { return rt::RGB(40 + t, 200 + f, rechts ? 90 : 70); }

inline void Schreibe(const std::string& ordner, const std::string& name, int w, int h,
                     rt::Color (*farbe)(int x, int y, const void* z), const void* z) {
  rt::Picture p;
  p.width = w;
  p.height = h;
  p.pixels.resize(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.pixels[size_t(y) * w + x] = farbe(x, y, z);
  ASSERT_TRUE(rt::SavePictureBmp(p, ordner + "/" + name)) << name;
}

inline bool ImKasten(int x, int y, int w, int h) { return x >= 4 && y >= 4 && x < w - 4 && y < h - 4; }

struct Kasten {
  int w, h;
  rt::Color farbe;
  bool maske;
};
inline rt::Color KastenPixel(int x, int y, const void* z) {
  const Kasten& k = *static_cast<const Kasten*>(z);
  const bool drin = ImKasten(x, y, k.w, k.h);
  if (k.maske) return drin ? 0 : rt::vbWhite;
  return drin ? k.farbe : 0;
}

// Writes every picture of the sheet into ordner (the games folder of the tests).
inline void SchreibeBlatt(const std::string& ordner) {
  Schreibe(ordner, "j0.bmp", 624, 432, [](int x, int y, const void*) { return Himmel(x, y); }, nullptr);
  for (int v = 1; v <= 11; ++v)
    Schreibe(ordner, "j" + std::to_string(v) + ".bmp", 48, 48,
             [](int x, int y, const void* z) { return Kachel(*static_cast<const int*>(z), x, y); }, &v);
  for (int i = 1; i <= 4; ++i) {
    Kasten k{48, 96, kSpieler, false};
    Schreibe(ordner, "h" + std::to_string(i) + ".bmp", 48, 96, KastenPixel, &k);
    k.maske = true;
    Schreibe(ordner, "h" + std::to_string(i) + "m.bmp", 48, 96, KastenPixel, &k);
  }
  const int hoehen[4] = {48, 96, 24, 26};
  for (int t = 0; t < 4; ++t)
    for (int f = 0; f < 2; ++f) {
      const std::string n = "g" + std::to_string(t + 1) + std::to_string(f + 1);
      const std::pair<const char*, Kasten> dateien[] = {
          {".bmp", {48, hoehen[t], Gegnerfarbe(t, f, false), false}},
          {"m.bmp", {48, hoehen[t], 0, true}},
          {"d.bmp", {48, hoehen[t], Gegnerfarbe(t, f, true), false}},
          {"md.bmp", {48, hoehen[t], 0, true}}};
      for (const auto& [endung, k] : dateien) Schreibe(ordner, n + endung, 48, hoehen[t], KastenPixel, &k);
    }
}

// What the view must show at view pixel (x, y) for the level x ScrollX + x.
inline rt::Color Erwartet(const TJump& j, int x, int y) {
  const int l = int(j.ScrollX) + x;
  const int v = j.Kachel(l / 48, y / 48);
  return v > 0 ? Kachel(v, l % 48, y % 48) : Himmel(l % 624, y);
}

// The first view pixel that differs from what the level shows there; "" when none does.
inline std::string Abweichung(const TJump& j) {
  for (int y = 0; y < 432; ++y)
    for (int x = 0; x < 624; ++x)
      if (j.Feld.Point(float(x), float(y)) != Erwartet(j, x, y))
        return "(" + std::to_string(x) + ", " + std::to_string(y) + ") at ScrollX " +
               std::to_string(j.ScrollX);
  return "";
}

// A game window set up as its timer would, on the virtual clock, and run frame by frame.
class Spiel : public ::testing::Test {
 protected:
  static std::string& Ordner() {
    static std::string ordner;
    return ordner;
  }
  static void SetUpTestSuite() {
    Ordner() = testing_support::MakeScratchFolder("jump");
    ASSERT_FALSE(Ordner().empty());
    SchreibeBlatt(Ordner());
  }
  static void TearDownTestSuite() { testing_support::RemoveScratchFolder(Ordner()); }

  void SetUp() override {
    rt::UseVirtualClock();
    rt::Randomize(5);
    DatenPfad = rt::WinPath(Ordner()) + "\\";
    j = std::make_unique<TJump>();
    j->InitializeComponent();
    j->Einrichten();
  }
  void TearDown() override {
    LasseLos();
    j.reset();
    rt::UseRealClock();
  }

  // Holds keys (virtual key codes) for the next frames; the others are let go.
  void Halte(std::vector<int> tasten) {
    for (int t : gehalten_)
      if (std::find(tasten.begin(), tasten.end(), t) == tasten.end()) rt::PostKey(*j, t, false);
    for (int t : tasten)
      if (std::find(gehalten_.begin(), gehalten_.end(), t) == gehalten_.end()) rt::PostKey(*j, t, true);
    gehalten_ = std::move(tasten);
    rt::DoEvents();
  }
  void LasseLos() { Halte({}); }
  // Runs n frames; false when the loop ended on the way.
  bool Bilder(int n = 1) {
    for (int i = 0; i < n; ++i)
      if (!j->Bild()) return false;
    return true;
  }
  // Puts the player standing on the ground at x (feet on the top of row 8 when y is 288).
  void Stelle(float x, float y) {
    j->SpielerX = x;
    j->SpielerY = y;
    j->TempoX = j->TempoY = 0;
    j->Springen = 1;
    j->Bodenfrist = 5;
  }
  void NurGegner(std::initializer_list<int> nummern) {
    for (size_t n = 0; n < j->Gegner.size(); ++n)
      j->Gegner[n].Lebt = std::find(nummern.begin(), nummern.end(), int(n)) != nummern.end() ? -1 : 0;
  }
  rt::Color Sicht(int x, int y) const { return j->Feld.Point(float(x), float(y)); }

  std::unique_ptr<TJump> j;

 private:
  std::vector<int> gehalten_;
};

}  // namespace jumptest
