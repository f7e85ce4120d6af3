// Windows: loading and unloading, design values, modal showing, timers, the pump, presenting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "runtime/forms.h"
#include "runtime/forms_internal.h"
#include "runtime/internal.h"
#include "runtime/pump_hooks.h"
#include "runtime/system.h"
#include "runtime/text.h"

using namespace rt;

namespace {

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override { UseVirtualClock(1000); }
  void TearDown() override {
    ShutdownRuntime();
    SetMsgBoxHook(nullptr);
    UseRealClock();
  }
};

// Pumps like a frame loop until the virtual clock reaches the mark.
void PumpUntil(uint64_t mark) {
  while (timeGetTime() < mark) {
    DoEvents();
    WaitForEvent(mark);
  }
  DoEvents();
}

struct Recorder : Form {
  std::vector<std::string> log;
  int cancelQuery = 0, cancelUnload = 0;
  int lastMode = -1;
  int fieldKept = 0;
  Label Label1{this};
  Timer Timer1{this};
  void InitializeComponent() override {
    log.push_back("init");
    SetClientSize(200, 100);
    Caption = "Recorder";
    Label1.Move(10, 10, 80, 20);
    Label1.Caption = "design";
  }
  void Form_Load() override { log.push_back("load"); }
  void Form_QueryUnload(int& cancel, int mode) override {
    log.push_back("query");
    lastMode = mode;
    cancel = cancelQuery;
  }
  void Form_Unload(int& cancel) override {
    log.push_back("unload");
    cancel = cancelUnload;
  }
};

TEST_F(FormsTest, LoadAndUnloadRunTheirHandlersInOrderAndMayBeCancelled) {
  Recorder f;
  f.Show();
  EXPECT_TRUE(f.Loaded());
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.log, (std::vector<std::string>{"init", "load"}));
  f.Show();  // already loaded: no second load
  EXPECT_EQ(f.log.size(), 2u);

  f.cancelQuery = 1;
  EXPECT_FALSE(f.Unload());
  EXPECT_TRUE(f.Loaded());
  f.cancelQuery = 0;
  f.cancelUnload = 1;
  EXPECT_FALSE(f.Unload());
  EXPECT_TRUE(f.Loaded());
  f.cancelUnload = 0;
  f.log.clear();
  EXPECT_TRUE(f.Unload());
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(f.log, (std::vector<std::string>{"query", "unload"}));
  EXPECT_EQ(f.lastMode, vbFormCode);
  EXPECT_TRUE(f.Unload());  // twice: nothing happens
  EXPECT_EQ(f.log.size(), 2u);
}

TEST_F(FormsTest, EachShowingStartsFromTheDesignWhileFieldsKeepTheirValues) {
  Recorder f;
  f.Show();
  f.Label1.Caption = "changed";
  f.Label1.SetVisible(false);
  f.Label1.ToolTipText = "tip";
  f.Timer1.SetInterval(50);
  f.Timer1.SetEnabled(true);
  f.ForeColor = vbRed;
  f.fieldKept = 7;
  f.Unload();
  f.Show();
  EXPECT_EQ(f.Label1.Caption, "design");
  EXPECT_TRUE(f.Label1.Visible());
  EXPECT_EQ(f.Label1.ToolTipText, "");
  EXPECT_FALSE(f.Timer1.Enabled());
  EXPECT_EQ(f.Timer1.Interval(), 0);
  EXPECT_EQ(f.ForeColor, 0);
  EXPECT_EQ(f.fieldKept, 7);
  EXPECT_EQ(f.ScaleWidth(), 200);
}

struct Unloader : Form {
  void Form_Load() override { Unload(); }
};

TEST_F(FormsTest, ALoadHandlerThatUnloadsLeavesTheFormHidden) {
  Unloader f;
  f.Show(vbModal);  // must not wait for anything
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(f.Visible());
}

