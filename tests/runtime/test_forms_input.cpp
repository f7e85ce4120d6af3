// Windows: keys, mouse routing, focus, presenting only what changed, pointers and tooltips.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/forms.h"
#include "runtime/forms_internal.h"
#include "runtime/system.h"

using namespace rt;

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override { UseVirtualClock(1000); }
  void TearDown() override {
    ShutdownRuntime();
    UseRealClock();
  }
};

struct Typing : Form {
  std::vector<std::string> log;
  bool swallowInForm = false, swallowReturnInBox = false;
  TextBox Text1{this};
  TextBox Text2{this};
  void InitializeComponent() override {
    SetClientSize(300, 100);
    KeyPreview = true;
    Text1.Move(0, 0, 200, 20);
    Text1.TabIndex = 1;
    Text2.Move(0, 30, 200, 20);
    Text2.TabIndex = 0;
    Text1.KeyDown = [this](int& k, int) { log.push_back("box down " + std::to_string(k)); };
    Text1.KeyPress = [this](int& k) {
      log.push_back("box press " + std::to_string(k));
      if (k == vbKeyReturn && swallowReturnInBox) k = 0;
    };
  }
  void Form_KeyDown(int& k, int) override { log.push_back("form down " + std::to_string(k)); }
  void Form_KeyPress(int& k) override {
    log.push_back("form press " + std::to_string(k));
    if (swallowInForm && k == 'x') k = 0;
  }
};

TEST_F(InputTest, KeyPreviewGivesTheFormEveryKeyFirstAndHandlersMaySwallow) {
  Typing f;
  f.Show();
  EXPECT_EQ(f.ActiveControl(), &f.Text2);  // lowest TabIndex
  PostKey(f, vbKeyTab, true);
  DoEvents();
  EXPECT_EQ(f.ActiveControl(), &f.Text1);
  f.log.clear();
  PostKey(f, vbKeyA, true);
  PostChar(f, "a");
  DoEvents();
  EXPECT_EQ(f.log, (std::vector<std::string>{"form down 65", "box down 65", "form press 97", "box press 97"}));
  EXPECT_EQ(f.Text1.Text, "a");
  f.swallowInForm = true;
  PostChar(f, "xb\xE4");
  DoEvents();
  EXPECT_EQ(f.Text1.Text, "ab\xE4");
  // Return, Back and Esc arrive as key presses too; a swallowed Return changes nothing.
  f.swallowReturnInBox = true;
  f.log.clear();
  PostKey(f, vbKeyReturn, true);
  PostKey(f, vbKeyBack, true);
  PostKey(f, vbKeyEscape, true);
  DoEvents();
  EXPECT_EQ(f.Text1.Text, "ab");
  EXPECT_EQ(f.log, (std::vector<std::string>{"form down 13", "box down 13", "form press 13", "box press 13",
                                             "form down 8", "box down 8", "form press 8", "box press 8",
                                             "form down 27", "box down 27", "form press 27", "box press 27"}));
}

TEST_F(InputTest, TextBoxesEditAtTheCaretAndRaiseChange) {
  Typing f;
  f.Show();
  TextBox& t = f.Text2;
  int changes = 0;
  t.Change = [&] { ++changes; };
  t.SetText("hello");
  EXPECT_EQ(changes, 1);
  t.SetText("hello");
  EXPECT_EQ(changes, 1);
  t.SelStart = 5;
  PostKey(f, vbKeyLeft, true);
  PostKey(f, vbKeyLeft, true);
  PostChar(f, "X");
  PostKey(f, vbKeyDelete, true);
  PostKey(f, vbKeyHome, true);
  PostKey(f, vbKeyDelete, true);
  DoEvents();
  EXPECT_EQ(t.Text, "elXo");
  EXPECT_EQ(changes, 4);
  t.MaxLength = 5;
  PostKey(f, vbKeyEnd, true);
  PostChar(f, "12");
  DoEvents();
  EXPECT_EQ(t.Text, "elXo1");
  // Multi-line boxes take Return as a line break and Back removes it whole.
  t.MaxLength = 0;
  t.MultiLine = true;
  PostKey(f, vbKeyReturn, true);
  PostChar(f, "z");
  DoEvents();
  EXPECT_EQ(t.Text, "elXo1\r\nz");
  PostKey(f, vbKeyBack, true);
  PostKey(f, vbKeyBack, true);
  DoEvents();
  EXPECT_EQ(t.Text, "elXo1");
  t.Locked = true;
  PostChar(f, "q");
  DoEvents();
  EXPECT_EQ(t.Text, "elXo1");
}

