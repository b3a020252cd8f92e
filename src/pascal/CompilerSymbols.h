// The symbols a compilation knows: conditional defines (names without values) and the named
// numeric constants that $IF expressions may compare (CompilerVersion, FPC_FULLVERSION, ...).
// Names compare ignoring ASCII letter case.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

/// Defines and constants of one compilation; names are kept in capitals.
class CompilerSymbols {
 public:
  /// Adds a conditional define (as {$DEFINE name} or -dNAME would).
  void Define(std::string_view name);
  /// Removes a conditional define (as {$UNDEF name} or -uNAME would).
  void Undefine(std::string_view name);
  /// True when name is defined, ignoring letter case.
  bool IsDefined(std::string_view name) const;
  /// Gives the constant name a numeric value (replacing an earlier one).
  void SetConstant(std::string_view name, double value);
  /// The value of the constant name, or none when it is not known.
  std::optional<double> Constant(std::string_view name) const;
  /// Every define in capitals, in byte order.
  std::vector<std::string> Defines() const;

 private:
  std::set<std::string, std::less<>> defines_;
  std::map<std::string, double, std::less<>> constants_;
};

}  // namespace ravelin
