// The menu's frame loop: bar widths, the typewriter's colours and positions, page markup, and
// the loop itself on the virtual clock.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "menu/menu.h"
#include "menu/menu_loop.h"
#include "runtime/forms.h"
#include "runtime/pump_hooks.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

// ---- Bars --------------------------------------------------------------------------------

TEST(MenuBalken, HalfWidthsOfTheFirstAndThirdFrames) {
  for (int l = 0; l <= 18; l += 6) EXPECT_EQ(BalkenHalbbreite(8, l), 1) << l;
  for (int l = 24; l <= 96; l += 6) EXPECT_EQ(BalkenHalbbreite(8, l), 0) << l;
  for (int l = 102; l <= 276; l += 6) EXPECT_EQ(BalkenHalbbreite(8, l), 1) << l;
  for (int l = 204; l <= 276; l += 6) EXPECT_EQ(BalkenHalbbreite(24, l), 3) << l;
  for (int l = 0; l <= 281; l += 6) {
    EXPECT_GE(BalkenHalbbreite(24, l), 0);
    EXPECT_LE(BalkenHalbbreite(24, l), 24);
  }
}

TEST(MenuBalken, FrameClearsItsColumnAndDrawsCentredBars) {
  rt::Surface s(505, 281);
  s.SetAutoRedraw(true);
  s.BackColor = 0;
  s.Cls();
  s.PSet(450, 10, rt::vbWhite);
  s.PSet(444, 10, rt::vbWhite);  // left of the column: kept
  float phase = 0;
  BalkenBild(s, phase);
  EXPECT_EQ(phase, 8.0f);
  EXPECT_EQ(s.Point(450, 10), 0);
  EXPECT_EQ(s.Point(444, 10), rt::vbWhite);
  // Row 0: half-width 1, so x 469..471 in RGB(0, 10, 0), bar rows 0..5.
  EXPECT_EQ(s.Point(469, 0), rt::RGB(0, 10, 0));
  EXPECT_EQ(s.Point(471, 5), rt::RGB(0, 10, 0));
  EXPECT_EQ(s.Point(472, 0), 0);
  EXPECT_EQ(s.Point(468, 0), 0);
  // Row 30: half-width 0, a one-pixel line.
  EXPECT_EQ(s.Point(470, 30), rt::RGB(0, 5, 0));
  EXPECT_EQ(s.Point(471, 30), 0);
  EXPECT_EQ(s.Point(469, 30), 0);

  BalkenBild(s, phase);
  BalkenBild(s, phase);
  EXPECT_EQ(phase, 24.0f);
  EXPECT_EQ(s.Point(467, 210), rt::RGB(0, 20, 0));
  EXPECT_EQ(s.Point(473, 215), rt::RGB(0, 20, 0));
  EXPECT_EQ(s.Point(474, 210), 0);
}

// ---- Page markup ----------------------------------------------------------------------------

TEST(MenuSeitenText, PagesFollowTheMarkup) {
  const int zeilenSoll[2][2] = {{15, 19}, {19, 6}};
  for (int menu = 0; menu < 2; ++menu)
    for (int seite = 0; seite < 2; ++seite) {
      const std::string& t = MenuSeiten(menu)[seite];
      ASSERT_EQ(t.substr(0, 2), "  ");
      int zeilen = 0;
      size_t anfang = 2;
      for (;;) {
        const size_t ende = t.find('|', anfang);
        const std::string zeile = t.substr(anfang, ende == std::string::npos ? std::string::npos : ende - anfang);
        ++zeilen;
        EXPECT_GE(zeile.size(), 2u);
        EXPECT_EQ(zeile.substr(zeile.size() - 2), "  ") << rt::ToUtf8(zeile);
        EXPECT_LE(zeile.size() - 2, 32u) << rt::ToUtf8(zeile);
        if (ende == std::string::npos) break;
        anfang = ende + 1;
      }
      EXPECT_EQ(zeilen, zeilenSoll[menu][seite]) << menu << "/" << seite;
    }
  EXPECT_EQ(&MenuSeiten(1), &MenuSeiten(7));  // any menu but the main one shows the bonus pages
}

// ---- Typewriter ------------------------------------------------------------------------------

