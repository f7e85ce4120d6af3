// The text band: a black band with white edges that eases open across the middle of the scene,
// shows the text centred line by line, and closes again onto the clean scene.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "engine/form1.h"
#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/lines.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

// "#" breaks a line like a carriage return. The text is read in place rather than copied with the
// marks replaced: a script text may take tens of megabytes, of which the band shows a few lines.
bool Umbruch(char c) { return c == '#' || c == '\r'; }

// TextHeight of the text with every "#" made a carriage return.
float BandHoehe(const rt::Surface& s, std::string_view text) {
  return s.LinesHeight(int64_t(rt::ForEachLine(text, [](std::string_view, bool) {}, '#')));
}

// The colour number of a line: "$" and a hexadecimal digit choose it, else white.
int TextFarbe(std::string_view zeile) {
  if (zeile.empty() || zeile[0] != '$') return 15;
  if (zeile.size() < 2) return 15;
  int n = static_cast<unsigned char>(rt::UCase(zeile.substr(1, 1))[0]) - 48;
  if (n > 9) n -= 7;
  // Anything that names no colour prints white rather than ending the game.
  return n >= 0 && n <= 15 ? n : 15;
}

}  // namespace

void TForm1::ZeigText(const std::string& text) {
  const float sw = float(Picture1.ScaleWidth()), sh = float(Picture1.ScaleHeight());
  const float mitte = sh / 2;
  const float hoehe = BandHoehe(Picture1, text);
  const float h = hoehe / 2 + 2;
  double a = 0;
  do {
    const double r = std::sin(a) * h;
    Picture1.Line(0, float(mitte - r + 1), sw, float(mitte + r - 1), rt::QBColor(0), rt::Surface::BoxFilled);
    Picture1.Line(0, float(mitte - r), sw, float(mitte - r), rt::QBColor(15));
    Picture1.Line(0, float(mitte + r), sw, float(mitte + r), rt::QBColor(15));
    WarteFrame(16);
    a += 0.1;
  } while (a < double(PiWert / 2));

  Picture1.ForeColor = rt::QBColor(15);
  // Trimming the blanks around the text takes no line away: its height is the whole text's.
  Picture1.CurrentY = float(mitte - float(rt::CLng(hoehe) / 2) + 1);
  const std::string_view t = text;
  size_t start = 0;
  for (;;) {
    size_t ende = start;
    while (ende < t.size() && !Umbruch(t[ende])) ++ende;
    std::string_view zeile = t.substr(start, ende - start);
    Picture1.ForeColor = rt::QBColor(TextFarbe(zeile));
    if (!zeile.empty() && zeile[0] == '$') zeile.remove_prefix(std::min<size_t>(2, zeile.size()));
    Picture1.CurrentX = float(rt::CLng(sw) / 2 - rt::CLng(Picture1.TextWidth(rt::TrimView(zeile))) / 2);
    Picture1.Print(zeile);
    if (ende == t.size()) break;
    start = ende + 1;
  }
}

void TForm1::WegText(const std::string& text) {
  const float hoehe = BandHoehe(Picture1, text);
  const int sw = Picture1.ScaleWidth(), sh = Picture1.ScaleHeight();
  const float mitte = float(sh) / 2;
  auto zeileZurueck = [&](long long y) {
    rt::BitBlt(Picture1.hDC(), 0, int(y), sw, 1, Picture3.hDC(), 0, int(y), rt::SRCCOPY);
  };
  float a = PiWert / 2;
  Picture1.SetAutoRedraw(false);
  do {
    const float r = float(std::sin(double(a)) * double(hoehe / 2 + 2));
    Picture1.Line(0, mitte - r, float(sw), mitte - r, rt::QBColor(15));
    long long zeile = rt::CLng(double(mitte) - r - 1);
    if (zeile < 0) zeile = 0;
    zeileZurueck(zeile);
    Picture1.Line(0, mitte + r, float(sw), mitte + r, rt::QBColor(15));
    zeile = rt::CLng(double(mitte) + r + 1);
    if (sh - 1 < zeile) zeile = sh - 1;
    zeileZurueck(zeile);
    WarteFrame(16);
    a = float(a - 0.1);
  } while (a > 0);
  const int streifen = int(rt::CLng(mitte - 2));
  rt::BitBlt(Picture1.hDC(), 0, streifen, sw, 4, Picture3.hDC(), 0, streifen, rt::SRCCOPY);
  Picture1.SetAutoRedraw(true);
  Picture1.SetPicture(Picture3.Image());
}
