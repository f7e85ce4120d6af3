// Save files and the picker: the format byte for byte, files refused whole before the game
// changes, names as the picker cleans them, saves that fail or die halfway keeping the old file,
// and F1/F2 in the scene window.
#include <gtest/gtest.h>

#include <csignal>
#include <deque>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/dialog.h"
#include "engine/saves.h"
#include "szenen_test.h"

namespace {

namespace fs = std::filesystem;
using szenentest::PumpBeobachter;

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Speichern : public szenentest::SpielTest {
 protected:
  TForm1& f = Form1();
  fs::path saves;
  // What the player does in the picker, one entry per showing; an empty queue cancels.
  std::deque<std::function<void(TDialog&)>> imPicker;
  int pickerGezeigt = 0;
  std::vector<std::string> titel;
  bool bedient = false;
  std::unique_ptr<PumpBeobachter> spieler;

  void SetUp() override {
    SpielTest::SetUp();
    saves = ordner / "saves";
    SetzeSpeicherOrdner(rt::WinPath(saves.string()) + "\\");
    for (auto& m : Merker) m.clear();
    BosheitsPunkte = 0;
    DialogDateiname.clear();
    Raum("Zwei.lsd", "a.bmp,0,2,\"angekommen\",-1,-1");
    for (const char* g : {"schluessel.bmp", "apfel.bmp"}) Flaeche(ordner / "items" / g, 48, 48, rt::vbYellow);
    spieler = std::make_unique<PumpBeobachter>([this] {
      TDialog& d = Dialog();
      if (!d.Loaded()) {
        bedient = false;
        return;
      }
      if (bedient || !d.Visible()) return;
      bedient = true;
      ++pickerGezeigt;
      titel.push_back(d.Caption);
      if (imPicker.empty()) {
        Klicke(d, d.CancelButton);
        return;
      }
      auto tun = std::move(imPicker.front());
      imPicker.pop_front();
      tun(d);
      // A failed assertion left the player's part undone: the picker must not wait forever.
      if (HasFatalFailure()) d.Unload();
    });
    Zeigen();
    meldungen.clear();
  }

  void TearDown() override {
    spieler.reset();
    if (Dialog().Loaded()) Dialog().Unload();
    SetzeSpeicherOrdner("");
    SpielTest::TearDown();
  }

  static void Klicke(rt::Form& form, const rt::Control& c, int dy = 0) {
    const int x = c.Left() + c.Width() / 2, y = dy ? c.Top() + dy : c.Top() + c.Height() / 2;
    rt::PostMouse(form, 1, rt::vbLeftButton, x, y);
    rt::PostMouse(form, 2, rt::vbLeftButton, x, y);
  }
  static void Taste(rt::Form& form, int code) {
    rt::PostKey(form, code, true);
    rt::PostKey(form, code, false);
  }
  // The player types a name and presses Return.
  static std::function<void(TDialog&)> Name(const std::string& name) {
    return [name](TDialog& d) {
      d.Text1.SetText("");
      if (!name.empty()) rt::PostChar(d, name);
      Taste(d, rt::vbKeyReturn);
    };
  }
  void F(int code) {
    Taste(f, code);
    rt::DoEvents();
  }
  void Zustand(const std::string& raum, std::initializer_list<std::string> flags, std::initializer_list<std::string> items,
               int32_t punkte) {
    for (auto& m : Merker) m.clear();
    for (const auto& m : flags) MerkerSetzen(m);
    Gegenstaende.fill("");
    LetzterGegenstand = -1;
    for (const auto& g : items) GegenstandDazu(g);
    BosheitsPunkte = punkte;
    AktuelleRaumdatei = raum;
  }
  std::string Text() {
    std::string t;
    EXPECT_TRUE(SpielstandText(t));
    return t;
  }
  void Schreibe(const std::string& name, const std::string& inhalt) {
    fs::create_directories(saves);
    std::ofstream(saves / name, std::ios::binary) << inhalt;
  }
  std::vector<std::string> Meldungstexte() const {
    std::vector<std::string> t;
    for (const auto& m : meldungen) t.push_back(m.text);
    return t;
  }
};

TEST_F(Speichern, DateiformatByteFuerByte) {
  Zustand("Wald.lsd", {"b\xF6se", " tor offen "}, {"schluessel.bmp", "apfel.bmp"}, 7);
  Merker[1000] = "LETZTER";
  std::string erwartet = "zOZovIrav-File v1.1\r\nWald.lsd\r\nB\xD6SE\r\nTOR OFFEN\r\n";
  for (int i = 2; i < 1000; ++i) erwartet += "\r\n";
  erwartet += "LETZTER\r\n 1 \r\n" + GegenstandPfad + "schluessel.bmp\r\n" + GegenstandPfad + "apfel.bmp\r\n 7 \r\n";
  EXPECT_EQ(Text(), erwartet);

  // No item: "-1 " and no item lines; negative points carry their sign and no blank before.
  Zustand("Start.lsd", {}, {}, -3);
  const std::string t = Text();
  EXPECT_EQ(t.substr(t.size() - 14), "\r\n\r\n-1 \r\n-3 \r\n");
  EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 1005);

