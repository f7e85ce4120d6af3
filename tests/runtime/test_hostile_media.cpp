// Damaged sound and video files and process exits: whatever a file holds, the media calls
// answer with an error and the process goes on.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "runtime/audio.h"
#include "runtime/audio_internal.h"

using namespace rt;

namespace {

// The exit status of a child, or -1 when it has not ended within the time (it is killed then).
int WaitForChild(pid_t pid, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

// Registered before any test opens the audio, so it runs after the audio's own exit handler: a
// forked child tells whether that handler tore the output down inside it.
bool g_forkedChild = false;
const bool g_exitCheck = [] {
  std::atexit([] {
    if (g_forkedChild && audio_detail::Exiting()) _exit(99);
  });
  return true;
}();

}  // namespace

TEST(AudioExit, AForkedHelperThatExitsLeavesTheOutputToItsOwner) {
  ASSERT_TRUE(AudioOpen());
  // Like the message box's helper process ending through exit() on an X error.
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    g_forkedChild = true;
    std::exit(3);
  }
  const int status = WaitForChild(pid, std::chrono::seconds(10));
  ASSERT_NE(status, -1) << "the child hung in the audio teardown";
  EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 3) << "99: the child closed the parent's audio output";
  EXPECT_TRUE(AudioOpen());
  AudioClose();
}
