// The item bar: its picture of the carried items, the eased opening, the closing onto the clean
// scene, and what it keeps from starting while it moves.
#include <gtest/gtest.h>

#include <map>

#include "szenen_test.h"

namespace {

using szenentest::PumpBeobachter;

class Leiste : public szenentest::SpielTest {
 protected:
  // The bar's height at every opening frame, told apart by the phase.
  static std::vector<int32_t> OeffnenMitHoehen() {
    std::map<float, int32_t> hoehen;
    {
      PumpBeobachter b([&] {
        if (LeisteGesperrt) hoehen[LeisteWinkel] = LeisteHoehe;
      });
      Form1().ZeigeLeiste();
    }
    std::vector<int32_t> v;
    for (const auto& [winkel, h] : hoehen) v.push_back(h);
    return v;
  }
  static rt::Color Sauber(int x, int y) { return Form1().Picture3.Image()->At(x, y); }
};

TEST_F(Leiste, HoehenBeimOeffnenUndZweiteReiheAbElfGegenstaenden) {
  Zeigen();
  TForm1& f = Form1();
  ASSERT_TRUE(LeisteZu);
  f.GegenständeLaden();
  EXPECT_EQ(f.Picture4.ScaleHeight(), 64);
  const std::vector<int32_t> erwartet = {5, 10, 15, 20, 25, 30, 34, 38, 42, 46, 49, 52, 55, 58, 60, 61, 63, 63, 64};
  EXPECT_EQ(OeffnenMitHoehen(), erwartet);
  EXPECT_TRUE(LeisteOffen);
  EXPECT_FALSE(LeisteZu);
  EXPECT_FALSE(LeisteGesperrt);
  EXPECT_EQ(LeisteHoehe, 64);
  EXPECT_EQ(LeisteWinkel, PiWert);
  // The finished empty bar: a white edge, black cells, the bottom row black too.
  EXPECT_EQ(f.Picture1.Point(10, 415), kGrau);
  EXPECT_EQ(f.Picture1.Point(10, 416), rt::vbWhite);
  EXPECT_EQ(f.Picture1.Point(10, 417), rt::vbBlack);
  EXPECT_EQ(f.Picture1.Point(639, 479), rt::vbBlack);

  // Opening it again changes nothing but the closed mark.
  const uint64_t vorher = rt::timeGetTime();
  LeisteZu = true;
  f.ZeigeLeiste();
  EXPECT_FALSE(LeisteZu);
  EXPECT_EQ(rt::timeGetTime(), vorher);
  f.VersteckeLeiste();

  for (int i = 0; i < 10; ++i) Gegenstand("g" + std::to_string(i), rt::RGB(20 * i, 0, 0));
  f.GegenständeLaden();
  EXPECT_EQ(f.Picture4.ScaleHeight(), 64);
  Gegenstand("elf", rt::vbBlue);
  f.GegenständeLaden();
  EXPECT_EQ(f.Picture4.ScaleHeight(), 128);
  EXPECT_EQ(OeffnenMitHoehen().size(), 19u);
  EXPECT_EQ(LeisteHoehe, 128);
  EXPECT_EQ(f.Picture1.Point(10, 352), rt::vbWhite);
  EXPECT_EQ(f.Picture1.Point(30, 440), rt::vbBlue);  // the eleventh item starts the second row
}

TEST_F(Leiste, BildDerGegenstaende) {
  Zeigen();
  TForm1& f = Form1();
  Gegenstand("rot", rt::vbRed);
  Gegenstand("klein", rt::vbGreen, 20);
  Gegenstand("gross", rt::vbYellow, 60);
  Gegenstand("fehlt", rt::vbBlue);
  std::filesystem::remove(ordner / "items" / "fehlt.bmp");
  f.GegenständeLaden();
  const rt::Color c[] = {rt::vbRed, rt::vbGreen, rt::vbYellow};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(f.Picture4.Point(float(i * 64 + 8), 8), c[i]);
    EXPECT_EQ(f.Picture4.Point(float(i * 64 + 7), 8), rt::vbBlack);
    EXPECT_EQ(f.Picture4.Point(float(i * 64 + 8), 7), rt::vbBlack);
    EXPECT_EQ(f.Picture4.Point(float(i * 64 + 56), 56), rt::vbBlack);
  }
  // Unscaled: the top-left 48 by 48 of a larger picture, black beside a smaller one.
  EXPECT_EQ(f.Picture4.Point(2 * 64 + 55, 55), rt::vbYellow);
  EXPECT_EQ(f.Picture4.Point(64 + 27, 27), rt::vbGreen);
  EXPECT_EQ(f.Picture4.Point(64 + 28, 27), rt::vbBlack);
  // A missing picture leaves its cell black and tells nobody.
  EXPECT_EQ(f.Picture4.Point(3 * 64 + 30, 30), rt::vbBlack);
  EXPECT_TRUE(meldungen.empty());
}

