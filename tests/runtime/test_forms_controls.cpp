// Controls: sizes that follow their content, what they put on the window, lists, buttons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "runtime/forms.h"
#include "runtime/forms_internal.h"
#include "runtime/system.h"

using namespace rt;

namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { UseVirtualClock(1000); }
  void TearDown() override {
    ShutdownRuntime();
    UseRealClock();
  }
};

PicturePtr Solid(int w, int h, Color c, int alpha = -1) {
  auto p = std::make_shared<Picture>();
  p->width = w;
  p->height = h;
  p->pixels.assign(size_t(w) * h, c);
  if (alpha >= 0) p->alpha.assign(size_t(w) * h, uint8_t(alpha));
  return p;
}

Color At(Form& f, int x, int y) { return f.ComposedFrame()[size_t(y) * f.ScaleWidth() + x]; }

struct Panel : Form {
  Frame Frame1{this};
  PictureBox Picture1{&Frame1};
  ImageBox Image1{this};
  Label Label1{this};
  void InitializeComponent() override {
    SetClientSize(200, 150);
    BackColor = vbBlack;
    Frame1.Move(10, 10, 50, 40);
    Frame1.BackColor = vbGreen;
    Picture1.BorderStyle = 1;
    Picture1.Move(5, 5, 100, 100);  // reaches past the frame
    Picture1.BackColor = vbBlue;
    Image1.Move(100, 10, 1, 1);
    Label1.Move(100, 100, 10, 10);
  }
};

TEST_F(ControlsTest, ContainersClipTheirChildrenAndPicturesKeepTheirBorder) {
  Panel f;
  f.Show();
  f.Picture1.Cls();
  EXPECT_EQ(f.Picture1.ScaleWidth(), 96);  // 2 pixels of border on each side
  EXPECT_EQ(f.Picture1.Width(), 100);
  EXPECT_EQ(At(f, 10 + 5 + 2, 10 + 5 + 2), vbBlue);   // the picture's first client pixel
  EXPECT_EQ(At(f, 12, 12), vbGreen);                  // the frame around it
  EXPECT_EQ(At(f, 59, 49), vbBlue);                   // the frame's last pixel, covered
  EXPECT_EQ(At(f, 60, 49), vbBlack);                  // past the frame: clipped away
  EXPECT_EQ(At(f, 30, 50), vbBlack);
  // AutoSize: the surface takes the picture's size and the control follows with its border.
  f.Picture1.AutoSize = true;
  f.Picture1.SetPicture(Solid(20, 10, vbRed));
  EXPECT_EQ(f.Picture1.Width(), 24);
  EXPECT_EQ(f.Picture1.Height(), 14);
}

TEST_F(ControlsTest, ImagesTakeThePicturesSizeUnlessStretchedAndBlendIconAlpha) {
  Panel f;
  f.Show();
  f.Image1.SetPicture(Solid(8, 6, vbRed));
  EXPECT_EQ(f.Image1.Width(), 8);
  EXPECT_EQ(f.Image1.Height(), 6);
  EXPECT_EQ(At(f, 107, 15), vbRed);
  EXPECT_EQ(At(f, 108, 15), vbBlack);
  f.Image1.Stretch = true;
  f.Image1.Move(100, 10, 16, 12);
  EXPECT_EQ(At(f, 115, 21), vbRed);
  f.Image1.Picture = Solid(2, 2, vbWhite, 0);  // assigned directly; fully transparent
  EXPECT_EQ(At(f, 105, 15), vbBlack);
  f.Image1.Picture = Solid(2, 2, vbWhite, 128);
  EXPECT_EQ(At(f, 105, 15), RGB(128, 128, 128));
}

TEST_F(ControlsTest, AutoSizeLabelsFollowTheirCaption) {
  Panel f;
  f.Show();
  Label& l = f.Label1;
  l.AutoSize = true;
  l.Caption = "Spiel beginnen";
  const int w1 = l.Width();
  EXPECT_EQ(w1, FontTextWidth(l.font, "Spiel beginnen"));
  EXPECT_EQ(l.Height(), FontLineHeight(l.font));
  l.font.bold = true;
  l.font.size = 12;
  EXPECT_GT(l.Width(), w1);
  l.Caption = "eins\r\nzwei";
  EXPECT_EQ(l.Height(), 2 * FontLineHeight(l.font));
  // Word wrap keeps the width and grows downwards.
  l.WordWrap = true;
  l.Move(0, 0, FontTextWidth(l.font, "Mathe-Physik"), 5);
  l.Caption = "Mathe-Physik LernCD";
  EXPECT_EQ(l.Width(), FontTextWidth(l.font, "Mathe-Physik"));
  EXPECT_EQ(l.Height(), 2 * FontLineHeight(l.font));
  // A word wider than the label breaks between characters, after another word too.
  const std::string lang(300, 'W');
  const auto zeilen = LayoutText(l.font, "a " + lang, l.Width(), true);
  ASSERT_FALSE(zeilen.empty());
  EXPECT_EQ(zeilen[0], "a");
  std::string wieder;
  for (size_t i = 1; i < zeilen.size(); ++i) {
    EXPECT_LE(FontTextWidth(l.font, zeilen[i]), l.Width()) << zeilen[i];
    wieder += zeilen[i];
  }
  EXPECT_EQ(wieder, lang);
  // Its text reaches the window: a yellow caption on a transparent label over black.
  l.WordWrap = false;
  l.BackStyle = 0;
  l.ForeColor = vbYellow;
  l.Caption = "MMMM";
  l.Move(100, 100, 10, 10);
  int yellow = 0;
  const auto& px = f.ComposedFrame();
  for (int y = 100; y < 100 + l.Height(); ++y)
    for (int x = 100; x < 100 + l.Width(); ++x) yellow += px[size_t(y) * 200 + x] == vbYellow;
  EXPECT_GT(yellow, 10);
}

