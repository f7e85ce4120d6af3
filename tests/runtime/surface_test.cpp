#include <gtest/gtest.h>

#include <cmath>

#include "runtime/surface.h"

using namespace rt;

namespace {

PicturePtr Solid(int w, int h, Color c) {
  auto p = std::make_shared<Picture>();
  p->width = w;
  p->height = h;
  p->pixels.assign(size_t(w) * h, c);
  return p;
}

// A picture whose pixel (x, y) is x + 1000 * y: every pixel tells where it came from.
PicturePtr Coded(int w, int h) {
  auto p = std::make_shared<Picture>();
  p->width = w;
  p->height = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p->pixels.push_back(x + 1000 * y);
  return p;
}

int CountColor(const Surface& s, Color c) {
  int n = 0;
  for (Color p : s.ImagePixels()) n += p == c;
  return n;
}

}  // namespace

TEST(Colors, QBColorTableAndRGB) {
  const int rgb[16][3] = {{0, 0, 0},       {0, 0, 128},     {0, 128, 0},   {0, 128, 128},
                          {128, 0, 0},     {128, 0, 128},   {128, 128, 0}, {192, 192, 192},
                          {128, 128, 128}, {0, 0, 255},     {0, 255, 0},   {0, 255, 255},
                          {255, 0, 0},     {255, 0, 255},   {255, 255, 0}, {255, 255, 255}};
  for (int n = 0; n < 16; ++n) EXPECT_EQ(QBColor(n), RGB(rgb[n][0], rgb[n][1], rgb[n][2])) << n;
  EXPECT_EQ(RGB(255, 0, 0), 0x0000FF);
  EXPECT_EQ(RGB(0, 0, 255), 0xFF0000);
  EXPECT_EQ(RGB(300, -1, 0), RGB(44, 255, 0));  // channels wrap into one byte each
}

TEST(Drawing, BoxesAndLinesIncludeTheirCornersInEitherOrder) {
  Surface s(20, 20);
  s.SetAutoRedraw(true);
  s.BackColor = 0;
  s.Cls();
  s.Line(12, 8, 3, 2, vbWhite, Surface::BoxFilled);  // reversed corners
  EXPECT_EQ(CountColor(s, vbWhite), 10 * 7);
  EXPECT_EQ(s.Point(3, 2), vbWhite);
  EXPECT_EQ(s.Point(12, 8), vbWhite);
  EXPECT_EQ(s.Point(13, 8), 0);
  EXPECT_EQ(s.Point(12, 9), 0);
  EXPECT_FLOAT_EQ(s.CurrentX, 3);
  EXPECT_FLOAT_EQ(s.CurrentY, 2);

  s.Cls();
  s.Line(5, 5, 0, 0, vbRed, Surface::Box);
  EXPECT_EQ(CountColor(s, vbRed), 20);  // outline of a 6x6 box
  EXPECT_EQ(s.Point(5, 5), vbRed);
  EXPECT_EQ(s.Point(0, 5), vbRed);
  EXPECT_EQ(s.Point(2, 2), 0);

  s.Cls();
  s.Line(0, 3, 19, 3, vbGreen);
  EXPECT_EQ(CountColor(s, vbGreen), 20);
  s.Line(4, 10, 4, 0, vbBlue);  // a vertical line drawn upwards, both ends included
  EXPECT_EQ(s.Point(4, 0), vbBlue);
  EXPECT_EQ(s.Point(4, 10), vbBlue);
  s.Cls();
  s.Line(0, 0, 9, 4, vbYellow);  // diagonal: one pixel per column
  EXPECT_EQ(CountColor(s, vbYellow), 10);
  EXPECT_EQ(s.Point(9, 4), vbYellow);

  s.Cls();
  s.DrawWidth = 3;  // a wide pen covers a square around each point
  s.PSet(10, 10, vbRed);
  EXPECT_EQ(CountColor(s, vbRed), 9);
  EXPECT_EQ(s.Point(9, 11), vbRed);
  EXPECT_FLOAT_EQ(s.CurrentX, 10);
}

