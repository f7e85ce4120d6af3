#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "engine/form1.h"
#include "engine/module2.h"
#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "scratch.h"

using namespace rt;

namespace {

class Musik : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing_support::MakeScratchFolder("module2");
    ASSERT_FALSE(dir.empty());
    char buf[4096];
    ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
    oldCwd = buf;
    ASSERT_EQ(chdir(dir.c_str()), 0);
    ASSERT_EQ(mkdir((dir + "/Alte Musiken").c_str(), 0755), 0);
    // 2500 ms at 120 beats per minute.
    ASSERT_TRUE(WriteMidiFile(dir + "/Alte Musiken/Lied.MID", {{60, 2}, {64, 3}}, 120));
    UseVirtualClock(1000);
    AktuelleMusik.clear();
  }
  void TearDown() override {
    SchliesseFilm();
    mciSendString("close vbSong", nullptr, 0);
    AudioClose();
    UseRealClock();
    EXPECT_EQ(chdir(oldCwd.c_str()), 0);
    testing_support::RemoveScratchFolder(dir);
  }
  std::string Win(const std::string& rel) { return WinPath(dir + "/" + rel); }
  // The song's position, or "-" when no song is open.
  static std::string Position() {
    std::string buf(200, ' ');
    if (mciSendString("status vbSong position", &buf, 200) != 0) return "-";
    return BisNullzeichen(buf);
  }

  std::string dir, oldCwd;
};

}  // namespace

TEST_F(Musik, KurzerPfadKeepsLongNamesAsTheDiskSpellsThem) {
  std::string kurz = "alt";
  std::string lang = KurzerPfad(Win("alte musiken/lied.mid"), kurz);
  EXPECT_EQ(lang, Win("Alte Musiken/Lied.MID"));
  EXPECT_EQ(kurz, lang);

  // A missing component ends both forms after the last one found.
  lang = KurzerPfad(Win("Alte Musiken/Fehlt.mid"), kurz);
  EXPECT_EQ(lang, Win("Alte Musiken"));
  EXPECT_EQ(kurz, lang);
  lang = KurzerPfad(Win("Alte Musiken") + "\\", kurz);
  EXPECT_EQ(lang, Win("Alte Musiken"));

  // Relative paths stay relative to the current folder instead of turning into root paths.
  lang = KurzerPfad("ALTE MUSIKEN\\lied.mid", kurz);
  EXPECT_EQ(lang, "Alte Musiken\\Lied.MID");
  EXPECT_EQ(kurz, lang);
  EXPECT_EQ(KurzerPfad(".\\Alte Musiken\\..\\alte musiken", kurz), ".\\Alte Musiken\\..\\Alte Musiken");
  EXPECT_EQ(KurzerPfad("nirgends\\lied.mid", kurz), "");
  EXPECT_EQ(kurz, "");
  EXPECT_EQ(KurzerPfad("", kurz), "");

  EXPECT_EQ(BisNullzeichen(std::string("2500\0   ", 8)), "2500");
  EXPECT_EQ(BisNullzeichen("ohne Ende"), "ohne Ende");
  EXPECT_EQ(BisNullzeichen(std::string("\0x", 2)), "");
}

// A game installed under a hidden folder (~/.local/...) plays its music and videos: hidden
// entries are found like any other, whatever the case of their letters.
TEST_F(Musik, HiddenFoldersOnTheWay) {
  ASSERT_EQ(mkdir((dir + "/.Versteckt").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir + "/.Versteckt/musics").c_str(), 0755), 0);
  ASSERT_TRUE(WriteMidiFile(dir + "/.Versteckt/musics/.Lied.mid", {{60, 1}}, 120));
  std::string kurz;
  EXPECT_EQ(KurzerPfad(Win(".VERSTECKT/Musics/.lied.MID"), kurz), Win(".Versteckt/musics/.Lied.mid"));
  EXPECT_EQ(kurz, Win(".Versteckt/musics/.Lied.mid"));
  EXPECT_EQ(KurzerPfad(".versteckt\\musics", kurz), ".Versteckt\\musics");

  SpieleMusik(Win(".Versteckt/musics/.Lied.mid"));
  EXPECT_EQ(Position(), "0");
  std::string laenge(200, ' ');
  ASSERT_EQ(mciSendString("status vbSong length", &laenge, 200), 0);
  EXPECT_EQ(BisNullzeichen(laenge), "500");
}

// On the real clock a song that is not loaded yet (the synthesizer's soundfont takes a while) is
// read in the background: the position right after SpieleMusik is 0, and it counts from when
// the song began, which the event pump sees to.
TEST_F(Musik, PositionRightAfterSpieleMusikIsZero) {
  UseRealClock();
  AudioClose();  // nothing loaded yet
  SpieleMusik(Win("Alte Musiken/Lied.MID"));
  EXPECT_EQ(Position(), "0");
  PruefeMusikEnde();
  EXPECT_EQ(Position(), "0") << "the loop check must not start a loading song again";
  std::string p;
  const uint64_t bis = timeGetTime() + 30000;
  while ((p = Position()) == "0" && timeGetTime() < bis) {
    DoEvents();
    WaitForEvent(timeGetTime() + 10);
  }
  ASSERT_NE(p, "0") << "the song never began";
  EXPECT_LT(std::stoi(p), 300) << "the position counts from when the song began";
}

