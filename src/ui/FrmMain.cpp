#include "ui/FrmMain.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <exception>

#include "platform/UiServices.h"
#include "settings/LstGlobal.h"
#include "ui/FrmDeflts.h"
#include "ui/FrmExists.h"
#include "ui/Glyphs.h"
#include "ui/VornAbout.h"
#include "ui/logic/ReportFile.h"

namespace ravelin {

namespace {

// The outer frame of a usual window (463 x 282 around 455 x 255); assumed until
// the window system tells the real one.
constexpr int kUsualFrameWidth = 8;
constexpr int kUsualFrameHeight = 27;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

void Place(QWidget* widget, const Rect& r) {
  widget->setGeometry(r.left, r.top, r.width, r.height);
}

QFrame* MakePanel(QWidget* parent, const char* name, bool bevel) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  if (bevel) panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(1);
  return panel;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const char* caption,
                             const char* hint, int top) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(QString::fromLatin1(caption));
  button->setToolTip(QString::fromLatin1(hint));
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(3, top, 24, 24);
  button->setEnabled(false);
  return button;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* hint,
                        const Rect& r) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(QString::fromLatin1(caption));
  if (hint) button->setToolTip(QString::fromUtf8(hint));
  // Enter presses the focused button.
  button->setAutoDefault(true);
  Place(button, r);
  return button;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* caption, const char* hint,
                        int top) {
  auto* box = new QCheckBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setText(QString::fromLatin1(caption));
  if (hint) box->setToolTip(QString::fromLatin1(hint));
  box->setGeometry(2, top, 75, 17);
  // The captions fit the designed 75 pixels with a tighter gap and a slightly smaller font.
  QFont font = box->font();
  font.setPixelSize(10);
  box->setFont(font);
  box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 3px; }"));
  return box;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// ListBox and Splitter

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformItemSizes(true);
}

void ListBox::mousePressEvent(QMouseEvent* event) {
  QListWidget::mousePressEvent(event);
  emit mouseDown(event->button());
}

Splitter::Splitter(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  setCursor(Qt::SplitHCursor);
}

void Splitter::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  lastX_ = event->globalPosition().toPoint().x();
}

void Splitter::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  int x = event->globalPosition().toPoint().x();
  int dx = x - lastX_;
  lastX_ = x;
  if (dx != 0) emit dragged(dx);
}

void Splitter::mouseReleaseEvent(QMouseEvent*) {
  dragging_ = false;
}

// ---------------------------------------------------------------------------------------------
// TdlgMain: building

TdlgMain::TdlgMain(QWidget* parent)
    : QWidget(parent, Qt::Window), logic_(*this), leftWidth_(kLeftPanelWidth) {
  setObjectName(QStringLiteral("dlgMain"));
  setWindowTitle(QStringLiteral("Ravelin"));
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
  BuildControls();
  ConnectEvents();
  setMinimumSize(kMinClientWidth, kMinClientHeight);
  move(312, 204);
  resize(kMinClientWidth, kMinClientHeight);
  ApplyLayout();
  InstallKeyPreview(this);
  logic_.UpdateButtons();
  Refresh();
}

TdlgMain::~TdlgMain() = default;

