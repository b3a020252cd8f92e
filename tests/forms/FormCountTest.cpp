// Form counting: finding the form of an input file, counting text and binary forms through the
// scratch file, the errors that end a run, and the forms detailed and summary reports.
#include <gtest/gtest.h>

#include <filesystem>

#include "FormWriter.h"
#include "SameText.h"
#include "SampleForms.h"
#include "TestFolder.h"
#include "common/Error.h"
#include "common/TextLines.h"
#include "linecount/FormConv.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;

using testing::FirstDifference;
using testing::ReadBytes;

std::string ReadGolden(const std::string& name) {
  return ReadBytes(std::string(RAVELIN_TEST_DATA) + "/forms/" + name);
}

TFormCounts Counts(std::int32_t objects, std::size_t size, std::int32_t lines) {
  return TFormCounts{objects, static_cast<std::int32_t>(size), lines};
}

/// The last count lines of lines, which holds at least that many.
std::vector<std::string> LastLines(const std::vector<std::string>& lines, size_t count) {
  return std::vector<std::string>(lines.end() - static_cast<long>(count), lines.end());
}

/// Compares all three counters at once, naming the case on failure.
void ExpectCounts(const TFormCounts& expected, const TFormCounts& actual, const std::string& what) {
  auto show = [](const TFormCounts& c) {
    return std::to_string(c.Objects) + "/" + std::to_string(c.Size) + "/" + std::to_string(c.Lines);
  };
  EXPECT_EQ(show(expected), show(actual)) << what;
}

// ---------------------------------------------------------------------------------------------
// Reports

TEST(FormReport, DetailedReportMatchesGolden) {
  TLcntEngine engine;
  engine.WriteFormHeader();
  engine.WriteFormRow("C:\\Src\\Main.pas", Counts(12, 3120, 148));
  engine.WriteFormRow("C:\\Src\\ReportWriterDialog.pas", Counts(4, 1442, 57));
  engine.FormTotals = Counts(16, 4562, 205);
  engine.FormCount = 2;
  engine.WriteFormTotals();
  const std::string expected = ReadGolden("detailed_report.txt");
  const std::string actual = JoinLinesCrLf(engine.FormLines);
  EXPECT_EQ(expected, actual) << FirstDifference(expected, actual);
}

TEST(FormReport, SummaryMatchesGolden) {
  TLcntEngine engine;
  engine.FileSpec = "C:\\Src\\Tallion.Files";
  engine.FileCount = 3;
  engine.FormCount = 1;
  engine.FormTotals = Counts(7, 2048, 93);
  engine.WriteFormSummary();
  const std::string expected = ReadGolden("summary_report.txt");
  const std::string actual = JoinLinesCrLf(engine.FormLines);
  EXPECT_EQ(expected, actual) << FirstDifference(expected, actual);
}

TEST(FormReport, SummaryOverOneInputHasNoListLine) {
  TLcntEngine engine;
  engine.FileSpec = "/src/Main.pas";
  engine.FileCount = 1;
  engine.FormCount = 1;
  engine.WriteFormSummary();
  for (const std::string& line : engine.FormLines) {
    EXPECT_EQ(std::string::npos, line.find("(a list file")) << line;
  }
  ASSERT_EQ(9u, engine.FormLines.size());
  EXPECT_EQ("    /src/Main.pas", engine.FormLines[2]);
}

TEST(FormReport, RowsNameTheFormOfAUnitAndKeepOtherNames) {
  struct Row {
    const char* input;
    std::vector<std::string> lines;
  };
  const std::string numbers = "            1            2            3";
  const Row rows[] = {
      {"/src/Main.pas", {"            Main.dfm" + numbers}},
      {"/src/Upper.PAS", {"           Upper.dfm" + numbers}},
      {"C:\\Src\\Win.pas", {"             Win.dfm" + numbers}},
      {"/src/Project1.dpr", {"        Project1.dpr" + numbers}},
      {"/src/Form2.dfm", {"           Form2.dfm" + numbers}},
      {"NoFolder.pas", {"        NoFolder.dfm" + numbers}},
      {"/src/TwentyCharsUnitX.pas", {"TwentyCharsUnitX.dfm" + numbers}},
      {"/src/TwentyOneCharUnit.pas", {"TwentyOneCharUnit.dfm", std::string(20, ' ') + numbers}},
  };
  for (const Row& row : rows) {
    TLcntEngine engine;
    engine.WriteFormRow(row.input, Counts(1, 3, 2));
    EXPECT_EQ(row.lines, engine.FormLines) << row.input;
  }
  TLcntEngine wide;
  wide.WriteFormRow("/a/B.pas", Counts(123456789, 5, 6));
  EXPECT_EQ("               B.dfm     123456789            6            5", wide.FormLines.at(0));
}

