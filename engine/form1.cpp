#include "engine/form1.h"

#include <cmath>
#include <cstdio>

#include "engine/interpreter.h"
#include "engine/module2.h"
#include "engine/rooms.h"
#include "engine/saves.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/audio.h"
#include "runtime/system.h"
#include "runtime/text.h"

TForm1& Form1() {
  // Never destroyed: the process ends through the shutdown, not by returning from main.
  static TForm1* form = new TForm1;
  return *form;
}

TForm1::TForm1() {
  Beenden = [] {
    if (!rt::RestartSelf()) std::fprintf(stderr, "Norvalde: the program could not be started again\n");
    rt::EndProcess(0);
  };
}

TForm1::~TForm1() {
  if (Szene == this) Szene = nullptr;
}

void TForm1::InitializeComponent() {
  Caption = "";
  BorderStyle = 2;
  KeyPreview = true;
  StartUpPosition = 2;
  MinButton = true;
  MaxButton = true;
  BackColor = rt::vbBlack;
  // 9570 by 7170 twips; the start-up grows it to a 640 by 480 scene, and the window manager is
  // asked not to offer anything smaller.
  SetClientSize(638, 478);
  SetMinClientSize(640, 480);

  Hintergrund.BackColor = rt::vbBlack;
  Hintergrund.SetAutoRedraw(true);
  Hintergrund.Move(0, 0, 638, 478);
  Hintergrund.MouseMove = [this](int b, int s, float x, float y) { Hintergrund_MouseMove(b, s, x, y); };

  Frame1.BackColor = rt::vbBlack;
  Frame1.Move(0, 0, 641, 481);

  Picture1.BackColor = rt::vbBlack;
  Picture1.Move(0, 0, 640, 480);
  Picture1.SetAutoRedraw(true);
  Picture1.MouseDown = [this](int b, int s, float x, float y) { Picture1_MouseDown(b, s, x, y); };
  Picture1.MouseMove = [this](int b, int s, float x, float y) { Picture1_MouseMove(b, s, x, y); };
  Picture1.MouseUp = [this](int b, int s, float x, float y) { Picture1_MouseUp(b, s, x, y); };

  for (rt::PictureBox* p : {&Picture2, &Picture3, &Picture4, &Picture5}) {
    p->SetVisible(false);
    p->BackColor = rt::vbBlack;
    p->SetAutoRedraw(true);
  }
  Picture2.AutoSize = true;
  Picture5.AutoSize = true;
  Picture3.Move(0, 0, 643, 486);
  Picture4.Move(0, 0, 640, 64);

  CountDown.SetEnabled(false);
  CountDown.SetInterval(0);
  CountDown.Tick = [this] { CountDown_Timer(); };
  RM.SetEnabled(false);
  RM.SetInterval(500);
  RM.Tick = [this] { RM_Timer(); };
  Timer1.SetInterval(300);
  Timer1.SetEnabled(true);
  Timer1.Tick = [this] { Timer1_Timer(); };
}

void TForm1::Form_Load() {
  rt::Randomize(rt::SecondsSinceMidnight());
  std::string b = rt::AppPath();
  rt::ChDir(b);
  PiWert = float(4 * std::atan(1.0));
  if (SoundPfad.empty()) {
    if (rt::Right(b, 1) != "\\") b += "\\";
    SoundPfad = b + "sounds\\";
    GrafikPfad = b + "graphics\\";
    FilmPfad = b + "movies\\";
    CursorPfad = b + "cursors\\";
    GegenstandPfad = b + "items\\";
    MusikPfad = b + "musics\\";
    DatenPfad = b + "games\\";
    RaumPfad = b + "rooms\\";
  }
  MinBreite = int32_t(rt::CLng(double(Width()) - double(ScaleWidth() - 640) * TwipsPerPixelX()));
  MinHoehe = int32_t(rt::CLng(double(Height()) - double(ScaleHeight() - 480) * TwipsPerPixelY()));
  GewaehlterGegenstand = -1;
  LetzterGegenstand = -1;
  VersteckeLeiste();
  MarkierteZeile = -1;

  if (BassVersion() != "1.6") {
    ThrowError("BASS version 1.6 was not loaded");
    rt::EndProcess(0);
  }
  if (rt::BASS_Init(-1, 44100, 0, hWnd()) == 0) {
    ThrowError("Can't initialize digital sound system");
    rt::EndProcess(0);
  }
  if (rt::BASS_Start() == 0) ThrowError("Can't start digital output");

  Szene = this;
  SetzeFilmFenster(Picture1.hWnd());
  Show();

  std::string erster = "Start.lsd";
  if (!(SpielErgebnis == "")) {
    erster = DateiName(SpielErgebnis.AlsText());
  } else if (!rt::Command().empty()) {
    erster = DateiName(rt::Command());
  }
  // Without a first room there is nothing to play: the window closes as if the player had
  // closed it.
  if (!Lade(RaumPfad + erster)) Unload();
}

