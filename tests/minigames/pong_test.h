// The Pong window on the virtual clock, with the sample pictures, shown modeless so that the
// tests drive its timers tick by tick and press keys through the event queue.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "engine/state.h"
#include "minigames/pong/pong.h"
#include "runtime/forms.h"
#include "runtime/system.h"

namespace pongtest {

class PongTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseVirtualClock(1000);
    const char* bau = std::getenv("NORVALDE_BUILD");
    ASSERT_NE(bau, nullptr);
    DatenPfad = rt::WinPath(std::string(bau) + "/games/");
    SpielErgebnis = std::string("0");
    Pong().Show();
  }
  void TearDown() override {
    Pong().Unload();
    rt::ShutdownRuntime();
    rt::UseRealClock();
  }

  TPong& p = Pong();

  // Up to the next tick of the window's timers (every running 1 ms timer ticks once).
  void Takt(int n = 1) {
    for (int i = 0; i < n; ++i) {
      uint64_t ziel = UINT64_MAX;
      for (const rt::Timer* t : {&p.Timer1, &p.Timer2, &p.Timer3, &p.Timer4, &p.Timer5, &p.Timer6})
        if (t->Enabled()) ziel = std::min(ziel, t->NextDue());
      if (ziel == UINT64_MAX) return;
      for (;;) {
        rt::WaitForEvent(ziel);
        rt::DoEvents();  // pending input, and at the mark the tick
        if (rt::timeGetTime() >= ziel) break;
      }
    }
  }
  // Ticks until the condition holds; false when it never does.
  bool Bis(const std::function<bool()>& fertig, int hoechstens = 2000) {
    for (int i = 0; i < hoechstens; ++i) {
      if (fertig()) return true;
      Takt();
    }
    return fertig();
  }
  bool BisRally() { return Bis([this] { return p.Timer1.Enabled(); }); }
  void Taste(int code, bool unten) {
    rt::PostKey(p, code, unten);
    rt::DoEvents();
  }

  // In a rally: the ball just past the player's line with the paddle far away, so the next
  // rally tick is a miss for the player.
  void SpielerVerfehlt() {
    p.BallX = 597;
    p.BallY = 215;
    p.BallVX = 5;
    p.SchlaegerRechtsY = 400;
    Takt();
  }
  // The same on the computer's side.
  void ComputerVerfehlt() {
    p.BallX = 30;
    p.BallY = 215;
    p.BallVX = -5;
    p.SchlaegerLinksY = 40;
    Takt();
  }
  int NichtSchwarz(int x1, int y1, int x2, int y2) const {  // non-black pixels in a box
    int n = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) n += p.Picture1.Point(float(x), float(y)) != 0;
    return n;
  }
};

}  // namespace pongtest