TEST_F(InputTest, MultiLineBoxesWrapAtBlanksAndTheCaretMovesByLine) {
  Typing f;
  f.Show();
  TextBox& t = f.Text2;
  t.MultiLine = true;
  t.font.name = "Courier New";
  const int cw = FontTextWidth(t.font, "a");
  t.Move(0, 30, 6 + 9 * cw, 60);  // nine characters fit
  t.SetText("aaa bbb ccc\r\ndddddddddddd");
  const auto& lines = t.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(t.Text.substr(size_t(lines[0].start), size_t(lines[0].len)), "aaa bbb ");
  EXPECT_EQ(t.Text.substr(size_t(lines[1].start), size_t(lines[1].len)), "ccc");
  EXPECT_EQ(t.Text.substr(size_t(lines[2].start), size_t(lines[2].len)), "ddddddddd");
  EXPECT_EQ(t.Text.substr(size_t(lines[3].start), size_t(lines[3].len)), "ddd");
  t.SelStart = 1;
  PostKey(f, vbKeyDown, true);
  PostKey(f, vbKeyDown, true);
  PostKey(f, vbKeyEnd, true);
  DoEvents();
  EXPECT_EQ(t.SelStart, 13 + 9);
  PostKey(f, vbKeyUp, true);  // the end of a wrapped line is the start of the next
  PostKey(f, vbKeyLeft, true);  // over the line break as one step
  DoEvents();
  EXPECT_EQ(t.SelStart, 11);
}

