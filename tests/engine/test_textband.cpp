// The text band: its opening and closing frames, the colours and centring of its lines, and the
// clean scene it leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "speicher_grenze.h"
#include "szenen_test.h"

namespace {

using szenentest::PumpBeobachter;

class Textband : public szenentest::SpielTest {
 protected:
  // Per frame of an animation (told apart by the shared frame mark): what the watcher saw last.
  template <typename T>
  static std::vector<T> ProFrame(const std::map<uint64_t, T>& m) {
    std::vector<T> v;
    for (const auto& [mark, wert] : m) v.push_back(wert);
    return v;
  }

  // The topmost white row of the scene's screen at column 3 above the middle; -1 without one.
  static int ObereKante() {
    const auto& px = Form1().Picture1.ScreenPixels();
    for (int y = 0; y <= 240; ++y)
      if (px[size_t(y) * 640 + 3] == rt::vbWhite) return y;
    return -1;
  }

  // The colours of a row band of the scene other than black and its grey.
  static std::set<rt::Color> Farben(int y0, int y1, int* links = nullptr, int* rechts = nullptr) {
    std::set<rt::Color> f;
    int l = 640, r = -1;
    const auto& px = Form1().Picture1.ImagePixels();
    for (int y = std::max(0, y0); y < std::min(480, y1); ++y)
      for (int x = 0; x < 640; ++x) {
        const rt::Color c = px[size_t(y) * 640 + x];
        if (c == rt::vbBlack || c == kGrau) continue;
        f.insert(c);
        l = std::min(l, x);
        r = std::max(r, x);
      }
    if (links) *links = l;
    if (rechts) *rechts = r;
    return f;
  }

  static std::vector<rt::Color> SauberesBild() {
    auto bild = Form1().Picture3.Image();
    std::vector<rt::Color> v;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) v.push_back(bild->At(x, y));
    return v;
  }
};

TEST_F(Textband, SechzehnFrameAufUndZuUndDanachDieSaubereSzene) {
  Zeigen();
  TForm1& f = Form1();
  const std::string text = "$CRot#$eGelb";
  const int lh = int(f.Picture1.TextHeight("X"));
  const float h = f.Picture1.TextHeight("a\rb") / 2 + 2;

  std::map<uint64_t, int> kanten;
  {
    PumpBeobachter b([&] { kanten[LetzterFrame()] = ObereKante(); });
    f.ZeigText(text);
  }
  const std::vector<int> gesehen = ProFrame(kanten);
  ASSERT_EQ(gesehen.size(), 16u);
  for (int k = 0; k < 16; ++k)
    EXPECT_EQ(gesehen[size_t(k)], int(std::lrint(float(240 - std::sin(0.1 * k) * h)))) << "frame " << k;

  // Two lines, one below the other from 240 - one line + 1; red and yellow, centred.
  const int oben = 240 - lh + 1;
  int l = 0, r = 0;
  EXPECT_EQ(Farben(oben, oben + lh, &l, &r), std::set<rt::Color>{rt::QBColor(12)});
  const int breite = int(f.Picture1.TextWidth("Rot"));
  EXPECT_GE(l, 320 - breite / 2);
  EXPECT_LT(r, 320 - breite / 2 + breite);
  EXPECT_EQ(Farben(oben + lh, oben + 2 * lh), std::set<rt::Color>{rt::QBColor(14)});
  // The band is black under the text, edged white.
  EXPECT_EQ(f.Picture1.Point(3, 240), rt::vbBlack);
  const int kante = int(std::lrint(float(240 - std::sin(1.5) * h)));
  EXPECT_EQ(f.Picture1.Point(600, float(kante)), rt::vbWhite);
  EXPECT_EQ(f.Picture1.Point(600, float(kante - 1)), kGrau);

  // Whatever is drawn on the band meanwhile goes with it.
  f.Picture1.Line(100, 200, 500, 300, rt::vbBlue, rt::Surface::BoxFilled);
  std::map<uint64_t, bool> nurBildschirm;
  {
    PumpBeobachter b([&] { nurBildschirm[LetzterFrame()] = !f.Picture1.AutoRedraw(); });
    f.WegText(text);
  }
  EXPECT_EQ(ProFrame(nurBildschirm), std::vector<bool>(16, true));
  EXPECT_TRUE(f.Picture1.AutoRedraw());
  EXPECT_EQ(f.Picture1.ImagePixels(), SauberesBild());
  EXPECT_EQ(f.Picture1.ScreenPixels(), SauberesBild());
}

