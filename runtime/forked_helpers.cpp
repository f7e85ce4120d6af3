// Helper processes that libraries fork for us end with the process that asked for them.
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>

#include "runtime/internal.h"

namespace rt {

namespace {

std::atomic<int> guards{0};
std::atomic<pid_t> parent{0};

void InForkedChild() {
  if (guards.load() == 0) return;
  // SIGKILL: the child inherits SDL's SIGTERM handler, which would only queue a quit event.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  // A parent that died before the line above never sends the signal.
  if (getppid() != parent.load()) _exit(1);
}

}  // namespace

ForkedHelpersEndWithUs::ForkedHelpersEndWithUs() {
  static const bool registered = pthread_atfork(nullptr, nullptr, InForkedChild) == 0;
  (void)registered;
  parent = getpid();
  ++guards;
}

ForkedHelpersEndWithUs::~ForkedHelpersEndWithUs() { --guards; }

}  // namespace rt
