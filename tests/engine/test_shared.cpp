#include <gtest/gtest.h>

#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"

namespace {

TEST(DateiName, PartAfterTheLastBackslash) {
  EXPECT_EQ(DateiName("C:\\Spiel\\Rooms\\Start.lsd"), "Start.lsd");
  EXPECT_EQ(DateiName("Start.lsd"), "Start.lsd");
  EXPECT_EQ(DateiName("C:\\Spiel\\Rooms\\"), "");
  EXPECT_EQ(DateiName(""), "");
  EXPECT_EQ(DateiName("a/b\\c/d.wav"), "c/d.wav");  // only backslashes separate
}

TEST(HoleFeld, FieldsAndTheBlankForMissingOnes) {
  EXPECT_EQ(HoleFeld("PONG,SIEG", ",", 1), "PONG");
  EXPECT_EQ(HoleFeld("PONG,SIEG", ",", 2), "SIEG");
  EXPECT_EQ(HoleFeld("PONG,SIEG", ",", 3), " ");
  EXPECT_EQ(HoleFeld("A,,C", ",", 2), "");
  EXPECT_EQ(HoleFeld("A,,C", ",", 3), "C");
  EXPECT_EQ(HoleFeld("A,", ",", 2), "");
  EXPECT_EQ(HoleFeld("A,", ",", 3), " ");
  EXPECT_EQ(HoleFeld("A,B", ",", 0), " ");
  EXPECT_EQ(HoleFeld("A,B", ",", -1), " ");
  EXPECT_EQ(HoleFeld("", ",", 1), "");
  EXPECT_EQ(HoleFeld("", ",", 2), " ");
  EXPECT_EQ(HoleFeld("ohne", ",", 1), "ohne");
  // Only the given separator splits; the last field runs to the end.
  EXPECT_EQ(HoleFeld("2|Frage, mit Komma|Ja", "|", 2), "Frage, mit Komma");
  EXPECT_EQ(HoleFeld("2|Frage|Ja|Nein", "|", 3), "Ja");
  EXPECT_EQ(HoleFeld("1,2,3,4", ",", 4), "4");
}

class Frames : public ::testing::Test {
 protected:
  void SetUp() override { rt::UseVirtualClock(5000); }
  void TearDown() override { rt::UseRealClock(); }
};

TEST_F(Frames, SharedMarkPacesWaits) {
  WarteFrame(0);  // sets the mark
  const uint64_t t0 = rt::timeGetTime();
  EXPECT_EQ(LetzterFrame(), t0);
  WarteFrame(16);
  EXPECT_EQ(rt::timeGetTime(), t0 + 16);
  WarteFrame(16);
  EXPECT_EQ(rt::timeGetTime(), t0 + 32);
  EXPECT_EQ(LetzterFrame(), t0 + 32);

  // Work between frames counts against the frame: only the rest is waited.
  rt::AdvanceClock(10);
  WarteFrame(16);
  EXPECT_EQ(rt::timeGetTime(), t0 + 48);

  // After a long pause a wait returns at once and moves the mark to now.
  rt::AdvanceClock(1000);
  const uint64_t t1 = rt::timeGetTime();
  WarteFrame(16);
  EXPECT_EQ(rt::timeGetTime(), t1);
  EXPECT_EQ(LetzterFrame(), t1);

  WarteFrame(-50);  // an absurd negative wait is a single pump
  EXPECT_EQ(rt::timeGetTime(), t1);
}

TEST_F(Frames, PumpsAtLeastOnceAndKeepsPumpingWhileWaiting) {
  int ticks = 0;
  rt::Timer timer;
  timer.Tick = [&] { ++ticks; };
  timer.SetInterval(20);
  timer.SetEnabled(true);

  rt::AdvanceClock(25);  // the tick is due; the wait itself needs no time
  WarteFrame(0);
  EXPECT_EQ(ticks, 1);

  WarteFrame(0);
  const uint64_t t0 = rt::timeGetTime();
  WarteFrame(50);
  EXPECT_EQ(rt::timeGetTime(), t0 + 50);  // ticks inside do not push the wait past its mark
  EXPECT_GE(ticks, 3);
  timer.SetEnabled(false);
}

TEST_F(Frames, NestedWaitsMoveTheSameMark) {
  rt::Timer timer;
  timer.Tick = [&] {
    timer.SetEnabled(false);
    WarteFrame(0);
    WarteFrame(100);  // a handler waiting longer than its caller
  };
  timer.SetInterval(20);
  WarteFrame(0);
  const uint64_t t0 = rt::timeGetTime();
  timer.SetEnabled(true);
  WarteFrame(30);
  // The outer wait measures against the mark the nested one left.
  EXPECT_EQ(rt::timeGetTime(), t0 + 150);
  EXPECT_EQ(LetzterFrame(), t0 + 150);
}

TEST_F(Frames, NoOverflowAfterLongUptime) {
  rt::UseVirtualClock(uint64_t(1) << 33);  // about 99 days
  WarteFrame(0);
  EXPECT_EQ(LetzterFrame(), uint64_t(1) << 33);
  const uint64_t t0 = rt::timeGetTime();
  WarteFrame(16);
  EXPECT_EQ(rt::timeGetTime(), t0 + 16);
  rt::AdvanceClock(500);
  const uint64_t t1 = rt::timeGetTime();
  WarteFrame(16);
  EXPECT_EQ(rt::timeGetTime(), t1);

  // Back to an earlier clock (as between tests): the mark follows instead of stalling.
  rt::UseVirtualClock(2000);
  WarteFrame(16);
  EXPECT_EQ(rt::timeGetTime(), 2016u);
}

TEST(SharedRoutines, SoundKeysAndWindowsFolder) {
  const uint64_t t0 = rt::timeGetTime();
  SpieleSound("C:\\gibt\\es\\nicht.wav");
  EXPECT_FALSE(rt::WaveEffectPlaying());
  EXPECT_LT(rt::timeGetTime() - t0, 1000u);

  Tastatur.fill(0xAA);
  LeseTastatur();
  EXPECT_LE(Tastatur[rt::vbKeyA], 126);  // nothing held in a headless test

  const std::string w = WindowsVerzeichnis();
  EXPECT_FALSE(w.empty());
  EXPECT_EQ(w.find('\0'), std::string::npos);
  EXPECT_LE(w.size(), 144u);
}

}  // namespace
