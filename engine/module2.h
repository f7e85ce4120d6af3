// Music and video: the one music channel (alias "vbSong") and the one video (alias "vbVideo"),
// driven by media command strings. Every routine returns at once; music and video play on.
#pragma once
#include <cstdint>
#include <string>

// The path last given to SpieleMusik, as given; StoppeMusik leaves it.
inline std::string AktuelleMusik;

// Plays a music file from its start (a missing file only stops the old music).
void SpieleMusik(const std::string& pfad);
// Starts AktuelleMusik again once its position has reached its length; called every 500 ms.
void PruefeMusikEnde();
void StoppeMusik();
// Opens a video over the scene surface at 0, 0, 640 by 480 and starts it; "" only closes.
void SpieleFilm(const std::string& pfad);
void SchliesseFilm();
// The surface videos play in: the scene window hands over its scene picture's handle at start-up.
void SetzeFilmFenster(intptr_t hWnd);

// The long form of an existing path, each component as the file system spells it; the short
// form goes to `kurz` (the same here: there are no 8.3 names). A component that cannot be found
// ends both early. A path without a drive stays relative to the current folder.
std::string KurzerPfad(const std::string& pfad, std::string& kurz);
// The text before its first NUL character, or the whole text.
std::string BisNullzeichen(const std::string& text);
