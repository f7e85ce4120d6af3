#include "minigames/memory/memory.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

// The fly-away moves its cards once per frame of a 60 Hz display, and sleeps between.
constexpr uint64_t kFlugSchritt = 16;

// A missing card picture is named once and stands in as a plain coloured card, so the game stays
// playable: grey for the back, a colour of its own for each pair.
rt::PicturePtr LadeKartenBild(int nummer) {
  const std::string datei = DatenPfad + "m" + std::to_string(nummer) + ".jpg";
  if (rt::PicturePtr bild = rt::LoadPicture(datei)) return bild;
  std::fprintf(stderr, "Norvalde: Memory-Bild fehlt: %s\n", rt::ToUtf8(datei).c_str());
  static const int farben[9] = {12, 10, 9, 14, 13, 11, 15, 6, 8};
  auto ersatz = std::make_shared<rt::Picture>();
  ersatz->width = ersatz->height = 1;
  ersatz->pixels = {rt::QBColor(farben[nummer - 1])};
  return ersatz;
}

}  // namespace

TMemory& Memory() {
  static TMemory* fenster = new TMemory;
  return *fenster;
}

void TMemory::InitializeComponent() {
  Caption = "Memory";
  BorderStyle = 1;
  MinButton = true;
  MaxButton = false;
  StartUpPosition = 1;
  SetClientSize(413, 463);

  for (int i = 0; i < 16; ++i) {
    Image1[i].Stretch = true;
    Image1[i].Move((i % 4) * 104, (i / 4) * 104, 97, 97);
    Image1[i].Click = [this, i] { Image1_Click(i); };
  }
  const char* const zeilen[2] = {"Krakel:", "Wendra:"};
  for (int w = 0; w < 2; ++w) {
    Label1[w].Move(0, 416 + w * 24, 41, 17);
    Label1[w].SetCaption(zeilen[w]);
  }

  Timer1.SetInterval(1);
  Timer1.SetEnabled(false);
  Timer1.Tick = [this] { Timer1_Timer(); };
}

void TMemory::Form_Load() {
  // A game left before its end counts as lost.
  SpielErgebnis = "L";
  bilder_ = {};  // read the pictures afresh for each deal
  Timer1.SetEnabled(true);
}

void TMemory::Form_Unload(int&) { SpielLaeuft = false; }

void TMemory::Image1_Click(int index) { GeklicktesBild = index; }

rt::PicturePtr TMemory::KartenBild(int nummer) {
  rt::PicturePtr& bild = bilder_[size_t(nummer - 1)];
  if (!bild) bild = LadeKartenBild(nummer);
  return bild;
}

void TMemory::ZeigeRueckseite(int32_t karte) { Image1[karte].SetPicture(KartenBild(9)); }

void TMemory::ZeigeBild(int32_t karte) { Image1[karte].SetPicture(KartenBild(Karten[karte] + 1)); }

void TMemory::Init() {
  for (int32_t i = 0; i < 16; ++i) {
    Karten[i] = i / 2;
    ZeigeRueckseite(i);
  }
  Intelligenz.fill(-1);
  for (int zaehler = 0; zaehler <= 100; ++zaehler) {
    const int32_t a = int32_t(rt::Int(double(rt::Rnd()) * 16));
    const int32_t b = int32_t(rt::Int(double(rt::Rnd()) * 16));
    std::swap(Karten[a], Karten[b]);
  }
  Punkte = {0, 0};
}

void TMemory::AddIntelligenz(int32_t c1, int32_t c2) {
  for (int k = 2; k <= 5; ++k) Intelligenz[k - 2] = Intelligenz[k];
  Intelligenz[4] = c1;
  Intelligenz[5] = c2;
}

void TMemory::ComputerWahl(int32_t& erste, int32_t& zweite) {
  auto liegt = [this](int32_t karte) { return Image1[karte].Enabled(); };
  erste = zweite = -1;
  // The last pair found in this order wins: the one remembered latest.
  for (int32_t i = 0; i <= 5; ++i) {
    for (int32_t j = 0; j <= 5; ++j) {
      const int32_t a = Intelligenz[i], b = Intelligenz[j];
      if (a != b && a >= 0 && b >= 0 && Karten[a] == Karten[b] && liegt(a) && liegt(b)) {
        erste = a;
        zweite = b;
      }
    }
  }
  if (erste != -1) return;
  do {
    erste = int32_t(rt::Int(double(rt::Rnd()) * 16));
  } while (!liegt(erste));
  for (int32_t i = 0; i <= 5; ++i) {
    const int32_t c = Intelligenz[i];
    if (c != erste && c >= 0 && Karten[c] == Karten[erste] && liegt(c)) zweite = c;
  }
  if (zweite != -1) return;
  do {
    zweite = int32_t(rt::Int(double(rt::Rnd()) * 16));
  } while (zweite == erste || !liegt(zweite));
}

