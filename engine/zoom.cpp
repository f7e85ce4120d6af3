// Zooms: the view moves in one second from the whole room picture to a rectangle of it, or from
// the rectangle back to the whole picture. Frames are drawn from the room picture at its own
// size, on the screen only; the last view becomes the clean scene.
#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/effects.h"
#include "engine/form1.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

// Rounded to a whole number, ties to even; the scene's \ then divides whole numbers, truncating.
int64_t Ganz(double wert) { return rt::CLng(wert); }

int32_t Saettige(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Widens lo..hi to halb each way around its middle, then pushes it back inside 0..groesse
// (a range larger than that keeps a negative low edge).
void Weite(int64_t& lo, int64_t& hi, int64_t halb, double groesse) {
  const int64_t c = lo + (hi - lo) / 2;
  lo = c - halb;
  hi = c + halb;
  if (lo < 0) {
    hi -= lo;
    lo = 0;
  }
  if (groesse < double(hi)) {
    lo = Ganz(groesse + double(lo) - double(hi));
    hi = Ganz(groesse);
  }
}

}  // namespace

bool ZoomZiel(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2, float p1w, float p1h, float p2w, float p2h,
              ZoomRechteck& ziel) {
  // Without a room picture there is nothing to zoom into (and its size would divide by zero).
  if (!(p2w > 0 && p2h > 0) || Ganz(p1w) == 0 || Ganz(p1h) == 0) return false;
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x2 == x1) x2 = Saettige(int64_t(x1) + 2);
  if (y2 == y1) y2 = Saettige(int64_t(y1) + 2);

  const double w = p2w, h = p2h;
  ZoomRechteck z{Ganz(w * x1) / Ganz(p1w), Ganz(h * y1) / Ganz(p1h), Ganz(w * x2) / Ganz(p1w), Ganz(h * y2) / Ganz(p1h)};
  const double rx = double(z.x2 - z.x1) / w, ry = double(z.y2 - z.y1) / h;
  if (ry < rx) {
    Weite(z.y1, z.y2, Ganz(double(z.x2 - z.x1) / w * h) / 2, h);
  } else {
    Weite(z.x1, z.x2, Ganz(double(float(float(double(z.y2 - z.y1) / h) * p2w))) / 2, w);
  }
  ziel = z;
  return true;
}

namespace {

// Both zooms: hinein runs from the whole picture to the target, else back.
void Zoom(TForm1& f, bool hinein, int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) {
  const float p1w = float(f.Picture1.ScaleWidth()), p1h = float(f.Picture1.ScaleHeight());
  const float p2w = float(f.Picture2.ScaleWidth()), p2h = float(f.Picture2.ScaleHeight());
  const rt::PicturePtr bild = f.Picture2.GetPicture();
  ZoomRechteck z{};
  if (!bild || !ZoomZiel(x1, y1, x2, y2, p1w, p1h, p2w, p2h, z)) return;

  const double ganzW = double(rt::CLng(p2w)), ganzH = double(rt::CLng(p2h));
  const float dX1 = float(double(z.x1) / 1000), dY1 = float(double(z.y1) / 1000);
  const float dX2 = float((double(z.x2) - ganzW) / 1000), dY2 = float((double(z.y2) - ganzH) / 1000);

  f.Picture1.SetAutoRedraw(false);
  const uint64_t ende = rt::timeGetTime() + 1000;
  EffektTakt takt(ende);
  while (rt::timeGetTime() < ende) {
    const int64_t rest = int64_t(ende) - int64_t(rt::timeGetTime());
    // A reading past the end stops at the rectangle instead of overshooting it.
    const double t = double(std::clamp<int64_t>(hinein ? 1000 - rest : rest, 0, 1000));
    const double X1 = std::floor(double(dX1) * t), Y1 = std::floor(double(dY1) * t);
    const double X2 = std::floor(double(dX2) * t + ganzW), Y2 = std::floor(double(dY2) * t + ganzH);
    f.Picture1.PaintPicture(bild, 0, 0, p1w, p1h, float(X1), float(Y1), float(X2 - X1), float(Y2 - Y1));
    takt.Warte();
  }
  f.Picture1.SetAutoRedraw(true);
  if (hinein) {
    f.Picture1.PaintPicture(bild, 0, 0, p1w, p1h, float(z.x1), float(z.y1), float(z.x2 - z.x1), float(z.y2 - z.y1));
  } else {
    f.Picture1.PaintPicture(bild, 0, 0, p1w, p1h, 0, 0, p2w, p2h);
  }
  f.Picture3.SetPicture(f.Picture1.Image());
}

}  // namespace

void TForm1::ZoomIN(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) { Zoom(*this, true, x1, y1, x2, y2); }

void TForm1::ZoomOUT(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) { Zoom(*this, false, x1, y1, x2, y2); }
