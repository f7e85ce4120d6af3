#include "tools/contentgen/contentgen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "runtime/picture_save.h"

namespace cg {

namespace {

struct Eintrag {
  const char* name;
  void (*erzeuge)(const Ziel&);
};
std::vector<Eintrag>& Teile() {
  static std::vector<Eintrag> t;
  return t;
}

int R(rt::Color c) { return c & 255; }
int G(rt::Color c) { return (c >> 8) & 255; }
int B(rt::Color c) { return (c >> 16) & 255; }

void Le16(std::string& s, uint32_t v) {
  s += char(v & 255);
  s += char((v >> 8) & 255);
}
void Le32(std::string& s, uint32_t v) {
  Le16(s, v & 0xFFFF);
  Le16(s, v >> 16);
}

}  // namespace

Teil::Teil(const char* name, void (*erzeuge)(const Ziel&)) { Teile().push_back({name, erzeuge}); }

Bild::Bild(int w_, int h_, rt::Color farbe) : w(w_), h(h_), px(size_t(w_) * h_, farbe) {}

void Bild::Punkt(int x, int y, rt::Color c) {
  if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = c;
}

void Bild::Rechteck(int x1, int y1, int x2, int y2, rt::Color c) {
  for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
    for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x) Punkt(x, y, c);
}

void Bild::Ellipse(float cx, float cy, float rx, float ry, rt::Color c) {
  for (int y = int(cy - ry); y <= int(cy + ry) + 1; ++y)
    for (int x = int(cx - rx); x <= int(cx + rx) + 1; ++x) {
      float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1) Punkt(x, y, c);
    }
}

void Bild::Polygon(const std::vector<std::array<float, 2>>& e, rt::Color c) {
  if (e.size() < 3) return;
  float oben = e[0][1], unten = e[0][1];
  for (auto& p : e) oben = std::min(oben, p[1]), unten = std::max(unten, p[1]);
  for (int y = int(oben); y <= int(unten); ++y) {
    float py = y + 0.5f;
    std::vector<float> xs;
    for (size_t i = 0; i < e.size(); ++i) {
      auto a = e[i], b = e[(i + 1) % e.size()];
      if ((a[1] <= py) != (b[1] <= py)) xs.push_back(a[0] + (py - a[1]) / (b[1] - a[1]) * (b[0] - a[0]));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      for (int x = int(std::ceil(xs[i] - 0.5f)); x < int(std::ceil(xs[i + 1] - 0.5f)); ++x) Punkt(x, y, c);
  }
}

void Bild::Linie(float x1, float y1, float x2, float y2, float dicke, rt::Color c) {
  float len = std::hypot(x2 - x1, y2 - y1);
  int schritte = std::max(1, int(len * 2));
  for (int i = 0; i <= schritte; ++i) {
    float t = float(i) / schritte;
    Ellipse(x1 + (x2 - x1) * t, y1 + (y2 - y1) * t, dicke / 2, dicke / 2, c);
  }
}

void Bild::Verlauf(int y1, int y2, rt::Color oben, rt::Color unten) {
  for (int y = y1; y <= y2; ++y)
    Rechteck(0, y, w - 1, y, Mische(oben, unten, y2 > y1 ? float(y - y1) / float(y2 - y1) : 0));
}

void Bild::Rauschen(int x1, int y1, int x2, int y2, int staerke, uint32_t saat, rt::Color nur) {
  for (int y = std::max(0, y1); y <= std::min(h - 1, y2); ++y)
    for (int x = std::max(0, x1); x <= std::min(w - 1, x2); ++x) {
      int d = int(Zufall(saat) % uint32_t(2 * staerke + 1)) - staerke;
      rt::Color c = An(x, y);
      if (nur >= 0 && c != nur) continue;
      auto k = [d](int v) { return std::clamp(v + d, 0, 255); };
      px[size_t(y) * w + x] = rt::RGB(k(R(c)), k(G(c)), k(B(c)));
    }
}

void Bild::Durchsichtig(rt::Color schluessel) {
  alpha.assign(px.size(), 255);
  for (size_t i = 0; i < px.size(); ++i)
    if (px[i] == schluessel) alpha[i] = 0, px[i] = 0;
}

rt::Color Mische(rt::Color a, rt::Color b, float t) {
  auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
  return rt::RGB(m(R(a), R(b)), m(G(a), G(b)), m(B(a), B(b)));
}

uint32_t Zufall(uint32_t& z) {
  z = z * 1664525u + 1013904223u;
  return z >> 8;
}

std::string Cp1252(std::string_view u) {
  std::string out;
  for (size_t i = 0; i < u.size(); ++i) {
    unsigned char c = u[i];
    if (c < 0x80) {
      out += char(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < u.size()) {
      unsigned cp = ((c & 0x1F) << 6) | (u[i + 1] & 0x3F);
      out += cp < 256 ? char(cp) : '?';
      ++i;
    } else {
      throw std::runtime_error("content text outside Latin-1: " + std::string(u));
    }
  }
  return out;
}

void SchreibeDatei(const std::string& pfad, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(pfad).parent_path());
  std::ofstream f(pfad, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), std::streamsize(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + pfad);
}

void SpeichereBmp(const Bild& b, const std::string& pfad) {
  int zeile = (b.w * 3 + 3) & ~3;
  std::string s = "BM";
  Le32(s, uint32_t(54 + zeile * b.h));
  Le32(s, 0);
  Le32(s, 54);
  Le32(s, 40);
  Le32(s, uint32_t(b.w));
  Le32(s, uint32_t(b.h));
  Le16(s, 1);
  Le16(s, 24);
  for (int i = 0; i < 6; ++i) Le32(s, i == 1 ? uint32_t(zeile * b.h) : 0);
  for (int y = b.h - 1; y >= 0; --y) {
    std::string r;
    for (int x = 0; x < b.w; ++x) {
      rt::Color c = b.An(x, y);
      r += char(B(c));
      r += char(G(c));
      r += char(R(c));
    }
    r.resize(size_t(zeile), '\0');
    s += r;
  }
  SchreibeDatei(pfad, s);
}

void SpeichereJpg(const Bild& b, const std::string& pfad, int qualitaet) {
  std::filesystem::create_directories(std::filesystem::path(pfad).parent_path());
  rt::Picture p;
  p.width = b.w;
  p.height = b.h;
  p.pixels = b.px;
  if (!rt::SavePictureJpg(p, pfad, qualitaet)) throw std::runtime_error("cannot write " + pfad);
}

void SpeichereIco(const Bild& b, const std::string& pfad) {
  int maskZeile = ((b.w + 31) / 32) * 4;
  uint32_t groesse = uint32_t(40 + b.w * b.h * 4 + maskZeile * b.h);
  std::string s;
  Le16(s, 0);
  Le16(s, 1);  // icon
  Le16(s, 1);  // one image
  s += char(b.w >= 256 ? 0 : b.w);
  s += char(b.h >= 256 ? 0 : b.h);
  s += '\0';
  s += '\0';
  Le16(s, 1);
  Le16(s, 32);
  Le32(s, groesse);
  Le32(s, 6 + 16);
  Le32(s, 40);
  Le32(s, uint32_t(b.w));
  Le32(s, uint32_t(b.h * 2));  // colour and mask rows together
  Le16(s, 1);
  Le16(s, 32);
  for (int i = 0; i < 6; ++i) Le32(s, 0);
  auto a = [&](int x, int y) { return b.alpha.empty() ? 255 : b.alpha[size_t(y) * b.w + x]; };
  for (int y = b.h - 1; y >= 0; --y)
    for (int x = 0; x < b.w; ++x) {
      rt::Color c = b.An(x, y);
      s += char(B(c));
      s += char(G(c));
      s += char(R(c));
      s += char(a(x, y));
    }
  for (int y = b.h - 1; y >= 0; --y) {
    std::string r(size_t(maskZeile), '\0');
    for (int x = 0; x < b.w; ++x)
      if (a(x, y) < 128) r[size_t(x / 8)] = char(r[size_t(x / 8)] | (0x80 >> (x % 8)));
    s += r;
  }
  SchreibeDatei(pfad, s);
}

Maske MaskeAus(const std::function<bool(int, int)>& drin) {
  Maske m{};
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 48; ++y) m[x][y] = drin(x * 10 + 5, y * 10 + 5) ? 255 : 0;
  return m;
}

