// The controls: how each one looks on the composed frame and how it answers keys and the mouse.
#include <algorithm>
#include <map>
#include <unordered_map>

#include "runtime/forms_internal.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace rt {

// ---- Drawing on frames -------------------------------------------------------------------

Clip Intersect(const Clip& a, int x, int y, int w, int h) {
  return Clip{std::max(a.l, x), std::max(a.t, y), std::min(a.r, x + w), std::min(a.b, y + h)};
}

namespace {
bool Empty(const Clip& c) { return c.l >= c.r || c.t >= c.b; }

Color Blend(Color dst, Color src, int a) {
  if (a >= 255) return src & 0xFFFFFF;
  if (a <= 0) return dst;
  auto ch = [&](int shift) {
    const int d = (dst >> shift) & 255, s = (src >> shift) & 255;
    return ((s * a + d * (255 - a) + 127) / 255) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

void HLine(std::vector<Color>& f, int fw, const Clip& c, int x, int y, int w, Color col) {
  FillRect(f, fw, c, x, y, w, 1, col);
}
void VLine(std::vector<Color>& f, int fw, const Clip& c, int x, int y, int h, Color col) {
  FillRect(f, fw, c, x, y, 1, h, col);
}
void Rect(std::vector<Color>& f, int fw, const Clip& c, int x, int y, int w, int h, Color tl, Color br) {
  HLine(f, fw, c, x, y, w, tl);
  VLine(f, fw, c, x, y, h, tl);
  HLine(f, fw, c, x, y + h - 1, w, br);
  VLine(f, fw, c, x + w - 1, y, h, br);
}

constexpr Color kGrayText = RGB(128, 128, 128);
}  // namespace

void FillRect(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, int w, int h, Color c) {
  const Clip r = Intersect(clip, x, y, w, h);
  if (Empty(r)) return;
  c &= 0xFFFFFF;
  for (int yy = r.t; yy < r.b; ++yy)
    std::fill(frame.begin() + size_t(yy) * fw + r.l, frame.begin() + size_t(yy) * fw + r.r, c);
}

void DrawRun(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, const TextRun& run, Color c) {
  const Clip r = Intersect(clip, x, y, run.width, run.height);
  if (Empty(r) || run.coverage.size() < size_t(run.width) * run.height) return;
  for (int yy = r.t; yy < r.b; ++yy) {
    const uint8_t* cov = run.coverage.data() + size_t(yy - y) * run.width;
    Color* dst = frame.data() + size_t(yy) * fw;
    for (int xx = r.l; xx < r.r; ++xx)
      if (const int a = cov[xx - x]) dst[xx] = Blend(dst[xx], c, a);
  }
}

void DrawPicture(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, int w, int h,
                 const Picture& pic) {
  if (pic.width <= 0 || pic.height <= 0 || w <= 0 || h <= 0) return;
  if (pic.pixels.size() < size_t(pic.width) * pic.height) return;
  const Clip r = Intersect(clip, x, y, w, h);
  if (Empty(r)) return;
  const bool alpha = pic.alpha.size() >= pic.pixels.size();
  // Pictures are drawn on every composition of their window: the source columns are worked
  // out once per call, not per pixel.
  thread_local std::vector<int> columns;
  columns.resize(size_t(r.r - r.l));
  for (int xx = r.l; xx < r.r; ++xx) columns[size_t(xx - r.l)] = int((int64_t(xx - x) * pic.width) / w);
  for (int yy = r.t; yy < r.b; ++yy) {
    const int sy = int((int64_t(yy - y) * pic.height) / h);
    const Color* src = pic.pixels.data() + size_t(sy) * pic.width;
    const uint8_t* a = alpha ? pic.alpha.data() + size_t(sy) * pic.width : nullptr;
    Color* dst = frame.data() + size_t(yy) * fw + r.l;
    const int n = r.r - r.l;
    if (a) {
      for (int i = 0; i < n; ++i) dst[i] = Blend(dst[i], src[columns[size_t(i)]], a[columns[size_t(i)]]);
    } else if (w == pic.width) {
      src += r.l - x;
      for (int i = 0; i < n; ++i) dst[i] = src[i] & 0xFFFFFF;
    } else {
      for (int i = 0; i < n; ++i) dst[i] = src[columns[size_t(i)]] & 0xFFFFFF;
    }
  }
}

void Draw3DFrame(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, int w, int h,
                 bool sunken, bool pressed) {
  if (w < 4 || h < 4) return;
  if (pressed) {
    Rect(frame, fw, clip, x, y, w, h, kDarkShadow, kDarkShadow);
    Rect(frame, fw, clip, x + 1, y + 1, w - 2, h - 2, kShadow, kShadow);
  } else if (sunken) {
    Rect(frame, fw, clip, x, y, w, h, kShadow, kHighlight);
    Rect(frame, fw, clip, x + 1, y + 1, w - 2, h - 2, kDarkShadow, kButtonFace);
  } else {
    Rect(frame, fw, clip, x, y, w, h, kHighlight, kDarkShadow);
    Rect(frame, fw, clip, x + 1, y + 1, w - 2, h - 2, kButtonFace, kShadow);
  }
}

namespace {

// A vertical scroll bar of 16 pixels: the track with a raised thumb sized to the part shown.
void DrawScrollBar(std::vector<Color>& frame, int fw, const Clip& clip, int x, int y, int h, int first,
                   int shown, int total) {
  FillRect(frame, fw, clip, x, y, 16, h, RGB(236, 233, 216));
  if (total <= shown) return;
  const int thumbH = std::max(h * shown / total, 8);
  const int thumbY = y + (h - thumbH) * first / std::max(total - shown, 1);
  FillRect(frame, fw, clip, x, thumbY, 16, thumbH, kButtonFace);
  Draw3DFrame(frame, fw, clip, x, thumbY, 16, thumbH, false);
}

// Where a click on such a bar (at y, counted from its top) scrolls: a page up above the thumb,
// a page down below it.
int ScrollBarPage(int y, int h, int first, int shown, int total) {
  if (total <= shown) return 0;
  const int thumbH = std::max(h * shown / total, 8);
  const int thumbY = (h - thumbH) * first / std::max(total - shown, 1);
  return y < thumbY ? -shown : y >= thumbY + thumbH ? shown : 0;
}

}  // namespace

const TextRun& CachedRun(const Font& f, const std::string& line) {
  static std::unordered_map<uint64_t, std::map<std::string, TextRun>> cache;
  static size_t count = 0;
  if (count > 2000) {
    cache.clear();
    count = 0;
  }
  auto& byText = cache[Mix(0, f)];
  auto it = byText.find(line);
  if (it != byText.end()) return it->second;
  ++count;
  return byText.emplace(line, RenderTextLine(f, line)).first->second;
}

int CaptionWidth(const Font& f, const std::string& line) {
  return line.size() > kMeasurePiece ? FontTextWidth(f, line) : CachedRun(f, line).width;
}

bool CaptionRowShows(const Clip& clip, int y, int lh) { return y < clip.b && y + 2 * lh > clip.t; }

void DrawCaption(std::vector<Color>& frame, int fw, const Clip& clip, const Font& f, const std::string& line,
                 int x, int y, Color c, bool embossed) {
  const LinePart part = VisiblePart(f, line, x, clip.l - 1, clip.r);
  if (part.end <= part.begin) return;
  const bool whole = part.begin == 0 && part.end == line.size();
  const TextRun& run = CachedRun(f, whole ? line : line.substr(part.begin, part.end - part.begin));
  if (embossed) DrawRun(frame, fw, clip, part.x + 1, y + 1, run, kHighlight);
  DrawRun(frame, fw, clip, part.x, y, run, c);
}

void ComposeChildren(Container& c, std::vector<Color>& frame, int fw, int fh, int ox, int oy,
                     const Clip& clip);

// ---- Geometry of the control tree --------------------------------------------------------

namespace {
Control* HitIn(Container& c, int x, int y, int& rx, int& ry) {
  const auto& kids = c.Children();
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
    Control* ch = *it;
    if (!ch->Visible() || !ch->Enabled()) continue;
    if (x < ch->Left() || y < ch->Top() || x >= ch->Left() + ch->Width() || y >= ch->Top() + ch->Height())
      continue;
    const int in = ch->ClientInset();
    if (auto* sub = dynamic_cast<Container*>(ch))
      if (Control* hit = HitIn(*sub, x - ch->Left() - in, y - ch->Top() - in, rx, ry)) return hit;
    rx = x - ch->Left() - in;
    ry = y - ch->Top() - in;
    return ch;
  }
  return nullptr;
}
}  // namespace

Control* HitTest(Form& f, int x, int y, int& rx, int& ry) {
  rx = x;
  ry = y;
  if (x < 0 || y < 0 || x >= f.ScaleWidth() || y >= f.ScaleHeight()) return nullptr;
  return HitIn(f, x, y, rx, ry);
}

void ClientOrigin(const Control* c, int& x, int& y) {
  x = c->ClientInset();
  y = c->ClientInset();
  for (const Control* p = c; p;) {
    x += p->Left();
    y += p->Top();
    const auto* parent = dynamic_cast<const Control*>(p->Parent());
    if (parent) {
      x += parent->ClientInset();
      y += parent->ClientInset();
    }
    p = parent;
  }
}

// ---- PictureBox --------------------------------------------------------------------------

PictureBox::PictureBox(Container* parent) : Control(parent) {}

int PictureBox::Width() const { return ScaleWidth() + 2 * ClientInset(); }
int PictureBox::Height() const { return ScaleHeight() + 2 * ClientInset(); }

void PictureBox::Move(int left, int top, int width, int height) {
  const int in = ClientInset();
  ResizeSurface(std::max(width - 2 * in, 0), std::max(height - 2 * in, 0));
  Control::Move(left, top, width, height);
}

void PictureBox::ResetDesign() {
  Control::ResetDesign();
  BorderStyle = 0;
  ResetSurface(*this);
}

uint64_t PictureBox::LookDigest() const { return Mix(Control::LookDigest(), uint64_t(BorderStyle)); }

void PictureBox::Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL,
                         int clipT, int clipR, int clipB) {
  const int x = ox + left_, y = oy + top_, in = ClientInset();
  const Clip c = Intersect(Clip{clipL, clipT, clipR, clipB}, x, y, Width(), Height());
  if (Empty(c)) return;
  if (in) Draw3DFrame(frame, fw, c, x, y, Width(), Height(), true);
  const int sw = ScaleWidth(), sh = ScaleHeight();
  const Clip inner = Intersect(c, x + in, y + in, sw, sh);
  if (Empty(inner)) return;
  const std::vector<Color>& px = ScreenPixels();
  if (px.size() >= size_t(sw) * sh) {
    for (int yy = inner.t; yy < inner.b; ++yy) {
      const Color* src = px.data() + size_t(yy - y - in) * sw + (inner.l - x - in);
      Color* dst = frame.data() + size_t(yy) * fw + inner.l;
      for (int i = 0; i < inner.r - inner.l; ++i) dst[i] = src[i] & 0xFFFFFF;
    }
  }
  ComposeChildren(*this, frame, fw, fh, x + in, y + in, inner);
}