  // A text that no line can hold is not saved at all.
  Merker[3] = "A\r\nB";
  std::string leer = "unchanged";
  EXPECT_FALSE(SpielstandText(leer));
  EXPECT_EQ(leer, "unchanged");
}

TEST_F(Speichern, DateiWirdGanzGeprueftBevorSichEtwasAendert) {
  Zustand("Zwei.lsd", {"A"}, {"schluessel.bmp"}, 2);
  const std::string gut = Text();
  Spielstand s;
  std::string grund;
  ASSERT_TRUE(LeseSpielstand(gut, s, grund)) << grund;
  EXPECT_EQ(s.Raumdatei, "Zwei.lsd");
  EXPECT_EQ(s.Merker[0], "A");
  EXPECT_EQ(s.Gegenstaende, std::vector<std::string>{GegenstandPfad + "schluessel.bmp"});
  EXPECT_EQ(s.BosheitsPunkte, 2);

  // Numbers are read from blanks and rounded ties to even; a last line without its CR LF and
  // what follows the file's end are fine.
  auto ersetze = [&](const std::string& alt, const std::string& neu) {
    std::string t = gut;
    const size_t p = t.rfind(alt);
    return t.replace(p, alt.size(), neu);
  };
  ASSERT_TRUE(LeseSpielstand(ersetze(" 2 \r\n", "2.5"), s, grund)) << grund;
  EXPECT_EQ(s.BosheitsPunkte, 2);
  ASSERT_TRUE(LeseSpielstand(ersetze(" 0 \r\n", "  0.4\r\n") + "mehr\r\n", s, grund)) << grund;
  EXPECT_EQ(s.Gegenstaende.size(), 1u);

  const std::string kennung(kSpielstandKennung);
  const std::vector<std::pair<std::string, std::string>> falsch = {
      {"one letter's case in the first line", "zOZovIrav-file v1.1" + gut.substr(kennung.size())},
      {"a blank after the first line", kennung + " " + gut.substr(kennung.size())},
      {"LF line ends", [&] {
         std::string t;
         for (char c : gut)
           if (c != '\r') t += c;
         return t;
       }()},
      {"1000 flags", ersetze("\r\nA\r\n", "\r\n")},
      {"the file ending in the items", gut.substr(0, gut.rfind(" 2 "))},
      {"last item 51", ersetze(" 0 \r\n", " 51 \r\n")},
      {"last item -2", ersetze(" 0 \r\n", "-2 \r\n")},
      {"an item index in words", ersetze(" 0 \r\n", "eins\r\n")},
      {"a number with a tail", ersetze(" 0 \r\n", " 0 x\r\n")},
      {"evil points beyond 32 bits", ersetze(" 2 \r\n", " 2147483648 \r\n")},
      {"no evil points", ersetze(" 2 \r\n", "\r\n")},
      {"a room in a folder", ersetze("Zwei.lsd", "..\\Zwei.lsd")},
      {"no room", ersetze("Zwei.lsd", "")},
      {"an empty file", ""},
  };
  for (const auto& [was, text] : falsch) {
    Spielstand unberuehrt;
    unberuehrt.BosheitsPunkte = 99;
    EXPECT_FALSE(LeseSpielstand(text, unberuehrt, grund)) << was;
    EXPECT_FALSE(grund.empty()) << was;
    EXPECT_EQ(unberuehrt.BosheitsPunkte, 99) << was;
  }
}

