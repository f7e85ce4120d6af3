// The scene window: the 640 by 480 scene on black, its hidden picture surfaces, the timers, the
// start-up, key commands and the shutdown that hands back to the menu.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "engine/scene_link.h"
#include "runtime/forms.h"

class TForm1 : public rt::Form, public SzenenFenster {
 public:
  TForm1();
  ~TForm1() override;

  // Controls, in z-order. Picture2 to Picture5 are never shown.
  rt::PictureBox Hintergrund{this};  // black, over the whole client area
  rt::Frame Frame1{this};            // 641 by 481, kept centred
  rt::PictureBox Picture1{&Frame1};  // the visible scene
  rt::PictureBox Picture2{this};     // the room picture as loaded, at its own size
  rt::PictureBox Picture3{this};     // the clean copy of the scene (643 by 486)
  rt::PictureBox Picture4{this};     // the item bar, off screen
  rt::PictureBox Picture5{this};     // scratch
  rt::Timer CountDown{this};         // runs the room's countdown script
  rt::Timer RM{this};                // music loop check during the credits
  rt::Timer Timer1{this};            // cursor animation

  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Resize() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_KeyDown(int& keyCode, int shift) override;
  void Form_KeyUp(int& keyCode, int shift) override;

  // The audio error box.
  void ThrowError(const std::string& message);
  // Loads the room file at path and runs its start script. When the file is missing or
  // malformed the current room stays and the result is false: the reason goes to fehler when
  // given, else into a message box naming the file.
  bool Lade(const std::string& path, std::string* fehler = nullptr);
  // Shows a picture stretched over the scene and makes it the clean copy.
  void BildLaden(const std::string& path) override;
  // What script commands do to the scene (see SzenenFenster): rooms, portraits, the countdown's
  // interval and leaving the game.
  bool LadeRaum(const std::string& pfad) override;
  void PortraitRahmen() override;
  void Portrait(bool links, const std::string& pfad) override;
  void PortraitWeg() override;
  void CountDownIntervall(int32_t ms) override;
  void Verlassen() override;
  // Inverts the cells of every hotspot's mask on the scene (F5).
  void ZeigeHotspots();

  // Timed effects (effects.cpp, zoom.cpp): fading to white and back, the shake, and the zooms
  // into a rectangle of the room picture and back out (the corners come back put in order).
  void BlendWeiß() override;
  void BlendWeißOut() override;
  void Ruckel() override;
  void ZoomIN(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) override;
  void ZoomOUT(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) override;
  // The credits roll (credits.cpp): four typed pages with dissolving pictures, to music.
  void Abspann() override;
  // The flying-heads game: shows it with false handed in and returns whether it was won.
  bool SpielWumpel();

  // Text band: opens over the middle of the scene and prints the text ("#" breaks lines, "$"
  // and a hexadecimal digit colour a line); WegText, given the same text, closes it onto the
  // clean scene.
  void ZeigText(const std::string& text) override;
  void WegText(const std::string& text) override;
  // Height of so many lines in the scene's font.
  float ZeilenHoehe(int64_t zeilen) override;

  // Item bar: GegenständeLaden redraws the hidden bar picture from the items; ZeigeLeiste and
  // VersteckeLeiste slide it in and out.
  void GegenständeLaden() override;
  void ZeigeLeiste();
  void VersteckeLeiste() override;
  int32_t LeistenHoeheVoll() const;
  float LeisteVollHoehe = 0;

  // Mouse handling of the scene (the move handling is also called after every script run).
  void Picture1_MouseDown(int button, int shift, float x, float y);
  void Picture1_MouseMove(int button, int shift, float x, float y) override;
  void Picture1_MouseUp(int button, int shift, float x, float y);
  void Hintergrund_MouseMove(int button, int shift, float x, float y);

  // What the interpreter sets on the scene.
  void MausZeiger(int zeiger) override;
  void MausIcon(const std::string& datei) override;
  void CountDownAn(bool an) override;

  void CountDown_Timer();
  void RM_Timer();
  void Timer1_Timer();

  // Where a point of the scene lies: in the open bar (k: the cell's item index, which may name
  // no item), in a hotspot grid cell, in choice line j + 1 (bands are open intervals).
  bool InLeiste(float x, float y, int32_t& k) const;
  static bool NenntGegenstand(int32_t k);
  static bool ImRaster(float x, float y, int32_t& gx, int32_t& gy);
  bool InAuswahlBand(int32_t j, float y) const;

  // Cursor files are looked up and decoded once (until the next room). An icon that cannot be
  // loaded gives no picture, and the pointer on the screen stays as it is.
  struct CursorEintrag {
    bool da = false, gelesen = false;
    rt::PicturePtr bild;
  };
  const CursorEintrag& CursorDatei(const std::string& pfad);
  rt::PicturePtr CursorBildVon(const std::string& pfad);
  void SetzeMausIcon(const std::string& pfad);
  void CursorsVergessen();

  int32_t MarkierteZeile = -1;
  int32_t MinBreite = 0, MinHoehe = 0;

  // What the shutdown does last; tests replace it (the default restarts the program and ends
  // the process).
  std::function<void()> Beenden;

 private:
  int32_t AuswahlOben() const;
  int32_t AuswahlBaender() const;
  void AuswahlBandUmkehren(int32_t j);
  void AuswahlMarkieren(float y);
  void AuswahlWaehlen(float y);
  std::map<std::string, CursorEintrag> cursorSpeicher_;
};

// The one scene window, made on first use.
TForm1& Form1();

// The operator \ of the scene's arithmetic: both sides rounded to whole numbers (ties to even),
// then divided with truncation; 0 for a divisor that rounds to 0.
int32_t Ganzteil(double a, double b);

// Audio library start-up helpers.
int32_t LoWord(int32_t n);
int32_t HiWord(int32_t n);
std::string BassVersion();
std::string BassFehlerText(int32_t code);
