// The folder picker: its list, its drive box, and the component around its form.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "DialogTestUtil.h"
#include "platform/FileSys.h"
#include "ui/FrmFoldr.h"
#include "ui/ModalResult.h"
#include "ui/VornFoldr.h"
#include "ui/logic/FolderList.h"

namespace ravelin {
namespace {

using testing::ModalScript;
using testing::NextTabStop;
using testing::ScopedCurrentFolder;
using testing::TempFolder;

std::vector<std::string> Names(const TFolderList& list) {
  std::vector<std::string> names;
  for (const auto& item : list.Items()) names.push_back(item.name);
  return names;
}

class FolderListTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScopedCurrentFolder cwd;
};

TEST_F(FolderListTest, ShowsThePathFromTheRootThenTheSubfolders) {
  folder.MakeFolder("top/Beta");
  folder.MakeFolder("top/alpha");
  folder.MakeFolder("top/.hidden");
  folder.Write("top/file.pas", "x");
  TFolderList list;
  ASSERT_TRUE(list.Open(folder / "top"));
  EXPECT_EQ(list.Directory(), folder / "top");
  const auto& items = list.Items();
  ASSERT_GE(items.size(), 4u);
  EXPECT_EQ(items[0].name, "/");
  EXPECT_EQ(items[0].level, 0);
  // The current folder is the last opened line; its subfolders follow, one level deeper.
  const TFolderItem& current = items[list.CurrentIndex()];
  EXPECT_EQ(current.path, folder / "top");
  EXPECT_TRUE(current.open);
  ASSERT_EQ(items.size(), static_cast<size_t>(list.CurrentIndex()) + 3);
  EXPECT_EQ(items[list.CurrentIndex() + 1].name, "alpha");
  EXPECT_EQ(items[list.CurrentIndex() + 2].name, "Beta");
  EXPECT_EQ(items[list.CurrentIndex() + 2].path, folder / "top/Beta");
  EXPECT_EQ(items[list.CurrentIndex() + 2].level, current.level + 1);
  EXPECT_FALSE(items[list.CurrentIndex() + 2].open);
  // Opening moves the process's current folder along.
  EXPECT_EQ(std::filesystem::current_path().string(), folder / "top");
}

TEST_F(FolderListTest, AFolderThatCannotBeOpenedLeavesTheListWhereItWas) {
  folder.MakeFolder("here");
  std::string locked = folder.MakeFolder("locked");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  bool lockWorks = ::access(locked.c_str(), R_OK) != 0;  // not as the superuser
  TFolderList list;
  ASSERT_TRUE(list.Open(folder / "here"));
  std::vector<std::string> before = Names(list);
  struct Row {
    const char* label;
    std::string path;
  } rows[] = {
      {"missing folder", folder / "nowhere"},
      {"a file", folder.Write("plain.txt", "x")},
      {"empty name", ""},
  };
  for (const Row& row : rows) {
    EXPECT_FALSE(list.Open(row.path)) << row.label;
    EXPECT_EQ(list.Directory(), folder / "here") << row.label;
    EXPECT_EQ(Names(list), before) << row.label;
  }
  if (lockWorks) {
    EXPECT_FALSE(list.Open(locked));
    EXPECT_EQ(list.Directory(), folder / "here");
  }
  EXPECT_EQ(std::filesystem::current_path().string(), folder / "here");
}

TEST(MountPoints, RealFileSystemsOnlyWithEscapesDecoded) {
  const std::string mounts =
      "/dev/sda1 / ext4 rw,relatime 0 0\n"
      "proc /proc proc rw 0 0\n"
      "sysfs /sys sysfs rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "tmpfs /run/user/1000 tmpfs rw 0 0\n"
      "devpts /dev/pts devpts rw 0 0\n"
      "/dev/sdb1 /media/my\\040disk vfat rw 0 0\n"
      "server:/export /mnt/net nfs4 rw 0 0\n"
      "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
      "/dev/sdb1 /media/my\\040disk vfat rw 0 0\n"
      "garbage\n";
  EXPECT_EQ(ParseMountPoints(mounts),
            (std::vector<std::string>{"/", "/media/my disk", "/mnt/net"}));
}

TEST_F(FolderListTest, DrivesAreTheRootHomeAndReadableMounts) {
  std::string home = folder.MakeFolder("home");
  std::string disk = folder.MakeFolder("disk b");
  std::string mounts = "/dev/sda1 / ext4 rw 0 0\n/dev/x " + folder.Path() +
                       "/disk\\040b ext4 rw 0 0\n/dev/y " + folder.Path() +
                       "/gone ext4 rw 0 0\n/dev/z " + home + " ext4 rw 0 0\n";
  EXPECT_EQ(DriveList(home, mounts), (std::vector<std::string>{"/", home, disk}));
  EXPECT_EQ(DriveList("", ""), std::vector<std::string>{"/"});
}

TEST(DriveIndexFor, TheLongestDriveHoldingTheFolder) {
  std::vector<std::string> drives = {"/", "/home/me", "/home/me/disk", "/media/x"};
  struct Row {
    const char* folder;
    int index;
  } rows[] = {
      {"/usr/lib", 0},   {"/home/me", 1}, {"/home/me/src", 1}, {"/home/me/disk/a", 2},
      {"/home/meat", 0}, {"/media/x", 3}, {"relative", -1},
  };
  for (const Row& row : rows) EXPECT_EQ(DriveIndexFor(drives, row.folder), row.index) << row.folder;
}

class FolderDialogTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScopedCurrentFolder cwd;
};