TEST(Drawing, OutOfRangeCoordinatesAreClippedNotFatal) {
  Surface s(10, 10);
  s.SetAutoRedraw(true);
  s.Line(-5, -5, 100, 100, vbWhite, Surface::BoxFilled);
  EXPECT_EQ(CountColor(s, vbWhite), 100);
  s.Cls();
  // Filled boxes wholly beside the surface draw nothing (and write nowhere).
  s.Line(12, 2, 20, 4, vbWhite, Surface::BoxFilled);
  s.Line(-20, 2, -12, 4, vbWhite, Surface::BoxFilled);
  s.Line(2, 12, 4, 20, vbWhite, Surface::BoxFilled);
  EXPECT_EQ(CountColor(s, vbWhite), 0);
  s.Line(-1e9f, 5, 1e9f, 5, vbRed);
  EXPECT_EQ(CountColor(s, vbRed), 10);
  s.Line(-3e9f, -1e9f, 3e9f, 1e9f, vbBlue);  // steep far-away ends still go through the middle
  s.Line(std::nanf(""), 0, 5, 5, vbBlue);
  s.PSet(-1, 3, vbRed);
  s.PSet(10, 3, vbRed);
  s.Circle(5, 5, 1e9f, vbRed);
  EXPECT_EQ(s.Point(-1, 0), -1);
  EXPECT_EQ(s.Point(0, 10), -1);
  EXPECT_EQ(s.Point(9, 9), s.ImagePixels()[99]);
}

TEST(Drawing, InvertModeTwiceRestores) {
  Surface s(40, 30);
  s.SetAutoRedraw(true);
  s.SetPicture(Coded(40, 30));
  const std::vector<Color> before = s.ImagePixels();
  s.DrawMode = vbInvert;
  for (int pass = 0; pass < 2; ++pass) {
    s.Line(30, 20, 2, 3, 0, Surface::BoxFilled);
    s.Line(1, 1, 1, 1, 0, Surface::Box);   // a one-pixel box
    s.Line(5, 5, 5, 20, 0, Surface::Box);  // a one-pixel-wide box
    s.Line(0, 0, 39, 29);
    s.Circle(20, 15, 9);
    s.PSet(7, 7);
  }
  EXPECT_EQ(s.ImagePixels(), before);
  s.Line(0, 0, 0, 0, vbRed, Surface::BoxFilled);
  EXPECT_EQ(s.Point(0, 0), ~before[0] & 0xFFFFFF);  // inverted, the colour is ignored
}

TEST(Drawing, CircleIsSymmetricAroundItsCentre) {
  Surface s(41, 41);
  s.SetAutoRedraw(true);
  s.BackColor = 0;
  s.Cls();
  s.Circle(20, 20, 10, vbWhite);
  for (auto [x, y] : {std::pair{30, 20}, {10, 20}, {20, 30}, {20, 10}})
    EXPECT_EQ(s.Point(float(x), float(y)), vbWhite) << x << "," << y;
  EXPECT_EQ(s.Point(20, 20), 0);
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x) EXPECT_EQ(s.Point(float(x), float(y)), s.Point(float(40 - x), float(y)));
}

TEST(AutoRedraw, OnDrawsIntoTheImageOffOnlyOntoTheScreen) {
  Surface s(8, 8);
  s.BackColor = 0;
  s.SetAutoRedraw(true);
  s.Cls();
  s.PSet(1, 1, vbWhite);
  EXPECT_EQ(s.ImagePixels()[9], vbWhite);
  EXPECT_EQ(s.ScreenPixels()[9], vbWhite);

  s.SetAutoRedraw(false);
  s.TakeScreenChanged();
  s.PSet(2, 2, vbRed);
  EXPECT_TRUE(s.TakeScreenChanged());
  EXPECT_EQ(s.ScreenPixels()[18], vbRed);
  EXPECT_EQ(s.ImagePixels()[18], 0);        // not kept
  EXPECT_EQ(s.ScreenPixels()[9], vbWhite);  // the kept image still shows under it
  EXPECT_EQ(s.Point(2, 2), vbRed);          // reads come from where drawing goes
  EXPECT_EQ(s.Image()->At(2, 2), 0);

  // Switching on keeps the screen until something changes.
  s.SetAutoRedraw(true);
  EXPECT_EQ(s.ScreenPixels()[18], vbRed);
  EXPECT_EQ(s.Point(2, 2), 0);
  s.Refresh();
  EXPECT_EQ(s.ScreenPixels()[18], 0);

  // Off again: a Refresh throws the screen-only drawing away.
  s.SetAutoRedraw(false);
  s.PSet(3, 3, vbGreen);
  s.Refresh();
  EXPECT_EQ(s.ScreenPixels()[27], 0);
  EXPECT_FALSE(s.TakeScreenChanged() && s.TakeScreenChanged());  // cleared by the first take
}

