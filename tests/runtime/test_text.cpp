#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "runtime/text.h"

using namespace rt;

TEST(Text, Cp1252RoundTripsEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string utf8 = ToUtf8(all);
  EXPECT_EQ(FromUtf8(utf8), all);
  // The high range uses the Windows table, not Latin-1 control codes.
  EXPECT_EQ(ToUtf8("\x80"), "\xE2\x82\xAC");        // euro sign
  EXPECT_EQ(ToUtf8("\x84\x93"), "\xE2\x80\x9E\xE2\x80\x9C");
  EXPECT_EQ(ToUtf8("\x9F"), "\xC5\xB8");            // Y with diaeresis
  EXPECT_EQ(ToUtf8("Men\xFC"), "Men\xC3\xBC");
  EXPECT_EQ(FromUtf8("Pr\xC3\xBCgel \xE2\x82\xAC"), "Pr\xFCgel \x80");
}

TEST(Text, FromUtf8ReplacesWhatHasNoSingleByteForm) {
  EXPECT_EQ(FromUtf8("a\xE4\xB8\xAD" "b"), "a?b");        // CJK character
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80!"), "?!");          // emoji
  EXPECT_EQ(FromUtf8("x\xC3"), "x?");                      // cut-off sequence
  EXPECT_EQ(FromUtf8("\xC3(z"), "?(z");                    // broken continuation
  EXPECT_EQ(FromUtf8("\xC0\xAF"), "?");                    // overlong '/'
  EXPECT_EQ(FromUtf8("\xED\xA0\x80q"), "?q");              // surrogate
  EXPECT_EQ(FromUtf8("\x80\x80" "ok"), "?ok");             // stray continuation bytes
}

TEST(Text, CaseIncludesAccentedLetters) {
  EXPECT_EQ(UCase("pr\xFCgel"), "PR\xDCGEL");
  EXPECT_EQ(UCase("b\xF6se"), "B\xD6SE");
  EXPECT_EQ(UCase("\xE4\xE9\xE8\xF1\xE7 \x9A\x9C\x9E\xFF"), "\xC4\xC9\xC8\xD1\xC7 \x8A\x8C\x8E\x9F");
  EXPECT_EQ(LCase("\xC4\xD6\xDC\xC9 ABC \x8A\x9F"), "\xE4\xF6\xFC\xE9 abc \x9A\xFF");
  // Sharp s, division and multiplication signs have no other case.
  EXPECT_EQ(UCase("\xDF\xF7"), "\xDF\xF7");
  EXPECT_EQ(LCase("\xD7\xDF"), "\xD7\xDF");
}

TEST(Text, TrimRemovesBlanksOnly) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(LTrim("  a "), "a ");
  EXPECT_EQ(RTrim(" a  "), " a");
  EXPECT_EQ(Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(Trim("    "), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(Text, SubstringsClampOutOfRangeArguments) {
  EXPECT_EQ(Left("Norvalde", 4), "Norv");
  EXPECT_EQ(Left("abc", 10), "abc");
  EXPECT_EQ(Left("abc", -1), "");
  EXPECT_EQ(Right("Start.lsd", 4), ".lsd");
  EXPECT_EQ(Right("abc", 9), "abc");
  EXPECT_EQ(Right("abc", 0), "");
  EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Mid("abcdef", 4), "def");
  EXPECT_EQ(Mid("abcdef", 5, 100), "ef");
  EXPECT_EQ(Mid("abcdef", 7), "");
  EXPECT_EQ(Mid("abcdef", 0, 2), "ab");
  EXPECT_EQ(Mid("abc", 2, 0), "");
}

TEST(Text, InStrCountsFromOne) {
  EXPECT_EQ(InStr("a,b,c", ","), 2);
  EXPECT_EQ(InStr(3, "a,b,c", ","), 4);
  EXPECT_EQ(InStr(5, "a,b,c", ","), 0);
  EXPECT_EQ(InStr("abc", "x"), 0);
  EXPECT_EQ(InStr("abc", "ABC"), 0);  // case-sensitive
  EXPECT_EQ(InStr(2, "abc", ""), 2);
  EXPECT_EQ(InStr(4, "abc", ""), 4);
  EXPECT_EQ(InStr(5, "abc", ""), 0);
  EXPECT_EQ(InStr(100, "abc", "c"), 0);
  EXPECT_EQ(InStrRev("C:\\a\\b.lsd", "\\"), 5);
  EXPECT_EQ(InStrRev("abcabc", "bc"), 5);
  EXPECT_EQ(InStrRev("abc", "x"), 0);
}

TEST(Text, ValReadsTheLeadingNumber) {
  EXPECT_EQ(Val("42"), 42);
  EXPECT_EQ(Val("   -17 apples"), -17);
  EXPECT_EQ(Val("+3.25x"), 3.25);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("-.5"), -0.5);
  EXPECT_EQ(Val("7."), 7);
  EXPECT_EQ(Val("1e3"), 1000);
  EXPECT_EQ(Val("2.5E-2"), 0.025);
  EXPECT_EQ(Val("12e"), 12);    // exponent without digits is not part of the number
  EXPECT_EQ(Val("12e+"), 12);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("-"), 0);
  EXPECT_EQ(Val("."), 0);
  EXPECT_EQ(Val("\t 8"), 8);
  EXPECT_EQ(Val("1,5"), 1);
  // Out of range saturates instead of turning into infinity.
  EXPECT_EQ(Val("1e999"), 1.7976931348623157e308);
  EXPECT_EQ(Val("-1e999"), -1.7976931348623157e308);
  EXPECT_EQ(Val("1e-999"), 0);
  EXPECT_EQ(Val("0.00001e-400"), 0);
}

