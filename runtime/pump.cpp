// The event pump and the windows behind the forms: SDL start-up, one window per shown form,
// input routing, presenting changed pixels, waiting without spinning.
#include <SDL.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <deque>
#include <utility>

#include "runtime/forms_internal.h"
#include "runtime/internal.h"
#include "runtime/pump_hooks.h"
#include "runtime/system.h"
#include "runtime/text.h"
#include "runtime/wm_hints.h"

namespace rt {

int X11ConnectionFd(SDL_Window* w);  // x11_fd.cpp

namespace {

struct QEvent {
  enum Kind { Sdl, Key, Char, Mouse, Close } kind = Sdl;
  SDL_Event sdl{};
  intptr_t form = 0;
  int a = 0, b = 0, c = 0, d = 0;
  bool down = false;
  std::string text;
};

struct Hook {
  int id;
  PumpHook fn;
};

struct PumpState {
  bool tried = false, video = false, events = false;
  std::deque<QEvent> queue;
  std::vector<Form*> modal;
  std::vector<Hook> hooks;
  int nextHook = 1;
  uint64_t hookDue = UINT64_MAX;
  int xfd = -1;
  intptr_t active = 0;   // the form that has the keyboard
  intptr_t pointer = 0;  // the form under the mouse
};

// Never destroyed: forms living in statics reach it from their destructors at exit.
PumpState& P() {
  static PumpState* s = new PumpState;
  return *s;
}

constexpr int kDefaultW = 312, kDefaultH = 213;

Form* FormByWindow(uint32_t id) {
  if (!id) return nullptr;
  for (Form* f : AllForms())
    if (f->impl()->window && f->impl()->windowId == id) return f;
  return nullptr;
}

// Input reaches a form only while it is shown and no modal form above it is up.
bool TakesInput(Form* f) {
  if (!f || !f->Loaded() || !f->Visible()) return false;
  return P().modal.empty() || P().modal.back() == f;
}

int ShiftBits() {
  uint8_t t[256];
  GetKeyboardState(t);
  return (t[vbKeyShift] & 0x80 ? vbShiftMask : 0) | (t[vbKeyControl] & 0x80 ? vbCtrlMask : 0) |
         (t[vbKeyMenu] & 0x80 ? vbAltMask : 0);
}

// SDL key to Windows virtual key code; 0 for keys without one.
int VirtualKey(const SDL_Keysym& k) {
  const SDL_Keycode c = k.sym;
  if (c >= 'a' && c <= 'z') return int(c - 'a' + 'A');
  if (c >= '0' && c <= '9') return int(c);
  if (c >= SDLK_F1 && c <= SDLK_F12) return 112 + int(c - SDLK_F1);
  switch (c) {
    case SDLK_BACKSPACE: return vbKeyBack;
    case SDLK_TAB: return vbKeyTab;
    case SDLK_RETURN: case SDLK_KP_ENTER: return vbKeyReturn;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return vbKeyShift;
    case SDLK_LCTRL: case SDLK_RCTRL: return vbKeyControl;
    case SDLK_LALT: case SDLK_RALT: return vbKeyMenu;
    case SDLK_PAUSE: return vbKeyPause;
    case SDLK_CAPSLOCK: return 20;
    case SDLK_ESCAPE: return vbKeyEscape;
    case SDLK_SPACE: return vbKeySpace;
    case SDLK_PAGEUP: return vbKeyPageUp;
    case SDLK_PAGEDOWN: return vbKeyPageDown;
    case SDLK_END: return vbKeyEnd;
    case SDLK_HOME: return vbKeyHome;
    case SDLK_LEFT: return vbKeyLeft;
    case SDLK_UP: return vbKeyUp;
    case SDLK_RIGHT: return vbKeyRight;
    case SDLK_DOWN: return vbKeyDown;
    case SDLK_INSERT: return vbKeyInsert;
    case SDLK_DELETE: return vbKeyDelete;
    case SDLK_KP_MULTIPLY: return 106;
    case SDLK_KP_PLUS: return 107;
    case SDLK_KP_MINUS: return 109;
    case SDLK_KP_PERIOD: return 110;
    case SDLK_KP_DIVIDE: return 111;
    case SDLK_NUMLOCKCLEAR: return 144;
    case SDLK_SCROLLLOCK: return 145;
    default: break;
  }
  if (k.scancode >= SDL_SCANCODE_KP_1 && k.scancode <= SDL_SCANCODE_KP_9)
    return vbKeyNumpad0 + 1 + int(k.scancode - SDL_SCANCODE_KP_1);
  if (k.scancode == SDL_SCANCODE_KP_0) return vbKeyNumpad0;
  // Punctuation by position (the layout's own letters like ü come through text input).
  switch (k.scancode) {
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    case SDL_SCANCODE_NONUSBACKSLASH: return 226;
    default: return 0;
  }
}

// The focused control when it can take keys now.
Control* FocusTarget(Form& f) {
  Control* c = f.ActiveControl();
  if (!c || !c->WantsKeys()) return nullptr;
  for (const Control* p = c; p; p = dynamic_cast<const Control*>(p->Parent()))
    if (!p->Visible() || !p->Enabled()) return nullptr;
  return c;
}

CommandButton* FindButton(Container& c, bool defaultButton) {
  for (Control* ch : c.Children()) {
    if (auto* b = dynamic_cast<CommandButton*>(ch))
      if (b->Visible() && b->Enabled() && (defaultButton ? b->Default : b->Cancel)) return b;
    if (auto* sub = dynamic_cast<Container*>(ch))
      if (ch->Visible())
        if (CommandButton* b = FindButton(*sub, defaultButton)) return b;
  }
  return nullptr;
}

void MoveFocus(Form& f, bool backwards) {
  auto order = TabOrder(f);
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), f.ActiveControl());
  size_t i = it == order.end() ? (backwards ? order.size() - 1 : 0)
                               : (backwards ? (size_t(it - order.begin()) + order.size() - 1) % order.size()
                                            : (size_t(it - order.begin()) + 1) % order.size());
  f.SetFocusTo(order[i]);
}

