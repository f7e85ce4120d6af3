// Runtime-private hooks shared between the runtime's own parts; nothing outside runtime/ uses
// these.
#pragma once
#include <cstdio>
#include <string>

namespace rt {

// The event pump reports every key it delivers (posted test keys included): down sets the
// key's high bit 0x80 and, on a fresh press, flips its toggle bit 0x01; up clears 0x80.
void SetKeyState(int vk, bool down);
// Releases every held key (the toggle bits stay), e.g. when the window loses the keyboard.
void ClearKeyStates();

// The running executable's host path ("" when unknown).
std::string HostExePath();

// Every read of content goes through these: a FIFO, device or socket in a content file's place
// would block the open or the reads for good. The descriptor (read-only, close-on-exec) or
// stream of an ordinary file; -1 or nullptr for anything else, without waiting.
int OpenRegularFile(const std::string& host);
std::FILE* OpenRegularStream(const std::string& host);
// For libraries that open a file by its name themselves: whether it is an ordinary file now.
bool IsRegularFile(const std::string& host);

// While one lives, a process forked meanwhile (the helper SDL forks to draw a message box in)
// is killed when this process ends, however it ends, instead of staying on screen.
class ForkedHelpersEndWithUs {
 public:
  ForkedHelpersEndWithUs();
  ~ForkedHelpersEndWithUs();
  ForkedHelpersEndWithUs(const ForkedHelpersEndWithUs&) = delete;
  ForkedHelpersEndWithUs& operator=(const ForkedHelpersEndWithUs&) = delete;
};

// A message box's text as the box shows it: LF line breaks, lines wrapped, an overlong line
// shortened in its middle, at most a screenful of lines.
std::string MsgBoxLines(const std::string& text);

}  // namespace rt