// ---- Label -------------------------------------------------------------------------------

Label::Label(Container* parent) : Control(parent) {}

void Label::SetCaption(const std::string& c) {
  Caption = c;
  Invalidate();
}

int Label::Width() const {
  if (!AutoSize || WordWrap) return width_;
  int w = 0;
  for (const std::string& l : LayoutText(font, Caption, 0, false)) w = std::max(w, FontTextWidth(font, l));
  return w + (BorderStyle ? 4 : 0);
}

int Label::Height() const {
  if (!AutoSize) return height_;
  const int n = int(LayoutText(font, Caption, width_ - (BorderStyle ? 4 : 0), WordWrap).size());
  return n * FontLineHeight(font) + (BorderStyle ? 4 : 0);
}

void Label::ResetDesign() {
  Control::ResetDesign();
  Caption.clear();
  font = Font{};
  ForeColor = 0;
  BackColor = kButtonFace;
  BackStyle = 1;
  Alignment = 0;
  AutoSize = WordWrap = false;
  BorderStyle = 0;
}

uint64_t Label::LookDigest() const {
  uint64_t h = Mix(Mix(Control::LookDigest(), Caption), font);
  h = Mix(h, uint64_t(uint32_t(ForeColor)) | uint64_t(uint32_t(BackColor)) << 32);
  return Mix(h, uint64_t(BackStyle) | uint64_t(Alignment) << 4 | uint64_t(AutoSize) << 8 |
                    uint64_t(WordWrap) << 9 | uint64_t(BorderStyle) << 10);
}

