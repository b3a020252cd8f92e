#include "common/PathUtil.h"

#include <vector>

#include "common/VornString.h"

namespace ravelin {

namespace {
size_t LastDelimiter(std::string_view path) {
  return path.find_last_of("/\\");
}
}  // namespace

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string result(dir);
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') result += '/';
  result += name;
  return result;
}

std::string FolderPart(std::string_view path) {
  auto pos = LastDelimiter(path);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string NamePart(std::string_view path) {
  auto pos = LastDelimiter(path);
  return pos == std::string_view::npos ? std::string(path) : std::string(path.substr(pos + 1));
}

size_t ExtensionPos(std::string_view path) {
  auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return dot;
  auto delim = LastDelimiter(path);
  if (delim != std::string_view::npos && dot < delim) return std::string_view::npos;
  return dot;
}

std::string ExtensionOf(std::string_view path) {
  auto pos = ExtensionPos(path);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(pos));
}

std::string ChangeExtension(std::string_view path, std::string_view ext) {
  auto pos = ExtensionPos(path);
  std::string result(pos == std::string_view::npos ? path : path.substr(0, pos));
  result += ext;
  return result;
}

std::string BaseNameOf(std::string_view path) {
  std::string name = NamePart(path);
  auto pos = ExtensionPos(name);
  if (pos != std::string::npos) name.resize(pos);
  return name;
}

std::string ToSlashes(std::string_view path) {
  std::string result(path);
  for (char& c : result)
    if (c == '\\') c = '/';
  return result;
}

std::string ExpandPath(std::string_view path, std::string_view cwd) {
  std::string full = ToSlashes(path);
  if (full.empty() || full[0] != '/') full = ToSlashes(cwd) + "/" + full;
  std::vector<std::string_view> parts;
  std::string_view rest(full);
  size_t start = 0;
  while (start <= rest.size()) {
    auto slash = rest.find('/', start);
    auto end = slash == std::string_view::npos ? rest.size() : slash;
    std::string_view seg = rest.substr(start, end - start);
    if (seg.empty() || seg == ".") {
      // nothing
    } else if (seg == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(seg);
    }
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  if (parts.empty()) return "/";
  std::string result;
  for (auto seg : parts) result.append("/").append(seg);
  return result;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  // Iterative matcher with one backtrack point: linear in practice, never exponential.
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || UpperChar(pattern[p]) == UpperChar(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool HasWildcard(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

}  // namespace ravelin