bool Alive(intptr_t form) {
  Form* f = Form::FromHandle(form);
  return f && f->Loaded();
}

void DeliverKeyPress(Form& f, int ascii) {
  const intptr_t fh = f.hWnd();
  Control* fc = FocusTarget(f);
  const intptr_t ch = fc ? fc->hWnd() : 0;
  int k = ascii;
  if (f.KeyPreview || !fc) {
    f.Form_KeyPress(k);
    if (!Alive(fh)) return;
  }
  if (k == 0 || !fc) return;
  if (Control* c = Control::FromHandle(ch)) c->OnKeyPress(k);
}

void DeliverKey(Form& f, int vk, bool down, int shift) {
  const intptr_t fh = f.hWnd();
  Control* fc = FocusTarget(f);
  const intptr_t ch = fc ? fc->hWnd() : 0;
  int code = vk;
  if (f.KeyPreview || !fc) {
    if (down) f.Form_KeyDown(code, shift);
    else f.Form_KeyUp(code, shift);
    if (!Alive(fh)) return;
  }
  if (code == 0) return;
  fc = ch ? Control::FromHandle(ch) : nullptr;
  if (!down) {
    if (fc) fc->OnKeyUp(code, shift);
    return;
  }
  if (code == vbKeyTab && !(shift & (vbCtrlMask | vbAltMask))) {
    MoveFocus(f, shift & vbShiftMask);
    return;
  }
  const bool focusIsButton = dynamic_cast<CommandButton*>(fc) != nullptr;
  const auto* tb = dynamic_cast<TextBox*>(fc);
  if (fc) fc->OnKeyDown(code, shift);
  if (code == 0 || !Alive(fh)) return;
  if ((code == vbKeyReturn && !focusIsButton && !(tb && tb->MultiLine)) || code == vbKeyEscape) {
    if (CommandButton* b = FindButton(f, code == vbKeyReturn)) {
      Handler click = b->Click;
      if (click) click();
      return;
    }
  }
  if (code == vbKeyBack || code == vbKeyReturn || code == vbKeyEscape) DeliverKeyPress(f, code);
}

