#include "units/TargetDefines.h"

#include <cctype>
#include <initializer_list>
#include <set>

#include "common/VornString.h"

namespace ravelin {

namespace {

/// One preset: the platform it answers to, its target, defines and pointer size.
struct Preset {
  std::string_view platform;  // a Delphi platform name; a target name for Free Pascal
  Target target;
  std::initializer_list<std::string_view> defines;
  int pointerSize;
};

// Delphi 12: what every platform defines, then each platform's own symbols; the first
// platform of a target is its default.
constexpr std::string_view kDelphiCommon[] = {"VER360", "CONDITIONALEXPRESSIONS", "NATIVECODE",
                                              "UNICODE"};
constexpr double kDelphiCompilerVersion = 36.0;
const Preset kDelphiPresets[] = {
    {"Win32",
     Target::Windows,
     {"MSWINDOWS", "WIN32", "CPU386", "CPUX86", "CPU32BITS", "ASSEMBLER"},
     4},
    {"Win64", Target::Windows, {"MSWINDOWS", "WIN64", "CPUX64", "CPU64BITS", "ASSEMBLER"}, 8},
    {"Linux64", Target::Linux, {"LINUX", "LINUX64", "POSIX", "POSIX64", "CPUX64", "CPU64BITS"}, 8},
    {"OSXARM64",
     Target::MacOS,
     {"MACOS", "MACOS64", "OSX", "OSX64", "POSIX", "POSIX64", "CPUARM64", "CPU64BITS"},
     8},
    {"OSX64",
     Target::MacOS,
     {"MACOS", "MACOS64", "OSX", "OSX64", "POSIX", "POSIX64", "CPUX64", "CPU64BITS"},
     8},
};

// Free Pascal 3.2.2: what every target defines, then each target's own symbols.
constexpr std::string_view kFpcCommon[] = {"FPC",
                                           "VER3",
                                           "VER3_2",
                                           "VER3_2_2",
                                           "CPU64",
                                           "ENDIAN_LITTLE",
                                           "FPC_LITTLE_ENDIAN",
                                           "FPC_HAS_TYPE_DOUBLE",
                                           "FPC_HAS_TYPE_SINGLE",
                                           "FPC_HAS_UNICODESTRING",
                                           "FPC_HAS_CPSTRING",
                                           "FPC_HAS_OPERATOR_ENUMERATOR",
                                           "FPC_HAS_CONSTREF"};
const Preset kFpcPresets[] = {
    {"windows",
     Target::Windows,
     {"WIN64", "MSWINDOWS", "WINDOWS", "CPUX86_64", "CPUAMD64", "CPUX64", "FPC_CURRENCY_IS_INT64",
      "FPC_COMP_IS_INT64", "FPC_WINLIKEWIDESTRING", "FPC_HAS_WINLIKERESOURCES"},
     8},
    {"linux",
     Target::Linux,
     {"LINUX", "UNIX", "HASUNIX", "CPUX86_64", "CPUAMD64", "CPUX64", "FPC_HAS_TYPE_EXTENDED",
      "FPC_WIDESTRING_EQUAL_UNICODESTRING"},
     8},
    {"macos",
     Target::MacOS,
     {"DARWIN", "UNIX", "BSD", "HASUNIX", "CPUAARCH64", "FPC_CURRENCY_IS_INT64",
      "FPC_COMP_IS_INT64", "FPC_WIDESTRING_EQUAL_UNICODESTRING"},
     8},
};

const Preset* FindPreset(const Preset* begin, const Preset* end, std::string_view platform) {
  for (const Preset* p = begin; p != end; ++p)
    if (CompareUpperText(p->platform, platform) == 0) return p;
  return nullptr;
}

const Preset& FirstPresetOf(const Preset* begin, const Preset* end, Target target) {
  const Preset* p = begin;
  while (p + 1 != end && p->target != target) ++p;
  return *p;
}

}  // namespace

std::optional<Dialect> ParseDialect(std::string_view text) {
  const std::string upper = UpperText(text);
  if (upper == "DELPHI") return Dialect::Delphi;
  if (upper == "FPC") return Dialect::Fpc;
  return std::nullopt;
}

std::optional<Target> ParseTarget(std::string_view text) {
  const Preset* p = FindPreset(std::begin(kFpcPresets), std::end(kFpcPresets), text);
  if (p == nullptr) return std::nullopt;
  return p->target;
}

std::optional<Target> TargetOfPlatform(std::string_view platform) {
  const Preset* p = FindPreset(std::begin(kDelphiPresets), std::end(kDelphiPresets), platform);
  if (p == nullptr) return std::nullopt;
  return p->target;
}

std::string DefaultPlatform(Target target) {
  return std::string(
      FirstPresetOf(std::begin(kDelphiPresets), std::end(kDelphiPresets), target).platform);
}

Target DefaultTarget(Dialect dialect, std::string_view platform) {
  if (dialect == Dialect::Fpc) return Target::Linux;
  return TargetOfPlatform(platform).value_or(Target::Windows);
}

CompilerSymbols PredefinedSymbols(Dialect dialect, Target target, std::string_view platform) {
  CompilerSymbols symbols;
  const Preset* preset = nullptr;
  if (dialect == Dialect::Delphi) {
    for (std::string_view name : kDelphiCommon) symbols.Define(name);
    symbols.SetConstant("CompilerVersion", kDelphiCompilerVersion);
    symbols.SetConstant("RTLVersion", kDelphiCompilerVersion);
    preset = FindPreset(std::begin(kDelphiPresets), std::end(kDelphiPresets), platform);
    if (preset == nullptr || preset->target != target)
      preset =
          FindPreset(std::begin(kDelphiPresets), std::end(kDelphiPresets), DefaultPlatform(target));
  } else {
    for (std::string_view name : kFpcCommon) symbols.Define(name);
    symbols.SetConstant("FPC_VERSION", 3);
    symbols.SetConstant("FPC_RELEASE", 2);
    symbols.SetConstant("FPC_PATCH", 2);
    symbols.SetConstant("FPC_FULLVERSION", 30202);
    preset = &FirstPresetOf(std::begin(kFpcPresets), std::end(kFpcPresets), target);
  }
  for (std::string_view name : preset->defines) symbols.Define(name);
  for (std::string_view type : {"POINTER", "NATIVEINT", "NATIVEUINT", "PTRINT", "PTRUINT"})
    symbols.SetConstant("SIZEOF(" + std::string(type) + ")", preset->pointerSize);
  return symbols;
}

LazarusTarget LazarusTargetOf(Target target) {
  switch (target) {
    case Target::Windows:
      return {"win64", "x86_64", "win", "win32"};
    case Target::MacOS:
      return {"darwin", "aarch64", "unix", "cocoa"};
    case Target::Linux:
      break;
  }
  return {"linux", "x86_64", "unix", "gtk2"};
}

OsFolder OsFolderOf(std::string_view name, const LazarusTarget& target) {
  static const std::set<std::string> kSystems{
      "amicommon", "amiga",  "android",  "aros",    "atari",   "beos",     "bsd",     "darwin",
      "dos",       "dummy",  "emx",      "freebsd", "go32v2",  "haiku",    "linux",   "macos",
      "morphos",   "msdos",  "nativent", "netbsd",  "netware", "netwlibc", "openbsd", "os2",
      "os2commn",  "palmos", "solaris",  "symbian", "unix",    "wasi",     "watcom",  "win",
      "win16",     "win32",  "win64",    "winall",  "wince",   "windows"};
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (kSystems.count(lower) == 0) return OsFolder::None;
  const bool windows = target.srcOS == "win";
  const bool darwin = target.targetOS == "darwin";
  const bool ours = lower == target.targetOS || lower == target.srcOS ||
                    (windows && (lower == "win32" || lower == "win64" || lower == "winall" ||
                                 lower == "windows")) ||
                    (darwin && (lower == "bsd" || lower == "macos"));
  return ours ? OsFolder::Target : OsFolder::Foreign;
}

}  // namespace ravelin
