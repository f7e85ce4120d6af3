#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "runtime/audio.h"
#include "runtime/audio_internal.h"
#include "runtime/audio_video.h"
#include "runtime/system.h"
#include "scratch.h"

using namespace rt;

namespace {

std::vector<int16_t> Tone(double seconds, double hz, int channels, int rate = 44100) {
  std::vector<int16_t> s(size_t(seconds * rate) * channels);
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = int16_t(6000 * std::sin(2 * M_PI * hz * double(i / channels) / rate));
  return s;
}

// Media made once for the whole suite, in a scratch folder that is the current folder.
class Audio : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = testing_support::MakeScratchFolder("audio");
    ASSERT_FALSE(dir.empty());
    ASSERT_TRUE(WriteWaveFile(dir + "/long.wav", Tone(2.0, 440, 1), 44100, 1));
    ASSERT_TRUE(WriteWaveFile(dir + "/short.wav", Tone(0.1, 880, 2), 44100, 2));
    ASSERT_TRUE(WriteMp3File(dir + "/speech.mp3", Tone(1.0, 330, 2), 44100, 2));
    // Four quarter notes at 120 beats per minute, a rest, one more: 2500 ms.
    ASSERT_TRUE(WriteMidiFile(dir + "/song.mid", {{60, 1}, {62, 1}, {64, 1}, {65, 1}, {0, 0.5}, {67, 0.5}}, 120));
    std::ofstream(dir + "/notes.txt") << "not a sound at all";
  }
  static void TearDownTestSuite() {
    testing_support::RemoveScratchFolder(dir);
  }
  void SetUp() override {
    char buf[4096];
    ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
    oldCwd = buf;
    ASSERT_EQ(chdir(dir.c_str()), 0);
  }
  void TearDown() override {
    AudioClose();
    UseRealClock();
    EXPECT_EQ(chdir(oldCwd.c_str()), 0);
  }
  static std::string Win(const std::string& name) { return WinPath(dir + "/" + name); }

  static inline std::string dir;
  std::string oldCwd;
};

std::string Status(const std::string& alias, const std::string& item, int* err = nullptr) {
  std::string buf(200, ' ');
  int e = mciSendString("status " + alias + " " + item, &buf, 200);
  if (err) *err = e;
  return buf.substr(0, buf.find('\0'));
}

}  // namespace

TEST_F(Audio, SpeechLayerReportsVersionAndSurvivesBadHandles) {
  uint32_t v = BASS_GetVersion();
  EXPECT_EQ(std::to_string(v & 65535) + "." + std::to_string((v / 65536) & 65535), "1.6");

  EXPECT_EQ(BASS_StreamCreateFile(0, Win("short.wav"), 0, 0, 0), 0u) << "needs BASS_Init first";
  EXPECT_EQ(BASS_ErrorGetCode(), 8);
  ASSERT_NE(BASS_Init(-1, 44100, 0, 0), 0);
  EXPECT_EQ(BASS_Init(-1, 44100, 0, 0), 0);
  EXPECT_EQ(BASS_ErrorGetCode(), 14);
  ASSERT_NE(BASS_Start(), 0);
  EXPECT_EQ(BASS_ErrorGetCode(), 0);

  // The first speech frees the initial 0; freeing or playing nothing is harmless.
  EXPECT_EQ(BASS_StreamFree(0), 0);
  EXPECT_EQ(BASS_StreamPlay(0, 0, 0), 0);
  EXPECT_EQ(BASS_ErrorGetCode(), 5);

  uint32_t wav = BASS_StreamCreateFile(0, Win("long.wav"), 0, 0, 0);
  ASSERT_NE(wav, 0u);
  EXPECT_NE(BASS_StreamPlay(wav, 0, 0), 0);
  EXPECT_TRUE(StreamPlaying(wav));
  uint32_t mp3 = BASS_StreamCreateFile(0, Win("speech.mp3"), 0, 0, 0);
  ASSERT_NE(mp3, 0u);
  EXPECT_NE(mp3, wav);
  EXPECT_NE(BASS_StreamFree(wav), 0);
  EXPECT_FALSE(StreamPlaying(wav));
  EXPECT_EQ(BASS_StreamFree(wav), 0) << "a freed handle is refused";
  EXPECT_EQ(BASS_ErrorGetCode(), 5);

  EXPECT_EQ(BASS_StreamCreateFile(0, Win("missing.wav"), 0, 0, 0), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), 2);
  EXPECT_EQ(BASS_StreamCreateFile(0, Win("notes.txt"), 0, 0, 0), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), 6);

  EXPECT_NE(BASS_Stop(), 0);
  EXPECT_NE(BASS_StreamFree(mp3), 0);
  EXPECT_NE(BASS_Free(), 0);
  EXPECT_EQ(BASS_Free(), 0);
  EXPECT_EQ(BASS_ErrorGetCode(), 8);
}

