#include "common/PathPattern.h"

#include <algorithm>

#include "common/PathUtil.h"

namespace ravelin {

namespace {

constexpr std::string_view kAnyFolders = "**";

/// Calls take(component) for every non-empty component of a path delimited by "/" or "\".
template <class Take>
void ForEachComponent(std::string_view path, Take take) {
  while (!path.empty()) {
    const size_t end = std::min(path.find_first_of("/\\"), path.size());
    if (end > 0) take(path.substr(0, end));
    path.remove_prefix(std::min(end + 1, path.size()));
  }
}

}  // namespace

PathPattern::PathPattern(std::string_view text) {
  ForEachComponent(text, [this](std::string_view component) {
    if (component != ".") components_.emplace_back(component);
  });
}

PathPattern::States PathPattern::Closed(States states) const {
  // Each "**" may stand for no folder at all: the component after it is reachable too. The
  // list grows while it is read, so a run of "**" is followed to its end.
  for (size_t i = 0; i < states.size(); ++i) {
    size_t at = states[i];
    if (at < components_.size() && components_[at] == kAnyFolders) states.push_back(at + 1);
  }
  std::sort(states.begin(), states.end());
  states.erase(std::unique(states.begin(), states.end()), states.end());
  return states;
}

PathPattern::States PathPattern::Start() const {
  return Closed({0});
}

PathPattern::States PathPattern::Step(const States& from, std::string_view name,
                                      bool wildcardsMayMatch) const {
  States next;
  for (size_t at : from) {
    if (at >= components_.size()) continue;
    const std::string& component = components_[at];
    if (component == kAnyFolders) {
      if (wildcardsMayMatch) next.push_back(at);  // one more folder inside "**"
      continue;
    }
    bool reachable = wildcardsMayMatch || !HasWildcard(component) || component[0] == '.';
    if (reachable && WildcardMatch(component, name)) next.push_back(at + 1);
  }
  return Closed(std::move(next));
}

bool PathPattern::Complete(const States& states) const {
  return !states.empty() && states.back() == components_.size();
}

bool PathPattern::CanGoOn(const States& states) const {
  return !states.empty() && states.front() < components_.size();
}

bool PathPattern::Matches(std::string_view path) const {
  States states = Start();
  ForEachComponent(path, [&](std::string_view name) { states = Step(states, name, true); });
  return Complete(states);
}

size_t PathPattern::FixedPartLength(std::string_view text) {
  const std::string_view fixed = text.substr(0, text.find_first_of("*?"));
  const size_t delimiter = fixed.find_last_of("/\\");
  return delimiter == std::string_view::npos ? 0 : delimiter + 1;
}

}  // namespace ravelin