void Label::Compose(std::vector<Color>& frame, int fw, int, int ox, int oy, int clipL, int clipT,
                    int clipR, int clipB) {
  const int x = ox + left_, y = oy + top_, w = Width(), h = Height();
  const Clip c = Intersect(Clip{clipL, clipT, clipR, clipB}, x, y, w, h);
  if (Empty(c)) return;
  if (BackStyle == 1) FillRect(frame, fw, c, x, y, w, h, BackColor);
  const int in = BorderStyle ? 2 : 0;
  if (in) Draw3DFrame(frame, fw, c, x, y, w, h, true);
  const Clip tc = Intersect(c, x + in, y + in, w - 2 * in, h - 2 * in);
  const int lh = FontLineHeight(font);
  // Lines below the label's bottom never show: they are not even laid out.
  const size_t shown = lh > 0 ? size_t(std::max(0, h - 2 * in + lh - 1) / lh) : SIZE_MAX;
  const auto lines = LayoutText(font, Caption, w - 2 * in, !AutoSize || WordWrap, shown);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int ly = y + in + int(i) * lh;
    if (!CaptionRowShows(tc, ly, lh)) continue;
    int lx = x + in;
    if (Alignment == 1) lx = x + w - in - CaptionWidth(font, lines[i]);
    else if (Alignment == 2) lx = x + (w - CaptionWidth(font, lines[i])) / 2;
    DrawCaption(frame, fw, tc, font, lines[i], lx, ly, enabled_ ? ForeColor : kGrayText, !enabled_);
  }
}

// ---- ImageBox ----------------------------------------------------------------------------

ImageBox::ImageBox(Container* parent) : Control(parent) {}

void ImageBox::SetPicture(PicturePtr p) {
  Picture = std::move(p);
  Invalidate();
}

int ImageBox::Width() const { return !Stretch && Picture ? Picture->width : width_; }
int ImageBox::Height() const { return !Stretch && Picture ? Picture->height : height_; }

void ImageBox::ResetDesign() {
  Control::ResetDesign();
  Picture = nullptr;
  Stretch = false;
}

uint64_t ImageBox::LookDigest() const {
  return Mix(Mix(Control::LookDigest(), uint64_t(uintptr_t(Picture.get()))), uint64_t(Stretch));
}

