// The script commands: speech, texts, flags, rooms, pictures, items, video, hotspot cursors and
// switches, zooms, error voices, music, portraits, evil points, the system words, the countdown
// and the effects.
#include "engine/opcodes.h"

#include <algorithm>
#include <limits>

#include "engine/module2.h"
#include "engine/saves.h"
#include "engine/scene_link.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

constexpr Fortgang Weiter = Fortgang::Weiter;

std::string Feld(const std::string& argument, int32_t n) { return HoleFeld(argument, ",", n); }
double Zahl(const std::string& text) { return rt::Val(text); }

void SpracheAus() { rt::BASS_StreamFree(SprachStream); }

void SpieleStimme(const std::string& datei) {
  SprachStream = rt::BASS_StreamCreateFile(0, datei, 0, 0, 0);
  rt::BASS_StreamPlay(SprachStream, 0, 0);
}

Fortgang OpSprache(Lauf&, const std::string& arg) {
  SpracheAus();
  SpieleStimme(SprachDatei(arg));
  return Weiter;
}

// The text stands until a key or a press on the scene; a press counts even when its release
// came in the same pump.
Fortgang OpTextzeile(Lauf&, const std::string& arg) {
  szene::ZeigText(arg);
  LetzteTaste = 0;
  Klick = 0;
  const uint32_t druecke = Druecke;
  PumpeSolange([&] { return LetzteTaste == 0 && Klick == 0 && Druecke == druecke; });
  szene::WegText(arg);
  SpracheAus();
  return Weiter;
}

Fortgang OpSetzeMerker(Lauf&, const std::string& arg) {
  MerkerSetzen(arg);
  return Weiter;
}

Fortgang OpLoescheMerker(Lauf&, const std::string& arg) {
  MerkerLoeschen(arg);
  return Weiter;
}

// The run ends here whether or not the room could be read: the loader has told the player.
Fortgang OpRaum(Lauf&, const std::string& arg) {
  szene::LadeRaum(RaumPfad + arg);
  return Fortgang::Ende;
}

Fortgang OpBild(Lauf&, const std::string& arg) {
  szene::BildLaden(GrafikPfad + DateiName(arg));
  return Weiter;
}

// A 52nd item finds no slot and is not taken.
Fortgang OpNimmGegenstand(Lauf&, const std::string& arg) {
  GegenstandDazu(arg);
  szene::GegenständeLaden();
  return Weiter;
}

Fortgang OpGibGegenstand(Lauf&, const std::string& arg) {
  GegenstandWeg(arg);
  szene::GegenständeLaden();
  return Weiter;
}

// Until its end or Esc (a tap of Esc counts even when its release came in the same pump).
Fortgang OpFilm(Lauf&, const std::string& arg) {
  SpieleFilm(FilmPfad + DateiName(arg));
  const uint32_t druecke = Druecke;
  auto esc = [&] { return LetzteTaste == 27 || (Druecke != druecke && GedrueckteTaste == 27); };
  auto status = [](const char* was) {
    std::string antwort(200, ' ');
    rt::mciSendString(std::string("status vbVideo ") + was, &antwort, 200);
    return rt::CLng(rt::Val(antwort));
  };
  const SzenenFenster* fenster = Szene;
  while (!esc()) {
    rt::DoEvents();
    const long long laenge = status("length");
    if (status("position") >= laenge || esc() || Szene != fenster) break;
    rt::WaitForEvent(rt::timeGetTime() + 100);
  }
  SchliesseFilm();
  return Weiter;
}

Fortgang OpHotspotCursor(Lauf&, const std::string& arg) {
  const std::string name = rt::UCase(rt::Trim(Feld(arg, 1)));
  const std::string cursor = rt::Trim(DateiName(Feld(arg, 2)));
  for (int32_t h = 0; h <= HotspotMax && size_t(h) < Hotspots.size(); ++h)
    if (rt::UCase(rt::Trim(Hotspots[size_t(h)].Name)) == name) Hotspots[size_t(h)].CursorName = cursor;
  return Weiter;
}

template <void (*Zoom)(int32_t&, int32_t&, int32_t&, int32_t&)>
Fortgang OpZoom(Lauf&, const std::string& arg) {
  int32_t x1 = GanzeZahl(Zahl(Feld(arg, 1))), y1 = GanzeZahl(Zahl(Feld(arg, 2)));
  int32_t x2 = GanzeZahl(Zahl(Feld(arg, 3))), y2 = GanzeZahl(Zahl(Feld(arg, 4)));
  Zoom(x1, y1, x2, y2);
  return Weiter;
}

Fortgang OpFehlerton(Lauf&, const std::string&) {
  SpracheAus();
  SpieleStimme(SoundPfad + "Error" + std::to_string(FehlertonNummer(rt::Rnd())) + ".mp3");
  return Weiter;
}

// Switching matches the name upper-cased but not trimmed (the cursor change trims).
template <bool An>
Fortgang OpHotspotSchalter(Lauf&, const std::string& arg) {
  const std::string name = rt::UCase(arg);
  for (int32_t h = 0; h <= HotspotMax && size_t(h) < Hotspots.size(); ++h)
    if (rt::UCase(Hotspots[size_t(h)].Name) == name) Hotspots[size_t(h)].Aktiv = An;
  return Weiter;
}

