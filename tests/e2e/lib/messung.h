// What the benchmarks measure with: the processor time of this process and a wall clock.
#pragma once
#include <sys/resource.h>

#include <ctime>

// Processor seconds (user and system) this process has used.
inline double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// Milliseconds of the monotonic clock.
inline double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}
