// Measures the processor time the media layer takes: a 640x480 MPEG-1 video with sound playing
// in a scene-sized picture box, and a MIDI song playing with nothing else happening.
//   e2e_audio_cpu video|music [seconds]
// Prints "cpu <percent of one core> over <seconds> s".
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "tests/e2e/lib/messung.h"

namespace {

void Moving(int index, int w, int h, std::vector<int32_t>& px) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[size_t(y) * w + x] = rt::RGB((x + index * 4) & 255, (y * 2 + index) & 255, ((x ^ y) + index * 3) & 255);
}

class Scene : public rt::Form {
 public:
  rt::PictureBox Picture1{this};
  void InitializeComponent() override {
    SetClientSize(640, 480);
    Picture1.Move(0, 0, 640, 480);
    Picture1.SetAutoRedraw(true);
  }
};

long Status(const std::string& alias, const std::string& item) {
  std::string buf(200, ' ');
  if (rt::mciSendString("status " + alias + " " + item, &buf, 200) != 0) return -1;
  return std::atol(buf.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "video";
  int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  std::string file;
  if (mode == "video") {
    file = "/tmp/norvalde-cpu.mpg";
    if (!rt::WriteVideoFile(file, 640, 480, 25, seconds * 25, Moving, 440)) return 1;
  } else {
    file = "/tmp/norvalde-cpu.mid";
    std::vector<rt::MidiNote> tune;
    for (int i = 0; i < seconds * 4; ++i) tune.push_back({48 + (i * 7) % 24, 0.5});
    if (!rt::WriteMidiFile(file, tune, 120)) return 1;
  }

  Scene scene;
  scene.Show();
  rt::DoEvents();
  std::string alias = mode == "video" ? "vbVideo" : "vbSong";
  std::string open = "open " + rt::WinPath(file) + " alias " + alias;
  if (mode == "video") open += " parent " + std::to_string(scene.Picture1.hWnd()) + " Style 1073741824";
  if (rt::mciSendString(open, nullptr, 0) != 0) return 2;
  rt::mciSendString("put vbVideo window at 0 0 640 480", nullptr, 0);

  double cpu0 = CpuSeconds();
  uint64_t t0 = rt::timeGetTime();
  rt::mciSendString("play " + alias, nullptr, 0);
  double loadCpu = CpuSeconds() - cpu0;
  uint64_t t1 = rt::timeGetTime();
  bool seen = mode != "video";
  while (Status(alias, "position") < Status(alias, "length")) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 500);
    if (!seen && Status(alias, "position") > 1000) {
      // The window shows the moving pattern, not one flat colour.
      const std::vector<rt::Color>& f = scene.ComposedFrame();
      seen = f.size() >= 640u * 480 && f[100 * 640 + 100] != f[300 * 640 + 400];
    }
  }
  uint64_t t2 = rt::timeGetTime();
  double wall = (t2 - t0) / 1000.0;
  double cpu = CpuSeconds() - cpu0;
  // "cpu" counts the start-up (loading the soundfont for a song); "playing" leaves it out.
  std::printf("%s: cpu %.1f%% of one core over %.1f s; playing %.1f%% after a start-up of %.2f s cpu; "
              "device %s\n", mode.c_str(), 100.0 * cpu / wall, wall,
              100.0 * (cpu - loadCpu) / std::max(0.001, (t2 - t1) / 1000.0), loadCpu,
              rt::AudioHasDevice() ? "yes" : "silent");
  if (!seen) std::printf("%s: the video never showed in the window\n", mode.c_str());
  rt::mciSendString("close " + alias, nullptr, 0);
  rt::AudioClose();
  std::remove(file.c_str());
  return seen ? 0 : 3;
}
