// Project files read from the fixtures under tests/data/projects: a Delphi project with two
// configurations and two platforms, a Lazarus project whose required packages lie in a fake
// Lazarus folder, a package read on its own, and the files and choices that cannot be used.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "units/ProjectFile.h"

namespace ravelin {
namespace {

const std::string kData = RAVELIN_TEST_DATA "/projects";

/// The texts with the fixture folder written as "@".
std::vector<std::string> Short(const std::vector<std::string>& texts) {
  std::vector<std::string> out;
  for (std::string text : texts) {
    for (auto at = text.find(kData); at != std::string::npos; at = text.find(kData))
      text.replace(at, kData.size(), "@");
    out.push_back(text);
  }
  return out;
}

std::string Short(const std::string& text) {
  return Short(std::vector<std::string>{text})[0];
}

std::vector<std::string> UnitsOf(const ProjectFile& project) {
  std::vector<std::string> units;
  for (const ProjectUnit& unit : project.units) units.push_back(unit.name + "=" + Short(unit.file));
  return units;
}

std::vector<std::string> PackagesOf(const ProjectFile& project) {
  std::vector<std::string> packages;
  for (const RequiredPackage& p : project.packages)
    packages.push_back(p.name + " " + p.minVersion + (p.fpmake ? " fpmake " : " ") + Short(p.file));
  return packages;
}

ProjectOptions Options(std::string config, std::string platform) {
  ProjectOptions options;
  options.config = std::move(config);
  options.platform = std::move(platform);
  options.lazarusDir = kData + "/lazarus/fakelaz";
  options.fpcSourceDir = kData + "/lazarus/fakefpc";
  options.environment = [](const std::string& name) {
    if (name == "STOCK_LIBS") return std::string("/home/me/stocklibs");
    if (name == "VIEWER_EXTRA") return std::string("/home/me/extra");
    return std::string();
  };
  return options;
}

TEST(ProjectFile, DelphiProjectPerConfigurationAndPlatform) {
  struct Row {
    std::string config, platform;
    std::string chosen;
    std::vector<std::string> unitFolders, includeFolders, scopes, defines, units;
  } rows[] = {
      {"",
       "",
       "Debug Win32",
       {"@/delphi/debug", "@/delphi/lib/Win32/Debug", "@/delphi/Common",
        "/home/me/stocklibs/units"},
       {"@/delphi/inc", "@/delphi/debug", "@/delphi/lib/Win32/Debug", "@/delphi/Common",
        "/home/me/stocklibs/units"},
       {"Winapi", "System.Win", "Data.Win", "Vcl", "Vcl.Imaging", "System", "Xml", "Data",
        "Datasnap", "Web", "Soap"},
       {"DEBUG"},
       {"About=@/delphi/src/About.pas", "Main=@/delphi/app/Main.pas",
        "Native=@/delphi/src/Win32/Native.pas"}},
      {"release",
       "Win64",
       "release Win64",
       {"@/delphi/lib/Win64/release", "@/delphi/Common", "/home/me/stocklibs/units"},
       {"@/delphi/lib/Win64/release", "@/delphi/Common", "/home/me/stocklibs/units"},
       {"Winapi", "System.Win", "Vcl", "System", "Xml", "Data", "Datasnap", "Web", "Soap"},
       {"SHARED_OPTS", "RELEASE", "WIDE_HANDLES"},
       {"About=@/delphi/src/About.pas", "Main=@/delphi/app/Main.pas",
        "Native=@/delphi/src/Win64/Native.pas"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.chosen);
    const ProjectFile project =
        ReadProjectFile(kData + "/delphi/app/Stock.dproj", Options(row.config, row.platform));
    EXPECT_EQ(project.kind, ProjectKind::Dproj);
    EXPECT_EQ(project.config + " " + project.platform, row.chosen);
    EXPECT_EQ(Short(project.mainSource), "@/delphi/app/Stock.dpr");
    EXPECT_EQ(Short(project.unitFolders), row.unitFolders);
    EXPECT_EQ(Short(project.includeFolders), row.includeFolders);
    EXPECT_EQ(project.unitScopes, row.scopes);
    EXPECT_EQ(project.defines, row.defines);
    EXPECT_EQ(UnitsOf(project), row.units);
    const std::string platform = row.platform.empty() ? "Win32" : row.platform;
    EXPECT_EQ(Short(project.warnings),
              (std::vector<std::string>{
                  "@/delphi/app/Stock.dproj: a Windows drive in unit search path entry "
                  "\"C:\\Components\\lib\"; entry skipped",
                  "@/delphi/app/Stock.dproj: unknown macro $(BDSLIB) in unit search path entry "
                  "\"$(BDSLIB)\\" +
                      platform + "\\release\"; entry skipped"}));
  }
}

TEST(ProjectFile, LazarusProjectWithRequiredPackages) {
  const ProjectFile project =
      ReadProjectFile(kData + "/lazarus/viewer/viewer.lpi", Options("", ""));
  EXPECT_EQ(project.kind, ProjectKind::Lpi);
  EXPECT_EQ(project.config + " " + project.platform, "Default linux");
  EXPECT_EQ(Short(project.mainSource), "@/lazarus/viewer/viewer.lpr");
  EXPECT_EQ(
      Short(project.unitFolders),
      (std::vector<std::string>{
          "@/lazarus/viewer/forms", "@/lazarus/shared", "@/lazarus/viewer/archive$2",
          "@/lazarus/viewer/widgets/gtk2", "/home/me/extra", "@/lazarus/fakelaz/extra",
          "@/lazarus/fakelaz/lcl/interfaces", "@/lazarus/fakelaz/lcl/interfaces/gtk2",
          "@/lazarus/fakelaz/lcl", "@/lazarus/fakelaz/lcl/forms", "@/lazarus/fakelaz/lcl/widgetset",
          "@/lazarus/fakelaz/lcl/nonwin32", "@/lazarus/fakelaz/components/lazutils",
          "@/lazarus/fakefpc/packages/fcl-registry/src",
          "@/lazarus/fakefpc/packages/fcl-registry/src/base",
          "@/lazarus/fakefpc/packages/fcl-registry/src/unix"}));
  EXPECT_EQ(Short(project.includeFolders),
            (std::vector<std::string>{
                "@/lazarus/viewer/include", "@/lazarus/viewer/lib/x86_64-linux",
                "@/lazarus/viewer/extra/inc", "@/lazarus/viewer/shared/inc",
                "@/lazarus/fakelaz/lcl/interfaces/gtk2", "@/lazarus/fakelaz/lcl/include",
                "@/lazarus/fakefpc/packages/fcl-registry/src/unix"}));
  EXPECT_EQ(project.defines, (std::vector<std::string>{"UseCThreads", "X", "LCL", "LCLgtk2"}));
  EXPECT_EQ(PackagesOf(project),
            (std::vector<std::string>{
                "LCL  @/lazarus/fakelaz/lcl/interfaces/lcl.lpk", "TAChartLazarusPkg 1.2.0 ",
                "LCLBase 1.0.1 @/lazarus/fakelaz/lcl/lclbase.lpk",
                "LazUtils  @/lazarus/fakelaz/components/lazutils/LazUtils.lpk",
                "fcl-registry  fpmake @/lazarus/fakefpc/packages/fcl-registry"}));
  EXPECT_EQ(UnitsOf(project),
            (std::vector<std::string>{"MainForm=@/lazarus/viewer/forms/mainform.pas",
                                      "imagecache=@/lazarus/shared/imagecache.pp"}));
  EXPECT_EQ(Short(project.warnings),
            (std::vector<std::string>{
                "@/lazarus/viewer/viewer.lpi: unknown macro $(VendorDir) in unit path entry "
                "\"$(VendorDir)/units\"; entry skipped",
                "@/lazarus/viewer/viewer.lpi: required package TAChartLazarusPkg not found under "
                "@/lazarus/fakelaz"}));
}

TEST(ProjectFile, LazarusBuildModeAndTargetChangeTheMacros) {
  ProjectOptions options = Options("RELEASE", "");
  options.lazarusDir.clear();
  options.target = Target::Windows;
  const ProjectFile release = ReadProjectFile(kData + "/lazarus/viewer/viewer.lpi", options);
  EXPECT_EQ(release.config + " " + release.platform, "Release win64");
  EXPECT_EQ(Short(release.unitFolders),
            (std::vector<std::string>{"@/lazarus/shared", "@/lazarus/viewer/widgets/qt5"}));
  EXPECT_EQ(Short(release.includeFolders),
            std::vector<std::string>{"@/lazarus/viewer/lib/x86_64-win64/Release"});
  EXPECT_EQ(release.defines, (std::vector<std::string>{"RELEASE", "NO_TRACE"}));
  EXPECT_EQ(
      Short(release.warnings[0]),
      "@/lazarus/viewer/viewer.lpi: required package LCL not found (no Lazarus folder given)");

  options = Options("", "");
  options.target = Target::MacOS;
  const ProjectFile mac = ReadProjectFile(kData + "/lazarus/viewer/viewer.lpi", options);
  const std::vector<std::string> folders = Short(mac.unitFolders);
  const std::vector<std::string> registry(folders.end() - 4, folders.end());
  EXPECT_EQ(registry,
            (std::vector<std::string>{"@/lazarus/fakefpc/packages/fcl-registry/src",
                                      "@/lazarus/fakefpc/packages/fcl-registry/src/base",
                                      "@/lazarus/fakefpc/packages/fcl-registry/src/bsd",
                                      "@/lazarus/fakefpc/packages/fcl-registry/src/unix"}));

  options.target = Target::Windows;
  const ProjectFile package =
      ReadProjectFile(kData + "/lazarus/fakelaz/lcl/interfaces/lcl.lpk", options);
  EXPECT_EQ(package.kind, ProjectKind::Lpk);
  EXPECT_EQ(package.mainSource, "");
  EXPECT_EQ(UnitsOf(package), (std::vector<std::string>{
                                  "Interfaces=@/lazarus/fakelaz/lcl/interfaces/interfaces.pp",
                                  "Win32Int=@/lazarus/fakelaz/lcl/interfaces/win32/win32int.pp"}));
  EXPECT_EQ(Short(package.unitFolders[0]), "@/lazarus/fakelaz/lcl/interfaces/win32");
  EXPECT_EQ(package.defines, std::vector<std::string>{"WIDGETSET_ONLY"});
  EXPECT_EQ(package.packages.size(), 3u);  // LCLBase, LazUtils, fcl-registry, each once
}

TEST(ProjectFile, UnusableFilesAndChoicesAreErrorsNamingTheFile) {
  const struct {
    std::string file, config, platform, message;
  } rows[] = {
      {"/broken.lpi", "", "", "@/broken.lpi(5): not well-formed XML (Start-end tags mismatch)"},
      {"/missing.dproj", "", "", "@/missing.dproj: cannot be read"},
      {"/delphi/Shared.optset", "", "",
       "@/delphi/Shared.optset: not a project file (.dproj, .lpi or .lpk)"},
      {"/delphi/app/Stock.dproj", "Profile", "",
       "@/delphi/app/Stock.dproj: no configuration \"Profile\" (the project has: Debug, Release)"},
      {"/delphi/app/Stock.dproj", "", "Android",
       "@/delphi/app/Stock.dproj: no platform \"Android\" (the project has: Win32, Win64)"},
      {"/lazarus/viewer/viewer.lpi", "Fast", "",
       "@/lazarus/viewer/viewer.lpi: no build mode \"Fast\" (the project has: Release, Default)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    try {
      ReadProjectFile(kData + row.file, Options(row.config, row.platform));
      EXPECT_EQ(row.message, "");
    } catch (const ProjectFileError& error) {
      EXPECT_EQ(Short(error.what()), row.message);
    }
  }
}

// The Lazarus IDE's own project, where Debian's lazarus-src and fpc-source put it; skipped on a
// machine without them (the CI machine installs neither).
TEST(ProjectFile, LazarusIdeProjectWhenInstalled) {
  const std::string lazarus = "/usr/lib/lazarus/2.2.6";
  if (!std::filesystem::exists(lazarus + "/ide/lazarus.lpi")) GTEST_SKIP() << "no Lazarus sources";
  ProjectOptions options;
  options.lazarusDir = lazarus;
  options.fpcSourceDir = "/usr/share/fpcsrc/3.2.2";
  const ProjectFile ide = ReadProjectFile(lazarus + "/ide/lazarus.lpi", options);
  EXPECT_EQ(ide.mainSource, lazarus + "/ide/lazarus.pp");
  EXPECT_EQ(ide.packages.size(), 19u);  // 8 named, 11 more through them
  for (const RequiredPackage& package : ide.packages) EXPECT_NE(package.file, "") << package.name;
  EXPECT_EQ(ide.warnings, std::vector<std::string>{});
  EXPECT_EQ(ide.defines, (std::vector<std::string>{"LCL", "LCLgtk2"}));
  for (const std::string folder :
       {"/ide/frames", "/lcl", "/lcl/interfaces/gtk2", "/components/lazutils",
        "/components/codetools", "/lcl/nonwin32"})
    EXPECT_NE(std::find(ide.unitFolders.begin(), ide.unitFolders.end(), lazarus + folder),
              ide.unitFolders.end())
        << folder;
}

}  // namespace
}  // namespace ravelin