void TdlgMain::BuildControls() {
  pnlLeft = MakePanel(this, "pnlLeft", false);
  pnlSrc = MakePanel(pnlLeft, "pnlSrc", true);
  lblSrc = new QLabel(Q(kSourceFilesCaption), pnlSrc);
  lblSrc->setObjectName(QStringLiteral("lblSrc"));
  lstSrc = new ListBox(pnlSrc);
  lstSrc->setObjectName(QStringLiteral("lstSrc"));
  pnlCtrls = MakePanel(pnlLeft, "pnlCtrls", true);
  btnInclude = MakeSpeedButton(pnlCtrls, "btnInclude", ">", "Add one file to the process list", 32);
  btnIncAll =
      MakeSpeedButton(pnlCtrls, "btnIncAll", ">>", "Move all files to the process list", 64);
  btnExclude =
      MakeSpeedButton(pnlCtrls, "btnExclude", "<", "Remove one file from the process list", 96);
  btnExAll =
      MakeSpeedButton(pnlCtrls, "btnExAll", "<<", "Remove all files from the process list", 128);
  btnDelAll = MakeSpeedButton(pnlCtrls, "btnDelAll", "--", "Remove all files from both lists", 160);

  splHorizon = new Splitter(this);
  splHorizon->setObjectName(QStringLiteral("splHorizon"));

  pnlDst = MakePanel(this, "pnlDst", true);
  lblDst = new QLabel(QStringLiteral("Process these Files:"), pnlDst);
  lblDst->setObjectName(QStringLiteral("lblDst"));
  lstDst = new ListBox(pnlDst);
  lstDst->setObjectName(QStringLiteral("lstDst"));

  pnlOptions = MakePanel(this, "pnlOptions", true);
  btnUList = MakeButton(pnlOptions, "btnUList", "Unit List", "Build a \"uses\" list of unit names.",
                        {2, 2, 75, 30});
  btnLCnt = MakeButton(pnlOptions, "btnLCnt", "Line Count",
                       "Count the lines in the selected files.", {2, 34, 75, 30});
  btnUTree = MakeButton(pnlOptions, "btnUTree", "Unit Tree", "Build a \"uses\" tree of unit names.",
                        {2, 68, 75, 30});
  btnUDpnd = MakeButton(pnlOptions, "btnUDpnd", "Unit Depend",
                        "List unit dependancies for the selected file.", {2, 101, 75, 30});
  chkReuseIt = MakeCheckBox(pnlOptions, "chkReuseIt", "Reuse List", nullptr, 135);
  chkReuseIt->setEnabled(false);
  chkRTL = MakeCheckBox(pnlOptions, "chkRTL", "Use RTL", "Search RTL for Unit commands", 154);
  chkVCL = MakeCheckBox(pnlOptions, "chkVCL", "Use VCL", "Search VCL for Unit commands", 170);
  chkSearchP = MakeCheckBox(pnlOptions, "chkSearchP", "Use Search", nullptr, 186);

  pnlButton = MakePanel(this, "pnlButton", true);
  btnSource = MakeButton(pnlButton, "btnSource", "Source Folder", "Select one or source files",
                         {4, 4, 150, 30});
  btnSource->setIcon(FolderGlyph());
  btnCancel = MakeButton(pnlButton, "btnCancel", "Cancel", "Exit this tool", {187, 4, 186, 30});
  btnOptions = MakeButton(pnlButton, "btnOptions", "Options", nullptr, {374, 4, 80, 30});

  mnuPopup = new QMenu(this);
  mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
  mniAbout = mnuPopup->addAction(QStringLiteral("&About"));
  mnuPopup->addSeparator();
  mniOptions = mnuPopup->addAction(QStringLiteral("&Options"));

  // Tab order: pnlDst, pnlButton, pnlLeft, pnlOptions, each in its own order.
  QWidget* order[] = {lstDst,   btnCancel, btnSource, btnOptions, lstSrc,     btnLCnt,   btnUTree,
                      btnUDpnd, chkRTL,    chkVCL,    btnUList,   chkReuseIt, chkSearchP};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  // The popup menu opens over the panels, labels, lists and buttons that carry it.
  QWidget* withMenu[] = {pnlSrc,    pnlCtrls,  pnlOptions, pnlButton, lblSrc,     lblDst,
                         lstSrc,    lstDst,    btnInclude, btnIncAll, btnExclude, btnExAll,
                         btnDelAll, btnLCnt,   btnUTree,   btnUDpnd,  chkRTL,     chkVCL,
                         btnSource, btnCancel, btnOptions};
  for (QWidget* w : withMenu) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& pos) { ShowPopup(w, pos); });
  }
  QWidget* withoutMenu[] = {this, pnlLeft, pnlDst, btnUList, chkReuseIt, chkSearchP, splHorizon};
  for (QWidget* w : withoutMenu) w->setContextMenuPolicy(Qt::PreventContextMenu);
}

void TdlgMain::ShowPopup(QWidget* sender, const QPoint& pos) {
  // A list reports the position in its viewport.
  if (auto* area = qobject_cast<QAbstractScrollArea*>(sender)) sender = area->viewport();
  mnuPopup->popup(sender->mapToGlobal(pos));
}