TEST(AutoRedraw, PictureImageClsAndResize) {
  Surface s(6, 4);
  s.BackColor = vbBlue;
  s.SetAutoRedraw(true);
  s.SetPicture(Solid(3, 2, vbRed));
  EXPECT_EQ(s.Point(2, 1), vbRed);
  EXPECT_EQ(s.Point(3, 1), vbBlue);  // outside the picture: back colour
  s.Line(0, 0, 5, 3, vbGreen, Surface::BoxFilled);
  s.CurrentX = 4;
  s.CurrentY = 2;
  s.Cls();  // back colour and the background picture again
  EXPECT_EQ(s.Point(0, 0), vbRed);
  EXPECT_EQ(s.Point(5, 3), vbBlue);
  EXPECT_FLOAT_EQ(s.CurrentX, 0);
  EXPECT_FLOAT_EQ(s.CurrentY, 0);

  // Image is a snapshot; the background picture is unaffected by drawing.
  s.PSet(0, 0, vbWhite);
  PicturePtr snap = s.Image();
  s.PSet(0, 0, vbBlack);
  EXPECT_EQ(snap->At(0, 0), vbWhite);
  EXPECT_EQ(s.GetPicture()->At(0, 0), vbRed);

  // Cls with AutoRedraw off clears the screen too.
  s.SetAutoRedraw(false);
  s.PSet(4, 3, vbWhite);
  s.Cls();
  EXPECT_EQ(s.ScreenPixels()[3 * 6 + 4], vbBlue);

  Surface a(2, 2);
  a.AutoSize = true;
  a.SetPicture(Solid(5, 3, vbYellow));
  EXPECT_EQ(a.ScaleWidth(), 5);
  EXPECT_EQ(a.ScaleHeight(), 3);
  a.BackColor = vbGreen;
  a.ResizeSurface(6, 3);  // keeps the top-left pixels, new ones in the back colour
  EXPECT_EQ(a.Point(4, 2), vbYellow);
  EXPECT_EQ(a.Point(5, 2), vbGreen);
  a.ResizeSurface(-4, 3);
  EXPECT_EQ(a.ScaleWidth(), 0);
  EXPECT_EQ(a.Point(0, 0), -1);
  a.ResizeSurface(2000000000, 1);  // cut down instead of exhausting memory
  EXPECT_LE(a.ScaleWidth(), 65536);
}

// Surfaces of one colour, a background picture of the surface's size and Image() snapshots
// share their pixels; whatever draws afterwards must change only the surface it draws on.
TEST(AutoRedraw, SharedPixelsStayApartWhenOneSideDraws) {
  Surface a(64, 48), b(64, 48);
  for (Surface* s : {&a, &b}) {
    s->BackColor = vbBlack;
    s->SetAutoRedraw(true);
    s->Cls();
  }
  a.PSet(3, 4, vbWhite);
  EXPECT_EQ(a.Point(3, 4), vbWhite);
  EXPECT_EQ(b.Point(3, 4), vbBlack);

  PicturePtr bild = a.Image();
  a.Line(0, 0, 63, 47, vbRed, Surface::BoxFilled);
  EXPECT_EQ(bild->At(3, 4), vbWhite) << "a snapshot keeps what it saw";
  EXPECT_EQ(bild->At(10, 10), vbBlack);
  EXPECT_EQ(a.Point(3, 4), vbRed);

  PicturePtr kodiert = Coded(64, 48);
  b.SetPicture(kodiert);
  EXPECT_EQ(b.Point(5, 6), 5 + 6000);
  b.PSet(5, 6, vbGreen);
  EXPECT_EQ(kodiert->At(5, 6), 5 + 6000) << "drawing must not reach the background picture";
  b.Cls();
  EXPECT_EQ(b.Point(5, 6), 5 + 6000);
  BitBlt(b.hDC(), 0, 0, 2, 2, a.hDC(), 0, 0, SRCCOPY);
  EXPECT_EQ(b.Point(1, 1), vbRed);
  EXPECT_EQ(kodiert->At(1, 1), 1 + 1000);

  // A resized surface of one colour is still that colour, however it was shared.
  Surface c(64, 48);
  c.BackColor = vbBlack;
  c.Cls();
  c.ResizeSurface(80, 50);
  EXPECT_EQ(c.Point(70, 49), vbBlack);
  EXPECT_EQ(c.Point(10, 10), vbBlack);
  EXPECT_EQ(c.ImagePixels().size(), size_t(80 * 50));
}

