// The menu's frame loop pieces: the typewriter help box and the column of green bars.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "runtime/surface.h"

// The two help pages of a menu (0 main, anything else bonus), Windows-1252. Lines end in
// "  |"; a page starts with two blanks that are never typed.
const std::array<std::string, 2>& MenuSeiten(int menuTyp);

// Types one character per step: dark grey first, light grey one step later, white the step
// after that, on a grid of 8 by 14 pixels.
struct MenuSchreiber {
  std::array<std::string, 2> Seiten;
  int Seite = 0;
  int32_t Position = 0;  // 1-based; 0 starts the page afresh
  int32_t X = 2, Y = 2;
  int16_t ZuletztMenu = 1;

  void Schritt(int16_t menuTyp, rt::Surface& box);
};

// Half-width (0 to 24) of the bar at row l for the given phase.
int BalkenHalbbreite(float phase, int l);
// One frame of the 47 bars centred on x = 470; moves the phase on by 8 first.
void BalkenBild(rt::Surface& s, float& phase);
