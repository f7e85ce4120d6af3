// The program starts in the menu; a command line makes the menu hand over to the scene at once.
#include <cstdio>

#include "engine/form1.h"
#include "engine/minispiel.h"
#include "menu/menu.h"
#include "runtime/forms.h"
#include "runtime/system.h"

int main(int argc, char** argv) {
  rt::SetCommandLine(argc, argv);
  // A game nobody can see could never be closed either.
  if (!rt::DisplayAvailable()) {
    std::fprintf(stderr, "Norvalde: no display - the game needs an X server (DISPLAY)\n");
    return 1;
  }
  MinispieleAnmelden();
  Menu().Show();
  // The scene's shutdown and the menu's quit end the process themselves; closing the last
  // window by other means ends up here.
  while (Menu().Loaded() || Form1().Loaded()) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  rt::ShutdownRuntime();
  return 0;
}
