// Shared between the audio sources only.
#pragma once
#include <cstdint>
#include <string>

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

// Length in milliseconds of a Standard MIDI File's bytes, from its tempo map; -1 when the
// bytes are not a MIDI file.
int64_t MidiLengthMs(const std::string& bytes);

}  // namespace rt::audio_detail
