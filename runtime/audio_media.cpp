// The media command channel: music and video under their aliases. Length and position are
// milliseconds of the clock since play started, capped at the length taken from the file: the
// synthesizer reports a song as playing for a while after its last note, so "is it playing"
// cannot tell where a song is. A song that is not loaded yet is read on a helper thread (the
// synthesizer's soundfont takes half a second or more) and starts from the event pump when it is
// ready; until then its position reads 0.
#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <chrono>
#include <future>
#include <memory>

#include "runtime/audio.h"
#include "runtime/audio_internal.h"
#include "runtime/audio_video.h"
#include "runtime/pump_hooks.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace rt {
using namespace audio_detail;

namespace {

enum class Backend { Song, Video };

struct Device {
  std::string alias;  // as given; compared case-insensitively
  Backend backend = Backend::Song;
  std::string host;
  Mix_MusicType songType = MUS_NONE;  // the one decoder a song is handed to
  int64_t lengthMs = 0;
  bool playing = false;
  bool started = false;  // a song's sound began (or could not be loaded): the clock runs
  uint64_t startAt = 0;
  std::unique_ptr<VideoPlayer> video;

  int64_t PositionMs(uint64_t now) const {
    if (!playing || !started) return 0;
    return std::min<int64_t>(int64_t(now - startAt), lengthMs);
  }
};

std::vector<std::unique_ptr<Device>> g_devices;
int g_hook = -1;

// The last song stays loaded after its device closes: a looping song is closed and opened
// again every time round, and loading a General MIDI soundfont takes a noticeable moment.
struct SongCache {
  std::string host;
  Mix_MusicType type = MUS_NONE;
  int64_t mtime = 0;
  Mix_Music* music = nullptr;
  const Device* owner = nullptr;  // the device whose play started it
} g_song;

int64_t FileTime(const std::string& host) {
  struct stat st {};
  if (stat(host.c_str(), &st) != 0) return -1;
  return int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// The mixer is told the type: left to guess, it would try every decoder it has on any file.
// Runs on the helper thread too; it touches nothing but the file and the decoder it makes.
Mix_Music* ReadSong(const std::string& host, Mix_MusicType type) {
  SDL_RWops* rw = OpenRegularRW(host);
  return rw ? Mix_LoadMUSType_RW(rw, type, 1) : nullptr;
}

// The song being read on the helper thread.
struct SongLoad {
  std::string host;
  Mix_MusicType type = MUS_NONE;
  int64_t mtime = 0;
  std::future<Mix_Music*> music;
};
std::unique_ptr<SongLoad> g_load;

bool IsCached(const Device& d) {
  return g_song.music && g_song.host == d.host && g_song.type == d.songType && g_song.mtime == FileTime(d.host);
}

void CacheSong(const std::string& host, Mix_MusicType type, int64_t mtime, Mix_Music* music) {
  if (g_song.music) {
    if (g_song.owner) Mix_HaltMusic();
    Mix_FreeMusic(g_song.music);
  }
  g_song = SongCache{host, type, mtime, music, nullptr};
}

// The song's sound begins now, and with it the clock of its position. A song that could not be
// loaded runs silently on the clock, so the loop check still works.
void StartSong(Device* d) {
  if (IsCached(*d)) {
    Mix_HaltMusic();
    Mix_PlayMusic(g_song.music, 1);
    g_song.owner = d;
  }
  d->started = true;
  d->startAt = timeGetTime();
}

bool Waiting(const Device& d) { return d.playing && !d.started && d.backend == Backend::Song; }

// Starts what can start: a finished load goes to the cache for the song waiting for it (or is
// dropped), a waiting song whose music is cached plays, another one is read. On the virtual
// clock of the tests reading takes no time, so it happens at once. Returns when to look again.
uint64_t AdvanceSongs(uint64_t now) {
  if (g_load && g_load->music.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    std::unique_ptr<SongLoad> done = std::move(g_load);
    Mix_Music* m = done->music.get();
    const bool wanted = std::any_of(g_devices.begin(), g_devices.end(), [&](const auto& d) {
      return Waiting(*d) && d->host == done->host && d->songType == done->type;
    });
    if (m && (wanted || !g_song.owner)) CacheSong(done->host, done->type, done->mtime, m);
    else if (m) Mix_FreeMusic(m);
    for (auto& d : g_devices)
      if (Waiting(*d) && d->host == done->host && d->songType == done->type && !IsCached(*d)) StartSong(d.get());
  }
  for (size_t i = 0; i < g_devices.size(); ++i) {
    Device* d = g_devices[i].get();
    if (!Waiting(*d)) continue;
    if (IsCached(*d)) {
      StartSong(d);
    } else if (!g_load && EnsureOpen()) {
      if (IsVirtualClock()) {
        if (Mix_Music* m = ReadSong(d->host, d->songType)) CacheSong(d->host, d->songType, FileTime(d->host), m);
        StartSong(d);
      } else {
        g_load = std::make_unique<SongLoad>();
        g_load->host = d->host;
        g_load->type = d->songType;
        g_load->mtime = FileTime(d->host);
        g_load->music = std::async(std::launch::async, ReadSong, d->host, d->songType);
      }
    } else if (!g_load) {
      StartSong(d);  // no output at all: the clock alone
    }
  }
  return g_load ? now + 5 : UINT64_MAX;
}

void WaitForSongLoad() {
  if (!g_load) return;
  if (Mix_Music* m = g_load->music.get()) Mix_FreeMusic(m);
  g_load.reset();
}

// The decoder for a song, from what the file holds; MUS_NONE for sound the system does not play.
Mix_MusicType SongType(const std::string& host, const std::string& container) {
  if (container == "mp3") return MUS_MP3;
  if (container == "wav") return WaveHeaderPlayable(host, true) ? MUS_WAV : MUS_NONE;
  return MUS_NONE;
}

void FreeSongCache() {
  if (g_song.music) {
    Mix_HaltMusic();
    Mix_FreeMusic(g_song.music);
  }
  g_song = SongCache{};
}

Device* Find(const std::string& alias) {
  for (auto& d : g_devices)
    if (LCase(d->alias) == LCase(alias)) return d.get();
  return nullptr;
}

void CloseDevice(Device* d) {
  if (g_song.owner == d) {
    Mix_HaltMusic();
    g_song.owner = nullptr;
  }
  d->video.reset();  // stops its sound and shows the scene again
  g_devices.erase(std::remove_if(g_devices.begin(), g_devices.end(),
                                 [d](const auto& p) { return p.get() == d; }),
                  g_devices.end());
}

uint64_t PumpMedia(uint64_t now) {
  uint64_t next = AdvanceSongs(now);
  for (auto& d : g_devices)
    if (d->video && d->playing) next = std::min(next, d->video->Step(now));
  return next;
}

// ---- Command parsing ---------------------------------------------------------------------

// The blank-separated words of s; `starts` gets where each begins.
std::vector<std::string> Words(const std::string& s, std::vector<size_t>* starts = nullptr) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    size_t j = i;
    while (j < s.size() && s[j] != ' ') ++j;
    if (j > i) {
      out.push_back(s.substr(i, j - i));
      if (starts) starts->push_back(i);
    }
    i = j;
  }
  return out;
}

