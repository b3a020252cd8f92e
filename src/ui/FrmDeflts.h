// The options dialog "Defaults": the folders the unit commands search and the report viewer.
#pragma once

#include <QDialog>

#include "ui/VornFoldr.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace ravelin {

/// Dialog "Defaults". Creating it reloads the settings from the settings file (all but the
/// three search switches, which keep their values in memory) and fills the fields; OK
/// (DoSave) stores them and the dialog's placement, Cancel (DoClose, Escape) stores nothing.
/// exec() returns mrOk or mrCancel.
class TdlgDefaults : public QDialog {
  Q_OBJECT

 public:
  /// The dialog owned by owner, with FormCreate done.
  explicit TdlgDefaults(QWidget* owner = nullptr);

  /// Takes the fields into the settings, saves the placement and all settings (an error is
  /// shown; the dialog closes all the same) and closes with mrOk.
  void DoSave();
  /// Closes with mrCancel; nothing is stored.
  void DoClose();
  /// A folder button: picks a folder for its field (the search button appends it after ";").
  void GetPathClick(QObject* sender);
  /// The viewer button: picks a program file for edtViewer.
  void GetViewerClick(QObject* sender);
  /// Escape answers Cancel.
  void reject() override;

  QGroupBox* gbxPaths;
  QLabel* lblRTL;
  QLineEdit* edtRTL;
  QToolButton* btnGetRTL;
  QLabel* lblVCL;
  QLineEdit* edtVCL;
  QToolButton* btnGetVCL;
  QLabel* lblSearch;
  QLineEdit* edtSearch;
  QToolButton* btnSearch;
  QFrame* pnlEditor;
  QLabel* lblResults;
  QRadioButton* btnWordPad;
  QRadioButton* btnNotePad;
  QRadioButton* btnOther;
  QLineEdit* edtViewer;
  QToolButton* btnGetView;
  QPushButton* btnOk;
  QPushButton* btnCancel;
  /// The folder picker of the three folder buttons; its Directory lives as long as the dialog.
  TVornselectFolderDialog dlgFolder;

 private:
  void FormCreate();
};

/// Filter of the viewer program's file dialog.
extern const char* const kViewerFilter;

}  // namespace ravelin
