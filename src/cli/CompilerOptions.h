// The unit commands' options of the compiler's rules: a project file (.dproj, .lpi, .lpk), its
// configuration and platform, the Lazarus folder, defines, the target and the dialect.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliArgs.h"

namespace ravelin {
struct CompilerRules;
struct ProjectFile;
}  // namespace ravelin

namespace ravelin::cli {

/// The options of the compiler's rules, for the help and the parser.
std::vector<OptionSpec> CompilerRuleOptions();
/// Their part of a unit command's synopsis.
extern const char* const kCompilerRulesSynopsis;
/// Their paragraphs of a unit command's help.
extern const char* const kCompilerRulesHelp;

/// The --dialect option, which count takes too.
OptionSpec DialectOption();
/// True when --dialect fpc is given; UsageError for a value that is no dialect.
bool FpcDialectAsked(const ParsedArgs& args);
/// True when the compiler's rules are on and their dialect for root is Free Pascal: the line
/// count of a unit command then takes Lazarus forms.
bool FpcDialectFor(const ParsedArgs& args, const std::string& root);

/// What the options ask for.
struct CompilerChoice {
  std::shared_ptr<ProjectFile> project;  ///< the project read, when --project was given
  bool rulesOn = false;                  ///< some option turned the compiler's rules on
  /// The root file: the one the command line names, else the project's main source (for a
  /// package: the package file). Empty when neither gives one.
  std::string root;
};

/// Checks the options (UsageError for a value that means nothing, or --config, --platform or
/// --lazarus-dir without --project), reads the project file (its warnings go to err; a project
/// that cannot be used throws ProjectFileError) and settles the root. Relative names mean the
/// current folder; fpcSourceDir is the Free Pascal source folder for FPMake packages (may be
/// empty).
CompilerChoice ChooseCompilerRules(const ParsedArgs& args, const std::string& fpcSourceDir,
                                   std::ostream& err);

/// The rules for root under choice, or null when the options leave them off.
std::shared_ptr<const CompilerRules> RulesFor(const CompilerChoice& choice, const ParsedArgs& args,
                                              const std::string& root);

}  // namespace ravelin::cli
