// The jump-and-run game: one side-scrolling level of 175 by 9 tiles with twelve enemies; the
// player must reach the door at its right end. The whole game runs inside one timer event, frame
// by frame, drawing into the view's retained image and taking off again what moved.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "minigames/partikel/partikel.h"
#include "runtime/forms.h"

struct GegnerTyp {
  int32_t Breite = 0, Hoehe = 0;
  int32_t MaxBild = 0;    // highest animation frame index
  int32_t BildDauer = 0;  // frames per animation frame
  float Tempo = 0;
  int32_t Trefftiefe = 0;  // depth of the band at the top in which feet stomp the enemy
  int32_t Art = 0;         // 0 walker, 1 bobbing, 2 patrol
  int32_t BlattY = 0;      // row of the type's pictures on the sprite sheet
};

struct Gegner {
  float VX = 0, X = 0, Y = 0;
  float GrenzeLinks = 0, GrenzeRechts = 0;  // patrols only
  int32_t BildNr = 0, BildTakt = 0;
  int32_t Typ = 0;
  int16_t Lebt = 0;
  int32_t PufferX = 0, PufferY = 0;  // save-under slot in Picture2
  int32_t BlattX = 0;                // 0 facing left, (MaxBild + 1) * Breite facing right
  int16_t Sichtbar = 0;              // drawn in the last frame
  float Absenkung = 0;               // bobbing: how far it has sunk
};

class TJump : public rt::Form {
 public:
  static constexpr int32_t Spalten = 175, Reihen = 9;
  static constexpr int32_t ZielX = 8304, ZielY = 288;

  TJump();

  // Controls in z-order; the three hidden surfaces sit below the client area.
  rt::PictureBox Feld{this};      // the view, 624 by 432
  rt::PictureBox Picture1{this};  // the sprite sheet, 640 by 2000
  rt::PictureBox Picture2{this};  // save-under slots of the player and the enemies
  rt::PictureBox Picture3{this};  // takes each bitmap while the sheet is built
  rt::Timer Timer1{this};         // starts the game
  rt::Timer RM{this};             // keeps the music looping

  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Unload(int& cancel) override;
  void RM_Timer();
  void Timer1_Timer();

  // The game's set-up (sound, sizes, state, sheet, map, first view, music) and one frame of the
  // loop; Bild returns false once the window has been unloaded. Timer1_Timer runs them.
  void Einrichten();
  bool Bild();
  // The state of the player, the enemies, the particles and the view at game start.
  void Init();

  // Sprite sheet and level map.
  void Grafikladen();
  void KarteAufbauen();
  void Hintergrundaufbau();
  void CheckLinksundRechts(float X, float Y, float VX, int32_t Breite, int32_t Proben,
                           int16_t& Treffer) const;
  // The tile code at a column and row; 0 outside the map.
  int32_t Kachel(int32_t spalte, int32_t reihe) const;

  // Scrolling.
  void Scroll(int32_t Weite);
  void Kamera();

  // Enemies.
  void GegnerAufstellen();
  void GegnerWegnehmen();
  void GegnerBewegen();
  void GegnerZeichnen();

  // The player: gravity, pit and enemy contact; then, while alive, tiles, keys, jump, wall and
  // camera.
  void SpielerFallen();
  void SpielerSteuern();
  void SpielerWegnehmen();
  void SpielerZeichnen();

  // The dying fall and the goal with its cheering.
  void Sterbeschritte();
  void Zielschritte();

  // Whole numbers as the game rounds them: to the nearest, ties to even.
  static int32_t CLng(double v);

  int32_t SpielEnde = 0;
  rt::HDC FeldDC = nullptr, PufferDC = nullptr, SpriteDC = nullptr;
  int32_t FeldBreite = 0, FeldHoehe = 0;
  PartikelPool Pool{PartikelPool::Art::Jump};

  std::array<std::string, Reihen> Zeile;
  std::array<std::array<int32_t, Reihen>, Spalten> Karte{};  // Karte[spalte][reihe]
  float ScrollX = 0;

  std::array<::GegnerTyp, 4> GegnerTyp{};
  std::array<::Gegner, 12> Gegner{};
  double Phase = 0;

  float SpielerX = 0, SpielerY = 0;
  float TempoX = 0, TempoY = 0;
  int32_t SpielerBild = 0;
  int32_t Sterben = 0;

  float Schwerkraft = 0.5f;
  int16_t ErsterFrame = 0;
  int32_t Springen = 0;
  int32_t Bodenfrist = 0;
  int16_t SprungSperre = 0;
  int32_t ZielZaehler = 0;
};

// The one game window, made on first use.
TJump& Jump();
