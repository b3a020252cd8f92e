// The analysis: uses clauses read from files on disk into the unit tree and the unit file list.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "PassThroughFileSystem.h"
#include "UnitTestFiles.h"
#include "common/Error.h"
#include "common/PathUtil.h"

namespace ravelin {
namespace {

using testing_units::ListText;
using testing_units::ProjectTest;
using testing_units::TreeText;

/// A project on disk as "name=text|name=text", analysed from root (or its first file).
struct Project {
  const char* what;
  std::string files;
  std::string tree;  // TreeText of the result
  std::string list;  // ListText of the result, the project folder written "<dir>"
  std::string root = "";
};

class UnitScan : public ProjectTest {
 protected:
  void Check(const std::vector<Project>& rows) {
    for (const auto& row : rows) {
      for (const auto& entry : std::filesystem::directory_iterator(folder_))
        std::filesystem::remove_all(entry.path());
      Fs().ClearCache();
      std::string root = row.root;
      for (size_t at = 0; at < row.files.size();) {
        size_t bar = std::min(row.files.find('|', at), row.files.size());
        size_t eq = row.files.find('=', at);
        if (root.empty()) root = row.files.substr(at, eq - at);
        Write(row.files.substr(at, eq - at), row.files.substr(eq + 1, bar - eq - 1));
        at = bar + 1;
      }
      BuildUnitTree(root);
      EXPECT_EQ(TreeText(TheUnitTree()), row.tree) << row.what;
      EXPECT_EQ(Anonymous(ListText()), row.list) << row.what;
    }
  }
};

TEST_F(UnitScan, FollowsUsesClausesThroughTheFilesFound) {
  Check({
      {"project naming a unit with in and a form comment",
       "Demo.dpr=program Demo;\r\nuses\r\n  Forms,\r\n  Unit1 in 'Unit1.pas' {Form1};\r\n"
       "begin\r\nend.\r\n"
       "|Unit1.pas=unit Unit1;\ninterface\nuses Forms;\nimplementation\nuses Dialogs;\nend.\n",
       "V:Demo.dpr\nV:Forms\nV:Unit1\n  V:Forms\n  H:Dialogs\n",
       "<dir>/Unit1.pas\nDemo.dpr\nDialogs.pas\nForms.pas\n"},
      {"a unit named twice gets two nodes, one entry and one scan",
       "P.dpr=program P; uses A; begin end.|A.pas=unit A; interface uses B; implementation uses "
       "B; end.|B.pas=unit B; interface uses C; implementation end.",
       "V:P.dpr\nV:A\n  V:B\n    V:C\n  H:B\n", "<dir>/A.pas\n<dir>/B.pas\nC.pas\nP.dpr\n"},
      {"names differing in case are one entry",
       "P.dpr=program P; uses SysUtils, sysutils, SYSUTILS; begin end.",
       "V:P.dpr\nV:SysUtils\nV:sysutils\nV:SYSUTILS\n", "P.dpr\nSysUtils.pas\n"},
      {"uses in comments and strings is no clause",
       "P.dpr=program P; { uses Hidden1; } // uses Hidden2;\n(* uses Hidden3; *)\n"
       "const S = 'uses Hidden4;';\nuses A;\nbegin end.",
       "V:P.dpr\nV:A\n", "A.pas\nP.dpr\n"},
      {"both branches of a conditional section are followed",
       "P.dpr=program P;\nuses {$IFDEF LINUX} ULinux, {$ELSE} UWin, {$ENDIF} Common;\nbegin end.",
       "V:P.dpr\nV:ULinux\nV:UWin\nV:Common\n", "Common.pas\nP.dpr\nULinux.pas\nUWin.pas\n"},
      {"dotted names are recorded whole, with or without blanks",
       "P.dpr=program P;\nuses System.SysUtils, Vcl . Forms,\n  Data.DB in 'Data.DB.pas';\nbegin "
       "end.|System.SysUtils.pas=unit System.SysUtils; interface uses System. Types; "
       "implementation end.",
       "V:P.dpr\nV:System.SysUtils\n  V:System.Types\nV:Vcl.Forms\nV:Data.DB\n",
       "<dir>/System.SysUtils.pas\nData.DB.pas\nP.dpr\nSystem.Types.pas\nVcl.Forms.pas\n"},
      {"a cycle and a unit using itself are scanned once",
       "P.dpr=program P; uses A; begin end.|A.pas=unit A; interface uses B, A; implementation "
       "end.|B.pas=unit B; interface uses A; implementation end.",
       "V:P.dpr\nV:A\n  V:B\n    V:A\n  V:A\n", "<dir>/A.pas\n<dir>/B.pas\nP.dpr\n"},
      {"the file named on disk in other letter case is found and listed as spelled there",
       "P.dpr=program P; uses Unit1; begin end.|unit1.PAS=unit Unit1; interface uses X; "
       "implementation end.",
       "V:P.dpr\nV:Unit1\n  V:X\n", "<dir>/unit1.PAS\nP.dpr\nX.pas\n"},
      {"files are taken up in the order of the list, which shapes the tree",
       "P.dpr=program P; uses B, A; begin end.|A.pas=unit A; interface uses X; implementation "
       "end.|B.pas=unit B; interface uses X; implementation end.|X.pas=unit X; interface uses "
       "Y; implementation end.",
       "V:P.dpr\nV:B\n  V:X\n    V:Y\nV:A\n  V:X\n",
       "<dir>/A.pas\n<dir>/B.pas\n<dir>/X.pas\nP.dpr\nY.pas\n"},
      {"a unit whose file name differs from its identifier hangs its units on top",
       "P.dpr=program P; uses Tools in 'Helpers.pas'; begin end.|Helpers.pas=unit Tools; "
       "interface uses Z; implementation end.",
       "V:P.dpr\nV:Tools\nV:Z\n", "<dir>/Helpers.pas\nP.dpr\nZ.pas\n"},
  });
}

TEST_F(UnitScan, MalformedClausesAreSkippedWithoutReadingPastTheTokens) {
  Check({
      {"empty clause", "P.dpr=program P; uses ; uses C; begin end.", "V:P.dpr\nV:C\n",
       "C.pas\nP.dpr\n"},
      {"missing name after a comma", "P.dpr=uses A, , B; uses C;", "V:P.dpr\nV:A\nV:C\n",
       "A.pas\nC.pas\nP.dpr\n"},
      {"number for a name", "P.dpr=uses 123, B; uses C;", "V:P.dpr\nV:C\n", "C.pas\nP.dpr\n"},
      {"reserved word for a name", "P.dpr=uses begin, B; uses C;", "V:P.dpr\nV:C\n",
       "C.pas\nP.dpr\n"},
      {"in without a string", "P.dpr=uses A in , B; uses C;", "V:P.dpr\nV:A\nV:C\n",
       "A.pas\nC.pas\nP.dpr\n"},
      {"in with an empty string", "P.dpr=uses A in '', B; uses C;", "V:P.dpr\nV:A\nV:C\n",
       "A.pas\nC.pas\nP.dpr\n"},
      {"in as the last token", "P.dpr=uses A in", "V:P.dpr\nV:A\n", "A.pas\nP.dpr\n"},
      {"file ends after an in clause", "P.dpr=uses A in 'X.pas'", "V:P.dpr\nV:A\n",
       "P.dpr\nX.pas\n"},
      {"file ends after a comma", "P.dpr=uses A, B,", "V:P.dpr\nV:A\nV:B\n",
       "A.pas\nB.pas\nP.dpr\n"},
      {"file ends after a name", "P.dpr=uses A", "V:P.dpr\nV:A\n", "A.pas\nP.dpr\n"},
      {"uses as the last token", "P.dpr=program P; uses", "V:P.dpr\n", "P.dpr\n"},
      {"dot without a name after it", "P.dpr=uses A., B.;", "V:P.dpr\nV:A\nV:B\n",
       "A.pas\nB.pas\nP.dpr\n"},
      // Roots that are no Pascal at all.
      {"empty root", "P.dpr=", "V:P.dpr\n", "P.dpr\n"},
      {"missing root", "", "V:Nothing.dpr\n", "Nothing.dpr\n", "Nothing.dpr"},
      {"root that is a folder", "sub/x.txt=x", "V:sub\n", "sub\n", "sub"},
  });
}

TEST_F(UnitScan, BinaryJunkGivesSomeResultWithoutFailing) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; ++round) {
    std::string junk(5000, ' ');
    for (char& c : junk) c = "uses ,;.'{}(*)in\x1a\n\r\0abAB12"[random() % 22];
    Write("P.dpr", junk);
    EXPECT_NO_THROW(BuildUnitTree("P.dpr")) << round;
    EXPECT_TRUE(UnitFiles().Contains("P.dpr"));
  }
}

