// Counting the form of an input file on disk: which file is its form, text and binary forms
// (the latter through the scratch file Tallion.TXT), and the errors that end a run.
#include <gtest/gtest.h>

#include <filesystem>

#include "FormNotation.h"
#include "SameText.h"
#include "TestFolder.h"
#include "common/Error.h"
#include "linecount/FormConv.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;
using testing::FormFile;
using testing::ReadBytes;

class FormCount : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& bytes) {
    folder_.Write(name, bytes);
    Fs().ClearCache();
  }
  /// CountForm on an input file of the folder: "objects size lines", "none" when it has no
  /// form, or the message of the error it throws.
  std::string Count(const std::string& input) {
    TLcntEngine engine;
    TFormCounts counts{7, 8, 9};
    try {
      if (!engine.CountForm(folder_ / input, counts)) {
        EXPECT_EQ(counts.Objects + counts.Size + counts.Lines, 24) << "changed without a form";
        return "none";
      }
    } catch (const Error& e) {
      return e.what();
    }
    return std::to_string(counts.Objects) + " " + std::to_string(counts.Size) + " " +
           std::to_string(counts.Lines);
  }

  testing::TempFolder folder_{"ravelin-forms-XXXXXX"};
  testing::ScopedCurrentFolder here_{folder_.Path()};
};

TEST_F(FormCount, TheFormBesideAUnitIsFoundIgnoringCaseAndCountedAsText) {
  Write("unit1.dfm", "object Form1: TForm1\r\n  inherited X: TX\r\n  end\r\nend\r\n");
  Write("NoExt.DfM", "object A: TA\nend\n");
  Write("Tiny.dfm", "\xFF\x0A");
  Write("Three.dfm", "obj");
  Write("Marker.dfm", std::string("\xFF\x0A\x00", 3));  // a binary form cut after its marker
  Write("Empty.dfm", "");
  fs::create_directory(folder_ / "Folder.dfm");
  EXPECT_EQ(Count("Unit1.pas"), "1 53 4");
  EXPECT_EQ(Count("NoExt"), "1 17 2");
  EXPECT_EQ(Count("Tiny.pas"), "0 2 0");
  EXPECT_EQ(Count("Three.pas"), "0 3 1");
  EXPECT_EQ(Count("Marker.pas"),
            "Stream read error in form file \"" + folder_ / "Marker.dfm" + "\"");
  EXPECT_EQ(Count("Empty.pas"), "0 0 0");
  EXPECT_EQ(Count("Folder.pas"), "none");
  EXPECT_EQ(Count("Alone.pas"), "none");
}

TEST_F(FormCount, ABinaryFormIsCountedAsTheScratchFileItWritesReadsBack) {
  // Names are written as stored, so line ends and a Ctrl-Z inside them reach the scratch file
  // raw; the counts are still those of the scratch file read line by line.
  auto withName = [](const std::string& property) {
    return FormFile("\"TForm\" \"F\" \"Left\" 02 01 \"" + property +
                    "\" 02 02 00 \"TPanel\" \"P\" \"" + property + "\" 01 06 \"" +
                    std::string(70, 'x') + "\" 00 00 00 00");
  };
  std::string big = "\"TForm\" \"F\" \"P\"";  // text larger than one write to the scratch file
  for (int k = 0; k < 200; ++k) big += " 01";
  for (int k = 0; k < 5000; ++k) big += " 0D";
  for (int k = 0; k < 202; ++k) big += " 00";
  const struct {
    const char* name;
    std::string form;
  } rows[] = {
      {"every value type", ReadBytes(RAVELIN_TEST_DATA "/linecount/all_values.dfm")},
      {"CR in a name", withName("A\rB")},
      {"LF CR in a name", withName("A\n\rB")},
      {"object after a line end in a name", withName("X\r\nobject Y")},
      {"Ctrl-Z in a name", withName("A\x1A"
                                    "B")},
      {"a large text", FormFile(big)},
  };
  Write("Tallion.TXT", std::string(100000, 'x'));
  for (const auto& row : rows) {
    Write("Main.dfm", row.form);
    const std::string counts = Count("Main.pas");
    const std::string scratch = ReadBytes(folder_ / "Tallion.TXT");
    EXPECT_TRUE(testing::SameBytes(FormBinaryToText(row.form), scratch)) << row.name;
    FormLineCounter readBack;
    readBack.Feed(scratch);
    readBack.Finish();
    EXPECT_EQ(counts, std::to_string(readBack.Objects()) + " " + std::to_string(row.form.size()) +
                          " " + std::to_string(readBack.Lines()))
        << row.name;
  }
  Write("Main.dfm", rows[0].form);
  EXPECT_EQ(Count("Main.pas"), "2 644 53");
}

