// Picture surfaces: retained image and screen pixels, drawing primitives, stretched copies and
// the GDI-style calls on device-context handles.
#include "runtime/surface.h"
#include "runtime/pixel_ops.h"

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

namespace rt {

namespace {

constexpr Color kRgbMask = 0xFFFFFF;
// Optional PaintPicture arguments arrive as -1e9; anything this low counts as "not given".
constexpr float kNotGiven = -1e8f;

// Combines n destination pixels with source(i); the operation is chosen once per row so the
// inner loops stay simple enough to vectorise.
template <class Source>
void CombineRow(uint32_t rop, Color* out, int n, Source source) {
  switch (rop) {
    case SRCPAINT: for (int i = 0; i < n; ++i) out[i] |= source(i); break;
    case SRCAND: for (int i = 0; i < n; ++i) out[i] &= source(i); break;
    case SRCINVERT: for (int i = 0; i < n; ++i) out[i] ^= source(i); break;
    default: for (int i = 0; i < n; ++i) out[i] = source(i);
  }
}

bool KnownRop(uint32_t rop) {
  return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND || rop == SRCINVERT;
}

// A source of pixels for stretched copies.
struct SrcView {
  const Color* px;
  const uint8_t* alpha;  // nullptr = opaque
  int w, h;
};

// Stretched copy with nearest-neighbour sampling. Source reads outside the source are black; a
// negative destination width or height mirrors, as does a negative source extent.
void Stretch(std::vector<Color>& dst, int dw, int dh, const SrcView& src, double x, double y,
             double w, double h, double sx, double sy, double sw, double sh, uint32_t rop) {
  int dx0 = PixelOf(x), dx1 = PixelOf(x + w), dy0 = PixelOf(y), dy1 = PixelOf(y + h);
  bool flipX = dx1 < dx0, flipY = dy1 < dy0;
  if (flipX) std::swap(dx0, dx1);
  if (flipY) std::swap(dy0, dy1);
  const int spanW = dx1 - dx0, spanH = dy1 - dy0;
  if (spanW <= 0 || spanH <= 0) return;
  const int cx0 = std::max(dx0, 0), cx1 = std::min(dx1, dw);
  const int cy0 = std::max(dy0, 0), cy1 = std::min(dy1, dh);
  if (cx0 >= cx1 || cy0 >= cy1) return;

  // Source column / row for each visible destination column / row; -1 reads black.
  auto map = [](int c0, int c1, int d0, int span, bool flip, double s0, double sext, int slimit) {
    std::vector<int> m(size_t(c1 - c0));
    for (int d = c0; d < c1; ++d) {
      int i = d - d0;
      if (flip) i = span - 1 - i;
      double u = s0 + (i + 0.5) * sext / span;
      int s = int(std::floor(std::clamp(u, -1.0, double(slimit) + 1)));
      m[size_t(d - c0)] = (s >= 0 && s < slimit) ? s : -1;
    }
    return m;
  };
  const std::vector<int> cols = map(cx0, cx1, dx0, spanW, flipX, sx, sw, src.w);
  const std::vector<int> rows = map(cy0, cy1, dy0, spanH, flipY, sy, sh, src.h);
  const int n = cx1 - cx0;
  // A plain 1:1 run of columns lets whole rows be copied at once.
  bool contiguous = cols.front() >= 0;
  for (int i = 1; i < n && contiguous; ++i) contiguous = cols[size_t(i)] == cols[0] + i;
  // One source column across the whole span (a 1x1 picture stretched over the scene, as the
  // fades do) combines a single colour per row.
  bool oneColumn = cols.front() >= 0;
  for (int i = 1; i < n && oneColumn; ++i) oneColumn = cols[size_t(i)] == cols[0];
  const bool useAlpha = src.alpha && rop == SRCCOPY;

  for (int dyy = cy0; dyy < cy1; ++dyy) {
    Color* out = dst.data() + size_t(dyy) * dw + cx0;
    const int sr = rows[size_t(dyy - cy0)];
    if (sr < 0) {
      CombineRow(rop, out, n, [](int) { return Color(0); });
      continue;
    }
    const Color* in = src.px + size_t(sr) * src.w;
    if (useAlpha) {
      const uint8_t* a = src.alpha + size_t(sr) * src.w;
      for (int i = 0; i < n; ++i) {
        int c = cols[size_t(i)];
        out[i] = c < 0 ? 0 : BlendColor(out[i], in[c], a[c]);
      }
    } else if (contiguous && rop == SRCCOPY) {
      std::memmove(out, in + cols[0], size_t(n) * sizeof(Color));
    } else if (oneColumn) {
      const Color c = in[cols[0]];
      CombineRow(rop, out, n, [c](int) { return c; });
    } else {
      const int* map = cols.data();
      CombineRow(rop, out, n, [&](int i) { return map[i] < 0 ? 0 : in[map[i]]; });
    }
  }
}

// One shared picture per size and colour, alive while some surface uses it.
PicturePtr UniformPicture(int w, int h, Color c) {
  static std::map<std::tuple<int, int, Color>, std::weak_ptr<const Picture>> known;
  std::weak_ptr<const Picture>& slot = known[{w, h, c}];
  if (PicturePtr p = slot.lock()) return p;
  if (known.size() > 64)
    for (auto it = known.begin(); it != known.end();) it = it->second.expired() ? known.erase(it) : std::next(it);
  auto p = std::make_shared<Picture>();
  p->width = w;
  p->height = h;
  p->pixels.assign(size_t(w) * h, c);
  known[{w, h, c}] = p;
  return p;
}

const std::vector<Color> kNoPixels;

// Scene-sized pixel buffers (1.2 MB) come and go on every room entry and effect: they stay in the
// heap for reuse, since a fresh mapping costs a page fault per 4 KB each time. Larger pictures are
// rare and mapped on their own, so that they go back to the system when freed.
[[maybe_unused]] const bool kLargeBuffersMapped = mallopt(M_MMAP_THRESHOLD, 2 * 1024 * 1024) == 1;

}  // namespace

Color QBColor(int n) {
  static constexpr Color table[16] = {
      RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(0, 128, 0),   RGB(0, 128, 128),
      RGB(128, 0, 0),     RGB(128, 0, 128),   RGB(128, 128, 0), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(0, 0, 255),     RGB(0, 255, 0),   RGB(0, 255, 255),
      RGB(255, 0, 0),     RGB(255, 0, 255),   RGB(255, 255, 0), RGB(255, 255, 255)};
  return (n >= 0 && n < 16) ? table[n] : 0;
}

// Larger surfaces than this are cut down: no screen needs them, and a wild size must not try to
// allocate gigabytes.
constexpr int kMaxSide = 1 << 14;

Surface::Surface(int w, int h) {
  w_ = std::clamp(w, 0, kMaxSide);
  h_ = std::clamp(h, 0, kMaxSide);
  uniform_ = BackColor & kRgbMask;
  image_ = UniformPicture(w_, h_, uniform_);
}

const std::vector<Color>& Surface::ImagePixels() const { return image_ ? image_->pixels : kNoPixels; }

std::vector<Color>& Surface::WritableImage() {
  if (!ownImage_ || image_.use_count() > 1) {
    auto copy = std::make_shared<Picture>();
    copy->width = w_;
    copy->height = h_;
    copy->pixels = ImagePixels();
    copy->pixels.resize(size_t(w_) * h_, BackColor & kRgbMask);
    image_ = std::move(copy);
    ownImage_ = true;
  }
  uniform_ = -1;
  // Made above as a mutable picture and held by nobody else.
  return const_cast<Picture&>(*image_).pixels;
}

Surface::~Surface() = default;

void Surface::ResizeSurface(int w, int h) {
  w = std::clamp(w, 0, kMaxSide);
  h = std::clamp(h, 0, kMaxSide);
  if (w == w_ && h == h_) return;
  auto resize = [&](const std::vector<Color>& px) {
    std::vector<Color> out(size_t(w) * h, BackColor & kRgbMask);
    const int cw = std::min(w, w_), ch = std::min(h, h_);
    for (int y = 0; cw > 0 && y < ch && px.size() >= size_t(w_) * h_; ++y)
      std::memcpy(out.data() + size_t(y) * w, px.data() + size_t(y) * w_, size_t(cw) * sizeof(Color));
    return out;
  };
  if (!showImage_) screen_ = resize(screen_);
  if (uniform_ == (BackColor & kRgbMask)) {
    image_ = UniformPicture(w, h, uniform_);
    ownImage_ = false;
  } else {
    auto pic = std::make_shared<Picture>();
    pic->width = w;
    pic->height = h;
    pic->pixels = resize(ImagePixels());
    image_ = std::move(pic);
    ownImage_ = true;
    uniform_ = -1;
  }
  w_ = w;
  h_ = h;
  screenChanged_ = true;
}

void Surface::SetAutoRedraw(bool on) { autoRedraw_ = on; }

void Surface::SetPicture(PicturePtr pic) {
  picture_ = std::move(pic);
  if (AutoSize && picture_) ResizeSurface(picture_->width, picture_->height);
  FillBackground();
}

PicturePtr Surface::Image() const {
  if (image_) return image_;  // shared: this surface copies it before it draws again
  auto pic = std::make_shared<Picture>();
  pic->width = w_;
  pic->height = h_;
  return pic;
}

void Surface::FillBackground() {
  const Color fill = BackColor & kRgbMask;
  const bool picture = picture_ && picture_->width > 0 && picture_->height > 0 &&
                       picture_->pixels.size() >= size_t(picture_->width) * picture_->height;
  if (!picture) {
    image_ = UniformPicture(w_, h_, fill);
    ownImage_ = false;
    uniform_ = fill;
  } else if (picture_->width == w_ && picture_->height == h_ && picture_->alpha.empty()) {
    image_ = picture_;  // covers the whole surface as it is
    ownImage_ = false;
    uniform_ = -1;
  } else {
    const Picture& p = *picture_;
    auto pic = std::make_shared<Picture>();
    pic->width = w_;
    pic->height = h_;
    pic->pixels.assign(size_t(w_) * h_, fill);
    SrcView src{p.pixels.data(), p.alpha.empty() ? nullptr : p.alpha.data(), p.width, p.height};
    Stretch(pic->pixels, w_, h_, src, 0, 0, p.width, p.height, 0, 0, p.width, p.height, SRCCOPY);
    image_ = std::move(pic);
    ownImage_ = true;
    uniform_ = -1;
  }
  showImage_ = true;
  screenChanged_ = true;
}

void Surface::Cls() {
  FillBackground();
  CurrentX = CurrentY = 0;
}

void Surface::Plot(std::vector<Color>& px, int x, int y, Color c) {
  auto one = [&](int xx, int yy) {
    if (xx < 0 || yy < 0 || xx >= w_ || yy >= h_) return;
    Color& p = px[size_t(yy) * w_ + xx];
    p = DrawMode == vbInvert ? (~p & kRgbMask) : c;
  };
  if (DrawWidth <= 1) return one(x, y);
  const int lo = -(DrawWidth - 1) / 2, hi = lo + std::min(DrawWidth, 64);
  for (int yy = lo; yy < hi; ++yy)
    for (int xx = lo; xx < hi; ++xx) one(x + xx, y + yy);
}

void Surface::Line(float x1f, float y1f, float x2f, float y2f, Color color, LineKind kind) {
  const Color c = (color < 0 ? ForeColor : color) & kRgbMask;
  CurrentX = x2f;
  CurrentY = y2f;
  std::vector<Color>& px = DrawPixels();
  int x1 = PixelOf(x1f), y1 = PixelOf(y1f), x2 = PixelOf(x2f), y2 = PixelOf(y2f);

  if (kind != Plain) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (kind == BoxFilled) {
      const int l = std::max(x1, 0), r = std::min(x2, w_ - 1);
      const int t = std::max(y1, 0), b = std::min(y2, h_ - 1);
      if (l > r) return;  // wholly left or right of the surface
      for (int y = t; y <= b; ++y) {
        Color* row = px.data() + size_t(y) * w_;
        if (DrawMode == vbInvert)
          for (int x = l; x <= r; ++x) row[x] = ~row[x] & kRgbMask;
        else
          std::fill(row + l, row + r + 1, c);
      }
      return;
    }
    // Outline: each pixel once, so an inverting box drawn twice restores the surface.
    const int l = std::max(x1, -1), r = std::min(x2, w_), t = std::max(y1, -1), b = std::min(y2, h_);
    for (int x = l; x <= r; ++x) {
      Plot(px, x, y1, c);
      if (y2 != y1) Plot(px, x, y2, c);
    }
    for (int y = std::max(y1 + 1, t); y <= std::min(y2 - 1, b); ++y) {
      Plot(px, x1, y, c);
      if (x2 != x1) Plot(px, x2, y, c);
    }
    return;
  }

