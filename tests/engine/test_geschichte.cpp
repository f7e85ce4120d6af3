// The sample story on the generated content, played headless with the mouse and Return from the
// village square to the bell ringing, and its scripts checked for every command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <set>

#include "engine/module2.h"
#include "engine/rooms.h"
#include "szenen_test.h"

namespace {

using szenentest::PumpBeobachter;

std::string Inhalt() {
  const char* bau = std::getenv("NORVALDE_BUILD");
  return bau ? rt::WinPath(bau) + "\\" : "";
}

class Geschichte : public ::testing::Test {
 protected:
  TForm1& f = Form1();
  std::deque<int> antworten;
  std::vector<std::string> meldungen;
  int beendet = 0, texte = 0;
  bool geklickt = false;
  uint64_t naechsteTaste = 0;
  std::unique_ptr<PumpBeobachter> spieler;

  void SetUp() override {
    if (Inhalt().empty()) GTEST_SKIP() << "NORVALDE_BUILD is not set";
    rt::UseVirtualClock();
    rt::Randomize(3);
    // The start-up takes the content folders beside the program, the build folder.
    SoundPfad.clear();
    for (auto& m : Merker) m.clear();
    BosheitsPunkte = 0;
    SpielErgebnis = Ergebnis();
    Beschaeftigt = false;
    LeisteOffen = LeisteGesperrt = LeisteSichtbar = false;
    LeisteZu = true;
    rt::SetMsgBoxHook([this](const std::string& t, int, const std::string&) {
      meldungen.push_back(t);
      return rt::vbOK;
    });
    f.Beenden = [this] { ++beendet; };
    // The player: Return for every text (presses while the band opens do not count, so it
    // presses again), and a click on the middle of the next answer of a choice.
    spieler = std::make_unique<PumpBeobachter>([this] {
      if (!Beschaeftigt) return;
      if (AuswahlErgebnis == -1) {
        if (geklickt) return;
        geklickt = true;
        if (antworten.empty()) {
          ADD_FAILURE() << "a choice nobody expected";
          AuswahlErgebnis = 0;
          return;
        }
        const int k = antworten.front();
        antworten.pop_front();
        const int y = 240 - AuswahlHoehe / 2 + (AuswahlGrenzen[size_t(k - 1)] + AuswahlGrenzen[size_t(k)]) / 2;
        rt::PostMouse(f, 1, rt::vbLeftButton, 320, y);
        rt::PostMouse(f, 2, rt::vbLeftButton, 320, y);
        return;
      }
      geklickt = false;
      if (rt::timeGetTime() >= naechsteTaste) {
        naechsteTaste = rt::timeGetTime() + 300;
        rt::PostKey(f, rt::vbKeyReturn, true);
        rt::PostKey(f, rt::vbKeyReturn, false);
      }
    });
  }
  void TearDown() override {
    spieler.reset();
    if (f.Loaded()) f.Unload();
    rt::DoEvents();
    rt::SetMsgBoxHook(nullptr);
    Beschaeftigt = false;
    HotspotMax = -1;
    Hotspots.clear();
    LetzterGegenstand = -1;
    rt::UseRealClock();
  }

