// The options of the compiler's rules and the project file they name.
#include "cli/CompilerOptions.h"

#include "cli/CliMain.h"
#include "common/PathUtil.h"
#include "platform/FileSys.h"
#include "units/CompilerRules.h"
#include "units/ProjectFile.h"

namespace ravelin::cli {

std::vector<OptionSpec> CompilerRuleOptions() {
  return {
      {"project", "FILE",
       ReadsProjectFiles()
           ? "read folders, scopes, defines and units from a .dproj, .lpi or .lpk"
           : "read folders, scopes, defines and units from a .dproj, .lpi or .lpk (not in "
             "this build: it has no XML library)"},
      {"config", "NAME", "the configuration or build mode (default: the project's)"},
      {"platform", "NAME", "the Delphi platform, e.g. Win64 (default: the project's)"},
      {"lazarus-dir", "DIR", "find a Lazarus project's required packages (NAME.lpk) under DIR"},
      {"compiler-rules", "", "follow the compiler's rules without a project file"},
      {"define", "NAME", "define NAME for conditional compilation (repeatable)", 'D', true},
      {"target", "OS", "windows, linux or macos: the compiler's predefined symbols"},
      DialectOption(),
  };
}

OptionSpec DialectOption() {
  return {"dialect", "NAME", "delphi or fpc (.pas, .pp, .p units; .lfm forms; .lpr roots)"};
}

const char* const kCompilerRulesSynopsis =
    "[--project FILE [--config NAME] [--platform NAME] [--lazarus-dir DIR]] [--compiler-rules] "
    "[-D NAME]... [--target OS] [--dialect NAME]";

const char* const kCompilerRulesHelp =
    "The compiler's rules are followed with --project, --compiler-rules, -D, --target or\n"
    "--dialect; without them every report is made by the rules above. Under the compiler's\n"
    "rules a unit named with \"in\" in ROOT (or with its file in the project file) is known\n"
    "by that file to every unit; any other unit is looked for in ROOT's folder, the\n"
    "project's unit folders, then the search folders, first as written, then under each\n"
    "unit scope name of the project in order (SysUtils as System.SysUtils). For the fpc\n"
    "dialect each folder is tried for .pas, .pp and .p, and the runtime library folder is\n"
    "searched only in its folders for the target (linux: linux, unix, x86_64, inc, objpas),\n"
    "then in the Free Pascal packages beside it (../packages/*/src). Conditional directives\n"
    "($IFDEF, $IFNDEF, $IF, $ELSEIF, $ELSE, $ENDIF, $IFEND, $DEFINE, $UNDEF) are followed and\n"
    "{$I FILE} / {$INCLUDE FILE} read in place (beside the including file, then in the\n"
    "project's include folders), with the target's predefined symbols (--target; default:\n"
    "the project's platform, else windows for delphi and linux for fpc), the project's\n"
    "defines and every -D NAME. What cannot be decided ($IF over an unknown name, a missing\n"
    "include file, a macro without a value in a project's path) is a warning on standard\n"
    "error.\n"
    "\n"
    "--project FILE reads a Delphi project (.dproj) or a Lazarus project (.lpi) or package\n"
    "(.lpk) for one --config and --platform (defaults: the project's own); a Lazarus\n"
    "project's required packages are found under --lazarus-dir. ROOT may then be left out:\n"
    "it is the project's main source; for a package, the package's units. Under the\n"
    "compiler's rules a project file given as ROOT is read as --project. The dialect is\n"
    "fpc for a Lazarus project or a .lpr, .lpk, .pp or .p root, else delphi; under fpc the\n"
    "line count of report also takes a unit's .lfm form when it has no .dfm.";

namespace {

template <class Parse>
auto ParseValue(const ParsedArgs& args, const std::string& name, Parse parse)
    -> decltype(parse(std::string_view())) {
  if (!args.Has(name)) return std::nullopt;
  auto value = parse(args.Value(name));
  if (!value)
    throw UsageError("unknown value '" + args.Value(name) + "' of option '--" + name + "'");
  return value;
}

/// True when an option turns the compiler's rules on.
bool RulesAsked(const ParsedArgs& args) {
  return args.Has("project") || args.Has("compiler-rules") || args.Has("define") ||
         args.Has("target") || args.Has("dialect");
}

}  // namespace

bool FpcDialectAsked(const ParsedArgs& args) {
  return ParseValue(args, "dialect", ParseDialect) == Dialect::Fpc;
}

bool FpcDialectFor(const ParsedArgs& args, const std::string& root) {
  if (!RulesAsked(args)) return false;
  const std::optional<ProjectKind> project =
      args.Has("project") ? ProjectKindOf(args.Value("project")) : std::nullopt;
  return DialectFor(ParseDialect(args.Value("dialect")), project, root) == Dialect::Fpc;
}

CompilerChoice ChooseCompilerRules(const ParsedArgs& args, const std::string& fpcSourceDir,
                                   std::ostream& err) {
  CompilerChoice choice;
  const std::optional<Target> target = ParseValue(args, "target", ParseTarget);
  ParseValue(args, "dialect", ParseDialect);
  choice.rulesOn = RulesAsked(args);
  if (!args.operands.empty()) choice.root = Fs().FullPath(args.operands[0]);
  // Under the compiler's rules a project file given as ROOT is read as the project.
  std::string projectFile = args.Has("project") ? Fs().FullPath(args.Value("project")) : "";
  if (projectFile.empty() && choice.rulesOn && ProjectKindOf(choice.root)) {
    projectFile = choice.root;
    choice.root.clear();
  }
  for (const char* name : {"config", "platform", "lazarus-dir"}) {
    if (args.Has(name) && projectFile.empty())
      throw UsageError(std::string("option '--") + name + "' needs --project");
  }
  if (projectFile.empty()) return choice;

  ProjectOptions options;
  options.config = args.Value("config");
  options.platform = args.Value("platform");
  options.target = target;
  if (args.Has("lazarus-dir")) options.lazarusDir = Fs().FullPath(args.Value("lazarus-dir"));
  options.fpcSourceDir = fpcSourceDir;
  choice.project = std::make_shared<ProjectFile>(ReadProjectFile(projectFile, options));
  for (const std::string& warning : choice.project->warnings)
    err << kProgramName << ": warning: " << warning << "\n";
  if (choice.root.empty()) {
    choice.root =
        choice.project->mainSource.empty() ? choice.project->path : choice.project->mainSource;
  }
  return choice;
}

std::shared_ptr<const CompilerRules> RulesFor(const CompilerChoice& choice, const ParsedArgs& args,
                                              const std::string& root) {
  if (!choice.rulesOn) return nullptr;
  return std::make_shared<const CompilerRules>(
      MakeCompilerRules(choice.project.get(), root, ParseDialect(args.Value("dialect")),
                        ParseTarget(args.Value("target")), args.Values("define")));
}

}  // namespace ravelin::cli
