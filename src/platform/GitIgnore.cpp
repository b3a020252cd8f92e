#include "platform/GitIgnore.h"

#ifdef RAVELIN_HAVE_LIBGIT2

#include <git2.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace ravelin {

namespace {

/// Sets libgit2 up on first use, for the rest of the process: setting up reads the system's
/// certificates, some milliseconds, so it happens once and only where a repository is.
void UseGitLibrary() {
  struct Library {
    Library() {
      git_libgit2_init();
      // Reading ignore rules runs nothing from the repository, so a work tree owned by another
      // user (a checkout made by root, a colleague's tree) is read like any other.
      git_libgit2_opts(GIT_OPT_SET_OWNER_VALIDATION, 0);
    }
    ~Library() { git_libgit2_shutdown(); }
  };
  static Library library;
}

/// True when a ".git" entry sits in folder (a real path ending in "/") or above it: the
/// folder may lie in a git work tree.
bool MayLieInWorkTree(std::string folder) {
  struct stat st;
  while (!folder.empty()) {
    if (::stat((folder + ".git").c_str(), &st) == 0) return true;
    folder.pop_back();
    folder.erase(folder.rfind('/') + 1);
  }
  return false;
}

std::string LastGitMessage() {
  const git_error* error = git_error_last();
  return error != nullptr && error->message != nullptr ? error->message : "unknown error";
}

/// True when an ignore rule matches the work-tree path (a folder's ends in "/") or one of its
/// folders.
bool MatchesIgnoreRule(git_repository* repo, const std::string& inTree) {
  int ignored = 0;
  return git_ignore_path_is_ignored(&ignored, repo, inTree.c_str()) == 0 && ignored != 0;
}

class GitIgnoreRules final : public IgnoreRules {
 public:
  /// Takes over repo and index (index may be null: nothing tracked); prefix is the folder's
  /// path inside the work tree, empty or ending in "/".
  GitIgnoreRules(git_repository* repo, git_index* index, std::string prefix)
      : repo_(repo), index_(index), prefix_(std::move(prefix)) {}
  ~GitIgnoreRules() override {
    git_index_free(index_);
    git_repository_free(repo_);
  }
  GitIgnoreRules(const GitIgnoreRules&) = delete;
  GitIgnoreRules& operator=(const GitIgnoreRules&) = delete;

  bool IsIgnored(std::string_view path, bool isFolder) override {
    std::string inTree = prefix_;
    inTree.append(path);
    if (isFolder) inTree += '/';  // lets folder-only rules ("build/") apply
    if (!MatchesIgnoreRule(repo_, inTree)) return false;
    // git never ignores what it tracks, nor a folder that holds tracked files.
    if (index_ == nullptr) return true;
    if (isFolder) return git_index_find_prefix(nullptr, index_, inTree.c_str()) != 0;
    return git_index_get_bypath(index_, inTree.c_str(), 0) == nullptr;
  }

 private:
  git_repository* repo_;
  git_index* index_;
  std::string prefix_;
};

}  // namespace

std::unique_ptr<IgnoreRules> OpenGitIgnore(const std::string& folder, std::string& error) {
  // libgit2 names the work tree by its real path, links resolved; so is the folder.
  char* real = ::realpath(folder.c_str(), nullptr);
  if (real == nullptr) return nullptr;
  std::string inside = real;
  ::free(real);
  if (inside.back() != '/') inside += '/';
  if (!MayLieInWorkTree(inside)) return nullptr;
  UseGitLibrary();

  git_repository* repo = nullptr;
  int rc = git_repository_open_ext(&repo, inside.c_str(), 0, nullptr);
  if (rc == GIT_ENOTFOUND) return nullptr;
  if (rc < 0) {
    error = LastGitMessage();
    return nullptr;
  }
  const char* workdir = git_repository_workdir(repo);
  const std::string tree = workdir != nullptr ? workdir : "";
  // A bare repository, a folder inside .git, or one that git ignores: nothing to apply.
  if (tree.empty() || inside.compare(0, tree.size(), tree) != 0 ||
      MatchesIgnoreRule(repo, inside.substr(tree.size()))) {
    git_repository_free(repo);
    return nullptr;
  }
  git_index* index = nullptr;
  if (git_repository_index(&index, repo) < 0) index = nullptr;
  return std::make_unique<GitIgnoreRules>(repo, index, inside.substr(tree.size()));
}

bool HaveGitIgnore() {
  return true;
}

}  // namespace ravelin

#else  // built without libgit2: nothing is ignored

namespace ravelin {

std::unique_ptr<IgnoreRules> OpenGitIgnore(const std::string&, std::string&) {
  return nullptr;
}

bool HaveGitIgnore() {
  return false;
}

}  // namespace ravelin

#endif
