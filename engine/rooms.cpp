#include "engine/rooms.h"

#include <cstdint>
#include <new>
#include <utility>

#include "runtime/system.h"
#include "runtime/text.h"

namespace {

bool IstBlank(char c) { return c == ' ' || c == '\t'; }
bool IstZeilenende(char c) { return c == '\r' || c == '\n'; }

// A decimal whole number with an optional sign and nothing else but blanks around it.
bool ParseGanzzahl(std::string_view s, long long grenzeMin, long long grenzeMax, long long& out) {
  std::size_t i = 0, n = s.size();
  while (i < n && IstBlank(s[i])) ++i;
  while (n > i && IstBlank(s[n - 1])) --n;
  bool minus = false;
  if (i < n && (s[i] == '-' || s[i] == '+')) minus = s[i++] == '-';
  if (i >= n) return false;
  long long v = 0;
  for (; i < n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
    if (v > grenzeMax + 1) return false;  // stops growing long before it could overflow
  }
  if (minus) v = -v;
  if (v < grenzeMin || v > grenzeMax) return false;
  out = v;
  return true;
}

// A decimal number with optional sign, fraction and exponent, and nothing else; nichtNull tells
// whether any digit of it is not 0 (so "0.5" is not zero, however large or small it is).
bool ParseZahlNichtNull(std::string_view s, bool& nichtNull) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  bool ziffern = false;
  nichtNull = false;
  for (bool nachPunkt = false; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      ziffern = true;
      nichtNull |= s[i] != '0';
    } else if (s[i] == '.' && !nachPunkt) {
      nachPunkt = true;
    } else {
      break;
    }
  }
  if (!ziffern) return false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'D')) {
    ++i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    if (i >= s.size()) return false;
    for (; i < s.size(); ++i)
      if (s[i] < '0' || s[i] > '9') return false;
  }
  return i == s.size();
}

std::string Zitat(const std::string& s) {
  return "\"" + (s.size() > 40 ? s.substr(0, 40) + "..." : s) + "\"";
}

}  // namespace

bool FeldLeser::Scheitern(const std::string& was) {
  if (fehler_.empty()) fehler_ = "Zeile " + std::to_string(zeile_) + ": " + was;
  return false;
}

// A comma and a line break each end a field. So a comma right before a line break or the end
// of the file ends an empty field ("16," at the end of a line is an instruction without an
// argument). Blank lines after a field that ended at a line break are skipped: how fields are
// spread over lines does not matter.
bool FeldLeser::Feld(std::string_view& out, bool& gequotet) {
  if (!Ok()) return false;
  const bool leerMoeglich = std::exchange(nachKomma_, false);
  while (pos_ < d_.size() && IstBlank(d_[pos_])) ++pos_;
  if (leerMoeglich && (pos_ >= d_.size() || IstZeilenende(d_[pos_]))) {
    if (pos_ < d_.size()) {
      if (d_[pos_] == '\r' && pos_ + 1 < d_.size() && d_[pos_ + 1] == '\n') ++pos_;
      ++pos_;
      ++zeile_;
    }
    out = {};
    gequotet = false;
    return true;
  }
  while (pos_ < d_.size() && (IstBlank(d_[pos_]) || IstZeilenende(d_[pos_]))) {
    if (d_[pos_] == '\n' || (d_[pos_] == '\r' && (pos_ + 1 >= d_.size() || d_[pos_ + 1] != '\n')))
      ++zeile_;
    ++pos_;
  }
  if (pos_ >= d_.size()) return Scheitern("die Datei endet zu fr\xFCh");
  gequotet = d_[pos_] == '"';
  if (gequotet) {
    std::size_t ende = d_.find('"', pos_ + 1);
    if (ende == std::string_view::npos) return Scheitern("ein Anf\xFChrungszeichen wird nicht geschlossen");
    out = d_.substr(pos_ + 1, ende - pos_ - 1);
    for (char c : out) zeile_ += c == '\n';
    pos_ = ende + 1;
    while (pos_ < d_.size() && IstBlank(d_[pos_])) ++pos_;
    if (pos_ < d_.size() && d_[pos_] != ',' && !IstZeilenende(d_[pos_]))
      return Scheitern("nach " + Zitat(std::string(out)) + " fehlt ein Komma");
  } else {
    std::size_t ende = pos_;
    while (ende < d_.size() && d_[ende] != ',' && !IstZeilenende(d_[ende])) ++ende;
    std::size_t rechts = ende;
    while (rechts > pos_ && IstBlank(d_[rechts - 1])) --rechts;
    out = d_.substr(pos_, rechts - pos_);
    pos_ = ende;
  }
  Trenner();
  return true;
}

bool FeldLeser::Feld(std::string& out, bool& gequotet) {
  std::string_view v;
  if (!Feld(v, gequotet)) return false;
  out.assign(v);
  return true;
}

void FeldLeser::Trenner() {
  if (pos_ < d_.size() && d_[pos_] == ',') {
    ++pos_;
    nachKomma_ = true;
  }
}

bool FeldLeser::Text(std::string& out) {
  bool q;
  return Feld(out, q);
}

// A room's masks hold thousands of numbers, nearly all of them digits right before a comma or a
// line break: those are read straight from the data, the rest the general way.
bool FeldLeser::Maske(bool* werte, std::size_t anzahl) {
  const char* const ende = d_.data() + d_.size();
  for (std::size_t i = 0; i < anzahl; ++i) {
    if (!Ok()) return false;
    const char* p = d_.data() + pos_;
    const char* q = p;
    unsigned v = 0;
    while (q < ende && unsigned(*q - '0') < 10 && q - p < 4) v = v * 10 + unsigned(*q++ - '0');
    if (q > p && q - p < 4 && q < ende && *q == ',') {
      pos_ = std::size_t(q + 1 - d_.data());
      nachKomma_ = true;
    } else if (q > p && q - p < 4 && q + 1 < ende && q[0] == '\r' && q[1] == '\n') {
      pos_ = std::size_t(q - d_.data());
      nachKomma_ = false;
    } else {
      int32_t zahl;
      if (!Zahl(zahl)) return false;
      v = unsigned(zahl);
    }
    werte[i] = v == 255;
  }
  return true;
}

