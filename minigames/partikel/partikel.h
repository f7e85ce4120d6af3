// One-pixel particles drawn straight into a game view's retained image: sparks and crumbling red
// blocks. Each game window keeps a pool of its own. Per frame the erase pass runs first (before
// any sprite is restored), particles are added, and the move-and-draw pass runs last.
#pragma once
#include <array>
#include <cstdint>

#include "runtime/surface.h"

struct Partikel {
  float X = 0, Y = 0;
  float VX = 0, VY = 0;
  int32_t AlteFarbe = -1;  // the view pixel under the particle when it was last drawn; -1 none
  int32_t Farbe = 0;
  int16_t Leben = 0;
  int16_t Lebt = 0;  // -1 while the slot is in use
};

class PartikelPool {
 public:
  // The jump-and-run game rounds positions to the nearest pixel and keeps particles to the view;
  // the flying-heads game rounds down, never tests the position, and ages a particle only in
  // frames in which it holds a saved colour.
  enum class Art { Jump, Wumpel };
  explicit PartikelPool(Art art = Art::Jump) : art_(art) {}

  static constexpr int Anzahl = 1001;
  std::array<::Partikel, Anzahl> Partikel{};
  int32_t PartikelMax = -1;
  int32_t PartikelFrei = 0;
  rt::HDC FeldDC = nullptr;  // read again by the game at the start of every frame
  int32_t FeldBreite = 0, FeldHoehe = 0;
  rt::Surface* Feld = nullptr;  // refreshed at the end of the move-and-draw pass

  // Frees every slot (the jump-and-run game's set-up).
  void Leeren();
  // block 0: anzahl sparks in the rectangle; otherwise anzahl red 6 by 6 blocks from its centre.
  void Addpartikel(int32_t anzahl, float x1, float y1, float x2, float y2, int block);
  void BewegPartikel1();  // erase and age
  void BewegPartikel2();  // move, save the pixel under each, draw, show the frame

 private:
  bool ImFeld(const ::Partikel& p) const;
  void Stirbt(int32_t i);
  Art art_;
};
