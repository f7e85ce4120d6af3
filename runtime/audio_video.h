// Decoding of sound and video files for the media command channel (audio sources only).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace rt::audio_detail {

struct MediaInfo {
  int64_t lengthMs = 0;
  bool hasVideo = false;  // a moving picture (cover art does not count)
  bool hasAudio = false;  // sound with a channel count and a sample rate that can play
  std::string container;  // the demuxer's name: "wav", "mp3", "mpeg", "avi" ...
};
// False when the file cannot be read as media or holds nothing that can play.
bool ProbeMedia(const std::string& hostpath, MediaInfo& info);

// One video: frames decoded on the event pump's thread, drawn scaled into the screen pixels of
// a picture box, its sound fed to the mixer in step with the clock.
class VideoPlayer {
 public:
  VideoPlayer();
  ~VideoPlayer();  // stops the sound and repaints the picture box from its retained image
  bool Open(const std::string& hostpath);
  void SetParent(intptr_t hWnd);  // a picture box's handle; 0 = draw nowhere
  void Place(int x, int y, int w, int h);
  void Start(uint64_t now);
  // Shows the frame due at `now`; returns the clock time it wants to run again.
  uint64_t Step(uint64_t now);

 private:
  struct Impl;
  std::unique_ptr<Impl> p_;
};

// A speech file decoded while it plays: opening reads no more than the file's header, and the
// mixer's thread decodes as much as each of its buffers needs.
class SoundStream {
 public:
  SoundStream();
  ~SoundStream();
  // False when the file holds no sound that can play.
  bool Open(const std::string& hostpath);
  // Mixer thread: the next frames at the output's rate and channel count, 16 bits; silence after
  // the end.
  void Fill(int16_t* out, int frames);
  bool Ended() const;  // any thread

 private:
  struct Impl;
  std::unique_ptr<Impl> p_;
};

// Releases the mixer channel that carries video sound (before the output closes).
void ShutdownVideoSound();

}  // namespace rt::audio_detail