TEST_F(Speichern, GespeichertesSpielKommtGleichZurueck) {
  Zustand("Zwei.lsd", {"Tor offen", "B\xD6SE"}, {"schluessel.bmp", "apfel.bmp", "schluessel.bmp"}, 12);
  imPicker.push_back(Name("Spiel.XTC"));
  F(rt::vbKeyF2);
  ASSERT_EQ(pickerGezeigt, 1);
  EXPECT_EQ(titel[0], "Spiel speichern");
  // The upper-case extension is kept.
  ASSERT_TRUE(fs::exists(saves / "Spiel.XTC"));
  EXPECT_FALSE(fs::exists(saves / "Spiel.XTC.xtc"));
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_EQ(meldungen[0].text, "Speichern erfolgreich unter Spiel.XTC!");
  EXPECT_EQ(meldungen[0].knoepfe, rt::vbOKOnly | rt::vbInformation);
  EXPECT_EQ(meldungen[0].titel, "Norvalde");
  EXPECT_FALSE(Beschaeftigt);
  const std::string datei = Bytes(saves / "Spiel.XTC");

  // Play on, then load: the player picks the file in the list and clicks OK.
  Zustand("Start.lsd", {"ANDERS"}, {"apfel.bmp"}, -4);
  GewaehlterGegenstand = 0;
  imPicker.push_back([](TDialog& d) {
    ASSERT_EQ(d.File1.ListCount(), 1);
    d.Text1.SetText("sonstwas");
    Klicke(d, d.File1, 5);
    Klicke(d, d.OKButton);
  });
  F(rt::vbKeyF1);
  ASSERT_EQ(pickerGezeigt, 2);
  EXPECT_EQ(titel[1], "Spiel laden");
  EXPECT_EQ(Meldungstexte().size(), 1u);
  EXPECT_EQ(DialogDateiname, "Spiel.XTC");
  EXPECT_EQ(AktuelleRaumdatei, "Zwei.lsd");
  EXPECT_EQ(notizen, std::vector<std::string>{"angekommen"});
  EXPECT_TRUE(MerkerTesten("TOR OFFEN"));
  EXPECT_FALSE(MerkerTesten("ANDERS"));
  EXPECT_EQ(LetzterGegenstand, 2);
  EXPECT_EQ(BosheitsPunkte, 12);
  EXPECT_EQ(GewaehlterGegenstand, -1);
  EXPECT_TRUE(SpielErgebnis == "");
  EXPECT_FALSE(Beschaeftigt);
  // The countdown of the loaded room starts silent and running.
  EXPECT_EQ(f.CountDown.Interval(), 0);
  EXPECT_TRUE(f.CountDown.Enabled());
  // Saved again, the game gives the same bytes.
  EXPECT_EQ(Text(), datei);
}

