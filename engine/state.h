// The adventure engine's module-wide state: what a save file holds, the hand-over value shared
// with the menu and the mini-games, the content folders, the current room's records and the
// globals that the interpreter and the scene window's handlers share. One thread touches it.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ---- Records ---------------------------------------------------------------------------------

// A compiled script. When Letzter is 0 or more both lists hold Letzter + 1 entries.
struct Skript {
  std::vector<int32_t> Befehle;
  std::vector<std::string> Parameter;
  int32_t Letzter = -1;  // -1 = empty
};

// A clickable region of the current room. Maske[x][y] covers the 10 by 10 pixel cell whose
// pixels are x*10..x*10+9 across and y*10..y*10+9 down.
struct Hotspot {
  std::string Name;
  std::array<std::array<bool, 48>, 64> Maske{};
  // Slot 0: any button but the left one; 1: left click; 2: an item released over the hotspot.
  std::array<bool, 3> SkriptAktiv{};
  std::array<Skript, 3> Skripte;
  bool Aktiv = false;
  std::string CursorName;  // file name in CursorPfad, "" = none
};

// ---- The hand-over value ---------------------------------------------------------------------

// Holds nothing, a text or a truth value. The menu passes the first room in it, a mini-game gets
// its parameter and leaves its outcome, the save/load picker gets its title and returns a path.
class Ergebnis {
 public:
  enum class Art { Nichts, Text, Wahrheit };

  Ergebnis() = default;
  Ergebnis(std::string text) : art_(Art::Text), text_(std::move(text)) {}
  Ergebnis(const char* text) : Ergebnis(std::string(text)) {}
  Ergebnis(bool wert) : art_(Art::Wahrheit), wert_(wert) {}

  Art art() const { return art_; }
  bool IstNichts() const { return art_ == Art::Nichts; }
  bool IstText() const { return art_ == Art::Text; }
  bool IstWahrheit() const { return art_ == Art::Wahrheit; }

  // The truth value, or none for a text that is neither a number nor "TRUE"/"FALSE".
  std::optional<bool> WahrheitOderNichts() const;
  // As above, but a text without a truth value counts as false (a game that writes only a win
  // leaves its parameter text behind when the player loses).
  bool AlsWahrheit() const;
  // Nothing gives "", a truth value "True" or "False".
  std::string AlsText() const;

  // Text comparison: texts exactly; nothing equals only ""; a truth value equals a numeric text
  // of its value (-1 or 0) and nothing else.
  bool operator==(std::string_view text) const;
  bool operator==(const char* text) const { return *this == std::string_view(text); }

 private:
  Art art_ = Art::Nichts;
  std::string text_;
  bool wert_ = false;
};

// ---- Game state (what a save file holds) -----------------------------------------------------

constexpr int MerkerAnzahl = 1001;
constexpr int GegenstandAnzahl = 51;

inline std::array<std::string, MerkerAnzahl> Merker;          // "" = free slot
inline std::array<std::string, GegenstandAnzahl> Gegenstaende;  // full picture paths
inline int32_t LetzterGegenstand = -1;
inline int32_t BosheitsPunkte = 0;
inline std::string AktuelleRaumdatei;

inline Ergebnis SpielErgebnis;

// Flag names are trimmed and upper-cased here, so callers may pass them as the script wrote them.
bool MerkerTesten(std::string_view name);
void MerkerSetzen(std::string_view name);
void MerkerLoeschen(std::string_view name);

// Adds GegenstandPfad followed by the file-name part of file. false (and nothing changes) when
// all 51 slots are taken.
bool GegenstandDazu(std::string_view file);
// Removes the last carried copy; false when the item is not carried.
bool GegenstandWeg(std::string_view file);

// ---- Content folders (full paths ending in a backslash) --------------------------------------

inline std::string RaumPfad, SoundPfad, GrafikPfad, FilmPfad, CursorPfad, GegenstandPfad,
    MusikPfad, DatenPfad;

inline float PiWert = 3.14159265358979f;  // set again at start-up from 4 * atan(1)

// ---- Current room (written by the room loader) -----------------------------------------------

inline std::string RaumBild;  // 100 characters as read, padded with blanks
inline Skript StartSkript;
inline Skript CountDownSkript;
inline std::vector<Hotspot> Hotspots;
inline int32_t HotspotMax = -1;
// Raised by the room loader each time before it replaces the room's records, so a run that
// outlives its room can tell (a nested run may load another room).
inline uint64_t RaumZaehler = 0;

// ---- Engine globals shared by the interpreter and the scene window ---------------------------

inline bool Beschaeftigt = false;
inline int32_t Klick = 0;        // 2 left button, 1 any other, 0 none
inline int16_t LetzteTaste = 0;
// Presses on the scene window as they come: every key down and every mouse press on the scene
// counts one, and GedrueckteTaste keeps the key last pressed. Waits compare the count, so a press
// whose down and up arrive in one pump (which leaves LetzteTaste and Klick 0 again) still counts.
inline uint32_t Druecke = 0;
inline int16_t GedrueckteTaste = 0;
inline float MausX = 0, MausY = 0;
inline int32_t GewaehlterGegenstand = -1;
inline std::string GewaehlterName;
inline std::array<std::string, 6> CursorDateien;
inline int32_t CursorModus = -1;
inline int32_t CursorBild = 0;
inline uint32_t SprachStream = 0;
inline bool LeisteSichtbar = false, LeisteOffen = false, LeisteZu = false, LeisteGesperrt = false;
inline int32_t LeisteHoehe = 0;
inline float LeisteWinkel = 0;
// The last choice's text as the band showed it, and its question block and answer lines within it.
inline std::string AuswahlText;
inline std::vector<std::string_view> AuswahlTexte;
inline std::vector<int32_t> AuswahlGrenzen;
inline int32_t AuswahlHoehe = 0;
inline int32_t AuswahlErgebnis = 0;
inline std::string DialogDateiname;
inline std::array<uint8_t, 256> Tastatur{};
