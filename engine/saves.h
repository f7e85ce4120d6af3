// Saving and loading a game through the picker window, and the save file format.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/state.h"

// Asks for a file and writes the game state to it (nothing while a room countdown is set).
void SpielSpeichern();
// Asks for a file, reads it and enters its room; true when a game was loaded.
bool SpielLaden();

// The first line of every save file.
inline constexpr std::string_view kSpielstandKennung = "zOZovIrav-File v1.1";

// The program folder's "saves\" (tests point it elsewhere with SetzeSpeicherOrdner; "" gives the
// program folder's again).
std::string SpeicherOrdner();
void SetzeSpeicherOrdner(const std::string& ordner);

// The game state as a save file holds it.
struct Spielstand {
  std::string Raumdatei;
  std::array<std::string, MerkerAnzahl> Merker;
  std::vector<std::string> Gegenstaende;  // LetzterGegenstand + 1 entries
  int32_t BosheitsPunkte = 0;
};

// The save file's bytes for the current game state: single-byte lines ended by CR LF, numbers
// as " 5 " and "-1 ". False (nothing to write) when a text holds a CR LF, which no line can.
bool SpielstandText(std::string& out);
// Reads and checks a save file's bytes whole: the first line, the 1001 flags, a last item index
// from -1 to 50, numbers where numbers belong, a room name without a folder. Changes nothing of
// the game; false with a reason when the file is refused.
bool LeseSpielstand(std::string_view daten, Spielstand& stand, std::string& grund);
// Loads the save file at path and enters its room (SpielLaden once the picker has given the
// path). A refused file is reported and leaves the game and the countdown as they were.
bool SpielstandLaden(const std::string& pfad);
// Writes the current game state to the file at path, making the saves folder when it is
// missing. The old file stays whole unless the new one is complete.
bool SchreibeSpielstand(const std::string& pfad);