TEST_F(UnitScan, UsesClauseOfTenThousandUnits) {
  std::string text = "program P; uses U0";
  for (int i = 1; i < 10000; ++i) text += ", U" + std::to_string(i);
  Write("P.dpr", text + "; begin end.");
  BuildUnitTree("P.dpr");
  EXPECT_EQ(UnitFiles().Count(), 10001u);
  int nodes = 0;
  TheUnitTree().WalkChart([&](TUnitNode&) { ++nodes; });
  EXPECT_EQ(nodes, 10001);
}

TEST_F(UnitScan, InClauseWithWindowsPathAndUnitInTheCurrentFolderAreNamedInFull) {
  Write("proj/Main.dpr", "program Main; uses X in '..\\Sub\\X.pas', Unit1; begin end.");
  Write("proj/Unit1.pas", "unit Unit1; interface implementation end.");
  Write("sub/x.pas", "unit X; interface uses Y; implementation end.");
  Fs().SetCurrentFolder(Path("proj"));
  BuildUnitTree(Path("proj/Main.dpr"));
  EXPECT_EQ(Anonymous(ListText()),
            "<dir>/proj/Main.dpr\n<dir>/proj/Unit1.pas\n<dir>/sub/x.pas\nY.pas\n");
  EXPECT_EQ(TreeText(TheUnitTree()), "V:" + Path("proj/Main.dpr") + "\nV:X\n  V:Y\nV:Unit1\n");
  EXPECT_EQ(Anonymous(ProjectFolder), "<dir>/proj/");
  EXPECT_EQ(StartFile, Path("proj/Main.dpr"));
}