TEST_F(FormsTest, CloseRequestUnloadsOnlyWithACloseBox) {
  Recorder f;
  f.Show();
  PostClose(f);
  f.ControlBox = false;
  DoEvents();
  EXPECT_TRUE(f.Loaded());
  f.ControlBox = true;
  PostClose(f);
  DoEvents();
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(f.lastMode, vbFormControlMenu);
}

struct Owner : Form {
  std::vector<int> keys;
  int clicks = 0;
  void InitializeComponent() override { SetClientSize(100, 100); }
  void Form_KeyDown(int& k, int) override { keys.push_back(k); }
  void Form_Click() override { ++clicks; }
};

struct Game : Form {
  Timer Timer1{this};
  Owner* owner = nullptr;
  int ticks = 0;
  bool hide = false;
  void InitializeComponent() override {
    SetClientSize(50, 50);
    Timer1.SetInterval(100);
    Timer1.SetEnabled(true);
    Timer1.Tick = [this] {
      ++ticks;
      if (ticks == 2) {
        PostKey(*owner, vbKeyA, true);
        PostMouse(*owner, 1, vbLeftButton, 5, 5);
        PostMouse(*owner, 2, vbLeftButton, 5, 5);
      }
      if (ticks == 5) {
        if (hide) Hide();
        else Unload();
      }
    };
  }
};

TEST_F(FormsTest, ModalShowReturnsOnUnloadOrHideWhileTimersTickAndTheOwnerTakesNoInput) {
  Owner owner;
  owner.Show();
  Game g;
  g.owner = &owner;
  int ownerTicks = 0;
  Timer ownerTimer(&owner);
  ownerTimer.Tick = [&] { ++ownerTicks; };
  ownerTimer.SetInterval(250);
  ownerTimer.SetEnabled(true);
  const uint64_t start = timeGetTime();
  g.Show(vbModal, &owner);
  EXPECT_EQ(g.ticks, 5);
  EXPECT_FALSE(g.Loaded());
  EXPECT_EQ(timeGetTime() - start, 500u);
  EXPECT_EQ(ownerTicks, 2);  // the owner's timers go on
  DoEvents();
  EXPECT_TRUE(owner.keys.empty());
  EXPECT_EQ(owner.clicks, 0);
  uint8_t table[256];
  GetKeyboardState(table);
  EXPECT_GT(table[vbKeyA], 126);  // the key table still saw the key

  g.hide = true;
  g.ticks = 0;
  g.Show(vbModal, &owner);
  EXPECT_EQ(g.ticks, 5);
  EXPECT_TRUE(g.Loaded());
  EXPECT_FALSE(g.Visible());
  PostKey(owner, vbKeyA + 1, true);
  DoEvents();
  EXPECT_EQ(owner.keys, std::vector<int>{vbKeyA + 1});  // input flows again
  g.Unload();
}

TEST_F(FormsTest, HandlersMayUnloadOrDestroyWhatDeliveredTheirEvent) {
  // A tick that destroys its own form (and so its timer).
  auto doomed = std::make_unique<Recorder>();
  doomed->Show();
  doomed->Timer1.Tick = [&] { doomed.reset(); };
  doomed->Timer1.SetInterval(20);
  doomed->Timer1.SetEnabled(true);
  PumpUntil(timeGetTime() + 50);
  EXPECT_EQ(doomed, nullptr);

  // A press that unloads the form: the queued release and keys find nothing to go to.
  struct Closer : Recorder {
    void Form_MouseDown(int, int, float, float) override { Unload(); }
    void Form_KeyDown(int&, int) override { log.push_back("key"); }
  } c;
  c.Show();
  PostMouse(c, 1, vbLeftButton, 150, 80);
  PostMouse(c, 2, vbLeftButton, 150, 80);
  PostKey(c, vbKeyA, true);
  DoEvents();
  EXPECT_FALSE(c.Loaded());
  EXPECT_EQ(c.log.back(), "unload");

  // Unloading from inside the unload handlers is ignored, not recursive.
  struct Twice : Recorder {
    int nested = -1;
    void Form_QueryUnload(int& cancel, int mode) override {
      Recorder::Form_QueryUnload(cancel, mode);
      nested = Unload() ? 1 : 0;
    }
  } t;
  t.Show();
  EXPECT_TRUE(t.Unload());
  EXPECT_EQ(t.nested, 0);
  EXPECT_EQ(t.log, (std::vector<std::string>{"init", "load", "query", "unload"}));
}

