// The script commands beyond the interpreter core's conditions and jumps.
#pragma once
#include <cstdint>
#include <functional>

#include "engine/interpreter.h"

// Fill the command table: every command but the core's (opcodes.cpp), the dialogue choice
// (choice.cpp).
void BefehleEintragen(std::array<Befehlsroutine, Befehl::Anzahl>& tabelle);
void AuswahlEintragen(std::array<Befehlsroutine, Befehl::Anzahl>& tabelle);

// Pumps window events while weiter() holds, sleeping between passes (at most schrittMs). Ends
// as well when the scene window that was there at the start goes away (or none was there).
void PumpeSolange(const std::function<bool()>& weiter, uint64_t schrittMs = 1000);

// A number of a script argument as a whole number: rounded, ties to even, saturating at the
// 32-bit limits.
int32_t GanzeZahl(double wert);

// The countdown interval in ms for a number of seconds: rounded, clamped to 0 to 65535 (a
// negative time stops the countdown).
int32_t CountDownMs(double sekunden);

// The number of the error voice, 10 to 18, for a random number in [0, 1).
int32_t FehlertonNummer(float zufall);

// The speech file for a script's file name: the name in the sounds folder; when that file is
// missing, the same name ending in "mp3" if that exists, else in "wav".
std::string SprachDatei(const std::string& datei);
