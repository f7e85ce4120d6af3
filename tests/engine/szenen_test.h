// The scene window shown on a content folder of its own: rooms whose start scripts never wait,
// the message boxes recorded, the shutdown caught. Shared by the scene window's test files.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/form1.h"
#include "engine/interpreter.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/forms.h"
#include "runtime/pump_hooks.h"
#include "runtime/picture_save.h"
#include "runtime/system.h"
#include "runtime/text.h"
#include "skript_bau.h"

namespace szenentest {

struct Meldung {
  std::string text, titel;
  int knoepfe;
};

class SzenenTest : public ::testing::Test {
 protected:
  std::filesystem::path ordner;
  std::vector<Meldung> meldungen;
  int beendet = 0;

  void SetUp() override {
    rt::UseVirtualClock();
    ordner = std::filesystem::temp_directory_path() / ("norvalde_form1_" + std::to_string(::getpid()));
    std::filesystem::create_directories(ordner / "rooms");
    std::filesystem::create_directories(ordner / "graphics");
    rt::SetMsgBoxHook([this](const std::string& t, int k, const std::string& ti) {
      meldungen.push_back({t, ti, k});
      return rt::vbOK;
    });
    std::string w = rt::WinPath(ordner.string());
    if (w.back() != '\\') w += "\\";
    RaumPfad = w + "rooms\\";
    GrafikPfad = w + "graphics\\";
    SoundPfad = w + "sounds\\";
    CursorPfad = w + "cursors\\";
    GegenstandPfad = w + "items\\";
    Beschaeftigt = false;
    SpielErgebnis = Ergebnis();
    Form1().Beenden = [this] { ++beendet; };
    Raum("Start.lsd", "a.bmp,-1,-1,-1");
  }

  void TearDown() override {
    if (Form1().Loaded()) Form1().Unload();
    rt::DoEvents();
    rt::SetMsgBoxHook(nullptr);
    std::filesystem::remove_all(ordner);
    HotspotMax = -1;
    Hotspots.clear();
    rt::UseRealClock();
  }

  void Bild(const std::string& name, int w, int h, rt::Color (*farbe)(int x, int y)) {
    rt::Picture p;
    p.width = w;
    p.height = h;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) p.pixels.push_back(farbe(x, y));
    ASSERT_TRUE(rt::SavePictureBmp(p, (ordner / "graphics" / name).string()));
  }

  void Raum(const std::string& name, const std::string& text) {
    std::ofstream((ordner / "rooms" / name), std::ios::binary) << text;
  }

  // Masks with the given cells set, column by column.
  static std::string Maske(std::initializer_list<std::pair<int, int>> zellen) {
    int m[64][48] = {};
    for (auto [x, y] : zellen) m[x][y] = 255;
    std::string s;
    for (int x = 0; x < 64; ++x)
      for (int y = 0; y < 48; ++y) s += std::to_string(m[x][y]) + (y == 47 ? "\r\n" : ",");
    return s;
  }
  static std::string Hotspot(const std::string& name, std::initializer_list<std::pair<int, int>> zellen) {
    return "0,-1,-1,0,0,\"X\",0,-1,\"\",-1,\"" + name + "\"\r\n" + Maske(zellen);
  }

  // A quadrant picture: red, green, blue and white quarters.
  static rt::Color Viertel(int x, int y, int w, int h) {
    bool r = x >= w / 2, u = y >= h / 2;
    return !r && !u ? rt::RGB(255, 0, 0) : r && !u ? rt::RGB(0, 255, 0) : !r ? rt::RGB(0, 0, 255) : rt::RGB(255, 255, 255);
  }

  void Zeigen() {
    Form1().Show();
    rt::DoEvents();
  }
};

// Playing the scene: a grey room, items and cursor files made on demand, and scripts whose
// text instructions are noted (with the run's item name) instead of shown.
class SpielTest : public SzenenTest {
 protected:
  static inline std::vector<std::string> notizen;
  std::array<Befehlsroutine, Befehl::Anzahl> tabelle{};
  static constexpr rt::Color kGrau = rt::RGB(100, 100, 100);