TEST_F(Speichern, DerPickerUndSeineNamen) {
  EXPECT_EQ(DialogName("Spiel.XTC"), "Spiel.XTC");
  EXPECT_EQ(DialogName("Spiel.Xtc"), "Spiel.Xtc");
  EXPECT_EQ(DialogName("Spiel.xtc "), "Spiel.xtc .xtc");
  EXPECT_EQ(DialogName("a/b*c?d\\e|f<g>h"), "a_b_c_d_e_f_g_h.xtc");
  EXPECT_EQ(DialogName("zwei: \"x\""), "zwei: \"x\".xtc");
  EXPECT_EQ(DialogName(""), ".xtc");

  Schreibe("alt.xtc", "x");
  Schreibe("anders.txt", "x");
  // The window, its controls and the focus order, shown modelessly here.
  TDialog& d = Dialog();
  SpielErgebnis = "Spiel laden";
  bedient = true;  // the player in the pump leaves this showing alone
  d.Show();
  rt::DoEvents();
  EXPECT_EQ(d.Caption, "Spiel laden");
  EXPECT_TRUE(SpielErgebnis == "");
  EXPECT_EQ(d.ScaleWidth(), 396);
  EXPECT_EQ(d.ScaleHeight(), 269);
  EXPECT_EQ(d.BorderStyle, 3);
  EXPECT_FALSE(d.MinButton || d.MaxButton || d.ShowInTaskbar);
  EXPECT_EQ(d.OKButton.Caption, "OK");
  EXPECT_EQ(d.CancelButton.Caption, "Abbrechen");
  EXPECT_EQ(d.Text1.Text, "");
  ASSERT_EQ(d.File1.ListCount(), 1);
  EXPECT_EQ(d.File1.List(0), "alt.xtc");
  std::vector<const rt::Control*> reihe{d.ActiveControl()};
  for (int i = 0; i < 4; ++i) {
    Taste(d, rt::vbKeyTab);
    rt::DoEvents();
    reihe.push_back(d.ActiveControl());
  }
  EXPECT_EQ(reihe, (std::vector<const rt::Control*>{&d.Text1, &d.OKButton, &d.CancelButton, &d.File1, &d.Text1}));
  d.Unload();
  bedient = false;
  pickerGezeigt = 0;

  // An empty name saves ".xtc".
  imPicker.push_back(Name(""));
  F(rt::vbKeyF2);
  EXPECT_TRUE(fs::exists(saves / ".xtc"));
  EXPECT_EQ(Meldungstexte(), std::vector<std::string>{"Speichern erfolgreich unter .xtc!"});

  // The name confirmed last, cleaned, is offered again for saving and loading; a cancelled or
  // closed picker leaves it.
  imPicker.push_back(Name("eins/zwei"));
  F(rt::vbKeyF2);
  EXPECT_TRUE(fs::exists(saves / "eins_zwei.xtc"));
  std::vector<std::string> angeboten;
  auto merke = [&](TDialog& d) {
    angeboten.push_back(d.Text1.Text);
    Klicke(d, d.CancelButton);
  };
  imPicker.push_back(merke);
  F(rt::vbKeyF1);
  imPicker.push_back([&](TDialog& d) {
    angeboten.push_back(d.Text1.Text);
    rt::PostChar(d, "x");
    rt::PostClose(d);
  });
  F(rt::vbKeyF2);
  imPicker.push_back(merke);
  F(rt::vbKeyF2);
  EXPECT_EQ(pickerGezeigt, 5);
  EXPECT_EQ(angeboten, (std::vector<std::string>{"eins_zwei.xtc", "eins_zwei.xtc", "eins_zwei.xtc"}));
  EXPECT_EQ(Meldungstexte().size(), 2u);
  EXPECT_FALSE(fs::exists(saves / "eins_zwei.xtcx"));

  // A double click on a file takes it at once. The list holds every save that choosing can
  // load: ".xtc" too, but no name that OK would clean into another, none that is not UTF-8 on
  // the host or has no Windows-1252 form.
  Zustand("Zwei.lsd", {"DOPPELT"}, {}, 0);
  ASSERT_TRUE(SchreibeSpielstand(SpeicherOrdner() + "b.xtc"));
  ASSERT_TRUE(SchreibeSpielstand(SpeicherOrdner() + "M\xFChle.xtc"));
  for (const char* name : {"a*.xtc", "c?.xtc", "d|.xtc", "e<.xtc", "f>.xtc", "g\\h.xtc", "k\xFF.xtc",
                           "\xE6\x97\xA5.xtc"})
    Schreibe(name, Text());
  Zustand("Start.lsd", {}, {}, 0);
  std::vector<std::string> liste;
  imPicker.push_back([&](TDialog& d) {
    for (int i = 0; i < d.File1.ListCount(); ++i) liste.push_back(d.File1.List(i));
    d.File1.ListIndex = 2;
    d.File1_DblClick();
  });
  F(rt::vbKeyF1);
  EXPECT_EQ(liste, (std::vector<std::string>{".xtc", "alt.xtc", "b.xtc", "eins_zwei.xtc", "M\xFChle.xtc"}));
  EXPECT_TRUE(MerkerTesten("DOPPELT"));
  EXPECT_EQ(DialogDateiname, "b.xtc");
  EXPECT_EQ(AktuelleRaumdatei, "Zwei.lsd");
}