bool FeldLeser::Zahl(int32_t& out) {
  std::string_view s;
  bool q;
  if (!Feld(s, q)) return false;
  long long v;
  if (!ParseGanzzahl(s, INT32_MIN, INT32_MAX, v)) return Scheitern("Ganzzahl erwartet statt " + Zitat(std::string(s)));
  out = int32_t(v);
  return true;
}

bool FeldLeser::Wahrheit(bool& out) {
  std::string s;
  bool q;
  if (!Feld(s, q)) return false;
  std::string w = rt::UCase(rt::Trim(s));
  bool nichtNull;
  if (w == "#TRUE#" || w == "TRUE" || w == "WAHR") {
    out = true;
  } else if (w == "#FALSE#" || w == "FALSE" || w == "FALSCH") {
    out = false;
  } else if (ParseZahlNichtNull(w, nichtNull)) {
    out = nichtNull;
  } else {
    return Scheitern("Wahrheitswert erwartet statt " + Zitat(s));
  }
  return true;
}

// Every field but the last takes at least its separator, so a count larger than the rest of the
// file can hold even with empty fields is malformed and is refused before anything is allocated
// for it.
bool FeldLeser::Anzahl(int32_t& letzter, std::size_t feldProEintrag) {
  if (!Zahl(letzter)) return false;
  if (letzter < -1) return Scheitern("ung\xFCltige Anzahl " + std::to_string(letzter));
  uint64_t rest = d_.size() - pos_;
  uint64_t felder = (uint64_t(letzter) + 1) * feldProEintrag;
  if (felder > rest + 1)
    return Scheitern("die Anzahl " + std::to_string(letzter) + " passt nicht zur Dateil\xE4nge");
  return true;
}

bool LeseSkript(FeldLeser& f, Skript& s) {
  Skript neu;
  int32_t letzter;
  if (!f.Anzahl(letzter, 2)) return false;
  for (int32_t i = 0; i <= letzter; ++i) {
    int32_t befehl;
    std::string parameter;
    if (!f.Zahl(befehl) || !f.Text(parameter)) return false;
    neu.Befehle.push_back(befehl);
    neu.Parameter.push_back(std::move(parameter));
  }
  neu.Letzter = letzter;
  s = std::move(neu);
  return true;
}

namespace {

// Slots with empty scripts, cursor, switch, name and the mask.
constexpr std::size_t kMinFelderHotspot = 3 * 2 + 3 + 64 * 48;

bool LeseHotspot(FeldLeser& f, Hotspot& h) {
  for (int k = 0; k < 3; ++k) {
    bool aktiv;
    if (!f.Wahrheit(aktiv) || !LeseSkript(f, h.Skripte[k])) return false;
    h.SkriptAktiv[k] = aktiv;
  }
  bool an;
  if (!f.Text(h.CursorName) || !f.Wahrheit(an) || !f.Text(h.Name)) return false;
  h.Aktiv = an;
  // Column by column, as the mask is laid out.
  return f.Maske(&h.Maske[0][0], 64 * 48);
}

}  // namespace

bool LeseRaumText(std::string_view daten, Raum& raum, std::string& fehler) {
  FeldLeser f(daten);
  Raum neu;
  std::string bild;
  int32_t hmax = -1;
  bool ok = f.Text(bild) && LeseSkript(f, neu.StartSkript) && f.Anzahl(hmax, kMinFelderHotspot);
  if (ok) neu.Hotspots.reserve(std::size_t(hmax) + 1);  // the count fits the file's length
  for (int32_t i = 0; ok && i <= hmax; ++i) {
    neu.Hotspots.emplace_back();
    ok = LeseHotspot(f, neu.Hotspots.back());
  }
  ok = ok && LeseSkript(f, neu.CountDownSkript);
  if (!ok) {
    fehler = f.Fehler();
    return false;
  }
  bild.resize(100, ' ');
  neu.RaumBild = std::move(bild);
  neu.HotspotMax = hmax;
  raum = std::move(neu);
  return true;
}

bool LeseRaumDatei(const std::string& pfad, Raum& raum, std::string& fehler) {
  if (!rt::FileExists(pfad)) {
    fehler = "Die Datei wurde nicht gefunden.";
    return false;
  }
  const std::string unlesbar = "Die Datei kann nicht gelesen werden.";
  std::string daten;
  if (!rt::ReadFileBytes(pfad, daten)) {
    fehler = unlesbar;
    return false;
  }
  try {
    return LeseRaumText(daten, raum, fehler);
  } catch (const std::bad_alloc&) {  // a room too large for the memory left is not played
    fehler = unlesbar;
    return false;
  }
}

Skript LadeSkript(const std::string& pfad) {
  Skript s;
  if (rt::Right(pfad, 5) == "2.skp") {
    s.Befehle = {16};
    s.Parameter = {""};
    s.Letzter = 0;
  }
  std::string daten;
  if (rt::FileExists(pfad) && rt::ReadFileBytes(pfad, daten)) {
    try {
      FeldLeser f(daten);
      Skript gelesen;
      if (LeseSkript(f, gelesen)) s = std::move(gelesen);
    } catch (const std::bad_alloc&) {  // counts as malformed
    }
  }
  return s;
}