TEST(PaintPicture, StretchesMirrorsAndCombines) {
  Surface s(640, 480);
  s.SetAutoRedraw(true);
  PicturePtr small = Coded(320, 240);
  s.PaintPicture(small, 0, 0, 640, 480, 0, 0, 320, 240);
  for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {2, 0}, {639, 479}, {101, 333}})
    EXPECT_EQ(s.Point(float(x), float(y)), x / 2 + 1000 * (y / 2)) << x << "," << y;

  // Default sizes: the picture as it is.
  s.Cls();
  s.PaintPicture(Coded(4, 3), 10, 20);
  EXPECT_EQ(s.Point(13, 22), 3 + 2000);
  EXPECT_EQ(s.Point(14, 22), s.BackColor);

  // Negative width: mirrored, covering x + w .. x.
  s.PaintPicture(Coded(4, 1), 104, 0, -4, 1, 0, 0, 4, 1);
  EXPECT_EQ(s.Point(100, 0), 3);
  EXPECT_EQ(s.Point(103, 0), 0);
  EXPECT_EQ(s.Point(104, 0), s.BackColor);

  // Squeezing 800x600 into 640x480 stays inside the picture.
  s.PaintPicture(Coded(800, 600), 0, 0, 640, 480, 0, 0, 800, 600);
  EXPECT_EQ(s.Point(0, 0), 0);
  EXPECT_LT(s.Point(639, 479) % 1000, 800);

  // OR and AND, and a 1x1 source stretched over everything.
  s.SetPicture(Solid(640, 480, RGB(0x10, 0x20, 0x30)));
  s.PaintPicture(Solid(1, 1, RGB(0x01, 0x02, 0x03)), 0, 0, 640, 480, 0, 0, 1, 1, SRCPAINT);
  EXPECT_EQ(CountColor(s, RGB(0x11, 0x22, 0x33)), 640 * 480);
  s.PaintPicture(Solid(2, 2, RGB(0x0F, 0xF0, 0xFF)), 5, 5, 2, 2, 0, 0, 2, 2, SRCAND);
  EXPECT_EQ(s.Point(6, 6), RGB(0x01, 0x20, 0x33));

  // Reads outside the source are black; an unknown operation draws nothing.
  s.PaintPicture(Solid(2, 2, vbWhite), 0, 0, 4, 1, 0, 0, 4, 1);
  EXPECT_EQ(s.Point(1, 0), vbWhite);
  EXPECT_EQ(s.Point(3, 0), 0);
  s.PaintPicture(Solid(2, 2, vbRed), 0, 0, 2, 2, 0, 0, 2, 2, 0x12345678);
  EXPECT_EQ(s.Point(0, 0), vbWhite);
  s.PaintPicture(nullptr, 0, 0);
  s.PaintPicture(Solid(2, 2, vbRed), 0, 0, 0, 0);
}

TEST(PaintPicture, FromAnotherSurfaceAndFromItself) {
  Surface a(10, 10), b(10, 10);
  a.SetAutoRedraw(false);
  a.SetPicture(Coded(10, 10));
  a.PSet(0, 0, vbWhite);  // only on a's screen: PaintSurface still sees it
  b.SetAutoRedraw(true);
  b.PaintSurface(a, 0, 0, 10, 10, 0, 0, 10, 10);
  EXPECT_EQ(b.Point(0, 0), vbWhite);
  EXPECT_EQ(b.Point(9, 9), 9009);

  // Shifting within one surface reads the pixels as they were before the copy.
  b.PaintSurface(b, 1, 0, 9, 10, 0, 0, 9, 10);
  EXPECT_EQ(b.Point(1, 0), vbWhite);
  EXPECT_EQ(b.Point(9, 5), 5008);
}

