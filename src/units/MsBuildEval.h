// The part of MSBuild that Delphi project files need: properties whose values refer to other
// properties ($(Name)), and the Condition attributes that choose what applies.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ravelin {

/// The properties of one evaluation. Names ignore letter case. Fixed properties (reserved and
/// global ones, such as the configuration asked for) cannot be changed by the project; a name
/// the project never sets falls back to the environment.
class MsBuildProperties {
 public:
  using Environment = std::function<std::string(const std::string&)>;

  /// Properties backed by environment (a variable's value, "" when unset).
  explicit MsBuildProperties(Environment environment);

  /// Sets a property the project cannot change.
  void SetFixed(const std::string& name, std::string value);
  /// Sets a property unless it is fixed.
  void Set(const std::string& name, std::string value);
  /// The value of name: fixed, set by the project, else a non-empty environment variable.
  std::optional<std::string> Get(const std::string& name) const;

  /// text with every $(Name) replaced by its value. An unknown name becomes "" when
  /// keepUnknown is false, and stays as written otherwise, except self (the property being
  /// set), which becomes "" so that "..\lib;$(DCC_UnitSearchPath)" starts a list.
  std::string Expand(std::string_view text, bool keepUnknown, std::string_view self = {}) const;

 private:
  std::map<std::string, std::string> fixed_;   // by name in capitals
  std::map<std::string, std::string> values_;  // by name in capitals
  Environment environment_;
};

/// The outcome of a Condition: its value, or an error (then value is false).
struct ConditionResult {
  bool value = false;
  std::string error;  ///< why it could not be evaluated; empty when it could
};

/// Evaluates an MSBuild Condition: quoted texts with $(Name) expansion, == and != (ignoring
/// letter case), < > <= >= (numbers), !, and, or, parentheses, Exists('path') (through
/// exists) and HasTrailingSlash('text'). An empty condition is true.
ConditionResult EvaluateCondition(std::string_view condition, const MsBuildProperties& properties,
                                  const std::function<bool(const std::string&)>& exists);

}  // namespace ravelin
