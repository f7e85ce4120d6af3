// The operations of the scene window that the interpreter needs. The scene window implements
// them and registers itself in Szene at start-up; until then the calls do nothing.
#pragma once
#include <cstdint>
#include <string>

struct SzenenFenster {
  virtual ~SzenenFenster() = default;
  // Mouse pointer of the scene: 0 default arrow, 14 arrow with question mark, 99 the icon.
  virtual void MausZeiger(int zeiger) = 0;
  // Loads the icon file (full path) as the scene's mouse icon.
  virtual void MausIcon(const std::string& datei) = 0;
  // Slides the item bar out; returns at once when it is closed.
  virtual void VersteckeLeiste() = 0;
  // The scene's mouse-move handling: sets the pointer for the point under the mouse.
  virtual void Picture1_MouseMove(int button, int shift, float x, float y) = 0;
  // Switches the room countdown timer on (restarting its interval) or off.
  virtual void CountDownAn(bool an) = 0;
  // The text band: opens it with the text and returns when the text stands; WegText with the
  // same text closes it onto the clean scene.
  virtual void ZeigText(const std::string& text) { (void)text; }
  virtual void WegText(const std::string& text) { (void)text; }
  // Height in pixels of so many lines of text in the scene's font.
  virtual float ZeilenHoehe(int64_t zeilen) { (void)zeilen; return 0; }
  // Redraws the hidden item bar picture after the items changed.
  virtual void GegenständeLaden() {}
  // Timed effects on the scene: zooms to and from a rectangle of the room picture (the corners
  // may come back put in order), fades to white and back, the shake, and the credits roll.
  virtual void ZoomIN(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) { (void)x1; (void)y1; (void)x2; (void)y2; }
  virtual void ZoomOUT(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) { (void)x1; (void)y1; (void)x2; (void)y2; }
  virtual void BlendWeiß() {}
  virtual void BlendWeißOut() {}
  virtual void Ruckel() {}
  virtual void Abspann() {}
  // What the script commands do to the scene: load a room file and run its start script (false
  // when it could not be read; the player has been told), show a picture from its full path,
  // the portrait frames, a portrait (left or right box) and their removal, the countdown's
  // interval (0 stops it), and leaving the game (the window's close handling).
  virtual bool LadeRaum(const std::string& pfad) { (void)pfad; return false; }
  virtual void BildLaden(const std::string& pfad) { (void)pfad; }
  virtual void PortraitRahmen() {}
  virtual void Portrait(bool links, const std::string& pfad) { (void)links; (void)pfad; }
  virtual void PortraitWeg() {}
  virtual void CountDownIntervall(int32_t ms) { (void)ms; }
  virtual void Verlassen() {}
};

inline SzenenFenster* Szene = nullptr;

// Calls that do nothing while no scene is registered.
namespace szene {
inline void MausZeiger(int zeiger) { if (Szene) Szene->MausZeiger(zeiger); }
inline void MausIcon(const std::string& datei) { if (Szene) Szene->MausIcon(datei); }
inline void VersteckeLeiste() { if (Szene) Szene->VersteckeLeiste(); }
inline void MausBewegt(float x, float y) { if (Szene) Szene->Picture1_MouseMove(0, 0, x, y); }
inline void CountDownAn(bool an) { if (Szene) Szene->CountDownAn(an); }
inline void ZeigText(const std::string& text) { if (Szene) Szene->ZeigText(text); }
inline void WegText(const std::string& text) { if (Szene) Szene->WegText(text); }
inline float ZeilenHoehe(int64_t zeilen) { return Szene ? Szene->ZeilenHoehe(zeilen) : 0; }
inline void GegenständeLaden() { if (Szene) Szene->GegenständeLaden(); }
inline void ZoomIN(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) { if (Szene) Szene->ZoomIN(x1, y1, x2, y2); }
inline void ZoomOUT(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) { if (Szene) Szene->ZoomOUT(x1, y1, x2, y2); }
inline void BlendWeiß() { if (Szene) Szene->BlendWeiß(); }
inline void BlendWeißOut() { if (Szene) Szene->BlendWeißOut(); }
inline void Ruckel() { if (Szene) Szene->Ruckel(); }
inline void Abspann() { if (Szene) Szene->Abspann(); }
inline bool LadeRaum(const std::string& pfad) { return Szene && Szene->LadeRaum(pfad); }
inline void BildLaden(const std::string& pfad) { if (Szene) Szene->BildLaden(pfad); }
inline void PortraitRahmen() { if (Szene) Szene->PortraitRahmen(); }
inline void Portrait(bool links, const std::string& pfad) { if (Szene) Szene->Portrait(links, pfad); }
inline void PortraitWeg() { if (Szene) Szene->PortraitWeg(); }
inline void CountDownIntervall(int32_t ms) { if (Szene) Szene->CountDownIntervall(ms); }
inline void Verlassen() { if (Szene) Szene->Verlassen(); }
}  // namespace szene
