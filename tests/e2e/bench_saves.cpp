// Time of writing a save and of reading one back into the game (the picker aside): the fullest
// game state (1001 flags, 51 items) saved to a file and loaded again, entering a room of 50
// hotspots over the sample village picture, in the real scene window.
//   e2e_bench_saves BUILD_DIR
// Exit 0 when the median of both stays under 50 ms.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/form1.h"
#include "engine/saves.h"
#include "engine/state.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "tests/e2e/lib/messung.h"

namespace {

std::string RaumMit50Hotspots() {
  std::string r = "dorfplatz.jpg,-1,49\r\n";
  for (int h = 0; h < 50; ++h) {
    r += "0,-1,0,-1,0,-1,\"\",-1,\"H" + std::to_string(h) + "\"\r\n";
    for (int x = 0; x < 64; ++x)
      for (int y = 0; y < 48; ++y) r += (x / 8 + y / 8 * 8 == h ? "255" : "0") + std::string(y == 47 ? "\r\n" : ",");
  }
  return r + "-1\r\n";
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string build = std::filesystem::absolute(argv[1]).string();
  char tmpl[] = "/tmp/norvalde-bench-saves-XXXXXX";
  if (!mkdtemp(tmpl)) return 1;
  const std::string dir = tmpl;
  std::filesystem::create_directories(dir + "/rooms");
  std::ofstream(dir + "/rooms/Bench.lsd", std::ios::binary) << RaumMit50Hotspots();

  auto ordner = [](const std::string& host) { return rt::WinPath(host) + "\\"; };
  RaumPfad = ordner(dir + "/rooms");
  SoundPfad = ordner(build + "/sounds");
  GrafikPfad = ordner(build + "/graphics");
  CursorPfad = ordner(build + "/cursors");
  GegenstandPfad = ordner(build + "/items");
  SetzeSpeicherOrdner(ordner(dir + "/saves"));
  rt::SetMsgBoxHook([](const std::string& text, int, const std::string&) {
    std::printf("message: %s\n", text.c_str());
    return rt::vbOK;
  });
  Form1().Beenden = [] {};
  SpielErgebnis = "Bench.lsd";
  Form1().Show();
  rt::DoEvents();

  for (int i = 0; i < MerkerAnzahl; ++i) Merker[size_t(i)] = "MERKER NUMMER " + std::to_string(i);
  for (int i = 0; i < GegenstandAnzahl; ++i) GegenstandDazu(i % 2 ? "apfel.bmp" : "schluessel.bmp");
  BosheitsPunkte = 42;

  const std::string datei = SpeicherOrdner() + "bench.xtc";
  std::vector<double> schreiben, lesen;
  bool ok = true;
  for (int runde = 0; runde < 30; ++runde) {
    double t0 = NowMs();
    ok = SchreibeSpielstand(datei) && ok;
    schreiben.push_back(NowMs() - t0);
    t0 = NowMs();
    ok = SpielstandLaden(datei) && ok;
    lesen.push_back(NowMs() - t0);
  }
  ok = ok && HotspotMax == 49 && LetzterGegenstand == 50 && Merker[1000] == "MERKER NUMMER 1000";
  const double s = Median(schreiben), l = Median(lesen);
  std::printf("save written:  median %6.2f ms, slowest %6.2f ms (%zu bytes)\n", s,
              *std::max_element(schreiben.begin(), schreiben.end()),
              size_t(std::filesystem::file_size(dir + "/saves/bench.xtc")));
  std::printf("save loaded:   median %6.2f ms, slowest %6.2f ms (room of 50 hotspots, 51 items)\n", l,
              *std::max_element(lesen.begin(), lesen.end()));
  std::filesystem::remove_all(dir);
  ok = ok && s < 50 && l < 50;
  std::printf(ok ? "PASS\n" : "FAIL\n");
  std::fflush(stdout);
  rt::EndProcess(ok ? 0 : 1);
}