struct Picker : Form {
  FileListBox File1{this};
  TextBox Text1{this};
  CommandButton OKButton{this};
  CommandButton CancelButton{this};
  DriveListBox Drive1{this};
  std::vector<std::string> log;
  void InitializeComponent() override {
    SetClientSize(396, 269);
    File1.Move(0, 0, 393, 214);
    File1.Pattern = "*.xtc";
    Text1.Move(0, 216, 393, 19);
    OKButton.Move(224, 240, 81, 25);
    OKButton.Caption = "OK";
    OKButton.Default = true;
    CancelButton.Move(312, 240, 81, 25);
    CancelButton.Caption = "Abbrechen";
    CancelButton.Cancel = true;
    Drive1.SetVisible(false);
    File1.Click = [this] { log.push_back("file " + File1.List(File1.ListIndex)); };
    OKButton.Click = [this] { log.push_back("ok"); };
    CancelButton.Click = [this] { log.push_back("cancel"); };
  }
};

TEST_F(ControlsTest, FileListsFollowPathAndPatternAndSelectByMouseAndKeys) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("norvalde_filelist_" + std::to_string(::getpid()));
  fs::create_directories(dir / "sub.xtc");
  for (const char* n : {"b.xtc", "A.XTC", "c.txt", "z.xtc"}) std::ofstream(dir / n) << "x";
  Picker f;
  f.Show();
  f.File1.Path = WinPath(dir.string());  // assigned directly: the list follows
  ASSERT_EQ(f.File1.ListCount(), 3);
  EXPECT_EQ(f.File1.List(0), "A.XTC");
  EXPECT_EQ(f.File1.List(1), "b.xtc");
  EXPECT_EQ(f.File1.List(2), "z.xtc");
  EXPECT_EQ(f.File1.List(3), "");
  const int lh = FontLineHeight(f.File1.font);
  PostMouse(f, 1, vbLeftButton, 20, 2 + lh + lh / 2);
  PostMouse(f, 2, vbLeftButton, 20, 2 + lh + lh / 2);
  PostKey(f, vbKeyDown, true);
  DoEvents();
  EXPECT_EQ(f.File1.ListIndex, 2);
  EXPECT_EQ(f.log, (std::vector<std::string>{"file b.xtc", "file z.xtc"}));
  f.File1.Pattern = "*.txt;*.xtc";
  f.File1.Refresh();
  EXPECT_EQ(f.File1.ListCount(), 4);
  EXPECT_EQ(f.File1.ListIndex, -1);
  fs::remove_all(dir);

  // The drive list holds the drive list, from the current drive.
  EXPECT_EQ(f.Drive1.ListCount(), int(DriveList().size()));
  EXPECT_EQ(f.Drive1.Drive, f.Drive1.List(0));
  if (f.Drive1.ListCount() > 1) {
    f.Drive1.SetListIndex(1);
    EXPECT_EQ(f.Drive1.Drive, f.Drive1.List(1));
  }
}

TEST_F(ControlsTest, ReturnAndEscClickTheDefaultAndCancelButtons) {
  Picker f;
  f.Show();
  f.Text1.SetFocus();
  PostKey(f, vbKeyReturn, true);
  PostKey(f, vbKeyEscape, true);
  DoEvents();
  EXPECT_EQ(f.log, (std::vector<std::string>{"ok", "cancel"}));
  EXPECT_EQ(f.Text1.Text, "");
  // A focused button takes Return itself.
  f.log.clear();
  f.CancelButton.SetFocus();
  PostKey(f, vbKeyReturn, true);
  DoEvents();
  EXPECT_EQ(f.log, (std::vector<std::string>{"cancel"}));
  // Focus order follows TabIndex; invisible controls are passed over.
  f.File1.TabIndex = 0;
  f.Text1.TabIndex = 1;
  f.OKButton.TabIndex = 2;
  f.CancelButton.TabIndex = 3;
  PostKey(f, vbKeyTab, true);
  DoEvents();
  EXPECT_EQ(f.ActiveControl(), &f.File1);
  PostKey(f, vbKeyTab, true, vbShiftMask);
  DoEvents();
  EXPECT_EQ(f.ActiveControl(), &f.CancelButton);
}

TEST_F(ControlsTest, ControlsOutliveTheirHandlesAndContainers) {
  auto f = std::make_unique<Panel>();
  f->Show();
  const intptr_t h = f->Picture1.hWnd();
  EXPECT_EQ(Control::FromHandle(h), &f->Picture1);
  EXPECT_EQ(Form::FromHandle(f->hWnd()), f.get());
  {
    Label inner(&f->Frame1);
    EXPECT_EQ(f->Frame1.Children().size(), 2u);
  }
  EXPECT_EQ(f->Frame1.Children().size(), 1u);
  const intptr_t fh = f->hWnd();
  f.reset();
  EXPECT_EQ(Control::FromHandle(h), nullptr);
  EXPECT_EQ(Form::FromHandle(fh), nullptr);
  DoEvents();  // nothing left that could be touched
}

}  // namespace
