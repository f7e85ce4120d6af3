// The script interpreter: runs a compiled script instruction by instruction.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "engine/state.h"

// Opcode numbers.
namespace Befehl {
enum : int32_t {
  WennMerker = 0, Sprache = 1, Textzeile = 2, SetzeMerker = 3, Raum = 4, Bild = 5,
  NimmGegenstand = 6, GibGegenstand = 7, WennGegenstand = 8, Sonst = 9, EndeWenn = 10, Film = 11,
  LoescheMerker = 12, HotspotCursor = 13, ZoomIn = 14, ZoomOut = 15, Fehlerton = 16,
  HotspotAn = 17, HotspotAus = 18, Musik = 19, PortraitRahmen = 20, PortraitWeg = 21, Boese = 22,
  Portrait = 23, Auswahl = 24, Fall = 25, AuswahlEnde = 26, Minispiel = 27, Springe = 28,
  Marke = 29, System = 30, CountDownBefehl = 31, Effekt = 32
};
constexpr int32_t Anzahl = 33;
}  // namespace Befehl

// A run pumps window events after this many jumps, so that a script looping without a wait
// leaves the window responsive.
constexpr uint32_t kSpruengeJePumpe = 1000;

// Runs script for hotspot (-1: none) with the item name the script's item tests compare with.
// The run keeps its own copy of the script: a room loaded meanwhile (by this run or a nested
// one) cannot change what it reads; the run then ends after that instruction with its end
// steps. A failure thrown by an instruction passes to the caller after the end steps ran. A
// scene window closed during the run (it pumps events every kSpruengeJePumpe jumps) ends it
// after the jump that pumped.
void SkriptAusfuehren(const Skript& skript, int32_t hotspot, const std::string& gegenstand);

// What an instruction tells its run.
enum class Fortgang {
  Weiter,           // on with the next instruction
  Ende,             // the run ends now, with its end steps
  EndeOhneSchritte  // the run ends now; somebody else has done (or made moot) its end steps
};

// One run of a script.
struct Lauf {
  Skript skript;
  int32_t hotspot = -1;
  std::string gegenstand;
  int32_t i = 0;  // the instruction being executed; routines may move it

  // The last index that really exists, whatever Letzter claims.
  int32_t Letzter() const;
  // Opcode at k, -1 (does nothing) outside the script.
  int32_t Befehl(int32_t k) const;
  // Argument at k, "" outside the script.
  const std::string& Argument(int32_t k) const;
};

using Befehlsroutine = Fortgang (*)(Lauf& lauf, const std::string& argument);

// One routine per opcode 0 to 32; an empty entry does nothing.
std::array<Befehlsroutine, Befehl::Anzahl>& Befehlstabelle();

// The block skip of a false test (tiefe 1) or of an else (tiefe 0): leaves i on the instruction
// after which execution resumes; at the last instruction when the block never closes.
void UeberspringeBlock(Lauf& lauf, int32_t tiefe);
// Moves i to the first label named marke (trimmed, upper-cased); stays put when none.
void SpringeZuMarke(Lauf& lauf, const std::string& marke);