bool ParseNumber(const std::string& s, int64_t& v) {
  if (s.empty() || s.size() > 18) return false;
  size_t i = (s[0] == '-') ? 1 : 0;
  if (i == s.size()) return false;
  for (size_t k = i; k < s.size(); ++k)
    if (s[k] < '0' || s[k] > '9') return false;
  v = std::stoll(s);
  return true;
}

struct OpenOptions {
  std::string type, alias;
  int64_t parent = 0;
  bool hasParent = false;
};

// The options after the file name: keyword-value pairs and flags. False on anything else.
bool ParseOpenOptions(const std::vector<std::string>& w, size_t from, OpenOptions& o) {
  std::vector<std::string> seen;
  for (size_t i = from; i < w.size(); ++i) {
    std::string k = LCase(w[i]);
    if (std::find(seen.begin(), seen.end(), k) != seen.end()) return false;
    seen.push_back(k);
    if (k == "shareable" || k == "wait") continue;
    if (i + 1 >= w.size()) return false;
    const std::string& v = w[++i];
    int64_t n = 0;
    if (k == "type") o.type = v;
    else if (k == "alias") o.alias = v;
    else if (k == "parent" && ParseNumber(v, n)) { o.parent = n; o.hasParent = true; }
    else if (k == "style" && ParseNumber(v, n)) {}
    else return false;
  }
  return true;
}