  // Plain line: clip far-away ends to a margin around the surface first, so that absurd
  // coordinates cost no more than an ordinary line.
  double ax = x1, ay = y1, bx = x2, by = y2;
  const double lo = -2, hiX = w_ + 1, hiY = h_ + 1;
  if (std::min(ax, bx) < lo || std::max(ax, bx) > hiX || std::min(ay, by) < lo ||
      std::max(ay, by) > hiY) {
    double t0 = 0, t1 = 1, dx = bx - ax, dy = by - ay;
    auto clip = [&](double p, double q) {
      if (p == 0) return q >= 0;
      double r = q / p;
      if (p < 0) {
        if (r > t1) return false;
        t0 = std::max(t0, r);
      } else {
        if (r < t0) return false;
        t1 = std::min(t1, r);
      }
      return true;
    };
    if (!clip(-dx, ax - lo) || !clip(dx, hiX - ax) || !clip(-dy, ay - lo) || !clip(dy, hiY - ay))
      return;
    x1 = PixelOf(ax + t0 * dx);
    y1 = PixelOf(ay + t0 * dy);
    x2 = PixelOf(ax + t1 * dx);
    y2 = PixelOf(ay + t1 * dy);
  }
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int stepX = x1 < x2 ? 1 : -1, stepY = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Plot(px, x1, y1, c);
    if (x1 == x2 && y1 == y2) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x1 += stepX;
    }
    if (e2 <= dx) {
      err += dx;
      y1 += stepY;
    }
  }
}

