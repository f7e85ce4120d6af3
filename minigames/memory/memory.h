// Memory against the computer: eight pairs on a 4 by 4 grid. The computer remembers the cards of
// the last three pairs turned without a match. The outcome goes back as "W", "L" or "U" (a draw,
// which the scripts answer by showing the window again for a new deal).
#pragma once
#include <array>
#include <cstdint>

#include "runtime/forms.h"

class TMemory : public rt::Form {
 public:
  rt::ImageBox Image1[16]{this, this, this, this, this, this, this, this,
                          this, this, this, this, this, this, this, this};
  rt::Label Label1[2]{this, this};  // 0 the player's score row, 1 the computer's
  rt::Timer Timer1{this};

  std::array<int32_t, 16> Karten{};      // the pair number of the card at each position
  std::array<int32_t, 6> Intelligenz{};  // remembered positions, oldest pair first; -1 empty
  std::array<int32_t, 2> Punkte{};       // pairs found: 0 the player, 1 the computer
  bool SpielLaeuft = false;
  int32_t GeklicktesBild = -1;
  // True while the game waits for the player's click (what a test player watches for).
  bool WartetAufKlick = false;

  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Unload(int& cancel) override;
  void Image1_Click(int index);
  void Timer1_Timer();

  void Init();
  void AddIntelligenz(int32_t c1, int32_t c2);
  // The computer's two cards, from its memory where it knows a pair, else drawn at random.
  void ComputerWahl(int32_t& erste, int32_t& zweite);
  void KartenWeg(int32_t c1, int32_t c2, int32_t wer);
  void Ende();

  void ZeigeRueckseite(int32_t karte);
  void ZeigeBild(int32_t karte);

 private:
  // Card pictures 1 to 9 ("m9.jpg" is the back), read once per showing.
  rt::PicturePtr KartenBild(int nummer);
  std::array<rt::PicturePtr, 9> bilder_;
  // How a turn ends: the same side turns again, the other side turns, or the game is over.
  enum class Zug { Nochmal, Wechsel, Schluss };
  Zug SpielerZug();
  Zug ComputerZug();
  Zug Gefunden(int32_t c1, int32_t c2, int32_t wer);
  Zug Verdeckt(int32_t c1, int32_t c2);
  // False (without waiting) once the window is closed.
  bool Warte(int32_t ms);
  // Waits for a click on a card other than ausser; false when the window closed meanwhile.
  bool WarteAufKlick(int32_t ausser);
};

TMemory& Memory();
