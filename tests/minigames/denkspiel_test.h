// What the tests of the card, quiz and riddle windows share: the virtual clock, a seeded
// generator, the sample content's games folder, recorded message boxes, and a test player that
// acts on every tick of a timer of its own while a game window runs.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/minispiel.h"
#include "engine/state.h"
#include "runtime/forms.h"
#include "runtime/system.h"

namespace denkspiel_test {

class Umgebung : public ::testing::Test {
 protected:
  std::vector<std::string> meldungen;
  rt::Timer spieler;  // no owner: ticks whichever window is up
  std::function<void()> zug;

  void SetUp() override {
    rt::UseVirtualClock();
    rt::Randomize(12);
    const char* bau = std::getenv("NORVALDE_BUILD");
    DatenPfad = rt::WinPath(std::string(bau ? bau : ".") + "/games") + "\\";
    for (auto& m : Merker) m.clear();
    MinispieleAnmelden();
    rt::SetMsgBoxHook([this](const std::string& text, int, const std::string&) {
      meldungen.push_back(text);
      return rt::vbOK;
    });
    spieler.SetInterval(50);
    spieler.Tick = [this] {
      if (zug) zug();
    };
    spieler.SetEnabled(true);
  }

  void TearDown() override {
    spieler.SetEnabled(false);
    zug = nullptr;
    rt::SetMsgBoxHook(nullptr);
    rt::DoEvents();
    rt::UseRealClock();
  }

  // A left click in the middle of a control, through the window system's queue.
  static void Klicke(rt::Form& f, const rt::Control& c) {
    const int x = c.Left() + c.Width() / 2, y = c.Top() + c.Height() / 2;
    rt::PostMouse(f, 1, rt::vbLeftButton, x, y);
    rt::PostMouse(f, 2, rt::vbLeftButton, x, y);
  }
};

}  // namespace denkspiel_test
