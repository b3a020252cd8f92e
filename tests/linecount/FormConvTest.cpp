// The binary form converter: the table tests/data/linecount/forms.txt, a form holding every
// value type against its golden text, truncated and hostile forms, and the pieces of text.
#include <gtest/gtest.h>

#include <cstring>

#include "DataTable.h"
#include "FormNotation.h"
#include "SameText.h"
#include "common/Error.h"
#include "linecount/FormConv.h"

namespace ravelin {
namespace {

using Args = std::vector<std::string>;
using testing::FormFile;

/// The text of a form, or the message of the StreamError its conversion throws.
std::string TextOrError(const std::string& form) {
  try {
    return FormBinaryToText(form);
  } catch (const StreamError& e) {
    return e.what();
  }
}

std::uint64_t Number(const std::string& text) {
  return std::stoull(text, nullptr, 0);
}

TEST(FormConv, RoutinesGiveTheResultsOfTheTable) {
  testing::CheckRoutineTable(
      "linecount/forms.txt",
      {
          {"Value",
           [](const Args& a) {
             std::string text = TextOrError(FormFile("\"T\" \"F\" \"P\" " + a[0] + " 00 00"));
             const std::string head = "object F: T\r\n  P = ", tail = "\r\nend\r\n";
             if (text.rfind(head, 0) != 0) return text;
             EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << a[0];
             return text.substr(head.size(), text.size() - head.size() - tail.size());
           }},
          {"Form", [](const Args& a) { return TextOrError(FormFile(a[0])); }},
          {"Raw", [](const Args& a) { return TextOrError(testing::FormBytes(a[0])); }},
          {"Extended",
           [](const Args& a) {
             return ExtendedToText(Number(a[0]), static_cast<std::uint16_t>(Number(a[1])));
           }},
          {"Double",
           [](const Args& a) {
             std::uint64_t bits = Number(a[0]);
             if (a[0].rfind("0x", 0) != 0) {
               const double value = std::stod(a[0]);
               std::memcpy(&bits, &value, sizeof bits);
             }
             return DoubleToText(bits);
           }},
          {"Single",
           [](const Args& a) { return SingleToText(static_cast<std::uint32_t>(Number(a[0]))); }},
          {"Currency", [](const Args& a) { return CurrencyToText(std::stoll(a[0])); }},
          {"FormLines",
           [](const Args& a) {
             // Counted alike wherever the text is cut into three pieces.
             const std::string_view text = a[0];
             std::string result;
             for (size_t x = 0; x <= text.size(); ++x) {
               for (size_t y = x; y <= text.size(); ++y) {
                 FormLineCounter counter;
                 for (auto piece : {text.substr(0, x), text.substr(x, y - x), text.substr(y)})
                   counter.Feed(piece);
                 counter.Finish();
                 const std::string got =
                     std::to_string(counter.Lines()) + " " + std::to_string(counter.Objects());
                 if (result.empty()) result = got;
                 EXPECT_EQ(got, result) << testing::Escaped(a[0]) << " cut at " << x << ", " << y;
               }
             }
             return result;
           }},
      });
}

TEST(FormConv, FormOfEveryValueTypeMatchesItsGoldenTextAndEveryCutIsAReadError) {
  const std::string form = testing::ReadBytes(RAVELIN_TEST_DATA "/linecount/all_values.dfm");
  const std::string full = FormBinaryToText(form);
  EXPECT_TRUE(
      testing::SameBytes(testing::ReadBytes(RAVELIN_TEST_DATA "/linecount/all_values.txt"), full));
  for (size_t length = 0; length < form.size(); ++length) {
    std::string text;
    std::string message;
    try {
      ConvertFormBinaryToText(form.substr(0, length),
                              [&](std::string_view piece) { text.append(piece); });
    } catch (const StreamError& e) {
      message = e.what();
    }
    ASSERT_EQ(message, kStreamReadError) << "cut at byte " << length;
    ASSERT_EQ(full.compare(0, text.size(), text), 0) << "cut at byte " << length;
  }
}

TEST(FormConv, NestingDeeperThanTheLimitIsNoForm) {
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  auto components = [&](int depth) {
    return repeat("\"T\" \"\" 00 ", depth) + repeat("00 ", depth);
  };
  auto lists = [&](int depth) {
    return "\"T\" \"F\" \"P\" " + repeat("01 ", depth) + repeat("00 ", depth) + "00 00";
  };
  auto collections = [&](int depth) {
    return "\"T\" \"F\" \"P\" " + repeat("0E 01 \"C\" ", depth) + "00 " + repeat("00 00 ", depth) +
           "00 00";
  };
  const struct {
    std::string stream;
    bool converts;
  } rows[] = {
      {components(kMaxFormNesting + 1), true},  // levels 0 to the limit
      {components(kMaxFormNesting + 2), false},
      {lists(kMaxFormNesting - 1), true},  // the property stands at level 1
      {lists(kMaxFormNesting), false},
      {collections(kMaxFormNesting / 2 - 1), true},
      {collections(kMaxFormNesting / 2), false},
      {components(100000), false},
      {lists(100000), false},
  };
  for (const auto& row : rows) {
    const std::string result = TextOrError(FormFile(row.stream));
    EXPECT_EQ(result == kInvalidStreamFormat, !row.converts) << row.stream.substr(0, 40);
  }
}

TEST(FormConv, LargeTextReachesTheSinkInBoundedPieces) {
  const std::string form =
      FormFile("\"T\" \"F\" \"P\" 0A u32:1048576 r\"" + std::string(1 << 20, 'Z') + "\" 00 00");
  std::string joined;
  size_t largest = 0;
  int pieces = 0;
  ConvertFormBinaryToText(form, [&](std::string_view piece) {
    joined.append(piece);
    largest = std::max(largest, piece.size());
    ++pieces;
  });
  EXPECT_EQ(joined, FormBinaryToText(form));
  EXPECT_GT(pieces, 10);
  EXPECT_LT(largest, 70000u);
}

}  // namespace
}  // namespace ravelin