void Surface::PSet(float x, float y, Color color) {
  CurrentX = x;
  CurrentY = y;
  Plot(DrawPixels(), PixelOf(x), PixelOf(y), (color < 0 ? ForeColor : color) & kRgbMask);
}

Color Surface::Point(float x, float y) const {
  const int ix = PixelOf(x), iy = PixelOf(y);
  if (ix < 0 || iy < 0 || ix >= w_ || iy >= h_) return -1;
  return CurrentPixels()[size_t(iy) * w_ + ix];
}

void Surface::Circle(float xf, float yf, float radius, Color color) {
  const Color c = (color < 0 ? ForeColor : color) & kRgbMask;
  CurrentX = xf;
  CurrentY = yf;
  std::vector<Color>& px = DrawPixels();
  const int cx = PixelOf(xf), cy = PixelOf(yf);
  const int r = PixelOf(std::min(std::fabs(double(radius)), 65536.0));
  if (r == 0) return Plot(px, cx, cy, c);
  // Midpoint circle; the points are collected first so that each is drawn exactly once.
  std::vector<std::pair<int, int>> pts;
  pts.reserve(size_t(r) * 8 + 8);
  for (int x = 0, y = r, d = 1 - r; x <= y; ++x) {
    const int o[8][2] = {{x, y}, {y, x}, {-x, y}, {-y, x}, {x, -y}, {y, -x}, {-x, -y}, {-y, -x}};
    for (auto& p : o) pts.emplace_back(cx + p[0], cy + p[1]);
    if (d < 0) {
      d += 2 * x + 3;
    } else {
      d += 2 * (x - y) + 5;
      --y;
    }
  }
  std::sort(pts.begin(), pts.end());
  pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
  for (auto& p : pts) Plot(px, p.first, p.second, c);
}