TEST_F(FormsTest, TimersTickAtTheirIntervalWithTheClassicFloor) {
  Form f;
  f.Show();
  Timer fast(&f), slow(&f), off(&f), zero(&f);
  int nFast = 0, nSlow = 0, nOff = 0, nZero = 0;
  fast.Tick = [&] { ++nFast; };
  slow.Tick = [&] { ++nSlow; };
  off.Tick = [&] { ++nOff; };
  zero.Tick = [&] { ++nZero; };
  fast.SetInterval(1);
  fast.SetEnabled(true);
  slow.SetInterval(100);
  slow.SetEnabled(true);
  off.SetInterval(10);
  zero.SetEnabled(true);
  PumpUntil(timeGetTime() + 1000);
  EXPECT_EQ(nFast, 64);
  EXPECT_EQ(nSlow, 10);
  EXPECT_EQ(nOff, 0);
  EXPECT_EQ(nZero, 0);
  EXPECT_EQ(slow.Interval(), 100);
  slow.SetInterval(70000);
  EXPECT_EQ(slow.Interval(), 65535);
}

TEST_F(FormsTest, SwitchingOnOrChangingTheIntervalRestartsTheCount) {
  Form f;
  f.Show();
  Timer t(&f);
  std::vector<uint64_t> at;
  t.Tick = [&] { at.push_back(timeGetTime()); };
  const uint64_t t0 = timeGetTime();
  t.SetInterval(100);
  t.SetEnabled(true);
  PumpUntil(t0 + 60);
  t.SetEnabled(false);
  t.SetEnabled(true);  // restarts at t0 + 60
  PumpUntil(t0 + 200);
  t.SetInterval(30);  // restarts at t0 + 200
  t.SetEnabled(true);  // already on: no restart
  PumpUntil(t0 + 240);
  EXPECT_EQ(at, (std::vector<uint64_t>{t0 + 160, t0 + 230}));
}

TEST_F(FormsTest, TimersOfAnUnloadedFormDoNotTick) {
  Recorder f;
  f.Show();
  int n = 0;
  f.Timer1.Tick = [&] { ++n; };
  f.Timer1.SetInterval(20);
  f.Timer1.SetEnabled(true);
  PumpUntil(timeGetTime() + 100);
  EXPECT_EQ(n, 5);
  f.Unload();
  f.Timer1.SetInterval(20);
  f.Timer1.SetEnabled(true);
  PumpUntil(timeGetTime() + 100);
  EXPECT_EQ(n, 5);
}

TEST_F(FormsTest, ATickNeverNestsInItsOwnHandlerButOtherTimersGoOn) {
  Form f;
  f.Show();
  Timer loop(&f), other(&f);
  int depth = 0, maxDepth = 0, loopTicks = 0, otherTicks = 0;
  loop.SetInterval(20);
  other.SetInterval(20);
  other.Tick = [&] { ++otherTicks; };
  loop.Tick = [&] {
    ++loopTicks;
    maxDepth = std::max(maxDepth, ++depth);
    // A game's frame loop inside one tick.
    if (loopTicks == 1) PumpUntil(timeGetTime() + 200);
    --depth;
  };
  loop.SetEnabled(true);
  other.SetEnabled(true);
  const uint64_t t0 = timeGetTime();
  PumpUntil(t0 + 25);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_GE(otherTicks, 10);
  // The tick that fell due meanwhile comes once the handler has returned.
  EXPECT_EQ(loopTicks, 2);
}

