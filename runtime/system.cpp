#include "runtime/system.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

#include "runtime/internal.h"
#include "runtime/text.h"

namespace rt {

// ---- Clock -------------------------------------------------------------------------------

namespace {
std::atomic<bool> g_virtual{false};
std::atomic<uint64_t> g_virtualNow{0};
}  // namespace

uint64_t timeGetTime() {
  if (g_virtual.load(std::memory_order_relaxed)) return g_virtualNow.load(std::memory_order_relaxed);
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

void UseVirtualClock(uint64_t start_ms) {
  g_virtualNow = start_ms;
  g_virtual = true;
}

void UseRealClock() { g_virtual = false; }

bool IsVirtualClock() { return g_virtual.load(std::memory_order_relaxed); }

void AdvanceClock(uint64_t ms) {
  if (g_virtual) g_virtualNow += ms;
}

double SecondsSinceMidnight() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  time_t t = ts.tv_sec;
  tm local{};
  localtime_r(&t, &local);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ts.tv_nsec / 1e9;
}

// ---- Random numbers ----------------------------------------------------------------------
// splitmix64: small, well mixed, and the same sequence for the same seed on every machine.

namespace {
uint64_t g_rndState = 0x853C49E6748FEA9Bull;

uint64_t NextRandom() {
  uint64_t z = (g_rndState += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
}  // namespace

void Randomize(double seed) {
  uint64_t bits = 0;
  if (seed == 0) seed = 0;  // -0 and +0 seed alike
  std::memcpy(&bits, &seed, sizeof bits);
  g_rndState = bits ^ 0x2545F4914F6CDD1Dull;
  NextRandom();
}

float Rnd() {
  // 24 random bits fill a float's mantissa exactly, so the largest value is 1 - 2^-24.
  return static_cast<float>(NextRandom() >> 40) * (1.0f / 16777216.0f);
}

// ---- Keyboard ----------------------------------------------------------------------------

namespace {
uint8_t g_keys[256];

// Left/right variants of Shift, Control and Alt also drive their common key.
int CommonKey(int vk) {
  switch (vk) {
    case 0xA0: case 0xA1: return vbKeyShift;
    case 0xA2: case 0xA3: return vbKeyControl;
    case 0xA4: case 0xA5: return vbKeyMenu;
    default: return -1;
  }
}

void SetOne(int vk, bool down) {
  uint8_t& k = g_keys[vk];
  if (down) {
    if (!(k & 0x80)) k ^= 0x01;
    k |= 0x80;
  } else {
    k &= static_cast<uint8_t>(~0x80);
  }
}
}  // namespace

void SetKeyState(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  SetOne(vk, down);
  int common = CommonKey(vk);
  if (common < 0) return;
  int base = common == vbKeyShift ? 0xA0 : common == vbKeyControl ? 0xA2 : 0xA4;
  bool any = (g_keys[base] & 0x80) || (g_keys[base + 1] & 0x80);
  SetOne(common, any);
}

void ClearKeyStates() {
  for (uint8_t& k : g_keys) k &= static_cast<uint8_t>(~0x80);
}

void GetKeyboardState(uint8_t table[256]) { std::memcpy(table, g_keys, sizeof g_keys); }

// ---- Command line and process ------------------------------------------------------------

namespace {
std::string g_command;
}  // namespace

std::string Command() { return g_command; }

void SetCommandLine(int argc, char** argv) {
  std::string joined;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) joined += ' ';
    if (argv[i]) joined += argv[i];
  }
  g_command = FromUtf8(joined);
}

std::string GetWindowsDirectory() { return "C:\\Windows"; }

void EndProcess(int code) {
  std::fflush(nullptr);
  _exit(code);
}

}  // namespace rt