void ImageBox::Compose(std::vector<Color>& frame, int fw, int, int ox, int oy, int clipL, int clipT,
                       int clipR, int clipB) {
  if (!Picture) return;
  DrawPicture(frame, fw, Clip{clipL, clipT, clipR, clipB}, ox + left_, oy + top_, Width(), Height(), *Picture);
}

// ---- CommandButton -----------------------------------------------------------------------

CommandButton::CommandButton(Container* parent) : Control(parent) { TabStop = true; }

void CommandButton::OnKeyDown(int& keyCode, int) {
  if (keyCode != vbKeyReturn && keyCode != vbKeySpace) return;
  Handler click = Click;
  if (click) click();
}

void CommandButton::OnMouse(int kind, int button, int x, int y) {
  const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  if (kind == 1 && button == vbLeftButton) pressed_ = true;
  else if (kind == 0 && (button & vbLeftButton)) pressed_ = inside;
  else if (kind == 2) pressed_ = false;
}

void CommandButton::ResetDesign() {
  Control::ResetDesign();
  Caption.clear();
  font = Font{};
  Default = Cancel = false;
  BackColor = kButtonFace;
  TabStop = true;
  pressed_ = false;
}

uint64_t CommandButton::LookDigest() const {
  uint64_t h = Mix(Mix(Control::LookDigest(), Caption), font);
  return Mix(h, uint64_t(uint32_t(BackColor)) | uint64_t(pressed_) << 32 | uint64_t(Default) << 33);
}

void CommandButton::Compose(std::vector<Color>& frame, int fw, int, int ox, int oy, int clipL,
                            int clipT, int clipR, int clipB) {
  const int x = ox + left_, y = oy + top_, w = Width(), h = Height();
  const Clip c = Intersect(Clip{clipL, clipT, clipR, clipB}, x, y, w, h);
  if (Empty(c)) return;
  FillRect(frame, fw, c, x, y, w, h, BackColor);
  const bool focus = HasFocus();
  if (focus || Default) {
    Rect(frame, fw, c, x, y, w, h, 0, 0);
    Draw3DFrame(frame, fw, c, x + 1, y + 1, w - 2, h - 2, false, pressed_);
  } else {
    Draw3DFrame(frame, fw, c, x, y, w, h, false, pressed_);
  }
  const int shift = pressed_ ? 1 : 0;
  const Clip tc = Intersect(c, x + 3, y + 3, w - 6, h - 6);
  const int lh = FontLineHeight(font);
  const auto lines = LayoutText(font, Caption, w - 8, true);
  const int top = y + (h - int(lines.size()) * lh) / 2 + shift;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int ly = top + int(i) * lh;
    if (!CaptionRowShows(tc, ly, lh)) continue;
    const int lx = x + (w - CaptionWidth(font, lines[i])) / 2 + shift;
    DrawCaption(frame, fw, tc, font, lines[i], lx, ly, enabled_ ? 0 : kGrayText, !enabled_);
  }
  if (focus) {  // the dotted focus rectangle
    const Clip fc = Intersect(c, x + 4, y + 4, w - 8, h - 8);
    for (int xx = x + 4; xx < x + w - 4; xx += 2) {
      FillRect(frame, fw, fc, xx, y + 4, 1, 1, 0);
      FillRect(frame, fw, fc, xx, y + h - 5, 1, 1, 0);
    }
    for (int yy = y + 4; yy < y + h - 4; yy += 2) {
      FillRect(frame, fw, fc, x + 4, yy, 1, 1, 0);
      FillRect(frame, fw, fc, x + w - 5, yy, 1, 1, 0);
    }
  }
}

// ---- TextBox -----------------------------------------------------------------------------

namespace {
int Span(const int* adv, const std::string& s, int start, int len) {
  int w = 0;
  for (int k = start; k < start + len && k < int(s.size()); ++k) w += adv[uint8_t(s[size_t(k)])];
  return w;
}

int LineOf(const std::vector<TextBox::Line>& lines, int pos) {
  for (size_t i = lines.size(); i-- > 0;)
    if (pos >= lines[i].start) return int(i);
  return 0;
}

int IndexAtX(const int* adv, const std::string& s, int start, int len, int x) {
  int w = 0;
  for (int k = 0; k < len; ++k) {
    const int a = adv[uint8_t(s[size_t(start + k)])];
    if (w + a > x) return start + (x - w < w + a - x ? k : k + 1);
    w += a;
  }
  return start + len;
}
}  // namespace

