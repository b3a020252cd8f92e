// The compiler's predefined symbols per dialect, target and platform, and the file names a
// unit is looked for under.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "units/TargetDefines.h"
#include "units/UnitCandidates.h"

namespace ravelin {
namespace {

TEST(TargetDefines, PredefinedSymbols) {
  const struct {
    Dialect dialect;
    Target target;
    std::string platform, defined, undefined;
    double pointerSize;
  } rows[] = {
      {Dialect::Delphi, Target::Windows, "", "MSWINDOWS WIN32 CPUX86 CPU32BITS VER360 UNICODE",
       "WIN64 LINUX FPC", 4},
      {Dialect::Delphi, Target::Windows, "win64", "MSWINDOWS WIN64 CPUX64 CPU64BITS", "WIN32", 8},
      {Dialect::Delphi, Target::Windows, "Linux64", "WIN32", "LINUX", 4},
      {Dialect::Delphi, Target::Linux, "", "LINUX LINUX64 POSIX CPUX64", "MSWINDOWS", 8},
      {Dialect::Delphi, Target::MacOS, "", "MACOS OSX POSIX CPUARM64", "CPUX64", 8},
      {Dialect::Delphi, Target::MacOS, "OSX64", "MACOS CPUX64", "CPUARM64", 8},
      {Dialect::Fpc, Target::Linux, "", "FPC VER3_2_2 LINUX UNIX CPUX86_64 CPU64",
       "MSWINDOWS VER360", 8},
      {Dialect::Fpc, Target::Windows, "", "WIN64 MSWINDOWS WINDOWS CPUX86_64", "UNIX WIN32", 8},
      {Dialect::Fpc, Target::MacOS, "", "DARWIN UNIX BSD CPUAARCH64", "LINUX", 8},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.defined);
    const CompilerSymbols symbols = PredefinedSymbols(row.dialect, row.target, row.platform);
    std::istringstream defined(row.defined), undefined(row.undefined);
    for (std::string name; defined >> name;) EXPECT_TRUE(symbols.IsDefined(name)) << name;
    for (std::string name; undefined >> name;) EXPECT_FALSE(symbols.IsDefined(name)) << name;
    EXPECT_EQ(symbols.Constant("sizeof(pointer)"), row.pointerSize);
    const bool delphi = row.dialect == Dialect::Delphi;
    EXPECT_EQ(symbols.Constant("CompilerVersion"),
              delphi ? std::optional<double>(36.0) : std::nullopt);
    EXPECT_EQ(symbols.Constant("FPC_FULLVERSION"),
              delphi ? std::nullopt : std::optional<double>(30202));
  }
}

TEST(TargetDefines, NamesAndDefaults) {
  EXPECT_EQ(ParseTarget("Linux"), Target::Linux);
  EXPECT_EQ(ParseTarget("MACOS"), Target::MacOS);
  EXPECT_EQ(ParseTarget("win"), std::nullopt);
  EXPECT_EQ(ParseDialect("FPC"), Dialect::Fpc);
  EXPECT_EQ(ParseDialect("delphi"), Dialect::Delphi);
  EXPECT_EQ(ParseDialect("pascal"), std::nullopt);
  EXPECT_EQ(TargetOfPlatform("osxarm64"), Target::MacOS);
  EXPECT_EQ(TargetOfPlatform("Android"), std::nullopt);
  EXPECT_EQ(DefaultTarget(Dialect::Delphi, "Linux64"), Target::Linux);
  EXPECT_EQ(DefaultTarget(Dialect::Delphi, "Android"), Target::Windows);
  EXPECT_EQ(DefaultTarget(Dialect::Fpc, "Win64"), Target::Linux);
  EXPECT_EQ(DefaultPlatform(Target::Windows), "Win32");
  EXPECT_EQ(DefaultPlatform(Target::Linux), "Linux64");
  EXPECT_EQ(DefaultPlatform(Target::MacOS), "OSXARM64");
  const LazarusTarget windows = LazarusTargetOf(Target::Windows);
  EXPECT_EQ(windows.targetOS + windows.targetCPU + windows.srcOS + windows.widgetType,
            "win64x86_64winwin32");
  EXPECT_EQ(LazarusTargetOf(Target::MacOS).widgetType, "cocoa");
  EXPECT_EQ(LazarusTargetOf(Target::Linux).targetOS, "linux");
}

TEST(UnitCandidates, ScopesThenExtensions) {
  const std::vector<std::string> scopes{"System", "", "Vcl", "system"};
  EXPECT_EQ(ScopedUnitNames("SysUtils", scopes),
            (std::vector<std::string>{"SysUtils", "System.SysUtils", "Vcl.SysUtils"}));
  EXPECT_EQ(ScopedUnitNames("System.SysUtils", {"System"}),
            (std::vector<std::string>{"System.SysUtils", "System.System.SysUtils"}));
  EXPECT_EQ(UnitFileCandidates("Forms", {"Vcl"}, Dialect::Delphi),
            (std::vector<std::string>{"Forms.pas", "Vcl.Forms.pas"}));
  EXPECT_EQ(UnitFileCandidates("Forms", {"Vcl"}, Dialect::Fpc),
            (std::vector<std::string>{"Forms.pas", "Forms.pp", "Forms.p", "Vcl.Forms.pas",
                                      "Vcl.Forms.pp", "Vcl.Forms.p"}));
}

}  // namespace
}  // namespace ravelin
