// The scene window alone, for the end-to-end check while no main program exists yet: the
// command line names the first room, as it does for the game.
#include "engine/form1.h"
#include "runtime/system.h"

int main(int argc, char** argv) {
  rt::SetCommandLine(argc, argv);
  Form1().Show();
  while (Form1().Loaded()) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  return 0;
}
