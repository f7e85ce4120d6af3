#include "engine/saves.h"

#include <cstdio>

#include "engine/dialog.h"
#include "engine/form1.h"
#include "engine/rooms.h"
#include "engine/shared.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

constexpr std::string_view kZeilenende = "\r\n";

std::string speicherOrdner;

std::string ZahlText(int32_t n) { return (n >= 0 ? " " : "") + std::to_string(n) + " "; }

// The lines of a save file, each ended by CR LF (the last one may lack it). A lone CR or LF
// belongs to its line's text.
class Zeilen {
 public:
  explicit Zeilen(std::string_view d) : d_(d) {}
  bool Naechste(std::string& out) {
    if (pos_ >= d_.size()) return false;
    const size_t e = d_.find(kZeilenende, pos_);
    const size_t ende = e == std::string_view::npos ? d_.size() : e;
    out.assign(d_.substr(pos_, ende - pos_));
    pos_ = e == std::string_view::npos ? d_.size() : e + kZeilenende.size();
    ++nr_;
    return true;
  }
  int Nr() const { return nr_; }

 private:
  std::string_view d_;
  size_t pos_ = 0;
  int nr_ = 0;
};

// A whole line that is a number (blanks around it allowed), rounded ties to even, in [min, max].
bool ZahlZeile(const std::string& zeile, long long min, long long max, int32_t& out) {
  if (!rt::IsNumeric(zeile)) return false;
  const long long n = rt::CLng(rt::Val(zeile));
  if (n < min || n > max) return false;
  out = int32_t(n);
  return true;
}

void DatenNichtGeladen(const std::string& pfad, const std::string& grund) {
  std::fprintf(stderr, "Norvalde: save file not loaded: %s: %s\n", rt::ToUtf8(pfad).c_str(), rt::ToUtf8(grund).c_str());
  rt::MsgBox("Daten nicht geladen!", rt::vbOKOnly | rt::vbInformation);
}

// What a refused load puts back.
struct Sicherung {
  std::array<std::string, MerkerAnzahl> merker = Merker;
  std::array<std::string, GegenstandAnzahl> gegenstaende = Gegenstaende;
  int32_t letzterGegenstand = LetzterGegenstand;
  int32_t bosheitsPunkte = BosheitsPunkte;
  std::string raumdatei = AktuelleRaumdatei;
  int32_t gewaehlt = GewaehlterGegenstand;
  Ergebnis ergebnis = SpielErgebnis;

  void Zurueck() const {
    Merker = merker;
    Gegenstaende = gegenstaende;
    LetzterGegenstand = letzterGegenstand;
    BosheitsPunkte = bosheitsPunkte;
    AktuelleRaumdatei = raumdatei;
    GewaehlterGegenstand = gewaehlt;
    SpielErgebnis = ergebnis;
  }
};

}  // namespace

std::string SpeicherOrdner() {
  if (!speicherOrdner.empty()) return speicherOrdner;
  std::string b = rt::AppPath();
  if (rt::Right(b, 1) != "\\") b += "\\";
  return b + "saves\\";
}

void SetzeSpeicherOrdner(const std::string& ordner) { speicherOrdner = ordner; }

bool SpielstandText(std::string& out) {
  std::string s;
  bool ok = true;
  auto zeile = [&](const std::string& text) {
    if (text.find(kZeilenende) != std::string::npos) ok = false;
    s += text;
    s += kZeilenende;
  };
  zeile(std::string(kSpielstandKennung));
  zeile(AktuelleRaumdatei);
  for (const std::string& m : Merker) zeile(m);
  const int32_t letzter = std::min(LetzterGegenstand, GegenstandAnzahl - 1);
  zeile(ZahlText(letzter));
  for (int32_t i = 0; i <= letzter; ++i) zeile(Gegenstaende[size_t(i)]);
  zeile(ZahlText(BosheitsPunkte));
  if (ok) out.swap(s);
  return ok;
}

bool LeseSpielstand(std::string_view daten, Spielstand& stand, std::string& grund) {
  Zeilen z(daten);
  std::string zeile;
  auto fehlt = [&](const char* was) {
    grund = std::string("the file ends before ") + was;
    return false;
  };
  auto falsch = [&](const char* was) {
    grund = "line " + std::to_string(z.Nr()) + ": " + was;
    return false;
  };
  Spielstand s;
  if (!z.Naechste(zeile)) return fehlt("its first line");
  if (zeile != kSpielstandKennung) return falsch("not a save file");
  if (!z.Naechste(s.Raumdatei)) return fehlt("the room");
  if (s.Raumdatei.empty() || s.Raumdatei.find_first_of("\\/") != std::string::npos)
    return falsch("not a room file name");
  for (std::string& m : s.Merker)
    if (!z.Naechste(m)) return fehlt("the 1001st flag");
  int32_t letzter = 0;
  if (!z.Naechste(zeile)) return fehlt("the item count");
  if (!ZahlZeile(zeile, -1, GegenstandAnzahl - 1, letzter)) return falsch("no item index from -1 to 50");
  s.Gegenstaende.resize(size_t(letzter + 1));
  for (std::string& g : s.Gegenstaende)
    if (!z.Naechste(g)) return fehlt("the last item");
  if (!z.Naechste(zeile)) return fehlt("the evil points");
  if (!ZahlZeile(zeile, INT32_MIN, INT32_MAX, s.BosheitsPunkte)) return falsch("the evil points are no number");
  stand = std::move(s);
  return true;
}

