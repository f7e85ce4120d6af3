// Room files and item script files as hand-written text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "engine/rooms.h"
#include "runtime/audio.h"
#include "runtime/surface.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

// 3072 mask values, column by column; cells listed in `werte` get their value, all others 0.
std::string MaskenWerte(std::initializer_list<std::tuple<int, int, int>> werte, const char* nl = "\r\n") {
  int m[64][48] = {};
  for (auto [x, y, v] : werte) m[x][y] = v;
  std::string s;
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 48; ++y) s += std::to_string(m[x][y]) + (y == 47 ? nl : ",");
  return s;
}

// A hotspot with all three slots switched off and empty: nine fields and the mask.
std::string LeererHotspot(const std::string& name, const std::string& maske) {
  return "0,-1,0,-1,0,-1,\"\",-1,\"" + name + "\"\r\n" + maske;
}

struct TempOrdner {
  std::filesystem::path p;
  TempOrdner() {
    p = std::filesystem::temp_directory_path() / ("norvalde_rooms_" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
  }
  ~TempOrdner() { std::filesystem::remove_all(p); }
  std::string Schreibe(const std::string& name, const std::string& inhalt) const {
    std::ofstream(p / name, std::ios::binary) << inhalt;
    return rt::WinPath((p / name).string());
  }
  std::string Win(const std::string& name) const { return rt::WinPath((p / name).string()); }
};

TEST(Raumdatei, RaumOhneHotspotsUndSkripte) {
  std::string text =
      "\"wiese.jpg\"\r\n"
      "1\r\n"
      "2,\"Hallo, Welt\"\r\n"  // a quoted comma belongs to the text
      "4,   Wald.lsd   \r\n"   // unquoted: blanks around it dropped
      "-1\r\n"
      "0\r\n"
      "31,\"10\"\r\n";
  Raum r;
  std::string fehler;
  ASSERT_TRUE(LeseRaumText(text, r, fehler)) << fehler;
  EXPECT_EQ(r.HotspotMax, -1);
  EXPECT_TRUE(r.Hotspots.empty());
  ASSERT_EQ(r.StartSkript.Letzter, 1);
  EXPECT_EQ(r.StartSkript.Befehle, (std::vector<int32_t>{2, 4}));
  EXPECT_EQ(r.StartSkript.Parameter, (std::vector<std::string>{"Hallo, Welt", "Wald.lsd"}));
  ASSERT_EQ(r.CountDownSkript.Letzter, 0);
  EXPECT_EQ(r.CountDownSkript.Befehle[0], 31);
  EXPECT_EQ(r.CountDownSkript.Parameter[0], "10");
  EXPECT_EQ(r.RaumBild.size(), 100u);
  EXPECT_EQ(r.RaumBild.substr(0, 10), "wiese.jpg ");
}

TEST(Raumdatei, HotspotsMitMaskenUndSlots) {
  std::string text = "bild.bmp\n-1\n1\n";
  // Hotspot 0: slots 1 and 2 switched on with scripts, switched off as a whole.
  text += "0\n-1\n-1\n1\n0,\"X\"\n3,\"Y\"\n1\n0\n8,SCHLUESSEL\n\"auge1.ico\"\n0\n\"Brunnen\"\n";
  // 255 is inside; 1 and 254 are not. Column by column: (1, 0) is the 49th value.
  text += MaskenWerte({{0, 0, 255}, {1, 0, 255}, {0, 1, 1}, {63, 47, 255}, {5, 5, 254}}, "\n");
  text += LeererHotspot("Fenster", MaskenWerte({{0, 1, 255}}));
  text += "-1\n";
  Raum r;
  std::string fehler;
  ASSERT_TRUE(LeseRaumText(text, r, fehler)) << fehler;
  ASSERT_EQ(r.HotspotMax, 1);
  ASSERT_EQ(r.Hotspots.size(), 2u);
  const Hotspot& h = r.Hotspots[0];
  EXPECT_EQ(h.Name, "Brunnen");
  EXPECT_EQ(h.CursorName, "auge1.ico");
  EXPECT_FALSE(h.Aktiv);
  EXPECT_EQ(h.SkriptAktiv, (std::array<bool, 3>{false, true, true}));
  EXPECT_EQ(h.Skripte[0].Letzter, -1);
  EXPECT_EQ(h.Skripte[1].Befehle, (std::vector<int32_t>{0, 3}));
  EXPECT_EQ(h.Skripte[1].Parameter, (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(h.Skripte[2].Parameter, (std::vector<std::string>{"SCHLUESSEL"}));
  EXPECT_TRUE(h.Maske[0][0]);
  EXPECT_TRUE(h.Maske[1][0]);
  EXPECT_TRUE(h.Maske[63][47]);
  EXPECT_FALSE(h.Maske[0][1]);
  EXPECT_FALSE(h.Maske[5][5]);
  int gesetzt = 0;
  for (auto& spalte : h.Maske)
    for (bool b : spalte) gesetzt += b;
  EXPECT_EQ(gesetzt, 3);

  const Hotspot& leer = r.Hotspots[1];
  EXPECT_EQ(leer.Name, "Fenster");
  EXPECT_EQ(leer.CursorName, "");
  EXPECT_TRUE(leer.Aktiv);
  EXPECT_EQ(leer.SkriptAktiv, (std::array<bool, 3>{false, false, false}));
  for (auto& s : leer.Skripte) EXPECT_EQ(s.Letzter, -1);
  EXPECT_TRUE(leer.Maske[0][1]);
  EXPECT_EQ(r.CountDownSkript.Letzter, -1);
}

TEST(Raumdatei, FelderUeberZeilenVerteiltUndLangerBildname) {
  // All on one line, LF and CR LF mixed, and a picture name of 130 characters.
  std::string name(130, 'a');
  name.replace(95, 10, "0123456789");
  std::string text = "\"" + name + "\",0,5,\"  x  \"\n\r\n-1\r\n\r\n0\r\n3,\"\"";
  Raum r;
  std::string fehler;
  ASSERT_TRUE(LeseRaumText(text, r, fehler)) << fehler;
  EXPECT_EQ(r.RaumBild, name.substr(0, 100));
  EXPECT_EQ(r.StartSkript.Parameter, (std::vector<std::string>{"  x  "}));  // quoted: kept as is
  EXPECT_EQ(r.CountDownSkript.Parameter, (std::vector<std::string>{""}));
}

TEST(Raumdatei, WahrheitswerteInVerschiedenenFormen) {
  for (auto [feld, erwartet] : {std::pair<const char*, bool>{"#TRUE#", true}, {"-1", true}, {"7", true},
                                {"0", false}, {"#FALSE#", false}, {"False", false}, {"True", true},
                                {"0.5", true}, {"-0.25", true}, {".5", true}, {"1E3", true},
                                {"0.0", false}, {"-0", false}, {"0e7", false},
                                {"99999999999999999999", true}}) {
    std::string text = std::string("b,-1,0\n") + feld + ",-1,0,-1,0,-1,\"\"," + feld + ",n\n" +
                       MaskenWerte({}) + "-1\n";
    Raum r;
    std::string fehler;
    ASSERT_TRUE(LeseRaumText(text, r, fehler)) << feld << ": " << fehler;
    EXPECT_EQ(r.Hotspots[0].SkriptAktiv[0], erwartet) << feld;
    EXPECT_EQ(r.Hotspots[0].Aktiv, erwartet) << feld;
  }
}

TEST(Raumdatei, KeineZahlKeinWahrheitswert) {
  for (const char* feld : {"1.2.3", "e5", "1e", "-", ".", "ja", "0x1"}) {
    std::string text = std::string("b,-1,0\n") + feld + ",-1,0,-1,0,-1,\"\",1,n\n" + MaskenWerte({}) + "-1\n";
    Raum r;
    std::string fehler;
    EXPECT_FALSE(LeseRaumText(text, r, fehler)) << feld;
    EXPECT_NE(fehler.find("Wahrheitswert erwartet"), std::string::npos) << feld << ": " << fehler;
  }
}

// An empty field takes no more than its separator, so counts are checked against that.
TEST(Skriptdatei, LeereArgumenteZwischenZweiKommas) {
  TempOrdner d;
  Skript s = LadeSkript(d.Schreibe("leer1.skp", "1,9,,9,x"));
  ASSERT_EQ(s.Letzter, 1);
  EXPECT_EQ(s.Befehle, (std::vector<int32_t>{9, 9}));
  EXPECT_EQ(s.Parameter, (std::vector<std::string>{"", "x"}));
  s = LadeSkript(d.Schreibe("leer0.skp", "2,9,,9,,9,\"\""));
  ASSERT_EQ(s.Letzter, 2);
  EXPECT_EQ(s.Parameter, (std::vector<std::string>{"", "", ""}));
  // A count that not even empty fields could fill is refused before anything is made.
  FeldLeser f("6,9,,9,,9,\"\"");
  Skript t;
  EXPECT_FALSE(LeseSkript(f, t));
  EXPECT_NE(f.Fehler().find("passt nicht"), std::string::npos) << f.Fehler();
}

// A comma ends a field, and so does a line break: a comma right before a line break or the end
// of the file leaves an empty field between them. Blank lines between fields are no fields.
TEST(Skriptdatei, KommaVorZeilenumbruchEndetEinLeeresFeld) {
  FeldLeser f("16,\r\n17\r\n\r\n18");
  std::string a, b, c, e;
  ASSERT_TRUE(f.Text(a) && f.Text(b) && f.Text(c) && f.Text(e)) << f.Fehler();
  EXPECT_EQ(a, "16");
  EXPECT_EQ(b, "");
  EXPECT_EQ(c, "17");
  EXPECT_EQ(e, "18");

  TempOrdner d;
  Skript s = LadeSkript(d.Schreibe("zeilen1.skp", "2\r\n16,\r\n2,\"Hallo\"\r\n16,   \n"));
  ASSERT_EQ(s.Letzter, 2);
  EXPECT_EQ(s.Befehle, (std::vector<int32_t>{16, 2, 16}));
  EXPECT_EQ(s.Parameter, (std::vector<std::string>{"", "Hallo", ""}));
  s = LadeSkript(d.Schreibe("ende1.skp", "0\r\n16,"));  // a comma at the very end
  ASSERT_EQ(s.Letzter, 0);
  EXPECT_EQ(s.Parameter, (std::vector<std::string>{""}));

  // The empty field's line break still counts for the line numbers of later errors.
  Raum r;
  std::string fehler;
  EXPECT_FALSE(LeseRaumText("b\r\n1\r\n16,\r\nx,\"a\"\r\n-1\r\n-1\r\n", r, fehler));
  EXPECT_NE(fehler.find("Zeile 4: Ganzzahl erwartet"), std::string::npos) << fehler;
}

TEST(Raumdatei, FehlerhafteDateienWerdenAbgelehnt) {
  struct Fall {
    const char* text;
    const char* meldung;
  };
  for (auto f : {Fall{"b\r\nzwei\r\n", "Zeile 2: Ganzzahl erwartet"},
                 Fall{"b\r\n0\r\nx,\"a\"\r\n-1\r\n-1\r\n", "Zeile 3: Ganzzahl erwartet"},
                 Fall{"\"b\r\n-1\r\n-1\r\n-1\r\n", "nicht geschlossen"},
                 Fall{"\"b\"x,-1,-1,-1", "fehlt ein Komma"},
                 Fall{"b\r\n-2\r\n", "ung\xFCltige Anzahl"},
                 Fall{"b\r\n99999999999\r\n", "Ganzzahl erwartet"},
                 Fall{"b\r\n2147483647\r\n0,a\r\n", "passt nicht"},  // no allocation for it
                 Fall{"b\r\n-1\r\n2000000\r\n", "passt nicht"},
                 Fall{"b\r\n-1\r\n-1\r\n", "endet zu fr\xFCh"},
                 Fall{"", "endet zu fr\xFCh"}}) {
    Raum r;
    r.HotspotMax = 7;
    std::string fehler;
    EXPECT_FALSE(LeseRaumText(f.text, r, fehler)) << f.text;
    EXPECT_NE(fehler.find(f.meldung), std::string::npos) << f.text << " -> " << fehler;
    EXPECT_EQ(r.HotspotMax, 7) << "a failed read must leave the room alone";
  }
}

TEST(Raumdatei, AbgeschnitteneDateiScheitertAnJederStelle) {
  std::string voll = "\"bild.jpg\"\r\n1\r\n0,\"A\"\r\n2,\"Text, mit Komma\"\r\n1\r\n" +
                     LeererHotspot("Eins", MaskenWerte({{3, 4, 255}})) +
                     "-1,0,3,\"M\"\r\n0,-1\r\n-1,-1\r\n\"c.ico\"\r\n-1\r\n\"Zwei\"\r\n" + MaskenWerte({}) +
                     "0\r\n2,\"Ende\"";
  Raum r;
  std::string fehler;
  ASSERT_TRUE(LeseRaumText(voll, r, fehler)) << fehler;
  ASSERT_EQ(r.HotspotMax, 1);
  // Every cut that drops at least the last field is refused; cutting inside the last field's
  // quotes must not pass either. A cut right after the last comma leaves an empty last field.
  size_t letztes = voll.rfind("\"Ende\"");
  for (size_t n = 0; n < letztes + 5; n += (n < 200 || n > letztes - 50) ? 1 : 37) {
    Raum t;
    std::string f;
    EXPECT_EQ(LeseRaumText(voll.substr(0, n), t, f), n == letztes) << "cut at " << n;
  }
  Raum t;
  ASSERT_TRUE(LeseRaumText(voll.substr(0, letztes), t, fehler)) << fehler;
  EXPECT_EQ(t.CountDownSkript.Parameter, (std::vector<std::string>{""}));
}

TEST(Raumdatei, DateiVonDerPlatte) {
  TempOrdner d;
  Raum r;
  std::string fehler;
  EXPECT_FALSE(LeseRaumDatei(d.Win("fehlt.lsd"), r, fehler));
  EXPECT_NE(fehler.find("nicht gefunden"), std::string::npos);
  ASSERT_TRUE(LeseRaumDatei(d.Schreibe("Raum.lsd", "b,-1,-1,-1"), r, fehler)) << fehler;
  EXPECT_EQ(r.HotspotMax, -1);
}

TEST(Skriptdatei, DreiAusgaengeFuerFehlendeDateien) {
  TempOrdner d;
  Skript s = LadeSkript(d.Win("apfel0.skp"));
  EXPECT_EQ(s.Letzter, -1);
  EXPECT_TRUE(s.Befehle.empty());
  EXPECT_EQ(LadeSkript(d.Win("apfel1.skp")).Letzter, -1);
  s = LadeSkript(d.Win("apfel2.skp"));
  ASSERT_EQ(s.Letzter, 0);
  EXPECT_EQ(s.Befehle, (std::vector<int32_t>{16}));
  EXPECT_EQ(s.Parameter, (std::vector<std::string>{""}));
  // The rule looks at the path text exactly.
  EXPECT_EQ(LadeSkript(d.Win("APFEL2.SKP")).Letzter, -1);
  EXPECT_EQ(LadeSkript(d.Win("apfel2.Skp")).Letzter, -1);
}

TEST(Skriptdatei, VorhandeneUndFehlerhafteDateien) {
  TempOrdner d;
  Skript s = LadeSkript(d.Schreibe("brot1.skp", "1\r\n2,\"Ein Brot, frisch.\"\r\n7,brot.bmp\r\n"));
  EXPECT_EQ(s.Letzter, 1);
  EXPECT_EQ(s.Parameter, (std::vector<std::string>{"Ein Brot, frisch.", "brot.bmp"}));
  // An existing combination script replaces the error voice, an empty one too.
  s = LadeSkript(d.Schreibe("brot2.skp", "0\n8,KÄSE\n"));
  EXPECT_EQ(s.Befehle, (std::vector<int32_t>{8}));
  EXPECT_EQ(LadeSkript(d.Schreibe("wurst2.skp", "-1\r\n")).Letzter, -1);
  // Malformed or truncated files count as missing.
  EXPECT_EQ(LadeSkript(d.Schreibe("kaese1.skp", "3\r\n2,\"a\"\r\n")).Letzter, -1);
  EXPECT_EQ(LadeSkript(d.Schreibe("kaese0.skp", "eins\r\n")).Letzter, -1);
  EXPECT_EQ(LadeSkript(d.Schreibe("kaese2.skp", "2147483647\r\n")).Befehle, (std::vector<int32_t>{16}));
}

}  // namespace

namespace {

// The generated sample content must read cleanly and name only files that exist.
TEST(Beispielinhalt, RaeumeLesenSichUndVerweisenAufVorhandeneDateien) {
  const char* bau = std::getenv("NORVALDE_BUILD");
  ASSERT_NE(bau, nullptr);
  std::filesystem::path basis(bau);
  int raeume = 0;
  for (auto& e : std::filesystem::directory_iterator(basis / "rooms")) {
    Raum r;
    std::string fehler;
    ASSERT_TRUE(LeseRaumDatei(rt::WinPath(e.path().string()), r, fehler)) << e.path() << ": " << fehler;
    ++raeume;
    std::string bild = rt::Trim(r.RaumBild);
    EXPECT_TRUE(rt::FileExists(rt::WinPath((basis / "graphics" / bild).string()))) << bild;
    for (auto& h : r.Hotspots) {
      if (!h.CursorName.empty()) {
        EXPECT_TRUE(rt::FileExists(rt::WinPath((basis / "cursors" / h.CursorName).string()))) << h.CursorName;
      }
      bool irgendwo = false;
      for (auto& spalte : h.Maske)
        for (bool b : spalte) irgendwo |= b;
      EXPECT_TRUE(irgendwo) << h.Name << " covers no cell";
      for (auto& s : h.Skripte)
        for (size_t i = 0; i < s.Befehle.size(); ++i)
          if (s.Befehle[i] == 4) {
            EXPECT_TRUE(std::filesystem::exists(basis / "rooms" / s.Parameter[i])) << s.Parameter[i];
          }
    }
  }
  EXPECT_GE(raeume, 4);
  for (const char* name : {"Start.lsd", "Laden.lsd"}) EXPECT_TRUE(std::filesystem::exists(basis / "rooms" / name));
  for (const char* name : {"taste1.ico", "taste2.ico", "ge2.ico", "werfen.ico"})
    EXPECT_TRUE(rt::LoadPicture(rt::WinPath((basis / "cursors" / name).string())) != nullptr) << name;
  // Every error voice a combination without a script may pick plays.
  ASSERT_NE(rt::BASS_Init(-1, 44100, 0, 0), 0);
  for (int n = 10; n <= 18; ++n) {
    std::string stimme = rt::WinPath((basis / "sounds" / ("Error" + std::to_string(n) + ".mp3")).string());
    uint32_t h = rt::BASS_StreamCreateFile(0, stimme, 0, 0, 0);
    EXPECT_NE(h, 0u) << stimme;
    rt::BASS_StreamFree(h);
  }
  rt::BASS_Free();
}

}  // namespace
