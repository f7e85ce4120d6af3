// Fonts through SDL_ttf: the classic Windows bitmap fonts by path, the others through
// fontconfig; text measuring and printing on surfaces.
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>
#include <unordered_map>

#include "runtime/lines.h"
#include "runtime/pixel_ops.h"
#include "runtime/surface.h"
#include "runtime/text.h"

namespace rt {

namespace {

constexpr const char* kWineFonts = "/usr/share/wine/fonts/";

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct Cached {
  TTF_Font* font = nullptr;
  int lineHeight = 16;
  int scale = 1;  // bitmap faces asked for at a multiple of their size are drawn enlarged
  // Measured lines: auto-sized labels measure their captions on every look at the window.
  std::unordered_map<std::string, int> widths;
  // Faces set with advances of our own, by Windows-1252 byte (empty: the face's own): each
  // glyph's advance and the right edge of its picture, and the glyphs as rendered.
  std::vector<int> advances, rightEdges;
  std::vector<TextRun> glyphs;
};

// Opened fonts by file, size and style; kept until the process ends.
struct FontCache {
  std::map<std::tuple<std::string, int, int, int>, Cached> fonts;
  // Font settings as asked for, so that finding a face (fontconfig is slow) happens once.
  std::map<std::tuple<std::string, float, int>, Cached*> bySettings;
  bool ready = TTF_WasInit() || TTF_Init() == 0;
  bool fontconfigUsed = false;
  ~FontCache() {
    for (auto& entry : fonts)
      if (entry.second.font) TTF_CloseFont(entry.second.font);
    if (ready) TTF_Quit();
    if (fontconfigUsed) FcFini();
  }
};

FontCache& Store() {
  static FontCache store;
  return store;
}

// Font file of a family through fontconfig, "" when there is none.
std::string FontconfigFile(const std::string& family, bool bold, bool italic) {
  if (!FcInit()) return "";
  Store().fontconfigUsed = true;
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pat, &result);
  std::string file;
  FcChar8* path = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
    file = reinterpret_cast<const char*>(path);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pat);
  return file;
}

struct Resolved {
  std::string file;
  int size;     // pixels for scalable faces, the strike's index for bitmap faces
  bool bitmap;  // a face with fixed strikes: bold and italic are made by the library
  int scale = 1;
  bool tight = false;  // letters set one blank column apart
};

// The classic screen fonts exist only in a few pixel heights (strikes).
struct BitmapFace {
  const char* name;
  const char* file;
  std::vector<int> heights;
  const char* largeStandIn;  // scalable family for sizes far above the largest strike; without
                             // one, the strike is enlarged by whole multiples like the classic
                             // font mapper does
  // Strikes up to this height carry a blank column on both sides of most capitals, twice the
  // gap between small letters, and captions sized for the classic face come out a few pixels
  // too wide ("Merla" in its 25-pixel label): their letters keep only the column on the left.
  int tightUpTo = 0;
};
const BitmapFace kBitmapFaces[] = {
    {"fixedsys", "fixedsys.ttf", {15}, nullptr},
    {"ms sans serif", "ms_sans_serif.ttf", {13, 16, 20}, "Liberation Sans", 13},
};

// Maps a font name and size to a file. Bitmap fonts are opened by path because fontconfig
// refuses them.
Resolved ResolveFont(const Font& f) {
  const double em = double(f.size) * 96.0 / 72.0;
  const int px = std::clamp(int(std::lround(em)), 1, 512);
  std::string name = Lower(f.name);
  if (name.empty()) name = "ms sans serif";
  for (const BitmapFace& b : kBitmapFaces) {
    if (name != b.name) continue;
    // A strike's em is about four fifths of its height; take the largest strike that is not
    // bigger than asked, as the classic font mapper does.
    const double largest = b.heights.back() * 0.8;
    if (b.largeStandIn && em > largest * 1.25) {
      return {FontconfigFile(b.largeStandIn, f.bold, f.italic), px, false};
    }
    int index = 0;
    for (size_t i = 0; i < b.heights.size(); ++i)
      if (b.heights[i] * 0.8 <= em + 0.5) index = int(i);
    const int scale = b.largeStandIn ? 1 : std::clamp(int(em / largest), 1, 16);
    return {std::string(kWineFonts) + b.file, index, true, scale, scale == 1 && b.heights[size_t(index)] <= b.tightUpTo};
  }
  std::string family = f.name;
  if (name == "courier") family = "Courier New";
  return {FontconfigFile(family, f.bold, f.italic), px, false};
}

Cached& OpenFace(const Font& f);