void TForm1::ThrowError(const std::string& message) {
  int code = rt::BASS_ErrorGetCode();
  rt::MsgBox(message + "\r\n\r\nError Code : " + std::to_string(code) + "\r\n" + BassFehlerText(code),
             rt::vbOKOnly | rt::vbCritical, "Error");
}

void TForm1::Form_Resize() {
  if (WindowState() == 1) return;
  if (Width() < MinBreite) SetWidth(MinBreite);
  if (Height() < MinHoehe) SetHeight(MinHoehe);
  Frame1.Move(ScaleWidth() / 2 - Frame1.Width() / 2, ScaleHeight() / 2 - Frame1.Height() / 2);
  Hintergrund.Move(0, 0, ScaleWidth(), ScaleHeight());
  Hintergrund.Cls();
}

void TForm1::Form_QueryUnload(int& cancel, int unloadMode) {
  (void)cancel;
  (void)unloadMode;
  rt::BASS_Stop();
  rt::BASS_StreamFree(SprachStream);
  rt::BASS_Free();
  StoppeMusik();
  SchliesseFilm();
  if (Szene == this) Szene = nullptr;
  Beenden();
}

void TForm1::Form_KeyDown(int& keyCode, int shift) {
  (void)shift;
  LetzteTaste = int16_t(keyCode);
  GedrueckteTaste = LetzteTaste;
  ++Druecke;
  if (Beschaeftigt) return;
  switch (keyCode) {
    // Not while the item bar slides: a loaded room's start script would wait for the bar,
    // whose animation waits beneath it.
    case rt::vbKeyF2:
    case rt::vbKeyF1:
      if (!LeisteGesperrt) {
        Beschaeftigt = true;
        if (keyCode == rt::vbKeyF2) {
          SpielSpeichern();
        } else {
          SpielLaden();
        }
        Beschaeftigt = false;
      }
      break;
    case rt::vbKeyF7:
      rt::MsgBox(std::to_string(BosheitsPunkte), rt::vbOKOnly, "Norvalde");
      break;
    case rt::vbKeyF5:
      ZeigeHotspots();
      break;
    case rt::vbKeySpace:
      if (!LeisteGesperrt) {
        LeisteSichtbar = !LeisteSichtbar;
        if (LeisteSichtbar) {
          ZeigeLeiste();
        } else {
          VersteckeLeiste();
        }
      }
      break;
    default:
      break;
  }
}

void TForm1::Form_KeyUp(int& keyCode, int shift) {
  (void)keyCode;
  (void)shift;
  LetzteTaste = 0;
}

// Drawn in invert mode, so a second F5 restores the scene and cells that two hotspots share
// are inverted twice.
void TForm1::ZeigeHotspots() {
  int alt = Picture1.DrawMode;
  Picture1.DrawMode = rt::vbInvert;
  for (int32_t h = 0; h <= HotspotMax && h < int32_t(Hotspots.size()); ++h)
    for (int x = 0; x < 64; ++x)
      for (int y = 0; y < 48; ++y)
        if (Hotspots[size_t(h)].Maske[x][y])
          Picture1.Line(float(x * 10), float(y * 10), float(x * 10 + 9), float(y * 10 + 9), rt::vbWhite,
                        rt::Surface::BoxFilled);
  Picture1.DrawMode = alt;
}

namespace {

// Stands in for a picture that cannot be loaded: the scene shows black and play goes on.
rt::PicturePtr SchwarzesBild() {
  auto p = std::make_shared<rt::Picture>();
  p->width = 640;
  p->height = 480;
  p->pixels.assign(size_t(640) * 480, rt::vbBlack);
  return p;
}

}  // namespace

void TForm1::BildLaden(const std::string& path) {
  std::string t = rt::Trim(path);
  if (!t.empty() && t.back() == '\\') {
    for (rt::PictureBox* p : {&Picture1, &Picture2, &Picture3}) p->BackColor = rt::vbBlack;
    for (rt::PictureBox* p : {&Picture1, &Picture2, &Picture3}) p->Cls();
    return;
  }
  rt::PicturePtr bild = rt::LoadPicture(path);
  if (!bild) {
    std::fprintf(stderr, "Norvalde: picture not loaded: %s\n", rt::ToUtf8(path).c_str());
    bild = SchwarzesBild();
  }
  Picture2.SetPicture(bild);
  Picture1.Cls();
  Picture1.SetAutoRedraw(true);
  Picture1.PaintPicture(Picture2.GetPicture(), 0, 0, 640, 480, 0, 0, float(Picture2.ScaleWidth()),
                        float(Picture2.ScaleHeight()));
  Picture3.SetPicture(Picture1.Image());
}

