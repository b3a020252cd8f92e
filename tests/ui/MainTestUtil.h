// Helpers for the main window tests: a disk file system that fails on chosen files, and a
// small Delphi project written into a scratch folder.
#pragma once

#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include "DialogTestUtil.h"
#include "PassThroughFileSystem.h"
#include "common/Error.h"
#include "platform/FileSys.h"
#include "ui/logic/MainLogic.h"

namespace ravelin {

/// Shows a rectangle as "left,top width x height" in test failures.
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << r.left << "," << r.top << " " << r.width << "x" << r.height;
}

}  // namespace ravelin

namespace ravelin::testing {

/// The real disk, except that reading, appending to or replacing a file named in the matching
/// set throws IoError naming the file, as a disk or permission fault would.
class FaultyFileSystem : public PassThroughFileSystem {
 public:
  std::set<std::string> unreadable;     ///< names whose reading fails
  std::set<std::string> unappendable;   ///< names whose appending fails
  std::set<std::string> unreplaceable;  ///< names whose replacing fails

  OpenedFile OpenRead(std::string_view path, Readable what) override {
    if (Matches(unreadable, path)) throw IoError("Unable to read " + std::string(path));
    return PassThroughFileSystem::OpenRead(path, what);
  }
  void ReplaceFile(std::string_view path, std::string_view data) override {
    if (Matches(unreplaceable, path)) throw IoError("Unable to write to " + std::string(path));
    PassThroughFileSystem::ReplaceFile(path, data);
  }
  void AppendReport(std::string_view path, std::string_view text, ReportStart start) override {
    if (Matches(unappendable, path)) throw IoError("Unable to write to " + std::string(path));
    PassThroughFileSystem::AppendReport(path, text, start);
  }

 private:
  bool Matches(const std::set<std::string>& names, std::string_view path) {
    return names.count(FullPath(path)) > 0;
  }
};

/// A project "Demo.dpr" using the units "Alpha" and "beta" (which uses "Alpha"), with an
/// include file, written into folder.
struct DemoProject {
  explicit DemoProject(const TempFolder& folder)
      : project(folder.Write("Demo.dpr",
                             "program Demo;\r\n\r\nuses\r\n  Alpha, beta;\r\n\r\n"
                             "{ the main block }\r\nbegin\r\n  Run; // start\r\nend.\r\n")),
        alpha(
            folder.Write("Alpha.pas",
                         "unit Alpha;\r\n\r\ninterface\r\n\r\nprocedure Run;\r\n\r\n"
                         "implementation\r\n\r\nprocedure Run;\r\nbegin\r\nend;\r\n\r\nend.\r\n")),
        beta(folder.Write("beta.pas",
                          "unit beta;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\nuses\r\n"
                          "  Alpha;\r\n\r\nend.\r\n")),
        include(folder.Write("Defs.inc", "{$DEFINE DEMO}\r\n")),
        folderWithSlash(folder.Path() + "/") {}

  std::string project;
  std::string alpha;
  std::string beta;
  std::string include;
  std::string folderWithSlash;
};

}  // namespace ravelin::testing
