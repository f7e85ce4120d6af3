// Multi-line text boxes with a vertical scroll bar: the bar takes its width from the text, clicks
// beside its thumb and the wheel scroll, and new text brings the caret back into view.
#include <gtest/gtest.h>

#include <string>

#include "runtime/forms.h"
#include "runtime/system.h"

using namespace rt;

namespace {

struct Protokoll : Form {
  TextBox Text1{this};
  void InitializeComponent() override {
    SetClientSize(300, 200);
    Text1.Move(0, 0, 300, 120);
    Text1.MultiLine = true;
    Text1.ScrollBars = 2;
  }
};

class TextBoxScroll : public ::testing::Test {
 protected:
  void SetUp() override { UseVirtualClock(1000); }
  void TearDown() override {
    ShutdownRuntime();
    UseRealClock();
  }
};

std::string Zeilen(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += (i ? "\r\n" : "") + std::string("Zeile ") + std::to_string(i);
  return s;
}

TEST_F(TextBoxScroll, BarScrollsAndNewTextShowsTheCaretAgain) {
  Protokoll f;
  f.Show();
  TextBox& t = f.Text1;
  const int lh = FontLineHeight(t.font);
  const int sichtbar = (120 - 4) / lh;
  t.SetText(Zeilen(40));
  t.SelStart = int(t.Text.size());
  f.ComposedFrame();
  EXPECT_EQ(t.TopLine(), 40 - sichtbar);

  // Above the thumb: a page up; the lines stay there while nothing changes.
  PostMouse(f, 1, vbLeftButton, 300 - 8, 4);
  PostMouse(f, 2, vbLeftButton, 300 - 8, 4);
  DoEvents();
  f.ComposedFrame();
  EXPECT_EQ(t.TopLine(), 40 - 2 * sichtbar);
  f.ComposedFrame();
  EXPECT_EQ(t.TopLine(), 40 - 2 * sichtbar);
  // The bar's column is no text: the caret did not move.
  EXPECT_EQ(t.SelStart, int(t.Text.size()));

  // A line longer than the box wraps before the bar.
  const int breite = FontTextWidth(t.font, "Zeile 39");
  EXPECT_GT(300 - 4 - 16, breite);
  for (int x = 300 - 2 - 16; x < 300 - 2; ++x) {
    const Color c = f.ComposedFrame()[size_t(2 * 300) + size_t(x)];
    EXPECT_NE(c, vbWhite) << x;
  }

  // Text added at the end, caret behind it: the view follows.
  t.SetText(t.Text + "\r\nneu");
  t.SelStart = int(t.Text.size());
  f.ComposedFrame();
  EXPECT_EQ(t.TopLine(), 41 - sichtbar);
  t.OnWheel(1);
  f.ComposedFrame();
  EXPECT_EQ(t.TopLine(), 41 - sichtbar - 3);

  // Without the bar the box keeps following the caret as before.
  t.ScrollBars = 0;
  f.ComposedFrame();
  EXPECT_EQ(t.TopLine(), 41 - sichtbar);
}

}  // namespace
