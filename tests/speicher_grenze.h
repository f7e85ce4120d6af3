// Runs a test body in a child process whose address space may grow only so far, for loads that
// must fail cleanly when memory runs out instead of ending the process.
#pragma once
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>

namespace testing_support {

// The child's wait status; the body's return value is the child's exit code. -1 if no child.
template <class Body>
int InChildWithMemoryToSpare(size_t spare, Body body) {
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t now = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
    const rlimit limit{now + spare, now + spare};
    setrlimit(RLIMIT_AS, &limit);
    _exit(body());
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return status;
}

}  // namespace testing_support
