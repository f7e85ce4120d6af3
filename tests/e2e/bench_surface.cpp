// Full-scene copies on picture surfaces: a plain copy, a stretch, a one-colour OR over the scene
// (the fades), a BitBlt and a shifted copy within one surface (the shake). Prints the average of
// each and fails when one takes a millisecond or more.
//   e2e_bench_surface [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>

#include "runtime/surface.h"

using namespace rt;

namespace {

// Every pixel different, so no copy can pass by chance.
PicturePtr Numbered(int w, int h) {
  auto p = std::make_shared<Picture>();
  p->width = w;
  p->height = h;
  p->pixels.resize(size_t(w) * h);
  std::iota(p->pixels.begin(), p->pixels.end(), Color(0));
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
  Surface scene(640, 480), sheet(640, 480);
  scene.SetAutoRedraw(true);
  sheet.SetAutoRedraw(true);
  PicturePtr room = Numbered(640, 480), half = Numbered(320, 240), dot = Numbered(1, 1);
  auto time = [&](auto&& step) {
    step();  // the first pass may allocate
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() /
           rounds;
  };
  struct Row {
    const char* name;
    double ms;
  } rows[] = {
      {"copy 640x480", time([&] { scene.PaintPicture(room, 0, 0, 640, 480, 0, 0, 640, 480); })},
      {"stretch 320x240 to 640x480", time([&] { scene.PaintPicture(half, 0, 0, 640, 480, 0, 0, 320, 240); })},
      {"OR one colour over 640x480", time([&] { scene.PaintPicture(dot, 0, 0, 640, 480, 0, 0, 1, 1, SRCPAINT); })},
      {"BitBlt 640x480", time([&] { BitBlt(&scene, 0, 0, 640, 480, &sheet, 0, 0, SRCCOPY); })},
      {"shifted copy within one surface", time([&] { BitBlt(&scene, 3, 0, 621, 432, &scene, 0, 0, SRCCOPY); })},
  };
  bool ok = true;
  for (const Row& r : rows) {
    std::printf("%-34s %.3f ms\n", r.name, r.ms);
    ok = ok && r.ms < 1.0;
  }
  std::puts(ok ? "PASS" : "FAIL: a full-scene copy takes a millisecond or more");
  return ok ? 0 : 1;
}