void TMemory::KartenWeg(int32_t c1, int32_t c2, int32_t wer) {
  const int32_t karten[2] = {c1, c2};
  long long startX[2], startY[2];
  const long long zielX = rt::CLng(Label1[wer].Width() + Punkte[wer] * 24);
  const long long zielY = rt::CLng(Label1[wer].Top());
  for (int k = 0; k < 2; ++k) {
    rt::ImageBox& karte = Image1[karten[k]];
    karte.SetEnabled(false);
    startX[k] = rt::CLng(karte.Left());
    startY[k] = rt::CLng(karte.Top());
  }

  const uint64_t ende = rt::timeGetTime() + 1000;
  for (;;) {
    const uint64_t jetzt = rt::timeGetTime();
    if (jetzt >= ende || !SpielLaeuft) break;
    const float t = float((1000.0 - double(ende - jetzt)) / 1000.0);
    const int groesse = int(rt::CLng((1 - double(t)) * 81 + 16));
    for (int k = 0; k < 2; ++k) {
      Image1[karten[k]].Move(int(rt::CLng(double(t) * double(zielX - startX[k]) + double(startX[k]))),
                             int(rt::CLng(double(t) * double(zielY - startY[k]) + double(startY[k]))),
                             groesse, groesse);
    }
    rt::DoEvents();
    rt::WaitForEvent(std::min(ende, rt::timeGetTime() + kFlugSchritt));
  }
  for (int32_t karte : karten) Image1[karte].Move(int(zielX), int(zielY), 16, 16);
  Punkte[wer] += 1;
}

void TMemory::Ende() {
  if (Punkte[0] > Punkte[1]) {
    SpielErgebnis = "W";
  } else if (Punkte[0] < Punkte[1]) {
    SpielErgebnis = "L";
  } else {
    rt::MsgBox("Unentschieden! N\xE4" "chste Runde!", rt::vbOKOnly);
    SpielErgebnis = "U";
  }
}

bool TMemory::Warte(int32_t ms) {
  if (!SpielLaeuft) return false;
  WarteFrame(ms);
  return true;
}

bool TMemory::WarteAufKlick(int32_t ausser) {
  GeklicktesBild = -1;  // clicks made before the wait are dropped
  WartetAufKlick = true;
  for (;;) {
    rt::DoEvents();
    if (!SpielLaeuft || (GeklicktesBild != -1 && GeklicktesBild != ausser)) break;
    rt::WaitForEvent(UINT64_MAX);
  }
  WartetAufKlick = false;
  return SpielLaeuft;
}

TMemory::Zug TMemory::Gefunden(int32_t c1, int32_t c2, int32_t wer) {
  KartenWeg(c1, c2, wer);
  if (Punkte[0] + Punkte[1] < 8) return Zug::Nochmal;
  Ende();
  return Zug::Schluss;
}

TMemory::Zug TMemory::Verdeckt(int32_t c1, int32_t c2) {
  AddIntelligenz(c1, c2);
  ZeigeRueckseite(c1);
  ZeigeRueckseite(c2);
  return Warte(500) ? Zug::Wechsel : Zug::Schluss;
}

TMemory::Zug TMemory::SpielerZug() {
  if (!SpielLaeuft || !WarteAufKlick(-1)) return Zug::Schluss;
  const int32_t erste = GeklicktesBild;
  ZeigeBild(erste);
  if (!WarteAufKlick(erste)) return Zug::Schluss;
  const int32_t zweite = GeklicktesBild;
  ZeigeBild(zweite);
  if (!Warte(1) || !Warte(500)) return Zug::Schluss;
  if (Karten[erste] == Karten[zweite]) return Gefunden(erste, zweite, 0);
  if (!Warte(1) || !Warte(1000)) return Zug::Schluss;
  return Verdeckt(erste, zweite);
}

TMemory::Zug TMemory::ComputerZug() {
  if (!SpielLaeuft) return Zug::Schluss;
  int32_t erste, zweite;
  ComputerWahl(erste, zweite);
  if (!Warte(1)) return Zug::Schluss;
  ZeigeBild(erste);
  if (!Warte(500)) return Zug::Schluss;
  ZeigeBild(zweite);
  if (!Warte(500)) return Zug::Schluss;
  if (Karten[erste] == Karten[zweite]) return Gefunden(erste, zweite, 1);
  if (!Warte(1000)) return Zug::Schluss;
  return Verdeckt(erste, zweite);
}

void TMemory::Timer1_Timer() {
  Timer1.SetEnabled(false);
  SpielLaeuft = true;
  Init();
  for (;;) {
    Zug zug;
    while ((zug = SpielerZug()) == Zug::Nochmal) {
    }
    if (zug == Zug::Schluss) break;
    while ((zug = ComputerZug()) == Zug::Nochmal) {
    }
    if (zug == Zug::Schluss) break;
  }
  // A window the player closed already stays closed.
  Unload();
}
