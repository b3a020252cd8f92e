// The targets a code base is analysed for and the symbols each compiler predefines there: the
// defines and constants that conditional sections test, the platform names of Delphi projects
// and the target macros of Lazarus projects.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pascal/CompilerSymbols.h"

namespace ravelin {

/// The compiler a code base is written for.
enum class Dialect { Delphi, Fpc };
/// The operating system a code base is compiled for.
enum class Target { Windows, Linux, MacOS };

/// The dialect of "delphi" or "fpc" (any letter case), or none.
std::optional<Dialect> ParseDialect(std::string_view text);
/// The target of "windows", "linux" or "macos" (any letter case), or none.
std::optional<Target> ParseTarget(std::string_view text);
/// The target of a Delphi platform name (Win32, Win64, Linux64, OSX64, OSXARM64, any letter
/// case), or none for a platform without a preset (Android, iOS, ...).
std::optional<Target> TargetOfPlatform(std::string_view platform);
/// The Delphi platform a target stands for when the project names none: Win32, Linux64,
/// OSXARM64.
std::string DefaultPlatform(Target target);
/// The target when none is asked for: a Delphi project's platform when it has a preset, else
/// Windows for Delphi; Linux for Free Pascal (the system Ravelin runs on, which a Lazarus
/// project is built for unless told otherwise).
Target DefaultTarget(Dialect dialect, std::string_view platform);

/// The compiler's predefined symbols for a target. For Delphi, platform (a Delphi platform of
/// that target, e.g. Win64) chooses the processor; an empty or foreign platform gives the
/// target's default platform.
CompilerSymbols PredefinedSymbols(Dialect dialect, Target target, std::string_view platform = "");

/// The values of the target macros of Lazarus projects for one target.
struct LazarusTarget {
  std::string targetOS;    ///< $(TargetOS): linux, win64, darwin
  std::string targetCPU;   ///< $(TargetCPU): x86_64, aarch64
  std::string srcOS;       ///< $(SrcOS): unix, win
  std::string widgetType;  ///< $(LCLWidgetType): gtk2, win32, cocoa
};

/// The Lazarus target macros of a target.
LazarusTarget LazarusTargetOf(Target target);

/// What a folder of Free Pascal sources holds by its name: no operating system's sources, the
/// target's own (unix for linux, win for win64, bsd for darwin, ...), or a foreign system's.
enum class OsFolder { None, Target, Foreign };
/// The kind of the folder named name (any letter case) for target.
OsFolder OsFolderOf(std::string_view name, const LazarusTarget& target);

}  // namespace ravelin
