// Laying out captions: line breaks and word wrap for labels and buttons, and the part of a long
// line that a clip can show. Widths only grow as characters are added to a stretch of text, so
// the longest stretch that fits is found by doubling and halving: the cost grows with the
// length of the text, where trying every shorter stretch would make it grow with its cube.
#include <algorithm>
#include <unordered_map>

#include "runtime/forms_internal.h"
#include "runtime/lines.h"

namespace rt {

const int* GlyphAdvances(const Font& f) {
  static std::unordered_map<uint64_t, std::vector<int>> cache;
  auto [it, fresh] = cache.try_emplace(Mix(0, f));
  if (fresh) {
    it->second.assign(256, 0);
    for (int c = 1; c < 256; ++c) it->second[size_t(c)] = FontTextWidth(f, std::string(1, char(c)));
  }
  return it->second.data();
}

namespace {

class Wrapper {
 public:
  Wrapper(const Font& f, int maxW, std::vector<std::string>& lines, size_t maxLines)
      : font_(f), maxW_(maxW), lines_(lines), maxLines_(maxLines) {}

  // Words move to the next line when the width is exceeded; a word still wider than its line
  // there breaks between characters.
  void Paragraph(std::string_view p) {
    p_ = p;
    if (p.empty()) Push(0, 0);
    size_t ls = 0, le = 0;  // the line being filled
    for (size_t i = 0; i < p.size() && !Full();) {
      // Next word with the blanks before it.
      size_t j = i;
      while (j < p.size() && p[j] == ' ') ++j;
      while (j < p.size() && p[j] != ' ') ++j;
      if (le > ls && !Fits(ls, j)) {
        Push(ls, le - ls);
        ls = i;
        while (ls < j && p[ls] == ' ') ++ls;
      }
      le = j;
      while (le - ls > 1 && !Full() && !Fits(ls, le)) {
        const size_t k = LongestFit(ls, le - ls - 1);
        Push(ls, k);
        ls += k;
      }
      i = j;
    }
    if (le > ls && !Full()) Push(ls, le - ls);
  }

  bool Full() const { return lines_.size() >= maxLines_; }

 private:
  void Push(size_t start, size_t n) { lines_.emplace_back(p_.substr(start, n)); }

  int Width(size_t start, size_t n) { return FontTextWidth(font_, p_.substr(start, n)); }

  // Whether p[b, e) fits; a long stretch is turned down by the first of its doubling prefixes
  // that is too wide, so the answer costs about as much as the part that fits.
  bool Fits(size_t b, size_t e) {
    for (size_t m = 64; m < e - b; m *= 2)
      if (Width(b, m) > maxW_) return false;
    return Width(b, e - b) <= maxW_;
  }

  // The most characters from start (1 to most) that fit, 1 when not even one does. Guessed
  // from the glyph advances, then settled by measuring: outward in doubling steps, then halving.
  size_t LongestFit(size_t start, size_t most) {
    const int* adv = GlyphAdvances(font_);
    size_t guess = 0;
    for (int w = 0; guess < most; ++guess) {
      w += adv[uint8_t(p_[start + guess])];
      if (w > maxW_) break;
    }
    guess = std::clamp<size_t>(guess, 1, most);
    auto fits = [&](size_t k) { return Width(start, k) <= maxW_; };
    size_t lo = 0, hi = most + 1;  // lo fits (0 trivially), hi does not (or lies past most)
    size_t step = 1;
    if (fits(guess)) {
      lo = guess;
      while (lo + step <= most && fits(lo + step)) lo += step, step *= 2;
      hi = std::min(lo + step, most + 1);
    } else {
      hi = guess;
      while (hi > step && !fits(hi - step)) hi -= step, step *= 2;
      lo = hi > step ? hi - step : 0;
    }
    while (hi - lo > 1) {
      const size_t mid = lo + (hi - lo) / 2;
      (fits(mid) ? lo : hi) = mid;
    }
    return std::max<size_t>(lo, 1);
  }

  const Font& font_;
  const int maxW_;
  std::vector<std::string>& lines_;
  const size_t maxLines_;
  std::string_view p_;
};

}  // namespace

std::vector<std::string> LayoutText(const Font& font, std::string_view text, int maxW, bool wrap,
                                    size_t maxLines) {
  std::vector<std::string> lines;
  Wrapper wrapper(font, maxW, lines, maxLines);
  if (wrapper.Full()) return lines;
  ForEachLine(text, [&](std::string_view p, bool) {
    if (wrap && maxW > 0) wrapper.Paragraph(p);
    else lines.emplace_back(p);
    return !wrapper.Full();
  });
  return lines;
}

LinePart VisiblePart(const Font& f, std::string_view line, int x, int left, int right) {
  LinePart part{0, line.size(), x};
  if (line.size() <= kMeasurePiece) return part;
  // Whole pieces, as the line's width is summed: the part starts where its width says. A cap on
  // its length keeps glyphs without width from making it the whole line.
  const size_t cap = size_t(std::max(right - left, 0)) + 2 * kMeasurePiece;
  int64_t pos = x;
  size_t i = 0;
  for (; i < line.size() && pos < right && i - part.begin < cap; i += kMeasurePiece) {
    const int w = FontTextWidth(f, line.substr(i, kMeasurePiece));
    if (pos + w <= left) part.begin = i + kMeasurePiece, part.x = int(pos + w);
    pos += w;
  }
  part.end = std::max(part.begin, std::min(i, line.size()));
  return part;
}

}  // namespace rt
