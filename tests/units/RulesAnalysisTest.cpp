// The unit analysis under the compiler's rules: the projects of tests/data/units/rules.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "DataTable.h"
#include "UnitTestFiles.h"
#include "common/PathUtil.h"
#include "units/CompilerRules.h"
#include "units/ProjectFile.h"

namespace ravelin {
namespace {

using testing_units::ListText;
using testing_units::TreeText;

class RulesAnalysis : public testing_units::ProjectTest {
 protected:
  /// Analyses the block's project as ravelin-cli would with its options; returns the warnings.
  std::string Run(const testing::DataBlock& block) {
    std::string root, projectFile, dialect, target;
    std::vector<std::string> defines;
    ProjectOptions options;
    UnitLookup lookup;
    for (const auto& [key, text] : block.parts) {
      if (key.rfind("file ", 0) == 0 && root.empty()) root = Path(key.substr(5));
    }
    std::istringstream lines(block.Part("options"));
    for (std::string line; std::getline(lines, line);) {
      const std::string key = TextBefore(line, "="), value = TextAfter(line, "=");
      if (key == "root") root = Path(value);
      if (key == "project") projectFile = Path(value);
      if (key == "config") options.config = value;
      if (key == "platform") options.platform = value;
      if (key == "lazarus") options.lazarusDir = Path(value);
      if (key == "dialect") dialect = value;
      if (key == "target") target = value;
      if (key == "define") defines.push_back(value);
      if (key == "search") lookup.searchPaths.push_back(Path(value));
      if (key == "rtl" || key == "rtl off") lookup.rtlPath = Path(value);
      if (key == "vcl" || key == "vcl off") lookup.vclPath = Path(value);
    }
    const std::string given = block.Part("options");
    lookup.useSearchPath = !lookup.searchPaths.empty();
    lookup.useRtl = !lookup.rtlPath.empty() && given.find("rtl off") == std::string::npos;
    lookup.useVcl = !lookup.vclPath.empty() && given.find("vcl off") == std::string::npos;
    options.target = ParseTarget(target);
    std::string warnings;
    std::optional<ProjectFile> project;
    if (!projectFile.empty()) {
      project = ReadProjectFile(projectFile, options);
      for (const std::string& warning : project->warnings) warnings += warning + "\n";
      if (block.Part("options").find("root=") == std::string::npos) root = project->mainSource;
    }
    lookup.rules = std::make_shared<const CompilerRules>(MakeCompilerRules(
        project ? &*project : nullptr, root, ParseDialect(dialect), ParseTarget(target), defines));
    Fs().SetCurrentFolder(FolderPart(root));
    BuildUnitTree(root, lookup);
    for (const std::string& warning : UnitAnalysis().Warnings) warnings += warning + "\n";
    return warnings;
  }
};

TEST_F(RulesAnalysis, ProjectsGiveTheirTreeListAndWarnings) {
  const auto blocks = testing::ReadBlocks("units/rules.txt");
  EXPECT_GE(blocks.size(), 12u);
  for (const auto& block : blocks) {
    // A build without the XML library reads no project file: such blocks go.
    if (!ReadsProjectFiles() && block.Part("options").find("project=") != std::string::npos)
      continue;
    Fs().SetCurrentFolder(folder_);
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      std::filesystem::remove_all(entry.path());
    Fs().ClearCache();
    for (const auto& [key, text] : block.parts)
      if (key.rfind("file ", 0) == 0) Write(key.substr(5), text);
    const std::string warnings = Run(block);
    if (!block.Part("tree").empty()) {
      EXPECT_EQ(Anonymous(TreeText(UnitAnalysis().UnitTree)), block.Part("tree")) << block.where;
    }
    EXPECT_EQ(Anonymous(ListText()), block.Part("list")) << block.where;
    EXPECT_EQ(Anonymous(warnings), block.Part("warnings")) << block.where;
  }
}

TEST(CompilerRules, DialectTargetAndDefinesFollowTheProjectTheRootAndTheOptions) {
  const struct {
    std::optional<ProjectKind> project;
    std::string root, platform;
    std::optional<Dialect> dialect;
    std::optional<Target> target;
    Dialect wantDialect;
    std::string defined, undefined;
  } rows[] = {
      {std::nullopt, "/p/P.LPR", "", std::nullopt, std::nullopt, Dialect::Fpc, "FPC LINUX",
       "WIN32"},
      {std::nullopt, "/p/u.pp", "", std::nullopt, Target::Windows, Dialect::Fpc, "FPC WIN64", ""},
      {std::nullopt, "/p/u.pas", "", Dialect::Fpc, std::nullopt, Dialect::Fpc, "FPC", ""},
      {ProjectKind::Dproj, "/p/P.dpr", "Win64", std::nullopt, std::nullopt, Dialect::Delphi,
       "WIN64 PROJ EXTRA", "WIN32"},
      {ProjectKind::Lpi, "/p/P.lpr", "linux", std::nullopt, std::nullopt, Dialect::Fpc, "FPC PROJ",
       ""},
      {ProjectKind::Lpk, "/p/P.lpk", "", Dialect::Delphi, Target::MacOS, Dialect::Delphi, "MACOS",
       "FPC"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.root + " " + row.platform);
    ProjectFile project;
    project.path = "/p/P.lpk";
    project.platform = row.platform;
    project.defines = {"PROJ"};
    project.units = {{"U", "/p/u.pas"}};
    if (row.project) project.kind = *row.project;
    const CompilerRules rules = MakeCompilerRules(row.project ? &project : nullptr, row.root,
                                                  row.dialect, row.target, {"EXTRA"});
    EXPECT_EQ(rules.dialect, row.wantDialect);
    std::istringstream defined(row.defined + " EXTRA"), undefined(row.undefined);
    for (std::string name; defined >> name;) EXPECT_TRUE(rules.symbols.IsDefined(name)) << name;
    for (std::string name; undefined >> name;) EXPECT_FALSE(rules.symbols.IsDefined(name)) << name;
    EXPECT_EQ(rules.units.size(), row.project ? 1u : 0u);
    EXPECT_EQ(rules.rootUnits.size(), row.project == ProjectKind::Lpk ? 1u : 0u);
  }
}

}  // namespace
}  // namespace ravelin