uint32_t CodePoint(char c) {
  const std::string u = ToUtf8(std::string(1, c));
  const auto b = [&u](size_t i) { return uint32_t(uint8_t(u[i])); };
  if (u.size() == 1) return b(0);
  if (u.size() == 2) return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
  return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
}

// A letter's advance ends where its picture ends: the blank column on its left is the gap.
// The blank between words loses a column too, so that the words' gap stays three times the
// letters'. Digits keep their common width and punctuation its space.
void SetTight(Cached& c) {
  c.advances.assign(256, 0);
  c.rightEdges.assign(256, 0);
  c.glyphs.assign(256, TextRun{});
  for (int b = 1; b < 256; ++b) {
    const std::string ch(1, char(b));
    int minx = 0, maxx = 0, miny = 0, maxy = 0, adv = 0;
    if (TTF_GlyphMetrics32(c.font, CodePoint(char(b)), &minx, &maxx, &miny, &maxy, &adv) != 0) continue;
    const bool letter = UCase(ch) != LCase(ch);
    c.advances[size_t(b)] = letter && maxx > minx ? std::min(adv, maxx) : b == ' ' ? adv - 1 : adv;
    c.rightEdges[size_t(b)] = maxx;
  }
}

// Width of a line set with the face's own advances: the pen's end or the furthest glyph edge.
int TightWidth(const Cached& c, const std::string& line) {
  int pen = 0, w = 0;
  for (char ch : line) {
    const size_t b = uint8_t(ch);
    w = std::max(w, pen + c.rightEdges[b]);
    pen += c.advances[b];
  }
  return std::max(w, pen);
}

// A solid rendering as coverage, each pixel enlarged k times; takes the surface.
void Coverage(SDL_Surface* s, int k, TextRun& run) {
  run.width = s->w * k;
  run.height = s->h * k;
  run.coverage.assign(size_t(run.width) * run.height, 0);
  SDL_LockSurface(s);
  for (int y = 0; y < run.height; ++y) {
    const auto* row = static_cast<const uint8_t*>(s->pixels) + size_t(y / k) * s->pitch;
    for (int x = 0; x < run.width; ++x) run.coverage[size_t(y) * run.width + x] = row[x / k] ? 255 : 0;
  }
  SDL_UnlockSurface(s);
  SDL_FreeSurface(s);
}

const TextRun& Glyph(Cached& c, char ch) {
  TextRun& run = c.glyphs[uint8_t(ch)];
  if (run.height || !ch) return run;
  run.height = 1;  // tried: a glyph that does not render stays blank
  if (SDL_Surface* s = TTF_RenderGlyph32_Solid(c.font, CodePoint(ch), SDL_Color{255, 255, 255, 255}))
    Coverage(s, 1, run);
  return run;
}

// The line glyph by glyph at the face's own advances (tight faces are never enlarged).
TextRun TightLine(Cached& c, const std::string& line) {
  TextRun out;
  out.width = TightWidth(c, line);
  out.height = c.lineHeight;
  out.coverage.assign(size_t(out.width) * out.height, 0);
  int pen = 0;
  for (char ch : line) {
    const TextRun& g = Glyph(c, ch);
    for (int y = 0; y < std::min(g.height, out.height); ++y)
      for (int x = 0; x < g.width && pen + x < out.width; ++x)
        if (g.coverage[size_t(y) * g.width + x]) out.coverage[size_t(y) * out.width + pen + x] = 255;
    pen += c.advances[uint8_t(ch)];
  }
  return out;
}

Cached& OpenFont(const Font& asked) {
  Font f = asked;
  if (!(f.size > 0 && f.size < 2000)) f.size = 8.25f;  // NaN and absurd sizes too
  const auto key = std::make_tuple(f.name, f.size, f.bold | f.italic << 1 | f.underline << 2);
  auto& known = Store().bySettings;
  auto it = known.find(key);
  if (it == known.end()) it = known.emplace(key, &OpenFace(f)).first;
  return *it->second;
}

