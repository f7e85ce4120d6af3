// The capitals quiz: reading the list, four right answers winning, one wrong answer losing, the
// feedback's blinking and its length, and the orderly ends of a quiz that cannot ask.
#include <set>
#include <string>

#include "denkspiel_test.h"
#include "minigames/capitals/hdw.h"
#include "runtime/text.h"
#include "scratch.h"
#include "speicher_grenze.h"

namespace {

using denkspiel_test::Umgebung;

class HDWTest : public Umgebung {
 protected:
  THDW& q = HDW();
  std::string ordner;

  void SetUp() override {
    Umgebung::SetUp();
    ordner = testing_support::MakeScratchFolder("hdw");
    ASSERT_FALSE(ordner.empty());
    DatenPfad = rt::WinPath(ordner) + "\\";
  }
  void TearDown() override {
    if (q.Loaded()) q.Unload();
    Umgebung::TearDown();
    testing_support::RemoveScratchFolder(ordner);
  }
  void Liste(const std::string& inhalt) { ASSERT_TRUE(rt::WriteFileBytes(DatenPfad + "HDW.txt", inhalt)); }

  bool FrageOffen() const { return q.Loaded() && q.Label2[0].Enabled(); }

  // What the player saw at each question, and when.
  struct Frage {
    std::string text;
    std::array<std::string, 4> antworten;
    int32_t richtig;
    uint64_t zeit;
  };
  std::vector<Frage> fragen;
  void Merke() {
    Frage f{q.Label1.Caption, {}, q.RichtigerIndex, rt::timeGetTime()};
    for (int i = 0; i < 4; ++i) f.antworten[size_t(i)] = q.Label2[i].Caption;
    fragen.push_back(f);
  }
};

TEST_F(HDWTest, ListKeepsValidLinesTrimmedAndSkipsTheRest) {
  q.FragenLaden(DatenPfad + "fehlt.txt");
  EXPECT_EQ(q.LetzteFrage, -1);

  Liste("Frankreich#Paris,Lyon,Marseille,Nizza\r\n"
        "\r\n"
        "Luxemburg Luxemburg,Esch,Differdingen,D\xFC" "delingen\r\n"
        "Island#Reykjav\xEDk,Akureyri,K\xF3pavogur\r\n"
        "  \xD6sterreich  #  Wien , Graz ,Salzburg,  Innsbruck , Linz\n"
        "Kroatien#Zagreb,Split,Rijeka,Osijek#Dubrovnik\r"
        "Wales#Cardiff,Swansea,Newport, \r\n"
        "Ungarn#Budapest,Debrecen,Szeged,P\xE9" "cs");
  q.FragenLaden(DatenPfad + "HDW.txt");
  ASSERT_EQ(q.LetzteFrage, 3);
  EXPECT_EQ(q.Fragen, (std::vector<std::string>{"Frankreich", "\xD6sterreich", "Kroatien", "Ungarn"}));
  EXPECT_EQ(q.Antworten[1], (std::array<std::string, 4>{"Wien", "Graz", "Salzburg", "Innsbruck"}));
  EXPECT_EQ(q.Antworten[2][3], "Osijek");
  EXPECT_EQ(q.Antworten[3][3], "P\xE9" "cs");
}

TEST_F(HDWTest, FourRightAnswersWinWithTheAnswersPlacedAfreshEachTime) {
  Liste("Italien#Rom,Mailand,Neapel,Turin\r\n");
  spieler.SetInterval(1);
  int klicksInRueckmeldung = 0;
  zug = [&] {
    if (!q.Loaded()) return;
    if (FrageOffen()) {
      Merke();
      Klicke(q, q.Label2[q.RichtigerIndex]);
    } else if (q.Timer2.Enabled() && q.RichtigZaehler < 30) {
      // Clicks on a wrong answer during the feedback do nothing.
      Klicke(q, q.Label2[(q.RichtigerIndex + 1) % 4]);
      ++klicksInRueckmeldung;
    }
  };
  EXPECT_TRUE(StarteMinispiel("HDW,QUIZ,1"));
  EXPECT_TRUE(MerkerTesten("QUIZ"));
  EXPECT_GT(klicksInRueckmeldung, 100);

  ASSERT_EQ(fragen.size(), 4u);
  std::set<int32_t> plaetze;
  for (size_t n = 0; n < 4; ++n) {
    const Frage& f = fragen[n];
    EXPECT_EQ(rt::Left(f.text, 11), std::to_string(n + 1) + ". Frage:\r\n");
    EXPECT_NE(f.text.find("Italien"), std::string::npos);
    EXPECT_EQ(f.antworten[size_t(f.richtig)], "Rom");
    EXPECT_EQ(std::multiset<std::string>(f.antworten.begin(), f.antworten.end()),
              (std::multiset<std::string>{"Rom", "Mailand", "Neapel", "Turin"}));
    plaetze.insert(f.richtig);
    // The verdict blinks for 40 ticks of 100 ms before the next question (plus a tick of the
    // player to click and one of the question timer).
    if (n > 0) {
      EXPECT_NEAR(double(f.zeit - fragen[n - 1].zeit), 4000 + 31, 20);
    }
  }
  EXPECT_GT(plaetze.size(), 1u);
}

TEST_F(HDWTest, WrongAnswerBlinksTwentyTimesAndLoses) {
  Liste("Japan#Tokio,Osaka,Kyoto,Yokohama\r\nKanada#Ottawa,Toronto,Montreal,Vancouver\r\n");
  spieler.SetInterval(1);
  uint64_t geklickt = 0;
  int wechsel = 0, blitze = 0;
  bool sichtbar = true;
  rt::Color farbe = 0;
  zug = [&] {
    if (!q.Loaded()) return;
    if (FrageOffen()) {
      Merke();
      if (fragen.size() == 1) {
        Klicke(q, q.Label2[q.RichtigerIndex]);
      } else {
        Klicke(q, q.Label2[(q.RichtigerIndex + 2) % 4]);
        geklickt = rt::timeGetTime();
        farbe = q.Label2[q.RichtigerIndex].BackColor;
      }
      return;
    }
    if (geklickt == 0) return;
    if (q.Label1.Visible() != sichtbar) ++wechsel, sichtbar = !sichtbar;
    const rt::Color jetzt = q.Label2[q.RichtigerIndex].BackColor;
    if (jetzt != farbe) {
      EXPECT_EQ(jetzt ^ farbe, 0xFFFFFF);
      ++blitze, farbe = jetzt;
    }
    if (wechsel > 0 && q.Label1.Visible()) {
      EXPECT_EQ(q.Label1.Caption, "\r\nDAS WAR LEIDER FALSCH!");
    }
  };
  MerkerSetzen("QUIZ");
  EXPECT_FALSE(StarteMinispiel("HDW,QUIZ,1"));
  EXPECT_FALSE(MerkerTesten("QUIZ"));
  EXPECT_EQ(fragen.size(), 2u);
  // 20 ticks of 300 ms; the last one closes the window before anyone sees it.
  EXPECT_NEAR(double(rt::timeGetTime() - geklickt), 6000, 20);
  EXPECT_EQ(wechsel, 19);
  EXPECT_EQ(blitze, 19);
  EXPECT_TRUE(q.Label1.Visible());
  EXPECT_EQ(q.Label2[q.RichtigerIndex].BackColor, rt::RGB(0, 0, 64));
}

TEST_F(HDWTest, QuizWithoutQuestionsOrClosedFromOutsideIsLost) {
  // No list at all, then a list without a single valid line: the window closes at once.
  for (const char* inhalt : {"", "nur Unsinn\r\nSpanien#Madrid,Barcelona\r\n\r\n"}) {
    if (*inhalt) Liste(inhalt);
    MerkerSetzen("QUIZ");
    const uint64_t start = rt::timeGetTime();
    EXPECT_FALSE(StarteMinispiel("HDW,QUIZ,1"));
    EXPECT_FALSE(MerkerTesten("QUIZ"));
    EXPECT_FALSE(q.Loaded());
    EXPECT_LT(rt::timeGetTime() - start, 100u);
  }

  // The window manager's close request does nothing; a window closed by other means loses,
  // whatever the script handed in.
  Liste("Irland#Dublin,Cork,Galway,Limerick\r\n");
  int fragenGesehen = 0;
  zug = [&] {
    if (!FrageOffen()) return;
    if (++fragenGesehen == 1) {
      rt::PostClose(q);
      Klicke(q, q.Label2[q.RichtigerIndex]);
    } else {
      q.Unload(rt::vbAppWindows);
    }
  };
  EXPECT_FALSE(StarteMinispiel("HDW,QUIZ,1"));
  EXPECT_EQ(fragenGesehen, 2);
  EXPECT_EQ(SpielErgebnis.WahrheitOderNichts(), std::optional<bool>(false));
}

// A list line of one endless word, as country and as answer: the question shows within two
// seconds of processor time, each label showing as much of the word as it can hold. Measuring
// every shorter prefix again for each line's break would take minutes.
TEST_F(HDWTest, AWordWiderThanItsLabelIsShownAtOnce) {
  std::string wort(10000, 'x');
  for (size_t i = 0; i < wort.size(); ++i) wort[i] = char('a' + i * 7 % 26);
  Liste(wort + "#" + wort + ",Bern,Genf,Basel\r\n");
  const int status = testing_support::InChildWithSeconds(2, [&] {
    int gesehen = 0;
    zug = [&] {
      if (!FrageOffen()) return;
      const auto& bild = q.ComposedFrame();
      // Text in the question's yellow and in the answer's colour, inside each label.
      auto farbig = [&](const rt::Label& l) {
        int n = 0;
        for (int y = l.Top(); y < l.Top() + l.Height(); ++y)
          for (int x = l.Left(); x < l.Left() + l.Width(); ++x)
            n += bild[size_t(y) * size_t(q.ScaleWidth()) + size_t(x)] == l.ForeColor;
        return n;
      };
      const rt::Label& antwort = q.Label2[q.RichtigerIndex];
      if (farbig(q.Label1) > 100 && farbig(antwort) > 100 && antwort.Caption == wort) ++gesehen;
      q.Unload(rt::vbAppWindows);
    };
    StarteMinispiel("HDW,QUIZ,1");
    return gesehen == 1 ? 0 : 1;
  });
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status)) << "the quiz hung: signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the long word did not show";
}

}  // namespace