bool TForm1::Lade(const std::string& path, std::string* fehler) {
  Raum raum;
  std::string grund;
  if (!LeseRaumDatei(path, raum, grund)) {
    if (fehler) {
      *fehler = grund;
    } else {
      rt::MsgBox("Der Raum \"" + path + "\" konnte nicht geladen werden.\r\n" + grund, rt::vbOKOnly | rt::vbExclamation);
    }
    return false;
  }
  CountDown.SetEnabled(false);
  CountDown.SetInterval(0);
  CountDown.SetEnabled(true);
  ++RaumZaehler;
  CursorsVergessen();
  AktuelleRaumdatei = DateiName(path);
  RaumBild = std::move(raum.RaumBild);
  StartSkript = std::move(raum.StartSkript);
  Hotspots = std::move(raum.Hotspots);
  HotspotMax = raum.HotspotMax;
  CountDownSkript = std::move(raum.CountDownSkript);

  BildLaden(GrafikPfad + rt::Trim(DateiName(rt::Trim(RaumBild))));
  SkriptAusfuehren(StartSkript, -1, "");
  return true;
}

void TForm1::CountDown_Timer() {
  // A tick inside the item bar's frame waits is dropped: the run would wait for an animation
  // that cannot go on beneath it.
  if (LeisteGesperrt) return;
  SkriptAusfuehren(CountDownSkript, -1, "");
}

void TForm1::RM_Timer() { PruefeMusikEnde(); }

void TForm1::MausZeiger(int zeiger) { MousePointer = zeiger; }

void TForm1::MausIcon(const std::string& datei) { SetzeMausIcon(datei); }

float TForm1::ZeilenHoehe(int64_t zeilen) { return Picture1.LinesHeight(zeilen); }

void TForm1::CountDownAn(bool an) { CountDown.SetEnabled(an); }

// ---- Audio library start-up helpers ---------------------------------------------------------

int32_t LoWord(int32_t n) { return n & 65535; }
int32_t HiWord(int32_t n) { return (n / 65536) & 65535; }

std::string BassVersion() {
  return rt::Trim(std::to_string(LoWord(int32_t(rt::BASS_GetVersion())))) + "." +
         rt::Trim(std::to_string(HiWord(int32_t(rt::BASS_GetVersion()))));
}

std::string BassFehlerText(int32_t code) {
  switch (code) {
    case -1: return "Some Other Mystery Error";
    case 0: return "All is OK";
    case 1: return "Memory Error";
    case 2: return "Can't Open the File";
    case 3: return "Can't Find a Free Sound Driver";
    case 4: return "The Sample Buffer Was Lost - Please Report This!";
    case 5: return "Invalid Handle";
    case 6: return "Unsupported Format";
    case 7: return "Invalid Playback Position";
    case 8: return "BASS_Init Has Not Been Successfully Called";
    case 9: return "BASS_Start Has Not Been Successfully Called";
    case 10: return "Can't Initialize CD";
    case 11: return "BASS_CDInit Has Not Been Successfully Called";
    case 12: return "No CD in drive";
    case 13: return "Can't Play the Selected CD Track";
    case 14: return "Already Initialized";
    case 15: return "CD Has No Volume Control";
    case 16: return "Not Paused";
    case 17: return "Not An Audio Track";
    case 18: return "Can't Get a Free Channel";
    case 19: return "An Illegal Type Was Specified";
    case 20: return "An Illegal Parameter Was Specified";
    case 21: return "No 3D Support";
    case 22: return "No EAX Support";
    case 23: return "Illegal Device Number";
    case 24: return "Not Playing";
    case 25: return "Illegal Sample Rate";
    case 26: return "A3D.DLL is Not Installed";
    case 27: return "The Stream is Not a File Stream (WAV/MP3)";
    case 29: return "No Hardware Voices Available";
    case 31: return "The MOD music has no sequence data";
    case 32: return "No Internet connection could be opened";
    case 33: return "Couldn't create the file";
    case 34: return "Effects are not enabled";
    case 35: return "The channel is playing";
    case 37: return "The requested data is not available";
    case 38: return "The channel is a 'decoding channel'";
    default: return "";
  }
}