TEST_F(FormsTest, WaitForEventJumpsTheVirtualClockToTheEarlierOfDeadlineAndNextTick) {
  Form f;
  f.Show();
  Timer t(&f);
  t.Tick = [] {};
  DoEvents();  // the window's own start-up events
  const uint64_t t0 = timeGetTime();
  WaitForEvent(t0 + 40);
  EXPECT_EQ(timeGetTime(), t0 + 40);
  t.SetInterval(25);
  t.SetEnabled(true);
  WaitForEvent(t0 + 1000);
  EXPECT_EQ(timeGetTime(), t0 + 65);
  // A pending event: no waiting at all.
  PostKey(f, vbKeyA, true);
  WaitForEvent(t0 + 1000);
  EXPECT_EQ(timeGetTime(), t0 + 65);
  DoEvents();
}

TEST_F(FormsTest, PumpHooksRunInEveryPumpAndWakeTheWait) {
  std::vector<uint64_t> calls;
  const uint64_t t0 = timeGetTime();
  const int id = AddPumpHook([&](uint64_t now) {
    calls.push_back(now);
    return now + 30;
  });
  DoEvents();
  WaitForEvent(t0 + 1000);
  EXPECT_EQ(timeGetTime(), t0 + 30);
  DoEvents();
  EXPECT_EQ(calls, (std::vector<uint64_t>{t0, t0 + 30}));
  RemovePumpHook(id);
  DoEvents();
  EXPECT_EQ(calls.size(), 2u);
  // A hook may remove itself.
  int self = 0, runs = 0;
  self = AddPumpHook([&](uint64_t) {
    ++runs;
    RemovePumpHook(self);
    return UINT64_MAX;
  });
  DoEvents();
  DoEvents();
  EXPECT_EQ(runs, 1);
}

TEST_F(FormsTest, MsgBoxGoesToTheHookWithTheApplicationTitle) {
  std::vector<std::string> seen;
  SetMsgBoxHook([&](const std::string& text, int buttons, const std::string& title) {
    seen.push_back(title + "|" + text + "|" + std::to_string(buttons));
    return vbCancel;
  });
  EXPECT_EQ(MsgBox("Speichern nicht m\xF6glich!"), vbCancel);
  EXPECT_EQ(MsgBox("x", vbCritical, "Error"), vbCancel);
  EXPECT_EQ(seen, (std::vector<std::string>{"Norvalde|Speichern nicht m\xF6glich!|0", "Error|x|16"}));
  SetMsgBoxHook(nullptr);
  // Without a screen the box reports to stderr and answers OK.
  EXPECT_EQ(MsgBox("no screen here", vbOKCancel), vbOK);
}

TEST_F(FormsTest, DriversThatShowNothingServeOnlyWhenAskedFor) {
  // The tests name the dummy driver, so it serves them.
  ASSERT_NE(std::getenv("SDL_VIDEODRIVER"), nullptr);
  const std::string asked = std::getenv("SDL_VIDEODRIVER");
  ShutdownRuntime();
  EXPECT_TRUE(DisplayAvailable());
  // With no display and nothing named, SDL falls back to its off-screen driver: refused.
  ShutdownRuntime();
  unsetenv("SDL_VIDEODRIVER");
  const char* display = std::getenv("DISPLAY");
  const std::string oldDisplay = display ? display : "";
  unsetenv("DISPLAY");
  EXPECT_FALSE(DisplayAvailable());
  // Windows still work without being seen.
  Form f;
  f.Show();
  EXPECT_TRUE(f.Loaded());
  f.Unload();
  ShutdownRuntime();
  setenv("SDL_VIDEODRIVER", asked.c_str(), 1);
  if (display) setenv("DISPLAY", oldDisplay.c_str(), 1);
  EXPECT_TRUE(DisplayAvailable());
}

