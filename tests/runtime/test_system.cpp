#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>

#include "runtime/internal.h"
#include "runtime/system.h"

using namespace rt;

TEST(Clock, VirtualClockMovesOnlyWhenAdvanced) {
  UseVirtualClock(5000);
  EXPECT_TRUE(IsVirtualClock());
  EXPECT_EQ(timeGetTime(), 5000u);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(timeGetTime(), 5000u);
  AdvanceClock(16);
  EXPECT_EQ(timeGetTime(), 5016u);
  UseVirtualClock();
  EXPECT_EQ(timeGetTime(), 1000u);
  UseRealClock();
  EXPECT_FALSE(IsVirtualClock());
}

TEST(Clock, RealClockIsMonotonicMilliseconds) {
  UseRealClock();
  uint64_t a = timeGetTime();
  AdvanceClock(100000);  // no effect on the real clock
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  uint64_t b = timeGetTime();
  EXPECT_GE(b - a, 29u);
  EXPECT_LT(b - a, 5000u);
  double s = SecondsSinceMidnight();
  EXPECT_GE(s, 0.0);
  EXPECT_LT(s, 86401.0);
}

TEST(Random, StaysInRangeAndRepeatsForASeed) {
  Randomize(12345.5);
  float first[50];
  for (float& f : first) f = Rnd();
  Randomize(12345.5);
  for (float f : first) EXPECT_EQ(Rnd(), f);
  Randomize(12346.5);
  int same = 0;
  for (float f : first) same += Rnd() == f;
  EXPECT_LT(same, 3);

  // Uniform enough: every tenth of [0, 1) is hit about equally, 1.0 never comes.
  Randomize(0);
  int buckets[10] = {};
  float lo = 1, hi = 0;
  for (int i = 0; i < 100000; ++i) {
    float r = Rnd();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    lo = std::min(lo, r);
    hi = std::max(hi, r);
    ++buckets[static_cast<int>(r * 10)];
  }
  for (int b : buckets) EXPECT_NEAR(b, 10000, 600);
  EXPECT_LT(lo, 0.001f);
  EXPECT_GT(hi, 0.999f);
}

TEST(Keyboard, TableFollowsReportedKeys) {
  ClearKeyStates();
  uint8_t t[256];
  GetKeyboardState(t);
  uint8_t space_before = t[vbKeySpace];
  EXPECT_LE(t[vbKeyLeft], 126);

  SetKeyState(vbKeyLeft, true);
  GetKeyboardState(t);
  EXPECT_GT(t[vbKeyLeft], 126);
  EXPECT_LE(t[vbKeyRight], 126);
  SetKeyState(vbKeyLeft, false);
  GetKeyboardState(t);
  EXPECT_LE(t[vbKeyLeft], 126);

  // The toggle bit flips per press, not per auto-repeat.
  SetKeyState(vbKeySpace, true);
  SetKeyState(vbKeySpace, true);
  SetKeyState(vbKeySpace, false);
  GetKeyboardState(t);
  EXPECT_EQ(t[vbKeySpace], space_before ^ 0x01);

  // Left/right Shift also hold the common Shift key until both are up.
  SetKeyState(0xA0, true);
  SetKeyState(0xA1, true);
  SetKeyState(0xA0, false);
  GetKeyboardState(t);
  EXPECT_GT(t[vbKeyShift], 126);
  SetKeyState(0xA1, false);
  GetKeyboardState(t);
  EXPECT_LE(t[vbKeyShift], 126);

  // Out-of-range codes are ignored; clearing releases everything held.
  SetKeyState(-1, true);
  SetKeyState(256, true);
  SetKeyState(vbKeyA, true);
  ClearKeyStates();
  GetKeyboardState(t);
  for (int i = 0; i < 256; ++i) EXPECT_LE(t[i], 126) << i;
}

TEST(Process, CommandLineAndEnd) {
  char a0[] = "norvalde", a1[] = "Raum", a2[] = "2.lsd", a3[] = "M\xC3\xBChle";
  char* argv[] = {a0, a1, a2, a3, nullptr};
  SetCommandLine(4, argv);
  EXPECT_EQ(Command(), "Raum 2.lsd M\xFChle");
  SetCommandLine(1, argv);
  EXPECT_EQ(Command(), "");
  EXPECT_EQ(GetWindowsDirectory(), "C:\\Windows");
  EXPECT_EXIT(EndProcess(7), ::testing::ExitedWithCode(7), "");
}
