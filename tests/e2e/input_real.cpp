// A window that takes real input from the X server (driven by xdotool in input_real.sh) and
// prints what its handlers saw; Esc ends it.
#include <cstdio>
#include <string>

#include "runtime/forms.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

struct Eingabe : rt::Form {
  rt::TextBox Text1{this};
  rt::CommandButton Command1{this};
  rt::Label Label1{this};
  bool done = false;

  void InitializeComponent() override {
    Caption = "Eingabe";
    BorderStyle = 1;
    KeyPreview = true;
    SetClientSize(300, 120);
    Text1.Move(10, 10, 200, 21);
    Command1.Move(10, 50, 100, 25);
    Command1.Caption = "OK";
    Command1.TabStop = false;
    Label1.Move(150, 50, 100, 40);
    Label1.Caption = "Hier klicken";
    Command1.Click = [] { std::printf("click\n"); };
    Label1.MouseDown = [](int b, int, float x, float y) {
      std::printf("label %d %d,%d\n", b, int(x), int(y));
    };
    Label1.Click = [] { std::printf("label click\n"); };
    Label1.DblClick = [] { std::printf("label dblclick\n"); };
  }
  void Form_KeyDown(int& k, int shift) override {
    std::printf("down %d %d\n", k, shift);
    if (k == rt::vbKeyEscape) done = true;
  }
  void Form_KeyPress(int& k) override { std::printf("press %d\n", k); }
};

}  // namespace

int main() {
  Eingabe f;
  f.Show();
  std::printf("READY\n");
  std::fflush(stdout);
  const uint64_t giveUp = rt::timeGetTime() + 30000;
  while (!f.done && rt::timeGetTime() < giveUp) {
    rt::DoEvents();
    std::fflush(stdout);
    rt::WaitForEvent(giveUp);
  }
  uint8_t keys[256];
  rt::GetKeyboardState(keys);
  std::printf("text=%s\n", rt::ToUtf8(f.Text1.Text).c_str());
  std::printf("escape held=%d\n", keys[rt::vbKeyEscape] > 126);
  f.Unload();
  rt::ShutdownRuntime();
  return f.done ? 0 : 1;
}
