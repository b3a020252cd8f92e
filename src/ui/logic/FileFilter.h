// Filters of the file dialogs, written as pairs "Description|patterns|Description|patterns"
// with the patterns of one pair separated by ";".
#pragma once

#include <string>
#include <vector>

namespace ravelin {

/// One pair of a filter: what the user reads and the name patterns it stands for.
struct FileFilterEntry {
  std::string description;
  std::vector<std::string> patterns;
};

/// The pairs of a filter, in order.
using TFileFilter = std::vector<FileFilterEntry>;

/// Splits "Text (*.txt)|*.txt|All|*.*" into its pairs; blanks around patterns are dropped, a
/// description without patterns gets "*", and an empty text gives no pairs.
TFileFilter ParseFileFilter(const std::string& filter);

/// The entry as the desktop's file dialog takes it: the description without a trailing
/// "(...)" part, then the patterns in parentheses separated by blanks, "*.*" written "*" (it
/// means every file, with or without an extension). "Text Files (*.txt)" stays as it is.
std::string DisplayedFilter(const FileFilterEntry& entry);

}  // namespace ravelin
