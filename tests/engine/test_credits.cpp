// The credits roll: its pages, and a whole roll on the virtual clock with small pictures, one of
// them missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/credits.h"
#include "engine/module2.h"
#include "szenen_test.h"

namespace {

using szenentest::PumpBeobachter;

std::vector<std::string> Zeilen(const std::string& seite) {
  std::vector<std::string> z(1);
  for (char c : seite) {
    if (c == '|') {
      z.emplace_back();
    } else {
      z.back() += c;
    }
  }
  return z;
}

TEST(AbspannSeiten, BosheitsPunkteUndAufbau) {
  EXPECT_EQ(AbspannSeiten(3)[1].rfind("  Du hast 3 Bosheits-Punkte gesammelt!", 0), 0u);
  EXPECT_EQ(AbspannSeiten(-2)[1].rfind("  Du hast -2 Bosheits-Punkte gesammelt!", 0), 0u);

  const auto seiten = AbspannSeiten(0);
  const size_t zeilen[4] = {16, 17, 21, 12};
  // Lines with a marker, counted from 1: at the end, but at the start of page 1.
  const std::vector<size_t> marken[4] = {{1, 8}, {}, {1, 2, 3, 4, 5, 6, 7}, {1}};
  size_t alle = 0;
  for (size_t s = 0; s < 4; ++s) {
    const std::string& seite = seiten[s];
    EXPECT_EQ(seite.substr(0, 2), "  ");
    EXPECT_EQ(seite.substr(seite.size() - 20), std::string(20, ' '));
    const auto z = Zeilen(seite);
    EXPECT_EQ(z.size(), zeilen[s]) << "page " << s + 1;
    std::vector<size_t> mit;
    for (size_t i = 0; i < z.size(); ++i) {
      const size_t p = z[i].find('#');
      if (p == std::string::npos) continue;
      ++alle;
      mit.push_back(i + 1);
      // A marker takes the two characters after it, which are blanks; nothing but blanks follows.
      EXPECT_EQ(z[i].find_first_not_of(' ', p + 1), i == 0 && s == 0 ? p + 3 : std::string::npos) << z[i];
    }
    EXPECT_EQ(mit, marken[s]) << "page " << s + 1;
    for (const auto& zeile : z) EXPECT_LE(zeile.size(), 78u) << zeile;
  }
  EXPECT_EQ(alle, 10u);
  // The first character typed on page 1 is its marker.
  EXPECT_EQ(seiten[0].find('#'), 2u);
}

// A picture of one colour, saved under the given name whatever its extension says.
void Flaeche(const std::filesystem::path& datei, int w, int h, rt::Color c) {
  rt::Picture p;
  p.width = w;
  p.height = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.pixels.push_back(c + rt::RGB(x * 8, y * 8, 0));
  ASSERT_TRUE(rt::SavePictureBmp(p, datei.string()));
}

class Abspann : public szenentest::SzenenTest {
 protected:
  std::string datenPfad, musikPfad;

  void SetUp() override {
    SzenenTest::SetUp();
    datenPfad = DatenPfad;
    musikPfad = MusikPfad;
    std::filesystem::create_directories(ordner / "games");
    std::string w = rt::WinPath(ordner.string());
    if (w.back() != '\\') w += "\\";
    DatenPfad = w + "games\\";
    MusikPfad = w + "musics\\";
    Bild("a.bmp", 64, 48, [](int, int) { return rt::RGB(90, 90, 90); });
  }
  void TearDown() override {
    SzenenTest::TearDown();
    DatenPfad = datenPfad;
    MusikPfad = musikPfad;
  }
  static rt::Color Schirm(int x, int y) { return Form1().Picture1.ScreenPixels()[size_t(y) * 640 + x]; }
  static bool Schwarz(int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x)
        if (Schirm(x, y) != rt::vbBlack) return false;
    return true;
  }
};

