// Runs a test body in a child process whose address space may grow only so far, or whose
// processor time is limited: loads that must fail cleanly when memory runs out instead of ending
// the process, and work that must not hang however large its input.
#pragma once
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>

namespace testing_support {

// The child's wait status; the body's return value is the child's exit code, an exception out of
// it (memory that ran out) exit code kThrew. -1 if no child.
constexpr int kThrew = 99;
template <class Limit, class Body>
int InChild(Limit limit, Body body) {
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    limit();
    try {
      _exit(body());
    } catch (...) {
      _exit(kThrew);  // not on into the rest of the test program
    }
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return status;
}

// The child's address space may grow by spare bytes beyond what it holds now.
inline void LimitMemoryToSpare(size_t spare) {
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlim_t now = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
  const rlimit limit{now + spare, now + spare};
  setrlimit(RLIMIT_AS, &limit);
}

// Past the given processor seconds the child ends with SIGXCPU (WIFSIGNALED in the status).
inline void LimitSeconds(int seconds) {
  const rlimit limit{rlim_t(seconds), rlim_t(seconds) + 1};
  setrlimit(RLIMIT_CPU, &limit);
}

template <class Body>
int InChildWithMemoryToSpare(size_t spare, Body body) {
  return InChild([spare] { LimitMemoryToSpare(spare); }, body);
}

template <class Body>
int InChildWithSeconds(int seconds, Body body) {
  return InChild([seconds] { LimitSeconds(seconds); }, body);
}

}  // namespace testing_support
