#include "runtime/text.h"

#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace rt {

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows leaves undefined keep their C1
// control code point, so every byte survives a round trip.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char FromCodePoint(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

unsigned char Upper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
  }
}

unsigned char Lower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Length of the number at s[i..]: optional sign, digits with an optional fraction, then an
// optional exponent that counts only when it has digits. 0 when no digit is there.
size_t NumberLength(std::string_view s, size_t i) {
  size_t j = i;
  if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
  size_t digits = 0;
  while (j < s.size() && IsDigit(s[j])) ++j, ++digits;
  if (j < s.size() && s[j] == '.') {
    ++j;
    while (j < s.size() && IsDigit(s[j])) ++j, ++digits;
  }
  if (digits == 0) return 0;
  if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
    size_t k = j + 1;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    if (k < s.size() && IsDigit(s[k])) {
      while (k < s.size() && IsDigit(s[k])) ++k;
      j = k;
    }
  }
  return j - i;
}

double ParseNumber(std::string_view num) {
  // from_chars takes no leading '+' and a fraction without digits before the point is fine.
  bool negative = false;
  if (!num.empty() && (num[0] == '+' || num[0] == '-')) {
    negative = num[0] == '-';
    num.remove_prefix(1);
  }
  double v = 0;
  auto r = std::from_chars(num.data(), num.data() + num.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large saturates, too small is zero: decide by the decimal magnitude.
    size_t e = num.find_first_of("eE");
    std::string_view mant = num.substr(0, e);
    long long exp10 = 0;
    if (e != std::string_view::npos) {
      std::string_view x = num.substr(e + 1);
      bool neg = !x.empty() && x[0] == '-';
      for (char c : x)
        if (IsDigit(c) && exp10 < 100000) exp10 = exp10 * 10 + (c - '0');
      if (neg) exp10 = -exp10;
    }
    size_t point = mant.find('.');
    if (point == std::string_view::npos) point = mant.size();
    size_t first = mant.find_first_of("123456789");
    long long pos = first == std::string_view::npos ? -1000000
                    : first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    v = pos + exp10 > 0 ? DBL_MAX : 0.0;
  }
  return negative ? -v : v;
}

long long Saturate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2233720368547758e18) return LLONG_MAX;
  if (v <= -9.2233720368547758e18) return LLONG_MIN;
  return static_cast<long long>(v);
}

}  // namespace

std::string ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (char ch : cp1252) {
    auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) out += ch;
    else if (c < 0xA0) AppendUtf8(out, kHigh[c - 0x80]);
    else AppendUtf8(out, c);
  }
  return out;
}

std::string FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    int extra = c >= 0xF0 && c <= 0xF4 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : -1;
    if (c >= 0xF5) extra = -1;
    uint32_t cp = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : c & 0x1F;
    bool ok = extra > 0 && i + extra < utf8.size();
    for (int k = 1; ok && k <= extra; ++k) {
      auto cc = static_cast<unsigned char>(utf8[i + k]);
      if ((cc & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed.
    if (ok && ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
               (cp >= 0xD800 && cp <= 0xDFFF)))
      ok = false;
    if (!ok) {
      out += '?';
      ++i;
      // Skip the continuation bytes of the broken sequence.
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
      continue;
    }
    out += FromCodePoint(cp);
    i += extra + 1;
  }
  return out;
}

std::string UCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(Upper(static_cast<unsigned char>(c)));
  return out;
}

std::string LCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
  return out;
}

std::string LTrim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
  size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string_view TrimView(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') + 1 - b);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::string Left(std::string_view s, int n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string Right(std::string_view s, int n) {
  if (n <= 0) return {};
  size_t k = std::min(s.size(), static_cast<size_t>(n));
  return std::string(s.substr(s.size() - k));
}

std::string Mid(std::string_view s, int start, int len) {
  if (start < 1) start = 1;
  size_t from = static_cast<size_t>(start) - 1;
  if (from >= s.size() || len == 0) return {};
  if (len < 0) return std::string(s.substr(from));
  return std::string(s.substr(from, static_cast<size_t>(len)));
}

int InStr(int start, std::string_view hay, std::string_view needle) {
  if (start < 1) start = 1;
  size_t from = static_cast<size_t>(start) - 1;
  if (from > hay.size()) return 0;
  size_t p = hay.find(needle, from);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

int InStrRev(std::string_view hay, std::string_view needle) {
  if (needle.empty()) return static_cast<int>(hay.size());
  size_t p = hay.rfind(needle);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

double Val(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  size_t n = NumberLength(s, i);
  return n == 0 ? 0.0 : ParseNumber(s.substr(i, n));
}

bool IsNumeric(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  size_t n = NumberLength(s, i);
  if (n == 0) return false;
  i += n;
  while (i < s.size() && IsSpace(s[i])) ++i;
  return i == s.size();
}

std::string Str(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? " Inf" : "-Inf";
  if (v == 0) return " 0";
  // The shortest digits that read back as the same value, then laid out the classic way:
  // plain decimals for exponents -5 < e < 15, else "d.dddE+xx"; no zero before the point.
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
  std::string sci(buf, r.ptr);
  size_t epos = sci.find('e');
  std::string digits;
  for (size_t k = 0; k < epos; ++k)
    if (sci[k] != '.') digits += sci[k];
  int exp = std::atoi(sci.c_str() + epos + 1);
  std::string body;
  if (exp > -5 && exp < 15) {
    int intDigits = exp + 1;  // digits before the point
    if (intDigits <= 0) {
      body = "." + std::string(static_cast<size_t>(-intDigits), '0') + digits;
    } else if (static_cast<size_t>(intDigits) >= digits.size()) {
      body = digits + std::string(static_cast<size_t>(intDigits) - digits.size(), '0');
    } else {
      body = digits.substr(0, static_cast<size_t>(intDigits)) + "." +
             digits.substr(static_cast<size_t>(intDigits));
    }
  } else {
    body = digits.substr(0, 1);
    if (digits.size() > 1) body += "." + digits.substr(1);
    char e[16];
    std::snprintf(e, sizeof e, "E%c%02d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
    body += e;
  }
  return (v < 0 ? "-" : " ") + body;
}

long long CLng(double v) { return Saturate(std::nearbyint(v)); }

long long Int(double v) { return Saturate(std::floor(v)); }

}  // namespace rt