TEST_F(UnitScan, SearchFoldersAreTriedInOrderWhenSwitchedOn) {
  Write("P.dpr", "program P; uses Forms, Controls, Graphics, System, Nowhere; begin end.");
  Write("lib/forms.pas", "unit Forms; interface uses Graphics; implementation end.");
  Write("vcl/Controls.pas", "unit Controls; interface implementation end.");
  Write("vcl/sub/Graphics.pas", "unit Graphics; interface implementation end.");
  Write("rtl/System.pas", "unit System; interface implementation end.");
  struct Row {
    const char* what;
    bool useSearch, useVcl, useRtl;
    std::string vclPath;
    std::string list;
  } rows[] = {
      {"nothing switched on", false, false, false, "vcl",
       "Controls.pas\nForms.pas\nGraphics.pas\nNowhere.pas\nP.dpr\nSystem.pas\n"},
      {"all switched on, class library folder without trailing slash", true, true, true, "vcl",
       "<dir>/rtl/System.pas\n<dir>/vcl/Controls.pas\n<dir>/vcl/sub/Graphics.pas\n"
       "lib/forms.pas\nNowhere.pas\nP.dpr\n"},
      {"class library folder with trailing slash", true, true, true, "vcl/",
       "<dir>/rtl/System.pas\n<dir>/vcl/Controls.pas\n<dir>/vcl/sub/Graphics.pas\n"
       "lib/forms.pas\nNowhere.pas\nP.dpr\n"},
      {"class library subfolder finds its parent through ..", false, true, false, "vcl/sub",
       "<dir>/vcl/Controls.pas\n<dir>/vcl/sub/Graphics.pas\nForms.pas\nNowhere.pas\nP.dpr\n"
       "System.pas\n"},
      {"a setting without its switch is not searched", true, false, true, "vcl",
       "<dir>/rtl/System.pas\nControls.pas\nGraphics.pas\nlib/forms.pas\nNowhere.pas\nP.dpr\n"},
  };
  SearchPaths = Path("missing") + ";;lib;";
  RtlPath = Path("rtl/");
  for (const auto& row : rows) {
    VclPath = Path(row.vclPath);
    UseSearchPath = row.useSearch, UseVcl = row.useVcl, UseRtl = row.useRtl;
    BuildUnitTree("P.dpr");
    EXPECT_EQ(Anonymous(ListText()), row.list) << row.what;
  }
}

