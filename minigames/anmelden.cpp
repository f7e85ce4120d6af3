// The one place that knows every mini-game window: the scripts reach them by word only.
#include "engine/minispiel.h"

void MinispieleAnmelden() {
  [[maybe_unused]] Minispiele& f = MinispielFenster();
}
