// What sound files hold, read from their headers before any decoder sees them.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <SDL.h>

#include "runtime/audio_internal.h"
#include "runtime/internal.h"

namespace rt::audio_detail {

// The decoders read a wave file's header themselves and trust it; every format chunk (the
// music reader keeps the last one, the effect reader the first) must describe sound that can
// play, at a rate whose conversion to the output's stays within reason.
bool WaveHeaderPlayable(const std::string& host, bool plainEncodingsOnly) {
  FILE* f = OpenRegularStream(host);
  if (!f) return false;
  auto le = [](const unsigned char* b, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[i];
    return v;
  };
  unsigned char head[12];
  bool ok = std::fread(head, 1, 12, f) == 12 && std::memcmp(head, "RIFF", 4) == 0 &&
            std::memcmp(head + 8, "WAVE", 4) == 0;
  bool format = false, data = false;
  for (int chunks = 0; ok && chunks < 10000; ++chunks) {
    unsigned char c[8];
    if (std::fread(c, 1, 8, f) != 8) break;
    const uint32_t len = le(c + 4, 4);
    if (len == 0) break;  // where the mixer stops reading as well
    long next = std::ftell(f) + long(len) + long(len & 1);
    if (std::memcmp(c, "fmt ", 4) == 0) {
      unsigned char fmt[16] = {};
      ok = len >= 16 && std::fread(fmt, 1, 16, f) == 16;
      const uint32_t tag = le(fmt, 2), channels = le(fmt + 2, 2), rate = le(fmt + 4, 4);
      const uint32_t align = le(fmt + 12, 2), bits = le(fmt + 14, 2);
      const bool plain = (tag == 1 || tag == 3 || tag == 6 || tag == 7 || tag == 0xFFFE) &&
                         (bits == 8 || bits == 16 || bits == 24 || bits == 32 || bits == 64);
      ok = ok && (plain || !plainEncodingsOnly) && channels >= 1 && channels <= 8 && rate >= 1000 &&
           rate <= 384000 && align > 0;
      format = true;
    } else if (std::memcmp(c, "data", 4) == 0) {
      data = true;
    }
    ok = ok && std::fseek(f, next, SEEK_SET) == 0;
  }
  std::fclose(f);
  return ok && format && data;
}

SDL_RWops* OpenRegularRW(const std::string& host) {
  std::FILE* f = OpenRegularStream(host);
  SDL_RWops* rw = f ? SDL_RWFromFP(f, SDL_TRUE) : nullptr;
  if (f && !rw) std::fclose(f);
  return rw;
}

SoundKind SoundFileKind(const std::string& host) {
  unsigned char b[12] = {};
  FILE* f = OpenRegularStream(host);
  const size_t n = f ? std::fread(b, 1, sizeof b, f) : 0;
  if (f) std::fclose(f);
  if (n == 12 && std::memcmp(b, "RIFF", 4) == 0 && std::memcmp(b + 8, "WAVE", 4) == 0)
    return WaveHeaderPlayable(host, false) ? SoundKind::Wave : SoundKind::Other;
  if (n >= 3 && std::memcmp(b, "ID3", 3) == 0) return SoundKind::Mp3;
  // An MPEG audio frame: sync bits, a known version and layer, a bit rate and sample rate.
  if (n >= 4 && b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && (b[1] & 0x18) != 0x08 && (b[1] & 0x06) != 0 &&
      (b[2] & 0xF0) != 0xF0 && (b[2] & 0x0C) != 0x0C)
    return SoundKind::Mp3;
  return SoundKind::Other;
}

}  // namespace rt::audio_detail
