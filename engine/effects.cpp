// Fading the scene to white and back, and the shake. The fades OR a grey level into every pixel
// of the clean scene, so it washes out instead of cross-fading; the shake paints the clean copy
// at random small offsets.
#include "engine/effects.h"

#include <algorithm>

#include "engine/form1.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

constexpr uint64_t kFrameAbstand = 16;

// One pass: the clean scene, every pixel ORed with (g, g, g). The grey lives in pixel (0, 0) of
// the scratch surface.
void BlendDurchgang(TForm1& f, const rt::PicturePtr& sauber, int32_t g) {
  if (f.Picture5.ScaleWidth() < 1 || f.Picture5.ScaleHeight() < 1) f.Picture5.Move(0, 0, 1, 1);
  f.Picture5.PSet(0, 0, rt::RGB(g, g, g));
  // The clean scene is painted into the buffer the last pass drew, instead of taking the picture
  // anew: a fresh 640 x 480 buffer every frame costs more than the pass itself.
  f.Picture1.PaintPicture(sauber, 0, 0);
  f.Picture1.PaintPicture(f.Picture5.Image(), 0, 0, float(f.Picture1.ScaleWidth()), float(f.Picture1.ScaleHeight()),
                          0, 0, 1, 1, rt::SRCPAINT);
}

void WeissUeberAlles(TForm1& f) {
  f.Picture1.Line(0, 0, float(f.Picture1.ScaleWidth()), float(f.Picture1.ScaleHeight()), rt::QBColor(15),
                  rt::Surface::BoxFilled);
}

// The fade loop: grey is the level for the clock reading taken at each pass. A single pass that
// takes the whole second is still followed by one at grey 64. Nothing changes the clean copy
// meanwhile, so its image is taken once.
template <typename Grau>
void Blende(TForm1& f, Grau grau) {
  const rt::PicturePtr sauber = f.Picture3.Image();
  const uint64_t ende = rt::timeGetTime() + 1000;
  EffektTakt takt(ende);
  int durchgaenge = 0;
  f.Picture1.SetPicture(sauber);
  while (rt::timeGetTime() < ende) {
    ++durchgaenge;
    BlendDurchgang(f, sauber, grau(ende, rt::timeGetTime()));
    takt.Warte();
  }
  if (durchgaenge == 1) {
    BlendDurchgang(f, sauber, 64);
    rt::DoEvents();
  }
}

}  // namespace

EffektTakt::EffektTakt(uint64_t ende) : ende_(ende), marke_(rt::timeGetTime()) {}

void EffektTakt::Warte() {
  if (NachFrame) NachFrame();
  rt::DoEvents();
  uint64_t jetzt = rt::timeGetTime();
  if (jetzt >= marke_ + kFrameAbstand) {
    marke_ = jetzt;
    return;
  }
  marke_ += kFrameAbstand;
  const uint64_t ziel = std::min(marke_, ende_);
  while (jetzt < ziel) {
    rt::WaitForEvent(ziel);
    jetzt = rt::timeGetTime();
    if (jetzt < ziel) rt::DoEvents();
  }
}

int32_t BlendGrau(int64_t ms) {
  return int32_t(std::clamp<long long>(rt::CLng(double(ms) * 0.255), 0, 255));
}

void TForm1::BlendWeiß() {
  Blende(*this, [](uint64_t ende, uint64_t jetzt) { return BlendGrau(1000 - (int64_t(ende) - int64_t(jetzt))); });
  // The scene stays white; its clean copy is untouched, so the next restore brings it back.
  WeissUeberAlles(*this);
}

void TForm1::BlendWeißOut() {
  WeissUeberAlles(*this);
  rt::DoEvents();
  Blende(*this, [](uint64_t ende, uint64_t jetzt) { return BlendGrau(int64_t(ende) - int64_t(jetzt)); });
  Picture1.SetPicture(Picture3.Image());
}

void RuckelBild(TForm1& f, const rt::PicturePtr& sauber, float dx, float dy) {
  const float sw = float(f.Picture1.ScaleWidth()), sh = float(f.Picture1.ScaleHeight());
  if (dx >= 0 && dy >= 0) {
    f.Picture1.PaintPicture(sauber, dx, dy, sw - dx, sh - dy, 0, 0, sw - dx, sh - dy);
  } else if (dx >= 0) {
    f.Picture1.PaintPicture(sauber, dx, 0, sw - dx, sh + dy, 0, -dy, sw - dx, sh);
  } else if (dy >= 0) {
    f.Picture1.PaintPicture(sauber, 0, dy, sw + dx, sh - dy, -dx, 0, sw, sh - dy);
  } else {
    f.Picture1.PaintPicture(sauber, 0, 0, sw + dx, sh + dy, -dx, -dy, sw, sh);
  }
}

void TForm1::Ruckel() {
  const rt::PicturePtr sauber = Picture3.Image();
  const uint64_t ende = rt::timeGetTime() + 800;
  EffektTakt takt(ende);
  while (rt::timeGetTime() < ende) {
    const float dx = rt::Rnd() * 9 - 4;
    const float dy = rt::Rnd() * 9 - 4;
    RuckelBild(*this, sauber, dx, dy);
    takt.Warte();
  }
  // The last frame, stale edges included, is the scene from now on.
  Picture3.SetPicture(Picture1.Image());
}
