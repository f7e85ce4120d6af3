// Saving and loading a game through the picker window.
#pragma once

// Asks for a file and writes the game state to it (nothing while a room countdown is set).
void SpielSpeichern();
// Asks for a file, reads it and enters its room; true when a game was loaded.
bool SpielLaden();
