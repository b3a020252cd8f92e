// The window's rules without widgets: the table tests/data/ui/routines.txt, the report file
// choice and the viewer, and the folder list.
#include <gtest/gtest.h>

#include "DataTable.h"
#include "UiTestUtil.h"
#include "common/Error.h"
#include "settings/LstGlobal.h"
#include "ui/logic/AboutInfo.h"
#include "ui/logic/FileFilter.h"
#include "ui/logic/FolderList.h"
#include "ui/logic/MainLogic.h"
#include "ui/logic/ReportFile.h"

namespace ravelin {
namespace {

using Args = std::vector<std::string>;

class UiLogic : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
  testing::ScopedCurrentFolder cwd_;
  testing::FakeUiServices ui_;
  ScopedUiServices installed_{ui_};
};

TEST_F(UiLogic, RoutinesGiveTheResultsOfTheTable) {
  folder_.Write("win/Win.ini", "[embedding]\nWordpad.Document.1=a,b,/no/such/wordpad,c\n");
  folder_.Write("ok/WIN.INI", "[fonts]\r\nx=1\r\n[Embedding]\r\nWordPad.Document.1=Doc,Doc," +
                                  folder_ / "prog/Write Pad" + ",pic\r\n");
  folder_.Write("prog/Write Pad", "");
  folder_.Write("bin/Viewer", "");
  testing::CheckRoutineTable(
      "ui/routines.txt",
      {
          {"Viewer",
           [&](const Args& a) {
             const ViewerCommand c =
                 BuildViewerCommand(std::stoi(a[0]), ReplaceAll(a[1], "{dir}", folder_.Path()),
                                    ReplaceAll(a[2], "{dir}", folder_.Path()), "/r/a b.TXT");
             EXPECT_EQ(c.args, c.program.empty() ? Args{} : Args{"/r/a b.TXT"});
             return ReplaceAll(c.program + "|" + c.commandLine, folder_.Path(), "{dir}");
           }},
          {"CutWordPadValue", [](const Args& a) { return CutWordPadValue(a[0]); }},
          {"Filter",
           [](const Args& a) {
             std::string shown;
             for (const auto& entry : ParseFileFilter(a[0]))
               shown += (shown.empty() ? "" : "/") + DisplayedFilter(entry);
             return shown;
           }},
          {"Mounts",
           [](const Args& a) {
             std::string points;
             for (const auto& point : ParseMountPoints(a[0]))
               points += (points.empty() ? "" : "|") + point;
             return points;
           }},
          {"DriveIndex",
           [](const Args& a) {
             return std::to_string(
                 DriveIndexFor({"/", "/home/me", "/home/me/disk", "/media/x"}, a[0]));
           }},
          {"About",
           [](const Args& a) {
             std::vector<VersionString> table = ProgramVersionTable("2.0.0.7");
             if (a[2] == "missing") table.erase(table.begin());
             if (a[2] == "none") table.clear();
             AboutInfo info;
             EXPECT_EQ(info.FormCreate(table), kCreditLines[0]);
             info.NoticeYear = std::stoi(a[1]);
             info.Comments = a[0];
             const AboutInfo::ShownTexts shown = info.FormShow();
             std::string text = shown.caption + "/" + shown.version + "/" + shown.copyright;
             for (int press = 0; press < 4; ++press) {
               const std::string credit = info.DoShowAssist();
               text += "/" + std::string(credit == kCreditLines[0] + std::string("\r\n")   ? "1"
                                         : credit == kCreditLines[1] + std::string("\r\n") ? "2"
                                         : credit == a[0] + "\r\n"                         ? "c"
                                                                   : credit);
             }
             return text;
           }},
      });
}

TEST_F(UiLogic, TheReportFileIsSettledAndShown) {
  // New File asks for another file with the report filter; that file is settled in turn.
  std::string name = folder_.Write("Ravelin.TXT", "keep");
  ui_.fileAnswers.push_back(std::vector<std::string>{folder_ / "other.txt"});
  EXPECT_TRUE(ChooseReportFile(false, name,
                               [](const std::string&, bool) { return FileExistsAnswer::NewFile; }));
  EXPECT_EQ(name, folder_ / "other.txt");
  EXPECT_EQ(testing::ReadBytes(name), "");
  ASSERT_EQ(ui_.fileRequests.size(), 1u);
  EXPECT_EQ(ui_.fileRequests[0].initialFile, folder_ / "Ravelin.TXT");
  EXPECT_FALSE(ui_.fileRequests[0].multiSelect || ui_.fileRequests[0].mustExist);
  name = folder_.MakeFolder("Folder.TXT");  // a folder in the way
  EXPECT_THROW(ChooseReportFile(false, name,
                                [](const std::string&, bool) { return FileExistsAnswer::Append; }),
               Error);

  // The report goes to the viewer as one argument; a viewer that does not start is named.
  Settings().ViewerChoice = 2, Settings().ViewerPath = "/opt/view it";
  ShowReport("/r/it's $HOME.TXT");
  EXPECT_EQ(ui_.started, (std::vector<Args>{{"/opt/view it", "/r/it's $HOME.TXT"}}));
  ui_.startSucceeds = false;
  ShowReport("/r/Ravelin.TXT");
  Settings().ViewerChoice = 1;
  ShowReport("/r/Ravelin.TXT");
  Settings().ViewerChoice = 2, Settings().ViewerPath = "";
  ShowReport("/r/Ravelin.TXT");
  EXPECT_EQ(ui_.errors,
            (Args{"Failed to execute /opt/view it  /r/Ravelin.TXT\nNo such file or directory",
                  "Failed to execute xdg-open  /r/Ravelin.TXT\nNo such file or directory",
                  "Failed to execute   /r/Ravelin.TXT"}));
  Settings() = {};

  // Appended report lines start on a line of their own.
  for (const std::string old : {"", "old\r\n", "old\n", "old\r", "old"}) {
    folder_.Write("r.txt", old);
    AppendReportLines(folder_ / "r.txt", {"one", "two"});
    EXPECT_EQ(testing::ReadBytes(folder_ / "r.txt"),
              old + (old == "old" ? "\r\n" : "") + "one\r\ntwo\r\n")
        << old;
  }
}

TEST_F(UiLogic, TheFolderListShowsThePathThenTheSubfoldersAndKeepsItsPlaceOnAFailure) {
  folder_.MakeFolder("top/Beta");
  folder_.MakeFolder("top/alpha");
  folder_.MakeFolder("top/.hidden");
  folder_.Write("top/file.pas", "x");
  const std::string start = Fs().CurrentFolder();
  FolderList list;
  ASSERT_TRUE(list.Open(folder_ / "top"));
  std::string shown;
  for (const auto& item : list.Items())
    shown += std::to_string(item.level) + (item.open ? "+" : "-") + item.name + " ";
  const int depth = static_cast<int>(std::count(folder_.Path().begin(), folder_.Path().end(), '/'));
  EXPECT_EQ(shown.substr(0, 3), "0+/");
  const std::string top = std::to_string(depth + 1), child = std::to_string(depth + 2);
  EXPECT_TRUE(shown.ends_with(top + "+top " + child + "-alpha " + child + "-Beta ")) << shown;
  EXPECT_EQ(list.Items()[list.CurrentIndex()].path, folder_ / "top");
  EXPECT_EQ(list.Items().back().path, folder_ / "top/Beta");
  EXPECT_EQ(Fs().CurrentFolder(), start);  // browsing leaves the current folder
  ASSERT_TRUE(list.Open("alpha/.."));      // against the list's folder
  EXPECT_EQ(list.Directory(), folder_ / "top");
  for (auto [bad, reason] :
       {std::pair(folder_ / "nowhere", "No such file or directory"),
        std::pair(folder_ / "top/file.pas", "Not a directory"), std::pair(std::string(), "")}) {
    std::string whyNot;
    EXPECT_FALSE(list.Open(bad, &whyNot)) << bad;
    EXPECT_EQ(whyNot, reason) << bad;
    EXPECT_EQ(list.Directory(), folder_ / "top");
  }
  ASSERT_TRUE(list.Open("/"));
  EXPECT_EQ(list.Items()[1].path, "/" + list.Items()[1].name);
  EXPECT_EQ(list.Items()[1].level, 1);
  EXPECT_EQ(DriveList("", ""), std::vector<std::string>{"/"});
  EXPECT_EQ(DriveList(folder_ / "top",
                      "/dev/x " + folder_ / "top/alpha" + " ext4 rw 0 0\n/dev/y /gone ext4\n"),
            (std::vector<std::string>{"/", folder_ / "top", folder_ / "top/alpha"}));
}

}  // namespace
}  // namespace ravelin