// Speech is decoded while it plays: the stream gives the file's samples as the mixer asks for
// them, then silence, and then counts as ended.
TEST_F(Audio, SpeechStreamsDecodeWhileTheyPlay) {
  ASSERT_TRUE(AudioOpen());
  ASSERT_EQ(audio_detail::OutputRate(), 44100);
  ASSERT_EQ(audio_detail::OutputChannels(), 2);
  const std::vector<int16_t> ton = Tone(0.1, 880, 2);
  audio_detail::SoundStream wav;
  ASSERT_TRUE(wav.Open(dir + "/short.wav"));
  std::vector<int16_t> gehoert;
  std::vector<int16_t> stueck(2 * 1000);
  for (int i = 0; i < 6; ++i) {  // 6000 frames in the mixer's pieces: more than the 4410 it has
    wav.Fill(stueck.data(), 1000);
    gehoert.insert(gehoert.end(), stueck.begin(), stueck.end());
  }
  EXPECT_TRUE(wav.Ended());
  ASSERT_EQ(gehoert.size(), 12000u);
  EXPECT_TRUE(std::equal(ton.begin(), ton.end(), gehoert.begin()));
  EXPECT_TRUE(std::all_of(gehoert.begin() + ptrdiff_t(ton.size()), gehoert.end(), [](int16_t v) { return v == 0; }));

  // An mp3 second comes out as about a second of sound.
  audio_detail::SoundStream mp3;
  ASSERT_TRUE(mp3.Open(dir + "/speech.mp3"));
  int frames = 0;
  for (; frames < 3 * 44100 && !mp3.Ended(); frames += 1000) mp3.Fill(stueck.data(), 1000);
  EXPECT_NEAR(frames, 44100, 3000);
  audio_detail::SoundStream text;
  EXPECT_FALSE(text.Open(dir + "/notes.txt"));

  // Through the speech layer: the stream plays, then ends with its sound.
  ASSERT_NE(BASS_Init(-1, 44100, 0, 0), 0);
  ASSERT_NE(BASS_Start(), 0);
  const uint32_t h = BASS_StreamCreateFile(0, Win("short.wav"), 0, 0, 0);
  ASSERT_NE(h, 0u);
  ASSERT_NE(BASS_StreamPlay(h, 0, 0), 0);
  EXPECT_TRUE(StreamPlaying(h));
  for (int i = 0; i < 300 && StreamPlaying(h); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(StreamPlaying(h)) << "a tenth of a second still playing after three seconds";
  EXPECT_NE(BASS_StreamFree(h), 0);
  BASS_Free();
}

TEST_F(Audio, StaleHandlesNeverReachANewerStream) {
  ASSERT_NE(BASS_Init(-1, 44100, 0, 0), 0);
  ASSERT_NE(BASS_Start(), 0);
  uint32_t first = BASS_StreamCreateFile(0, Win("long.wav"), 0, 0, 0);
  ASSERT_NE(first, 0u);
  ASSERT_NE(BASS_StreamFree(first), 0);
  uint32_t second = BASS_StreamCreateFile(0, Win("long.wav"), 0, 0, 0);  // same slot again
  ASSERT_NE(second, 0u);
  EXPECT_NE(second, first);
  ASSERT_NE(BASS_StreamPlay(second, 0, 0), 0);
  EXPECT_EQ(BASS_StreamFree(first), 0);
  EXPECT_EQ(BASS_StreamPlay(first, 0, 0), 0);
  EXPECT_TRUE(StreamPlaying(second));
  // Speech before BASS_Start stays silent but the stream still exists.
  BASS_Free();
  ASSERT_NE(BASS_Init(-1, 44100, 0, 0), 0);
  uint32_t h = BASS_StreamCreateFile(0, Win("short.wav"), 0, 0, 0);
  EXPECT_NE(h, 0u);
  EXPECT_EQ(BASS_StreamPlay(h, 0, 0), 0);
  EXPECT_EQ(BASS_ErrorGetCode(), 9);
  BASS_Free();
}

TEST_F(Audio, WaveEffectsShareOneChannelAndMissingFilesPlayNothing) {
  PlayWaveEffect(Win("long.wav"));
  EXPECT_TRUE(WaveEffectPlaying());
  PlayWaveEffect(Win("short.wav"));  // cuts the two-second sound off
  EXPECT_TRUE(WaveEffectPlaying());
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_FALSE(WaveEffectPlaying()) << "the long sound was not cut off";

  PlayWaveEffect(Win("long.wav"));
  auto t0 = std::chrono::steady_clock::now();
  PlayWaveEffect(Win("missing.wav"));
  PlayWaveEffect(Win("notes.txt"));
  PlayWaveEffect("");
  // Well inside the two seconds of the long sound: nothing waited for it.
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(1500));
  EXPECT_FALSE(WaveEffectPlaying());
}

