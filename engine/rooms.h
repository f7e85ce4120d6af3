// Room files (.lsd) and item script files (.skp): comma- or line-separated fields, read only.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/state.h"

// Reads the fields of a data file one by one. Every read either succeeds or leaves a German
// description of what went wrong in Fehler() and fails from then on.
class FeldLeser {
 public:
  explicit FeldLeser(std::string_view daten) : d_(daten) {}

  bool Text(std::string& out);
  bool Zahl(int32_t& out);
  bool Wahrheit(bool& out);
  // anzahl whole numbers; each value tells whether the number is 255.
  bool Maske(bool* werte, std::size_t anzahl);
  // A count of entries still to come: -1 or more, and no more than the rest of the file can hold.
  bool Anzahl(int32_t& letzter, std::size_t feldProEintrag);

  bool Ok() const { return fehler_.empty(); }
  const std::string& Fehler() const { return fehler_; }
  int Zeile() const { return zeile_; }

 private:
  bool Feld(std::string& out, bool& gequotet);
  // The field as a view into the data (quotes dropped).
  bool Feld(std::string_view& out, bool& gequotet);
  void Trenner();
  bool Scheitern(const std::string& was);

  std::string_view d_;
  std::size_t pos_ = 0;
  bool nachKomma_ = false;  // the last field ended at a comma
  int zeile_ = 1;
  std::string fehler_;
};

// Reads L and the L + 1 pairs of opcode and argument.
bool LeseSkript(FeldLeser& f, Skript& s);

// A whole room as a room file holds it.
struct Raum {
  std::string RaumBild;  // cut to 100 characters and padded with blanks, as the record keeps it
  Skript StartSkript;
  std::vector<Hotspot> Hotspots;
  int32_t HotspotMax = -1;
  Skript CountDownSkript;
};

// Reads a room file's text; false with a reason in fehler when it is malformed.
bool LeseRaumText(std::string_view daten, Raum& raum, std::string& fehler);
// Reads the room file at a system path; false with a reason when missing or malformed.
bool LeseRaumDatei(const std::string& pfad, Raum& raum, std::string& fehler);

// The item script at path: the file's script; else, for a name ending exactly in "2.skp", one
// error-voice instruction; else the empty script. A malformed file counts as missing.
Skript LadeSkript(const std::string& pfad);
