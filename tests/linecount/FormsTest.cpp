// Forms: the binary form converter and form counting, as the table
// tests/data/linecount/forms.txt gives them; a form holding every value type against its golden
// text, truncated and hostile forms, the pieces of text and the scratch file that receives it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "DataTable.h"
#include "FormNotation.h"
#include "SameText.h"
#include "TestFolder.h"
#include "common/Error.h"
#include "common/VornString.h"
#include "linecount/FormConv.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"

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

class Forms : public ::testing::Test {
 protected:
  /// CountForm on an input of the folder: "objects size lines", "none" when it has no form, or
  /// the message of the error it throws.
  std::string Count(const std::string& input) {
    Fs().ClearCache();
    TLcntEngine engine;
    TFormCounts counts{7, 8, 9};
    try {
      if (!engine.CountForm(folder_ / input, counts)) {
        EXPECT_EQ(counts.Objects + counts.Size + counts.Lines, 24) << "changed without a form";
        return "none";
      }
    } catch (const Error& e) {
      return ReplaceAll(e.what(), folder_.Path(), "<dir>");
    }
    return std::to_string(counts.Objects) + " " + std::to_string(counts.Size) + " " +
           std::to_string(counts.Lines);
  }
  testing::TempFolder folder_{"ravelin-forms-XXXXXX"};
  testing::ScopedCurrentFolder here_{folder_.Path()};
};

TEST_F(Forms, RoutinesGiveTheResultsOfTheTable) {
  std::filesystem::create_directory(folder_ / "Folder.dfm");
  testing::CheckRoutineTable(
      "linecount/forms.txt",
      {
          {"CountForm",
           [&](const Args& a) {
             const std::string form =
                 a[1].rfind("text", 0) == 0 ? a[1].substr(std::min<size_t>(5, a[1].size()))
                 : a[1] == "all values"
                     ? testing::ReadBytes(RAVELIN_TEST_DATA "/linecount/all_values.dfm")
                     : FormFile(a[1]);
             folder_.Write(a[0], form);
             const std::string counts = Count(a[2]);
             std::filesystem::remove(folder_ / a[0]);
             return counts;
           }},
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
          {"Converts",
           [](const Args& a) {
             const std::string text = TextOrError(FormFile(a[0]));
             return text.rfind("object", 0) == 0 ? "yes" : text;
           }},
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

TEST_F(Forms, FormOfEveryValueTypeMatchesItsGoldenTextAndEveryCutIsAReadError) {
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

TEST_F(Forms, LargeTextReachesTheSinkInBoundedPieces) {
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

TEST_F(Forms, ABinaryFormIsCountedAsTheScratchFileItWritesReadsBack) {
  // Names are written as stored, so line ends and a Ctrl-Z inside them reach the scratch file
  // raw; the counts are still those of the scratch file read line by line.
  auto withName = [](const std::string& property) {
    return FormFile("\"TForm\" \"F\" \"Left\" 02 01 \"" + property +
                    "\" 02 02 00 \"TPanel\" \"P\" \"" + property + "\" 01 06 \"" +
                    std::string(70, 'x') + "\" 00 00 00 00");
  };
  const struct {
    const char* name;
    std::string form;
  } rows[] = {
      {"every value type", testing::ReadBytes(RAVELIN_TEST_DATA "/linecount/all_values.dfm")},
      {"CR in a name", withName("A\rB")},
      {"LF CR in a name", withName("A\n\rB")},
      {"object after a line end in a name", withName("X\r\nobject Y")},
      {"Ctrl-Z in a name", withName("A\x1A"
                                    "B")},
      {"text above one scratch write",
       FormFile("\"TForm\" \"F\" \"P\" ( 01 )50 ( 0D )20000 ( 00 )52")},
  };
  folder_.Write("Tallion.TXT", std::string(100000, 'x'));
  for (const auto& row : rows) {
    folder_.Write("Main.dfm", row.form);
    const std::string counts = Count("Main.pas");
    const std::string scratch = testing::ReadBytes(folder_ / "Tallion.TXT");
    EXPECT_TRUE(testing::SameBytes(FormBinaryToText(row.form), scratch)) << row.name;
    FormLineCounter readBack;
    readBack.Feed(scratch);
    readBack.Finish();
    EXPECT_EQ(counts, std::to_string(readBack.Objects()) + " " + std::to_string(row.form.size()) +
                          " " + std::to_string(readBack.Lines()))
        << row.name;
  }
  folder_.Write("Main.dfm", rows[0].form);
  EXPECT_EQ(Count("Main.pas"), "2 644 53");
}

TEST_F(Forms, AFormThatFailsToConvertLeavesNothingBehind) {
  const std::string good = testing::ReadBytes(RAVELIN_TEST_DATA "/linecount/all_values.dfm");
  folder_.Write("Bad.dfm", good.substr(0, good.size() / 2));
  EXPECT_EQ(Count("Bad.pas"), "Stream read error in form file \"<dir>/Bad.dfm\"");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()),
                          std::filesystem::directory_iterator()),
            1);
  std::filesystem::create_directory(folder_ / "Tallion.TXT");
  EXPECT_EQ(Count("Bad.pas").rfind("Cannot create", 0), 0u);
  folder_.Write("Huge.dfm", "");
  std::filesystem::resize_file(folder_ / "Huge.dfm", std::uintmax_t{1} << 31);  // sparse
  EXPECT_EQ(Count("Huge.pas"),
            "Integer overflow: the form file \"<dir>/Huge.dfm\" holds 2147483648 bytes, more than "
            "2,147,483,647");
}

}  // namespace
}  // namespace ravelin
