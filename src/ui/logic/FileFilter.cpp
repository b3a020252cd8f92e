#include "ui/logic/FileFilter.h"

#include "common/VornString.h"

namespace ravelin {

TFileFilter ParseFileFilter(const std::string& filter) {
  TFileFilter result;
  if (filter.empty()) return result;
  std::vector<std::string> parts;
  std::string rest = filter;
  while (!rest.empty()) parts.push_back(SplitFirst(rest, "|"));
  if (!filter.empty() && filter.back() == '|') parts.push_back("");
  for (size_t i = 0; i < parts.size(); i += 2) {
    FileFilterEntry entry;
    entry.description = parts[i];
    std::string patterns = i + 1 < parts.size() ? parts[i + 1] : "";
    while (!patterns.empty()) {
      std::string pattern = TrimPrintable(SplitFirst(patterns, ";"));
      if (!pattern.empty()) entry.patterns.push_back(pattern);
    }
    if (entry.patterns.empty()) entry.patterns.push_back("*");
    result.push_back(std::move(entry));
  }
  return result;
}

std::string DisplayedFilter(const FileFilterEntry& entry) {
  std::string description = entry.description;
  // A trailing "(...)" names the patterns for the reader; the real ones replace it.
  if (!description.empty() && description.back() == ')') {
    auto open = description.rfind('(');
    if (open != std::string::npos) description.erase(open);
  }
  description = TrimPrintableRight(description);
  std::string patterns;
  for (const auto& pattern : entry.patterns) {
    if (!patterns.empty()) patterns += ' ';
    patterns += pattern == "*.*" ? "*" : pattern;
  }
  if (description.empty()) return "(" + patterns + ")";
  return description + " (" + patterns + ")";
}

}  // namespace ravelin