TEST_F(Abspann, SeitenBilderUndMusikBisZumEnde) {
  const rt::Color titel = rt::RGB(40, 60, 200), k2 = rt::RGB(200, 30, 30), ende = rt::RGB(20, 180, 20);
  Flaeche(ordner / "games" / "Titel.jpg", 10, 5, titel);
  Flaeche(ordner / "games" / "k2.jpg", 6, 4, k2);
  Flaeche(ordner / "games" / "Begeisterung.jpg", 20, 10, ende);
  Zeigen();
  TForm1& f = Form1();
  BosheitsPunkte = 3;

  int titelBeimErstenMal = -1, k1Gemalt = 0, k2Gesehen = 0, rmAus = 0;
  bool titelRingSchwarz = false;
  {
    PumpBeobachter b([&] {
      rmAus += f.RM.Enabled() ? 0 : 1;
      if (titelBeimErstenMal < 0 && !Schwarz(0, 350, 10, 5)) {
        // The whole 10 by 5 title came in one pass; the list's extra entry drew nothing on the
        // black ring below it.
        titelBeimErstenMal = 0;
        for (int y = 0; y < 5; ++y)
          for (int x = 0; x < 10; ++x) titelBeimErstenMal += Schirm(x, 350 + y) == titel + rt::RGB(x * 8, y * 8, 0);
        titelRingSchwarz = Schirm(0, 355) == rt::vbBlack && Schirm(10, 352) == rt::vbBlack;
      }
      k1Gemalt += Schwarz(530, 2, 6, 6) ? 0 : 1;
      k2Gesehen += Schirm(560, 30) == k2 && Schirm(565, 33) == k2 + rt::RGB(40, 24, 0) ? 1 : 0;
    });
    f.Abspann();
  }
  EXPECT_EQ(titelBeimErstenMal, 50);
  EXPECT_TRUE(titelRingSchwarz);
  // k1 cannot be loaded: nothing shows in its place, and k2 still takes the next marker's place.
  EXPECT_EQ(k1Gemalt, 0);
  EXPECT_GT(k2Gesehen, 0);
  EXPECT_EQ(rmAus, 0);
  EXPECT_FALSE(f.RM.Enabled());
  EXPECT_EQ(AktuelleMusik, MusikPfad + "GMNUTRAC.MID");
  EXPECT_EQ(f.Picture1.font.name, "MS Sans Serif");
  EXPECT_FALSE(f.Picture1.font.bold);

  // The last page stays: every typed character ended white, on black; the last picture is whole.
  std::set<rt::Color> farben;
  for (int y = 0; y < 180; ++y)
    for (int x = 0; x < 640; ++x) farben.insert(Schirm(x, y));
  EXPECT_EQ(farben, (std::set<rt::Color>{rt::vbBlack, rt::vbWhite}));
  EXPECT_EQ(Schirm(338, 295), ende);
  EXPECT_EQ(Schirm(357, 304), ende + rt::RGB(19 * 8, 9 * 8, 0));
  EXPECT_EQ(Schirm(337, 294), rt::vbBlack);
  EXPECT_TRUE(Schwarz(0, 350, 10, 5));  // cleared with its page
}

// One character is typed every fifth pass (80 ms): it shows dark grey, a step later light grey
// and a step after that white.
TEST_F(Abspann, JederFuenfteDurchgangTipptUndDieSpurWirdHeller) {
  Zeigen();
  TForm1& f = Form1();
  constexpr int kZeichen = 10;  // "Herzlichen", the first word on page 1
  const rt::Color stufen[3] = {rt::QBColor(8), rt::QBColor(7), rt::QBColor(15)};
  std::array<std::array<int64_t, 3>, kZeichen> seit;
  for (auto& z : seit) z.fill(-1);
  bool zu = false;
  {
    PumpBeobachter b([&] {
      const int64_t jetzt = int64_t(rt::timeGetTime());
      for (int k = 0; k < kZeichen; ++k) {
        std::set<rt::Color> farben;
        for (int y = 2; y < 16; ++y)
          for (int x = 3 + 8 * k; x < 9 + 8 * k; ++x) farben.insert(Schirm(x, y));
        for (int st = 0; st < 3; ++st)
          if (seit[size_t(k)][size_t(st)] < 0 && farben.count(stufen[st])) seit[size_t(k)][size_t(st)] = jetzt;
      }
      if (!zu && seit[kZeichen - 1][2] >= 0) {
        zu = true;
        rt::PostClose(f);
      }
    });
    f.Abspann();
  }
  ASSERT_TRUE(zu);
  for (int k = 0; k < kZeichen; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(seit[size_t(k)][1] - seit[size_t(k)][0], 80);
    EXPECT_EQ(seit[size_t(k)][2] - seit[size_t(k)][1], 80);
    if (k > 0) {
      EXPECT_EQ(seit[size_t(k)][0] - seit[size_t(k) - 1][0], 80);
    }
  }
}

TEST_F(Abspann, SchliessenDesFenstersBeendetIhn) {
  Zeigen();
  TForm1& f = Form1();
  int paesse = 0;
  {
    PumpBeobachter b([&] {
      if (++paesse == 200) rt::PostClose(f);
    });
    f.Abspann();
  }
  EXPECT_LT(paesse, 220);
  EXPECT_EQ(beendet, 1);
  EXPECT_FALSE(f.RM.Enabled());
  EXPECT_EQ(f.Picture1.font.name, "MS Sans Serif");
}

}  // namespace
