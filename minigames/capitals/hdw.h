// The capitals quiz: four questions on the capitals of countries from the list "HDW.txt", each
// with four answers; four right answers in a row win, the first wrong one loses. Three timers
// run it: the next question, the feedback for a right and for a wrong answer.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/forms.h"

class THDW : public rt::Form {
 public:
  rt::Label Label1{this};  // question number and question, or the verdict
  rt::Label Label2[4]{this, this, this, this};  // the answers, clicked like buttons
  rt::Timer Timer1{this};  // asks the next question
  rt::Timer Timer2{this};  // feedback for a right answer
  rt::Timer Timer3{this};  // feedback for a wrong answer

  std::vector<std::string> Fragen;                 // the countries
  std::vector<std::array<std::string, 4>> Antworten;  // per country; 0 is the right capital
  int32_t LetzteFrage = -1;
  int32_t FrageNr = 0;
  int32_t RichtigerIndex = 0;
  int32_t RichtigZaehler = 0;  // ticks of the right-answer feedback
  int32_t FalschZaehler = 0;   // ticks of the wrong-answer feedback

  void InitializeComponent() override;
  void Form_Load() override;
  void Timer1_Timer();
  void Label2_Click(int index);
  void Timer2_Timer();
  void Timer3_Timer();
  void Buttonssperren();
  void Buttonsunsperren();

  // Reads the valid lines of the list file into Fragen and Antworten; a missing file reads as
  // an empty list.
  void FragenLaden(const std::string& datei);

 private:
  // One tick of a feedback: the verdict and its sound come with the first tick, then the
  // verdict blinks and the right answer flashes. True after the last tick, with the verdict
  // shown and the answer in its own colour again.
  bool Rueckmeldung(int32_t& zaehler, const char* urteil, const char* klang, int32_t ticks);
};

THDW& HDW();