const std::vector<TextBox::Line>& TextBox::Lines() const {
  const int in = BorderStyle ? 2 : 0;
  const int maxW = MultiLine ? width_ - 2 * in - 2 - (VerticalBar() ? 16 : 0) : 0;
  const uint64_t key = Mix(Mix(Mix(0, Text), font), uint64_t(uint32_t(maxW)) | uint64_t(MultiLine) << 32);
  if (key == linesKey_ && !lines_.empty()) return lines_;
  linesKey_ = key;
  lines_.clear();
  const std::string& s = Text;
  const int n = int(s.size());
  if (!MultiLine) {
    lines_.push_back({0, n});
    return lines_;
  }
  const int* adv = GlyphAdvances(font);
  int i = 0;
  while (true) {
    int e = i;
    while (e < n && s[size_t(e)] != '\r' && s[size_t(e)] != '\n') ++e;
    // Wrap [i, e) at blanks; blanks may hang past the edge, a word wider than the line breaks.
    int ls = i, w = 0, lastBlank = -1;
    for (int k = i; k < e; ++k) {
      const int a = adv[uint8_t(s[size_t(k)])];
      if (s[size_t(k)] == ' ') {
        lastBlank = k;
        w += a;
        continue;
      }
      if (maxW > 0 && w + a > maxW && k > ls) {
        const int brk = lastBlank >= ls ? lastBlank + 1 : k;
        lines_.push_back({ls, brk - ls});
        ls = brk;
        lastBlank = -1;
        w = Span(adv, s, ls, k - ls);
      }
      w += a;
    }
    lines_.push_back({ls, e - ls});
    if (e >= n) break;
    i = e + ((s[size_t(e)] == '\r' && e + 1 < n && s[size_t(e) + 1] == '\n') ? 2 : 1);
  }
  return lines_;
}

TextBox::TextBox(Container* parent) : Control(parent) { TabStop = true; }

void TextBox::SetText(const std::string& t) {
  const bool changed = t != Text;
  Text = t;
  SelStart = 0;
  Invalidate();
  if (changed) {
    Handler h = Change;
    if (h) h();
  }
}

namespace {
int Clamp(const TextBox& t, int pos) { return std::clamp(pos, 0, int(t.Text.size())); }
}  // namespace

void TextBox::OnKeyDown(int& keyCode, int shift) {
  if (KeyDown) {
    KeyHandler h = KeyDown;
    h(keyCode, shift);
  }
  if (keyCode == 0) return;
  const std::string& s = Text;
  int pos = Clamp(*this, SelStart);
  const auto lines = Lines();  // a copy: editing below changes the text
  const int* adv = GlyphAdvances(font);
  const int li = LineOf(lines, pos);
  auto crlfBefore = [&](int p) { return p >= 2 && s[p - 2] == '\r' && s[p - 1] == '\n'; };
  auto crlfAt = [&](int p) { return p + 1 < int(s.size()) && s[p] == '\r' && s[p + 1] == '\n'; };
  switch (keyCode) {
    case vbKeyLeft: pos = crlfBefore(pos) ? pos - 2 : std::max(pos - 1, 0); break;
    case vbKeyRight: pos = crlfAt(pos) ? pos + 2 : std::min(pos + 1, int(s.size())); break;
    case vbKeyHome: pos = lines[li].start; break;
    case vbKeyEnd: pos = lines[li].start + lines[li].len; break;
    case vbKeyUp:
    case vbKeyDown: {
      const int target = keyCode == vbKeyUp ? li - 1 : li + 1;
      if (!MultiLine || target < 0 || target >= int(lines.size())) break;
      const int x = Span(adv, s, lines[li].start, pos - lines[li].start);
      pos = IndexAtX(adv, s, lines[target].start, lines[target].len, x);
      break;
    }
    case vbKeyDelete:
      if (Locked || pos >= int(s.size())) break;
      Text.erase(size_t(pos), crlfAt(pos) ? 2 : 1);
      SelStart = pos;
      Invalidate();
      if (Change) {
        Handler h = Change;
        h();
      }
      return;
    default: return;
  }
  SelStart = pos;
  Invalidate();
}

void TextBox::OnKeyUp(int& keyCode, int shift) {
  if (KeyUp) {
    KeyHandler h = KeyUp;
    h(keyCode, shift);
  }
}

void TextBox::OnKeyPress(int& keyAscii) {
  if (KeyPress) {
    KeyPressHandler h = KeyPress;
    h(keyAscii);
  }
  if (keyAscii == 0 || Locked) return;
  int pos = Clamp(*this, SelStart);
  std::string insert;
  if (keyAscii == vbKeyBack) {
    if (pos == 0) return;
    const int n = (pos >= 2 && Text[pos - 2] == '\r' && Text[pos - 1] == '\n') ? 2 : 1;
    Text.erase(size_t(pos - n), size_t(n));
    SelStart = pos - n;
  } else {
    if (keyAscii == vbKeyReturn && MultiLine) insert = "\r\n";
    else if (keyAscii >= 32 && keyAscii <= 255) insert = std::string(1, char(keyAscii));
    else return;
    if (MaxLength > 0 && Text.size() + insert.size() > size_t(MaxLength)) return;
    Text.insert(size_t(pos), insert);
    SelStart = pos + int(insert.size());
  }
  Invalidate();
  if (Change) {
    Handler h = Change;
    h();
  }
}

void TextBox::OnMouse(int kind, int button, int x, int y) {
  if (kind != 1 || button != vbLeftButton) return;
  const int in = BorderStyle ? 2 : 0;
  const auto& lines = Lines();
  if (VerticalBar() && x >= Width() - in - 16) {
    ScrollBy(ScrollBarPage(y - in, Height() - 2 * in, scrollTop_, LinesShown(), int(lines.size())));
    return;
  }
  const int lh = std::max(FontLineHeight(font), 1);
  const int li = std::clamp(scrollTop_ + (y - in - 1) / lh, 0, int(lines.size()) - 1);
  SelStart = IndexAtX(GlyphAdvances(font), Text, lines[li].start, lines[li].len, x - in - 1 + scrollX_);
  Invalidate();
}

