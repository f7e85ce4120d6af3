// The fight's rules without the window: the moves chosen by chance, the damage and the counters'
// step. Each function draws its random numbers in the order the fight needs them.
#pragma once
#include <cstdint>
#include <functional>

// Uniform single-precision numbers in [0, 1).
using Zufallsquelle = std::function<float()>;

// The attack value of the potion in the plan.
constexpr int32_t Zaubertrank = 3;

// Energies at the opening; the labels count up the last 150 points.
constexpr int32_t StartEnergieT = 2434, StartEnergieK = 1467, Vorlauf = 150;

enum class SpielerZug { Trank, Geblockt, Schlag };
// The potion is never blocked; any technique is, one time in three.
SpielerZug WaehleSpielerZug(int32_t angriff, const Zufallsquelle& zufall);

struct TorvikZug {
  enum Art { Feuerball, Leicht, Schwer, Geblockt, Technik } art;
  int32_t technik = -1;  // 0..2 for Geblockt and Technik
};
// Torvik answers a potion, or a lead of the player's above 750, with a fireball; otherwise one
// time in four with an unblockable move (light or, one time in four, heavy); otherwise with a
// technique that the planned defence blocks when they match.
TorvikZug WaehleTorvikZug(int32_t energieK, int32_t energieT, int32_t angriff, int32_t abwehr,
                          const Zufallsquelle& zufall);

// basis + r * 100, rounded to the nearest whole number with ties to even.
int32_t Schaden(int32_t basis, float r);

// One step of a counter from anzeige towards ziel: 5 while more than 5 away, else 1.
int32_t ZaehlSchritt(int32_t anzeige, int32_t ziel);
