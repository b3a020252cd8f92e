#include <gtest/gtest.h>

#include "common/Error.h"
#include "common/VornString.h"

namespace ravelin {
namespace {

TEST(JoinPath, AddsOneDelimiterOnlyWhenNeeded) {
  struct Row {
    const char* dir;
    const char* name;
    const char* want;
  } rows[] = {
      {"", "a.pas", "a.pas"},
      {"/src", "a.pas", "/src/a.pas"},
      {"/src/", "a.pas", "/src/a.pas"},
      {"C:\\Src\\", "a.pas", "C:\\Src\\a.pas"},
      {"C:", "a.pas", "C:/a.pas"},  // a colon is an ordinary character here
      {"/src", "", "/src/"},        // an empty name only adds the trailing delimiter
      {"", "", ""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(JoinPath(row.dir, row.name), row.want) << row.dir << " + " << row.name;
}

TEST(TextBeforeAfter, CutAtTheFirstSeparator) {
  struct Row {
    const char* text;
    const char* sep;
    const char* before;
    const char* after;
  } rows[] = {
      {"a=b=c", "=", "a", "b=c"},
      {"abc", "=", "abc", ""},
      {"key::value", "::", "key", "value"},  // after the separator's last character
      {"abc", "", "abc", ""},                // an empty separator occurs nowhere
      {"", "=", "", ""},
      {"=x", "=", "", "x"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TextBefore(row.text, row.sep), row.before) << row.text;
    EXPECT_EQ(TextAfter(row.text, row.sep), row.after) << row.text;
  }
}

TEST(SplitFirst, HandsBackTheHeadAndKeepsTheRest) {
  std::string text = "object Form1: TForm1";
  EXPECT_EQ(SplitFirst(text, " "), "object");
  EXPECT_EQ(text, "Form1: TForm1");
  std::string single = "END";
  EXPECT_EQ(SplitFirst(single, " "), "END");
  EXPECT_EQ(single, "");
}

TEST(CenterText, PutsTheOddBlankLeftAndCutsAtTheRight) {
  struct Row {
    const char* text;
    int width;
    const char* want;
  } rows[] = {
      {"ab", 5, "  ab "},    {"ab", 6, "  ab  "}, {"abc", 3, "abc"},
      {"abcdef", 4, "abcd"}, {"", 3, "   "},  // two blanks added twice, then cut to 3
      {"", 4, "    "},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CenterText(row.text, row.width), row.want) << row.text << "/" << row.width;
  EXPECT_EQ(CenterText("", 3).size(), 3u);
}

TEST(Padding, NeverCutsALongerText) {
  EXPECT_EQ(PadLeftWith("7", ' ', 3), "  7");
  EXPECT_EQ(PadLeftWith("12345", ' ', 3), "12345");
  EXPECT_EQ(PadLeftWith("7", '0', 3), "007");
  EXPECT_EQ(PadRight("ab", 4), "ab  ");
  EXPECT_EQ(PadRight("abcdef", 4), "abcdef");
  EXPECT_EQ(IntToStrWidth(165, 8), "     165");
  EXPECT_EQ(IntToStrWidth(123456789, 3), "123456789");
}

TEST(Replace, FirstAndAllRestartFromTheStart) {
  EXPECT_EQ(ReplaceFirst("a-b-c", "-", "+"), "a+b-c");
  EXPECT_EQ(ReplaceFirst("abc", "x", "y"), "abc");
  EXPECT_EQ(ReplaceFirst("abc", "", "y"), "abc");
  EXPECT_EQ(ReplaceAll("a-b-c", "-", "+"), "a+b+c");
  // A replacement that makes a new occurrence before its own position is replaced too.
  EXPECT_EQ(ReplaceAll("aab", "ab", "b"), "b");
  EXPECT_EQ(ReplaceAll("+-   +-   =- ", "+-   ", "|    "), "|    |    =- ");
  EXPECT_EQ(ReplaceAll("xyz", "", "q"), "xyz");
}

TEST(Replace, AllRefusesANewPartThatHoldsTheOldOne) {
  // Replacing "a" by "aa" again and again from the start would never end.
  EXPECT_THROW(ReplaceAll("cat", "a", "aa"), GeneralError);
  EXPECT_THROW(ReplaceAll("x--y", "--", "<-->"), GeneralError);
  // Without an occurrence there is nothing to replace and nothing to refuse.
  EXPECT_EQ(ReplaceAll("xyz", "a", "aa"), "xyz");
}

TEST(TrimPrintable, RemovesControlsBlanksAndHighBytesAtTheEndsOnly) {
  EXPECT_EQ(TrimPrintable(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimPrintable(" \t\xE9\xFF "), "");
  EXPECT_EQ(TrimPrintable("\xE9t\xE9"), "t");
  EXPECT_EQ(TrimPrintableLeft("  x  "), "x  ");
  EXPECT_EQ(TrimPrintableRight("  x  "), "  x");
  EXPECT_EQ(TrimPrintable(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(UpperText, ChangesAsciiLettersOnly) {
  EXPECT_EQ(UpperText("SysUtils.pas"), "SYSUTILS.PAS");
  EXPECT_EQ(UpperText("\xE9t\xE9"), "\xE9T\xE9");
  EXPECT_EQ(UpperText("{a}[z]`"), "{A}[Z]`");
}

TEST(IntToText, WritesPlainDecimal) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(-42), "-42");
  EXPECT_EQ(IntToText(2147483647), "2147483647");
  EXPECT_EQ(IntToText(-2147483647 - 1), "-2147483648");
}

TEST(CompareUpperText, OrdersInCapitalsByUnsignedBytesPrefixFirst) {
  EXPECT_EQ(CompareUpperText("sysutils", "SysUtils"), 0);
  EXPECT_EQ(CompareUpperText("A", "AB"), -1);
  EXPECT_EQ(CompareUpperText("b", "A"), 1);
  EXPECT_EQ(CompareUpperText("_", "a"), 1);  // "_" (95) sorts after "A" (65)
  EXPECT_EQ(CompareUpperText("\xE9", "z"), 1);
}

}  // namespace
}  // namespace ravelin
