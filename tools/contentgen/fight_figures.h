// The two fighters of the fight pictures, drawn from poses: Krakel (the player, left, facing
// right) and Torvik (right, facing left).
#pragma once
#include <array>

#include "tools/contentgen/contentgen.h"

namespace cg {

// Joints in the fighter's own frame: x forward, y up from the ground (so negative is higher on
// the picture); one unit is one pixel at scale 1. "V" is the limb nearer the viewer.
using Gelenk = std::array<float, 2>;
struct Pose {
  Gelenk kopf, hals, huefte;
  Gelenk ellV, handV, ellH, handH;
  Gelenk knieV, fussV, knieH, fussH;
};

namespace posen {
extern const Pose Stand, Faust, Tritt, Feger, Hocke, DeckungOben, DeckungMitte, Sprung,
    Getroffen, Liegt, Jubel, Trinkt, Zauber, Ausholen, Hammer, Gestaucht;
}

struct Stil {
  rt::Color haut, hemd, hose, haar, band;
  bool torvik;             // bald with a beard, else a tuft of hair and a headband
  rt::Color aura = -1;     // a glow around the fighter (the potion), -1 none
  float groesse = 1.0f;    // extra scale (the potion makes Krakel bigger)
};

Stil KrakelStil();
Stil TorvikStil();

// Draws a fighter standing at (x, boden) with scale s, facing right (richtung 1) or left (-1).
void Kaempfer(Bild& b, const Pose& p, const Stil& stil, float x, float boden, float s, int richtung);
// The ring at dusk (or under a stormy sky), 641 by 425, with the crowd behind the fence.
Bild KampfArena(bool sturm);

// Where a joint of that fighter lands on the picture.
Gelenk Ort(const Gelenk& g, float x, float boden, float s, int richtung);

}  // namespace cg
