#include "ui/QtUiServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

#include "common/PathUtil.h"
#include "platform/FileSys.h"
#include "ui/logic/FileFilter.h"

namespace ravelin {
namespace {

QString Q(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), text.size());
}

std::string S(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

}  // namespace

TQtUiServices::~TQtUiServices() {
  while (busyDepth_ > 0) SetBusyCursor(false);
}

std::optional<std::vector<std::string>> TQtUiServices::OpenFiles(const TOpenFileRequest& request) {
  QFileDialog dialog(QApplication::activeWindow());
  if (!request.title.empty()) dialog.setWindowTitle(Q(request.title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                     : request.mustExist ? QFileDialog::ExistingFile
                                         : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog, false);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setSizeGripEnabled(true);

  TFileFilter filter = ParseFileFilter(request.filter);
  QStringList filters;
  for (const auto& entry : filter) filters << Q(DisplayedFilter(entry));
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    int index = request.filterIndex;
    if (index < 1 || index > filters.size()) index = 1;
    dialog.selectNameFilter(filters[index - 1]);
  }

  // The dialog opens in the folder of the proposed name, else where the last one was left.
  std::string folder = FolderPart(request.initialFile);
  if (folder.empty()) folder = lastFolder_.empty() ? Fs().CurrentFolder() : lastFolder_;
  dialog.setDirectory(Q(folder));
  std::string name = NamePart(request.initialFile);
  if (!name.empty()) dialog.selectFile(Q(name));

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<std::string> files;
  for (const QString& file : dialog.selectedFiles()) files.push_back(S(file));
  if (files.empty()) return std::nullopt;
  std::string chosenFolder = FolderPart(files.front());
  if (chosenFolder.size() > 1 && chosenFolder.back() == '/') chosenFolder.pop_back();
  if (!chosenFolder.empty() && Fs().FolderExists(chosenFolder)) {
    Fs().SetCurrentFolder(chosenFolder);
    lastFolder_ = chosenFolder;
  }
  return files;
}

bool TQtUiServices::AskYesNo(const std::string& text) {
  return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Confirm"), Q(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

void TQtUiServices::ShowError(const std::string& text) {
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Error"), Q(text),
                        QMessageBox::Ok);
}

void TQtUiServices::SetBusyCursor(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
}

bool TQtUiServices::StartDetached(const std::string& program,
                                  const std::vector<std::string>& args) {
  if (program.empty()) return false;
  QStringList arguments;
  for (const auto& arg : args) arguments << Q(arg);
  return QProcess::startDetached(Q(program), arguments);
}

void TQtUiServices::OpenUrl(const std::string& url) {
  QProcess::startDetached(QStringLiteral("xdg-open"), {Q(url)});
}

void TQtUiServices::ProcessEvents() {
  QCoreApplication::processEvents();
}

}  // namespace ravelin
