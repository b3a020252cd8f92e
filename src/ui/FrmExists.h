// The warning that a report file exists already, and the report file choice built on it.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace ravelin {

/// Dialog "Warning": append to, overwrite, replace by a new file, or cancel. exec() returns
/// mrYes (Append), mrNo (Overwrite), mrRetry (New File) or mrCancel (Cancel, Escape, and the
/// title bar's close box).
class TdlgFileExists : public QDialog {
  Q_OBJECT

 public:
  /// The dialog owned by owner, Append the default button as designed.
  explicit TdlgFileExists(QWidget* owner = nullptr);

  /// Shows the question about fileName in lblMsg.
  void SetFileName(const std::string& fileName);
  /// The question as shown, without the break hints that let a long path wrap.
  const QString& Message() const { return message_; }
  /// Append becomes the focused and the default button (answers Enter).
  void SetAppendDefault();
  /// Overwrite becomes the focused and the default button (answers Enter).
  void SetOverwriteDefault();
  /// Escape and the close box answer Cancel.
  void reject() override;

  QLabel* lblMsg;
  QPushButton* btnAppend;
  QPushButton* btnOverwrite;
  QPushButton* btnNewFile;
  QPushButton* btnCancel;

 private:
  void FitMessage();

  QString message_;
};

/// Settles the report file as the window's commands need it (see ChooseReportFile in
/// ui/logic/ReportFile.h), asking with TdlgFileExists owned by owner; Append is the default
/// when reuseChecked. True when the command is to write into fileName.
bool ChooseReportFile(QWidget* owner, bool reuseChecked, std::string& fileName);

}  // namespace ravelin
