#include "engine/shared.h"

#include <algorithm>

#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"

namespace {
// 64 bits like the clock, so the sum below never wraps however long the host has been up.
uint64_t frameMarke = 0;
}  // namespace

uint64_t LetzterFrame() { return frameMarke; }

void WarteFrame(int32_t ms) {
  // The clock never runs backwards, but a test may switch clocks: a mark from the future would
  // stall every wait.
  frameMarke = std::min(frameMarke, rt::timeGetTime());
  for (;;) {
    rt::DoEvents();
    // Read the mark anew on every turn: a handler run by the pump may have waited itself.
    const int64_t ziel = int64_t(frameMarke) + ms;
    const uint64_t jetzt = rt::timeGetTime();
    if (ziel <= 0 || jetzt >= uint64_t(ziel)) break;
    rt::WaitForEvent(uint64_t(ziel));
  }
  frameMarke = rt::timeGetTime();
}

std::string DateiName(const std::string& pfad) {
  const auto p = pfad.rfind('\\');
  return p == std::string::npos ? pfad : pfad.substr(p + 1);
}

std::string HoleFeld(const std::string& text, const std::string& trenner, int32_t n) {
  if (n < 1) return " ";
  size_t start = 0;
  for (int32_t zahl = 1;; ++zahl) {
    const size_t p = trenner.empty() ? std::string::npos : text.find(trenner, start);
    if (p == std::string::npos) {
      if (zahl != n) return " ";
      return start < text.size() ? text.substr(start) : std::string();
    }
    if (zahl == n) return text.substr(start, p - start);
    start = p + trenner.size();
  }
}

void SpieleSound(const std::string& datei) {
  rt::PlayWaveEffect(datei);
}

void LeseTastatur() { rt::GetKeyboardState(Tastatur.data()); }

std::string WindowsVerzeichnis() {
  std::string v = rt::GetWindowsDirectory();
  // The classic call fills a 145-character buffer and the text ends at its first NUL.
  v = v.substr(0, std::min(v.find('\0'), size_t(144)));
  return v;
}
