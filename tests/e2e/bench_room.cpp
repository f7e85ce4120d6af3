// What entering a room costs up to its start script: reading a room file with 50 hotspots (each
// with scripts in all three slots and its full mask), decoding its 640 by 480 JPEG picture and
// drawing it into the scene. Real clock; the first instruction of the start script stops the
// watch. Both the wall time and the processor time of the thread are taken: on a shared machine
// the wall time also counts the waits for a processor, so the limit applies to the work.
//   e2e_bench_room <scratch folder>
// Exit 0 when the median processor time of 40 entries stays under 5 ms.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/form1.h"
#include "engine/interpreter.h"
#include "engine/state.h"
#include "runtime/picture_save.h"
#include "runtime/system.h"
#include "tests/e2e/lib/messung.h"

namespace {

double angekommen = 0, angekommenCpu = 0;

double ThreadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

Fortgang Angekommen(Lauf&, const std::string&) {
  angekommen = NowMs();
  angekommenCpu = ThreadCpuMs();
  return Fortgang::Weiter;
}

std::string HotspotText(int k) {
  std::string s = "1,0,2,\"Ein Ding, Nummer " + std::to_string(k) + ".\"\r\n";
  s += "1,3,0,\"DING_" + std::to_string(k) + "\",2,\"Du nimmst es.\",3,\"DING_" + std::to_string(k) +
       "\",10,\"\"\r\n";
  s += "1,2,8,\"SCHLUESSEL\",2,\"Passt.\",10,\"\"\r\n";
  s += "\"hand1.ico\",1,\"Ding " + std::to_string(k) + "\"\r\n";
  const int x0 = (k % 10) * 6, y0 = (k / 10) * 9;
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 48; ++y) {
      const bool drin = x >= x0 && x < x0 + 6 && y >= y0 && y < y0 + 9;
      s += drin ? "255" : "0";
      s += y == 47 ? "\r\n" : ",";
    }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string dir = argv[1];
  std::filesystem::create_directories(dir + "/rooms");
  std::filesystem::create_directories(dir + "/graphics");

  // A picture with as much detail as a drawn room: gradients and noise.
  rt::Picture bild;
  bild.width = 640;
  bild.height = 480;
  uint32_t z = 7;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      z = z * 1664525u + 1013904223u;
      const int rauschen = int(z >> 28);
      bild.pixels.push_back(rt::RGB((x * 255 / 640 + rauschen) & 255, (y * 255 / 480 + rauschen) & 255,
                                    ((x ^ y) + rauschen) & 255));
    }
  if (!rt::SavePictureJpg(bild, dir + "/graphics/raum.jpg", 88)) return 2;
  std::string raum = "\"raum.jpg\",0,29,\"DA\"\r\n49\r\n";
  for (int k = 0; k < 50; ++k) raum += HotspotText(k);
  raum += "-1\r\n";
  std::ofstream(dir + "/rooms/Raum50.lsd", std::ios::binary) << raum;
  std::ofstream(dir + "/rooms/Start.lsd", std::ios::binary) << "\"raum.jpg\",-1,-1,-1\r\n";

  const std::string w = rt::WinPath(dir) + "\\";
  RaumPfad = w + "rooms\\";
  GrafikPfad = w + "graphics\\";
  SoundPfad = w + "sounds\\";
  CursorPfad = w + "cursors\\";
  GegenstandPfad = w + "items\\";
  Befehlstabelle()[Befehl::Marke] = Angekommen;
  Form1().Beenden = [] {};
  Form1().Show();
  rt::DoEvents();

  std::vector<double> ms, cpu;
  for (int i = 0; i < 40; ++i) {
    angekommen = 0;
    const double c0 = ThreadCpuMs();
    const double t0 = NowMs();
    if (!Form1().Lade(RaumPfad + "Raum50.lsd") || angekommen == 0) {
      std::printf("FAIL: the room did not load\n");
      return 1;
    }
    ms.push_back(angekommen - t0);
    cpu.push_back(angekommenCpu - c0);
    rt::DoEvents();
  }
  if (HotspotMax != 49) {
    std::printf("FAIL: %d hotspots read\n", HotspotMax + 1);
    return 1;
  }
  std::sort(ms.begin(), ms.end());
  std::sort(cpu.begin(), cpu.end());
  const double median = cpu[cpu.size() / 2];
  std::printf("entering a room of %zu bytes with 50 hotspots up to its start script (40 entries):\n"
              "  processor time: median %.2f ms, least %.2f ms, most %.2f ms\n"
              "  wall time:      median %.2f ms, least %.2f ms, most %.2f ms\n",
              raum.size(), median, cpu.front(), cpu.back(), ms[ms.size() / 2], ms.front(), ms.back());
  const bool ok = median < 5;
  std::printf(ok ? "PASS\n" : "FAIL: the median is 5 ms or more\n");
  Form1().Unload();
  std::filesystem::remove_all(dir + "/rooms");
  std::filesystem::remove_all(dir + "/graphics");
  return ok ? 0 : 1;
}
