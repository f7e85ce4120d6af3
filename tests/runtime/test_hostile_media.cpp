// Damaged sound and video files and process exits: whatever a file holds, the media calls
// answer with an error and the process goes on.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "runtime/audio.h"
#include "runtime/audio_internal.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "scratch.h"

using namespace rt;

namespace {

// The exit status of a child, or -1 when it has not ended within the time (it is killed then).
int WaitForChild(pid_t pid, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

void Le(std::string& s, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) s += char((v >> (8 * i)) & 255);
}

// A wave file of so many bytes of sound with the given format fields; a second format chunk
// when `second` channels are given (the mixer reads the last one).
std::string Wave(uint32_t channels, uint32_t rate, uint32_t bits, int second = -1, uint32_t bytes = 64) {
  auto fmt = [&](uint32_t ch) {
    std::string f = "fmt ";
    Le(f, 16, 4), Le(f, 1, 2), Le(f, ch, 2), Le(f, rate, 4);
    Le(f, rate * ch * bits / 8, 4), Le(f, ch * bits / 8, 2), Le(f, bits, 2);
    return f;
  };
  std::string body = "WAVE" + fmt(channels) + (second >= 0 ? fmt(uint32_t(second)) : "") + "data";
  Le(body, bytes, 4);
  body += std::string(bytes, '\x10');
  std::string s = "RIFF";
  Le(s, uint32_t(body.size()), 4);
  return s + body;
}

// Runs f in a child process; its exit status, or -1 when it hung.
template <class F>
int InChild(F f) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) _exit(f());
  return pid < 0 ? -1 : WaitForChild(pid, std::chrono::seconds(30));
}

// The child must have ended by itself with exit code 0.
void ExpectCleanExit(int status, const char* hung = "hung") {
  ASSERT_NE(status, -1) << hung;
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Registered before any test opens the audio, so it runs after the audio's own exit handler: a
// forked child tells whether that handler tore the output down inside it.
bool g_forkedChild = false;
const bool g_exitCheck = [] {
  std::atexit([] {
    if (g_forkedChild && audio_detail::Exiting()) _exit(99);
  });
  return true;
}();

}  // namespace

TEST(AudioExit, AForkedHelperThatExitsLeavesTheOutputToItsOwner) {
  ASSERT_TRUE(AudioOpen());
  // Like the message box's helper process ending through exit() on an X error.
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    g_forkedChild = true;
    std::exit(3);
  }
  const int status = WaitForChild(pid, std::chrono::seconds(10));
  ASSERT_NE(status, -1) << "the child hung in the audio teardown";
  EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 3) << "99: the child closed the parent's audio output";
  EXPECT_TRUE(AudioOpen());
  AudioClose();
}

