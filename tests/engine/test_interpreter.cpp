#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/interpreter.h"
#include "engine/scene_link.h"
#include "engine/state.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "skript_bau.h"

namespace {

using Protokoll = std::vector<std::string>;
Protokoll protokoll;

// Records what the interpreter asks of the scene, in order with the script's own marks.
struct FakeSzene : SzenenFenster {
  rt::Timer* countDown = nullptr;
  void MausZeiger(int zeiger) override { protokoll.push_back("zeiger " + std::to_string(zeiger)); }
  void MausIcon(const std::string& datei) override { protokoll.push_back("icon " + datei); }
  void VersteckeLeiste() override { protokoll.push_back("leiste zu"); }
  void Picture1_MouseMove(int button, int shift, float x, float y) override {
    protokoll.push_back("maus " + std::to_string(button) + " " + std::to_string(shift) + " " +
                        std::to_string(int(x)) + " " + std::to_string(int(y)));
  }
  void CountDownAn(bool an) override {
    protokoll.push_back(an ? "countdown an" : "countdown aus");
    if (countDown) countDown->SetEnabled(an);
  }
};

// Stand-in instructions: a mark in the record, and hooks that tests fill.
constexpr int32_t Notiz = Befehl::Textzeile;
constexpr int32_t Haken = Befehl::Film;
std::function<Fortgang(Lauf&, const std::string&)> haken;

Fortgang NotizRoutine(Lauf&, const std::string& arg) {
  protokoll.push_back(arg);
  return Fortgang::Weiter;
}
Fortgang HakenRoutine(Lauf& lauf, const std::string& arg) { return haken(lauf, arg); }

// Only the script's own marks, without the scene calls.
Protokoll Notizen() {
  Protokoll n;
  for (const auto& p : protokoll)
    if (p.rfind("zeiger", 0) && p.rfind("icon", 0) && p.rfind("leiste", 0) && p.rfind("maus", 0) &&
        p.rfind("countdown", 0))
      n.push_back(p);
  return n;
}

class Interpreter : public ::testing::Test {
 protected:
  FakeSzene szene;
  std::array<Befehlsroutine, Befehl::Anzahl> tabelle{};
  SzenenFenster* vorherigeSzene = nullptr;

