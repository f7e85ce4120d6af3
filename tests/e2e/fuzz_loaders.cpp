// The longer mutation run over the picture loader and the media commands: batches of inputs in
// worker processes, so that a crash or a hang is counted, its input kept, and the run goes on.
//   e2e_fuzz_loaders [seconds per loader (60)] [seed (1)] [folder for failing inputs]
// Prints the inputs tried, the failures and the workers' peak memory; exit 0 when none failed.
// Run with SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz_loaders.h"

namespace {

struct Tally {
  long inputs = 0, failures = 0, peakKb = 0;
};

struct Target : rt::Form {
  rt::PictureBox box{this};
  void InitializeComponent() override {
    SetClientSize(64, 48);
    box.Move(0, 0, 64, 48);
  }
};

// One worker: `count` inputs from the generator seeded with `seed`. A worker that takes
// longer than a minute counts as hung.
void Batch(bool pictures, const std::vector<fuzz::Seed>& seeds, const std::string& scratch, uint64_t seed,
           int count, const std::string& keep, Tally& t) {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(60);
    fuzz::Rng r(seed);
    Target* target = nullptr;
    if (!pictures) {
      target = new Target;
      target->Show();
    }
    for (int i = 0; i < count; ++i) {
      const fuzz::Seed& s = seeds[r.Below(seeds.size())];
      const fuzz::Seed input{s.ext, fuzz::Mutate(s.bytes, r, seeds)};
      if (pictures && !fuzz::LoadPictureInput(scratch, input)) _exit(3);
      if (!pictures) fuzz::PlayMediaInput(scratch, input, r, &target->box);
    }
    _exit(0);
  }
  int status = 0;
  rusage ru{};
  wait4(pid, &status, 0, &ru);
  t.inputs += count;
  t.peakKb = std::max(t.peakKb, long(ru.ru_maxrss));
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
  ++t.failures;
  std::printf("  worker seed %llu: %s %d\n", static_cast<unsigned long long>(seed),
              WIFSIGNALED(status) ? "signal" : "exit", WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
  // The input being worked on when it failed is still in the scratch folder.
  for (const auto& e : std::filesystem::directory_iterator(scratch))
    if (e.path().filename().string().rfind("input.", 0) == 0)
      std::filesystem::copy_file(e.path(), keep + "/seed" + std::to_string(seed) + "-" + e.path().filename().string(),
                                 std::filesystem::copy_options::overwrite_existing);
}

Tally Run(bool pictures, double seconds, uint64_t seed, const std::string& scratch, const std::string& keep) {
  const std::vector<fuzz::Seed> seeds = pictures ? fuzz::PictureSeeds(scratch) : fuzz::MediaSeeds(scratch);
  const int batch = pictures ? 2000 : 100;
  Tally t;
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (uint64_t b = 0; std::chrono::steady_clock::now() < end; ++b) {
    for (const auto& e : std::filesystem::directory_iterator(scratch))
      if (e.path().filename().string().rfind("input.", 0) == 0) std::filesystem::remove(e.path());
    Batch(pictures, seeds, scratch, seed * 1000003 + b, batch, keep, t);
  }
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60;
  const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
  char tmpl[] = "/tmp/norvalde-fuzz-XXXXXX";
  if (!mkdtemp(tmpl)) return 1;
  const std::string scratch = tmpl;
  const std::string keep = argc > 3 ? argv[3] : scratch + "-failures";
  std::filesystem::create_directories(keep);

  bool ok = true;
  for (bool pictures : {true, false}) {
    const auto start = std::chrono::steady_clock::now();
    const Tally t = Run(pictures, seconds, seed, scratch, keep);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-8s %8ld inputs in %6.1f s, %ld failed batches, worker peak %.1f MB\n",
                pictures ? "pictures" : "media", t.inputs, took, t.failures, double(t.peakKb) / 1024.0);
    ok = ok && t.failures == 0;
  }
  std::filesystem::remove_all(scratch);
  if (ok) std::filesystem::remove(keep);
  else std::printf("failing inputs kept in %s\n", keep.c_str());
  std::printf(ok ? "PASS\n" : "FAIL\n");
  return ok ? 0 : 1;
}