void TdlgMain::ConnectEvents() {
  connect(btnInclude, &QToolButton::clicked, this, &TdlgMain::DoIncludeClick);
  connect(btnIncAll, &QToolButton::clicked, this, &TdlgMain::DoIncAllClick);
  connect(btnExclude, &QToolButton::clicked, this, &TdlgMain::DoExcludeClick);
  connect(btnExAll, &QToolButton::clicked, this, &TdlgMain::DoExcAllClick);
  connect(btnDelAll, &QToolButton::clicked, this, &TdlgMain::DoDelAllClick);
  connect(btnUList, &QPushButton::clicked, this, &TdlgMain::DoUnitList);
  connect(btnLCnt, &QPushButton::clicked, this, &TdlgMain::DoCountLines);
  connect(btnUTree, &QPushButton::clicked, this, &TdlgMain::DoUnitTreeClick);
  connect(btnUDpnd, &QPushButton::clicked, this, &TdlgMain::DoUnitDependancyClick);
  connect(btnSource, &QPushButton::clicked, this, &TdlgMain::DoSourceClick);
  connect(btnCancel, &QPushButton::clicked, this, &TdlgMain::DoCancelClick);
  connect(btnOptions, &QPushButton::clicked, this, &TdlgMain::DoOptionsClick);
  connect(mniAbout, &QAction::triggered, this, &TdlgMain::DoAboutClick);
  connect(mniOptions, &QAction::triggered, this, &TdlgMain::DoOptionsClick);
  for (QCheckBox* box : {chkRTL, chkVCL, chkSearchP})
    connect(box, &QCheckBox::toggled, this,
            [this, box](bool checked) { DoCheckBoxClick(box, checked); });
  connect(chkReuseIt, &QCheckBox::toggled, this,
          [this](bool checked) { logic_.ReuseChecked = checked; });
  for (ListBox* box : {lstSrc, lstDst}) {
    connect(box, &ListBox::mouseDown, this,
            [this, box](Qt::MouseButton button) { lstMouseDown(box, button); });
    connect(box, &QListWidget::itemSelectionChanged, this, [this, box] {
      if (!syncing_) ReadSelection(box, box == lstSrc ? logic_.Src : logic_.Dst);
    });
    connect(box, &QListWidget::currentRowChanged, this, [this, box](int row) {
      if (!syncing_) (box == lstSrc ? logic_.Src : logic_.Dst).SetCurrent(row);
    });
  }
  connect(splHorizon, &Splitter::dragged, this, [this](int dx) {
    leftWidth_ = ClampLeftWidth(pnlLeft->width() + dx, width(), MinProcessWidth());
    ApplyLayout();
  });
}

// ---------------------------------------------------------------------------------------------
// Showing the logic's state

void TdlgMain::SyncList(ListBox* box, const FileList& list) {
  bool same = box->count() == list.Count();
  for (int i = 0; same && i < list.Count(); ++i) same = box->item(i)->text() == Q(list.Item(i));
  if (!same) {
    box->clear();
    for (const std::string& item : list.Items()) box->addItem(Q(item));
  }
  for (int i = 0; i < list.Count(); ++i) box->item(i)->setSelected(list.Selected(i));
  if (list.Current() >= 0) {
    box->setCurrentRow(list.Current(), QItemSelectionModel::NoUpdate);
  } else {
    box->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
  }
}

void TdlgMain::ReadSelection(ListBox* box, FileList& list) {
  for (int i = 0; i < list.Count() && i < box->count(); ++i)
    list.SetSelected(i, box->item(i)->isSelected());
}

void TdlgMain::Refresh() {
  syncing_ = true;
  SyncList(lstSrc, logic_.Src);
  SyncList(lstDst, logic_.Dst);
  syncing_ = false;
  lblSrc->setText(Q(logic_.SrcCaption));
  btnInclude->setEnabled(logic_.Buttons.include);
  btnIncAll->setEnabled(logic_.Buttons.incAll);
  btnExclude->setEnabled(logic_.Buttons.exclude);
  btnExAll->setEnabled(logic_.Buttons.exAll);
  btnDelAll->setEnabled(logic_.Buttons.delAll);
  chkReuseIt->setEnabled(logic_.ReuseEnabled);
}