  void SetUp() override {
    rt::UseVirtualClock(10000);
    tabelle = Befehlstabelle();
    Befehlstabelle()[Notiz] = NotizRoutine;
    Befehlstabelle()[Haken] = HakenRoutine;
    haken = [](Lauf&, const std::string&) { return Fortgang::Weiter; };
    vorherigeSzene = Szene;
    Szene = &szene;
    protokoll.clear();
    for (auto& m : Merker) m.clear();
    CursorPfad = "C:\\N\\cursors\\";
    CursorModus = 3;
    CursorDateien = {};
    Beschaeftigt = false;
    GewaehlterGegenstand = 4;
    LeisteSichtbar = true;
    LeisteGesperrt = false;
    MausX = 123;
    MausY = 45;
    Hotspots.assign(2, Hotspot{});
    Hotspots[0].Aktiv = true;
    HotspotMax = 1;
  }
  void TearDown() override {
    Befehlstabelle() = tabelle;
    Szene = vorherigeSzene;
    haken = nullptr;
    Hotspots.clear();
    HotspotMax = -1;
    CursorModus = -1;
    GewaehlterGegenstand = -1;
    LeisteSichtbar = false;
    LeisteGesperrt = false;
    rt::UseRealClock();
  }
};

TEST_F(Interpreter, EmptyScriptStillRunsStartAndEndSteps) {
  haken = nullptr;
  SkriptAusfuehren(Skript{}, -1, "");
  const Protokoll erwartet = {"countdown aus", "icon C:\\N\\cursors\\taste1.ico", "zeiger 99",
                              "leiste zu", "countdown an", "zeiger 0", "maus 0 0 123 45"};
  EXPECT_EQ(protokoll, erwartet);
  EXPECT_FALSE(Beschaeftigt);
  EXPECT_FALSE(LeisteSichtbar);
  EXPECT_EQ(CursorModus, 3);  // restored
  EXPECT_EQ(GewaehlterGegenstand, -1);
  EXPECT_EQ(CursorDateien[0], "C:\\N\\cursors\\taste1.ico");
  EXPECT_EQ(CursorDateien[1], "C:\\N\\cursors\\taste2.ico");
}

TEST_F(Interpreter, StateDuringARun) {
  bool busy = false;
  int32_t modus = 0;
  haken = [&](Lauf&, const std::string&) {
    busy = Beschaeftigt;
    modus = CursorModus;
    return Fortgang::Weiter;
  };
  SkriptAusfuehren(S({{Haken, ""}}), 0, "");
  EXPECT_TRUE(busy);
  EXPECT_EQ(modus, 1);
  EXPECT_FALSE(Beschaeftigt);
}

TEST_F(Interpreter, SwitchedOffOrMissingHotspotChangesNothing) {
  Hotspots[1].Aktiv = false;
  SkriptAusfuehren(S({{Notiz, "A"}}), 1, "");
  SkriptAusfuehren(S({{Notiz, "A"}}), 2, "");   // beyond HotspotMax
  SkriptAusfuehren(S({{Notiz, "A"}}), -7, "");
  EXPECT_TRUE(protokoll.empty());
  EXPECT_EQ(CursorModus, 3);
  EXPECT_EQ(GewaehlterGegenstand, 4);
  EXPECT_TRUE(LeisteSichtbar);

  SkriptAusfuehren(S({{Notiz, "A"}}), 0, "");
  EXPECT_EQ(Notizen(), Protokoll{"A"});
}

TEST_F(Interpreter, ConditionBlocks) {
  using namespace Befehl;
  const Skript wennSonst = S({{WennMerker, "x"}, {Notiz, "A"}, {Sonst, ""}, {Notiz, "B"},
                              {EndeWenn, ""}, {Notiz, "danach"}});
  SkriptAusfuehren(wennSonst, -1, "");
  EXPECT_EQ(Notizen(), (Protokoll{"B", "danach"}));
  protokoll.clear();
  MerkerSetzen("X");
  SkriptAusfuehren(wennSonst, -1, "");
  EXPECT_EQ(Notizen(), (Protokoll{"A", "danach"}));

  // Without an else part a false test resumes after the end.
  protokoll.clear();
  SkriptAusfuehren(S({{WennMerker, "Y"}, {Notiz, "A"}, {EndeWenn, ""}, {Notiz, "C"}}), -1, "");
  EXPECT_EQ(Notizen(), Protokoll{"C"});

  // Nested blocks, both with else parts: X unset runs only D, whatever Y is.
  const Skript verschachtelt =
      S({{WennMerker, "X"}, {WennMerker, "Y"}, {Notiz, "A"}, {Sonst, ""}, {Notiz, "B"},
         {EndeWenn, ""}, {Notiz, "C"}, {Sonst, ""}, {Notiz, "D"}, {EndeWenn, ""}});
  for (const char* y : {"", "Y"}) {
    for (auto& m : Merker) m.clear();
    MerkerSetzen(y);
    protokoll.clear();
    SkriptAusfuehren(verschachtelt, -1, "");
    EXPECT_EQ(Notizen(), Protokoll{"D"}) << y;
  }
  MerkerSetzen("X");
  protokoll.clear();
  SkriptAusfuehren(verschachtelt, -1, "");
  EXPECT_EQ(Notizen(), (Protokoll{"A", "C"}));
  MerkerLoeschen("Y");
  protokoll.clear();
  SkriptAusfuehren(verschachtelt, -1, "");
  EXPECT_EQ(Notizen(), (Protokoll{"B", "C"}));
}

TEST_F(Interpreter, ItemTestComparesTheRunsItemName) {
  using namespace Befehl;
  const Skript s = S({{WennGegenstand, " kerze "}, {Notiz, "Kerze"}, {Sonst, ""},
                      {WennGegenstand, "BRIEF"}, {Notiz, "Brief"}, {EndeWenn, ""}, {EndeWenn, ""}});
  SkriptAusfuehren(s, -1, "KERZE");
  SkriptAusfuehren(s, -1, "BRIEF");
  SkriptAusfuehren(s, -1, "brief");  // the run's name is used as given
  SkriptAusfuehren(s, -1, "");
  EXPECT_EQ(Notizen(), (Protokoll{"Kerze", "Brief"}));
}

TEST_F(Interpreter, UnclosedBlocksEndTheRunWithItsEndSteps) {
  using namespace Befehl;
  SkriptAusfuehren(S({{Notiz, "A"}, {WennMerker, "NIE"}, {Notiz, "B"}}), -1, "");
  SkriptAusfuehren(S({{WennMerker, "NIE"}}), -1, "");
  SkriptAusfuehren(S({{Sonst, ""}, {Notiz, "C"}}), -1, "");
  SkriptAusfuehren(S({{Notiz, "D"}, {Sonst, ""}}), -1, "");
  EXPECT_EQ(Notizen(), (Protokoll{"A", "D"}));
  EXPECT_EQ(std::count(protokoll.begin(), protokoll.end(), "countdown an"), 4);
  EXPECT_FALSE(Beschaeftigt);
}

TEST_F(Interpreter, Jumps) {
  using namespace Befehl;
  // The first of two labels wins, found anywhere in the script; names trimmed and upper-cased.
  SkriptAusfuehren(S({{Springe, " ziel"}, {Notiz, "A"}, {Marke, "ZIEL "}, {Notiz, "B"},
                      {Marke, "ziel"}, {Notiz, "C"}}), -1, "");
  EXPECT_EQ(Notizen(), (Protokoll{"B", "C"}));

  // Unknown label: on with the next instruction.
  protokoll.clear();
  SkriptAusfuehren(S({{Springe, "NIRGENDS"}, {Notiz, "A"}}), -1, "");
  EXPECT_EQ(Notizen(), Protokoll{"A"});

  // A backward jump over a flag test loops until the test changes.
  protokoll.clear();
  int runden = 0;
  haken = [&](Lauf&, const std::string&) {
    if (++runden == 3) MerkerSetzen("fertig");
    protokoll.push_back("runde");
    return Fortgang::Weiter;
  };
  SkriptAusfuehren(S({{Marke, "oben"}, {Haken, ""}, {WennMerker, "FERTIG"}, {Notiz, "raus"},
                      {Sonst, ""}, {Springe, "Oben"}, {EndeWenn, ""}, {Notiz, "ende"}}),
                   -1, "");
  EXPECT_EQ(Notizen(), (Protokoll{"runde", "runde", "runde", "raus", "ende"}));
}

TEST_F(Interpreter, UnknownOpcodesAndMalformedScripts) {
  SkriptAusfuehren(S({{-1, "x"}, {33, "x"}, {1000000, "x"}, {Notiz, "A"}}), -1, "");
  EXPECT_EQ(Notizen(), Protokoll{"A"});

  // Letzter claiming more than the lists hold, and a missing argument.
  Skript kaputt = S({{Notiz, "B"}, {Befehl::Springe, "X"}});
  kaputt.Letzter = 40;
  kaputt.Parameter.pop_back();
  protokoll.clear();
  SkriptAusfuehren(kaputt, -1, "");
  EXPECT_EQ(Notizen(), Protokoll{"B"});
  EXPECT_FALSE(Beschaeftigt);
}

TEST_F(Interpreter, EndingsChosenByAnInstruction) {
  haken = [](Lauf&, const std::string& arg) {
    return arg == "ende" ? Fortgang::Ende : Fortgang::EndeOhneSchritte;
  };
  SkriptAusfuehren(S({{Notiz, "A"}, {Haken, "ende"}, {Notiz, "B"}}), -1, "");
  EXPECT_EQ(Notizen(), Protokoll{"A"});
  EXPECT_EQ(protokoll.back(), "maus 0 0 123 45");
  EXPECT_FALSE(Beschaeftigt);

  protokoll.clear();
  SkriptAusfuehren(S({{Haken, "weg"}, {Notiz, "B"}}), -1, "");
  EXPECT_EQ(protokoll.back(), "leiste zu");  // no end steps
  EXPECT_TRUE(Beschaeftigt);
}

TEST_F(Interpreter, AFailureStillRunsTheEndSteps) {
  haken = [](Lauf&, const std::string&) -> Fortgang { throw std::runtime_error("Bild fehlt"); };
  EXPECT_THROW(SkriptAusfuehren(S({{Haken, ""}, {Notiz, "B"}}), -1, ""), std::runtime_error);
  EXPECT_TRUE(Notizen().empty());
  EXPECT_FALSE(Beschaeftigt);
  EXPECT_EQ(CursorModus, 3);
  EXPECT_EQ(protokoll.back(), "maus 0 0 123 45");
}

TEST_F(Interpreter, NestedRunsStackNothing) {
  haken = [](Lauf&, const std::string& arg) {
    SkriptAusfuehren(S({{Notiz, "innen " + arg}}), -1, "");
    return Fortgang::Weiter;
  };
  SkriptAusfuehren(S({{Notiz, "A"}, {Haken, "1"}, {Notiz, "B"}}), 0, "");
  EXPECT_EQ(Notizen(), (Protokoll{"A", "innen 1", "B"}));
  // The inner run restored the outer run's busy animation and cleared the busy flag early.
  EXPECT_EQ(std::count(protokoll.begin(), protokoll.end(), "countdown an"), 2);
  EXPECT_EQ(CursorModus, 3);
  EXPECT_FALSE(Beschaeftigt);
}

TEST_F(Interpreter, ARoomChangeByANestedRunEndsTheOuterRun) {
  using namespace Befehl;
  // The outer script is a hotspot's of the old room; the nested run loads another room, which
  // replaces every hotspot and script record.
  Hotspots[0].Skripte[1] =
      S({{Notiz, "alt 1"}, {Haken, ""}, {Notiz, "alt 2"}, {Springe, "X"}, {Marke, "X"}});
  haken = [](Lauf&, const std::string&) {
    ++RaumZaehler;
    Hotspots.assign(1, Hotspot{});
    Hotspots[0].Skripte[1] = S({{Notiz, "neu"}});
    HotspotMax = 0;
    StartSkript = S({{Notiz, "start neu"}});
    SkriptAusfuehren(StartSkript, -1, "");
    return Fortgang::Weiter;
  };
  SkriptAusfuehren(Hotspots[0].Skripte[1], 0, "");
  EXPECT_EQ(Notizen(), (Protokoll{"alt 1", "start neu"}));
  EXPECT_EQ(std::count(protokoll.begin(), protokoll.end(), "countdown an"), 2);
  EXPECT_EQ(protokoll.back(), "maus 0 0 123 45");
  EXPECT_FALSE(Beschaeftigt);
  StartSkript = Skript{};
}

TEST_F(Interpreter, CountdownIsPostponedByRuns) {
  rt::Timer countDown;
  int ticks = 0;
  countDown.Tick = [&] {
    ++ticks;
    SkriptAusfuehren(CountDownSkript, -1, "");
  };
  CountDownSkript = S({{Notiz, "tick"}});
  szene.countDown = &countDown;
  countDown.SetInterval(1000);
  countDown.SetEnabled(true);

  // A click every 600 ms: the countdown never gets a full second without a run.
  for (int k = 0; k < 8; ++k) {
    rt::AdvanceClock(600);
    rt::DoEvents();
    SkriptAusfuehren(S({{Notiz, "klick"}}), 0, "");
  }
  EXPECT_EQ(ticks, 0);

  // Left alone it fires once a second, counted from the end of the last run.
  rt::AdvanceClock(999);
  rt::DoEvents();
  EXPECT_EQ(ticks, 0);
  rt::AdvanceClock(1);
  rt::DoEvents();
  EXPECT_EQ(ticks, 1);
  rt::AdvanceClock(1000);
  rt::DoEvents();
  EXPECT_EQ(ticks, 2);
  countDown.SetEnabled(false);
  CountDownSkript = Skript{};
}

TEST_F(Interpreter, WaitsForAMovingItemBar) {
  // An animation driven by a timer; the run starts only after it.
  rt::Timer animation;
  animation.SetInterval(30);
  animation.Tick = [&] {
    LeisteHoehe += 20;
    if (LeisteHoehe >= 100) {
      LeisteGesperrt = false;
      animation.SetEnabled(false);
      protokoll.push_back("leiste fertig");
    }
  };
  LeisteHoehe = 0;
  LeisteGesperrt = true;
  animation.SetEnabled(true);
  SkriptAusfuehren(S({{Notiz, "A"}}), -1, "");
  const auto fertig = std::find(protokoll.begin(), protokoll.end(), "leiste fertig");
  const auto zu = std::find(protokoll.begin(), protokoll.end(), "leiste zu");
  EXPECT_LT(fertig, zu);
  EXPECT_EQ(LeisteHoehe, 100);
  LeisteHoehe = 0;
}

}  // namespace