void DeliverMouse(Form& f, int kind, int button, int x, int y, int clicks) {
  Form::Impl* im = f.impl();
  const intptr_t fh = f.hWnd();
  im->mouseX = x;
  im->mouseY = y;
  im->mouseInside = x >= 0 && y >= 0 && x < f.ScaleWidth() && y < f.ScaleHeight();
  P().pointer = fh;
  const int shift = ShiftBits();
  int rx = x, ry = y;
  Control* target = nullptr;
  bool onForm = false;
  if (im->buttonsDown && (im->capture || im->captureForm)) {
    target = im->capture;
    onForm = !target;
    if (target) {
      int cx, cy;
      ClientOrigin(target, cx, cy);
      rx = x - cx;
      ry = y - cy;
    }
  } else {
    target = HitTest(f, x, y, rx, ry);
    onForm = !target;
  }
  const intptr_t th = target ? target->hWnd() : 0;
  auto still = [&]() { return Alive(fh) && (onForm || Control::FromHandle(th)); };
  NoteMouseActivity(&f, target, x, y, kind == 1);

  if (kind == 1) {
    const bool first = im->buttonsDown == 0;
    im->buttonsDown |= button;
    if (first) {
      im->capture = target;
      im->captureForm = onForm;
    }
    if (target && target->WantsKeys()) f.SetFocusTo(target);
    if (target) {
      target->OnMouse(1, button, rx, ry);
      MouseHandler h = target->MouseDown;
      if (h && still()) h(button, shift, float(rx), float(ry));
      if (clicks == 2 && still()) {
        // The release of a double click gives no second Click.
        im->doubleClicked = true;
        Handler d = Control::FromHandle(th) ? target->DblClick : Handler{};
        if (d) d();
      }
    } else {
      f.Form_MouseDown(button, shift, float(rx), float(ry));
    }
  } else if (kind == 2) {
    const bool wasCaptured = (im->buttonsDown & button) != 0;
    im->buttonsDown &= ~button;
    if (!im->buttonsDown) {
      im->capture = nullptr;
      im->captureForm = false;
    }
    bool inside = true;
    if (target) {
      target->OnMouse(2, button, rx, ry);
      inside = rx >= 0 && ry >= 0 && rx < target->Width() && ry < target->Height();
      MouseHandler h = target->MouseUp;
      if (h && still()) h(button, shift, float(rx), float(ry));
      const bool afterDouble = std::exchange(im->doubleClicked, false);
      if (button == vbLeftButton && wasCaptured && inside && !afterDouble && still()) {
        Handler c = target->Click;
        if (c) c();
      }
    } else {
      f.Form_MouseUp(button, shift, float(rx), float(ry));
      if (button == vbLeftButton && wasCaptured && Alive(fh)) f.Form_Click();
    }
  } else {
    if (target) {
      target->OnMouse(0, im->buttonsDown, rx, ry);
      MouseHandler h = target->MouseMove;
      if (h && still()) h(im->buttonsDown, shift, float(rx), float(ry));
    } else {
      f.Form_MouseMove(im->buttonsDown, shift, float(rx), float(ry));
    }
  }
}

void SetKey(int vk, bool down, const SDL_Keysym* k) {
  if (vk <= 0 || vk > 255) return;
  SetKeyState(vk, down);
  if (!k) return;
  // The left/right forms of the modifier keys, as the classic key table keeps them too.
  switch (k->sym) {
    case SDLK_LSHIFT: SetKeyState(160, down); break;
    case SDLK_RSHIFT: SetKeyState(161, down); break;
    case SDLK_LCTRL: SetKeyState(162, down); break;
    case SDLK_RCTRL: SetKeyState(163, down); break;
    case SDLK_LALT: SetKeyState(164, down); break;
    case SDLK_RALT: SetKeyState(165, down); break;
    default: break;
  }
}

void HandleWindowEvent(const SDL_WindowEvent& w) {
  Form* f = FormByWindow(w.windowID);
  if (!f) return;
  Form::Impl* im = f->impl();
  switch (w.event) {
    case SDL_WINDOWEVENT_CLOSE:
      if (f->ControlBox && (P().modal.empty() || P().modal.back() == f)) f->Unload(vbFormControlMenu);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      im->needsCompose = true;
      PresentForm(*f, true);
      if (Form::FromHandle(f->hWnd()) && !f->AutoRedraw()) f->Form_Paint();
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (w.data1 != f->ScaleWidth() || w.data2 != f->ScaleHeight()) {
        f->ResizeSurface(w.data1, w.data2);
        im->needsCompose = true;
        if (f->Loaded() && f->Visible()) f->Form_Resize();
      }
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      P().active = f->hWnd();
      im->needsCompose = true;
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // Keys released elsewhere never come back to us.
      ClearKeyStates();
      break;
    case SDL_WINDOWEVENT_ENTER:
      P().pointer = f->hWnd();
      im->mouseInside = true;
      break;
    case SDL_WINDOWEVENT_LEAVE:
      im->mouseInside = false;
      if (P().pointer == f->hWnd()) P().pointer = 0;
      NoteMouseActivity(nullptr, nullptr, 0, 0, false);
      break;
    default: break;
  }
}

int SdlButton(uint8_t b) {
  switch (b) {
    case SDL_BUTTON_LEFT: return vbLeftButton;
    case SDL_BUTTON_RIGHT: return vbRightButton;
    case SDL_BUTTON_MIDDLE: return vbMiddleButton;
    default: return 0;
  }
}

