// The flying-heads game: 21 heads fly about a room and must all be hit with the left button
// within 20 seconds. The whole game runs inside the first tick of Timer1 as a frame loop.
#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "minigames/heads/flieger.h"
#include "minigames/partikel/partikel.h"
#include "runtime/forms.h"

class TWumpel : public rt::Form {
 public:
  rt::PictureBox Feld{this};
  rt::PictureBox Picture1[2]{rt::PictureBox{this}, rt::PictureBox{this}};  // the head's frames
  rt::PictureBox Picture2{this};  // what lies under each head, one slot per head
  rt::Label Label1{this};
  rt::Label Label2{this};
  rt::Timer Timer1{this};
  rt::Timer Timer2{this};

  int32_t Sekunden = 0;
  int32_t SpielEnde = 0;  // 1: leave the current loop
  float KlickX = 0, KlickY = 0;
  int16_t KlickTaste = 0;  // button of the last press on Feld; 0 none
  rt::HDC FeldDC = nullptr, PufferDC = nullptr;
  std::array<rt::HDC, 2> SpriteDC{};
  std::array<::Flieger, 21> Flieger{};
  PartikelPool Pool{PartikelPool::Art::Wumpel};

  // The game's own values, kept between its frames.
  int32_t W = 0, H = 0;  // Feld's inner size
  int32_t w = 0, h = 0;  // a head's size
  int32_t KoepfeUebrig = 0;
  bool ErsterFrame = false;

  // Tests and the benchmark watch the frames here: called after each frame's wait.
  std::function<void()> NachFrame;

  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Unload(int& cancel) override;
  void Feld_MouseDown(int button, int shift, float x, float y);
  void Timer1_Timer();
  void Timer2_Timer();

  // The game in its parts: the set-up, one frame without its wait, and the end (the outcome,
  // the winning animation and the unloading).
  void SpielAnfang();
  void SpielFrame();
  void SpielSchluss();
  void Gewinnanimation();

 private:
  void LeseDCs();
};

TWumpel& Wumpel();