class MenuSchreiberTest : public ::testing::Test {
 protected:
  rt::Surface box{257, 273};
  MenuSchreiber s;
  void SetUp() override {
    box.SetAutoRedraw(true);
    box.font = rt::Font{"Fixedsys", 9.0f, true, false, false};
    box.BackColor = 0;
    box.Cls();
  }
  // The brightest pixel of the character cell at (x, y); -1 when it is black. Bold glyphs
  // sit one pixel to the right of their cell.
  int Hellstes(int x, int y) const {
    int best = -1;
    for (int yy = y; yy < y + 14; ++yy)
      for (int xx = x + 1; xx <= x + 8; ++xx) {
        const rt::Color c = box.Point(float(xx), float(yy));
        if (c > 0 && (c & 0xFF) > (best < 0 ? -1 : (best & 0xFF))) best = c;
      }
    return best;
  }
  bool Schwarz(int x0, int y0, int x1, int y1) const {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        if (box.Point(float(x), float(y)) != 0) return false;
    return true;
  }
};

TEST_F(MenuSchreiberTest, CharactersDarkenToWhiteOnTheGrid) {
  s.Schritt(0, box);
  ASSERT_EQ(s.Seiten, MenuSeiten(0));
  EXPECT_EQ(s.Seite, 0);
  EXPECT_EQ(Hellstes(2, 2), rt::QBColor(8));  // the first typed character: "H"
  EXPECT_TRUE(Schwarz(0, 0, 1, 272));
  EXPECT_TRUE(Schwarz(11, 0, 256, 272));
  EXPECT_EQ(s.X, 10);

  s.Schritt(0, box);
  EXPECT_EQ(Hellstes(2, 2), rt::QBColor(7));
  EXPECT_EQ(Hellstes(10, 2), rt::QBColor(8));
  s.Schritt(0, box);
  EXPECT_EQ(Hellstes(2, 2), rt::QBColor(15));
  EXPECT_EQ(Hellstes(10, 2), rt::QBColor(7));
  EXPECT_EQ(Hellstes(18, 2), rt::QBColor(8));

  // Up to the first line break: the cursor goes to x = 2 one line down, nothing is drawn.
  const std::string& t = s.Seiten[0];
  const int bruch = int(t.find('|')) + 1;
  while (s.Position <= bruch) s.Schritt(0, box);
  EXPECT_EQ(s.X, 2);
  EXPECT_EQ(s.Y, 16);
  EXPECT_TRUE(Schwarz(0, 16, 256, 272));
  // The two closing blanks carry the line's last letter through to white.
  const int letzte = 2 + (bruch - 3 - 3) * 8;
  EXPECT_EQ(Hellstes(letzte, 2), rt::QBColor(15));
  s.Schritt(0, box);
  EXPECT_EQ(Hellstes(2, 16), rt::QBColor(8));
}

TEST_F(MenuSchreiberTest, PagesAlternateAfterARestAndFollowTheMenu) {
  const int laenge = int(MenuSeiten(0)[0].size());
  int schritte = 0;
  while (s.Seite == 0) {
    s.Schritt(0, box);
    ++schritte;
  }
  // The first step types position 3; the page flips once the position passes length + 25.
  EXPECT_EQ(schritte, laenge + 23);
  EXPECT_EQ(s.Position, 0);
  EXPECT_FALSE(Schwarz(0, 0, 256, 272));  // still shown during the rest
  s.Schritt(0, box);  // page 1 starts on a cleared box, with the blanks before its heading
  EXPECT_EQ(s.Position, 4);
  EXPECT_EQ(s.X, 10);
  EXPECT_TRUE(Schwarz(0, 0, 256, 272));

  for (int i = 0; i < 40; ++i) s.Schritt(0, box);
  // The bonus menu: its page 1 starts at once on a cleared box.
  s.Schritt(1, box);
  EXPECT_EQ(s.Seite, 1);
  EXPECT_EQ(s.Seiten, MenuSeiten(1));
  EXPECT_EQ(s.Position, 4);
  EXPECT_EQ(s.X, 10);
  EXPECT_TRUE(Schwarz(11, 0, 256, 272));
  EXPECT_EQ(rt::Mid(s.Seiten[1], 3, 1), "D");
}

// ---- The loop itself -------------------------------------------------------------------------

// The menu as the program shows it (no command line) on the virtual clock; the loop starts with
// the first tick of its timer.
TMenu& MenuAufVirtuellerUhr(std::function<void()> beenden) {
  rt::UseVirtualClock();
  char prog[] = "norvalde";
  char* argv[] = {prog, nullptr};
  rt::SetCommandLine(1, argv);
  TMenu& m = Menu();
  m.ProzessBeenden = std::move(beenden);
  m.SzeneZeigen = [] {};
  m.Show();
  return m;
}

