// Opens a runtime window with known shapes, text and controls, writes what the window should
// show as a .bmp and reports where the window's client area lies on the screen; then keeps the
// window up (pumping events) until the file named by the second argument appears.
//   e2e_window_shot expected.bmp done-file
#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "runtime/forms.h"
#include "runtime/system.h"

namespace {

struct Shot : rt::Form {
  rt::PictureBox Picture1{this};
  rt::Label Label1{this};
  rt::CommandButton Command1{this};
  rt::TextBox Text1{this};

  void InitializeComponent() override {
    Caption = "Fenster-Pr\xFC" "fung";
    BorderStyle = 1;
    SetClientSize(320, 240);
    BackColor = rt::RGB(30, 60, 90);
    SetAutoRedraw(true);  // the form's drawing is kept; the picture box draws straight through
    Picture1.BorderStyle = 1;
    Picture1.Move(180, 20, 120, 100);
    Picture1.BackColor = rt::vbBlack;
    Label1.Move(10, 200, 150, 20);
    Label1.Caption = "Spiel beginnen";
    Label1.font.bold = true;
    Label1.ForeColor = rt::RGB(255, 255, 0);
    Label1.BackStyle = 0;
    Command1.Move(180, 140, 120, 28);
    Command1.Caption = "Abbrechen";
    Text1.Move(180, 180, 120, 21);
    Text1.Text = "Laden.lsd";
  }

  void Form_Load() override {
    Cls();
    Line(10, 10, 89, 69, rt::vbRed, rt::Surface::BoxFilled);
    Line(100, 10, 169, 69, rt::vbGreen, rt::Surface::Box);
    Line(10, 80, 169, 180, rt::vbWhite);
    Circle(60, 130, 30, rt::vbYellow);
    CurrentX = 100;
    CurrentY = 100;
    ForeColor = rt::vbWhite;
    Print("Norvalde");
    Picture1.Cls();
    Picture1.Line(5, 5, 60, 50, rt::vbBlue, rt::Surface::BoxFilled);
    Picture1.PSet(100, 80, rt::vbWhite);
  }
};

bool Exists(const std::string& p) {
  struct stat st{};
  return stat(p.c_str(), &st) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s expected.bmp done-file\n", argv[0]);
    return 2;
  }
  Shot f;
  f.Show();
  // Let the window manager (if any) and the X server map the window and take its pixels.
  const uint64_t settle = rt::timeGetTime() + 700;
  while (rt::timeGetTime() < settle) {
    rt::DoEvents();
    rt::WaitForEvent(settle);
  }
  const auto& px = f.ComposedFrame();
  rt::Picture pic;
  pic.width = f.ScaleWidth();
  pic.height = f.ScaleHeight();
  pic.pixels = px;
  if (!rt::SavePictureBmp(pic, argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  f.Refresh();
  // Left, Top: the outer corner (a window manager's frame); the check finds the client area.
  std::printf("READY %d %d %d %d\n", f.Left(), f.Top(), pic.width, pic.height);
  std::fflush(stdout);
  const uint64_t giveUp = rt::timeGetTime() + 30000;
  while (!Exists(argv[2]) && rt::timeGetTime() < giveUp) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 50);
  }
  f.Unload();
  rt::ShutdownRuntime();
  return 0;
}
