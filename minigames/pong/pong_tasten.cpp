// The player's paddle: Up and Down move it, slowly at first and faster the longer a key stays
// held. The keyboard state is read whole, so the keys work whichever control has the focus.
#include <cmath>

#include "minigames/pong/pong.h"
#include "runtime/system.h"

void TPong::CheckKeys() { rt::GetKeyboardState(Tasten.data()); }

void TPong::Tastenschritt() {
  const auto gehalten = [this](int taste) { return Tasten[size_t(taste)] > 126; };
  const auto zeichne = [this] {
    Zeichne(Image5, SchlaegerRechtsX, double(SchlaegerRechtsY) - 50);
    SchlaegerRechtsAltY = SchlaegerRechtsY;
  };

  if (gehalten(rt::vbKeyUp)) {
    Loesche(double(SchlaegerRechtsX) - 3, double(SchlaegerRechtsAltY) - 53,
            double(SchlaegerRechtsX) + 13, double(SchlaegerRechtsAltY) + 53);
    if (Tastendauer > 0) Tastendauer = 0;
    if (SchlaegerRechtsY > 0) {
      SchlaegerRechtsY = float(SchlaegerRechtsY - 2.5 - std::sin(-double(Tastendauer) / 254) * 25);
      Tastendauer -= 1;
    }
    if (SchlaegerRechtsY <= 0) Tastendauer = 0;
    zeichne();
    HochGehalten = true;
  } else if (HochGehalten) {
    Tastendauer = 0;
    HochGehalten = false;
  }

  if (gehalten(rt::vbKeyDown)) {
    // Wider to the right than the erase for Up: it also clears the band beside the paddle.
    Loesche(double(SchlaegerRechtsX) - 3, double(SchlaegerRechtsAltY) - 53,
            double(SchlaegerRechtsX) + 103, double(SchlaegerRechtsAltY) + 53);
    if (Tastendauer < 0) Tastendauer = 0;
    if (SchlaegerRechtsY < FeldHoehe) {
      SchlaegerRechtsY = float(2.5 + SchlaegerRechtsY + std::sin(double(Tastendauer) / 254) * 25);
      Tastendauer += 1;
    }
    if (SchlaegerRechtsY >= FeldHoehe) Tastendauer = 0;
    zeichne();
    RunterGehalten = true;
  } else if (RunterGehalten) {
    Tastendauer = 0;
    RunterGehalten = false;
  }
}