TEST_F(FormsTest, MsgBoxKeepsLongNamesReadable) {
  auto lines = [](const std::string& s) {
    std::vector<std::string> out(1);
    for (char c : s) {
      if (c == '\n') out.emplace_back();
      else out.back().push_back(c);
    }
    return out;
  };
  EXPECT_EQ(MsgBoxLines("Daten nicht geladen!\r\nZweite\rDritte"), "Daten nicht geladen!\nZweite\nDritte");

  // A sentence wraps at its blanks and loses nothing but the blanks it breaks at.
  const std::string satz = "Der Schl\xFCssel passt nicht, die T\xFCr bleibt zu, und der Wind weht \xFC"
                           "ber den leeren Dorfplatz bis zum Brunnen hinunter.";
  std::string wieder;
  for (const std::string& l : lines(MsgBoxLines(satz))) {
    EXPECT_LE(l.size(), 72u) << l;
    wieder += (wieder.empty() ? "" : " ") + l;
  }
  EXPECT_EQ(wieder, satz);

  // A room name of thousands of characters keeps the box narrow: the start and the end of the
  // line stay, the next line is untouched, umlauts stay single characters until the box.
  const std::string name = "C:\\Spiel\\rooms\\" + std::string(5000, '\xC4') + ".lsd";
  const std::string text = "Der Raum \"" + name + "\" konnte nicht geladen werden.\r\nZeile 1: die Datei endet zu fr\xFCh";
  const std::string shown = MsgBoxLines(text);
  const auto l = lines(shown);
  EXPECT_LE(l.size(), 24u);
  for (const std::string& s : l) EXPECT_LE(s.size(), 72u) << s;
  EXPECT_EQ(l.front().rfind("Der Raum \"C:\\Spiel\\rooms\\", 0), 0u) << l.front();
  std::string erste;
  for (size_t i = 0; i + 1 < l.size(); ++i) erste += l[i];
  EXPECT_NE(erste.find(".lsd\""), std::string::npos);
  EXPECT_EQ(erste.substr(erste.size() - 7), "werden.");
  EXPECT_EQ(l.back(), "Zeile 1: die Datei endet zu fr\xFCh");
  EXPECT_NE(ToUtf8(shown).find("fr\xC3\xBCh"), std::string::npos);

  // Thousands of lines end in a screenful.
  std::string viele;
  for (int i = 0; i < 3000; ++i) viele += "Zeile " + std::to_string(i) + "\r\n";
  const auto v = lines(MsgBoxLines(viele));
  EXPECT_EQ(v.size(), 24u);
  EXPECT_EQ(v.front(), "Zeile 0");
  EXPECT_EQ(v.back(), "...");
}

struct Placed : Form {
  void InitializeComponent() override {
    SetClientSize(100, 80);
    StartUpPosition = 0;
  }
  void Form_Load() override { MoveWindow(30, 40); }
};

TEST_F(FormsTest, WindowsOpenWhereTheyWerePlacedOrCentred) {
  Placed p;
  p.Show();
  EXPECT_EQ(p.Left(), 30);
  EXPECT_EQ(p.Top(), 40);
  Recorder c;
  c.Show();
  EXPECT_EQ(c.Left(), (ScreenWidth() - c.OuterWidthPx()) / 2);
  // Centred on its owner (kept on the screen).
  struct OnOwner : Recorder {
    void InitializeComponent() override {
      Recorder::InitializeComponent();
      StartUpPosition = 1;
    }
  } o;
  o.Show(vbModeless, &p);
  EXPECT_EQ(o.Left(), 0);  // 30 + (100 - 200) / 2 would be off the screen
  EXPECT_EQ(o.Top(), 40 + (80 - 100) / 2);
  // A wild size is bounded.
  p.SetClientSize(1 << 30, 50);
  EXPECT_EQ(p.ScaleWidth(), 16384);
}

TEST_F(FormsTest, WindowSizesAreInTwipsOfTheOuterWindow) {
  Recorder f;
  f.Show();
  EXPECT_EQ(f.Width(), f.OuterWidthPx() * 15);
  f.SetWidth(f.Width() + 150);
  EXPECT_EQ(f.ScaleWidth(), 210);
  f.SetHeight(f.Height() - 300);
  EXPECT_EQ(f.ScaleHeight(), 80);
  EXPECT_GT(ScreenWidth(), 0);
  EXPECT_GT(ScreenHeight(), 0);
}

}  // namespace