  void SetUp() override {
    SzenenTest::SetUp();
    std::filesystem::create_directories(ordner / "cursors");
    std::filesystem::create_directories(ordner / "items");
    tabelle = Befehlstabelle();
    Befehlstabelle()[Befehl::Textzeile] = [](Lauf& lauf, const std::string& arg) {
      notizen.push_back(lauf.gegenstand.empty() ? arg : arg + " mit " + lauf.gegenstand);
      return Fortgang::Weiter;
    };
    notizen.clear();
    Gegenstaende.fill("");
    LetzterGegenstand = -1;
    GewaehlterGegenstand = -1;
    GewaehlterName.clear();
    CursorModus = -1;
    CursorBild = 0;
    Klick = 0;
    LeisteOffen = LeisteZu = LeisteGesperrt = LeisteSichtbar = false;
    LeisteHoehe = 0;
    LeisteWinkel = 0;
    AuswahlTexte.clear();
    AuswahlGrenzen.clear();
    AuswahlHoehe = 0;
    AuswahlErgebnis = 0;
    Bild("a.bmp", 64, 48, [](int, int) { return kGrau; });
  }

  void TearDown() override {
    Befehlstabelle() = tabelle;
    Beschaeftigt = false;
    SzenenTest::TearDown();
  }

  static Skript Notiz(const std::string& text) { return S({{Befehl::Textzeile, text}}); }

  static void Flaeche(const std::filesystem::path& datei, int w, int h, rt::Color c) {
    rt::Picture p;
    p.width = w;
    p.height = h;
    p.pixels.assign(size_t(w) * h, c);
    ASSERT_TRUE(rt::SavePictureBmp(p, datei.string()));
  }
  // An item picture in the items folder, carried.
  void Gegenstand(const std::string& name, rt::Color c, int groesse = 48) {
    Flaeche(ordner / "items" / (name + ".bmp"), groesse, groesse, c);
    ASSERT_TRUE(GegenstandDazu(name + ".bmp"));
  }
  void ItemSkript(const std::string& datei, const std::string& text) {
    std::ofstream(ordner / "items" / datei, std::ios::binary) << "0\r\n2,\"" << text << "\"\r\n";
  }
  // A cursor file (any picture format loads as an icon).
  void Cursor(const std::string& name, rt::Color c) { Flaeche(ordner / "cursors" / name, 32, 32, c); }
  std::string CursorWeg(const std::string& name) { return CursorPfad + name; }

  // A switched-on hotspot over the cells (x1..x2, y1..y2) with scripts for the right button,
  // the left button and an item.
  static ::Hotspot H(const std::string& name, int x1, int y1, int x2, int y2, const std::string& cursor,
                   Skript rechts = {}, Skript links = {}, Skript gegenstand = {}) {
    ::Hotspot h;
    h.Name = name;
    h.CursorName = cursor;
    h.Aktiv = true;
    for (int x = x1; x <= x2; ++x)
      for (int y = y1; y <= y2; ++y) h.Maske[size_t(x)][size_t(y)] = true;
    h.Skripte = {rechts, links, gegenstand};
    for (int k = 0; k < 3; ++k) h.SkriptAktiv[size_t(k)] = h.Skripte[size_t(k)].Letzter >= 0;
    return h;
  }
  static void Raumhotspots(std::vector<::Hotspot> hs) {
    Hotspots = std::move(hs);
    HotspotMax = int32_t(Hotspots.size()) - 1;
  }
};

// Calls a function on every pass of the event pump while it is alive.
class PumpBeobachter {
 public:
  explicit PumpBeobachter(std::function<void()> f)
      : id_(rt::AddPumpHook([f = std::move(f)](uint64_t) {
          f();
          return UINT64_MAX;
        })) {}
  ~PumpBeobachter() { rt::RemovePumpHook(id_); }

 private:
  int id_;
};

}  // namespace szenentest
