#include "minigames/heads/flieger.h"

#include <cmath>

#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

void BewegeAchse(float& start, int32_t& rest, int32_t& schritte, float& pos, float& ziel,
                 int32_t spielraum) {
  rest -= 1;
  if (rest == 0) {
    start = ziel;
    pos = ziel;
    ziel = float(rt::CLng(double(rt::Rnd()) * spielraum));
    rest = int32_t(rt::CLng(rt::Rnd() * 40.0f + 40.0f));
    schritte = rest;
    return;
  }
  pos = float((double(ziel) - start) * std::cos(double(PiWert) / 2 * rest / schritte) + start);
}
