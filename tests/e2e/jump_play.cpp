// Plays the jump-and-run game's level through to the door on a real X display, as a player at
// the keyboard would: the keys come from the X server (xdotool), pressed and let go between two
// frames of the game, following a recorded way through the level. At the moments worth seeing
// (the view has scrolled, an enemy has just been stomped, the door is reached) it says so on
// its output and holds the game until the file <folder>/<moment>.done appears, so that a
// screenshot shows exactly that frame.
//   e2e_jump_play folder [bench]
// With "bench" the keys go through the event queue instead (no key program runs between the
// frames) and it plays up to the door, then reports the processor time and how late the frames
// came against their 20 ms marks.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "engine/shared.h"
#include "engine/state.h"
#include "minigames/jump/jump.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "tests/jump_weg.h"

extern char** environ;

namespace {

bool Exists(const std::string& p) {
  struct stat st{};
  return stat(p.c_str(), &st) == 0;
}

double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Keeps the window alive until a file appears.
bool WarteAuf(const std::string& datei, double sekunden) {
  const uint64_t ende = rt::timeGetTime() + uint64_t(sekunden * 1000);
  while (!Exists(datei)) {
    rt::DoEvents();
    if (rt::timeGetTime() > ende) return false;
    rt::WaitForEvent(rt::timeGetTime() + 20);
  }
  return true;
}

const char* XName(int taste) {
  switch (taste) {
    case rt::vbKeyRight: return "Right";
    case rt::vbKeyLeft: return "Left";
    default: return "space";
  }
}

// Presses or lets go of a key on the X server and waits until the game's key table has it.
bool XTaste(int taste, bool runter) {
  const char* argv[] = {"xdotool", runter ? "keydown" : "keyup", XName(taste), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    return false;
  int status = 0;
  waitpid(pid, &status, 0);
  const uint64_t ende = rt::timeGetTime() + 3000;
  for (;;) {
    rt::DoEvents();
    uint8_t t[256];
    rt::GetKeyboardState(t);
    if ((t[taste] > 126) == runter) return true;
    if (rt::timeGetTime() > ende) return false;
    rt::WaitForEvent(rt::timeGetTime() + 2);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_jump_play folder [bench]\n");
    return 2;
  }
  const std::string ordner = argv[1];
  const bool bench = argc > 2 && std::strcmp(argv[2], "bench") == 0;
  rt::SetCommandLine(argc, argv);
  DatenPfad = rt::AppPath() + "\\games\\";

  TJump& j = Jump();
  j.Show();
  // The frames are run here instead of inside the start timer, so that keys can be pressed
  // between them; what a frame does is the same.
  j.Timer1.SetEnabled(false);
  std::printf("FENSTER\n");
  std::fflush(stdout);
  if (!WarteAuf(ordner + "/los", 30)) return 3;

  j.Einrichten();
  const std::vector<JumpSchritt> weg = JumpWeg();
  size_t schritt = 0;
  int rest = weg.empty() ? 0 : weg[0].bilder;
  uint8_t gehalten[256] = {};
  bool gescrollt = false, gestampft = false, tuer = false;
  int bild = 0;
  std::vector<double> verspaetung;
  const double cpu0 = CpuSeconds(), wand0 = NowMs();
  double marke = NowMs();

  auto moment = [&](const char* name) {
    if (bench) return true;
    std::printf("MOMENT %s %d\n", name, bild);
    std::fflush(stdout);
    const bool ok = WarteAuf(ordner + "/" + name + ".done", 60);
    WarteFrame(0);  // the hold is no frame: the next one waits its full 20 ms again
    marke = NowMs();
    return ok;
  };

  for (;;) {
    // The keys of this frame.
    const int soll = schritt < weg.size() ? weg[schritt].tasten : 0;
    for (int taste : {rt::vbKeyRight, rt::vbKeyLeft, rt::vbKeySpace}) {
      const bool an = (soll & JumpTaste(taste)) != 0;
      if (an == (gehalten[taste] != 0)) continue;
      gehalten[taste] = an;
      if (bench) {
        rt::PostKey(j, taste, an);
        rt::DoEvents();
      } else if (!XTaste(taste, an)) {
        std::printf("FEHLER key %d did not arrive\n", taste);
        return 4;
      }
    }
    if (schritt < weg.size() && --rest == 0 && ++schritt < weg.size()) rest = weg[schritt].bilder;

    int lebende = 0;
    for (const auto& g : j.Gegner) lebende += g.Lebt != 0;
    if (!j.Bild()) break;
    ++bild;
    const double jetzt = NowMs();
    verspaetung.push_back(jetzt - (marke + 20));
    marke = jetzt;

    int danach = 0;
    for (const auto& g : j.Gegner) danach += g.Lebt != 0;
    if (!gescrollt && j.ScrollX >= 300) {
      gescrollt = true;
      if (!moment("gescrollt")) return 5;
    }
    if (!gestampft && danach < lebende) {
      gestampft = true;
      if (!moment("gestampft")) return 5;
    }
    if (!tuer && j.ZielZaehler == 1) {
      tuer = true;
      if (!moment("tuer")) return 5;
    }
    if (bench && j.ZielZaehler > 0) break;
  }
  for (int taste : {rt::vbKeyRight, rt::vbKeyLeft, rt::vbKeySpace})
    if (gehalten[taste] && !bench) XTaste(taste, false);

  if (bench) {
    const double cpu = CpuSeconds() - cpu0, wand = NowMs() - wand0;
    std::sort(verspaetung.begin(), verspaetung.end());
    auto anteil = [&](double q) { return verspaetung[size_t(q * double(verspaetung.size() - 1))]; };
    const int innen = int(std::count_if(verspaetung.begin(), verspaetung.end(),
                                        [](double v) { return v >= -1 && v <= 1; }));
    std::printf("frames %d in %.1f s: %.1f%% of a core; lateness median %.2f ms, 95%% %.2f ms, "
                "max %.2f ms; within 1 ms: %d of %zu\n",
                bild, wand / 1000, 100 * cpu / (wand / 1000), anteil(0.5), anteil(0.95),
                verspaetung.back(), innen, verspaetung.size());
    return 0;
  }
  std::printf("ENDE %s %d\n", SpielErgebnis.AlsText().c_str(), bild);
  std::fflush(stdout);
  return SpielErgebnis.AlsWahrheit() ? 0 : 1;
}
