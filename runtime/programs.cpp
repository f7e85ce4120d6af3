// Starting other programs without a shell and without leaving zombies behind.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "runtime/internal.h"
#include "runtime/system.h"

extern char** environ;

namespace rt {

namespace {

// argv goes to the host unchanged. A short-lived middle process spawns the program and exits at
// once, so the program is adopted by init and reaped there; we only reap the middle one. This
// keeps SIGCHLD alone, so waitpid elsewhere in the process still works.
bool Spawn(const std::vector<std::string>& args) {
  if (args.empty() || args[0].empty()) return false;
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

  pid_t middle = fork();
  if (middle < 0) {
    posix_spawnattr_destroy(&attr);
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (middle == 0) {
    pid_t child;
    int err = posix_spawnp(&child, argv[0], nullptr, &attr, argv.data(), environ);
    ssize_t unused = write(report[1], &err, sizeof err);
    (void)unused;
    _exit(0);
  }
  posix_spawnattr_destroy(&attr);
  close(report[1]);
  int err = -1;
  ssize_t n;
  do n = read(report[0], &err, sizeof err);
  while (n < 0 && errno == EINTR);
  close(report[0]);
  while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  return n == static_cast<ssize_t>(sizeof err) && err == 0;
}

}  // namespace

bool StartProgram(const std::vector<std::string>& argv) { return Spawn(argv); }

bool OpenWithDesktop(const std::string& target) {
  if (target.empty()) return false;
  std::string arg = target.find("://") != std::string::npos ? target : HostPath(target);
  if (arg.empty()) return false;
  return Spawn({"xdg-open", arg});
}

bool RestartSelf() {
  std::string exe = HostExePath();
  return !exe.empty() && Spawn({exe});
}

}  // namespace rt
