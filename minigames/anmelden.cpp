// The one place that knows every mini-game window: the scripts reach them by word only.
#include "engine/minispiel.h"
#include "minigames/capitals/hdw.h"
#include "minigames/fight/pruegel.h"
#include "minigames/heads/wumpel.h"
#include "minigames/jump/jump.h"
#include "minigames/memory/memory.h"
#include "minigames/pi/pispiel.h"
#include "minigames/pong/pong.h"
#include "minigames/riddle/esel.h"

void MinispieleAnmelden() {
  Minispiele& f = MinispielFenster();
  f.ESEL = [] { Form2().Show(rt::vbModal); };
  f.HDW = [] { HDW().Show(rt::vbModal); };
  f.JUMP = [] { Jump().Show(rt::vbModal); };
  f.MEMORY = [] { Memory().Show(rt::vbModal); };
  f.PI = [] { PISpiel().Show(rt::vbModal); };
  f.PONG = [] { Pong().Show(rt::vbModal); };
  f.WUMPEL = [] { Wumpel().Show(rt::vbModal); };
  f.PRUEGEL = [] { Prügel().Show(rt::vbModal); };
}
