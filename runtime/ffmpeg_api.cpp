#include "runtime/ffmpeg_api.h"

#include <dlfcn.h>

#include <cstdio>
#include <string>

namespace rt::ffmpeg {
namespace {

struct Loaded {
  Api api;
  bool ok = false;
};

// The libraries of the major versions this was built against (the headers say which).
Loaded Open() {
  Loaded l;
  const std::string names[] = {
      "libavutil.so." + std::to_string(LIBAVUTIL_VERSION_MAJOR),
      "libswresample.so." + std::to_string(LIBSWRESAMPLE_VERSION_MAJOR),
      "libswscale.so." + std::to_string(LIBSWSCALE_VERSION_MAJOR),
      "libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR),
      "libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR)};
  void* handles[5] = {};
  for (int i = 0; i < 5; ++i) {
    // Kept open for the rest of the process, like linked libraries.
    handles[i] = dlopen(names[i].c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handles[i]) {
      std::fprintf(stderr, "norvalde: %s cannot be opened; speech, mp3 music and videos stay silent\n",
                   names[i].c_str());
      return l;
    }
  }
  auto find = [&](const char* name) -> void* {
    for (void* h : handles)
      if (void* f = dlsym(h, name)) return f;
    std::fprintf(stderr, "norvalde: FFmpeg has no %s; speech, mp3 music and videos stay silent\n", name);
    return nullptr;
  };
  bool all = true;
#define NORVALDE_FFMPEG_FIND(name)                                         \
  l.api.name = reinterpret_cast<decltype(l.api.name)>(find(#name));        \
  all = all && l.api.name != nullptr;
  NORVALDE_FFMPEG_FUNCTIONS(NORVALDE_FFMPEG_FIND)
#undef NORVALDE_FFMPEG_FIND
  l.ok = all;
  return l;
}

const Loaded& Libraries() {
  static const Loaded loaded = Open();
  return loaded;
}

}  // namespace

bool Available() { return Libraries().ok; }

const Api& Get() { return Libraries().api; }

}  // namespace rt::ffmpeg