TEST_F(Textband, FarbenDerZeilen) {
  Zeigen();
  TForm1& f = Form1();
  const int lh = int(f.Picture1.TextHeight("X"));
  // Prefixes that name no colour print white instead of failing; ":" lies between "9" and "A"
  // and gives 3; a line that only starts later with "$" keeps it as text.
  const std::vector<std::pair<std::string, rt::Color>> zeilen = {
      {"$CA", rt::QBColor(12)}, {"$eA", rt::QBColor(14)}, {"$9A", rt::QBColor(9)},
      {"$:A", rt::QBColor(3)},  {"$ZA", rt::vbWhite},     {"$!A", rt::vbWhite},
      {"A", rt::vbWhite},       {" $1A", rt::vbWhite}};
  std::string text;
  for (const auto& [zeile, farbe] : zeilen) text += (text.empty() ? "" : "#") + zeile;
  text += "#$";  // a lone "$" prints an empty white line
  f.ZeigText(text);
  const int oben = 240 - int(f.Picture1.TextHeight(std::string(zeilen.size(), '\r'))) / 2 + 1;
  for (size_t i = 0; i < zeilen.size(); ++i) {
    const int y = oben + int(i) * lh;
    EXPECT_EQ(Farben(y, y + lh), std::set<rt::Color>{zeilen[i].second}) << zeilen[i].first;
  }
  EXPECT_TRUE(Farben(oben + 8 * lh, oben + 9 * lh).empty());
  f.WegText(text);
  EXPECT_EQ(f.Picture1.ImagePixels(), SauberesBild());
}

TEST_F(Textband, BlanksVerschiebenNachRechtsUndGrosseTexteBleibenImBild) {
  Zeigen();
  TForm1& f = Form1();
  int ohne = 0, mit = 0;
  const int lh = int(f.Picture1.TextHeight("X")), oben = 240 - lh / 2 + 1;
  f.ZeigText("Hallo");
  Farben(oben, oben + lh, &ohne);
  f.WegText("Hallo");
  f.ZeigText("    Hallo");
  Farben(oben, oben + lh, &mit);
  f.WegText("    Hallo");
  EXPECT_NEAR(mit - ohne, f.Picture1.TextWidth("    "), 1);

  // Taller than the scene: the band covers it whole, and closing keeps to the scene's rows.
  std::string lang = "Zeile";
  for (int i = 0; i < 60; ++i) lang += "#Zeile";
  f.ZeigText(lang);
  EXPECT_EQ(f.Picture1.Point(3, 0), rt::vbBlack);
  EXPECT_EQ(f.Picture1.Point(3, 479), rt::vbBlack);
  f.WegText(lang);
  EXPECT_EQ(f.Picture1.ImagePixels(), SauberesBild());

  // An empty text still opens a band of half a line and two pixels each way.
  const float h = f.Picture1.TextHeight("") / 2 + 2;
  f.ZeigText("");
  const int kante = int(std::lrint(float(240 - std::sin(1.5) * h)));
  EXPECT_EQ(ObereKante(), kante);
  f.WegText("");
  EXPECT_EQ(f.Picture1.ImagePixels(), SauberesBild());
}

// A script text of 64 MB (the most a room file holds) as one line, and 4 MB of line breaks: the
// band shows the middle of the line and closes onto the clean scene, in a child whose memory may
// grow by 64 MB and grew by less than 32 MB. Only what shows may be drawn: the whole line would
// take gigabytes of pixels, and not even a single copy of the text fits.
TEST_F(Textband, EinRiesigerTextBrauchtNurDenSpeicherDesSichtbaren) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  Zeigen();
  TForm1& f = Form1();
  std::string zeile;
  zeile.reserve(64u << 20);
  while (zeile.size() + 5 <= zeile.capacity()) zeile += "Wort ";
  const std::string umbrueche(4u << 20, '#');
  const std::vector<rt::Color> sauber = SauberesBild();
  const int status = testing_support::InChildWithMemoryToSpare(64u << 20, [&] {
    rusage vorher{}, nachher{};
    getrusage(RUSAGE_SELF, &vorher);
    f.ZeigText(zeile);
    const int lh = int(f.Picture1.TextHeight("X"));
    const bool zuSehen = Farben(240 - lh / 2, 240 + lh) == std::set<rt::Color>{rt::vbWhite};
    f.WegText(zeile);
    const bool zu = f.Picture1.ImagePixels() == sauber;
    f.ZeigText(umbrueche);
    const bool bedeckt = f.Picture1.Point(3, 0) == rt::vbBlack && f.Picture1.Point(3, 479) == rt::vbBlack;
    f.WegText(umbrueche);
    const bool wiederZu = f.Picture1.ImagePixels() == sauber;
    getrusage(RUSAGE_SELF, &nachher);
    if (!zuSehen || !zu || !bedeckt || !wiederZu) return 1;
    return nachher.ru_maxrss - vorher.ru_maxrss > 32 * 1024 ? 2 : 0;
  });
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status)) << "the band ended the process with signal " << WTERMSIG(status);
  EXPECT_NE(WEXITSTATUS(status), 1) << "the band did not show the text or did not close";
  EXPECT_NE(WEXITSTATUS(status), 2) << "the band took more than 32 MB";
  EXPECT_NE(WEXITSTATUS(status), testing_support::kThrew) << "the band ran out of memory";
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

}  // namespace
