// The hand-over between scripts and the mini-game windows: a script names a game, a flag and a
// parameter; the game's window shows modally and its outcome sets or clears the flag.
#pragma once
#include <string>

// The argument "word, flag, parameter" of the script command. Returns whether the game was won
// (the flag is set then and cleared otherwise).
bool StarteMinispiel(const std::string& argument);

// The flying-heads game gets no parameter: false goes in, the outcome comes back as a truth value.
bool SpielWumpel();

// Shows a game's window modally. Each game registers its one window object here; a word whose
// game is not registered shows nothing and leaves false.
using MinispielAnzeige = void (*)();
struct Minispiele {
  MinispielAnzeige PI = nullptr, JUMP = nullptr, ESEL = nullptr, HDW = nullptr,
                   PRUEGEL = nullptr, WUMPEL = nullptr, PONG = nullptr, MEMORY = nullptr;
};
Minispiele& MinispielFenster();

// Registers every mini-game window that is built (the program does this once at start-up).
void MinispieleAnmelden();