TEST(Gdi, BitBltClipsBothSidesAndHandlesOverlap) {
  Surface src(10, 10), dst(10, 10);
  src.SetAutoRedraw(true);
  src.SetPicture(Coded(10, 10));
  dst.SetAutoRedraw(true);
  dst.BackColor = vbWhite;
  dst.Cls();

  // Source partly outside on the left and top: only the inside lands, at the matching place.
  EXPECT_TRUE(BitBlt(&dst, 0, 0, 4, 4, &src, -2, -1, SRCCOPY));
  EXPECT_EQ(GetPixel(&dst, 0, 0), vbWhite);
  EXPECT_EQ(GetPixel(&dst, 1, 0), vbWhite);
  EXPECT_EQ(GetPixel(&dst, 2, 1), 0);
  EXPECT_EQ(GetPixel(&dst, 3, 3), 1 + 2000);
  // Destination partly outside.
  dst.Cls();
  EXPECT_TRUE(BitBlt(&dst, 8, -3, 5, 5, &src, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(&dst, 8, 0), 3000);
  EXPECT_EQ(GetPixel(&dst, 9, 1), 1 + 4000);
  EXPECT_EQ(GetPixel(&dst, 7, 0), vbWhite);
  EXPECT_EQ(GetPixel(&dst, 8, 2), vbWhite);
  // Entirely outside, empty, or huge: nothing breaks.
  EXPECT_TRUE(BitBlt(&dst, 50, 50, 5, 5, &src, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(&dst, 0, 0, 0, 5, &src, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(&dst, -2000000000, 0, 2000000000, 5, &src, -2000000000, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 1, 1, &src, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 0xDEADBEEF));

  // Overlapping shifts within one surface in all four directions equal a copy via a spare one.
  for (auto [dx, dy] : {std::pair{3, 0}, {-3, 0}, {0, 2}, {0, -2}, {2, 2}, {-1, -3}}) {
    Surface s(10, 10), ref(10, 10), tmp(10, 10);
    for (Surface* p : {&s, &ref, &tmp}) {
      p->SetAutoRedraw(true);
      p->SetPicture(Coded(10, 10));
    }
    BitBlt(&s, 1 + dx, 2 + dy, 6, 5, &s, 1, 2, SRCCOPY);
    BitBlt(&ref, 1 + dx, 2 + dy, 6, 5, &tmp, 1, 2, SRCCOPY);
    EXPECT_EQ(s.ImagePixels(), ref.ImagePixels()) << dx << "," << dy;
    BitBlt(&s, 1 + dx, 2 + dy, 6, 5, &s, 1, 2, SRCINVERT);
    BitBlt(&ref, 1 + dx, 2 + dy, 6, 5, &ref, 1, 2, SRCINVERT);
    EXPECT_EQ(s.ImagePixels(), ref.ImagePixels()) << dx << "," << dy;
  }
}

TEST(Gdi, RasterOperationsAndPixels) {
  Surface a(4, 4), b(4, 4);
  a.SetAutoRedraw(true);
  b.SetAutoRedraw(true);
  a.SetPicture(Solid(4, 4, 0x0F0F0F));
  b.SetPicture(Solid(4, 4, 0x3C3C3C));
  BitBlt(&a, 0, 0, 1, 1, &b, 0, 0, SRCAND);
  BitBlt(&a, 1, 0, 1, 1, &b, 0, 0, SRCPAINT);
  BitBlt(&a, 2, 0, 1, 1, &b, 0, 0, SRCINVERT);
  EXPECT_EQ(GetPixel(&a, 0, 0), 0x0C0C0C);
  EXPECT_EQ(GetPixel(&a, 1, 0), 0x3F3F3F);
  EXPECT_EQ(GetPixel(&a, 2, 0), 0x333333);

  EXPECT_EQ(GetPixel(&a, -1, 0), -1);
  EXPECT_EQ(GetPixel(&a, 0, 4), -1);
  EXPECT_EQ(GetPixel(nullptr, 0, 0), -1);
  EXPECT_EQ(SetPixel(&a, 3, 3, vbRed), vbRed);
  EXPECT_EQ(SetPixel(&a, 4, 3, vbRed), -1);
  EXPECT_TRUE(SetPixelV(&a, 0, 3, vbGreen));
  EXPECT_FALSE(SetPixelV(&a, 0, -1, vbGreen));
  EXPECT_EQ(a.Point(3, 3), vbRed);
  EXPECT_EQ(a.Point(0, 3), vbGreen);

  // With AutoRedraw off the handle draws onto the screen only.
  a.SetAutoRedraw(false);
  SetPixelV(a.hDC(), 1, 1, vbBlue);
  EXPECT_EQ(GetPixel(a.hDC(), 1, 1), vbBlue);
  EXPECT_EQ(a.ImagePixels()[5], 0x0F0F0F);
}