Maske MaskeRechteck(int x1, int y1, int x2, int y2) {
  return MaskeAus([=](int x, int y) { return x >= x1 && x <= x2 && y >= y1 && y <= y2; });
}

HotspotDef Klickbar(const std::string& name, const std::string& cursor, Maske m, Skr links, Skr rechts) {
  HotspotDef h;
  h.name = name;
  h.cursor = cursor;
  h.maske = m;
  h.skripte = {std::move(rechts), std::move(links), {}};
  h.aktiv = {true, true, false};
  return h;
}

namespace {

std::string Quote(const std::string& utf8) {
  if (utf8.find('"') != std::string::npos) throw std::runtime_error("quote inside a text: " + utf8);
  return "\"" + Cp1252(utf8) + "\"";
}

void SkriptZeilen(std::string& s, const Skr& skr) {
  s += std::to_string(int(skr.size()) - 1) + "\r\n";
  for (auto& b : skr) s += std::to_string(b.op) + "," + Quote(b.arg) + "\r\n";
}

}  // namespace

std::string SkriptText(const Skr& s) {
  std::string out;
  SkriptZeilen(out, s);
  return out;
}

std::string RaumText(const RaumDef& r) {
  std::string s = Quote(r.bild) + "\r\n";
  SkriptZeilen(s, r.start);
  s += std::to_string(int(r.hotspots.size()) - 1) + "\r\n";
  for (auto& h : r.hotspots) {
    for (int k = 0; k < 3; ++k) {
      s += h.aktiv[k] ? "-1\r\n" : "0\r\n";
      SkriptZeilen(s, h.skripte[k]);
    }
    s += Quote(h.cursor) + "\r\n" + (h.an ? "-1" : "0") + "\r\n" + Quote(h.name) + "\r\n";
    for (int x = 0; x < 64; ++x) {
      for (int y = 0; y < 48; ++y) s += std::to_string(h.maske[x][y]) + (y < 47 ? "," : "\r\n");
    }
  }
  SkriptZeilen(s, r.countdown);
  return s;
}

}  // namespace cg

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: contentgen <build folder>\n");
    return 2;
  }
  cg::Ziel ziel{argv[1]};
  for (const char* ordner : {"rooms", "graphics", "cursors", "items", "sounds", "musics", "movies", "games"})
    std::filesystem::create_directories(ziel.Ordner(ordner));
  try {
    for (auto& t : cg::Teile()) t.erzeuge(ziel);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "contentgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
