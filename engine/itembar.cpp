// The item bar. Until the bar is drawn it only keeps its state: closed, nothing to show.
#include "engine/form1.h"
#include "engine/state.h"

void TForm1::GegenständeLaden() {}

void TForm1::ZeigeLeiste() {
  LeisteZu = false;
  LeisteOffen = true;
}

void TForm1::VersteckeLeiste() {
  if (LeisteZu) return;
  LeisteOffen = false;
  LeisteHoehe = 0;
  LeisteWinkel = 0;
  LeisteZu = true;
  LeisteGesperrt = false;
}
