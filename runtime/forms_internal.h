// What the window, control, pump and cursor parts of the runtime share. Runtime-private.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "runtime/forms.h"

struct SDL_Window;

namespace rt {

struct Form::Impl {
  SDL_Window* window = nullptr;
  uint32_t windowId = 0;
  bool needsCompose = true;  // a control changed or the window was exposed
  std::vector<Color> composed;
  int composedW = 0, composedH = 0;
  int presents = 0;
  // What the window shows: the frame last sent and the surface it went to.
  std::vector<Color> shown;
  const void* shownSurface = nullptr;
  int minW = 0, minH = 0;
  bool placed = false;  // MoveWindow before the window exists: where it opens
  int placeX = 0, placeY = 0;
  intptr_t owner = 0;  // handle of the form shown over
  bool modal = false;  // this showing is modal: the window manager keeps it over its owner
  std::string title;  // the caption the window shows
  // Mouse: the control that took the press (it gets the moves and the release), the control
  // under the pointer, and where the pointer is (client pixels).
  Control* capture = nullptr;
  bool captureForm = false;
  int buttonsDown = 0;
  bool doubleClicked = false;  // the press in progress was a double click
  bool mouseInside = false;
  int mouseX = 0, mouseY = 0;
};

// Whatever the handlers do, the runtime reaches its forms and controls by handle, so a form or
// control destroyed inside a handler is never touched afterwards.
void RegisterControl(Control* c, intptr_t& handle);
void UnregisterControl(intptr_t handle);
intptr_t NewHandle();
void RegisterForm(Form* f);
void UnregisterForm(Form* f);
const std::vector<Form*>& AllForms();
std::vector<Timer*>& AllTimers();

// Back to a fresh surface's properties, no pixels.
void ResetSurface(Surface& s);

// The pump.
bool EnsureRuntime();  // false: no video device, forms work without windows
bool HaveVideo();
// Whether windows reach a screen (not SDL's dummy or off-screen driver).
bool ShowsWindows();
void CreateWindowFor(Form& f);
void DestroyWindowFor(Form& f);
void ShowWindowFor(Form& f, bool show);
void SyncWindow(Form& f);  // title, size and minimum size to the window
std::vector<Control*> TabOrder(Form& f);
void PresentForm(Form& f, bool force);
void FormUnloaded(Form& f);
void PushModal(Form* f);
void PopModal(Form* f);
Form* ActiveForm();
Form* PointerForm();  // the form under the mouse
int PresentCount(const Form& f);  // how often the window's pixels went to the screen
uint64_t NextTimerDue();
void RunDueTimers();

// Cursors and tooltips.
void UpdatePointer();
void ResetPointerState();
uint64_t TooltipDue();
void DrawTooltip(Form& f, std::vector<Color>& frame, int fw, int fh);
void NoteMouseActivity(Form* f, Control* under, int x, int y, bool press);
// What the pointer shows now (vbDefault, vbArrowQuestion, vbCustom; -1 before any) and the tip.
int CurrentPointerKind();
PicturePtr CurrentPointerIcon();
bool TooltipShown(std::string* text = nullptr);

// The topmost visible, enabled control at client point (x, y) of the form, with the point
// relative to that control; nullptr for the form itself.
Control* HitTest(Form& f, int x, int y, int& rx, int& ry);
// The control's client origin in the form's client area.
void ClientOrigin(const Control* c, int& x, int& y);

// Drawing on composed frames.
struct Clip { int l, t, r, b; };
void FillRect(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, int w, int h, Color c);
void DrawRun(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, const TextRun& run, Color c);
void DrawPicture(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, int w, int h,
                 const Picture& pic);
// Classic 3D edges: raised (buttons) or sunken (text boxes, lists, picture boxes).
void Draw3DFrame(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, int w, int h,
                 bool sunken, bool pressed = false);
Clip Intersect(const Clip& a, int x, int y, int w, int h);
void ComposeChildren(Container& c, std::vector<Color>& frame, int fw, int fh, int ox, int oy,
                     const Clip& clip);
// Rendered text lines, cached (labels and buttons redraw the same captions every frame).
const TextRun& CachedRun(const Font& f, const std::string& line);
// Caption lines: CR, LF and CR LF break lines; with wrap, words move to the next line when the
// width is exceeded (a word wider than a line of its own breaks between characters). Only the
// first maxLines lines are laid out.
std::vector<std::string> LayoutText(const Font& font, std::string_view text, int maxW, bool wrap,
                                    size_t maxLines = SIZE_MAX);
// A caption line's width as drawn; a long line is measured rather than rendered whole.
int CaptionWidth(const Font& f, const std::string& line);
// Whether a caption line at row y may show inside the clip (glyphs may reach a little below a
// line's height).
bool CaptionRowShows(const Clip& clip, int y, int lh);
// Draws a caption line from (x, y), embossed when disabled; of a long line only what the clip shows.
void DrawCaption(std::vector<Color>& frame, int fw, const Clip& clip, const Font& f, const std::string& line,
                 int x, int y, Color c, bool embossed);
// Each character's width on its own, by character code.
const int* GlyphAdvances(const Font& f);

// FNV-style digests for LookDigest.
inline uint64_t Mix(uint64_t h, uint64_t v) { return (h ^ v) * 0x100000001B3ull + 0x9E3779B97F4A7C15ull; }
uint64_t Mix(uint64_t h, const std::string& s);
uint64_t Mix(uint64_t h, const Font& f);

constexpr Color kButtonFace = RGB(212, 208, 200);
constexpr Color kShadow = RGB(128, 128, 128);
constexpr Color kDarkShadow = RGB(64, 64, 64);
constexpr Color kHighlight = RGB(255, 255, 255);
constexpr Color kSelection = RGB(10, 36, 106);

}  // namespace rt
