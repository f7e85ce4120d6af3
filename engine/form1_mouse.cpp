// The scene's mouse handlers and the cursor animation.
#include "engine/form1.h"
#include "engine/state.h"

void TForm1::Picture1_MouseDown(int button, int shift, float x, float y) {
  (void)shift;
  (void)x;
  (void)y;
  Klick = button == rt::vbLeftButton ? 2 : 1;
  GewaehlterGegenstand = -1;
}

void TForm1::Picture1_MouseMove(int button, int shift, float x, float y) {
  (void)button;
  (void)shift;
  MausX = x;
  MausY = y;
}

void TForm1::Picture1_MouseUp(int button, int shift, float x, float y) {
  (void)shift;
  (void)x;
  (void)y;
  Klick = button == rt::vbLeftButton ? 2 : 1;
  if (Beschaeftigt) Klick = 0;
}

void TForm1::Hintergrund_MouseMove(int button, int shift, float x, float y) {
  (void)button;
  (void)shift;
  (void)x;
  (void)y;
  MousePointer = rt::vbDefault;
  CursorModus = -1;
}

void TForm1::Timer1_Timer() {
  if (CursorModus < 0) return;
  MousePointer = rt::vbCustom;
  // The frame list holds six files whatever CursorModus claims.
  if (++CursorBild > CursorModus || CursorBild >= int32_t(CursorDateien.size())) CursorBild = 0;
  MouseIcon = rt::LoadPicture(CursorDateien[size_t(CursorBild)]);
}