TEST(MenuLoop, TypesAnimatesTakesKeysAndStopsOnClose) {
  int ende = 0;
  TMenu& m = MenuAufVirtuellerUhr([&] { ++ende; });
  ASSERT_TRUE(m.Loaded());

  const uint64_t start = rt::timeGetTime();
  struct Blick {
    uint64_t zeit;
    bool text, balken;
    int eintrag;
  };
  std::vector<Blick> blicke;
  auto gruen = [&] {
    for (int y = 0; y < 281; ++y)
      if ((m.Picture1.ScreenPixels()[size_t(y) * m.Picture1.ScaleWidth() + 470] >> 8 & 0xFF) > 0)
        return true;
    return false;
  };
  auto text = [&] {
    for (rt::Color c : m.Picture2.ImagePixels())
      if (c != 0) return true;
    return false;
  };
  rt::Timer beobachter(&m);
  beobachter.SetInterval(100);
  beobachter.Tick = [&] {
    blicke.push_back({rt::timeGetTime() - start, text(), gruen(), m.GewaehlterEintrag});
    if (blicke.size() == 5) rt::PostKey(m, rt::vbKeyDown, true);
    if (blicke.size() == 6) rt::PostKey(m, rt::vbKeyDown, false);
    if (blicke.size() == 8) rt::PostClose(m);
  };
  beobachter.SetEnabled(true);

  while (m.Loaded() && rt::timeGetTime() - start < 5000) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 50);
  }
  beobachter.SetEnabled(false);
  EXPECT_FALSE(m.Loaded());
  EXPECT_TRUE(m.MenuStopp);
  EXPECT_EQ(ende, 0);
  ASSERT_GE(blicke.size(), 8u);
  // The loop started within the first tick and ran inside it: both animations are under way
  // by the second look, the key moved the highlight, the close ended the loop.
  EXPECT_TRUE(blicke[1].text);
  EXPECT_TRUE(blicke[1].balken);
  EXPECT_EQ(blicke[3].eintrag, 0);
  EXPECT_EQ(blicke[6].eintrag, 1);
  EXPECT_LT(rt::timeGetTime() - start, 1500u);
}

// The loop's pace on the virtual clock: a text step and a bar frame on every fifth pass of
// 16 ms, the first one after the fifth pass began.
TEST(MenuLoop, StepsComeEveryFifthPassOf16Ms) {
  TMenu& m = MenuAufVirtuellerUhr([] {});
  ASSERT_TRUE(m.Loaded());

  auto hash = [](const std::vector<rt::Color>& px, int w, int x0, int x1) {
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < px.size(); ++i)
      if (int(i % size_t(w)) >= x0 && int(i % size_t(w)) < x1) h = (h ^ uint32_t(px[i])) * 1099511628211ull;
    return h;
  };
  uint64_t beginn = 0;
  uint64_t text = 0, balken = 0;
  std::vector<uint64_t> textZeiten, balkenZeiten;
  const int hook = rt::AddPumpHook([&](uint64_t jetzt) {
    if (!m.Loaded() || m.Timer1.Enabled()) return UINT64_MAX;
    if (beginn == 0) {  // the loop has started: it switched its timer off
      beginn = jetzt;
      text = hash(m.Picture2.ImagePixels(), m.Picture2.ScaleWidth(), 0, m.Picture2.ScaleWidth());
      balken = hash(m.Picture1.ScreenPixels(), m.Picture1.ScaleWidth(), 445, 496);
      return UINT64_MAX;
    }
    const uint64_t t = hash(m.Picture2.ImagePixels(), m.Picture2.ScaleWidth(), 0, m.Picture2.ScaleWidth());
    const uint64_t b = hash(m.Picture1.ScreenPixels(), m.Picture1.ScaleWidth(), 445, 496);
    if (t != text) textZeiten.push_back(jetzt - beginn);
    if (b != balken) balkenZeiten.push_back(jetzt - beginn);
    text = t;
    balken = b;
    if (textZeiten.size() == 12) rt::PostClose(m);
    return UINT64_MAX;
  });
  const uint64_t start = rt::timeGetTime();
  while (m.Loaded() && rt::timeGetTime() - start < 5000) {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 50);
  }
  rt::RemovePumpHook(hook);
  ASSERT_FALSE(m.Loaded());
  ASSERT_GE(textZeiten.size(), 12u);
  // Four passes lie before the first step: three full waits when the frame mark was old, four
  // when it was fresh.
  EXPECT_GE(textZeiten[0], 48u);
  EXPECT_LE(textZeiten[0], 64u);
  for (size_t k = 1; k < textZeiten.size(); ++k) {
    EXPECT_EQ(textZeiten[k] - textZeiten[k - 1], 80u) << "step " << k + 1;
    EXPECT_NEAR(double(textZeiten[k]), 80.0 * double(k + 1), 32.0) << "step " << k + 1;
  }
  EXPECT_EQ(balkenZeiten, textZeiten) << "the bars move with the text";
}

}  // namespace