struct Clicks : Form {
  std::vector<std::string> log;
  Frame Frame1{this};
  PictureBox Picture1{&Frame1};
  Label Label1{&Frame1};
  Label Hidden{this};
  CommandButton Command1{this};
  void InitializeComponent() override {
    SetClientSize(300, 200);
    Frame1.Move(10, 10, 200, 150);
    Picture1.BorderStyle = 1;
    Picture1.Move(20, 30, 100, 80);  // client area at (32, 42) in the form
    Label1.Move(60, 40, 40, 20);     // on top of the picture
    Hidden.Move(0, 0, 300, 200);
    Hidden.SetVisible(false);
    Command1.Move(220, 10, 60, 25);
    auto rec = [this](const std::string& who) {
      return [this, who](int b, int, float x, float y) {
        log.push_back(who + " " + std::to_string(b) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
      };
    };
    Picture1.MouseDown = rec("pic down");
    Picture1.MouseUp = rec("pic up");
    Picture1.MouseMove = rec("pic move");
    Picture1.Click = [this] { log.push_back("pic click"); };
    Label1.MouseDown = rec("label down");
    Command1.Click = [this] { log.push_back("button click"); };
  }
  void Form_MouseDown(int b, int, float x, float y) override {
    log.push_back("form down " + std::to_string(b) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
  }
};

TEST_F(InputTest, MouseEventsGoToTheTopmostControlWithRelativeCoordinates) {
  Clicks f;
  f.Show();
  PostMouse(f, 1, vbLeftButton, 40, 50);  // picture client (8, 8)
  PostMouse(f, 2, vbLeftButton, 41, 52);
  PostMouse(f, 1, vbRightButton, 75, 55);  // the label lies above the picture here
  PostMouse(f, 2, vbRightButton, 75, 55);
  PostMouse(f, 1, vbLeftButton, 5, 5);  // the hidden label takes nothing
  PostMouse(f, 2, vbLeftButton, 5, 5);
  DoEvents();
  EXPECT_EQ(f.log, (std::vector<std::string>{"pic down 1 8,8", "pic up 1 9,10", "pic click", "label down 2 5,5",
                                             "form down 1 5,5"}));
  // A press keeps the pointer: moves and the release outside still go to the picture, and no
  // click follows a release outside.
  f.log.clear();
  PostMouse(f, 1, vbLeftButton, 40, 50);
  PostMouse(f, 0, 0, 250, 190);
  PostMouse(f, 2, vbLeftButton, 250, 190);
  DoEvents();
  EXPECT_EQ(f.log, (std::vector<std::string>{"pic down 1 8,8", "pic move 1 218,148", "pic up 1 218,148"}));
  // A disabled control lets the press through to what lies below.
  f.log.clear();
  f.Label1.SetEnabled(false);
  PostMouse(f, 1, vbRightButton, 75, 55);
  PostMouse(f, 2, vbRightButton, 75, 55);
  PostMouse(f, 1, vbLeftButton, 230, 20);
  PostMouse(f, 2, vbLeftButton, 230, 20);
  PostKey(f, vbKeySpace, true);  // the pressed button has the focus now
  DoEvents();
  EXPECT_EQ(f.log, (std::vector<std::string>{"pic down 2 43,13", "pic up 2 43,13", "button click", "button click"}));
}

TEST_F(InputTest, PostedKeysKeepTheKeyboardTable) {
  Form f;
  f.Show();
  uint8_t t[256];
  PostKey(f, vbKeyLeft, true);
  PostKey(f, vbKeyShift, true);
  DoEvents();
  GetKeyboardState(t);
  EXPECT_GT(t[vbKeyLeft], 126);
  EXPECT_GT(t[vbKeyShift], 126);
  EXPECT_LE(t[vbKeyRight], 126);
  PostKey(f, vbKeyLeft, false);
  DoEvents();
  GetKeyboardState(t);
  EXPECT_LE(t[vbKeyLeft], 126);
  EXPECT_GT(t[vbKeyShift], 126);
  PostKey(f, vbKeyShift, false);
  DoEvents();
}

TEST_F(InputTest, OnlyChangedWindowsArePresented) {
  Clicks f;
  Clicks other;
  f.Picture1.SetAutoRedraw(false);
  f.Show();
  other.Show();
  DoEvents();
  const int base = PresentCount(f), otherBase = PresentCount(other);
  for (int i = 0; i < 5; ++i) DoEvents();
  EXPECT_EQ(PresentCount(f), base);
  f.Picture1.PSet(3, 3, vbRed);
  DoEvents();
  DoEvents();
  EXPECT_EQ(PresentCount(f), base + 1);
  f.Picture1.PSet(3, 3, vbRed);  // drawn again as it was: nothing new to show
  DoEvents();
  EXPECT_EQ(PresentCount(f), base + 1);
  f.Label1.Caption = "new";  // a plain field, no setter
  DoEvents();
  EXPECT_EQ(PresentCount(f), base + 2);
  f.Hidden.Caption = "unseen";
  DoEvents();
  EXPECT_EQ(PresentCount(f), base + 3);  // its look changed, even hidden: one repaint at most
  auto hiddenPic = std::make_unique<PictureBox>(&f);
  hiddenPic->SetVisible(false);
  DoEvents();
  const int before = PresentCount(f);
  hiddenPic->Line(0, 0, 5, 5);
  DoEvents();
  EXPECT_EQ(PresentCount(f), before);
  EXPECT_EQ(PresentCount(other), otherBase);
  // What the window shows: the picture's pixel at its client origin plus (3, 3).
  const auto& px = f.ComposedFrame();
  EXPECT_EQ(px[size_t(45) * 300 + 35], vbRed);
}

TEST_F(InputTest, ThePointerComesFromTheControlThenItsContainerThenTheForm) {
  Clicks f;
  f.Show();
  auto icon = std::make_shared<Picture>();
  icon->width = icon->height = 4;
  icon->pixels.assign(16, vbRed);
  icon->alpha.assign(16, 0);
  f.Frame1.MousePointer = vbArrowQuestion;
  PostMouse(f, 0, 0, 40, 50);  // over the picture, inside the frame
  DoEvents();
  EXPECT_EQ(CurrentPointerKind(), vbArrowQuestion);
  f.Picture1.MousePointer = vbCustom;
  f.Picture1.MouseIcon = icon;
  DoEvents();
  EXPECT_EQ(CurrentPointerKind(), vbCustom);
  EXPECT_EQ(CurrentPointerIcon(), icon);
  f.Picture1.MouseIcon = nullptr;  // no icon: the pointer stays
  DoEvents();
  EXPECT_EQ(CurrentPointerIcon(), icon);
  PostMouse(f, 0, 0, 290, 190);  // the form itself
  DoEvents();
  EXPECT_EQ(CurrentPointerKind(), vbDefault);
}

TEST_F(InputTest, TooltipsShowAfterThePointerRests) {
  Clicks f;
  f.Show();
  f.Picture1.ToolTipText = "Schl\xFCssel";
  PostMouse(f, 0, 0, 40, 50);
  DoEvents();
  WaitForEvent(timeGetTime() + 300);
  DoEvents();
  EXPECT_FALSE(TooltipShown());
  WaitForEvent(timeGetTime() + 1000);  // wakes when the tip is due
  DoEvents();
  std::string text;
  EXPECT_TRUE(TooltipShown(&text));
  EXPECT_EQ(text, "Schl\xFCssel");
  f.Picture1.ToolTipText = "";
  DoEvents();
  EXPECT_FALSE(TooltipShown());
}

TEST_F(InputTest, APressHidesTheTipUntilTheControlNamesSomethingElse) {
  Clicks f;
  f.Show();
  f.Picture1.ToolTipText = "Kerze";
  PostMouse(f, 0, 0, 40, 50);
  PostMouse(f, 1, vbLeftButton, 40, 50);
  PostMouse(f, 2, vbLeftButton, 40, 50);
  DoEvents();
  WaitForEvent(timeGetTime() + 1000);
  DoEvents();
  EXPECT_FALSE(TooltipShown());
  // A control that names what lies under the pointer: another name is another tip.
  f.Picture1.ToolTipText = "Brief";
  PostMouse(f, 0, 0, 60, 50);
  DoEvents();
  EXPECT_FALSE(TooltipShown());
  WaitForEvent(timeGetTime() + 1000);
  DoEvents();
  std::string text;
  EXPECT_TRUE(TooltipShown(&text));
  EXPECT_EQ(text, "Brief");
}

}  // namespace
