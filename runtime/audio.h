// Sound for the whole process: one mixed output for wave effects, speech streams, music and the
// sound of videos; the speech-stream layer; the media command channel for music and video.
// Paths are the system's Windows-style texts (Windows-1252). With no sound device (or
// SDL_AUDIODRIVER=dummy) every call behaves the same and nothing is heard.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace rt {

// ---- Output ------------------------------------------------------------------------------
// Opens the output on first use (every call below does it by itself). False when not even a
// silent output could be opened; the calls still work then, they only play nothing.
bool AudioOpen();
// True when the output is a real device (not the silent stand-in).
bool AudioHasDevice();
// Closes music, video, speech, effects and the output (tests, exit). The next call opens it again.
void AudioClose();

// ---- Wave effects ------------------------------------------------------------------------
// Plays a .wav file in the background and returns at once. One channel for the process: a new
// effect cuts off the one playing. A missing or unreadable file plays nothing.
void PlayWaveEffect(const std::string& winpath);
bool WaveEffectPlaying();

// ---- Speech streams ----------------------------------------------------------------------
// The speech library's operations as the engine calls them. Version 1.6: low word 1, high
// word 6. Handles are never 0 and carry a generation: a freed or unknown handle is refused
// harmlessly. Error codes (BASS_ErrorGetCode) are those of the scene window's error texts.
uint32_t BASS_GetVersion();
int BASS_Init(int device, uint32_t freq, uint32_t flags, intptr_t window);  // nonzero = ok
int BASS_Start();
int BASS_ErrorGetCode();
// A stream from a .wav or .mp3 file (the whole file: offset and length 0); 0 on failure.
uint32_t BASS_StreamCreateFile(int fromMemory, const std::string& winpath, uint32_t offset,
                               uint32_t length, uint32_t flags);
int BASS_StreamPlay(uint32_t handle, int flush, uint32_t flags);  // returns at once
int BASS_StreamFree(uint32_t handle);  // stops at once
int BASS_Stop();
int BASS_Free();
bool StreamPlaying(uint32_t handle);  // tests

// ---- Media commands ----------------------------------------------------------------------
// Error numbers of mciSendString.
enum : int {
  MCIERR_UNRECOGNIZED_KEYWORD = 259,
  MCIERR_UNRECOGNIZED_COMMAND = 261,
  MCIERR_INVALID_DEVICE_NAME = 263,  // unknown alias, or a file of no known device type
  MCIERR_FILE_NOT_FOUND = 275,
  MCIERR_INVALID_FILE = 296,         // a file the device cannot read
  MCIERR_DUPLICATE_ALIAS = 289,
  MCIERR_MISSING_PARAMETER = 273,
};
// Commands, keywords case-insensitive:
//   open <file> [type sequencer|waveaudio|MPEGVideo|avivideo] alias <a> [parent <hWnd>]
//        [style <n>]              (the file may be quoted; without a type the extension decides)
//   play <a>     close <a>     status <a> length|position     put <a> window at <x> <y> <w> <h>
// Length and position are milliseconds. Returns 0 or an error number; on success a status
// answer is written at the start of *answer (cut to answerLen - 1 characters, then a NUL);
// on failure *answer is left untouched. A video with a parent draws its frames into that
// picture box's screen pixels from the event pump, in step with the clock.
int mciSendString(const std::string& command, std::string* answer, int answerLen);

// ---- Media files (tools and tests) -------------------------------------------------------
// Host paths. Sound: interleaved 16-bit samples. All return false on failure.
bool WriteWaveFile(const std::string& hostpath, const std::vector<int16_t>& samples, int rate,
                   int channels);
bool WriteMp3File(const std::string& hostpath, const std::vector<int16_t>& samples, int rate,
                  int channels);
// A tune as a type-1 .mid file: notes (key, length in quarter notes, 0 key = rest) at a tempo.
struct MidiNote { int key; double quarters; };
bool WriteMidiFile(const std::string& hostpath, const std::vector<MidiNote>& notes,
                   int beatsPerMinute, int program = 0);
// A video of frames drawn by `frame` (0x00BBGGRR pixels, width x height, one call per frame)
// with an optional tone as its sound. Container by extension: .mpg (MPEG-1 with MPEG audio
// layer 2) or .avi (MPEG-4 part 2 with PCM).
using FramePainter = void (*)(int index, int width, int height, std::vector<int32_t>& pixels);
bool WriteVideoFile(const std::string& hostpath, int width, int height, int fps, int frames,
                    FramePainter frame, double toneHz = 0);

}  // namespace rt
