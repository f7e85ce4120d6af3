// The pi typing game: the characters of pi appear one by one and must be typed before a limit
// that shrinks with every character. The whole game runs inside the first tick of Timer1.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "runtime/forms.h"

class TPISpiel : public rt::Form {
 public:
  rt::PictureBox Picture1{this};
  rt::Timer Timer1{this};

  bool SpielLaeuft = false;      // cleared by a close request and at the end of the game
  int16_t GedrueckteTaste = 0;   // the last key typed; 0 = none since the character showed
  int32_t DateiNr = -100;        // the open digits file; -100 = none
  int32_t Position = 0;          // the character shown, from 1

  // Tests watch the game here: called once a character is shown, before the wait for its key.
  std::function<void()> ZeichenGezeigt;

  void InitializeComponent() override;
  void Form_KeyPress(int& keyAscii) override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Unload(int& cancel) override;
  void Timer1_Timer();

 private:
  enum class Ausgang { Alle, Vertippt, ZuLangsam };
  void Zentriere(const std::string& s);
  bool Kreis();  // false once the window is closing
  void Tippen();
  // The end screen; false when the window closed meanwhile.
  bool Ende(Ausgang ausgang);
  void DateiSchliessen();
  void Schluss();
};

TPISpiel& PISpiel();
