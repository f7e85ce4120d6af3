// The sample-content generator: drawing, picture, icon, room and script writers, and the list
// of content parts that each add their files to the content folders.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/surface.h"

namespace cg {

// A picture under construction; colours are 0x00BBGGRR like the runtime's.
struct Bild {
  Bild(int w, int h, rt::Color farbe = 0);
  int w, h;
  std::vector<rt::Color> px;
  std::vector<uint8_t> alpha;  // used by icons only

  void Punkt(int x, int y, rt::Color c);
  rt::Color An(int x, int y) const { return px[size_t(y) * w + x]; }
  void Rechteck(int x1, int y1, int x2, int y2, rt::Color c);  // corners inclusive
  void Ellipse(float cx, float cy, float rx, float ry, rt::Color c);
  void Polygon(const std::vector<std::array<float, 2>>& ecken, rt::Color c);
  void Linie(float x1, float y1, float x2, float y2, float dicke, rt::Color c);
  // Vertical gradient over rows y1..y2.
  void Verlauf(int y1, int y2, rt::Color oben, rt::Color unten);
  // Brightness noise inside a rectangle, the same for every run; only on pixels of colour nur
  // when that is given.
  void Rauschen(int x1, int y1, int x2, int y2, int staerke, uint32_t saat, rt::Color nur = -1);
  // Everything outside the drawn shapes becomes transparent (icons).
  void Durchsichtig(rt::Color schluessel);
};

rt::Color Mische(rt::Color a, rt::Color b, float t);
uint32_t Zufall(uint32_t& zustand);

// Windows-1252 for the German texts of the content (the sources are UTF-8).
std::string Cp1252(std::string_view utf8);

// Host files.
void SchreibeDatei(const std::string& hostpfad, const std::string& bytes);
void SpeichereBmp(const Bild& b, const std::string& hostpfad);
void SpeichereJpg(const Bild& b, const std::string& hostpfad, int qualitaet = 88);
// A 32-bit icon with its AND mask, as cursor files are.
void SpeichereIco(const Bild& b, const std::string& hostpfad);

// Scripts and rooms in the room-file format. Texts are given in UTF-8.
struct Befehl {
  int32_t op;
  std::string arg;
};
using Skr = std::vector<Befehl>;
using Maske = std::array<std::array<uint8_t, 48>, 64>;  // 255 = inside

struct HotspotDef {
  std::string name;
  std::string cursor;
  bool an = true;
  std::array<bool, 3> aktiv{false, false, false};
  std::array<Skr, 3> skripte;
  Maske maske{};
};

struct RaumDef {
  std::string bild;
  Skr start;
  std::vector<HotspotDef> hotspots;
  Skr countdown;
};

// Cells whose centre lies inside the shape.
Maske MaskeAus(const std::function<bool(int x, int y)>& drin);
Maske MaskeRechteck(int x1, int y1, int x2, int y2);
// A switched-on hotspot whose left and right button scripts may both run.
HotspotDef Klickbar(const std::string& name, const std::string& cursor, Maske m, Skr links, Skr rechts);

std::string SkriptText(const Skr& s);
std::string RaumText(const RaumDef& r);

// The build folder the content goes to, and the eight content folders in it.
struct Ziel {
  std::string basis;
  std::string Ordner(const std::string& name) const { return basis + "/" + name + "/"; }
};

// Each part of the content registers itself with a static Teil.
struct Teil {
  Teil(const char* name, void (*erzeuge)(const Ziel&));
};

}  // namespace cg
