// The dialogue choice played with the mouse: which branch runs, nested choices, the rows of the
// answer lines in the band, and choices without answers or without their end.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "runtime/audio.h"
#include "speicher_grenze.h"
#include "szenen_test.h"

namespace {

using szenentest::PumpBeobachter;
using namespace Befehl;

class Wahl : public szenentest::SpielTest {
 protected:
  TForm1& f = Form1();
  std::deque<int> antworten;
  int wartezeiten = 0;
  bool geklickt = false;
  std::function<void()> beimWarten;  // runs once per wait, before the click
  std::unique_ptr<PumpBeobachter> spieler;

  void SetUp() override {
    SpielTest::SetUp();
    MausX = MausY = 0;
    Zeigen();
    // Clicks the middle of the next answer's line once per wait for a choice.
    spieler = std::make_unique<PumpBeobachter>([this] {
      if (AuswahlErgebnis != -1) {
        geklickt = false;
        return;
      }
      if (geklickt) return;
      geklickt = true;
      ++wartezeiten;
      if (beimWarten) beimWarten();
      if (antworten.empty()) {
        AuswahlErgebnis = 0;  // more choices than the test expected: give up
        return;
      }
      const int k = antworten.front();
      antworten.pop_front();
      const int y = Oben() + (AuswahlGrenzen[size_t(k - 1)] + AuswahlGrenzen[size_t(k)]) / 2;
      rt::PostMouse(f, 1, rt::vbLeftButton, 320, y);
      rt::PostMouse(f, 2, rt::vbLeftButton, 320, y);
    });
  }
  void TearDown() override {
    spieler.reset();
    SpielTest::TearDown();
  }
  static int Oben() { return 240 - AuswahlHoehe / 2; }
  std::vector<std::string> Spiele(const Skript& s, std::deque<int> wahl) {
    antworten = std::move(wahl);
    notizen.clear();
    SkriptAusfuehren(s, -1, "");
    EXPECT_TRUE(antworten.empty()) << "choices left unasked";
    return notizen;
  }
  using V = std::vector<std::string>;
};

TEST_F(Wahl, ZweigeNurFuerEinsUndDrei) {
  const Skript s = S({{Auswahl, "3|Was nun?|Eins|Zwei|Drei"}, {Fall, "1"}, {Textzeile, "A1"}, {Fall, "3"},
                      {Textzeile, "A3"}, {Textzeile, "A3b"}, {AuswahlEnde, ""}, {Textzeile, "danach"}});
  EXPECT_EQ(Spiele(s, {2}), V({"danach"}));
  EXPECT_EQ(AuswahlErgebnis, 2);
  EXPECT_EQ(Spiele(s, {3}), V({"A3", "A3b", "danach"}));
  // A branch ends where the next label starts.
  EXPECT_EQ(Spiele(s, {1}), V({"A1", "danach"}));
  EXPECT_EQ(f.Picture1.Point(320, 240), kGrau);  // the band has closed onto the scene
  EXPECT_FALSE(Beschaeftigt);
}

TEST_F(Wahl, VerschachtelteAuswahlWirdAlsGanzesUebersprungen) {
  const Skript s = S({{Auswahl, "2|Au\xDF" "en|a|b"}, {Fall, "1"}, {Textzeile, "a"},
                      {Auswahl, "2|Innen|x|y"}, {Fall, "2"}, {Textzeile, "y"}, {Fall, "1"}, {Textzeile, "x"},
                      {AuswahlEnde, ""}, {Textzeile, "a-ende"},
                      {Fall, "2"}, {Textzeile, "b"}, {AuswahlEnde, ""}, {Textzeile, "danach"}});
  EXPECT_EQ(Spiele(s, {2}), V({"b", "danach"}));
  EXPECT_EQ(Spiele(s, {1, 2}), V({"a", "y", "a-ende", "danach"}));
  EXPECT_EQ(Spiele(s, {1, 1}), V({"a", "x", "a-ende", "danach"}));
  // A label number read as a number: "2.0" is branch 2.
  const Skript zahl = S({{Auswahl, "2|F|a|b"}, {Fall, " 2.0"}, {Textzeile, "zwei"}, {AuswahlEnde, ""}});
  EXPECT_EQ(Spiele(zahl, {2}), V({"zwei"}));
}

// A question with one "#" and its two empty lines: the first answer is the band's fifth line.
TEST_F(Wahl, AntwortzeilenLiegenZwischenVierUndFuenfZeilenhoehen) {
  const int lh = int(f.Picture1.TextHeight("X"));
  ASSERT_GT(lh, 4);
  int weissFrage = 0, weissLeer = 0, weissEins = 0;
  bool baender[3] = {};
  beimWarten = [&] {
    const int oben = Oben();
    for (int y = oben; y <= oben + 5 * lh; ++y)
      for (int x = 0; x < 640; ++x) {
        if (f.Picture1.Point(float(x), float(y)) != rt::vbWhite) continue;
        if (y <= oben + 2 * lh) ++weissFrage;
        else if (y <= oben + 4 * lh) ++weissLeer;
        else ++weissEins;
      }
    baender[0] = f.InAuswahlBand(0, float(oben + 4 * lh + 1)) && f.InAuswahlBand(0, float(oben + 5 * lh - 1));
    baender[1] = !f.InAuswahlBand(0, float(oben + 4 * lh)) && !f.InAuswahlBand(0, float(oben + 5 * lh));
    baender[2] = f.InAuswahlBand(2, float(oben + 7 * lh + 1)) && !f.InAuswahlBand(2, float(oben + 7 * lh));
  };
  Spiele(S({{Auswahl, "3|Wer bist du?#Sag es mir.|  Eins  |Zwei#Zeilen|Drei"}, {AuswahlEnde, ""}}), {1});
  EXPECT_EQ(AuswahlGrenzen, (std::vector<int32_t>{4 * lh, 5 * lh, 7 * lh, 8 * lh}));
  EXPECT_EQ(AuswahlHoehe, 8 * lh);
  EXPECT_EQ(AuswahlTexte, (std::vector<std::string_view>{"Wer bist du?\rSag es mir.\r\r\r", "Eins", "Zwei\rZeilen", "Drei"}));
  EXPECT_GT(weissFrage, 20);
  EXPECT_EQ(weissLeer, 0);
  EXPECT_GT(weissEins, 20);
  EXPECT_TRUE(baender[0]);
  EXPECT_TRUE(baender[1]);
  EXPECT_TRUE(baender[2]);
}

// The line already under the mouse is lit as the band opens, before any move; the speech of
// the question ends with the pick.
TEST_F(Wahl, ZeileUnterDerMausLeuchtetSofortUndDieRedeEndetMitDerWahl) {
  std::filesystem::create_directories(ordner / "sounds");
  ASSERT_TRUE(rt::WriteWaveFile((ordner / "sounds" / "frage.wav").string(),
                                std::vector<int16_t>(22050 * 30, 0), 22050, 1));
  const int lh = int(f.Picture1.TextHeight("X"));
  // Question, two empty lines, "a", "b": the band is five lines high; the mouse rests on "b".
  const int oben = 240 - 5 * lh / 2;
  MausX = 320;
  MausY = float(oben + 4 * lh + lh / 2);
  bool eins = true, zwei = false;
  uint32_t rede = 0;
  bool redeLief = false;
  beimWarten = [&] {
    eins = f.Picture1.Point(2, float(oben + 3 * lh + lh / 2)) == rt::vbWhite;
    zwei = f.Picture1.Point(2, MausY) == rt::vbWhite;
    rede = SprachStream;
    redeLief = rt::StreamPlaying(rede);
  };
  const Skript s = S({{Sprache, "frage.wav"}, {Auswahl, "2|F|a|b"}, {AuswahlEnde, ""}});
  Spiele(s, {1});
  EXPECT_FALSE(eins);
  EXPECT_TRUE(zwei);
  EXPECT_TRUE(redeLief);
  EXPECT_FALSE(rt::StreamPlaying(rede));
}

TEST_F(Wahl, OhneAntwortenWirdNichtGewartet) {
  for (const char* n : {"0", "-2", "", "0.4"}) {
    SCOPED_TRACE(n);
    const uint64_t vorher = rt::timeGetTime();
    const Skript s = S({{Auswahl, std::string(n) + "|Frage|eins"}, {Textzeile, "drin"}, {Fall, "0"},
                        {Textzeile, "null"}, {AuswahlEnde, ""}, {Textzeile, "danach"}});
    EXPECT_EQ(Spiele(s, {}), V({"danach"}));
    EXPECT_EQ(wartezeiten, 0);
    EXPECT_LT(rt::timeGetTime() - vorher, 16u);  // not even the band opened
  }
}

TEST_F(Wahl, FehlendesEndeBeendetDenLauf) {
  const Skript s = S({{Auswahl, "2|F|a|b"}, {Fall, "1"}, {Textzeile, "eins"}, {Fall, "2"}});
  EXPECT_EQ(Spiele(s, {2}), V({}));
  EXPECT_EQ(Spiele(s, {1}), V({"eins"}));
  const Skript ohneZweige = S({{Auswahl, "2|F|a|b"}, {Textzeile, "nie"}});
  EXPECT_EQ(Spiele(ohneZweige, {1}), V({}));
  EXPECT_FALSE(Beschaeftigt);
}

// Fewer answers than N: the missing lines are empty and can still be picked.
TEST_F(Wahl, FehlendeAntwortenSindLeereZeilen) {
  const Skript s = S({{Auswahl, "3|F|a"}, {Fall, "3"}, {Textzeile, "drei"}, {AuswahlEnde, ""}});
  EXPECT_EQ(Spiele(s, {3}), V({"drei"}));
  EXPECT_EQ(AuswahlTexte, (std::vector<std::string_view>{"F\r\r\r", "a", "", ""}));
}

// A choice as large as a room file allows, a 64 MB answer, and one of 1000 answers of 16 KB: in a
// child with ten seconds of processor time and memory for little more than the run's copy of the
// script and one of the text, each opens with its lines where they belong and the pick runs its
// branch. That takes a single pass over the text: cutting every answer out of the whole argument
// and measuring the growing text after each would cost time with the square of its length, and
// copies several times its size.
TEST_F(Wahl, EineRiesigeAuswahlBrauchtZeitUndSpeicherNachIhrerLaenge) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr bool kSpeicher = false;  // the address sanitizer reserves and holds memory of its own
#else
  constexpr bool kSpeicher = true;
#endif
  const int32_t lh = int32_t(f.Picture1.TextHeight("X"));
  auto woerter = [](std::string& s, size_t bis) {
    while (s.size() + 5 <= bis) s += "Wort ";
  };
  Skript lang = S({{Auswahl, ""}, {Fall, "2"}, {Textzeile, "zwei"}, {AuswahlEnde, ""}});
  std::string& langArg = lang.Parameter[0];
  langArg.reserve(64u << 20);
  langArg = "2|Frage|";
  woerter(langArg, langArg.capacity() - 2);
  langArg += "|b";
  Skript viele = S({{Auswahl, "1000|Frage"}, {Fall, "499"}, {Textzeile, "499"}, {AuswahlEnde, ""}});
  std::string antwort;
  woerter(antwort, 16u << 10);
  for (int m = 0; m < 1000; ++m) viele.Parameter[0] += "|" + antwort;
  antwort.pop_back();  // the blank at its end is trimmed away
  const int status = testing_support::InChild(
      [] {
        if (kSpeicher) testing_support::LimitMemoryToSpare(192u << 20);
        testing_support::LimitSeconds(10);
      },
      [&] {
        rusage vorher{}, nachher{};
        getrusage(RUSAGE_SELF, &vorher);
        if (Spiele(lang, {2}) != V({"zwei"}) || AuswahlHoehe != 5 * lh) return 1;
        if (AuswahlGrenzen != std::vector<int32_t>{3 * lh, 4 * lh, 5 * lh}) return 1;
        if (AuswahlTexte[1].size() != langArg.size() - 11 || AuswahlTexte[2] != "b") return 1;
        if (Spiele(viele, {499}) != V({"499"}) || AuswahlHoehe != 1003 * lh) return 1;
        for (size_t m = 1; m <= 1000; ++m)
          if (AuswahlGrenzen[m] != int32_t(3 + m) * lh || AuswahlTexte[m] != antwort) return 1;
        getrusage(RUSAGE_SELF, &nachher);
        return kSpeicher && nachher.ru_maxrss - vorher.ru_maxrss > 144 * 1024 ? 2 : 0;
      });
  ASSERT_NE(status, -1);
  ASSERT_FALSE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU) << "the choices took more than ten seconds";
  ASSERT_TRUE(WIFEXITED(status)) << "the choices ended the process with signal " << WTERMSIG(status);
  EXPECT_NE(WEXITSTATUS(status), 1) << "the choices were not shown or picked as they should";
  EXPECT_NE(WEXITSTATUS(status), 2) << "the choices took more than 144 MB";
  EXPECT_NE(WEXITSTATUS(status), testing_support::kThrew) << "the choices ran out of memory";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
