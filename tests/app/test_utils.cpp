// Text and number helpers: the number formats the table and the member lines
// depend on, the forgiving number reader, upper case and code-page texts.
#include <gtest/gtest.h>

#include <cmath>

#include "app/base/Utils.h"

using namespace nodalis;

TEST(RealToStr, WidthIsAMinimumAndRoundsHalfAwayFromZero) {
  EXPECT_EQ(RealToStr(6, 0, 112.4L), "   112");
  EXPECT_EQ(RealToStr(8, 3, -0.5062L), "  -0.506");
  EXPECT_EQ(RealToStr(2, 0, 123), "123");          // never cut
  EXPECT_EQ(RealToStr(1, 6, 2457987.2677L), "2457987.267700");
  EXPECT_EQ(RealToStr(1, 2, 0.125L), "0.13");      // exact binary tie
  EXPECT_EQ(RealToStr(1, 0, 2.5L), "3");
  EXPECT_EQ(RealToStr(1, 0, -2.5L), "-3");
  EXPECT_EQ(RealToStr(1, 1, 9.96L), "10.0");       // carry into a new digit
  EXPECT_EQ(RealToStr(1, -3, 5.5L), "5.5");
  EXPECT_EQ(RealToStr(1, -3, 2.0L), "2");
  EXPECT_EQ(ShortRealToStr(136), "136");
  EXPECT_EQ(ShortRealToStr(2.5L), "2.5");
  EXPECT_EQ(ShortRealToStr(1.0000000005L), "1");
}

TEST(RealToStr, NonFiniteAndHugeValuesGiveText) {
  EXPECT_EQ(RealToStr(5, 2, NAN), "  NaN");
  EXPECT_EQ(RealToStr(1, 2, -INFINITY), "-Inf");
  EXPECT_EQ(RealToStr(1, 0, 1e30L).size(), 31u);
}

TEST(ExtractReal, ReadsNumbersOutOfFreeText) {
  std::string t = "Gam -0.123 x 0.5";
  EXPECT_EQ(ExtractReal(t), -0.123L);
  EXPECT_EQ(t, " x 0.5");
  t = "12,5 km";
  EXPECT_EQ(ExtractReal(t), 12.5L);
  EXPECT_EQ(t, " km");
  EXPECT_EQ(StrToReal("abc.5"), 0.5L);
  EXPECT_EQ(StrToReal("Max 0"), 0.0L);
  t = "-";
  EXPECT_EQ(ExtractReal(t), 0.0L);
  t = "no digits here";
  EXPECT_EQ(ExtractReal(t), 0.0L);
  EXPECT_TRUE(t.empty());
  EXPECT_EQ(StrToReal("1.5E3"), 1500.0L);
  t = "2E km";  // the E without exponent is left behind
  EXPECT_EQ(ExtractReal(t), 2.0L);
  EXPECT_EQ(t, "E km");
  EXPECT_EQ(StrToReal(",5"), 0.5L);  // comma first: accepted as decimal point
  EXPECT_EQ(StrToReal("x-7"), -7.0L);
  EXPECT_EQ(StrToReal("+7"), 7.0L);  // "+" cannot start a number: skipped
  EXPECT_EQ(StrToReal("2451545.0 Start"), 2451545.0L);
}

TEST(ExtractReal, OutOfRangeValuesGiveZeroNotInfinity) {
  EXPECT_EQ(StrToReal("1e99999"), 0.0L);
  EXPECT_TRUE(std::isfinite(StrToReal("-1e4933")));
  std::string t(100000, '9');
  EXPECT_TRUE(std::isfinite(ExtractReal(t)));
}

TEST(ExtractInt, TakesTheLeadingRunOfMinusAndDigits) {
  std::string t = "Saros 145, Era";
  EXPECT_EQ(ExtractInt(t), 145);
  EXPECT_EQ(t, ", Era");
  EXPECT_EQ(StrToIntLoose("abc"), 0);
  EXPECT_EQ(StrToIntLoose("-12"), -12);
  EXPECT_EQ(StrToIntLoose("99999999999999"), 2147483647);
}

TEST(ValueAfterKey, FindsTheKeyInAnyLetterCase) {
  const std::string line = "2457987.267700 dT 0.000000 Gam 0.437 Max 5 Sar 145";
  EXPECT_EQ(ValueAfterKey(line, "sar"), 145.0L);
  EXPECT_EQ(ValueAfterKey(UpperCaseText(line), "Sar"), 145.0L);
  EXPECT_EQ(ValueAfterKey(line, "Gam"), 0.437L);
  EXPECT_EQ(ValueAfterKey(line, "nokey"), 0.0L);
}

TEST(UpperCaseText, Windows1252Letters) {
  EXPECT_EQ(UpperCaseText("abc\xE4z"), "ABC\xC4Z");  // ä -> Ä
  EXPECT_EQ(UpperCaseText("\xDF\xFF"), "\xDF\xFF");   // ß and ÿ unchanged
  EXPECT_EQ(UpperCaseText("\xF7"), "\xD7");           // F7h -> D7h
}

TEST(TextHelpers, PadTrimAndDigits) {
  EXPECT_EQ(PadRight("ab", 4), "ab  ");
  EXPECT_EQ(PadRight("abcde", 4), "abcde");
  EXPECT_EQ(TrimText(" \t x y \r\n"), "x y");
  EXPECT_TRUE(HasDigit("a1"));
  EXPECT_FALSE(HasDigit("abc"));
}

TEST(CodePage, RoundTripOfGermanTextsAndSpecials) {
  const std::string cp = "Ära ringf\xF6rmige \x80 \x84x\x93";
  const std::string u8 = Cp1252ToUtf8(cp);
  EXPECT_EQ(Cp1252ToUtf8("\xC4"), "\xC3\x84");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Utf8ToCp1252(u8), cp);
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");       // not in Windows-1252
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");                // cut sequence
  for (int c = 0; c < 256; ++c) {
    std::string one(1, static_cast<char>(c));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << "byte " << c;
  }
}

TEST(CodePage, FileNamesShownAsText) {
  // Well-formed UTF-8 only (RFC 3629); a file name in it is shown
  // converted, any other name's bytes as Windows-1252.
  struct Case {
    const char* bytes;
    bool utf8;
    const char* shown;
  } cases[] = {{"c\xC3\xA4non.txt", true, "c\xE4non.txt"},
               {"\xF0\x9F\x98\x80.png", true, "?.png"},
               {"\xE6\x97\xA5\xE6\x9C\xAC.svg", true, "??.svg"},
               {"c\xE4non.txt", false, "c\xE4non.txt"},
               {"\xC0\xAF", false, "\xC0\xAF"},            // overlong "/"
               {"\xED\xA0\x80", false, "\xED\xA0\x80"},  // surrogate
               {"\xF4\x90\x80\x80", false, "\xF4\x90\x80\x80"},  // above U+10FFFF
               {"\xE6\x97", false, "\xE6\x97"}};          // cut short
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.bytes), c.utf8) << c.shown;
    EXPECT_EQ(FileNameText(c.bytes), c.shown);
  }
}

TEST(Hooks, PumpMessageWithoutHookReturnsAndErrorBoxUsesHook) {
  PumpMessage();
  int pumped = 0;
  PumpMessageHook = [&] { ++pumped; };
  PumpMessage();
  PumpMessageHook = nullptr;
  EXPECT_EQ(pumped, 1);
  std::string got;
  ErrorBoxHook = [&](const std::string& s) { got = s; };
  ErrorBox("Fehler");
  ErrorBoxHook = nullptr;
  EXPECT_EQ(got, "Fehler");
}
