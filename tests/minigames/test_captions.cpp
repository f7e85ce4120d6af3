// Every caption a window gives a size for shows whole in its font: the start menu, the file
// picker and the mini-games, with the texts they put on their labels while they run. A caption
// counts as whole when every pixel of its words' glyphs shows inside its control and its
// containers, and no word is broken between characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/dialog.h"
#include "engine/state.h"
#include "menu/menu.h"
#include "minigames/capitals/hdw.h"
#include "minigames/fight/pruegel.h"
#include "minigames/fight/regeln.h"
#include "minigames/heads/wumpel.h"
#include "minigames/jump/jump.h"
#include "minigames/memory/memory.h"
#include "minigames/pi/pispiel.h"
#include "minigames/pong/pong.h"
#include "minigames/riddle/esel.h"
#include "runtime/forms.h"
#include "runtime/forms_internal.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

// The text a control shows and the font it shows it in; false for controls without one.
bool TextOf(rt::Control& c, std::string*& text, rt::Font& font) {
  if (auto* l = dynamic_cast<rt::Label*>(&c)) return text = &l->Caption, font = l->font, true;
  if (auto* b = dynamic_cast<rt::CommandButton*>(&c)) return text = &b->Caption, font = b->font, true;
  // A multi-line box scrolls its text by design.
  if (auto* t = dynamic_cast<rt::TextBox*>(&c)) return text = &t->Text, font = t->font, !t->MultiLine;
  if (auto* f = dynamic_cast<rt::Frame*>(&c)) return text = &f->Caption, font = rt::Font{}, f->BorderStyle;
  return false;
}

// The control composed alone onto a frame of its window's size, within its containers' client
// areas, as the window composes it.
std::vector<rt::Color> Alone(rt::Control& c) {
  rt::Form& f = *c.OwnerForm();
  const int fw = f.ScaleWidth(), fh = f.ScaleHeight();
  std::vector<rt::Color> frame(size_t(fw) * fh, rt::RGB(255, 0, 255));
  rt::Clip clip{0, 0, fw, fh};
  int ox = 0, oy = 0;
  if (auto* eltern = dynamic_cast<rt::Control*>(c.Parent())) rt::ClientOrigin(eltern, ox, oy);
  for (auto* a = dynamic_cast<rt::Control*>(c.Parent()); a; a = dynamic_cast<rt::Control*>(a->Parent())) {
    int ax = 0, ay = 0;
    rt::ClientOrigin(a, ax, ay);
    const int in = a->ClientInset();
    clip = rt::Intersect(clip, ax, ay, a->Width() - 2 * in, a->Height() - 2 * in);
  }
  c.Compose(frame, fw, fh, ox, oy, clip.l, clip.t, clip.r, clip.b);
  return frame;
}

struct Ink {
  int pixels = 0;
  int top = 1 << 30, bottom = -1;  // rows the pixels span
};