void Dispatch(QEvent& e) {
  if (e.kind != QEvent::Sdl) {
    Form* f = Form::FromHandle(e.form);
    switch (e.kind) {
      case QEvent::Key:
        SetKey(e.a, e.down, nullptr);
        if (TakesInput(f)) DeliverKey(*f, e.a, e.down, e.b);
        break;
      case QEvent::Char:
        for (unsigned char ch : e.text) {
          f = Form::FromHandle(e.form);
          if (TakesInput(f)) DeliverKeyPress(*f, ch);
        }
        break;
      case QEvent::Mouse:
        if (TakesInput(f)) DeliverMouse(*f, e.a, e.b, e.c, e.d, 1);
        break;
      case QEvent::Close:
        if (f && f->ControlBox && TakesInput(f)) f->Unload(vbFormControlMenu);
        break;
      default: break;
    }
    return;
  }
  const SDL_Event& ev = e.sdl;
  switch (ev.type) {
    case SDL_WINDOWEVENT: HandleWindowEvent(ev.window); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const int vk = VirtualKey(ev.key.keysym);
      const bool down = ev.type == SDL_KEYDOWN;
      SetKey(vk, down, &ev.key.keysym);
      Form* f = FormByWindow(ev.key.windowID);
      if (!f) f = Form::FromHandle(P().active);
      if (vk && TakesInput(f)) DeliverKey(*f, vk, down, ShiftBits());
      break;
    }
    case SDL_TEXTINPUT: {
      Form* f = FormByWindow(ev.text.windowID);
      if (!f) f = Form::FromHandle(P().active);
      const intptr_t fh = f ? f->hWnd() : 0;
      for (unsigned char ch : FromUtf8(ev.text.text)) {
        f = Form::FromHandle(fh);
        if (TakesInput(f)) DeliverKeyPress(*f, ch);
      }
      break;
    }
    case SDL_MOUSEMOTION: {
      Form* f = FormByWindow(ev.motion.windowID);
      if (TakesInput(f)) DeliverMouse(*f, 0, 0, ev.motion.x, ev.motion.y, 1);
      else if (f) {
        f->impl()->mouseX = ev.motion.x;
        f->impl()->mouseY = ev.motion.y;
      }
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      Form* f = FormByWindow(ev.button.windowID);
      const int b = SdlButton(ev.button.button);
      if (b && TakesInput(f)) {
        DeliverMouse(*f, ev.type == SDL_MOUSEBUTTONDOWN ? 1 : 2, b, ev.button.x, ev.button.y,
                     ev.button.clicks);
      } else if (f && ev.type == SDL_MOUSEBUTTONDOWN && !P().modal.empty()) {
        // A click on a window under a modal one brings the modal one forward.
        if (SDL_Window* mw = P().modal.back()->impl()->window) SDL_RaiseWindow(mw);
      }
      break;
    }
    case SDL_MOUSEWHEEL: {
      Form* f = FormByWindow(ev.wheel.windowID);
      if (!TakesInput(f)) break;
      int rx, ry;
      Control* c = HitTest(*f, f->impl()->mouseX, f->impl()->mouseY, rx, ry);
      if (!c) c = FocusTarget(*f);
      if (c) c->OnWheel(ev.wheel.y);
      break;
    }
    default: break;
  }
}

// Moves SDL's pending events into our queue (they keep their order with posted events).
void TakeSdlEvents() {
  if (!P().events) return;
  SDL_PumpEvents();
  SDL_Event evs[64];
  for (;;) {
    const int n = SDL_PeepEvents(evs, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    if (n <= 0) break;
    for (int i = 0; i < n; ++i) {
      if (evs[i].type == SDL_POLLSENTINEL || evs[i].type == SDL_QUIT) continue;
      QEvent q;
      q.sdl = evs[i];
      P().queue.push_back(std::move(q));
    }
  }
}

void RunHooks(uint64_t now) {
  uint64_t due = UINT64_MAX;
  std::vector<int> ids;
  for (const Hook& h : P().hooks) ids.push_back(h.id);
  for (int id : ids) {
    auto it = std::find_if(P().hooks.begin(), P().hooks.end(), [&](const Hook& h) { return h.id == id; });
    if (it == P().hooks.end()) continue;
    PumpHook fn = it->fn;
    due = std::min(due, fn(now));
  }
  P().hookDue = due;
}

int OuterBorders(const Form& f, int& l, int& t, int& r, int& b) {
  l = t = r = b = 0;
  if (f.impl()->window) SDL_GetWindowBordersSize(f.impl()->window, &t, &l, &b, &r);
  return 0;
}

}  // namespace

// ---- Runtime start and stop --------------------------------------------------------------

namespace {
// Without a display SDL falls back to drivers that draw nowhere: a game on them would run
// unseen and could never be closed. They serve only when asked for by name (tests do).
bool InvisibleDriver() {
  const char* d = SDL_GetCurrentVideoDriver();
  if (!d || ShowsWindows()) return false;
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  const char* hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if ((asked && *asked) || (hint && *hint)) return false;
  SDL_SetError("only the %s driver, which shows nothing", d);
  return true;
}
}  // namespace

bool ShowsWindows() {
  const char* d = SDL_GetCurrentVideoDriver();
  return d && SDL_strcmp(d, "offscreen") != 0 && SDL_strcmp(d, "dummy") != 0;
}

bool EnsureRuntime() {
  PumpState& s = P();
  if (s.tried) return s.video;
  s.tried = true;
  // Ctrl+C must still end the process; the close box is handled per window.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // The window surface goes to the screen through the plain X11 (shared-memory) framebuffer,
  // not an OpenGL texture: for a 640x480 picture that costs no more on a real GPU, and without
  // one the texture means a software rasteriser with its threads and 80 MB of libraries. The
  // user's own SDL_FRAMEBUFFER_ACCELERATION in the environment still wins over this hint.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
    s.video = s.events = true;
    if (InvisibleDriver()) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      s.video = s.events = false;
    }
  }
  if (s.video) {
    SDL_StartTextInput();
  } else {
    std::fprintf(stderr, "norvalde: no video device (%s); windows stay invisible\n", SDL_GetError());
    s.events = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
  }
  return s.video;
}

