// The binary form converter: the text of every value type, line breaks of strings and binary
// data, component headers, and the three errors for malformed, truncated and hostile input.
#include <gtest/gtest.h>

#include <functional>

#include "FormWriter.h"
#include "SameText.h"
#include "SampleForms.h"
#include "TestFolder.h"
#include "common/Error.h"
#include "linecount/FormConv.h"

namespace ravelin {
namespace {

using test::FormWriter;
using testing::FirstDifference;

std::string ReadGolden(const std::string& name) {
  return testing::ReadBytes(std::string(RAVELIN_TEST_DATA) + "/forms/" + name);
}

/// The message of the StreamError the conversion throws, or "" when it succeeds.
std::string ErrorOf(const std::string& form) {
  try {
    FormBinaryToText(form);
  } catch (const StreamError& e) {
    return e.what();
  }
  return "";
}

/// A form "object F: T" with one property P whose value the function writes.
std::string OnePropertyForm(const std::function<void(FormWriter&)>& value) {
  FormWriter w;
  w.Object("T", "F").Prop("P");
  value(w);
  w.End().End();
  return w.Bytes();
}

/// The converted text of a one-property form whose value reads valueText.
std::string OnePropertyText(const std::string& valueText) {
  return "object F: T\r\n  P = " + valueText + "\r\nend\r\n";
}

TEST(FormConv, AllValuesFormMatchesGoldenText) {
  const std::string expected = ReadGolden("all_values.txt");
  const std::string actual = FormBinaryToText(test::AllValuesForm());
  EXPECT_EQ(expected, actual) << FirstDifference(expected, actual);
}

struct ValueRow {
  const char* name;
  std::function<void(FormWriter&)> write;
  std::string text;
};

TEST(FormConv, EveryValueTypeIsWrittenAsItsText) {
  const std::string hex32 = "000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F";
  std::string bytes33;
  for (int i = 0; i < 33; ++i) bytes33.push_back(static_cast<char>(i));
  const ValueRow rows[] = {
      {"null", [](FormWriter& w) { w.Null(); }, "Null"},
      {"empty list", [](FormWriter& w) { w.List().End(); }, "()"},
      {"list of three strings",
       [](FormWriter& w) { w.List().String("a").String("b").String("c").End(); },
       "(\r\n    'a'\r\n    'b'\r\n    'c')"},
      {"list of mixed values", [](FormWriter& w) { w.List().Int(1).Ident("x").True().End(); },
       "(\r\n    1\r\n    x\r\n    True)"},
      {"int8 lowest", [](FormWriter& w) { w.Int8(-128); }, "-128"},
      {"int8 highest", [](FormWriter& w) { w.Int8(127); }, "127"},
      {"int16 lowest", [](FormWriter& w) { w.Int16(-32768); }, "-32768"},
      {"int16 small value", [](FormWriter& w) { w.Int16(7); }, "7"},
      {"int32 lowest", [](FormWriter& w) { w.Int32(-2147483647 - 1); }, "-2147483648"},
      {"int32 highest", [](FormWriter& w) { w.Int32(2147483647); }, "2147483647"},
      {"extended", [](FormWriter& w) { w.Extended(-2.25); }, "-2.25"},
      {"extended one tenth", [](FormWriter& w) { w.Extended(0xCCCCCCCCCCCCCCCDull, 0x3FFB); },
       "0.1"},
      {"string", [](FormWriter& w) { w.String("Hello world"); }, "'Hello world'"},
      {"empty string", [](FormWriter& w) { w.String(""); }, "''"},
      {"identifier as stored", [](FormWriter& w) { w.Ident("clWindowText"); }, "clWindowText"},
      {"false", [](FormWriter& w) { w.False(); }, "False"},
      {"true", [](FormWriter& w) { w.True(); }, "True"},
      {"empty binary", [](FormWriter& w) { w.Binary(""); }, "{}"},
      {"binary of 1 byte", [](FormWriter& w) { w.Binary("\xAB"); }, "{AB}"},
      {"binary of 31 bytes stays on the line",
       [&](FormWriter& w) { w.Binary(bytes33.substr(0, 31)); }, "{" + hex32.substr(0, 62) + "}"},
      {"binary of 32 bytes starts below", [&](FormWriter& w) { w.Binary(bytes33.substr(0, 32)); },
       "{\r\n    " + hex32 + "}"},
      {"binary of 33 bytes takes two pieces", [&](FormWriter& w) { w.Binary(bytes33); },
       "{\r\n    " + hex32 + "\r\n    20}"},
      {"empty set", [](FormWriter& w) { w.Set({}); }, "[]"},
      {"set of one", [](FormWriter& w) { w.Set({"fsBold"}); }, "[fsBold]"},
      {"set of three",
       [](FormWriter& w) {
         w.Set({"akLeft", "akTop", "akRight"});
       },
       "[akLeft, akTop, akRight]"},
      {"long string", [](FormWriter& w) { w.LString("long"); }, "'long'"},
      {"empty long string", [](FormWriter& w) { w.LString(""); }, "''"},
      {"nil", [](FormWriter& w) { w.Nil(); }, "nil"},
      {"empty collection", [](FormWriter& w) { w.Collection().End(); }, "<>"},
      {"collection item without index",
       [](FormWriter& w) { w.Collection().Item().Prop("Width").Int(64).End().End(); },
       "<\r\n    item\r\n      Width = 64\r\n    end>"},
      {"collection items with 1, 2 and 4 byte indexes",
       [](FormWriter& w) {
         w.Collection().Item(0).End().Item(300).End().Item(70000).Prop("A").Nil().End().End();
       },
       "<\r\n    item [0]\r\n    end\r\n    item [300]\r\n    end\r\n    item [70000]\r\n"
       "      A = nil\r\n    end>"},
      {"collection in a list",
       [](FormWriter& w) { w.List().Collection().Item().End().End().End(); },
       "(\r\n    <\r\n      item\r\n      end>)"},
      {"single", [](FormWriter& w) { w.Single(0.1f); }, "0.100000001490116s"},
      {"currency", [](FormWriter& w) { w.Currency(125000); }, "12.5c"},
      {"currency smallest unit below zero", [](FormWriter& w) { w.Currency(-1); }, "-0.0001c"},
      {"date", [](FormWriter& w) { w.Date(36526.25); }, "36526.25d"},
      {"wide string", [](FormWriter& w) { w.WString(u"abc"); }, "'abc'"},
      {"empty wide string", [](FormWriter& w) { w.WString(u""); }, "''"},
      {"wide characters above 255 as codes", [](FormWriter& w) { w.WString(u"\u0100x\u20AC"); },
       "#256'x'#8364"},
      {"wide characters up to 255 as bytes", [](FormWriter& w) { w.WString(u"\u00E9\u00FF"); },
       "'\xE9\xFF'"},
      {"wide apostrophe and control", [](FormWriter& w) { w.WString(u"a'\t"); }, "'a'#39#9"},
      {"int64 lowest", [](FormWriter& w) { w.Int64(INT64_MIN); }, "-9223372036854775808"},
      {"int64 highest", [](FormWriter& w) { w.Int64(INT64_MAX); }, "9223372036854775807"},
  };
  for (const ValueRow& row : rows) {
    EXPECT_EQ(OnePropertyText(row.text), FormBinaryToText(OnePropertyForm(row.write))) << row.name;
  }
}

struct StringRow {
  const char* name;
  std::string value;
  std::string text;
};

TEST(FormConv, StringsBreakAfter64Characters) {
  const std::string a64(64, 'a');
  const std::string i = "\r\n    ";  // a new line at the string's level
  std::string codes64;
  for (int k = 0; k < 64; ++k) codes64 += "#1";
  const StringRow rows[] = {
      {"64 characters fit on the property line", a64, "'" + a64 + "'"},
      {"65 characters start below and break after 64", a64 + "b",
       i + "'" + a64 + "' +" + i + "'b'"},
      {"128 characters end without a continuation", a64 + a64,
       i + "'" + a64 + "' +" + i + "'" + a64 + "'"},
      {"129 characters take three lines", a64 + a64 + "c",
       i + "'" + a64 + "' +" + i + "'" + a64 + "' +" + i + "'c'"},
      {"apostrophe as code", "It's", "'It'#39's'"},
      {"control characters as codes", "a\r\nb\x7F", "'a'#13#10'b\x7F'"},
      {"only control characters", "\x01\x02", "#1#2"},
      {"64 codes stay on one line", std::string(64, '\x01'), codes64},
      {"65 codes break after 64", std::string(65, '\x01'), i + codes64 + " +" + i + "#1"},
      {"code as the 64th character ends the line", std::string(63, 'a') + "'x",
       i + "'" + std::string(63, 'a') + "'#39 +" + i + "'x'"},
      {"run after a code is cut at 64", std::string(60, 'a') + "\rbcdefghijk",
       i + "'" + std::string(60, 'a') + "'#13'bcd' +" + i + "'efghijk'"},
      {"bytes above 127 stay in runs", "\xE9t\xE9", "'\xE9t\xE9'"},
  };
  for (const StringRow& row : rows) {
    EXPECT_EQ(OnePropertyText(row.text),
              FormBinaryToText(OnePropertyForm([&](FormWriter& w) { w.LString(row.value); })))
        << row.name;
  }
}

TEST(FormConv, ShortAndWideStringsBreakLikeLongStrings) {
  const std::string a65(65, 'a');
  const std::string text = "\r\n    '" + std::string(64, 'a') + "' +\r\n    'a'";
  EXPECT_EQ(OnePropertyText(text),
            FormBinaryToText(OnePropertyForm([&](FormWriter& w) { w.String(a65); })));
  EXPECT_EQ(OnePropertyText(text), FormBinaryToText(OnePropertyForm([&](FormWriter& w) {
              w.WString(std::u16string(65, u'a'));
            })));
  // A wide character above 255 counts as one character of the 64.
  const std::u16string wide = std::u16string(63, u'a') + u"\u0416" + u"b";
  EXPECT_EQ(OnePropertyText("\r\n    '" + std::string(63, 'a') + "'#1046 +\r\n    'b'"),
            FormBinaryToText(OnePropertyForm([&](FormWriter& w) { w.WString(wide); })));
}

TEST(FormConv, StringsInNestedValuesIndentOneLevelDeeper) {
  const std::string a65(65, 'a');
  const std::string form = OnePropertyForm([&](FormWriter& w) { w.List().LString(a65).End(); });
  EXPECT_EQ(OnePropertyText("(\r\n    \r\n      '" + std::string(64, 'a') + "' +\r\n      'a')"),
            FormBinaryToText(form));
}

struct HeaderRow {
  const char* name;
  std::string prefix;  // raw bytes before the class name
  std::string className;
  std::string objectName;
  std::string header;
};

TEST(FormConv, ComponentHeadersFollowTheirFlags) {
  const HeaderRow rows[] = {
      {"no prefix", "", "TButton", "Button1", "object Button1: TButton"},
      {"prefix without flags", "\xF0", "TButton", "Button1", "object Button1: TButton"},
      {"inherited", "\xF1", "TButton", "Button1", "inherited Button1: TButton"},
      {"inline", "\xF4", "TFrame2", "Frame", "inline Frame: TFrame2"},
      {"inherited wins over inline", "\xF5", "TFrame2", "Frame", "inherited Frame: TFrame2"},
      {"child position int8", std::string("\xF2\x02\xFF", 3), "TEdit", "E", "object E: TEdit [-1]"},
      {"child position int16", std::string("\xF2\x03\xE8\x03", 4), "TEdit", "E",
       "object E: TEdit [1000]"},
      {"child position int32", std::string("\xF3\x04\xA0\x86\x01\x00", 6), "TEdit", "E",
       "inherited E: TEdit [100000]"},
      {"unknown flag bit ignored", "\xF8", "TEdit", "E", "object E: TEdit"},
      {"empty name", "", "TTimer", "", "object TTimer"},
      {"empty name inherited", "\xF1", "TTimer", "", "inherited TTimer"},
  };
  for (const HeaderRow& row : rows) {
    FormWriter w;
    w.Raw(row.prefix).Short(row.className).Short(row.objectName).End().End();
    EXPECT_EQ(row.header + "\r\nend\r\n", FormBinaryToText(w.Bytes())) << row.name;
  }
}

TEST(FormConv, ChildrenNestOneLevelDeeper) {
  FormWriter w;
  w.Object("TForm", "F").Prop("A").Int(1).End();
  w.Object("TPanel", "P").Prop("B").Int(2).End();
  w.Object("TButton", "B").End().End();
  w.End();
  w.Object("TLabel", "L").End().End();
  w.End();
  EXPECT_EQ(
      "object F: TForm\r\n  A = 1\r\n  object P: TPanel\r\n    B = 2\r\n"
      "    object B: TButton\r\n    end\r\n  end\r\n  object L: TLabel\r\n  end\r\nend\r\n",
      FormBinaryToText(w.Bytes()));
}

TEST(FormConv, BytesAfterTheRootComponentAreIgnored) {
  EXPECT_EQ("object Form1: TForm\r\nend\r\n", FormBinaryToText(test::MinimalForm() + "junk"));
}

struct ErrorRow {
  const char* name;
  std::string form;
  const char* message;
};

std::string Nested(int depth, const std::function<void(FormWriter&)>& open,
                   const std::function<void(FormWriter&)>& close) {
  FormWriter w;
  w.Object("T", "F").Prop("P");
  for (int k = 0; k < depth; ++k) open(w);
  for (int k = 0; k < depth; ++k) close(w);
  w.End().End();
  return w.Bytes();
}

std::string NestedComponents(int depth) {
  FormWriter w;
  for (int k = 0; k < depth; ++k) w.Object("T", "").End();
  for (int k = 0; k < depth; ++k) w.End();
  return w.Bytes();
}

TEST(FormConv, MalformedFormsGiveTheThreeMessages) {
  const std::string minimal = test::MinimalForm();
  std::string badFirst = minimal;
  badFirst[0] = '\xFE';
  std::string badType = minimal;
  badType[1] = '\x0B';
  const ErrorRow rows[] = {
      {"empty input", "", kStreamReadError},
      {"first byte not 255", badFirst, kInvalidStreamFormat},
      {"resource type not 10", badType, kInvalidStreamFormat},
      {"signature not TPF0", FormWriter("X", "TPF1").Object("T", "").End().End().Bytes(),
       kInvalidStreamFormat},
      {"no signature", FormWriter("X", "").Bytes(), kStreamReadError},
      {"resource name never ends", std::string("\xFF\x0A\x00NAME", 7), kStreamReadError},
      {"value type 20", OnePropertyForm([](FormWriter& w) { w.Byte(20); }), kInvalidPropertyValue},
      {"value type 255", OnePropertyForm([](FormWriter& w) { w.Byte(255); }),
       kInvalidPropertyValue},
      {"collection item without list marker",
       OnePropertyForm([](FormWriter& w) { w.Collection().Int(1).String("x").End().End(); }),
       kInvalidPropertyValue},
      {"collection item with an int64 index",
       OnePropertyForm([](FormWriter& w) { w.Collection().Int64(1).Byte(1).End().End(); }),
       kInvalidPropertyValue},
      {"child position not an integer",
       FormWriter().Byte(0xF2).String("x").Short("T").Short("").End().End().Bytes(),
       kInvalidPropertyValue},
      {"long string longer than the file",
       OnePropertyForm([](FormWriter& w) { w.Byte(12).U32(0xFFFFFFFF).Raw("abc"); }),
       kStreamReadError},
      {"binary longer than the file",
       OnePropertyForm([](FormWriter& w) { w.Byte(10).U32(0x7FFFFFFF).Raw("abc"); }),
       kStreamReadError},
      {"wide string longer than the file",
       OnePropertyForm([](FormWriter& w) { w.Byte(18).U32(0x80000000).Raw("abcd"); }),
       kStreamReadError},
      {"wide string with an odd last byte",
       OnePropertyForm([](FormWriter& w) { w.Byte(18).U32(2).Raw("abc"); }), kStreamReadError},
      {"short string past the end", FormWriter().Byte(200).Raw("TForm").Bytes(), kStreamReadError},
      {"list that never ends", FormWriter().Object("T", "").Prop("P").List().Int(1).Int(2).Bytes(),
       kStreamReadError},
      {"collection that never ends",
       FormWriter().Object("T", "").Prop("P").Collection().Item().End().Bytes(), kStreamReadError},
      {"set that never ends", FormWriter().Object("T", "").Prop("P").Byte(11).Short("a").Bytes(),
       kStreamReadError},
      {"children that never end",
       FormWriter().Object("T", "").End().Object("U", "").End().End().Bytes(), kStreamReadError},
      {"components a million levels deep", NestedComponents(1000000), kInvalidStreamFormat},
      {"lists a million levels deep",
       Nested(
           1000000, [](FormWriter& w) { w.List(); }, [](FormWriter& w) { w.End(); }),
       kInvalidStreamFormat},
      {"collections a million levels deep",
       Nested(
           1000000, [](FormWriter& w) { w.Collection().Item().Prop("C"); },
           [](FormWriter& w) { w.End().End(); }),
       kInvalidStreamFormat},
  };
  for (const ErrorRow& row : rows) EXPECT_EQ(row.message, ErrorOf(row.form)) << row.name;
}

TEST(FormConv, NestingUpToTheLimitConverts) {
  EXPECT_EQ("", ErrorOf(NestedComponents(kMaxFormNesting + 1)));  // levels 0 to the limit
  EXPECT_EQ(kInvalidStreamFormat, ErrorOf(NestedComponents(kMaxFormNesting + 2)));
  // The property stands at level 1, so its lists may open limit - 1 levels.
  auto lists = [](int depth) {
    return Nested(
        depth, [](FormWriter& w) { w.List(); }, [](FormWriter& w) { w.End(); });
  };
  EXPECT_EQ("", ErrorOf(lists(kMaxFormNesting - 1)));
  EXPECT_EQ(kInvalidStreamFormat, ErrorOf(lists(kMaxFormNesting)));
}

TEST(FormConv, EveryTruncationIsAReadErrorAfterAPrefixOfTheText) {
  const std::string form = test::AllValuesForm();
  const std::string full = FormBinaryToText(form);
  for (size_t length = 0; length < form.size(); ++length) {
    std::string text;
    std::string message;
    try {
      ConvertFormBinaryToText(form.substr(0, length),
                              [&](std::string_view piece) { text.append(piece); });
    } catch (const StreamError& e) {
      message = e.what();
    }
    EXPECT_EQ(kStreamReadError, message) << "cut at byte " << length;
    EXPECT_EQ(0u, full.compare(0, text.size(), text)) << "cut at byte " << length;
  }
}

TEST(FormConv, LargeTextReachesTheSinkInBoundedPieces) {
  const std::string data(1 << 20, '\x5A');
  const std::string form = OnePropertyForm([&](FormWriter& w) { w.Binary(data); });
  std::string joined;
  size_t largest = 0;
  int pieces = 0;
  ConvertFormBinaryToText(form, [&](std::string_view piece) {
    joined.append(piece);
    largest = std::max(largest, piece.size());
    ++pieces;
  });
  EXPECT_EQ(FormBinaryToText(form), joined);
  EXPECT_GT(pieces, 10);
  EXPECT_LT(largest, 70000u);
}

}  // namespace
}  // namespace ravelin
