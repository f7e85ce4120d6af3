// Window-manager hints and keyboard hand-over on X11. Kept apart: the X headers define macros
// (KeyPress, None, Bool, ...) that clash with the runtime's names.
#include "runtime/wm_hints.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <system_error>
#include <vector>
#endif

namespace rt {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

// The Motif window-manager hints for a look: which decorations the frame has and what the
// window manager may do with the window.
struct MotifHints {
  enum : unsigned long { kFunctions = 1, kDecorations = 2 };
  enum : unsigned long { kFuncResize = 2, kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32 };
  enum : unsigned long { kDecorBorder = 2, kDecorResizeH = 4, kDecorTitle = 8, kDecorMenu = 16,
                         kDecorMinimize = 32, kDecorMaximize = 64 };
  unsigned long flags = kFunctions | kDecorations;
  unsigned long functions = 0, decorations = 0;
};

MotifHints MotifHintsFor(const WindowLook& look) {
  MotifHints h;
  const bool framed = look.borderStyle != 0, sizable = look.borderStyle == 2;
  // Without caption and control box a framed window keeps its border but no title bar.
  const bool title = framed && (look.caption || look.controlBox);
  if (framed) h.decorations |= MotifHints::kDecorBorder;
  if (sizable) h.decorations |= MotifHints::kDecorResizeH;
  if (title) {
    h.decorations |= MotifHints::kDecorTitle;
    h.functions |= MotifHints::kFuncMove;
  }
  if (sizable) h.functions |= MotifHints::kFuncResize;
  if (look.controlBox) {
    h.functions |= MotifHints::kFuncClose;
    // The buttons sit in the title bar, beside the control box.
    if (title) h.decorations |= MotifHints::kDecorMenu;
    if (title && look.minButton) {
      h.functions |= MotifHints::kFuncMinimize;
      h.decorations |= MotifHints::kDecorMinimize;
    }
    if (title && sizable && look.maxButton) {
      h.functions |= MotifHints::kFuncMaximize;
      h.decorations |= MotifHints::kDecorMaximize;
    }
  }
  return h;
}

bool XWindowOf(SDL_Window* w, Display*& d, Window& xw) {
  if (!w) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
    return false;
  d = info.info.x11.display;
  xw = info.info.x11.window;
  return true;
}

// A window manager owns the screen's manager selection (and names its check window).
bool ManagerRuns(Display* d) {
  char name[32];
  SDL_snprintf(name, sizeof name, "WM_S%d", DefaultScreen(d));
  return XGetSelectionOwner(d, XInternAtom(d, name, False)) != None;
}

// Adds or removes one state of an unmapped window (a mapped one belongs to the window manager).
void SetNetState(Display* d, Window w, const char* state, bool on) {
  const Atom prop = XInternAtom(d, "_NET_WM_STATE", False), atom = XInternAtom(d, state, False);
  std::vector<Atom> states;
  Atom type;
  int format;
  unsigned long n = 0, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, w, prop, 0, 64, False, XA_ATOM, &type, &format, &n, &after, &data) == Success &&
      data && format == 32) {
    const long* v = reinterpret_cast<const long*>(data);
    for (unsigned long i = 0; i < n; ++i)
      if (Atom(v[i]) != atom) states.push_back(Atom(v[i]));
  }
  if (data) XFree(data);
  if (on) states.push_back(atom);
  if (states.empty()) {
    XDeleteProperty(d, w, prop);
    return;
  }
  std::vector<long> v(states.begin(), states.end());
  XChangeProperty(d, w, prop, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(v.data()),
                  int(v.size()));
}

// X errors are fatal under SDL's handler. The message box watcher's own connection may meet a
// box that went away before it got the keyboard: its errors are dropped, all others go on.
std::atomic<Display*> g_quietDisplay{nullptr};
XErrorHandler g_previousHandler = nullptr;
int QuietErrors(Display* d, XErrorEvent* e) {
  if (d == g_quietDisplay.load()) return 0;
  return g_previousHandler ? g_previousHandler(d, e) : 0;
}

