#include "ui/FrmDeflts.h"

#include <QByteArray>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVariant>
#include <algorithm>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/UiServices.h"
#include "settings/LstGlobal.h"
#include "ui/DesignLayout.h"
#include "ui/Glyphs.h"
#include "ui/ModalResult.h"
#include "ui/QtPlacement.h"

namespace ravelin {

const char* const kViewerFilter = "Programs (*.exe)|*.exe|All Files|*.*";

namespace {

constexpr int kDesignWidth = 356;
constexpr int kDesignHeight = 314;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}
std::string S(const QString& text) {
  return text.toStdString();
}

// An edit holds Unicode text, so a setting that is not valid UTF-8 (a folder named in another
// code page) would come back changed. The edit keeps the bytes it was given and hands them
// back for as long as its text is unchanged.
const char* const kBytesProperty = "ravelinBytes";

void SetEditBytes(QLineEdit* edit, const std::string& bytes) {
  edit->setText(Q(bytes));
  edit->setProperty(kBytesProperty, QByteArray::fromStdString(bytes));
}

std::string EditBytes(const QLineEdit* edit) {
  const QVariant kept = edit->property(kBytesProperty);
  if (kept.isValid()) {
    std::string bytes = kept.toByteArray().toStdString();
    if (Q(bytes) == edit->text()) return bytes;
  }
  return S(edit->text());
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int left, int top) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(Scaled(left), Scaled(top));
  label->adjustSize();
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int left, int top, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  Place(edit, left, top, width, 21);
  return edit;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QIcon& glyph, int left,
                             int top) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(glyph);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);  // small image buttons take no input focus
  Place(button, left, top, 23, 22);
  return button;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const char* caption, int top) {
  auto* radio = new QRadioButton(QString::fromLatin1(caption), parent);
  radio->setObjectName(QString::fromLatin1(name));
  Place(radio, 16, top, 80, 17);
  return radio;
}

}  // namespace