TEST_F(FolderDialogTest, FormShowsTheDesignedControls) {
  TdlgSelectFolder form;
  EXPECT_EQ(form.windowTitle(), "Select Folder");
  EXPECT_EQ(form.btnOk->text(), "OK");
  EXPECT_EQ(form.btnCancel->text(), "Cancel");
  EXPECT_TRUE(form.btnOk->isDefault());
  EXPECT_EQ(NextTabStop(form.btnOk), form.btnCancel);
  EXPECT_EQ(NextTabStop(form.btnCancel), form.lbxFolders);
  EXPECT_EQ(NextTabStop(form.lbxFolders), form.cbxDrives);
  ASSERT_FALSE(form.Drives().empty());
  EXPECT_EQ(form.Drives()[0], "/");
  EXPECT_EQ(form.cbxDrives->itemText(0), "/");
}

TEST_F(FolderDialogTest, DoubleClickAndEnterOpenAFolder) {
  folder.MakeFolder("a/b");
  folder.MakeFolder("a/c");
  TdlgSelectFolder form;
  form.show();
  ASSERT_TRUE(form.OpenFolder(folder / "a"));
  auto rowOf = [&](const QString& name) {
    for (int row = 0; row < form.lbxFolders->count(); ++row) {
      if (form.lbxFolders->item(row)->text().trimmed() == name) return row;
    }
    return -1;
  };
  int b = rowOf("b");
  ASSERT_GE(b, 0);
  QListWidgetItem* item = form.lbxFolders->item(b);
  form.lbxFolders->scrollToItem(item);
  QApplication::processEvents();
  QRect at = form.lbxFolders->visualItemRect(item);
  // A real double click: a first click, then the second press arrives as a double click.
  QTest::mouseClick(form.lbxFolders->viewport(), Qt::LeftButton, {}, at.center());
  EXPECT_EQ(form.Directory(), folder / "a");  // a single click only selects
  QTest::mouseDClick(form.lbxFolders->viewport(), Qt::LeftButton, {}, at.center());
  EXPECT_EQ(form.Directory(), folder / "a/b");
  // Enter on the line of the parent folder opens it, and does not press OK.
  int a = rowOf("a");
  ASSERT_GE(a, 0);
  form.lbxFolders->setCurrentRow(a);
  QTest::keyClick(form.lbxFolders, Qt::Key_Return);
  EXPECT_EQ(form.Directory(), folder / "a");
  EXPECT_TRUE(form.isVisible());
  EXPECT_GE(rowOf("c"), 0);
}

