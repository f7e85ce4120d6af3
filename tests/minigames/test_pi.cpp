// The pi typing game on the virtual clock: the shrinking limit, wrong keys, time-outs, the
// end screen's count and the outcome, short and missing digits files, and closing the window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/state.h"
#include "minigames/pi/pispiel.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "runtime/text.h"
#include "scratch.h"

namespace {

const std::string kPi = "3.14159265358979323846264338327950288419716939937510582097494459";

class PiSpielTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseVirtualClock();
    rt::Randomize(13);
    dir_ = testing_support::MakeScratchFolder("pi");
    ASSERT_FALSE(dir_.empty());
    altPfad_ = DatenPfad;
    DatenPfad = rt::WinPath(dir_) + "\\";
    Ziffern(kPi);
  }
  void TearDown() override {
    PISpiel().ZeichenGezeigt = nullptr;
    DatenPfad = altPfad_;
    testing_support::RemoveScratchFolder(dir_);
    rt::UseRealClock();
  }
  void Ziffern(const std::string& inhalt) {
    ASSERT_TRUE(rt::WriteFileBytes(DatenPfad + "Pi10000.txt", inhalt));
  }

  // Plays one game. tippe(position) says what the player does once a character shows: how
  // long he waits and which text he types then ("" types nothing).
  struct Zug {
    int64_t warten;
    std::string text;
  };
  void Spiele(const std::function<Zug(int32_t)>& tippe) {
    TPISpiel& f = PISpiel();
    gezeigt.clear();
    f.ZeichenGezeigt = [&] {
      gezeigt[f.Position] = rt::timeGetTime();
      const Zug z = tippe(f.Position);
      rt::AdvanceClock(uint64_t(z.warten));
      if (z.text == "\r") {
        rt::PostKey(f, rt::vbKeyReturn, true);
        rt::PostKey(f, rt::vbKeyReturn, false);
      } else if (!z.text.empty()) {
        rt::PostChar(f, z.text);
      }
    };
    SpielErgebnis = "X";
    f.Show(rt::vbModal);
    ende = rt::timeGetTime();
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(f.DateiNr, -100);
    // The digits file was closed: its number is free again.
    const int nr = rt::FreeFile();
    EXPECT_TRUE(rt::OpenForBinaryRead(nr, DatenPfad + "Pi10000.txt"));
    EXPECT_EQ(rt::FreeFile(), nr + 1);
    rt::CloseFile(nr);
  }

  // The end screen as it must read.
  std::vector<rt::Color> EndBild(const std::string& urteil, int zahl) {
    rt::Surface s(369, 273);
    s.SetAutoRedraw(true);
    s.BackColor = rt::vbBlack;
    s.Cls();
    s.font = rt::Font{"Times New Roman", 12, true, false, false};
    s.ForeColor = rt::QBColor(11);
    s.CurrentX = float(184 - rt::CLng(s.TextWidth("Game Over")) / 2);
    s.Print("Game Over");
    s.Print("");
    s.Print(urteil);
    s.Print(std::to_string(zahl) + " Zeichen von PI geschafft!");
    return s.ImagePixels();
  }
  bool ZeigtEnde(const std::string& urteil, int zahl) {
    return PISpiel().Picture1.ImagePixels() == EndBild(urteil, zahl);
  }

  std::map<int32_t, uint64_t> gezeigt;
  uint64_t ende = 0;
  std::string dir_, altPfad_;
};

int64_t Grenze(int32_t p) { return 2000 - 10 * int64_t(p); }

TEST_F(PiSpielTest, TheLimitShrinksWithEveryCharacterUntilATimeOutEndsTheGame) {
  // Each character typed 1 ms before its limit; the 46th not at all.
  Spiele([](int32_t p) -> Zug {
    if (p <= 45) return {Grenze(p) - 1, kPi.substr(size_t(p - 1), 1)};
    return {0, ""};
  });
  ASSERT_EQ(gezeigt.size(), 46u);
  for (int32_t p = 1; p <= 45; ++p) EXPECT_EQ(gezeigt[p + 1] - gezeigt[p], uint64_t(Grenze(p) - 1)) << p;
  // The time-out at the limit, a 10 ms white flash, then the end screen for ten seconds.
  EXPECT_EQ(ende - gezeigt[46], uint64_t(Grenze(46) + 10 + 10000));
  EXPECT_TRUE(ZeigtEnde("Das war leider zu langsam... Du hast", 45));
  EXPECT_TRUE(SpielErgebnis.IstWahrheit());
  EXPECT_TRUE(SpielErgebnis.AlsWahrheit());
}