TEST_F(FormCount, ErrorsNameTheForm) {
  const std::string good = ReadBytes(RAVELIN_TEST_DATA "/linecount/all_values.dfm");
  const std::string name = "\" in form file \"" + folder_ / "Bad.dfm" + "\"";
  const struct {
    std::string form, message;
  } rows[] = {
      {testing::FormBytes("FF 0A 00 r\"X\" 00 u16:0 u32:0 r\"TPF9\""), kInvalidStreamFormat},
      {FormFile("\"T\" \"F\" \"P\" 4D"), kInvalidPropertyValue},
      {good.substr(0, good.size() / 2), kStreamReadError},
  };
  for (const auto& row : rows) {
    Write("bad.DFM", row.form);
    EXPECT_EQ(Count("Bad.pas"), row.message + " in form file \"" + folder_ / "bad.DFM" + "\"");
  }
  // What was converted before the failure stays in the scratch file.
  const std::string scratch = ReadBytes(folder_ / "Tallion.TXT");
  EXPECT_FALSE(scratch.empty());
  EXPECT_EQ(
      ReadBytes(RAVELIN_TEST_DATA "/linecount/all_values.txt").compare(0, scratch.size(), scratch),
      0);
  fs::remove(folder_ / "Tallion.TXT");
  fs::create_directory(folder_ / "Tallion.TXT");
  EXPECT_EQ(Count("Bad.pas").rfind("Cannot create", 0), 0u);
  Write("Huge.dfm", "");
  fs::resize_file(folder_ / "Huge.dfm", std::uintmax_t{1} << 31);  // sparse: no disk space used
  EXPECT_EQ(Count("Huge.pas"), "Integer overflow: the form file \"" + folder_ / "Huge.dfm" +
                                   "\" holds 2147483648 bytes, more than 2,147,483,647");
}

TEST_F(FormCount, RunsAppendTheFormReportOnlyWhenThereAreForms) {
  Write("Main.pas", "unit Main;\r\n");
  Write("main.DFM", FormFile("\"TForm\" \"Form1\" 00 00"));
  Write("Plain.pas", "unit Plain;\r\n");
  for (bool detailed : {true, false}) {
    for (const char* list : {"Main.pas\r\nPlain.pas\r\n", "Plain.pas\r\n"}) {
      TLcntEngine engine;
      engine.SetFileSpec(folder_ / "Tallion.Files");
      engine.UseListFile = true;
      engine.Detailed = detailed;
      engine.ListText = list;
      ASSERT_TRUE(engine.Execute());
      std::string report;
      for (const auto& line : engine.Lines) report += line + "\n";
      const bool forms = std::string(list).find("Main") != std::string::npos;
      const std::string tail =
          detailed ? "            Main.dfm            1            2           34\n"
                   : "           Total Objects          1\n        Equivalent Lines          2\n";
      EXPECT_EQ(report.find(tail) != std::string::npos, forms) << report;
      EXPECT_EQ(report.find(detailed ? "FORMS Detailed" : "Form Count") != std::string::npos,
                forms);
    }
  }
}

}  // namespace
}  // namespace ravelin