void Surface::PaintPicture(const PicturePtr& pic, float x, float y, float w, float h, float sx,
                           float sy, float sw, float sh, uint32_t rop) {
  if (!pic || pic->width <= 0 || pic->height <= 0 || !KnownRop(rop)) return;
  if (sw <= kNotGiven) sw = float(pic->width) - sx;
  if (sh <= kNotGiven) sh = float(pic->height) - sy;
  if (w <= kNotGiven) w = sw;
  if (h <= kNotGiven) h = sh;
  SrcView src{pic->pixels.data(), pic->alpha.empty() ? nullptr : pic->alpha.data(), pic->width,
              pic->height};
  Stretch(DrawPixels(), w_, h_, src, x, y, w, h, sx, sy, sw, sh, rop);
}

void Surface::PaintSurface(const Surface& src, float x, float y, float w, float h, float sx,
                           float sy, float sw, float sh, uint32_t rop) {
  if (!KnownRop(rop) || src.w_ <= 0 || src.h_ <= 0) return;
  std::vector<Color>& dst = DrawPixels();
  const std::vector<Color>& from = src.CurrentPixels();
  if (&from == &dst) {  // copying within one surface reads the pixels as they were
    const std::vector<Color> copy = from;
    Stretch(dst, w_, h_, SrcView{copy.data(), nullptr, src.w_, src.h_}, x, y, w, h, sx, sy, sw,
            sh, rop);
  } else {
    Stretch(dst, w_, h_, SrcView{from.data(), nullptr, src.w_, src.h_}, x, y, w, h, sx, sy, sw,
            sh, rop);
  }
}

