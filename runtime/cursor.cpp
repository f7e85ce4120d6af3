// Mouse pointers (default arrow, arrow with question mark, icons) and tooltips.
#include <SDL.h>

#include <algorithm>

#include "runtime/forms_internal.h"
#include "runtime/system.h"

namespace rt {

namespace {

struct PointerState {
  int kind = -1;  // what is set: vbDefault, vbArrowQuestion, vbCustom
  PicturePtr icon;
  SDL_Cursor* custom = nullptr;  // owned: the icon cursor in use
  SDL_Cursor* arrow = nullptr;
  SDL_Cursor* question = nullptr;
  // Tooltip: the control the pointer rests on, since when, and what is shown.
  intptr_t tipForm = 0, tipControl = 0;
  uint64_t tipSince = 0;
  bool tipShown = false, tipSuppressed = false;
  std::string tipText;
  std::string suppressedText;  // a press hides this tip until the control names another
  int tipX = 0, tipY = 0;
};

PointerState& S() {
  static PointerState* s = new PointerState;  // outlives forms kept in statics
  return *s;
}

constexpr uint64_t kTipDelay = 500;

// 'X' black, '.' white, ' ' transparent; 32 by 32, hot spot at the arrow's tip.
const char* const kHelpArrow[] = {
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X       .......",
    "X......X     .XXXXXXX.",
    "X.......X   .XX.....XX.",
    "X........X  .XX.   .XX.",
    "X.....XXXXX  ..   .XX.",
    "X..X..X          .XX.",
    "X.X X..X        .XX.",
    "XX  X..X        .XX.",
    "X    X..X       ....",
    "     X..X       .XX.",
    "      X..X      .XX.",
    "      X..X      ....",
    "       XX",
};

SDL_Cursor* MakeHelpArrow() {
  uint8_t data[128] = {}, mask[128] = {};
  for (int y = 0; y < int(sizeof kHelpArrow / sizeof *kHelpArrow); ++y) {
    const std::string row = kHelpArrow[y];
    for (int x = 0; x < int(row.size()) && x < 32; ++x) {
      const int byte = y * 4 + x / 8, bit = 0x80 >> (x % 8);
      if (row[size_t(x)] == 'X') {
        data[byte] |= uint8_t(bit);
        mask[byte] |= uint8_t(bit);
      } else if (row[size_t(x)] == '.') {
        mask[byte] |= uint8_t(bit);
      }
    }
  }
  return SDL_CreateCursor(data, mask, 32, 32, 0, 0);
}

SDL_Cursor* MakeIconCursor(const Picture& p) {
  if (p.width <= 0 || p.height <= 0 || p.pixels.size() < size_t(p.width) * p.height) return nullptr;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, p.width, p.height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!s) return nullptr;
  const bool alpha = p.alpha.size() >= p.pixels.size();
  for (int y = 0; y < p.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + size_t(y) * s->pitch);
    for (int x = 0; x < p.width; ++x) {
      const size_t i = size_t(y) * p.width + x;
      const Color c = p.pixels[i];
      const uint32_t a = alpha ? p.alpha[i] : 255;
      row[x] = a << 24 | uint32_t(c & 255) << 16 | uint32_t((c >> 8) & 255) << 8 | uint32_t((c >> 16) & 255);
    }
  }
  // An icon has no hot spot of its own: the classic pointer takes its middle.
  SDL_Cursor* cur = SDL_CreateColorCursor(s, p.width / 2, p.height / 2);
  SDL_FreeSurface(s);
  return cur;
}

bool SamePicture(const Picture& a, const Picture& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels && a.alpha == b.alpha;
}

void Apply(int kind, const PicturePtr& icon) {
  PointerState& s = S();
  const bool video = HaveVideo();
  if (kind == vbCustom) {
    if (!icon) return;  // no icon: the pointer stays as it is
    if (s.kind == vbCustom && s.icon && (s.icon == icon || SamePicture(*s.icon, *icon))) {
      s.icon = icon;
      return;
    }
    SDL_Cursor* c = video ? MakeIconCursor(*icon) : nullptr;
    if (c) SDL_SetCursor(c);
    if (s.custom) SDL_FreeCursor(s.custom);
    s.custom = c;
    s.kind = vbCustom;
    s.icon = icon;
    return;
  }
  if (kind != vbArrowQuestion) kind = vbDefault;
  if (s.kind == kind) return;
  if (video) {
    SDL_Cursor*& c = kind == vbArrowQuestion ? s.question : s.arrow;
    if (!c) c = kind == vbArrowQuestion ? MakeHelpArrow() : SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    if (c) SDL_SetCursor(c);
  }
  if (s.custom) SDL_FreeCursor(s.custom);
  s.custom = nullptr;
  s.kind = kind;
  s.icon = nullptr;
}

