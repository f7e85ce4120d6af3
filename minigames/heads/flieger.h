// One flying head: two independent eased legs, one along each axis, so its path curves.
#pragma once
#include <cstdint>

struct Flieger {
  int16_t Lebt = 0;  // -1 while it flies
  float StartX = 0, StartY = 0;
  int32_t RestX = 0, RestY = 0;          // steps left on the current leg
  int32_t SchritteX = 0, SchritteY = 0;  // steps of the current leg
  float X = 0, Y = 0;                    // top-left corner
  float ZielX = 0, ZielY = 0;
  int32_t BildNr = 0;    // frame shown, 0 or 1
  int32_t BildTakt = 0;  // frames since the last switch
};

// One step along one axis. A leg starts fast and slows to a stop at its target; then a new
// target in 0..spielraum and 40 to 80 steps are drawn.
void BewegeAchse(float& start, int32_t& rest, int32_t& schritte, float& pos, float& ziel,
                 int32_t spielraum);