/// The disk, except that B.pas cannot be opened.
struct UnreadableB : testing::PassThroughFileSystem {
  OpenedFile OpenRead(std::string_view p, Readable what) override {
    if (NamePart(p) == "B.pas") return {nullptr, "Permission denied"};
    return PassThroughFileSystem::OpenRead(p, what);
  }
};

TEST_F(UnitScan, UnreadableUnitFileEndsTheAnalysisNamingItAndKeepsWhatWasGathered) {
  Write("P.dpr", "program P; uses A, B; begin end.");
  Write("A.pas", "unit A; interface uses C; implementation end.");
  Write("B.pas", "unit B; interface uses D; implementation end.");
  UnreadableB fs;
  ScopedFileSystem scoped(fs);
  try {
    BuildUnitTree("P.dpr");
    FAIL() << "no error";
  } catch (const IoError& e) {
    EXPECT_NE(std::string(e.what()).find("B.pas"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Anonymous(ListText()), "<dir>/A.pas\n<dir>/B.pas\nC.pas\nP.dpr\n");
  EXPECT_EQ(TreeText(TheUnitTree()), "V:P.dpr\nV:A\n  V:C\nV:B\n");
}

TEST_F(UnitScan, EachAnalysisStartsFromEmptyResults) {
  Write("P.dpr", "program P; uses A; begin end.");
  Write("Q.dpr", "program Q; uses B; begin end.");
  BuildUnitTree("P.dpr");
  BuildUnitTree("Q.dpr");
  EXPECT_EQ(ListText(), "B.pas\nQ.dpr\n");
  EXPECT_EQ(TreeText(TheUnitTree()), "V:Q.dpr\nV:B\n");
  ClearUnitAnalysis();
  EXPECT_EQ(ListText(), "");
  EXPECT_EQ(TheUnitTree().RootNode(), nullptr);
}

TEST(UnitFileList, OrdersInCapitalsAndKeepsOneEntryPerNameIgnoringCase) {
  TUnitFileList list;
  for (const char* name : {"b.pas", "A.pas", "a.PAS", "_x.pas", "Ab.pas", "/z/Z.pas", "B.PAS"})
    list.Add(name);
  std::vector<std::string> expected{"/z/Z.pas", "A.pas", "Ab.pas", "b.pas", "_x.pas"};
  EXPECT_EQ(list.Names(), expected);
  EXPECT_TRUE(list.Contains("AB.PAS"));
  EXPECT_EQ(list.FirstUntaken(), "/z/Z.pas");
  list.MarkTaken("/Z/z.pas");
  EXPECT_TRUE(list.IsTaken("/z/Z.pas"));
  EXPECT_EQ(list.FirstUntaken(), "A.pas");
  EXPECT_FALSE(list.Add("a.pas"));
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.FirstUntaken(), std::nullopt);
}

TEST(UnitScanner, KeepsSignificantTokensOnly) {
  TScanner scanner;
  std::vector<std::string> lines{"uses A {c} (*d*) //e", "in 'x.pas', 1, 2.5, begin;"};
  scanner.SetSource(&lines);
  EXPECT_TRUE(scanner.Scan());
  std::string out;
  for (const auto& token : scanner.Tokens)
    out += std::to_string(token->Kind) + "=" + token->GetText() + " ";
  EXPECT_EQ(out, "92=USES 3=A 58=IN 6='x.pas' 16=, 5=1 16=, 4=2.5 16=, 36=BEGIN 29=; ");
  scanner.Buffer.Reset();
  lines = {"x"};
  scanner.SetSource(&lines);
  scanner.Scan();
  EXPECT_EQ(scanner.Tokens.size(), 1u);  // the tokens of the file before are gone
}

}  // namespace
}  // namespace ravelin
