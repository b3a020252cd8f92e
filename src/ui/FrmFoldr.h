// The folder picker's form: a folder list from the root down to the current folder with its
// subfolders, the current folder's path above it, a drive box below and OK / Cancel.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <string>
#include <vector>

#include "ui/logic/FolderList.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace ravelin {

/// The folder list box: Enter and a double click open the folder of the current line.
class FolderListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit FolderListBox(QWidget* parent);

 signals:
  /// The user asked to open the folder on line row.
  void OpenRequested(int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

/// Form "Select Folder". exec() returns mrOk or mrCancel (Escape and the close box too).
class TdlgSelectFolder : public QDialog {
  Q_OBJECT

 public:
  /// The form at the process's current folder; drives from "/", $HOME and /proc/self/mounts.
  /// A folder or drive that the user opens and that cannot be opened is named in an error
  /// message with the reason.
  explicit TdlgSelectFolder(QWidget* parent = nullptr);

  /// The full path of the list's current folder.
  std::string Directory() const { return folders_.Directory(); }
  /// Moves the list to folder; false (the list stays) when it does not exist or cannot be
  /// read, with the reason in *whyNot when given.
  bool OpenFolder(const std::string& folder, std::string* whyNot = nullptr);
  /// Puts these entries into the drive box instead of the system's own.
  void SetDrives(const std::vector<std::string>& drives);
  /// The drive box's entries.
  const std::vector<std::string>& Drives() const { return drives_; }
  /// Escape and the close box answer Cancel.
  void reject() override;

  QLabel* lblFolder;
  FolderListBox* lbxFolders;
  QComboBox* cbxDrives;
  QPushButton* btnOk;
  QPushButton* btnCancel;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowFolders();
  void DriveChosen(int index);
  // A folder or drive the user chose: opened, or the reason why not shown.
  void OpenChosen(const std::string& folder);

  FolderList folders_;
  std::vector<std::string> drives_;
};

}  // namespace ravelin
