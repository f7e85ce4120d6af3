// Standard MIDI Files: the length from the tempo map (the synthesizer keeps a song "playing"
// while its last notes ring out, so the file is the only reliable measure), and a small writer.
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "runtime/audio.h"
#include "runtime/audio_internal.h"

namespace rt {
namespace {

struct Reader {
  const std::string& s;
  size_t pos, end;
  bool ok = true;
  uint8_t Byte() {
    if (pos >= end) { ok = false; return 0; }
    return uint8_t(s[pos++]);
  }
  uint32_t Be(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | Byte();
    return v;
  }
  uint32_t VarLen() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b = Byte();
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) return v;
    }
    ok = false;  // longer than the format allows
    return 0;
  }
  void Skip(uint32_t n) {
    if (n > end - pos) { ok = false; pos = end; return; }
    pos += n;
  }
};

// Walks one track: its tempo changes (tick, microseconds per quarter) and its last tick.
bool ReadTrack(Reader r, std::vector<std::pair<uint64_t, uint32_t>>& tempos, uint64_t& lastTick) {
  uint64_t tick = 0;
  uint8_t running = 0;
  while (r.ok && r.pos < r.end) {
    tick += r.VarLen();
    lastTick = std::max(lastTick, tick);
    uint8_t status = r.Byte();
    if (status == 0xFF) {
      uint8_t type = r.Byte();
      uint32_t len = r.VarLen();
      if (type == 0x51 && len == 3) {
        tempos.emplace_back(tick, r.Be(3));
      } else {
        r.Skip(len);
      }
      running = 0;
      if (type == 0x2F) break;
    } else if (status == 0xF0 || status == 0xF7) {
      r.Skip(r.VarLen());
      running = 0;
    } else if (status > 0xF0) {  // system common and real-time messages: fixed sizes
      int need = (status == 0xF2) ? 2 : (status == 0xF1 || status == 0xF3) ? 1 : 0;
      for (int i = 0; i < need; ++i) r.Byte();
      running = 0;
    } else {
      int data;
      if (status & 0x80) {
        running = status;
        data = 0;
      } else {
        if (!running) return false;  // data byte with no status to run on
        data = 1;                    // the byte read was already the first data byte
      }
      int need = ((running & 0xF0) == 0xC0 || (running & 0xF0) == 0xD0) ? 1 : 2;
      for (int i = data; i < need; ++i) r.Byte();
    }
  }
  return r.ok;
}

}  // namespace

int64_t audio_detail::MidiLengthMs(const std::string& bytes) {
  Reader r{bytes, 0, bytes.size()};
  if (bytes.compare(0, 4, "MThd") != 0) return -1;
  r.pos = 4;
  uint32_t headerLen = r.Be(4);
  if (!r.ok || headerLen < 6 || headerLen > bytes.size() - 8) return -1;
  r.Be(2);  // format: type 0, 1 and 2 are all measured the same way
  uint32_t tracks = r.Be(2);
  uint32_t division = r.Be(2);
  if (division == 0) return -1;
  r.pos = 8 + headerLen;

  std::vector<std::pair<uint64_t, uint32_t>> tempos;
  uint64_t lastTick = 0;
  uint32_t found = 0;
  while (found < tracks && r.pos + 8 <= bytes.size()) {
    std::string id = bytes.substr(r.pos, 4);
    r.pos += 4;
    uint32_t len = r.Be(4);
    if (len > bytes.size() - r.pos) return -1;
    if (id == "MTrk") {
      if (!ReadTrack(Reader{bytes, r.pos, r.pos + len}, tempos, lastTick)) return -1;
      ++found;
    }
    r.pos += len;
  }
  if (found == 0) return -1;

  if (division & 0x8000) {  // SMPTE time: frames per second times ticks per frame
    int fps = -int(int8_t(division >> 8));
    double rate = (fps == 29 ? 29.97 : fps) * (division & 0xFF);
    if (rate <= 0) return -1;
    return int64_t(lastTick * 1000.0 / rate + 0.5);
  }
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  double us = 0;
  uint64_t at = 0;
  uint32_t tempo = 500000;  // 120 beats per minute until told otherwise
  for (const auto& [tick, t] : tempos) {
    if (tick >= lastTick) break;
    us += double(tick - at) * tempo / division;
    at = tick;
    tempo = t;
  }
  us += double(lastTick - at) * tempo / division;
  return int64_t(us / 1000.0 + 0.5);
}

bool WriteMidiFile(const std::string& hostpath, const std::vector<MidiNote>& notes,
                   int beatsPerMinute, int program) {
  if (beatsPerMinute <= 0) return false;
  const int division = 480;
  auto be = [](std::string& out, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) out += char((v >> (8 * i)) & 0xFF);
  };
  auto varlen = [](std::string& out, uint32_t v) {
    char buf[5];
    int n = 0;
    buf[n++] = char(v & 0x7F);
    while (v >>= 7) buf[n++] = char(0x80 | (v & 0x7F));
    while (n) out += buf[--n];
  };
  std::string tempoTrack, noteTrack;
  uint32_t usPerQuarter = uint32_t(60000000 / beatsPerMinute);
  tempoTrack += '\0';
  tempoTrack += "\xFF\x51\x03";
  be(tempoTrack, usPerQuarter, 3);
  tempoTrack += std::string("\0\xFF\x2F\0", 4);

  noteTrack += '\0';
  noteTrack += char(0xC0);
  noteTrack += char(program & 0x7F);
  uint32_t pending = 0;  // rest ticks before the next event
  for (const MidiNote& n : notes) {
    uint32_t ticks = uint32_t(n.quarters * division + 0.5);
    if (n.key <= 0) {
      pending += ticks;
      continue;
    }
    varlen(noteTrack, pending);
    noteTrack += char(0x90);
    noteTrack += char(n.key & 0x7F);
    noteTrack += char(100);
    varlen(noteTrack, ticks);
    noteTrack += char(0x80);
    noteTrack += char(n.key & 0x7F);
    noteTrack += char(0);
    pending = 0;
  }
  varlen(noteTrack, pending);
  noteTrack += std::string("\xFF\x2F\0", 3);

  std::string file = "MThd";
  be(file, 6, 4);
  be(file, 1, 2);
  be(file, 2, 2);
  be(file, division, 2);
  for (const std::string* t : {&tempoTrack, &noteTrack}) {
    file += "MTrk";
    be(file, uint32_t(t->size()), 4);
    file += *t;
  }
  FILE* f = std::fopen(hostpath.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace rt