int TextBox::LinesShown() const {
  const int in = BorderStyle ? 2 : 0;
  return std::max((Height() - 2 * in) / std::max(FontLineHeight(font), 1), 1);
}

void TextBox::ScrollBy(int lines) {
  const int top = std::clamp(scrollTop_ + lines, 0, std::max(int(Lines().size()) - LinesShown(), 0));
  if (top == scrollTop_) return;
  scrollTop_ = top;
  Invalidate();
}

void TextBox::OnWheel(int dy) {
  if (MultiLine) ScrollBy(-3 * dy);
}

void TextBox::ResetDesign() {
  Control::ResetDesign();
  Text.clear();
  font = Font{};
  ForeColor = 0;
  BackColor = vbWhite;
  MultiLine = Locked = false;
  MaxLength = 0;
  BorderStyle = 1;
  SelStart = 0;
  Alignment = 0;
  ScrollBars = 0;
  TabStop = true;
  scrollTop_ = scrollX_ = 0;
  caretKey_ = 0;
}

uint64_t TextBox::LookDigest() const {
  uint64_t h = Mix(Mix(Control::LookDigest(), Text), font);
  h = Mix(h, uint64_t(uint32_t(ForeColor)) | uint64_t(uint32_t(BackColor)) << 32);
  h = Mix(h, uint64_t(uint32_t(scrollTop_)) | uint64_t(uint32_t(ScrollBars)) << 32);
  return Mix(h, uint64_t(uint32_t(SelStart)) | uint64_t(MultiLine) << 32 | uint64_t(Locked) << 33 |
                    uint64_t(BorderStyle) << 34 | uint64_t(Alignment) << 36);
}

void TextBox::Compose(std::vector<Color>& frame, int fw, int, int ox, int oy, int clipL, int clipT,
                      int clipR, int clipB) {
  const int x = ox + left_, y = oy + top_, w = Width(), h = Height();
  const Clip c = Intersect(Clip{clipL, clipT, clipR, clipB}, x, y, w, h);
  if (Empty(c)) return;
  FillRect(frame, fw, c, x, y, w, h, enabled_ ? BackColor : kButtonFace);
  const int in = BorderStyle ? 2 : 0;
  if (in) Draw3DFrame(frame, fw, c, x, y, w, h, true);
  const int bar = VerticalBar() ? 16 : 0;
  const int innerW = w - 2 * in - 2 - bar;
  const Clip tc = Intersect(c, x + in + 1, y + in, innerW, h - 2 * in);
  const auto& lines = Lines();
  const int lh = std::max(FontLineHeight(font), 1);
  const int visible = std::max((h - 2 * in) / lh, 1);
  const int pos = Clamp(*this, SelStart);
  const int li = LineOf(lines, pos);
  // Bring the caret into view when the text or the caret moved; lines scrolled by the bar or the
  // wheel stay put otherwise.
  const uint64_t key = Mix(Mix(0, Text), uint64_t(uint32_t(pos)) | uint64_t(uint32_t(w)) << 32);
  if (key != caretKey_ || !bar) {
    caretKey_ = key;
    if (li < scrollTop_) scrollTop_ = li;
    if (li >= scrollTop_ + visible) scrollTop_ = li - visible + 1;
  }
  scrollTop_ = std::clamp(scrollTop_, 0, std::max(int(lines.size()) - 1, 0));
  if (bar) DrawScrollBar(frame, fw, c, x + w - in - bar, y + in, h - 2 * in, scrollTop_, visible, int(lines.size()));
  const int caretX = Span(GlyphAdvances(font), Text, lines[li].start, pos - lines[li].start);
  if (!MultiLine) {
    if (caretX - scrollX_ > innerW - 1) scrollX_ = caretX - innerW + 1;
    if (caretX < scrollX_) scrollX_ = caretX;
  } else {
    scrollX_ = 0;
  }
  const int top = MultiLine ? y + in + 1 : y + (h - lh) / 2;
  for (int i = scrollTop_; i < int(lines.size()) && i < scrollTop_ + visible + 1; ++i) {
    const std::string line = Text.substr(lines[i].start, lines[i].len);
    const TextRun& run = CachedRun(font, line);
    int lx = x + in + 1 - scrollX_;
    if (Alignment == 1) lx = x + w - in - 2 - run.width;
    else if (Alignment == 2) lx = x + (w - run.width) / 2;
    DrawRun(frame, fw, tc, lx, top + (i - scrollTop_) * lh, run, enabled_ ? ForeColor : kGrayText);
  }
  if (HasFocus() && li >= scrollTop_ && li < scrollTop_ + visible)
    FillRect(frame, fw, tc, x + in + 1 - scrollX_ + caretX, top + (li - scrollTop_) * lh, 1, lh, ForeColor);
}

