#include "engine/module2.h"

#include "runtime/audio.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

intptr_t g_filmFenster = 0;

int Sende(const std::string& befehl, std::string* antwort = nullptr, int laenge = 0) {
  return rt::mciSendString(befehl, antwort, laenge);
}

// The name the file system gives the last component of `teil`; false when there is none.
bool Finde(const std::string& teil, std::string& name) {
  size_t schnitt = teil.find_last_of('\\');
  std::string ordner = schnitt == std::string::npos ? "" : teil.substr(0, schnitt + 1);
  std::string gesucht = schnitt == std::string::npos ? teil : teil.substr(schnitt + 1);
  if (gesucht.empty()) return false;
  if (ordner.empty()) ordner = ".\\";
  if (gesucht == "." || gesucht == "..") {
    if (!rt::FolderExists(ordner + gesucht)) return false;
    name = gesucht;
    return true;
  }
  if (gesucht.find_first_of("*?") != std::string::npos) {
    std::vector<std::string> treffer = rt::ListFolder(ordner, gesucht, true, true);
    if (treffer.empty()) return false;
    name = treffer.front();
    return true;
  }
  // Looked up by its name rather than in a folder listing, which leaves out hidden entries: a
  // game installed under "~/.local" must find its music.
  const std::string pfad = ordner + gesucht;
  if (!rt::FileExists(pfad) && !rt::FolderExists(pfad)) return false;
  const std::string host = rt::HostPath(pfad);
  name = rt::FromUtf8(host.substr(host.find_last_of('/') + 1));
  return !name.empty();
}

}  // namespace

void SetzeFilmFenster(intptr_t hWnd) { g_filmFenster = hWnd; }

void SpieleMusik(const std::string& pfad) {
  AktuelleMusik = pfad;
  Sende("close vbSong");
  if (!rt::FileExists(pfad)) return;
  std::string kurz;
  KurzerPfad(pfad, kurz);
  Sende("open " + kurz + " alias vbSong");
  Sende("play vbSong");
}

void PruefeMusikEnde() {
  std::string puffer(200, ' ');
  Sende("status vbSong length", &puffer, 200);
  long long laenge = rt::CLng(rt::Val(puffer));
  Sende("status vbSong position", &puffer, 200);
  double position = rt::Val(puffer);
  if (position >= double(laenge)) SpieleMusik(AktuelleMusik);
}

void StoppeMusik() {
  Sende("close vbSong");
  Sende("open F alias vbSong");
}

void SpieleFilm(const std::string& pfad) {
  Sende("close vbVideo");
  if (pfad.empty()) return;
  std::string kurz;
  KurzerPfad(pfad, kurz);
  const std::string fenster = " parent " + std::to_string(g_filmFenster) + " Style " +
                              std::to_string(1073741824);
  if (Sende("open " + kurz + " alias vbVideo" + fenster) == rt::MCIERR_INVALID_DEVICE_NAME)
    Sende("open " + kurz + " type MPEGVideo alias vbVideo" + fenster);
  Sende("put vbVideo window at 0 0 640 480");
  Sende("play vbVideo");
}

void SchliesseFilm() { Sende("close vbVideo"); }

std::string KurzerPfad(const std::string& pfad, std::string& kurz) {
  std::string lang;
  kurz.clear();
  int a = rt::InStr(pfad, ":\\");
  if (a > 0) lang = kurz = rt::Left(pfad, a);
  // A path with neither drive nor leading backslash is relative: its first component must not
  // become a root folder.
  bool relativ = a == 0 && (pfad.empty() || pfad[0] != '\\');
  bool erster = true;
  int p = a + 1;
  for (;;) {
    int b = rt::InStr(p + 1, pfad, "\\");
    std::string teil = b > 0 ? rt::Left(pfad, b - 1) : pfad;
    std::string name;
    if (!Finde(teil, name)) break;
    std::string trenner = (relativ && erster) ? "" : "\\";
    lang += trenner + name;
    kurz += trenner + name;
    erster = false;
    p = b;
    if (b == 0) break;
  }
  return lang;
}

std::string BisNullzeichen(const std::string& text) {
  size_t n = text.find('\0');
  return n == std::string::npos ? text : text.substr(0, n);
}