Fortgang OpMusik(Lauf&, const std::string& arg) {
  const std::string datei = rt::Trim(DateiName(Feld(arg, 1)));
  if (datei.empty()) {
    StoppeMusik();
  } else {
    SpieleMusik(MusikPfad + datei);
  }
  return Weiter;
}

Fortgang OpPortraitRahmen(Lauf&, const std::string&) {
  szene::PortraitRahmen();
  return Weiter;
}

Fortgang OpPortraitWeg(Lauf&, const std::string&) {
  szene::PortraitWeg();
  return Weiter;
}

// The flag "BÖSE" follows the sign: set when the points become positive, cleared when they
// drop to zero or below.
Fortgang OpBoese(Lauf&, const std::string& arg) {
  const int32_t alt = BosheitsPunkte;
  const int32_t neu = GanzeZahl(double(alt) + Zahl(arg));
  BosheitsPunkte = neu;
  if (alt < 1 && neu > 0) MerkerSetzen("B\xD6SE");
  if (alt >= 1 && neu <= 0) MerkerLoeschen("B\xD6SE");
  return Weiter;
}

Fortgang OpPortrait(Lauf&, const std::string& arg) {
  szene::Portrait(Zahl(Feld(arg, 1)) == 1, GrafikPfad + rt::Trim(DateiName(Feld(arg, 2))));
  return Weiter;
}

// The words are exact: "open" in lower case leaves the game like any other word.
Fortgang OpSystem(Lauf&, const std::string& arg) {
  if (arg == "Open") {
    if (SpielLaden()) return Fortgang::EndeOhneSchritte;
  } else if (arg == "Save") {
    SpielSpeichern();
  } else if (arg == "Abspann") {
    szene::Abspann();
  } else {
    const SzenenFenster* vorher = Szene;
    szene::Verlassen();
    // The window's close handling has ended the game; a window still there goes on playing.
    return vorher && Szene == vorher ? Fortgang::Ende : Fortgang::EndeOhneSchritte;
  }
  return Weiter;
}

Fortgang OpCountDown(Lauf&, const std::string& arg) {
  szene::CountDownIntervall(CountDownMs(Zahl(arg)));
  return Weiter;
}

Fortgang OpEffekt(Lauf&, const std::string& arg) {
  const double n = Zahl(Feld(arg, 1));
  if (n == 1) {
    szene::BlendWeiß();
  } else if (n == 2) {
    szene::BlendWeißOut();
  } else if (n == 3) {
    szene::Ruckel();
  }
  return Weiter;
}

}  // namespace

void PumpeSolange(const std::function<bool()>& weiter, uint64_t schrittMs) {
  const SzenenFenster* fenster = Szene;
  while (fenster && Szene == fenster && weiter()) {
    rt::DoEvents();
    if (Szene == fenster && weiter()) rt::WaitForEvent(rt::timeGetTime() + schrittMs);
  }
}

int32_t GanzeZahl(double wert) {
  const long long n = rt::CLng(wert);
  return int32_t(std::clamp<long long>(n, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t CountDownMs(double sekunden) {
  return int32_t(std::clamp<long long>(rt::CLng(sekunden * 1000), 0, 65535));
}

int32_t FehlertonNummer(float zufall) {
  const float mal9 = zufall * 9.0f;
  return int32_t(std::clamp<long long>(rt::Int(double(mal9)), 0, 8)) + 10;
}

std::string SprachDatei(const std::string& datei) {
  const std::string f = SoundPfad + DateiName(datei);
  if (rt::FileExists(f)) return f;
  const std::string stamm = rt::Left(f, int(f.size()) - 3);
  return rt::FileExists(stamm + "mp3") ? stamm + "mp3" : stamm + "wav";
}

void BefehleEintragen(std::array<Befehlsroutine, Befehl::Anzahl>& t) {
  using namespace Befehl;
  t[Sprache] = OpSprache;
  t[Textzeile] = OpTextzeile;
  t[SetzeMerker] = OpSetzeMerker;
  t[Raum] = OpRaum;
  t[Bild] = OpBild;
  t[NimmGegenstand] = OpNimmGegenstand;
  t[GibGegenstand] = OpGibGegenstand;
  t[Film] = OpFilm;
  t[LoescheMerker] = OpLoescheMerker;
  t[HotspotCursor] = OpHotspotCursor;
  t[ZoomIn] = OpZoom<szene::ZoomIN>;
  t[ZoomOut] = OpZoom<szene::ZoomOUT>;
  t[Fehlerton] = OpFehlerton;
  t[HotspotAn] = OpHotspotSchalter<true>;
  t[HotspotAus] = OpHotspotSchalter<false>;
  t[Musik] = OpMusik;
  t[PortraitRahmen] = OpPortraitRahmen;
  t[PortraitWeg] = OpPortraitWeg;
  t[Boese] = OpBoese;
  t[Portrait] = OpPortrait;
  t[System] = OpSystem;
  t[CountDownBefehl] = OpCountDown;
  t[Effekt] = OpEffekt;
}
