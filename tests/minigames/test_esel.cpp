// The donkey riddle: the keyword table, the log of tries, giving up and solving, and a window
// that only the riddle itself may close with anything but a loss.
#include "denkspiel_test.h"
#include "minigames/riddle/esel.h"
#include "runtime/text.h"

namespace {

using denkspiel_test::Umgebung;

class EselTest : public Umgebung {
 protected:
  TForm2& e = Form2();

  void TearDown() override {
    if (e.Loaded()) e.Unload();
    Umgebung::TearDown();
  }
  // Types a line into the window as a player does and presses Return.
  void Tippe(const std::string& zeile) {
    rt::PostChar(e, zeile);
    rt::PostKey(e, rt::vbKeyReturn, true);
    rt::PostKey(e, rt::vbKeyReturn, false);
    rt::DoEvents();
  }
  // The log's text after the introduction.
  std::string Neu(const std::string& vorher) const { return e.Text1.Text.substr(vorher.size()); }
};

TEST(EselTabelle, LastMatchingRowWinsAndKeywordsMatchInsideWords) {
  EXPECT_EQ(EselAntwort("er schwamm und sprang"), rt::FromUtf8("Lies dir nochmal den Text durch, dann "
                                                              "wirst du merken, dass er nicht schwimmen konnte!"));
  EXPECT_EQ(EselAntwort("verkaufte sein fell"), "Niemand kaufte ihm das ab!");
  EXPECT_EQ(EselAntwort("kaufte nichts"), rt::FromUtf8("Er gehörte zu den Franziskanern und lehnte Reichtum "
                                                      "ab. Wenn er Geld hatte, dann wurde es versoffen!"));
  EXPECT_EQ(EselAntwort("tat einfach nix"), "So kam er auch nicht zum Apfel!");
  EXPECT_EQ(EselAntwort("ging in die kneipe"), rt::FromUtf8("Er war schon stoned und wurde schon letztes "
                                                           "Mal wegen seines auffälligen Benehmens rausgeworfen!"));
  EXPECT_EQ(EselAntwort("ging nach hause"), "");
  EXPECT_EQ(EselAntwort("bat um hilfe"), "Es war ein Esel! Er konnte nicht sprechen! Nur kiffen!");
  EXPECT_EQ(EselAntwort("f\xE4llte einen baum"), "Es war zum F\xE4llen nix in der N\xE4he!");
  // The table compares case-sensitively: only lower-cased input matches.
  EXPECT_EQ(EselAntwort("FLOG"), "");
}

TEST_F(EselTest, TriesGoToTheLogWithTheirAnswers) {
  e.Show();
  EXPECT_EQ(rt::Left(e.Text1.Text, 15), "ESEL\r\n----\r\n\r\n ");
  const std::string einleitung = e.Text1.Text;

  // Windows-1252 capitals are lower-cased before the search; the echo keeps the player's case.
  Tippe("  F\xC4LLTE einen Baum ");
  EXPECT_EQ(Neu(einleitung), "\r\n\r\nEr F\xC4LLTE einen Baum\r\nEs war zum F\xE4llen nix in der N\xE4he!");
  EXPECT_EQ(e.Text2.Text, "");
  EXPECT_EQ(e.Text1.SelStart, int(e.Text1.Text.size()));

  // An empty try has no vowel.
  std::string vorher = e.Text1.Text;
  Tippe("");
  EXPECT_EQ(Neu(vorher), "\r\n\r\nEr \r\nGib mal ein deutsches Wort ein, nicht ...");
  vorher = e.Text1.Text;
  Tippe("BRR");
  EXPECT_EQ(Neu(vorher), "\r\n\r\nEr BRR\r\nGib mal ein deutsches Wort ein, nicht BRR...");

  // No row matches: one of the six replies, by the generator.
  const char* const antworten[6] = {"Das ist Bl\xF6" "dsinn!", "jaja und Krakel ist NICHT doof..",
                                    "Hast du dir den Schund selber ausgedacht???", "Nee, das tat er nicht!",
                                    "Ich glaube nicht, dass er das tat!", "Gib mal was sinnvolles ein!"};
  for (double saat : {1.0, 2.0, 3.0}) {
    rt::Randomize(saat);
    const std::string erwartet = antworten[rt::Int(double(rt::Rnd()) * 6)];
    rt::Randomize(saat);
    vorher = e.Text1.Text;
    Tippe("Wartete Auf Hilfe");
    EXPECT_EQ(Neu(vorher), "\r\n\r\nEr Wartete Auf Hilfe\r\n" + erwartet);
  }
  EXPECT_TRUE(e.Loaded());

  // Each showing starts with the introduction alone.
  e.Unload();
  e.Show();
  EXPECT_EQ(e.Text1.Text, einleitung);
}

TEST_F(EselTest, GivingUpLosesAndGaveUpSolves) {
  std::vector<std::string> eingaben;
  zug = [&] {
    if (e.Loaded() && !eingaben.empty()) {
      rt::PostChar(e, eingaben.front());
      rt::PostKey(e, rt::vbKeyReturn, true);
      rt::PostKey(e, rt::vbKeyReturn, false);
      eingaben.erase(eingaben.begin());
    }
  };

  eingaben = {"stand auf", "  AUFGEBEN "};
  MerkerSetzen("ESEL");
  EXPECT_FALSE(StarteMinispiel("ESEL,ESEL,1"));
  EXPECT_FALSE(MerkerTesten("ESEL"));
  EXPECT_TRUE(eingaben.empty());
  // The give-up word adds nothing to the log.
  EXPECT_EQ(e.Text1.Text.find("AUFGEBEN"), std::string::npos);
  EXPECT_NE(e.Text1.Text.find("Er stand auf"), std::string::npos);

  eingaben = {"gab schlie\xDF" "lich AUF"};
  EXPECT_TRUE(StarteMinispiel("esel,ESEL"));
  EXPECT_TRUE(MerkerTesten("ESEL"));
}

TEST_F(EselTest, OnlyTheRiddleClosesItsWindowWithoutALoss) {
  int ticks = 0;
  zug = [&] {
    if (!e.Loaded()) return;
    if (++ticks == 1) rt::PostClose(e);  // no close box: ignored
    else e.Unload(rt::vbAppWindows);
  };
  MerkerSetzen("ESEL");
  // The parameter "1" would read as a win if it were left behind.
  EXPECT_FALSE(StarteMinispiel("ESEL,ESEL,1"));
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(MerkerTesten("ESEL"));
}

}  // namespace
