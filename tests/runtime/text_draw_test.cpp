#include <gtest/gtest.h>

#include <limits>

#include "runtime/surface.h"

using namespace rt;

namespace {

Font Named(const char* name, float size = 8.25f, bool bold = false) {
  Font f;
  f.name = name;
  f.size = size;
  f.bold = bold;
  return f;
}

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};
Box Ink(const Surface& s, Color c) {
  Box b;
  for (int y = 0; y < s.ScaleHeight(); ++y)
    for (int x = 0; x < s.ScaleWidth(); ++x)
      if (s.ImagePixels()[size_t(y) * s.ScaleWidth() + x] == c) {
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
        ++b.count;
      }
  return b;
}

}  // namespace

TEST(Fonts, EveryNamedFontMeasuresSensibly) {
  for (const char* name : {"MS Sans Serif", "Fixedsys", "Arial", "Times New Roman", "Courier",
                           "Courier New", "No Such Font"}) {
    SCOPED_TRACE(name);
    Surface s(10, 10);
    s.font = Named(name);
    const float h = s.TextHeight("Hallo");
    EXPECT_GE(h, 10);
    EXPECT_LE(h, 24);
    EXPECT_GT(s.TextWidth("Hallo"), 10);
    EXPECT_GT(s.TextWidth("Hallo Welt"), s.TextWidth("Hallo"));
    EXPECT_EQ(s.TextWidth(""), 0);
    EXPECT_EQ(s.TextHeight(""), h);
    // One line per carriage return, with or without a line feed; the widest line counts.
    EXPECT_EQ(s.TextHeight("a\rb"), 2 * h);
    EXPECT_EQ(s.TextHeight("a\r\nb\r"), 3 * h);
    EXPECT_EQ(s.TextWidth("ab\rHallo Welt\r\nx"), s.TextWidth("Hallo Welt"));
    s.font.bold = true;
    EXPECT_GE(s.TextWidth("Hallo Welt"), s.TextWidth("Hallo") + 1);
    s.font.size = 24;
    EXPECT_GT(s.TextHeight("x"), 1.5f * h);
  }
}

TEST(Fonts, OddSettingsStillGiveAUsableFont) {
  for (float size : {0.f, -5.f, std::numeric_limits<float>::quiet_NaN(), 1e30f}) {
    Font f = Named("Arial", size);
    EXPECT_GT(FontLineHeight(f), 0) << size;
    EXPECT_GT(FontTextWidth(f, "abc"), 0) << size;
  }
  Font f = Named("Fixedsys");
  f.italic = f.underline = true;
  EXPECT_GT(RenderTextLine(f, "abc").width, 0);
  f.name = "";
  EXPECT_EQ(FontLineHeight(f), FontLineHeight(Named("MS Sans Serif")));
}

TEST(Fonts, FixedsysKeepsItsCharacterGrid) {
  const Font f = Named("Fixedsys");
  EXPECT_EQ(FontTextWidth(f, "a"), 8);
  EXPECT_EQ(FontTextWidth(f, "abcdefghij"), 80);
  EXPECT_EQ(FontTextWidth(f, "\xe4\xf6\xfc\xdf"), 32);  // Windows-1252 umlauts, one cell each
  EXPECT_EQ(FontLineHeight(f), FontLineHeight(Named("Fixedsys", 12, true)));
  const TextRun run = RenderTextLine(f, "\xc4");
  EXPECT_EQ(run.width, 8);
  EXPECT_EQ(run.height, FontLineHeight(f));
  int ink = 0;
  for (uint8_t c : run.coverage) ink += c != 0;
  EXPECT_GT(ink, 6);
  EXPECT_TRUE(RenderTextLine(f, "").coverage.empty());

  // Far bigger sizes enlarge the cells by whole multiples.
  const Font big = Named("Fixedsys", 27);  // three times the natural size
  EXPECT_EQ(FontTextWidth(big, "ab"), 48);
  EXPECT_EQ(FontLineHeight(big), 3 * FontLineHeight(f));
  const TextRun small = RenderTextLine(f, "A"), large = RenderTextLine(big, "A");
  ASSERT_EQ(large.width, 24);
  for (int y = 0; y < large.height; ++y)
    for (int x = 0; x < large.width; ++x)
      ASSERT_EQ(large.coverage[size_t(y) * 24 + x], small.coverage[size_t(y / 3) * 8 + x / 3]);
}

TEST(Print, DrawsInForeColorAndMovesDownALine) {
  Surface s(200, 100);
  s.SetAutoRedraw(true);
  s.BackColor = vbBlue;
  s.Cls();
  s.font = Named("Arial", 12);
  s.ForeColor = vbYellow;
  s.CurrentX = 20;
  s.CurrentY = 10;
  const float lh = s.TextHeight("X");
  s.Print("Hallo");
  EXPECT_FLOAT_EQ(s.CurrentX, 0);
  EXPECT_FLOAT_EQ(s.CurrentY, 10 + lh);
  const Box b = Ink(s, vbYellow);
  EXPECT_GT(b.count, 20);
  EXPECT_GE(b.left, 20);
  EXPECT_LE(b.right, 20 + int(s.TextWidth("Hallo")));
  EXPECT_GE(b.top, 10);
  EXPECT_LT(b.bottom, 10 + int(lh));
  // Transparent: everything else is still the back colour.
  EXPECT_EQ(Ink(s, vbBlue).count + b.count, 200 * 100);

  // Two lines through a carriage return; the second starts at the left edge.
  s.Cls();
  s.CurrentX = 50;
  s.CurrentY = 0;
  s.Print("ab\r\nab");
  EXPECT_FLOAT_EQ(s.CurrentY, 2 * lh);
  const Box two = Ink(s, vbYellow);
  EXPECT_LT(two.left, 10);
  EXPECT_GE(two.bottom, int(lh));

  // Without the line break the pen stays on the line, behind the text.
  s.CurrentX = 5;
  s.CurrentY = 40;
  s.PrintNoNewline("Hallo");
  EXPECT_FLOAT_EQ(s.CurrentY, 40);
  EXPECT_FLOAT_EQ(s.CurrentX, 5 + s.TextWidth("Hallo"));
  s.PrintNoNewline("a\rbc");
  EXPECT_FLOAT_EQ(s.CurrentY, 40 + lh);
  EXPECT_FLOAT_EQ(s.CurrentX, s.TextWidth("bc"));
}

TEST(Print, TextOffTheSurfaceIsClipped) {
  Surface s(30, 10);
  s.SetAutoRedraw(true);
  s.BackColor = 0;
  s.Cls();
  s.ForeColor = vbWhite;
  s.font = Named("Fixedsys");
  s.CurrentX = -12;
  s.CurrentY = -5;
  s.Print("Hallo Welt, ein langer Text");
  s.CurrentX = 1e20f;
  s.CurrentY = std::numeric_limits<float>::quiet_NaN();
  s.Print("x");
  EXPECT_GT(Ink(s, vbWhite).count, 0);
  s.font = Named("Fixedsys");
  s.CurrentX = 0;
  s.CurrentY = 0;
  s.ForeColor = RGB(1, 2, 3);
  s.DrawMode = vbInvert;  // text ignores the drawing mode
  s.Print("W");
  EXPECT_GT(Ink(s, RGB(1, 2, 3)).count, 0);
}
