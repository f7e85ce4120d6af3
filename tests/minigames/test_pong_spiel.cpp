// Pong's match flow: points to 11 with a lead of two, pause and resume by key, a new match from
// the end animation, the outcome the scripts read back, missing pictures and the "Ende" button.
#include <string>
#include <vector>

#include "engine/minispiel.h"
#include "pong_test.h"
#include "runtime/audio.h"
#include "runtime/text.h"
#include "scratch.h"

namespace pongtest {
namespace {

const std::string kTitel = "Du hast keine Chance!!!   'p'=Pause";

TEST_F(PongTest, ElevenPointsWithALeadOfTwoEndTheMatch) {
  struct Fall {
    int computer, spieler;
    bool computerPunktet, vorbei;
  };
  const Fall faelle[] = {{10, 10, true, false}, {11, 10, true, true},  {11, 11, true, false},
                         {12, 11, true, true},  {10, 10, false, false}, {10, 11, false, true},
                         {12, 11, false, false}, {11, 12, false, true}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(std::to_string(f.computer) + ":" + std::to_string(f.spieler) +
                 (f.computerPunktet ? " computer" : " player"));
    if (p.SpielVorbei) p.neuess();
    ASSERT_TRUE(BisRally());
    p.PunkteComputer = f.computer;
    p.PunkteSpieler = f.spieler;
    if (f.computerPunktet) {
      SpielerVerfehlt();
      EXPECT_EQ(p.Text1.Text, rt::Str(f.computer + 1));
    } else {
      ComputerVerfehlt();
      EXPECT_EQ(p.Text2.Text, rt::Str(f.spieler + 1));
    }
    EXPECT_EQ(p.SpielVorbei, f.vorbei);
    EXPECT_FALSE(p.Timer1.Enabled());
    EXPECT_EQ(p.Timer2.Enabled(), !f.vorbei);
    EXPECT_EQ(p.Timer3.Enabled(), !f.vorbei);
    EXPECT_EQ(p.Timer4.Enabled(), f.vorbei && f.computerPunktet);
    EXPECT_EQ(p.Timer5.Enabled(), f.vorbei && !f.computerPunktet);
    if (f.vorbei) {
      // The tick that ended the match left the court black for the end animation.
      EXPECT_EQ(NichtSchwarz(0, 0, 639, 448), 0);
      EXPECT_EQ(p.Caption, f.computerPunktet ? " Wie kann man nur so schlecht sein?"
                                             : " Freu dich nicht! Das war nur Gl\xFC" "ck.");
    }
  }
  EXPECT_TRUE(SpielErgebnis.IstWahrheit());
}

// The side that scored serves: its drop falls at its own paddle and the rally leaves from there
// toward the other side.
TEST_F(PongTest, TheScorerServesTheNextPoint) {
  const int links = 35, rechts = 595;
  for (const bool computerPunktet : {true, false, false, true}) {
    SCOPED_TRACE(computerPunktet ? "computer scored" : "player scored");
    ASSERT_TRUE(BisRally());
    if (computerPunktet) {
      SpielerVerfehlt();
    } else {
      ComputerVerfehlt();
    }
    const int x = computerPunktet ? links : rechts, anderes = computerPunktet ? rechts : links;
    ASSERT_TRUE(Bis([this] { return p.Timer6.Enabled(); }));
    Takt(20);  // the ball has dropped a little way
    EXPECT_EQ(p.BallX, float(x));
    EXPECT_GT(NichtSchwarz(x, 0, x + 9, 100), 0);
    EXPECT_EQ(NichtSchwarz(anderes, 0, anderes + 9, 100), 0);
    ASSERT_TRUE(BisRally());
    EXPECT_EQ(p.BallVX, computerPunktet ? 5.0f : -5.0f);
  }
}

TEST_F(PongTest, PauseOnlyInTheRallyAndResumeWithinTheSameTick) {
  // During the serve the keys are not read.
  Taste('P', true);
  Takt(30);
  EXPECT_FALSE(p.Pausiert);
  EXPECT_TRUE(p.Timer6.Enabled());
  EXPECT_EQ(p.Caption, " " + kTitel);
  Taste('P', false);
  ASSERT_TRUE(BisRally());
  Takt();
  EXPECT_FALSE(p.Pausiert);

  Taste('P', true);
  Takt();
  EXPECT_TRUE(p.Pausiert);
  Taste('P', false);
  const float x = p.BallX, y = p.SchlaegerRechtsY;
  Taste(rt::vbKeyDown, true);
  Takt(5);
  EXPECT_EQ(p.Caption, "     !Pause!    'O' dr\xFC" "cken, um weiter zu spielen.");
  EXPECT_EQ(p.BallX, x);
  EXPECT_EQ(p.SchlaegerRechtsY, y);
  // The paddle is drawn on every paused tick all the same.
  p.Picture1.Line(600, 0, 630, 440, 0, rt::Surface::BoxFilled);
  Takt();
  EXPECT_GT(NichtSchwarz(610, int(y) - 50, 619, int(y) + 49), 0);
  Taste(rt::vbKeyDown, false);

  Taste('O', true);
  Takt();
  EXPECT_FALSE(p.Pausiert);
  EXPECT_NE(p.BallX, x);
  EXPECT_EQ(p.Caption, kTitel);
  Taste('O', false);
}

TEST_F(PongTest, NewMatchDuringTheEndAnimationStartsTheServe) {
  ASSERT_TRUE(BisRally());
  p.PunkteComputer = 11;
  SpielerVerfehlt();
  ASSERT_TRUE(p.Timer4.Enabled());
  Takt(30);
  EXPECT_GT(NichtSchwarz(0, 0, 639, 448), 500);  // the spinning picture

  // "Neues Spiel" with the mouse, as a player clicks it.
  rt::PostMouse(p, 1, rt::vbLeftButton, 30, 466);
  rt::PostMouse(p, 2, rt::vbLeftButton, 30, 466);
  rt::DoEvents();
  EXPECT_FALSE(p.Timer4.Enabled());
  EXPECT_TRUE(p.Timer6.Enabled());
  EXPECT_EQ(p.PunkteComputer, 0);
  EXPECT_EQ(p.Text1.Text, " 0");
  EXPECT_EQ(NichtSchwarz(40, 0, 600, 448), 0);  // cleared but for the two paddles
  EXPECT_GT(NichtSchwarz(17, 165, 26, 264), 0);
  // The rally limit now follows the ball's last flight: right at speed 5.
  EXPECT_EQ(p.StufenGrenze, 75);
  EXPECT_TRUE(BisRally());
}

// Plays matches inside the modal showing the scripts use, step by step from a timer of its own.
class Regie {
 public:
  explicit Regie(std::vector<std::function<bool()>> schritte) : schritte_(std::move(schritte)) {
    timer_.SetInterval(1);
    timer_.Tick = [this] {
      if (n_ < schritte_.size() && schritte_[n_]()) ++n_;
    };
    timer_.SetEnabled(true);
  }
  size_t Erledigt() const { return n_; }