TEST_F(Musik, PruefeMusikEndeRestartsOnlyAtTheEnd) {
  std::string lied = Win("Alte Musiken/Lied.MID");
  SpieleMusik(lied);
  EXPECT_EQ(AktuelleMusik, lied);
  EXPECT_EQ(Position(), "0");
  AdvanceClock(1500);
  PruefeMusikEnde();
  EXPECT_EQ(Position(), "1500") << "restarted before its end";
  AdvanceClock(999);
  PruefeMusikEnde();
  EXPECT_EQ(Position(), "2499");
  AdvanceClock(1);
  PruefeMusikEnde();
  EXPECT_EQ(Position(), "0") << "not restarted at its end";
  AdvanceClock(500);
  EXPECT_EQ(Position(), "500");

  StoppeMusik();
  EXPECT_EQ(Position(), "-");
  EXPECT_EQ(AktuelleMusik, lied) << "StoppeMusik keeps the last path";
}

TEST_F(Musik, WithNoMusicOpenEveryCheckStartsTheSongAgain) {
  std::string spaeter = Win("Alte Musiken/Spaeter.mid");
  SpieleMusik(spaeter);  // missing: stops the old music, plays nothing
  EXPECT_EQ(Position(), "-");
  for (int i = 0; i < 3; ++i) {
    AdvanceClock(500);
    PruefeMusikEnde();
    EXPECT_EQ(Position(), "-");
    EXPECT_EQ(AktuelleMusik, spaeter);
  }
  // The file turns up: the very next check plays it.
  ASSERT_TRUE(WriteMidiFile(dir + "/Alte Musiken/Spaeter.mid", {{60, 4}}, 120));
  PruefeMusikEnde();
  EXPECT_EQ(Position(), "0");

  // After StoppeMusik the timer's next check starts the current song again.
  StoppeMusik();
  EXPECT_EQ(Position(), "-");
  PruefeMusikEnde();
  EXPECT_EQ(Position(), "0");
}

TEST_F(Musik, FilmWithAnEmptyPathOnlyClosesAndAMissingOneEndsAtOnce) {
  // Any open device under the video alias is closed by an empty path.
  ASSERT_EQ(mciSendString("open " + Win("Alte Musiken/Lied.MID") + " alias vbVideo", nullptr, 0), 0);
  SpieleFilm("");
  std::string buf(200, ' ');
  EXPECT_NE(mciSendString("status vbVideo length", &buf, 200), 0);

  // A missing video opens nothing: both queries fail, the blank buffer reads 0 and 0.
  SpieleFilm(Win("Alte Musiken/Film.mpg"));
  EXPECT_NE(mciSendString("status vbVideo length", &buf, 200), 0);
  EXPECT_NE(mciSendString("status vbVideo position", &buf, 200), 0);
  EXPECT_EQ(buf, std::string(200, ' '));
}

namespace {

// 160 by 120 in four coloured quarters.
void Viertel(int, int w, int h, std::vector<int32_t>& px) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[size_t(y) * w + x] = y < h / 2 ? (x < w / 2 ? RGB(255, 0, 0) : RGB(0, 255, 0))
                                        : (x < w / 2 ? RGB(0, 0, 255) : RGB(255, 255, 255));
}

bool Nahe(Color c, Color soll) {
  for (int k = 0; k < 24; k += 8)
    if (std::abs(((c >> k) & 255) - ((soll >> k) & 255)) > 48) return false;
  return true;
}

}  // namespace

// The scene window hands its scene surface over at start-up; a video then fills the whole scene
// on the screen and closing it shows the room again.
TEST_F(Musik, FilmSpieltUeberDerSzeneUndGibtSieWiederFrei) {
  ASSERT_EQ(mkdir((dir + "/rooms").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir + "/graphics").c_str(), 0755), 0);
  std::ofstream(dir + "/rooms/Start.lsd", std::ios::binary) << "a.bmp,-1,-1,-1";
  Picture raum;
  raum.width = 640;
  raum.height = 480;
  raum.pixels.assign(640 * 480, RGB(10, 20, 30));
  ASSERT_TRUE(SavePictureBmp(raum, dir + "/graphics/a.bmp"));
  ASSERT_TRUE(WriteVideoFile(dir + "/film.mpg", 160, 120, 25, 10, Viertel, 0));
  // Whatever happens, the next test finds the engine as this one found it.
  struct Zurueck {
    std::string raum = RaumPfad, grafik = GrafikPfad, sound = SoundPfad;
    ~Zurueck() {
      if (Form1().Loaded()) Form1().Unload();
      DoEvents();
      SetMsgBoxHook(nullptr);
      HotspotMax = -1;
      Hotspots.clear();
      RaumPfad = raum, GrafikPfad = grafik, SoundPfad = sound;
    }
  } zurueck;
  const std::string w = Win("");
  RaumPfad = w + "rooms\\";
  GrafikPfad = w + "graphics\\";
  SoundPfad = w + "sounds\\";  // keeps the window from taking the program folder's content
  SpielErgebnis = Ergebnis();
  SetMsgBoxHook([](const std::string&, int, const std::string&) { return vbOK; });
  Form1().Beenden = [] {};
  Form1().Show();
  DoEvents();
  PictureBox& szene = Form1().Picture1;
  const std::vector<Color> bild = szene.ImagePixels();
  ASSERT_EQ(bild[640 * 240 + 320], RGB(10, 20, 30));

  SpieleFilm(Win("film.mpg"));
  AdvanceClock(100);
  DoEvents();
  auto schirm = [&](int x, int y) { return szene.ScreenPixels()[size_t(y) * 640 + x]; };
  EXPECT_TRUE(Nahe(schirm(160, 120), RGB(255, 0, 0)));
  EXPECT_TRUE(Nahe(schirm(480, 120), RGB(0, 255, 0)));
  EXPECT_TRUE(Nahe(schirm(160, 360), RGB(0, 0, 255)));
  EXPECT_TRUE(Nahe(schirm(630, 470), RGB(255, 255, 255)));
  EXPECT_EQ(szene.ImagePixels(), bild);

  SchliesseFilm();
  EXPECT_EQ(szene.ScreenPixels(), bild);
}