void TdlgMain::FocusList(bool sourceList) {
  (sourceList ? lstSrc : lstDst)->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Events of the controls

void TdlgMain::DoSourceClick() {
  logic_.Guarded([this] { logic_.DoSourceClick(); });
}
void TdlgMain::DoIncludeClick() {
  logic_.Guarded([this] { logic_.DoIncludeClick(true); });
}
void TdlgMain::DoIncAllClick() {
  logic_.Guarded([this] { logic_.DoIncAllClick(true); });
}
void TdlgMain::DoExcludeClick() {
  logic_.Guarded([this] { logic_.DoExcludeClick(true); });
}
void TdlgMain::DoExcAllClick() {
  logic_.Guarded([this] { logic_.DoExcAllClick(true); });
}
void TdlgMain::DoDelAllClick() {
  logic_.Guarded([this] { logic_.DoDelAllClick(); });
}
void TdlgMain::DoCountLines() {
  logic_.Guarded([this] { logic_.DoCountLines(true); });
}
void TdlgMain::DoUnitList() {
  logic_.Guarded([this] { logic_.DoUnitCommand(UnitReportKind::List, true); });
}
void TdlgMain::DoUnitTreeClick() {
  logic_.Guarded([this] { logic_.DoUnitCommand(UnitReportKind::Tree, true); });
}
void TdlgMain::DoUnitDependancyClick() {
  logic_.Guarded([this] { logic_.DoUnitCommand(UnitReportKind::Depend, true); });
}

void TdlgMain::lstMouseDown(ListBox* sender, Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;
  if (sender->objectName() == QLatin1String("lstSrc")) {
    // The press has selected its entry; the dialog opens once the click is over.
    QTimer::singleShot(0, this, &TdlgMain::DoSourceClick);
  } else if (sender->objectName() == QLatin1String("lstDst")) {
    DoIncludeClick();
  }
}

void TdlgMain::DoCheckBoxClick(QCheckBox* sender, bool checked) {
  const QString name = sender->objectName();
  if (name == QLatin1String("chkRTL")) {
    Settings().UseRtl = checked;
  } else if (name == QLatin1String("chkVCL")) {
    Settings().UseVcl = checked;
  } else if (name == QLatin1String("chkSearchP")) {
    Settings().UseSearchPath = checked;
  }
}

bool TdlgMain::ChooseReportFile(std::string& fileName) {
  return ravelin::ChooseReportFile(this, chkReuseIt->isChecked(), fileName);
}

void TdlgMain::ShowReport(const std::string& fileName) {
  ravelin::ShowReport(fileName);
}

void TdlgMain::DoOptionsClick() {
  logic_.Guarded([this] {
    TdlgDefaults dialog(this);
    dialog.exec();
  });
}

void TdlgMain::DoAboutClick() {
  logic_.Guarded([this] {
    TAboutBox box(this);
    box.NoticeYear = 2000;
    box.ProductName = "Ravelin";
    box.exec();
    programVersion_ = box.Version;
  });
}

void TdlgMain::DoCancelClick() {
  try {
    SaveWindowPlacement(*this);
    SaveSettings();
  } catch (const std::exception& e) {
    Ui().ShowError(e.what());
    return;
  }
  close();
}

void TdlgMain::closeEvent(QCloseEvent* event) {
  // Closing from the title bar saves nothing; DoCancelClick saved before it closed.
  event->accept();
}

// ---------------------------------------------------------------------------------------------
// Keys: the window sees every key press before its controls.

void TdlgMain::InstallKeyPreview(QWidget* widget) {
  widget->installEventFilter(this);
  // Child windows (the popup menu) keep their own keys.
  for (QObject* child : widget->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w && !w->isWindow()) InstallKeyPreview(w);
  }
}

bool TdlgMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (FormKeyDown(key->key(), key->modifiers())) return true;
  } else if (event->type() == QEvent::ContextMenu) {
    // A disabled move button still shows the menu, as its panel does.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && !widget->isEnabled() && widget->contextMenuPolicy() == Qt::CustomContextMenu) {
      ShowPopup(widget, static_cast<QContextMenuEvent*>(event)->pos());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool TdlgMain::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (key == Qt::Key_X && (modifiers & Qt::AltModifier)) {
    DoCancelClick();
    return true;
  }
  if (key == Qt::Key_Escape) {
    btnCancel->click();
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Showing, size and placement

void TdlgMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    FormShow();
  }
}