  void Pumpe() {
    rt::DoEvents();
    rt::WaitForEvent(rt::timeGetTime() + 20);
    rt::DoEvents();
  }
  void Klicke(int x, int y, std::deque<int> wahl = {}) {
    antworten = std::move(wahl);
    rt::PostMouse(f, 0, 0, x, y);
    rt::PostMouse(f, 1, rt::vbLeftButton, x, y);
    rt::PostMouse(f, 2, rt::vbLeftButton, x, y);
    Pumpe();
    EXPECT_TRUE(antworten.empty()) << "choices left unasked";
  }
  // Opens the bar and drags item k onto the point (the bar closes when the item leaves it).
  void Ziehe(int k, int x, int y) {
    rt::PostKey(f, rt::vbKeySpace, true);
    rt::PostKey(f, rt::vbKeySpace, false);
    Pumpe();
    ASSERT_TRUE(LeisteOffen);
    const int bx = (k % 10) * 64 + 32, by = 480 - LeisteHoehe + (k / 10) * 64 + 32;
    rt::PostMouse(f, 0, 0, bx, by);
    rt::PostMouse(f, 1, rt::vbLeftButton, bx, by);
    rt::PostMouse(f, 0, rt::vbLeftButton, x, y);
    Pumpe();
    rt::PostMouse(f, 2, rt::vbLeftButton, x, y);
    Pumpe();
  }
  static std::vector<std::string> Getragen() {
    std::vector<std::string> v;
    for (int32_t i = 0; i <= LetzterGegenstand; ++i) v.push_back(DateiName(Gegenstaende[size_t(i)]));
    return v;
  }
  using V = std::vector<std::string>;
};

TEST_F(Geschichte, VomDorfplatzBisZurLaeutendenGlocke) {
  f.Show();
  Pumpe();
  ASSERT_EQ(AktuelleRaumdatei, "Start.lsd");
  EXPECT_TRUE(MerkerTesten("DORF_BESUCHT"));  // the welcome text was closed

  Klicke(322, 130);  // the tower
  ASSERT_EQ(AktuelleRaumdatei, "Turm.lsd");
  EXPECT_EQ(AktuelleMusik, MusikPfad + "Turm.mid");
  EXPECT_FALSE(Hotspots[2].Aktiv);  // the rope waits for the clapper

  // Why the bell is silent, who took the clapper, a request for help, goodbye.
  Klicke(130, 300, {1, 1, 2, 4});
  EXPECT_TRUE(MerkerTesten("SPUR_BRUNNEN"));
  EXPECT_TRUE(MerkerTesten("AUFTRAG"));
  EXPECT_EQ(Getragen(), V({"schnur.bmp"}));
  EXPECT_EQ(f.Picture1.Point(75, 80), f.Picture2.Point(75, 80)) << "the portrait frames are gone";

  Klicke(600, 300);  // out of the door
  ASSERT_EQ(AktuelleRaumdatei, "Start.lsd");
  Klicke(620, 420);  // the path into the forest
  ASSERT_EQ(AktuelleRaumdatei, "Wald.lsd");
  EXPECT_EQ(f.CountDown.Interval(), 20000);
  Klicke(380, 440);  // the branch
  EXPECT_EQ(Getragen(), V({"schnur.bmp", "stock.bmp"}));
  EXPECT_FALSE(Hotspots[3].Aktiv);

  Ziehe(0, 96, 448);  // the string onto the branch
  EXPECT_EQ(Getragen(), V({"angel.bmp"}));
  Klicke(30, 240);  // back to the village
  ASSERT_EQ(AktuelleRaumdatei, "Start.lsd");
  Ziehe(0, 330, 300);  // the rod into the well
  EXPECT_EQ(Getragen(), V({"kloeppel.bmp"}));

  Klicke(322, 130);
  ASSERT_EQ(AktuelleRaumdatei, "Turm.lsd");
  Ziehe(0, 320, 60);  // the clapper onto the bell
  EXPECT_EQ(Getragen(), V({}));
  EXPECT_TRUE(Hotspots[2].Aktiv);
  EXPECT_EQ(Hotspots[2].CursorName, "hand1.ico");

  Klicke(322, 300);  // the rope: the ending leaves the game
  EXPECT_EQ(beendet, 1);
  EXPECT_FALSE(MerkerTesten("AUFTRAG"));
  EXPECT_TRUE(meldungen.empty()) << meldungen.front();
}

// A rude answer sets the evil flag; Bruno greets the player differently the next time.
TEST_F(Geschichte, EineFrecheAntwortMachtBoese) {
  f.Show();
  Pumpe();
  Klicke(322, 130);
  Klicke(130, 300, {1, 2, 4});
  EXPECT_EQ(BosheitsPunkte, 1);
  EXPECT_TRUE(MerkerTesten("B\xD6SE"));
  Klicke(130, 300, {4});
  EXPECT_TRUE(Getragen().empty());
}

TEST(GeschichteInhalt, NutztJedenBefehl) {
  const std::string b = Inhalt();
  if (b.empty()) GTEST_SKIP() << "NORVALDE_BUILD is not set";
  std::set<int32_t> befehle;
  auto sammle = [&](const Skript& s) { befehle.insert(s.Befehle.begin(), s.Befehle.end()); };
  for (const char* raum : {"Start.lsd", "Turm.lsd", "Wald.lsd"}) {
    ::Raum r;
    std::string fehler;
    ASSERT_TRUE(LeseRaumDatei(b + "rooms\\" + raum, r, fehler)) << raum << ": " << fehler;
    sammle(r.StartSkript);
    sammle(r.CountDownSkript);
    for (const auto& h : r.Hotspots)
      for (const auto& s : h.Skripte) sammle(s);
  }
  for (const char* datei : {"stock2.skp", "schnur2.skp"}) {
    const Skript s = LadeSkript(b + "items\\" + datei);
    EXPECT_GE(s.Letzter, 0) << datei;
    sammle(s);
  }
  for (int32_t op = 0; op < Befehl::Anzahl; ++op) EXPECT_TRUE(befehle.count(op)) << "opcode " << op << " unused";
}

}  // namespace
