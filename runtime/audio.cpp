// The mixed output, wave effects and speech streams.
#include "runtime/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "runtime/audio_internal.h"
#include "runtime/audio_video.h"
#include "runtime/system.h"

namespace rt {
namespace audio_detail {
namespace {

struct Output {
  bool tried = false;
  bool open = false;
  bool device = false;
  int rate = 44100;
  int channels = 2;
};
Output g_out;
bool g_atexit = false;
pid_t g_opener = 0;
bool g_exiting = false;

// A forked helper (the message box's) may end through exit() too. Its copy of the output has no
// mixer thread behind it, and the exit handlers and destructors registered before this one
// belong to the parent: one could wait for a lock that a thread of the parent held at the fork
// (the sanitizers' leak check does) or tear down what the parent still uses. So a child ends
// here and then; only the process that opened the audio closes it.
void CloseAtExit(int status, void*) {
  if (getpid() != g_opener) _exit(status);
  g_exiting = true;
  AudioClose();
}

bool OpenMixer() {
  // Started before any window (a command-line start opens audio first), SDL would otherwise take
  // over SIGTERM and SIGINT and the process could no longer be ended from outside.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  int freq = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&freq, &format, &channels);
  if (format != AUDIO_S16SYS) {  // the video sound path writes 16-bit samples
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  g_out.rate = freq;
  g_out.channels = channels;
  return true;
}

}  // namespace

bool EnsureOpen() {
  if (g_out.tried) return g_out.open;
  g_out.tried = true;
  // FluidSynth needs a General MIDI soundfont; the system's own is the usual place.
  const char* font = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
  struct stat st {};
  if (!std::getenv("SDL_SOUNDFONTS") && stat(font, &st) == 0) Mix_SetSoundFonts(font);
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  bool wantsSilence = driver && (std::string(driver) == "dummy" || std::string(driver) == "disk");
  if (!wantsSilence && OpenMixer()) {
    g_out.open = g_out.device = true;
  } else {
    // No usable device: a silent output keeps timing and state the same.
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    g_out.open = OpenMixer();
    g_out.device = false;
  }
  if (g_out.open) {
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
    Mix_AllocateChannels(kChannels);
    if (!g_atexit) {
      g_atexit = true;
      g_opener = getpid();
      on_exit(CloseAtExit, nullptr);
    }
  }
  return g_out.open;
}

bool Exiting() { return g_exiting; }
int OutputRate() { return g_out.rate; }
int OutputChannels() { return g_out.channels; }

}  // namespace audio_detail

using namespace audio_detail;

bool AudioOpen() { return EnsureOpen(); }
bool AudioHasDevice() { return EnsureOpen() && g_out.device; }

namespace {
Mix_Chunk* g_effect = nullptr;

void StopEffect() {
  if (!g_effect) return;
  Mix_HaltChannel(kEffectChannel);
  Mix_FreeChunk(g_effect);
  g_effect = nullptr;
}
}  // namespace

void AudioClose() {
  if (!g_out.tried) return;
  CloseAllMedia();
  FreeAllStreams();
  StopEffect();
  if (g_out.open) {
    Mix_CloseAudio();
    while (Mix_Init(0)) Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  g_out = Output{};
}

void PlayWaveEffect(const std::string& winpath) {
  if (!EnsureOpen()) return;
  StopEffect();
  const std::string host = HostPath(winpath);
  if (SoundFileKind(host) != SoundKind::Wave) return;
  SDL_RWops* rw = OpenRegularRW(host);
  Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  if (!chunk) return;
  g_effect = chunk;
  Mix_PlayChannel(kEffectChannel, chunk, 0);
}

bool WaveEffectPlaying() { return g_effect && Mix_Playing(kEffectChannel); }

// ---- Speech streams ----------------------------------------------------------------------
namespace {

enum : int {
  kOk = 0, kErrFileOpen = 2, kErrHandle = 5, kErrFormat = 6, kErrInit = 8, kErrStart = 9,
  kErrAlready = 14, kErrNoChannel = 18, kErrIllegalParam = 20, kErrDevice = 23
};

struct StreamSlot {
  uint32_t gen = 0;  // 0 = free
  std::unique_ptr<SoundStream> stream;  // none without an output: speech is silent then
};
StreamSlot g_slots[kStreamSlots];
uint32_t g_nextGen = 1;
int g_error = kOk;
bool g_inited = false, g_started = false;

// Low 4 bits: slot + 1; above: the slot's generation.
uint32_t MakeHandle(int slot) { return (g_slots[slot].gen << 4) | uint32_t(slot + 1); }
int SlotOf(uint32_t handle) {
  int slot = int(handle & 15) - 1;
  if (slot < 0 || slot >= kStreamSlots) return -1;
  if (g_slots[slot].gen == 0 || g_slots[slot].gen != (handle >> 4)) return -1;
  return slot;
}
int Fail(int code) {
  g_error = code;
  return 0;
}
// A stream plays as a silent looping chunk whose sound the stream's decoder writes over.
Mix_Chunk* g_carrier = nullptr;
uint8_t g_zeros[4096];

void StreamEffect(int, void* out, int len, void* stream) {
  static_cast<SoundStream*>(stream)->Fill(static_cast<int16_t*>(out), len / (2 * OutputChannels()));
}

void ReleaseSlot(int slot) {
  StreamSlot& s = g_slots[slot];
  if (s.stream) {
    // The decoder is off the mixer's thread after this.
    Mix_HaltChannel(kFirstStreamChannel + slot);
    Mix_UnregisterAllEffects(kFirstStreamChannel + slot);
  }
  s = StreamSlot{};
}

}  // namespace

void audio_detail::FreeAllStreams() {
  for (int i = 0; i < kStreamSlots; ++i) ReleaseSlot(i);
  if (g_carrier) Mix_FreeChunk(g_carrier);
  g_carrier = nullptr;
  g_inited = g_started = false;
}

uint32_t BASS_GetVersion() { return 1u | (6u << 16); }

int BASS_Init(int device, uint32_t, uint32_t, intptr_t) {
  if (g_inited) return Fail(kErrAlready);
  if (device < -1 || device > 1) return Fail(kErrDevice);
  EnsureOpen();  // no output at all still counts: speech is then silent
  g_inited = true;
  g_error = kOk;
  return 1;
}

int BASS_Start() {
  if (!g_inited) return Fail(kErrInit);
  g_started = true;
  g_error = kOk;
  return 1;
}

int BASS_ErrorGetCode() { return g_error; }

uint32_t BASS_StreamCreateFile(int fromMemory, const std::string& winpath, uint32_t offset,
                               uint32_t length, uint32_t) {
  if (!g_inited) return Fail(kErrInit);
  if (fromMemory || offset || length) return Fail(kErrIllegalParam);
  int slot = 0;
  while (slot < kStreamSlots && g_slots[slot].gen) ++slot;
  if (slot == kStreamSlots) return Fail(kErrNoChannel);
  if (!FileExists(winpath)) return Fail(kErrFileOpen);
  std::unique_ptr<SoundStream> stream;
  if (EnsureOpen()) {
    // Only the header is read now; the sound is decoded while it plays.
    const std::string host = HostPath(winpath);
    stream = std::make_unique<SoundStream>();
    if (SoundFileKind(host) == SoundKind::Other || !stream->Open(host)) return Fail(kErrFormat);
  }
  g_slots[slot].gen = g_nextGen;
  g_slots[slot].stream = std::move(stream);
  g_nextGen = (g_nextGen + 1) & 0x0FFFFFFF;
  if (g_nextGen == 0) g_nextGen = 1;
  g_error = kOk;
  return MakeHandle(slot);
}

int BASS_StreamPlay(uint32_t handle, int, uint32_t) {
  int slot = SlotOf(handle);
  if (slot < 0) return Fail(kErrHandle);
  if (!g_started) return Fail(kErrStart);
  const int channel = kFirstStreamChannel + slot;
  if (g_slots[slot].stream && !Mix_Playing(channel)) {
    if (!g_carrier) g_carrier = Mix_QuickLoad_RAW(g_zeros, sizeof g_zeros);
    // A stopped stream goes on where it stopped, as the speech library's streams do.
    if (g_carrier && Mix_RegisterEffect(channel, StreamEffect, nullptr, g_slots[slot].stream.get()) &&
        Mix_PlayChannel(channel, g_carrier, -1) < 0)
      Mix_UnregisterAllEffects(channel);
  }
  g_error = kOk;
  return 1;
}

int BASS_StreamFree(uint32_t handle) {
  int slot = SlotOf(handle);
  if (slot < 0) return Fail(kErrHandle);
  ReleaseSlot(slot);
  g_error = kOk;
  return 1;
}

int BASS_Stop() {
  if (!g_inited) return Fail(kErrInit);
  for (int i = 0; i < kStreamSlots; ++i)
    if (g_slots[i].stream) Mix_HaltChannel(kFirstStreamChannel + i);
  g_started = false;
  g_error = kOk;
  return 1;
}

int BASS_Free() {
  if (!g_inited) return Fail(kErrInit);
  FreeAllStreams();
  g_error = kOk;
  return 1;
}

bool StreamPlaying(uint32_t handle) {
  int slot = SlotOf(handle);
  return slot >= 0 && g_slots[slot].stream && Mix_Playing(kFirstStreamChannel + slot) &&
         !g_slots[slot].stream->Ended();
}

}  // namespace rt