Cached& OpenFace(const Font& f) {
  auto& cache = Store().fonts;
  const bool ttfReady = Store().ready;
  Resolved r = ResolveFont(f);
  int style = (r.bitmap && f.bold ? TTF_STYLE_BOLD : 0) |
              (r.bitmap && f.italic ? TTF_STYLE_ITALIC : 0) | (f.underline ? TTF_STYLE_UNDERLINE : 0);
  const auto key = std::make_tuple(r.file, r.size, style, r.scale);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  Cached c;
  if (ttfReady) {
    c.font = TTF_OpenFont(r.file.c_str(), r.size);
    if (!c.font) {
      // A missing file falls back to the default face rather than drawing nothing.
      std::fprintf(stderr, "Font \"%s\": cannot open %s; using MS Sans Serif\n", f.name.c_str(),
                   r.file.c_str());
      c.font = TTF_OpenFont((std::string(kWineFonts) + "ms_sans_serif.ttf").c_str(), 0);
      style |= (f.bold ? TTF_STYLE_BOLD : 0) | (f.italic ? TTF_STYLE_ITALIC : 0);
    }
  }
  if (c.font) {
    TTF_SetFontStyle(c.font, style);
    TTF_SetFontHinting(c.font, TTF_HINTING_MONO);
    c.scale = r.scale;
    c.lineHeight = std::max(1, TTF_FontHeight(c.font)) * c.scale;
    if (r.tight) SetTight(c);
  } else {
    c.lineHeight = 16;
  }
  return cache.emplace(key, c).first->second;
}

}  // namespace

int FontLineHeight(const Font& f) { return OpenFont(f).lineHeight; }

int FontTextWidth(const Font& f, std::string_view piece) {
  if (piece.empty()) return 0;
  if (piece.size() > kMeasurePiece) {
    int64_t w = 0;
    for (size_t i = 0; i < piece.size(); i += kMeasurePiece) w += FontTextWidth(f, piece.substr(i, kMeasurePiece));
    return int(std::min<int64_t>(w, INT_MAX));
  }
  const std::string line(piece);
  Cached& c = OpenFont(f);
  if (!c.font) return int(line.size()) * (c.lineHeight / 2);
  auto known = c.widths.find(line);
  if (known != c.widths.end()) return known->second;
  int w = 0, h = 0;
  if (!c.advances.empty()) w = TightWidth(c, line);
  else if (TTF_SizeUTF8(c.font, ToUtf8(line).c_str(), &w, &h) != 0) return 0;
  if (c.widths.size() >= 4096) c.widths.clear();
  c.widths.emplace(line, w * c.scale);
  return w * c.scale;
}

TextRun RenderTextLine(const Font& f, const std::string& line) {
  TextRun run;
  Cached& c = OpenFont(f);
  run.height = c.lineHeight;
  if (line.empty() || !c.font) return run;
  if (!c.advances.empty()) return TightLine(c, line);
  // Solid rendering: crisp, unsmoothed glyphs like the classic screen fonts.
  if (SDL_Surface* s = TTF_RenderUTF8_Solid(c.font, ToUtf8(line).c_str(), SDL_Color{255, 255, 255, 255}))
    Coverage(s, c.scale, run);
  return run;
}

// ---- Text on surfaces ------------------------------------------------------------------------

void Surface::DrawText(std::string_view text, bool newline) {
  const int lh = FontLineHeight(font);
  const Color c = ForeColor & 0xFFFFFF;
  std::vector<Color>& px = DrawPixels();
  ForEachLine(text, [&](std::string_view line, bool last) {
    const int ox = PixelOf(CurrentX), oy = PixelOf(CurrentY);
    const LinePart part = oy < h_ && oy + 2 * lh > 0 ? VisiblePart(font, line, ox, 0, w_) : LinePart{};
    if (part.end > part.begin) {
      const TextRun run = RenderTextLine(font, std::string(line.substr(part.begin, part.end - part.begin)));
      for (int y = std::max(0, -oy); y < run.height && oy + y < h_; ++y) {
        const uint8_t* cov = run.coverage.data() + size_t(y) * run.width;
        for (int x = std::max(0, -part.x); x < run.width && part.x + x < w_; ++x) {
          Color& out = px[size_t(oy + y) * w_ + (part.x + x)];
          if (cov[x]) out = BlendColor(out, c, cov[x]);
        }
      }
    }
    if (last && !newline) {
      CurrentX = float(ox + FontTextWidth(font, line));
    } else {
      CurrentX = 0;
      CurrentY += float(lh);
    }
  });
}

void Surface::Print(std::string_view text) { DrawText(text, true); }
void Surface::PrintNoNewline(std::string_view text) { DrawText(text, false); }

float Surface::TextWidth(std::string_view text) const {
  int w = 0;
  ForEachLine(text, [&](std::string_view line, bool) { w = std::max(w, FontTextWidth(font, line)); });
  return float(w);
}

size_t Surface::LineCount(std::string_view text) { return ForEachLine(text, [](std::string_view, bool) {}); }

float Surface::LinesHeight(int64_t lines) const { return float(int64_t(FontLineHeight(font)) * lines); }

float Surface::TextHeight(std::string_view text) const { return LinesHeight(int64_t(LineCount(text))); }

}  // namespace rt
