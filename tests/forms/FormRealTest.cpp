// Real-number texts of the form converter: exact decimal values of the stored bits rounded to
// 15 significant digits, fixed or exponent form, and the special values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "linecount/FormConv.h"

namespace ravelin {
namespace {

struct ExtendedRow {
  const char* name;
  std::uint64_t mantissa;
  std::uint16_t signExponent;
  const char* text;
};

TEST(FormReal, ExtendedRealsAreDecodedExactly) {
  const ExtendedRow rows[] = {
      {"zero", 0, 0, "0"},
      {"negative zero", 0, 0x8000, "0"},
      {"one", 0x8000000000000000ull, 0x3FFF, "1"},
      {"minus one and a half", 0xC000000000000000ull, 0xBFFF, "-1.5"},
      {"one tenth", 0xCCCCCCCCCCCCCCCDull, 0x3FFB, "0.1"},
      {"one third rounds down", 0xAAAAAAAAAAAAAAABull, 0x3FFD, "0.333333333333333"},
      {"two thirds rounds up", 0xAAAAAAAAAAAAAAABull, 0x3FFE, "0.666666666666667"},
      {"2^64 needs the exponent form", 0x8000000000000000ull, 0x403F, "1.84467440737096E19"},
      {"largest finite", 0xFFFFFFFFFFFFFFFFull, 0x7FFE, "1.18973149535723E4932"},
      {"smallest denormal", 1, 0, "3.64519953188247E-4951"},
      {"largest denormal", 0x7FFFFFFFFFFFFFFFull, 0, "3.36210314311209E-4932"},
      {"smallest normal", 0x8000000000000000ull, 1, "3.36210314311209E-4932"},
      {"infinity", 0x8000000000000000ull, 0x7FFF, "INF"},
      {"negative infinity", 0x8000000000000000ull, 0xFFFF, "-INF"},
      {"infinity without integer bit", 0, 0x7FFF, "INF"},
      {"quiet NaN", 0xC000000000000000ull, 0x7FFF, "NAN"},
      {"signalling NaN", 0x8000000000000001ull, 0xFFFF, "NAN"},
  };
  for (const ExtendedRow& row : rows) {
    EXPECT_EQ(row.text, ExtendedToText(row.mantissa, row.signExponent)) << row.name;
  }
}

struct DoubleRow {
  double value;
  const char* text;
};

TEST(FormReal, GeneralFormSwitchesToExponentOutsideFifteenDigits) {
  const DoubleRow rows[] = {
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {36526.5, "36526.5"},
      {-2.25, "-2.25"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {123456789012345678.0, "1.23456789012346E17"},
      {1e-5, "0.00001"},
      {2.5e-5, "0.000025"},
      {1e-6, "1E-6"},
      {0.000123456789012345678, "0.000123456789012346"},
      {1000000000000005.0, "1E15"},                 // an exact half goes to even
      {1000000000000015.0, "1.00000000000002E15"},  // an exact half goes to even
      {99999999999999.95, "100000000000000"},       // rounding carries into a new digit
      {5e-324, "4.94065645841247E-324"},
      {1.7976931348623157e308, "1.79769313486232E308"},
  };
  for (const DoubleRow& row : rows) {
    std::uint64_t bits;
    std::memcpy(&bits, &row.value, sizeof bits);
    EXPECT_EQ(row.text, DoubleToText(bits)) << row.value;
  }
  EXPECT_EQ("INF", DoubleToText(0x7FF0000000000000ull));
  EXPECT_EQ("-INF", DoubleToText(0xFFF0000000000000ull));
  EXPECT_EQ("NAN", DoubleToText(0x7FF8000000000000ull));
}

TEST(FormReal, SinglesShowTheirExactValue) {
  struct Row {
    std::uint32_t bits;
    const char* text;
  };
  const Row rows[] = {
      {0x3DCCCCCD, "0.100000001490116"},  // 0.1f
      {0x3FC00000, "1.5"},
      {0x4B800000, "16777216"},
      {0x00000001, "1.40129846432482E-45"},
      {0x7F7FFFFF, "3.40282346638529E38"},
      {0x80000000, "0"},
      {0xFF800000, "-INF"},
      {0x7FC00000, "NAN"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.text, SingleToText(row.bits)) << std::hex << row.bits;
}

TEST(FormReal, CurrencyIsTheStoredAmountOverTenThousand) {
  struct Row {
    std::int64_t stored;
    const char* text;
  };
  const Row rows[] = {
      {0, "0"},
      {5, "0.0005"},
      {10000, "1"},
      {12345, "1.2345"},
      {-1, "-0.0001"},
      {123456789012345678, "12345678901234.6"},
      {INT64_MAX, "922337203685478"},
      {INT64_MIN, "-922337203685478"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.text, CurrencyToText(row.stored)) << row.stored;
}

}  // namespace
}  // namespace ravelin
