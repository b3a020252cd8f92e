#include "units/LazarusPackages.h"

#include <deque>
#include <utility>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FileSys.h"

namespace ravelin {

namespace {

constexpr int kMaxDepth = 24;                // deeper folders are not searched
constexpr std::size_t kMaxFolders = 100000;  // a bound on folder loops through links

}  // namespace

LazarusPackageIndex::LazarusPackageIndex(const std::string& folder) {
  std::deque<std::pair<std::string, int>> pending{{Fs().FullPath(folder), 0}};
  std::size_t listed = 0;
  while (!pending.empty() && listed < kMaxFolders) {
    auto [current, depth] = std::move(pending.front());
    pending.pop_front();
    ++listed;
    for (const DirEntry& entry : Fs().ListFolder(current)) {
      if (entry.name.empty() || entry.name[0] == '.') continue;
      const std::string path = JoinPath(current, entry.name);
      if (entry.isDir) {
        if (depth < kMaxDepth) pending.emplace_back(path, depth + 1);
      } else if (UpperText(ExtensionOf(entry.name)) == ".LPK") {
        files_.emplace(UpperText(BaseNameOf(entry.name)), path);
      }
    }
  }
}

std::string LazarusPackageIndex::Find(std::string_view name) const {
  auto it = files_.find(UpperText(name));
  return it == files_.end() ? std::string() : it->second;
}

}  // namespace ravelin
