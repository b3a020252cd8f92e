// The About box: product name, version, rights notice, credits and links.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "ui/logic/AboutInfo.h"

class QFrame;
class QLabel;
class QPushButton;

namespace ravelin {

class TURLLabel;

/// Dialog "About Ravelin". Create it, set NoticeYear, ProductName, Version or Comments as
/// wanted, exec(), then read Version.
class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  /// The box owned by owner, with FormCreate done over the program's version table.
  explicit TAboutBox(QWidget* owner = nullptr);
  /// The box over another version table (tests: a table with keys missing, or none).
  TAboutBox(QWidget* owner, const std::vector<VersionString>& versionTable);

  /// The data behind the box: InfoLines, VersionCount, AssistIndex and the caller's fields.
  AboutInfo Info;
  int& NoticeYear = Info.NoticeYear;
  std::string& ProductName = Info.ProductName;
  std::string& Comments = Info.Comments;
  std::string& Version = Info.Version;

  /// Fills InfoLines from the version table; returns the number of version strings found.
  int LoadVersionInfo();
  /// The credits button: the comments label shows the next credit.
  void DoShowAssist();
  /// Forgets the lines as the box closes.
  void FormClose();
  /// Closes with result, running FormClose.
  void done(int result) override;

  QFrame* pnlAbout;
  QLabel* iconProg1;
  QLabel* iconProg2;
  QLabel* lblProductName;
  QLabel* lblVersion;
  QFrame* pnlInfo;
  QLabel* lblCopyright;
  QLabel* lblComments;
  QPushButton* btnAssist;
  QFrame* pnlRef;
  QLabel* lblRef1;
  TURLLabel* lblURL;
  QLabel* lblRef2;
  QLabel* imgBadge;
  TURLLabel* lblBadge;
  QPushButton* btnOk;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void FormShow();

  std::vector<VersionString> versionTable_;
  bool shown_ = false;
};

}  // namespace ravelin