bool HaveVideo() { return EnsureRuntime(); }

bool DisplayAvailable() { return EnsureRuntime(); }

void ShutdownRuntime() {
  PumpState& s = P();
  for (Form* f : AllForms()) {
    DestroyWindowFor(*f);
    FormUnloaded(*f);
  }
  ResetPointerState();
  s.queue.clear();
  s.modal.clear();
  s.active = s.pointer = 0;
  s.xfd = -1;
  if (s.video) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  else if (s.events) SDL_QuitSubSystem(SDL_INIT_EVENTS);
  s.tried = s.video = s.events = false;
}

// ---- Windows -----------------------------------------------------------------------------

void CreateWindowFor(Form& f) {
  Form::Impl* im = f.impl();
  if (im->window || !EnsureRuntime()) return;
  int w = f.ScaleWidth(), h = f.ScaleHeight();
  if (w <= 0 || h <= 0) {
    w = kDefaultW;
    h = kDefaultH;
    f.ResizeSurface(w, h);
  }
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (f.BorderStyle == 0) flags |= SDL_WINDOW_BORDERLESS;
  if (f.BorderStyle == 2) flags |= SDL_WINDOW_RESIZABLE;
  if (!f.ShowInTaskbar) flags |= SDL_WINDOW_SKIP_TASKBAR;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  Form* owner = Form::FromHandle(im->owner);
  if (im->placed) {
    x = im->placeX;
    y = im->placeY;
  } else if (f.StartUpPosition == 1 && owner && owner->impl()->window) {
    int ox, oy;
    SDL_GetWindowPosition(owner->impl()->window, &ox, &oy);
    x = std::max(0, ox + (owner->ScaleWidth() - w) / 2);
    y = std::max(0, oy + (owner->ScaleHeight() - h) / 2);
  }
  im->window = SDL_CreateWindow(ToUtf8(f.Caption).c_str(), x, y, w, h, flags);
  if (!im->window) {
    std::fprintf(stderr, "norvalde: cannot open a window for \"%s\": %s\n",
                 ToUtf8(f.Caption).c_str(), SDL_GetError());
    return;
  }
  im->windowId = SDL_GetWindowID(im->window);
  im->title = f.Caption;
  if (im->minW > 0 || im->minH > 0) SDL_SetWindowMinimumSize(im->window, std::max(im->minW, 1), std::max(im->minH, 1));
  if (P().xfd < 0) P().xfd = X11ConnectionFd(im->window);
  im->needsCompose = true;
}

void DestroyWindowFor(Form& f) {
  Form::Impl* im = f.impl();
  if (!im->window) return;
  SDL_DestroyWindow(im->window);
  im->window = nullptr;
  im->windowId = 0;
}

void ShowWindowFor(Form& f, bool show) {
  if (show) {
    CreateWindowFor(f);
    if (SDL_Window* w = f.impl()->window) {
      const Form* owner = Form::FromHandle(f.impl()->owner);
      SetWindowManagerHints(w, {f.BorderStyle, !f.Caption.empty(), f.ControlBox, f.MinButton, f.MaxButton},
                            owner ? owner->impl()->window : nullptr, f.impl()->modal);
      SDL_ShowWindow(w);
      SDL_RaiseWindow(w);
      if (f.impl()->modal) TakeKeyboardWithoutWm(w);
    }
    P().active = f.hWnd();
    PresentForm(f, true);
  } else {
    if (SDL_Window* w = f.impl()->window) SDL_HideWindow(w);
    if (P().active == f.hWnd()) P().active = 0;
  }
}

void SyncWindow(Form& f) {
  SDL_Window* w = f.impl()->window;
  if (!w) return;
  f.impl()->title = f.Caption;
  SDL_SetWindowTitle(w, ToUtf8(f.Caption).c_str());
  int cw, ch;
  SDL_GetWindowSize(w, &cw, &ch);
  if (cw != f.ScaleWidth() || ch != f.ScaleHeight())
    SDL_SetWindowSize(w, std::max(f.ScaleWidth(), 1), std::max(f.ScaleHeight(), 1));
  const Form::Impl* im = f.impl();
  SDL_SetWindowMinimumSize(w, std::max(im->minW, 1), std::max(im->minH, 1));
}

void FormUnloaded(Form& f) {
  Form::Impl* im = f.impl();
  DestroyWindowFor(f);
  im->capture = nullptr;
  im->captureForm = false;
  im->buttonsDown = 0;
  im->mouseInside = false;
  if (P().active == f.hWnd()) P().active = 0;
  if (P().pointer == f.hWnd()) {
    P().pointer = 0;
    NoteMouseActivity(nullptr, nullptr, 0, 0, false);
  }
}

