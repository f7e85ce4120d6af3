// A player for the end-to-end check of the pi and flying-heads games: the program as a player
// starts it with a room on the command line, and a robot hand that types and clicks through the
// X server (xdotool), as a player's keyboard and mouse would. It reports what happens on
// standard output for the check's screenshots.
//   e2e_minigame_player ROOM pi N     types the first N characters of pi (',' for '.'), then stops
//   e2e_minigame_player ROOM koepfe   hits every head; the check itself ends the winning trail
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/form1.h"
#include "engine/minispiel.h"
#include "engine/state.h"
#include "minigames/heads/wumpel.h"
#include "minigames/pi/pispiel.h"
#include "runtime/forms.h"
#include "runtime/system.h"

namespace {

void Melde(const std::string& s) {
  static const uint64_t anfang = rt::timeGetTime();
  std::printf("%6llu %s\n", static_cast<unsigned long long>(rt::timeGetTime() - anfang), s.c_str());
  std::fflush(stdout);
}

void Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  if (!rt::StartProgram(argv)) Melde("xdotool could not be started");
}

// ---- The pi game: each character typed a moment after it shows ----------------------------

struct Tipper {
  int bis = 0;
  std::string ziffern;
  uint64_t faellig = 0;
  std::string zeichen;
  rt::Timer uhr;

  void Start() {
    TPISpiel& f = PISpiel();
    f.ZeichenGezeigt = [this, &f] {
      Melde("PI zeigt " + std::to_string(f.Position));
      if (f.Position > bis) return;
      const char c = ziffern[size_t(f.Position - 1)];
      zeichen = c == '.' ? "," : std::string(1, c);
      // Two slow characters give the check time for a look.
      faellig = rt::timeGetTime() + (f.Position == 12 || f.Position == 30 ? 900 : 150);
    };
    uhr.SetInterval(10);
    uhr.Tick = [this] {
      if (zeichen.empty() || rt::timeGetTime() < faellig) return;
      Xdotool({"type", zeichen});
      zeichen.clear();
    };
    uhr.SetEnabled(true);
  }
};

// ---- The flying heads: click where a slow head will be a few frames from now ----------------

struct Schuetze {
  int warten = 0;
  int uebrig = 21;
  int animation = -1;

  // Where head k will be n frames on, if its legs last that long.
  static bool Vorhersage(const ::Flieger& k, int n, float& x, float& y) {
    if (k.RestX - n <= 0 || k.RestY - n <= 0) return false;
    const double pi2 = double(PiWert) / 2;
    x = float((double(k.ZielX) - k.StartX) * std::cos(pi2 * (k.RestX - n) / k.SchritteX) + k.StartX);
    y = float((double(k.ZielY) - k.StartY) * std::cos(pi2 * (k.RestY - n) / k.SchritteY) + k.StartY);
    return true;
  }

  void Start() {
    TWumpel& f = Wumpel();
    f.NachFrame = [this, &f] {
      if (f.KoepfeUebrig < uebrig) {
        uebrig = f.KoepfeUebrig;
        Melde("WUMPEL treffer " + std::to_string(21 - uebrig));
      }
      if (f.KoepfeUebrig == 0) {
        if (++animation > 0) Melde("WUMPEL animation " + std::to_string(animation));
        return;
      }
      if (warten > 0) {
        --warten;
        return;
      }
      // The head that moves least over the frames in which the press may arrive.
      int best = -1;
      float bx = 0, by = 0, weg = 1e9f;
      for (int i = 0; i < 21; ++i) {
        const ::Flieger& k = f.Flieger[size_t(i)];
        float x2, y2, x5, y5;
        if (!k.Lebt || !Vorhersage(k, 2, x2, y2) || !Vorhersage(k, 5, x5, y5)) continue;
        const float d = std::hypot(x5 - x2, y5 - y2);
        if (d < weg) {
          weg = d;
          best = i;
          Vorhersage(k, 3, bx, by);
        }
      }
      if (best < 0 || weg > 30) return;
      const int sx = f.Left() + f.Feld.Left() + 2 + int(bx) + f.w / 2;
      const int sy = f.Top() + f.Feld.Top() + 2 + int(by) + f.h / 2;
      Xdotool({"mousemove", std::to_string(sx), std::to_string(sy), "click", "1"});
      warten = 20;
    };
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s ROOM pi N | ROOM koepfe\n", argv[0]);
    return 2;
  }
  char* args[] = {argv[0], argv[1], nullptr};
  rt::SetCommandLine(2, args);
  MinispieleAnmelden();

  const std::string spiel = argv[2];
  Tipper tipper;
  Schuetze schuetze;
  if (spiel == "pi") {
    tipper.bis = argc > 3 ? std::atoi(argv[3]) : 0;
    std::string alles;
    rt::ReadFileBytes(rt::AppPath() + "\\games\\Pi10000.txt", alles);
    tipper.ziffern = alles;
    tipper.Start();
  } else {
    schuetze.Start();
  }

  // Report when a game window opens and closes, and the flags the room's script got back.
  bool offen = false;
  rt::Timer wache;
  wache.SetInterval(20);
  wache.Tick = [&] {
    const bool jetzt = PISpiel().Loaded() || Wumpel().Loaded();
    if (jetzt == offen) return;
    offen = jetzt;
    if (jetzt) {
      rt::Form& f = PISpiel().Loaded() ? static_cast<rt::Form&>(PISpiel()) : Wumpel();
      Melde("OFFEN " + std::to_string(f.Left()) + " " + std::to_string(f.Top()) + " " +
            std::to_string(f.ScaleWidth()) + " " + std::to_string(f.ScaleHeight()));
    } else {
      Melde("ZU");
    }
  };
  wache.SetEnabled(true);
  // After the game the room's script sets or clears the flag; the check asks for it by name.
  rt::Timer flaggen;
  flaggen.SetInterval(100);
  flaggen.Tick = [&] {
    if (offen) return;
    for (const char* m : {"PI_GESCHAFFT", "KOEPFE_GETROFFEN"})
      if (MerkerTesten(m)) {
        Melde(std::string("FLAGGE ") + m);
        flaggen.SetEnabled(false);
      }
  };
  flaggen.SetEnabled(true);

  Form1().Show();
  while (Form1().Loaded()) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 1000);
  }
  return 0;
}