bool SchreibeSpielstand(const std::string& pfad) {
  std::string text;
  if (!SpielstandText(text)) return false;
  const std::string ordner = pfad.substr(0, pfad.rfind('\\') + 1);
  if (!ordner.empty() && !rt::FolderExists(ordner)) rt::MkDir(ordner);
  return rt::WriteFileBytes(pfad, text);
}

void SpielSpeichern() {
  TForm1& f = Form1();
  if (f.CountDown.Interval() != 0) {
    rt::MsgBox("Speichern nicht m\xF6glich!", rt::vbOKOnly);
    return;
  }
  SpielErgebnis = "Spiel speichern";
  Dialog().Show(rt::vbModal, &f);
  if (SpielErgebnis == "") return;
  // The scene repaints where the picker was before a message box stops the pump.
  rt::DoEvents();
  const std::string pfad = SpielErgebnis.AlsText();
  // Only a complete file replaces the old one, and only a written one is reported as saved.
  if (!SchreibeSpielstand(pfad)) {
    std::fprintf(stderr, "Norvalde: game not saved: %s\n", rt::ToUtf8(pfad).c_str());
    rt::MsgBox("Speichern nicht m\xF6glich!", rt::vbOKOnly);
    return;
  }
  rt::MsgBox("Speichern erfolgreich unter " + DateiName(pfad) + "!", rt::vbOKOnly | rt::vbInformation);
}

namespace {

// The countdown as a load found it; a refused or cancelled load puts it back.
struct CountDownStand {
  rt::Timer& t;
  bool an = t.Enabled();
  int intervall = t.Interval();
  void Zurueck() const {
    t.SetEnabled(false);
    t.SetInterval(intervall);
    t.SetEnabled(an);
  }
};

}  // namespace

bool SpielLaden() {
  TForm1& f = Form1();
  const CountDownStand vorher{f.CountDown};
  f.CountDown.SetEnabled(false);
  SpielErgebnis = "Spiel laden";
  Dialog().Show(rt::vbModal, &f);
  const std::string pfad = SpielErgebnis == "" ? std::string() : SpielErgebnis.AlsText();
  if (!pfad.empty()) rt::DoEvents();  // the scene repaints where the picker was
  vorher.Zurueck();
  if (pfad.empty() || !rt::FileExists(pfad)) return false;
  return SpielstandLaden(pfad);
}

bool SpielstandLaden(const std::string& pfad) {
  TForm1& f = Form1();
  const CountDownStand countDown{f.CountDown};
  // The file and its room are read and checked whole before anything of the game changes.
  std::string daten, grund;
  Spielstand stand;
  Raum raum;
  if (!rt::ReadFileBytes(pfad, daten)) {
    grund = "unreadable";
  } else if (LeseSpielstand(daten, stand, grund) && !LeseRaumDatei(RaumPfad + stand.Raumdatei, raum, grund)) {
    grund = "room " + stand.Raumdatei + ": " + grund;
  }
  if (!grund.empty()) {
    DatenNichtGeladen(pfad, grund);
    return false;
  }

  const Sicherung vorher;
  AktuelleRaumdatei = stand.Raumdatei;
  Merker = stand.Merker;
  LetzterGegenstand = int32_t(stand.Gegenstaende.size()) - 1;
  for (size_t i = 0; i < stand.Gegenstaende.size(); ++i) Gegenstaende[i] = stand.Gegenstaende[i];
  BosheitsPunkte = stand.BosheitsPunkte;

  SpielErgebnis = "";
  GewaehlterGegenstand = -1;
  f.CountDown.SetEnabled(false);
  f.CountDown.SetInterval(0);
  f.CountDown.SetEnabled(true);
  f.VersteckeLeiste();
  f.GegenständeLaden();
  try {
    // The room was read a moment ago; should it have gone meanwhile, the old game comes back.
    if (!f.Lade(RaumPfad + AktuelleRaumdatei, &grund)) {
      vorher.Zurueck();
      f.GegenständeLaden();
      countDown.Zurueck();
      DatenNichtGeladen(pfad, grund);
      return false;
    }
  } catch (...) {
    // A failure inside the room's start script: the game stays in the loaded room.
    DatenNichtGeladen(pfad, "the room's start script failed");
    return false;
  }
  return true;
}
