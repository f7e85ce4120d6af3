#include "engine/state.h"

#include "engine/shared.h"
#include "runtime/text.h"

namespace {

std::string Normiert(std::string_view name) { return rt::UCase(rt::Trim(name)); }

// A save file may carry any number here; never index outside the table.
int32_t LetzterGueltiger() {
  if (LetzterGegenstand < -1) return -1;
  if (LetzterGegenstand >= GegenstandAnzahl) return GegenstandAnzahl - 1;
  return LetzterGegenstand;
}

}  // namespace

std::optional<bool> Ergebnis::WahrheitOderNichts() const {
  switch (art_) {
    case Art::Nichts: return false;
    case Art::Wahrheit: return wert_;
    case Art::Text: break;
  }
  if (rt::IsNumeric(text_)) return rt::Val(text_) != 0;
  std::string gross = rt::UCase(text_);
  if (gross == "TRUE") return true;
  if (gross == "FALSE") return false;
  return std::nullopt;
}

bool Ergebnis::AlsWahrheit() const { return WahrheitOderNichts().value_or(false); }

std::string Ergebnis::AlsText() const {
  switch (art_) {
    case Art::Nichts: return "";
    case Art::Wahrheit: return wert_ ? "True" : "False";
    case Art::Text: break;
  }
  return text_;
}

bool Ergebnis::operator==(std::string_view text) const {
  switch (art_) {
    case Art::Nichts: return text.empty();
    case Art::Text: return text_ == text;
    case Art::Wahrheit: break;
  }
  // A truth value counts as -1 or 0 against a number and never equals other texts.
  return rt::IsNumeric(text) && rt::Val(text) == (wert_ ? -1.0 : 0.0);
}

bool MerkerTesten(std::string_view name) {
  const std::string n = Normiert(name);
  for (const auto& slot : Merker)
    if (slot == n) return true;
  return false;
}

void MerkerSetzen(std::string_view name) {
  const std::string n = Normiert(name);
  std::string* frei = nullptr;
  for (auto& slot : Merker) {
    if (slot == n) return;  // present already (an empty name matches any free slot)
    if (!frei && slot.empty()) frei = &slot;
  }
  if (frei) *frei = n;
}

void MerkerLoeschen(std::string_view name) {
  const std::string n = Normiert(name);
  for (auto& slot : Merker)
    if (slot == n) slot.clear();
}

bool GegenstandDazu(std::string_view file) {
  const int32_t letzter = LetzterGueltiger();
  if (letzter + 1 >= GegenstandAnzahl) return false;
  LetzterGegenstand = letzter + 1;
  Gegenstaende[LetzterGegenstand] = GegenstandPfad + DateiName(std::string(file));
  return true;
}

bool GegenstandWeg(std::string_view file) {
  const std::string gesucht = rt::UCase(GegenstandPfad + DateiName(std::string(file)));
  const int32_t letzter = LetzterGueltiger();
  for (int32_t k = letzter; k >= 0; --k) {
    if (rt::UCase(Gegenstaende[k]) != gesucht) continue;
    for (int32_t j = k; j < letzter; ++j) Gegenstaende[j] = std::move(Gegenstaende[j + 1]);
    Gegenstaende[letzter].clear();
    LetzterGegenstand = letzter - 1;
    return true;
  }
  return false;
}