 private:
  std::vector<std::function<bool()>> schritte_;
  size_t n_ = 0;
  rt::Timer timer_{nullptr};
};

class PongUebergabe : public PongTest {
 protected:
  void SetUp() override {
    PongTest::SetUp();
    p.Unload();
    alt_ = MinispielFenster();
    MinispieleAnmelden();
    for (auto& m : Merker) m.clear();
  }
  void TearDown() override {
    MinispielFenster() = alt_;
    for (auto& m : Merker) m.clear();
    PongTest::TearDown();
  }
  std::function<bool()> SpielerGewinnt() {
    return [this] {
      if (!p.Timer1.Enabled()) return false;
      p.PunkteSpieler = 10;
      p.BallX = 30, p.BallVX = -5, p.BallY = 215, p.SchlaegerLinksY = 40;
      return true;
    };
  }
  std::function<bool()> ComputerGewinnt() {
    return [this] {
      if (!p.Timer1.Enabled()) return false;
      p.PunkteComputer = 10;
      p.BallX = 597, p.BallVX = 5, p.BallY = 215, p.SchlaegerRechtsY = 400;
      return true;
    };
  }
  std::function<bool()> Wenn(rt::Timer& t, std::function<void()> dann) {
    return [&t, dann] {
      if (!t.Enabled()) return false;
      dann();
      return true;
    };
  }
  Minispiele alt_;
};

TEST_F(PongUebergabe, AWinStaysAWinAfterALostMatch) {
  Regie regie({SpielerGewinnt(), Wenn(p.Timer5, [this] { p.Command1.Click(); }), ComputerGewinnt(),
               Wenn(p.Timer4, [this] { rt::PostClose(p); })});
  EXPECT_TRUE(StarteMinispiel("PONG, Sieg, 0"));
  EXPECT_EQ(regie.Erledigt(), 4u);
  EXPECT_TRUE(MerkerTesten("SIEG"));
}

TEST_F(PongUebergabe, ALostMatchAfterATextParameterReadsAsLost) {
  MerkerSetzen("SIEG");
  Regie regie({ComputerGewinnt(), Wenn(p.Timer4, [this] { rt::PostClose(p); })});
  EXPECT_FALSE(StarteMinispiel("pong,sieg,zaubertrank"));
  EXPECT_EQ(regie.Erledigt(), 2u);
  EXPECT_EQ(SpielErgebnis, "ZAUBERTRANK");
  EXPECT_FALSE(MerkerTesten("SIEG"));
}

TEST_F(PongTest, MissingPicturesLeaveEmptyHoldersAndTheGamePlays) {
  const std::string leer = testing_support::MakeScratchFolder("pong-leer");
  ASSERT_FALSE(leer.empty());
  p.Unload();
  DatenPfad = rt::WinPath(leer + "/");
  p.Show();
  EXPECT_EQ(p.Image5.Picture, nullptr);
  ASSERT_TRUE(BisRally());
  SpielerVerfehlt();
  EXPECT_TRUE(BisRally());
  EXPECT_EQ(p.PunkteComputer, 1);
  p.PunkteComputer = 11;
  SpielerVerfehlt();
  Takt(200);  // the end animation without its picture
  EXPECT_TRUE(p.Timer4.Enabled());
  testing_support::RemoveScratchFolder(leer);
}

TEST_F(PongTest, EndeLetsGoOfSoundAndMediaBeforeTheProcessEnds) {
  const std::string lied = DatenPfad + "..\\musics\\Dorf.mid";
  ASSERT_EQ(rt::mciSendString("open " + lied + " alias vbSong", nullptr, 0), 0);
  ASSERT_EQ(rt::mciSendString("play vbSong", nullptr, 0), 0);
  rt::PlayWaveEffect(DatenPfad + "juhu.wav");
  int beendet = 0;
  bool musikZu = false, effektAus = false;
  p.ProzessBeenden = [&] {
    ++beendet;
    std::string antwort(100, ' ');
    musikZu = rt::mciSendString("status vbSong position", &antwort, 100) != 0;
    effektAus = !rt::WaveEffectPlaying();
  };
  rt::PostMouse(p, 1, rt::vbLeftButton, 110, 466);
  rt::PostMouse(p, 2, rt::vbLeftButton, 110, 466);
  rt::DoEvents();
  p.ProzessBeenden = [] { rt::EndProcess(0); };
  EXPECT_EQ(beendet, 1);
  EXPECT_TRUE(musikZu);
  EXPECT_TRUE(effektAus);
}

}  // namespace
}  // namespace pongtest