// Runs on its own connection: the first window mapped as transient for parent gets the
// keyboard. Returns whether one did.
bool WatchForBox(Display* d, Window parent, int stop) {
  const int xfd = ConnectionNumber(d);
  for (;;) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type != MapNotify) continue;
      Window owner = 0;
      if (!XGetTransientForHint(d, e.xmap.window, &owner) || owner != parent) continue;
      XSetInputFocus(d, e.xmap.window, RevertToParent, CurrentTime);
      XSync(d, False);
      return true;
    }
    pollfd p[2] = {{xfd, POLLIN, 0}, {stop, POLLIN, 0}};
    if (poll(p, 2, -1) < 0) continue;
    if (p[1].revents) return false;
  }
}

}  // namespace

void SetWindowManagerHints(SDL_Window* w, const WindowLook& look, SDL_Window* owner, bool modal) {
  Display* d;
  Window xw;
  if (!XWindowOf(w, d, xw)) return;
  const MotifHints m = MotifHintsFor(look);
  long motif[5] = {long(m.flags), long(m.functions), long(m.decorations), 0, 0};
  const Atom motifAtom = XInternAtom(d, "_MOTIF_WM_HINTS", False);
  XChangeProperty(d, xw, motifAtom, motifAtom, 32, PropModeReplace, reinterpret_cast<unsigned char*>(motif), 5);
  Display* od;
  Window ownerX = 0;
  const bool owned = modal && XWindowOf(owner, od, ownerX);
  // The window manager keeps it above its owner, out of the window list, and gives it the
  // keyboard before the owner.
  if (owned) XSetTransientForHint(d, xw, ownerX);
  else XDeleteProperty(d, xw, XA_WM_TRANSIENT_FOR);
  SetNetState(d, xw, "_NET_WM_STATE_MODAL", owned);
  XFlush(d);
}

void TakeKeyboardWithoutWm(SDL_Window* w) {
  Display* d;
  Window xw;
  if (!XWindowOf(w, d, xw) || ManagerRuns(d)) return;
  SDL_SetWindowInputFocus(w);
}

BoxKeyboard::BoxKeyboard(SDL_Window* parent) {
  Display* d;
  Window parentX;
  if (!XWindowOf(parent, d, parentX) || ManagerRuns(d)) return;
  Display* own = XOpenDisplay(DisplayString(d));
  if (!own) return;
  if (pipe2(stop_, O_CLOEXEC) != 0) {
    XCloseDisplay(own);
    stop_[0] = stop_[1] = -1;
    return;
  }
  parent_ = parent;
  // Listening before the box exists: its map cannot slip by.
  XSelectInput(own, DefaultRootWindow(own), SubstructureNotifyMask);
  XSync(own, False);
  g_quietDisplay = own;
  g_previousHandler = XSetErrorHandler(QuietErrors);
  try {
    watcher_ = std::thread([this, own, parentX] {
      focused_ = WatchForBox(own, parentX, stop_[0]);
      XCloseDisplay(own);
    });
  } catch (const std::system_error&) {
    // Without a thread the box simply goes without the keyboard hand-over; the destructor
    // finds nothing to undo.
    XSetErrorHandler(g_previousHandler);
    g_quietDisplay = nullptr;
    XCloseDisplay(own);
    close(stop_[0]);
    close(stop_[1]);
    stop_[0] = stop_[1] = -1;
    parent_ = nullptr;
  }
}

BoxKeyboard::~BoxKeyboard() {
  if (!watcher_.joinable()) return;
  const char c = 0;
  if (write(stop_[1], &c, 1) < 0) {}  // the watcher ends on it; it may have ended already
  watcher_.join();
  XSetErrorHandler(g_previousHandler);
  g_quietDisplay = nullptr;
  close(stop_[0]);
  close(stop_[1]);
  // The box is gone; its keyboard goes back to the window it was shown over.
  if (focused_) SDL_SetWindowInputFocus(parent_);
}

#else

void SetWindowManagerHints(SDL_Window*, const WindowLook&, SDL_Window*, bool) {}
void TakeKeyboardWithoutWm(SDL_Window*) {}
BoxKeyboard::BoxKeyboard(SDL_Window*) {}
BoxKeyboard::~BoxKeyboard() {}

#endif

}  // namespace rt
