#include "minigames/fight/regeln.h"

#include <algorithm>

#include "runtime/text.h"

SpielerZug WaehleSpielerZug(int32_t angriff, const Zufallsquelle& zufall) {
  if (angriff == Zaubertrank) return SpielerZug::Trank;
  return zufall() < 1.0f / 3.0f ? SpielerZug::Geblockt : SpielerZug::Schlag;
}

TorvikZug WaehleTorvikZug(int32_t energieK, int32_t energieT, int32_t angriff, int32_t abwehr,
                          const Zufallsquelle& zufall) {
  if (energieK - energieT > 750 || angriff == Zaubertrank) return {TorvikZug::Feuerball};
  if (zufall() < 0.25f) return {zufall() < 0.25f ? TorvikZug::Schwer : TorvikZug::Leicht};
  // The product stays in single precision, as the numbers themselves are.
  const float r = zufall() * 3.0f;
  const int32_t k = std::clamp(int32_t(rt::Int(r)), 0, 2);
  return {k == abwehr ? TorvikZug::Geblockt : TorvikZug::Technik, k};
}

int32_t Schaden(int32_t basis, float r) {
  return int32_t(rt::CLng(double(r) * 100.0 + basis));
}

int32_t ZaehlSchritt(int32_t anzeige, int32_t ziel) {
  if (anzeige < ziel) return anzeige + (anzeige + 5 < ziel ? 5 : 1);
  return anzeige - (anzeige - 5 > ziel ? 5 : 1);
}
