// A start script that loops without ever waiting: the window still takes events, and closing
// it ends the game as closing it always does.
#include <gtest/gtest.h>
#include <unistd.h>

#include "szenen_test.h"

using szenentest::SzenenTest;

namespace {

class EndloseSchleife : public SzenenTest {
 protected:
  void TearDown() override {
    alarm(0);
    SzenenTest::TearDown();
  }
};

}  // namespace

TEST_F(EndloseSchleife, SchliessenBeendetDasSpielWieImmer) {
  Raum("Schleife.lsd", "a.bmp,1,29,\"A\",28,\"A\",-1,-1");
  Zeigen();
  ASSERT_TRUE(Form1().Loaded());
  // The player closes the window while the loop runs. Without events the loop never ends:
  // the alarm then ends the test program.
  rt::PostClose(Form1());
  alarm(60);
  EXPECT_TRUE(Form1().Lade(RaumPfad + "Schleife.lsd"));
  alarm(0);
  EXPECT_EQ(beendet, 1);
  EXPECT_FALSE(Form1().Loaded());
  EXPECT_FALSE(Beschaeftigt);
}

TEST_F(EndloseSchleife, EineSchleifeMitEndeLaeuftUngestoertZuEnde) {
  // Thousands of jumps with events pumped on the way; the loop leaves when its counter says so.
  Zeigen();
  const auto tabelle = Befehlstabelle();
  static int laeufe;
  laeufe = 0;
  Befehlstabelle()[Befehl::Textzeile] = [](Lauf& lauf, const std::string& arg) {
    if (arg == "zaehle" && ++laeufe == 5000) SpringeZuMarke(lauf, "raus");
    if (arg == "danach") laeufe = -laeufe;
    return Fortgang::Weiter;
  };
  SkriptAusfuehren(S({{Befehl::Marke, "oben"},
                      {Befehl::Textzeile, "zaehle"},
                      {Befehl::Springe, "OBEN "},
                      {Befehl::Marke, "raus"},
                      {Befehl::Textzeile, "danach"}}),
                   -1, "");
  Befehlstabelle() = tabelle;
  EXPECT_EQ(laeufe, -5000);
  EXPECT_TRUE(Form1().Loaded());
  EXPECT_EQ(beendet, 0);
  EXPECT_FALSE(Beschaeftigt);
}
