// Message boxes: a real modal box on screen, or a recorder installed by tests.
#include <SDL.h>

#include <cstdio>

#include "runtime/forms_internal.h"
#include "runtime/internal.h"
#include "runtime/text.h"

namespace rt {

namespace {
MsgBoxHook& Hook() {
  static MsgBoxHook h;
  return h;
}

// The box's own text breaks lines at LF only.
std::string LineFeeds(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out += '\n';
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}
}  // namespace

void SetMsgBoxHook(MsgBoxHook hook) { Hook() = std::move(hook); }

int MsgBox(const std::string& text, int buttons, const std::string& title) {
  const std::string shownTitle = title.empty() ? std::string("Norvalde") : title;
  if (Hook()) {
    MsgBoxHook h = Hook();
    return h(text, buttons, shownTitle);
  }
  const int icon = buttons & 0x70;
  Uint32 flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  if (icon == vbCritical) flags |= SDL_MESSAGEBOX_ERROR;
  else if (icon == vbExclamation) flags |= SDL_MESSAGEBOX_WARNING;
  else if (icon == vbInformation || icon == vbQuestion) flags |= SDL_MESSAGEBOX_INFORMATION;

  std::vector<SDL_MessageBoxButtonData> bs;
  const Uint32 ret = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, esc = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
  switch (buttons & 7) {
    case vbOKCancel: bs = {{ret, vbOK, "OK"}, {esc, vbCancel, "Abbrechen"}}; break;
    case vbYesNo: bs = {{ret, vbYes, "Ja"}, {esc, vbNo, "Nein"}}; break;
    default: bs = {{ret | esc, vbOK, "OK"}}; break;
  }
  const std::string utfTitle = ToUtf8(shownTitle), utfText = ToUtf8(LineFeeds(text));
  SDL_Window* parent = nullptr;
  if (EnsureRuntime())
    if (Form* a = ActiveForm()) parent = a->impl()->window;
  const SDL_MessageBoxData data{flags, parent, utfTitle.c_str(), utfText.c_str(), int(bs.size()), bs.data(), nullptr};
  int chosen = -1;
  if (SDL_ShowMessageBox(&data, &chosen) != 0) {
    // No screen to show it on: the text must not get lost.
    std::fprintf(stderr, "%s: %s\n", utfTitle.c_str(), utfText.c_str());
    return vbOK;
  }
  if (chosen < 0) chosen = bs.size() > 1 ? bs[1].buttonid : vbOK;  // closed by the window manager
  // Keys released while the box had the keyboard never reached the key table.
  ClearKeyStates();
  for (Form* f : AllForms()) f->impl()->needsCompose = true;
  return chosen;
}

}  // namespace rt
