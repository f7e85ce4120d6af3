// Mutation fuzzing of the picture loader and of the media commands: seed files of every format
// the system reads, mutated mostly in their headers, loaded or opened and played through the
// runtime's own calls. Shared by the short run among the tests and the longer standalone run.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/picture_save.h"
#include "runtime/surface.h"
#include "runtime/system.h"
#include "tests/picture_samples.h"

namespace fuzz {

struct Rng {
  uint64_t s;
  explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
  uint32_t Next() {
    s ^= s << 13, s ^= s >> 7, s ^= s << 17;
    return uint32_t(s >> 32);
  }
  size_t Below(size_t n) { return n ? Next() % n : 0; }
};

// A seed file: its extension (which decides how the system opens it) and its bytes.
struct Seed {
  std::string ext, bytes;
};

// Headers decide what gets allocated, so three of four changes land in the first 96 bytes.
inline size_t Position(const std::string& s, Rng& r) {
  if (s.empty()) return 0;
  return r.Below(4) ? r.Below(std::min<size_t>(s.size(), 96)) : r.Below(s.size());
}

inline std::string Mutate(std::string s, Rng& r, const std::vector<Seed>& all) {
  static const uint32_t kWords[] = {0, 1, 2, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x10000,
                                    0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 65535u * 65535u, 40000};
  for (size_t k = 1 + r.Below(4); k > 0; --k) {
    const size_t at = Position(s, r);
    switch (r.Below(8)) {
      case 0:
        if (!s.empty()) s[at] = char(s[at] ^ (1 << r.Below(8)));
        break;
      case 1:
        if (!s.empty()) s[at] = char(kWords[r.Below(6)]);
        break;
      case 2:
      case 3: {  // a 16- or 32-bit field, either byte order
        const int n = r.Below(2) ? 2 : 4;
        const uint32_t v = kWords[r.Below(std::size(kWords))];
        const bool big = r.Below(2);
        for (int i = 0; i < n && at + size_t(i) < s.size(); ++i)
          s[at + size_t(i)] = char(v >> (8 * (big ? n - 1 - i : i)));
        break;
      }
      case 4:
        s.resize(r.Below(s.size() + 1));
        break;
      case 5:
        s.erase(at, r.Below(64));
        break;
      case 6:
        if (at < s.size()) s.insert(r.Below(s.size() + 1), s.substr(at, 1 + r.Below(64)));
        break;
      default: {  // a piece of another seed
        const std::string& o = all[r.Below(all.size())].bytes;
        if (!o.empty()) s.insert(at, o.substr(r.Below(o.size()), 1 + r.Below(128)));
        break;
      }
    }
  }
  return s;
}

inline std::string ReadHost(const std::string& host) {
  std::ifstream in(host, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteHost(const std::string& host, const std::string& bytes) {
  std::ofstream(host, std::ios::binary) << bytes;
}

// ---- Pictures ----------------------------------------------------------------------------

// An 8-bit picture compressed with run lengths: 4 by 4, every row one run of colour 1.
inline std::string BmpRle8() {
  using samples::Le;
  std::string s = "BM";
  const std::string data = std::string("\x04\x01\x00\x00", 4) + std::string("\x04\x01\x00\x00", 4) +
                           std::string("\x04\x01\x00\x00", 4) + std::string("\x04\x01\x00\x01", 4);
  Le(s, 14 + 40 + 8 + uint32_t(data.size()), 4), Le(s, 0, 4), Le(s, 14 + 40 + 8, 4);
  Le(s, 40, 4), Le(s, 4, 4), Le(s, 4, 4), Le(s, 1, 2), Le(s, 8, 2), Le(s, 1, 4);
  Le(s, uint32_t(data.size()), 4), Le(s, 0, 4), Le(s, 0, 4), Le(s, 2, 4), Le(s, 0, 4);
  Le(s, 0x000000, 4), Le(s, 0x00FF00, 4);
  return s + data;
}

// The old 12-byte header with 16-bit sizes: 2 by 2, 24 bits.
inline std::string BmpCore() {
  using samples::Le;
  std::string s = "BM";
  Le(s, 26 + 16, 4), Le(s, 0, 4), Le(s, 26, 4);
  Le(s, 12, 4), Le(s, 2, 2), Le(s, 2, 2), Le(s, 1, 2), Le(s, 24, 2);
  return s + std::string(16, '\x40');
}

inline std::vector<Seed> PictureSeeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  rt::Picture p;
  p.width = 12;
  p.height = 9;
  for (int i = 0; i < 12 * 9; ++i) p.pixels.push_back(rt::RGB(i * 7, 255 - i, i * 3));
  rt::SavePictureBmp(p, scratch + "/seed.bmp");
  rt::SavePictureJpg(p, scratch + "/seed.jpg", 75);
  seeds.push_back({"bmp", ReadHost(scratch + "/seed.bmp")});
  seeds.push_back({"jpg", ReadHost(scratch + "/seed.jpg")});
  seeds.push_back({"bmp", BmpRle8()});
  seeds.push_back({"bmp", BmpCore()});
  seeds.push_back({"jpg", samples::Jpeg()});
  seeds.push_back({"jpg", samples::ProgressiveJpeg()});
  seeds.push_back({"ico", samples::Icon32(8, 8, [](int x, int y) { return uint32_t(x * y * 0x01030507) | 0x80000000u; })});
  seeds.push_back({"ico", samples::Icon4(
                              16, 16, [](int x, int) { return x & 1; }, [](int x, int y) { return x == y; })});
  seeds.push_back({"ico", samples::IconWithPng(samples::Png(16, 16), 16, 16)});
  for (auto& [name, bytes] : samples::HostilePictures())
    if (bytes.size() < 4096) seeds.push_back({name.substr(name.size() - 3), bytes});
  return seeds;
}

// Loads one input; false when the loader gave a picture that breaks its own rules.
inline bool LoadPictureInput(const std::string& scratch, const Seed& input) {
  const std::string host = scratch + "/input." + input.ext;
  WriteHost(host, input.bytes);
  rt::PicturePtr p = rt::LoadPicture(rt::WinPath(host));
  if (!p) return true;
  const size_t n = size_t(p->width) * size_t(p->height);
  return p->width > 0 && p->height > 0 && n <= (size_t(1) << 22) && p->pixels.size() == n &&
         (p->alpha.empty() || p->alpha.size() == n);
}

// ---- Sound and video ---------------------------------------------------------------------

inline void Tone(int index, int width, int height, std::vector<int32_t>& pixels) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[size_t(y) * width + x] = int32_t((x * 8 + index * 20) & 255) << 8;
}

inline std::vector<Seed> MediaSeeds(const std::string& scratch) {
  std::vector<int16_t> samples(4410 * 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t((i * 97) % 4000 - 2000);
  rt::WriteWaveFile(scratch + "/seed.wav", samples, 22050, 2);
  rt::WriteMp3File(scratch + "/seed.mp3", samples, 44100, 2);
  rt::WriteMidiFile(scratch + "/seed.mid", {{60, 0.25}, {64, 0.25}, {0, 0.25}, {67, 0.25}}, 240);
  rt::WriteVideoFile(scratch + "/seed.mpg", 32, 24, 25, 5, Tone, 440);
  rt::WriteVideoFile(scratch + "/seed.avi", 32, 24, 25, 5, Tone, 440);
  std::vector<Seed> seeds;
  for (const char* ext : {"wav", "mp3", "mid", "mpg", "avi"})
    seeds.push_back({ext, ReadHost(scratch + "/seed." + std::string(ext))});
  return seeds;
}

// Opens one input as music or video (its extension decides, as for the system's own files),
// plays it for a few milliseconds of pumping and closes it; now and then also as a wave effect
// and as speech. A video draws into target when one is given.
inline void PlayMediaInput(const std::string& scratch, const Seed& input, Rng& r, rt::PictureBox* target) {
  const std::string host = scratch + "/input." + input.ext;
  WriteHost(host, input.bytes);
  const std::string w = rt::WinPath(host);
  const bool video = input.ext == "mpg" || input.ext == "avi";
  const std::string alias = video ? "vbVideo" : "vbSong";
  std::string open = "open " + w + " alias " + alias;
  if (video && target) open += " parent " + std::to_string(target->hWnd());
  if (rt::mciSendString(open, nullptr, 0) == 0) {
    if (video) rt::mciSendString("put vbVideo window at 0 0 64 48", nullptr, 0);
    rt::mciSendString("play " + alias, nullptr, 0);
    for (int i = 0; i < 3; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      rt::DoEvents();
    }
    std::string answer(200, ' ');
    rt::mciSendString("status " + alias + " length", &answer, 200);
    rt::mciSendString("status " + alias + " position", &answer, 200);
    rt::mciSendString("close " + alias, nullptr, 0);
  }
  if (!video && r.Below(4) == 0) {
    rt::PlayWaveEffect(w);
    if (uint32_t h = rt::BASS_StreamCreateFile(0, w, 0, 0, 0)) {
      rt::BASS_StreamPlay(h, 0, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      rt::BASS_StreamFree(h);
    }
  }
}

}  // namespace fuzz
