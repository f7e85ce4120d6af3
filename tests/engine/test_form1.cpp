// The scene window: picture loading, room loading, start-up, resizing, keys and shutdown.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/form1.h"
#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/picture_save.h"
#include "runtime/system.h"
#include "runtime/text.h"
#include "szenen_test.h"

namespace {

using szenentest::SzenenTest;

TEST(BassHilfen, VersionUndFehlertexte) {
  EXPECT_EQ(BassVersion(), "1.6");
  EXPECT_EQ(LoWord(0x00060001), 1);
  EXPECT_EQ(HiWord(0x00060001), 6);
  EXPECT_EQ(HiWord(-65536), 65535);
  EXPECT_EQ(HiWord(-1), 0);  // truncated toward zero
  EXPECT_EQ(BassFehlerText(-1), "Some Other Mystery Error");
  EXPECT_EQ(BassFehlerText(0), "All is OK");
  EXPECT_EQ(BassFehlerText(27), "The Stream is Not a File Stream (WAV/MP3)");
  EXPECT_EQ(BassFehlerText(38), "The channel is a 'decoding channel'");
  for (int ohne : {28, 30, 36, 39, -2}) EXPECT_EQ(BassFehlerText(ohne), "") << ohne;
}

TEST_F(SzenenTest, ThrowErrorZeigtCodeUndText) {
  Zeigen();
  meldungen.clear();
  rt::BASS_StreamCreateFile(0, RaumPfad + "fehlt.wav", 0, 0, 0);
  int code = rt::BASS_ErrorGetCode();
  Form1().ThrowError("Can't start digital output");
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_EQ(meldungen[0].titel, "Error");
  EXPECT_EQ(meldungen[0].knoepfe, rt::vbOKOnly | rt::vbCritical);
  EXPECT_EQ(meldungen[0].text, "Can't start digital output\r\n\r\nError Code : " + std::to_string(code) + "\r\n" +
                                   BassFehlerText(code));
}

TEST_F(SzenenTest, BildLadenStrecktUndStauchtAuf640x480) {
  Bild("klein.bmp", 320, 240, [](int x, int y) { return Viertel(x, y, 320, 240); });
  Bild("gross.bmp", 800, 600, [](int x, int y) { return Viertel(x, y, 800, 600); });
  Zeigen();
  TForm1& f = Form1();
  for (const char* name : {"klein.bmp", "gross.bmp"}) {
    f.BildLaden(GrafikPfad + name);
    SCOPED_TRACE(name);
    EXPECT_EQ(f.Picture1.Point(0, 0), rt::RGB(255, 0, 0));
    EXPECT_EQ(f.Picture1.Point(315, 235), rt::RGB(255, 0, 0));
    EXPECT_EQ(f.Picture1.Point(325, 10), rt::RGB(0, 255, 0));
    EXPECT_EQ(f.Picture1.Point(639, 0), rt::RGB(0, 255, 0));
    EXPECT_EQ(f.Picture1.Point(5, 479), rt::RGB(0, 0, 255));
    EXPECT_EQ(f.Picture1.Point(639, 479), rt::RGB(255, 255, 255));
    EXPECT_EQ(f.Picture1.Point(325, 245), rt::RGB(255, 255, 255));
    // The room picture keeps its own size, the clean copy is the scene as drawn.
    EXPECT_EQ(f.Picture2.ScaleWidth(), name[0] == 'k' ? 320 : 800);
    auto kopie = f.Picture3.GetPicture();
    ASSERT_TRUE(kopie);
    ASSERT_EQ(kopie->width, 640);
    ASSERT_EQ(kopie->height, 480);
    EXPECT_EQ(kopie->pixels, f.Picture1.ImagePixels());
  }
}

TEST_F(SzenenTest, BildLadenOhneDateinameOderMitFehlenderDateiGibtSchwarz) {
  Bild("bunt.bmp", 64, 48, [](int, int) { return rt::RGB(200, 100, 50); });
  Zeigen();
  TForm1& f = Form1();
  f.BildLaden(GrafikPfad + "bunt.bmp");
  auto sauber = f.Picture3.GetPicture();
  auto raumbild = f.Picture2.GetPicture();
  // Only the folder (also with blanks after it): black, the kept pictures stay.
  f.BildLaden(GrafikPfad + "   ");
  EXPECT_EQ(f.Picture1.Point(100, 100), rt::vbBlack);
  EXPECT_EQ(f.Picture1.BackColor, rt::vbBlack);
  EXPECT_EQ(f.Picture3.GetPicture(), sauber);
  EXPECT_EQ(f.Picture2.GetPicture(), raumbild);
  // A missing picture ends nothing: the scene and its clean copy are black.
  f.BildLaden(GrafikPfad + "bunt.bmp");
  f.BildLaden(GrafikPfad + "fehlt.jpg");
  EXPECT_EQ(f.Picture1.Point(100, 100), rt::vbBlack);
  EXPECT_EQ(f.Picture1.Point(639, 479), rt::vbBlack);
  ASSERT_TRUE(f.Picture3.GetPicture());
  EXPECT_EQ(f.Picture3.GetPicture()->At(100, 100), rt::vbBlack);
  EXPECT_TRUE(meldungen.empty());
}

TEST_F(SzenenTest, LadeUebernimmtNurVollstaendigGeleseneRaeume) {
  Bild("a.bmp", 64, 48, [](int, int) { return rt::RGB(0, 0, 200); });
  Raum("A.lsd", "\"a.bmp\"\r\n-1\r\n1\r\n" + Hotspot("Eins", {{1, 1}}) + Hotspot("Zwei", {{2, 2}}) + "-1\r\n");
  Raum("Kaputt.lsd", "\"a.bmp\"\r\n-1\r\n0\r\n" + Hotspot("Halb", {{3, 3}}).substr(0, 200));
  Zeigen();
  TForm1& f = Form1();
  meldungen.clear();
  uint64_t zaehler = RaumZaehler;
  ASSERT_TRUE(f.Lade(RaumPfad + "A.lsd"));
  EXPECT_EQ(AktuelleRaumdatei, "A.lsd");
  EXPECT_EQ(HotspotMax, 1);
  EXPECT_EQ(Hotspots[1].Name, "Zwei");
  EXPECT_GT(RaumZaehler, zaehler);
  EXPECT_EQ(f.Picture1.Point(10, 10), rt::RGB(0, 0, 200));
  EXPECT_EQ(rt::Trim(RaumBild), "a.bmp");
  // The start script's end steps switch the countdown on; its interval stays 0.
  EXPECT_TRUE(f.CountDown.Enabled());
  EXPECT_EQ(f.CountDown.Interval(), 0);
  EXPECT_FALSE(Beschaeftigt);

  for (const char* name : {"Fehlt.lsd", "Kaputt.lsd"}) {
    SCOPED_TRACE(name);
    meldungen.clear();
    EXPECT_FALSE(f.Lade(RaumPfad + name));
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_NE(meldungen[0].text.find(RaumPfad + name), std::string::npos) << meldungen[0].text;
    EXPECT_EQ(AktuelleRaumdatei, "A.lsd");
    EXPECT_EQ(HotspotMax, 1);
    EXPECT_EQ(Hotspots.size(), 2u);
  }
  // The reason reaches the box in the system's one encoding: "früh" as a single byte.
  Raum("Kurz.lsd", "\"a.bmp\"\r\n-1\r\n");
  meldungen.clear();
  EXPECT_FALSE(f.Lade(RaumPfad + "Kurz.lsd"));
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_NE(meldungen[0].text.find("endet zu fr\xFCh"), std::string::npos) << meldungen[0].text;
  EXPECT_EQ(meldungen[0].text.find('\xC3'), std::string::npos) << "UTF-8 read as Windows-1252";

  // A caller that reports failures itself gets the reason instead of a box.
  meldungen.clear();
  std::string grund;
  EXPECT_FALSE(f.Lade(RaumPfad + "Fehlt.lsd", &grund));
  EXPECT_FALSE(grund.empty());
  EXPECT_TRUE(meldungen.empty());
}

TEST_F(SzenenTest, StartLaedtDenErstenRaumNachSpielErgebnis) {
  Bild("a.bmp", 8, 8, [](int, int) { return rt::RGB(0, 100, 0); });
  Raum("Laden.lsd", "a.bmp,-1,0\r\n" + Hotspot("L", {{0, 0}}) + "-1");
  SpielErgebnis = "C:\\woanders\\Laden.lsd";
  Zeigen();
  EXPECT_EQ(AktuelleRaumdatei, "Laden.lsd");
  EXPECT_EQ(HotspotMax, 0);
  EXPECT_EQ(Form1().MarkierteZeile, -1);
  EXPECT_EQ(LetzterGegenstand, -1);
  EXPECT_TRUE(LeisteZu);
  EXPECT_FLOAT_EQ(PiWert, 3.1415927f);
  Form1().Unload();
  EXPECT_EQ(beendet, 1);

  // Without a room from the menu the command line's file-name part names it.
  SpielErgebnis = "";
  AktuelleRaumdatei = "";
  char prog[] = "norvalde", arg[] = "C:\\Spiele\\Laden.lsd";
  char* argv[] = {prog, arg};
  rt::SetCommandLine(2, argv);
  Zeigen();
  rt::SetCommandLine(1, argv);
  EXPECT_EQ(AktuelleRaumdatei, "Laden.lsd");
  Form1().Unload();

  AktuelleRaumdatei = "";
  Zeigen();
  EXPECT_EQ(AktuelleRaumdatei, "Start.lsd");
  EXPECT_EQ(HotspotMax, -1);
}

TEST_F(SzenenTest, OhneErstenRaumSchliesstDasFenster) {
  SpielErgebnis = "Nirgends.lsd";
  Zeigen();
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_NE(meldungen[0].text.find("Nirgends.lsd"), std::string::npos);
  rt::DoEvents();
  EXPECT_EQ(beendet, 1);
}

TEST_F(SzenenTest, OhneMenueKommenDieOrdnerAusDemProgrammordner) {
  SoundPfad = "";
  SpielErgebnis = "Fehlt.lsd";  // the build's own rooms are not run here
  Zeigen();
  std::string b = rt::AppPath();
  if (b.back() != '\\') b += "\\";
  EXPECT_EQ(RaumPfad, b + "rooms\\");
  EXPECT_EQ(SoundPfad, b + "sounds\\");
  EXPECT_EQ(GrafikPfad, b + "graphics\\");
  EXPECT_EQ(FilmPfad, b + "movies\\");
  EXPECT_EQ(CursorPfad, b + "cursors\\");
  EXPECT_EQ(GegenstandPfad, b + "items\\");
  EXPECT_EQ(MusikPfad, b + "musics\\");
  EXPECT_EQ(DatenPfad, b + "games\\");
  EXPECT_EQ(rt::CurDir(), rt::AppPath());
}

TEST_F(SzenenTest, GroesseBleibtMindestensSzeneUndSzeneMittig) {
  Zeigen();
  TForm1& f = Form1();
  EXPECT_EQ(f.ScaleWidth(), 640);
  EXPECT_EQ(f.ScaleHeight(), 480);
  EXPECT_EQ(f.MinBreite, f.Width());
  EXPECT_EQ(f.MinHoehe, f.Height());

  f.SetClientSize(801, 600);
  rt::DoEvents();
  f.Form_Resize();
  EXPECT_EQ(f.Frame1.Left(), 400 - 320);
  EXPECT_EQ(f.Frame1.Top(), 300 - 240);
  EXPECT_EQ(f.Hintergrund.Width(), 801);
  EXPECT_EQ(f.Hintergrund.Height(), 600);
  EXPECT_EQ(f.Hintergrund.Point(5, 5), rt::vbBlack);

  f.SetClientSize(300, 200);
  rt::DoEvents();
  f.Form_Resize();
  EXPECT_EQ(f.Width(), f.MinBreite);
  EXPECT_EQ(f.Height(), f.MinHoehe);
  EXPECT_EQ(f.ScaleWidth(), 640);
  EXPECT_EQ(f.ScaleHeight(), 480);
  EXPECT_EQ(f.Frame1.Left(), 0);
  EXPECT_EQ(f.Frame1.Top(), 0);
}

TEST_F(SzenenTest, F5InvertiertDieZellenAllerHotspots) {
  Bild("grau.bmp", 64, 48, [](int, int) { return rt::RGB(100, 100, 100); });
  Raum("Start.lsd", "grau.bmp,-1,1\r\n" + Hotspot("A", {{1, 1}, {2, 2}}) + Hotspot("B", {{2, 2}, {63, 47}}) + "-1");
  Zeigen();
  TForm1& f = Form1();
  const rt::Color grau = rt::RGB(100, 100, 100), invers = rt::RGB(155, 155, 155);
  int key = rt::vbKeyF5;
  f.Form_KeyDown(key, 0);
  EXPECT_EQ(LetzteTaste, rt::vbKeyF5);
  EXPECT_EQ(f.Picture1.Point(10, 10), invers);
  EXPECT_EQ(f.Picture1.Point(19, 19), invers);
  EXPECT_EQ(f.Picture1.Point(20, 20), grau);  // shared by both: inverted twice
  EXPECT_EQ(f.Picture1.Point(639, 479), invers);
  EXPECT_EQ(f.Picture1.Point(30, 30), grau);
  EXPECT_EQ(f.Picture1.DrawMode, rt::vbCopyPen);
  f.Form_KeyDown(key, 0);
  EXPECT_EQ(f.Picture1.Point(10, 10), grau);
  EXPECT_EQ(f.Picture1.Point(639, 479), grau);
  // While a script runs, keys only set LetzteTaste.
  Beschaeftigt = true;
  f.Form_KeyDown(key, 0);
  EXPECT_EQ(f.Picture1.Point(10, 10), grau);
  Beschaeftigt = false;
  f.Form_KeyUp(key, 0);
  EXPECT_EQ(LetzteTaste, 0);
}

TEST_F(SzenenTest, F7LeertasteUndBeschaeftigt) {
  Zeigen();
  TForm1& f = Form1();
  meldungen.clear();
  BosheitsPunkte = -3;
  int key = rt::vbKeyF7;
  f.Form_KeyDown(key, 0);
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_EQ(meldungen[0].text, "-3");
  EXPECT_EQ(meldungen[0].titel, "Norvalde");
  EXPECT_EQ(meldungen[0].knoepfe, rt::vbOKOnly);
  BosheitsPunkte = 0;

  LeisteSichtbar = false;
  key = rt::vbKeySpace;
  Beschaeftigt = true;
  f.Form_KeyDown(key, 0);
  EXPECT_FALSE(LeisteSichtbar);
  EXPECT_EQ(LetzteTaste, 32);
  Beschaeftigt = false;
  LeisteGesperrt = true;
  f.Form_KeyDown(key, 0);
  EXPECT_FALSE(LeisteSichtbar);
  LeisteGesperrt = false;
  f.Form_KeyDown(key, 0);
  EXPECT_TRUE(LeisteSichtbar);
  f.Form_KeyDown(key, 0);
  EXPECT_FALSE(LeisteSichtbar);
  EXPECT_TRUE(LeisteZu);
}

TEST_F(SzenenTest, SchliessenStopptTonUndStartetNeu) {
  Zeigen();
  EXPECT_EQ(Szene, &Form1());
  rt::PostClose(Form1());
  rt::DoEvents();
  EXPECT_EQ(beendet, 1);
  EXPECT_EQ(Szene, nullptr);
  EXPECT_EQ(rt::BASS_Start(), 0) << "the audio library must be freed";
}

}  // namespace
