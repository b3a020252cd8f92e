#include "pascal/CompilerSymbols.h"

#include "common/VornString.h"

namespace ravelin {

void CompilerSymbols::Define(std::string_view name) {
  defines_.insert(UpperText(name));
}

void CompilerSymbols::Undefine(std::string_view name) {
  defines_.erase(UpperText(name));
}

bool CompilerSymbols::IsDefined(std::string_view name) const {
  return defines_.find(UpperText(name)) != defines_.end();
}

void CompilerSymbols::SetConstant(std::string_view name, double value) {
  constants_[UpperText(name)] = value;
}

std::optional<double> CompilerSymbols::Constant(std::string_view name) const {
  auto it = constants_.find(UpperText(name));
  if (it == constants_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> CompilerSymbols::Defines() const {
  return {defines_.begin(), defines_.end()};
}

}  // namespace ravelin
