// Shared between the audio sources only.
#pragma once
#include <cstdint>
#include <string>

struct SDL_RWops;

namespace rt::audio_detail {

// Mixer channels: one for wave effects, one that carries the sound of videos, the rest speech.
constexpr int kEffectChannel = 0;
constexpr int kVideoChannel = 1;
constexpr int kFirstStreamChannel = 2;
constexpr int kStreamSlots = 14;
constexpr int kChannels = kFirstStreamChannel + kStreamSlots;

// Opens the output (a real device, else the silent stand-in) once; false when neither works.
bool EnsureOpen();
// The output's sample rate and channel count (signed 16-bit samples); valid while open.
int OutputRate();
int OutputChannels();

// True while the process exits: windows may already be gone, so closing a video repaints nothing.
bool Exiting();

// Media-command and speech state, released by AudioClose before the output goes.
void CloseAllMedia();
void FreeAllStreams();

// What a sound file for an effect or for speech holds, by its first bytes. The mixer's loader
// would decode any format it knows into memory: a MIDI file named .wav is rendered, and a
// damaged one can ask for hours of sound.
// A wave file counts only when its header passes WaveHeaderPlayable.
enum class SoundKind { Other, Wave, Mp3 };
SoundKind SoundFileKind(const std::string& hostpath);
// Whether every format chunk of a wave file describes sound that can play: 1 to 8 channels at
// 1000 to 384000 samples a second (0 channels end the process in the mixer; a rate of 1 asks
// for gigabytes when converted) and, for the music reader, an encoding it knows.
bool WaveHeaderPlayable(const std::string& hostpath, bool plainEncodingsOnly);

// An ordinary file as a stream for the mixer's loaders (which close it); nullptr for anything
// else, a FIFO included, without waiting.
SDL_RWops* OpenRegularRW(const std::string& hostpath);

// Length in milliseconds of a Standard MIDI File's bytes, from its tempo map; -1 when the
// bytes are not a MIDI file.
int64_t MidiLengthMs(const std::string& bytes);

}  // namespace rt::audio_detail
