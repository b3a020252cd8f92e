// The unit analysis over files on disk: the projects of tests/data/units/projects.txt, files
// that cannot be read, junk, and very long clauses.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "DataTable.h"
#include "PassThroughFileSystem.h"
#include "UnitTestFiles.h"
#include "common/Error.h"
#include "common/PathUtil.h"

namespace ravelin {
namespace {

using testing_units::Analyse;
using testing_units::ListText;
using testing_units::TreeText;

class Analysis : public testing_units::ProjectTest {};

TEST_F(Analysis, ProjectsGiveTheirTreeAndList) {
  const auto blocks = testing::ReadBlocks("units/projects.txt");
  EXPECT_GE(blocks.size(), 30u);
  for (const auto& block : blocks) {
    Fs().SetCurrentFolder(folder_);  // Windows removes no folder that is current
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      std::filesystem::remove_all(entry.path());
    Fs().ClearCache();
    Settings() = {};
    std::string root;
    for (const auto& [key, text] : block.parts) {
      if (key.rfind("file ", 0) != 0) continue;
      Write(key.substr(5), text);
      if (root.empty()) root = key.substr(5);
    }
    auto line = [&](const std::string& part) {
      return ReplaceAll(TextBefore(block.Part(part), "\n"), "<dir>", folder_);
    };
    if (!block.Part("root").empty()) root = line("root");
    std::istringstream settings(ReplaceAll(block.Part("settings"), "<dir>", folder_));
    for (std::string setting; std::getline(settings, setting);) {
      const std::string key = TextBefore(setting, "="), value = TextAfter(setting, "=");
      SettingsState& s = Settings();
      if (key == "SearchPaths") s.SearchPaths = value;
      if (key == "RtlPath") s.RtlPath = value;
      if (key == "VclPath") s.VclPath = value;
      if (key == "UseSearchPath") s.UseSearchPath = value == "1";
      if (key == "UseRtl") s.UseRtl = value == "1";
      if (key == "UseVcl") s.UseVcl = value == "1";
    }
    if (!block.Part("current folder").empty()) Fs().SetCurrentFolder(line("current folder"));
    Analyse(root);
    if (!block.Part("tree").empty()) {
      EXPECT_EQ(Anonymous(TreeText(UnitAnalysis().UnitTree)), block.Part("tree")) << block.where;
    }
    EXPECT_EQ(Anonymous(ListText()), block.Part("list")) << block.where;
    EXPECT_EQ(UnitAnalysis().StartFile, root) << block.where;
    EXPECT_EQ(UnitAnalysis().ProjectFolder, FolderPart(root)) << block.where;
  }
}

/// The disk, except that B.pas cannot be opened.
struct UnreadableB : testing::PassThroughFileSystem {
  OpenedFile OpenRead(std::string_view p, Readable what) override {
    if (NamePart(p) == "B.pas") return {nullptr, "Permission denied"};
    return PassThroughFileSystem::OpenRead(p, what);
  }
};

TEST_F(Analysis, AnUnreadableUnitEndsTheAnalysisNamingItAndKeepsWhatWasGathered) {
  Write("P.dpr", "program P; uses A, B; begin end.");
  Write("A.pas", "unit A; interface uses C; implementation end.");
  Write("B.pas", "unit B; interface uses D; implementation end.");
  Write("Q.dpr", "program Q; uses E; begin end.");
  Analyse("Q.dpr");  // each analysis starts from empty results
  UnreadableB fs;
  ScopedFileSystem scoped(fs);
  try {
    Analyse("P.dpr");
    ADD_FAILURE() << "no error";
  } catch (const IoError& e) {
    EXPECT_NE(std::string(e.what()).find("B.pas"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Anonymous(ListText()), "<dir>/A.pas\n<dir>/B.pas\nC.pas\nP.dpr\n");
  EXPECT_EQ(TreeText(UnitAnalysis().UnitTree), "V:P.dpr\nV:A\n  V:C\nV:B\n");
  ClearUnitAnalysis();
  EXPECT_EQ(ListText(), "");
  EXPECT_EQ(UnitAnalysis().UnitTree.RootNode(), nullptr);
}

TEST_F(Analysis, JunkAndLongClausesAreReadWithoutFault) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; ++round) {
    std::string junk(5000, ' ');
    for (char& c : junk) c = "uses ,;.'{}(*)in\x1a\n\r\0abAB12"[random() % 22];
    Write("P.dpr", junk);
    EXPECT_NO_THROW(Analyse("P.dpr")) << round;
    EXPECT_TRUE(UnitAnalysis().UnitFiles.Contains("P.dpr"));
  }
  std::string text = "program P; uses U0";
  for (int i = 1; i < 10000; ++i) text += ", U" + std::to_string(i);
  Write("P.dpr", text + "; begin end.");
  Analyse("P.dpr");
  EXPECT_EQ(UnitAnalysis().UnitFiles.Count(), 10001u);
  EXPECT_EQ(UnitAnalysis().UnitFiles.FirstUntaken(), std::nullopt);
}

TEST(UnitScanner, KeepsSignificantTokensOnlyAndForgetsTheFileBefore) {
  TScanner scanner;
  std::vector<std::string> lines{"uses A {c} (*d*) //e", "in 'x.pas', 1, 2.5, begin;"};
  scanner.SetSource(&lines);
  EXPECT_TRUE(scanner.Scan());
  std::string out;
  for (const auto& token : scanner.Tokens)
    out += std::to_string(token->Kind) + "=" + token->GetText() + " ";
  EXPECT_EQ(out, "92=USES 3=A 58=IN 6='x.pas' 16=, 5=1 16=, 4=2.5 16=, 36=BEGIN 29=; ");
  scanner.Buffer.Reset();
  lines = {"x y"};
  scanner.SetSource(&lines);
  scanner.Scan();
  ASSERT_EQ(scanner.Tokens.size(), 2u);
  EXPECT_EQ(scanner.Tokens[1]->GetText(), "y");
}

}  // namespace
}  // namespace ravelin