TEST(Text, IsNumericNeedsTheWholeText) {
  EXPECT_TRUE(IsNumeric("12"));
  EXPECT_TRUE(IsNumeric("  -1.5e3  "));
  EXPECT_TRUE(IsNumeric(".5"));
  EXPECT_FALSE(IsNumeric("12a"));
  EXPECT_FALSE(IsNumeric(""));
  EXPECT_FALSE(IsNumeric("   "));
  EXPECT_FALSE(IsNumeric("-"));
  EXPECT_FALSE(IsNumeric("1 2"));
}

TEST(Text, StrPrintsTheClassicForm) {
  EXPECT_EQ(Str(0), " 0");
  EXPECT_EQ(Str(-0.0), " 0");
  EXPECT_EQ(Str(5), " 5");
  EXPECT_EQ(Str(-5), "-5");
  EXPECT_EQ(Str(120), " 120");
  EXPECT_EQ(Str(0.5), " .5");
  EXPECT_EQ(Str(-0.25), "-.25");
  EXPECT_EQ(Str(3.75), " 3.75");
  EXPECT_EQ(Str(0.1), " .1");
  EXPECT_EQ(Str(0.0001), " .0001");
  EXPECT_EQ(Str(0.00001), " 1E-05");
  EXPECT_EQ(Str(123456789012345.0), " 123456789012345");
  EXPECT_EQ(Str(1e15), " 1E+15");
  EXPECT_EQ(Str(-2.5e20), "-2.5E+20");
  EXPECT_EQ(Str(1e100), " 1E+100");
  // Numbers printed this way read back unchanged.
  for (double v : {0.1, 1.0 / 3, -2.0 / 7, 12345.678, 6.02e23, 1.5e-7})
    EXPECT_EQ(Val(Str(v)), v) << Str(v);
}

TEST(Text, WholeNumberConversions) {
  EXPECT_EQ(CLng(2.5), 2);
  EXPECT_EQ(CLng(3.5), 4);
  EXPECT_EQ(CLng(-2.5), -2);
  EXPECT_EQ(CLng(-3.5), -4);
  EXPECT_EQ(CLng(2.4999), 2);
  EXPECT_EQ(CLng(2.5001), 3);
  EXPECT_EQ(CLng(0.5), 0);
  EXPECT_EQ(CLng(1.5), 2);
  EXPECT_EQ(Int(2.9), 2);
  EXPECT_EQ(Int(-2.1), -3);
  EXPECT_EQ(Int(-3), -3);
  // Out-of-range values saturate; NaN gives 0 (never undefined behaviour).
  EXPECT_EQ(CLng(1e300), LLONG_MAX);
  EXPECT_EQ(CLng(-1e300), LLONG_MIN);
  EXPECT_EQ(Int(INFINITY), LLONG_MAX);
  EXPECT_EQ(CLng(NAN), 0);
  EXPECT_EQ(Int(NAN), 0);
}