// The pixels of the control's text that show: a label's in two text colours, the others with
// and without their text.
Ink Shown(rt::Control& c) {
  std::string* text = nullptr;
  rt::Font font;
  TextOf(c, text, font);
  const bool an = c.Enabled();
  c.SetEnabled(true);  // a disabled text is drawn twice, embossed
  // A button's caption must fit inside the focus rectangle.
  rt::Form& f = *c.OwnerForm();
  rt::Control* fokus = f.ActiveControl();
  if (dynamic_cast<rt::CommandButton*>(&c)) f.SetFocusTo(&c);
  std::vector<rt::Color> a, b;
  if (auto* l = dynamic_cast<rt::Label*>(&c)) {
    const rt::Color farbe = l->ForeColor;
    l->ForeColor = rt::RGB(1, 2, 3);
    a = Alone(c);
    l->ForeColor = rt::RGB(254, 253, 252);
    b = Alone(c);
    l->ForeColor = farbe;
  } else {
    a = Alone(c);
    const std::string alt = *text;
    text->clear();
    b = Alone(c);
    *text = alt;
  }
  c.SetEnabled(an);
  f.SetFocusTo(fokus);
  Ink ink;
  const int fw = f.ScaleWidth();
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    ++ink.pixels;
    ink.top = std::min(ink.top, int(i) / fw);
    ink.bottom = std::max(ink.bottom, int(i) / fw);
  }
  return ink;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words(1);
  for (char ch : text) {
    if (ch == ' ' || ch == '\r' || ch == '\n') {
      if (!words.back().empty()) words.emplace_back();
    } else {
      words.back() += ch;
    }
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

int Pixels(const rt::TextRun& run) {
  int n = 0;
  for (uint8_t v : run.coverage) n += v != 0;
  return n;
}

std::string FontName(const rt::Font& f) {
  std::ostringstream s;
  s << f.name << " " << f.size << (f.bold ? " bold" : "");
  return s.str();
}

// Why the control's text does not show whole, "" when it does.
std::string Misfit(rt::Control& c, const std::string& name) {
  std::string* text = nullptr;
  rt::Font font;
  if (!TextOf(c, text, font) || text->empty()) return "";
  const std::string ganz = *text;
  std::ostringstream why;
  why << name << " \"" << rt::ToUtf8(ganz) << "\" in " << c.Width() << "x" << c.Height() << ", "
      << FontName(font) << " (" << rt::FontTextWidth(font, ganz) << " wide, lines "
      << rt::FontLineHeight(font) << " high): ";
  int alle = 0;
  for (const std::string& w : Words(ganz)) {
    const int soll = Pixels(rt::RenderTextLine(font, w));
    alle += soll;
    *text = w;
    const Ink ink = Shown(c);
    *text = ganz;
    if (ink.pixels < soll) return why.str() + "\"" + rt::ToUtf8(w) + "\" cut off";
    if (ink.bottom - ink.top >= rt::FontLineHeight(font))
      return why.str() + "\"" + rt::ToUtf8(w) + "\" broken over lines";
  }
  const Ink ink = Shown(c);
  if (ink.pixels < alle) {
    why << ink.pixels << " of " << alle << " pixels show";
    return why.str();
  }
  return "";
}

void Walk(rt::Container& c, const std::string& form, std::vector<std::string>& misfits) {
  for (rt::Control* ch : c.Children()) {
    std::ostringstream name;
    name << form << " control " << ch->Left() << "," << ch->Top();
    const std::string m = Misfit(*ch, name.str());
    if (!m.empty()) misfits.push_back(m);
    if (auto* sub = dynamic_cast<rt::Container*>(ch)) Walk(*sub, form, misfits);
  }
}

class Captions : public ::testing::Test {
 protected:
  std::vector<std::string> misfits;

  void SetUp() override {
    rt::UseVirtualClock();
    rt::Randomize(7);
    const char* bau = std::getenv("NORVALDE_BUILD");
    ASSERT_NE(bau, nullptr);
    DatenPfad = rt::WinPath(std::string(bau) + "/games") + "\\";
    rt::SetMsgBoxHook([](const std::string&, int, const std::string&) { return rt::vbOK; });
  }
  void TearDown() override {
    rt::SetMsgBoxHook(nullptr);
    rt::UseRealClock();
  }

  // Every control of the window as it stands.
  void Check(rt::Form& f, const std::string& name) { Walk(f, name, misfits); }
  void Check(rt::Control& c, const std::string& name) {
    const std::string m = Misfit(c, name);
    if (!m.empty()) misfits.push_back(m);
  }
  // The window loaded (nothing runs: no events are pumped), with what it shows while it runs.
  void Geladen(rt::Form& f, const std::string& name, const std::function<void()>& spielen = {}) {
    f.Show();
    Check(f, name);
    if (spielen) spielen();
    f.Unload();
  }
};

TEST_F(Captions, EveryWindowShowsItsCaptionsWhole) {
  {
    TMenu& m = Menu();
    char prog[] = "norvalde";
    char* argv[] = {prog, nullptr};
    rt::SetCommandLine(1, argv);
    m.SzeneZeigen = [] {};
    m.ProzessBeenden = [] {};
    m.Show();
    // Both entry lists, each entry plain and highlighted.
    for (int16_t typ : {int16_t(0), int16_t(1)}) {
      m.MenuTyp = int16_t(1 - typ);
      m.MenuBonusSetzen(typ);
      for (int16_t i = 0; i < 4; ++i) {
        m.LabelAufbau(i);
        Check(m, "menu");
      }
    }
    m.Unload();
  }
  Geladen(Dialog(), "picker");
  Geladen(Pong(), "Pong", [this] {
    for (rt::TextBox* feld : {&Pong().Text1, &Pong().Text2})
      for (int punkte : {0, 11, 25, 99}) {
        feld->SetText(rt::Str(punkte));
        Check(*feld, "Pong score");
      }
  });
  Geladen(Prügel(), "fight", [this] {
    // The energy counters count up to their start values: one step shows the widest number.
    TPrügel& k = Prügel();
    k.AnzeigeK = StartEnergieK - 1;
    k.EnergieK = StartEnergieK;
    k.ShowEnergieK();
    k.AnzeigeT = StartEnergieT - 1;
    k.EnergieT = StartEnergieT;
    k.ShowEnergieT();
    Check(k, "fight");
  });
  Geladen(Wumpel(), "Wumpel");
  Geladen(Memory(), "Memory");
  Geladen(Form2(), "riddle");
  Geladen(Jump(), "Jump");
  Geladen(PISpiel(), "PI");
  {
    // Every question of the sample list in each of its phrasings (drawn at random), the
    // answers, and both verdicts.
    THDW& h = HDW();
    h.Show();
    h.Timer1.SetEnabled(false);
    std::set<std::string> gefragt;
    for (int i = 0; i < 400; ++i) {
      h.FrageNr = 0;
      h.Timer1_Timer();
      if (gefragt.insert(h.Label1.Caption).second) Check(h, "capitals");
    }
    EXPECT_GT(gefragt.size(), 40u);
    h.Label2_Click(h.RichtigerIndex);
    h.Timer2_Timer();
    Check(h, "capitals");
    h.Label2_Click((h.RichtigerIndex + 1) % 4);
    h.Timer3_Timer();
    Check(h, "capitals");
    h.Unload();
  }
  std::string alle;
  for (const std::string& m : misfits) alle += "\n  " + m;
  EXPECT_TRUE(misfits.empty()) << misfits.size() << " captions do not fit:" << alle;
  rt::ShutdownRuntime();
}

}  // namespace
