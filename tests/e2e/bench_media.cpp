// What starting speech and music costs a frame loop: creating a speech stream on a two-minute
// mp3, and the first play of a MIDI song (the synthesizer loads its soundfont then) with a 16 ms
// frame loop running on. Real clock, the output as SDL_AUDIODRIVER says.
//   e2e_bench_media <scratch folder>
// Exit 0 when the stream is made in under 50 ms, the first play returns in under 100 ms with its
// position near 0, and no frame waits more than 150 ms meanwhile.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"

namespace {

double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::vector<int16_t> Tone(double seconds, double hz) {
  std::vector<int16_t> s(size_t(seconds * 44100) * 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = int16_t(5000 * std::sin(2 * M_PI * hz * double(i / 2) / 44100));
  return s;
}

std::string Position(const std::string& alias) {
  std::string buf(200, ' ');
  if (rt::mciSendString("status " + alias + " position", &buf, 200) != 0) return "-";
  return buf.substr(0, buf.find('\0'));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string dir = argv[1];
  bool ok = true;

  // Speech: two minutes of mp3.
  if (!rt::WriteMp3File(dir + "/rede.mp3", Tone(120, 220), 44100, 2)) return 2;
  rt::BASS_Init(-1, 44100, 0, 0);
  rt::BASS_Start();
  std::vector<double> create;
  for (int i = 0; i < 3; ++i) {
    const double t0 = NowMs();
    const uint32_t h = rt::BASS_StreamCreateFile(0, rt::WinPath(dir + "/rede.mp3"), 0, 0, 0);
    create.push_back(NowMs() - t0);
    if (!h) return 2;
    rt::BASS_StreamPlay(h, 0, 0);
    rt::BASS_StreamFree(h);
  }
  std::sort(create.begin(), create.end());
  std::printf("speech stream on a two-minute mp3: made in %.1f ms (median of 3)\n", create[1]);
  ok = ok && create[1] < 50;
  rt::BASS_Free();

  // Music: the first song of the process, with a frame loop going on.
  std::vector<rt::MidiNote> noten;
  for (int i = 0; i < 16; ++i) noten.push_back({60 + (i * 5) % 12, 0.5});
  if (!rt::WriteMidiFile(dir + "/lied.mid", noten, 120)) return 2;
  double t0 = NowMs();
  rt::mciSendString("open " + rt::WinPath(dir + "/lied.mid") + " alias vbSong", nullptr, 0);
  rt::mciSendString("play vbSong", nullptr, 0);
  const double playMs = NowMs() - t0;
  const std::string first = Position("vbSong");
  double longest = 0, last = NowMs(), startedAfter = -1;
  t0 = last;
  while (NowMs() - t0 < 3000) {
    const uint64_t mark = rt::timeGetTime() + 16;
    rt::DoEvents();
    while (rt::timeGetTime() < mark) {
      rt::WaitForEvent(mark);
      rt::DoEvents();
    }
    const double now = NowMs();
    longest = std::max(longest, now - last);
    last = now;
    if (startedAfter < 0 && Position("vbSong") != "0") startedAfter = now - t0;
  }
  std::printf("first MIDI song: play returned after %.1f ms, position right after it %s ms, "
              "sound began %.0f ms later; longest frame meanwhile %.1f ms\n",
              playMs, first.c_str(), startedAfter, longest);
  ok = ok && playMs < 100 && first != "-" && std::stoi(first) < 50 && longest < 150;
  rt::mciSendString("close vbSong", nullptr, 0);
  rt::AudioClose();
  return ok ? 0 : 1;
}