// ---- Frame -------------------------------------------------------------------------------

Frame::Frame(Container* parent) : Control(parent) {}

void Frame::ResetDesign() {
  Control::ResetDesign();
  Caption.clear();
  BackColor = kButtonFace;
  BorderStyle = 0;
}

uint64_t Frame::LookDigest() const {
  return Mix(Mix(Control::LookDigest(), Caption), uint64_t(uint32_t(BackColor)) | uint64_t(BorderStyle) << 32);
}

void Frame::Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
                    int clipR, int clipB) {
  const int x = ox + left_, y = oy + top_, w = Width(), h = Height();
  const Clip c = Intersect(Clip{clipL, clipT, clipR, clipB}, x, y, w, h);
  if (Empty(c)) return;
  FillRect(frame, fw, c, x, y, w, h, BackColor);
  if (BorderStyle) {
    const Font f;
    const int half = FontLineHeight(f) / 2;
    Rect(frame, fw, c, x, y + half, w - 1, h - half - 1, kShadow, kShadow);
    Rect(frame, fw, c, x + 1, y + half + 1, w - 1, h - half - 1, kHighlight, kHighlight);
    if (!Caption.empty()) {
      const TextRun& run = CachedRun(f, Caption);
      FillRect(frame, fw, c, x + 6, y, run.width + 4, run.height, BackColor);
      DrawRun(frame, fw, c, x + 8, y, run, 0);
    }
  }
  ComposeChildren(*this, frame, fw, fh, x, y, c);
}

// ---- FileListBox -------------------------------------------------------------------------

FileListBox::FileListBox(Container* parent) : Control(parent) { TabStop = true; }

void FileListBox::SetPath(const std::string& p) {
  Path = p;
  Refresh();
}

void FileListBox::Refresh() {
  items_.clear();
  std::string pat = Pattern.empty() ? "*.*" : Pattern;
  size_t s = 0;
  while (s <= pat.size()) {
    size_t e = pat.find(';', s);
    if (e == std::string::npos) e = pat.size();
    const std::string one = Trim(pat.substr(s, e - s));
    // A name starting with a dot is an ordinary one to the system.
    if (!one.empty())
      for (const std::string& n : ListFolder(Path, one == "*.*" ? "*" : one, true, false, true))
        if (!Hides || !Hides(n)) items_.push_back(n);
    s = e + 1;
  }
  std::sort(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) { return LCase(a) < LCase(b); });
  items_.erase(std::unique(items_.begin(), items_.end()), items_.end());
  shownPath_ = Path;
  shownPattern_ = Pattern;
  ListIndex = -1;
  topIndex_ = 0;
  Invalidate();
}

int FileListBox::ListCount() const {
  const_cast<FileListBox*>(this)->Freshen();
  return int(items_.size());
}

std::string FileListBox::List(int i) const {
  const_cast<FileListBox*>(this)->Freshen();
  return i >= 0 && i < int(items_.size()) ? items_[size_t(i)] : std::string();
}

void FileListBox::Freshen() {
  // Path and Pattern are plain fields: a caller that assigns them directly gets a fresh list.
  if (Path != shownPath_ || Pattern != shownPattern_) Refresh();
}

namespace {
int RowsShown(const Control& c, const Font& f) {
  return std::max((c.Height() - 4) / std::max(FontLineHeight(f), 1), 1);
}
}  // namespace

void FileListBox::ScrollToSelection() {
  const int rows = RowsShown(*this, font);
  if (ListIndex >= 0 && ListIndex < topIndex_) topIndex_ = ListIndex;
  if (ListIndex >= topIndex_ + rows) topIndex_ = ListIndex - rows + 1;
  topIndex_ = std::clamp(topIndex_, 0, std::max(int(items_.size()) - rows, 0));
}

void FileListBox::OnKeyDown(int& keyCode, int) {
  Freshen();
  const int n = int(items_.size()), rows = RowsShown(*this, font);
  int i = ListIndex;
  switch (keyCode) {
    case vbKeyUp: i = std::max(i - 1, 0); break;
    case vbKeyDown: i = std::min(i + 1, n - 1); break;
    case vbKeyHome: i = 0; break;
    case vbKeyEnd: i = n - 1; break;
    case vbKeyPageUp: i = std::max(i - rows, 0); break;
    case vbKeyPageDown: i = std::min(i + rows, n - 1); break;
    default: return;
  }
  if (n == 0 || i == ListIndex) return;
  ListIndex = i;
  ScrollToSelection();
  Invalidate();
  Handler h = Click;
  if (h) h();
}

void FileListBox::OnMouse(int kind, int button, int x, int y) {
  if (kind != 1 || button != vbLeftButton) return;
  Freshen();
  const int rows = RowsShown(*this, font), n = int(items_.size());
  if (n > rows && x >= Width() - 18) {  // the scroll bar: upper half up a page, lower half down
    topIndex_ += y < Height() / 2 ? -rows : rows;
    topIndex_ = std::clamp(topIndex_, 0, n - rows);
    Invalidate();
    return;
  }
  const int i = topIndex_ + (y - 2) / std::max(FontLineHeight(font), 1);
  if (y >= 2 && i < n) {
    ListIndex = i;
    Invalidate();
  }
}

