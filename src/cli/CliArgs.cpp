// Parsing a command's options and operands.
#include "cli/CliArgs.h"

namespace ravelin::cli {

std::string ParsedArgs::Value(const std::string& name) const {
  auto it = options.find(name);
  return it == options.end() || it->second.empty() ? std::string() : it->second.back();
}

std::vector<std::string> ParsedArgs::Values(const std::string& name) const {
  auto it = options.find(name);
  return it == options.end() ? std::vector<std::string>() : it->second;
}

namespace {

/// The option as the user wrote it, for messages.
std::string Shown(const OptionSpec& spec, bool asLetter) {
  return asLetter ? std::string("-") + spec.letter : "--" + spec.name;
}

const OptionSpec* FindSpec(const std::vector<OptionSpec>& specs, const std::string& name) {
  for (const auto& spec : specs)
    if (spec.name == name) return &spec;
  return nullptr;
}

const OptionSpec* FindLetter(const std::vector<OptionSpec>& specs, char letter) {
  for (const auto& spec : specs)
    if (spec.letter != 0 && spec.letter == letter) return &spec;
  return nullptr;
}

}  // namespace

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      parsed.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const bool asLetter = arg[1] != '-';
    const OptionSpec* spec = nullptr;
    std::string value;
    bool hasValue = false;  // the value stands in the argument itself
    if (asLetter) {
      spec = FindLetter(specs, arg[1]);
      if (spec == nullptr) throw UsageError("unknown option '" + arg + "'");
      if (arg.size() > 2) {
        if (spec->valueName.empty()) throw UsageError("unknown option '" + arg + "'");
        value = arg.substr(2);
        hasValue = true;
      }
    } else {
      std::string name = arg.substr(2);
      if (auto eq = name.find('='); eq != std::string::npos) {
        value = name.substr(eq + 1);
        name.resize(eq);
        hasValue = true;
      }
      spec = FindSpec(specs, name);
      if (spec == nullptr) throw UsageError("unknown option '--" + name + "'");
    }
    const std::string shown = Shown(*spec, asLetter);
    if (parsed.Has(spec->name) && !spec->repeatable) {
      throw UsageError("option '" + shown + "' given twice");
    }
    if (spec->valueName.empty()) {
      if (hasValue) throw UsageError("option '" + shown + "' takes no value");
    } else if (!hasValue && !spec->optionalValue) {
      if (i + 1 >= args.size()) {
        throw UsageError("option '" + shown + "' needs a value (" + spec->valueName + ")");
      }
      value = args[++i];
    }
    if (!spec->valueName.empty() && value.empty() && (hasValue || !spec->optionalValue)) {
      throw UsageError("option '" + shown + "' needs a non-empty value (" + spec->valueName + ")");
    }
    parsed.options[spec->name].push_back(value);
  }
  return parsed;
}

}  // namespace ravelin::cli
