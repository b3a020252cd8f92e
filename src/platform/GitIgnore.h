// git's ignore rules (.gitignore files at every level, .git/info/exclude, core.excludesFile)
// applied as git applies them to a work tree. They are read through libgit2 when the build
// has it (the macro RAVELIN_HAVE_LIBGIT2); a build without it ignores nothing, and
// HaveGitIgnore() tells which build this is.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace ravelin {

/// The ignore rules that hold below one folder.
class IgnoreRules {
 public:
  virtual ~IgnoreRules() = default;
  /// True when git leaves the entry out of the work tree: an ignore rule matches it or one of
  /// its folders, and git tracks neither it nor (for a folder) anything below it. path is
  /// "/"-delimited and relative to the folder the rules were opened for.
  virtual bool IsIgnored(std::string_view path, bool isFolder) = 0;
};

/// The rules for the entries below folder (an existing folder) from the git work tree that
/// holds it; nullptr when it lies in none, when git ignores folder itself (whoever names an
/// ignored folder wants it), or when this build reads no git rules. When the repository
/// cannot be read, nullptr with libgit2's reason in error (left alone otherwise).
std::unique_ptr<IgnoreRules> OpenGitIgnore(const std::string& folder, std::string& error);

/// True when this build reads git's ignore rules.
bool HaveGitIgnore();

}  // namespace ravelin
