// The scene's mouse: hover cursors and their animation, hotspot and item clicks, dragging items,
// and the choice highlight and pick.
#include <gtest/gtest.h>

#include <set>

#include "szenen_test.h"

namespace {

class Maus : public szenentest::SpielTest {
 protected:
  TForm1& f = Form1();
  void Bewege(float x, float y) { f.Picture1_MouseMove(0, 0, x, y); }
  void Klicke(float x, float y, int knopf = rt::vbLeftButton) {
    f.Picture1_MouseDown(knopf, 0, x, y);
    f.Picture1_MouseUp(knopf, 0, x, y);
  }
  void Ziehe(float x1, float y1, float x2, float y2) {
    f.Picture1_MouseDown(rt::vbLeftButton, 0, x1, y1);
    f.Picture1_MouseMove(rt::vbLeftButton, 0, x2, y2);
    f.Picture1_MouseUp(rt::vbLeftButton, 0, x2, y2);
  }
  rt::PicturePtr Icon(const std::string& name) { return f.CursorBildVon(CursorWeg(name)); }
  void Tick() {
    rt::AdvanceClock(300);
    rt::DoEvents();
  }
  void OeffneLeiste() {
    f.GegenständeLaden();
    LeisteSichtbar = true;
    f.ZeigeLeiste();
  }
};

TEST_F(Maus, HoverUndKlickBeiUeberlappendenUndAusgeschaltetenHotspots) {
  Cursor("a1.ico", rt::vbRed);
  Cursor("b1.ico", rt::vbGreen);
  Zeigen();
  ::Hotspot aus = H("Aus", 5, 5, 5, 5, "a1.ico", Notiz("a rechts"), Notiz("a links"));
  aus.Aktiv = false;
  Raumhotspots({aus, H("B", 5, 5, 6, 6, "b1.ico", Notiz("b rechts"), Notiz("b links")),
                H("Ohne", 7, 7, 7, 7, ""), H("Fehlt", 8, 8, 8, 8, "fehlt1.ico"),
                H("Pfad", 9, 9, 9, 9, "C:\\anderswo\\b1.ico")});

  // On hover the first switched-on hotspot counts.
  Bewege(55, 55);
  EXPECT_EQ(f.MousePointer, rt::vbCustom);
  EXPECT_EQ(f.MouseIcon, Icon("b1.ico"));
  EXPECT_EQ(CursorDateien[0], CursorWeg("b1.ico"));
  EXPECT_EQ(CursorModus, 0);
  // No cursor file, or one that is missing: the arrow with the question mark.
  for (float p : {75.f, 85.f}) {
    Bewege(p, p);
    EXPECT_EQ(f.MousePointer, rt::vbArrowQuestion) << p;
    EXPECT_EQ(CursorModus, -1);
  }
  // Only the file-name part of a cursor name counts.
  Bewege(95, 95);
  EXPECT_EQ(CursorDateien[0], CursorWeg("b1.ico"));
  Bewege(300, 300);
  EXPECT_EQ(f.MousePointer, rt::vbDefault);
  EXPECT_EQ(CursorModus, -1);
  EXPECT_EQ(f.Picture1.ToolTipText, "");

  // On release the lowest index takes the cell even switched off, and then runs nothing.
  Klicke(55, 55);
  EXPECT_TRUE(notizen.empty());
  EXPECT_EQ(Klick, 0);
  Bewege(65, 65);
  Klicke(65, 65);
  Klicke(65, 65, rt::vbRightButton);
  EXPECT_EQ(notizen, (std::vector<std::string>{"b links", "b rechts"}));
  // After a run the pointer is set again for the point under the mouse.
  EXPECT_EQ(f.MousePointer, rt::vbCustom);
  EXPECT_EQ(f.MouseIcon, Icon("b1.ico"));
  EXPECT_EQ(CursorModus, 0);

  // Moving draws nothing on the scene, so the window has nothing new to show.
  f.Picture1.TakeScreenChanged();
  for (float p : {55.f, 65.f, 75.f, 300.f, 56.f, 57.f}) Bewege(p, p);
  EXPECT_FALSE(f.Picture1.TakeScreenChanged());

  // Over the black background: the arrow, no animation.
  f.Hintergrund_MouseMove(0, 0, 3, 3);
  EXPECT_EQ(f.MousePointer, rt::vbDefault);
  EXPECT_EQ(CursorModus, -1);
}

TEST_F(Maus, AnimierteCursor) {
  Cursor("c1.ico", rt::vbRed);
  Cursor("c2.ico", rt::vbBlue);
  for (int k = 1; k <= 4; ++k) Cursor("d" + std::to_string(k) + ".ico", rt::RGB(k, k, k));
  Cursor("e1.ico", rt::vbRed);
  Cursor("e3.ico", rt::vbBlue);
  std::filesystem::path kaputt = ordner / "cursors" / "k1.ico";
  std::ofstream(kaputt, std::ios::binary) << "kein Bild";
  Zeigen();
  Raumhotspots({H("C", 0, 0, 0, 0, "c1.ico"), H("D", 1, 1, 1, 1, "d1.ico"), H("E", 2, 2, 2, 2, "e1.ico"),
                H("K", 3, 3, 3, 3, "k1.ico")});

  // Only frame 2 beside it: the two pictures alternate every 300 ms, each decoded once.
  Bewege(5, 5);
  EXPECT_EQ(CursorModus, 1);
  EXPECT_EQ(CursorDateien[1], CursorWeg("c2.ico"));
  std::vector<rt::PicturePtr> gezeigt;
  for (int i = 0; i < 4; ++i) {
    Tick();
    gezeigt.push_back(f.MouseIcon);
    EXPECT_EQ(f.MousePointer, rt::vbCustom);
  }
  ASSERT_TRUE(gezeigt[0]);
  EXPECT_NE(gezeigt[0], gezeigt[1]);
  EXPECT_EQ(gezeigt[0], gezeigt[2]);
  EXPECT_EQ(gezeigt[1], gezeigt[3]);
  EXPECT_TRUE(gezeigt[0] == Icon("c1.ico") || gezeigt[0] == Icon("c2.ico"));

  // Frames 2 to 4: four pictures in turn.
  Bewege(15, 15);
  EXPECT_EQ(CursorModus, 3);
  EXPECT_EQ(CursorDateien[4], CursorWeg("d5.ico"));
  std::set<rt::PicturePtr> vier;
  for (int i = 0; i < 4; ++i) {
    Tick();
    vier.insert(f.MouseIcon);
  }
  EXPECT_EQ(vier.size(), 4u);

  // A gap in the frames: the missing one gives no picture, so the pointer stays as it is.
  Bewege(25, 25);
  EXPECT_EQ(CursorModus, 2);
  int ohne = 0;
  for (int i = 0; i < 3; ++i) {
    Tick();
    ohne += !f.MouseIcon;
  }
  EXPECT_EQ(ohne, 1);

  // A cursor file that is no picture: the pointer on the screen stays, nothing fails.
  f.Hintergrund_MouseMove(0, 0, 0, 0);
  Bewege(35, 35);
  EXPECT_EQ(CursorModus, 0);
  EXPECT_FALSE(f.MouseIcon);
  Tick();
  EXPECT_FALSE(f.MouseIcon);
  EXPECT_TRUE(meldungen.empty());

  // Switched off: no hover cursor.
  Hotspots[0].Aktiv = false;
  Bewege(5, 5);
  EXPECT_EQ(f.MousePointer, rt::vbDefault);
  EXPECT_EQ(CursorModus, -1);
}

TEST_F(Maus, GegenstaendeKlickenUndZiehen) {
  Cursor("ge2.ico", rt::vbGreen);
  Cursor("werfen.ico", rt::vbRed);
  Zeigen();  // starts without items
  Gegenstand("kerze", rt::vbYellow);
  Gegenstand("brief", rt::vbWhite);
  ItemSkript("kerze0.skp", "kerze rechts");
  ItemSkript("kerze1.skp", "kerze links");
  ItemSkript("brief2.skp", "auf brief");
  Raumhotspots({H("Tür", 0, 0, 63, 30, "", {}, Notiz("tür"), Notiz("auf tür")),
                H("Wand", 0, 31, 63, 40, "", {}, Notiz("wand"))});

  // A press on an item picks it up; over itself it shows its name and the held item.
  OeffneLeiste();
  f.Picture1_MouseDown(rt::vbLeftButton, 0, 30, 440);
  EXPECT_EQ(GewaehlterGegenstand, 0);
  EXPECT_EQ(GewaehlterName, "KERZE");
  EXPECT_EQ(f.MousePointer, rt::vbCustom);
  EXPECT_EQ(f.MouseIcon, Icon("ge2.ico"));
  f.Picture1_MouseMove(rt::vbLeftButton, 0, 40, 450);
  EXPECT_EQ(f.Picture1.ToolTipText, "kerze");
  EXPECT_EQ(CursorModus, -1);
  // Over another item: the throwing cursor alternates with the held one.
  f.Picture1_MouseMove(rt::vbLeftButton, 0, 90, 450);
  EXPECT_EQ(f.Picture1.ToolTipText, "brief");
  EXPECT_EQ(CursorModus, 1);
  EXPECT_EQ(CursorDateien[0], CursorWeg("werfen.ico"));
  EXPECT_EQ(CursorDateien[1], CursorWeg("ge2.ico"));
  // Put back on itself it runs its click script for the button.
  f.Picture1_MouseUp(rt::vbLeftButton, 0, 40, 450);
  EXPECT_EQ(notizen, std::vector<std::string>{"kerze links mit KERZE"});
  EXPECT_EQ(GewaehlterGegenstand, -1);
  EXPECT_TRUE(LeisteZu);  // every run puts the bar away
  OeffneLeiste();
  Klicke(30, 440, rt::vbRightButton);
  EXPECT_EQ(notizen.back(), "kerze rechts mit KERZE");

  // Dropped on another item: that item's combination script, with the held item's name.
  OeffneLeiste();
  Ziehe(30, 440, 90, 450);
  EXPECT_EQ(notizen.back(), "auf brief mit KERZE");

  // Released on an empty cell of the bar the item stays held until the next press.
  OeffneLeiste();
  const size_t vorher = notizen.size();
  Ziehe(30, 440, 300, 450);
  EXPECT_EQ(notizen.size(), vorher);
  EXPECT_EQ(GewaehlterGegenstand, 0);
  EXPECT_TRUE(LeisteOffen);

  // Dragged above the bar it closes, and the item lands on a hotspot that takes items.
  f.Picture1_MouseDown(rt::vbLeftButton, 0, 30, 440);
  f.Picture1_MouseMove(rt::vbLeftButton, 0, 100, 350);
  EXPECT_TRUE(LeisteZu);
  EXPECT_FALSE(LeisteSichtbar);
  EXPECT_EQ(CursorModus, -1);  // the wall takes no items
  f.Picture1_MouseMove(rt::vbLeftButton, 0, 100, 100);
  EXPECT_EQ(CursorModus, 1);
  EXPECT_EQ(CursorDateien[0], CursorWeg("werfen.ico"));
  f.Picture1_MouseUp(rt::vbLeftButton, 0, 100, 100);
  EXPECT_EQ(notizen.back(), "auf tür mit KERZE");
  EXPECT_EQ(GewaehlterGegenstand, -1);
  // On a hotspot without an item script nothing runs.
  OeffneLeiste();
  const size_t n = notizen.size();
  f.Picture1_MouseDown(rt::vbLeftButton, 0, 30, 440);
  f.Picture1_MouseMove(rt::vbLeftButton, 0, 100, 350);
  f.Picture1_MouseUp(rt::vbLeftButton, 0, 100, 350);
  EXPECT_EQ(notizen.size(), n);
  EXPECT_EQ(GewaehlterGegenstand, -1);
}

TEST_F(Maus, DieLeisteZaehltNurInDerSzene) {
  Zeigen();
  for (int i = 0; i < 11; ++i) {
    Gegenstand("g" + std::to_string(i), rt::RGB(i, 0, 0));
    ItemSkript("g" + std::to_string(i) + "2.skp", "g" + std::to_string(i));
  }
  OeffneLeiste();
  ASSERT_EQ(LeisteHoehe, 128);
  int32_t k = 0;
  EXPECT_TRUE(f.InLeiste(639, 352, k));
  EXPECT_EQ(k, 9);
  EXPECT_TRUE(f.InLeiste(0, 479, k));
  EXPECT_EQ(k, 10);
  EXPECT_FALSE(f.InLeiste(639, 351, k));
  // Beyond the scene in a larger window: beside it, left of it and below it.
  for (auto [x, y] : {std::pair{650.f, 360.f}, {700.f, 440.f}, {-70.f, 440.f}, {-1.f, 360.f}, {30.f, 500.f}}) {
    EXPECT_FALSE(f.InLeiste(x, y, k)) << x << "," << y;
    EXPECT_EQ(k, -1);
  }
  // An item dragged out into the black border runs no item's script.
  Ziehe(30, 360, 650, 360);
  Ziehe(30, 360, -70, 440);
  EXPECT_TRUE(notizen.empty());
  EXPECT_EQ(GewaehlterGegenstand, -1);
  EXPECT_EQ(f.MousePointer, rt::vbDefault);
}

TEST_F(Maus, AuswahlMarkierenUndWaehlen) {
  Zeigen();
  // Two answer lines under a question: rows 240 to 260 and 260 to 280, borders excluded.
  AuswahlTexte = {"Frage", "Eins", "Zwei"};
  AuswahlGrenzen = {40, 60, 80};
  AuswahlHoehe = 80;
  AuswahlErgebnis = -1;
  Beschaeftigt = true;
  const auto invers = [](int y) { return rt::Color(~SpielTest::kGrau & 0xFFFFFF) == Form1().Picture1.Point(5, float(y)); };

  Bewege(300, 250);
  EXPECT_EQ(f.MarkierteZeile, 0);
  EXPECT_TRUE(invers(240) && invers(250) && invers(260));
  EXPECT_FALSE(invers(239) || invers(261));
  f.Picture1.TakeScreenChanged();
  Bewege(10, 255);
  EXPECT_TRUE(invers(250));
  EXPECT_FALSE(f.Picture1.TakeScreenChanged());  // still the same line
  Bewege(10, 270);
  EXPECT_EQ(f.MarkierteZeile, 1);
  EXPECT_FALSE(invers(250));
  EXPECT_TRUE(invers(260) && invers(280));
  // On a border row no line is highlighted, and a release picks nothing.
  Bewege(10, 260);
  EXPECT_EQ(f.MarkierteZeile, -1);
  EXPECT_FALSE(invers(250) || invers(260) || invers(270));
  Klicke(10, 260);
  EXPECT_EQ(AuswahlErgebnis, -1);
  EXPECT_EQ(Klick, 0);
  Klicke(10, 240);
  Klicke(10, 200);
  EXPECT_EQ(AuswahlErgebnis, -1);
  // A press alone still sets the click a text waits for.
  f.Picture1_MouseDown(rt::vbRightButton, 0, 10, 10);
  EXPECT_EQ(Klick, 1);
  Bewege(10, 265);
  f.Picture1_MouseUp(rt::vbLeftButton, 0, 10, 265);
  EXPECT_EQ(AuswahlErgebnis, 2);
  EXPECT_EQ(f.MarkierteZeile, -1);
  EXPECT_TRUE(invers(270));  // stays until the choice closes
  // No choice waiting: moves and releases during a run change nothing.
  Bewege(10, 250);
  Klicke(10, 250);
  EXPECT_EQ(AuswahlErgebnis, 2);
  EXPECT_FALSE(invers(250));
  EXPECT_TRUE(notizen.empty());
}

}  // namespace
