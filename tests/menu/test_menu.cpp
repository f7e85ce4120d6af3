// The start menu: folders and CD on prepared trees, entries and keys, the hand-over, and the
// frame loop on the virtual clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/state.h"
#include "menu/menu.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace fs = std::filesystem;

namespace {

void Datei(const fs::path& p) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

// A program folder and two stand-in drives under one temporary folder.
struct Baum {
  fs::path wurzel;
  Baum() {
    wurzel = fs::temp_directory_path() /
             ("norvalde_menu_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(wurzel);
    fs::create_directories(wurzel / "prog");
    fs::create_directories(wurzel / "cd1");
    fs::create_directories(wurzel / "cd2");
    setenv("NORVALDE_DRIVES", ("x=" + (wurzel / "cd1").string() + ";y=" + (wurzel / "cd2").string()).c_str(), 1);
  }
  ~Baum() {
    unsetenv("NORVALDE_DRIVES");
    std::error_code ec;
    fs::remove_all(wurzel, ec);
  }
  std::string Programm() const { return rt::WinPath((wurzel / "prog").string()); }
};

struct Aufzeichnung {
  std::vector<std::string> geoeffnet;
  int szene = 0, ende = 0;
  bool menuBeimZeigenGeladen = true;
};

class MenuTest : public ::testing::Test {
 protected:
  Aufzeichnung a;
  void SetUp() override {
    rt::UseVirtualClock();
    rt::SetMsgBoxHook([](const std::string&, int, const std::string&) { return rt::vbOK; });
    char prog[] = "norvalde";
    char* argv[] = {prog, nullptr};
    rt::SetCommandLine(1, argv);
    TMenu& m = Menu();
    m.SzeneZeigen = [this] {
      ++a.szene;
      a.menuBeimZeigenGeladen = Menu().Loaded();
    };
    m.ProzessBeenden = [this] { ++a.ende; };
    m.Oeffnen = [this](const std::string& ziel) {
      a.geoeffnet.push_back(ziel);
      return true;
    };
  }
  void TearDown() override {
    Menu().Unload();
    rt::SetMsgBoxHook(nullptr);
  }
  static void Taste(int code) {
    int k = code;
    Menu().Form_KeyDown(k, 0);
  }
  static bool Fett(int i) { return Menu().Label1[i].font.bold; }
  static int Hervorgehoben() {
    int n = 0, welcher = -1;
    for (int i = 0; i < 4; ++i)
      if (Fett(i)) ++n, welcher = i;
    return n == 1 ? welcher : -1;
  }
  static std::string Titel(int i) { return rt::ToUtf8(Menu().Label1[i].Caption); }
  // The window reads the drive list when it loads; then the search runs on our program folder.
  static void Einrichten(const std::string& programm) {
    Menu().Unload();
    Menu().Show();
    Menu().OrdnerEinrichten(programm);
  }
};

// ---- Folders and the CD ------------------------------------------------------------------

TEST_F(MenuTest, EachContentFolderIsDecidedByItself) {
  Baum b;
  Datei(b.wurzel / "prog" / "sounds" / "a.wav");
  fs::create_directories(b.wurzel / "prog" / "graphics");                // empty
  fs::create_directories(b.wurzel / "prog" / "items" / "unter");         // only a subfolder
  Datei(b.wurzel / "prog" / "items" / "unter" / "tief.bmp");
  Datei(b.wurzel / "prog" / "rooms" / "Start.lsd");
  Einrichten(b.Programm());

  const std::string basis = b.Programm() + "\\";
  EXPECT_EQ(SoundPfad, basis + "sounds\\");
  EXPECT_EQ(RaumPfad, basis + "rooms\\");
  EXPECT_EQ(GrafikPfad, "Spiel\\Graphics\\");
  EXPECT_EQ(GegenstandPfad, "Spiel\\Items\\");
  EXPECT_EQ(FilmPfad, "Spiel\\Movies\\");
  EXPECT_EQ(CursorPfad, "Spiel\\Cursors\\");
  EXPECT_EQ(MusikPfad, "Spiel\\Musics\\");
  EXPECT_EQ(DatenPfad, "Spiel\\Games\\");
  // No marker anywhere: no CD, no bonus entry.
  EXPECT_EQ(Menu().CDPfad, "");
  EXPECT_FALSE(Menu().Label1[2].Visible());
  EXPECT_TRUE(fs::is_directory(b.wurzel / "prog" / "saves"));
}

// Names starting with a dot are the host's housekeeping (".gitkeep", ".DS_Store", ".directory"),
// never content: a folder holding only such files counts as empty.
TEST_F(MenuTest, DotFilesAreNoContent) {
  Baum b;
  Datei(b.wurzel / "prog" / "sounds" / ".gitkeep");
  Datei(b.wurzel / "prog" / "graphics" / ".DS_Store");
  Datei(b.wurzel / "prog" / "graphics" / "wiese.jpg");
  Datei(b.wurzel / "prog" / "rooms" / ".Start.lsd");
  Einrichten(b.Programm());
  EXPECT_EQ(SoundPfad, "Spiel\\sounds\\");
  EXPECT_EQ(RaumPfad, "Spiel\\Rooms\\");
  EXPECT_EQ(GrafikPfad, b.Programm() + "\\graphics\\");
}

TEST_F(MenuTest, TheLastDriveWithTheMarkerIsTheCd) {
  Baum b;
  Datei(b.wurzel / "cd1" / "Norvalde");
  Datei(b.wurzel / "cd2" / "NORVALDE");  // names are found whatever their case
  Datei(b.wurzel / "prog" / "musics" / "a.mid");
  Einrichten(b.Programm());
  EXPECT_EQ(Menu().CDPfad, "y:\\");
  EXPECT_TRUE(Menu().Label1[2].Visible());
  EXPECT_EQ(GrafikPfad, "y:\\Spiel\\Graphics\\");
  EXPECT_EQ(RaumPfad, "y:\\Spiel\\Rooms\\");
  EXPECT_EQ(MusikPfad, b.Programm() + "\\musics\\");

  // Only the first drive: that one. A folder called like the marker is no marker.
  fs::remove(b.wurzel / "cd2" / "NORVALDE");
  fs::create_directories(b.wurzel / "cd2" / "Norvalde");
  Einrichten(b.Programm());
  EXPECT_EQ(Menu().CDPfad, "x:\\");
  EXPECT_EQ(SoundPfad, "x:\\Spiel\\sounds\\");
}

TEST_F(MenuTest, ProgramFolderWithTrailingBackslashAndExistingSaves) {
  Baum b;
  Datei(b.wurzel / "prog" / "sounds" / "a.wav");
  Datei(b.wurzel / "prog" / "saves" / "alt.xtc");
  Einrichten(b.Programm() + "\\");
  EXPECT_EQ(SoundPfad, b.Programm() + "\\sounds\\");
  EXPECT_TRUE(fs::exists(b.wurzel / "prog" / "saves" / "alt.xtc"));
}

// ---- Start-up ----------------------------------------------------------------------------

TEST_F(MenuTest, StartUpLaysOutTheMainMenu) {
  Menu().Show();
  ASSERT_TRUE(Menu().Loaded());
  EXPECT_EQ(Menu().MenuTyp, 0);
  EXPECT_EQ(Menu().GewaehlterEintrag, 0);
  EXPECT_EQ(Hervorgehoben(), 0);
  EXPECT_EQ(Titel(0), "Spiel beginnen");
  EXPECT_EQ(Titel(3), "Menü verlassen");
  EXPECT_TRUE(Menu().Timer1.Enabled());
  EXPECT_FALSE(Menu().MenuStopp);
  EXPECT_NEAR(PiWert, 3.1415927f, 1e-7f);
  EXPECT_EQ(rt::CurDir(), rt::AppPath());
  for (int i = 0; i < 4; ++i) {
    const rt::Label& l = Menu().Label1[i];
    EXPECT_EQ(l.Top(), i * 50 + 40);
    EXPECT_LE(std::abs(l.Left() + l.Width() / 2.0 - 100), 1.0) << i;
    EXPECT_GT(l.Width(), 20);
  }
  // A caption change keeps the left edge.
  const int links = Menu().Label1[1].Left();
  Menu().LabelAufbau(1);
  EXPECT_EQ(Menu().Label1[1].Left(), links);
  EXPECT_EQ(Hervorgehoben(), 1);
}

TEST_F(MenuTest, CommandLineHandsOverAtOnce) {
  char prog[] = "norvalde", raum[] = "Keller.lsd";
  char* argv[] = {prog, raum, nullptr};
  rt::SetCommandLine(2, argv);
  SoundPfad = "unberuehrt\\";
  Menu().Show();
  EXPECT_EQ(a.szene, 1);
  EXPECT_FALSE(Menu().Loaded());
  EXPECT_EQ(SoundPfad, "unberuehrt\\");
  EXPECT_TRUE(Menu().MenuStopp);
}

// ---- Entries and keys --------------------------------------------------------------------

TEST_F(MenuTest, KeysWithoutTheBonusEntry) {
  Menu().Show();
  Menu().Label1[2].SetVisible(false);  // as without a CD
  Taste(rt::vbKeyUp);
  EXPECT_EQ(Menu().GewaehlterEintrag, 0);
  Taste(rt::vbKeyDown);
  EXPECT_EQ(Menu().GewaehlterEintrag, 1);
  Taste(rt::vbKeyDown);
  EXPECT_EQ(Menu().GewaehlterEintrag, 3);
  EXPECT_EQ(Hervorgehoben(), 3);
  Taste(rt::vbKeyDown);  // no wrap-around
  EXPECT_EQ(Menu().GewaehlterEintrag, 3);
  Taste(rt::vbKeyUp);
  EXPECT_EQ(Menu().GewaehlterEintrag, 1);
  EXPECT_EQ(Hervorgehoben(), 1);
  Taste('A');
  EXPECT_EQ(Menu().GewaehlterEintrag, 1);
  EXPECT_EQ(a.ende, 0);
  Taste(rt::vbKeyEscape);
  EXPECT_EQ(a.ende, 1);
  EXPECT_EQ(Menu().MenuTyp, 0);
}

TEST_F(MenuTest, KeysThroughTheBonusMenu) {
  Menu().Show();
  Menu().CDPfad = "e:\\";
  Menu().Label1[2].SetVisible(true);
  Taste(rt::vbKeyDown);
  Taste(rt::vbKeyDown);
  EXPECT_EQ(Menu().GewaehlterEintrag, 2);
  const int links = Menu().Label1[2].Left();
  const int breite = Menu().Label1[2].Width();
  Taste(rt::vbKeyReturn);
  EXPECT_EQ(Menu().MenuTyp, 1);
  EXPECT_EQ(Menu().GewaehlterEintrag, 0);
  EXPECT_EQ(Hervorgehoben(), 0);
  EXPECT_EQ(Titel(0), "Videos");
  EXPECT_EQ(Titel(1), "Bilder Sessions");
  EXPECT_EQ(Titel(2), "Mathe-Physik-LernCD");
  EXPECT_EQ(Titel(3), "Zurück");
  // The longer caption grows to the right from the start-up position.
  EXPECT_EQ(Menu().Label1[2].Left(), links);
  EXPECT_GT(Menu().Label1[2].Width(), breite);

  Taste(rt::vbKeyReturn);
  Taste(rt::vbKeyDown);
  Taste(rt::vbKeyReturn);
  Taste(rt::vbKeyDown);
  Taste(rt::vbKeyReturn);
  EXPECT_EQ(a.geoeffnet,
            (std::vector<std::string>{"e:\\Videos", "e:\\Bilder\\index.html", "e:\\LernCD"}));
  EXPECT_EQ(Menu().MenuTyp, 1);  // the menu stays as it was

  // Esc goes back with "Spiel beginnen" highlighted; a second Esc quits.
  Taste(rt::vbKeyEscape);
  EXPECT_EQ(Menu().MenuTyp, 0);
  EXPECT_EQ(Menu().GewaehlterEintrag, 0);
  EXPECT_EQ(Hervorgehoben(), 0);
  EXPECT_EQ(Titel(2), "Bonusmaterial");
  EXPECT_EQ(a.ende, 0);
  Taste(rt::vbKeyEscape);
  EXPECT_EQ(a.ende, 1);

  // "Zurück" by mouse.
  Menu().Label1_Click(2);
  ASSERT_EQ(Menu().MenuTyp, 1);
  Menu().Label1_Click(3);
  EXPECT_EQ(Menu().MenuTyp, 0);
  EXPECT_EQ(a.szene, 0);
}

TEST_F(MenuTest, MouseHighlightAndClick) {
  Menu().Show();
  Menu().Label1_MouseMove(2, 0, 0, 3, 3);
  EXPECT_EQ(Menu().GewaehlterEintrag, 2);
  EXPECT_EQ(Hervorgehoben(), 2);
  Menu().Label1_MouseMove(2, 0, 0, 5, 5);
  EXPECT_EQ(Hervorgehoben(), 2);
  // A click runs the clicked entry, whatever is highlighted.
  Menu().Label1_Click(3);
  EXPECT_EQ(a.ende, 1);
}

TEST_F(MenuTest, TheWebLinkOpensTheAddressItShows) {
  Menu().Show();
  Menu().Label2_Click();
  ASSERT_EQ(a.geoeffnet.size(), 1u);
  EXPECT_EQ(a.geoeffnet[0], Menu().Label2.Caption);
  EXPECT_EQ(a.geoeffnet[0].rfind("https://", 0), 0u) << "the desktop opener needs a whole address";
  EXPECT_LE(rt::FontTextWidth(Menu().Label2.font, Menu().Label2.Caption), Menu().Label2.Width())
      << "the whole address must be readable";
}

TEST_F(MenuTest, NewAndLoadedGameUnloadBeforeTheScene) {
  SpielErgebnis = std::string("alt");
  Menu().Show();
  Taste(rt::vbKeyReturn);
  EXPECT_EQ(a.szene, 1);
  EXPECT_FALSE(a.menuBeimZeigenGeladen);
  EXPECT_TRUE(Menu().MenuStopp);
  EXPECT_TRUE(SpielErgebnis.IstText());
  EXPECT_TRUE(SpielErgebnis == "");

  Menu().Show();
  EXPECT_FALSE(Menu().MenuStopp);
  Menu().Label1_Click(1);
  EXPECT_EQ(a.szene, 2);
  EXPECT_FALSE(a.menuBeimZeigenGeladen);
  EXPECT_TRUE(SpielErgebnis == "Laden.lsd");
}

}  // namespace
