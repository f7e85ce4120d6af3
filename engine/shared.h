// Small routines shared by the adventure engine, the menu and every mini-game.
#pragma once
#include <cstdint>
#include <string>

// Frame pacing against one mark shared by every caller: pumps events at least once, then until
// the clock reaches the mark plus ms, and sets the mark to the time it returns. After idle time
// it returns after one pump; a caller that needs a full wait calls it with 0 first.
void WarteFrame(int32_t ms);
// The frame mark itself (tests and callers that must know when the last frame ended).
uint64_t LetzterFrame();

// The text after the last backslash, or the whole text.
std::string DateiName(const std::string& pfad);

// Field n (from 1) of text split at separator; the last field runs to the end. One blank " "
// when there are fewer fields (or n < 1).
std::string HoleFeld(const std::string& text, const std::string& trenner, int32_t n);

// Plays a wave file in the background on the one effect channel; nothing for a missing file.
void SpieleSound(const std::string& datei);

// Copies the state of all 256 keys into Tastatur (held keys read above 126).
void LeseTastatur();

std::string WindowsVerzeichnis();