TEST_F(Speichern, AbgelehnteDateiLaesstSpielUndCountdownWieSieWaren) {
  Zustand("Zwei.lsd", {"A"}, {"apfel.bmp"}, 1);
  const std::string gut = Text();
  auto mit = [&](const std::string& alt, const std::string& neu) {
    std::string t = gut;
    return t.replace(t.find(alt), alt.size(), neu);
  };
  Schreibe("kennung.xtc", mit("zOZovIrav", "zOZovIraV"));
  Schreibe("fehlt.xtc", mit("Zwei.lsd", "Fehlt.lsd"));
  Raum("Kaputt.lsd", "a.bmp,zwei");
  Schreibe("kaputt.xtc", mit("Zwei.lsd", "Kaputt.lsd"));
  Schreibe("gross.xtc", mit(" 0 \r\n", " 51 \r\n"));
  Schreibe("kurz.xtc", gut.substr(0, gut.size() / 2));

  Zustand("Start.lsd", {"JETZT"}, {"schluessel.bmp"}, 5);
  CountDownSkript = Notiz("tick");
  f.CountDown.SetInterval(4000);
  const std::string vorher = Text();
  for (const char* name : {"kennung", "fehlt", "kaputt", "gross", "kurz"}) {
    SCOPED_TRACE(name);
    meldungen.clear();
    imPicker.push_back([name](TDialog& d) {
      // The countdown stays silent however long the picker is open.
      rt::AdvanceClock(9000);
      d.Text1.SetText(name);
      Klicke(d, d.OKButton);
    });
    F(rt::vbKeyF1);
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_EQ(meldungen[0].text, "Daten nicht geladen!");
    EXPECT_EQ(meldungen[0].knoepfe, rt::vbOKOnly | rt::vbInformation);
    EXPECT_EQ(Text(), vorher);
    EXPECT_EQ(f.CountDown.Interval(), 4000);
    EXPECT_TRUE(f.CountDown.Enabled());
    EXPECT_TRUE(notizen.empty());
    EXPECT_FALSE(Beschaeftigt);
  }
  // A cancelled picker and a name without a file say nothing.
  meldungen.clear();
  F(rt::vbKeyF1);
  imPicker.push_back(Name("nirgends"));
  F(rt::vbKeyF1);
  EXPECT_EQ(pickerGezeigt, 7);
  EXPECT_TRUE(meldungen.empty());
  EXPECT_EQ(Text(), vorher);
  EXPECT_EQ(f.CountDown.Interval(), 4000);
  EXPECT_TRUE(f.CountDown.Enabled());
  // From inside a run, where the countdown is off, it stays off.
  f.CountDown.SetEnabled(false);
  imPicker.push_back(Name("kennung"));
  EXPECT_FALSE(SpielLaden());
  EXPECT_FALSE(f.CountDown.Enabled());
  EXPECT_EQ(f.CountDown.Interval(), 4000);
  EXPECT_TRUE(notizen.empty());
}