void PushModal(Form* f) { P().modal.push_back(f); }
void PopModal(Form* f) {
  auto& m = P().modal;
  const bool wasTop = !m.empty() && m.back() == f;
  m.erase(std::remove(m.begin(), m.end(), f), m.end());
  if (!wasTop) return;
  // The keyboard goes back to the window below (the owner, or the next modal one).
  Form* next = !m.empty() ? m.back() : Form::FromHandle(f->impl()->owner);
  if (next && next->Loaded() && next->Visible()) {
    P().active = next->hWnd();
    if (SDL_Window* w = next->impl()->window) {
      SDL_RaiseWindow(w);
      TakeKeyboardWithoutWm(w);
    }
  }
}

Form* ActiveForm() {
  if (!P().modal.empty()) return P().modal.back();
  Form* f = Form::FromHandle(P().active);
  return f && f->Loaded() && f->Visible() ? f : nullptr;
}

Form* PointerForm() { return Form::FromHandle(P().pointer); }

int Form::OuterWidthPx() const {
  int l, t, r, b;
  OuterBorders(*this, l, t, r, b);
  return ScaleWidth() + l + r;
}

int Form::OuterHeightPx() const {
  int l, t, r, b;
  OuterBorders(*this, l, t, r, b);
  return ScaleHeight() + t + b;
}

void Form::SetWidth(int twips) {
  int l, t, r, b;
  OuterBorders(*this, l, t, r, b);
  SetClientSize(int(CLng(twips / 15.0)) - l - r, ScaleHeight());
}

void Form::SetHeight(int twips) {
  int l, t, r, b;
  OuterBorders(*this, l, t, r, b);
  SetClientSize(ScaleWidth(), int(CLng(twips / 15.0)) - t - b);
}

int Form::Left() const {
  int x = 0, y = 0, l, t, r, b;
  if (impl_->window) SDL_GetWindowPosition(impl_->window, &x, &y);
  OuterBorders(*this, l, t, r, b);
  return x - l;
}

int Form::Top() const {
  int x = 0, y = 0, l, t, r, b;
  if (impl_->window) SDL_GetWindowPosition(impl_->window, &x, &y);
  OuterBorders(*this, l, t, r, b);
  return y - t;
}

void Form::MoveWindow(int leftPx, int topPx) {
  int l, t, r, b;
  OuterBorders(*this, l, t, r, b);
  impl_->placed = true;
  impl_->placeX = leftPx + l;
  impl_->placeY = topPx + t;
  if (impl_->window) SDL_SetWindowPosition(impl_->window, leftPx + l, topPx + t);
}

int Form::WindowState() const {
  if (!impl_->window) return 0;
  const Uint32 fl = SDL_GetWindowFlags(impl_->window);
  return fl & SDL_WINDOW_MINIMIZED ? 1 : fl & SDL_WINDOW_MAXIMIZED ? 2 : 0;
}

// ---- Presenting --------------------------------------------------------------------------

