// The INI reader and writer: value forms, line ends, bad lines and in-place updates.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/IniFile.h"

namespace ravelin {
namespace {

TEST(ParseIniInteger, AcceptsDecimalAndHexAndRejectsEverythingElse) {
  const struct {
    const char* input;
    std::int32_t value;
  } numbers[] = {
      {"0", 0},     {"7", 7},     {"-1", -1},    {"+3", 3},      {"  12  ", 12},
      {"0x40", 64}, {"0X40", 64}, {"0xff", 255}, {"-0x10", -16}, {"0xFFFFFFFF", -1},
  };
  EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
  for (const auto& row : numbers) EXPECT_EQ(ParseIniInteger(row.input), row.value) << row.input;
  for (const char* input : {"2147483648", "0x100000000", "99999999999999999999", "", "-", "0x",
                            "0xG1", "yes", "12abc", "1.5", "1 2", "$40"})
    EXPECT_EQ(ParseIniInteger(input), std::nullopt) << input;
}

TIniFile IniOf(const std::string& text) {
  TIniFile ini("/nowhere/test.INI");
  ini.SetText(text);
  return ini;
}

TEST(TIniFile, ReadsValuesWhateverTheLineEndsAndBadLines) {
  const struct {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::string expected;  // "<default>" when the default must come back
  } rows[] = {
      {"CR LF", "[LAST]\r\nRTL=/r\r\nVCL=/v\r\n", "LAST", "VCL", "/v"},
      {"CR only", "[LAST]\rRTL=/r\rVCL=/v\r", "LAST", "VCL", "/v"},
      {"LF only", "[LAST]\nRTL=/r\nVCL=/v", "LAST", "VCL", "/v"},
      {"LF CR is two line ends", "[LAST]\n\rVCL=/v\n\r", "LAST", "VCL", "/v"},
      {"key ignoring case", "[LAST]\r\nuse rtl=1\r\n", "LAST", "Use RTL", "1"},
      {"section ignoring case", "[last]\r\nRTL=/r\r\n", "LAST", "RTL", "/r"},
      {"blanks around names and value", " [ LAST ] \r\n  RTL  =  /r x  \r\n", "LAST", "RTL",
       "/r x"},
      {"empty value", "[LAST]\r\nRTL=\r\n", "LAST", "RTL", ""},
      {"value holding =", "[LAST]\r\nSearch Paths=a=b\r\n", "LAST", "Search Paths", "a=b"},
      {"missing section", "[OTHER]\r\nRTL=/r\r\n", "LAST", "RTL", "<default>"},
      {"key in another section", "[LAST]\r\n[OTHER]\r\nRTL=/r\r\n", "LAST", "RTL", "<default>"},
      {"key before any section", "RTL=/r\r\n[LAST]\r\n", "LAST", "RTL", "<default>"},
      {"garbage lines", "junk\r\n[LAST\r\n=x\r\n\x01\x02\xff\r\n[LAST]\r\nnonsense\r\nRTL=/r\r\n",
       "LAST", "RTL", "/r"},
      {"comment line", "[LAST]\r\n;RTL=/c\r\nRTL=/r\r\n", "LAST", "RTL", "/r"},
      {"first key wins", "[LAST]\r\nRTL=/1\r\nRTL=/2\r\n", "LAST", "RTL", "/1"},
      {"first section wins", "[LAST]\r\nRTL=/1\r\n[LAST]\r\nRTL=/2\r\n", "LAST", "RTL", "/1"},
      {"Ctrl-Z ends the text", "[LAST]\r\n\x1ARTL=/r\r\n", "LAST", "RTL", "<default>"},
      {"byte order mark", "\xEF\xBB\xBF[LAST]\r\nRTL=/r\r\n", "LAST", "RTL", "/r"},
      {"empty file", "", "LAST", "RTL", "<default>"},
      {"value of 5,000 characters cut to 2,047",
       "[LAST]\r\nRTL=" + std::string(2047, 'x') + "y\r\n", "LAST", "RTL", std::string(2047, 'x')},
      {"key after a value of 5,000 characters",
       "[LAST]\r\nRTL=" + std::string(5000, 'x') + "\r\nVCL=/v\r\n", "LAST", "VCL", "/v"},
  };
  for (const auto& row : rows) {
    TIniFile ini = IniOf(row.text);
    EXPECT_EQ(ini.ReadString(row.section, row.key, "<default>"), row.expected) << row.name;
  }
}

TEST(TIniFile, ReadsAndWritesIntegersAndBooleansWithDefaults) {
  TIniFile ini = IniOf("[S]\r\nA=0x40\r\nB=yes\r\nC=5\r\nD=0\r\nE=-1\r\n");
  EXPECT_EQ(ini.ReadInteger("S", "A", 9), 64);
  EXPECT_EQ(ini.ReadInteger("S", "B", 9), 9);
  EXPECT_EQ(ini.ReadInteger("S", "Missing", 9), 9);
  EXPECT_FALSE(ini.ReadBool("S", "B", false));
  EXPECT_TRUE(ini.ReadBool("S", "B", true));
  EXPECT_TRUE(ini.ReadBool("S", "C", false));
  EXPECT_FALSE(ini.ReadBool("S", "D", true));
  EXPECT_TRUE(ini.ReadBool("S", "E", false));
  TIniFile out = IniOf("");
  out.WriteInteger("S", "I", -42);
  out.WriteBool("S", "T", true);
  out.WriteBool("S", "F", false);
  EXPECT_EQ(out.Text(), "[S]\r\nI=-42\r\nT=1\r\nF=0\r\n");
}

TEST(TIniFile, WritesInPlaceKeepingEveryOtherLine) {
  const struct {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  } rows[] = {
      {"into an empty file", "", "LAST", "RTL", "/r", "[LAST]\r\nRTL=/r\r\n"},
      {"empty value as key and =", "", "LAST", "RTL", "", "[LAST]\r\nRTL=\r\n"},
      {"replaces the value in place, any case",
       "; note\r\n[Other]\r\nA=1\r\n[last]\r\nrtl=/old\r\nX=y\r\n", "LAST", "RTL", "/new",
       "; note\r\n[Other]\r\nA=1\r\n[last]\r\nRTL=/new\r\nX=y\r\n"},
      {"new key after the section's last entry, before blank lines",
       "[LAST]\r\nA=1\r\n\r\n[Next]\r\nB=2\r\n", "LAST", "C", "3",
       "[LAST]\r\nA=1\r\nC=3\r\n\r\n[Next]\r\nB=2\r\n"},
      {"new section at the end", "[Other]\r\nA=1\r\n", "LAST", "RTL", "/r",
       "[Other]\r\nA=1\r\n[LAST]\r\nRTL=/r\r\n"},
      {"keeps garbage lines", "junk\r\n[LAST]\r\n???\r\nRTL=a\r\n", "LAST", "RTL", "b",
       "junk\r\n[LAST]\r\n???\r\nRTL=b\r\n"},
      {"LF-only file comes back with CR LF", "[LAST]\nRTL=a\n[X]\nY=1\n", "LAST", "RTL", "b",
       "[LAST]\r\nRTL=b\r\n[X]\r\nY=1\r\n"},
      {"line breaks and Ctrl-Z in a value cannot break the file", "", "LAST", "RTL",
       "a\r\n[Evil]\nb\x1A", "[LAST]\r\nRTL=a  [Evil] b \r\n"},
      {"byte order mark kept", "\xEF\xBB\xBF[LAST]\r\n", "LAST", "RTL", "/r",
       "\xEF\xBB\xBF[LAST]\r\nRTL=/r\r\n"},
  };
  for (const auto& row : rows) {
    TIniFile ini = IniOf(row.before);
    ini.WriteString(row.section, row.key, row.value);
    EXPECT_EQ(ini.Text(), row.after) << row.name;
  }
}

}  // namespace
}  // namespace ravelin