TEST_F(Speichern, FehlerImStartskriptDesGeladenenRaums) {
  Zustand("Zwei.lsd", {"A"}, {}, 0);
  ASSERT_TRUE(SchreibeSpielstand(SpeicherOrdner() + "a.xtc"));
  Zustand("Start.lsd", {}, {}, 0);
  Befehlstabelle()[Befehl::Textzeile] = [](Lauf&, const std::string&) -> Fortgang { throw std::runtime_error("kaputt"); };
  imPicker.push_back(Name("a"));
  F(rt::vbKeyF1);
  EXPECT_EQ(Meldungstexte(), std::vector<std::string>{"Daten nicht geladen!"});
  // What was read stays: the game is in the loaded room.
  EXPECT_EQ(AktuelleRaumdatei, "Zwei.lsd");
  EXPECT_TRUE(MerkerTesten("A"));
  EXPECT_FALSE(Beschaeftigt);
}

TEST_F(Speichern, EinFehlschlagBehaeltDenAltenStand) {
  // A name as long as the host allows saves (its temporary file is named short); one longer
  // cannot, and leaves nothing behind.
  const std::string lang = std::string(251, 'n') + ".xtc";
  imPicker.push_back(Name(lang));
  F(rt::vbKeyF2);
  EXPECT_EQ(Meldungstexte(), std::vector<std::string>{"Speichern erfolgreich unter " + lang + "!"});
  EXPECT_TRUE(fs::exists(saves / lang));
  meldungen.clear();
  imPicker.push_back(Name("n" + lang));
  F(rt::vbKeyF2);
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_EQ(meldungen[0].text, "Speichern nicht m\xF6glich!");
  EXPECT_EQ(meldungen[0].knoepfe, rt::vbOKOnly);

  // A disk that fills up halfway through the file, or a file-size limit below the save's size:
  // the write fails like any other (the limit's signal would end the game).
  Schreibe("voll.xtc", "alter Stand");
  const pid_t kind = fork();
  ASSERT_GE(kind, 0);
  if (kind == 0) {
    const rlimit grenze{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &grenze);
    _exit(SchreibeSpielstand(SpeicherOrdner() + "voll.xtc") ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(kind, &status, 0), kind);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write reported success";
  EXPECT_EQ(Bytes(saves / "voll.xtc"), "alter Stand");
  std::vector<std::string> namen;
  for (const auto& e : fs::directory_iterator(saves)) namen.push_back(e.path().filename().string());
  std::sort(namen.begin(), namen.end());
  EXPECT_EQ(namen, (std::vector<std::string>{lang, "voll.xtc"}));
}

TEST_F(Speichern, EinAbbruchVorDemUmbenennenLaesstDenAltenStandGanz) {
  Zustand("Zwei.lsd", {"ALT"}, {}, 1);
  ASSERT_TRUE(SchreibeSpielstand(SpeicherOrdner() + "spiel.xtc"));
  const std::string alt = Bytes(saves / "spiel.xtc");
  Zustand("Start.lsd", {"NEU"}, {"apfel.bmp"}, 2);
  const std::string neu = Text();

  // The process dies once the new file is written and synced, before it replaces the old one.
  const pid_t kind = fork();
  ASSERT_GE(kind, 0);
  if (kind == 0) {
    rt::SetWriteRenameHook([](const std::string&) { raise(SIGKILL); });
    SchreibeSpielstand(SpeicherOrdner() + "spiel.xtc");
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(kind, &status, 0), kind);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGKILL);
  EXPECT_EQ(Bytes(saves / "spiel.xtc"), alt);
  // The new file lay complete under a hidden temporary name, which the picker does not list.
  std::vector<std::string> reste;
  for (const auto& e : fs::directory_iterator(saves))
    if (e.path().filename() != "spiel.xtc") {
      reste.push_back(e.path().filename().string());
      EXPECT_EQ(Bytes(e.path()), neu);
    }
  ASSERT_EQ(reste.size(), 1u);
  EXPECT_EQ(reste[0].rfind(".~", 0), 0u) << reste[0];
  EXPECT_LE(reste[0].size(), 20u) << reste[0];

  // The picker clears it away at once, but not the file of a save still being written (held
  // here the way a writing process holds it).
  const fs::path laufend = saves / ".~norvalde.Xy12Z3";
  Schreibe(laufend.filename().string(), "halb");
  const int gehalten = open(laufend.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(gehalten, 0);
  ASSERT_EQ(flock(gehalten, LOCK_EX), 0);
  imPicker.push_back([](TDialog& d) {
    EXPECT_EQ(d.File1.ListCount(), 1);
    d.Text1.SetText("spiel.xtc");
    Klicke(d, d.OKButton);
  });
  F(rt::vbKeyF1);
  EXPECT_TRUE(MerkerTesten("ALT"));
  EXPECT_FALSE(MerkerTesten("NEU"));
  EXPECT_EQ(BosheitsPunkte, 1);
  EXPECT_FALSE(fs::exists(saves / reste[0]));
  EXPECT_TRUE(fs::exists(laufend));
  close(gehalten);
}

TEST_F(Speichern, F2UndF1NurWennNichtsLaeuft) {
  // The saves folder is made when missing (a game started without the menu).
  ASSERT_FALSE(fs::exists(saves));
  imPicker.push_back(Name("neu"));
  F(rt::vbKeyF2);
  EXPECT_TRUE(fs::exists(saves / "neu.xtc"));
  EXPECT_EQ(pickerGezeigt, 1);

  // A room countdown refuses saving before the picker opens.
  meldungen.clear();
  f.CountDown.SetInterval(2000);
  F(rt::vbKeyF2);
  EXPECT_EQ(pickerGezeigt, 1);
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_EQ(meldungen[0].text, "Speichern nicht m\xF6glich!");
  EXPECT_EQ(meldungen[0].knoepfe, rt::vbOKOnly);
  f.CountDown.SetInterval(0);

  // Nothing while a script runs or while the item bar slides.
  Beschaeftigt = true;
  F(rt::vbKeyF2);
  F(rt::vbKeyF1);
  Beschaeftigt = false;
  LeisteGesperrt = true;
  F(rt::vbKeyF2);
  F(rt::vbKeyF1);
  LeisteGesperrt = false;
  EXPECT_EQ(pickerGezeigt, 1);
  EXPECT_EQ(meldungen.size(), 1u);
  F(rt::vbKeyF1);
  EXPECT_EQ(pickerGezeigt, 2);
}

TEST_F(Speichern, DieSkriptwoerterSaveUndOpen) {
  Zustand("Zwei.lsd", {"GESPEICHERT"}, {}, 0);
  bool beschaeftigtImPicker = false;
  imPicker.push_back([&](TDialog& d) {
    beschaeftigtImPicker = Beschaeftigt;
    d.Text1.SetText("skript");
    Klicke(d, d.OKButton);
  });
  SkriptAusfuehren(S({{Befehl::System, "Save"}, {Befehl::Textzeile, "weiter"}}), -1, "");
  EXPECT_TRUE(beschaeftigtImPicker);
  EXPECT_TRUE(fs::exists(saves / "skript.xtc"));
  EXPECT_EQ(notizen, std::vector<std::string>{"weiter"});

  // Cancelled, the script goes on; loaded, the loaded room's start script ran and nothing after
  // the word does.
  Zustand("Start.lsd", {}, {}, 0);
  notizen.clear();
  const Skript oeffnen = S({{Befehl::System, "Open"}, {Befehl::Textzeile, "danach"}});
  SkriptAusfuehren(oeffnen, -1, "");
  EXPECT_EQ(notizen, std::vector<std::string>{"danach"});
  notizen.clear();
  imPicker.push_back(Name("skript"));
  SkriptAusfuehren(oeffnen, -1, "");
  EXPECT_EQ(notizen, std::vector<std::string>{"angekommen"});
  EXPECT_TRUE(MerkerTesten("GESPEICHERT"));
  EXPECT_FALSE(Beschaeftigt);
  EXPECT_TRUE(f.CountDown.Enabled());
}

}  // namespace