namespace {
// What has to be composed again: everything, or the bounding box of the surfaces whose pixels
// changed (form client pixels).
struct Damage {
  bool full = false;
  Clip box{0, 0, 0, 0};
  bool Any() const { return full || (box.l < box.r && box.t < box.b); }
  void Add(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    if (box.l >= box.r || box.t >= box.b) {
      box = Clip{x, y, x + w, y + h};
      return;
    }
    box = Clip{std::min(box.l, x), std::min(box.t, y), std::max(box.r, x + w), std::max(box.b, y + h)};
  }
};

// Takes every change flag of the form's visible tree. A control that moved, resized or changes
// its look damages everything (its old place is not known); a picture surface that only drew
// damages its own area. Hidden surfaces have their flags taken too, so a later showing starts
// clean.
void CollectChanges(Container& c, bool shown, Damage& d) {
  for (Control* ch : c.Children()) {
    const uint64_t digest = ch->LookDigest();
    if (digest != ch->lastDigest_) {
      ch->lastDigest_ = digest;
      d.full = true;
    }
    const bool vis = shown && ch->Visible();
    if (auto* s = dynamic_cast<Surface*>(ch)) {
      if (s->TakeScreenChanged() && vis) {
        int x, y;
        ClientOrigin(ch, x, y);
        d.Add(x, y, s->ScaleWidth(), s->ScaleHeight());
      }
    }
    if (auto* sub = dynamic_cast<Container*>(ch)) CollectChanges(*sub, vis, d);
  }
}

void ComposeTree(Container& c, std::vector<Color>& frame, int fw, int fh, int ox, int oy, const Clip& clip) {
  for (Control* ch : c.Children()) {
    if (!ch->Visible()) continue;
    ch->Compose(frame, fw, fh, ox, oy, clip.l, clip.t, clip.r, clip.b);
  }
}

// The part of area r in which frame now differs from frame shown (w pixels a row); empty
// (l == r) when nothing does.
Clip ChangedPart(const std::vector<Color>& now, const std::vector<Color>& shown, int w, const Clip& r) {
  Clip c{r.r, r.b, r.l, r.t};
  for (int y = r.t; y < r.b; ++y) {
    const Color* a = now.data() + size_t(y) * w;
    const Color* b = shown.data() + size_t(y) * w;
    if (std::equal(a + r.l, a + r.r, b + r.l)) continue;
    int left = r.l, right = r.r - 1;
    while (a[left] == b[left]) ++left;
    while (a[right] == b[right]) --right;
    c = Clip{std::min(c.l, left), std::min(c.t, y), std::max(c.r, right + 1), y + 1};
  }
  if (c.l >= c.r) return Clip{0, 0, 0, 0};
  return c;
}

// Composes one area of the kept frame again; the rest still shows what it showed.
void ComposeArea(Form& f, const Clip& r) {
  Form::Impl* im = f.impl();
  const int w = im->composedW;
  const std::vector<Color>& own = f.ScreenPixels();
  const bool haveOwn = own.size() >= size_t(w) * im->composedH;
  for (int y = r.t; y < r.b; ++y) {
    Color* dst = im->composed.data() + size_t(y) * w;
    if (haveOwn) std::copy(own.begin() + ptrdiff_t(size_t(y) * w + r.l), own.begin() + ptrdiff_t(size_t(y) * w + r.r), dst + r.l);
    else std::fill(dst + r.l, dst + r.r, f.BackColor);
  }
  ComposeTree(f, im->composed, w, im->composedH, 0, 0, r);
  DrawTooltip(f, im->composed, w, im->composedH);
}
}  // namespace

void ComposeChildren(Container& c, std::vector<Color>& frame, int fw, int fh, int ox, int oy,
                     const Clip& clip) {
  ComposeTree(c, frame, fw, fh, ox, oy, clip);
}

const std::vector<Color>& Form::ComposedFrame() {
  Impl* im = impl_;
  const int w = ScaleWidth(), h = ScaleHeight();
  im->composed = ScreenPixels();
  im->composed.resize(size_t(w) * h, BackColor);
  im->composedW = w;
  im->composedH = h;
  ComposeTree(*this, im->composed, w, h, 0, 0, Clip{0, 0, w, h});
  DrawTooltip(*this, im->composed, w, h);
  im->needsCompose = false;
  return im->composed;
}

void PresentForm(Form& f, bool force) {
  Form::Impl* im = f.impl();
  Damage d;
  d.full = f.TakeScreenChanged() || force || im->needsCompose;
  CollectChanges(f, true, d);
  if (!d.Any()) return;
  // An animation that draws into one picture box (the menu's bars, a video) composes and sends
  // only that box.
  const int fw = f.ScaleWidth(), fh = f.ScaleHeight();
  if (im->composedW != fw || im->composedH != fh || im->composed.size() != size_t(fw) * fh) d.full = true;
  Clip r{0, 0, fw, fh};
  if (d.full) {
    f.ComposedFrame();
  } else {
    r = Intersect(d.box, 0, 0, fw, fh);
    if (r.l >= r.r || r.t >= r.b) return;
    ComposeArea(f, r);
  }
  SDL_Window* w = im->window;
  if (!w) return;
  SDL_Surface* dst = SDL_GetWindowSurface(w);
  if (!dst) return;
  // A sprite drawn again in its place changes no pixel: nothing goes to the screen then, and
  // otherwise only the part that differs from what the window shows.
  if (!d.full && im->shownSurface == dst && im->shown.size() == im->composed.size()) {
    r = ChangedPart(im->composed, im->shown, fw, r);
    if (r.l >= r.r) return;
  }
  SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(
      im->composed.data(), im->composedW, im->composedH, 32, im->composedW * 4,
      SDL_PIXELFORMAT_XBGR8888);
  if (!src) return;
  SDL_Rect area{r.l, r.t, r.r - r.l, r.b - r.t};
  SDL_BlitSurface(src, &area, dst, &area);
  SDL_FreeSurface(src);
  if (d.full) {
    SDL_UpdateWindowSurface(w);
    im->shown = im->composed;
  } else {
    SDL_UpdateWindowSurfaceRects(w, &area, 1);
    for (int y = r.t; y < r.b; ++y) {
      const size_t at = size_t(y) * fw;
      std::copy(im->composed.begin() + ptrdiff_t(at + r.l), im->composed.begin() + ptrdiff_t(at + r.r),
                im->shown.begin() + ptrdiff_t(at + r.l));
    }
  }
  im->shownSurface = dst;
  ++im->presents;
}

int PresentCount(const Form& f) { return f.impl()->presents; }

