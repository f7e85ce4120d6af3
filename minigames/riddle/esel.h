// The donkey riddle: a story in the log, and a line where the player finishes the sentence
// "Er ..." about what the donkey did. Keywords get their jokes; giving up loses, the sentence
// that he gave up ("auf" and "gab") solves it.
#pragma once
#include <string>

#include "runtime/forms.h"

class TForm2 : public rt::Form {
 public:
  rt::TextBox Text1{this};  // the story and the log of the tries
  rt::Label Label1{this};
  rt::Label Label2{this};
  rt::TextBox Text2{this};  // the input line

  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Unload(int& cancel) override;
  void Text2_KeyPress(int& keyAscii);

 private:
  // Set when the riddle itself closes the window (given up or solved).
  bool ausgang_ = false;
};

TForm2& Form2();

// The answer of the keyword table for a lower-cased try; "" when no row matches.
std::string EselAntwort(const std::string& klein);