TEST(FormReport, AddFormCountsAddsFieldByFieldAndThrowsOnOverflow) {
  TFormCounts total = Counts(1, 2, 3);
  AddFormCounts(Counts(10, 20, 30), total);
  ExpectCounts(Counts(11, 22, 33), total, "sum");
  TFormCounts full = Counts(0, 2147483647, 0);
  EXPECT_THROW(AddFormCounts(Counts(0, 1, 0), full), OverflowError);
}

// ---------------------------------------------------------------------------------------------
// Counting the lines of a text handed over in pieces

/// Lines and "object" lines of a whole text read line by line.
std::pair<std::int32_t, std::int32_t> WholeTextCounts(std::string_view text) {
  std::int32_t lines = 0;
  std::int32_t objects = 0;
  ForEachLine(text, [&](std::string_view line) {
    ++lines;
    if (IsObjectLine(line)) ++objects;
  });
  return {lines, objects};
}

TEST(FormLineCounter, PiecesCountLikeTheWholeTextWhereverTheyAreCut) {
  const std::string texts[] = {
      "",
      "object A: TA\r\nend\r\n",
      "object A: TA\r\n\r\n  object B: TB\rend\nend",
      "\r\n\r\n",
      "\n\r\n\r",
      "object\r\r\nobject\n\nx",
      "object A\r\nend\r\n\x1A"
      "object B\r\nend\r\n",
      "object A\x1A\r\nobject B",
      "\x1A",
      "  OBJECT\t\r\nobject\tX\r\n  object",
  };
  for (const std::string& text : texts) {
    const auto expected = WholeTextCounts(text);
    // Every way of cutting the text in two or three pieces.
    for (size_t a = 0; a <= text.size(); ++a) {
      for (size_t b = a; b <= text.size(); ++b) {
        FormLineCounter counter;
        counter.Feed(std::string_view(text).substr(0, a));
        counter.Feed(std::string_view(text).substr(a, b - a));
        counter.Feed(std::string_view(text).substr(b));
        counter.Finish();
        EXPECT_EQ(expected.first, counter.Lines()) << text << " cut at " << a << ", " << b;
        EXPECT_EQ(expected.second, counter.Objects()) << text << " cut at " << a << ", " << b;
      }
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Counting form files on disk

class FormCountTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_ / name; }
  void Write(const std::string& name, const std::string& bytes) {
    folder_.Write(name, bytes);
    Fs().ClearCache();
  }
  /// CountForm on an input file of the test folder; the message of a failure in *error.
  bool Count(const std::string& input, TFormCounts& counts, std::string* error = nullptr) {
    TLcntEngine engine;
    try {
      return engine.CountForm(Path(input), counts);
    } catch (const Error& e) {
      if (!error) throw;
      *error = e.what();
      return true;
    }
  }

  /// Sets engine to count the files named in listText, as if read from the list file
  /// Tallion.Files of the test folder.
  void ListRun(TLcntEngine& engine, const std::string& listText, bool detailed) {
    engine.SetFileSpec(Path("Tallion.Files"));
    engine.UseListFile = true;
    engine.Detailed = detailed;
    engine.ListText = listText;
  }

  testing::TempFolder folder_{"ravelin-forms-XXXXXX"};
  testing::ScopedCurrentFolder here_{folder_.Path()};
};

TEST_F(FormCountTest, NoFormFileOrAFolderIsNoFormAndLeavesCountsAlone) {
  Write("Alone.pas", "unit Alone;");
  fs::create_directory(Path("Folder.dfm"));
  Fs().ClearCache();
  for (const char* input : {"Alone.pas", "Folder.pas"}) {
    TFormCounts counts = Counts(7, 8, 9);
    EXPECT_FALSE(Count(input, counts)) << input;
    ExpectCounts(Counts(7, 8, 9), counts, input);
  }
}

TEST_F(FormCountTest, FormFileIsFoundIgnoringLetterCase) {
  Write("unit1.dfm", "object Form1: TForm1\r\nend\r\n");
  TFormCounts counts;
  EXPECT_TRUE(Count("Unit1.pas", counts));
  ExpectCounts(Counts(1, 27, 2), counts, "unit1.dfm");
  Write("NoExt.DfM", "object A: TA\nend\n");
  EXPECT_TRUE(Count("NoExt", counts));
  ExpectCounts(Counts(1, 17, 2), counts, "name without extension");
}

TEST_F(FormCountTest, TinyFormsCountWithTheirSizeOnly) {
  for (const std::string bytes : {"", "\xFF", "\xFF\x0A", "ob"}) {
    Write("Tiny.dfm", bytes);
    TFormCounts counts = Counts(5, 5, 5);
    EXPECT_TRUE(Count("Tiny.pas", counts)) << bytes.size();
    ExpectCounts(Counts(0, bytes.size(), 0), counts, std::to_string(bytes.size()) + " bytes");
  }
}

TEST_F(FormCountTest, TextFormsCountObjectLinesOnly) {
  struct Row {
    const char* name;
    std::string text;
    std::int32_t objects;
    std::int32_t lines;
  };
  const Row rows[] = {
      {"object root", "object F: TF\r\n  object B: TB\r\n  end\r\nend\r\n", 2, 4},
      {"inherited root counts one fewer", "inherited F: TF\r\n  object B: TB\r\n  end\r\nend\r\n",
       1, 4},
      {"inline does not count", "inline F: TF\r\nend\r\n", 0, 2},
      {"case and indentation do not matter", "\t  OBJECT F: TF\r\n  Object\r\nend", 2, 3},
      {"tab after the word does not count", "object\tF: TF\r\nend\r\n", 0, 2},
      {"trailing tab is trimmed", "object\t\r\nend\r\n", 1, 2},
      {"longer word does not count", "objects F\r\nobject_ F\r\n", 0, 2},
      {"empty lines count", "object F: TF\r\n\r\n\r\nend\r\n", 1, 4},
      {"LF and CR end lines too", "object A: TA\nobject B: TB\rend\nend", 2, 4},
      {"Ctrl-Z ends the text",
       "object A: TA\r\nend\r\n\x1A"
       "object B: TB\r\n",
       1, 2},
  };
  for (const Row& row : rows) {
    Write("Text.dfm", row.text);
    TFormCounts counts;
    ASSERT_TRUE(Count("Text.pas", counts)) << row.name;
    ExpectCounts(Counts(row.objects, row.text.size(), row.lines), counts, row.name);
  }
}

TEST_F(FormCountTest, BinaryFormReplacesTheScratchFileWithItsText) {
  Write("Tallion.TXT", std::string(100000, 'x'));
  const std::string form = test::AllValuesForm();
  Write("Main.dfm", form);
  TFormCounts counts;
  ASSERT_TRUE(Count("Main.pas", counts));
  EXPECT_EQ(ReadGolden("all_values.txt"), ReadBytes(Path("Tallion.TXT")));
  ExpectCounts(Counts(2, form.size(), 53), counts, "all values form");
}

TEST_F(FormCountTest, BinaryFormCountsEqualTheScratchFileReadBack) {
  // Names are written as stored, so line ends and a Ctrl-Z inside them reach the scratch file
  // raw; the counts must still be those of the scratch file read back line by line.
  struct Row {
    const char* name;
    std::string form;
  };
  auto withName = [](std::string_view propertyName) {
    test::FormWriter w;
    w.Object("TForm", "F").Prop("Left").Int(1).Prop(propertyName).Int(2).End();
    w.Object("TPanel", "P").Prop(propertyName).List().String(std::string(70, 'x')).End().End();
    w.End().End();
    return w.Bytes();
  };
  std::string big;
  {
    // Text larger than one write to the scratch file: a deep list of many one-byte items.
    test::FormWriter w;
    w.Object("TForm", "F").Prop("P");
    for (int k = 0; k < 50; ++k) w.List();
    for (int k = 0; k < 20000; ++k) w.Nil();
    for (int k = 0; k < 50; ++k) w.End();
    w.End().End();
    big = w.Bytes();
  }
  const Row rows[] = {
      {"all values", test::AllValuesForm()},
      {"CR in a property name", withName("A\rB")},
      {"LF CR in a property name", withName("A\n\rB")},
      {"object word after a line end in a name", withName("X\r\nobject Y")},
      {"Ctrl-Z in a property name", withName("A\032B")},
      {"text above one scratch write", big},
  };
  for (const Row& row : rows) {
    Write("Main.dfm", row.form);
    TFormCounts counts;
    ASSERT_TRUE(Count("Main.pas", counts)) << row.name;
    TFormCounts readBack;
    TLcntEngine engine;
    engine.CountFormText(Path("Tallion.TXT"), readBack);
    EXPECT_EQ(FormBinaryToText(row.form), ReadBytes(Path("Tallion.TXT"))) << row.name;
    ExpectCounts(Counts(readBack.Objects, row.form.size(), readBack.Lines), counts, row.name);
  }
}

TEST_F(FormCountTest, BadBinaryFormEndsWithAnErrorNamingTheForm) {
  struct Row {
    const char* name;
    std::string form;
    std::string message;
  };
  const std::string good = test::AllValuesForm();
  const Row rows[] = {
      {"wrong signature", test::FormWriter("X", "TPF9").Bytes(), kInvalidStreamFormat},
      {"unknown value type", test::FormWriter().Object("T", "F").Prop("P").Byte(77).Bytes(),
       kInvalidPropertyValue},
      {"truncated", good.substr(0, good.size() / 2), kStreamReadError},
  };
  for (const Row& row : rows) {
    Write("Bad.dfm", row.form);
    TFormCounts counts;
    std::string error;
    Count("Bad.pas", counts, &error);
    EXPECT_EQ(row.message + " in form file \"" + Path("Bad.dfm") + "\"", error) << row.name;
  }
  // Nothing of a form that failed to convert is left behind.
  EXPECT_FALSE(fs::exists(Path("Tallion.TXT")));
  EXPECT_EQ(std::distance(fs::directory_iterator(Path("")), fs::directory_iterator()), 1);
}

TEST_F(FormCountTest, UnwritableScratchFileIsAnIoError) {
  fs::create_directory(Path("Tallion.TXT"));
  Write("Main.dfm", test::MinimalForm());
  TFormCounts counts;
  EXPECT_THROW(Count("Main.pas", counts), IoError);
}

TEST_F(FormCountTest, FormAbove2GiBIsAnOverflow) {
  Write("Huge.dfm", "");
  fs::resize_file(Path("Huge.dfm"), (std::uintmax_t{1} << 31));  // sparse: no disk space used
  TFormCounts counts;
  std::string error;
  Count("Huge.pas", counts, &error);
  EXPECT_NE(std::string::npos, error.find("Integer overflow")) << error;
  EXPECT_NE(std::string::npos, error.find("Huge.dfm")) << error;
}

TEST_F(FormCountTest, DetailedRunAppendsTheFormReport) {
  Write("Main.pas", "unit Main;\r\n");
  Write("main.DFM", test::MinimalForm());
  Write("Plain.pas", "unit Plain;\r\n");
  Write("Text.pas", "unit Text;\r\n");
  Write("Text.dfm", "inherited T: TT\r\n  object A: TA\r\n  end\r\nend\r\n");
  TLcntEngine engine;
  ListRun(engine, "Main.pas\r\nPlain.pas\r\nText.pas\r\n", true);
  ASSERT_TRUE(engine.Execute());
  const std::vector<std::string> tail = {
      "                           FORMS Detailed Report",
      "                name      Objects        Lines         Size",
      "--------------------     --------     --------     --------",
      "            Main.dfm            1            2           34",
      "            Text.dfm            1            4           45",
      "--------------------     --------     --------     --------",
      "               TOTAL            2            6           79",
      "",
      " 2 forms processed.",
  };
  ASSERT_GE(engine.Lines.size(), tail.size());
  EXPECT_EQ(tail, LastLines(engine.Lines, tail.size()));
  EXPECT_EQ(2, engine.FormCount);
}

TEST_F(FormCountTest, RunsWithoutFormsHaveNoFormReport) {
  Write("Plain.pas", "unit Plain;\r\n");
  for (bool detailed : {true, false}) {
    TLcntEngine engine;
    ListRun(engine, "Plain.pas\r\n", detailed);
    ASSERT_TRUE(engine.Execute());
    for (const std::string& line : engine.Lines) {
      EXPECT_EQ(std::string::npos, line.find("FORMS")) << line;
      EXPECT_EQ(std::string::npos, line.find("Form Count")) << line;
    }
  }
}

TEST_F(FormCountTest, SummaryRunNamesTheNumberOfForms) {
  Write("A.pas", "unit A;\r\n");
  Write("A.dfm", "object A: TA\r\nend\r\n");
  Write("B.pas", "unit B;\r\n");
  Write("C.pas", "unit C;\r\n");
  TLcntEngine engine;
  ListRun(engine, "A.pas\r\nB.pas\r\nC.pas\r\n", false);
  ASSERT_TRUE(engine.Execute());
  const std::vector<std::string> tail = {
      "",
      "Form Count Summary Report for: ",
      "    " + Path("Tallion.Files"),
      "    (a list file containing 1 form names)",
      "",
      "                category      value",
      "------------------------     ------",
      "           Total Objects          1",
      "        Equivalent Lines          2",
      "        Size (all Forms)         19  bytes",
  };
  ASSERT_GE(engine.Lines.size(), tail.size());
  EXPECT_EQ(tail, LastLines(engine.Lines, tail.size()));
}

}  // namespace
}  // namespace ravelin
