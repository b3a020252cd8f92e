// Path routines of the Linux build: "/" and "\" both delimit folders, a colon is an ordinary
// character, and names from Pascal sources have their "\" turned into "/" before use.
#pragma once

#include <string>
#include <string_view>

namespace ravelin {

/// True for the two folder delimiters, "/" and "\".
inline bool IsPathDelimiter(char c) {
  return c == '/' || c == '\\';
}
/// The folder, a "/" unless the folder is empty or already ends in "/" or "\", then the name.
std::string JoinPath(std::string_view dir, std::string_view name);
/// The folder part: everything up to and including the last "/" or "\"; empty when none.
std::string FolderPart(std::string_view path);
/// The name part: everything after the last "/" or "\".
std::string NamePart(std::string_view path);
/// The position of the extension's "." (the last "." after the last delimiter), or npos.
size_t ExtensionPos(std::string_view path);
/// The extension including its ".", or empty.
std::string ExtensionOf(std::string_view path);
/// The path with its extension replaced by ext (appended when it has none).
std::string ChangeExtension(std::string_view path, std::string_view ext);
/// The name part without its extension.
std::string BaseNameOf(std::string_view path);
/// Every "\" turned into "/".
std::string ToSlashes(std::string_view path);
/// Made absolute against cwd, "\" turned into "/", "." and ".." segments removed lexically,
/// no trailing "/" (except for the root "/" itself).
std::string ExpandPath(std::string_view path, std::string_view cwd);
/// Matches name against a pattern of "*" (any run) and "?" (exactly one), ignoring ASCII case.
bool WildcardMatch(std::string_view pattern, std::string_view name);
/// True when the text holds "*" or "?".
bool HasWildcard(std::string_view text);

}  // namespace ravelin
