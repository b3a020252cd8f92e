#include "ui/FrmFoldr.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "platform/ExePath.h"
#include "platform/FileSys.h"
#include "platform/UiServices.h"
#include "ui/DesignLayout.h"
#include "ui/Glyphs.h"
#include "ui/ModalResult.h"

namespace ravelin {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

FolderListBox::FolderListBox(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { emit OpenRequested(row(item)); });
}

void FolderListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // Enter opens the folder here and does not reach the dialog's default button.
    if (currentRow() >= 0) emit OpenRequested(currentRow());
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

TdlgSelectFolder::TdlgSelectFolder(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("dlgSelectFolder"));
  setWindowTitle(QStringLiteral("Select Folder"));
  SetFixedClientSize(this, 336, 260);

  lblFolder = new QLabel(this);
  lblFolder->setObjectName(QStringLiteral("lblFolder"));
  Place(lblFolder, 4, 8, 328, 13);
  lbxFolders = new FolderListBox(this);
  lbxFolders->setObjectName(QStringLiteral("lbxFolders"));
  lbxFolders->setIconSize(QSize(Scaled(16), Scaled(16)));
  lbxFolders->setUniformItemSizes(true);
  Place(lbxFolders, 4, 27, 328, 164);
  cbxDrives = new QComboBox(this);
  cbxDrives->setObjectName(QStringLiteral("cbxDrives"));
  Place(cbxDrives, 4, 200, 328, 19);
  cbxDrives->setFixedHeight(std::max(cbxDrives->sizeHint().height(), Scaled(19)));
  btnOk = new QPushButton(QStringLiteral("OK"), this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  Place(btnOk, 4, 225, 164, 35);
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  Place(btnCancel, 168, 225, 164, 35);
  // The drive box may be taller than designed with this desktop's font: the buttons move down.
  int buttonsTop = std::max(btnOk->y(), cbxDrives->geometry().bottom() + Scaled(6));
  btnOk->move(btnOk->x(), buttonsTop);
  btnCancel->move(btnCancel->x(), buttonsTop);
  setFixedHeight(std::max(height(), buttonsTop + btnOk->height()));

  btnOk->setDefault(true);
  btnOk->setAutoDefault(false);
  btnCancel->setAutoDefault(false);
  connect(btnOk, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  connect(lbxFolders, &FolderListBox::OpenRequested, this, [this](int row) {
    const auto& items = folders_.Items();
    if (row >= 0 && row < static_cast<int>(items.size())) OpenChosen(items[row].path);
  });
  connect(cbxDrives, qOverload<int>(&QComboBox::activated), this,
          [this](int index) { DriveChosen(index); });

  setTabOrder(btnOk, btnCancel);
  setTabOrder(btnCancel, lbxFolders);
  setTabOrder(lbxFolders, cbxDrives);

  std::string mounts;
  Fs().TryReadFile("/proc/self/mounts", mounts);
  SetDrives(DriveList(EnvironmentValue("HOME"), mounts));
  btnOk->setFocus();
}

void TdlgSelectFolder::SetDrives(const std::vector<std::string>& drives) {
  drives_ = drives;
  cbxDrives->clear();
  for (const std::string& drive : drives_) cbxDrives->addItem(FolderGlyph(), Q(drive));
  ShowFolders();
}

bool TdlgSelectFolder::OpenFolder(const std::string& folder, std::string* whyNot) {
  if (!folders_.Open(folder, whyNot)) return false;
  ShowFolders();
  return true;
}

void TdlgSelectFolder::DriveChosen(int index) {
  if (index >= 0 && index < static_cast<int>(drives_.size())) OpenChosen(drives_[index]);
}

void TdlgSelectFolder::OpenChosen(const std::string& folder) {
  std::string whyNot;
  if (OpenFolder(folder, &whyNot)) return;
  ShowFolders();  // the drive box back at the drive of the folder shown
  Ui().ShowError("Cannot open \"" + folder + "\": " + whyNot);
}

void TdlgSelectFolder::ShowFolders() {
  lbxFolders->clear();
  const QIcon closed = FolderGlyph();
  const QIcon open = OpenFolderGlyph();
  for (const FolderItem& item : folders_.Items()) {
    // Indented by level, as a tree shows it.
    QString text = QString(item.level * 2, QLatin1Char(' ')) + Q(item.name);
    auto* line = new QListWidgetItem(item.open ? open : closed, text);
    line->setData(Qt::UserRole, Q(item.path));
    line->setToolTip(Q(item.path));
    lbxFolders->addItem(line);
  }
  lbxFolders->setCurrentRow(folders_.CurrentIndex());
  lbxFolders->scrollToItem(lbxFolders->currentItem());
  QString path = Q(folders_.Directory());
  lblFolder->setText(
      lblFolder->fontMetrics().elidedText(path, Qt::ElideMiddle, lblFolder->width()));
  lblFolder->setToolTip(path);
  int drive = DriveIndexFor(drives_, folders_.Directory());
  if (drive >= 0) cbxDrives->setCurrentIndex(drive);
}

void TdlgSelectFolder::reject() {
  done(mrCancel);
}

void TdlgSelectFolder::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
}

}  // namespace ravelin
