// The folder picker as a component: set Caption and Directory, call Execute, read Directory.
#pragma once

#include <string>

namespace ravelin {

/// Lets the user pick one folder in a TdlgSelectFolder built for each Execute.
class TVornselectFolderDialog {
 public:
  /// Title of the folder form; empty after creation.
  std::string Caption;
  /// On entry the folder to start in (empty: the process's current folder); after a
  /// confirmed Execute the chosen folder's full path.
  std::string Directory;

  /// Shows the folder form modally; true when the user confirmed with OK. Directory keeps its
  /// value when the user cancelled. The process's current folder stays as it was.
  bool Execute();
};

}  // namespace ravelin