void HideTip() {
  PointerState& s = S();
  if (!s.tipShown) return;
  s.tipShown = false;
  if (Form* f = Form::FromHandle(s.tipForm)) f->impl()->needsCompose = true;
}

// The control whose look decides the pointer: the pressed one while buttons are held, else
// the one under the pointer.
Control* PointerControl(Form& f) {
  Form::Impl* im = f.impl();
  if (im->buttonsDown) return im->capture;
  int rx, ry;
  return HitTest(f, im->mouseX, im->mouseY, rx, ry);
}

}  // namespace

void NoteMouseActivity(Form* f, Control* under, int x, int y, bool press) {
  PointerState& s = S();
  const intptr_t fh = f ? f->hWnd() : 0, ch = under ? under->hWnd() : 0;
  if (fh != s.tipForm || ch != s.tipControl) {
    HideTip();
    s.tipForm = fh;
    s.tipControl = ch;
    s.tipSuppressed = false;
    s.tipSince = timeGetTime();
  } else if (press) {
    HideTip();
    s.tipSuppressed = true;
    s.suppressedText = under ? under->ToolTipText : std::string();
  } else if (!s.tipShown) {
    s.tipSince = timeGetTime();  // the pointer must rest before a tip shows
  }
  s.tipX = x;
  s.tipY = y;
}

void UpdatePointer() {
  PointerState& s = S();
  Form* f = PointerForm();
  if (!f || !f->impl()->mouseInside) {
    HideTip();
    return;
  }
  // Pointer: the control's own, else its containers', else the form's.
  Control* c = PointerControl(*f);
  int kind = f->MousePointer;
  PicturePtr icon = f->MouseIcon;
  for (Control* p = c; p; p = dynamic_cast<Control*>(p->Parent())) {
    if (p->MousePointer != vbDefault) {
      kind = p->MousePointer;
      icon = p->MouseIcon;
      break;
    }
  }
  Apply(kind, icon);

  Control* tipCtl = Control::FromHandle(s.tipControl);
  const std::string text = tipCtl && s.tipForm == f->hWnd() ? tipCtl->ToolTipText : std::string();
  if (s.tipSuppressed && text != s.suppressedText) {
    // The control shows something else under the pointer now (a scene naming what is under the
    // mouse): that tip shows once the pointer rests.
    s.tipSuppressed = false;
    s.tipSince = timeGetTime();
  }
  if (text.empty()) {
    HideTip();
  } else if (s.tipShown) {
    if (text != s.tipText) {
      s.tipText = text;
      f->impl()->needsCompose = true;
    }
  } else if (!s.tipSuppressed && timeGetTime() >= s.tipSince + kTipDelay) {
    s.tipShown = true;
    s.tipText = text;
    f->impl()->needsCompose = true;
  }
}

uint64_t TooltipDue() {
  PointerState& s = S();
  if (s.tipShown || s.tipSuppressed || !s.tipControl) return UINT64_MAX;
  Control* c = Control::FromHandle(s.tipControl);
  if (!c || c->ToolTipText.empty()) return UINT64_MAX;
  return s.tipSince + kTipDelay;
}

void DrawTooltip(Form& f, std::vector<Color>& frame, int fw, int fh) {
  PointerState& s = S();
  if (!s.tipShown || s.tipForm != f.hWnd() || s.tipText.empty()) return;
  const Font font;
  const bool lang = s.tipText.size() > kMeasurePiece;
  const int w = CaptionWidth(font, s.tipText) + 6;
  const int h = (lang ? FontLineHeight(font) : CachedRun(font, s.tipText).height) + 4;
  int x = std::clamp(s.tipX, 0, std::max(fw - w, 0));
  int y = s.tipY + 20;
  if (y + h > fh) y = std::max(s.tipY - h - 4, 0);
  const Clip all{0, 0, fw, fh};
  FillRect(frame, fw, all, x, y, w, h, 0);
  FillRect(frame, fw, all, x + 1, y + 1, w - 2, h - 2, RGB(255, 255, 225));
  DrawCaption(frame, fw, all, font, s.tipText, x + 3, y + 2, 0, false);
}

void ResetPointerState() {
  PointerState& s = S();
  if (s.custom) SDL_FreeCursor(s.custom);
  if (s.arrow) SDL_FreeCursor(s.arrow);
  if (s.question) SDL_FreeCursor(s.question);
  s = PointerState{};
}

int CurrentPointerKind() { return S().kind; }
PicturePtr CurrentPointerIcon() { return S().icon; }
bool TooltipShown(std::string* text) {
  if (text) *text = S().tipShown ? S().tipText : std::string();
  return S().tipShown;
}

}  // namespace rt