void Surface::Refresh() {
  showImage_ = true;
  screenChanged_ = true;
}

const std::vector<Color>& Surface::ScreenPixels() const { return showImage_ ? ImagePixels() : screen_; }

std::vector<Color>& Surface::DrawPixels() {
  screenChanged_ = true;
  if (autoRedraw_) {
    showImage_ = true;
    return WritableImage();
  }
  if (showImage_) {
    screen_ = ImagePixels();
    showImage_ = false;
  }
  return screen_;
}

const std::vector<Color>& Surface::CurrentPixels() const {
  return autoRedraw_ ? ImagePixels() : ScreenPixels();
}

bool Surface::TakeScreenChanged() {
  const bool changed = screenChanged_;
  screenChanged_ = false;
  return changed;
}

// ---- GDI-style calls -----------------------------------------------------------------------

bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop) {
  if (!dst || !src || !KnownRop(rop)) return false;
  if (w <= 0 || h <= 0) return true;
  // Clip against the source, then the destination, moving both rectangles together.
  auto clip = [](int& d, int& s, int& len, int slimit, int dlimit) {
    long long dd = d, ss = s, n = len;
    if (ss < 0) { dd -= ss; n += ss; ss = 0; }
    if (ss + n > slimit) n = slimit - ss;
    if (dd < 0) { ss -= dd; n += dd; dd = 0; }
    if (dd + n > dlimit) n = dlimit - dd;
    if (n <= 0) { len = 0; return; }
    d = int(dd);
    s = int(ss);
    len = int(n);
  };
  clip(x, sx, w, src->ScaleWidth(), dst->ScaleWidth());
  clip(y, sy, h, src->ScaleHeight(), dst->ScaleHeight());
  if (w <= 0 || h <= 0) return true;

  std::vector<Color>& d = dst->DrawPixels();
  const std::vector<Color>& s = src->CurrentPixels();
  const int dw = dst->ScaleWidth(), sw = src->ScaleWidth();
  if (rop == SRCCOPY) {
    // memmove per row, rows in the order that overlapping copies within one surface need.
    const bool upward = &d == &s && y > sy;
    for (int k = 0; k < h; ++k) {
      const int r = upward ? h - 1 - k : k;
      std::memmove(d.data() + size_t(y + r) * dw + x, s.data() + size_t(sy + r) * sw + sx,
                   size_t(w) * sizeof(Color));
    }
    return true;
  }
  std::vector<Color> tmp;
  const Color* from = s.data();
  int fromW = sw, fx = sx, fy = sy;
  if (&d == &s) {
    tmp.resize(size_t(w) * h);
    for (int r = 0; r < h; ++r)
      std::memcpy(tmp.data() + size_t(r) * w, s.data() + size_t(sy + r) * sw + sx,
                  size_t(w) * sizeof(Color));
    from = tmp.data();
    fromW = w;
    fx = fy = 0;
  }
  for (int r = 0; r < h; ++r) {
    Color* out = d.data() + size_t(y + r) * dw + x;
    const Color* in = from + size_t(fy + r) * fromW + fx;
    CombineRow(rop, out, w, [in](int i) { return in[i]; });
  }
  return true;
}

Color GetPixel(HDC dc, int x, int y) {
  if (!dc || x < 0 || y < 0 || x >= dc->ScaleWidth() || y >= dc->ScaleHeight()) return -1;
  return dc->CurrentPixels()[size_t(y) * dc->ScaleWidth() + x];
}

Color SetPixel(HDC dc, int x, int y, Color c) {
  if (!dc || x < 0 || y < 0 || x >= dc->ScaleWidth() || y >= dc->ScaleHeight()) return -1;
  c &= kRgbMask;
  dc->DrawPixels()[size_t(y) * dc->ScaleWidth() + x] = c;
  return c;
}

bool SetPixelV(HDC dc, int x, int y, Color c) { return SetPixel(dc, x, y, c) != -1; }

}  // namespace rt