void TdlgMain::FormShow() {
  logic_.Guarded([this] { LoadWindowPlacement(*this); });
  logic_.Guarded([] { LoadSettings(); });
  chkRTL->setChecked(Settings().UseRtl);
  chkVCL->setChecked(Settings().UseVcl);
  chkSearchP->setChecked(Settings().UseSearchPath);
  logic_.UpdateButtons();
  Refresh();
  FormResize();
  btnUList->setFocus();
  // The About box opens once the window is on the screen.
  QTimer::singleShot(0, this, &TdlgMain::FinishFormShow);
}

void TdlgMain::FinishFormShow() {
  DoAboutClick();
  setWindowTitle(Q("Ravelin  V:" + programVersion_ + "  Aug 2000"));
}

int TdlgMain::MinProcessWidth() const {
  // The process list's panel keeps room for its caption and for Cancel, which sits under it.
  QStyleOptionButton option;
  option.initFrom(btnCancel);
  option.features = QStyleOptionButton::AutoDefaultButton;
  const QRect inside = style()->subElementRect(QStyle::SE_PushButtonContents, &option, btnCancel);
  const int cancel = btnCancel->width() - inside.width() +
                     2 * style()->pixelMetric(QStyle::PM_ButtonMargin, &option, btnCancel) +
                     btnCancel->fontMetrics().horizontalAdvance(btnCancel->text());
  const int caption = lblDst->x() + lblDst->fontMetrics().horizontalAdvance(lblDst->text()) + 2;
  return std::max(cancel, caption);
}

void TdlgMain::ApplyLayout() {
  MainLayout l = ComputeMainLayout(width(), height(), leftWidth_, MinProcessWidth());
  Place(pnlLeft, l.pnlLeft);
  Place(splHorizon, l.splHorizon);
  Place(pnlDst, l.pnlDst);
  Place(pnlOptions, l.pnlOptions);
  Place(pnlButton, l.pnlButton);
  Place(pnlSrc, l.pnlSrc);
  Place(pnlCtrls, l.pnlCtrls);
  Place(lblSrc, l.lblSrc);
  Place(lstSrc, l.lstSrc);
  Place(lblDst, l.lblDst);
  Place(lstDst, l.lstDst);
  Place(btnSource, l.btnSource);
  Place(btnCancel, l.btnCancel);
  Place(btnOptions, l.btnOptions);
}

void TdlgMain::FormResize() {
  if (width() < kMinClientWidth || height() < kMinClientHeight) {
    resize(std::max(width(), kMinClientWidth), std::max(height(), kMinClientHeight));
    return;  // the resize comes back here
  }
  ApplyLayout();
}

void TdlgMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

QSize TdlgMain::FrameExtra() const {
  QSize extra = frameGeometry().size() - size();
  if (extra.width() <= 0 && extra.height() <= 0) return {kUsualFrameWidth, kUsualFrameHeight};
  return extra;
}

void TdlgMain::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // Once the window system has framed the window, a stored outer size is applied again
  // with the real frame.
  if (!frameKnown_ && frameGeometry().size() != size()) {
    frameKnown_ = true;
    if (pendingOuterWidth_ > 0) SetWidth(pendingOuterWidth_);
    if (pendingOuterHeight_ > 0) SetHeight(pendingOuterHeight_);
  }
}

int TdlgMain::Top() const {
  return y();
}
void TdlgMain::SetTop(int value) {
  move(x(), value);
}
int TdlgMain::Left() const {
  return x();
}
void TdlgMain::SetLeft(int value) {
  move(value, y());
}
int TdlgMain::Height() const {
  return height() + FrameExtra().height();
}
void TdlgMain::SetHeight(int value) {
  pendingOuterHeight_ = value;
  resize(width(), std::max(value - FrameExtra().height(), kMinClientHeight));
}
int TdlgMain::Width() const {
  return width() + FrameExtra().width();
}
void TdlgMain::SetWidth(int value) {
  pendingOuterWidth_ = value;
  resize(std::max(value - FrameExtra().width(), kMinClientWidth), height());
}

}  // namespace ravelin