TEST_F(PiSpielTest, AKeyTypedOnTheLimitStillCountsButNotAfterIt) {
  // The key arrives in the same pump as the limit: it counts. Then the limit passes first.
  Spiele([](int32_t p) -> Zug {
    if (p == 1) return {Grenze(1), "3"};
    return {Grenze(p), ""};
  });
  EXPECT_EQ(gezeigt.size(), 2u);
  EXPECT_TRUE(ZeigtEnde("Das war leider zu langsam... Du hast", 1));
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
}

TEST_F(PiSpielTest, WrongKeysEndTheGameAndACommaCountsAsThePoint) {
  Spiele([](int32_t p) -> Zug {
    if (p == 2) return {5, ","};
    if (p <= 3) return {5, kPi.substr(size_t(p - 1), 1)};
    return {5, "7"};  // the fourth character is "4"
  });
  EXPECT_EQ(gezeigt.size(), 4u);
  EXPECT_TRUE(ZeigtEnde("Da hast du dich wohl vertippt, aber du hast", 3));
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());

  // Enter arrives as a key of its own and is as wrong as any other.
  Spiele([](int32_t p) -> Zug { return {5, p == 1 ? "\r" : ""}; });
  EXPECT_EQ(gezeigt.size(), 1u);
  EXPECT_TRUE(ZeigtEnde("Da hast du dich wohl vertippt, aber du hast", 0));
}

TEST_F(PiSpielTest, ThirtyNineCharactersWinAndThirtyEightLose) {
  for (int32_t falsch : {40, 39}) {
    Spiele([falsch](int32_t p) -> Zug {
      return {20, p < falsch ? kPi.substr(size_t(p - 1), 1) : std::string("x")};
    });
    EXPECT_EQ(SpielErgebnis.AlsWahrheit(), falsch == 40) << falsch;
    EXPECT_TRUE(ZeigtEnde("Da hast du dich wohl vertippt, aber du hast", falsch - 1));
  }
}

TEST_F(PiSpielTest, AShortFileEndsAtItsLastCharacterAndTimeOutsNeverPass) {
  Ziffern(kPi.substr(0, 42));
  Spiele([](int32_t p) -> Zug { return {3, kPi.substr(size_t(p - 1), 1)}; });
  EXPECT_EQ(gezeigt.size(), 42u);
  EXPECT_TRUE(ZeigtEnde("Ich glaub du hast geschummelt, denn du hast alle", 41));
  EXPECT_TRUE(SpielErgebnis.AlsWahrheit());

  // A file of NUL bytes: a player who types nothing does not pass a single character.
  Ziffern(std::string(60, '\0'));
  Spiele([](int32_t) -> Zug { return {3000, ""}; });
  EXPECT_EQ(gezeigt.size(), 1u);
  EXPECT_TRUE(ZeigtEnde("Das war leider zu langsam... Du hast", 0));
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
}

TEST_F(PiSpielTest, AMissingFileEndsTheGameLostAfterTheIntro) {
  ASSERT_EQ(::unlink((dir_ + "/Pi10000.txt").c_str()), 0);
  TPISpiel& f = PISpiel();
  bool gezeigt = false;
  f.ZeichenGezeigt = [&] { gezeigt = true; };
  SpielErgebnis = "X";
  f.Show(rt::vbModal);
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(gezeigt);
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
  EXPECT_TRUE(SpielErgebnis.IstWahrheit());
  EXPECT_FALSE(rt::FileExists(DatenPfad + "Pi10000.txt"));  // opening did not create it
  EXPECT_EQ(f.DateiNr, -100);
}

TEST_F(PiSpielTest, ClosingTheWindowEndsTheGameAndClosesTheFileOnce) {
  TPISpiel& f = PISpiel();
  const int frei = rt::FreeFile();

  // During the intro: nothing was opened, the game is lost.
  rt::Timer zu;  // no owner: the showing resets the window's own timers
  zu.SetInterval(1000);
  zu.Tick = [&] { rt::PostClose(f); };
  zu.SetEnabled(true);
  SpielErgebnis = "X";
  const uint64_t start = rt::timeGetTime();
  f.Show(rt::vbModal);
  EXPECT_LT(rt::timeGetTime() - start, 1100u);
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
  EXPECT_EQ(rt::FreeFile(), frei);
  zu.SetEnabled(false);

  // While a character waits for its key: the window's unloading closes the file.
  f.ZeichenGezeigt = [&] {
    if (f.Position == 5) {
      EXPECT_EQ(f.DateiNr, frei);
      rt::PostClose(f);
    } else {
      rt::PostChar(f, kPi.substr(size_t(f.Position - 1), 1));
    }
  };
  f.Show(rt::vbModal);
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(f.Position, 5);
  EXPECT_EQ(f.DateiNr, -100);
  EXPECT_EQ(rt::FreeFile(), frei);
  EXPECT_FALSE(SpielErgebnis.AlsWahrheit());
}

}  // namespace
