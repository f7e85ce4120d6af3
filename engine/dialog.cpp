#include "engine/dialog.h"

#include "engine/saves.h"
#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

TDialog& Dialog() {
  static TDialog* fenster = new TDialog;
  return *fenster;
}

std::string DialogName(const std::string& eingabe) {
  std::string name = eingabe;
  for (char& c : name)
    if (c == '*' || c == '?' || c == '/' || c == '\\' || c == '|' || c == '<' || c == '>') c = '_';
  if (rt::LCase(rt::Right(name, 4)) != ".xtc") name += ".xtc";
  return name;
}

void TDialog::InitializeComponent() {
  BorderStyle = 3;
  MinButton = MaxButton = false;
  ShowInTaskbar = false;
  StartUpPosition = 1;
  SetClientSize(396, 269);

  File1.Move(0, 0, 393, 214);
  File1.Pattern = "*.xtc";
  // A name that OK would clean names another file: chosen, it could never be loaded.
  File1.Hides = [](const std::string& name) { return DialogName(name) != name; };
  File1.TabIndex = 3;
  File1.Click = [this] { File1_Click(); };
  File1.DblClick = [this] { File1_DblClick(); };

  Text1.Move(0, 216, 393, 19);
  Text1.TabIndex = 0;
  Text1.KeyPress = [this](int& k) { Text1_KeyPress(k); };

  OKButton.Move(224, 240, 81, 25);
  OKButton.Caption = "OK";
  OKButton.TabIndex = 1;
  OKButton.Click = [this] { OKButton_Click(); };

  CancelButton.Move(312, 240, 81, 25);
  CancelButton.Caption = "Abbrechen";
  CancelButton.TabIndex = 2;
  CancelButton.Click = [this] { CancelButton_Click(); };
}

void TDialog::Form_Load() {
  SetCaption(SpielErgebnis.AlsText());
  rt::RemoveWriteLeftovers(SpeicherOrdner());  // saves that died halfway
  File1.SetPath(SpeicherOrdner());
  Text1.SetText(DialogDateiname);
  Text1.SelStart = int(Text1.Text.size());
  SpielErgebnis = "";
}

void TDialog::File1_Click() {
  if (File1.ListIndex < 0) return;
  Text1.SetText(File1.List(File1.ListIndex));
  Text1.SelStart = int(Text1.Text.size());
}

void TDialog::File1_DblClick() {
  File1_Click();
  OKButton_Click();
}

void TDialog::Text1_KeyPress(int& keyAscii) {
  if (keyAscii != 13) return;
  keyAscii = 0;
  OKButton_Click();
}

void TDialog::OKButton_Click() {
  DialogDateiname = DialogName(Text1.Text);
  SpielErgebnis = SpeicherOrdner() + DialogDateiname;
  Unload();
}

void TDialog::CancelButton_Click() { Unload(); }
