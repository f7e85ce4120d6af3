// The script commands on the scene window: speech and its fallback, the text wait, rooms,
// portraits, hotspot switches and cursors, evil points, the countdown, error voices and the
// system words; and what the commands hand to the scene's effects.
#include <gtest/gtest.h>

#include <set>

#include "engine/module2.h"
#include "engine/opcodes.h"
#include "engine/scene_link.h"
#include "runtime/audio.h"
#include "szenen_test.h"

namespace {

using szenentest::PumpBeobachter;
using namespace Befehl;

class Befehle : public szenentest::SpielTest {
 protected:
  TForm1& f = Form1();

  void SetUp() override {
    SpielTest::SetUp();
    std::filesystem::create_directories(ordner / "sounds");
    for (auto& m : Merker) m.clear();
    BosheitsPunkte = 0;
  }
  void TearDown() override {
    rt::BASS_StreamFree(SprachStream);
    SpielTest::TearDown();
  }
  void EchterText() { Befehlstabelle()[Textzeile] = tabelle[Textzeile]; }
  void Laut(const std::string& name) {
    ASSERT_TRUE(rt::WriteMp3File((ordner / "sounds" / name).string(), std::vector<int16_t>(4410, 0), 22050, 1));
  }
  void Welle(const std::string& name) {
    ASSERT_TRUE(rt::WriteWaveFile((ordner / "sounds" / name).string(), std::vector<int16_t>(4410, 0), 22050, 1));
  }
  static void Fuehre(Skript s) { SkriptAusfuehren(s, -1, ""); }
  static rt::Color Auf(int x, int y) { return Form1().Picture1.Point(float(x), float(y)); }
  static rt::Color Sauber(int x, int y) { return Form1().Picture3.Point(float(x), float(y)); }
};

TEST_F(Befehle, SpracheNimmtDieAndereEndungWennDieDateiFehlt) {
  Laut("rede.mp3");
  Welle("gruss.wav");
  EXPECT_EQ(SprachDatei("rede.wav"), SoundPfad + "rede.mp3");
  EXPECT_EQ(SprachDatei("C:\\woanders\\gruss.wav"), SoundPfad + "gruss.wav");
  EXPECT_EQ(SprachDatei("gruss.ogg"), SoundPfad + "gruss.wav");  // no mp3: wav, found
  EXPECT_EQ(SprachDatei("weg.mp3"), SoundPfad + "weg.wav");      // neither: wav, missing

  Zeigen();
  Fuehre(S({{Sprache, "rede.wav"}}));
  const uint32_t rede = SprachStream;
  EXPECT_NE(rede, 0u);
  EXPECT_TRUE(rt::StreamPlaying(rede));
  // The next speech frees the one playing, even when it cannot play itself.
  Fuehre(S({{Sprache, "weg.mp3"}}));
  EXPECT_FALSE(rt::StreamPlaying(rede));
  EXPECT_EQ(SprachStream, 0u);
}

TEST_F(Befehle, FehlertonSpieltEineDerNeunStimmen) {
  EXPECT_EQ(FehlertonNummer(0.0f), 10);
  EXPECT_EQ(FehlertonNummer(0.11111f), 10);
  EXPECT_EQ(FehlertonNummer(0.11112f), 11);
  EXPECT_EQ(FehlertonNummer(0.99999994f), 18);
  for (int n = 10; n <= 18; ++n) Laut("Error" + std::to_string(n) + ".mp3");
  Zeigen();
  rt::Randomize(7);
  std::set<int32_t> gehoert;
  for (int i = 0; i < 200; ++i) gehoert.insert(FehlertonNummer(rt::Rnd()));
  EXPECT_EQ(gehoert, (std::set<int32_t>{10, 11, 12, 13, 14, 15, 16, 17, 18}));
  Laut("rede.mp3");
  Fuehre(S({{Sprache, "rede.mp3"}}));
  const uint32_t rede = SprachStream;
  for (int i = 0; i < 20; ++i) {
    Fuehre(S({{Fehlerton, ""}}));
    ASSERT_NE(SprachStream, 0u) << i;
  }
  EXPECT_FALSE(rt::StreamPlaying(rede));
}

// A key or a press on the scene ends the text, also when its release comes in the same pump
// (which leaves the key and the click 0 again); the speech ends with the text.
TEST_F(Befehle, TextWartetBisZuEinemDruckDerImSelbenPumpenLosgelassenWird) {
  EchterText();
  Laut("rede.mp3");
  Zeigen();
  for (int art = 0; art < 2; ++art) {
    SCOPED_TRACE(art);
    const uint64_t start = rt::timeGetTime();
    bool gesendet = false, erzwungen = false;
    PumpBeobachter b([&] {
      const uint64_t jetzt = rt::timeGetTime();
      if (!gesendet && jetzt >= start + 1000) {
        gesendet = true;
        if (art == 0) {
          rt::PostKey(f, rt::vbKeyReturn, true);
          rt::PostKey(f, rt::vbKeyReturn, false);
        } else {
          rt::PostMouse(f, 1, rt::vbLeftButton, 600, 20);
          rt::PostMouse(f, 2, rt::vbLeftButton, 600, 20);
        }
      }
      if (!erzwungen && jetzt >= start + 30000) {
        erzwungen = true;
        LetzteTaste = 1;
      }
    });
    MerkerLoeschen("DANACH");
    Fuehre(S({{Sprache, "rede.mp3"}, {Textzeile, "Hallo#Welt"}, {SetzeMerker, "danach"}}));
    EXPECT_FALSE(erzwungen) << "the press was lost";
    EXPECT_TRUE(gesendet);
    EXPECT_TRUE(MerkerTesten("DANACH"));
    EXPECT_FALSE(rt::StreamPlaying(SprachStream));
    EXPECT_EQ(Auf(320, 240), kGrau);  // the band has closed
  }
}

TEST_F(Befehle, RaumwechselEndetDenLaufAuchWennDerRaumFehlt) {
  Raum("A.lsd", "a.bmp,1,4,\"B.lsd\",3,\"NACH_A\",-1,-1");
  Raum("B.lsd", "a.bmp,0,3,\"IN_B\",-1,-1");
  Zeigen();
  ASSERT_TRUE(f.Lade(RaumPfad + "A.lsd"));
  EXPECT_TRUE(MerkerTesten("IN_B"));
  EXPECT_FALSE(MerkerTesten("NACH_A"));
  EXPECT_EQ(AktuelleRaumdatei, "B.lsd");

  meldungen.clear();
  f.CountDown.SetEnabled(false);
  Fuehre(S({{Befehl::Raum, "Fehlt.lsd"}, {SetzeMerker, "NACH_FEHLT"}}));
  EXPECT_EQ(meldungen.size(), 1u);
  EXPECT_FALSE(MerkerTesten("NACH_FEHLT"));
  EXPECT_EQ(AktuelleRaumdatei, "B.lsd");
  EXPECT_FALSE(Beschaeftigt);  // the end steps ran
  EXPECT_TRUE(f.CountDown.Enabled());
}

TEST_F(Befehle, PortraitRahmenPortraitsUndIhrWegnehmen) {
  Flaeche(ordner / "graphics" / "gesicht.bmp", 45, 60, rt::vbRed);
  Zeigen();
  Fuehre(S({{PortraitRahmen, ""}}));
  for (auto [x, y] : {std::pair{30, 20}, {120, 140}, {75, 80}, {520, 340}, {610, 460}}) {
    EXPECT_EQ(Auf(x, y), rt::vbBlack) << x << "," << y;
    EXPECT_EQ(Sauber(x, y), rt::vbBlack) << x << "," << y;  // the frames belong to the scene now
  }
  for (auto [x, y] : {std::pair{29, 80}, {121, 80}, {75, 19}, {75, 141}, {519, 400}, {611, 400}, {565, 339}})
    EXPECT_EQ(Auf(x, y), kGrau) << x << "," << y;

  // Left for exactly 1, right for anything else; a portrait is not part of the clean scene.
  Fuehre(S({{Portrait, "1, C:\\x\\gesicht.bmp "}, {Portrait, "2,gesicht.bmp"}}));
  for (auto [x, y] : {std::pair{30, 20}, {119, 139}, {520, 340}, {609, 459}}) {
    EXPECT_EQ(Auf(x, y), rt::vbRed) << x << "," << y;
    EXPECT_EQ(Sauber(x, y), rt::vbBlack) << x << "," << y;
  }
  EXPECT_EQ(Auf(120, 140), rt::vbBlack);
  Fuehre(S({{PortraitWeg, ""}}));
  for (auto [x, y] : {std::pair{30, 20}, {75, 80}, {520, 340}}) {
    EXPECT_EQ(Auf(x, y), kGrau) << x << "," << y;
    EXPECT_EQ(Sauber(x, y), kGrau) << x << "," << y;
  }
  // A portrait that cannot be loaded draws nothing.
  Fuehre(S({{Portrait, "1,fehlt.bmp"}}));
  EXPECT_EQ(Auf(30, 20), kGrau);
}

TEST_F(Befehle, HotspotSchalterVergleichenUngetrimmtDerCursorGetrimmt) {
  Zeigen();
  Raumhotspots({H(" Tor ", 0, 0, 1, 1, ""), H("TOR", 2, 2, 3, 3, "")});
  Fuehre(S({{HotspotAus, "tor"}}));
  EXPECT_TRUE(Hotspots[0].Aktiv);
  EXPECT_FALSE(Hotspots[1].Aktiv);
  Fuehre(S({{HotspotAus, " tor "}, {HotspotAn, "Tor"}}));
  EXPECT_FALSE(Hotspots[0].Aktiv);
  EXPECT_TRUE(Hotspots[1].Aktiv);
  Fuehre(S({{HotspotCursor, " tor , C:\\x\\auge1.ico "}}));
  EXPECT_EQ(Hotspots[0].CursorName, "auge1.ico");
  EXPECT_EQ(Hotspots[1].CursorName, "auge1.ico");
}

TEST_F(Befehle, BosheitRundetZurGeradenUndFuehrtDenMerker) {
  const std::string boese = "B\xD6SE";
  struct Fall {
    const char* zahl;
    int32_t punkte;
    bool merker;
  };
  for (const Fall& fall : {Fall{"5", 5, true}, {"-5", 0, false}, {"-2", -2, false}, {"2.5", 0, false},
                           {"0.5", 0, false}, {"1.5", 2, true}, {"2.5", 4, true}, {"-3.5", 0, false},
                           {"abc", 0, false}, {"1e300", 2147483647, true}, {"1", 2147483647, true},
                           {"-1e300", -2147483647 - 1, false}}) {
    SCOPED_TRACE(fall.zahl);
    Fuehre(S({{Boese, fall.zahl}}));
    EXPECT_EQ(BosheitsPunkte, fall.punkte);
    EXPECT_EQ(MerkerTesten(boese), fall.merker);
  }
  // Only a change of sign touches the flag: a flag cleared by a script stays cleared.
  BosheitsPunkte = 3;
  Fuehre(S({{Boese, "2"}}));
  EXPECT_FALSE(MerkerTesten(boese));
}

TEST_F(Befehle, CountDownZaehltInSekundenUndHaeltSichInSeinenGrenzen) {
  EXPECT_EQ(CountDownMs(2.5), 2500);
  EXPECT_EQ(CountDownMs(0.0004), 0);
  EXPECT_EQ(CountDownMs(65.535), 65535);
  EXPECT_EQ(CountDownMs(65.536), 65535);
  EXPECT_EQ(CountDownMs(-3), 0);
  EXPECT_EQ(CountDownMs(1e300), 65535);
  EXPECT_EQ(CountDownMs(-1e300), 0);

  Raum("Uhr.lsd", "a.bmp,0,31,\"2.5\",-1,0,3,\"TICK\"");
  Zeigen();
  ASSERT_TRUE(f.Lade(RaumPfad + "Uhr.lsd"));
  EXPECT_EQ(f.CountDown.Interval(), 2500);
  rt::AdvanceClock(2400);
  rt::DoEvents();
  EXPECT_FALSE(MerkerTesten("TICK"));
  rt::AdvanceClock(200);
  rt::DoEvents();
  EXPECT_TRUE(MerkerTesten("TICK"));

  // 0 and a negative time stop the countdown.
  for (const char* zahl : {"0", "-4"}) {
    MerkerLoeschen("TICK");
    Fuehre(S({{CountDownBefehl, zahl}}));
    EXPECT_EQ(f.CountDown.Interval(), 0);
    rt::AdvanceClock(100000);
    rt::DoEvents();
    EXPECT_FALSE(MerkerTesten("TICK")) << zahl;
  }
  Fuehre(S({{CountDownBefehl, "70"}}));
  EXPECT_EQ(f.CountDown.Interval(), 65535);
}

TEST_F(Befehle, SystemwortOpenKleinGeschriebenVerlaesstDasSpiel) {
  for (const char* wort : {"open", " Open", "Ende"}) {
    SCOPED_TRACE(wort);
    Zeigen();
    beendet = 0;
    MerkerLoeschen("DANACH");
    Fuehre(S({{System, wort}, {SetzeMerker, "DANACH"}}));
    EXPECT_EQ(beendet, 1);
    EXPECT_FALSE(f.Loaded());
    EXPECT_FALSE(MerkerTesten("DANACH"));
    Beschaeftigt = false;
  }
}

TEST_F(Befehle, GegenstaendeMusikUndFilm) {
  Zeigen();
  Fuehre(S({{NimmGegenstand, "C:\\x\\stock.bmp"}, {NimmGegenstand, "stock.bmp"}, {GibGegenstand, "STOCK.BMP"},
          {GibGegenstand, "fehlt.bmp"}}));
  EXPECT_EQ(LetzterGegenstand, 0);
  EXPECT_EQ(Gegenstaende[0], GegenstandPfad + "stock.bmp");
  // A 52nd item finds no place.
  for (int i = 1; i < GegenstandAnzahl; ++i) GegenstandDazu("x.bmp");
  Fuehre(S({{NimmGegenstand, "zuviel.bmp"}}));
  EXPECT_EQ(LetzterGegenstand, GegenstandAnzahl - 1);

  const std::string musik = MusikPfad, film = FilmPfad;
  MusikPfad = "C:\\musik\\";
  Fuehre(S({{Musik, " C:\\x\\Lied.mid , egal"}}));
  EXPECT_EQ(AktuelleMusik, "C:\\musik\\Lied.mid");
  Fuehre(S({{Musik, ""}}));  // stops it; the name stays for the loop check
  EXPECT_EQ(AktuelleMusik, "C:\\musik\\Lied.mid");

  // A film that cannot be opened ends its wait at once.
  FilmPfad = SoundPfad;
  const uint64_t vorher = rt::timeGetTime();
  Fuehre(S({{Film, "fehlt.mpg"}, {SetzeMerker, "NACH_FILM"}}));
  EXPECT_TRUE(MerkerTesten("NACH_FILM"));
  EXPECT_LT(rt::timeGetTime() - vorher, 1000u);
  MusikPfad = musik;
  FilmPfad = film;
}

// A film holds the script until its end; Esc ends it sooner, also a tap whose release comes
// in the same pump, and also an Esc still held from before. The video is closed after.
TEST_F(Befehle, FilmWartetBisZuSeinemEndeOderEsc) {
  ASSERT_TRUE(rt::WriteVideoFile((ordner / "sounds" / "film.avi").string(), 64, 48, 25, 100,
                                 [](int, int w, int h, std::vector<int32_t>& px) { px.assign(size_t(w) * h, 0x00FF00); }));
  const std::string film = FilmPfad;
  FilmPfad = SoundPfad;
  Zeigen();
  auto dauer = [](std::function<void()> nachEinerSekunde) {
    MerkerLoeschen("NACH_FILM");
    const uint64_t start = rt::timeGetTime();
    bool gedrueckt = false;
    PumpBeobachter b([&] {
      if (!gedrueckt && rt::timeGetTime() >= start + 1000 && nachEinerSekunde) {
        gedrueckt = true;
        nachEinerSekunde();
      }
    });
    Fuehre(S({{Film, "C:\\x\\film.avi"}, {SetzeMerker, "NACH_FILM"}}));
    EXPECT_TRUE(MerkerTesten("NACH_FILM"));
    std::string antwort(200, ' ');
    EXPECT_NE(rt::mciSendString("status vbVideo length", &antwort, 200), 0) << "the video is still open";
    return rt::timeGetTime() - start;
  };
  const uint64_t ganz = dauer(nullptr);
  EXPECT_GE(ganz, 4000u);
  EXPECT_LT(ganz, 4500u);
  const uint64_t getippt = dauer([&] {
    rt::PostKey(f, rt::vbKeyEscape, true);
    rt::PostKey(f, rt::vbKeyEscape, false);
  });
  EXPECT_GE(getippt, 1000u);
  EXPECT_LT(getippt, 1500u);
  LetzteTaste = 27;
  EXPECT_LT(dauer(nullptr), 200u);
  LetzteTaste = 0;
  FilmPfad = film;
}

// What reaches the scene's effects, seen by a stand-in scene.
struct EffektSzene : SzenenFenster {
  std::vector<std::string> rufe;
  void MausZeiger(int) override {}
  void MausIcon(const std::string&) override {}
  void VersteckeLeiste() override {}
  void Picture1_MouseMove(int, int, float, float) override {}
  void CountDownAn(bool) override {}
  void ZoomIN(int32_t& a, int32_t& b, int32_t& c, int32_t& d) override { Rect("zoomin", a, b, c, d); }
  void ZoomOUT(int32_t& a, int32_t& b, int32_t& c, int32_t& d) override { Rect("zoomout", a, b, c, d); }
  void BlendWeiß() override { rufe.push_back("weiss"); }
  void BlendWeißOut() override { rufe.push_back("weiss weg"); }
  void Ruckel() override { rufe.push_back("ruckel"); }
  void Abspann() override { rufe.push_back("abspann"); }
  void Verlassen() override { rufe.push_back("verlassen"); }
  void Rect(const char* was, int32_t a, int32_t b, int32_t c, int32_t d) {
    rufe.push_back(std::string(was) + " " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) +
                   " " + std::to_string(d));
  }
};

TEST(BefehleAnDieSzene, ZoomsEffekteAbspannUndVerlassen) {
  EffektSzene e;
  SzenenFenster* vorher = Szene;
  Szene = &e;
  SkriptAusfuehren(S({{ZoomIn, "10.5, 20,30.5,41.5"}, {ZoomOut, "1e20,-1e20,x"}, {Effekt, "1"}, {Effekt, "2,9"},
                      {Effekt, "3"}, {Effekt, "1.5"}, {Effekt, "0"}, {Effekt, ""}, {System, "Abspann"},
                      {System, "ABSPANN"}, {System, "Abspann"}}),
                   -1, "");
  Szene = vorher;
  Beschaeftigt = false;
  const std::vector<std::string> erwartet = {"zoomin 10 20 30 42", "zoomout 2147483647 -2147483648 0 0",
                                             "weiss", "weiss weg", "ruckel", "abspann", "verlassen"};
  // A window that is still there after leaving ends the run with its end steps.
  EXPECT_EQ(e.rufe, erwartet);
}

}  // namespace
