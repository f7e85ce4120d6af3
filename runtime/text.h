// Texts inside the system are single-byte Windows-1252 held in std::string; UTF-8 appears only at
// the boundaries (rendering, window titles, host file names). Positions are 1-based where the
// callers count like that (InStr, Mid).
#pragma once
#include <string>
#include <string_view>

namespace rt {

std::string ToUtf8(std::string_view cp1252);
// Characters without a Windows-1252 form become '?'.
std::string FromUtf8(std::string_view utf8);

// Upper/lower case for ASCII and the Latin-1 letters (ä -> Ä, ö -> Ö, ü -> Ü, é -> É ...).
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
std::string Trim(std::string_view s);   // blanks (' ') only, as the callers expect
std::string_view TrimView(std::string_view s);  // the same, within the text itself
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

std::string Left(std::string_view s, int n);
std::string Right(std::string_view s, int n);
// start counts from 1 (below 1 counts as 1); len < 0 means "to the end". Counts below 0 given
// to Left/Right give the empty text.
std::string Mid(std::string_view s, int start, int len = -1);
// First position (from 1) of needle in hay at or after start; 0 when not found. An empty needle
// is found at start (when start <= length + 1).
int InStr(int start, std::string_view hay, std::string_view needle);
inline int InStr(std::string_view hay, std::string_view needle) { return InStr(1, hay, needle); }
int InStrRev(std::string_view hay, std::string_view needle);

// The number at the start of the text: leading blanks skipped, optional sign, decimal with
// optional fraction and exponent; no number reads as 0, a number too large for a double reads as
// the largest double.
double Val(std::string_view s);
// Whether the whole text (blanks around allowed) is a number.
bool IsNumeric(std::string_view s);
// A number as display text: one leading blank before a non-negative number ("Str"); the shortest
// digits that read back as the same value, no zero before the point (" .5"), whole numbers
// without a fraction, and the form " 1E+15" / " 1E-05" outside that range.
std::string Str(double v);
// Whole-number conversion: round to nearest, ties to even. Values out of range saturate, NaN is 0.
long long CLng(double v);
// Rounded down (toward minus infinity).
long long Int(double v);

}  // namespace rt
