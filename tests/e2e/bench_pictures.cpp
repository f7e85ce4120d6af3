// Peak memory of loading each hostile picture (formats the system does not read, sizes claimed
// far beyond any real picture), each in a child process of its own so that every figure is that
// load's own peak resident size. Tiny files that decode to the largest size still taken, and a
// 640 by 480 room picture, are measured for comparison.
//   e2e_bench_pictures
// Exit 0 when every hostile picture is refused, the others load, no load crashes, and every
// peak stays under 100 MB.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/picture_save.h"
#include "runtime/surface.h"
#include "runtime/system.h"
#include "tests/picture_samples.h"

int main() {
  char tmpl[] = "/tmp/norvalde-bench-pictures-XXXXXX";
  if (!mkdtemp(tmpl)) return 1;
  const std::string dir = tmpl;
  struct Case {
    std::string name, bytes;
    bool hostile;
  };
  std::vector<Case> cases;
  for (auto& [name, bytes] : samples::HostilePictures()) cases.push_back({name, bytes, true});
  cases.push_back({"rle_4096.bmp", samples::BmpRleBomb(4096, 4096), true});
  cases.push_back({"rle_2048.bmp", samples::BmpRleBomb(2048, 2048), false});
  cases.push_back({"fill_byte_2048.jpg", samples::JpegWithFillByte(2048, 2048), false});
  cases.push_back({"png_1024_cursor.ico", samples::IconWithPng(samples::Png(1024, 1024), 0, 0), false});
  rt::Picture room;
  room.width = 640;
  room.height = 480;
  room.pixels.assign(size_t(640) * 480, rt::RGB(40, 90, 160));
  rt::SavePictureBmp(room, dir + "/room.bmp");
  rt::SavePictureJpg(room, dir + "/room.jpg", 90);
  cases.push_back({"room.bmp", "", false});
  cases.push_back({"room.jpg", "", false});

  bool ok = true;
  for (const Case& c : cases) {
    const std::string host = dir + "/" + c.name;
    if (!c.bytes.empty()) std::ofstream(host, std::ios::binary) << c.bytes;
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
      rt::PicturePtr p = rt::LoadPicture(rt::WinPath(host));
      rusage ru{};
      getrusage(RUSAGE_SELF, &ru);
      std::printf("%-22s %9ld bytes  %-8s peak %6.1f MB\n", c.name.c_str(),
                  long(std::ifstream(host, std::ios::binary | std::ios::ate).tellg()),
                  p ? "loaded" : "refused", double(ru.ru_maxrss) / 1024.0);
      std::fflush(stdout);
      _exit(p ? (c.hostile ? 2 : 0) : (c.hostile ? 0 : 3));
    }
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::printf("FAIL: %s (status %d)\n", c.name.c_str(), status);
      ok = false;
    }
    if (ru.ru_maxrss >= 100 * 1024) {
      std::printf("FAIL: %s peaked at %ld MB\n", c.name.c_str(), ru.ru_maxrss / 1024);
      ok = false;
    }
  }
  std::filesystem::remove_all(dir);
  std::printf(ok ? "PASS\n" : "FAIL\n");
  return ok ? 0 : 1;
}
