// The program starts in the menu; a command line makes the menu hand over to the scene at once.
#include "engine/form1.h"
#include "engine/minispiel.h"
#include "menu/menu.h"
#include "runtime/forms.h"
#include "runtime/system.h"

int main(int argc, char** argv) {
  rt::SetCommandLine(argc, argv);
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
