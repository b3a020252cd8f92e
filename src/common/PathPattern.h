// Path patterns: names separated by "/" or "\", each component matched against one name
// ignoring ASCII case ("*" any run of characters, "?" exactly one), and a component "**"
// standing for any number of folders, none included. Matching runs one name at a time, so a
// walk can follow a pattern down a tree without listing folders the pattern cannot reach.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

class PathPattern {
 public:
  /// How far a path has come through the pattern: the indexes of the components that may
  /// match its next name, sorted; Size() when the whole pattern has matched.
  using States = std::vector<std::size_t>;

  /// Splits text at "/" and "\"; empty and "." components are dropped.
  explicit PathPattern(std::string_view text);

  /// The states before the first name.
  States Start() const;
  /// The states after one more name. A component holding "*" or "?", and "**", match a name
  /// only when wildcardsMayMatch, or (single components) when the component itself starts
  /// with "."; the caller says no for names that wildcards should not reach (hidden ones).
  States Step(const States& from, std::string_view name, bool wildcardsMayMatch) const;
  /// True when the names so far match the whole pattern.
  bool Complete(const States& states) const;
  /// True when a further name can still match (the names so far may name a folder on the way).
  bool CanGoOn(const States& states) const;
  /// True when the "/"-delimited path matches the whole pattern, wildcards reaching every name.
  bool Matches(std::string_view path) const;
  /// The number of components.
  std::size_t Size() const { return components_.size(); }

  /// The length of text's leading part without wildcards: everything up to and including the
  /// last delimiter before the first component holding "*" or "?" (the last delimiter of all
  /// when there is none); 0 when the first component holds one.
  static std::size_t FixedPartLength(std::string_view text);

 private:
  /// Adds the states reached by letting each "**" stand for no folder.
  States Closed(States states) const;

  std::vector<std::string> components_;
};

}  // namespace ravelin