TEST(DamagedMedia, WaveHeadersTheMixerCannotPlayGiveTheMediaError) {
  const std::string dir = testing_support::MakeScratchFolder("media");
  ASSERT_FALSE(dir.empty());
  struct Fall {
    const char* name;
    std::string bytes;
    int open;  // what "open" answers
  };
  const std::vector<Fall> faelle = {
      {"gut.wav", Wave(2, 22050, 16), 0},
      {"null_kanaele.wav", Wave(0, 44100, 16), MCIERR_INVALID_FILE},
      {"null_rate.wav", Wave(2, 0, 16), MCIERR_INVALID_FILE},
      {"neun_kanaele.wav", Wave(9, 44100, 16), MCIERR_INVALID_FILE},
      {"null_bits.wav", Wave(1, 44100, 0), MCIERR_INVALID_FILE},
      {"zweites_fmt.wav", Wave(2, 44100, 16, 0), MCIERR_INVALID_FILE},
      {"kanaele_256.wav", Wave(256, 44100, 16), MCIERR_INVALID_FILE},
  };
  for (const Fall& f : faelle) std::ofstream(dir + "/" + f.name, std::ios::binary) << f.bytes;
  // Opened and played as music (by its extension, as a named type, as an MPEG file would be),
  // as an effect and as speech, with the mixer running meanwhile.
  const int status = InChild([&] {
    int fehler = 0;
    for (const Fall& f : faelle) {
      const std::string w = WinPath(dir + "/" + f.name);
      for (const std::string typ : {"", " type waveaudio", " type MPEGVideo"}) {
        const int e = mciSendString("open " + w + typ + " alias vbSong", nullptr, 0);
        if (e != f.open) {
          std::fprintf(stderr, "%s%s: open gave %d\n", f.name, typ.c_str(), e);
          ++fehler;
        }
        mciSendString("play vbSong", nullptr, 0);
        PlayWaveEffect(w);
        const uint32_t h = BASS_StreamCreateFile(0, w, 0, 0, 0);
        if (h) BASS_StreamPlay(h, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        DoEvents();
        if (h) BASS_StreamFree(h);
        mciSendString("close vbSong", nullptr, 0);
      }
    }
    AudioClose();
    return fehler ? 1 : 0;
  });
  testing_support::RemoveScratchFolder(dir);
  ExpectCleanExit(status);
}

TEST(DamagedMedia, EffectsAndSpeechTakeOnlyWaveAndMp3Files) {
  const std::string dir = testing_support::MakeScratchFolder("media-kind");
  ASSERT_FALSE(dir.empty());
  // A MIDI file named like a wave file, one note after a pause of hundreds of hours: the
  // mixer's own loader would render all of it into memory.
  std::string midi = "MThd";
  Le(midi, 0x06000000, 4), midi += std::string("\0\0\0\1\0\x60", 6);
  midi += "MTrk";
  const std::string track = std::string("\xff\xff\xff\x7f\x90\x3c\x64\x00\xff\x2f\x00", 11);
  Le(midi, uint32_t(track.size()) << 24, 4);
  midi += track;
  std::ofstream(dir + "/effekt.wav", std::ios::binary) << midi;
  // A second long: the mixer's thread may take a shorter one to its end before it is asked about.
  std::ofstream(dir + "/gut.wav", std::ios::binary) << Wave(1, 22050, 16, -1, 44100);
  // Five samples a second: made into the output's rate, every byte becomes thousands.
  std::ofstream(dir + "/langsam.wav", std::ios::binary) << Wave(2, 5, 16);
  const int status = InChild([&] {
    if (BASS_Init(-1, 44100, 0, 0) == 0) return 2;
    for (const char* name : {"effekt.wav", "langsam.wav"}) {
      PlayWaveEffect(WinPath(dir + "/" + name));
      if (WaveEffectPlaying()) return 1;
      if (BASS_StreamCreateFile(0, WinPath(dir + "/" + name), 0, 0, 0) != 0) return 3;
    }
    PlayWaveEffect(WinPath(dir + "/gut.wav"));
    if (!WaveEffectPlaying()) return 4;
    if (BASS_StreamCreateFile(0, WinPath(dir + "/gut.wav"), 0, 0, 0) == 0) return 5;
    BASS_Free();
    AudioClose();
    return 0;
  });
  testing_support::RemoveScratchFolder(dir);
  ExpectCleanExit(status, "the loader rendered the file for more than 30 s");
}

// Sound frames of a video that turn from stereo to mono half way: a damaged file can change
// its sound's layout from one frame to the next.
TEST(DamagedMedia, AVideoWhoseSoundChangesLayoutPlaysOn) {
  const std::string dir = testing_support::MakeScratchFolder("media-layout");
  ASSERT_FALSE(dir.empty());
  ASSERT_TRUE(WriteVideoFile(dir + "/film.mpg", 32, 24, 25, 25, [](int, int, int, std::vector<int32_t>&) {}, 440));
  std::string film;
  {
    std::ifstream in(dir + "/film.mpg", std::ios::binary);
    film.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  int frames = 0;
  for (size_t i = 0; i + 4 < film.size(); ++i)  // MPEG-1 layer II headers: the mode bits to mono
    if (uint8_t(film[i]) == 0xFF && uint8_t(film[i + 1]) == 0xFD && (uint8_t(film[i + 2]) & 0xF0) != 0xF0 &&
        ++frames > 2)
      film[i + 3] = char(film[i + 3] | 0xC0);
  ASSERT_GT(frames, 10);
  std::ofstream(dir + "/mono.mpg", std::ios::binary) << film;
  const int status = InChild([&] {
    struct Szene : Form {
      PictureBox bild{this};
      void InitializeComponent() override { bild.Move(0, 0, 32, 24); }
    } szene;
    szene.Show();
    if (mciSendString("open " + WinPath(dir + "/mono.mpg") + " alias vbVideo parent " +
                          std::to_string(szene.bild.hWnd()), nullptr, 0) != 0)
      return 1;
    mciSendString("play vbVideo", nullptr, 0);
    const uint64_t ende = timeGetTime() + 1200;
    while (timeGetTime() < ende) {
      DoEvents();
      WaitForEvent(ende);
    }
    mciSendString("close vbVideo", nullptr, 0);
    AudioClose();
    return 0;
  });
  testing_support::RemoveScratchFolder(dir);
  ExpectCleanExit(status);
}