TEST_F(Leiste, SchliessenLegtDieSaubereSzeneFreiBisAufDieUntersteZeile) {
  Zeigen();
  TForm1& f = Form1();
  f.GegenständeLaden();
  f.ZeigeLeiste();
  // Not in the clean copy: gone where the bar was, kept above it.
  f.Picture1.Line(0, 400, 639, 478, rt::vbRed, rt::Surface::BoxFilled);

  std::map<uint64_t, int> kanten;
  bool nurBildschirm = true;
  {
    PumpBeobachter b([&] {
      nurBildschirm &= !f.Picture1.AutoRedraw();
      // The white edge on the screen, 3 rows below the strip just uncovered.
      for (int y = 0; y < 480; ++y)
        if (f.Picture1.ScreenPixels()[size_t(y) * 640 + 5] == rt::vbWhite) {
          kanten[LetzterFrame()] = y;
          break;
        }
    });
    f.VersteckeLeiste();
  }
  EXPECT_TRUE(nurBildschirm);
  std::vector<int> gesehen;
  for (const auto& [mark, y] : kanten) gesehen.push_back(y);
  std::vector<int> erwartet;
  for (int d = 64; d >= 0; d -= 3)
    if (480 - d + 3 < 480) erwartet.push_back(480 - d + 3);
  EXPECT_EQ(gesehen, erwartet);

  EXPECT_TRUE(LeisteZu);
  EXPECT_FALSE(LeisteOffen);
  EXPECT_FALSE(LeisteGesperrt);
  EXPECT_EQ(LeisteHoehe, 0);
  EXPECT_EQ(LeisteWinkel, 0);
  EXPECT_TRUE(f.Picture1.AutoRedraw());
  EXPECT_EQ(f.Picture1.ScreenPixels(), f.Picture1.ImagePixels());
  for (int y : {0, 399, 416, 450, 478})
    for (int x : {0, 320, 639}) EXPECT_EQ(f.Picture1.Point(float(x), float(y)), Sauber(x, y)) << x << "," << y;
  EXPECT_EQ(f.Picture1.Point(320, 400), rt::vbRed);
  EXPECT_EQ(f.Picture1.Point(320, 415), rt::vbRed);
  EXPECT_EQ(f.Picture1.Point(320, 479), rt::vbBlack);

  // Closing a closed bar does nothing.
  const uint64_t vorher = rt::timeGetTime();
  f.VersteckeLeiste();
  EXPECT_EQ(rt::timeGetTime(), vorher);
}

TEST_F(Leiste, WaehrendSieSichBewegtStartetKeinSkript) {
  Zeigen();
  TForm1& f = Form1();
  Raumhotspots({H("Tür", 0, 0, 63, 47, "", Notiz("rechts"), Notiz("links"))});
  CountDownSkript = Notiz("countdown");
  f.CountDown.SetInterval(1);
  f.CountDown.SetEnabled(true);
  // A click and countdown ticks that come inside the opening's and the closing's frame waits.
  for (int runde = 0; runde < 2; ++runde) {
    rt::PostMouse(f, 1, rt::vbLeftButton, 100, 100);
    rt::PostMouse(f, 2, rt::vbLeftButton, 100, 100);
    if (runde == 0) f.ZeigeLeiste(); else f.VersteckeLeiste();
    EXPECT_TRUE(notizen.empty()) << runde;
    EXPECT_FALSE(Beschaeftigt);
    EXPECT_EQ(Klick, 0);
  }
  f.CountDown.SetEnabled(false);
  CountDownSkript = Skript{};
  // Once the bar stands, the same click runs the script.
  rt::PostMouse(f, 1, rt::vbLeftButton, 100, 100);
  rt::PostMouse(f, 2, rt::vbLeftButton, 100, 100);
  rt::DoEvents();
  EXPECT_EQ(notizen, std::vector<std::string>{"links"});
}

TEST_F(Leiste, LeertasteOeffnetUndSchliesst) {
  Zeigen();
  TForm1& f = Form1();
  Gegenstand("rot", rt::vbRed);
  f.GegenständeLaden();
  rt::PostKey(f, rt::vbKeySpace, true);
  rt::PostKey(f, rt::vbKeySpace, false);
  rt::DoEvents();
  EXPECT_TRUE(LeisteOffen);
  EXPECT_TRUE(LeisteSichtbar);
  EXPECT_EQ(f.Picture1.Point(30, 440), rt::vbRed);
  rt::PostKey(f, rt::vbKeySpace, true);
  rt::PostKey(f, rt::vbKeySpace, false);
  rt::DoEvents();
  EXPECT_TRUE(LeisteZu);
  EXPECT_FALSE(LeisteSichtbar);
  EXPECT_EQ(f.Picture1.Point(30, 440), kGrau);
}

}  // namespace