void FileListBox::OnWheel(int dy) {
  Freshen();
  const int rows = RowsShown(*this, font);
  topIndex_ = std::clamp(topIndex_ - 3 * dy, 0, std::max(int(items_.size()) - rows, 0));
  Invalidate();
}

void FileListBox::ResetDesign() {
  Control::ResetDesign();
  Path.clear();
  Pattern = "*.*";
  items_.clear();
  shownPath_.clear();
  shownPattern_ = Pattern;
  ListIndex = -1;
  topIndex_ = 0;
  font = Font{};
  TabStop = true;
}

uint64_t FileListBox::LookDigest() const {
  uint64_t h = Mix(Mix(Mix(Control::LookDigest(), Path), Pattern), font);
  return Mix(h, uint64_t(uint32_t(ListIndex)) | uint64_t(uint32_t(topIndex_)) << 32);
}

void FileListBox::Compose(std::vector<Color>& frame, int fw, int, int ox, int oy, int clipL,
                          int clipT, int clipR, int clipB) {
  Freshen();
  const int x = ox + left_, y = oy + top_, w = Width(), h = Height();
  const Clip c = Intersect(Clip{clipL, clipT, clipR, clipB}, x, y, w, h);
  if (Empty(c)) return;
  FillRect(frame, fw, c, x, y, w, h, vbWhite);
  Draw3DFrame(frame, fw, c, x, y, w, h, true);
  const int rows = RowsShown(*this, font), n = int(items_.size());
  const bool bar = n > rows;
  const int textW = w - 4 - (bar ? 16 : 0);
  const Clip tc = Intersect(c, x + 2, y + 2, textW, h - 4);
  const int lh = std::max(FontLineHeight(font), 1);
  for (int r = 0; r <= rows && topIndex_ + r < n; ++r) {
    const int i = topIndex_ + r, ly = y + 2 + r * lh;
    const bool sel = i == ListIndex;
    if (sel) FillRect(frame, fw, tc, x + 2, ly, textW, lh, kSelection);
    DrawRun(frame, fw, tc, x + 4, ly, CachedRun(font, items_[size_t(i)]), sel ? vbWhite : 0);
  }
  if (bar) DrawScrollBar(frame, fw, c, x + w - 18, y + 2, h - 4, topIndex_, rows, n);
}

// ---- DriveListBox ------------------------------------------------------------------------

DriveListBox::DriveListBox(Container* parent) : Control(parent) {
  TabStop = true;
  drives_ = DriveList();
  if (!drives_.empty()) Drive = drives_.front();
}

int DriveListBox::ListCount() const { return int(drives_.size()); }

std::string DriveListBox::List(int i) const {
  return i >= 0 && i < int(drives_.size()) ? drives_[size_t(i)] : std::string();
}

void DriveListBox::SetListIndex(int i) {
  if (i < 0 || i >= int(drives_.size())) return;
  ListIndex = i;
  Drive = drives_[size_t(i)];
  Invalidate();
  Handler h = Click;
  if (h) h();
}

void DriveListBox::OnKeyDown(int& keyCode, int) {
  if (keyCode == vbKeyUp) SetListIndex(ListIndex - 1);
  else if (keyCode == vbKeyDown) SetListIndex(ListIndex + 1);
}

void DriveListBox::ResetDesign() {
  Control::ResetDesign();
  drives_ = DriveList();
  Drive = drives_.empty() ? std::string() : drives_.front();
  ListIndex = 0;
  font = Font{};
  TabStop = true;
}

uint64_t DriveListBox::LookDigest() const {
  return Mix(Mix(Mix(Control::LookDigest(), Drive), font), uint64_t(uint32_t(ListIndex)));
}

void DriveListBox::Compose(std::vector<Color>& frame, int fw, int, int ox, int oy, int clipL,
                           int clipT, int clipR, int clipB) {
  const int x = ox + left_, y = oy + top_, w = Width(), h = Height();
  const Clip c = Intersect(Clip{clipL, clipT, clipR, clipB}, x, y, w, h);
  if (Empty(c)) return;
  FillRect(frame, fw, c, x, y, w, h, vbWhite);
  Draw3DFrame(frame, fw, c, x, y, w, h, true);
  const Clip tc = Intersect(c, x + 2, y + 2, w - 20, h - 4);
  const TextRun& run = CachedRun(font, Drive);
  DrawRun(frame, fw, tc, x + 4, y + (h - run.height) / 2, run, 0);
  // The drop-down button with its arrow.
  const int bx = x + w - 18;
  FillRect(frame, fw, c, bx, y + 2, 16, h - 4, kButtonFace);
  Draw3DFrame(frame, fw, c, bx, y + 2, 16, h - 4, false);
  const int ax = bx + 4, ay = y + h / 2 - 2;
  for (int r = 0; r < 4; ++r) FillRect(frame, fw, c, ax + r, ay + r, 7 - 2 * r, 1, 0);
}

}  // namespace rt