TEST_F(Audio, SongLengthComesFromTheFileAndPositionFromTheClock) {
  UseVirtualClock(5000);
  ASSERT_EQ(mciSendString("open " + Win("song.mid") + " alias vbSong", nullptr, 0), 0);
  EXPECT_EQ(Status("vbSong", "length"), "2500");
  EXPECT_EQ(Status("vbSong", "position"), "0");
  ASSERT_EQ(mciSendString("play vbSong", nullptr, 0), 0);
  AdvanceClock(1200);
  EXPECT_EQ(Status("vbSong", "position"), "1200");
  AdvanceClock(5000);
  EXPECT_EQ(Status("VBSONG", "Position"), "2500") << "position stops at the length";
  ASSERT_EQ(mciSendString("close vbSong", nullptr, 0), 0);

  // Closed: queries fail and leave the buffer as it was.
  std::string buf(200, ' ');
  EXPECT_EQ(mciSendString("status vbSong length", &buf, 200), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(buf, std::string(200, ' '));
  // The "stop" idiom opens a file named F: no device, no harm.
  EXPECT_NE(mciSendString("open F alias vbSong", nullptr, 0), 0);
  EXPECT_EQ(mciSendString("status vbSong position", &buf, 200), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(buf, std::string(200, ' '));

  // Wave and mp3 music; the answer is cut to the buffer and ends in a NUL.
  ASSERT_EQ(mciSendString("open " + Win("speech.mp3") + " type MPEGVideo alias tune", nullptr, 0), 0);
  int len = std::stoi(Status("tune", "length"));
  EXPECT_NEAR(len, 1000, 60);
  std::string small = "xxxxxx";
  EXPECT_EQ(mciSendString("status tune length", &small, 3), 0);
  EXPECT_EQ(small, std::to_string(len).substr(0, 2) + std::string("\0xxx", 4));
  ASSERT_EQ(mciSendString("open " + Win("long.wav") + " alias fx", nullptr, 0), 0);
  EXPECT_EQ(Status("fx", "length"), "2000");
  EXPECT_EQ(mciSendString("close tune", nullptr, 0), 0);
  EXPECT_EQ(mciSendString("close fx", nullptr, 0), 0);
}

TEST_F(Audio, CommandsAreCheckedBeforeAnythingHappens) {
  std::string buf(10, '#');
  EXPECT_EQ(mciSendString("open " + Win("notes.txt") + " alias a", &buf, 10), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(mciSendString("open " + Win("nothere.mid") + " alias a", &buf, 10), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(mciSendString("open " + Win("notes.txt") + " type sequencer alias a", &buf, 10), MCIERR_INVALID_FILE);
  EXPECT_EQ(mciSendString("open " + Win("song.mid") + " type jukebox alias a", &buf, 10), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_NE(mciSendString("open " + Win("song.mid") + " alias", &buf, 10), 0)
      << "without its value the keyword belongs to the file name";
  EXPECT_EQ(mciSendString("close " + Win("song.mid") + " alias", &buf, 10), MCIERR_INVALID_DEVICE_NAME);
  ASSERT_EQ(mciSendString("open " + Win("song.mid") + " alias a", &buf, 10), 0);
  EXPECT_EQ(mciSendString("open " + Win("song.mid") + " alias A", &buf, 10), MCIERR_DUPLICATE_ALIAS);
  EXPECT_EQ(mciSendString("status a tempo", &buf, 10), MCIERR_UNRECOGNIZED_KEYWORD);
  EXPECT_EQ(mciSendString("status a", &buf, 10), MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(mciSendString("put a window at 1 2 three 4", &buf, 10), MCIERR_UNRECOGNIZED_KEYWORD);
  EXPECT_EQ(mciSendString("rewind a", &buf, 10), MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(mciSendString("", &buf, 10), MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(mciSendString("play", &buf, 10), MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(buf, std::string(10, '#'));
  EXPECT_EQ(mciSendString("put a window at 0 0 640 480", nullptr, 0), 0) << "harmless for music";
}

TEST_F(Audio, FileNamesWithBlanksOpenWithOrWithoutQuotes) {
  ASSERT_TRUE(testing_support::CopyInto(dir + "/song.mid", dir + "/Alte Lieder/Mein Lied.mid"));
  std::string path = Win("Alte Lieder/Mein Lied.mid");
  ASSERT_EQ(mciSendString("open " + path + " alias vbSong", nullptr, 0), 0);
  EXPECT_EQ(Status("vbSong", "length"), "2500");
  ASSERT_EQ(mciSendString("close vbSong", nullptr, 0), 0);
  ASSERT_EQ(mciSendString("open \"" + path + "\" alias vbSong", nullptr, 0), 0);
  ASSERT_EQ(mciSendString("close vbSong", nullptr, 0), 0);
  // Two blanks in a row stay two; an alias inside a folder name is no alias.
  ASSERT_TRUE(testing_support::CopyInto(dir + "/song.mid", dir + "/a  alias b/x.mid"));
  ASSERT_EQ(mciSendString("open " + Win("a  alias b/x.mid") + " alias vbSong", nullptr, 0), 0);
  EXPECT_EQ(Status("vbSong", "length"), "2500");
  ASSERT_EQ(mciSendString("close vbSong", nullptr, 0), 0);
  // Relative to the current folder.
  ASSERT_EQ(mciSendString("open Alte Lieder\\mein lied.MID alias vbSong", nullptr, 0), 0);
  ASSERT_EQ(mciSendString("close vbSong", nullptr, 0), 0);
}

TEST(MidiLength, FollowsTheTempoMapAndRefusesBrokenFiles) {
  using audio_detail::MidiLengthMs;
  auto header = [](int tracks, int division) {
    return std::string("MThd\0\0\0\6\0\1", 10) + char(0) + char(tracks) + char(division >> 8) + char(division & 255);
  };
  auto track = [](const std::string& body) {
    uint32_t n = uint32_t(body.size());
    return std::string("MTrk") + char(n >> 24) + char(n >> 16) + char(n >> 8) + char(n) + body;
  };
  // 96 ticks per quarter: a quarter at 120 bpm (500 ms), then tempo 60 bpm, one more quarter
  // (1000 ms), with running status and a sysex in between.
  std::string conductor = track(std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7) +
                                std::string("\x60\xFF\x51\x03\x0F\x42\x40", 7) +
                                std::string("\x00\xFF\x2F\x00", 4));
  std::string notes = track(std::string("\x00\x90\x3C\x64", 4) + std::string("\x60\x3C\x00", 3) +
                            std::string("\x00\xF0\x02\x7E\xF7", 5) + std::string("\x00\xC0\x05", 3) +
                            std::string("\x60\x90\x3E\x00", 4) + std::string("\x00\xFF\x2F\x00", 4));
  std::string file = header(2, 96) + conductor + notes;
  EXPECT_EQ(MidiLengthMs(file), 1500);
  // SMPTE division: 25 frames of 40 ticks per second; 1000 ticks = 1000 ms.
  std::string smpte = header(1, 0xE728) + track(std::string("\x87\x68\xFF\x2F\x00", 5));
  EXPECT_EQ(MidiLengthMs(smpte), 1000);

  EXPECT_EQ(MidiLengthMs(""), -1);
  EXPECT_EQ(MidiLengthMs("RIFF1234WAVE"), -1);
  EXPECT_EQ(MidiLengthMs(file.substr(0, file.size() - 3)), -1) << "truncated track";
  EXPECT_EQ(MidiLengthMs(header(1, 96) + track(std::string("\x00\x3C\x64", 3))), -1) << "data before any status";
  EXPECT_EQ(MidiLengthMs(header(1, 96) + track(std::string("\x00\xFF\x01\x8F\xFF\xFF\xFF\x7F", 8))), -1);
  EXPECT_EQ(MidiLengthMs(header(1, 0)), -1);
  EXPECT_EQ(MidiLengthMs(header(3, 96)), -1) << "no tracks at all";
}
