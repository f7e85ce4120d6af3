// The X connection's file descriptor, for waiting on the X server without polling. Kept apart:
// the X headers define macros (KeyPress, None, ...) that clash with the runtime's names.
#include <SDL.h>
#include <SDL_syswm.h>

namespace rt {

int X11ConnectionFd(SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (w && SDL_GetWindowWMInfo(w, &info) && info.subsystem == SDL_SYSWM_X11 && info.info.x11.display)
    return ConnectionNumber(info.info.x11.display);
#else
  (void)w;
#endif
  return -1;
}

}  // namespace rt
