// The start menu: finds the CD and the content folders, offers new game, load, bonus material and
// quit, and hands over to the scene window.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "runtime/forms.h"

class TMenu : public rt::Form {
 public:
  TMenu();

  // Controls in drawing order. The entry labels sit below the help box: a long bonus caption
  // runs under it rather than over it.
  rt::ImageBox Image1{this};
  rt::Label Label2{this};
  rt::Label Label3{this};
  rt::PictureBox Picture1{this};
  rt::Label Label1[4]{rt::Label{&Picture1}, rt::Label{&Picture1}, rt::Label{&Picture1},
                      rt::Label{&Picture1}};
  rt::PictureBox Picture2{&Picture1};
  rt::DriveListBox Drive1{&Picture1};
  rt::Timer Timer1{this};

  int16_t GewaehlterEintrag = 0;
  int16_t MenuTyp = -1;   // -1 while setting up, 0 main menu, 1 bonus menu
  std::string CDPfad;     // "d:\" of the drive holding the marker, else ""
  bool MenuStopp = false;
  float Phase = 0;        // the bars' phase lives as long as the window

  void InitializeComponent() override;
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_KeyDown(int& keyCode, int shift) override;

  void Timer1_Timer();
  void DoLoop();
  void LabelAufbau(int16_t index);
  void MenuBonusSetzen(int16_t neuerTyp);
  void LabelAusfuehren(int16_t index);
  void Label1_MouseMove(int index, int button, int shift, float x, float y);
  void Label1_Click(int index);
  void Label2_Click();

  // The start-up from the CD search to the saves folder, for the given program folder.
  void OrdnerEinrichten(const std::string& programmOrdner);

  // Where the menu leaves its own window: the scene, the end of the process and the desktop
  // opener. Tests put recorders here.
  std::function<void()> SzeneZeigen;
  std::function<void()> ProzessBeenden;
  std::function<bool(const std::string&)> Oeffnen;
};

TMenu& Menu();

// The web page's address: the link shows it and opens it, letter for letter.
extern const char* const MenuWebAdresse;