// ---- Pump --------------------------------------------------------------------------------

void DoEvents() {
  EnsureRuntime();
  TakeSdlEvents();
  // Events that handlers post meanwhile wait for the next call.
  for (size_t n = P().queue.size(); n > 0 && !P().queue.empty(); --n) {
    QEvent e = std::move(P().queue.front());
    P().queue.pop_front();
    Dispatch(e);
  }
  RunDueTimers();
  RunHooks(timeGetTime());
  UpdatePointer();
  std::vector<intptr_t> shown;
  for (Form* f : AllForms())
    if (f->Loaded() && f->Visible()) shown.push_back(f->hWnd());
  for (intptr_t h : shown) {
    Form* f = Form::FromHandle(h);
    if (!f || !f->Loaded() || !f->Visible()) continue;
    if (f->impl()->window && f->Caption != f->impl()->title) SyncWindow(*f);  // Caption is a plain field
    PresentForm(*f, false);
  }
}

void WaitForEvent(uint64_t deadline_ms) {
  EnsureRuntime();
  TakeSdlEvents();
  if (!P().queue.empty()) return;
  const uint64_t now = timeGetTime();
  uint64_t wake = std::min({deadline_ms, NextTimerDue(), P().hookDue, TooltipDue()});
  if (wake <= now) return;
  if (IsVirtualClock()) {
    // Nothing can happen before the next due time: the virtual clock jumps there. With nothing
    // due at all, time still moves on a little so that a waiting loop cannot stall the clock.
    AdvanceClock(wake == UINT64_MAX ? 10 : wake - now);
    return;
  }
  // Sleep at most a second at a time: events that other threads push into SDL's queue have no
  // file descriptor to wake us.
  wake = std::min(wake, now + 1000);
  // The clock counts whole milliseconds of CLOCK_MONOTONIC; reading that clock too lets the
  // sleep end right at the mark instead of up to a millisecond late.
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const int64_t nowNs = int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  int64_t leftNs = int64_t(wake) * 1000000 - nowNs;
  const int64_t coarseNs = int64_t(wake - now) * 1000000;
  if (leftNs > coarseNs || leftNs < coarseNs - 1000000) leftNs = coarseNs;  // another clock after all
  if (leftNs <= 0) return;
  if (P().xfd >= 0) {
    // The X connection: the X server's events wake us; nothing polls meanwhile.
    pollfd pfd{P().xfd, POLLIN, 0};
    const timespec t{time_t(leftNs / 1000000000), long(leftNs % 1000000000)};
    ppoll(&pfd, 1, &t, nullptr);
  } else if (P().video && std::string(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") != "dummy") {
    SDL_WaitEventTimeout(nullptr, int((leftNs + 999999) / 1000000));
  } else {
    // No window system: only posted events and timers can wake us, and those are known.
    const timespec t{time_t(leftNs / 1000000000), long(leftNs % 1000000000)};
    nanosleep(&t, nullptr);
  }
}

int AddPumpHook(PumpHook h) {
  const int id = P().nextHook++;
  P().hooks.push_back(Hook{id, std::move(h)});
  P().hookDue = 0;  // run it at the next pump
  return id;
}

void RemovePumpHook(int id) {
  auto& v = P().hooks;
  v.erase(std::remove_if(v.begin(), v.end(), [&](const Hook& h) { return h.id == id; }), v.end());
}

// ---- Posted input (tests) ----------------------------------------------------------------

void PostKey(Form& f, int keyCode, bool down, int shift) {
  QEvent q;
  q.kind = QEvent::Key;
  q.form = f.hWnd();
  q.a = keyCode;
  q.b = shift;
  q.down = down;
  P().queue.push_back(std::move(q));
}

void PostChar(Form& f, const std::string& cp1252) {
  QEvent q;
  q.kind = QEvent::Char;
  q.form = f.hWnd();
  q.text = cp1252;
  P().queue.push_back(std::move(q));
}

void PostMouse(Form& f, int kind, int button, int x, int y) {
  QEvent q;
  q.kind = QEvent::Mouse;
  q.form = f.hWnd();
  q.a = kind;
  q.b = button;
  q.c = x;
  q.d = y;
  P().queue.push_back(std::move(q));
}

void PostClose(Form& f) {
  QEvent q;
  q.kind = QEvent::Close;
  q.form = f.hWnd();
  P().queue.push_back(std::move(q));
}

// ---- Screen ------------------------------------------------------------------------------

int ScreenWidth() {
  SDL_Rect r;
  if (EnsureRuntime() && SDL_GetDisplayBounds(0, &r) == 0 && r.w > 0) return r.w;
  return 640;
}

int ScreenHeight() {
  SDL_Rect r;
  if (EnsureRuntime() && SDL_GetDisplayBounds(0, &r) == 0 && r.h > 0) return r.h;
  return 480;
}

}  // namespace rt
