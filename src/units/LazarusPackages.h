// Finding Lazarus packages by name: every package file (NAME.lpk) under a Lazarus folder,
// indexed once, the shallowest of equal names first.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace ravelin {

/// The package files under one folder, by package name ignoring letter case.
class LazarusPackageIndex {
 public:
  /// Lists folder and its subfolders (hidden ones and very deep trees excepted) for "*.lpk"
  /// files; a missing folder gives an empty index.
  explicit LazarusPackageIndex(const std::string& folder);
  /// The absolute path of the package file named name (without ".lpk"), or empty.
  std::string Find(std::string_view name) const;
  /// Number of package files indexed.
  std::size_t Count() const { return files_.size(); }

 private:
  std::map<std::string, std::string> files_;  // package name in capitals -> path
};

}  // namespace ravelin
