// The view moves pixel by pixel: its image is shifted and only the strip coming into view is drawn
// from the sheet, background first and tiles over it. A move that crosses a tile edge is split
// there, so every strip lies inside one tile column.
#include "minigames/jump/jump.h"

namespace {
constexpr int32_t kLetzterLinkerRand = 7680;  // the view's left column stops at 160
}

void TJump::Scroll(int32_t Weite) {
  const float S = ScrollX;
  const int32_t s = CLng(S);
  if (Weite == 0) return;

  if (Weite < 0) {
    const int32_t p = -Weite;
    if (double(S) + Weite < 0) {
      if (S > 0) Scroll(-s);
      return;
    }
    // Wider than a tile: in steps that each cross at most one tile edge.
    if (p >= 48) {
      Scroll(-47);
      Scroll(-(p - 47));
      return;
    }
    const int32_t ziel = CLng(double(S) - p);
    if (ziel / 48 != s / 48 && s % 48 != 0) {
      Scroll(-(s % 48));
      Scroll(-(48 - ziel % 48));
      return;
    }
    ScrollX = float(double(S) - p);
    const int32_t neu = CLng(ScrollX);
    rt::BitBlt(FeldDC, p, 0, FeldBreite - p, 432, FeldDC, 0, 0, rt::SRCCOPY);
    rt::BitBlt(FeldDC, 0, 0, p, 432, SpriteDC, neu % 624, 0, rt::SRCCOPY);
    for (int32_t reihe = 0; reihe < Reihen; ++reihe) {
      const int32_t v = Kachel(neu / 48, reihe);
      if (v > 0)
        rt::BitBlt(FeldDC, 0, 48 * reihe, p, 48, SpriteDC, (v - 1) * 48 + neu % 48, 432,
                   rt::SRCCOPY);
    }
    return;
  }

  const int32_t p = Weite;
  if (CLng(double(S) + p) / 48 > kLetzterLinkerRand / 48) {
    if (kLetzterLinkerRand - double(S) > 0) Scroll(CLng(kLetzterLinkerRand - double(S)));
    return;
  }
  if (p >= 48) {
    Scroll(47);
    Scroll(p - 47);
    return;
  }
  const int32_t ziel = CLng(double(S) + p);
  if (ziel / 48 == s / 48 || ziel % 48 == 0) {
    rt::BitBlt(FeldDC, 0, 0, FeldBreite - p, 432, FeldDC, p, 0, rt::SRCCOPY);
    // The strip's level x is S + 624, whose background x is S mod 624.
    rt::BitBlt(FeldDC, FeldBreite - p, 0, p, 432, SpriteDC, s % 624, 0, rt::SRCCOPY);
    for (int32_t reihe = 0; reihe < Reihen; ++reihe) {
      const int32_t v = Kachel(s / 48 + 13, reihe);
      if (v > 0)
        rt::BitBlt(FeldDC, 624 - p, 48 * reihe, p, 48, SpriteDC, (v - 1) * 48 + s % 48, 432,
                   rt::SRCCOPY);
    }
    ScrollX = float(double(S) + p);
    return;
  }
  const int32_t m = ziel % 48;
  Scroll(p - m);
  Scroll(m);
}

void TJump::Kamera() {
  if (double(CLng(SpielerX)) - ScrollX > 250)
    Scroll(CLng(double(CLng(SpielerX)) - ScrollX - 250));
  if (double(CLng(SpielerX)) - ScrollX < 150)
    Scroll(CLng(double(CLng(SpielerX)) - ScrollX - 150));
}