// Splits "open" arguments into the file and its options. A file name may hold blanks (long
// names have no short form here): it runs up to the first point from which the rest reads as
// options, preferring a point where the file exists. A quoted file name ends at its closing
// quote.
int SplitOpen(const std::string& args, std::string& file, OpenOptions& o) {
  std::string rest = Trim(args);
  if (rest.empty()) return MCIERR_MISSING_PARAMETER;
  if (rest[0] == '"') {
    size_t q = rest.find('"', 1);
    if (q == std::string::npos) return MCIERR_MISSING_PARAMETER;
    file = rest.substr(1, q - 1);
    return ParseOpenOptions(Words(rest.substr(q + 1)), 0, o) ? 0 : MCIERR_UNRECOGNIZED_KEYWORD;
  }
  std::vector<size_t> starts;
  std::vector<std::string> w = Words(rest, &starts);
  bool found = false;
  for (size_t i = 1; i < w.size(); ++i) {
    OpenOptions trial;
    if (!ParseOpenOptions(w, i, trial)) continue;
    std::string name = RTrim(rest.substr(0, starts[i]));
    bool exists = FileExists(name);
    if (!found || exists) {
      file = name;
      o = trial;
    }
    if (exists) return 0;
    found = true;
  }
  if (!found) file = rest;
  return 0;
}

std::string Extension(const std::string& path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return LCase(path.substr(dot + 1));
}

int Open(const std::string& args) {
  std::string file;
  OpenOptions o;
  if (int e = SplitOpen(args, file, o)) return e;
  if (o.alias.empty()) o.alias = file;
  if (Find(o.alias)) return MCIERR_DUPLICATE_ALIAS;

  std::string type = LCase(o.type);
  if (type.empty()) {
    std::string ext = Extension(file);
    if (ext == "mid" || ext == "midi" || ext == "rmi") type = "sequencer";
    else if (ext == "wav") type = "waveaudio";
    else if (ext == "mp3" || ext == "mp2" || ext == "mpg" || ext == "mpeg" || ext == "mpe" ||
             ext == "m1v" || ext == "dat") type = "mpegvideo";
    else if (ext == "avi") type = "avivideo";
    else return MCIERR_INVALID_DEVICE_NAME;
  } else if (type != "sequencer" && type != "waveaudio" && type != "mpegvideo" && type != "avivideo") {
    return MCIERR_INVALID_DEVICE_NAME;
  }
  if (!FileExists(file)) return MCIERR_FILE_NOT_FOUND;

  auto d = std::make_unique<Device>();
  d->alias = o.alias;
  d->host = HostPath(file);
  if (type == "sequencer") {
    std::string bytes;
    if (!ReadFileBytes(file, bytes)) return MCIERR_FILE_NOT_FOUND;
    d->lengthMs = MidiLengthMs(bytes);
    if (d->lengthMs < 0) return MCIERR_INVALID_FILE;
    d->songType = MUS_MID;
  } else {
    MediaInfo info;
    if (!ProbeMedia(d->host, info)) return MCIERR_INVALID_FILE;
    d->lengthMs = info.lengthMs;
    if (info.hasVideo && type != "waveaudio") {
      d->backend = Backend::Video;
      d->video = std::make_unique<VideoPlayer>();
      if (!d->video->Open(d->host)) return MCIERR_INVALID_FILE;
      d->video->SetParent(o.hasParent ? intptr_t(o.parent) : 0);
    } else if (!info.hasAudio || (d->songType = SongType(d->host, info.container)) == MUS_NONE) {
      return MCIERR_INVALID_FILE;
    }
  }
  g_devices.push_back(std::move(d));
  return 0;
}

