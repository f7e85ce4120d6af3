// What the script commands do to the scene window: rooms, the portrait frames and portraits,
// the countdown's interval, the flying-heads game and leaving the game.
#include <cstdio>

#include "engine/form1.h"
#include "engine/minispiel.h"
#include "engine/shared.h"
#include "runtime/text.h"

bool TForm1::LadeRaum(const std::string& pfad) { return Lade(pfad); }

// Two black frames grow from their middle rows, left top and right bottom, and stay part of
// the scene.
void TForm1::PortraitRahmen() {
  for (int k = 3; k <= 60; k += 3) {
    auto kasten = [this](int x1, int y1, int x2, int y2) {
      Picture1.Line(float(x1), float(y1), float(x2), float(y2), rt::QBColor(0), rt::Surface::BoxFilled);
    };
    kasten(30, 80 - k, 120, 83 - k);
    kasten(30, 77 + k, 120, 80 + k);
    kasten(520, 400 - k, 610, 403 - k);
    kasten(520, 397 + k, 610, 400 + k);
    WarteFrame(8);
  }
  Picture3.SetPicture(Picture1.Image());
}

// A portrait is drawn over the scene only: the next restore from the clean copy takes it away.
void TForm1::Portrait(bool links, const std::string& pfad) {
  rt::PicturePtr bild = rt::LoadPicture(pfad);
  if (!bild) {
    std::fprintf(stderr, "Norvalde: portrait not loaded: %s\n", rt::ToUtf8(pfad).c_str());
    return;
  }
  Picture5.SetPicture(bild);
  Picture1.PaintPicture(Picture5.GetPicture(), links ? 30.0f : 520.0f, links ? 20.0f : 340.0f, 90, 120, 0, 0,
                        float(Picture5.ScaleWidth()), float(Picture5.ScaleHeight()));
}

void TForm1::PortraitWeg() {
  // What Picture2 shows is the room picture as loaded (or black after a blank scene).
  Picture1.PaintSurface(Picture2, 0, 0, float(Picture1.ScaleWidth()), float(Picture1.ScaleHeight()), 0, 0,
                        float(Picture2.ScaleWidth()), float(Picture2.ScaleHeight()));
  Picture3.SetPicture(Picture1.Image());
}

void TForm1::CountDownIntervall(int32_t ms) {
  CountDown.SetEnabled(false);
  CountDown.SetInterval(ms);
  CountDown.SetEnabled(true);
}

bool TForm1::SpielWumpel() { return ::SpielWumpel(); }

void TForm1::Verlassen() { Unload(); }