TEST_F(FolderDialogTest, ALongPathIsShortenedInTheMiddleOfTheLabel) {
  std::string deep = "x";
  for (int i = 0; i < 8; ++i) deep += "/a-long-folder-name-" + std::to_string(i);
  std::string path = folder.MakeFolder(deep);
  TdlgSelectFolder form;
  ASSERT_TRUE(form.OpenFolder(path));
  QString shown = form.lblFolder->text();
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("/")));
  EXPECT_TRUE(shown.endsWith(QStringLiteral("name-7")));
  EXPECT_LE(form.lblFolder->fontMetrics().horizontalAdvance(shown), form.lblFolder->width());
  EXPECT_EQ(form.Directory(), path);
}

TEST_F(FolderDialogTest, ChoosingADriveMovesTheListThere) {
  std::string disk = folder.MakeFolder("disk");
  TdlgSelectFolder form;
  form.SetDrives({"/", disk, folder / "missing"});
  form.show();
  form.cbxDrives->setCurrentIndex(1);
  emit form.cbxDrives->activated(1);
  EXPECT_EQ(form.Directory(), disk);
  // A drive that cannot be opened leaves the list, and the box shows its drive again.
  form.cbxDrives->setCurrentIndex(2);
  emit form.cbxDrives->activated(2);
  EXPECT_EQ(form.Directory(), disk);
  EXPECT_EQ(form.cbxDrives->currentIndex(), 1);
}

TEST_F(FolderListTest, NamesWithBlanksQuotesDollarsAndOtherBytesWork) {
  for (std::string name : {"a b", "it's \"q\"", "$HOME", "caf\xC3\xA9", "caf\xE9"}) {
    std::string path = folder.MakeFolder(name);
    TFolderList list;
    ASSERT_TRUE(list.Open(path)) << name;
    EXPECT_EQ(list.Directory(), path) << name;
    EXPECT_EQ(list.Items()[list.CurrentIndex()].name, name) << name;
  }
}

TEST_F(FolderDialogTest, ExecuteGivesTheFolderOnOkAndKeepsTheDirectoryOtherwise) {
  std::string here = folder.MakeFolder("here");
  std::string start = folder.MakeFolder("start");
  std::string inner = folder.MakeFolder("start/in ner \xC3\xA9 \"q\" $x");
  enum How { kOk, kEnter, kCancel, kEscape, kClose };
  struct Row {
    const char* label;
    std::string directory;
    How how;
    bool result;
    std::string after;
  } rows[] = {
      {"OK", start, kOk, true, inner},
      {"Cancel", start, kCancel, false, start},
      {"Escape", start, kEscape, false, start},
      {"close box", start, kClose, false, start},
      {"empty directory", "", kEnter, true, here},
      {"missing directory", folder / "missing", kEnter, true, here},
  };
  for (const Row& row : rows) {
    Fs().SetCurrentFolder(here);
    TVornselectFolderDialog dialog;
    dialog.Caption = "Pick one";
    dialog.Directory = row.directory;
    ModalScript script;
    script.Then([&](QWidget* modal) {
      auto* form = qobject_cast<TdlgSelectFolder*>(modal);
      ASSERT_NE(form, nullptr) << row.label;
      EXPECT_EQ(form->windowTitle(), "Pick one") << row.label;
      if (row.how == kEnter) return QTest::keyClick(modal, Qt::Key_Return);
      EXPECT_EQ(form->Directory(), start) << row.label;
      form->OpenFolder(inner);
      if (row.how == kOk) QTest::mouseClick(form->btnOk, Qt::LeftButton);
      if (row.how == kCancel) QTest::mouseClick(form->btnCancel, Qt::LeftButton);
      if (row.how == kEscape) QTest::keyClick(form, Qt::Key_Escape);
      if (row.how == kClose) form->close();
    });
    EXPECT_EQ(dialog.Execute(), row.result) << row.label;
    EXPECT_EQ(dialog.Directory, row.after) << row.label;
  }
}

}  // namespace
}  // namespace ravelin
