// The main window: the source list and the process list side by side, the move buttons
// between them, the four commands, the search check boxes and the exit. The state and the
// decisions live in MainLogic; the window shows them and forwards its events.
#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>
#include <string>

#include "settings/LstGlobal.h"
#include "ui/logic/MainLogic.h"

namespace ravelin {

/// A multi-select list box that reports a mouse press after it has handled it (selection).
class ListBox : public QListWidget {
  Q_OBJECT
 public:
  /// An empty list box.
  explicit ListBox(QWidget* parent);

 signals:
  /// A mouse button went down on the list; the list has already handled the press.
  void mouseDown(Qt::MouseButton button);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

/// The bar between the left panel and the process list; dragging it sets the left width.
class Splitter : public QFrame {
  Q_OBJECT
 public:
  /// A beveled vertical bar with the horizontal-split cursor.
  explicit Splitter(QWidget* parent);

 signals:
  /// The user dragged the bar by dx pixels.
  void dragged(int dx);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool dragging_ = false;
  int lastX_ = 0;
};

/// The program's one window ("dlgMain").
class TdlgMain : public QWidget, public WindowPlacement, private MainWindowHooks {
  Q_OBJECT
 public:
  /// The window at its first size (client 455 x 255) with every control; nothing is loaded
  /// until it is shown.
  explicit TdlgMain(QWidget* parent = nullptr);
  ~TdlgMain() override;

  // The controls, named as the window's parts are named.
  QFrame* pnlLeft;
  QFrame* pnlSrc;
  QLabel* lblSrc;
  ListBox* lstSrc;
  QFrame* pnlCtrls;
  QToolButton* btnInclude;
  QToolButton* btnIncAll;
  QToolButton* btnExclude;
  QToolButton* btnExAll;
  QToolButton* btnDelAll;
  Splitter* splHorizon;
  QFrame* pnlDst;
  QLabel* lblDst;
  ListBox* lstDst;
  QFrame* pnlOptions;
  QPushButton* btnUList;
  QPushButton* btnLCnt;
  QPushButton* btnUTree;
  QPushButton* btnUDpnd;
  QCheckBox* chkReuseIt;
  QCheckBox* chkRTL;
  QCheckBox* chkVCL;
  QCheckBox* chkSearchP;
  QFrame* pnlButton;
  QPushButton* btnSource;
  QPushButton* btnCancel;
  QPushButton* btnOptions;
  QMenu* mnuPopup;
  QAction* mniAbout;
  QAction* mniOptions;

  /// The logic behind the window (lists, selections, commands).
  MainLogic& Logic() { return logic_; }
  /// The version text taken from the About box, shown in the caption.
  const std::string& ProgramVersion() const { return programVersion_; }

  // WindowPlacement: the outer frame of the window on the screen.
  std::string SectionName() const override { return "dlgMain"; }
  int Top() const override;
  void SetTop(int value) override;
  int Left() const override;
  void SetLeft(int value) override;
  int Height() const override;
  void SetHeight(int value) override;
  int Width() const override;
  void SetWidth(int value) override;

 public slots:
  /// Choose source files.
  void DoSourceClick();
  /// ">": the selected source files to the process list.
  void DoIncludeClick();
  /// ">>": every source file to the process list.
  void DoIncAllClick();
  /// "<": the selected process files back.
  void DoExcludeClick();
  /// "<<": every process file back.
  void DoExcAllClick();
  /// "--": empty both lists.
  void DoDelAllClick();
  /// Line Count.
  void DoCountLines();
  /// Unit List.
  void DoUnitList();
  /// Unit Tree.
  void DoUnitTreeClick();
  /// Unit Depend.
  void DoUnitDependancyClick();
  /// The options dialog, modal.
  void DoOptionsClick();
  /// The About box, modal; its version becomes ProgramVersion.
  void DoAboutClick();
  /// Saves the placement and the settings, then closes; when saving fails the error shows
  /// and the window stays open.
  void DoCancelClick();
  /// Applies the size rules for the current client size.
  void FormResize();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // MainWindowHooks
  bool ChooseReportFile(std::string& fileName) override;
  void ShowReport(const std::string& fileName) override;
  void Refresh() override;
  void FocusList(bool sourceList) override;

  void BuildControls();
  void ConnectEvents();
  void InstallKeyPreview(QWidget* widget);
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  void lstMouseDown(ListBox* sender, Qt::MouseButton button);
  void DoCheckBoxClick(QCheckBox* sender, bool checked);
  void FormShow();
  void FinishFormShow();
  void ApplyLayout();
  int MinProcessWidth() const;
  void SyncList(ListBox* box, const FileList& list);
  void ReadSelection(ListBox* box, FileList& list);
  QSize FrameExtra() const;
  void ShowPopup(QWidget* sender, const QPoint& pos);

  MainLogic logic_;
  std::string programVersion_;
  int leftWidth_;
  bool shownOnce_ = false;
  bool syncing_ = false;
  bool frameKnown_ = false;
  int pendingOuterWidth_ = -1;
  int pendingOuterHeight_ = -1;
};

}  // namespace ravelin
