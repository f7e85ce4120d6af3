// What a window manager is told about a form's window: its frame and buttons as the form's
// design has them, the window it is shown modally over, and who hands it the keyboard. On a
// screen without window manager the runtime gives the keyboard to modal windows itself. X11
// only: elsewhere these do nothing.
#pragma once
#include <thread>

struct SDL_Window;

namespace rt {

// The design properties that decide a window's frame.
struct WindowLook {
  int borderStyle = 2;  // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog
  bool caption = true;  // the caption is not empty
  bool controlBox = true, minButton = true, maxButton = true;
};

// Before the window is mapped: its frame, its owner (nullptr: none) and whether it is modal.
void SetWindowManagerHints(SDL_Window* w, const WindowLook& look, SDL_Window* owner, bool modal);
// Gives the shown window the keyboard where no window manager runs (one hands it out itself).
void TakeKeyboardWithoutWm(SDL_Window* w);

// While it lives, a message box that another process opens over parent takes the keyboard on
// a screen without window manager; parent gets it back afterwards.
class BoxKeyboard {
 public:
  explicit BoxKeyboard(SDL_Window* parent);
  ~BoxKeyboard();
  BoxKeyboard(const BoxKeyboard&) = delete;
  BoxKeyboard& operator=(const BoxKeyboard&) = delete;

 private:
  SDL_Window* parent_ = nullptr;
  std::thread watcher_;
  int stop_[2] = {-1, -1};
  bool focused_ = false;  // written by the watcher, read after it has ended
};

}  // namespace rt