int Play(Device* d) {
  if (d->playing) return 0;
  d->playing = true;
  if (d->video) {
    d->started = true;
    d->startAt = timeGetTime();
    d->video->Start(d->startAt);
  } else {
    AdvanceSongs(timeGetTime());
  }
  if (g_hook < 0) g_hook = AddPumpHook(PumpMedia);
  return 0;
}

void WriteAnswer(std::string* answer, int answerLen, const std::string& text) {
  if (!answer || answerLen <= 0) return;
  std::string t = text.substr(0, size_t(answerLen - 1));
  t += '\0';
  if (answer->size() < t.size()) answer->resize(t.size(), ' ');
  answer->replace(0, t.size(), t);
}

}  // namespace

void audio_detail::CloseAllMedia() {
  while (!g_devices.empty()) CloseDevice(g_devices.back().get());
  WaitForSongLoad();
  FreeSongCache();
  if (g_hook >= 0) RemovePumpHook(g_hook);
  g_hook = -1;
  ShutdownVideoSound();
}

int mciSendString(const std::string& command, std::string* answer, int answerLen) {
  std::string cmd = Trim(command);
  size_t sp = cmd.find(' ');
  std::string verb = LCase(cmd.substr(0, sp));
  std::string args = sp == std::string::npos ? "" : cmd.substr(sp + 1);
  if (verb == "open") return Open(args);

  std::vector<std::string> w = Words(args);
  if (verb != "close" && verb != "play" && verb != "status" && verb != "put")
    return MCIERR_UNRECOGNIZED_COMMAND;
  if (w.empty()) return MCIERR_MISSING_PARAMETER;
  Device* d = Find(w[0]);
  if (!d) return MCIERR_INVALID_DEVICE_NAME;

  if (verb == "close") {
    if (w.size() > 1 && !(w.size() == 2 && LCase(w[1]) == "wait")) return MCIERR_UNRECOGNIZED_KEYWORD;
    CloseDevice(d);
    return 0;
  }
  if (verb == "play") {
    if (w.size() > 1 && !(w.size() == 2 && LCase(w[1]) == "wait")) return MCIERR_UNRECOGNIZED_KEYWORD;
    return Play(d);
  }
  if (verb == "status") {
    if (w.size() != 2) return w.size() < 2 ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
    std::string item = LCase(w[1]);
    int64_t v;
    if (item == "length") v = d->lengthMs;
    else if (item == "position") {
      AdvanceSongs(timeGetTime());  // a song that has just become ready starts at 0
      v = d->PositionMs(timeGetTime());
    }
    else return MCIERR_UNRECOGNIZED_KEYWORD;
    WriteAnswer(answer, answerLen, std::to_string(v));
    return 0;
  }
  // put <alias> window at x y w h
  int64_t r[4];
  if (w.size() != 7 || LCase(w[1]) != "window" || LCase(w[2]) != "at") return MCIERR_UNRECOGNIZED_KEYWORD;
  for (int i = 0; i < 4; ++i)
    if (!ParseNumber(w[3 + i], r[i]) || r[i] < INT_MIN / 2 || r[i] > INT_MAX / 2) return MCIERR_UNRECOGNIZED_KEYWORD;
  if (d->video) d->video->Place(int(r[0]), int(r[1]), int(r[2]), int(r[3]));
  return 0;
}

}  // namespace rt
