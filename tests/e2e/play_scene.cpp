// The scene window on the sample content for the player's checks: the command line names the
// first room.
#include "engine/form1.h"
#include "engine/minispiel.h"
#include "runtime/forms.h"
#include "runtime/system.h"

int main(int argc, char** argv) {
  rt::SetCommandLine(argc, argv);
  MinispieleAnmelden();
  Form1().Show();
  while (Form1().Loaded()) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  return 0;
}
