// Message boxes: a real modal box on screen, or a recorder installed by tests.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "runtime/forms_internal.h"
#include "runtime/internal.h"
#include "runtime/text.h"
#include "runtime/wm_hints.h"

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

// Where a long line may break: after a blank or a path separator, else anywhere.
size_t BreakAt(const std::string& line, size_t from, size_t width) {
  if (line.size() - from <= width) return line.size();
  for (size_t i = from + width; i > from + width / 2; --i) {
    const char c = line[i - 1];
    if (c == ' ' || c == '\\' || c == '/' || c == ',') return i;
  }
  return from + width;
}
}  // namespace

// The box grows with its longest line and the helper that draws it fails on a very wide one,
// so lines are wrapped and an overlong line (a file name of thousands of characters) keeps
// only its start and end.
std::string MsgBoxLines(const std::string& text) {
  constexpr size_t kWidth = 72, kLongest = 6 * kWidth, kMaxLines = 24;
  std::vector<std::string> lines;
  const std::string all = LineFeeds(text);
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(all.find('\n', start), all.size());
    std::string line = all.substr(start, end - start);
    if (line.size() > kLongest) {
      const size_t keep = (kLongest - 5) / 2;
      line = line.substr(0, keep) + " ... " + line.substr(line.size() - keep);
    }
    size_t from = 0;
    do {
      const size_t cut = BreakAt(line, from, kWidth);
      std::string part = line.substr(from, cut - from);
      if (cut < line.size() && !part.empty() && part.back() == ' ') part.pop_back();
      lines.push_back(std::move(part));
      from = cut;
    } while (from < line.size());
    if (end >= all.size()) break;
    start = end + 1;
  }
  if (lines.size() > kMaxLines) {
    lines.resize(kMaxLines - 1);
    lines.push_back("...");
  }
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
  return out;
}

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
  const std::string utfTitle = ToUtf8(shownTitle), utfText = ToUtf8(MsgBoxLines(text));
  SDL_Window* parent = nullptr;
  const bool shown = EnsureRuntime() && ShowsWindows();
  if (shown)
    if (Form* a = ActiveForm()) parent = a->impl()->window;
  const SDL_MessageBoxData data{flags, parent, utfTitle.c_str(), utfText.c_str(), int(bs.size()), bs.data(), nullptr};
  int chosen = -1;
  const ForkedHelpersEndWithUs helper;  // SDL draws the box in a child process
  const BoxKeyboard keyboard(parent);
  // Where windows are not seen, a box would not be either (SDL may hand it to a helper program
  // that cannot open it and answers Cancel).
  if (!shown || SDL_ShowMessageBox(&data, &chosen) != 0) {
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