TdlgDefaults::TdlgDefaults(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("dlgDefaults"));
  setWindowTitle(QStringLiteral("Defaults"));

  gbxPaths = new QGroupBox(QStringLiteral("Paths for Delphi"), this);
  gbxPaths->setObjectName(QStringLiteral("gbxPaths"));
  Place(gbxPaths, 4, 4, 349, 165);
  lblRTL = MakeLabel(gbxPaths, "lblRTL", "Path to Delphi RTL", 8, 16);
  edtRTL = MakeEdit(gbxPaths, "edtRTL", 8, 32, 300);
  btnGetRTL = MakeSpeedButton(gbxPaths, "btnGetRTL", FolderGlyph(), 313, 32);
  lblVCL = MakeLabel(gbxPaths, "lblVCL", "Path to Delphi VCL", 8, 64);
  edtVCL = MakeEdit(gbxPaths, "edtVCL", 8, 80, 300);
  btnGetVCL = MakeSpeedButton(gbxPaths, "btnGetVCL", FolderGlyph(), 313, 80);
  lblSearch = MakeLabel(gbxPaths, "lblSearch", "Other Search Paths", 8, 113);
  edtSearch = MakeEdit(gbxPaths, "edtSearch", 8, 129, 300);
  btnSearch = MakeSpeedButton(gbxPaths, "btnSearch", FolderGlyph(), 313, 129);

  pnlEditor = new QFrame(this);
  pnlEditor->setObjectName(QStringLiteral("pnlEditor"));
  pnlEditor->setFrameStyle(QFrame::Panel | QFrame::Raised);
  pnlEditor->setLineWidth(1);
  Place(pnlEditor, 4, 167, 349, 106);
  lblResults = MakeLabel(pnlEditor, "lblResults", "Display results using:", 8, 8);
  btnWordPad = MakeRadio(pnlEditor, "btnWordPad", "WordPad", 24);
  btnNotePad = MakeRadio(pnlEditor, "btnNotePad", "NotePad", 48);
  btnOther = MakeRadio(pnlEditor, "btnOther", "Other", 72);
  btnWordPad->setChecked(true);
  edtViewer = MakeEdit(pnlEditor, "edtViewer", 108, 70, 200);
  btnGetView = MakeSpeedButton(pnlEditor, "btnGetView", ViewerGlyph(), 313, 70);

  btnOk = new QPushButton(OkGlyph(), QStringLiteral("&OK"), this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  Place(btnOk, 4, 280, 100, 30);
  btnOk->setDefault(true);
  btnCancel = new QPushButton(CancelGlyph(), QStringLiteral("&Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  Place(btnCancel, 254, 280, 100, 30);

  dlgFolder.Caption = "Select Folder";

  connect(btnOk, &QPushButton::clicked, this, [this] { DoSave(); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { DoClose(); });
  for (QToolButton* button : {btnGetRTL, btnGetVCL, btnSearch}) {
    connect(button, &QToolButton::clicked, this, [this, button] { GetPathClick(button); });
  }
  connect(btnGetView, &QToolButton::clicked, this, [this] { GetViewerClick(btnGetView); });

  setTabOrder(edtRTL, edtVCL);
  setTabOrder(edtVCL, edtSearch);
  setTabOrder(edtSearch, btnWordPad);
  setTabOrder(btnWordPad, btnNotePad);
  setTabOrder(btnNotePad, btnOther);
  setTabOrder(btnOther, edtViewer);
  setTabOrder(edtViewer, btnOk);
  setTabOrder(btnOk, btnCancel);

  FormCreate();
  edtRTL->setFocus();
}

void TdlgDefaults::FormCreate() {
  // The design's size and place, then the stored placement; only the position and the width
  // are taken from it (the width never below the design's, so no control is cut off).
  resize(Scaled(kDesignWidth), Scaled(kDesignHeight));
  move(529, 105);
  QtWindowPlacement placement(*this, "dlgDefaults");
  int designHeight = placement.Height();
  LoadWindowPlacement(placement);
  placement.SetHeight(designHeight);
  setFixedSize(std::max(width(), Scaled(kDesignWidth)), Scaled(kDesignHeight));

  // The three search switches are shown by the main window's boxes, which the user may have
  // changed since the last save: they keep their values, so that the boxes and the folders
  // searched never disagree (and OK stores what the boxes show).
  const bool useRtl = Settings().UseRtl, useVcl = Settings().UseVcl,
             useSearchPath = Settings().UseSearchPath;
  LoadSettings();
  Settings().UseRtl = useRtl, Settings().UseVcl = useVcl, Settings().UseSearchPath = useSearchPath;
  SetEditBytes(edtRTL, Settings().RtlPath);
  SetEditBytes(edtSearch, Settings().SearchPaths);
  SetEditBytes(edtVCL, Settings().VclPath);
  SetEditBytes(edtViewer, Settings().ViewerPath);
  if (Settings().ViewerChoice == 1) {
    btnNotePad->setChecked(true);
  } else if (Settings().ViewerChoice == 2) {
    btnOther->setChecked(true);
  } else {
    btnWordPad->setChecked(true);
  }
}

void TdlgDefaults::DoSave() {
  if (btnWordPad->isChecked()) {
    Settings().ViewerChoice = 0;
  } else if (btnNotePad->isChecked()) {
    Settings().ViewerChoice = 1;
  } else {
    Settings().ViewerChoice = 2;
  }
  Settings().RtlPath = JoinPath(EditBytes(edtRTL), "");
  Settings().VclPath = JoinPath(EditBytes(edtVCL), "");
  Settings().ViewerPath = EditBytes(edtViewer);
  Settings().SearchPaths = EditBytes(edtSearch);
  // OK closes the dialog also when the settings file cannot be written; the error is shown.
  RunGuarded([this] {
    QtWindowPlacement placement(*this, "dlgDefaults");
    SaveWindowPlacement(placement);
    SaveSettings();
  });
  done(mrOk);
}

void TdlgDefaults::DoClose() {
  done(mrCancel);
}

void TdlgDefaults::reject() {
  DoClose();
}

void TdlgDefaults::GetPathClick(QObject* sender) {
  if (qobject_cast<QToolButton*>(sender) == nullptr) return;
  const QString name = sender->objectName();
  if (name == btnGetRTL->objectName() || name == btnGetVCL->objectName()) {
    QLineEdit* edit = name == btnGetRTL->objectName() ? edtRTL : edtVCL;
    dlgFolder.Directory = EditBytes(edit);
    if (dlgFolder.Execute()) SetEditBytes(edit, JoinPath(dlgFolder.Directory, ""));
  } else if (name == btnSearch->objectName()) {
    if (dlgFolder.Execute()) {
      dlgFolder.Directory = JoinPath(dlgFolder.Directory, "");
      const std::string search = EditBytes(edtSearch);
      SetEditBytes(edtSearch,
                   search.empty() ? dlgFolder.Directory : search + ";" + dlgFolder.Directory);
    }
  }
}

void TdlgDefaults::GetViewerClick(QObject* sender) {
  if (qobject_cast<QToolButton*>(sender) == nullptr ||
      sender->objectName() != btnGetView->objectName())
    return;
  OpenFileRequest request;
  request.filter = kViewerFilter;
  // Programs here have no ".exe": the dialog starts with the filter that shows them.
  request.filterIndex = 2;
  request.initialFile = EditBytes(edtViewer);
  request.mustExist = true;
  auto chosen = Ui().OpenFiles(request);
  if (chosen && !chosen->empty()) SetEditBytes(edtViewer, chosen->front());
}

}  // namespace ravelin
