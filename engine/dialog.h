// The save/load picker: a list of the save files, the name, OK and "Abbrechen". The caller puts
// the title into SpielErgebnis and shows it modally; it leaves the chosen file's full path there,
// or the empty text when the player cancelled or closed it.
#pragma once
#include <string>

#include "runtime/forms.h"

class TDialog : public rt::Form {
 public:
  rt::FileListBox File1{this};        // the save files in the saves folder
  rt::TextBox Text1{this};            // the file name
  rt::CommandButton OKButton{this};
  rt::CommandButton CancelButton{this};

  void InitializeComponent() override;
  void Form_Load() override;
  void File1_Click();
  void File1_DblClick();
  void Text1_KeyPress(int& keyAscii);
  void OKButton_Click();
  void CancelButton_Click();
};

// The one picker, made on first use.
TDialog& Dialog();

// A typed name as it is saved: characters that cannot stand in a file name become "_", and
// ".xtc" is added unless the name already ends in it in any letter case.
std::string DialogName(const std::string& eingabe);
