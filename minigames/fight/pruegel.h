// The fight: the player plans six attacks and six defences on the choice panel, then fights six
// rounds against Torvik. A win leaves true in SpielErgebnis, anything else false.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/forms.h"

class TPrügel : public rt::Form {
 public:
  // Controls in drawing order. The choice panel first; the fight view lies over it, hidden
  // until the fight starts.
  rt::Frame Frame2{this};
  rt::ImageBox Image1[5]{&Frame2, &Frame2, &Frame2, &Frame2, &Frame2};
  rt::Label Label2{&Frame2};
  rt::ImageBox Image2[6]{&Frame2, &Frame2, &Frame2, &Frame2, &Frame2, &Frame2};
  rt::Label Label3{&Frame2};
  rt::ImageBox Image3[6]{&Frame2, &Frame2, &Frame2, &Frame2, &Frame2, &Frame2};
  // One-pixel dividers, drawn as filled labels.
  rt::Label Line1{&Frame2};
  rt::Label Line2{&Frame2};
  rt::CommandButton Command1{&Frame2};
  rt::Frame Frame1{this};
  rt::PictureBox Picture1{&Frame1};
  rt::Label Label1[2]{&Frame1, &Frame1};
  rt::Timer RM{this};

  // The plan: 0..2 a technique, 3 the potion (attacks only), -1 not chosen yet.
  std::array<int32_t, 6> Angriffe{};
  std::array<int32_t, 6> Abwehren{};
  int32_t AnzahlGewaehlt = 0;
  bool HatZaubertrank = false;
  int32_t EnergieT = 0, EnergieK = 0;  // Torvik's and the player's energy
  int32_t AnzeigeT = 0, AnzeigeK = 0;  // the energies as the labels show them

  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Unload(int& cancel) override;

  void LadeAngriff();
  void LadeAbwehr();
  void Image1_Click(int index);
  void RM_Timer();
  // The whole fight, from the opening to the ending that unloads the window.
  void Command1_Click();

  // A big shadowed text in the middle of the fight picture: 0 red, 1 blue, 2 white.
  void PrintText(const std::string& text, int32_t farbe);
  // Count the labels towards the energies, one paced step at a time.
  void ShowEnergieT();
  void ShowEnergieK();

  // Every picture, sound, text and pause of the fight as it happens ("B name", "S name",
  // "T text", "W ms" once the pause is over); tests follow the fight through it.
  std::function<void(const std::string&)> Protokoll;

 private:
  struct Abbruch {};  // thrown by a wait once the window has been closed

  void Bild(const std::string& datei);
  void Sound(const std::string& datei);
  void Text(const std::string& text, int32_t farbe);
  // WarteFrame, but a window closed meanwhile ends the fight.
  void Warte(int32_t ms);
  void Zaehle(int32_t& anzeige, int32_t& energie, rt::Label& label, bool torvik);
  void Kampf();
  void ZugDesSpielers(int32_t a);
  void ZugTorviks(int32_t i, int32_t a);
  // A technique (its picture's number) caught by the other's guard; the text in farbe.
  void Abgewehrt(int32_t technik, int32_t farbe);
  void Feuerball();
  // Damage from basis, its text with the given start, the hit and the counter.
  void TrefferTorvik(int32_t basis, const std::string& vorsatz);
  void TrefferSpieler(int32_t basis, const std::string& vorsatz);
  void Gewonnen();
  void Verloren();
  void Schlussangriff();
  // "art was" to the trail, made only when a trail is kept: pauses come every few milliseconds.
  void Melde(char art, std::string_view was);
  void Melde(char art, int32_t zahl);

  bool geschlossen_ = false;
};

// The one fight window, made on first use.
TPrügel& Prügel();
